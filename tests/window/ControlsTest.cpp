// Control wrappers over real controls: list view, tree view, rich edit, list
// and combo boxes, menus from resources, bitmaps and image lists.
#include "Framework.h"
#include "WindowTestRes.h"
#include <gtest/gtest.h>
#include <vector>

namespace
{
class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, L"controls", WS_POPUP, 0, 0, 400, 300, NULL, NULL));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    CWnd m_parent;
};

int CALLBACK CompareByDataDescending(LPARAM a, LPARAM b, LPARAM) { return (int)(b - a); }

TEST_F(ControlsTest, ListViewReportItemsDataSelectionChecksAndSorting)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 300, 200), &m_parent, 1));
    list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    EXPECT_EQ((DWORD)(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT), list.GetExtendedStyle());
    EXPECT_EQ(0, list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100));
    EXPECT_EQ(1, list.InsertColumn(1, L"Artist", LVCFMT_LEFT, 100));
    EXPECT_EQ(2, list.GetHeaderCtrl()->GetItemCount());

    const wchar_t* names[] = {L"one", L"two", L"three"};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(i, list.InsertItem(i, names[i]));
        list.SetItemText(i, 1, L"artist");
        list.SetItemData(i, 10 + i);
    }
    // A text longer than the first buffer comes back whole.
    std::wstring longText(700, L'x');
    list.SetItemText(1, 1, longText.c_str());
    EXPECT_EQ((int)longText.size(), list.GetItemText(1, 1).GetLength());
    EXPECT_STREQ(L"three", list.GetItemText(2, 0));
    EXPECT_EQ(11u, list.GetItemData(1));

    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(2u, list.GetSelectedCount());
    std::vector<int> selected;
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos != NULL;)
        selected.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ((std::vector<int>{0, 2}), selected);

    list.SetCheck(1, TRUE);
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_FALSE(list.GetCheck(0));

    ASSERT_TRUE(list.SortItems(CompareByDataDescending, 0));
    EXPECT_STREQ(L"three", list.GetItemText(0, 0));
    EXPECT_EQ(10u, list.GetItemData(2));

    CRect rcItem;
    ASSERT_TRUE(list.GetItemRect(0, &rcItem, LVIR_BOUNDS));
    UINT flags = 0;
    EXPECT_EQ(0, list.HitTest(rcItem.CenterPoint(), &flags));
    EXPECT_TRUE(flags & LVHT_ONITEM);
}

TEST_F(ControlsTest, TreeViewItemsTextDataAndNavigation)
{
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | TVS_HASBUTTONS, CRect(0, 0, 200, 200), &m_parent, 2));
    HTREEITEM root = tree.InsertItem(L"root");
    HTREEITEM a = tree.InsertItem(L"a", root);
    HTREEITEM b = tree.InsertItem(L"b", root);
    tree.SetItemData(b, 99);
    EXPECT_EQ(root, tree.GetRootItem());
    EXPECT_EQ(a, tree.GetChildItem(root));
    EXPECT_EQ(b, tree.GetNextSiblingItem(a));
    EXPECT_EQ(root, tree.GetParentItem(b));
    EXPECT_EQ(99u, tree.GetItemData(b));
    EXPECT_STREQ(L"b", tree.GetItemText(b));
    EXPECT_TRUE(tree.ItemHasChildren(root) || tree.GetChildItem(root) != NULL);
    EXPECT_EQ(3u, tree.GetCount());
    tree.DeleteItem(a);
    EXPECT_EQ(b, tree.GetChildItem(root));
}

TEST_F(ControlsTest, RichEditTextSelectionAndFormats)
{
    ASSERT_TRUE(AfxInitRichEdit2());
    CRichEditCtrl edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | ES_MULTILINE, CRect(0, 0, 200, 100), &m_parent, 3));
    edit.SetEventMask(ENM_CHANGE | ENM_LINK);
    EXPECT_EQ((DWORD)(ENM_CHANGE | ENM_LINK), edit.GetEventMask());
    edit.SetWindowText(L"hello world");
    edit.SetSel(6, 11);
    EXPECT_STREQ(L"world", edit.GetSelText());
    edit.ReplaceSel(L"there");
    EXPECT_STREQ(L"hello there", edit.GetTextRange(0, -1));
    EXPECT_EQ(11, edit.GetTextLength());

    CHARFORMAT2W cf = {};
    cf.dwMask = CFM_COLOR | CFM_BOLD;
    cf.dwEffects = CFE_BOLD;
    cf.crTextColor = RGB(200, 0, 0);
    edit.SetSel(0, 5);
    EXPECT_TRUE(edit.SetSelectionCharFormat(cf));
    CHARFORMAT2W got = {};
    edit.GetSelectionCharFormat(got);
    EXPECT_EQ(RGB(200, 0, 0), got.crTextColor);
    EXPECT_TRUE(got.dwEffects & CFE_BOLD);
    edit.LimitText(20);
    EXPECT_EQ(20, edit.GetLimitText());
}

