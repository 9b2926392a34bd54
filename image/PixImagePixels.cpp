// Pixels, palette, alpha plane and selection mask of CPixImage.
#include "PixImage.h"
#include <stdlib.h>
#include <string.h>
#include <emmintrin.h>

//////////////////////////////////////////////////////////////////////////////
// Palette

RGBQUAD* CPixImage::GetPalette() const
{
    if (pDib && head.biClrUsed)
        return (RGBQUAD*)((BYTE*)pDib + sizeof(BITMAPINFOHEADER));
    return nullptr;
}

RGBQUAD CPixImage::GetPaletteColor(BYTE idx)
{
    RGBQUAD rgb = {0, 0, 0, 0};
    if (pDib && head.biClrUsed && idx < head.biClrUsed)
        rgb = GetPalette()[idx];
    return rgb;
}

bool CPixImage::GetPaletteColor(BYTE i, BYTE* r, BYTE* g, BYTE* b)
{
    RGBQUAD* ppal = GetPalette();
    if (!ppal || i >= head.biClrUsed)
        return false;
    *r = ppal[i].rgbRed;
    *g = ppal[i].rgbGreen;
    *b = ppal[i].rgbBlue;
    return true;
}

void CPixImage::SetPaletteColor(BYTE idx, BYTE r, BYTE g, BYTE b, BYTE alpha)
{
    if (pDib && head.biClrUsed && idx < head.biClrUsed)
    {
        RGBQUAD* p = GetPalette() + idx;
        p->rgbBlue = b;
        p->rgbGreen = g;
        p->rgbRed = r;
        p->rgbReserved = alpha;
        info.last_c_isvalid = false;
    }
}

void CPixImage::SetPaletteColor(BYTE idx, RGBQUAD c)
{
    if (pDib && head.biClrUsed && idx < head.biClrUsed)
    {
        GetPalette()[idx] = c;
        info.last_c_isvalid = false;
    }
}

void CPixImage::SetPalette(const RGBQUAD* pPal, DWORD nColors)
{
    if (!pPal || !pDib || head.biClrUsed == 0)
        return;
    memcpy(GetPalette(), pPal, (nColors < head.biClrUsed ? nColors : head.biClrUsed) * sizeof(RGBQUAD));
    info.last_c_isvalid = false;
}

void CPixImage::SetPalette(const RGBTRIPLE* rgb, DWORD nColors)
{
    if (!rgb || !pDib || head.biClrUsed == 0)
        return;
    RGBQUAD* ppal = GetPalette();
    DWORD m = nColors < head.biClrUsed ? nColors : head.biClrUsed;
    // The triples come in the order red, green, blue.
    const BYTE* p = (const BYTE*)rgb;
    for (DWORD i = 0; i < m; i++, p += 3)
    {
        ppal[i].rgbRed = p[0];
        ppal[i].rgbGreen = p[1];
        ppal[i].rgbBlue = p[2];
    }
    info.last_c_isvalid = false;
}

void CPixImage::SetPalette(DWORD n, const BYTE* r, const BYTE* g, const BYTE* b)
{
    if (!r || !pDib || head.biClrUsed == 0)
        return;
    if (!g)
        g = r;
    if (!b)
        b = g;
    RGBQUAD* ppal = GetPalette();
    DWORD m = n < head.biClrUsed ? n : head.biClrUsed;
    for (DWORD i = 0; i < m; i++)
    {
        ppal[i].rgbRed = r[i];
        ppal[i].rgbGreen = g[i];
        ppal[i].rgbBlue = b[i];
    }
    info.last_c_isvalid = false;
}

void CPixImage::SetGrayPalette()
{
    if (!pDib || head.biClrUsed == 0)
        return;
    RGBQUAD* pal = GetPalette();
    for (DWORD ni = 0; ni < head.biClrUsed; ni++)
        pal[ni].rgbBlue = pal[ni].rgbGreen = pal[ni].rgbRed = (BYTE)(ni * (255 / (head.biClrUsed - 1)));
    info.last_c_isvalid = false;
}

