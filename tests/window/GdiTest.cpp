// Drawing into a memory bitmap through CDC and the GDI object wrappers.
#include "Framework.h"
#include <gtest/gtest.h>

namespace
{
class GdiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CClientDC screen(NULL);
        ASSERT_TRUE(m_dc.CreateCompatibleDC(&screen));
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&screen, 100, 60));
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, 100, 60, RGB(255, 255, 255));
    }
    void TearDown() override { m_dc.SelectObject(m_pOldBitmap); }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
};

TEST_F(GdiTest, ShapesAndFillsLandOnTheExpectedPixels)
{
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CBrush brush(RGB(0, 0, 255));
    CPen* pOldPen = m_dc.SelectObject(&pen);
    CBrush* pOldBrush = m_dc.SelectObject(&brush);
    m_dc.Rectangle(10, 10, 30, 30);
    EXPECT_EQ(RGB(255, 0, 0), m_dc.GetPixel(10, 20)); // border drawn with the pen
    EXPECT_EQ(RGB(0, 0, 255), m_dc.GetPixel(20, 20)); // inside filled with the brush
    EXPECT_EQ(RGB(255, 255, 255), m_dc.GetPixel(31, 20));

    // The previous objects come back and can be selected again.
    EXPECT_EQ((HPEN)pen, (HPEN)*m_dc.SelectObject(pOldPen));
    m_dc.SelectObject(pOldBrush);

    m_dc.Draw3dRect(CRect(40, 10, 60, 30), RGB(0, 255, 0), RGB(0, 0, 0));
    EXPECT_EQ(RGB(0, 255, 0), m_dc.GetPixel(40, 10));
    EXPECT_EQ(RGB(0, 0, 0), m_dc.GetPixel(59, 29));
    EXPECT_EQ(RGB(255, 255, 255), m_dc.GetPixel(50, 20));

    m_dc.MoveTo(0, 50);
    m_dc.LineTo(100, 50); // the stock black pen is back
    EXPECT_EQ(RGB(0, 0, 0), m_dc.GetPixel(70, 50));

    // Clipping keeps a fill out of the excluded part.
    int saved = m_dc.SaveDC();
    m_dc.ExcludeClipRect(70, 0, 100, 40);
    m_dc.FillSolidRect(60, 0, 40, 40, RGB(0, 128, 0));
    EXPECT_EQ(RGB(0, 128, 0), m_dc.GetPixel(65, 5));
    EXPECT_EQ(RGB(255, 255, 255), m_dc.GetPixel(80, 5));
    m_dc.RestoreDC(saved);
    CRect clip;
    m_dc.GetClipBox(&clip);
    EXPECT_EQ(CRect(0, 0, 100, 60), clip);
}

TEST_F(GdiTest, TextIsDrawnInTheTextColourAndMeasured)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, L"Tahoma", &m_dc));
    LOGFONT lf;
    ASSERT_TRUE(font.GetLogFont(&lf));
    EXPECT_LT(lf.lfHeight, 0); // a character height in logical units
    CFont* pOldFont = m_dc.SelectObject(&font);
    m_dc.SetTextColor(RGB(0, 0, 0));
    m_dc.SetBkMode(TRANSPARENT);
    CString text = L"WWWW";
    CSize extent = m_dc.GetTextExtent(text);
    EXPECT_GT(extent.cx, 10);
    CRect rc(0, 0, 100, 40);
    m_dc.DrawText(text, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE);
    int dark = 0;
    for (int x = 0; x < extent.cx; ++x)
        for (int y = 0; y < extent.cy; ++y)
            dark += m_dc.GetPixel(x, y) == RGB(0, 0, 0);
    EXPECT_GT(dark, 10);
    EXPECT_EQ(RGB(255, 255, 255), m_dc.GetPixel(extent.cx + 5, 5));
    m_dc.SelectObject(pOldFont);
}

TEST_F(GdiTest, RegionsAndBlitsBetweenDCs)
{
    CRgn rgn, other;
    ASSERT_TRUE(rgn.CreateRectRgn(0, 0, 20, 20));
    ASSERT_TRUE(other.CreateRoundRectRgn(10, 10, 40, 40, 4, 4));
    EXPECT_EQ(COMPLEXREGION, rgn.CombineRgn(&rgn, &other, RGN_OR));
    EXPECT_TRUE(rgn.PtInRegion(5, 5));
    EXPECT_TRUE(rgn.PtInRegion(30, 30));
    EXPECT_FALSE(rgn.PtInRegion(35, 5));

    CDC src;
    ASSERT_TRUE(src.CreateCompatibleDC(&m_dc));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&m_dc, 10, 10));
    BITMAP info;
    ASSERT_TRUE(bmp.GetBitmap(&info));
    EXPECT_EQ(10, info.bmWidth);
    CBitmap* pOld = src.SelectObject(&bmp);
    src.FillSolidRect(0, 0, 10, 10, RGB(10, 20, 30));
    m_dc.BitBlt(50, 40, 10, 10, &src, 0, 0, SRCCOPY);
    EXPECT_EQ(RGB(10, 20, 30), m_dc.GetPixel(55, 45));
    m_dc.StretchBlt(0, 40, 20, 20, &src, 0, 0, 10, 10, SRCCOPY);
    EXPECT_EQ(RGB(10, 20, 30), m_dc.GetPixel(19, 59));
    src.SelectObject(pOld);
}
} // namespace
