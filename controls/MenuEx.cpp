#include "MenuEx.h"

IMPLEMENT_DYNAMIC(CMenuEx, CMenu)

namespace
{
const int kMaxMenuText = 1024;

CString MenuText(CMenu* menu, UINT item, UINT flags)
{
    CString text;
    int n = menu->GetMenuString(item, text.GetBuffer(kMaxMenuText + 1), kMaxMenuText + 1, flags);
    text.ReleaseBuffer(n > 0 ? n : 0);
    return text;
}

HWND MeasureWindow()
{
    CWnd* main = AfxGetMainWnd();
    return main && main->GetSafeHwnd() ? main->GetSafeHwnd() : ::GetDesktopWindow();
}
} // namespace

CMenuEx::CMenuEx()
    : m_separatorHeight(10), m_backColour(RGB(0xFC, 0xFC, 0xFC)), m_selectedTextColour(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_textColour(::GetSysColor(COLOR_MENUTEXT)), m_itemWidth(20), m_itemHeight(20),
      m_imageColumnColour(RGB(0xEE, 0xED, 0xF0)), m_selectionColour(RGB(0xC1, 0xD2, 0xEE))
{
}

CMenuEx::~CMenuEx()
{
    // Pop-up objects give their handles back: the menus themselves go with
    // the menu bar.
    for (CMenuEx* sub : m_subMenus)
    {
        sub->Detach();
        delete sub;
    }
    m_subMenus.clear();
    for (Item* item : m_items)
        delete item;
    m_items.clear();
    DestroyMenu();
}

CMenuEx::Item* CMenuEx::NewItem(const CString& text, int id)
{
    Item* item = new Item;
    item->text = text;
    item->id = id;
    m_items.push_back(item);
    return item;
}

BOOL CMenuEx::LoadMenu(UINT nIDResource)
{
    CreateMenu();
    CMenu source;
    if (source.LoadMenu(nIDResource))
    {
        int count = source.GetMenuItemCount();
        for (int pos = 0; pos < count; ++pos)
        {
            UINT id = source.GetMenuItemID(pos);
            if (id == 0)
                AppendMenu(MF_SEPARATOR);
            else if (id == (UINT)-1)
            {
                HMENU popup = ::CreatePopupMenu();
                InsertMenu(pos, MF_BYPOSITION | MF_POPUP, (UINT_PTR)popup, MenuText(&source, pos, MF_BYPOSITION));
                BuildPopup(source.GetSubMenu(pos), popup);
            }
            else
                AppendMenu(0, id, MenuText(&source, id, MF_BYCOMMAND));
        }
        source.DestroyMenu();
    }
    return TRUE;
}

BOOL CMenuEx::LoadPopup(HMENU hSource)
{
    if (!::IsMenu(hSource) || !CreateMenu())
        return FALSE;
    HMENU popup = ::CreatePopupMenu();
    AppendMenu(MF_POPUP, (UINT_PTR)popup, L"");
    BuildPopup(CMenu::FromHandle(hSource), popup);
    return TRUE;
}

void CMenuEx::BuildPopup(CMenu* source, HMENU target)
{
    CMenuEx* sub = new CMenuEx;
    sub->Attach(target);
    m_subMenus.push_back(sub);
    if (!source)
        return;
    int count = source->GetMenuItemCount();
    for (int pos = 0; pos < count; ++pos)
    {
        UINT id = source->GetMenuItemID(pos);
        if (id == 0)
        {
            ::AppendMenuW(target, MF_SEPARATOR, 0, NULL);
            Item* item = NewItem(CString(), 0);
            // Still a separator to the system, so that it can be neither
            // highlighted nor chosen (a chosen line would send a command no
            // one owns); only its drawing is ours.
            ::ModifyMenuW(target, pos, MF_BYPOSITION | MF_OWNERDRAW | MF_SEPARATOR, (UINT_PTR)-1, (LPCWSTR)item);
        }
        else if (id == (UINT)-1)
        {
            HMENU popup = ::CreatePopupMenu();
            CString text = MenuText(source, pos, MF_BYPOSITION);
            ::InsertMenuW(target, pos, MF_BYPOSITION | MF_POPUP, (UINT_PTR)popup, text);
            Item* item = NewItem(text, -1);
            ::ModifyMenuW(target, pos, MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP, (UINT_PTR)popup, (LPCWSTR)item);
            BuildPopup(source->GetSubMenu(pos), popup);
        }
        else
        {
            Item* item = NewItem(MenuText(source, id, MF_BYCOMMAND), (int)id);
            UINT state = source->GetMenuState(pos, MF_BYPOSITION) & 0xFF;
            ::AppendMenuW(target, state | MF_OWNERDRAW, id, (LPCWSTR)item);
        }
    }
}

void CMenuEx::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    Item* item = (Item*)lpMIS->itemData;
    if (!item)
        return;
    if (item->id == 0)
    {
        lpMIS->itemHeight = m_separatorHeight;
        return;
    }
    HWND hwnd = MeasureWindow();
    HDC hdc = ::GetDC(hwnd);
    SIZE size{};
    ::GetTextExtentPoint32W(hdc, item->text, item->text.GetLength(), &size);
    ::ReleaseDC(hwnd, hdc);
    lpMIS->itemWidth = size.cx + m_itemWidth + (item->id == -1 ? 15 : 0);
    lpMIS->itemHeight = m_itemHeight + 4;
}