bool CPixImage::IsGrayScale()
{
    RGBQUAD* ppal = GetPalette();
    if (!(pDib && ppal && head.biClrUsed))
        return false;
    for (DWORD i = 0; i < head.biClrUsed; i++)
    {
        if (ppal[i].rgbBlue != i || ppal[i].rgbGreen != i || ppal[i].rgbRed != i)
            return false;
    }
    return true;
}

BYTE CPixImage::GetNearestIndex(RGBQUAD c)
{
    if (!pDib || head.biClrUsed == 0)
        return 0;
    if (info.last_c_isvalid && *(DWORD*)&info.last_c == *(DWORD*)&c)
        return info.last_c_index;
    info.last_c = c;
    info.last_c_isvalid = true;

    int m = (int)(head.biClrImportant == 0 ? head.biClrUsed : head.biClrImportant);
    if (m > (int)head.biClrUsed)
        m = (int)head.biClrUsed;
    // Squared distances of green, blue and red to every entry; the first entry
    // with the smallest one wins (an exact match is the smallest there is, and no
    // distance reaches the starting best of 200000).
    const BYTE* iDst = (const BYTE*)GetPalette();
    int dist[256];
    int i = 0;
    const __m128i zero = _mm_setzero_si128();
    const __m128i col = _mm_set_epi16(0, c.rgbRed, c.rgbGreen, c.rgbBlue, 0, c.rgbRed, c.rgbGreen, c.rgbBlue);
    for (; i + 4 <= m; i += 4)
    {
        __m128i e = _mm_loadu_si128((const __m128i*)(iDst + i * 4));
        __m128i lo = _mm_sub_epi16(_mm_and_si128(_mm_unpacklo_epi8(e, zero), _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1)), col);
        __m128i hi = _mm_sub_epi16(_mm_and_si128(_mm_unpackhi_epi8(e, zero), _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1)), col);
        __m128i plo = _mm_madd_epi16(lo, lo); // entry i: (b + g, r), entry i + 1: (b + g, r)
        __m128i phi = _mm_madd_epi16(hi, hi);
        int a[4], b[4];
        _mm_storeu_si128((__m128i*)a, plo);
        _mm_storeu_si128((__m128i*)b, phi);
        dist[i] = a[0] + a[1];
        dist[i + 1] = a[2] + a[3];
        dist[i + 2] = b[0] + b[1];
        dist[i + 3] = b[2] + b[3];
    }
    for (; i < m; i++)
    {
        int db = iDst[i * 4] - c.rgbBlue;
        int dg = iDst[i * 4 + 1] - c.rgbGreen;
        int dr = iDst[i * 4 + 2] - c.rgbRed;
        dist[i] = dg * dg + db * db + dr * dr;
    }
    long distance = 200000;
    int j = 0;
    for (i = 0; i < m; i++)
    {
        if (dist[i] < distance)
        {
            distance = dist[i];
            j = i;
            if (distance == 0)
                break;
        }
    }
    info.last_c_index = (BYTE)j;
    return (BYTE)j;
}

void CPixImage::SwapIndex(BYTE idx1, BYTE idx2)
{
    RGBQUAD* ppal = GetPalette();
    if (!(pDib && ppal))
        return;
    RGBQUAD t = GetPaletteColor(idx1);
    SetPaletteColor(idx1, GetPaletteColor(idx2));
    SetPaletteColor(idx2, t);
    for (long y = 0; y < head.biHeight; y++)
    {
        for (long x = 0; x < head.biWidth; x++)
        {
            BYTE idx = GetPixelIndexRaw(x, y);
            if (idx == idx1)
                SetPixelIndexRaw(x, y, idx2);
            else if (idx == idx2)
                SetPixelIndexRaw(x, y, idx1);
        }
    }
    info.last_c_isvalid = false;
}

