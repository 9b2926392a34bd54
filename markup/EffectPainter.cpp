#include "EffectPainter.h"
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------
// Small holders

DibSection32::~DibSection32()
{
    if (bitmap != NULL)
        ::DeleteObject(bitmap);
}

BOOL DibSection32::Create(int w, int h)
{
    if (w <= 0 || h <= 0 || (long long)w * h > 0x4000000)
        return FALSE;
    BITMAPINFO bi;
    memset(&bi, 0, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h; // top-down: row 0 is the top line
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = NULL;
    bitmap = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &p, NULL, 0);
    if (bitmap == NULL || p == NULL)
    {
        if (bitmap != NULL)
            ::DeleteObject(bitmap);
        bitmap = NULL;
        return FALSE;
    }
    bits = (DWORD*)p;
    width = w;
    height = h;
    return TRUE;
}

HBITMAP DibSection32::Release()
{
    HBITMAP h = bitmap;
    bitmap = NULL;
    bits = NULL;
    return h;
}

static inline DWORD SwapRB(COLORREF c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

static inline COLORREF ClampColor(COLORREF c)
{
    return c & 0x00FFFFFF;
}

// ---------------------------------------------------------------------------
// Colours

CEffectPainter::CEffectPainter() : m_hasAlpha(FALSE) {}

CEffectPainter::~CEffectPainter() {}

DWORD CEffectPainter::GreyColor(DWORD c)
{
    int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    DWORD grey = (DWORD)(BYTE)(0.299 * r + 0.587 * g + 0.114 * b);
    return (c & 0xFF000000) | (grey << 16) | (grey << 8) | grey;
}

DWORD CEffectPainter::InvertColor(DWORD c)
{
    return (c & 0xFF000000) | (~c & 0x00FFFFFF);
}

DWORD CEffectPainter::DarkenColor(DWORD c, double f)
{
    if (f < 0 || f >= 1)
        return c;
    DWORD r = (DWORD)(((c >> 16) & 0xFF) * f), g = (DWORD)(((c >> 8) & 0xFF) * f),
          b = (DWORD)((c & 0xFF) * f);
    return (c & 0xFF000000) | (r << 16) | (g << 8) | b;
}

DWORD CEffectPainter::LightenColor(DWORD c, double f)
{
    if (f <= 0 || f > 1)
        return c;
    auto ch = [f](DWORD v) { return (DWORD)std::min(255.0, v * (1 + f)); };
    return (c & 0xFF000000) | (ch((c >> 16) & 0xFF) << 16) | (ch((c >> 8) & 0xFF) << 8) | ch(c & 0xFF);
}

DWORD CEffectPainter::MixColors(DWORD c1, double f1, DWORD c2, double f2)
{
    auto ch = [&](int shift) {
        double v = ((c1 >> shift) & 0xFF) * f1 + ((c2 >> shift) & 0xFF) * f2;
        return (DWORD)std::min(255.0, std::max(0.0, v)) << shift;
    };
    return ch(16) | ch(8) | ch(0);
}

SIZE CEffectPainter::GetIconSize(HICON hIcon)
{
    SIZE s = {0, 0};
    ICONINFO ii;
    if (hIcon == NULL || !::GetIconInfo(hIcon, &ii))
        return s;
    s.cx = (LONG)ii.xHotspot * 2;
    s.cy = (LONG)ii.yHotspot * 2;
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    return s;
}

SIZE CEffectPainter::GetBitmapSize(HBITMAP hBitmap)
{
    SIZE s = {0, 0};
    BITMAP bm;
    if (hBitmap != NULL && ::GetObjectW(hBitmap, sizeof(bm), &bm))
    {
        s.cx = bm.bmWidth;
        s.cy = bm.bmHeight;
    }
    return s;
}

// ---------------------------------------------------------------------------
// Fills

void CEffectPainter::FillGradient(HDC hDC, const RECT& rect, COLORREF start, COLORREF end, BOOL horizontal)
{
    int from = horizontal ? rect.left : rect.top;
    int size = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    if (size <= 0)
        return;
    for (int k = 0; k < 64; k++)
    {
        int a = from + k * size / 64, b = from + (k + 1) * size / 64;
        if (a >= b)
            continue;
        int r = (GetRValue(start) * (64 - k) + GetRValue(end) * k) / 64;
        int g = (GetGValue(start) * (64 - k) + GetGValue(end) * k) / 64;
        int bl = (GetBValue(start) * (64 - k) + GetBValue(end) * k) / 64;
        RECT band = horizontal ? RECT{a, rect.top, b, rect.bottom} : RECT{rect.left, a, rect.right, b};
        HBRUSH brush = ::CreateSolidBrush(RGB(r, g, bl));
        ::FillRect(hDC, &band, brush);
        ::DeleteObject(brush);
    }
}

void CEffectPainter::FillEffect(HDC hDC, int effect, const RECT& rc, COLORREF c1, COLORREF c2, COLORREF c3,
                                int granularity, int blendPercent)
{
    c1 = ClampColor(c1);
    c2 = ClampColor(c2);
    c3 = ClampColor(c3);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0)
        return;
    RECT a = rc, b = rc;
    switch (effect)
    {
    case 1:
        FillGradient(hDC, rc, c1, c3, TRUE);
        break;
    case 2:
        FillGradient(hDC, rc, c1, c3, FALSE);
        break;
    case 3:
    case 5:
        a.right = b.left = rc.left + w / 2;
        FillGradient(hDC, a, c1, effect == 3 ? c3 : c2, TRUE);
        FillGradient(hDC, b, effect == 3 ? c3 : c2, effect == 3 ? c1 : c3, TRUE);
        break;
    case 4:
    case 6:
        a.bottom = b.top = rc.top + h / 2;
        FillGradient(hDC, a, c1, effect == 4 ? c3 : c2, FALSE);
        FillGradient(hDC, b, effect == 4 ? c3 : c2, effect == 4 ? c1 : c3, FALSE);
        break;
    default:
        if (effect >= 7 && effect <= 15)
        {
            FillTexture(hDC, effect, rc, c1, c2, c3, granularity, blendPercent);
            break;
        }
        HBRUSH brush = ::CreateSolidBrush(c1);
        ::FillRect(hDC, &rc, brush);
        ::DeleteObject(brush);
        break;
    }
}

