// The skin object of combo boxes: the control paints its text into the
// skin's buffer, then the style's frame and drop button are drawn over it,
// following the mouse and the open list.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectComboBox : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectComboBox)
public:
    CSFSkinObjectComboBox();

    UINT GetControlColorMessage() override;
    virtual void DrawControl(CDC* dc);

    BOOL IsHot() const { return m_hot; }
    // The state the drop button was last drawn in (0 before the first paint).
    int GetLastState() const { return m_lastState; }
    // Where the drop button goes within the client rectangle.
    RECT DropButtonRect(const RECT& client);

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnPaintCombo(WPARAM, LPARAM);
    LRESULT OnPrintClientCombo(WPARAM, LPARAM);
    LRESULT OnEraseBkgndCombo(WPARAM, LPARAM);
    LRESULT OnMouseMoveCombo(WPARAM, LPARAM);
    LRESULT OnMouseLeaveCombo(WPARAM, LPARAM);
    LRESULT OnCreateCombo(WPARAM, LPARAM);
    LRESULT OnDefaultThenInvalidate(WPARAM, LPARAM);
    void TrackHot(POINT point);
    void DrawSimpleBorder(CDC* dc);

    bool m_hot;
    bool m_paintingThrough;
    int m_lastState;
};
