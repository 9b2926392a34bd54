// Skinned scroll bars: metrics, hit tests and drags.
#include "SkinScrollBar.h"
#include "SkinScrollBarFrame.h"

#include <gtest/gtest.h>

namespace
{
SCROLLINFO Info(int nMin, int nMax, UINT page, int pos, int track = -1)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.nMin = nMin;
    si.nMax = nMax;
    si.nPage = page;
    si.nPos = pos;
    si.nTrackPos = track;
    return si;
}
} // namespace

TEST(SkinScrollBar, Metrics)
{
    // A 200-pixel bar with 16-pixel cells: 168 pixels of track.
    ScrollBarMetrics m = CSkinScrollBar::Measure(Info(0, 99, 10, 0), 16, 200);
    EXPECT_EQ(168, m.track);
    EXPECT_EQ(16, m.arrow);
    EXPECT_EQ(16, m.thumb);
    EXPECT_EQ(90, m.free);
    EXPECT_EQ(16, m.thumbOffset);
    m = CSkinScrollBar::Measure(Info(0, 99, 10, 90), 16, 200);
    EXPECT_EQ(16 + 168 - 16, m.thumbOffset); // the last position reaches the down arrow
    // Never shorter than 8 pixels.
    EXPECT_EQ(8, CSkinScrollBar::Measure(Info(0, 9999, 1, 0), 16, 200).thumb);
    // A page that covers the range: no thumb, the track areas fill it.
    m = CSkinScrollBar::Measure(Info(0, 9, 10, 0), 16, 200);
    EXPECT_EQ(0, m.thumb);
    EXPECT_EQ(16 + 168 / 2, m.thumbOffset);
    // Too short for a track: the arrows share the length.
    m = CSkinScrollBar::Measure(Info(0, 99, 10, 0), 16, 20);
    EXPECT_EQ(0, m.track);
    EXPECT_EQ(10, m.arrow);
    // A range not starting at 0 puts its first position at the top.
    EXPECT_EQ(16, CSkinScrollBar::Measure(Info(50, 149, 10, 50), 16, 200).thumbOffset);
    // The track position wins while dragging.
    EXPECT_EQ(16 + 152, CSkinScrollBar::Measure(Info(0, 99, 10, 0, 90), 16, 200).thumbOffset);
    // Empty and reversed ranges divide by nothing.
    EXPECT_EQ(0, CSkinScrollBar::Measure(Info(5, 4, 0, 5), 16, 200).thumb);
}

TEST(SkinScrollBar, DragPositionsStayInTheRange)
{
    SCROLLINFO si = Info(0, 99, 10, 0);
    EXPECT_EQ(0, CSkinScrollBar::DragPosition(si, 0, -50, 16, 200));
    EXPECT_EQ(90, CSkinScrollBar::DragPosition(si, 0, 1000, 16, 200));
    EXPECT_EQ(45, CSkinScrollBar::DragPosition(si, 0, 76, 16, 200));
    SCROLLINFO shifted = Info(50, 149, 10, 50);
    EXPECT_EQ(140, CSkinScrollBar::DragPosition(shifted, 50, 1000, 16, 200));
    EXPECT_EQ(50, CSkinScrollBar::DragPosition(shifted, 50, -1000, 16, 200));
}

TEST(SkinScrollBar, HitTestAndScrollMessages)
{
    struct Parent : CWnd
    {
        std::vector<WPARAM> codes;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_VSCROLL)
                codes.push_back(wParam);
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } parent;
    // The bar's parent stands for the frame, which sits in a window of its own.
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 650, 100, 300, NULL, NULL));
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"p", WS_CHILD | WS_VISIBLE, 0, 0, 100, 300, host.m_hWnd, NULL));
    CSkinScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 16, 200), &parent, 101));
    CBitmap skin;
    skin.LoadBitmap(298);
    bar.SetBitmap((HBITMAP)skin.GetSafeHandle());
    EXPECT_EQ(16, bar.m_cell);
    SCROLLINFO si = Info(0, 99, 10, 0);
    si.fMask = SIF_ALL;
    bar.SetScrollInfo(&si, TRUE);
    SCROLLINFO back{};
    bar.GetScrollInfo(&back, SIF_ALL);
    EXPECT_EQ(99, back.nMax);
    EXPECT_EQ(10u, back.nPage);
    EXPECT_EQ(CSkinScrollBar::PART_LINEUP, bar.HitTest(CPoint(5, 3)));
    EXPECT_EQ(CSkinScrollBar::PART_THUMB, bar.HitTest(CPoint(5, 20)));
    EXPECT_EQ(CSkinScrollBar::PART_PAGEDOWN, bar.HitTest(CPoint(5, 100)));
    EXPECT_EQ(CSkinScrollBar::PART_LINEDOWN, bar.HitTest(CPoint(5, 195)));
    EXPECT_EQ(CSkinScrollBar::PART_NONE, bar.HitTest(CPoint(5, -1)));

    // A press on the down arrow scrolls once at once; a thumb drag sends
    // THUMBTRACK per change and THUMBPOSITION once.
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 195));
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 195));
    ASSERT_EQ(1u, parent.codes.size());
    EXPECT_EQ(SB_LINEDOWN, LOWORD(parent.codes[0]));
    parent.codes.clear();
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 20));
    ::SendMessageW(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 96));
    ::SendMessageW(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 96));
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(6, 96));
    ASSERT_EQ(2u, parent.codes.size());
    EXPECT_EQ(SB_THUMBTRACK, LOWORD(parent.codes[0]));
    EXPECT_EQ(45, HIWORD(parent.codes[0]));
    EXPECT_EQ(SB_THUMBPOSITION, LOWORD(parent.codes[1]));
    EXPECT_EQ(45, HIWORD(parent.codes[1]));
    host.DestroyWindow();
}

TEST(SkinScrollBarFrame, WrapsAListAndFollowsItsScrolling)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 650, 300, 300, NULL, NULL));
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT,
                            CRect(10, 10, 210, 210), &host, 55));
    for (int i = 0; i < 100; ++i)
        list.AddString(L"row");
    CBitmap skin;
    skin.LoadBitmap(298);
    CSkinScrollBarFrame* frame = AttachSkinScrollBars(&list, (HBITMAP)skin.GetSafeHandle());
    ASSERT_NE(nullptr, frame);
    wchar_t name[64] = {0};
    ::GetWindowTextW(frame->m_hWnd, name, 64);
    EXPECT_STREQ(L"SkinScrollBarFrame", name);
    EXPECT_EQ(frame->m_limit.m_hWnd, ::GetParent(list.m_hWnd));
    EXPECT_EQ(55, ::GetDlgCtrlID(frame->m_hWnd));
    EXPECT_EQ(16, frame->m_cell);

    list.SetTopIndex(30);
    frame->SyncBar(SB_VERT);
    EXPECT_EQ(list.GetScrollPos(SB_VERT), frame->m_vert.m_si.nPos);
    // A scroll request of the skinned bar reaches the list.
    int before = list.GetTopIndex();
    frame->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), (LPARAM)frame->m_vert.m_hWnd);
    EXPECT_EQ(before + 1, list.GetTopIndex());
    EXPECT_EQ(list.GetScrollPos(SB_VERT), frame->m_vert.m_si.nPos);

    // Destroying the list unwraps it first; the frame goes with it.
    HWND frameWnd = frame->m_hWnd;
    list.DestroyWindow();
    EXPECT_FALSE(::IsWindow(frameWnd));
    host.DestroyWindow();
}
