#include "SFStyleImage.h"
#include "BitmapDC.h"
#include "SFBitmapLoaders.h"
#include "SFBitmapTransforms.h"
#include "SFBlits.h"
#include "SFDCLayout.h"
#include "SFDibHelpers.h"
#include "SFGdiHelpers.h"
#include "SFImageLoading.h"
#include "SFSkinFramework.h"

namespace
{
enum
{
    kTileVertical = 1,
    kTileHorizontal = 2
};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
BOOL Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
BOOL Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
COLORREF Rgb(DWORD color) { return color & 0xFFFFFF; }
} // namespace

void SFFitMargins(int destSize, int sourceSize, LONG marginNear, LONG marginFar, LONG* outNear, LONG* outFar,
                  BOOL* fitted)
{
    *outNear = marginNear;
    *outFar = marginFar;
    *fitted = FALSE;
    LONG sum = marginNear + marginFar;
    if (sum <= 0 || (sum < destSize && sourceSize != sum))
        return;
    *fitted = TRUE;
    *outNear = (LONG)(((LONGLONG)destSize * marginNear * 2 + sum) / (2 * sum)); // rounded
    *outFar = destSize - *outNear;
    if (*outFar > 0 && (*outFar % 2) != (marginFar % 2))
        *outFar += 1;
}

CSFStyleImage::CSFStyleImage(CSFSkinFramework* manager)
    : m_pManager(manager), m_premultiply(TRUE), m_mirrorAllowed(TRUE), m_bitmap(NULL), m_alpha(FALSE),
      m_filtered(FALSE), m_mirrored(FALSE), m_analysed(FALSE), m_width(0), m_height(0)
{
}

CSFStyleImage::~CSFStyleImage()
{
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
}

void CSFStyleImage::Attach(HBITMAP bitmap, BOOL alpha)
{
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    m_bitmap = bitmap;
    m_alpha = alpha;
    m_filtered = m_mirrored = m_analysed = FALSE;
    m_solids.clear();
    BITMAP bm = {};
    m_width = m_height = 0;
    if (bitmap && ::GetObjectW(bitmap, sizeof(bm), &bm))
    {
        m_width = bm.bmWidth;
        m_height = bm.bmHeight;
    }
}

BOOL CSFStyleImage::TakeLoaded(HBITMAP bitmap, BOOL alpha)
{
    if (bitmap == NULL)
        return FALSE;
    if (alpha && m_premultiply)
    {
        int meaningful = 0;
        HBITMAP premultiplied = SFPremultipliedCopy(bitmap, &meaningful, NULL);
        if (premultiplied)
        {
            ::DeleteObject(bitmap);
            Attach(premultiplied, meaningful);
            return TRUE;
        }
        // Without the copy the picture is still usable as it was loaded.
    }
    Attach(bitmap, alpha);
    return TRUE;
}

BOOL CSFStyleImage::LoadFile(LPCWSTR path)
{
    BOOL alpha = FALSE;
    HBITMAP bitmap = SFLoadBitmapFile(path, &alpha);
    return TakeLoaded(bitmap, alpha);
}

BOOL CSFStyleImage::LoadResource(HMODULE module, LPCWSTR name)
{
    BOOL is32 = FALSE;
    HBITMAP bitmap = LoadResourceBitmap(module, name, &is32);
    return TakeLoaded(bitmap, is32);
}

void CSFStyleImage::ApplyFilter(COLORREF spare)
{
    if (m_filtered || m_bitmap == NULL || m_pManager == NULL || !m_pManager->HasColorFilters())
        return;
    m_filtered = TRUE;
    SFBitmapPixels pixels;
    if (!Read32BitCopy(m_bitmap, &pixels))
        return; // the picture stays as it was
    DWORD* p = (DWORD*)pixels.bits.data();
    size_t count = pixels.bits.size() / 4;
    for (size_t i = 0; i < count; i++)
    {
        COLORREF c = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
        if (c == spare)
            continue;
        m_pManager->ApplyColorFilter(c);
        p[i] = (p[i] & 0xFF000000) | ((DWORD)GetRValue(c) << 16) | ((DWORD)GetGValue(c) << 8) | GetBValue(c);
    }
    ::DeleteObject(m_bitmap);
    m_bitmap = MakeDibSection(pixels, NULL); // none when memory was short: nothing is drawn from then on
}

