// CTransparentStatic: static text drawn without a background of its own over
// a skinned parent, in a text colour the owner sets.
#pragma once
#include "Framework.h"

class CTransparentStatic : public CStatic
{
public:
    CTransparentStatic();

    COLORREF m_textColour;

    // TRUE for the text styles (left, centred, right) of a static.
    static BOOL IsTextStatic(HWND hWnd);
    // Repaints the part of the parent under hWnd at once, so that a new text
    // is not drawn over the old one.
    static void RepaintParentUnder(HWND hWnd);

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
