// Small opaque fills and frames that leave the DC as they found it.
#pragma once
#include <Framework.h>

// ExtTextOut with ETO_OPAQUE: a fill that needs no brush. Returns 1.
int FillRectOpaque(HDC dc, const RECT& rect, COLORREF color);
int FillRectOpaqueXYWH(HDC dc, int x, int y, int width, int height, COLORREF color);
// Four opaque strips of thickness t just inside the rectangle.
void FrameRectSolid(HDC dc, const RECT& rect, int t, COLORREF color);
// The same with a brush.
void FrameRectBrush(HDC dc, const RECT& rect, int t, HBRUSH brush);
// A filled triangle in one colour.
void DrawTriangle(HDC dc, POINT a, POINT b, POINT c, COLORREF color);
