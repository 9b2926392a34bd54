// Inline-tag text drawing for statics and the friend list: words laid out one
// by one, tags matched by the start of their name, colours kept on a shared
// stack of eight.
#include <gtest/gtest.h>
#include "Canvas.h"
#include "DrawMarkupText.h"

#include <functional>
#include <vector>

namespace
{
const COLORREF Red = RGB(255, 0, 0), Green = RGB(0, 255, 0), Blue = RGB(0, 0, 255), Black = RGB(0, 0, 0);

struct Fixture
{
    Canvas canvas;
    HFONT font, bold;
    HGDIOBJ old;
    explicit Fixture(int width = 400, int height = 60) : canvas(width, height, RGB(255, 255, 255))
    {
        font = ::CreateFontW(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                             L"Arial");
        bold = ::CreateFontW(20, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"Arial");
        old = ::SelectObject(canvas.dc(), font);
        ::SetBkMode(canvas.dc(), TRANSPARENT);
        ::SetTextColor(canvas.dc(), Black);
    }
    ~Fixture()
    {
        ::SelectObject(canvas.dc(), old);
        ::DeleteObject(font);
        ::DeleteObject(bold);
    }
    RECT Calc(const wchar_t* text, UINT format = 0, int width = 400)
    {
        RECT r = {0, 0, width, 60};
        DrawMarkupText(canvas.dc(), text, -1, &r, format | DT_CALCRECT);
        return r;
    }
    int Width(const wchar_t* text, HFONT in = NULL)
    {
        HGDIOBJ was = ::SelectObject(canvas.dc(), in ? in : font);
        SIZE size = {0, 0};
        ::GetTextExtentPoint32W(canvas.dc(), text, (int)wcslen(text), &size);
        ::SelectObject(canvas.dc(), was);
        return size.cx;
    }
    int LineHeight()
    {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32W(canvas.dc(), L"\x822E\0", 2, &size);
        return size.cy;
    }
    int Draw(const wchar_t* text, UINT format = DT_SINGLELINE | DT_VCENTER)
    {
        canvas.Fill(RGB(255, 255, 255));
        RECT r = {0, 0, canvas.Width(), canvas.Height()};
        return DrawMarkupText(canvas.dc(), text, -1, &r, format);
    }
    std::vector<DWORD> Pixels(const wchar_t* text)
    {
        Draw(text);
        std::vector<DWORD> pixels;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                pixels.push_back(canvas.Raw(x, y));
        return pixels;
    }
};
} // namespace

TEST(DrawMarkupText, WordsAndTagsTakeTheWidthTheRulesGive)
{
    Fixture f;
    int blank = f.Width(L" ");
    const struct
    {
        const wchar_t* text;
        std::function<int()> width;
    } cases[] = {
        // Bold word, closing tag, a blank, a normal word: one blank apart.
        {L"<b>WW</b> WW", [&] { return f.Width(L"WW", f.bold) + blank + f.Width(L"WW"); }},
        // Three letters side by side, the middle one in a font tag.
        {L"a<font color=#ff0000>b</font>c", [&] { return f.Width(L"a") + f.Width(L"b") + f.Width(L"c"); }},
        // An unknown opening tag is a word with its brackets; its closing form vanishes.
        {L"<hr>W</hr>", [&] { return f.Width(L"<hr>") + f.Width(L"W"); }},
        // A tag name followed by an attribute where none is taken is text.
        {L"<b x>W</b>", [&] { return f.Width(L"<b") + blank + f.Width(L"x>W"); }},
        // Runs of white space are one blank; a tag after a blank hands the blank on.
        {L"a   \t <u>b</u>", [&] { return f.Width(L"a") + blank + f.Width(L"b"); }},
        {L"aa<br>   b", [&] { return f.Width(L"aa"); }},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.width(), f.Calc(c.text).right) << testing::PrintToString(std::wstring(c.text));
}

TEST(DrawMarkupText, LineBreaksParagraphsAndWrapping)
{
    Fixture f;
    int line = f.LineHeight();
    const struct
    {
        const wchar_t* text;
        UINT format;
        int width;
        int lastLine;
    } cases[] = {
        {L"a<br>b", 0, 400, line},
        {L"a<br>b", DT_SINGLELINE, 400, 0},
        {L"a<p>b", 0, 400, line * 3 / 2},
        {L"a<p>b", DT_SINGLELINE, 400, 0},
        {L"<p>a", 0, 400, 0}, // no room above the first line
        {L"aaa bbb ccc", DT_WORDBREAK, 40, 2 * line},
        {L"aaa bbb ccc", 0, 40, 0}, // without word breaks the line only grows
        {L"  WWWWWWWWWW", DT_WORDBREAK, 10, 0}, // the first word of a line never wraps
    };
    for (const auto& c : cases)
    {
        RECT r = {0, 0, c.width, 60};
        int result = DrawMarkupText(f.canvas.dc(), c.text, -1, &r, c.format | DT_CALCRECT);
        EXPECT_EQ(c.lastLine, result) << testing::PrintToString(std::wstring(c.text)) << " " << c.format;
        EXPECT_EQ(c.lastLine + line, r.bottom);
    }
    // A rectangle above the origin grows upwards.
    RECT up = {0, -100, 400, 0};
    EXPECT_EQ(line, DrawMarkupText(f.canvas.dc(), L"a<br>b", -1, &up, DT_CALCRECT));
    EXPECT_EQ(-100 - 2 * line, up.bottom);
    // Nothing to draw with or into: nothing drawn.
    RECT r = {0, 0, 10, 10};
    EXPECT_EQ(0, DrawMarkupText((HDC)NULL, L"a<br>b", -1, &r, 0));
    EXPECT_EQ(0, DrawMarkupText(f.canvas.dc(), NULL, -1, &r, 0));
}

