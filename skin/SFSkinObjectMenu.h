// The skin object of popup-menu windows: the style's menu colour behind the
// items and a border in the skin's colours. The system still draws the items,
// into a buffer the object has filled first, and every change of selection is
// made with redrawing off and then shown in one repaint, so an unskinned item
// never reaches the screen.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectMenu : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectMenu)
public:
    CSFSkinObjectMenu() {}

    // The border: window coordinates, from the origin.
    void PaintBorder(HDC hdc);
    // The client area: the skin's menu colour, then the items the menu draws.
    void PaintClient(HDC hdc);

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnNcPaintMenu(WPARAM, LPARAM);
    LRESULT OnPaintMenu(WPARAM, LPARAM);
    LRESULT OnEraseBkgndMenu(WPARAM, LPARAM);
    LRESULT OnPrintMenu(WPARAM, LPARAM);
    LRESULT OnPrintClientMenu(WPARAM, LPARAM);
    LRESULT OnSelectItem(WPARAM, LPARAM);
    LRESULT OnKeyDownMenu(WPARAM, LPARAM);
    LRESULT OnCharMenu(WPARAM, LPARAM);
    LRESULT OnWindowPosChangingMenu(WPARAM, LPARAM);
};
