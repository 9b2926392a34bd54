// The tool-bar, header and status-bar skin objects on real controls, with a
// parent that answers custom draw and owner draw as a test sets it: the
// states buttons and items are drawn in, what the parent may skip, and the
// status bar's re-measuring after a skin change.
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectHeader.h"
#include "SFSkinObjectStatusBar.h"
#include "SFSkinObjectToolBar.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace
{
LRESULT g_prepaintAnswer = CDRF_DODEFAULT;
BOOL g_drawItemAnswer = FALSE;
int g_drawItemCalls = 0;

LRESULT CALLBACK BarsParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY && ((NMHDR*)lParam)->code == NM_CUSTOMDRAW)
    {
        NMCUSTOMDRAW* draw = (NMCUSTOMDRAW*)lParam;
        return draw->dwDrawStage == CDDS_PREPAINT ? g_prepaintAnswer : CDRF_DODEFAULT;
    }
    if (msg == WM_DRAWITEM)
    {
        g_drawItemCalls++;
        return g_drawItemAnswer;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
} // namespace

class SkinBarsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        manager = GetSkinFramework();
        manager->SetApplyToNewWindows(FALSE);
        ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
        g_prepaintAnswer = CDRF_DODEFAULT;
        g_drawItemAnswer = FALSE;
        g_drawItemCalls = 0;
        parent = CreateWindowExW(0, TestWindowClass(L"SkinBarsParent", BarsParentProc), L"Bars",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 70, 70, 420, 240, NULL, NULL,
                                 GetModuleHandleW(NULL), NULL);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        manager->RemoveAll(TRUE);
        manager->LoadSkin(L"", L"");
    }
    // A tool bar of three buttons: checked, disabled, plain; images from a
    // 24-bit list of three 16-pixel squares.
    HWND MakeToolBar()
    {
        HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER, 0,
                                   0, 300, 30, parent, NULL, GetModuleHandleW(NULL), NULL);
        SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        images = ImageList_Create(16, 16, ILC_COLOR24, 3, 0);
        HDC screen = GetDC(NULL);
        for (int i = 0; i < 3; i++)
        {
            HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
            HDC memory = CreateCompatibleDC(screen);
            HGDIOBJ old = SelectObject(memory, bitmap);
            RECT all = {0, 0, 16, 16};
            HBRUSH brush = CreateSolidBrush(RGB(20 + 60 * i, 40, 160));
            FillRect(memory, &all, brush);
            DeleteObject(brush);
            SelectObject(memory, old);
            DeleteDC(memory);
            ImageList_Add(images, bitmap, NULL);
            DeleteObject(bitmap);
        }
        ReleaseDC(NULL, screen);
        SendMessageW(bar, TB_SETIMAGELIST, 0, (LPARAM)images);
        TBBUTTON buttons[3] = {};
        BYTE states[3] = {TBSTATE_ENABLED | TBSTATE_CHECKED, 0, TBSTATE_ENABLED};
        for (int i = 0; i < 3; i++)
        {
            buttons[i].iBitmap = i;
            buttons[i].idCommand = 100 + i;
            buttons[i].fsState = states[i];
            buttons[i].fsStyle = i == 0 ? BTNS_CHECK : BTNS_BUTTON;
        }
        SendMessageW(bar, TB_ADDBUTTONSW, 3, (LPARAM)buttons);
        return bar;
    }

    CSFSkinFramework* manager = nullptr;
    HWND parent = NULL;
    HIMAGELIST images = NULL;
};

TEST_F(SkinBarsTest, ToolBarButtonsTakeTheirStatesAndTheParentMaySkipThem)
{
    HWND bar = MakeToolBar();
    CSFSkinObjectToolBar* object = dynamic_cast<CSFSkinObjectToolBar*>((manager->ApplyWindow(bar), manager->Lookup(bar)));
    ASSERT_NE(nullptr, object);
    SendMessageW(bar, TB_SETHOTITEM, 0, 0);
    WindowShot shot = TakeWindowShot(bar);
    KeepWindowPicture(parent, L"toolbar-skinned");
    // Checked and hot is drawn checked; the disabled button's 24-bit image
    // is embossed.
    EXPECT_EQ(5, object->GetDrawnState(0));
    EXPECT_EQ(4, object->GetDrawnState(1));
    EXPECT_EQ(1, object->GetDrawnState(2));
    EXPECT_EQ(1, object->GetEmbossedCount());
    RECT first;
    SendMessageW(bar, TB_GETITEMRECT, 0, (LPARAM)&first);
    RECT edge = {first.left, first.top, first.right, first.top + 3};
    EXPECT_GT(shot.CountIn(edge, StylePictureColours(L"ToolButton.bmp", 4, 6)), 0);

    // The parent draws everything itself: only the skin's face is left.
    g_prepaintAnswer = CDRF_SKIPDEFAULT;
    shot = TakeWindowShot(bar);
    EXPECT_EQ(0, object->GetDrawnState(0));
    RECT client;
    GetClientRect(bar, &client);
    std::set<COLORREF> face = {manager->GetMetrics()->GetColor(COLOR_BTNFACE)};
    EXPECT_EQ(client.right * client.bottom, shot.CountIn(client, face));
    ImageList_Destroy(images);
}

