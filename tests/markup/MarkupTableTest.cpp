// Tables in mark-up texts: counting, spans, column and row sizes, stretching,
// borders and backgrounds, nesting.
#include <gtest/gtest.h>
#include "Canvas.h"
#include "MarkupDrawer.h"

namespace
{
struct Drawer
{
    MarkupDrawer d;
    Canvas canvas;
    Drawer(int w = 400, int h = 200) : canvas(w, h)
    {
        d.SetStyleSheet(L"body {font-size:16px; font-family:Arial}");
    }
    SIZE Measure(const std::wstring& text)
    {
        SIZE sz = {0, 0};
        d.Measure(canvas.dc(), text.c_str(), &sz);
        return sz;
    }
};
} // namespace

TEST(MarkupTable, CountsRowsAndColumnsWithSpans)
{
    MarkupDrawer d;
    int cols = 0, rows = 0;
    d.CountTable(L"<table><tr><td colspan=2>a</td><td>b</td></tr><tr><td>c</td></tr></table>", &cols, &rows);
    EXPECT_EQ(cols, 3);
    EXPECT_EQ(rows, 2);
    d.CountTable(
        L"<table><tr><td><table><tr><td>x</td><td>y</td><td>z</td><td>w</td></tr></table></td></tr></table>",
        &cols, &rows);
    EXPECT_EQ(cols, 1); // the cells of a nested table do not count
    EXPECT_EQ(rows, 1);
}

TEST(MarkupTable, SpanningCellsShareTheirShortfallWithOddPixelRightAndUp)
{
    Drawer t;
    // Cells of width 10 have outer width 10 + 2 x margin 2 = 14.
    t.Measure(L"<table cellspacing=0><tr><td width=10></td><td width=10></td></tr>"
              L"<tr><td colspan=2 width=41></td></tr></table>");
    ASSERT_EQ(t.d.GetTables().size(), 1u);
    const TableLayout& tl = t.d.GetTables()[0];
    ASSERT_EQ(tl.columns, 2);
    // 45 wanted, 28 there: 17 = 8 + 8, the odd pixel to the right column.
    EXPECT_EQ(tl.columnWidths[0], 22);
    EXPECT_EQ(tl.columnWidths[1], 23);

    t.Measure(L"<table><tr><td height=10></td><td rowspan=2 height=41></td></tr><tr><td height=10></td></tr>"
              L"</table>");
    const TableLayout& rl = t.d.GetTables()[0];
    ASSERT_EQ(rl.rows, 2);
    EXPECT_EQ(rl.rowHeights[0], 23); // the odd pixel goes to the upper row
    EXPECT_EQ(rl.rowHeights[1], 22);
}

TEST(MarkupTable, MeasuredSizeCountsSpacingOnePixelGapsAndBorder)
{
    Drawer t;
    SIZE sz =
        t.Measure(L"<table cellspacing=0 border=3><tr><td width=10></td><td width=20></td></tr></table>");
    // Cells inherit the border, at most 1 pixel wide: 0 + (2 - 1) + 16 + 26 + 2 x 3, plus the pixel every
    // measurement adds.
    EXPECT_EQ(sz.cx, 1 + 16 + 26 + 6 + 1);
    SIZE spaced = t.Measure(L"<table cellspacing=4><tr><td width=10></td><td width=20></td></tr></table>");
    EXPECT_EQ(spaced.cx, 4 + 1 + (4 + 14) + (4 + 24) + 1);
    SIZE dbl = t.Measure(L"<table border=2 borderstyle=double><tr><td width=10></td></tr></table>");
    EXPECT_EQ(dbl.cx, 0 + 16 + 2 * 1 * 3 + 1); // a double border is drawn with width 1, counted three times
}

TEST(MarkupTable, FreeColumnsStretchToTheAreaAndCellsPaintBackgrounds)
{
    Drawer t(400, 100);
    t.Measure(L"<table cellspacing=0><tr><td bgcolor=#ff0000>a</td><td width=50 bgcolor=#0000ff>b</td></tr>"
              L"</table>");
    t.canvas.Fill(RGB(255, 255, 255));
    t.d.Draw(t.canvas.dc(), RECT{0, 0, 400, 100});
    // The free red column takes the room, the fixed blue one keeps its width.
    int red = 0, blue = 0;
    for (int x = 0; x < 400; x++)
    {
        red += t.canvas.At(x, 3) == RGB(255, 0, 0);
        blue += t.canvas.At(x, 3) == RGB(0, 0, 255);
    }
    EXPECT_EQ(blue, 54);
    EXPECT_GT(red, 300);
}

TEST(MarkupTable, FixedTablesAlignAndBordersFrame)
{
    Drawer t(300, 100);
    t.Measure(
        L"<table align=right border=1 bordercolor=#00ff00 cellspacing=0><tr><td width=20></td></tr></table>");
    t.canvas.Fill(RGB(255, 255, 255));
    t.d.Draw(t.canvas.dc(), RECT{0, 0, 300, 100});
    EXPECT_EQ(t.canvas.At(299, 5), RGB(0, 255, 0));      // right border at the area's right edge
    EXPECT_EQ(t.canvas.At(300 - 28, 5), RGB(0, 255, 0)); // 20 + 2 x 2 margin + 2 x 1 cell border + 2 x 1
    EXPECT_NE(t.canvas.At(300 - 29, 5), RGB(0, 255, 0));
    EXPECT_EQ(t.canvas.Count(RGB(0, 255, 0), 0, 0, 250, 100), 0);
}

TEST(MarkupTable, DisabledTablesPaintNoBackground)
{
    Drawer t(200, 60);
    t.d.SetEnabled(FALSE);
    t.Measure(L"<table><tr><td bgcolor=#ff0000 width=50>x</td></tr></table>");
    t.canvas.Fill(RGB(255, 255, 255));
    t.d.Draw(t.canvas.dc(), RECT{0, 0, 200, 60});
    EXPECT_EQ(t.canvas.Count(RGB(255, 0, 0)), 0);
}

TEST(MarkupTable, NestedTablesFollowTheirOuterRecord)
{
    Drawer t;
    t.Measure(L"<table><tr><td>a<table><tr><td>b</td><td>c</td></tr></table></td></tr></table>after");
    ASSERT_EQ(t.d.GetTables().size(), 2u);
    EXPECT_EQ(t.d.GetTables()[0].columns, 1);
    EXPECT_EQ(t.d.GetTables()[1].columns, 2);
    t.d.Draw(t.canvas.dc(), RECT{0, 0, 400, 200});
}

TEST(MarkupTable, HostileTablesStayBounded)
{
    Drawer t(300, 300);
    std::wstring deep;
    for (int i = 0; i < 3000; i++)
        deep += L"<table><tr><td>";
    deep += L"x";
    SIZE sz = t.Measure(deep); // unterminated and far too deep
    EXPECT_LE(t.d.GetTables().size(), (size_t)MarkupDrawer::kMaxTableDepth);
    t.d.Draw(t.canvas.dc(), RECT{0, 0, 300, 300});
    (void)sz;

    // Spans past the grid, zero and huge sizes.
    t.Measure(L"<table cellspacing=99999999 border=99999><tr><td rowspan=50 colspan=70 width=999999999>a</td>"
              L"<td>b</td></tr><tr><td colspan=0 rowspan=-3>c</td></tr></table>");
    t.d.Draw(t.canvas.dc(), RECT{0, 0, 300, 300});
    t.Measure(L"<table></table><table><tr></tr></table>");
    t.d.Draw(t.canvas.dc(), RECT{0, 0, 300, 300});
}
