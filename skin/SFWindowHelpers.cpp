#include "SFWindowHelpers.h"

void GetWindowTextDirect(HWND hwnd, CString& text)
{
    int length = (int)::DefWindowProcW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
    {
        text.Empty();
        return;
    }
    wchar_t* buffer = text.GetBuffer(length + 1);
    int got = (int)::DefWindowProcW(hwnd, WM_GETTEXT, (WPARAM)(length + 1), (LPARAM)buffer);
    text.ReleaseBuffer(got < 0 ? 0 : (got > length ? length : got));
}

void GetWindowRectSafe(HWND hwnd, RECT* rect)
{
    if (!::IsWindow(hwnd) || !::GetWindowRect(hwnd, rect))
        ::SetRectEmpty(rect);
}

void GetClientRectSafe(HWND hwnd, RECT* rect)
{
    if (!::IsWindow(hwnd) || !::GetClientRect(hwnd, rect))
        ::SetRectEmpty(rect);
}

void ScreenToWindowPoint(HWND hwnd, POINT* point)
{
    RECT window;
    GetWindowRectSafe(hwnd, &window);
    point->y -= window.top;
    if (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
        point->x = window.right - point->x;
    else
        point->x -= window.left;
}
