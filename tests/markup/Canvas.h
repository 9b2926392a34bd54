// A 32-bit top-down DIB section selected into a memory context: what the
// tests draw into and read pixels back from.
#pragma once
#include <winsock2.h> // before windows.h, which would bring the old winsock.h
#include <windows.h>

class Canvas
{
  public:
    Canvas(int w, int h, COLORREF fill = RGB(255, 255, 255)) : m_w(w), m_h(h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* p = nullptr;
        m_bmp = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &p, NULL, 0);
        m_bits = (DWORD*)p;
        m_dc = ::CreateCompatibleDC(NULL);
        m_old = ::SelectObject(m_dc, m_bmp);
        Fill(fill);
    }
    ~Canvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteDC(m_dc);
        ::DeleteObject(m_bmp);
    }
    void Fill(COLORREF c)
    {
        RECT r = {0, 0, m_w, m_h};
        HBRUSH b = ::CreateSolidBrush(c);
        ::FillRect(m_dc, &r, b);
        ::DeleteObject(b);
        ::GdiFlush();
    }
    HDC dc() const { return m_dc; }
    // A copy of the picture as a bitmap selected into no context (what
    // drawing code gets from resources). The caller deletes it.
    HBITMAP Copy() const
    {
        ::GdiFlush();
        ::SelectObject(m_dc, m_old);
        HBITMAP copy = (HBITMAP)::CopyImage(m_bmp, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        ::SelectObject(m_dc, m_bmp);
        return copy;
    }
    HBITMAP bitmap() const { return m_bmp; }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        DWORD v = m_bits[y * m_w + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    DWORD Raw(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[y * m_w + x];
    }
    void SetRaw(int x, int y, DWORD v) { m_bits[y * m_w + x] = v; }
    // Pixels in [x0, x1) x [y0, y1) of colour c.
    int Count(COLORREF c, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) const
    {
        ::GdiFlush();
        if (x1 < 0)
            x1 = m_w;
        if (y1 < 0)
            y1 = m_h;
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                n += At(x, y) == c;
        return n;
    }
    int Width() const { return m_w; }
    int Height() const { return m_h; }

  private:
    int m_w, m_h;
    HBITMAP m_bmp;
    DWORD* m_bits;
    HDC m_dc;
    HGDIOBJ m_old;
};
