// The list box, combo box and edit skin objects: the drop button's state by
// the mouse and the enabled state, its side, the colour message a read-only
// control asks its parent with, the edit's border from the style and the
// strip a glued neighbour keeps, and the bar redraw after scrolling.
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectComboBox.h"
#include "SFSkinObjectEdit.h"
#include "SFSkinObjectLegacyScrolledFrame.h"
#include "SFSkinObjectListBox.h"
#include "SkinStateMatch.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace
{
// The control-colour messages each child asked its parent with.
std::map<HWND, std::set<UINT>> g_askedWith;

LRESULT CALLBACK RecordingParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        g_askedWith[(HWND)lParam].insert(message);
    if (message == WM_ERASEBKGND)
    {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect((HDC)wParam, &rc, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
} // namespace

class TextControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&icc);
        g_askedWith.clear();
        manager = GetSkinFramework();
        manager->SetApplyToNewWindows(FALSE);
        ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
        parent = CreateWindowExW(WS_EX_TOPMOST, TestWindowClass(L"SkinRecordingParent", RecordingParentProc),
                                 L"Text controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 420, 300, NULL,
                                 NULL, GetModuleHandleW(NULL), NULL);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        manager->RemoveAll(TRUE);
        manager->LoadSkin(L"", L"");
    }
    HWND Make(const wchar_t* cls, DWORD style, DWORD ex, int x, int y, int width, int height)
    {
        HWND hwnd = CreateWindowExW(ex, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                    NULL, GetModuleHandleW(NULL), NULL);
        return hwnd;
    }
    HWND MakeCombo(DWORD style, DWORD ex = 0)
    {
        HWND combo = Make(L"COMBOBOX", style | CBS_HASSTRINGS, ex, 10, 10, 160, 200);
        for (const wchar_t* text : {L"Blue", L"Calm", L"Night"})
            SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)text);
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        manager->ApplyWindow(combo);
        return combo;
    }

    CSFSkinFramework* manager = nullptr;
    HWND parent = NULL;
};