// Division by 128 toward zero (negative values biased by 127, then shifted).
static inline int Div128(int v)
{
    return v < 0 ? (v + 127) >> 7 : v >> 7;
}
static inline int Cube(int t)
{
    return t * t * t / 16384;
}
// rand() / (32767 / n) with the divisor kept above zero for any size.
static inline int RandDiv(int n)
{
    int d = n > 0 ? 32767 / n : 32767;
    return rand() / (d > 0 ? d : 1);
}

void CEffectPainter::FillTexture(HDC hDC, int effect, const RECT& rc, COLORREF c1, COLORREF c2, COLORREF c3,
                                 int granularity, int blendPercent)
{
    int W = rc.right - rc.left, H = rc.bottom - rc.top;
    if (W <= 0 || H <= 0 || m_dib.Create(W, H, 8) == NULL)
        return;
    for (int i = 0; i <= 128; i++)
        m_dib.SetPaletteEntry(i, (BYTE)((GetRValue(c3) * (128 - i) + GetRValue(c2) * i) / 128),
                              (BYTE)((GetGValue(c3) * (128 - i) + GetGValue(c2) * i) / 128),
                              (BYTE)((GetBValue(c3) * (128 - i) + GetBValue(c2) * i) / 128));
    // Entry 128 stays c2 itself (a flat "noise" without granularity is c2).
    for (int i = 2; i <= 128; i++)
        m_dib.SetPaletteEntry(127 + i, (BYTE)((GetRValue(c2) * (128 - i) + GetRValue(c1) * i) / 128),
                              (BYTE)((GetGValue(c2) * (128 - i) + GetGValue(c1) * i) / 128),
                              (BYTE)((GetBValue(c2) * (128 - i) + GetBValue(c1) * i) / 128));
    m_dib.BlendPalette(c1, blendPercent);

    int g = granularity & 0xFF;
    int R = 255 - 2 * g;
    int L = g == 0 ? 1 : 2 * g;
    auto noise = [&]() { return RandDiv(L) - g; };
    BYTE* bits = m_dib.GetBits();
    DWORD line = m_dib.GetLineBytes();
    auto put = [&](int j, int r, int v) { bits[(size_t)r * line + j] = (BYTE)v; };

    if (effect == 15)
    {
        m_dib.Fill(0);
        int side = std::min(W, H);
        for (int s = 0; s < 200; s++)
        {
            int y = RandDiv(H), x = RandDiv(W), n = RandDiv(side), v = rand() / 819;
            for (int i = 0; i < n / 2; i++)
            {
                if (x - i > 0 && y + i < H)
                    m_dib.SetPixelIndex(x - i, y + i, (BYTE)v);
                if (x + i < W && y - i > 0)
                    m_dib.SetPixelIndex(W - x + i, y - i, (BYTE)v);
            }
        }
        int e = (R - 40) / 2;
        for (int r = 0; r < H; r++)
            for (int j = 0; j < W; j++)
                put(j, r, bits[(size_t)r * line + j] + e * r / H + e * (W - j) / W + RandDiv(L));
    }
    else
    {
        int b = std::min(W / 6, 16), q = H * H / 4;
        for (int r = 0; r < H; r++)
        {
            int hb = Cube(255 * r / H - 127);
            for (int j = 0; j < W; j++)
            {
                int v = 0;
                switch (effect)
                {
                case 7:
                    v = noise() - 128;
                    break;
                case 8:
                    v = r * (R / 2) / H + (R / 2) * (W - j) / W + g + noise();
                    break;
                case 9:
                    v = g + r * R / H + noise();
                    break;
                case 10:
                    v = g + R * (W - j) / W + noise();
                    break;
                case 11:
                    v = Div128(hb * (128 - g)) + 128 + noise();
                    break;
                case 12:
                    v = Div128(Cube(255 * (W - j) / W - 127) * (128 - g)) + 128 + noise();
                    break;
                case 13:
                    v = Div128((hb + Cube(255 * (W - j) / W - 127)) * (128 - g)) + 128;
                    if (v < g)
                        v = g;
                    if (v > 255 - g)
                        v = 255 - g;
                    v += noise();
                    break;
                case 14: {
                    v = Div128(hb * (64 - g) * 2) + 128 + noise();
                    int t = r - H / 2;
                    int d = (q > 0 && b > 0) ? b * t * t / q : 0;
                    if (b > 0 && d + W / 2 - b < j - W / 2)
                        v = g + 128 * (W - j) / b + noise();
                    else if (b > 0 && d + j - b < 0)
                        v = (255 - g) - 128 * j / b + noise();
                    break;
                }
                }
                put(j, r, v);
            }
        }
    }
    m_dib.Draw(hDC, rc.left, rc.top);
}