void CMenuEx::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    Item* item = (Item*)lpDIS->itemData;
    if (!item)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    UINT state = lpDIS->itemState;
    pDC->SetTextColor((state & ODS_SELECTED) ? m_selectedTextColour : m_textColour);
    pDC->FillSolidRect(&rect, m_backColour);
    pDC->FillSolidRect(CRect(rect.left, rect.top, rect.left + m_itemWidth + 5, rect.bottom), m_imageColumnColour);
    pDC->SetBkMode(TRANSPARENT);
    CRect textRect(rect.left + m_itemWidth + 10, rect.top, rect.right, rect.bottom);
    if (item->id == 0)
    {
        int middle = (rect.top + rect.bottom) / 2;
        pDC->Draw3dRect(CRect(textRect.left, middle, textRect.right - 2, middle + 2), RGB(0x40, 0x00, 0x80),
                        RGB(0xFF, 0xFF, 0xFF));
    }
    else
    {
        if (state & ODS_SELECTED)
        {
            CPen pen(PS_SOLID, 1, RGB(0x31, 0x6A, 0xC5));
            CBrush brush(m_selectionColour);
            CPen* oldPen = pDC->SelectObject(&pen);
            CBrush* oldBrush = pDC->SelectObject(&brush);
            pDC->Rectangle(&rect);
            pDC->SelectObject(oldPen);
            pDC->SelectObject(oldBrush);
        }
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
        if (state & ODS_GRAYED)
            pDC->DrawState(textRect.TopLeft(), textRect.Size(), item->text, DST_PREFIXTEXT | DSS_DISABLED, TRUE, 0,
                           (HBRUSH)NULL);
        else
            pDC->DrawText(item->text, &textRect, format);
        if (state & ODS_CHECKED)
        {
            CRect cell(rect.left, rect.top, rect.left + 24, rect.top + 24);
            const wchar_t* tick = L"\x221A";
            if (state & ODS_GRAYED)
            {
                CRect raised(cell.left + 1, cell.top + 1, cell.right, cell.bottom);
                pDC->SetTextColor(RGB(255, 255, 255));
                pDC->DrawText(tick, 1, &raised, format);
                pDC->SetTextColor(RGB(0x7F, 0x7F, 0x7F));
                pDC->DrawText(tick, 1, &cell, format);
            }
            else
            {
                cell.DeflateRect(2, 2);
                pDC->SetTextColor(m_textColour);
                pDC->DrawText(tick, 1, &cell, format);
            }
        }
    }
    pDC->SetBkMode(OPAQUE);
}
