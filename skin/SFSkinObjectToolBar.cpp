#include "SFSkinObjectToolBar.h"
#include "BufferedDC.h"
#include "SFGdiHelpers.h"
#include "SFObjectPaintDC.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFWindowHelpers.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectToolBar, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectToolBar, CSFSkinObjectFrame)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectToolBar::OnPaintControl)
END_MESSAGE_MAP()

namespace
{
const int kPartButton = 1, kPartSplitButton = 3, kPartSplitDropDown = 4, kPartSeparator = 5;
const int kStateNormal = 1, kStateHot = 2, kStatePressed = 3, kStateDisabled = 4, kStateChecked = 5;
const DWORD kComCtl6 = 0x60000;
} // namespace

CSFSkinObjectToolBar::CSFSkinObjectToolBar() : m_embossed(0) { m_className = L"TOOLBAR"; }

int CSFSkinObjectToolBar::GetDrawnState(int index) const
{
    return index >= 0 && index < (int)m_drawnStates.size() ? m_drawnStates[index] : 0;
}

LRESULT CSFSkinObjectToolBar::Notify(NMTBCUSTOMDRAW& draw, DWORD stage)
{
    draw.nmcd.dwDrawStage = stage;
    HWND parent = ::GetParent(m_hWnd);
    return parent ? ::SendMessageW(parent, WM_NOTIFY, draw.nmcd.hdr.idFrom, (LPARAM)&draw) : 0;
}

void CSFSkinObjectToolBar::DrawEmbossed(HDC hdc, HIMAGELIST list, int image, int x, int y)
{
    int cx = 16, cy = 16;
    ::ImageList_GetIconSize(list, &cx, &cy);
    // A mask one pixel larger than the icon: set where the image is light.
    HDC maskDC = ::CreateCompatibleDC(hdc);
    HBITMAP mask = ::CreateBitmap(cx + 1, cy + 1, 1, 1, NULL);
    HDC colorDC = ::CreateCompatibleDC(hdc);
    HBITMAP color = ::CreateCompatibleBitmap(hdc, cx + 1, cy + 1);
    if (maskDC && mask && colorDC && color)
    {
        HGDIOBJ oldMask = ::SelectObject(maskDC, mask);
        HGDIOBJ oldColor = ::SelectObject(colorDC, color);
        RECT all = {0, 0, cx + 1, cy + 1};
        FillRectOpaque(colorDC, all, GetColor(COLOR_BTNFACE));
        ::ImageList_Draw(list, image, colorDC, 0, 0, ILD_TRANSPARENT);
        ::SetBkColor(colorDC, GetColor(COLOR_BTNFACE));
        ::BitBlt(maskDC, 0, 0, cx + 1, cy + 1, colorDC, 0, 0, SRCCOPY);
        FillRectOpaque(colorDC, all, GetColor(COLOR_BTNHIGHLIGHT));
        ::ImageList_Draw(list, image, colorDC, 0, 0, ILD_TRANSPARENT);
        ::SetBkColor(colorDC, GetColor(COLOR_BTNHIGHLIGHT));
        ::BitBlt(maskDC, 0, 0, cx + 1, cy + 1, colorDC, 0, 0, SRCPAINT);
        COLORREF oldText = ::SetTextColor(hdc, RGB(0, 0, 0));
        COLORREF oldBk = ::SetBkColor(hdc, RGB(255, 255, 255));
        CSFSkinMetrics* metrics = GetMetrics();
        HBRUSH highlight = metrics ? metrics->GetBrush(COLOR_BTNHIGHLIGHT) : (HBRUSH)::GetStockObject(WHITE_BRUSH);
        HBRUSH shadow = metrics ? metrics->GetBrush(COLOR_BTNSHADOW) : (HBRUSH)::GetStockObject(GRAY_BRUSH);
        HGDIOBJ oldBrush = ::SelectObject(hdc, highlight);
        ::BitBlt(hdc, x + 1, y + 1, cx, cy, maskDC, 0, 0, 0xB8074A);
        ::SelectObject(hdc, shadow);
        ::BitBlt(hdc, x, y, cx, cy, maskDC, 0, 0, 0xB8074A);
        ::SelectObject(hdc, oldBrush);
        ::SetTextColor(hdc, oldText);
        ::SetBkColor(hdc, oldBk);
        ::SelectObject(maskDC, oldMask);
        ::SelectObject(colorDC, oldColor);
        m_embossed++;
    }
    if (color)
        ::DeleteObject(color);
    if (mask)
        ::DeleteObject(mask);
    if (colorDC)
        ::DeleteDC(colorDC);
    if (maskDC)
        ::DeleteDC(maskDC);
}

