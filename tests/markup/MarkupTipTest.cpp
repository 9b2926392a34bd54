// The tooltip window: tools, placement near the screen edges, and the show
// and hide machine driven by relayed messages and timer messages.
#include <gtest/gtest.h>
#include "MarkupTip.h"

namespace
{
void Pump(DWORD ms)
{
    DWORD end = ::GetTickCount() + ms;
    do
    {
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    } while ((LONG)(::GetTickCount() - end) < 0);
}

class CNotifyTarget : public CWnd
{
  public:
    int notified = 0;
    CString replacement;
    bool replace = false;

  protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        NMHDR* hdr = (NMHDR*)lParam;
        if (hdr->code == MARKUPTIP_SHOW)
        {
            notified++;
            NMMARKUPTIP* nm = (NMMARKUPTIP*)lParam;
            if (replace)
                nm->ti->text = replacement;
            return TRUE;
        }
        return CWnd::OnNotify(wParam, lParam, pResult);
    }
};

struct MarkupTip : ::testing::Test
{
    CNotifyTarget owner;
    CMarkupTip tip;
    void SetUp() override
    {
        // Each step below sets the cursor: no other test may move it meanwhile
        // (this program's tests run alone).
        ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 200,
                                   150, NULL, NULL));
        ASSERT_TRUE(tip.Create(&owner, FALSE));
        Pump(50);
    }
    void TearDown() override
    {
        tip.DestroyWindow();
        owner.DestroyWindow();
    }
    // A mouse move at client point (x, y) of the owner, with the cursor there.
    void Move(int x, int y)
    {
        ::SetCursorPos(100 + x, 100 + y);
        MSG msg = {};
        msg.hwnd = owner.m_hWnd;
        msg.message = WM_MOUSEMOVE;
        msg.lParam = MAKELPARAM(x, y);
        tip.RelayEvent(&msg);
    }
    // One step of a timer, delivered at once; the real timers stay in the
    // queue, which these tests do not pump unless they wait on purpose.
    void Timer(UINT id) { ::SendMessageW(tip.m_hWnd, WM_TIMER, id, 0); }
};
} // namespace

TEST(MarkupTipPlacement, FitsNearTheScreenEdges)
{
    const RECT screen = {0, 0, 1000, 800};
    const SIZE body = {100, 40};
    struct Case
    {
        int direction;
        POINT p;
        int anchorHeight, offset;
        int direction2;
        POINT anchor;
    } cases[] = {
        // Plain tips (no anchor): direction 16 puts the bottom-left corner at the point.
        {16, {500, 400}, 0, 0, 16, {0, 40}},
        {16, {950, 400}, 0, 0, 17, {100, 40}}, // near the right edge: end-aligned
        {16, {500, 20}, 0, 0, 0, {0, 0}},      // near the top: moved below
        {0, {500, 790}, 0, 0, 16, {0, 40}},    // near the bottom: moved above
        // Balloon: anchor offset 16, height 16 (added to the height).
        {0, {500, 400}, 16, 16, 0, {16, 0}},
        {0, {950, 400}, 16, 16, 1, {84, 0}},
        {2, {500, 400}, 16, 16, 2, {50, 0}},
        {2, {10, 400}, 16, 16, 0, {10, 0}},      // start-aligned, clamped at the left edge
        {32, {950, 400}, 16, 16, 48, {116, 16}}, // no room on the right: left of the point
    };
    for (const auto& c : cases)
    {
        MarkupTipPlacement pl =
            CMarkupTip::ComputePlacement(c.direction, c.p, body, c.anchorHeight, c.offset, screen);
        EXPECT_EQ(pl.direction, c.direction2) << c.direction << " at " << c.p.x << "," << c.p.y;
        EXPECT_EQ(pl.anchor.x, c.anchor.x) << c.direction << " at " << c.p.x << "," << c.p.y;
        EXPECT_EQ(pl.anchor.y, c.anchor.y) << c.direction << " at " << c.p.x << "," << c.p.y;
        // The window lies on the screen.
        EXPECT_GE(c.p.x - pl.anchor.x, screen.left);
        EXPECT_LE(c.p.x - pl.anchor.x + pl.size.cx, screen.right);
    }
}

