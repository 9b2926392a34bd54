// One window with every kind of bar, tab, view and date control the skin
// objects draw, all skinned together: a tool bar over a tab control, a track
// bar, a spin on its buddy edit, a header, a tree view, a list view, date
// pickers, a month calendar and a status bar. The picture is kept as
// test-output\skin\skin-gallery-bars.png for people to look at.
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectDateTime.h"
#include "SFSkinObjectHeader.h"
#include "SFSkinObjectMonthCal.h"
#include "SFSkinObjectSpin.h"
#include "SFSkinObjectStatusBar.h"
#include "SFSkinObjectTab.h"
#include "SFSkinObjectToolBar.h"
#include "SFSkinObjectTrackBar.h"
#include "SFSkinObjectTreeView.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include "SchemaNames.h"
#include <commctrl.h>
#include <gtest/gtest.h>

TEST(BarGalleryTest, EveryBarTabViewAndDateControlSkinnedInOnePicture)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    CSFSkinFramework* manager = GetSkinFramework();
    manager->SetApplyToNewWindows(FALSE);
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    HINSTANCE instance = GetModuleHandleW(NULL);
    HWND gallery = CreateWindowExW(0, PlainWindowClass(), L"Control gallery", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                   10, 720, 520, NULL, NULL, instance, NULL);
    ASSERT_NE(nullptr, gallery);
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    auto make = [&](DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
        HWND hwnd = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, gallery, NULL,
                                    instance, NULL);
        SendMessageW(hwnd, WM_SETFONT, (WPARAM)font, FALSE);
        return hwnd;
    };

    HWND toolbar = make(0, TOOLBARCLASSNAMEW, L"", TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NODIVIDER, 0, 0, 0, 0);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const wchar_t* tools[] = {L"Play", L"Stop", L"", L"Share"};
    BYTE toolStates[] = {TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTATE_ENABLED, 0, TBSTATE_ENABLED};
    for (int i = 0; i < 4; i++)
    {
        TBBUTTON button = {I_IMAGENONE, 200 + i, toolStates[i], (BYTE)(i == 2 ? BTNS_SEP : BTNS_AUTOSIZE | BTNS_BUTTON)};
        button.iString = (INT_PTR)tools[i];
        SendMessageW(toolbar, TB_ADDBUTTONSW, 1, (LPARAM)&button);
    }
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);

    HWND tab = make(0, WC_TABCONTROLW, L"", 0, 10, 40, 330, 200);
    const wchar_t* pages[] = {L"Songs", L"Boards", L"Buddies"};
    for (int i = 0; i < 3; i++)
    {
        TCITEMW item = {TCIF_TEXT};
        item.pszText = const_cast<wchar_t*>(pages[i]);
        SendMessageW(tab, TCM_INSERTITEMW, i, (LPARAM)&item);
    }
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);

    HWND track = make(0, TRACKBAR_CLASSW, L"", TBS_AUTOTICKS | TBS_ENABLESELRANGE, 10, 250, 330, 36);
    SendMessageW(track, TBM_SETRANGE, FALSE, MAKELPARAM(0, 10));
    SendMessageW(track, TBM_SETPOS, TRUE, 6);
    SendMessageW(track, TBM_SETSEL, FALSE, MAKELPARAM(2, 6));
    HWND edit = make(WS_EX_CLIENTEDGE, L"EDIT", L"42", ES_NUMBER, 10, 296, 80, 22);
    HWND spin = make(0, UPDOWN_CLASSW, L"", UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 0, 0);
    SendMessageW(spin, UDM_SETBUDDY, (WPARAM)edit, 0);
    SendMessageW(spin, UDM_SETRANGE32, 0, 100);
    SendMessageW(spin, UDM_SETPOS32, 0, 42);
    HWND picker = make(0, DATETIMEPICK_CLASSW, L"", 0, 120, 296, 150, 22);
    HWND spinner = make(0, DATETIMEPICK_CLASSW, L"", DTS_UPDOWN | DTS_SHOWNONE, 120, 324, 150, 22);

    HWND header = make(0, WC_HEADERW, L"", HDS_BUTTONS, 360, 40, 340, 24);
    const wchar_t* columns[] = {L"Title", L"Artist", L"Length"};
    for (int i = 0; i < 3; i++)
    {
        HDITEMW item = {HDI_TEXT | HDI_WIDTH | HDI_FORMAT};
        item.cxy = 110;
        item.pszText = const_cast<wchar_t*>(columns[i]);
        item.fmt = HDF_STRING | (i == 0 ? HDF_SORTDOWN : 0);
        SendMessageW(header, HDM_INSERTITEMW, i, (LPARAM)&item);
    }
    HWND tree = make(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 360, 70,
                     160, 170);
    TVINSERTSTRUCTW insert = {};
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(L"Playlists");
    HTREEITEM root = (HTREEITEM)SendMessageW(tree, TVM_INSERTITEMW, 0, (LPARAM)&insert);
    for (const wchar_t* name : {L"Morning", L"Road trip", L"Quiet"})
    {
        insert.hParent = root;
        insert.item.pszText = const_cast<wchar_t*>(name);
        SendMessageW(tree, TVM_INSERTITEMW, 0, (LPARAM)&insert);
    }
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)root);
    HWND list = make(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", LVS_REPORT, 530, 70, 170, 170);
    LVCOLUMNW column = {LVCF_TEXT | LVCF_WIDTH, 0, 140, const_cast<wchar_t*>(L"Song")};
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, (LPARAM)&column);
    for (int i = 0; i < 6; i++)
    {
        wchar_t text[32];
        wsprintfW(text, L"Song %d", i + 1);
        LVITEMW item = {LVIF_TEXT, i, 0, 0, 0, text};
        SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item);
    }
    HWND calendar = make(0, MONTHCAL_CLASSW, L"", 0, 360, 250, 240, 180);
    HWND status = make(0, STATUSCLASSNAMEW, L"Ready", SBARS_SIZEGRIP, 0, 0, 0, 0);

    manager->ApplyWindow(gallery);
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectToolBar*>(manager->Lookup(toolbar)));
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectTab*>(manager->Lookup(tab)));
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectTrackBar*>(manager->Lookup(track)));
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectSpin*>(manager->Lookup(spin)));
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectHeader*>(manager->Lookup(header)));
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectTreeView*>(manager->Lookup(tree)));
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectStatusBar*>(manager->Lookup(status)));
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectMonthCal*>(manager->Lookup(calendar)));
    for (HWND hwnd : {picker, spinner})
        EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectDateTime*>(manager->Lookup(hwnd)));

    TakeWindowShot(gallery);
    KeepWindowPicture(gallery, L"skin-gallery-bars");
    WindowShot spinShot = TakeWindowShot(spin);
    std::set<COLORREF> header0 = StylePictureColours(L"HeaderItem.bmp", 0, 3);
    RECT headerRect = {0, 0, 110, 24};
    EXPECT_GT(TakeWindowShot(header).CountIn(headerRect, header0), 110 * 24 / 2);
    EXPECT_GT(spinShot.CountIn(RECT{0, 0, spinShot.width, spinShot.height}, StylePictureColours(L"SpinUp.bmp", 0, 4)),
              0);
    // The spin carries its buddy edit's border on round itself, with the
    // edit's window colour in the column next to the edit.
    CSFSkinClass* editClass = manager->GetSkinClass(L"EDIT");
    ASSERT_NE(nullptr, editClass);
    COLORREF border = editClass->GetColor(0, 0, SCHEMA_PROP_BORDERCOLOR, CLR_INVALID);
    ASSERT_NE(CLR_INVALID, border);
    EXPECT_EQ(border, spinShot.At(spinShot.width / 2, 0));
    EXPECT_EQ(border, spinShot.At(spinShot.width - 1, spinShot.height / 2));
    EXPECT_EQ(border, spinShot.At(spinShot.width / 2, spinShot.height - 1));
    EXPECT_EQ(manager->GetMetrics()->GetColor(COLOR_WINDOW), spinShot.At(0, spinShot.height / 2));

    DestroyWindow(gallery);
    manager->RemoveAll(TRUE);
    manager->LoadSkin(L"", L"");
}
