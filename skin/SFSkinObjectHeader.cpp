#include "SFSkinObjectHeader.h"
#include "BufferedDC.h"
#include "SFGdiHelpers.h"
#include "SFObjectPaintDC.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFWindowHelpers.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectHeader, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectHeader, CSFSkinObjectFrame)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectHeader::OnPaintOwnClient)
ON_MESSAGE(WM_PRINTCLIENT, &CSFSkinObjectHeader::OnPrintOwnClient)
ON_MESSAGE(WM_LBUTTONDOWN, &CSFSkinObjectHeader::OnLButtonDownControl)
ON_MESSAGE(WM_LBUTTONUP, &CSFSkinObjectHeader::OnLButtonUpControl)
ON_MESSAGE(WM_MOUSEMOVE, &CSFSkinObjectHeader::OnMouseMoveControl)
ON_MESSAGE(WM_MOUSELEAVE, &CSFSkinObjectHeader::OnMouseLeaveControl)
END_MESSAGE_MAP()

namespace
{
const int kPartHeaderItem = 1;
const int kStateNormal = 1, kStateHot = 2, kStatePressed = 3;
const DWORD kFilterBarVersion = 0x50050; // 5.80
} // namespace

CSFSkinObjectHeader::CSFSkinObjectHeader() : m_pressed(FALSE), m_hotItem(-1) { m_className = L"HEADER"; }

int CSFSkinObjectHeader::GetItemState(int item) const
{
    if (item != m_hotItem || item < 0)
        return kStateNormal;
    return m_pressed ? kStatePressed : kStateHot;
}

