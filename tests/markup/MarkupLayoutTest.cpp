// Layout and drawing of mark-up texts: sizes, lines, breaking, rules, tabs,
// colours in the drawn pixels, links and hot areas.
#include <gtest/gtest.h>
#include "Canvas.h"
#include "LinkPolicy.h"
#include "MarkupDrawer.h"

namespace
{
const wchar_t kSheet[] = L"body {font-size:16px; font-family:Arial}";

struct Drawer
{
    MarkupDrawer d;
    Canvas canvas;
    Drawer(int w = 300, int h = 200) : canvas(w, h) { d.SetStyleSheet(kSheet); }
    SIZE Measure(const wchar_t* text)
    {
        SIZE sz = {0, 0};
        d.Measure(canvas.dc(), text, &sz);
        return sz;
    }
    void Draw(const RECT& rc) { d.Draw(canvas.dc(), rc); }
};

// A window procedure that records the messages of a test window.
struct Recorded
{
    UINT msg;
    WPARAM wParam;
    std::wstring text;
};
std::vector<Recorded> g_recorded;
LRESULT CALLBACK RecordProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_APP + 1)
        g_recorded.push_back({m, w, std::wstring()});
    if (m == WM_APP + 2)
        g_recorded.push_back({m, w, std::wstring((const wchar_t*)w)});
    return ::DefWindowProcW(h, m, w, l);
}
HWND RecordingWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.lpszClassName = L"MarkupRecorder";
    ::RegisterClassW(&wc);
    return ::CreateWindowW(L"MarkupRecorder", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, NULL, wc.hInstance, NULL);
}
} // namespace

TEST(MarkupLayout, SizeIsContentPlusOneAndEmptyTextsMeasureNothing)
{
    Drawer t;
    SIZE rule = t.Measure(L"<hr width=10 size=2>");
    EXPECT_EQ(rule.cx, 11);
    EXPECT_EQ(rule.cy, 2 + 8 + 1); // the rule's line is at least thickness + 8 high
    SIZE empty = t.Measure(L"");
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, 0);
    t.canvas.Fill(RGB(255, 255, 255));
    t.Draw(RECT{0, 0, 300, 200});
    EXPECT_EQ(t.canvas.Count(RGB(255, 255, 255)), 300 * 200);
    // Only unknown tags: nothing to measure either.
    EXPECT_EQ(t.Measure(L"<zz>").cx, 0);
}