void CSFSkinObjectToolBar::DrawImage(HDC hdc, const TBBUTTON& button, BOOL hot, int x, int y)
{
    HIMAGELIST normal = (HIMAGELIST)::SendMessageW(m_hWnd, TB_GETIMAGELIST, 0, 0);
    HIMAGELIST list = NULL;
    BOOL disabled = !(button.fsState & TBSTATE_ENABLED);
    if (hot || (button.fsState & TBSTATE_CHECKED))
        list = (HIMAGELIST)::SendMessageW(m_hWnd, TB_GETHOTIMAGELIST, 0, 0);
    else if (disabled)
        list = (HIMAGELIST)::SendMessageW(m_hWnd, TB_GETDISABLEDIMAGELIST, 0, 0);
    BOOL ownDisabledList = disabled && list != NULL;
    if (list == NULL)
        list = normal;
    int image = LOWORD(button.iBitmap);
    if (list == NULL || button.iBitmap == -1 || button.iBitmap == I_IMAGENONE)
        return;
    if (disabled && !ownDisabledList)
    {
        IMAGEINFO info = {};
        BITMAP bits = {};
        BOOL deep = ::ImageList_GetImageInfo(list, image, &info) && info.hbmImage &&
                    ::GetObjectW(info.hbmImage, sizeof(bits), &bits) && bits.bmBitsPixel == 32;
        if (m_manager && m_manager->GetComCtlVersion() >= kComCtl6 && deep &&
            ::ImageList_GetBkColor(list) == CLR_NONE)
        {
            IMAGELISTDRAWPARAMS params = {};
            params.cbSize = sizeof(params);
            params.himl = list;
            params.i = image;
            params.hdcDst = hdc;
            params.x = x;
            params.y = y;
            params.rgbBk = CLR_NONE;
            params.rgbFg = CLR_DEFAULT;
            params.fStyle = ILD_TRANSPARENT;
            params.fState = ILS_SATURATE;
            ::ImageList_DrawIndirect(&params);
        }
        else
            DrawEmbossed(hdc, list, image, x, y);
        return;
    }
    IMAGELISTDRAWPARAMS params = {};
    params.cbSize = sizeof(params);
    params.himl = list;
    params.i = image;
    params.hdcDst = hdc;
    params.x = x;
    params.y = y;
    params.rgbBk = GetColor(COLOR_BTNFACE);
    params.rgbFg = CLR_DEFAULT;
    params.fStyle = ILD_TRANSPARENT;
    ::ImageList_DrawIndirect(&params);
}