void CSFStyleImage::FindSolidRectangles(int count, BOOL horizontal, const RECT& m)
{
    if (m_bitmap == NULL || count <= 0 || m_analysed || m_filtered)
        return;
    m_solids.clear();
    m_analysed = TRUE;
    if (count != 1 && horizontal)
        return;
    SFBitmapPixels pixels;
    if (!(m_alpha ? Read32BitPixels(NULL, m_bitmap, &pixels) : Read32BitCopy(m_bitmap, &pixels)))
        return;
    const DWORD* p = (const DWORD*)pixels.bits.data();
    int w = pixels.Width();
    DWORD mask = m_alpha ? 0xFFFFFFFF : 0x00FFFFFF;
    auto record = [&](const RECT& r) {
        if (Empty(r) || r.left < 0 || r.top < 0 || r.right > w || r.bottom > pixels.Height())
            return;
        DWORD first = p[(size_t)r.top * w + r.left] & mask;
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++)
                if ((p[(size_t)y * w + x] & mask) != first)
                    return;
        // Stored as red, green, blue from the low byte up, alpha on top.
        DWORD color = ((first >> 16) & 0xFF) | (first & 0xFF00) | ((first & 0xFF) << 16) | (first & 0xFF000000);
        m_solids.push_back({r, color});
    };
    int cellHeight = m_height / count;
    BOOL margins = m.left || m.top || m.right || m.bottom;
    for (int i = 0; i < count; i++)
    {
        int top = i * cellHeight, bottom = top + cellHeight;
        RECT cell = {0, top, w, bottom};
        size_t before = m_solids.size();
        record(cell);
        if (m_solids.size() != before || !margins)
            continue;
        record({0, top + m.top, m.left, bottom - m.bottom});
        record({m.left, top, w - m.right, top + m.top});
        record({w - m.right, top + m.top, w, bottom - m.bottom});
        record({m.left, bottom - m.bottom, w - m.right, bottom});
        record({m.left, top + m.top, w - m.right, bottom - m.bottom});
    }
}

const SFSolidRect* CSFStyleImage::FindSolid(const RECT& source) const
{
    for (const SFSolidRect& solid : m_solids)
        if (Inside(source, solid.rect))
            return &solid;
    return NULL;
}

BOOL CSFStyleImage::DrawSolid(HDC dc, const RECT& d, const RECT& s, COLORREF transparent) const
{
    const SFSolidRect* solid = FindSolid(s);
    if (solid == NULL)
        return FALSE;
    COLORREF c = Rgb(solid->color);
    if (m_pManager)
        m_pManager->ApplyColorFilter(c);
    if (!m_alpha)
    {
        if (c != transparent)
            FillRectOpaque(dc, d, c);
        return TRUE;
    }
    if (solid->color == 0)
        return TRUE; // wholly transparent
    if ((solid->color >> 24) == 255)
    {
        FillRectOpaque(dc, d, c);
        return TRUE;
    }
    return FALSE;
}

void CSFStyleImage::DrawImage(CDC* pDC, const RECT& d, const RECT& s, const RECT& m, COLORREF transparent,
                              int sizingType, BOOL borderOnly)
{
    HDC dc = pDC->GetSafeHdc();
    if (dc == NULL || Height(s) < m.top + m.bottom)
        return;
    if (DrawSolid(dc, d, s, transparent))
        return;
    if (transparent == (COLORREF)-1 || m_alpha)
    {
        DrawNineGrid(dc, d, s, m, sizingType, borderOnly);
        return;
    }
    ApplyFilter(transparent);
    if (Empty(d))
        return;
    // Drawn off-screen over the transparent colour, then copied leaving it out.
    HBITMAP buffer = ::CreateCompatibleBitmap(dc, Width(d), Height(d));
    if (buffer == NULL)
        return;
    {
        BitmapDC off(dc, buffer);
        if (off.IsReady())
        {
            RECT all = {0, 0, Width(d), Height(d)};
            // The buffer is drawn left to right; the copy to a right-to-left
            // target mirrors it, which a style that forbids mirroring undoes
            // by handing over a mirrored buffer.
            SetDCLayout(off, 0);
            FillRectOpaque(off, all, transparent);
            DrawNineGrid(off, all, s, m, sizingType, borderOnly);
            if (!m_mirrorAllowed && GetDCLayout(dc) != 0)
                CopyMirrored(dc, d, off, all, transparent);
            else
                SFTransparentBlt(dc, d, off, all, transparent);
        }
    }
    ::DeleteObject(buffer);
}

void CSFStyleImage::CopyMirrored(HDC dc, const RECT& d, HDC buffer, const RECT& all, COLORREF transparent)
{
    HBITMAP mirror = ::CreateCompatibleBitmap(dc, Width(all), Height(all));
    if (mirror == NULL)
        return;
    {
        BitmapDC flipped(dc, mirror);
        if (flipped.IsReady())
        {
            SetDCLayout(flipped, 0);
            if (::StretchBlt(flipped, Width(all) - 1, 0, -Width(all), Height(all), buffer, 0, 0, Width(all),
                             Height(all), SRCCOPY))
                SFTransparentBlt(dc, d, flipped, all, transparent);
        }
    }
    ::DeleteObject(mirror);
}