void CSFSkinObjectHeader::DrawItemContent(CDC* dc, int item, RECT rect, int state)
{
    HDC hdc = dc->GetSafeHdc();
    wchar_t text[256] = L"";
    HDITEMW info = {};
    info.mask = HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_IMAGE;
    info.pszText = text;
    info.cchTextMax = 255;
    info.fmt = HDF_STRING | HDF_IMAGE;
    CString label;
    if (::SendMessageW(m_hWnd, HDM_GETITEMW, item, (LPARAM)&info))
        label = text;
    else
    {
        char narrow[256] = "";
        HDITEMA ansi = {};
        ansi.mask = info.mask;
        ansi.pszText = narrow;
        ansi.cchTextMax = 255;
        ansi.fmt = HDF_STRING | HDF_IMAGE;
        if (::SendMessageA(m_hWnd, HDM_GETITEMA, item, (LPARAM)&ansi))
        {
            label = CString(narrow);
            info.fmt = ansi.fmt;
            info.lParam = ansi.lParam;
            info.iImage = ansi.iImage;
        }
    }
    if (info.fmt & HDF_OWNERDRAW)
    {
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_HEADER;
        draw.CtlID = (UINT)::GetDlgCtrlID(m_hWnd);
        draw.itemID = (UINT)item;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state == kStatePressed ? ODS_SELECTED : 0;
        draw.hwndItem = m_hWnd;
        draw.hDC = hdc;
        draw.rcItem = rect;
        draw.itemData = (ULONG_PTR)info.lParam;
        HWND parent = ::GetParent(m_hWnd);
        if (parent && ::SendMessageW(parent, WM_DRAWITEM, draw.CtlID, (LPARAM)&draw))
            return;
    }
    int offset = state == kStatePressed ? 1 : 0;
    int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32W(hdc, label, label.GetLength(), &extent);
    int textLeft = rect.left;
    int end = rect.right;
    HIMAGELIST images = (HIMAGELIST)::SendMessageW(m_hWnd, HDM_GETIMAGELIST, 0, 0);
    if ((info.fmt & HDF_IMAGE) && images && info.iImage >= 0 && info.iImage < ::ImageList_GetImageCount(images))
    {
        int margin = (int)::SendMessageW(m_hWnd, HDM_GETBITMAPMARGIN, 0, 0);
        if (margin == 0)
            margin = 3 * cxEdge;
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(images, &cx, &cy);
        int y = rect.top + (rect.bottom - rect.top - cy) / 2;
        if (info.fmt & HDF_BITMAP_ON_RIGHT)
        {
            int x = rect.left + 2 * margin + extent.cx + 9;
            if (x + cx > rect.right)
                x = rect.right - cx - 3;
            if (x < rect.left + 6)
                x = rect.left + 6;
            ::ImageList_Draw(images, info.iImage, hdc, x + offset, y + offset, ILD_TRANSPARENT);
            end = x + 6;
        }
        else
        {
            ::ImageList_Draw(images, info.iImage, hdc, rect.left + margin + offset, y + offset, ILD_TRANSPARENT);
            textLeft += margin + cx;
        }
    }
    else if (info.fmt & (HDF_SORTUP | HDF_SORTDOWN))
    {
        int x = rect.left + extent.cx + 6 * cxEdge + 9;
        if (x > rect.right - 12)
            x = rect.right - 12;
        if (x < rect.left + 6)
            x = rect.left + 6;
        int middle = (rect.top + rect.bottom) / 2;
        COLORREF shadow = GetColor(COLOR_BTNSHADOW);
        if (info.fmt & HDF_SORTUP)
            DrawTriangle(hdc, POINT{x - 4, middle + 2}, POINT{x + 4, middle + 2}, POINT{x, middle - 2}, shadow);
        else
            DrawTriangle(hdc, POINT{x - 4, middle - 2}, POINT{x + 4, middle - 2}, POINT{x, middle + 2}, shadow);
        end = x;
    }
    RECT area;
    UINT align;
    switch (info.fmt & HDF_JUSTIFYMASK)
    {
    case HDF_RIGHT:
        area = RECT{rect.left + 6, rect.top, end - 9, rect.bottom};
        align = DT_RIGHT;
        break;
    case HDF_CENTER:
        area = RECT{rect.left + 6, rect.top, end - 6, rect.bottom};
        align = DT_CENTER;
        break;
    default:
        area = RECT{textLeft + 9, rect.top, end - 6, rect.bottom};
        align = DT_LEFT;
        break;
    }
    if (area.right > area.left && !label.IsEmpty())
    {
        ::OffsetRect(&area, offset, offset);
        ::DrawTextW(hdc, label, label.GetLength(), &area,
                    align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void CSFSkinObjectHeader::PaintControl(CDC* dc)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    OffsetBufferedDC buffer(dc->GetSafeHdc(), client);
    if (!buffer.IsReady())
        return;
    HDC hdc = buffer.GetSafeHdc();
    FillRectOpaque(hdc, client, GetColor(COLOR_BTNFACE));
    RECT items = client;
    if ((::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & HDS_FILTERBAR) && m_manager &&
        m_manager->GetComCtlVersion() >= kFilterBarVersion)
    {
        // The control draws its filter row; the skin covers the upper half.
        CallSavedProc(WM_PAINT, (WPARAM)hdc, 0);
        items.bottom = items.top + (client.bottom - client.top - 1) / 2;
    }
    HFONT font = (HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0);
    HGDIOBJ oldFont = font ? ::SelectObject(hdc, font) : NULL;
    ::SetTextColor(hdc, GetColor(COLOR_BTNTEXT));
    ::SetBkMode(hdc, TRANSPARENT);
    CSFSkinClass* cls = GetSkinClass();
    int count = (int)::SendMessageW(m_hWnd, HDM_GETITEMCOUNT, 0, 0);
    int rightmost = client.left;
    for (int order = 0; order < count; order++)
    {
        int item = (int)::SendMessageW(m_hWnd, HDM_ORDERTOINDEX, order, 0);
        RECT rect;
        if (!::SendMessageW(m_hWnd, HDM_GETITEMRECT, item, (LPARAM)&rect))
            continue;
        if (rect.right > rightmost)
            rightmost = rect.right;
        if (rect.right <= client.left || rect.left >= client.right)
            continue;
        rect.top = items.top;
        rect.bottom = items.bottom;
        int state = GetItemState(item);
        if (cls)
            cls->DrawBackground(&buffer, kPartHeaderItem, state, &rect);
        DrawItemContent(&buffer, item, rect, state);
    }
    if (rightmost < client.right && cls)
    {
        RECT rest = {rightmost, items.top, client.right, items.bottom};
        cls->DrawBackground(&buffer, 0, 0, &rest);
    }
    if (oldFont)
        ::SelectObject(hdc, oldFont);
}

void CSFSkinObjectHeader::TrackHot(POINT point)
{
    HDHITTESTINFO hit = {};
    hit.pt = point;
    int hot = (int)::SendMessageW(m_hWnd, HDM_HITTEST, 0, (LPARAM)&hit);
    if (point.x < 0 && point.y < 0)
        hot = -1;
    if (hot == m_hotItem)
        return;
    m_hotItem = hot;
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    if (hot != -1)
    {
        TrackMouseLeave();
    }
}

LRESULT CSFSkinObjectHeader::OnLButtonDownControl(WPARAM, LPARAM lParam)
{
    HDHITTESTINFO hit = {};
    hit.pt = POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ::SendMessageW(m_hWnd, HDM_HITTEST, 0, (LPARAM)&hit);
    // A press on a divider resizes; it shows no pressed item.
    if (hit.flags & HHT_ONHEADER)
        m_pressed = TRUE;
    return Default();
}

LRESULT CSFSkinObjectHeader::OnLButtonUpControl(WPARAM, LPARAM)
{
    if (m_pressed)
    {
        m_pressed = FALSE;
        ::InvalidateRect(m_hWnd, NULL, FALSE);
    }
    return Default();
}

LRESULT CSFSkinObjectHeader::OnMouseMoveControl(WPARAM, LPARAM lParam)
{
    TrackHot(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
    return Default();
}

LRESULT CSFSkinObjectHeader::OnMouseLeaveControl(WPARAM, LPARAM)
{
    TrackHot(POINT{-1, -1});
    return Default();
}
