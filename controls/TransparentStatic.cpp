#include "TransparentStatic.h"

BEGIN_MESSAGE_MAP(CTransparentStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(WM_SETTEXT, &CTransparentStatic::OnSetText)
END_MESSAGE_MAP()

CTransparentStatic::CTransparentStatic() : m_textColour(RGB(0x3F, 0x58, 0x6A)) {}

BOOL CTransparentStatic::IsTextStatic(HWND hWnd)
{
    DWORD type = (DWORD)::GetWindowLongPtrW(hWnd, GWL_STYLE) & 0xFF;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
}

void CTransparentStatic::RepaintParentUnder(HWND hWnd)
{
    HWND parent = ::GetParent(hWnd);
    if (!parent)
        return;
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(NULL, parent, (LPPOINT)&rect, 2);
    ::InvalidateRect(parent, &rect, TRUE);
    ::UpdateWindow(parent);
}

HBRUSH CTransparentStatic::CtlColor(CDC* pDC, UINT)
{
    if (!IsTextStatic(m_hWnd))
        return NULL;
    pDC->SetTextColor(m_textColour);
    pDC->SetBkMode(TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

LRESULT CTransparentStatic::OnSetText(WPARAM, LPARAM)
{
    LRESULT result = Default();
    RepaintParentUnder(m_hWnd);
    return result;
}