void CPixImage::SetClrImportant(DWORD ncolors)
{
    if (ncolors == 0 || ncolors > 256)
    {
        head.biClrImportant = 0;
        return;
    }
    switch (head.biBitCount)
    {
    case 1: head.biClrImportant = ncolors < 2 ? ncolors : 2; break;
    case 4: head.biClrImportant = ncolors < 16 ? ncolors : 16; break;
    case 8: head.biClrImportant = ncolors; break;
    default: break;
    }
}

bool CPixImage::AlphaPaletteIsValid()
{
    RGBQUAD* ppal = GetPalette();
    if (!ppal)
        return false;
    for (DWORD i = 0; i < head.biClrUsed; i++)
    {
        if (ppal[i].rgbReserved != 0)
            return true;
    }
    return false;
}

//////////////////////////////////////////////////////////////////////////////
// Pixels

BYTE CPixImage::GetPixelIndex(long x, long y)
{
    if (!pDib || head.biClrUsed == 0)
        return 0;
    if (x < 0 || y < 0 || x >= head.biWidth || y >= head.biHeight)
    {
        if (info.nBkgndIndex >= 0)
            return (BYTE)info.nBkgndIndex;
        return *info.pImage;
    }
    return GetPixelIndexRaw(x, y);
}

BYTE CPixImage::GetPixelIndexRaw(long x, long y) const
{
    const BYTE* row = info.pImage + y * info.dwEffWidth;
    switch (head.biBitCount)
    {
    case 8: return row[x];
    case 4: {
        BYTE pos = (BYTE)(4 * (1 - x % 2));
        return (BYTE)((row[x >> 1] & (0x0F << pos)) >> pos);
    }
    case 1: {
        BYTE pos = (BYTE)(7 - x % 8);
        return (BYTE)((row[x >> 3] & (1 << pos)) >> pos);
    }
    default: return 0;
    }
}

void CPixImage::SetPixelIndexInRow(BYTE* row, long x, BYTE i) const
{
    switch (head.biBitCount)
    {
    case 8: row[x] = i; break;
    case 4: {
        BYTE* p = row + (x >> 1);
        BYTE pos = (BYTE)(4 * (1 - x % 2));
        *p = (BYTE)((*p & ~(0x0F << pos)) | ((i & 0x0F) << pos));
        break;
    }
    case 1: {
        BYTE* p = row + (x >> 3);
        BYTE pos = (BYTE)(7 - x % 8);
        *p = (BYTE)((*p & ~(1 << pos)) | ((i & 1) << pos));
        break;
    }
    default: break;
    }
}

void CPixImage::SetPixelIndex(long x, long y, BYTE i)
{
    if (!pDib || head.biClrUsed == 0 || x < 0 || y < 0 || x >= head.biWidth || y >= head.biHeight)
        return;
    SetPixelIndexRaw(x, y, i);
}

void CPixImage::SetPixelIndexRaw(long x, long y, BYTE i)
{
    SetPixelIndexInRow(info.pImage + y * info.dwEffWidth, x, i);
}

RGBQUAD CPixImage::GetPixelColor(long x, long y, bool bGetAlpha)
{
    RGBQUAD rgb = info.nBkgndColor;
    if (!pDib || x < 0 || y < 0 || x >= head.biWidth || y >= head.biHeight)
    {
        if (info.nBkgndIndex >= 0)
        {
            if (head.biBitCount < 24)
                return GetPaletteColor((BYTE)info.nBkgndIndex);
            return info.nBkgndColor;
        }
        if (pDib)
            return GetPixelColor(0, 0, bGetAlpha);
        return rgb;
    }
    if (head.biClrUsed)
    {
        rgb = GetPaletteColor(GetPixelIndexRaw(x, y));
    }
    else
    {
        const BYTE* p = info.pImage + y * info.dwEffWidth + x * 3;
        rgb.rgbBlue = p[0];
        rgb.rgbGreen = p[1];
        rgb.rgbRed = p[2];
    }
    if (pAlpha && bGetAlpha)
        rgb.rgbReserved = AlphaGetRaw(x, y);
    return rgb;
}

