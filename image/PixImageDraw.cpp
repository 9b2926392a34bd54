// CPixImage and Windows GDI: images from GDI bitmaps, and drawing into a
// device context with scaling, transparency and alpha.
#include "PixImage.h"
#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <string.h>

bool CPixImage::CreateFromHBITMAP(HBITMAP hbmp, HPALETTE hpal)
{
    if (!Destroy())
        return false;
    if (!hbmp)
        return false;
    BITMAP bm;
    if (!GetObjectW(hbmp, sizeof(BITMAP), &bm))
        return false;
    if (!Create(bm.bmWidth, bm.bmHeight, bm.bmBitsPixel, 0))
        return false;
    HDC dc = GetDC(nullptr);
    if (!dc)
        return false;
    HPALETTE oldPal = nullptr;
    if (hpal)
    {
        oldPal = SelectPalette(dc, hpal, FALSE);
        RealizePalette(dc);
    }
    memcpy(pDib, &head, sizeof(BITMAPINFOHEADER));
    int rows = GetDIBits(dc, hbmp, 0, head.biHeight, info.pImage, (BITMAPINFO*)pDib, DIB_RGB_COLORS);
    if (hpal)
        SelectPalette(dc, oldPal, FALSE);
    ReleaseDC(nullptr, dc);
    if (rows == 0)
    {
        SetErrorText("GetDIBits failed");
        return false;
    }
    info.last_c_isvalid = false;
    return true;
}

bool CPixImage::Draw(HDC hdc, const RECT& rect, RECT* pClipRect, bool bSmooth)
{
    return Draw(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, pClipRect, bSmooth);
}

namespace
{
// The device context's state, saved for the length of one drawing.
class SavedDC
{
public:
    explicit SavedDC(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
    ~SavedDC()
    {
        if (m_saved)
            RestoreDC(m_dc, m_saved);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    bool IsSaved() const { return m_saved != 0; }

private:
    HDC m_dc;
    int m_saved;
};

// The part of the drawing rectangle inside the clip box: the only pixels touched.
RECT PaintedArea(HDC hdc, long x, long y, long cx, long cy)
{
    RECT clip;
    GetClipBox(hdc, &clip);
    RECT r;
    r.left = std::min<long>(clip.right, std::max<long>(clip.left, x));
    r.top = std::min<long>(clip.bottom, std::max<long>(clip.top, y));
    r.right = std::max<long>(clip.left, std::min<long>(clip.right, x + cx));
    r.bottom = std::max<long>(clip.top, std::min<long>(clip.bottom, y + cy));
    return r;
}

// A 24-bit bottom-up DIB section of the painted area on a memory context
// compatible with the target, where the picture is composed before one copy.
class PaintSection
{
public:
    PaintSection(HDC target, long width, long height) : m_bits(nullptr), m_old(nullptr)
    {
        memset(&m_bmi, 0, sizeof(m_bmi));
        m_bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        m_bmi.bmiHeader.biWidth = width;
        m_bmi.bmiHeader.biHeight = height;
        m_bmi.bmiHeader.biPlanes = 1;
        m_bmi.bmiHeader.biBitCount = 24;
        m_bmi.bmiHeader.biCompression = BI_RGB;
        m_rowBytes = ((width * 24 + 31) / 32) * 4;
        m_bmi.bmiHeader.biSizeImage = m_rowBytes * height;
        m_dc = CreateCompatibleDC(target);
        m_section = CreateDIBSection(target, &m_bmi, DIB_RGB_COLORS, (void**)&m_bits, nullptr, 0);
        if (IsReady())
            m_old = SelectObject(m_dc, m_section);
    }
    ~PaintSection()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
        if (m_section)
            DeleteObject(m_section);
        if (m_dc)
            DeleteDC(m_dc);
    }
    PaintSection(const PaintSection&) = delete;
    PaintSection& operator=(const PaintSection&) = delete;

    bool IsReady() const { return m_dc && m_section && m_bits; }
    // Row k of the section, counted from its bottom line.
    BYTE* Row(long k) const { return m_bits + k * m_rowBytes; }
    void CopyFrom(HDC target, long left, long top)
    {
        BitBlt(m_dc, 0, 0, m_bmi.bmiHeader.biWidth, m_bmi.bmiHeader.biHeight, target, left, top, SRCCOPY);
    }
    void PaintTo(HDC target, long left, long top) const
    {
        long w = m_bmi.bmiHeader.biWidth, h = m_bmi.bmiHeader.biHeight;
        SetDIBitsToDevice(target, left, top, w, h, 0, 0, 0, h, m_bits, &m_bmi, DIB_RGB_COLORS);
    }

private:
    BITMAPINFO m_bmi;
    long m_rowBytes;
    HDC m_dc;
    HBITMAP m_section;
    BYTE* m_bits;
    HGDIOBJ m_old;
};

// Where a painted pixel takes its colour: source column and row (rows counted
// from the bottom, as stored), with their unrounded values for smoothing.
struct SourceMap
{
    long x, y;           // the drawing's top-left corner
    long width, height;  // the image's size
    long bottom;         // the painted area's bottom edge
    bool scaled;
    float fx, fy;

