// The skin object of MDI clients: keeps maximized skinned children's frames
// outside the client, has the system arrange children by their skinned
// border sizes, and keeps the client's own scroll bars skinned.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectMDIClient : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectMDIClient)
public:
    CSFSkinObjectMDIClient();

    void AttachToWindow(LPCREATESTRUCTW cs, BOOL autoCreated) override;
    void DetachFromWindow(BOOL windowDestroyed) override;
    BOOL DefersToOwnProcedure(UINT message) override;
    CSFSkinObjectFrame* GetMDIFrame() const { return m_mdiFrame; }
    BOOL IsArranging() const { return m_arranging; }

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnSizeControl(WPARAM, LPARAM);
    LRESULT OnArrange(WPARAM, LPARAM);
    LRESULT OnHScrollControl(WPARAM, LPARAM);
    LRESULT OnVScrollControl(WPARAM, LPARAM);
    LRESULT OnRefreshBars(WPARAM, LPARAM);
    LRESULT OnNcActivateControl(WPARAM, LPARAM);
    void RepaintBothBars();

    BOOL m_arranging;
    CSFSkinObjectFrame* m_mdiFrame;
};
