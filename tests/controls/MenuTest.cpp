// Owner-drawn menus: building from menu templates and from menus built in
// code, records, measuring, drawing, mnemonics and clean-up.
#include "ControlsPicture.h"
#include "DrawMenu.h"
#include "MenuEx.h"
#include "WindowPixels.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
// Writes a menu template (the RT_MENU format) item by item.
class MenuTemplate
{
public:
    MenuTemplate() { m_words = {0, 0}; }
    MenuTemplate& Popup(const wchar_t* text, bool last = false)
    {
        m_words.push_back(MF_POPUP | (last ? MF_END : 0));
        Text(text);
        return *this;
    }
    MenuTemplate& Item(const wchar_t* text, WORD id, bool last = false)
    {
        m_words.push_back(last ? MF_END : 0);
        m_words.push_back(id);
        Text(text);
        return *this;
    }
    MenuTemplate& Separator(bool last = false) { return Item(L"", 0, last); }
    const void* Data() const { return m_words.data(); }
    size_t Size() const { return m_words.size() * 2; }

private:
    void Text(const wchar_t* text)
    {
        for (; *text; ++text)
            m_words.push_back(*text);
        m_words.push_back(0);
    }
    std::vector<WORD> m_words;
};

UINT StateAt(HMENU menu, int pos)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoW(menu, pos, TRUE, &info);
    return info.fType;
}

int MenuFontWidth(const CString& text)
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    HFONT font = ::CreateFontIndirectW(&ncm.lfMenuFont);
    HDC dc = ::GetDC(::GetDesktopWindow());
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, text.GetLength(), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(::GetDesktopWindow(), dc);
    ::DeleteObject(font);
    return size.cx;
}

CDrawMenu* SubMenuOf(CDrawMenu& menu, int pos)
{
    CMenu* sub = CMenu::FromHandlePermanent(::GetSubMenu(menu.m_hMenu, pos));
    return sub && sub->IsKindOf(RUNTIME_CLASS(CDrawMenu)) ? static_cast<CDrawMenu*>(sub) : nullptr;
}
} // namespace

TEST(DrawMenu, LastTopLevelPopupIsClosedByItsLastItem)
{
    MenuTemplate t;
    t.Popup(L"&File").Item(L"&Open", 101).Item(L"E&xit", 102, true);
    t.Popup(L"&Help", true).Item(L"&About", 201).Popup(L"More", true).Item(L"x", 301, true);
    CDrawMenu menu;
    ASSERT_TRUE(menu.LoadMenuTemplate(t.Data(), t.Size()));
    ASSERT_EQ(2, menu.GetMenuItemCount());
    CDrawMenu* help = SubMenuOf(menu, 1);
    ASSERT_NE(nullptr, help);
    EXPECT_EQ(2, help->GetMenuItemCount());
    ASSERT_NE(nullptr, SubMenuOf(*help, 1));
    EXPECT_EQ(1, SubMenuOf(*help, 1)->GetMenuItemCount());
    EXPECT_TRUE(menu.m_loaded);
}

TEST(DrawMenu, TopLevelIsPlainAndPopupLevelsAreOwnerDrawn)
{
    MenuTemplate t;
    t.Popup(L"&File").Item(L"&Open", 101).Separator().Item(L"E&xit", 102, true);
    t.Item(L"&Go", 55, true);
    CDrawMenu menu;
    ASSERT_TRUE(menu.LoadMenuTemplate(t.Data(), t.Size()));
    EXPECT_EQ(0u, StateAt(menu.m_hMenu, 0) & MFT_OWNERDRAW);
    EXPECT_EQ(0u, StateAt(menu.m_hMenu, 1) & MFT_OWNERDRAW);
    EXPECT_EQ((UINT)(MF_BYPOSITION | MF_POPUP), menu.GetRecord(0)->m_menuFlags);
    EXPECT_EQ((UINT)MF_BYPOSITION, menu.GetRecord(1)->m_menuFlags);
    CDrawMenu* file = SubMenuOf(menu, 0);
    ASSERT_NE(nullptr, file);
    for (int pos = 0; pos < 3; ++pos)
        EXPECT_NE(0u, StateAt(file->m_hMenu, pos) & MFT_OWNERDRAW) << pos;
    EXPECT_NE(0u, file->GetRecord(1)->m_menuFlags & MF_SEPARATOR);
    CString text;
    EXPECT_TRUE(menu.GetMenuText(102, text, MF_BYCOMMAND));
    EXPECT_EQ(CString(L"E&xit"), text);
    EXPECT_FALSE(menu.GetMenuText(999, text, MF_BYCOMMAND));
    EXPECT_FALSE(file->GetMenuText(3, text, MF_BYPOSITION));
}