    long Row(long k, float& syf) const // k: painted line counted from the bottom
    {
        long sy;
        if (scaled)
        {
            syf = height - (bottom - y - k) * fy;
            sy = (long)floorf(syf);
        }
        else
        {
            sy = height - 1 - (bottom - 1 - k - y);
            syf = (float)sy;
        }
        return std::min(std::max(sy, 0L), height - 1);
    }
    long Column(long X, float& sxf) const
    {
        long sx;
        if (scaled)
        {
            sxf = (X - x) * fx;
            sx = (long)floorf(sxf);
        }
        else
        {
            sx = X - x;
            sxf = (float)sx;
        }
        return std::min(std::max(sx, 0L), width - 1);
    }
};

// Colour, alpha and transparency of the source pixels as drawing sees them.
class DrawSource
{
public:
    DrawSource(CPixImage& ima, const SourceMap& map, bool smooth)
        : m_ima(ima), m_map(map), m_smooth(smooth && map.scaled), m_indexed(ima.IsIndexed()),
          m_transColor(ima.GetTransColor()), m_bits(ima.GetBits()), m_effWidth(ima.GetEffWidth())
    {
    }

    // The index (for an indexed image) of the nearest source pixel, also when smoothing.
    BYTE Index(long sx, long sy) const { return m_indexed ? m_ima.GetPixelIndexRaw(sx, sy) : 0; }

    RGBQUAD Color(long sx, long sy, float sxf, float syf, BYTE idx) const
    {
        if (m_smooth)
        {
            if (m_map.fx > 1 && m_map.fy > 1)
                return m_ima.GetAreaColorInterpolated(sxf - 0.5f, syf - 0.5f, m_map.fx, m_map.fy, IM_BILINEAR,
                                                      OM_REPEAT);
            return m_ima.GetPixelColorInterpolated(sxf - 0.5f, syf - 0.5f, IM_BILINEAR, OM_REPEAT);
        }
        if (m_indexed)
            return m_ima.GetPaletteColor(idx);
        const BYTE* p = m_bits + sy * m_effWidth + sx * 3;
        RGBQUAD c;
        c.rgbBlue = p[0];
        c.rgbGreen = p[1];
        c.rgbRed = p[2];
        c.rgbReserved = 0;
        return c;
    }

    // The pixel's opacity: its alpha scaled by the image's alpha maximum and,
    // with palette alpha, by its palette entry's.
    long Alpha(long sx, long sy, BYTE idx) const
    {
        long a = m_ima.AlphaIsValid() ? m_ima.AlphaGetRaw(sx, sy) : 255;
        a = (a * (m_ima.AlphaGetMax() + 1)) >> 8;
        if (m_indexed && m_ima.AlphaPaletteIsEnabled())
            a = (a * (m_ima.GetPaletteColor(idx).rgbReserved + 1)) >> 8;
        return a;
    }

