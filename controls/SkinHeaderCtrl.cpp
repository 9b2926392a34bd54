#include "SkinHeaderCtrl.h"
#include "AppSetting.h"
#include "MemoryDC.h"
#include "SkinFrame.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CSkinHeaderCtrl, CHeaderCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(HDM_LAYOUT, &CSkinHeaderCtrl::OnLayout)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CSkinHeaderCtrl::CSkinHeaderCtrl()
    : m_nFixedHeight(-1), m_nFirstMinWidth(100), m_nSortColumn(-1), m_nSortDirection(SORT_ASCENDING),
      m_textColour(RGB(0x4C, 0x6C, 0x85)), m_nItemBitmap(0), m_nBackgroundBitmap(0), m_nDividerBitmap(0),
      m_bLocked(FALSE)
{
}

int CSkinHeaderCtrl::ClampWidth(int column, int width, int firstMinimum)
{
    return std::max(width, column == 0 ? firstMinimum : (int)MIN_OTHER_WIDTH);
}

void CSkinHeaderCtrl::SortTriangle(const CRect& r, int direction, POINT points[3])
{
    if (direction == SORT_ASCENDING)
    {
        points[0] = {r.right - 14, r.bottom - 7};
        points[1] = {r.right - 9, r.top + 6};
        points[2] = {r.right - 4, r.bottom - 7};
    }
    else
    {
        points[0] = {r.right - 13, r.top + 7};
        points[1] = {r.right - 9, r.bottom - 7};
        points[2] = {r.right - 4, r.top + 7};
    }
}

BOOL CSkinHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY)
    {
        NMHEADERW* nm = (NMHEADERW*)lParam;
        UINT code = nm->hdr.code;
        if (m_bLocked && (code == HDN_BEGINTRACKA || code == HDN_BEGINTRACKW || code == HDN_DIVIDERDBLCLICKA ||
                          code == HDN_DIVIDERDBLCLICKW))
        {
            if (pResult)
                *pResult = 1; // refused
            return TRUE;
        }
        if ((code == HDN_ITEMCHANGINGA || code == HDN_ITEMCHANGINGW) && nm->pitem && (nm->pitem->mask & HDI_WIDTH))
        {
            nm->pitem->cxy = ClampWidth(nm->iItem, nm->pitem->cxy, m_nFirstMinWidth);
            // A locked header's widths are its owner's, not the user's choice.
            if (!m_bLocked && nm->iItem >= 0 && nm->iItem < STORED_COLUMNS && g_pAppSetting)
                g_pAppSetting->column[nm->iItem] = nm->pitem->cxy;
        }
        if ((code == HDN_ENDTRACKA || code == HDN_ENDTRACKW) && GetParent())
            GetParent()->Invalidate(TRUE);
    }
    return CHeaderCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CSkinHeaderCtrl::OnLayout(WPARAM, LPARAM lParam)
{
    if (m_nFixedHeight == -1)
        return Default();
    HDLAYOUT* layout = (HDLAYOUT*)lParam;
    layout->pwpos->hwnd = m_hWnd;
    layout->pwpos->hwndInsertAfter = NULL;
    layout->pwpos->flags = SWP_FRAMECHANGED;
    layout->pwpos->x = layout->prc->left;
    layout->pwpos->y = 0;
    layout->pwpos->cx = layout->prc->right - layout->prc->left;
    layout->pwpos->cy = m_nFixedHeight;
    layout->prc->top = m_nFixedHeight;
    return 0;
}

BOOL CSkinHeaderCtrl::OnSetCursor(CWnd*, UINT, UINT)
{
    if (!m_bLocked)
        return (BOOL)Default();
    ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
    return TRUE;
}

void CSkinHeaderCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemoryDC mem(&dc, &client);
    CBitmap background, divider;
    BOOL skinned = SkinFrame::LoadBitmapResource(background, m_nBackgroundBitmap) &&
                   SkinFrame::LoadBitmapResource(divider, m_nDividerBitmap);
    CDC src;
    src.CreateCompatibleDC(&mem);
    if (skinned)
    {
        // The first pixel column of the background bitmap stretched over the header.
        CSize size = SkinFrame::GetBitmapSize(background);
        HGDIOBJ old = src.SelectObject((HGDIOBJ)background.GetSafeHandle());
        mem.StretchBlt(0, 0, client.Width(), client.Height(), &src, 0, 0, 1, size.cy, SRCCOPY);
        src.SelectObject(old);
    }
    else
    {
        // Without skin bitmaps: a light face with a line along the bottom.
        mem.FillSolidRect(&client, RGB(0xF4, 0xF4, 0xF4));
        mem.FillSolidRect(client.left, client.bottom - 1, client.Width(), 1, RGB(0xC9, 0xB7, 0xA9));
    }
    int count = GetItemCount();
    HFONT font = (HFONT)GetParent()->SendMessage(WM_GETFONT);
    for (int i = 0; i < count; ++i)
    {
        CRect item;
        GetItemRect(i, &item);
        if (skinned)
        {
            CSize size = SkinFrame::GetBitmapSize(divider);
            HGDIOBJ old = src.SelectObject((HGDIOBJ)divider.GetSafeHandle());
            if (count > 1)
                mem.BitBlt(item.right - 2, item.top, 2, item.Height(), &src, 0, 0, SRCCOPY);
            else
                mem.BitBlt(item.right - 2, item.top, 1, std::min<int>(item.Height(), size.cy), &src, 0, 0, SRCCOPY);
            src.SelectObject(old);
        }
        else if (count > 1)
            mem.FillSolidRect(item.right - 1, item.top + 3, 1, item.Height() - 6, RGB(0xC9, 0xB7, 0xA9));
        DRAWITEMSTRUCT dis{ODT_HEADER, 0, (UINT)i, ODA_DRAWENTIRE, 0, m_hWnd, mem.GetSafeHdc(), item, 0};
        DrawItem(&dis);

        wchar_t text[256] = {0};
        HDITEMW hdi{};
        hdi.mask = HDI_TEXT | HDI_FORMAT | HDI_ORDER;
        hdi.pszText = text;
        hdi.cchTextMax = 255;
        GetItem(i, &hdi);
        CRect inner = item;
        inner.DeflateRect(2, 2);
        HGDIOBJ oldFont = font ? mem.SelectObject((HGDIOBJ)font) : NULL;
        mem.SetBkMode(TRANSPARENT);
        mem.SetTextColor(m_textColour);
        mem.DrawText(text, -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (oldFont)
            mem.SelectObject(oldFont);
        if (i == m_nSortColumn)
        {
            POINT points[3];
            SortTriangle(inner, m_nSortDirection, points);
            CRgn region;
            region.CreatePolygonRgn(points, 3, ALTERNATE);
            CBrush brush(m_textColour);
            mem.FillRgn(&region, &brush);
        }
    }
}