TEST(DrawMenu, TextsBeforeATabArePaddedToTheWidestText)
{
    MenuTemplate t;
    t.Popup(L"Edit", true).Item(L"Cut\tCtrl+X", 1).Item(L"Select everything\tCtrl+A", 2).Item(L"Wide item without tab", 3, true);
    CDrawMenu menu;
    ASSERT_TRUE(menu.LoadMenuTemplate(t.Data(), t.Size()));
    CDrawMenu* edit = SubMenuOf(menu, 0);
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(CString(L"Wide item without tab"), edit->GetRecord(2)->m_text);
    int widest = MenuFontWidth(L"Wide item without tab ");
    for (int i = 0; i < 2; ++i)
    {
        CString text = edit->GetRecord(i)->m_text;
        int tab = text.Find(L'\t');
        ASSERT_GT(tab, 0);
        EXPECT_GE(MenuFontWidth(text.Left(tab)), widest) << i;
        EXPECT_EQ(L' ', text[tab - 1]);
    }
    EXPECT_EQ(CString(L"\tCtrl+X"), edit->GetRecord(0)->m_text.Mid(edit->GetRecord(0)->m_text.Find(L'\t')));
}

TEST(DrawMenu, MalformedTemplatesAreRefused)
{
    MenuTemplate good;
    good.Popup(L"File", true).Item(L"Open", 1, true);
    CDrawMenu menu;
    // Cut inside the last item, and with a header offset past the end.
    EXPECT_FALSE(menu.LoadMenuTemplate(good.Data(), good.Size() - 3));
    EXPECT_EQ(nullptr, menu.m_hMenu);
    WORD badHeader[] = {0, 200, 0};
    EXPECT_FALSE(menu.LoadMenuTemplate(badHeader, sizeof(badHeader)));
    EXPECT_FALSE(menu.LoadMenu(65000u)); // no such resource
    EXPECT_TRUE(menu.LoadMenuTemplate(good.Data(), good.Size()));
}

