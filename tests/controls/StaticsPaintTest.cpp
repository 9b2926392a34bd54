// Marquee segments, the animated bitmap, the skinned header's width rules and
// the splitter's range.
#include "AnimatedBitmapStatic.h"
#include "ListenSongStatic.h"
#include "ScrollTextStatic.h"
#include "SkinHeaderCtrl.h"
#include "SplitterBar.h"
#include "resource.h"

#include <gtest/gtest.h>

TEST(ScrollTextStatic, Segments)
{
    struct Case { const wchar_t* text; std::vector<CString> segments; } cases[] = {
        {L"|first|second|", {L"first", L"second"}},
        {L"|one", {}},
        {L"|a||b|", {L"a"}},
        {L"", {}},
        {L"|x|y", {L"x"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.segments, CScrollTextStatic::SplitSegments(c.text)) << c.text;
}

TEST(ScrollTextStatic, TextReentersFromTheRight)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 650, 200, 40, NULL, NULL));
    CScrollTextStatic marquee;
    ASSERT_TRUE(marquee.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 150, 20), &host, 3));
    marquee.Setup(RGB(255, 255, 255), RGB(0, 255, 0), L"Arial", 15, 4, CScrollTextStatic::MODE_SEGMENTS);
    marquee.SetText(L"|song|artist|");
    EXPECT_EQ(150, marquee.m_x);
    marquee.SendMessage(WM_TIMER, CScrollTextStatic::TIMER_ID);
    EXPECT_LE(marquee.m_x, 146);
    marquee.m_x = -1000; // scrolled out on the left
    marquee.Invalidate();
    marquee.UpdateWindow();
    EXPECT_EQ(150, marquee.m_x);
    host.DestroyWindow();
}

TEST(AnimatedBitmapStatic, FramesWrapAndStop)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 650, 200, 200, NULL, NULL));
    CAnimatedBitmapStatic busy;
    ASSERT_TRUE(busy.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &host, 4));
    busy.m_nBaseID = IDB_BUSY_FRAME_01;
    busy.m_nFrames = 48;
    busy.SetTimer(busy.m_nTimerID, 44);
    busy.m_bRunning = TRUE;
    for (int i = 0; i < 48; ++i)
        busy.SendMessage(WM_TIMER, busy.m_nTimerID);
    EXPECT_EQ((UINT)IDB_BUSY_FRAME_01 + 47, busy.m_nShownID);
    EXPECT_EQ(0, busy.m_nFrame);
    busy.SendMessage(WM_TIMER, busy.m_nTimerID);
    EXPECT_EQ((UINT)IDB_BUSY_FRAME_01, busy.m_nShownID);
    EXPECT_TRUE(busy.SetBitmap(0));
    EXPECT_FALSE(busy.m_bRunning);
    EXPECT_EQ(nullptr, busy.m_bitmap.GetSafeHandle());
    EXPECT_FALSE(busy.SetBitmap(64999));
    host.DestroyWindow();
}

TEST(SkinHeaderCtrl, WidthRulesAndTriangles)
{
    struct Case { int column, width, expected; } cases[] = {{0, 40, 100}, {0, 150, 150}, {1, 10, 65}, {9, 30, 65}, {3, 80, 80}};
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CSkinHeaderCtrl::ClampWidth(c.column, c.width, 100));
    POINT up[3], down[3];
    CRect r(0, 0, 100, 20);
    CSkinHeaderCtrl::SortTriangle(r, CSkinHeaderCtrl::SORT_ASCENDING, up);
    CSkinHeaderCtrl::SortTriangle(r, CSkinHeaderCtrl::SORT_DESCENDING, down);
    EXPECT_LT(up[1].y, up[0].y);   // the apex above the base: pointing up
    EXPECT_GT(down[1].y, down[0].y); // pointing down
}

