// The main window's player on a real window with the stand-in player: rows
// started, next and previous through the playing list, the loop modes at the
// end of a song, the skip counter over missing files, stop; the recent list
// kept at its size with the listening log written; a picture of the window
// playing a song.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "ListenLog.h"
#include "MainWindowRun.h"
#include "PushTestSupport.h"
#include "PushedSong.h"
#include "RecordingMessaging.h"
#include "SocialTestSupport.h"
#include "SongLibrary.h"
#include "WindowPicture.h"
#include "resource.h"

#include <functional>
#include <string>
#include <vector>

namespace
{
std::vector<std::wstring> g_asked;

int RecordQuestion(LPCWSTR text, int, LPCWSTR, int, CWnd*)
{
    g_asked.push_back(text ? text : L"");
    return IDOK;
}

std::wstring PlayOutputFolder()
{
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    ::CreateDirectoryW(folder.c_str(), NULL);
    folder += L"\\play";
    ::CreateDirectoryW(folder.c_str(), NULL);
    return folder;
}

CSongInfo Song(const CString& id, const CString& title, const CString& path, LPCWSTR type = L"0")
{
    CSongInfo song;
    song.SetId(id);
    song.SetHash(L"H" + id);
    song.SetTitle(title);
    song.SetAlbumArtist(L"Singer");
    song.SetType(type);
    song.SetPath(path);
    song.SetFileSize(L"8524");
    song.SetDuration(L"2350000000");
    return song;
}

CPlaylist List(const CString& name, int kind)
{
    CPlaylist list;
    list.SetName(name);
    list.SetKind(kind);
    return list;
}

// Songs s1..s4 ("Alpha".."Delta"), of which s3's file is missing, in the list
// "Mix"; the list "Lost" of seven songs whose files are all missing; the two
// special lists. Buddies' songs r1.. fill the recent list; strays x1.. are
// buddies' songs of no list.
void WriteOwnLibrary(const std::wstring& myMusic, int extraRecent = 0, int strayBuddySongs = 0)
{
    std::wstring folder = myMusic + L"\\songs";
    ::CreateDirectoryW(folder.c_str(), NULL);
    CSongLibrary library;
    CPlaylist mix = List(L"Mix", PLAYLIST_KIND_USER), lost = List(L"Lost", PLAYLIST_KIND_USER);
    const wchar_t* titles[] = {L"Alpha", L"Bravo", L"Charlie", L"Delta"};
    for (int i = 0; i < 4; ++i)
    {
        CString id, path;
        id.Format(L"s%d", i + 1);
        path.Format(L"%s\\%s.mp3", folder.c_str(), titles[i]);
        if (i != 2)
            ::CopyFileW((std::wstring(YEB_SOURCE_DIR) + L"\\tests\\player\\data\\sine.mp3").c_str(), path, FALSE);
        library.AddSong(Song(id, titles[i], path));
        mix.AddSongKey(id, TRUE);
    }
    for (int i = 1; i <= 7; ++i)
    {
        CString id, path;
        id.Format(L"m%d", i);
        path.Format(L"%s\\gone%d.mp3", folder.c_str(), i);
        library.AddSong(Song(id, L"Gone " + id, path));
        lost.AddSongKey(id, TRUE);
    }
    CPlaylist recent = List(Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME"), PLAYLIST_KIND_RECENT);
    for (int i = 1; i <= extraRecent; ++i)
    {
        CString id;
        id.Format(L"r%d", i);
        CSongInfo song = Song(id, L"Old " + id, L"", L"2");
        song.SetOwner(L"bob@x.com");
        library.AddSong(song);
        recent.AddSongKey(id, TRUE);
    }
    for (int i = 1; i <= strayBuddySongs; ++i)
    {
        CString id;
        id.Format(L"x%d", i);
        CSongInfo song = Song(id, L"Stray " + id, L"", L"2");
        song.SetOwner(L"bob@x.com");
        library.AddSong(song);
    }
    library.AddOrUpdatePlaylist(mix);
    library.AddOrUpdatePlaylist(lost);
    library.AddOrUpdatePlaylist(List(Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"), PLAYLIST_KIND_BUDDY));
    library.AddOrUpdatePlaylist(recent);
    std::wstring file = myMusic + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml";
    CreateFoldersAlongPath(file.c_str());
    ASSERT_EQ(S_OK, library.SaveToFile(file.c_str()));
}

void ShowList(CDlgMain& main, LPCWSTR name)
{
    int row = main.m_listSongLists.FindList(name);
    ASSERT_GE(row, 0) << W(name);
    main.ShowSongList(row, TRUE, TRUE);
}

// The end of the song that plays, as the player reports it.
void EndOfSong(CDlgMain& main)
{
    main.SendMessage(WM_MAIN_PLAYER_EVENT, DLL_WMP_PLAYSTATECHANGE, 8);
}

// Runs the window's messages until none is left (posted next-song requests).
void Pump()
{
    MSG msg;
    for (int i = 0; i < 20; ++i)
    {
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
}

// Playing, buffering, or on the way to playing.
bool IsPlayingState(long state)
{
    return state == 3 || state == 6 || state == 9;
}

class PlayerControl : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CDlgMain::s_askUser = &RecordQuestion;
        g_asked.clear();
    }
};
} // namespace

TEST_F(PlayerControl, StepsThroughListsByLoopModeSkipsMissingFilesAndStops)
{
    MainWindowRun run(L"play-model");
    run.App().SetUserEmail(L"me@x.com");
    WriteOwnLibrary(run.MyMusic());
    RecordingMessaging messaging;
    const CString nothing = Lang(L"CONST_MAIN_NO_PLAYING_SONG");
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            ShowList(main, L"Mix");

            struct Step
            {
                const wchar_t* what;
                std::function<void()> act;
                const wchar_t* song; // "" nothing plays
                int index;
                int skips; // -1 not checked
            } steps[] = {
                {L"a row starts", [&] { main.PlaySongAt(0); }, L"s1", 0, 0},
                {L"next", [&] { main.OnNext(); }, L"s2", 1, 0},
                {L"next passes the missing file", [&] { main.OnNext(); }, L"s4", 3, 1},
                {L"next after the last wraps to the first", [&] { main.OnNext(); }, L"s1", 0, 1},
                {L"previous on the first goes to the last", [&] { main.OnPrev(); }, L"s4", 3, 1},
                {L"loop mode 0: the end of a song plays the next", [&] { EndOfSong(main); Pump(); }, L"s1", 0, 1},
                {L"loop mode 1: the end of a song keeps it",
                 [&] { main.OnLoopMode(); EndOfSong(main); Pump(); }, L"s1", 0, 1},
                {L"loop mode 2: the end of a song plays one of the list",
                 [&] { main.OnLoopMode(); EndOfSong(main); Pump(); }, nullptr, -1, -1},
                {L"stop", [&] { main.OnLoopMode(); main.OnStop(); main.m_nSkipCount = 0; }, L"", -1, 0},
                {L"a missing row is marked and the next row plays",
                 [&] {
                     main.PlaySongAt(2);
                     EXPECT_EQ(1, main.m_listSongs.GetRow(2)->unavailable);
                 },
                 L"s4", 3, 1},
                {L"a list of missing files stops at the skip limit",
                 [&] { ShowList(main, L"Lost"); main.PlayRow(0, NULL); }, L"", -1, 0},
                {L"all songs whose rows are all marked missing end too",
                 [&] {
                     ShowList(main, Lang(L"STR_MAIN_TOTAL_SONGLIST_NAME"));
                     main.PlaySongAt(0);
                     for (int i = 0; i < main.m_listSongs.GetItemCount(); ++i)
                         main.m_listSongs.GetRow(i)->unavailable = 1;
                     main.OnNext();
                 },
                 L"", -1, 0},
            };
            for (const Step& step : steps)
            {
                step.act();
                if (step.song)
                    EXPECT_EQ(std::wstring(step.song), W(main.m_strPlayingSongId)) << step.what;
                if (step.index >= 0 || (step.song && !*step.song))
                    EXPECT_EQ(step.index, main.m_nPlayingIndex) << step.what;
                if (step.skips >= 0)
                    EXPECT_EQ(step.skips, main.m_nSkipCount) << step.what;
                if (step.song && !*step.song)
                    EXPECT_EQ(W(nothing), W(main.m_stTitle.GetText())) << step.what;
                else
                    EXPECT_TRUE(IsPlayingState(main.m_player.get_playState())) << step.what;
            }
        });
        // Loop mode 2 chose some song of the list; its mode was stored each time.
        EXPECT_EQ(0, g_pAppSetting->ReadInt(L"SOFTWARE", L"loopMode"));
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(g_asked.empty());
}

