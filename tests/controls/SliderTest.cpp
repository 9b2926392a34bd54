// Bitmap slider and progress bar: value clamps, limit, pixel mapping,
// drag and key messages.
#include "BitmapProgress.h"
#include "BitmapSlider.h"

#include <gtest/gtest.h>

#include <vector>

TEST(BitmapSlider, PositionAndLimitClamps)
{
    CBitmapSlider slider;
    slider.SetRange(0, 100);
    struct Case { int set; int expected; } cases[] = {{150, 100}, {-5, 0}, {42, 42}};
    for (const Case& c : cases)
    {
        slider.SetPos(c.set);
        EXPECT_EQ(c.expected, slider.GetPos()) << c.set;
    }
    slider.SetLimit(40);
    EXPECT_TRUE(slider.IsLimitActive());
    slider.SetPos(70);
    EXPECT_EQ(40, slider.GetPos());
    slider.SetLimit(100); // must be below the maximum to be in force
    EXPECT_FALSE(slider.IsLimitActive());
    slider.SetPos(70);
    EXPECT_EQ(70, slider.GetPos());
    slider.SetLimit(-1); // clamps to the minimum and is in force
    EXPECT_EQ(0, slider.m_nLimit);
    EXPECT_TRUE(slider.IsLimitActive());
}

TEST(BitmapSlider, PixelMappingAndEmptyRanges)
{
    CBitmapSlider slider;
    slider.m_nWidth = 110;
    slider.m_nThumbWidth = 10;
    slider.SetRange(0, 100);
    EXPECT_EQ(5, slider.Pos2Pixel(0));
    EXPECT_EQ(105, slider.Pos2Pixel(100));
    EXPECT_EQ(55, slider.Pos2Pixel(50));
    for (int pos : {0, 25, 50, 100})
        EXPECT_EQ(pos, slider.Pixel2Pos(slider.Pos2Pixel(pos)));
    // An empty range and a thumb as wide as the channel divide by nothing.
    slider.SetRange(7, 7);
    EXPECT_EQ(5, slider.Pos2Pixel(7));
    slider.m_nThumbWidth = 110;
    EXPECT_EQ(7, slider.Pixel2Pos(30));
}

TEST(BitmapProgress, FillFromMinimumToMaximum)
{
    CBitmapProgress progress;
    progress.m_nWidth = 200;
    progress.m_nMarginLeft = 4;
    progress.m_nMarginRight = 6;
    progress.SetRange(0, 1000);
    EXPECT_EQ(4, progress.Pos2Pixel(0));
    EXPECT_EQ(194, progress.Pos2Pixel(1000));
    progress.SetPos(5000);
    EXPECT_EQ(1000, progress.GetPos());
    progress.SetPos(-1);
    EXPECT_EQ(0, progress.GetPos());
    progress.SetRange(3, 3);
    EXPECT_EQ(4, progress.Pos2Pixel(3));
}

namespace
{
class SliderParent : public CWnd
{
public:
    std::vector<MSG> posted;
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_POPUP | WS_VISIBLE, 850, 650, 300, 100, NULL, NULL);
    }
    void Drain()
    {
        MSG msg;
        while (::PeekMessageW(&msg, m_hWnd, WM_USER + 1, WM_USER + 2, PM_REMOVE))
            posted.push_back(msg);
    }
};
} // namespace

TEST(BitmapSlider, DragPostsOneMessagePerPixelAndOneAtRelease)
{
    SliderParent parent;
    ASSERT_TRUE(parent.Make());
    CBitmapSlider slider;
    ASSERT_TRUE(slider.Create(L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 110, 20), &parent, 42));
    slider.m_nWidth = 110;
    slider.m_nThumbWidth = 10;
    slider.SetRange(0, 100);
    slider.SetPos(0);
    // Press on the thumb centre, move by 10 pixels in two moves of the same pixel, release.
    ::SendMessageW(slider.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(slider.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(15, 5));
    ::SendMessageW(slider.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(15, 6));
    ::SendMessageW(slider.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(15, 6));
    parent.Drain();
    ASSERT_EQ(2u, parent.posted.size());
    EXPECT_EQ((UINT)(WM_USER + 1), parent.posted[0].message);
    EXPECT_EQ(42u, parent.posted[0].wParam);
    EXPECT_EQ(10, (int)parent.posted[0].lParam);
    EXPECT_EQ((UINT)(WM_USER + 2), parent.posted[1].message);
    EXPECT_EQ(10, (int)parent.posted[1].lParam);
    // Keys: End goes to the maximum and is told once.
    parent.posted.clear();
    ::SendMessageW(slider.m_hWnd, WM_KEYDOWN, VK_END, 0);
    parent.Drain();
    ASSERT_EQ(1u, parent.posted.size());
    EXPECT_EQ(100, (int)parent.posted[0].lParam);
    parent.DestroyWindow();
}