TEST(MarkupLayout, TabStopsAndLineBreakCounts)
{
    Drawer t;
    struct Case
    {
        const wchar_t* text;
        int width;
    } cases[] = {
        {L"<hr width=10><t>", 32 + 1}, {L"<hr width=10><t=2>", 64 + 1}, {L"<t>", 32 + 1}, {L"<t=3>", 96 + 1},
        {L"<hr width=40><t>", 64 + 1}, {L"<hr width=10>\t", 32 + 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(t.Measure(c.text).cx, c.width) << ::testing::PrintToString(std::wstring(c.text));

    LONG one = t.Measure(L"A<br>B").cy;
    LONG three = t.Measure(L"A<br=3>B").cy;
    LONG blank = t.Measure(L"A<br 3>B").cy; // leading blanks go before the first character is skipped
    LONG line = t.Measure(L"A").cy - 1;
    EXPECT_EQ(three - one, 2 * line);
    EXPECT_EQ(blank, one);
    EXPECT_EQ(t.Measure(L"A\nB").cy, one);
}

TEST(MarkupLayout, NoWrapWithoutMaximumWidth)
{
    Drawer t;
    SIZE sz = t.Measure(L"many words that would never fit into a small box at all");
    ASSERT_EQ(t.d.GetLines().size(), 1u);
    EXPECT_EQ(t.d.GetLines()[0].width, sz.cx - 1);
}

TEST(MarkupLayout, WrappingBreaksAtBlanksHyphensAndCutsLongWords)
{
    Drawer t;
    LONG word = t.Measure(L"abcdef").cx - 1;
    t.d.SetMaxWidth(word + 5);
    t.Measure(L"abcdef abcdef abcdef");
    ASSERT_EQ(t.d.GetLines().size(), 3u);
    EXPECT_EQ(t.d.GetLines()[0].wrapped, 1);
    EXPECT_EQ(t.d.GetLines()[0].width, word); // the blank is trimmed off the piece

    // The hyphen stays on the first line.
    LONG hyphened = t.Measure(L"abcdef-").cx - 1;
    t.d.SetMaxWidth(hyphened + 2);
    t.Measure(L"abcdef-abcdef");
    ASSERT_EQ(t.d.GetLines().size(), 2u);
    EXPECT_EQ(t.d.GetLines()[0].width, hyphened);

    // A word wider than an empty line is cut between characters and ends.
    t.d.SetMaxWidth(word / 2);
    SIZE sz = t.Measure(L"abcdefabcdefabcdef");
    EXPECT_GE(t.d.GetLines().size(), 4u);
    EXPECT_LE(sz.cx, word / 2 + 1);
    t.Draw(RECT{0, 0, word / 2, 200}); // the drawing pass ends the same way
}

TEST(MarkupLayout, DrawingNarrowerThanMeasuredStaysInBoundsAndEnds)
{
    Drawer t;
    t.d.SetMaxWidth(200);
    t.Measure(L"<center>one two three four five six seven eight nine ten eleven twelve</center>");
    const COLORREF white = RGB(255, 255, 255);
    t.canvas.Fill(white);
    t.Draw(RECT{0, 0, 12, 200}); // far narrower: more lines than recorded
    EXPECT_LT(t.canvas.Count(white, 0, 0, 12, 200), 12 * 200) << "the text is drawn";
    EXPECT_EQ(t.canvas.Count(white, 12, 0, 300, 200), 288 * 200) << "and nothing right of the rectangle";
    // No width at all: nothing can be broken, so the runs are drawn whole.
    t.canvas.Fill(white);
    t.Draw(RECT{0, 0, 0, 200});
    EXPECT_LT(t.canvas.Count(white, 12, 0, 300, 200), 288 * 200);
}

TEST(MarkupLayout, JustifiedWrappedLinesFillTheWidth)
{
    Drawer t(400, 100);
    t.d.SetMaxWidth(150);
    const wchar_t* text =
        L"<justify><font color=#ff0000>WW WW WW WW WW WW WW WW WW WW WW WW</font></justify>";
    t.Measure(text);
    ASSERT_GE(t.d.GetLines().size(), 2u);
    const MarkupLine& first = t.d.GetLines()[0];
    EXPECT_EQ(first.align, 3);
    EXPECT_EQ(first.wrapped, 1);
    t.canvas.Fill(RGB(255, 255, 255));
    t.Draw(RECT{0, 0, 150, 100});
    int h = first.height;
    // The first line's last red pixel lies near the right edge; the last line
    // (not wrapped) is not stretched.
    int lastRed = -1;
    for (int x = 0; x < 150; x++)
        if (t.canvas.Count(RGB(255, 0, 0), x, 0, x + 1, h) > 0)
            lastRed = x;
    EXPECT_GE(lastRed, 140);
}

TEST(MarkupLayout, RuleWidthsAndColours)
{
    Drawer t(200, 40);
    t.Measure(L"<hr width=50% size=2 color=#0000ff>");
    t.canvas.Fill(RGB(255, 255, 255));
    t.Draw(RECT{0, 0, 200, 40});
    int blueColumns = 0;
    for (int x = 0; x < 200; x++)
        blueColumns += t.canvas.Count(RGB(0, 0, 255), x, 0, x + 1, 40) > 0;
    EXPECT_NEAR(blueColumns, 100, 1);
}

TEST(MarkupLayout, TextIsDrawnInItsColourWhereItBelongs)
{
    Drawer t(300, 100);
    t.Measure(L"<font color=#00ff00>WWW</font><br><right><font color=red>WWW</font></right>");
    t.canvas.Fill(RGB(255, 255, 255));
    const MarkupLine& l0 = t.d.GetLines()[0];
    t.Draw(RECT{0, 0, 300, 100});
    EXPECT_GT(t.canvas.Count(RGB(0, 255, 0), 0, 0, l0.width + 2, l0.height), 10);
    EXPECT_EQ(t.canvas.Count(RGB(0, 255, 0), 0, l0.height, 300, 100), 0);
    EXPECT_GT(t.canvas.Count(RGB(255, 0, 0), 300 - l0.width - 2, l0.height, 300, 100), 10);
    EXPECT_EQ(t.canvas.Count(RGB(255, 0, 0), 0, 0, 150, 100), 0);
}

TEST(MarkupLayout, HoverAndClickOnLinks)
{
    HWND wnd = RecordingWindow();
    ASSERT_NE(wnd, (HWND)NULL);
    Drawer t;
    t.d.SetHoverNotify(wnd, WM_APP + 1, 0);
    t.Measure(L"plain <a msg=\"go there\">link</a> <a href=\"\">empty</a>");
    t.Draw(RECT{0, 0, 300, 200});
    ASSERT_EQ(t.d.GetHotAreas().size(), 2u);
    t.Draw(RECT{0, 0, 300, 200}); // repeated paints do not pile up hot areas
    ASSERT_EQ(t.d.GetHotAreas().size(), 2u);
    const HotArea& link = t.d.GetHotAreas()[0];
    EXPECT_EQ(link.kind, 2);
    EXPECT_EQ(link.number, 0);
    EXPECT_EQ(link.target, L"go there");
    EXPECT_EQ(t.d.HitTest(POINT{link.rect.right, link.rect.bottom}), 0); // edges inclusive
    EXPECT_EQ(t.d.HitTest(POINT{link.rect.left - 1, link.rect.top}), -1);

    g_recorded.clear();
    EXPECT_TRUE(t.d.UpdateHover(POINT{link.rect.left, link.rect.top}));
    EXPECT_TRUE(t.d.UpdateHover(POINT{link.rect.left + 1, link.rect.top})); // same link: told once
    EXPECT_FALSE(t.d.UpdateHover(POINT{0, 199}));
    ASSERT_EQ(g_recorded.size(), 2u);
    EXPECT_EQ((int)g_recorded[0].wParam, 0);
    EXPECT_EQ((int)g_recorded[1].wParam, -2);
    const HotArea& empty = t.d.GetHotAreas()[1];
    EXPECT_FALSE(t.d.UpdateHover(POINT{empty.rect.left, empty.rect.top})); // no target: no hand cursor

    // A message link without a message-link window does nothing; with one it
    // sends the target text.
    g_recorded.clear();
    t.d.Click(POINT{link.rect.left, link.rect.top});
    EXPECT_TRUE(g_recorded.empty());
    t.d.SetMessageLink(wnd, WM_APP + 2, 0);
    t.d.Click(POINT{link.rect.left, link.rect.top});
    ASSERT_EQ(g_recorded.size(), 1u);
    EXPECT_EQ(g_recorded[0].text, L"go there");
    ::DestroyWindow(wnd);
}

namespace
{
// Stands in for the shell and the main window while links are clicked.
struct LinkRecorder : IPageCommandTarget
{
    std::vector<std::wstring> shell, pageCommands;
    static LinkRecorder* current;
    LinkRecorder()
    {
        current = this;
        CLinkPolicy::s_shellOpen = &Shell;
        CLinkPolicy::SetPageCommandTarget(this);
    }
    ~LinkRecorder()
    {
        CLinkPolicy::s_shellOpen = &CLinkPolicy::ShellOpen;
        CLinkPolicy::SetPageCommandTarget(nullptr);
        current = nullptr;
    }
    static INT_PTR Shell(const wchar_t* target, int)
    {
        current->shell.push_back(target);
        return 42;
    }
    BOOL RunPageCommand(const wchar_t* link) override
    {
        pageCommands.push_back(link);
        return TRUE;
    }
};
LinkRecorder* LinkRecorder::current = nullptr;
} // namespace

TEST(MarkupLayout, OnlyWebMailAndPageCommandLinksAreOpened)
{
    struct Case
    {
        const wchar_t* target;
        CLinkPolicy::Kind kind;
    } cases[] = {{L"http://example.com/", CLinkPolicy::LINK_WEB},
                 {L"HTTPS://example.com", CLinkPolicy::LINK_WEB},
                 {L"mailto:a@b.c", CLinkPolicy::LINK_MAIL},
                 {L"yeb360://openwindow/board", CLinkPolicy::LINK_PAGE_COMMAND},
                 {L"YEB360://openwindow/board", CLinkPolicy::LINK_NONE},
                 {L"c:\\windows\\system32\\calc.exe", CLinkPolicy::LINK_NONE},
                 {L"\\\\host\\share\\x.exe", CLinkPolicy::LINK_NONE},
                 {L"file:///c:/x.exe", CLinkPolicy::LINK_NONE},
                 {L"http://", CLinkPolicy::LINK_NONE},
                 {L"http://a/\nb", CLinkPolicy::LINK_NONE},
                 {L"cmd /c del", CLinkPolicy::LINK_NONE},
                 {L"", CLinkPolicy::LINK_NONE}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(CLinkPolicy::Classify(c.target), c.kind) << ::testing::PrintToString(std::wstring(c.target));
        EXPECT_EQ(MarkupDrawer::IsOpenableLink(c.target), c.kind != CLinkPolicy::LINK_NONE)
            << ::testing::PrintToString(std::wstring(c.target));
    }
}

TEST(MarkupLayout, ClickedLinksGoToTheShellOrTheMainWindowAsThePolicySays)
{
    LinkRecorder links;
    Drawer t;
    t.Measure(L"<a href=\"http://example.com/\">web</a> <a href=\"yeb360://openwindow/board\">page</a> "
              L"<a href=\"c:\\windows\\system32\\calc.exe\">program</a> <a href=\"mailto:a@b.c\">mail</a>");
    t.Draw(RECT{0, 0, 300, 200});
    ASSERT_EQ(t.d.GetHotAreas().size(), 4u);
    for (const HotArea& area : std::vector<HotArea>(t.d.GetHotAreas()))
        t.d.Click(POINT{area.rect.left, area.rect.top});
    EXPECT_EQ(links.shell, (std::vector<std::wstring>{L"http://example.com/", L"mailto:a@b.c"}));
    // The program's own page command reaches the main window, never the shell.
    EXPECT_EQ(links.pageCommands, (std::vector<std::wstring>{L"yeb360://openwindow/board"}));
    EXPECT_FALSE(t.d.OpenLink(L"c:\\windows\\system32\\calc.exe", SW_HIDE));
    EXPECT_EQ(links.shell.size(), 2u);
}

TEST(MarkupLayout, HoveredLinkTakesTheHoverRule)
{
    Drawer t(300, 50);
    t.d.SetStyleSheet(
        L"body {font-size:16px; font-family:Arial} a:link {color:#0000ff} a:hover {color:#ff0000}");
    t.Measure(L"<a href=\"http://x/\">WWW</a>");
    t.canvas.Fill(RGB(255, 255, 255));
    t.Draw(RECT{0, 0, 300, 50});
    EXPECT_GT(t.canvas.Count(RGB(0, 0, 255)), 5);
    EXPECT_EQ(t.canvas.Count(RGB(255, 0, 0)), 0);
    t.d.SetHoveredLink(0);
    t.canvas.Fill(RGB(255, 255, 255));
    t.Draw(RECT{0, 0, 300, 50});
    EXPECT_GT(t.canvas.Count(RGB(255, 0, 0)), 5);
}

TEST(MarkupLayout, DisabledDrawerDrawsInTheDisabledColour)
{
    Drawer t(200, 40);
    t.d.SetEnabled(FALSE);
    t.Measure(L"<font color=#ff0000>WWW</font>");
    t.canvas.Fill(RGB(255, 255, 255));
    t.Draw(RECT{0, 0, 200, 40});
    EXPECT_EQ(t.canvas.Count(RGB(255, 0, 0)), 0);
    EXPECT_GT(t.canvas.Count(::GetSysColor(COLOR_BTNSHADOW)), 5);
}