// ---------------------------------------------------------------------------
// Blits

void CEffectPainter::TileBlt(HDC hDest, int x, int y, int width, int height, HDC hSrc, int xSrc, int ySrc,
                             int tileWidth, int tileHeight)
{
    // A tile without area would never advance.
    if (tileWidth <= 0 || tileHeight <= 0 || width <= 0 || height <= 0)
        return;
    for (int ty = 0; ty < height; ty += tileHeight)
        for (int tx = 0; tx < width; tx += tileWidth)
            ::BitBlt(hDest, x + tx, y + ty, std::min(tileWidth, width - tx),
                     std::min(tileHeight, height - ty), hSrc, xSrc, ySrc, SRCCOPY);
}

// Copies a block of a context into a 32-bit section.
static BOOL CopyBlock(DibSection32& dib, HDC hSrc, int x, int y, int w, int h)
{
    if (!dib.Create(w, h))
        return FALSE;
    CMemoryDC mem(dib.bitmap, hSrc);
    if (mem.GetSafeHdc() == NULL)
        return FALSE;
    return ::BitBlt(mem.GetSafeHdc(), 0, 0, w, h, hSrc, x, y, SRCCOPY);
}

static BOOL PutBlock(DibSection32& dib, HDC hDest, int x, int y)
{
    CMemoryDC mem(dib.bitmap, hDest);
    if (mem.GetSafeHdc() == NULL)
        return FALSE;
    return ::BitBlt(hDest, x, y, dib.width, dib.height, mem.GetSafeHdc(), 0, 0, SRCCOPY);
}

BOOL CEffectPainter::BlendBlt(HDC hDest, int x, int y, int width, int height, HDC hSrc, int xSrc, int ySrc,
                              int percent)
{
    if (width <= 0 || height <= 0)
        return FALSE;
    if (percent >= 100)
        return ::BitBlt(hDest, x, y, width, height, hSrc, xSrc, ySrc, SRCCOPY);
    if (percent <= 0)
        return TRUE;
    DibSection32 src, dst;
    if (!CopyBlock(src, hSrc, xSrc, ySrc, width, height) || !CopyBlock(dst, hDest, x, y, width, height))
        return FALSE;
    double p = percent / 100.0;
    for (size_t i = 0, n = (size_t)width * height; i < n; i++)
        dst.bits[i] = MixColors(src.bits[i], p, dst.bits[i], 1 - p);
    return PutBlock(dst, hDest, x, y);
}

