// Skinned test windows and what they show: windows whose procedure is the
// system's default one (so their skin object sees every message first), the
// whole window's pixels read through its window DC, and the colours of the
// client style's pictures to recognise them by.
#pragma once
#include <Framework.h>
#include <set>
#include <string>
#include <vector>

// A window class whose procedure is DefWindowProcW, painted in the button face.
const wchar_t* PlainWindowClass();

struct WindowShot
{
    int width = 0, height = 0;
    std::vector<DWORD> pixels; // top-down rows, 0x00RRGGBB
    COLORREF At(int x, int y) const;
    // How many of the pixels in the rectangle have a colour of the set.
    int CountIn(const RECT& area, const std::set<COLORREF>& colours) const;
};
// The window as drawn, non-client area included, after a full redraw.
WindowShot TakeWindowShot(HWND hwnd);
// The colours of cell (from 0) of a picture of the client style's folder
// (Blue\<name>) cut into count cells stacked top to bottom; magenta left out.
std::set<COLORREF> StylePictureColours(const wchar_t* name, int cell = 0, int count = 1);
// Keeps the window as the screen shows it, as test-output\skin\<name>.png.
void KeepWindowPicture(HWND hwnd, const wchar_t* name);