void CSFSkinObjectToolBar::DrawButton(CDC* dc, NMTBCUSTOMDRAW& draw, int index, const TBBUTTON& button)
{
    RECT item;
    if (!::SendMessageW(m_hWnd, TB_GETITEMRECT, index, (LPARAM)&item))
        return;
    HDC hdc = dc->GetSafeHdc();
    CSFSkinClass* cls = GetSkinClass();
    int cxEdge = ::GetSystemMetrics(SM_CXEDGE), cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    UINT state = 0;
    if (index == (int)::SendMessageW(m_hWnd, TB_GETHOTITEM, 0, 0))
        state |= CDIS_HOT;
    if (button.fsState & TBSTATE_PRESSED)
        state |= CDIS_SELECTED;
    if (button.fsState & TBSTATE_CHECKED)
        state |= CDIS_CHECKED;
    if (!(button.fsState & TBSTATE_ENABLED))
        state |= CDIS_DISABLED;
    draw.nmcd.rc = item;
    draw.nmcd.dwItemSpec = (DWORD_PTR)button.idCommand;
    draw.nmcd.lItemlParam = (LPARAM)button.dwData;
    draw.nmcd.uItemState = state;
    draw.rcText = RECT{0, 0, item.right - item.left - 2 * cxEdge, item.bottom - item.top - 2 * cyEdge};
    LRESULT answer = Notify(draw, CDDS_ITEMPREPAINT);
    state = draw.nmcd.uItemState;
    if (answer & CDRF_SKIPDEFAULT)
        return;
    BOOL selected = (state & CDIS_SELECTED) != 0, checked = (state & CDIS_CHECKED) != 0;
    BOOL hot = (state & CDIS_HOT) != 0, disabled = (state & CDIS_DISABLED) != 0;
    DWORD exStyle = (DWORD)::SendMessageW(m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0);
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    BOOL drawArrows = (exStyle & TBSTYLE_EX_DRAWDDARROWS) != 0;
    BOOL whole = (button.fsStyle & BTNS_WHOLEDROPDOWN) != 0;
    BOOL split = drawArrows && (button.fsStyle & BTNS_DROPDOWN) && !whole;
    BOOL hasArrow = (drawArrows && (button.fsStyle & BTNS_DROPDOWN)) || whole;
    int dropWidth = split ? ::GetSystemMetrics(SM_CYMENUCHECK) : hasArrow ? 5 : 0;
    int itemState = disabled ? kStateDisabled
                    : selected ? kStatePressed
                    : checked ? kStateChecked
                    : hot ? kStateHot
                    : kStateNormal;
    if ((int)m_drawnStates.size() <= index)
        m_drawnStates.resize(index + 1, 0);
    if (!(answer & TBCDRF_NOEDGES) && cls)
    {
        m_drawnStates[index] = itemState;
        if (split)
        {
            RECT main = item, drop = item;
            main.right -= dropWidth;
            drop.left = main.right;
            cls->DrawBackground(dc, kPartSplitButton, itemState, &main);
            cls->DrawBackground(dc, kPartSplitDropDown, itemState, &drop);
        }
        else
            cls->DrawBackground(dc, kPartButton, itemState, &item);
    }

    BOOL list = (style & TBSTYLE_LIST) != 0;
    DWORD padding = (DWORD)::SendMessageW(m_hWnd, TB_GETPADDING, 0, 0);
    int padX = LOWORD(padding), padY = HIWORD(padding);
    int iconX = 16, iconY = 16;
    HIMAGELIST images = (HIMAGELIST)::SendMessageW(m_hWnd, TB_GETIMAGELIST, 0, 0);
    if (images)
        ::ImageList_GetIconSize(images, &iconX, &iconY);
    int width = item.right - item.left;
    int imageArea = width - 2 * cxEdge - (hasArrow ? 5 : 0);
    BOOL noOffset = (answer & TBCDRF_NOOFFSET) != 0;
    POINT origin = {item.left + cxEdge, item.top + cyEdge};
    if (list && width < padX + iconX)
        origin.x -= cxEdge;
    int offsetX = list ? padX / 2
                  : split ? (2 * cxEdge + imageArea - iconX - dropWidth) / 2
                          : (imageArea - iconX) / 2;
    int offsetY = (padY - 2 * cyEdge) / 2;
    if (offsetY < 0)
        offsetY = 0;
    BOOL shift = (selected || checked) && !noOffset;
    BOOL skipImage = list && (button.fsStyle & BTNS_AUTOSIZE) && button.iBitmap == I_IMAGENONE;
    if (!skipImage)
        DrawImage(hdc, button, hot, origin.x + offsetX + (shift ? 1 : 0), origin.y + offsetY + (shift ? 1 : 0));

    wchar_t text[257] = L"";
    CString label;
    if (::SendMessageW(m_hWnd, TB_GETBUTTONTEXTW, button.idCommand, (LPARAM)text) > 0)
        label = text;
    HWND parent = ::GetParent(m_hWnd);
    if (label.IsEmpty() && parent &&
        ::SendMessageW(parent, WM_NOTIFYFORMAT, (WPARAM)m_hWnd, NF_QUERY) == NFR_ANSI)
    {
        char narrow[257] = "";
        if (::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, button.idCommand, (LPARAM)narrow) > 0)
            label = CString(narrow);
    }
    if (!label.IsEmpty())
    {
        RECT area = {origin.x, origin.y, item.right - cxEdge - dropWidth, item.bottom - cyEdge};
        if (shift)
            ::OffsetRect(&area, 1, list ? 1 : 0);
        if (list)
            area.left += (skipImage ? 0 : iconX) + 2 * cxEdge;
        else
            area.top += offsetY + iconY;
        int rows = (int)::SendMessageW(m_hWnd, TB_GETTEXTROWS, 0, 0);
        UINT flags = list ? (rows > 1 ? DT_VCENTER | DT_SINGLELINE | DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS
                                      : DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS)
                          : (rows > 1 ? DT_CENTER | DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS
                                      : DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        ::SetTextColor(hdc, GetColor(disabled ? COLOR_BTNSHADOW : COLOR_BTNTEXT));
        ::SetBkMode(hdc, TRANSPARENT);
        ::DrawTextW(hdc, label, label.GetLength(), &area, flags);
    }
    if (whole)
    {
        int x = item.right - 6 - 2 + (selected ? 1 : 0);
        int y = (item.top + item.bottom) / 2 + (selected ? 1 : 0);
        DrawTriangle(hdc, POINT{x - 2, y - 1}, POINT{x + 2, y - 1}, POINT{x, y + 1}, GetColor(COLOR_BTNTEXT));
    }
    if (answer & CDRF_NOTIFYPOSTPAINT)
        Notify(draw, CDDS_ITEMPOSTPAINT);
}

