// Window rectangles that tolerate windows already gone, the window text read
// past the window's own procedure, and screen points in window coordinates.
#pragma once
#include <Framework.h>

// WM_GETTEXTLENGTH and WM_GETTEXT straight to DefWindowProcW, so neither the
// window's procedure nor any hook sees them.
void GetWindowTextDirect(HWND hwnd, CString& text);
// The rectangle, or an empty one when the window is gone.
void GetWindowRectSafe(HWND hwnd, RECT* rect);
void GetClientRectSafe(HWND hwnd, RECT* rect);
// Screen point to window coordinates; x counts from the right edge of a
// right-to-left window.
void ScreenToWindowPoint(HWND hwnd, POINT* point);
