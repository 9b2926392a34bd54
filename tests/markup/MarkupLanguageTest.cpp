// The mark-up language: text preparation, values, declarations, style sheet
// and the style stack.
#include <gtest/gtest.h>
#include "Canvas.h"
#include "MarkupDrawer.h"

namespace
{
// Text of a measured mark-up after preparation.
std::wstring Prepared(const wchar_t* text)
{
    Canvas canvas(10, 10);
    MarkupDrawer d;
    SIZE sz;
    d.Measure(canvas.dc(), text, &sz);
    return d.GetText();
}

SIZE MeasureText(MarkupDrawer& d, const wchar_t* text)
{
    Canvas canvas(10, 10);
    SIZE sz = {0, 0};
    d.Measure(canvas.dc(), text, &sz);
    return sz;
}
} // namespace

TEST(MarkupLanguage, PreparingReplacesEntitiesInKeyOrderAndTurnsBreaksIntoTags)
{
    EXPECT_EQ(Prepared(L"a&lt;b"), L"a<<b");
    EXPECT_EQ(Prepared(L"a&amp;lt;b"), L"a<<b"); // "&amp;" runs first and yields "&lt;"
    EXPECT_EQ(Prepared(L"x&nbsp;y&quot;&copy;&trade;"), L"x y\"\x00A9\x0099");
    EXPECT_EQ(Prepared(L"1\r\n2\t3"), L"1<br>2<t>3");
}

TEST(MarkupLanguage, LengthsByUnit)
{
    Canvas canvas(10, 10);
    int dpi = ::GetDeviceCaps(canvas.dc(), LOGPIXELSY);
    MarkupDrawer d;
    struct Case
    {
        const wchar_t* text;
        int def;
        bool fontMode;
        int expected;
    } cases[] = {
        {L"", 9, false, 9},
        {L"65%", 16, true, 10}, // MulDiv rounding
        {L"-50%", 20, false, -10},
        {L"12px", 0, false, 12},
        {L"-5px", 0, false, 5}, // the sign is dropped
        {L"+1", 0, true, 8},    // a signed plain number is read without its sign
        {L"-2", 0, true, 10},
        {L"+20", 0, true, 20},
        {L"-7", 0, false, 7},
        {L"+0x10", 0, false, 16},
        {L"3", 0, true, 12},    // HTML font size
        {L"7", 0, true, 36},
        {L"12", 0, true, 12},
        {L"3", 0, false, 3},
        {L"0x10", 0, false, 16},
        {L"010", 0, false, 8},
        {L"12pt", 0, true, 12 * dpi / 72},
        {L"1in", 0, false, dpi},
        {L"2pc", 0, false, 2 * dpi / 6},
        {L"99999999999px", 0, false, 100000}, // capped
    };
    for (const auto& c : cases)
        EXPECT_EQ(d.ParseLength(c.text, c.def, c.fontMode), c.expected)
            << ::testing::PrintToString(std::wstring(c.text));
}

