#include "MaskedBitmap.h"

#include <algorithm>
#include <vector>

HBITMAP CreateTransparencyMask(HBITMAP image, int width, int height, COLORREF key)
{
    HBITMAP mask = ::CreateBitmap(width, height, 1, 1, NULL);
    if (!mask)
        return NULL;
    HDC imageDC = ::CreateCompatibleDC(NULL), maskDC = ::CreateCompatibleDC(NULL);
    HGDIOBJ oldImage = ::SelectObject(imageDC, image);
    HGDIOBJ oldMask = ::SelectObject(maskDC, mask);
    // Key-colour pixels become 1 in the mask, then black in the image.
    ::SetBkColor(imageDC, key);
    ::BitBlt(maskDC, 0, 0, width, height, imageDC, 0, 0, SRCCOPY);
    ::SetBkColor(imageDC, RGB(0, 0, 0));
    ::SetTextColor(imageDC, RGB(255, 255, 255));
    ::BitBlt(imageDC, 0, 0, width, height, maskDC, 0, 0, SRCAND);
    ::SelectObject(maskDC, oldMask);
    ::SelectObject(imageDC, oldImage);
    ::DeleteDC(maskDC);
    ::DeleteDC(imageDC);
    return mask;
}

BOOL ReadPixels32(HBITMAP bitmap, int width, int height, std::vector<DWORD>& pixels)
{
    if (!bitmap || width <= 0 || height <= 0)
        return FALSE;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    pixels.assign((size_t)width * height, 0);
    HDC screen = ::GetDC(NULL);
    int rows = ::GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, screen);
    return rows == height;
}

BOOL SplitMaskedStrip(HBITMAP strip, int pieces, COLORREF key, HBITMAP* images, HBITMAP* masks)
{
    BITMAP bm{};
    if (pieces <= 0 || !strip || !::GetObjectW(strip, sizeof(bm), &bm) || bm.bmWidth / pieces <= 0 || bm.bmHeight <= 0)
        return FALSE;
    const int stripWidth = bm.bmWidth, width = bm.bmWidth / pieces, height = bm.bmHeight;
    std::vector<DWORD> pixels;
    BOOL read = ReadPixels32(strip, stripWidth, height, pixels);
    BITMAPINFO piece{};
    piece.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    HDC screen = ::GetDC(NULL);
    const DWORD keyPixel = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    // 1-bit rows of CreateBitmap are padded to 16 bits; a set bit is a key pixel.
    const int maskStride = ((width + 15) / 16) * 2;
    std::vector<DWORD> image((size_t)width * height);
    std::vector<BYTE> mask((size_t)maskStride * height);
    int made = 0;
    for (; read && made < pieces; ++made)
    {
        std::fill(mask.begin(), mask.end(), 0);
        for (int y = 0; y < height; ++y)
        {
            const DWORD* from = pixels.data() + (size_t)y * stripWidth + (size_t)made * width;
            DWORD* to = image.data() + (size_t)y * width;
            BYTE* bits = mask.data() + (size_t)y * maskStride;
            for (int x = 0; x < width; ++x)
            {
                DWORD p = from[x] & 0xFFFFFF;
                if (p == keyPixel)
                {
                    p = 0;
                    bits[x >> 3] |= (BYTE)(0x80 >> (x & 7));
                }
                to[x] = p;
            }
        }
        images[made] = ::CreateDIBitmap(screen, &piece.bmiHeader, CBM_INIT, image.data(), &piece, DIB_RGB_COLORS);
        masks[made] = ::CreateBitmap(width, height, 1, 1, mask.data());
        if (!images[made] || !masks[made])
        {
            if (images[made])
                ::DeleteObject(images[made]);
            if (masks[made])
                ::DeleteObject(masks[made]);
            break;
        }
    }
    ::ReleaseDC(NULL, screen);
    if (made == pieces)
        return TRUE;
    for (int i = 0; i < made; ++i)
    {
        ::DeleteObject(images[i]);
        ::DeleteObject(masks[i]);
    }
    return FALSE;
}

void MaskedBitmap::Free()
{
    image.DeleteObject();
    mask.DeleteObject();
    width = height = 0;
}

BOOL MaskedBitmap::Load(UINT nID, BOOL bTransparent, COLORREF key, int keyX, int keyY)
{
    Free();
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(nID), RT_BITMAP);
    HBITMAP hBitmap = (HBITMAP)::LoadImageW(hInst, MAKEINTRESOURCEW(nID), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
    if (!hBitmap)
        return FALSE;
    image.Attach(hBitmap);
    BITMAP bm{};
    image.GetBitmap(&bm);
    width = bm.bmWidth;
    height = bm.bmHeight;
    if (!bTransparent)
        return TRUE;
    if (key == 0xFF000000)
    {
        CDC probe;
        probe.CreateCompatibleDC(NULL);
        HGDIOBJ old = probe.SelectObject((HGDIOBJ)image.GetSafeHandle());
        key = probe.GetPixel(keyX, keyY);
        probe.SelectObject(old);
    }
    HBITMAP hMask = CreateTransparencyMask((HBITMAP)image.GetSafeHandle(), width, height, key);
    if (!hMask)
        return FALSE;
    mask.Attach(hMask);
    return TRUE;
}

void MaskedBitmap::Draw(CDC* pDC, int x, int y, int cx, int cy, int srcX, BOOL bTransparent,
                        const MaskedBitmap* maskSource) const
{
    if (!image.GetSafeHandle() || cx <= 0 || cy <= 0)
        return;
    CDC src;
    src.CreateCompatibleDC(pDC);
    const CBitmap* maskBitmap = maskSource ? &maskSource->mask : &mask;
    if (bTransparent && maskBitmap->GetSafeHandle())
    {
        HGDIOBJ old = src.SelectObject((HGDIOBJ)maskBitmap->GetSafeHandle());
        COLORREF oldBk = pDC->SetBkColor(RGB(255, 255, 255));
        COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
        pDC->BitBlt(x, y, cx, cy, &src, srcX, 0, SRCAND);
        pDC->SetBkColor(oldBk);
        pDC->SetTextColor(oldText);
        src.SelectObject((HGDIOBJ)image.GetSafeHandle());
        pDC->BitBlt(x, y, cx, cy, &src, srcX, 0, SRCPAINT);
        src.SelectObject(old);
    }
    else
    {
        HGDIOBJ old = src.SelectObject((HGDIOBJ)image.GetSafeHandle());
        pDC->BitBlt(x, y, cx, cy, &src, srcX, 0, SRCCOPY);
        src.SelectObject(old);
    }
}
