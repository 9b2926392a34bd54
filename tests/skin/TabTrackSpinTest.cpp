// The tab, track-bar and spin skin objects on real controls: which style
// parts and states they draw items, thumbs and buttons in, the track bar's
// layout and tics, the spin's hit test, and the tab page's pattern brush.
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectFrame.h"
#include "SFSkinObjectSpin.h"
#include "SFSkinObjectTab.h"
#include "SFSkinObjectTrackBar.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <commctrl.h>
#include <gtest/gtest.h>

class SkinControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&icc);
        manager = GetSkinFramework();
        manager->SetApplyToNewWindows(FALSE);
        ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
        parent = CreateWindowExW(0, PlainWindowClass(), L"Controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 420,
                                 300, NULL, NULL, GetModuleHandleW(NULL), NULL);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        manager->RemoveAll(TRUE);
        manager->LoadSkin(L"", L"");
    }
    HWND Make(const wchar_t* cls, DWORD style, int x, int y, int width, int height)
    {
        return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent, NULL,
                               GetModuleHandleW(NULL), NULL);
    }
    template <typename T> T* Skin(HWND hwnd)
    {
        manager->ApplyWindow(hwnd);
        return dynamic_cast<T*>(manager->Lookup(hwnd));
    }
    void Unskin()
    {
        manager->RemoveAll(TRUE);
        manager->LoadSkin(L"", L"");
    }

    CSFSkinFramework* manager = nullptr;
    HWND parent = NULL;
};

TEST_F(SkinControlTest, TabItemsTakeTheirEdgePartsAndTheSelectedOneIsDrawnLast)
{
    HWND tab = Make(WC_TABCONTROLW, 0, 10, 10, 380, 200);
    const wchar_t* names[] = {L"Songs", L"Boards", L"Buddies", L"Radio"};
    for (int i = 0; i < 4; i++)
    {
        TCITEMW item = {TCIF_TEXT};
        item.pszText = const_cast<wchar_t*>(names[i]);
        SendMessageW(tab, TCM_INSERTITEMW, i, (LPARAM)&item);
    }
    SendMessageW(tab, TCM_SETCURSEL, 2, 0);
    CSFSkinObjectTab* object = Skin<CSFSkinObjectTab>(tab);
    ASSERT_NE(nullptr, object);
    RECT fourth;
    SendMessageW(tab, TCM_GETITEMRECT, 3, (LPARAM)&fourth);
    SendMessageW(tab, WM_MOUSEMOVE, 0, MAKELPARAM((fourth.left + fourth.right) / 2, (fourth.top + fourth.bottom) / 2));
    EXPECT_EQ(3, object->GetHotItem());
    WindowShot shot = TakeWindowShot(tab);
    KeepWindowPicture(parent, L"tab-skinned");

    struct
    {
        int part, state;
    } expected[] = {{6, 1}, {5, 1}, {5, 3}, {7, 2}};
    for (int i = 0; i < 4; i++)
    {
        EXPECT_EQ(expected[i].part, object->GetItemPart(i)) << i;
        EXPECT_EQ(expected[i].state, object->GetItemState(i)) << i;
    }
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 2}), object->GetPaintOrder());
    // The first item shows the normal cell of the style's tab picture, the
    // hot fourth its hot cell.
    RECT first;
    SendMessageW(tab, TCM_GETITEMRECT, 0, (LPARAM)&first);
    std::set<COLORREF> normal = StylePictureColours(L"TabItem.bmp", 0, 5);
    std::set<COLORREF> hot = StylePictureColours(L"TabItem.bmp", 1, 5);
    int area = (first.right - first.left) * (first.bottom - first.top);
    EXPECT_GT(shot.CountIn(first, normal), area / 2);
    EXPECT_GT(shot.CountIn(fourth, hot), area / 2);

    // Leaving the control takes the hot look away.
    SendMessageW(tab, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(-1, object->GetHotItem());
    Unskin();
    shot = TakeWindowShot(tab);
    EXPECT_LT(shot.CountIn(fourth, hot), area / 4);
}

