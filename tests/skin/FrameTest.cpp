// The frame skin object on real windows with the client's style: borders
// and caption from the style's pictures, caption buttons by window style,
// hit-testing, the region cut from the caption's see-through corners, the
// close button's press, the non-client scroll bars, and the system's own
// frame back once the skin is removed.
#include "SFSkinDefaultSchema.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectFrame.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <gtest/gtest.h>
#include <vector>

namespace
{
POINT ScreenPointOf(HWND hwnd, const RECT& windowRect)
{
    RECT wr;
    GetWindowRect(hwnd, &wr);
    POINT pt = {wr.left + (windowRect.left + windowRect.right) / 2, wr.top + (windowRect.top + windowRect.bottom) / 2};
    return pt;
}

// Offset of the client area within the window.
RECT ClientInsets(HWND hwnd)
{
    RECT wr, cr;
    GetWindowRect(hwnd, &wr);
    GetClientRect(hwnd, &cr);
    MapWindowPoints(hwnd, NULL, (POINT*)&cr, 2);
    return RECT{cr.left - wr.left, cr.top - wr.top, wr.right - cr.right, wr.bottom - cr.bottom};
}
} // namespace

class FrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        manager = GetSkinFramework();
        manager->SetApplyToNewWindows(FALSE);
        manager->SetApplyOptions(SF_APPLY_METRICS | SF_APPLY_FRAME | SF_APPLY_COLORS);
        ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    }
    void TearDown() override
    {
        for (HWND hwnd : windows)
            if (IsWindow(hwnd))
                DestroyWindow(hwnd);
        manager->RemoveAll(TRUE);
        manager->LoadSkin(L"", L"");
    }
    HWND Make(DWORD style, DWORD ex, int width = 320, int height = 220, bool skin = true)
    {
        HWND hwnd = CreateWindowExW(ex, PlainWindowClass(), L"Skinned frame", style, 40, 40, width, height, NULL, NULL,
                                    GetModuleHandleW(NULL), NULL);
        EXPECT_NE(nullptr, hwnd);
        windows.push_back(hwnd);
        if (skin)
            manager->ApplyWindow(hwnd);
        return hwnd;
    }
    CSFSkinObjectFrame* FrameOf(HWND hwnd) { return dynamic_cast<CSFSkinObjectFrame*>(manager->Lookup(hwnd)); }

    CSFSkinFramework* manager = nullptr;
    std::vector<HWND> windows;
};

TEST_F(FrameTest, CaptionBordersAndButtonsAreTheStylesPicturesUntilTheSkinIsRemoved)
{
    HWND hwnd = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0);
    CSFSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    RECT b = frame->GetBorders();
    RECT insets = ClientInsets(hwnd);
    EXPECT_EQ(b.left, insets.left);
    EXPECT_EQ(b.top, insets.top);
    EXPECT_EQ(manager->GetMetrics()->m_captionHeight + b.bottom, b.top);

    // The caption and its buttons show the active or the inactive pictures:
    // another test program's window may take the activation at any time, so
    // the pictures expected are those of the state the frame painted in.
    // (Sent messages are handled only while the shot pumps, so the state read
    // right after a shot is the state it shows.)
    std::set<COLORREF> captionCells[2] = {StylePictureColours(L"Caption.bmp", 0, 3),
                                          StylePictureColours(L"Caption.bmp", 1, 3)};
    ASSERT_FALSE(captionCells[0].empty());
    // The middle of the caption bar, left of the buttons and right of the title.
    RECT captionStrip = {b.left + 150, 3, b.left + 170, b.top - 3};
    int strip = (captionStrip.right - captionStrip.left) * (captionStrip.bottom - captionStrip.top);
    WindowShot shot = TakeWindowShot(hwnd);
    BOOL active = frame->IsActive();
    for (int attempt = 0; attempt < 20 && shot.CountIn(captionStrip, captionCells[active ? 0 : 1]) != strip; ++attempt)
    {
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Sleep(100);
        shot = TakeWindowShot(hwnd);
        active = frame->IsActive();
    }
    KeepWindowPicture(hwnd, L"frame-skinned");
    EXPECT_EQ(strip, shot.CountIn(captionStrip, captionCells[active ? 0 : 1])) << (active ? "active" : "inactive");
    RECT leftBorder = {0, b.top + 10, b.left, b.top + 40};
    EXPECT_GT(shot.CountIn(leftBorder, StylePictureColours(L"FrameLeft.bmp", active ? 0 : 1, 2)), 0);
    ASSERT_EQ(3u, frame->GetButtons().size());
    FrameButton* closeButton = frame->GetButtons()[0];
    const RECT& close = closeButton->rect;
    EXPECT_GT(shot.CountIn(close, StylePictureColours(L"CloseButton.bmp", frame->GetButtonState(closeButton) - 1, 8)),
              (close.right - close.left) * (close.bottom - close.top) / 2);

    manager->RemoveAll(TRUE);
    manager->LoadSkin(L"", L"");
    EXPECT_EQ(nullptr, manager->Lookup(hwnd));
    EXPECT_EQ((LONG_PTR)DefWindowProcW, GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(ERROR, GetWindowRgn(hwnd, probe));
    DeleteObject(probe);
    RECT system = {0, 0, 100, 100};
    AdjustWindowRectEx(&system, WS_OVERLAPPEDWINDOW, FALSE, (DWORD)GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    insets = ClientInsets(hwnd);
    EXPECT_EQ(-system.top, insets.top);
    EXPECT_EQ(-system.left, insets.left);
    WindowShot plain = TakeWindowShot(hwnd);
    KeepWindowPicture(hwnd, L"frame-unskinned");
    EXPECT_LT(plain.CountIn(captionStrip, captionCells[0]), strip / 2);
    EXPECT_LT(plain.CountIn(captionStrip, captionCells[1]), strip / 2);
}

TEST_F(FrameTest, CaptionButtonsFollowTheWindowStyle)
{
    struct Case
    {
        DWORD style, ex;
        std::vector<int> parts;
        bool region;
    } cases[] = {
        {WS_OVERLAPPEDWINDOW, 0, {18, 17, 15}, true},
        {WS_OVERLAPPEDWINDOW | WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW, {19}, true},
        {WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP, {18, 23}, true},
        {WS_CAPTION, 0, {}, true},
        {WS_POPUP | WS_BORDER, 0, {}, false},
    };
    for (const Case& c : cases)
    {
        HWND hwnd = Make(c.style | WS_VISIBLE, c.ex);
        CSFSkinObjectFrame* frame = FrameOf(hwnd);
        ASSERT_NE(nullptr, frame);
        TakeWindowShot(hwnd);
        std::vector<int> parts;
        for (FrameButton* button : frame->GetButtons())
            parts.push_back(button->part);
        EXPECT_EQ(c.parts, parts) << std::hex << c.style << " " << c.ex;
        EXPECT_EQ(c.region, frame->IsRegionApplied() != FALSE) << std::hex << c.style;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(c.region, GetWindowRgn(hwnd, region) != ERROR);
        if (c.region)
        {
            // The caption picture's magenta corners are cut away.
            EXPECT_FALSE(PtInRegion(region, 0, 0));
            EXPECT_TRUE(PtInRegion(region, 150, 10));
        }
        DeleteObject(region);
        if (!c.parts.empty())
        {
            POINT pt = ScreenPointOf(hwnd, frame->GetButtons()[0]->rect);
            EXPECT_EQ(frame->GetButtons()[0]->hitTest, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
        }
        DestroyWindow(hwnd);
    }
}

TEST_F(FrameTest, CaptionHitsAndInvisibleSystemButtonsAnswerCaption)
{
    HWND hwnd = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0);
    CSFSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    TakeWindowShot(hwnd);
    RECT wr;
    GetWindowRect(hwnd, &wr);
    int y = wr.top + frame->GetBorders().top / 2;
    // Every point of the caption strip left of the skinned buttons is
    // caption, even where the system would have put its own buttons.
    int firstButton = frame->GetButtons().back()->rect.left;
    for (int x = wr.left + 40; x < wr.left + firstButton - 2; x += 7)
        EXPECT_EQ(HTCAPTION, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y))) << x - wr.left;
    // A press where the system has its minimize box is swallowed.
    SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTMINBUTTON, MAKELPARAM(wr.right - 60, y));
    EXPECT_FALSE(IsIconic(hwnd));
}