TEST_F(PlayerControl, TitleButtonsMarksAndThePicture)
{
    MainWindowRun run(L"play-title");
    run.App().SetUserEmail(L"me@x.com");
    WriteOwnLibrary(run.MyMusic());
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            ShowList(main, L"Mix");
            main.PlaySongAt(1);
            EXPECT_EQ(W(L"Bravo - Singer"), W(main.m_stTitle.GetText()));
            EXPECT_EQ(1, main.m_listSongs.GetRow(1)->playing);
            EXPECT_TRUE(main.m_btnStop.IsWindowEnabled());
            EXPECT_TRUE(main.m_btnPushSong.IsWindowEnabled()) << "an own song may be pushed";
            EXPECT_FALSE(main.m_sliderProgress.IsLimitActive());
        });
        // The position moves while the song plays.
        EXPECT_TRUE(run.WaitUntil([&] { return run.Main().m_player.get_currentPosition() > 0.3; }, 10000));
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.UpdateProgressSlider();
            EXPECT_GT(main.m_sliderProgress.GetPos(), 0);
            EXPECT_NE(W(L"00:00 / 00:00"), W(main.m_stTime.GetText()));
            main.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            EXPECT_TRUE(SaveWindowPicture(main.GetSafeHwnd(), PlayOutputFolder() + L"\\main-window-playing.png"));

            // Pause fades out and pauses; play fades in and resumes.
            main.m_sliderVolume.SetPos(40);
            main.OnPlayPause();
        });
        EXPECT_TRUE(run.WaitUntil([&] { return run.Main().m_player.get_playState() == 2; }, 5000));
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            EXPECT_EQ(40, main.m_player.get_volume()) << "the volume comes back after the fade";
            EXPECT_FALSE(main.m_strPlayingSongId.IsEmpty());
            main.OnPlayPause();
        });
        EXPECT_TRUE(run.WaitUntil(
            [&] { return run.Main().m_player.get_playState() == 3 && run.Main().m_player.get_volume() == 40; }, 5000));
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            // Mute and back.
            main.OnMute();
            EXPECT_EQ(0, main.m_player.get_volume());
            main.OnMute();
            EXPECT_EQ(40, main.m_player.get_volume());
            main.OnStop();
            EXPECT_EQ(0, main.m_listSongs.GetRow(1)->playing);
            EXPECT_EQ(W(Lang(L"CONST_MAIN_NO_PLAYING_SONG")), W(main.m_stTitle.GetText()));
        });
    });
    EXPECT_TRUE(ran);
}

