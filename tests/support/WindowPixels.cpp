#include "WindowPixels.h"
#include "PixImage.h"

#include <string>

WindowPixels::WindowPixels(HWND hwnd)
{
    RECT client{};
    ::GetClientRect(hwnd, &client);
    m_width = client.right;
    m_height = client.bottom;
    if (m_width <= 0 || m_height <= 0)
        return;
    HDC window = ::GetDC(hwnd);
    Read(window);
    ::ReleaseDC(hwnd, window);
}

WindowPixels::WindowPixels(HDC dc, int width, int height) : m_width(width), m_height(height)
{
    if (m_width > 0 && m_height > 0)
        Read(dc);
}

void WindowPixels::Read(HDC dc)
{
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), m_width, -m_height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC mem = ::CreateCompatibleDC(dc);
    HBITMAP dib = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, m_width, m_height, dc, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    m_pixels.assign(p, p + (size_t)m_width * m_height);
    for (DWORD& pixel : m_pixels)
        pixel &= 0x00FFFFFF;
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
}

COLORREF WindowPixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    DWORD p = m_pixels[(size_t)y * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int WindowPixels::Count(COLORREF colour, const RECT* area) const
{
    RECT all = {0, 0, m_width, m_height};
    if (!area)
        area = &all;
    int n = 0;
    for (int y = area->top; y < area->bottom; ++y)
        for (int x = area->left; x < area->right; ++x)
            n += At(x, y) == colour;
    return n;
}

bool WindowPixels::SavePng(const std::wstring& path) const
{
    if (m_pixels.empty())
        return false;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), m_width, -m_height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!dib)
        return false;
    DWORD* out = static_cast<DWORD*>(bits);
    for (size_t i = 0; i < m_pixels.size(); ++i)
        out[i] = m_pixels[i] | 0xFF000000; // opaque, should the top byte be read as alpha
    CPixImage image;
    bool ok = image.CreateFromHBITMAP(dib) && image.Save(path.c_str(), PIXIMAGE_FORMAT_PNG);
    ::DeleteObject(dib);
    return ok;
}