RGBQUAD CPixImage::GetPixelColorRaw(long x, long y, bool bGetAlpha)
{
    RGBQUAD rgb;
    if (head.biClrUsed)
    {
        rgb = GetPaletteColor(GetPixelIndexRaw(x, y));
    }
    else
    {
        const BYTE* p = info.pImage + y * info.dwEffWidth + x * 3;
        rgb.rgbBlue = p[0];
        rgb.rgbGreen = p[1];
        rgb.rgbRed = p[2];
        rgb.rgbReserved = 0;
    }
    if (pAlpha && bGetAlpha)
        rgb.rgbReserved = AlphaGetRaw(x, y);
    return rgb;
}

void CPixImage::SetPixelColor(long x, long y, RGBQUAD c, bool bSetAlpha)
{
    if (!pDib || x < 0 || y < 0 || x >= head.biWidth || y >= head.biHeight)
        return;
    SetPixelColorRaw(x, y, c, bSetAlpha);
}

void CPixImage::SetPixelColorRaw(long x, long y, RGBQUAD c, bool bSetAlpha)
{
    if (head.biClrUsed)
    {
        SetPixelIndexRaw(x, y, GetNearestIndex(c));
    }
    else
    {
        BYTE* p = info.pImage + y * info.dwEffWidth + x * 3;
        p[0] = c.rgbBlue;
        p[1] = c.rgbGreen;
        p[2] = c.rgbRed;
    }
    if (bSetAlpha)
        AlphaSet(x, y, c.rgbReserved);
}

BYTE* CPixImage::GetPixelPointer(long x, long y)
{
    if (head.biClrUsed || !pDib)
        return nullptr;
    return info.pImage + y * info.dwEffWidth + x * 3;
}

void CPixImage::SwapRedBlue(BYTE* buffer, long length)
{
    if (head.biClrUsed || !buffer)
        return;
    long limit = (long)info.dwEffWidth < head.biWidth * 3 ? (long)info.dwEffWidth : head.biWidth * 3;
    if (length > limit)
        length = limit;
    for (long i = 0; i < length; i += 3)
    {
        BYTE t = buffer[i];
        buffer[i] = buffer[i + 2];
        buffer[i + 2] = t;
    }
}

//////////////////////////////////////////////////////////////////////////////
// Alpha plane

bool CPixImage::AlphaCreate()
{
    if (!pAlpha && pDib)
    {
        pAlpha = (BYTE*)malloc(head.biWidth * head.biHeight);
        if (pAlpha)
            memset(pAlpha, 255, head.biWidth * head.biHeight);
    }
    return pAlpha != nullptr;
}

void CPixImage::AlphaDelete()
{
    free(pAlpha);
    pAlpha = nullptr;
}

void CPixImage::AlphaFill(BYTE level)
{
    if (pAlpha)
        memset(pAlpha, level, head.biWidth * head.biHeight);
}

void CPixImage::AlphaInvert()
{
    if (!pAlpha)
        return;
    BYTE* p = pAlpha;
    for (long n = head.biWidth * head.biHeight; n > 0; n--, p++)
        *p = (BYTE)~(*p);
}

void CPixImage::AlphaSet(long x, long y, BYTE level)
{
    if (pAlpha && IsInside(x, y))
        pAlpha[x + y * head.biWidth] = level;
}

BYTE CPixImage::AlphaGet(long x, long y)
{
    if (pAlpha && IsInside(x, y))
        return pAlpha[x + y * head.biWidth];
    return 0;
}

BYTE* CPixImage::AlphaGetPointer(long x, long y)
{
    if (pAlpha && IsInside(x, y))
        return pAlpha + x + y * head.biWidth;
    return nullptr;
}

