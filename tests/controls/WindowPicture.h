// The pixels of a window's client area, read through the window's own device
// context (Wine keeps each window's pixels whether other windows cover it or
// not), and kept as a PNG below test-output\controls for people to look at.
#pragma once
#include <windows.h>

#include <vector>

class WindowPicture
{
public:
    explicit WindowPicture(HWND hwnd);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The colour at (x, y) of the client area; CLR_INVALID outside it.
    COLORREF At(int x, int y) const;
    // How many pixels have exactly this colour (inside area, when given).
    int Count(COLORREF colour, const RECT* area = nullptr) const;
    // Writes test-output\controls\<name> (a PNG) below the build folder.
    bool SavePng(const wchar_t* name) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_pixels; // top-down rows, 0x00RRGGBB
};