TEST_F(TextControlsTest, DropButtonStateAndSide)
{
    enum Setup
    {
        None = 0,
        Hot = 1,
        Left = 2,
        Disabled = 4
    };
    struct
    {
        DWORD style;
        int setup;
        int state;
    } cases[] = {
        {CBS_DROPDOWNLIST, None, 1}, {CBS_DROPDOWNLIST, Hot, 2},  {CBS_DROPDOWN, None, 1},
        {CBS_DROPDOWN, Disabled, 4}, {CBS_DROPDOWNLIST, Left, 1}, {CBS_DROPDOWNLIST, Hot | Left, 2},
    };
    CSFSkinClass* cls = manager->GetSkinClass(L"COMBOBOX");
    ASSERT_NE(nullptr, cls);
    for (auto& c : cases)
    {
        HWND combo = MakeCombo(c.style, (c.setup & Left) ? WS_EX_RIGHT : 0);
        CSFSkinObjectComboBox* object = dynamic_cast<CSFSkinObjectComboBox*>(manager->Lookup(combo));
        ASSERT_NE(nullptr, object);
        if (c.setup & Hot)
            SendMessageW(combo, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        if (c.setup & Disabled)
            EnableWindow(combo, FALSE);
        WindowShot shot = PrintClientShot(combo);
        EXPECT_EQ(c.state, object->GetLastState()) << c.style << "/" << c.setup;
        RECT client = {0, 0, shot.width, shot.height};
        RECT button = object->DropButtonRect(client);
        EXPECT_EQ((c.setup & Left) != 0, button.left == 0) << c.setup;
        EXPECT_EQ(c.state, BestMatchingState(shot, button, cls, 1, {1, 2, 3, 4}, shot.At(button.left, 0)))
            << c.style << "/" << c.setup;
        DestroyWindow(combo);
    }
}

TEST_F(TextControlsTest, AComboSkinnedAtCreationDropsTheSystemsBorder)
{
    manager->SetApplyToNewWindows(TRUE);
    HWND combo = Make(L"COMBOBOX", CBS_DROPDOWNLIST | WS_BORDER, WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, 10, 10,
                      160, 200);
    manager->SetApplyToNewWindows(FALSE);
    ASSERT_NE(nullptr, dynamic_cast<CSFSkinObjectComboBox*>(manager->Lookup(combo)));
    EXPECT_FALSE(GetWindowLongPtrW(combo, GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(GetWindowLongPtrW(combo, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    RECT window, client;
    GetWindowRect(combo, &window);
    GetClientRect(combo, &client);
    EXPECT_EQ(window.right - window.left, client.right);
}

TEST_F(TextControlsTest, ReadOnlyControlsAskForTheStaticColour)
{
    HWND edit = Make(L"EDIT", ES_READONLY, WS_EX_CLIENTEDGE, 10, 10, 150, 24);
    HWND plainEdit = Make(L"EDIT", 0, WS_EX_CLIENTEDGE, 10, 40, 150, 24);
    HWND combo = MakeCombo(CBS_DROPDOWN);
    SetWindowPos(combo, NULL, 200, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND comboEdit = GetWindow(combo, GW_CHILD);
    ASSERT_NE(nullptr, comboEdit);
    SendMessageW(comboEdit, EM_SETREADONLY, TRUE, 0);
    manager->ApplyWindow(edit);
    manager->ApplyWindow(plainEdit);
    CSFSkinObjectEdit* editObject = dynamic_cast<CSFSkinObjectEdit*>(manager->Lookup(edit));
    CSFSkinObjectComboBox* comboObject = dynamic_cast<CSFSkinObjectComboBox*>(manager->Lookup(combo));
    ASSERT_NE(nullptr, editObject);
    ASSERT_NE(nullptr, comboObject);
    EXPECT_EQ((UINT)WM_CTLCOLORSTATIC, editObject->GetControlColorMessage());
    EXPECT_EQ((UINT)WM_CTLCOLORSTATIC, comboObject->GetControlColorMessage());
    g_askedWith.clear();
    TakeWindowShot(parent);
    EXPECT_EQ(1u, g_askedWith[combo].count(WM_CTLCOLORSTATIC));
    // The border's inner frame comes from the parent's answer.
    g_askedWith.clear();
    editObject->RepaintNonClient();
    EXPECT_EQ(std::set<UINT>{WM_CTLCOLORSTATIC}, g_askedWith[edit]);
    dynamic_cast<CSFSkinObjectEdit*>(manager->Lookup(plainEdit))->RepaintNonClient();
    EXPECT_EQ(std::set<UINT>{WM_CTLCOLOREDIT}, g_askedWith[plainEdit]);
    EnableWindow(plainEdit, FALSE);
    EXPECT_EQ((UINT)WM_CTLCOLORSTATIC,
              dynamic_cast<CSFSkinObjectEdit*>(manager->Lookup(plainEdit))->GetControlColorMessage());
}

TEST_F(TextControlsTest, EditBorderComesFromTheStyleAndAGluedNeighbourKeepsItsStrip)
{
    HWND edit = Make(L"EDIT", 0, WS_EX_CLIENTEDGE, 10, 10, 120, 24);
    // A neighbour below the edit in Z order, over its right 2 pixels.
    HWND spin = Make(UPDOWN_CLASSW, 0, 0, 128, 10, 16, 24);
    manager->ApplyWindow(edit);
    CSFSkinObjectEdit* object = dynamic_cast<CSFSkinObjectEdit*>(manager->Lookup(edit));
    ASSERT_NE(nullptr, object);
    RECT strip;
    ASSERT_TRUE(object->FindBuddyStrip(&strip));
    EXPECT_EQ(118, strip.left);
    EXPECT_EQ(120, strip.right);
    EXPECT_EQ(24, strip.bottom - strip.top);
    SetWindowPos(spin, NULL, 140, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_FALSE(object->FindBuddyStrip(&strip));

    const COLORREF border = RGB(58, 124, 196);
    WindowShot shot = SteadyShot(edit, [&](const WindowShot& s) { return s.At(0, 12) == border; });
    EXPECT_EQ(border, shot.At(0, 12));
    EXPECT_EQ(border, shot.At(60, 0));
    EXPECT_EQ(border, shot.At(60, 23));
    manager->RemoveAll(TRUE);
    manager->LoadSkin(L"", L"");
    shot = TakeWindowShot(edit);
    EXPECT_NE(border, shot.At(0, 12));
    EXPECT_NE(border, shot.At(60, 0));
}

TEST_F(TextControlsTest, ListBoxBarsAreRedrawnWhenTheControlScrolls)
{
    HWND list = Make(L"LISTBOX", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, 10, 10, 160, 120);
    for (int i = 0; i < 40; i++)
    {
        wchar_t text[16];
        wsprintfW(text, L"Song %d", i + 1);
        SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)text);
    }
    manager->ApplyWindow(list);
    CSFSkinObjectListBox* object = dynamic_cast<CSFSkinObjectListBox*>(manager->Lookup(list));
    ASSERT_NE(nullptr, object);
    // The bar's arrows are the style's.
    RECT topArrow = {160 - 15, 3, 160 - 4, 14};
    std::set<COLORREF> arrow = StylePictureColours(L"ArrowBtn.bmp", 0, 20);
    WindowShot shot = SteadyShot(list, [&](const WindowShot& s) { return s.CountIn(topArrow, arrow) > 40; });
    KeepWindowPicture(parent, L"listbox-skinned");
    EXPECT_GT(shot.CountIn(topArrow, arrow), 40);

    int before = object->GetBarRedraws();
    SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
    SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
    SCROLLINFO info = {sizeof(info), SIF_POS};
    GetScrollInfo(list, SB_VERT, &info);
    ASSERT_GT(info.nPos, 0);
    BOOL controlsDrawBars = manager->GetComCtlVersion() >= MAKELONG(0, 6);
    if (controlsDrawBars)
        EXPECT_EQ(before, object->GetBarRedraws());
    else
    {
        EXPECT_GT(object->GetBarRedraws(), before);
        EXPECT_EQ(info.nPos, object->GetSavedInfo(SB_VERT).nPos);
        // Nothing moved: no further redraw.
        int after = object->GetBarRedraws();
        SendMessageW(list, WM_KEYDOWN, VK_SHIFT, 0);
        EXPECT_EQ(after, object->GetBarRedraws());
    }
}

TEST_F(TextControlsTest, TheLegacyFrameChecksBarsOnlyOnTheNineXFamily)
{
    HWND list = Make(L"LISTBOX", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, 10, 10, 160, 120);
    for (int i = 0; i < 40; i++)
        SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)L"Song");
    CSFSkinObjectLegacyScrolledFrame* object = new CSFSkinObjectLegacyScrolledFrame;
    ASSERT_EQ(object, manager->AttachSkinObject(list, object, NULL, FALSE));
    TakeWindowShot(list);
    SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
    SCROLLINFO info = {sizeof(info), SIF_POS};
    GetScrollInfo(list, SB_VERT, &info);
    ASSERT_GT(info.nPos, 0);
    EXPECT_EQ(manager->IsWin9x() ? 1 : 0, object->GetBarRedraws());
}

TEST_F(TextControlsTest, CombosAndEditsShowTheStyleAndNotAfterRemoval)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST);
    HWND edit = Make(L"EDIT", 0, WS_EX_CLIENTEDGE, 200, 10, 150, 24);
    SetWindowTextW(edit, L"Calm blue");
    manager->ApplyWindow(edit);
    TakeWindowShot(parent);
    KeepWindowPicture(parent, L"combo-edit-skinned");
    RECT window;
    GetWindowRect(combo, &window);
    RECT button = {window.right - window.left - 14, 4, window.right - window.left - 4,
                   window.bottom - window.top - 4};
    std::set<COLORREF> drop = StylePictureColours(L"DropDownButton.bmp", 0, 4);
    int area = (button.right - button.left) * (button.bottom - button.top);
    WindowShot shot =
        SteadyShot(combo, [&](const WindowShot& s) { return s.CountIn(button, drop) > area / 2; });
    EXPECT_GT(shot.CountIn(button, drop), area / 2);
    manager->RemoveAll(TRUE);
    manager->LoadSkin(L"", L"");
    shot = TakeWindowShot(combo);
    EXPECT_LT(shot.CountIn(button, drop), area / 4);
}

TEST_F(TextControlsTest, TheDroppedListIsAListBoxOfTheStyle)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST);
    COMBOBOXINFO info = {sizeof(info)};
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    ASSERT_NE(nullptr, info.hwndList);
    manager->ApplyWindow(info.hwndList);
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectListBox*>(manager->Lookup(info.hwndList)));
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    // The list's plain border takes the style's window-frame colour.
    const COLORREF border = manager->GetMetrics()->GetColor(COLOR_WINDOWFRAME);
    WindowShot shot =
        SteadyShot(info.hwndList, [&](const WindowShot& s) { return s.At(0, s.height / 2) == border; });
    KeepWindowPicture(info.hwndList, L"combo-list-skinned");
    ASSERT_EQ(RGB(40, 92, 158), border);
    EXPECT_EQ(border, shot.At(0, shot.height / 2));
    EXPECT_EQ(border, shot.At(shot.width / 2, shot.height - 1));
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

