// A buddy's library in the main window: from its copy on disk, asked for
// with code 44 and shown when it has arrived, a damaged copy shown empty with
// a message, and the whole road through the stand-in service from a second
// client that owns the library.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "MainWindowRun.h"
#include "ProbeProcess.h"
#include "RecordingMessaging.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "SongLibrary.h"
#include "SongPaneRows.h"
#include "Vossel.h"

#include <cstdio>
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

// A buddy's library: songs b1..bn, song i lasting i minutes and i seconds
// (from 40 minutes on the count of 100-ns units no longer fits 32 bits), the
// list "Rock" over the first two and the two special lists (which get no
// rows in the buddy's view).
void WriteBuddyLibrary(const std::wstring& path, int songs)
{
    CSongLibrary library;
    CPlaylist rock, pushed, recent;
    rock.SetName(L"Rock");
    pushed.SetName(Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"));
    pushed.SetKind(PLAYLIST_KIND_BUDDY);
    recent.SetName(Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME"));
    recent.SetKind(PLAYLIST_KIND_RECENT);
    for (int i = 1; i <= songs; ++i)
    {
        CSongInfo song;
        CString id, title;
        id.Format(L"b%d", i);
        title.Format(L"Tune %d", i);
        song.SetId(id);
        song.SetHash(L"HASH" + id);
        song.SetTitle(title);
        song.SetType(L"0");
        song.SetPath(L"C:\\b\\" + title + L".mp3");
        song.SetDuration(std::to_wstring(61LL * i * 10000000).c_str());
        library.AddSong(song);
        if (i <= 2)
            rock.AddSongKey(id, TRUE);
    }
    library.AddOrUpdatePlaylist(pushed);
    library.AddOrUpdatePlaylist(rock);
    library.AddOrUpdatePlaylist(recent);
    CreateFoldersAlongPath(path.c_str());
    ASSERT_EQ(S_OK, library.SaveToFile(path.c_str()));
}

CFriendItem* BuddyRow(CDlgMain& main, LPCWSTR id, int* index = nullptr)
{
    int row = main.LeftBar().FindItem(id);
    if (index)
        *index = row;
    return main.LeftBar().GetItem(row);
}
} // namespace

TEST(BuddyLibrary, FromDiskAskedForAndDamaged)
{
    CDlgMain::s_askUser = &RecordQuestion;
    g_asked.clear();
    MainWindowRun run(L"songs-buddy");
    run.App().SetUserEmail(L"me@x.com");
    std::wstring copy = run.MyMusic() + L"\\yeb360\\lib\\friend\\bob@x.com\\playlist.xml";
    const std::wstring all = std::wstring(Lang(L"STR_MAIN_TOTAL_SONGLIST_NAME"));
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({L"bob@x.com", L"cat@x.com"});
        run.Deliver(MakeRecord(6, {L"bob@x.com", L"", L"", L"1"}, 0)); // bob comes online
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            int row;
            CFriendItem* bob = BuddyRow(main, L"bob@x.com", &row);
            ASSERT_TRUE(bob);
            ASSERT_EQ(2, bob->kind);
            // No copy yet: the library is asked for and the wait runs.
            main.SelectLeftItem(row);
            main.SelectLeftItem(row);
            EXPECT_EQ(W(L"bob@x.com"), W(main.m_strShownOwner));
            EXPECT_NE(0u, main.m_timerLoading);
            EXPECT_EQ(0, main.m_listSongLists.GetItemCount());
        });
        ASSERT_FALSE(messaging.PushedTo(44).empty());
        EXPECT_EQ(W(L"bob@x.com"), W(messaging.PushedTo(44).back()));

        // The progress, then the copy and its arrival: the wait ends and the
        // library shows, lists by position, the special lists left out.
        run.Deliver(MakeRecord(45, {L"bob@x.com", L"", L"", L"", L"0.5"}));
        run.OnWindowThread([&] { EXPECT_EQ(50, run.Main().m_libraryProgress[L"bob@x.com"]); });
        WriteBuddyLibrary(copy, 3);
        run.Deliver(MakeRecord(45, {L"bob@x.com", L"", L"", L"", L"1"}));
        run.Deliver(MakeRecord(23, {L"bob@x.com", L"", L"", L"Playlist"}));
        ASSERT_TRUE(run.WaitUntil([&] { return run.Main().m_listSongLists.GetItemCount() > 0; }, 10000));
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            EXPECT_EQ(0u, main.m_timerLoading);
            EXPECT_EQ(all + L":10000:3|Rock:2:2|", ListRows(main));
            EXPECT_EQ(3, main.m_listSongs.GetItemCount());
            EXPECT_EQ(W(L"bob@x.com"), W(main.m_listSongs.GetRow(0)->owner));
            EXPECT_EQ(0, main.m_listSongs.GetRow(0)->actionIcon) << "a buddy's song cannot be pushed from here";
            EXPECT_EQ(61000u, main.m_listSongs.GetRow(0)->duration);
            EXPECT_EQ(W(L"01:01"), W(CListCtrlSong::DurationText(main.m_listSongs.GetRow(0)->duration)));
            EXPECT_EQ(3, BuddyRow(main, L"bob@x.com")->totalSongs);
            main.ShowSongList(1, FALSE, TRUE);
            EXPECT_EQ(2, main.m_listSongs.GetItemCount());
            CaptureWindowPicture(main.GetSafeHwnd(), L"main-window-buddy-library.png");
        });

        // The copy on disk is shown again without asking.
        size_t asked = messaging.PushedTo(44).size();
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            int row;
            CFriendItem* bob = BuddyRow(main, L"bob@x.com", &row);
            main.OpenBuddyLibrary(bob, row);
            EXPECT_EQ(all + L":10000:3|Rock:2:2|", ListRows(main));
        });
        EXPECT_EQ(asked, messaging.PushedTo(44).size());

        // A damaged copy that has just come: an empty library and a message,
        // and it is not asked for again and again.
        {
            FILE* damaged = _wfopen(copy.c_str(), L"wb");
            ASSERT_TRUE(damaged);
            fputs("<UR><MD><MS A=\"x\" B=", damaged);
            fclose(damaged);
        }
        g_asked.clear();
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            int row;
            CFriendItem* bob = BuddyRow(main, L"bob@x.com", &row);
            main.m_strShownOwner = L"bob@x.com";
            main.OpenBuddyLibrary(bob, row, TRUE);
            EXPECT_EQ(all + L":10000:0|", ListRows(main));
            EXPECT_EQ(0, main.m_listSongs.GetItemCount());
            EXPECT_EQ(0u, main.m_timerLoading);
        });
        EXPECT_EQ(asked, messaging.PushedTo(44).size());
        ASSERT_EQ(1u, g_asked.size());

        // An offline buddy's row shows nothing and asks for nothing.
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            int row;
            CFriendItem* cat = BuddyRow(main, L"cat@x.com", &row);
            main.OpenBuddyLibrary(cat, row);
            EXPECT_EQ(0, main.m_listSongLists.GetItemCount());
        });
        EXPECT_EQ(asked, messaging.PushedTo(44).size());
    });
    EXPECT_TRUE(ran) << "the main window never showed";
}

