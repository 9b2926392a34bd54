#include "SFDibHelpers.h"
#include <vector>

HPALETTE CreateDibPalette(const BITMAPINFOHEADER* header)
{
    if (header == NULL || header->biBitCount > 8)
        return NULL;
    DWORD colors = header->biClrUsed ? header->biClrUsed : (1u << header->biBitCount);
    if (colors > 256)
        colors = 256;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + colors * sizeof(PALETTEENTRY));
    LOGPALETTE* pal = (LOGPALETTE*)block.data();
    pal->palVersion = 0x300;
    pal->palNumEntries = (WORD)colors;
    const RGBQUAD* table = (const RGBQUAD*)((const BYTE*)header + header->biSize);
    for (DWORD i = 0; i < colors; i++)
    {
        pal->palPalEntry[i].peRed = table[i].rgbRed;
        pal->palPalEntry[i].peGreen = table[i].rgbGreen;
        pal->palPalEntry[i].peBlue = table[i].rgbBlue;
        pal->palPalEntry[i].peFlags = 0;
    }
    return ::CreatePalette(pal);
}

DWORD DibHeaderSize(const BITMAPINFOHEADER* header)
{
    DWORD colors = header->biClrUsed;
    if (colors == 0 && header->biBitCount <= 8)
        colors = 1u << header->biBitCount;
    if (header->biCompression == BI_BITFIELDS && header->biSize == sizeof(BITMAPINFOHEADER))
        colors = 3;
    return header->biSize + colors * sizeof(RGBQUAD);
}

HBITMAP CreateDdbFromDib(const BITMAPINFO* info, HPALETTE palette)
{
    if (info == NULL)
        return NULL;
    HDC screen = ::GetDC(NULL);
    if (screen == NULL)
        return NULL;
    HPALETTE oldPalette = NULL;
    if (palette)
    {
        oldPalette = ::SelectPalette(screen, palette, FALSE);
        ::RealizePalette(screen);
    }
    const BYTE* bits = (const BYTE*)info + DibHeaderSize(&info->bmiHeader);
    HBITMAP bitmap = ::CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS);
    if (oldPalette)
        ::SelectPalette(screen, oldPalette, FALSE);
    ::ReleaseDC(NULL, screen);
    return bitmap;
}

static HBITMAP Create32(HDC dc, int width, int height, void** bits)
{
    if (width <= 0 || height == 0)
        return NULL;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* p = NULL;
    HBITMAP bitmap = ::CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &p, NULL, 0);
    if (bits)
        *bits = bitmap ? p : NULL;
    return bitmap;
}

HBITMAP Create32BitDib(HDC dc, int width, int height, void** bits) { return Create32(dc, width, height, bits); }

HBITMAP Create32BitDibTopDown(int width, int height, void** bits) { return Create32(NULL, width, -height, bits); }

BOOL SameBitmapFormat(const BITMAP& a, const BITMAP& b)
{
    return a.bmBitsPixel == b.bmBitsPixel && a.bmPlanes == b.bmPlanes && a.bmWidth == b.bmWidth &&
           a.bmHeight == b.bmHeight;
}

BOOL ReadIconSize(HICON icon, int* width, int* height)
{
    ICONINFO info = {};
    if (icon == NULL || !::GetIconInfo(icon, &info))
        return FALSE;
    BITMAP mask = {};
    BOOL ok = info.hbmMask && ::GetObjectW(info.hbmMask, sizeof(mask), &mask);
    if (ok)
    {
        *width = mask.bmWidth;
        // A monochrome icon keeps its image below the mask in one bitmap.
        *height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    }
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return ok;
}

void GetIconSize(HICON icon, int* width, int* height)
{
    if (!ReadIconSize(icon, width, height))
        *width = *height = 32;
}