TEST_F(MarkupTip, ToolsAreAddedReplacedAndRemoved)
{
    RECT a = {0, 0, 10, 10}, b = {10, 0, 20, 10};
    tip.AddTool(&owner, L"one", &a);
    tip.AddTool(&owner, L"two", &b);
    tip.AddTool(&owner, L"three", &a); // same rectangle: replaced
    EXPECT_EQ(tip.GetToolCount(&owner), 2u);
    MarkupToolInfo ti;
    ti.id = 7;
    ti.rect = RECT{30, 0, 40, 10};
    ti.text = L"seven";
    tip.AddToolInfo(&owner, ti);
    MarkupToolInfo got;
    ASSERT_TRUE(tip.GetToolInfo(&owner, 7, &got));
    EXPECT_EQ(got.text, CString(L"seven"));
    tip.RemoveToolById(&owner, 7);
    EXPECT_FALSE(tip.GetToolInfo(&owner, 7, &got));
    tip.RemoveTool(&owner, &a);
    EXPECT_EQ(tip.GetToolCount(&owner), 1u);
    tip.RemoveTool(&owner, NULL);
    EXPECT_EQ(tip.GetToolCount(&owner), 0u);
}

TEST_F(MarkupTip, ShowsAfterTheInitialDelayAndHidesAfterAutoPop)
{
    tip.AddTool(&owner, L"<b>Hello</b> tip");
    Move(50, 50);
    EXPECT_EQ(tip.GetState(), 0);
    Pump(150);
    EXPECT_FALSE(tip.IsWindowVisible()); // not before the 500 ms delay
    Pump(1200);
    ASSERT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetState(), 2);
    EXPECT_EQ(tip.GetShownToolWindow(), owner.m_hWnd);
    // Plain tip, direction 16: the window's bottom-left corner at the mouse point.
    CRect rc;
    tip.GetWindowRect(&rc);
    EXPECT_EQ(rc.left, 150);
    EXPECT_EQ(rc.bottom - 6, 150); // the window is 6 pixels taller for the shadow
    Timer(CMarkupTip::TIMER_HIDE); // the auto-pop time is up
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetState(), 0);
    // A further move inside the same tool does not bring it back.
    Move(51, 50);
    Pump(700);
    EXPECT_FALSE(tip.IsWindowVisible());
}

TEST_F(MarkupTip, KeysClicksAndWheelPopTheTip)
{
    tip.AddTool(&owner, L"Tip");
    const UINT messages[] = {WM_KEYDOWN, WM_RBUTTONDOWN, WM_MOUSEWHEEL, WM_LBUTTONDOWN, WM_NCLBUTTONDOWN};
    int x = 40;
    for (UINT m : messages)
    {
        tip.Pop();
        Move(x++, 40);
        Timer(CMarkupTip::TIMER_SHOW);
        ASSERT_TRUE(tip.IsWindowVisible()) << m;
        MSG msg = {};
        msg.hwnd = owner.m_hWnd;
        msg.message = m;
        tip.RelayEvent(&msg);
        EXPECT_FALSE(tip.IsWindowVisible()) << m;
        EXPECT_EQ(tip.GetState(), 0) << m;
        Move(5, 5); // leave and come back: the tool is forgotten
        tip.RemoveTool(&owner, NULL);
        tip.AddTool(&owner, L"Tip");
        Move(x++, 40);
    }
}

