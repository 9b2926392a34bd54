// The bitmap frame shared by the two skinned dialog bases: loading frame
// bitmaps, drawing and tiling them, and cutting the window's corners away
// where the corner pixels are magenta.
#pragma once
#include "Framework.h"

// One frame bitmap with its size in pixels (0 x 0 while none is loaded).
struct SkinBitmap
{
    CBitmap bitmap;
    int width = 0;
    int height = 0;
    // Replaces the bitmap by the bitmap resource nID; FALSE (and empty) when
    // it does not load.
    BOOL Load(UINT nID);
};

namespace SkinFrame
{
// Magenta marks the pixels of a skin bitmap that are not part of the window.
const COLORREF kTransparent = RGB(255, 0, 255);
// Side of the corner squares in which magenta pixels are cut out.
const int kCornerSquare = 6;

// Makes font a copy of the font the window reports (WM_GETFONT), or of the
// GUI font when it reports none.
BOOL CopyWindowFont(HWND hWnd, CFont& font);
// Replaces the contents of bitmap by the bitmap resource nID.
BOOL LoadBitmapResource(CBitmap& bitmap, UINT nID);
CSize GetBitmapSize(CBitmap& bitmap);
// The whole bitmap with its top-left corner at (x, y).
void DrawBitmap(CBitmap& bitmap, CDC* pDC, int x, int y);
// Whole copies placed row by row from (left, top) while below right and
// bottom; the last copy of a row or column may reach past the rectangle.
// A bitmap of no width or height draws nothing.
void TileBitmap(CBitmap& bitmap, CDC* pDC, int left, int top, int right, int bottom);
// The region (0, 0, width, height) less every magenta pixel of pDC inside
// the four corner squares. The caller owns the result.
HRGN MakeCornerRegion(CDC* pDC, int width, int height);
// Sets that region as the window's region (the window owns it), unless the
// window already has the same one: setting a region repaints the window, so
// setting it at every paint would paint for ever.
void ApplyCornerRegion(CWnd* pWnd, CDC* pDC, int width, int height);
// The part of the client a paint draws: all of it for the window's own paint
// (the corners decide the window's shape), only the part a control asks for
// when it takes the picture under itself.
CRect PaintArea(CDC* pDC, const CRect& client, BOOL whole);
// Frame corners and edges of a W x H picture (the steps both dialog bases
// paint in this order), with an optional fill of the background between them.
struct Parts
{
    SkinBitmap* topLeft;
    SkinBitmap* top;
    SkinBitmap* topRight;
    SkinBitmap* left;
    SkinBitmap* right;
    SkinBitmap* bottomLeft;
    SkinBitmap* bottom;
    SkinBitmap* bottomRight;
};
void PaintTop(CDC* pDC, const Parts& parts, int width);
void PaintLeft(CDC* pDC, const Parts& parts, int height);
void PaintRightAndBottom(CDC* pDC, const Parts& parts, int width, int height);
} // namespace SkinFrame
