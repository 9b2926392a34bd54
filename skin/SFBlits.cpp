#include "SFBlits.h"
#include "BitmapDC.h"
#include "MsImgLibrary.h"
#include "SFDCLayout.h"
#include "SFDibHelpers.h"
#include "SFOSVersionInfo.h"

namespace
{
// A GDI bitmap deleted with the holder.
struct BitmapHolder
{
    HBITMAP h;
    explicit BitmapHolder(HBITMAP bitmap) : h(bitmap) {}
    ~BitmapHolder()
    {
        if (h)
            ::DeleteObject(h);
    }
    BitmapHolder(const BitmapHolder&) = delete;
    BitmapHolder& operator=(const BitmapHolder&) = delete;
};
} // namespace

BOOL TransparentBltMasked(HDC dest, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw, int sh,
                          COLORREF transparent)
{
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return FALSE;
    BitmapHolder color(::CreateCompatibleBitmap(dest, sw, sh));
    BitmapHolder mask(::CreateBitmap(sw, sh, 1, 1, NULL));
    if (!color.h || !mask.h)
        return FALSE;
    BitmapDC colorDC(dest, color.h), maskDC(dest, mask.h);
    if (!colorDC.IsReady() || !maskDC.IsReady())
        return FALSE;
    if (!::BitBlt(colorDC, 0, 0, sw, sh, src, sx, sy, SRCCOPY))
        return FALSE;
    // The mask is white where the picture has the transparent colour.
    ::SetBkColor(colorDC, transparent);
    if (!::BitBlt(maskDC, 0, 0, sw, sh, colorDC, 0, 0, SRCCOPY))
        return FALSE;
    if (transparent != 0)
    {
        // Transparent pixels become black so that OR-ing them changes nothing.
        ::SetBkColor(colorDC, RGB(0, 0, 0));
        ::SetTextColor(colorDC, RGB(255, 255, 255));
        if (!::BitBlt(colorDC, 0, 0, sw, sh, maskDC, 0, 0, SRCAND))
            return FALSE;
    }
    COLORREF oldBk = ::SetBkColor(dest, RGB(255, 255, 255));
    COLORREF oldText = ::SetTextColor(dest, RGB(0, 0, 0));
    BOOL ok;
    if (dw == sw && dh == sh)
        ok = ::BitBlt(dest, dx, dy, dw, dh, maskDC, 0, 0, SRCAND) &&
             ::BitBlt(dest, dx, dy, dw, dh, colorDC, 0, 0, SRCPAINT);
    else
        ok = ::StretchBlt(dest, dx, dy, dw, dh, maskDC, 0, 0, sw, sh, SRCAND) &&
             ::StretchBlt(dest, dx, dy, dw, dh, colorDC, 0, 0, sw, sh, SRCPAINT);
    ::SetBkColor(dest, oldBk);
    ::SetTextColor(dest, oldText);
    return ok;
}

BOOL AlphaBlendEmulated(HDC dest, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw, int sh)
{
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return FALSE;
    BOOL srcMirrored = GetDCLayout(src) != 0, destMirrored = GetDCLayout(dest) != 0;
    void *srcBits = NULL, *destBits = NULL, *outBits = NULL;
    BitmapHolder srcDib(Create32BitDibTopDown(dw, dh, &srcBits));
    BitmapHolder destDib(Create32BitDibTopDown(dw, dh, &destBits));
    BitmapHolder outDib(Create32BitDibTopDown(dw, dh, &outBits));
    if (!srcDib.h || !destDib.h || !outDib.h)
        return FALSE;
    BITMAP a, b, c;
    if (!::GetObjectW(srcDib.h, sizeof(a), &a) || !::GetObjectW(destDib.h, sizeof(b), &b) ||
        !::GetObjectW(outDib.h, sizeof(c), &c) || a.bmBitsPixel != 32 || a.bmPlanes != 1 || !SameBitmapFormat(a, b) ||
        !SameBitmapFormat(a, c))
        return FALSE;
    BitmapDC srcDC(dest, srcDib.h), destDC(dest, destDib.h), outDC(dest, outDib.h);
    if (!srcDC.IsReady() || !destDC.IsReady() || !outDC.IsReady())
        return FALSE;
    SetDCLayout(srcDC, 0);
    SetDCLayout(destDC, 0);
    SetDCLayout(outDC, 0);
    BOOL ok;
    if (sw == dw && sh == dh)
        ok = ::BitBlt(srcDC, 0, 0, dw, dh, src, sx, sy, SRCCOPY);
    else
    {
        ::SetStretchBltMode(srcDC, HALFTONE);
        ::SetBrushOrgEx(srcDC, 0, 0, NULL);
        ok = ::StretchBlt(srcDC, 0, 0, dw, dh, src, sx, sy, sw, sh, SRCCOPY);
    }
    if (!ok || !::BitBlt(destDC, 0, 0, dw, dh, dest, dx, dy, SRCCOPY))
        return FALSE;
    ::GdiFlush();
    const BYTE* s = (const BYTE*)srcBits;
    const BYTE* d = (const BYTE*)destBits;
    BYTE* o = (BYTE*)outBits;
    for (int y = 0; y < dh; y++)
        for (int x = 0; x < dw; x++)
        {
            const BYTE* sp = s + ((size_t)y * dw + (srcMirrored ? dw - 1 - x : x)) * 4;
            const BYTE* dp = d + ((size_t)y * dw + (destMirrored ? dw - 1 - x : x)) * 4;
            BYTE* op = o + ((size_t)y * dw + x) * 4;
            int keep = 255 - sp[3];
            for (int ch = 0; ch < 4; ch++)
            {
                int v = sp[ch] + dp[ch] * keep / 255;
                op[ch] = (BYTE)(v > 255 ? 255 : v);
            }
        }
    return ::BitBlt(dest, dx, dy, dw, dh, outDC, 0, 0, SRCCOPY | (destMirrored ? NOMIRRORBITMAP : 0));
}

BOOL SFTransparentBlt(HDC dest, const RECT& d, HDC src, const RECT& s, COLORREF transparent)
{
    MsImgLibrary::TransparentBltFn pfn = GetMsImgLibrary().TransparentBlt();
    if (pfn != NULL && GetOSVersionInfo().IsWin2KOrGreater())
        return pfn(dest, d.left, d.top, d.right - d.left, d.bottom - d.top, src, s.left, s.top, s.right - s.left,
                   s.bottom - s.top, transparent);
    return TransparentBltMasked(dest, d.left, d.top, d.right - d.left, d.bottom - d.top, src, s.left, s.top,
                                s.right - s.left, s.bottom - s.top, transparent);
}

BOOL SFAlphaBlend(HDC dest, const RECT& d, HDC src, const RECT& s)
{
    const CSFOSVersionInfo& os = GetOSVersionInfo();
    MsImgLibrary::AlphaBlendFn pfn = GetMsImgLibrary().AlphaBlend();
    BOOL emulate = pfn == NULL || (GetDCLayout(dest) != 0 && os.IsWin9x()) ||
                   (!os.IsWin2KOrGreater() && (s.left != 0 || s.top != 0 || d.top < 0));
    if (emulate)
        return AlphaBlendEmulated(dest, d.left, d.top, d.right - d.left, d.bottom - d.top, src, s.left, s.top,
                                  s.right - s.left, s.bottom - s.top);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return pfn(dest, d.left, d.top, d.right - d.left, d.bottom - d.top, src, s.left, s.top, s.right - s.left,
               s.bottom - s.top, blend);
}