TEST(DrawMenu, MnemonicsMatchIgnoringCaseFirstMatchWins)
{
    MenuTemplate t;
    t.Popup(L"Top", true).Item(L"&Open", 1).Item(L"S&ave", 2).Item(L"&Again", 3, true);
    CDrawMenu menu;
    ASSERT_TRUE(menu.LoadMenuTemplate(t.Data(), t.Size()));
    CDrawMenu* sub = SubMenuOf(menu, 0);
    struct Case { UINT ch; LRESULT expected; } cases[] = {
        {'a', 0x20001}, {'A', 0x20001}, {'o', 0x20000}, {'z', 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CDrawMenu::FindKeyboardShortcut(c.ch, MF_POPUP, sub)) << (char)c.ch;
    EXPECT_EQ(0, CDrawMenu::FindKeyboardShortcut('a', 0, sub));
    EXPECT_EQ(0, CDrawMenu::FindKeyboardShortcut('a', MF_POPUP, nullptr));
    // An item put in behind the records' back is picked up before the search.
    ::AppendMenuW(sub->m_hMenu, MF_STRING, 4, L"&Zoom");
    EXPECT_EQ(0x20003, CDrawMenu::FindKeyboardShortcut('z', MF_POPUP, sub));
    EXPECT_EQ(4, sub->GetRecordCount());
}

TEST(DrawMenu, MeasuresSeparatorsAndItems)
{
    MenuTemplate t;
    t.Popup(L"Top", true).Item(L"Open", 1).Separator(true);
    CDrawMenu menu;
    ASSERT_TRUE(menu.LoadMenuTemplate(t.Data(), t.Size()));
    CDrawMenu* sub = SubMenuOf(menu, 0);
    int gap = CDrawMenu::IsFlatStyle() ? 7 : 4;
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemData = (ULONG_PTR)sub->GetRecord(1);
    sub->MeasureItem(&mis);
    EXPECT_EQ(0u, mis.itemWidth);
    EXPECT_EQ((UINT)std::max(::GetSystemMetrics(SM_CYMENU) >> 1, (15 + gap) / 2), mis.itemHeight);
    mis.itemData = (ULONG_PTR)sub->GetRecord(0);
    sub->MeasureItem(&mis);
    EXPECT_GE((int)mis.itemHeight, ::GetSystemMetrics(SM_CYMENU));
    EXPECT_GE((int)mis.itemHeight, 15 + gap);
    EXPECT_GT((int)mis.itemWidth, 2 * 16);
}

TEST(DrawMenu, DestroyingForgetsAllSubMenuHandles)
{
    MenuTemplate t;
    t.Popup(L"A").Item(L"1", 1, true).Popup(L"B", true).Popup(L"C", true).Item(L"2", 2, true);
    CDrawMenu menu;
    ASSERT_TRUE(menu.LoadMenuTemplate(t.Data(), t.Size()));
    HMENU a = ::GetSubMenu(menu.m_hMenu, 0), b = ::GetSubMenu(menu.m_hMenu, 1);
    HMENU c = ::GetSubMenu(b, 0);
    EXPECT_TRUE(CDrawMenu::IsMenu(a) && CDrawMenu::IsMenu(b) && CDrawMenu::IsMenu(c));
    menu.DestroyMenu();
    EXPECT_FALSE(CDrawMenu::IsMenu(a) || CDrawMenu::IsMenu(b) || CDrawMenu::IsMenu(c));
    EXPECT_FALSE(::IsMenu(c));
    EXPECT_EQ(nullptr, menu.m_hMenu);
}

TEST(DrawMenu, LightenColor)
{
    EXPECT_EQ(RGB(255, 255, 255), LightenColor(RGB(0, 100, 200), 1.0));
    EXPECT_EQ(RGB(127, 177, 227), LightenColor(RGB(0, 100, 200), 0.5));
    EXPECT_EQ(RGB(0, 100, 200), LightenColor(RGB(0, 100, 200), 0.0));
    EXPECT_EQ(RGB(0, 100, 200), LightenColor(RGB(0, 100, 200), 1.5));
}

TEST(MenuEx, CopiesTheMainMenuWithOwnerDrawnPopups)
{
    CMenuEx menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MENU_MAIN));
    ASSERT_EQ(1, menu.GetMenuItemCount());
    EXPECT_EQ(0u, StateAt(menu.m_hMenu, 0) & MFT_OWNERDRAW);
    HMENU main = ::GetSubMenu(menu.m_hMenu, 0);
    ASSERT_NE(nullptr, main);
    int count = ::GetMenuItemCount(main);
    ASSERT_GT(count, 3);
    for (int pos = 0; pos < count; ++pos)
        EXPECT_NE(0u, StateAt(main, pos) & MFT_OWNERDRAW) << pos;
    ASSERT_NE(nullptr, ::GetSubMenu(main, 0)); // the nested presence menu

    CMenu* popup = CMenu::FromHandlePermanent(main);
    ASSERT_NE(nullptr, popup);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    ::GetMenuItemInfoW(main, 0, TRUE, &info);
    auto* nested = (CMenuEx::Item*)info.dwItemData;
    ASSERT_NE(nullptr, nested);
    EXPECT_EQ(-1, nested->id);
    ::GetMenuItemInfoW(main, 1, TRUE, &info);
    auto* command = (CMenuEx::Item*)info.dwItemData;
    EXPECT_EQ(ID_SETTINGS, command->id);

    // A pop-up item measures 15 pixels wider than a command of the same text.
    MEASUREITEMSTRUCT mis{};
    mis.itemData = (ULONG_PTR)nested;
    popup->MeasureItem(&mis);
    UINT popupWidth = mis.itemWidth;
    EXPECT_EQ(24u, mis.itemHeight);
    CMenuEx::Item same;
    same.text = nested->text;
    same.id = 5;
    mis.itemData = (ULONG_PTR)&same;
    popup->MeasureItem(&mis);
    EXPECT_EQ(popupWidth, mis.itemWidth + 15);
    CMenuEx::Item separator;
    mis.itemData = (ULONG_PTR)&separator;
    mis.itemHeight = 0;
    popup->MeasureItem(&mis);
    EXPECT_EQ(10u, mis.itemHeight);
}

TEST(MenuEx, MissingResourceGivesAnEmptyBar)
{
    CMenuEx menu;
    EXPECT_TRUE(menu.LoadMenu(64999));
    EXPECT_EQ(0, menu.GetMenuItemCount());
}

