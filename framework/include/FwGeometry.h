// Points, sizes and rectangles: the Win32 POINT, SIZE and RECT with the
// arithmetic the windows and painting code use. A CRect is a RECT, so it
// passes wherever a RECT* or const RECT* is expected.
#pragma once
#include "FwDefs.h"
#include <utility>

class CSize;
class CRect;

class CPoint : public tagPOINT
{
public:
    CPoint() { x = y = 0; }
    CPoint(int initX, int initY) { x = initX, y = initY; }
    CPoint(POINT pt) { x = pt.x, y = pt.y; }
    CPoint(SIZE sz) { x = sz.cx, y = sz.cy; }
    explicit CPoint(LPARAM dwPoint) { x = (short)LOWORD(dwPoint), y = (short)HIWORD(dwPoint); }

    void SetPoint(int X, int Y) { x = X, y = Y; }
    void Offset(int dx, int dy) { x += dx, y += dy; }
    void Offset(POINT pt) { Offset(pt.x, pt.y); }
    void Offset(SIZE sz) { Offset(sz.cx, sz.cy); }

    BOOL operator==(POINT pt) const { return x == pt.x && y == pt.y; }
    BOOL operator!=(POINT pt) const { return !(*this == pt); }
    void operator+=(SIZE sz) { Offset(sz); }
    void operator-=(SIZE sz) { Offset(-sz.cx, -sz.cy); }
    void operator+=(POINT pt) { Offset(pt); }
    void operator-=(POINT pt) { Offset(-pt.x, -pt.y); }
    CPoint operator+(SIZE sz) const { return CPoint(x + sz.cx, y + sz.cy); }
    CPoint operator-(SIZE sz) const { return CPoint(x - sz.cx, y - sz.cy); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint operator+(POINT pt) const { return CPoint(x + pt.x, y + pt.y); }
    inline CSize operator-(POINT pt) const;
};

class CSize : public tagSIZE
{
public:
    CSize() { cx = cy = 0; }
    CSize(int initCX, int initCY) { cx = initCX, cy = initCY; }
    CSize(SIZE sz) { cx = sz.cx, cy = sz.cy; }
    CSize(POINT pt) { cx = pt.x, cy = pt.y; }

    void SetSize(int CX, int CY) { cx = CX, cy = CY; }
    BOOL operator==(SIZE sz) const { return cx == sz.cx && cy == sz.cy; }
    BOOL operator!=(SIZE sz) const { return !(*this == sz); }
    void operator+=(SIZE sz) { cx += sz.cx, cy += sz.cy; }
    void operator-=(SIZE sz) { cx -= sz.cx, cy -= sz.cy; }
    CSize operator+(SIZE sz) const { return CSize(cx + sz.cx, cy + sz.cy); }
    CSize operator-(SIZE sz) const { return CSize(cx - sz.cx, cy - sz.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};

inline CSize CPoint::operator-(POINT pt) const { return CSize(x - pt.x, y - pt.y); }

class CRect : public tagRECT
{
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
    CRect(const RECT& rc) { CopyRect(&rc); }
    CRect(LPCRECT prc) { CopyRect(prc); }
    CRect(POINT pt, SIZE sz) { left = pt.x, top = pt.y, right = pt.x + sz.cx, bottom = pt.y + sz.cy; }
    CRect(POINT topLeft, POINT bottomRight)
    {
        left = topLeft.x, top = topLeft.y, right = bottomRight.x, bottom = bottomRight.y;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(this); }
    CPoint& BottomRight() { return *(reinterpret_cast<CPoint*>(this) + 1); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(this); }
    const CPoint& BottomRight() const { return *(reinterpret_cast<const CPoint*>(this) + 1); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }

    void SetRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
    void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
    void SetRectEmpty() { left = top = right = bottom = 0; }
    void CopyRect(LPCRECT prc) { left = prc->left, top = prc->top, right = prc->right, bottom = prc->bottom; }
    BOOL EqualRect(LPCRECT prc) const { return ::EqualRect(this, prc); }

    void InflateRect(int x, int y) { left -= x, top -= y, right += x, bottom += y; }
    void InflateRect(SIZE sz) { InflateRect(sz.cx, sz.cy); }
    void InflateRect(LPCRECT prc) { left -= prc->left, top -= prc->top, right += prc->right, bottom += prc->bottom; }
    void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
    void DeflateRect(int x, int y) { InflateRect(-x, -y); }
    void DeflateRect(SIZE sz) { InflateRect(-sz.cx, -sz.cy); }
    void DeflateRect(LPCRECT prc) { left += prc->left, top += prc->top, right -= prc->right, bottom -= prc->bottom; }
    void DeflateRect(int l, int t, int r, int b) { left += l, top += t, right -= r, bottom -= b; }

    void OffsetRect(int x, int y) { left += x, top += y, right += x, bottom += y; }
    void OffsetRect(POINT pt) { OffsetRect(pt.x, pt.y); }
    void OffsetRect(SIZE sz) { OffsetRect(sz.cx, sz.cy); }
    void MoveToX(int x) { right = x + Width(), left = x; }
    void MoveToY(int y) { bottom = y + Height(), top = y; }
    void MoveToXY(int x, int y) { MoveToX(x), MoveToY(y); }
    void MoveToXY(POINT pt) { MoveToXY(pt.x, pt.y); }
    void NormalizeRect()
    {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }

    BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }
    BOOL SubtractRect(LPCRECT a, LPCRECT b) { return ::SubtractRect(this, a, b); }

    CRect& operator=(const RECT& rc)
    {
        CopyRect(&rc);
        return *this;
    }
    BOOL operator==(const RECT& rc) const { return EqualRect(&rc); }
    BOOL operator!=(const RECT& rc) const { return !EqualRect(&rc); }
    void operator+=(POINT pt) { OffsetRect(pt); }
    void operator+=(SIZE sz) { OffsetRect(sz); }
    void operator-=(POINT pt) { OffsetRect(-pt.x, -pt.y); }
    void operator-=(SIZE sz) { OffsetRect(-sz.cx, -sz.cy); }
    void operator&=(const RECT& rc) { IntersectRect(this, &rc); }
    void operator|=(const RECT& rc) { UnionRect(this, &rc); }
    CRect operator+(POINT pt) const
    {
        CRect r(*this);
        r.OffsetRect(pt);
        return r;
    }
    CRect operator-(POINT pt) const
    {
        CRect r(*this);
        r.OffsetRect(-pt.x, -pt.y);
        return r;
    }
    CRect operator+(SIZE sz) const
    {
        CRect r(*this);
        r.OffsetRect(sz);
        return r;
    }
    CRect operator-(SIZE sz) const
    {
        CRect r(*this);
        r.OffsetRect(-sz.cx, -sz.cy);
        return r;
    }
    CRect operator&(const RECT& rc) const
    {
        CRect r;
        r.IntersectRect(this, &rc);
        return r;
    }
    CRect operator|(const RECT& rc) const
    {
        CRect r;
        r.UnionRect(this, &rc);
        return r;
    }
};
