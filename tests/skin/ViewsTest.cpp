// The view, MDI and date skin objects on real controls: tree and list views
// in the skin's colours and the system's again afterwards, an MDI client
// that keeps a maximized skinned child's frame outside itself, and date-time
// pickers and calendars drawn and coloured from the skin.
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectDateTime.h"
#include "SFSkinObjectListView.h"
#include "SFSkinObjectMDIClient.h"
#include "SFSkinObjectMonthCal.h"
#include "SFSkinObjectTreeView.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace
{
HWND g_mdiClient = NULL;

LRESULT CALLBACK MdiFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcW(hwnd, g_mdiClient, msg, wParam, lParam);
}

// Children count the measuring the arrangement asks of them, and may start
// another arrangement from inside it.
int g_measured = 0;
BOOL g_nestArrangement = FALSE;
BOOL g_arrangingSeen = FALSE;

LRESULT CALLBACK MdiChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCALCSIZE && !wParam)
    {
        g_measured++;
        if (g_nestArrangement)
        {
            g_nestArrangement = FALSE;
            CSFSkinObjectMDIClient* client =
                dynamic_cast<CSFSkinObjectMDIClient*>(GetSkinFramework()->Lookup(g_mdiClient));
            g_arrangingSeen = client && client->IsArranging();
            SendMessageW(g_mdiClient, WM_MDITILE, MDITILE_VERTICAL, 0);
        }
    }
    return DefMDIChildProcW(hwnd, msg, wParam, lParam);
}
} // namespace

class SkinViewsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
        InitCommonControlsEx(&icc);
        manager = GetSkinFramework();
        manager->SetApplyToNewWindows(FALSE);
        ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
        parent = CreateWindowExW(0, PlainWindowClass(), L"Views", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 460, 320,
                                 NULL, NULL, GetModuleHandleW(NULL), NULL);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        manager->RemoveAll(TRUE);
        manager->LoadSkin(L"", L"");
    }
    HWND Make(const wchar_t* cls, DWORD exStyle, DWORD style, int x, int y, int width, int height)
    {
        return CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent, NULL,
                               GetModuleHandleW(NULL), NULL);
    }
    COLORREF Skin(int index) { return manager->GetMetrics()->GetColor(index); }

    CSFSkinFramework* manager = nullptr;
    HWND parent = NULL;
};

TEST_F(SkinViewsTest, ViewsTakeTheSkinsColoursAndGiveThemBackWhenItGoes)
{
    HWND tree = Make(WC_TREEVIEWW, WS_EX_CLIENTEDGE, TVS_HASLINES, 10, 10, 200, 150);
    HWND list = Make(WC_LISTVIEWW, WS_EX_CLIENTEDGE, LVS_REPORT, 220, 10, 200, 150);
    manager->ApplyWindow(tree);
    manager->ApplyWindow(list);
    ASSERT_NE(nullptr, dynamic_cast<CSFSkinObjectTreeView*>(manager->Lookup(tree)));
    ASSERT_NE(nullptr, dynamic_cast<CSFSkinObjectListView*>(manager->Lookup(list)));
    // A skin change gives the tree its line colour too.
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    EXPECT_EQ(Skin(COLOR_WINDOW), (COLORREF)SendMessageW(tree, TVM_GETBKCOLOR, 0, 0));
    EXPECT_EQ(Skin(COLOR_WINDOWTEXT), (COLORREF)SendMessageW(tree, TVM_GETTEXTCOLOR, 0, 0));
    EXPECT_EQ(Skin(COLOR_GRAYTEXT), (COLORREF)SendMessageW(tree, TVM_GETLINECOLOR, 0, 0));
    EXPECT_EQ(Skin(COLOR_WINDOW), (COLORREF)SendMessageW(list, LVM_GETBKCOLOR, 0, 0));
    EXPECT_EQ(Skin(COLOR_WINDOWTEXT), (COLORREF)SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0));
    EXPECT_EQ(Skin(COLOR_WINDOW), (COLORREF)SendMessageW(list, LVM_GETTEXTBKCOLOR, 0, 0));

    manager->LoadSkin(L"", L"");
    EXPECT_EQ((COLORREF)-1, (COLORREF)SendMessageW(tree, TVM_GETBKCOLOR, 0, 0));
    EXPECT_EQ((COLORREF)-1, (COLORREF)SendMessageW(tree, TVM_GETTEXTCOLOR, 0, 0));
    EXPECT_EQ(CLR_DEFAULT, (COLORREF)SendMessageW(tree, TVM_GETLINECOLOR, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), (COLORREF)SendMessageW(list, LVM_GETBKCOLOR, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), (COLORREF)SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0));
}

