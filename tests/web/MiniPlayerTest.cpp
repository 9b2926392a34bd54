// The mini player: snapping to the work area, the settings rectangle, the
// menu's topmost entries, the fades and what it tells the main window.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgMiniPlayer.h"
#include "WebTestSupport.h"
#include "WindowPicture.h"
#include "resource.h"

#include <memory>

namespace
{
struct SnapCase
{
    const char* what;
    BOOL stretching;
    int x, y, cx, cy;
    int wantX, wantY, wantCx, wantCy;
};

// Work area 0,0 - 1280,1000.
const SnapCase kSnapCases[] = {
    {"moved 5 px from the left edge lands on it", FALSE, 5, 300, 340, 26, 0, 300, 340, 26},
    {"moved 10 px from the left edge lands on it", FALSE, 10, 300, 340, 26, 0, 300, 340, 26},
    {"moved 11 px from the left edge stays", FALSE, 11, 300, 340, 26, 11, 300, 340, 26},
    {"at the edge or beyond stays", FALSE, 0, 300, 340, 26, 0, 300, 340, 26},
    {"past the left edge stays", FALSE, -20, 300, 340, 26, -20, 300, 340, 26},
    {"near the right edge moves flush to it", FALSE, 932, 300, 340, 26, 940, 300, 340, 26},
    {"exactly at the right edge stays", FALSE, 940, 300, 340, 26, 940, 300, 340, 26},
    {"near the top and the bottom", FALSE, 200, 4, 340, 26, 200, 0, 340, 26},
    {"near the bottom moves flush to it", FALSE, 200, 968, 340, 26, 200, 974, 340, 26},
    {"stretched by the left edge to 7 keeps the right edge", TRUE, 7, 300, 400, 26, 0, 300, 407, 26},
    {"stretched near the right edge grows to it", TRUE, 500, 300, 775, 26, 500, 300, 780, 26},
    {"stretched 11 px from the left edge stays", TRUE, 11, 300, 400, 26, 11, 300, 400, 26},
};

class MiniPlayerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        LoadLanguageFile();
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        // Test programs run side by side: each test has its own settings.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_folder = std::wstring(temp) + L"yeb-mini-player-" + std::wstring(name.begin(), name.end()) + L"\\";
        ::CreateDirectoryW(m_folder.c_str(), NULL);
        ::DeleteFileW((m_folder + L"AppSetting.ini").c_str());
        m_settings.reset(new CAppSetting(m_folder.c_str()));
        g_pAppSetting = m_settings.get();
        g_pAppSetting->rcMiniWnd = RECT{200, 300, 260, 380};
        m_main = CWnd::FromHandle(m_recorder.Handle());
    }
    void TearDown() override
    {
        if (m_player && m_player->GetSafeHwnd())
            m_player->DestroyWindow();
        m_player.reset();
        g_pAppSetting = NULL;
        m_settings.reset();
    }
    CDlgMiniPlayer& Open()
    {
        m_player.reset(new CDlgMiniPlayer(m_main));
        EXPECT_TRUE(m_player->Create(IDD_MINI_PLAYER, NULL));
        return *m_player;
    }
    static CRect WindowRect(CWnd& wnd)
    {
        CRect r;
        wnd.GetWindowRect(&r);
        return r;
    }
    // Runs the fade timer by hand until it stops itself; the steps taken.
    static int RunFade(CDlgMiniPlayer& player, UINT_PTR timer, int limit)
    {
        int steps = 0;
        int before = player.GetAlpha();
        while (steps < limit && player.GetSafeHwnd())
        {
            player.SendMessage(WM_TIMER, timer, 0);
            ++steps;
            int now = player.GetAlpha();
            if (now == (timer == CDlgMiniPlayer::TIMER_FADE_IN ? 255 : 0))
                break;
            EXPECT_EQ(before + (timer == CDlgMiniPlayer::TIMER_FADE_IN ? 16 : -16), now);
            before = now;
        }
        return steps;
    }

    std::wstring m_folder;
    std::unique_ptr<CAppSetting> m_settings;
    RecordingWindow m_recorder;
    CWnd* m_main = NULL;
    std::unique_ptr<CDlgMiniPlayer> m_player;
};
} // namespace