TEST(MarkupLanguage, ColoursFromHexNumbersAndNames)
{
    MarkupDrawer d;
    const COLORREF def = RGB(1, 2, 3);
    struct Case
    {
        const wchar_t* text;
        COLORREF expected;
    } cases[] = {
        {L"#ff9900", 0x0099FF},
        {L"#f90", def},
        {L"#gg0000", def},
        {L"0xFF", 0x0000FF},
        {L"255", 0x0000FF},
        {L"red", 0x0000FF},
        {L"Red", def},
        {L"brown", 0x2A2AA5},
        {L"aliceblue", 0xFFF8F0},
        {L"navy", 0x800000},
        {L"yellowgreen", 0x32CD9A},
        {L"", def},
        {L"0xFF123456", 0xFF123456}, // the number is the COLORREF, top byte included
        {L"0x02345678", 0x02345678},
        {L"infobackground", ::GetSysColor(COLOR_INFOBK)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(d.ParseColor(c.text, def), c.expected) << ::testing::PrintToString(std::wstring(c.text));
}

TEST(MarkupLanguage, DeclarationsSetStyleFields)
{
    MarkupDrawer d;
    MarkupStyle st;
    d.ApplyStyleText(
        L"Font-Family: \"Courier New\"; font-weight:bold; color:#FF0000; text-decoration:underline "
        L"overline; vertical-align:top; text-align:justify; background-color:transparent",
        st);
    EXPECT_EQ(st.fontFamily, L"courier new"); // the whole text is lower-cased first
    EXPECT_EQ(st.fontWeight, 700);
    EXPECT_EQ(st.textColor, 0x0000FFu);
    EXPECT_EQ(st.underline, 1);
    EXPECT_EQ(st.overline, 1);
    EXPECT_EQ(st.vAlign, 0);
    EXPECT_EQ(st.hAlign, 0); // "justify" is not a text-align keyword
    EXPECT_EQ(st.bkMode, TRANSPARENT);

    d.ApplyStyleText(L"border-style:dashed; text-decoration:none; background-color:navy; font-weight:lighter",
                     st);
    EXPECT_EQ(st.borderStyle, 2);
    EXPECT_EQ(st.borderWidth, 1);
    EXPECT_EQ(st.underline + st.overline + st.strikeout, 0);
    EXPECT_EQ(st.bkMode, OPAQUE);
    EXPECT_EQ(st.bkColor, 0x800000u);
    EXPECT_EQ(st.fontWeight, 100);

    d.ApplyStyleText(L"border-width:0; font-size:100000px; margin:5px", st);
    EXPECT_EQ(st.borderStyle, 0);
    EXPECT_EQ(st.fontSize, 500); // sizes beyond any sensible font are capped
    EXPECT_EQ(st.margin, 5);
}

TEST(MarkupLanguage, StyleSheetRulesAndIncompleteRules)
{
    MarkupDrawer d;
    d.SetStyleSheet(L"h1, h2 {color:red}\r\n.Note {font-weight:bold}\r\np {color:blue} q {color:");
    MarkupStyle st;
    EXPECT_FALSE(d.ApplyStyleRule(L"h1", st)); // a selector list is one key that matches nothing
    EXPECT_FALSE(d.ApplyStyleRule(L"h2", st));
    EXPECT_TRUE(d.ApplyStyleRule(L".note", st));
    EXPECT_EQ(st.fontWeight, 700);
    EXPECT_TRUE(d.ApplyStyleRule(L"p", st));
    EXPECT_EQ(st.textColor, 0xFF0000u);
    EXPECT_FALSE(d.ApplyStyleRule(L"q", st));

    d.SetStyleSheet(NULL); // the default sheet
    MarkupStyle h2;
    EXPECT_TRUE(d.ApplyStyleRule(L"h2", h2));
    EXPECT_EQ(h2.textColor, 0x0099FFu);
    MarkupStyle sub;
    sub.fontSize = 16;
    d.ApplyStyleRule(L"sub", sub);
    EXPECT_EQ(sub.fontSize, 10);
    EXPECT_EQ(sub.vAlign, 2);
}

TEST(MarkupLanguage, ClosingTagUndoesOnlyTheLatestOpeningOfItsGroup)
{
    MarkupDrawer d;
    d.SetStyleSheet(L"body {font-size:20px; font-family:Arial}");
    // The i end tag does not match the top group "bold": the third letter is
    // bold and italic.
    LONG nested = MeasureText(d, L"<i>W<b>W</i>W</b>").cx;
    LONG explicitForm = MeasureText(d, L"<i>W<b>WW</b></i>").cx;
    LONG plainThird = MeasureText(d, L"<i>W<b>W</b></i>W").cx;
    EXPECT_EQ(nested, explicitForm);
    EXPECT_NE(nested, plainThird);
    // "em" shares the group of "i".
    EXPECT_EQ(MeasureText(d, L"<i>W</em>W").cx, MeasureText(d, L"<i>W</i>W").cx);
    // Tag names are case-sensitive: capital B tags are dropped.
    EXPECT_EQ(MeasureText(d, L"<B>WW</B>").cx, MeasureText(d, L"WW").cx);
    EXPECT_NE(MeasureText(d, L"<b>WW</b>").cx, MeasureText(d, L"WW").cx);
}

TEST(MarkupLanguage, LessThanSignsAndStrayTags)
{
    MarkupDrawer d;
    LONG one = MeasureText(d, L"a<<b").cx;
    EXPECT_GT(one, MeasureText(d, L"ab").cx);
    EXPECT_EQ(MeasureText(d, L"a&lt;b").cx, one);
    EXPECT_EQ(MeasureText(d, L"a<b").cx, MeasureText(d, L"ab").cx); // a "<" without ">" is dropped
    EXPECT_EQ(MeasureText(d, L"ab<").cx, MeasureText(d, L"ab&lt;").cx);
    EXPECT_EQ(MeasureText(d, L"a<nosuchtag x=1>b").cx, MeasureText(d, L"ab").cx);
    EXPECT_EQ(MeasureText(d, L"a<>b").cx, MeasureText(d, L"a>b").cx);
}

TEST(MarkupLanguage, FontTagAttributes)
{
    MarkupDrawer d;
    Canvas canvas(10, 10);
    int dpi = ::GetDeviceCaps(canvas.dc(), LOGPIXELSY);
    d.SetStyleSheet(L"body {font-family:Arial}");
    // Line heights follow the font sizes: size 3 is 12 pixels, 12 is 12, 12pt is 12 x dpi / 72.
    LONG h3 = MeasureText(d, L"<font size=3>X</font>").cy;
    LONG h12 = MeasureText(d, L"<font size=12>X</font>").cy;
    LONG h12pt = MeasureText(d, L"<font size=12pt>X</font>").cy;
    EXPECT_EQ(h3, h12);
    // "+1" is size 1, 8 pixels, not a 1-pixel font.
    EXPECT_EQ(MeasureText(d, L"<font size=+1>X</font>").cy, MeasureText(d, L"<font size=8px>X</font>").cy);
    EXPECT_GT(MeasureText(d, L"<font size=+1>X</font>").cy, 4);
    if (dpi != 72)
    {
        EXPECT_NE(h12pt, h12);
    }
}

TEST(MarkupLanguage, DeeplyNestedTagsAndLongFaceNamesAreHandled)
{
    MarkupDrawer d;
    std::wstring text;
    for (int i = 0; i < 20000; i++)
        text += L"<b><font face=" + std::wstring(200, L'F') + L">";
    text += L"x";
    SIZE sz = MeasureText(d, text.c_str());
    EXPECT_GT(sz.cx, 1);
    Canvas canvas(100, 100);
    d.Draw(canvas.dc(), RECT{0, 0, 100, 100});
}

TEST(MarkupLanguage, EscapedUserTextShowsAsItStands)
{
    MarkupDrawer d;
    const wchar_t* hostile = L"<bmp iddll=1 srcdll=\\\\host\\x.dll><a href=x>link</a> a&b <";
    std::wstring escaped = MarkupDrawer::EscapeText(hostile);
    Canvas canvas(10, 10);
    SIZE sz;
    d.Measure(canvas.dc(), escaped.c_str(), &sz);
    // After preparation the text reads as the original with every "<" escaped.
    std::wstring expected;
    for (const wchar_t* p = hostile; *p; p++)
        expected += *p == L'<' ? std::wstring(L"<<") : std::wstring(1, *p);
    EXPECT_EQ(d.GetText(), expected);
    d.Draw(canvas.dc(), RECT{0, 0, 10, 10});
    EXPECT_TRUE(d.GetHotAreas().empty()); // no link took effect
}