void CSFStyleImage::DrawNineGrid(HDC dc, const RECT& d, const RECT& s, const RECT& m, int sizingType,
                                 BOOL borderOnly)
{
    if (m_bitmap == NULL || Height(s) < m.top + m.bottom)
        return;
    ApplyFilter((COLORREF)-1);
    if (m_bitmap == NULL)
        return;
    ::SetStretchBltMode(dc, COLORONCOLOR);
    if (Empty(d))
        return;
    BOOL rtl = GetDCLayout(dc) != 0;
    if (m_alpha && m_mirrorAllowed && m_mirrored != rtl)
    {
        if (HBITMAP mirror = SFMirrorBitmap32(m_bitmap, NULL))
        {
            ::DeleteObject(m_bitmap);
            m_bitmap = mirror;
            m_mirrored = !m_mirrored;
        }
    }
    BitmapDC source(dc, m_bitmap);
    if (!source.IsReady())
        return;
    // A plain picture is copied from a left-to-right source, so a
    // right-to-left target mirrors it; where the style forbids that, the copy
    // says so itself rather than trusting the source to share the target's
    // layout (a compatible DC does not everywhere).
    DWORD rop = SRCCOPY;
    if (!m_alpha && rtl)
    {
        SetDCLayout(source, 0);
        if (!m_mirrorAllowed)
            rop |= NOMIRRORBITMAP;
    }

    int tiling = sizingType == 2 ? (kTileVertical | kTileHorizontal) : 0;
    if (m.left == 0 && m.top == 0 && m.right == 0 && m.bottom == 0)
    {
        DrawCell(dc, source, d, s, tiling, rop);
        return;
    }
    RECT n = m;
    BOOL fitted;
    SFFitMargins(Height(d), Height(s), m.top, m.bottom, &n.top, &n.bottom, &fitted);
    if (fitted)
        tiling = sizingType == 2 ? kTileHorizontal : 0;
    SFFitMargins(Width(d), Width(s), m.left, m.right, &n.left, &n.right, &fitted);
    if (fitted)
        tiling &= ~kTileHorizontal;

    const LONG dx[4] = {d.left, d.left + n.left, d.right - n.right, d.right};
    const LONG dy[4] = {d.top, d.top + n.top, d.bottom - n.bottom, d.bottom};
    const LONG sx[4] = {s.left, s.left + m.left, s.right - m.right, s.right};
    const LONG sy[4] = {s.top, s.top + m.top, s.bottom - m.bottom, s.bottom};
    for (int row = 0; row < 3; row++)
        for (int col = 0; col < 3; col++)
        {
            if (row == 1 && col == 1 && borderOnly)
                continue;
            BOOL corner = row != 1 && col != 1;
            RECT c = {dx[col], dy[row], dx[col + 1], dy[row + 1]};
            RECT r = {sx[col], sy[row], sx[col + 1], sy[row + 1]};
            DrawCell(dc, source, c, r, corner ? 0 : tiling, rop);
        }
}

void CSFStyleImage::DrawCell(HDC dc, HDC source, const RECT& c, const RECT& r, int tiling, DWORD rop) const
{
    if (Empty(c) || Empty(r))
        return;
    if (DrawSolid(dc, c, r, (COLORREF)-1))
        return;
    BOOL strip = (Width(r) == 1 && (Height(r) == 1 || Height(r) == Height(c))) ||
                 (Height(r) == 1 && (Width(r) == 1 || Width(r) == Width(c)));
    if (tiling == 0 || strip)
    {
        CopyRect(dc, source, c, r, rop);
        return;
    }
    int tileW = (tiling & kTileHorizontal) ? Width(r) : Width(c);
    int tileH = (tiling & kTileVertical) ? Height(r) : Height(c);
    for (LONG x = c.left; x < c.right; x += tileW)
    {
        LONG w = tileW < c.right - x ? tileW : c.right - x;
        LONG srcW = (tiling & kTileHorizontal) ? w : Width(r);
        for (LONG y = c.top; y < c.bottom; y += tileH)
        {
            LONG h = tileH < c.bottom - y ? tileH : c.bottom - y;
            LONG srcH = (tiling & kTileVertical) ? h : Height(r);
            RECT dest = {x, y, x + w, y + h};
            RECT src = {r.left, r.top, r.left + srcW, r.top + srcH};
            CopyRect(dc, source, dest, src, rop);
        }
    }
}

void CSFStyleImage::CopyRect(HDC dc, HDC source, const RECT& d, const RECT& s, DWORD rop) const
{
    if (Empty(d) || Empty(s))
        return;
    if (m_alpha)
        SFAlphaBlend(dc, d, source, s);
    else if (Width(d) == Width(s) && Height(d) == Height(s))
        ::BitBlt(dc, d.left, d.top, Width(d), Height(d), source, s.left, s.top, rop);
    else
        ::StretchBlt(dc, d.left, d.top, Width(d), Height(d), source, s.left, s.top, Width(s), Height(s), rop);
}
