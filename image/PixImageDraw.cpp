// CPixImage and Windows GDI: images from GDI bitmaps, and drawing into a
// device context with scaling, transparency and alpha.
#include "PixImage.h"
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

bool CPixImage::Draw(HDC hdc, long x, long y, long cx, long cy, RECT* pClipRect, bool bSmooth)
{
    if (!pDib || !hdc || cx == 0 || cy == 0 || !info.bEnabled)
        return false;
    if (cx < 0)
        cx = head.biWidth;
    if (cy < 0)
        cy = head.biHeight;

    int saved = SaveDC(hdc);
    if (!saved)
        return false;
    if (pClipRect)
        IntersectClipRect(hdc, pClipRect->left, pClipRect->top, pClipRect->right, pClipRect->bottom);

    RECT clipbox;
    GetClipBox(hdc, &clipbox);
    long left = clipbox.right < (x > clipbox.left ? x : clipbox.left) ? clipbox.right : (x > clipbox.left ? x : clipbox.left);
    long top = clipbox.bottom < (y > clipbox.top ? y : clipbox.top) ? clipbox.bottom : (y > clipbox.top ? y : clipbox.top);
    long r0 = x + cx < clipbox.right ? x + cx : clipbox.right;
    long right = clipbox.left > r0 ? clipbox.left : r0;
    long b0 = y + cy < clipbox.bottom ? y + cy : clipbox.bottom;
    long bottom = clipbox.top > b0 ? clipbox.top : b0;
    long paintW = right - left;
    long paintH = bottom - top;
    if (paintW <= 0 || paintH <= 0)
    {
        RestoreDC(hdc, saved);
        return true;
    }

    bool scaled = cx != head.biWidth || cy != head.biHeight;
    float fx = (float)head.biWidth / (float)cx;
    float fy = (float)head.biHeight / (float)cy;
    bool blend = info.nBkgndIndex >= 0 || pAlpha || info.bAlphaPaletteEnabled;
    memcpy(pDib, &head, sizeof(BITMAPINFOHEADER));

    if (!blend && !scaled)
    {
        SetStretchBltMode(hdc, COLORONCOLOR);
        SetDIBitsToDevice(hdc, x, y, cx, cy, 0, 0, 0, cy, info.pImage, (BITMAPINFO*)pDib, DIB_RGB_COLORS);
        RestoreDC(hdc, saved);
        return true;
    }

    // A 24-bit section of the painted area, rows bottom-up.
    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = paintW;
    bmi.bmiHeader.biHeight = paintH;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    long effw = ((paintW * 24 + 31) / 32) * 4;
    bmi.bmiHeader.biSizeImage = effw * paintH;
    BYTE* bits = nullptr;
    HDC memdc = CreateCompatibleDC(hdc);
    HBITMAP section = CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
    if (!memdc || !section || !bits)
    {
        if (section)
            DeleteObject(section);
        if (memdc)
            DeleteDC(memdc);
        RestoreDC(hdc, saved);
        return false;
    }
    HGDIOBJ oldbmp = SelectObject(memdc, section);
    if (blend)
        BitBlt(memdc, 0, 0, paintW, paintH, hdc, left, top, SRCCOPY);
    GdiFlush();

    bool indexed = head.biClrUsed != 0;
    RGBQUAD transColor = GetTransColor();
    long maxRow = head.biHeight - 1, maxCol = head.biWidth - 1;
    for (long k = 0; k < paintH; k++)
    {
        BYTE* dst = bits + k * effw;
        long Y = bottom - 1 - k;
        float syf;
        long sy;
        if (scaled)
        {
            syf = head.biHeight - (bottom - y - k) * fy;
            sy = (long)floorf(syf);
        }
        else
        {
            sy = head.biHeight - 1 - (Y - y);
            syf = (float)sy;
        }
        if (sy < 0)
            sy = 0;
        if (sy > maxRow)
            sy = maxRow;
        for (long X = left; X < right; X++, dst += 3)
        {
            float sxf;
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
            if (sx < 0)
                sx = 0;
            if (sx > maxCol)
                sx = maxCol;

            RGBQUAD c;
            BYTE idx = 0;
            if (indexed)
                idx = GetPixelIndexRaw(sx, sy);
            if (bSmooth && scaled)
            {
                if (fx > 1 && fy > 1)
                    c = GetAreaColorInterpolated(sxf - 0.5f, syf - 0.5f, fx, fy, IM_BILINEAR, OM_REPEAT);
                else
                    c = GetPixelColorInterpolated(sxf - 0.5f, syf - 0.5f, IM_BILINEAR, OM_REPEAT);
            }
            else if (indexed)
            {
                c = GetPaletteColor(idx);
            }
            else
            {
                const BYTE* p = info.pImage + sy * info.dwEffWidth + sx * 3;
                c.rgbBlue = p[0];
                c.rgbGreen = p[1];
                c.rgbRed = p[2];
                c.rgbReserved = 0;
            }
            if (!blend)
            {
                dst[0] = c.rgbBlue;
                dst[1] = c.rgbGreen;
                dst[2] = c.rgbRed;
                continue;
            }
            long a = pAlpha ? pAlpha[sy * head.biWidth + sx] : 255;
            a = (a * (info.nAlphaMax + 1)) >> 8;
            if (indexed && info.bAlphaPaletteEnabled)
                a = (a * (GetPaletteColor(idx).rgbReserved + 1)) >> 8;
            bool transparent = false;
            if (info.nBkgndIndex >= 0)
            {
                if (indexed)
                    transparent = idx == (BYTE)info.nBkgndIndex;
                else
                    transparent = c.rgbBlue == transColor.rgbBlue && c.rgbGreen == transColor.rgbGreen &&
                                  c.rgbRed == transColor.rgbRed;
            }
            if (transparent || a == 0)
                continue;
            if (a == 255)
            {
                dst[0] = c.rgbBlue;
                dst[1] = c.rgbGreen;
                dst[2] = c.rgbRed;
            }
            else
            {
                long na = 255 - a;
                dst[0] = (BYTE)((c.rgbBlue * a + dst[0] * na) >> 8);
                dst[1] = (BYTE)((c.rgbGreen * a + dst[1] * na) >> 8);
                dst[2] = (BYTE)((c.rgbRed * a + dst[2] * na) >> 8);
            }
        }
    }
    SetDIBitsToDevice(hdc, left, top, paintW, paintH, 0, 0, 0, paintH, bits, &bmi, DIB_RGB_COLORS);
    SelectObject(memdc, oldbmp);
    DeleteObject(section);
    DeleteDC(memdc);
    RestoreDC(hdc, saved);
    return true;
}
