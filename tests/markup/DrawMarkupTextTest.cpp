// Inline-tag text drawing for statics.
#include <gtest/gtest.h>
#include "Canvas.h"
#include "DrawMarkupText.h"

namespace
{
struct Fixture
{
    Canvas canvas;
    HFONT font;
    HGDIOBJ old;
    Fixture() : canvas(300, 40, RGB(255, 255, 255))
    {
        font = ::CreateFontW(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
        old = ::SelectObject(canvas.dc(), font);
        ::SetBkMode(canvas.dc(), TRANSPARENT);
        ::SetTextColor(canvas.dc(), RGB(0, 0, 0));
    }
    ~Fixture()
    {
        ::SelectObject(canvas.dc(), old);
        ::DeleteObject(font);
    }
    RECT Calc(const wchar_t* text)
    {
        RECT r = {0, 0, 300, 40};
        DrawMarkupText(canvas.dc(), text, -1, &r, DT_CALCRECT);
        return r;
    }
};
} // namespace

TEST(DrawMarkupText, TagsChangeStyleAndColour)
{
    Fixture f;
    EXPECT_GT(f.Calc(L"<b>WWWW</b>").right, f.Calc(L"WWWW").right);
    EXPECT_EQ(f.Calc(L"<unknown>WWWW</unknown>").right, f.Calc(L"WWWW").right);
    EXPECT_EQ(f.Calc(L"a<br>b").bottom, 2 * f.Calc(L"a").bottom);
    RECT r = {0, 0, 300, 40};
    DrawMarkupText(f.canvas.dc(), L"x <font color=#ff0000>WWW</font> y", -1, &r, DT_VCENTER);
    EXPECT_GT(f.canvas.Count(RGB(255, 0, 0)), 10);
    EXPECT_EQ(::GetTextColor(f.canvas.dc()), RGB(0, 0, 0)); // the context's state is kept
}

TEST(DrawMarkupText, EndEllipsisKeepsTheTextInsideTheRectangle)
{
    Fixture f;
    RECT r = {0, 0, 60, 40};
    DrawMarkupText(f.canvas.dc(), L"<font color=#0000ff>WWWWWWWWWWWWWWWWWWWWWW</font>", -1, &r,
                   DT_VCENTER | DT_END_ELLIPSIS);
    EXPECT_GT(f.canvas.Count(RGB(0, 0, 255), 0, 0, 60, 40), 10);
    EXPECT_EQ(f.canvas.Count(RGB(0, 0, 255), 60, 0, 300, 40), 0);
}