TEST_F(PlayerControl, PushSongButtonSendsThePlayingSongToTheChosenBuddy)
{
    MainWindowRun run(L"play-push");
    run.App().SetUserEmail(L"me@x.com");
    WriteOwnLibrary(run.MyMusic());
    RecordingMessaging messaging;
    bool ran = false;
    auto pushButton = [](CDlgMain& main) {
        main.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MAIN_PUSH_SONG, BN_CLICKED),
                         reinterpret_cast<LPARAM>(main.m_btnPushSong.GetSafeHwnd()));
    };
    run.Run([&] {
        ran = true;
        run.SignIn({L"ann@x.com", L"bob@x.com"});
        run.Deliver(MakeRecord(6, {L"ann@x.com", L"", L"", L"0"}));
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            // Nothing plays: no chooser.
            EXPECT_FALSE(DriveModal(IDC_FRIEND_LIST, [&] { pushButton(main); }, [](HWND dialog) {
                ClickButton(dialog, IDCANCEL);
            }));

            main.SelectLeftItem(0);
            ShowList(main, L"Mix");
            main.PlaySongAt(1);
            messaging.calls.clear();
            g_asked.clear();
            int rows = -1;
            EXPECT_TRUE(DriveModal(IDC_FRIEND_LIST, [&] { pushButton(main); }, [&](HWND dialog) {
                HWND list = ::GetDlgItem(dialog, IDC_FRIEND_LIST);
                rows = (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
                ClickButton(dialog, IDOK);
            })) << "the chooser never showed";
            EXPECT_EQ(1, rows) << "only Ann is online";
            auto pushed = messaging.Pushed(12);
            ASSERT_EQ(1u, pushed.size());
            // The file size is given, so the detail text carries no local path.
            const std::wstring expected[8] = {L"ann@x.com", L"Bravo", L"Hs2",        L"Singer??",
                                              L"me@x.com",  L"8524",  L"2350000000", L"s2"};
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(expected[i], W(pushed[0].s[i])) << "slot s" << i + 1;
            ASSERT_FALSE(g_asked.empty());
            EXPECT_NE(std::wstring::npos, g_asked.back().find(L"Bravo")) << "the result text is shown";
            main.OnStop();
        });
    });
    EXPECT_TRUE(ran);
}