TEST_F(SkinControlTest, ATabPageAnswersItsChildrenWithThePagePatternAlignedToThePage)
{
    HWND page = CreateWindowExW(0, PlainWindowClass(), L"", WS_CHILD | WS_VISIBLE, 20, 30, 200, 150, parent, NULL,
                                GetModuleHandleW(NULL), NULL);
    HWND check = CreateWindowExW(0, L"STATIC", L"Remember me", WS_CHILD | WS_VISIBLE, 13, 17, 100, 20, page, NULL,
                                 GetModuleHandleW(NULL), NULL);
    CSFSkinObjectFrame* object = Skin<CSFSkinObjectFrame>(page);
    ASSERT_NE(nullptr, object);
    HDC dc = GetDC(check);

    // An ordinary dialog answers with the dialog brush.
    HBRUSH plain = (HBRUSH)SendMessageW(page, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)check);
    EXPECT_EQ(manager->GetMetrics()->GetBrush(COLOR_BTNFACE), plain);

    object->SetWindowKind(SF_WINDOW_KIND_PROPERTY_PAGE);
    HBRUSH brush = (HBRUSH)SendMessageW(page, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)check);
    ASSERT_NE(nullptr, brush);
    EXPECT_EQ(manager->GetMetrics()->GetTabPageBrush(), brush);
    EXPECT_EQ(OBJ_BRUSH, (int)GetObjectType(brush));
    LOGBRUSH info = {};
    GetObjectW(brush, sizeof(info), &info);
    EXPECT_EQ((UINT)BS_PATTERN, info.lbStyle);
    POINT origin = {};
    GetBrushOrgEx(dc, &origin);
    EXPECT_EQ(-13, origin.x);
    EXPECT_EQ(-17, origin.y);
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    // Made once: the second answer is the same brush.
    EXPECT_EQ(brush, (HBRUSH)SendMessageW(page, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)check));
    ReleaseDC(check, dc);
}

TEST_F(SkinControlTest, TrackBarLayoutFollowsItsStyle)
{
    ASSERT_EQ(17, GetSystemMetrics(SM_CYHSCROLL));
    ASSERT_EQ(2, GetSystemMetrics(SM_CXEDGE));
    ASSERT_EQ(2, GetSystemMetrics(SM_CYEDGE));
    struct
    {
        DWORD style;
        int width, height, thumbLength;
        RECT channel;
        int half, usable;
    } cases[] = {
        {0, 200, 30, 0, {13, 2, 187, 24}, 11, 174},
        {TBS_BOTH, 200, 30, 0, {13, 10, 187, 32}, 11, 174},
        {TBS_TOP | TBS_NOTICKS, 200, 30, 0, {13, 2, 187, 24}, 11, 174},
        // Too low for the usual thumb: it takes the height less three edges.
        {0, 200, 20, 0, {9, 2, 191, 16}, 7, 182},
        {TBS_ENABLESELRANGE, 200, 30, 0, {13, 2, 187, 26}, 11, 174},
        {TBS_ENABLESELRANGE | TBS_FIXEDLENGTH, 200, 30, 20, {11, 2, 189, 22}, 9, 178},
        // Vertical bars are laid out with x and y swapped.
        {TBS_VERT, 30, 200, 0, {13, 2, 187, 24}, 11, 174},
    };
    for (auto& c : cases)
    {
        HWND bar = Make(TRACKBAR_CLASSW, c.style, 10, 10, c.width, c.height);
        if (c.thumbLength)
            SendMessageW(bar, TBM_SETTHUMBLENGTH, c.thumbLength, 0);
        CSFSkinObjectTrackBar* object = Skin<CSFSkinObjectTrackBar>(bar);
        ASSERT_NE(nullptr, object);
        object->Layout();
        const RECT& got = object->GetChannel();
        EXPECT_EQ(c.channel.left, got.left) << c.style << " " << c.height;
        EXPECT_EQ(c.channel.top, got.top) << c.style << " " << c.height;
        EXPECT_EQ(c.channel.right, got.right) << c.style << " " << c.height;
        EXPECT_EQ(c.channel.bottom, got.bottom) << c.style << " " << c.height;
        EXPECT_EQ(c.half, object->GetThumbHalfWidth()) << c.style;
        EXPECT_EQ(c.usable, object->GetUsableLength()) << c.style;
        DestroyWindow(bar);
    }
}

