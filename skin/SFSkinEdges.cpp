#include "SFSkinEdges.h"
#include "SFGdiHelpers.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"

namespace
{
CSFSkinMetrics* Metrics()
{
    CSFSkinFramework* manager = GetSkinFramework();
    return manager ? manager->GetMetrics() : NULL;
}

COLORREF SkinColor(int index)
{
    CSFSkinMetrics* metrics = Metrics();
    COLORREF color = metrics ? metrics->GetColor(index) : (COLORREF)-1;
    return color == (COLORREF)-1 ? ::GetSysColor(index) : color;
}

void BorderSize(int* cx, int* cy)
{
    CSFSkinMetrics* metrics = Metrics();
    *cx = metrics && metrics->m_cxBorder > 0 ? metrics->m_cxBorder : ::GetSystemMetrics(SM_CXBORDER);
    *cy = metrics && metrics->m_cyBorder > 0 ? metrics->m_cyBorder : ::GetSystemMetrics(SM_CYBORDER);
}

// Colours (top-left, bottom-right) of one pass; FALSE for a pass with both
// a raised and a sunken bit.
BOOL PassColors(UINT bits, BOOL outer, UINT flags, COLORREF* topLeft, COLORREF* bottomRight)
{
    UINT raised = outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
    UINT sunken = outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
    if ((bits & raised) && (bits & sunken))
        return FALSE;
    if (flags & BF_FLAT)
    {
        int index = (flags & BF_MONO) ? (outer ? COLOR_WINDOWFRAME : COLOR_WINDOW)
                                      : (outer ? COLOR_BTNSHADOW : COLOR_BTNFACE);
        *topLeft = *bottomRight = SkinColor(index);
        return TRUE;
    }
    BOOL soft = (flags & BF_SOFT) != 0;
    int tl, br;
    if (outer)
    {
        if (bits & raised)
            tl = soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, br = COLOR_3DDKSHADOW;
        else
            tl = soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, br = COLOR_BTNHIGHLIGHT;
    }
    else
    {
        if (bits & raised)
            tl = soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, br = COLOR_BTNSHADOW;
        else
            tl = soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, br = COLOR_3DLIGHT;
    }
    *topLeft = SkinColor(tl);
    *bottomRight = SkinColor(br);
    return TRUE;
}

void DrawStrips(HDC dc, RECT* rc, UINT flags, COLORREF topLeft, COLORREF bottomRight, int cx, int cy)
{
    if (flags & BF_RIGHT)
    {
        FillRectOpaqueXYWH(dc, rc->right - cx, rc->top, cx, rc->bottom - rc->top, bottomRight);
        rc->right -= cx;
    }
    if (flags & BF_BOTTOM)
    {
        FillRectOpaqueXYWH(dc, rc->left, rc->bottom - cy, rc->right - rc->left, cy, bottomRight);
        rc->bottom -= cy;
    }
    if (flags & BF_LEFT)
    {
        FillRectOpaqueXYWH(dc, rc->left, rc->top, cx, rc->bottom - rc->top, topLeft);
        rc->left += cx;
    }
    if (flags & BF_TOP)
    {
        FillRectOpaqueXYWH(dc, rc->left, rc->top, rc->right - rc->left, cy, topLeft);
        rc->top += cy;
    }
}

// A diagonal as a staircase of border-sized squares across the rectangle,
// stepping by its width-to-height ratio.
void DrawDiagonal(HDC dc, RECT* rc, UINT flags, COLORREF topLeft, COLORREF bottomRight, int cx, int cy)
{
    COLORREF color = (flags & BF_BOTTOM) ? bottomRight : topLeft;
    int w = rc->right - rc->left, h = rc->bottom - rc->top;
    int steps = (w > h ? w : h);
    if (steps <= 0)
        return;
    BOOL falling = (flags & BF_DIAGONAL_ENDTOPLEFT) == BF_DIAGONAL_ENDTOPLEFT ||
                   (flags & BF_DIAGONAL_ENDBOTTOMRIGHT) == BF_DIAGONAL_ENDBOTTOMRIGHT;
    for (int i = 0; i < steps; i += (cx > cy ? cx : cy))
    {
        int x = rc->left + MulDiv(i, w, steps);
        int y = falling ? rc->top + MulDiv(i, h, steps) : rc->bottom - cy - MulDiv(i, h, steps);
        FillRectOpaqueXYWH(dc, x, y, cx, cy, color);
    }
    if (flags & BF_LEFT)
        rc->left += cx;
    if (flags & BF_RIGHT)
        rc->right -= cx;
    if (flags & BF_TOP)
        rc->top += cy;
    if (flags & BF_BOTTOM)
        rc->bottom -= cy;
}

BOOL DrawSkinPart(HDC dc, LPCWSTR className, int part, int state, const RECT& rect)
{
    CSFSkinFramework* manager = GetSkinFramework();
    CSFSkinClass* cls = manager ? manager->GetSkinClass(className) : NULL;
    if (cls == NULL)
        return FALSE;
    CDC wrapper;
    wrapper.Attach(dc);
    BOOL drawn = cls->DrawBackground(&wrapper, part, state, &rect);
    wrapper.Detach();
    return drawn;
}
} // namespace