TEST(MenuEx, TakesOverAPopupBuiltInCodeWithItsStates)
{
    HMENU built = ::CreatePopupMenu();
    ::AppendMenuW(built, MF_STRING, 101, L"Play");
    ::AppendMenuW(built, MF_STRING | MF_GRAYED, 102, L"Card");
    ::AppendMenuW(built, MF_SEPARATOR, 0, NULL);
    ::AppendMenuW(built, MF_STRING | MF_CHECKED, 103, L"Loop");
    HMENU nested = ::CreatePopupMenu();
    ::AppendMenuW(nested, MF_STRING, 201, L"Inner");
    ::AppendMenuW(built, MF_POPUP, (UINT_PTR)nested, L"More");
    CMenuEx menu;
    ASSERT_TRUE(menu.LoadPopup(built));
    ::DestroyMenu(built); // the copy stands on its own
    ASSERT_EQ(1, menu.GetMenuItemCount());
    EXPECT_EQ(0u, StateAt(menu.m_hMenu, 0) & MFT_OWNERDRAW) << "the bar stays plain";
    HMENU popup = ::GetSubMenu(menu.m_hMenu, 0);
    ASSERT_NE(nullptr, popup);
    CMenu* drawer = CMenu::FromHandlePermanent(popup);
    ASSERT_NE(nullptr, drawer);
    EXPECT_TRUE(drawer->IsKindOf(RUNTIME_CLASS(CMenuEx)));

    struct Case
    {
        UINT type, state;
        const wchar_t* text;
        int id;
    } cases[] = {
        {MFT_OWNERDRAW, 0, L"Play", 101},
        {MFT_OWNERDRAW, MF_GRAYED, L"Card", 102},
        {MFT_OWNERDRAW | MFT_SEPARATOR, 0, L"", 0}, // never highlighted nor chosen
        {MFT_OWNERDRAW, MF_CHECKED, L"Loop", 103},
        {MFT_OWNERDRAW, 0, L"More", -1},
    };
    ASSERT_EQ(5, ::GetMenuItemCount(popup));
    for (int pos = 0; pos < 5; ++pos)
    {
        const Case& c = cases[pos];
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_ID;
        ASSERT_TRUE(::GetMenuItemInfoW(popup, pos, TRUE, &info));
        EXPECT_EQ(c.type, info.fType & (MFT_OWNERDRAW | MFT_SEPARATOR)) << pos;
        if (c.id)
            EXPECT_EQ(c.state, info.fState & (MF_GRAYED | MF_CHECKED)) << pos;
        auto* item = (CMenuEx::Item*)info.dwItemData;
        ASSERT_NE(nullptr, item) << pos;
        EXPECT_EQ(CString(c.text), item->text) << pos;
        EXPECT_EQ(c.id, item->id) << pos;
        if (c.id > 0)
            EXPECT_EQ((UINT)c.id, info.wID) << pos;
    }
    HMENU inner = ::GetSubMenu(popup, 4);
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(201u, ::GetMenuItemID(inner, 0));
    EXPECT_NE(0u, StateAt(inner, 0) & MFT_OWNERDRAW);

    CMenuEx none;
    EXPECT_FALSE(none.LoadPopup(NULL));
    EXPECT_FALSE(none.LoadPopup(built)); // destroyed above
}