TEST_F(FrameTest, PressingTheCloseButtonClosesTheWindowOnRelease)
{
    HWND hwnd = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0);
    CSFSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    TakeWindowShot(hwnd);
    POINT pt = ScreenPointOf(hwnd, frame->GetButtons()[0]->rect);
    SendMessageW(hwnd, WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(pt.x, pt.y));
    ASSERT_EQ(frame->GetButtons()[0], frame->GetHotButton());
    EXPECT_EQ(2, frame->GetButtonState(frame->GetButtons()[0]) - (frame->IsActive() ? 0 : 4));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, 0);
    SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(FrameTest, NonClientScrollBarsAreDrawnAndHitFromTheStyle)
{
    HWND hwnd = Make(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 320, 240);
    CSFSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 99, 10, 30, 0};
    SetScrollInfo(hwnd, SB_VERT, &si, FALSE);
    SetScrollInfo(hwnd, SB_HORZ, &si, FALSE);
    WindowShot shot = TakeWindowShot(hwnd);
    KeepWindowPicture(hwnd, L"frame-scrollbars");
    ScrollBarLayout& v = frame->GetVertBar();
    ASSERT_TRUE(v.visible);
    EXPECT_EQ(manager->GetMetrics()->m_cxVScroll, v.rect.right - v.rect.left);
    RECT firstArrow = {v.rect.left, v.start, v.rect.right, v.firstArrowEnd};
    EXPECT_GT(shot.CountIn(firstArrow, StylePictureColours(L"ArrowBtn.bmp")), 100);
    RECT thumb = {v.rect.left, v.thumbTop, v.rect.right, v.thumbBottom};
    EXPECT_GT(shot.CountIn(thumb, StylePictureColours(L"ThumbBtnVert.bmp")), 100);
    // Position 30 of 0..90 puts the thumb a third of the way down its track.
    EXPECT_EQ(v.trackStart + MulDiv(30, v.freeTrack, 90), v.thumbTop);

    RECT wr;
    GetWindowRect(hwnd, &wr);
    POINT onBar = {wr.left + (v.rect.left + v.rect.right) / 2, wr.top + (v.thumbTop + v.thumbBottom) / 2};
    EXPECT_EQ(HTVSCROLL, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(onBar.x, onBar.y)));
    ScrollBarLayout& h = frame->GetHorzBar();
    POINT box = {wr.left + (v.rect.left + v.rect.right) / 2, wr.top + (h.rect.top + h.rect.bottom) / 2};
    EXPECT_EQ(HTBOTTOMRIGHT, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)));
}
