// The skin object of scroll-bar controls: the frame's scroll-bar engine run
// on the control's own bar, painted from the style; size boxes and grips
// are painted and left to the system to operate.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectScrollBar : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectScrollBar)
public:
    CSFSkinObjectScrollBar();

    ScrollBarLayout& GetLayout() { return m_layout; }
    void PaintControl(CDC* dc);

    DECLARE_MESSAGE_MAP()

protected:
    BOOL IsSizeBox();
    void PaintOnClientDC();
    LRESULT OnCreateControl(WPARAM, LPARAM);
    LRESULT OnPaintControl(WPARAM, LPARAM);
    LRESULT OnPrintClientControl(WPARAM, LPARAM);
    LRESULT OnEnableControl(WPARAM, LPARAM);
    LRESULT OnSetFocusControl(WPARAM, LPARAM);
    LRESULT OnMouseMoveControl(WPARAM, LPARAM);
    LRESULT OnMouseLeaveControl(WPARAM, LPARAM);
    LRESULT OnLButtonDownControl(WPARAM, LPARAM);
    LRESULT OnSetPos(WPARAM, LPARAM);
    LRESULT OnSetScrollInfo(WPARAM, LPARAM);
    LRESULT OnGetScrollInfo(WPARAM, LPARAM);

    ScrollBarLayout m_layout;
};