TEST_F(SkinControlTest, TrackBarTicsWedgesThumbAndPositions)
{
    HWND bar = Make(TRACKBAR_CLASSW, TBS_ENABLESELRANGE | TBS_AUTOTICKS, 10, 10, 200, 40);
    SendMessageW(bar, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    SendMessageW(bar, TBM_SETSEL, FALSE, MAKELPARAM(20, 60));
    HWND quiet = Make(TRACKBAR_CLASSW, TBS_ENABLESELRANGE | TBS_NOTICKS, 10, 60, 200, 40);
    SendMessageW(quiet, TBM_SETSEL, FALSE, MAKELPARAM(20, 60));
    CSFSkinObjectTrackBar* object = Skin<CSFSkinObjectTrackBar>(bar);
    CSFSkinObjectTrackBar* quietObject = Skin<CSFSkinObjectTrackBar>(quiet);
    ASSERT_NE(nullptr, object);
    ASSERT_NE(nullptr, quietObject);
    EXPECT_EQ(1, object->GetTicFrequency());
    SendMessageW(bar, TBM_SETTICFREQ, 10, 0);
    EXPECT_EQ(10, object->GetTicFrequency());
    WindowShot shot = TakeWindowShot(bar);
    TakeWindowShot(quiet);
    KeepWindowPicture(parent, L"trackbar-skinned");
    EXPECT_GT(object->GetTicStrokes(), 4);
    EXPECT_EQ(6, object->GetWedgeStrokes());
    EXPECT_EQ(0, quietObject->GetTicStrokes());
    EXPECT_EQ(0, quietObject->GetWedgeStrokes());

    // The ends of the range sit at the channel's first and last pixels.
    object->Layout();
    EXPECT_EQ(object->GetChannel().left, object->PositionToPixel(0));
    EXPECT_EQ(object->GetChannel().right - 1, object->PositionToPixel(100));

    // The thumb: bottom-pointing, pressed under the capture, disabled last.
    EXPECT_EQ(4, object->GetThumbPart());
    EXPECT_EQ(1, object->GetThumbState());
    SetCapture(bar);
    EXPECT_EQ(3, object->GetThumbState());
    ReleaseCapture();
    EnableWindow(bar, FALSE);
    EXPECT_EQ(5, object->GetThumbState());
    EnableWindow(bar, TRUE);

    // The channel is filled in the style's track colour.
    RECT channel;
    SendMessageW(bar, TBM_GETCHANNELRECT, 0, (LPARAM)&channel);
    InflateRect(&channel, -1, -1);
    std::set<COLORREF> track = {RGB(214, 231, 247)};
    EXPECT_GT(shot.CountIn(channel, track), 0);
    Unskin();
    shot = TakeWindowShot(bar);
    EXPECT_EQ(0, shot.CountIn(channel, track));
}

TEST_F(SkinControlTest, SpinButtonsByHitTestAndPress)
{
    HWND vertical = Make(UPDOWN_CLASSW, 0, 10, 10, 20, 40);
    HWND horizontal = Make(UPDOWN_CLASSW, UDS_HORZ, 40, 10, 40, 20);
    SendMessageW(vertical, UDM_SETRANGE32, 0, 10);
    SendMessageW(horizontal, UDM_SETRANGE32, 0, 10);
    CSFSkinObjectSpin* up = Skin<CSFSkinObjectSpin>(vertical);
    CSFSkinObjectSpin* side = Skin<CSFSkinObjectSpin>(horizontal);
    ASSERT_NE(nullptr, up);
    ASSERT_NE(nullptr, side);
    struct
    {
        CSFSkinObjectSpin* spin;
        POINT point;
        int button;
    } hits[] = {{up, {10, 5}, 2},   {up, {10, 35}, 1},   {up, {10, 20}, 0},  {up, {-1, -1}, 0},
                {side, {5, 10}, 1}, {side, {35, 10}, 2}, {side, {20, 10}, 0}};
    for (auto& h : hits)
        EXPECT_EQ(h.button, h.spin->HitTest(h.point)) << h.point.x << "," << h.point.y;

    // Held on the up half and slid to the down half: up stays hot, down normal.
    SendMessageW(vertical, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_EQ(2, up->GetPressedButton());
    SendMessageW(vertical, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 35));
    EXPECT_EQ(2, up->GetButtonState(2));
    EXPECT_EQ(1, up->GetButtonState(1));
    SendMessageW(vertical, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_EQ(3, up->GetButtonState(2));
    SendMessageW(vertical, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
    EXPECT_EQ(0, up->GetPressedButton());
    EXPECT_EQ(2, up->GetButtonState(2));
    // Equal bounds leave nothing to spin.
    SendMessageW(vertical, UDM_SETRANGE32, 5, 5);
    EXPECT_EQ(4, up->GetButtonState(1));
    EXPECT_EQ(4, up->GetButtonState(2));
    SendMessageW(vertical, UDM_SETRANGE32, 0, 10);
    SendMessageW(vertical, WM_MOUSELEAVE, 0, 0);

    WindowShot shot = TakeWindowShot(vertical);
    KeepWindowPicture(parent, L"spin-skinned");
    RECT upper = {0, 0, 20, 20}, lower = {0, 20, 20, 40};
    EXPECT_GT(shot.CountIn(upper, StylePictureColours(L"SpinUp.bmp", 0, 4)), 200);
    EXPECT_GT(shot.CountIn(lower, StylePictureColours(L"SpinDown.bmp", 0, 4)), 200);
    Unskin();
    shot = TakeWindowShot(vertical);
    EXPECT_LT(shot.CountIn(upper, StylePictureColours(L"SpinUp.bmp", 0, 4)), 100);
}