// Copies a width x height plane (alpha or selection) of an image of the same size.
static bool CopyPlane(BYTE*& plane, const BYTE* from, long width, long height, long fromWidth, long fromHeight)
{
    if (!from || width != fromWidth || height != fromHeight)
        return false;
    if (!plane)
    {
        plane = (BYTE*)malloc(width * height);
        if (!plane)
            return false;
    }
    memcpy(plane, from, width * height);
    return true;
}

bool CPixImage::AlphaCopy(CPixImage& from)
{
    if (!CopyPlane(pAlpha, from.pAlpha, head.biWidth, head.biHeight, from.head.biWidth, from.head.biHeight))
        return false;
    info.nAlphaMax = from.info.nAlphaMax;
    return true;
}

bool CPixImage::AlphaFromGrayImage(CPixImage& from)
{
    if (!from.IsGrayScale() || head.biWidth != from.head.biWidth || head.biHeight != from.head.biHeight)
        return false;
    if (!pAlpha)
    {
        pAlpha = (BYTE*)malloc(head.biWidth * head.biHeight);
        if (!pAlpha)
            return false;
    }
    // The other image is 8-bit grey, so each of its rows holds width index bytes.
    for (long y = 0; y < head.biHeight; y++)
    {
        for (long x = 0; x < head.biWidth; x++)
            pAlpha[x + y * head.biWidth] = from.GetPixelIndexRaw(x, y);
    }
    return true;
}

static bool FlipPlane(BYTE* plane, long width, long height)
{
    BYTE* buff = (BYTE*)malloc(width > 0 ? width : 1);
    if (!buff)
        return false;
    BYTE* iSrc = plane + (height - 1) * width;
    BYTE* iDst = plane;
    for (long i = 0; i < height / 2; ++i)
    {
        memcpy(buff, iSrc, width);
        memcpy(iSrc, iDst, width);
        memcpy(iDst, buff, width);
        iSrc -= width;
        iDst += width;
    }
    free(buff);
    return true;
}

bool CPixImage::AlphaFlip()
{
    if (!pAlpha)
        return false;
    return FlipPlane(pAlpha, head.biWidth, head.biHeight);
}

//////////////////////////////////////////////////////////////////////////////
// Selection

bool CPixImage::SelectionCreate()
{
    SelectionDelete();
    pSelection = (BYTE*)calloc(head.biWidth * head.biHeight > 0 ? head.biWidth * head.biHeight : 1, 1);
    return pSelection != nullptr;
}

bool CPixImage::SelectionDelete()
{
    free(pSelection);
    pSelection = nullptr;
    info.rSelectionBox.left = head.biWidth;
    info.rSelectionBox.bottom = head.biHeight;
    info.rSelectionBox.right = info.rSelectionBox.top = 0;
    return true;
}

bool CPixImage::SelectionIsInside(long x, long y)
{
    if (!pSelection)
        return true;
    return pSelection[x + y * head.biWidth] != 0;
}

BYTE* CPixImage::SelectionGetPointer(long x, long y)
{
    if (pSelection && IsInside(x, y))
        return pSelection + x + y * head.biWidth;
    return nullptr;
}

bool CPixImage::SelectionCopy(CPixImage& from)
{
    if (!CopyPlane(pSelection, from.pSelection, head.biWidth, head.biHeight, from.head.biWidth, from.head.biHeight))
        return false;
    info.rSelectionBox = from.info.rSelectionBox;
    return true;
}

bool CPixImage::SelectionFlip()
{
    if (!pSelection)
        return false;
    if (!FlipPlane(pSelection, head.biWidth, head.biHeight))
        return false;
    long top = info.rSelectionBox.top;
    info.rSelectionBox.top = head.biHeight - info.rSelectionBox.bottom;
    info.rSelectionBox.bottom = head.biHeight - top;
    return true;
}
