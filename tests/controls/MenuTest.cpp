// Owner-drawn menus: building from menu templates, records, measuring,
// mnemonics and clean-up.
#include "DrawMenu.h"
#include "MenuEx.h"
#include "resource.h"

#include <gtest/gtest.h>

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