TEST_F(SkinBarsTest, HeaderItemsDrawnHotPressedAndDespiteADecliningOwnerDraw)
{
    HWND header = CreateWindowExW(0, WC_HEADERW, L"", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, 10, 10, 360, 24, parent,
                                  NULL, GetModuleHandleW(NULL), NULL);
    const wchar_t* names[] = {L"Title", L"Artist", L"Length"};
    for (int i = 0; i < 3; i++)
    {
        HDITEMW item = {HDI_TEXT | HDI_WIDTH | HDI_FORMAT};
        item.cxy = 100;
        item.pszText = const_cast<wchar_t*>(names[i]);
        item.fmt = HDF_STRING | (i == 1 ? HDF_OWNERDRAW : 0) | (i == 2 ? HDF_SORTUP : 0);
        SendMessageW(header, HDM_INSERTITEMW, i, (LPARAM)&item);
    }
    manager->ApplyWindow(header);
    CSFSkinObjectHeader* object = dynamic_cast<CSFSkinObjectHeader*>(manager->Lookup(header));
    ASSERT_NE(nullptr, object);
    WindowShot shot = TakeWindowShot(header);
    KeepWindowPicture(parent, L"header-skinned");
    // The owner-draw item was offered to the parent, which declined.
    EXPECT_GT(g_drawItemCalls, 0);
    // The picture's own colours, not those the system draws with.
    std::set<COLORREF> normal = StylePictureColours(L"HeaderItem.bmp", 0, 3);
    for (int i = 0; i <= COLOR_MENUBAR; i++)
        normal.erase(GetSysColor(i));
    RECT second = {110, 0, 190, 24};
    EXPECT_GT(shot.CountIn(second, normal), 80 * 24 / 3);

    // Pressing a divider resizes; it shows no pressed item.
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 12));
    EXPECT_FALSE(object->IsPressed());
    SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(100, 12));
    SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM(50, 12));
    EXPECT_EQ(0, object->GetHotItem());
    EXPECT_EQ(2, object->GetItemState(0));
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 12));
    EXPECT_TRUE(object->IsPressed());
    EXPECT_EQ(3, object->GetItemState(0));
    EXPECT_EQ(1, object->GetItemState(1));
    SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(50, 12));
    EXPECT_FALSE(object->IsPressed());
    SendMessageW(header, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(-1, object->GetHotItem());

    // Without the skin the control draws its items itself.
    manager->RemoveAll(TRUE);
    manager->LoadSkin(L"", L"");
    shot = TakeWindowShot(header);
    EXPECT_LT(shot.CountIn(second, normal), 80 * 24 / 4);
}

namespace
{
HWND g_watched = NULL;
int g_iniChanges = 0;
HHOOK g_sendHook = NULL;
LRESULT CALLBACK CountIniChanges(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && sent->hwnd == g_watched && sent->message == WM_WININICHANGE)
        g_iniChanges++;
    return CallNextHookEx(g_sendHook, code, wParam, lParam);
}
void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}
} // namespace

TEST_F(SkinBarsTest, TheStatusBarMeasuresItselfAgainAfterASkinChange)
{
    HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, L"Ready", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, NULL,
                                  GetModuleHandleW(NULL), NULL);
    Pump();
    g_watched = status;
    g_iniChanges = 0;
    g_sendHook = SetWindowsHookExW(WH_CALLWNDPROC, CountIniChanges, NULL, GetCurrentThreadId());
    ASSERT_NE(nullptr, g_sendHook);
    manager->ApplyWindow(status);
    ASSERT_NE(nullptr, dynamic_cast<CSFSkinObjectStatusBar*>(manager->Lookup(status)));
    Pump();
    int afterApply = g_iniChanges;
    EXPECT_GT(afterApply, 0);
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    Pump();
    EXPECT_GT(g_iniChanges, afterApply);
    UnhookWindowsHookEx(g_sendHook);
    TakeWindowShot(status);
}