BOOL SkinDrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags)
{
    if (rect == NULL)
        return FALSE;
    if (flags & BF_MONO)
        flags |= BF_FLAT;
    int cx, cy;
    BorderSize(&cx, &cy);
    RECT rc = *rect;
    for (int pass = 0; pass < 2; pass++)
    {
        BOOL outer = pass == 0;
        UINT bits = edge & (outer ? (BDR_RAISEDOUTER | BDR_SUNKENOUTER) : (BDR_RAISEDINNER | BDR_SUNKENINNER));
        if (bits == 0)
            continue;
        COLORREF topLeft, bottomRight;
        if (!PassColors(bits, outer, flags, &topLeft, &bottomRight))
            return FALSE;
        if (flags & BF_DIAGONAL)
            DrawDiagonal(dc, &rc, flags, topLeft, bottomRight, cx, cy);
        else
            DrawStrips(dc, &rc, flags, topLeft, bottomRight, cx, cy);
    }
    if ((flags & BF_MIDDLE) && !(flags & BF_DIAGONAL) && rc.right > rc.left && rc.bottom > rc.top)
        FillRectOpaque(dc, rc, SkinColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    if (flags & BF_ADJUST)
        *rect = rc;
    return TRUE;
}

BOOL SkinDrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state)
{
    if (rect == NULL)
        return FALSE;
    if (type == DFC_SCROLL && state == DFCS_SCROLLSIZEGRIP)
    {
        FillRectOpaque(dc, *rect, SkinColor(COLOR_BTNFACE));
        DrawSkinPart(dc, L"SCROLLBAR", 10, 1, *rect); // SIZEBOX, RIGHTALIGN
        return TRUE;
    }
    if (type == DFC_BUTTON)
    {
        if ((state & ~(DFCS_PUSHED | DFCS_ADJUSTRECT)) != DFCS_BUTTONPUSH)
            return FALSE;
        RECT inner = *rect;
        SkinDrawEdge(dc, &inner, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        if (inner.right > inner.left && inner.bottom > inner.top)
            FillRectOpaque(dc, inner, SkinColor(COLOR_BTNFACE));
        if (state & DFCS_ADJUSTRECT)
            *rect = inner;
        return TRUE;
    }
    if (type == DFC_SCROLL)
    {
        UINT direction = state & 0xFF;
        if (direction > DFCS_SCROLLRIGHT)
            return FALSE;
        int look = (state & DFCS_INACTIVE) ? 4 : (state & DFCS_PUSHED) ? 3 : 1;
        DrawSkinPart(dc, L"SCROLLBAR", 1, look + 4 * (int)direction, *rect); // ARROWBTN
        return TRUE;
    }
    return FALSE;
}
