#include "SkinFrame.h"
#include "MemoryDC.h"

#include <algorithm>

BOOL SkinBitmap::Load(UINT nID)
{
    width = height = 0;
    if (!SkinFrame::LoadBitmapResource(bitmap, nID))
        return FALSE;
    CSize size = SkinFrame::GetBitmapSize(bitmap);
    width = size.cx;
    height = size.cy;
    return TRUE;
}

namespace SkinFrame
{
BOOL CopyWindowFont(HWND hWnd, CFont& font)
{
    LOGFONT lf{};
    HFONT own = hWnd ? (HFONT)::SendMessageW(hWnd, WM_GETFONT, 0, 0) : NULL;
    if (!own)
        own = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (!::GetObjectW(own, sizeof(lf), &lf))
        return FALSE;
    font.DeleteObject();
    return font.CreateFontIndirect(&lf);
}

BOOL LoadBitmapResource(CBitmap& bitmap, UINT nID)
{
    bitmap.DeleteObject();
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(nID), RT_BITMAP);
    HBITMAP hBitmap = (HBITMAP)::LoadImageW(hInst, MAKEINTRESOURCEW(nID), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
    if (!hBitmap)
        return FALSE;
    return bitmap.Attach(hBitmap);
}

CSize GetBitmapSize(CBitmap& bitmap)
{
    BITMAP bm{};
    if (!bitmap.GetSafeHandle() || !bitmap.GetBitmap(&bm))
        return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

void DrawBitmap(CBitmap& bitmap, CDC* pDC, int x, int y)
{
    if (!bitmap.GetSafeHandle())
        return;
    CSize size = GetBitmapSize(bitmap);
    CMemoryDC mem((HBITMAP)bitmap.GetSafeHandle(), pDC->GetSafeHdc());
    pDC->BitBlt(x, y, size.cx, size.cy, &mem, 0, 0, SRCCOPY);
}

void TileBitmap(CBitmap& bitmap, CDC* pDC, int left, int top, int right, int bottom)
{
    CSize size = GetBitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0 || right <= left || bottom <= top)
        return; // nothing to tile, and no endless loop
    CMemoryDC mem((HBITMAP)bitmap.GetSafeHandle(), pDC->GetSafeHdc());
    const int width = (right - left + size.cx - 1) / size.cx * size.cx;
    const int height = (bottom - top + size.cy - 1) / size.cy * size.cy;
    CRect clip, whole(left, top, left + width, top + height), inside;
    int kind = pDC->GetClipBox(&clip);
    if (kind == SIMPLEREGION && inside.IntersectRect(&clip, &whole) && inside == whole)
    {
        // Every pixel of the tiled area is drawn, so the copies already
        // drawn are copied on, doubling each time: a narrow edge piece takes
        // a few copies instead of one for every pixel of the edge.
        pDC->BitBlt(left, top, size.cx, size.cy, &mem, 0, 0, SRCCOPY);
        for (int filled = size.cx; filled < width;)
        {
            int n = std::min(filled, width - filled);
            pDC->BitBlt(left + filled, top, n, size.cy, pDC, left, top, SRCCOPY);
            filled += n;
        }
        for (int filled = size.cy; filled < height;)
        {
            int n = std::min(filled, height - filled);
            pDC->BitBlt(left, top + filled, width, n, pDC, left, top, SRCCOPY);
            filled += n;
        }
        return;
    }
    for (int y = top; y < bottom; y += size.cy)
        for (int x = left; x < right; x += size.cx)
        {
            // Copies outside the drawable area are skipped (all are drawn
            // when the context cannot tell its area).
            CRect piece(x, y, x + size.cx, y + size.cy), visible;
            if (kind != ERROR && !visible.IntersectRect(&clip, &piece))
                continue;
            pDC->BitBlt(x, y, size.cx, size.cy, &mem, 0, 0, SRCCOPY);
        }
}

HRGN MakeCornerRegion(CDC* pDC, int width, int height)
{
    HRGN region = ::CreateRectRgn(0, 0, width, height);
    const int xs[2] = {0, width - kCornerSquare};
    const int ys[2] = {0, height - kCornerSquare};
    for (int cx : xs)
        for (int cy : ys)
            for (int y = cy; y < cy + kCornerSquare; ++y)
                for (int x = cx; x < cx + kCornerSquare; ++x)
                {
                    if (x < 0 || y < 0 || x >= width || y >= height)
                        continue;
                    if (pDC->GetPixel(x, y) != kTransparent)
                        continue;
                    HRGN pixel = ::CreateRectRgn(x, y, x + 1, y + 1);
                    ::CombineRgn(region, region, pixel, RGN_DIFF);
                    ::DeleteObject(pixel);
                }
    return region;
}

CRect PaintArea(CDC* pDC, const CRect& client, BOOL whole)
{
    CRect area = client, clip;
    if (!whole && pDC->GetClipBox(&clip) != ERROR)
        area.IntersectRect(&client, &clip);
    return area;
}

void ApplyCornerRegion(CWnd* pWnd, CDC* pDC, int width, int height)
{
    HRGN region = MakeCornerRegion(pDC, width, height);
    HRGN current = ::CreateRectRgn(0, 0, 0, 0);
    bool same = pWnd->GetWindowRgn(current) != ERROR && ::EqualRgn(current, region);
    ::DeleteObject(current);
    if (same)
        ::DeleteObject(region);
    else
        pWnd->SetWindowRgn(region, TRUE);
}

void PaintTop(CDC* pDC, const Parts& p, int width)
{
    DrawBitmap(p.topLeft->bitmap, pDC, 0, 0);
    TileBitmap(p.top->bitmap, pDC, p.topLeft->width, 0, width - p.topRight->width, p.top->height);
    DrawBitmap(p.topRight->bitmap, pDC, width - p.topRight->width, 0);
}

void PaintLeft(CDC* pDC, const Parts& p, int height)
{
    TileBitmap(p.left->bitmap, pDC, 0, p.topLeft->height, p.left->width, height - p.bottomLeft->height);
}

void PaintRightAndBottom(CDC* pDC, const Parts& p, int width, int height)
{
    TileBitmap(p.right->bitmap, pDC, width - p.right->width, p.topRight->height, width,
               height - p.bottomRight->height);
    DrawBitmap(p.bottomLeft->bitmap, pDC, 0, height - p.bottomLeft->height);
    TileBitmap(p.bottom->bitmap, pDC, p.bottomLeft->width, height - p.bottom->height, width - p.bottomRight->width,
               height);
    DrawBitmap(p.bottomRight->bitmap, pDC, width - p.bottomRight->width, height - p.bottomRight->height);
}
} // namespace SkinFrame