BOOL CEffectPainter::AlphaBlt(HDC hDest, int x, int y, int width, int height, HDC hSrc, int xSrc, int ySrc)
{
    if (width <= 0 || height <= 0)
        return FALSE;
    DibSection32 src, dst;
    if (!CopyBlock(src, hSrc, xSrc, ySrc, width, height) || !CopyBlock(dst, hDest, x, y, width, height))
        return FALSE;
    for (size_t i = 0, n = (size_t)width * height; i < n; i++)
    {
        double a = (src.bits[i] >> 24) / 255.0;
        dst.bits[i] = MixColors(src.bits[i], a, dst.bits[i], 1 - a);
    }
    return PutBlock(dst, hDest, x, y);
}

// ---------------------------------------------------------------------------
// Shadows

void CEffectPainter::BlurMask(const DWORD* pixels, int width, int height, int bw, int bh, double* out)
{
    if (width <= 0 || height <= 0)
        return;
    bw = std::max(1, bw);
    bh = std::max(1, bh);
    int hx = bw / 2, hy = bh / 2;
    // Running sums over rows, then over columns; pixels outside count as 255.
    std::vector<long> rows((size_t)width * height);
    for (int r = 0; r < height; r++)
    {
        const DWORD* p = pixels + (size_t)r * width;
        auto at = [&](int j) -> long { return (j < 0 || j >= width) ? 255 : (long)(p[j] & 0xFF); };
        long sum = 0;
        for (int j = -hx; j <= hx; j++)
            sum += at(j);
        for (int j = 0; j < width; j++)
        {
            rows[(size_t)r * width + j] = sum;
            sum += at(j + hx + 1) - at(j - hx);
        }
    }
    double scale = 1.0 / ((double)bw * bh * 255.0);
    for (int j = 0; j < width; j++)
    {
        auto at = [&](int r) -> long {
            return (r < 0 || r >= height) ? 255L * bw : rows[(size_t)r * width + j];
        };
        long sum = 0;
        for (int r = -hy; r <= hy; r++)
            sum += at(r);
        for (int r = 0; r < height; r++)
        {
            out[(size_t)r * width + j] = std::min(1.0, sum * scale);
            sum += at(r + hy + 1) - at(r - hy);
        }
    }
}

