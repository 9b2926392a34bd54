#include "SFSkinObjectTab.h"
#include "BufferedDC.h"
#include "GdiSelectors.h"
#include "SFGdiHelpers.h"
#include "SFObjectPaintDC.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFWindowHelpers.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectTab, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectTab, CSFSkinObjectFrame)
ON_MESSAGE(WM_ERASEBKGND, &CSFSkinObjectTab::OnEraseBkgndControl)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectTab::OnPaintControl)
ON_MESSAGE(WM_PRINTCLIENT, &CSFSkinObjectTab::OnPrintClientControl)
ON_MESSAGE(WM_MOUSEMOVE, &CSFSkinObjectTab::OnMouseMoveControl)
ON_MESSAGE(WM_MOUSELEAVE, &CSFSkinObjectTab::OnMouseLeaveControl)
END_MESSAGE_MAP()

namespace
{
const int kPartTopTabItem = 5, kPartTopTabItemLeftEdge = 6, kPartTopTabItemRightEdge = 7, kPartPane = 9;
const int kStateNormal = 1, kStateHot = 2, kStateSelected = 3;
const int kButtonPushPart = 1, kButtonNormal = 1, kButtonPressed = 3;
const LONG_PTR kVertical = 0x80, kBottomOrRight = 0x02, kButtons = 0x100;
} // namespace

CSFSkinObjectTab::CSFSkinObjectTab() : m_hotItem(-1) { m_className = L"TAB"; }

int CSFSkinObjectTab::GetItemPart(int item) const
{
    return item >= 0 && item < (int)m_itemLooks.size() ? m_itemLooks[item].first : 0;
}

int CSFSkinObjectTab::GetItemState(int item) const
{
    return item >= 0 && item < (int)m_itemLooks.size() ? m_itemLooks[item].second : 0;
}

RECT CSFSkinObjectTab::GetTabStripRect()
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    RECT strip = client;
    int selected = (int)::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0);
    RECT item = {0, 0, 0, 0};
    ::SendMessageW(m_hWnd, TCM_GETITEMRECT, selected < 0 ? 0 : selected, (LPARAM)&item);
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if (style & kVertical)
    {
        if (style & kBottomOrRight)
            strip.left = item.left;
        else
            strip.right = item.right;
    }
    else if (style & kBottomOrRight)
        strip.top = item.top;
    else
    {
        int rows = (int)::SendMessageW(m_hWnd, TCM_GETROWCOUNT, 0, 0);
        strip.bottom = client.top + ::GetSystemMetrics(SM_CYEDGE) + (item.bottom - item.top) * rows;
    }
    return strip;
}

void CSFSkinObjectTab::DrawBackground(CDC* dc, const RECT& area)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    RECT fill;
    if (!::IntersectRect(&fill, &area, &client))
        return;
    FillControlBackground(dc, fill, WM_CTLCOLORSTATIC);
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    CSFSkinClass* cls = GetSkinClass();
    if ((style & kButtons) || cls == NULL)
        return;
    // The page is what the strip leaves of the client area.
    RECT strip = GetTabStripRect();
    RECT page = client;
    if (style & kVertical)
    {
        if (style & kBottomOrRight)
            page.right = strip.left;
        else
            page.left = strip.right;
    }
    else if (style & kBottomOrRight)
        page.bottom = strip.top;
    else
        page.top = strip.bottom;
    cls->DrawBackground(dc, kPartPane, 0, &page);
}

