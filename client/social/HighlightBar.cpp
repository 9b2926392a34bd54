#include "HighlightBar.h"
#include <algorithm>
#include <cstdlib>

namespace
{
int Mix(int a, int b, int percent)
{
    return (b * 100 + (a - b) * percent) / 100;
}

// The gradient's colour of line i of h: from |c - 114| towards c.
BYTE GradientChannel(int c, int i, int h)
{
    int start = std::abs(c - 114);
    return (BYTE)((start + ((c - start) * i) / h) & 0xFF);
}

void FillLine(HDC dc, int x, int y, int width, COLORREF color)
{
    RECT line = {x, y, x + width, y + 1};
    ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, NULL, 0, NULL);
}

void DrawFrame(HDC dc, const RECT& bar, COLORREF pen)
{
    HPEN framePen = ::CreatePen(PS_SOLID, 1, pen);
    HGDIOBJ oldPen = ::SelectObject(dc, framePen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, bar.left, bar.top, bar.right, bar.bottom, 2, 2);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(framePen);
}

void DrawGradient(HDC dc, const RECT& bar, COLORREF base)
{
    COLORREF oldBk = ::GetBkColor(dc);
    int h = bar.bottom - bar.top;
    for (int i = 1; i <= h - 2; ++i)
    {
        COLORREF line = RGB(GradientChannel(GetRValue(base), i, h), GradientChannel(GetGValue(base), i, h),
                            GradientChannel(GetBValue(base), i, h));
        if (i < h / 2)
            line = BlendColor(line, RGB(255, 255, 255), std::min(36 + 4 * (i - 1), 100));
        FillLine(dc, bar.left + 1, bar.top + i, bar.right - bar.left - 2, line);
    }
    ::SetBkColor(dc, oldBk);
}

// The soft corners, in the order that lets later pixels win.
void DrawCorners(HDC dc, const RECT& bar, COLORREF pen, COLORREF soft)
{
    const COLORREF white = RGB(255, 255, 255);
    const int X1 = bar.left, Y1 = bar.top, X2 = bar.right, Y2 = bar.bottom;
    const struct
    {
        int x, y;
        COLORREF color;
    } pixels[] = {
        {X1, Y1, white},         {X1, Y2 - 1, white},     {X1, Y1 + 1, soft},     {X1 + 1, Y1, soft},
        {X1, Y2 - 2, soft},      {X1 + 1, Y2 - 2, soft},  {X1 + 1, Y2 - 1, pen},  {X1, Y2 - 2, pen},
        {X2 - 1, Y1, white},     {X2 - 1, Y2 - 1, white}, {X2 - 1, Y1 + 1, soft}, {X2 - 2, Y1, soft},
        {X2 - 1, Y2 - 2, soft},  {X2 - 2, Y2 - 2, soft},  {X2 - 2, Y2 - 1, pen},  {X2 - 1, Y2 - 2, pen},
    };
    for (const auto& p : pixels)
        ::SetPixel(dc, p.x, p.y, p.color);
}
} // namespace

COLORREF BlendColor(COLORREF a, COLORREF b, int percent)
{
    return RGB(Mix(GetRValue(a), GetRValue(b), percent), Mix(GetGValue(a), GetGValue(b), percent),
               Mix(GetBValue(a), GetBValue(b), percent));
}

void DrawHighlightBar(HDC dc, const RECT& bar, COLORREF base, bool corners)
{
    COLORREF pen = RGB(std::abs(GetRValue(base) - 100), std::abs(GetGValue(base) - 100),
                       std::abs(GetBValue(base) - 100));
    COLORREF soft = BlendColor(pen, base, 40);
    DrawFrame(dc, bar, pen);
    DrawGradient(dc, bar, base);
    if (corners)
        DrawCorners(dc, bar, pen, soft);
}
