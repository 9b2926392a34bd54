// The skin object of up-down controls: both arrow buttons from the style,
// hot and pressed as the mouse has them, and the buddy edit's border
// carried on round the buttons.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectSpin : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectSpin)
public:
    CSFSkinObjectSpin();

    void PaintControl(CDC* dc) override;
    // 0 none, 1 down or left, 2 up or right.
    int HitTest(POINT point);
    int GetButtonState(int button);
    int GetHotButton() const { return m_hot; }
    int GetPressedButton() const { return m_pressed; }

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnLButtonDownControl(WPARAM, LPARAM);
    LRESULT OnLButtonUpControl(WPARAM, LPARAM);
    LRESULT OnMouseMoveControl(WPARAM, LPARAM);
    LRESULT OnMouseLeaveControl(WPARAM, LPARAM);
    LRESULT OnTimerControl(WPARAM, LPARAM);
    void TrackHot(POINT point);

    int m_hot;
    int m_pressed;
};