TEST(MiniPlayerSnap, NearEdgesOfTheWorkArea)
{
    const RECT work = {0, 0, 1280, 1000};
    for (const SnapCase& c : kSnapCases)
    {
        WINDOWPOS pos{};
        pos.x = c.x, pos.y = c.y, pos.cx = c.cx, pos.cy = c.cy;
        CDlgMiniPlayer::SnapToWorkArea(pos, work, c.stretching);
        EXPECT_EQ(c.wantX, pos.x) << c.what;
        EXPECT_EQ(c.wantY, pos.y) << c.what;
        EXPECT_EQ(c.wantCx, pos.cx) << c.what;
        EXPECT_EQ(c.wantCy, pos.cy) << c.what;
    }
}

TEST_F(MiniPlayerTest, OpensAsAStripOfTheSettingsPlaceAndSnapsWhenMoved)
{
    CDlgMiniPlayer& player = Open();
    // The saved rectangle was 60 x 80: raised to the least width, height 26.
    CRect r = WindowRect(player);
    EXPECT_EQ(200, r.left);
    EXPECT_EQ(300, r.top);
    EXPECT_EQ(340, r.Width());
    EXPECT_EQ(26, r.Height());
    EXPECT_TRUE(player.GetExStyle() & WS_EX_TOOLWINDOW);

    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    player.SetWindowPos(NULL, work.left + 5, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(work.left, WindowRect(player).left);
    player.SetWindowPos(NULL, work.left + 11, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(work.left + 11, WindowRect(player).left);
    // Never smaller than the strip.
    player.SetWindowPos(NULL, 0, 0, 100, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MINMAXINFO info{};
    player.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(340, info.ptMinTrackSize.x);
    EXPECT_EQ(26, info.ptMinTrackSize.y);
}

TEST_F(MiniPlayerTest, FadesInSixteenStepsAndShowsTheWantedLine)
{
    CDlgMiniPlayer& player = Open();
    player.SetSongTitle(L"Song of the strip - Someone", TRUE);
    player.SwitchTextLine(1, FALSE);
    player.FadeIn();
    EXPECT_TRUE(player.IsWindowVisible());
    EXPECT_TRUE(player.GetExStyle() & WS_EX_LAYERED);
    EXPECT_FALSE(player.m_stTitle.IsWindowVisible());
    EXPECT_EQ(16, RunFade(player, CDlgMiniPlayer::TIMER_FADE_IN, 40));
    EXPECT_EQ(255, player.GetAlpha());
    EXPECT_FALSE(player.GetExStyle() & WS_EX_LAYERED);
    EXPECT_TRUE(player.m_stTitle.IsWindowVisible());
    EXPECT_FALSE(player.m_stStatus.IsWindowVisible());

    // Fully opaque: a second fade-in only shows the window.
    player.ShowWindow(SW_HIDE);
    player.FadeIn();
    EXPECT_TRUE(player.IsWindowVisible());
    EXPECT_FALSE(player.GetExStyle() & WS_EX_LAYERED);

    player.SwitchTextLine(0, TRUE);
    EXPECT_FALSE(player.m_stTitle.IsWindowVisible());
    EXPECT_TRUE(player.m_stStatus.IsWindowVisible());
    player.SwitchTextLine(1, TRUE);
    // Let the title scroll in from the right for the picture.
    PumpUntil([] { return false; }, 2500);
    EXPECT_TRUE(SaveWindowPicture(player.GetSafeHwnd(), WebPicturePath(L"mini-player.png")));
}

TEST_F(MiniPlayerTest, TheTimerRunsTheFadeOnItsOwn)
{
    CDlgMiniPlayer& player = Open();
    player.FadeIn();
    EXPECT_TRUE(PumpUntil([&] { return player.GetAlpha() == 255; }, 3000));
    EXPECT_FALSE(player.GetExStyle() & WS_EX_LAYERED);
}

TEST_F(MiniPlayerTest, FadingOutSavesThePlaceDestroysTheWindowAndTellsTheMainWindow)
{
    CDlgMiniPlayer& player = Open();
    player.FadeIn();
    RunFade(player, CDlgMiniPlayer::TIMER_FADE_IN, 40);
    player.SetWindowPos(NULL, 400, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_recorder.Take();
    player.FadeOut();
    EXPECT_EQ(400, g_pAppSetting->rcMiniWnd.left);
    EXPECT_EQ(500, g_pAppSetting->rcMiniWnd.top);
    EXPECT_EQ(16, RunFade(player, CDlgMiniPlayer::TIMER_FADE_OUT, 40));
    EXPECT_FALSE(player.GetSafeHwnd());
    std::vector<RecordedMessage> got = m_recorder.Take();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(WM_USER + 47, got[0].message);
    EXPECT_EQ(0u, got[0].wParam);
    EXPECT_EQ(1, got[0].lParam);

    // The place is in the settings file, not only in memory.
    CAppSetting reread(m_folder.c_str());
    EXPECT_EQ(400, reread.rcMiniWnd.left);
}

TEST_F(MiniPlayerTest, TheMenuOffersOneTopmostEntryAndTheEntriesAct)
{
    for (BOOL topmost : {FALSE, TRUE})
    {
        HMENU menu = CDlgMiniPlayer::BuildContextMenu(topmost);
        ASSERT_TRUE(menu);
        bool offersTopmost = GetMenuState(menu, ID_WINDOW_TOPMOST, MF_BYCOMMAND) != static_cast<UINT>(-1);
        bool offersNotTopmost = GetMenuState(menu, ID_WINDOW_NOT_TOPMOST, MF_BYCOMMAND) != static_cast<UINT>(-1);
        EXPECT_EQ(!topmost, offersTopmost);
        EXPECT_EQ(!!topmost, offersNotTopmost);
        EXPECT_EQ(4, GetMenuItemCount(menu));
        DestroyMenu(menu);
    }

    CDlgMiniPlayer& player = Open();
    player.FadeIn();
    // The menu belongs to a strip that has faded in.
    ASSERT_TRUE(PumpUntil([&] { return player.GetAlpha() == 255; }, 3000));
    PumpMessages();
    player.SendMessage(WM_COMMAND, ID_WINDOW_TOPMOST, 0);
    EXPECT_TRUE(PumpUntil([&] { return (player.GetExStyle() & WS_EX_TOPMOST) != 0; }, 1000));
    player.SendMessage(WM_COMMAND, ID_WINDOW_NOT_TOPMOST, 0);
    EXPECT_TRUE(PumpUntil([&] { return (player.GetExStyle() & WS_EX_TOPMOST) == 0; }, 1000));

    m_recorder.Take();
    player.SendMessage(WM_COMMAND, ID_BUDDY_DELETE, 0);     // show the main window
    player.SendMessage(WM_COMMAND, IDC_MINI_SHOW_MAIN, 0);  // the button
    player.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(200, 10));
    player.SendMessage(WM_COMMAND, ID_TRAY_CLOSE_WINDOW, 0);
    player.SendMessage(WM_COMMAND, IDC_MINI_NEXT, 0);
    player.SendMessage(WM_COMMAND, IDC_MINI_PLAY, 0);
    player.SendMessage(WM_COMMAND, ID_APP_EXIT_CLIENT, 0);
    std::vector<RecordedMessage> got = m_recorder.Take();
    ASSERT_EQ(7u, got.size());
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(WM_USER + 47, got[i].message);
        EXPECT_EQ(0, got[i].lParam);
    }
    EXPECT_EQ(WM_USER + 13, got[3].message);
    EXPECT_EQ(105u, got[3].wParam);
    EXPECT_EQ(WM_LBUTTONDOWN, got[3].lParam);
    EXPECT_EQ(WM_COMMAND, got[4].message);
    EXPECT_EQ(IDC_MAIN_NEXT, LOWORD(got[4].wParam));
    EXPECT_EQ(IDC_MAIN_PLAY, LOWORD(got[5].wParam));
    EXPECT_EQ(ID_APP_EXIT_CLIENT, LOWORD(got[6].wParam));
}
