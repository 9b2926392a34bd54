#include "SFGdiHelpers.h"
#include "GdiSelectors.h"

int FillRectOpaque(HDC dc, const RECT& rect, COLORREF color)
{
    COLORREF old = ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, NULL, 0, NULL);
    ::SetBkColor(dc, old);
    return 1;
}

int FillRectOpaqueXYWH(HDC dc, int x, int y, int width, int height, COLORREF color)
{
    RECT rc = {x, y, x + width, y + height};
    return FillRectOpaque(dc, rc, color);
}

void FrameRectSolid(HDC dc, const RECT& rect, int t, COLORREF color)
{
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    FillRectOpaqueXYWH(dc, rect.left, rect.top, width - t, t, color);
    FillRectOpaqueXYWH(dc, rect.left, rect.top, t, height - t, color);
    // The right and bottom strips are given from their far edge inwards.
    FillRectOpaqueXYWH(dc, rect.right, rect.top, -t, height, color);
    FillRectOpaqueXYWH(dc, rect.left, rect.bottom, width, -t, color);
}

void FrameRectBrush(HDC dc, const RECT& rect, int t, HBRUSH brush)
{
    RECT top = {rect.left, rect.top, rect.right - t, rect.top + t};
    RECT left = {rect.left, rect.top, rect.left + t, rect.bottom - t};
    RECT right = {rect.right - t, rect.top, rect.right, rect.bottom};
    RECT bottom = {rect.left, rect.bottom - t, rect.right, rect.bottom};
    ::FillRect(dc, &top, brush);
    ::FillRect(dc, &left, brush);
    ::FillRect(dc, &right, brush);
    ::FillRect(dc, &bottom, brush);
}

void DrawTriangle(HDC dc, POINT a, POINT b, POINT c, COLORREF color)
{
    PenSelector pen(dc, color);
    BrushSelector brush(dc, color);
    if (!pen.IsSelected() || !brush.IsSelected())
        return;
    POINT points[3] = {a, b, c};
    ::Polygon(dc, points, 3);
}
