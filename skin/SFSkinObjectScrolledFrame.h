// A frame whose window keeps its own scroll position (list boxes, edits):
// the non-client bars the skin draws are redrawn whenever the control's
// range or position changed behind the skin's back. Older common controls
// move their bars without any message the frame would see.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectScrolledFrame : public CSFSkinObjectFrame
{
    DECLARE_DYNAMIC(CSFSkinObjectScrolledFrame)
public:
    CSFSkinObjectScrolledFrame();

    // Redraws each visible bar whose range or position moved since last seen.
    virtual void CheckScrollBarChange();
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // How many bars the checks have redrawn so far.
    int GetBarRedraws() const { return m_barRedraws; }
    const SCROLLINFO& GetSavedInfo(int bar) const { return m_saved[bar == SB_VERT ? 1 : 0]; }

    DECLARE_MESSAGE_MAP()

protected:
    // The common controls draw their bars themselves from version 6.0 on.
    virtual BOOL ControlsDrawOwnBars();
    LRESULT OnDefaultThenCheck(WPARAM, LPARAM);
    LRESULT OnEraseBkgndScrolled(WPARAM, LPARAM);
    LRESULT OnWindowPosChangedScrolled(WPARAM, LPARAM);

    SCROLLINFO m_saved[2];
    int m_barRedraws;
};