TEST_F(ControlsTest, ListAndComboBoxesKeepTextsAndItemData)
{
    CListBox listBox;
    ASSERT_TRUE(listBox.Create(WS_CHILD | LBS_NOTIFY, CRect(0, 0, 100, 100), &m_parent, 4));
    listBox.AddString(L"alpha");
    int i = listBox.AddString(L"beta");
    listBox.SetItemData(i, 7);
    CString text;
    listBox.GetText(i, text);
    EXPECT_STREQ(L"beta", text);
    EXPECT_EQ(7u, listBox.GetItemData(i));
    listBox.GetText(99, text); // no such item: empty, no overrun
    EXPECT_TRUE(text.IsEmpty());

    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 100, 100), &m_parent, 5));
    combo.AddString(L"x");
    combo.SetItemDataPtr(combo.AddString(L"y"), &combo);
    combo.SetCurSel(1);
    combo.GetLBText(combo.GetCurSel(), text);
    EXPECT_STREQ(L"y", text);
    EXPECT_EQ(&combo, combo.GetItemDataPtr(1));
}

TEST_F(ControlsTest, ToolTipToolsAreAddedUpdatedAndRemovedByWindow)
{
    CStatic label;
    ASSERT_TRUE(label.Create(L"label", WS_CHILD, CRect(0, 0, 50, 20), &m_parent, 6));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&m_parent));
    tip.SetMaxTipWidth(300);
    ASSERT_TRUE(tip.AddTool(&label, L"first"));
    EXPECT_EQ(1, tip.GetToolCount());
    tip.UpdateTipText(L"second", &label);
    TTTOOLINFOW ti;
    wchar_t text[80] = L"";
    ASSERT_TRUE(tip.GetToolInfo(ti, &label));
    EXPECT_EQ(m_parent.m_hWnd, ti.hwnd); // the parent hears the tool's notifications
    ti.lpszText = text;
    tip.SendMessage(TTM_GETTEXTW, _countof(text), (LPARAM)&ti);
    EXPECT_STREQ(L"second", text);
    tip.DelTool(&label);
    EXPECT_EQ(0, tip.GetToolCount());
}

TEST(WindowResources, MenusBitmapsAndImageListsFromTheProgramsResources)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    CMenu* pPopup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, pPopup);
    EXPECT_EQ(2, pPopup->GetMenuItemCount());
    EXPECT_EQ((UINT)ID_TEST_ITEM2, pPopup->GetMenuItemID(1));
    CString text;
    pPopup->GetMenuString(ID_TEST_ITEM1, text, MF_BYCOMMAND);
    EXPECT_STREQ(L"Item 1", text);
    pPopup->CheckMenuItem(ID_TEST_ITEM1, MF_CHECKED | MF_BYCOMMAND);
    EXPECT_TRUE(pPopup->GetMenuState(ID_TEST_ITEM1, MF_BYCOMMAND) & MF_CHECKED);
    pPopup->EnableMenuItem(ID_TEST_ITEM2, MF_GRAYED | MF_BYCOMMAND);
    EXPECT_TRUE(pPopup->GetMenuState(ID_TEST_ITEM2, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(pPopup->DeleteMenu(0, MF_BYPOSITION));
    EXPECT_EQ(1, pPopup->GetMenuItemCount());

    // The plain bitmap keeps its colours; the system-colour load maps the grays.
    CBitmap plain;
    ASSERT_TRUE(plain.LoadBitmap(IDB_TEST_BITMAP));
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceW(hInst, MAKEINTRESOURCEW(IDB_TEST_BITMAP), RT_BITMAP);
    ASSERT_NE((HRSRC)NULL, hRsrc);
    CBitmap mapped;
    ASSERT_TRUE(mapped.Attach(AfxLoadSysColorBitmap(hInst, hRsrc)));
    CClientDC screen(NULL);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap* pOld = dc.SelectObject(&plain);
    EXPECT_EQ(RGB(192, 192, 192), dc.GetPixel(2, 1));
    EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(0, 0));
    dc.SelectObject(&mapped);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), dc.GetPixel(2, 1));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), dc.GetPixel(1, 1));
    EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(0, 0));
    dc.SelectObject(pOld);

    CImageList images;
    ASSERT_TRUE(images.Create(2, 2, ILC_COLOR24 | ILC_MASK, 0, 4));
    EXPECT_EQ(0, images.Add(&plain, RGB(255, 0, 0))); // 4x2 strip = two 2x2 images
    EXPECT_EQ(2, images.GetImageCount());
    HICON hIcon = images.ExtractIcon(1);
    ASSERT_NE((HICON)NULL, hIcon);
    EXPECT_EQ(2, images.Add(hIcon));
    ::DestroyIcon(hIcon);
    EXPECT_EQ(3, images.GetImageCount());
}
} // namespace
