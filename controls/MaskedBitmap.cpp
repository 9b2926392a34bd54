#include "MaskedBitmap.h"

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