void CSFSkinObjectToolBar::PaintControl(CDC* dc)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    OffsetBufferedDC buffer(dc->GetSafeHdc(), client);
    if (!buffer.IsReady())
        return;
    HDC hdc = buffer.GetSafeHdc();
    FillRectOpaque(hdc, client, GetColor(COLOR_BTNFACE));
    m_drawnStates.clear();
    m_embossed = 0;
    HFONT font = (HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0);
    HGDIOBJ oldFont = font ? ::SelectObject(hdc, font) : NULL;
    NMTBCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = m_hWnd;
    draw.nmcd.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.hdc = hdc;
    draw.nmcd.rc = client;
    LRESULT answer = Notify(draw, CDDS_PREPAINT);
    if (!(answer & CDRF_SKIPDEFAULT))
    {
        CSFSkinClass* cls = GetSkinClass();
        int count = (int)::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < count; i++)
        {
            TBBUTTON button = {};
            if (!::SendMessageW(m_hWnd, TB_GETBUTTON, i, (LPARAM)&button) || (button.fsState & TBSTATE_HIDDEN))
                continue;
            if (button.fsStyle & BTNS_SEP)
            {
                RECT rect;
                if (cls && ::SendMessageW(m_hWnd, TB_GETITEMRECT, i, (LPARAM)&rect))
                    cls->DrawBackground(&buffer, kPartSeparator, 0, &rect);
                continue;
            }
            DrawButton(&buffer, draw, i, button);
        }
        if (answer & CDRF_NOTIFYPOSTPAINT)
        {
            draw.nmcd.rc = client;
            draw.nmcd.dwItemSpec = 0;
            draw.nmcd.uItemState = 0;
            Notify(draw, CDDS_POSTPAINT);
        }
    }
    if (oldFont)
        ::SelectObject(hdc, oldFont);
}

LRESULT CSFSkinObjectToolBar::OnPaintControl(WPARAM, LPARAM)
{
    CSFObjectPaintDC dc(this);
    PaintControl(&dc);
    return 0;
}
