// The pixels of a window's client area, read through the window's own device
// context (Wine keeps each window's pixels whether other windows cover it or
// not), for tests that check colours and keep the picture as a PNG file.
// SaveWindowPicture (WindowPicture.h) keeps the whole window as the screen
// shows it instead.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class WindowPixels
{
public:
    explicit WindowPixels(HWND hwnd);
    // The top-left width x height pixels of any device context, such as a
    // memory DC a test drew into.
    WindowPixels(HDC dc, int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The colour at (x, y) of the client area; CLR_INVALID outside it.
    COLORREF At(int x, int y) const;
    // How many pixels have exactly this colour (inside area, when given).
    int Count(COLORREF colour, const RECT* area = nullptr) const;
    // Writes the pixels as a PNG file at path.
    bool SavePng(const std::wstring& path) const;

private:
    void Read(HDC dc);

    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_pixels; // top-down rows, 0x00RRGGBB
};
