// Skin metrics: the system's colours without a style, the style's colours
// (or the defaults) with one, brushes that survive refreshes when their
// colour stays, and sizes and fonts under the apply-metrics option.
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>

class MetricsTest : public StyleTextTest
{
protected:
    void SetUp() override
    {
        StyleTextTest::SetUp();
        metrics = manager->GetMetrics();
    }
    void TearDown() override
    {
        StyleTextTest::TearDown();
        manager->SetApplyOptions(SF_APPLY_METRICS | SF_APPLY_FRAME | SF_APPLY_COLORS);
    }
    BOOL Load(const char* text) { return LoadStyle(L"metrics-style", text); }

    CSFSkinMetrics* metrics = nullptr;
};

TEST_F(MetricsTest, WithoutAStyleTheSystemColoursAndNoBrushes)
{
    manager->LoadSkin(L"", L"");
    for (int i = 0; i < CSFSkinMetrics::kColorCount; i++)
    {
        EXPECT_EQ(GetSysColor(i), metrics->GetColor(i)) << i;
        EXPECT_EQ(nullptr, metrics->GetBrush(i)) << i;
    }
    EXPECT_EQ(0u, metrics->GetColor(31));
}

TEST_F(MetricsTest, StyleColoursElseTheDefaultTable)
{
    ASSERT_TRUE(Load("[SysMetrics]\r\nBtnFace = 1 2 3\r\nWindow = 250 250 250\r\n"));
    EXPECT_EQ(RGB(1, 2, 3), metrics->GetColor(COLOR_BTNFACE));
    EXPECT_EQ(RGB(250, 250, 250), metrics->GetColor(COLOR_WINDOW));
    struct Case
    {
        int index;
        COLORREF value;
    } defaults[] = {{0, 0xC0C0C0}, {1, 0xA56E3A}, {13, 0x800000}, {24, 0xE1FFFF}, {27, 0xD08410}, {30, 0xC0C0C0}};
    for (const Case& c : defaults)
    {
        EXPECT_EQ(c.value, metrics->GetColor(c.index)) << c.index;
        EXPECT_EQ(c.value, CSFSkinMetrics::GetDefaultColor(c.index));
    }
    for (int i = 0; i < CSFSkinMetrics::kColorCount; i++)
    {
        ASSERT_NE(nullptr, metrics->GetBrush(i));
        EXPECT_TRUE(metrics->IsMetricsBrush(metrics->GetBrush(i)));
    }
    EXPECT_EQ(RGB(1, 2, 3), metrics->GetColor(COLOR_BTNFACE));
    EXPECT_EQ(metrics->GetColor(COLOR_3DLIGHT), metrics->m_3dLight);
    EXPECT_EQ(metrics->GetColor(COLOR_3DDKSHADOW), metrics->m_3dDarkShadow);
    EXPECT_NE(nullptr, metrics->GetBackgroundBrush());
    EXPECT_FALSE(metrics->IsMetricsBrush(metrics->GetBackgroundBrush()));
    EXPECT_FALSE(metrics->IsMetricsBrush((HBRUSH)GetStockObject(WHITE_BRUSH)));
}

TEST_F(MetricsTest, UnchangedColoursKeepTheirBrush)
{
    ASSERT_TRUE(Load("[SysMetrics]\r\nBtnFace = 1 2 3\r\nWindow = 9 9 9\r\n"));
    HBRUSH face = metrics->GetBrush(COLOR_BTNFACE);
    HBRUSH text = metrics->GetBrush(COLOR_WINDOWTEXT);
    ASSERT_TRUE(Load("[SysMetrics]\r\nBtnFace = 1 2 3\r\nWindow = 8 8 8\r\n"));
    EXPECT_EQ(face, metrics->GetBrush(COLOR_BTNFACE));
    EXPECT_EQ(text, metrics->GetBrush(COLOR_WINDOWTEXT));
    EXPECT_EQ(RGB(8, 8, 8), metrics->GetColor(COLOR_WINDOW));
    LOGBRUSH lb;
    ASSERT_TRUE(GetObjectW(metrics->GetBrush(COLOR_WINDOW), sizeof(lb), &lb));
    EXPECT_EQ(RGB(8, 8, 8), lb.lbColor);
    // The kept handle still paints its colour.
    ASSERT_TRUE(GetObjectW(face, sizeof(lb), &lb));
    EXPECT_EQ(RGB(1, 2, 3), lb.lbColor);
}

TEST_F(MetricsTest, SizesAndFontsFollowTheApplyMetricsOption)
{
    const char* text = "[SysMetrics]\r\nCaptionBarHeight = 30\r\nScrollbarWidth = 21\r\nScrollbarHeight = 0\r\n"
                       "SmallCaptionFont = Arial, 10, Bold\r\n";
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(31, metrics->m_captionHeight);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMCAPTION) + 1, metrics->m_smallCaptionHeight); // absent: system's + 1
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), metrics->m_systemCaptionHeight);
    EXPECT_EQ(21, metrics->m_cxVScroll);
    EXPECT_EQ(21, metrics->m_cxHScroll);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), metrics->m_cyHScroll); // 0 keeps the system's
    LOGFONTW lf = {};
    metrics->GetSmallCaptionFont().GetLogFont(&lf);
    EXPECT_STREQ(L"ARIAL", lf.lfFaceName);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_FALSE(metrics->IsRefreshing());

    // Without the option the system's sizes stand.
    manager->SetApplyOptions(SF_APPLY_FRAME);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), metrics->m_captionHeight);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), metrics->m_cxVScroll);
    metrics->GetSmallCaptionFont().GetLogFont(&lf);
    EXPECT_STRNE(L"ARIAL", lf.lfFaceName);
}