TEST_F(SkinViewsTest, AMaximizedSkinnedMdiChildKeepsItsFrameOutsideTheClient)
{
    HINSTANCE instance = GetModuleHandleW(NULL);
    HWND frame = CreateWindowExW(0, TestWindowClass(L"SkinMdiFrame", MdiFrameProc), L"MDI",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 500, 360, NULL, NULL, instance, NULL);
    CLIENTCREATESTRUCT ccs = {NULL, 1000};
    g_mdiClient = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                  480, 320, frame, NULL, instance, &ccs);
    ASSERT_NE(nullptr, g_mdiClient);
    MDICREATESTRUCTW mcs = {TestWindowClass(L"SkinMdiChild", MdiChildProc), L"Playlist", instance, 10, 10, 200, 150,
                            WS_OVERLAPPEDWINDOW, 0};
    HWND child = (HWND)SendMessageW(g_mdiClient, WM_MDICREATE, 0, (LPARAM)&mcs);
    ASSERT_NE(nullptr, child);
    manager->ApplyWindow(frame);
    CSFSkinObjectFrame* frameObject = dynamic_cast<CSFSkinObjectFrame*>(manager->Lookup(frame));
    CSFSkinObjectMDIClient* client = dynamic_cast<CSFSkinObjectMDIClient*>(manager->Lookup(g_mdiClient));
    CSFSkinObjectFrame* childObject = dynamic_cast<CSFSkinObjectFrame*>(manager->Lookup(child));
    ASSERT_NE(nullptr, frameObject);
    ASSERT_NE(nullptr, client);
    ASSERT_NE(nullptr, childObject);
    EXPECT_EQ(frameObject, client->GetMDIFrame());
    EXPECT_EQ(client, frameObject->GetMDIClient());

    SendMessageW(g_mdiClient, WM_MDIMAXIMIZE, (WPARAM)child, 0);
    for (int width : {480, 420})
    {
        MoveWindow(g_mdiClient, 0, 0, width, 300, TRUE);
        const RECT& b = childObject->GetBorders();
        ASSERT_GT(b.top, 0);
        RECT rect, inside;
        GetWindowRect(child, &rect);
        MapWindowPoints(NULL, g_mdiClient, (POINT*)&rect, 2);
        GetClientRect(g_mdiClient, &inside);
        EXPECT_EQ(-b.left, rect.left) << width;
        EXPECT_EQ(-b.top, rect.top) << width;
        EXPECT_EQ(inside.right + b.left + b.right, rect.right - rect.left) << width;
        EXPECT_EQ(inside.bottom + b.top + b.bottom, rect.bottom - rect.top) << width;
    }
    TakeWindowShot(frame);
    KeepWindowPicture(frame, L"mdi-skinned");
    SendMessageW(g_mdiClient, WM_MDIRESTORE, (WPARAM)child, 0);
    // An arrangement started inside another goes straight to the system:
    // the one child is measured once, by the outer one only.
    g_measured = 0;
    g_nestArrangement = TRUE;
    SendMessageW(g_mdiClient, WM_MDICASCADE, 0, 0);
    EXPECT_TRUE(g_arrangingSeen);
    EXPECT_EQ(1, g_measured);
    EXPECT_FALSE(client->IsArranging());

    // The frame lets go of a client that is gone.
    DestroyWindow(g_mdiClient);
    EXPECT_EQ(nullptr, frameObject->GetMDIClient());
    DestroyWindow(frame);
    g_mdiClient = NULL;
}