TEST(BuddyLibrary, ComesFromASecondClientThroughTheService)
{
    ServiceProcess service;
    ASSERT_TRUE(StartServiceWithAccounts(service, kAnnAndBenAccounts));
    CDlgMain::s_askUser = &RecordQuestion;
    g_asked.clear();
    const int port = service.Port("messaging");

    MainWindowRun run(L"songs-clients");
    run.App().SetUserEmail(L"a@x.com");
    WriteBuddyLibrary(run.Folder() + L"\\music-b\\yeb360\\lib\\private\\b@x.com\\playlist.xml", 40);
    ProbeProcess b;
    ASSERT_TRUE(b.Start(run.Folder() + L"\\music-b", {{L"YEB_VOSSEL_PACE_MS", L"5"}}));
    ASSERT_TRUE(b.LogIn(port, "b@x.com", "pass2pas"));
    ASSERT_TRUE(b.WaitForCode(1, 10000));

    bool ran = false;
    run.Run([&] {
        ran = true;
        CDlgMain& main = run.Main();
        LogInThroughMessaging(main.GetSafeHwnd(), port, L"a@x.com", L"pass1pas");
        ASSERT_TRUE(run.WaitUntil(
            [&] {
                CFriendItem* row = BuddyRow(main, L"b@x.com");
                return row && row->kind == 2;
            },
            20000));
        // The row chosen twice: its page, then its library, asked from B.
        run.OnWindowThread([&] {
            int row;
            BuddyRow(main, L"b@x.com", &row);
            main.SelectLeftItem(row);
            main.SelectLeftItem(row);
        });
        ASSERT_TRUE(run.WaitUntil([&] { return main.m_listSongs.GetItemCount() == 40; }, 30000));
        run.OnWindowThread([&] {
            EXPECT_EQ(100, main.m_libraryProgress[L"b@x.com"]);
            EXPECT_EQ(0u, main.m_timerLoading);
            EXPECT_EQ(2, main.m_listSongLists.GetItemCount());
            EXPECT_EQ(W(L"Tune 1"), W(main.m_listSongs.GetRow(0)->title));
            // The durations came with the library: the time column shows them.
            EXPECT_EQ(W(L"01:01"), W(CListCtrlSong::DurationText(main.m_listSongs.GetRow(0)->duration)));
            EXPECT_EQ(W(L"40:40"), W(CListCtrlSong::DurationText(main.m_listSongs.GetRow(39)->duration)));
            CaptureWindowPicture(main.GetSafeHwnd(), L"main-window-library-from-client.png");
        });
        yebJinRelease(1);
    });
    EXPECT_TRUE(ran) << "the main window never showed";
    EXPECT_TRUE(g_asked.empty());
}