// Styles whose combo box and edit classes draw a plain border in place of pictures.
class BorderFillComboTest : public StyleTextTest
{
};

TEST_F(BorderFillComboTest, CombosDrawTheBorderColourOfTheirClass)
{
    ASSERT_TRUE(LoadStyle(L"BorderFillCombo",
                          "[ComboBox]\r\nBgType = BorderFill\r\nBorderColor = 200 10 10\r\n"
                          "[Edit]\r\nBgType = BorderFill\r\nBorderColor = 10 160 10\r\n"));
    HWND parent = CreateWindowExW(0, PlainWindowClass(), L"Border fill", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60,
                                  60, 400, 300, NULL, NULL, GetModuleHandleW(NULL), NULL);
    struct
    {
        DWORD style;
        COLORREF border;
    } cases[] = {{CBS_DROPDOWNLIST, RGB(200, 10, 10)},
                 {CBS_DROPDOWN, RGB(200, 10, 10)},
                 {CBS_SIMPLE, RGB(10, 160, 10)}};
    for (auto& c : cases)
    {
        HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | c.style | CBS_HASSTRINGS,
                                     10, 10, 160, 120, parent, NULL, GetModuleHandleW(NULL), NULL);
        SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)L"Calm");
        manager->ApplyWindow(combo);
        ASSERT_NE(nullptr, dynamic_cast<CSFSkinObjectComboBox*>(manager->Lookup(combo)));
        WindowShot shot = PrintClientShot(combo);
        int itemHeight = (int)SendMessageW(combo, CB_GETITEMHEIGHT, (WPARAM)-1, 0);
        int bottom =
            c.style == CBS_SIMPLE ? itemHeight + 2 * GetSystemMetrics(SM_CYFIXEDFRAME) - 1 : shot.height - 1;
        EXPECT_EQ(c.border, shot.At(0, bottom / 2)) << c.style;
        EXPECT_EQ(c.border, shot.At(shot.width / 3, 0)) << c.style;
        EXPECT_EQ(c.border, shot.At(shot.width / 3, bottom)) << c.style;
        DestroyWindow(combo);
    }
    DestroyWindow(parent);
    manager->RemoveAll(TRUE);
}