TEST(SkinHeaderCtrl, LockRefusesResizingAndWidthsReachTheSettings)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 650, 400, 200, NULL, NULL));
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 400, 200), &host, 8));
    list.InsertColumn(0, L"title", LVCFMT_LEFT, 150);
    list.InsertColumn(1, L"artist", LVCFMT_LEFT, 100);
    CSkinHeaderCtrl header;
    ASSERT_TRUE(header.SubclassWindow(list.GetHeaderCtrl()->GetSafeHwnd()));
    header.m_nSortColumn = 1;
    header.UpdateWindow();

    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = 30;
    NMHEADERW nm{};
    nm.hdr.hwndFrom = header.m_hWnd;
    nm.hdr.code = HDN_ITEMCHANGINGW;
    nm.iItem = 0;
    nm.pitem = &item;
    LRESULT result = 0;
    header.OnChildNotify(WM_NOTIFY, 0, (LPARAM)&nm, &result);
    EXPECT_EQ(100, item.cxy);

    header.m_bLocked = TRUE;
    nm.hdr.code = HDN_BEGINTRACKW;
    result = 0;
    EXPECT_TRUE(header.OnChildNotify(WM_NOTIFY, 0, (LPARAM)&nm, &result));
    EXPECT_EQ(1, result);
    nm.hdr.code = HDN_DIVIDERDBLCLICKW;
    result = 0;
    EXPECT_TRUE(header.OnChildNotify(WM_NOTIFY, 0, (LPARAM)&nm, &result));
    EXPECT_EQ(1, result);
    header.UnsubclassWindow();
    host.DestroyWindow();
}

TEST(SplitterBar, RangeClamp)
{
    struct Case { int x, y; int ex, ey; } cases[] = {{50, 50, 50, 50}, {10, 300, 20, 200}, {500, -5, 200, 20}};
    for (const Case& c : cases)
    {
        CPoint p = CSplitterBar::ClampToRange(CPoint(c.x, c.y), 20, 200);
        EXPECT_EQ(c.ex, p.x);
        EXPECT_EQ(c.ey, p.y);
    }
}

TEST(SplitterBar, DragNotifiesTheClampedDistance)
{
    struct Host : CWnd
    {
        std::vector<int> deltas;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_NOTIFY && ((NMHDR*)lParam)->code == CSplitterBar::NOTIFY_MOVED)
                deltas.push_back(((SplitterNotify*)lParam)->delta);
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 650, 400, 300, NULL, NULL));
    CSplitterBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(100, 0, 110, 300), &host, 12));
    CRect rect;
    bar.GetWindowRect(&rect);
    EXPECT_EQ(3, rect.Width());
    bar.SetRange(50, 150);
    bar.UpdateWindow();
    // A click without moving: delta 0. A drag far to the right stops at the maximum.
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(1, 10));
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
    ::SendMessageW(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 10));
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(250, 10));
    ASSERT_EQ(2u, host.deltas.size());
    EXPECT_EQ(0, host.deltas[0]);
    EXPECT_EQ(150 - 101, host.deltas[1]);
    bar.GetWindowRect(&rect);
    host.ScreenToClient(&rect);
    EXPECT_EQ(150, rect.CenterPoint().x);
    host.DestroyWindow();
}

TEST(ListenSongStatic, ShowsItsTextOnlyWhenSomebodyListens)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 650, 300, 40, NULL, NULL));
    CListenSongStatic listen;
    ASSERT_TRUE(listen.Create(L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 250, 24), &host, 6));
    listen.m_background.LoadBitmap(IDB_FRAME_TOP);
    listen.UpdateWindow();
    EXPECT_FALSE(::SendMessageW(listen.m_hWnd, WM_SETCURSOR, (WPARAM)listen.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    listen.m_icons.push_back(::LoadIconW(NULL, IDI_INFORMATION));
    listen.m_strText = L"<b>Song</b> - singer";
    EXPECT_EQ(CString(L"<b>Song</b> - singer"), listen.GetSongText());
    listen.Invalidate();
    listen.UpdateWindow();
    host.DestroyWindow();
}