TEST_F(SkinViewsTest, DatePickersDrawTheirButtonAndBoxAndCalendarsTakeTheSkinsColours)
{
    HWND drop = Make(DATETIMEPICK_CLASSW, 0, 0, 10, 10, 160, 22);
    HWND updown = Make(DATETIMEPICK_CLASSW, 0, DTS_UPDOWN, 10, 40, 160, 22);
    HWND none = Make(DATETIMEPICK_CLASSW, 0, DTS_SHOWNONE, 10, 70, 160, 22);
    HWND calendar = Make(MONTHCAL_CLASSW, 0, 0, 200, 10, 230, 180);
    SendMessageW(none, DTM_SETSYSTEMTIME, GDT_NONE, 0);
    for (HWND hwnd : {drop, updown, none, calendar})
        manager->ApplyWindow(hwnd);
    CSFSkinObjectDateTime* dropObject = dynamic_cast<CSFSkinObjectDateTime*>(manager->Lookup(drop));
    CSFSkinObjectDateTime* updownObject = dynamic_cast<CSFSkinObjectDateTime*>(manager->Lookup(updown));
    CSFSkinObjectDateTime* noneObject = dynamic_cast<CSFSkinObjectDateTime*>(manager->Lookup(none));
    ASSERT_NE(nullptr, dropObject);
    ASSERT_NE(nullptr, updownObject);
    ASSERT_NE(nullptr, noneObject);
    ASSERT_NE(nullptr, dynamic_cast<CSFSkinObjectMonthCal*>(manager->Lookup(calendar)));
    TakeWindowShot(parent);
    KeepWindowPicture(parent, L"dates-skinned");

    // Controls that draw their own button (6.10 on) keep it; older ones get
    // the skin's, and a spinning picker never has one.
    EXPECT_EQ(manager->GetComCtlVersion() < 0x6000A, dropObject->DrewDropButton());
    EXPECT_FALSE(updownObject->DrewDropButton());
    EXPECT_EQ(0, dropObject->GetCheckState());
    EXPECT_EQ(1, noneObject->GetCheckState());
    EnableWindow(none, FALSE);
    TakeWindowShot(none);
    EXPECT_EQ(4, noneObject->GetCheckState());
    SYSTEMTIME day = {2026, 12, 5, 11, 0, 0, 0, 0};
    SendMessageW(none, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&day);
    TakeWindowShot(none);
    EXPECT_EQ(8, noneObject->GetCheckState());

    // A press on the drop button opens the calendar; a spinning picker has
    // no such button. (The controls keep their calendar window while closed.)
    auto shown = [](HWND picker) {
        HWND calendarWindow = (HWND)SendMessageW(picker, DTM_GETMONTHCAL, 0, 0);
        return calendarWindow != NULL && IsWindowVisible(calendarWindow);
    };
    EXPECT_FALSE(shown(drop));
    SendMessageW(drop, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 10));
    EXPECT_TRUE(shown(drop));
    SendMessageW(drop, DTM_CLOSEMONTHCAL, 0, 0);
    SendMessageW(updown, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 10));
    SendMessageW(updown, WM_LBUTTONUP, 0, MAKELPARAM(150, 10));
    EXPECT_FALSE(shown(updown));

    // A skin change colours both calendars.
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    struct
    {
        int index, color;
    } colours[] = {{MCSC_BACKGROUND, COLOR_WINDOW},     {MCSC_MONTHBK, COLOR_WINDOW},
                   {MCSC_TEXT, COLOR_WINDOWTEXT},       {MCSC_TITLEBK, COLOR_ACTIVECAPTION},
                   {MCSC_TITLETEXT, COLOR_CAPTIONTEXT}, {MCSC_TRAILINGTEXT, COLOR_GRAYTEXT}};
    for (auto& c : colours)
    {
        EXPECT_EQ(Skin(c.color), (COLORREF)SendMessageW(calendar, MCM_GETCOLOR, c.index, 0)) << c.index;
        EXPECT_EQ(Skin(c.color), (COLORREF)SendMessageW(drop, DTM_GETMCCOLOR, c.index, 0)) << c.index;
    }
}