TEST(DrawMarkupText, TagsAreKnownByTheStartOfTheirName)
{
    Fixture f;
    EXPECT_EQ(f.Pixels(L"<i>WWW</i> WWW"), f.Pixels(L"<img>WWW</img> WWW")); // img reads as italic
    EXPECT_NE(f.Pixels(L"WWW WWW"), f.Pixels(L"<img>WWW</img> WWW"));
    EXPECT_EQ(f.Pixels(L"<b>WWW</b>"), f.Pixels(L"<STRONG>WWW</strong>"));
    // The underline runs on through the gap between two underlined words.
    int w = f.Width(L"W"), blank = f.Width(L" ");
    f.Draw(L"W W");
    EXPECT_EQ(0, f.canvas.Count(Black, w + 1, 0, w + blank - 1, 60));
    f.Draw(L"<u>W W</u>");
    EXPECT_GT(f.canvas.Count(Black, w + 1, 0, w + blank - 1, 60), 0);
}

TEST(DrawMarkupText, FontColoursNestEightDeepAndAreSharedBetweenCalls)
{
    Fixture f;
    const struct
    {
        const wchar_t* text;
        COLORREF shown, absent;
    } cases[] = {
        {L"a<font color=#ff0000>WWW</font>c", Red, Blue},
        {L"<font color='#0000ff'>WWW</font>", Blue, Red},
        {L"<font color=\"00ff00\">WWW</font>", Green, Red},
        {L"<font size=3>WWW</font>", Black, Red},   // not a colour: the current one stays
        {L"<font  color=#ff0000>WWW</font>", Black, Red}, // two blanks: not read
        {L"<FONT COLOR=#FF0000>WWW</FONT>", Red, Black},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        f.Draw(c.text);
        EXPECT_GT(f.canvas.Count(c.shown), 10);
        EXPECT_EQ(0, f.canvas.Count(c.absent));
        EXPECT_EQ(Black, ::GetTextColor(f.canvas.dc())); // the context's state is given back
    }
    // Nine nested colours: the ninth is shown and its closing tag restores
    // the colour the eighth saved, the seventh.
    f.Draw(L"<font color=#111111><font color=#222222><font color=#333333><font color=#444444>"
           L"<font color=#555555><font color=#666666><font color=#0000ff><font color=#00ff00>"
           L"<font color=#ff0000>WWW</font>WWW");
    EXPECT_GT(f.canvas.Count(Red), 10);
    EXPECT_GT(f.canvas.Count(Blue), 10);
    EXPECT_EQ(0, f.canvas.Count(Green));
    // A closing tag with nothing pushed in this call takes the colour the
    // earliest push of the last pushing call saved.
    ::SetTextColor(f.canvas.dc(), Blue);
    f.Draw(L"<font color=#ff0000>a</font>");
    ::SetTextColor(f.canvas.dc(), Black);
    f.Draw(L"</font>WWW");
    EXPECT_GT(f.canvas.Count(Blue), 10);
}

TEST(DrawMarkupText, EndEllipsisStopsWhereTheRoomRunsOut)
{
    Fixture f;
    RECT r = {0, 0, 70, 60};
    DrawMarkupText(f.canvas.dc(), L"<font color=#0000ff>WWWW WWWW WWWW WWWW WWWW</font>", -1, &r,
                   DT_VCENTER | DT_END_ELLIPSIS);
    EXPECT_GT(f.canvas.Count(Blue, 0, 0, 70, 60), 10);
    EXPECT_EQ(0, f.canvas.Count(Blue, 70, 0, 400, 60));
    // The room left after the drawn words is cut: fewer pixels than the words
    // drawn without the limit.
    Fixture wide;
    RECT all = {0, 0, 400, 60};
    DrawMarkupText(wide.canvas.dc(), L"<font color=#0000ff>WWWW WWWW WWWW WWWW WWWW</font>", -1, &all,
                   DT_VCENTER | DT_SINGLELINE);
    EXPECT_GT(wide.canvas.Count(Blue), f.canvas.Count(Blue));
}