BOOL CEffectPainter::DrawShadow(HDC hDest, int x, int y, int width, int height, HBITMAP hMask, BOOL soft,
                                int blurWidth, int blurHeight)
{
    if (width <= 0 || height <= 0 || hMask == NULL)
        return FALSE;
    DibSection32 mask, dst;
    if (!mask.Create(width, height) || !CopyBlock(dst, hDest, x, y, width, height))
        return FALSE;
    {
        CMemoryDC mm(mask.bitmap, hDest);
        CMemoryDC src(hMask, hDest);
        if (mm.GetSafeHdc() == NULL || src.GetSafeHdc() == NULL)
            return FALSE;
        if (!soft)
            ::BitBlt(mm.GetSafeHdc(), 0, 0, width, height, src.GetSafeHdc(), 0, 0, SRCCOPY);
        else
        {
            if (blurWidth % 2 == 0)
                blurWidth++;
            if (blurHeight % 2 == 0)
                blurHeight++;
            RECT all = {0, 0, width, height};
            ::FillRect(mm.GetSafeHdc(), &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
            SIZE ms = GetBitmapSize(hMask);
            int iw = width - blurWidth, ih = height - blurHeight;
            if (iw > 0 && ih > 0)
            {
                ::SetStretchBltMode(mm.GetSafeHdc(), COLORONCOLOR);
                ::StretchBlt(mm.GetSafeHdc(), blurWidth / 2, blurHeight / 2, iw, ih, src.GetSafeHdc(), 0, 0, ms.cx, ms.cy,
                             SRCCOPY);
            }
        }
    }
    size_t n = (size_t)width * height;
    if (!soft)
    {
        for (size_t i = 0; i < n; i++)
            dst.bits[i] = DarkenColor(dst.bits[i], (mask.bits[i] & 0xFF) / 255.0);
    }
    else
    {
        std::vector<double> f(n);
        BlurMask(mask.bits, width, height, blurWidth, blurHeight, f.data());
        for (size_t i = 0; i < n; i++)
            dst.bits[i] = DarkenColor(dst.bits[i], f[i]);
    }
    return PutBlock(dst, hDest, x, y);
}

// ---------------------------------------------------------------------------
// Lines

static int PenStyle(int type)
{
    switch (type)
    {
    case 2:
        return PS_DASH;
    case 3:
        return PS_DOT;
    case 4:
        return PS_DASHDOT;
    case 5:
        return PS_DASHDOTDOT;
    default:
        return PS_SOLID;
    }
}

static void FrameOnce(HDC hDC, int left, int top, int right, int bottom, COLORREF c1, COLORREF c2, int type,
                      int width)
{
    int h = width / 2;
    left += h;
    top += h;
    right -= width - h;
    bottom -= width - h;
    HPEN pen1 = ::CreatePen(PenStyle(type), width, c1);
    HGDIOBJ old = ::SelectObject(hDC, pen1);
    ::MoveToEx(hDC, left, bottom, NULL);
    ::LineTo(hDC, left, top);
    ::LineTo(hDC, right, top);
    HPEN pen2 = NULL;
    if (c2 != c1)
    {
        pen2 = ::CreatePen(PenStyle(type), width, c2);
        ::SelectObject(hDC, pen2);
    }
    ::LineTo(hDC, right, bottom);
    ::LineTo(hDC, left, bottom);
    ::SelectObject(hDC, old);
    ::DeleteObject(pen1);
    if (pen2)
        ::DeleteObject(pen2);
}

void CEffectPainter::DrawFrame(HDC hDC, int left, int top, int right, int bottom, COLORREF c1, COLORREF c2,
                               int type, int width)
{
    if (type <= 0 || type > 6 || width <= 0)
        return;
    FrameOnce(hDC, left, top, right, bottom, c1, c2, type, width);
    if (type == 6)
    {
        int d = 2 * width;
        if (right - left > 2 * d && bottom - top > 2 * d)
            FrameOnce(hDC, left + d, top + d, right - d, bottom - d, c1, c2, type, width);
    }
}

void CEffectPainter::DrawLine(HDC hDC, int x1, int y1, int x2, int y2, COLORREF color, int type, int width)
{
    if (type <= 0 || type > 6 || width <= 0)
        return;
    HPEN pen = ::CreatePen(PenStyle(type), width, color);
    HGDIOBJ old = ::SelectObject(hDC, pen);
    ::MoveToEx(hDC, x1, y1, NULL);
    ::LineTo(hDC, x2, y2);
    if (type == 6)
    {
        int dx = (y1 == y2) ? 0 : 2 * width, dy = (x1 == x2) ? 0 : 2 * width;
        ::MoveToEx(hDC, x1 + dx, y1 + dy, NULL);
        ::LineTo(hDC, x2 + dx, y2 + dy);
    }
    ::SelectObject(hDC, old);
    ::DeleteObject(pen);
}

// ---------------------------------------------------------------------------
// Images

HBITMAP CEffectPainter::ApplyImageEffects(HBITMAP hBitmap, int width, int height, UINT flags,
                                          BOOL useTransparent, COLORREF transparent, COLORREF fill)
{
    if (hBitmap == NULL)
        return NULL;
    DibSection32 dib;
    if (!dib.Create(width, height))
        return NULL;
    {
        CMemoryDC dst(dib.bitmap);
        CMemoryDC src(hBitmap);
        if (dst.GetSafeHdc() == NULL || src.GetSafeHdc() == NULL)
            return NULL;
        ::BitBlt(dst.GetSafeHdc(), 0, 0, width, height, src.GetSafeHdc(), 0, 0, SRCCOPY);
    }
    ::GdiFlush();
    DWORD tr = SwapRB(transparent), fl = SwapRB(fill);
    for (size_t i = 0, n = (size_t)width * height; i < n; i++)
    {
        DWORD d = dib.bits[i];
        if (d & 0xFF000000)
            m_hasAlpha = TRUE;
        DWORD e;
        if (useTransparent && (d & 0x00FFFFFF) == tr)
            e = 0;
        else
        {
            e = (flags & EFFECT_GREY) ? GreyColor(d) : d;
            if (flags & EFFECT_DARKER)
                e = DarkenColor(e, 0.75);
            if (flags & EFFECT_LIGHTER)
                e = LightenColor(e, 0.25);
            if (flags & EFFECT_ONECOLOR)
                e = fl;
        }
        if (flags & EFFECT_INVERT)
            e = InvertColor(e);
        dib.bits[i] = (d & 0xFF000000) | (e & 0x00FFFFFF);
    }
    return dib.Release();
}

void CEffectPainter::DrawImage(HDC hDC, int x, int y, int width, int height, HBITMAP hBitmap,
                               BOOL useTransparent, COLORREF transparent, UINT flags, BOOL shadow,
                               int shadowX, int shadowY, int blurWidth, int blurHeight, COLORREF color)
{
    if (hDC == NULL || hBitmap == NULL || width <= 0 || height <= 0)
        return;
    m_hasAlpha = FALSE;
    SIZE bs = GetBitmapSize(hBitmap);
    if (bs.cx <= 0 || bs.cy <= 0)
        return;
    // The bitmap at the drawn size.
    DibSection32 sized;
    if (!sized.Create(width, height))
        return;
    {
        CMemoryDC dst(sized.bitmap, hDC);
        CMemoryDC src(hBitmap, hDC);
        if (dst.GetSafeHdc() == NULL || src.GetSafeHdc() == NULL)
            return;
        if (bs.cx == width && bs.cy == height)
            ::BitBlt(dst.GetSafeHdc(), 0, 0, width, height, src.GetSafeHdc(), 0, 0, SRCCOPY);
        else
        {
            ::SetStretchBltMode(dst.GetSafeHdc(), COLORONCOLOR);
            ::StretchBlt(dst.GetSafeHdc(), 0, 0, width, height, src.GetSafeHdc(), 0, 0, bs.cx, bs.cy, SRCCOPY);
        }
    }
    HBITMAP mask = ApplyImageEffects(sized.bitmap, width, height, EFFECT_INVERT | EFFECT_ONECOLOR,
                                     useTransparent, transparent, RGB(255, 255, 255));
    HBITMAP picture =
        ApplyImageEffects(sized.bitmap, width, height, flags, useTransparent, transparent, ClampColor(color));
    if (mask != NULL && picture != NULL)
    {
        if (shadow)
        {
            int sx = x + shadowX, sy = y + shadowY;
            if (flags & (EFFECT_SHADOW | EFFECT_SOFTSHADOW))
            {
                HBITMAP sm = ApplyImageEffects(sized.bitmap, width, height, EFFECT_INVERT | EFFECT_ONECOLOR,
                                               useTransparent, transparent, ~ClampColor(color) & 0xFFFFFF);
                if (sm != NULL)
                {
                    DrawShadow(hDC, sx, sy, width, height, sm, (flags & EFFECT_SOFTSHADOW) != 0, blurWidth,
                               blurHeight);
                    ::DeleteObject(sm);
                }
            }
            else
            {
                CMemoryDC m(mask, hDC), p(picture, hDC);
                ::BitBlt(hDC, sx, sy, width, height, m.GetSafeHdc(), 0, 0, SRCAND);
                ::BitBlt(hDC, sx, sy, width, height, p.GetSafeHdc(), 0, 0, SRCPAINT);
            }
        }
        CMemoryDC p(picture, hDC);
        if (m_hasAlpha)
            AlphaBlt(hDC, x, y, width, height, p.GetSafeHdc(), 0, 0);
        else
        {
            CMemoryDC m(mask, hDC);
            ::BitBlt(hDC, x, y, width, height, m.GetSafeHdc(), 0, 0, SRCAND);
            ::BitBlt(hDC, x, y, width, height, p.GetSafeHdc(), 0, 0, SRCPAINT);
        }
    }
    if (mask)
        ::DeleteObject(mask);
    if (picture)
        ::DeleteObject(picture);
}

HICON CEffectPainter::StretchIcon(HICON hIcon, int width, int height)
{
    if (hIcon == NULL || width <= 0 || height <= 0)
        return NULL;
    return (HICON)::CopyImage(hIcon, IMAGE_ICON, width, height, 0);
}

void CEffectPainter::DrawIcon(HDC hDC, int x, int y, int width, int height, HICON hIcon, UINT flags,
                              BOOL shadow, int shadowX, int shadowY, int blurWidth, int blurHeight,
                              COLORREF color)
{
    if (hDC == NULL || hIcon == NULL || width <= 0 || height <= 0)
        return;
    m_hasAlpha = FALSE;
    SIZE is = GetIconSize(hIcon);
    HICON icon = (is.cx == width && is.cy == height) ? ::CopyIcon(hIcon) : StretchIcon(hIcon, width, height);
    if (icon == NULL)
        return;
    ICONINFO ii;
    if (!::GetIconInfo(icon, &ii))
    {
        ::DestroyIcon(icon);
        return;
    }
    HBITMAP picture = NULL;
    if ((flags & EFFECT_ONECOLOR) || ii.hbmColor == NULL)
        picture =
            ApplyImageEffects(ii.hbmMask, width, height, flags, TRUE, RGB(255, 255, 255), ClampColor(color));
    else
        picture = ApplyImageEffects(ii.hbmColor, width, height, flags, TRUE, RGB(0, 0, 0), ClampColor(color));
    if (picture != NULL)
    {
        BOOL alpha = m_hasAlpha;
        if (shadow)
        {
            int sx = x + shadowX, sy = y + shadowY;
            HBITMAP sm = ApplyImageEffects(ii.hbmMask, width, height, EFFECT_INVERT | EFFECT_ONECOLOR, TRUE,
                                           RGB(255, 255, 255), ~ClampColor(color) & 0xFFFFFF);
            if (sm != NULL)
            {
                // The mask of an icon is black where the icon is: invert it to
                // get the silhouette in the colour's complement on white.
                if (flags & (EFFECT_SHADOW | EFFECT_SOFTSHADOW))
                    DrawShadow(hDC, sx, sy, width, height, sm, (flags & EFFECT_SOFTSHADOW) != 0, blurWidth,
                               blurHeight);
                else
                    ::DrawIconEx(hDC, sx, sy, icon, width, height, 0, NULL, DI_NORMAL);
                ::DeleteObject(sm);
            }
        }
        CMemoryDC p(picture, hDC);
        if (alpha)
            AlphaBlt(hDC, x, y, width, height, p.GetSafeHdc(), 0, 0);
        else
        {
            CMemoryDC m(ii.hbmMask, hDC);
            COLORREF oldText = ::SetTextColor(hDC, RGB(0, 0, 0));
            COLORREF oldBk = ::SetBkColor(hDC, RGB(255, 255, 255));
            ::BitBlt(hDC, x, y, width, height, m.GetSafeHdc(), 0, 0, SRCAND);
            ::BitBlt(hDC, x, y, width, height, p.GetSafeHdc(), 0, 0, SRCPAINT);
            ::SetTextColor(hDC, oldText);
            ::SetBkColor(hDC, oldBk);
        }
        ::DeleteObject(picture);
    }
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    ::DestroyIcon(icon);
}

void CEffectPainter::DrawImageListItem(HDC hDC, int x, int y, int width, int height, HBITMAP hBitmap,
                                       int index, int cellWidth, int cellHeight, BOOL useTransparent,
                                       COLORREF transparent, UINT flags, BOOL shadow, int shadowX,
                                       int shadowY, int blurWidth, int blurHeight, COLORREF color)
{
    if (hBitmap == NULL || cellWidth <= 0 || cellHeight <= 0 || index < 0)
        return;
    SIZE bs = GetBitmapSize(hBitmap);
    int u = bs.cx / cellWidth, rows = bs.cy / cellHeight;
    if (u <= 0 || rows <= 0 || index >= u * rows)
        return;
    DibSection32 cell;
    if (!cell.Create(cellWidth, cellHeight))
        return;
    {
        CMemoryDC dst(cell.bitmap, hDC), src(hBitmap, hDC);
        if (dst.GetSafeHdc() == NULL || src.GetSafeHdc() == NULL)
            return;
        ::BitBlt(dst.GetSafeHdc(), 0, 0, cellWidth, cellHeight, src.GetSafeHdc(), (index % u) * cellWidth,
                 (index / u) * cellHeight, SRCCOPY);
    }
    DrawImage(hDC, x, y, width, height, cell.bitmap, useTransparent, transparent, flags, shadow, shadowX,
              shadowY, blurWidth, blurHeight, color);
}

std::wstring LoadResourceString(UINT id)
{
    if (id == 0)
        return std::wstring();
    const wchar_t* p = NULL;
    int n = ::LoadStringW(::GetModuleHandleW(NULL), id, (LPWSTR)&p, 0);
    if (n <= 0 || p == NULL)
        return std::wstring();
    return std::wstring(p, (size_t)n);
}