TEST(FadeSteps, EvenStepsTowardsAndDownFromTheVolume)
{
    struct Case
    {
        int direction, target;
        std::vector<int> steps;
    } cases[] = {
        {1, 6, {2, 4, 6}},
        {1, 5, {2, 4, 6}}, // an odd volume ends one above it
        {1, 0, {}},
        {0, 6, {4, 2, 0}},
        {0, 5, {3, 1, 0}}, // a step below 0 sets 0
        {0, 0, {0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.steps, CDlgMain::FadeSteps(c.direction, c.target)) << c.direction << " " << c.target;
}

TEST(PushedSong, FourthSlotSplitsIntoArtistAndFileName)
{
    struct Case
    {
        const wchar_t* slot;
        const wchar_t* artist;
        const wchar_t* file;
    } cases[] = {
        {L"Singer??C:\\m\\tune.mp3", L"Singer", L"C:\\m\\tune.mp3"},
        {L"Singer", L"Singer", L"Tune.mp3"}, // no "??": the title names the file
        {L"??a.mp3", L"", L"a.mp3"},
        {L"A??B??C", L"A", L"B??C"}, // split at the first "??"
    };
    for (const Case& c : cases)
    {
        PushedSong pushed = PushedSong::FromSlots(L"ann@x.com", L"Tune", L"HASH", c.slot, L"123", L"50000000", L"id1");
        EXPECT_EQ(std::wstring(c.artist), W(pushed.artist)) << c.slot;
        EXPECT_EQ(std::wstring(c.file), W(pushed.song.GetPath())) << c.slot;
        EXPECT_EQ(W(L"2"), W(pushed.song.GetType()));
        EXPECT_EQ(W(L"ann@x.com"), W(pushed.song.GetOwner()));
        EXPECT_EQ(W(L"123"), W(pushed.song.GetFileSize()));
        EXPECT_EQ(W(L"id1"), W(pushed.song.GetId()));
    }
}

TEST_F(PlayerControl, RecentListKeepsFiftySongsAndTheListeningLogIsWritten)
{
    MainWindowRun run(L"play-recent");
    run.App().SetUserEmail(L"me@x.com");
    WriteOwnLibrary(run.MyMusic(), 50, 3);
    RecordingMessaging messaging;
    std::wstring file = run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml";
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            CListenLog* log = CListenLog::GetInstance();
            ASSERT_TRUE(log);
            int logged = log->GetCollectedCount();
            main.SelectLeftItem(0);
            ShowList(main, L"Mix");
            main.PlaySongAt(0);
            main.PlaySongAt(0); // played again: not added twice
            EXPECT_GT(log->GetCollectedCount(), logged);
        });
        CSongLibrary saved;
        ASSERT_EQ(S_OK, saved.LoadFromFile(file.c_str()));
        CPlaylist recent;
        ASSERT_EQ(S_OK, saved.GetPlaylistByName(Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME"), recent));
        ASSERT_EQ(50, recent.GetSongCount());
        CString first, last;
        recent.GetSongIdAt(0, first);
        recent.GetSongIdAt(49, last);
        EXPECT_EQ(W(L"r2"), W(first)) << "the oldest song left";
        EXPECT_EQ(W(L"s1"), W(last));
        EXPECT_EQ(50, saved.CountSongsOfType(L"2")) << "buddies' songs in no list are dropped";
        EXPECT_LT(saved.IndexOfSong(L"x1"), 0);
    });
    EXPECT_TRUE(ran);
}