TEST_F(MarkupTip, NotifyWindowFillsInTheTextAndAnEmptyTextShowsNothing)
{
    tip.AddTool(&owner, L"original");
    tip.SetNotifyWindow(owner.m_hWnd);
    owner.replace = true;
    owner.replacement = L"";
    Move(60, 60);
    Timer(CMarkupTip::TIMER_SHOW);
    EXPECT_EQ(owner.notified, 1);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetState(), 0);

    owner.replacement = L"<font color=red>replaced</font> text that is longer";
    Move(61, 60);
    Timer(CMarkupTip::TIMER_SHOW);
    EXPECT_EQ(owner.notified, 2);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetTextRect().Width() - 1 > 100, true);
}

TEST_F(MarkupTip, MovingToAnotherToolHidesAndRequestsIt)
{
    RECT left = {0, 0, 100, 150}, right = {100, 0, 200, 150};
    tip.AddTool(&owner, L"Left", &left);
    tip.AddTool(&owner, L"Right side", &right);
    Move(50, 50);
    Timer(CMarkupTip::TIMER_SHOW);
    ASSERT_TRUE(tip.IsWindowVisible());
    Move(150, 50);
    EXPECT_FALSE(tip.IsWindowVisible()); // hidden at once, the new one after the delay
    Timer(CMarkupTip::TIMER_SHOW);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetState(), 2);
    // The cursor moved away before the delay ended: nothing is shown.
    tip.Pop();
    Move(5, 5);
    tip.RemoveTool(&owner, NULL);
    tip.AddTool(&owner, L"Whole");
    Move(70, 70);
    ::SetCursorPos(300, 300);
    Timer(CMarkupTip::TIMER_SHOW);
    EXPECT_FALSE(tip.IsWindowVisible());
}

TEST_F(MarkupTip, FadingInAndOutStepsTheTransparency)
{
    tip.SetFadeSteps(10, 10);
    tip.AddTool(&owner, L"Fading");
    Move(50, 50);
    Timer(CMarkupTip::TIMER_SHOW);
    EXPECT_EQ(tip.GetState(), 1);
    EXPECT_EQ(tip.GetTransparency(), 100);
    for (int i = 0; i < 5; i++)
        Timer(CMarkupTip::TIMER_FADEIN);
    EXPECT_EQ(tip.GetTransparency(), 0);
    EXPECT_EQ(tip.GetState(), 2);
    Timer(CMarkupTip::TIMER_HIDE);
    EXPECT_EQ(tip.GetState(), 3);
    for (int i = 0; i < 4; i++)
        Timer(CMarkupTip::TIMER_FADEOUT);
    EXPECT_TRUE(tip.IsWindowVisible());
    Timer(CMarkupTip::TIMER_FADEOUT);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetState(), 0);
}

TEST_F(MarkupTip, EditFieldOfADropDownComboShowsTheComboTip)
{
    HWND combo = ::CreateWindowW(L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 10, 150, 100,
                                 owner.m_hWnd, NULL, ::GetModuleHandleW(NULL), NULL);
    ASSERT_NE(combo, (HWND)NULL);
    CWnd* comboWnd = CWnd::FromHandle(combo);
    tip.AddTool(comboWnd, L"Combo tip");
    Move(30, 15); // over the combo box's edit field
    Timer(CMarkupTip::TIMER_SHOW);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetRequestedToolWindow(), combo);
    tip.Pop();
    ::DestroyWindow(combo);
}

TEST_F(MarkupTip, ToolWithoutAutoPopStaysAndBalloonTipsHaveAnAnchor)
{
    MarkupToolInfo ti;
    ti.text = L"Stays";
    ti.mask = MTT_MASK_BEHAVIOUR | MTT_MASK_DIRECTION;
    ti.behaviour = MTT_DISABLE_AUTOPOP;
    ti.direction = 0;
    tip.AddToolInfo(&owner, ti);
    Move(50, 50);
    Timer(CMarkupTip::TIMER_SHOW);
    ASSERT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetDirection(), 0);
    Pump(300);
    EXPECT_TRUE(tip.IsWindowVisible());
    CRect rc;
    tip.GetWindowRect(&rc);
    EXPECT_EQ(rc.left, 150); // plain direction 0: top-left corner at the point
    EXPECT_EQ(rc.top, 150);
}