void CSFSkinObjectTab::DrawItem(CDC* dc, int item, int selected, int count)
{
    RECT rect;
    if (!::SendMessageW(m_hWnd, TCM_GETITEMRECT, item, (LPARAM)&rect))
        return;
    RECT client, overlap;
    GetClientRectSafe(m_hWnd, &client);
    if (!::IntersectRect(&overlap, &rect, &client))
        return;
    HDC hdc = dc->GetSafeHdc();
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    BOOL buttons = (style & kButtons) != 0;
    BOOL vertical = (style & kVertical) != 0;
    BOOL isSelected = item == selected;
    int part, state;
    CSFSkinClass* cls = NULL;
    if (buttons)
    {
        part = kButtonPushPart;
        state = isSelected ? kButtonPressed : kButtonNormal;
        if (m_manager)
            cls = m_manager->GetSkinClass(L"BUTTON");
    }
    else
    {
        if (isSelected)
            ::InflateRect(&rect, 2, 2);
        state = isSelected ? kStateSelected : item == m_hotItem ? kStateHot : kStateNormal;
        if (item == 0)
            part = kPartTopTabItemLeftEdge;
        else if (item == count - 1 && !isSelected)
            part = kPartTopTabItemRightEdge;
        else
            part = kPartTopTabItem;
        cls = GetSkinClass();
    }
    if ((int)m_itemLooks.size() <= item)
        m_itemLooks.resize(item + 1, std::make_pair(0, 0));
    m_itemLooks[item] = std::make_pair(part, state);
    m_paintOrder.push_back(item);
    if (cls)
        cls->DrawBackground(dc, part, state, &rect);

    RECT text = rect;
    int cxEdge = ::GetSystemMetrics(SM_CXEDGE), cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    TCITEMW info = {};
    info.mask = TCIF_IMAGE;
    ::SendMessageW(m_hWnd, TCM_GETITEMW, item, (LPARAM)&info);
    HIMAGELIST images = (HIMAGELIST)::SendMessageW(m_hWnd, TCM_GETIMAGELIST, 0, 0);
    if (images && info.iImage >= 0)
    {
        POINT at;
        if (vertical)
            at = (style & kBottomOrRight) ? POINT{rect.left + 1, rect.top + 2 * cyEdge}
                                          : POINT{rect.left + cxEdge, rect.top + 2 * cyEdge};
        else
            at = (style & kBottomOrRight) ? POINT{rect.left + 2 * cxEdge, rect.top + 1}
                                          : POINT{rect.left + 2 * cxEdge, rect.top + cyEdge};
        ::ImageList_Draw(images, info.iImage, hdc, at.x, at.y, ILD_TRANSPARENT);
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(images, &cx, &cy);
        if (vertical)
            text.top = at.y + cy + cyEdge;
        else
            text.left = at.x + cx + cxEdge;
    }

    wchar_t buffer[256] = L"";
    TCITEMW textItem = {};
    textItem.mask = TCIF_TEXT;
    textItem.pszText = buffer;
    textItem.cchTextMax = 255;
    CString label;
    if (::SendMessageW(m_hWnd, TCM_GETITEMW, item, (LPARAM)&textItem))
        label = buffer;
    else
    {
        char narrow[256] = "";
        TCITEMA ansi = {};
        ansi.mask = TCIF_TEXT;
        ansi.pszText = narrow;
        ansi.cchTextMax = 255;
        if (::SendMessageA(m_hWnd, TCM_GETITEMA, item, (LPARAM)&ansi))
            label = CString(narrow);
    }
    if (!label.IsEmpty())
    {
        ::SetTextColor(hdc, GetColor(COLOR_BTNTEXT));
        UINT flags;
        if (vertical)
        {
            SIZE extent = {0, 0};
            ::GetTextExtentPoint32W(hdc, label, label.GetLength(), &extent);
            int width = text.right - text.left, height = text.bottom - text.top;
            text.left = text.right - (width - extent.cy + 1) / 2;
            text.top = text.top + (height - extent.cx + 1) / 2;
            flags = DT_SINGLELINE | DT_NOCLIP;
        }
        else
        {
            flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
            if (::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
                flags |= DT_HIDEPREFIX;
            if (buttons)
            {
                if (!isSelected)
                    ::OffsetRect(&text, 0, -1);
            }
            else
            {
                text.top += isSelected ? -2 : 1;
                if (item == 0)
                    text.right -= 3;
            }
        }
        if (cls)
            cls->DrawText(dc, part, state, label, flags, &text);
    }
    if (isSelected && ::GetFocus() == m_hWnd && !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
    {
        RECT focus = rect;
        ::InflateRect(&focus, -cxEdge / 2, -cyEdge / 2);
        ::DrawFocusRect(hdc, &focus);
    }
}

void CSFSkinObjectTab::PaintControl(CDC* dc, BOOL withBackground)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    if (withBackground)
        DrawBackground(dc, client);
    RECT area = GetTabStripRect();
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    // The selected item reaches 2 pixels into the page.
    if (style & kVertical)
    {
        if (style & kBottomOrRight)
            area.left -= 2;
        else
            area.right += 2;
    }
    else if (style & kBottomOrRight)
        area.top -= 2;
    else
        area.bottom += 2;
    OffsetBufferedDC buffer(dc->GetSafeHdc(), area);
    if (!buffer.IsReady())
        return;
    DrawBackground(&buffer, area);
    HFONT font = (HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0);
    HGDIOBJ oldFont = font ? ::SelectObject(buffer.GetSafeHdc(), font) : NULL;
    ::SetBkMode(buffer.GetSafeHdc(), TRANSPARENT);
    int count = (int)::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0);
    int selected = (int)::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0);
    m_paintOrder.clear();
    for (int i = 0; i < count; i++)
        DrawItem(&buffer, i, selected, count);
    if (selected >= 0 && selected < count)
        DrawItem(&buffer, selected, selected, count);
    if (oldFont)
        ::SelectObject(buffer.GetSafeHdc(), oldFont);
}

void CSFSkinObjectTab::TrackHot(POINT point)
{
    int hot = -1;
    int count = (int)::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count && hot < 0; i++)
    {
        RECT rect;
        if (::SendMessageW(m_hWnd, TCM_GETITEMRECT, i, (LPARAM)&rect) && ::PtInRect(&rect, point))
            hot = i;
    }
    if (hot == m_hotItem)
        return;
    m_hotItem = hot;
    if (hot >= 0)
    {
        TrackMouseLeave();
    }
    RECT strip = GetTabStripRect();
    ::InvalidateRect(m_hWnd, &strip, FALSE);
}

LRESULT CSFSkinObjectTab::OnEraseBkgndControl(WPARAM wParam, LPARAM)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    CDC dc;
    dc.Attach((HDC)wParam);
    DrawBackground(&dc, client);
    dc.Detach();
    return 1;
}

LRESULT CSFSkinObjectTab::OnPaintControl(WPARAM wParam, LPARAM)
{
    CSFObjectPaintDC dc(this);
    PaintControl(&dc, wParam != 0);
    return 0;
}

LRESULT CSFSkinObjectTab::OnPrintClientControl(WPARAM wParam, LPARAM)
{
    CDC dc;
    dc.Attach((HDC)wParam);
    PaintControl(&dc, TRUE);
    dc.Detach();
    return 1;
}

LRESULT CSFSkinObjectTab::OnMouseMoveControl(WPARAM, LPARAM lParam)
{
    POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    TrackHot(point);
    return Default();
}

LRESULT CSFSkinObjectTab::OnMouseLeaveControl(WPARAM, LPARAM)
{
    TrackHot(POINT{-1, -1});
    return Default();
}
