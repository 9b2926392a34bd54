#include "SFSkinObjectMenu.h"
#include "BufferedDC.h"
#include "SFGdiHelpers.h"
#include "SFObjectPaintDC.h"
#include "SFWindowHelpers.h"

IMPLEMENT_DYNCREATE(CSFSkinObjectMenu, CSFSkinObjectFrame)

#ifndef MN_SELECTITEM
#define MN_SELECTITEM 0x01E5
#endif

BEGIN_MESSAGE_MAP(CSFSkinObjectMenu, CSFSkinObjectFrame)
ON_MESSAGE(WM_NCPAINT, &CSFSkinObjectMenu::OnNcPaintMenu)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectMenu::OnPaintMenu)
ON_MESSAGE(WM_ERASEBKGND, &CSFSkinObjectMenu::OnEraseBkgndMenu)
ON_MESSAGE(WM_PRINT, &CSFSkinObjectMenu::OnPrintMenu)
ON_MESSAGE(WM_PRINTCLIENT, &CSFSkinObjectMenu::OnPrintClientMenu)
ON_MESSAGE(MN_SELECTITEM, &CSFSkinObjectMenu::OnSelectItem)
ON_MESSAGE(WM_KEYDOWN, &CSFSkinObjectMenu::OnKeyDownMenu)
ON_MESSAGE(WM_SYSKEYDOWN, &CSFSkinObjectMenu::OnKeyDownMenu)
ON_MESSAGE(WM_CHAR, &CSFSkinObjectMenu::OnCharMenu)
ON_MESSAGE(WM_WINDOWPOSCHANGING, &CSFSkinObjectMenu::OnWindowPosChangingMenu)
END_MESSAGE_MAP()

void CSFSkinObjectMenu::PaintBorder(HDC hdc)
{
    FetchBorders();
    RECT window;
    GetWindowRectSafe(m_hWnd, &window);
    ::OffsetRect(&window, -window.left, -window.top);
    FrameRectSolid(hdc, window, 1, GetColor(COLOR_BTNSHADOW));
    int inner = m_borders.left - 1;
    if (inner > 0)
    {
        ::InflateRect(&window, -1, -1);
        FrameRectSolid(hdc, window, inner, GetColor(COLOR_MENU));
    }
}

void CSFSkinObjectMenu::PaintClient(HDC hdc)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    BufferedDC buffer(hdc, client);
    if (!buffer.IsReady())
        return;
    HDC bufferDC = buffer.GetSafeHdc();
    FillRectOpaque(bufferDC, client, GetColor(COLOR_MENU));
    ::SetBkMode(bufferDC, TRANSPARENT);
    CallSavedProc(WM_PRINTCLIENT, (WPARAM)bufferDC, 0);
}

LRESULT CSFSkinObjectMenu::OnNcPaintMenu(WPARAM, LPARAM)
{
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (hdc == NULL)
        return 0;
    PaintBorder(hdc);
    ::ReleaseDC(m_hWnd, hdc);
    return 0;
}

LRESULT CSFSkinObjectMenu::OnPaintMenu(WPARAM, LPARAM)
{
    CSFObjectPaintDC dc(this);
    PaintClient(dc.GetSafeHdc());
    return 0;
}

LRESULT CSFSkinObjectMenu::OnEraseBkgndMenu(WPARAM, LPARAM) { return 1; }

LRESULT CSFSkinObjectMenu::OnPrintMenu(WPARAM wParam, LPARAM lParam)
{
    HDC hdc = (HDC)wParam;
    if (hdc == NULL)
        return 1;
    if (lParam & PRF_NONCLIENT)
        PaintBorder(hdc);
    if (lParam & PRF_CLIENT)
    {
        FetchBorders();
        POINT old;
        ::SetWindowOrgEx(hdc, -m_borders.left, -m_borders.top, &old);
        PaintClient(hdc);
        ::SetWindowOrgEx(hdc, old.x, old.y, NULL);
    }
    return 1;
}

LRESULT CSFSkinObjectMenu::OnPrintClientMenu(WPARAM wParam, LPARAM)
{
    if (wParam != 0)
        PaintClient((HDC)wParam);
    return 1;
}

LRESULT CSFSkinObjectMenu::OnSelectItem(WPARAM, LPARAM)
{
    ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    LRESULT result = Default();
    if (::IsWindow(m_hWnd))
    {
        ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_hWnd, NULL, FALSE);
    }
    return result;
}

LRESULT CSFSkinObjectMenu::OnKeyDownMenu(WPARAM wParam, LPARAM)
{
    if (wParam != VK_UP && wParam != VK_DOWN)
        return Default();
    ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    LRESULT result = Default();
    if (::IsWindow(m_hWnd))
    {
        ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_hWnd, NULL, FALSE);
    }
    return result;
}

LRESULT CSFSkinObjectMenu::OnCharMenu(WPARAM, LPARAM)
{
    LRESULT result = Default();
    if (::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, NULL, FALSE);
    return result;
}

LRESULT CSFSkinObjectMenu::OnWindowPosChangingMenu(WPARAM wParam, LPARAM lParam)
{
    if (WINDOWPOS* wp = (WINDOWPOS*)lParam)
    {
        wp->x += s_menuOffset.x;
        wp->y += s_menuOffset.y;
    }
    return OnWindowPosChangingMessage(wParam, lParam);
}
