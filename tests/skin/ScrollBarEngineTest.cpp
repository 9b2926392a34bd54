// The scroll-bar engine: its layout maths, hit test and position from the
// thumb's pixel, and its tracking loop on a skinned scroll-bar control,
// driven by messages: a thumb dragged past the end and a press on the track.
#include "SFScrollBarLayout.h"
#include "SFSkinFramework.h"
#include "SFSkinObjectScrollBar.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace
{
ScrollBarLayout Lay(int length, int arrow, int min, int max, int page, int pos)
{
    ScrollBarLayout l = {};
    l.vertical = 1;
    l.visible = 1;
    RECT r = {0, 0, 16, length};
    SCROLLINFO si = {sizeof(si), SIF_ALL, min, max, (UINT)page, pos, 0};
    SFLayoutScrollBar(&l, r, si, arrow);
    return l;
}

std::vector<std::pair<int, int>> g_scrolls; // (code, position) as the parent got them

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_VSCROLL)
    {
        g_scrolls.push_back({LOWORD(wParam), (short)HIWORD(wParam)});
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Marks the left button down (or up) in this thread's key state, as a
// real press would while the loop runs.
void SetLeftButton(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_LBUTTON] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}
} // namespace

TEST(ScrollBarLayoutTest, LayoutMathsAndHitTest)
{
    // A 20-pixel bar halves 17-pixel arrows; the thumb keeps half the full arrow.
    ScrollBarLayout shortBar = Lay(20, 17, 0, 99, 10, 0);
    EXPECT_EQ(10, shortBar.firstArrowEnd);
    EXPECT_EQ(10, shortBar.secondArrowStart);
    EXPECT_EQ(8, shortBar.thumbSize);

    // A page covering the range puts the thumb one pixel before the track.
    ScrollBarLayout covered = Lay(200, 16, 0, 99, 100, 0);
    EXPECT_EQ(covered.trackStart - 1, covered.thumbTop);

    ScrollBarLayout l = Lay(200, 16, 0, 99, 10, 90);
    EXPECT_EQ(17, l.thumbSize); // 168 * 10 / 100
    EXPECT_EQ(16, l.trackStart);
    EXPECT_EQ(200 - 16 - 16 - 17, l.freeTrack);
    EXPECT_EQ(l.trackStart + l.freeTrack, l.thumbTop);
    EXPECT_EQ(l.thumbTop + 17, l.thumbBottom);

    ScrollBarLayout middle = Lay(200, 16, 0, 99, 10, 45);
    EXPECT_EQ(16 + MulDiv(45, 151, 90), middle.thumbTop);
    struct
    {
        int y, part;
    } hits[] = {{0, 60},   {15, 60}, {16, 62}, {middle.thumbTop - 1, 62}, {middle.thumbTop, 64},
                {middle.thumbBottom - 1, 64}, {middle.thumbBottom, 63}, {183, 63}, {184, 61}, {199, 61}, {200, 0}};
    for (auto& h : hits)
        EXPECT_EQ(h.part, SFScrollBarPartAt(&middle, 8, h.y)) << h.y;
    ScrollBarLayout hidden = l;
    hidden.visible = 0;
    EXPECT_EQ(0, SFScrollBarPartAt(&hidden, 8, 100));

    EXPECT_EQ(0, SFScrollPositionFromPixel(&l, 0));
    EXPECT_EQ(0, SFScrollPositionFromPixel(&l, l.trackStart));
    EXPECT_EQ(45, SFScrollPositionFromPixel(&l, l.trackStart + l.freeTrack / 2 + 1));
    EXPECT_EQ(90, SFScrollPositionFromPixel(&l, l.trackStart + l.freeTrack));
    EXPECT_EQ(90, SFScrollPositionFromPixel(&l, 500));
}

class ScrollBarTrackingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_scrolls.clear();
        manager = GetSkinFramework();
        manager->SetApplyToNewWindows(FALSE);
        ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
        parent = CreateWindowExW(0, TestWindowClass(L"ScrollTrackParent", ParentProc), L"Scroll tracking",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 200, 300, NULL, NULL,
                                 GetModuleHandleW(NULL), NULL);
        bar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 20, 20, 16, 200, parent, NULL,
                              GetModuleHandleW(NULL), NULL);
        ASSERT_NE(nullptr, bar);
        SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 99, 10, 0, 0};
        SetScrollInfo(bar, SB_CTL, &si, FALSE);
        manager->ApplyWindow(bar);
        object = dynamic_cast<CSFSkinObjectScrollBar*>(manager->Lookup(bar));
        ASSERT_NE(nullptr, object);
        TakeWindowShot(parent);
    }
    void TearDown() override
    {
        SetLeftButton(false);
        DestroyWindow(parent);
        manager->RemoveAll(TRUE);
        manager->LoadSkin(L"", L"");
    }
    POINT Screen(int x, int y)
    {
        POINT pt = {x, y};
        ClientToScreen(bar, &pt);
        return pt;
    }

    CSFSkinFramework* manager = nullptr;
    HWND parent = NULL, bar = NULL;
    CSFSkinObjectScrollBar* object = nullptr;
};

TEST_F(ScrollBarTrackingTest, TheControlIsPaintedFromTheStyle)
{
    WindowShot shot = TakeWindowShot(bar);
    ScrollBarLayout& l = object->GetLayout();
    EXPECT_EQ(SF_SBBAR_CONTROL, l.bar);
    RECT arrow = {0, 0, 16, l.firstArrowEnd};
    EXPECT_GT(shot.CountIn(arrow, StylePictureColours(L"ArrowBtn.bmp")), 150);
    RECT thumb = {0, l.thumbTop, 16, l.thumbBottom};
    EXPECT_GT(shot.CountIn(thumb, StylePictureColours(L"ThumbBtnVert.bmp")), 150);
}

TEST_F(ScrollBarTrackingTest, ADragPastTheEndTracksTheLastPositionOnce)
{
    ScrollBarLayout& l = object->GetLayout();
    int thumbMiddle = (l.thumbTop + l.thumbBottom) / 2;
    // The pointer goes 20 pixels past the bar's end, still near enough to drag.
    POINT beyond = Screen(8, 200 + 20);
    SetCursorPos(beyond.x, beyond.y);
    PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, 220));
    PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(8, 220));
    SetLeftButton(true);
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, thumbMiddle));
    std::vector<std::pair<int, int>> expected = {
        {SB_THUMBTRACK, 0}, {SB_THUMBTRACK, 90}, {SB_THUMBPOSITION, 90}, {SB_ENDSCROLL, 0}};
    EXPECT_EQ(expected, g_scrolls);
    EXPECT_EQ(nullptr, object->GetTracking());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ScrollBarTrackingTest, APressOnTheTrackPagesOnceAndEnds)
{
    ScrollBarLayout& l = object->GetLayout();
    POINT at = Screen(8, 150);
    SetCursorPos(at.x, at.y);
    PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(8, 150));
    SetLeftButton(true);
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 150));
    ASSERT_LT(l.thumbBottom, 150);
    std::vector<std::pair<int, int>> expected = {{SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}};
    EXPECT_EQ(expected, g_scrolls);
    EXPECT_EQ(0, l.hotPart);
}
