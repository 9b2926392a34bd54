// One skinned window with every button, list box, combo box and edit kind
// the skin draws, in their usual states, kept as
// test-output\skin\skin-gallery-controls.png for people to look at.
#include "SFSkinFramework.h"
#include "SFSkinObjectButton.h"
#include "SFSkinObjectComboBox.h"
#include "SFSkinObjectEdit.h"
#include "SFSkinObjectListBox.h"
#include "SkinStateMatch.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <vector>

TEST(ControlGalleryTest, EveryButtonListAndEditKindInOnePicture)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    CSFSkinFramework* manager = GetSkinFramework();
    manager->SetApplyToNewWindows(FALSE);
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    HINSTANCE instance = GetModuleHandleW(NULL);
    HWND gallery =
        CreateWindowExW(WS_EX_TOPMOST, PlainWindowClass(), L"Controls gallery",
                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 600, 420, NULL, NULL, instance, NULL);
    ASSERT_NE(nullptr, gallery);
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex, int x, int y, int w,
                    int h) {
        HWND hwnd = CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, gallery, NULL,
                                    instance, NULL);
        SendMessageW(hwnd, WM_SETFONT, (WPARAM)font, FALSE);
        return hwnd;
    };
    std::vector<HWND> buttons, lists, combos, edits;
    // Push buttons: normal, default, pushed, checked push-like, disabled.
    buttons.push_back(make(L"BUTTON", L"Play", BS_PUSHBUTTON, 0, 10, 10, 90, 26));
    buttons.push_back(make(L"BUTTON", L"Send", BS_DEFPUSHBUTTON, 0, 105, 10, 90, 26));
    HWND pushed = make(L"BUTTON", L"Pushed", BS_PUSHBUTTON, 0, 200, 10, 90, 26);
    buttons.push_back(pushed);
    HWND pushLike = make(L"BUTTON", L"Loop", BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, 295, 10, 90, 26);
    buttons.push_back(pushLike);
    HWND disabled = make(L"BUTTON", L"Stop", BS_PUSHBUTTON, 0, 390, 10, 90, 26);
    buttons.push_back(disabled);
    // Check boxes and radio buttons in each check state, and disabled.
    const struct
    {
        const wchar_t* text;
        DWORD style;
        int check;
        bool enabled;
    } glyphs[] = {
        {L"Shuffle", BS_AUTOCHECKBOX, BST_UNCHECKED, true},
        {L"Lyrics", BS_AUTOCHECKBOX, BST_CHECKED, true},
        {L"Mixed", BS_AUTO3STATE, BST_INDETERMINATE, true},
        {L"Locked", BS_AUTOCHECKBOX, BST_CHECKED, false},
        {L"Friends", BS_AUTORADIOBUTTON, BST_CHECKED, true},
        {L"Everyone", BS_AUTORADIOBUTTON, BST_UNCHECKED, true},
        {L"Nobody", BS_RADIOBUTTON, BST_CHECKED, false},
    };
    int y = 60;
    for (auto& g : glyphs)
    {
        HWND hwnd = make(L"BUTTON", g.text, g.style, 0, 20, y, 120, 20);
        SendMessageW(hwnd, BM_SETCHECK, g.check, 0);
        EnableWindow(hwnd, g.enabled);
        buttons.push_back(hwnd);
        y += 24;
    }
    buttons.push_back(make(L"BUTTON", L"Options", BS_GROUPBOX, 0, 10, 40, 140, 200));
    // Combo boxes of each kind and a disabled one.
    const wchar_t* items[] = {L"Calm blue", L"Night", L"Morning"};
    const struct
    {
        DWORD style, ex;
        bool enabled;
        int height;
    } comboKinds[] = {{CBS_DROPDOWNLIST, 0, true, 200},
                      {CBS_DROPDOWN, 0, true, 200},
                      {CBS_DROPDOWNLIST, 0, false, 200},
                      {CBS_SIMPLE, 0, true, 90}};
    y = 50;
    for (auto& k : comboKinds)
    {
        HWND combo =
            make(L"COMBOBOX", L"", k.style | CBS_HASSTRINGS | WS_VSCROLL, k.ex, 170, y, 170, k.height);
        for (const wchar_t* item : items)
            SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)item);
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        EnableWindow(combo, k.enabled);
        combos.push_back(combo);
        y += 32;
    }
    // Edits: normal, read-only, disabled, multi-line with a bar.
    HWND edit = make(L"EDIT", L"Calm blue", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 360, 50, 200, 24);
    HWND readOnly = make(L"EDIT", L"Read only", ES_READONLY, WS_EX_CLIENTEDGE, 360, 80, 200, 24);
    HWND off = make(L"EDIT", L"Disabled", 0, WS_EX_CLIENTEDGE, 360, 110, 200, 24);
    EnableWindow(off, FALSE);
    HWND memo = make(L"EDIT", L"Line 1\r\nLine 2\r\nLine 3\r\nLine 4\r\nLine 5\r\nLine 6\r\nLine 7",
                     ES_MULTILINE | WS_VSCROLL, WS_EX_CLIENTEDGE, 360, 140, 200, 70);
    edits = {edit, readOnly, off, memo};
    // A list box with more songs than fit.
    HWND list =
        make(L"LISTBOX", L"", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, 360, 220, 200, 130);
    for (int i = 0; i < 30; i++)
    {
        wchar_t text[16];
        wsprintfW(text, L"Song %d", i + 1);
        SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)text);
    }
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    lists.push_back(list);
    manager->ApplyWindow(gallery);
    SendMessageW(pushed, BM_SETSTATE, TRUE, 0);
    SendMessageW(pushLike, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(disabled, FALSE);

    for (HWND hwnd : buttons)
        EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectButton*>(manager->Lookup(hwnd)));
    for (HWND hwnd : combos)
        EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectComboBox*>(manager->Lookup(hwnd)));
    for (HWND hwnd : edits)
        EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectEdit*>(manager->Lookup(hwnd)));
    for (HWND hwnd : lists)
        EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectListBox*>(manager->Lookup(hwnd)));
    // The edit inside a drop-down combo box is an edit object too.
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectEdit*>(manager->Lookup(GetWindow(combos[1], GW_CHILD))));

    TakeWindowShot(gallery);
    KeepWindowPicture(gallery, L"skin-gallery-controls");
    // Every push button face shows the style's push-button picture.
    std::set<COLORREF> faces;
    for (int cell = 0; cell < 5; cell++)
    {
        std::set<COLORREF> colours = StylePictureColours(L"PushButton.bmp", cell, 5);
        faces.insert(colours.begin(), colours.end());
    }
    for (int i = 0; i < 5; i++)
    {
        RECT side = {2, 6, 8, 20};
        WindowShot shot =
            SteadyShot(buttons[i], [&](const WindowShot& s) { return s.CountIn(side, faces) > 30; });
        EXPECT_GT(shot.CountIn(side, faces), 30) << i;
    }

    DestroyWindow(gallery);
    manager->RemoveAll(TRUE);
    manager->LoadSkin(L"", L"");
}