TEST(MenuEx, DrawsItsItemsWithTheFixedColours)
{
    // The main menu's popup as a user would see it, with a checked item, a
    // checked disabled item, a selected item and a selected disabled item.
    CMenuEx menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MENU_MAIN));
    HMENU popup = ::GetSubMenu(menu.m_hMenu, 0);
    ASSERT_NE(nullptr, popup);
    CMenu* drawer = CMenu::FromHandlePermanent(popup);
    ASSERT_NE(nullptr, drawer);
    ::CheckMenuItem(popup, ID_ADD_BUDDY, MF_BYCOMMAND | MF_CHECKED);
    ::CheckMenuItem(popup, ID_INVITE, MF_BYCOMMAND | MF_CHECKED);
    ::EnableMenuItem(popup, ID_INVITE, MF_BYCOMMAND | MF_GRAYED);
    ::EnableMenuItem(popup, ID_HELP_PAGE, MF_BYCOMMAND | MF_GRAYED);
    const UINT selected[] = {ID_FEEDBACK, ID_HELP_PAGE};

    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    HFONT font = ::CreateFontIndirectW(&ncm.lfMenuFont);

    // Measure every item, then lay them out one below the other.
    int count = ::GetMenuItemCount(popup);
    std::vector<RECT> rects;
    std::vector<UINT> states;
    int width = 0, height = 0;
    for (int pos = 0; pos < count; ++pos)
    {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_DATA | MIIM_ID;
        ::GetMenuItemInfoW(popup, pos, TRUE, &info);
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
        drawer->MeasureItem(&mis);
        width = std::max(width, (int)mis.itemWidth + 40);
        rects.push_back({0, height, 0, height + (int)mis.itemHeight});
        height += mis.itemHeight;
        UINT state = ((info.fState & MFS_GRAYED) ? ODS_GRAYED : 0) | ((info.fState & MFS_CHECKED) ? ODS_CHECKED : 0);
        for (UINT id : selected)
            if (info.wID == id)
                state |= ODS_SELECTED;
        states.push_back(state);
    }
    ASSERT_EQ(12, count);

    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(NULL);
    HBITMAP dib = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ oldBitmap = ::SelectObject(dc, dib);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    for (int pos = 0; pos < count; ++pos)
    {
        rects[pos].right = width;
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_ID;
        ::GetMenuItemInfoW(popup, pos, TRUE, &info);
        DRAWITEMSTRUCT dis{ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, states[pos], (HWND)popup, dc, rects[pos],
                           info.dwItemData};
        drawer->DrawItem(&dis);
    }
    WindowPixels picture(dc, width, height);
    EXPECT_TRUE(picture.SavePng(ControlsPicturePath(L"menu-ex-main-menu.png")));
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(dib);
    ::DeleteDC(dc);
    ::DeleteObject(font);

    const COLORREF back = RGB(0xFC, 0xFC, 0xFC), column = RGB(0xEE, 0xED, 0xF0);
    const COLORREF frame = RGB(0x31, 0x6A, 0xC5), fill = RGB(0xC1, 0xD2, 0xEE);
    auto at = [&](UINT id) {
        for (int pos = 0; pos < count; ++pos)
            if (::GetMenuItemID(popup, pos) == id)
                return rects[pos];
        return RECT{};
    };
    auto cell = [](const RECT& r) { return RECT{r.left, r.top, r.left + 24, r.bottom}; };

    // Plain: the pale image column, then the background.
    RECT plain = at(ID_SETTINGS);
    EXPECT_EQ(24, plain.bottom - plain.top);
    EXPECT_EQ(column, picture.At(2, plain.top + 2));
    EXPECT_EQ(back, picture.At(width - 3, plain.top + 2));
    EXPECT_EQ(0, picture.Count(frame, &plain));
    // Selected, enabled or not: the box over the whole item.
    for (UINT id : selected)
    {
        RECT r = at(id);
        EXPECT_EQ(frame, picture.At(0, r.top)) << id;
        EXPECT_EQ(frame, picture.At(width - 1, r.bottom - 1)) << id;
        EXPECT_EQ(fill, picture.At(width - 3, r.top + 2)) << id;
        EXPECT_EQ(fill, picture.At(2, r.top + 2)) << id;
    }
    // Checked: the tick in the text colour; checked and disabled: engraved
    // in grey. Text is smoothed, so the tick is told by its darkest pixel.
    auto darkest = [&](const RECT& area) {
        int least = 255;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
            {
                COLORREF p = picture.At(x, y);
                least = std::min(least, (GetRValue(p) + GetGValue(p) + GetBValue(p)) / 3);
            }
        return least;
    };
    RECT checked = cell(at(ID_ADD_BUDDY)), engraved = cell(at(ID_INVITE)), unchecked = cell(plain);
    const int columnLevel = (0xEE + 0xED + 0xF0) / 3;
    EXPECT_EQ(columnLevel, darkest(unchecked)) << "no tick";
    EXPECT_LT(darkest(checked), 0x70) << "a dark tick";
    EXPECT_GE(darkest(engraved), 0x70) << "a grey tick";
    EXPECT_LT(darkest(engraved), 0xC0) << "a grey tick";
    // Separators: 10 high, a line across the text part, the column kept.
    int separators = 0;
    for (int pos = 0; pos < count; ++pos)
    {
        if (!(::GetMenuState(popup, pos, MF_BYPOSITION) & MF_SEPARATOR))
            continue;
        ++separators;
        const RECT& r = rects[pos];
        int middle = (r.top + r.bottom) / 2;
        EXPECT_EQ(10, r.bottom - r.top) << pos;
        EXPECT_EQ(RGB(0x40, 0x00, 0x80), picture.At(40, middle)) << pos;
        EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), picture.At(40, middle + 1)) << pos;
        EXPECT_EQ(column, picture.At(2, middle)) << pos;
        EXPECT_EQ(back, picture.At(40, r.top + 1)) << pos;
    }
    EXPECT_EQ(2, separators);
}