    bool IsTransparent(RGBQUAD c, BYTE idx) const
    {
        if (!m_ima.IsTransparent())
            return false;
        if (m_indexed)
            return idx == (BYTE)m_ima.GetTransIndex();
        return c.rgbBlue == m_transColor.rgbBlue && c.rgbGreen == m_transColor.rgbGreen &&
               c.rgbRed == m_transColor.rgbRed;
    }

private:
    CPixImage& m_ima;
    const SourceMap& m_map;
    bool m_smooth;
    bool m_indexed;
    RGBQUAD m_transColor;
    const BYTE* m_bits;
    DWORD m_effWidth;
};

void PutColor(BYTE* dst, RGBQUAD c)
{
    dst[0] = c.rgbBlue;
    dst[1] = c.rgbGreen;
    dst[2] = c.rgbRed;
}

// Colour over the background in the proportion a : 255 - a.
void BlendColor(BYTE* dst, RGBQUAD c, long a)
{
    if (a == 255)
    {
        PutColor(dst, c);
        return;
    }
    long na = 255 - a;
    dst[0] = (BYTE)((c.rgbBlue * a + dst[0] * na) >> 8);
    dst[1] = (BYTE)((c.rgbGreen * a + dst[1] * na) >> 8);
    dst[2] = (BYTE)((c.rgbRed * a + dst[2] * na) >> 8);
}

// Fills the section with the picture's pixels, over the background it holds
// when blending, in place of it otherwise.
void ComposePixels(PaintSection& section, const RECT& area, const SourceMap& map, const DrawSource& source,
                   bool blend)
{
    long paintH = area.bottom - area.top;
    for (long k = 0; k < paintH; k++)
    {
        BYTE* dst = section.Row(k);
        float syf;
        long sy = map.Row(k, syf);
        for (long X = area.left; X < area.right; X++, dst += 3)
        {
            float sxf;
            long sx = map.Column(X, sxf);
            BYTE idx = source.Index(sx, sy);
            RGBQUAD c = source.Color(sx, sy, sxf, syf, idx);
            if (!blend)
            {
                PutColor(dst, c);
                continue;
            }
            long a = source.Alpha(sx, sy, idx);
            if (a != 0 && !source.IsTransparent(c, idx))
                BlendColor(dst, c, a);
        }
    }
}
} // namespace

bool CPixImage::Draw(HDC hdc, long x, long y, long cx, long cy, RECT* pClipRect, bool bSmooth)
{
    if (!pDib || !hdc || cx == 0 || cy == 0 || !info.bEnabled)
        return false;
    if (cx < 0)
        cx = head.biWidth;
    if (cy < 0)
        cy = head.biHeight;

    SavedDC state(hdc);
    if (!state.IsSaved())
        return false;
    if (pClipRect)
        IntersectClipRect(hdc, pClipRect->left, pClipRect->top, pClipRect->right, pClipRect->bottom);
    RECT area = PaintedArea(hdc, x, y, cx, cy);
    long paintW = area.right - area.left, paintH = area.bottom - area.top;
    if (paintW <= 0 || paintH <= 0)
        return true;

    SourceMap map = {x, y, head.biWidth, head.biHeight, area.bottom, cx != head.biWidth || cy != head.biHeight,
                     (float)head.biWidth / (float)cx, (float)head.biHeight / (float)cy};
    bool blend = info.nBkgndIndex >= 0 || pAlpha || info.bAlphaPaletteEnabled;
    memcpy(pDib, &head, sizeof(BITMAPINFOHEADER));
    if (!blend && !map.scaled)
    {
        SetStretchBltMode(hdc, COLORONCOLOR);
        SetDIBitsToDevice(hdc, x, y, cx, cy, 0, 0, 0, cy, info.pImage, (BITMAPINFO*)pDib, DIB_RGB_COLORS);
        return true;
    }

    PaintSection section(hdc, paintW, paintH);
    if (!section.IsReady())
        return false;
    if (blend)
        section.CopyFrom(hdc, area.left, area.top);
    GdiFlush();
    ComposePixels(section, area, map, DrawSource(*this, map, bSmooth), blend);
    section.PaintTo(hdc, area.left, area.top);
    return true;
}