TEST(DrawMenu, CheckedItemsShowATickOrADot)
{
    MenuTemplate t;
    t.Popup(L"Top", true).Item(L"Tick", 1).Item(L"Dot", 2, true);
    CDrawMenu menu;
    ASSERT_TRUE(menu.LoadMenuTemplate(t.Data(), t.Size()));
    CDrawMenu* sub = SubMenuOf(menu, 0);
    ::CheckMenuItem(sub->m_hMenu, 1, MF_CHECKED);
    ::CheckMenuItem(sub->m_hMenu, 2, MF_CHECKED);
    CBitmap dot;
    dot.CreateBitmap(8, 8, 1, 1, NULL);
    ::SetMenuItemBitmaps(sub->m_hMenu, 2, MF_BYCOMMAND, NULL, (HBITMAP)dot.GetSafeHandle());

    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 100, -20, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(NULL);
    HBITMAP dib = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = ::SelectObject(dc, dib);
    const COLORREF mark = ::GetSysColor(COLOR_MENUTEXT);
    for (int id = 1; id <= 2; ++id)
    {
        DRAWITEMSTRUCT dis{ODT_MENU, 0, (UINT)id, ODA_DRAWENTIRE, ODS_CHECKED, (HWND)sub->m_hMenu, dc, {0, 0, 100, 20},
                           (ULONG_PTR)sub->GetRecord(id - 1)};
        sub->DrawItem3D(&dis);
        if (id == 1)
        {
            EXPECT_EQ(mark, ::GetPixel(dc, 11, 6)); // the tick's last column
            EXPECT_NE(mark, ::GetPixel(dc, 10, 10));
        }
        else
            EXPECT_EQ(mark, ::GetPixel(dc, 10, 10)); // inside the dot
    }
    ::SelectObject(dc, old);
    ::DeleteObject(dib);
    ::DeleteDC(dc);
}

TEST(DrawMenu, FlatStyleKeepsTheImageColumnAndHighlightsNoDisabledItem)
{
    MenuTemplate t;
    t.Popup(L"Top", true).Item(L"Item", 1).Separator(true);
    CDrawMenu menu;
    ASSERT_TRUE(menu.LoadMenuTemplate(t.Data(), t.Size()));
    CDrawMenu* sub = SubMenuOf(menu, 0);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 100, -20, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(NULL);
    HBITMAP dib = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = ::SelectObject(dc, dib);
    const COLORREF face = ::GetSysColor(COLOR_3DFACE), window = ::GetSysColor(COLOR_WINDOW);

    DRAWITEMSTRUCT separator{ODT_MENU, 0, 0, ODA_DRAWENTIRE, 0, (HWND)sub->m_hMenu, dc, {0, 0, 100, 10},
                             (ULONG_PTR)sub->GetRecord(1)};
    sub->DrawItemFlat(&separator);
    EXPECT_EQ(face, ::GetPixel(dc, 5, 3));    // the image column
    EXPECT_EQ(window, ::GetPixel(dc, 80, 1)); // the item beside it

    DRAWITEMSTRUCT disabled{ODT_MENU, 0, 1, ODA_DRAWENTIRE, ODS_SELECTED | ODS_GRAYED, (HWND)sub->m_hMenu, dc,
                            {0, 0, 100, 20}, (ULONG_PTR)sub->GetRecord(0)};
    sub->DrawItemFlat(&disabled);
    EXPECT_EQ(window, ::GetPixel(dc, 95, 10)); // no selection box
    EXPECT_EQ(face, ::GetPixel(dc, 5, 10));

    // Enabled and selected: the light selection box over the whole item.
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    DRAWITEMSTRUCT selected = disabled;
    selected.itemState = ODS_SELECTED;
    sub->DrawItemFlat(&selected);
    EXPECT_EQ(LightenColor(highlight, 0.7), ::GetPixel(dc, 95, 10));
    EXPECT_EQ(highlight, ::GetPixel(dc, 0, 10)); // its frame

    // Checked without an image: a box centred in the image column.
    DRAWITEMSTRUCT checked = disabled;
    checked.itemState = ODS_CHECKED;
    sub->DrawItemFlat(&checked);
    EXPECT_EQ(highlight, ::GetPixel(dc, 4, 2)); // the box's frame
    EXPECT_EQ(LightenColor(highlight, 0.85), ::GetPixel(dc, 5, 15));
    EXPECT_EQ(window, ::GetPixel(dc, 95, 10));
    ::SelectObject(dc, old);
    ::DeleteObject(dib);
    ::DeleteDC(dc);
}
