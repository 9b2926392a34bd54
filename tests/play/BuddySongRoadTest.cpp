// A buddy's song from end to end through the stand-in service: Ann's client
// (a messaging client in a process of its own, with its own My Music) pushes
// a song of hers to Ben; Ben's main window, on the real messaging library and
// the stand-in player, shows the push, plays it while the bytes arrive in its
// cache file, and ends with the same bytes as Ann's file; playing it again
// asks for nothing. When Ann leaves midway the transfer ends with the buffering
// error and the partial file is resumed by a later play.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "MainWindowRun.h"
#include "MessagingLink.h"
#include "ProbeProcess.h"
#include "RoadFiles.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "SongLibrary.h"
#include "Vossel.h"
#include "WindowPicture.h"

#include <atomic>
#include <string>
#include <vector>

namespace
{
std::vector<std::wstring> g_asked;
std::atomic<int> g_songRequests(0);
int (*g_libraryPush)(CommandData&) = nullptr;

int RecordQuestion(LPCWSTR text, int, LPCWSTR, int, CWnd*)
{
    g_asked.push_back(text ? text : L"");
    return IDOK;
}

// The library's own push, with the song requests (code 28) counted.
int CountingPush(CommandData& record)
{
    if (record.code == 28)
        ++g_songRequests;
    return g_libraryPush(record);
}

std::string Utf8(const std::wstring& text)
{
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, NULL, 0, NULL, NULL);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, NULL, NULL);
    return out;
}

bool PushSong(ProbeProcess& ann, const RoadSong& song)
{
    return ann.Push(12, {"b@x.com", Utf8(song.title), Utf8(song.hash), "Yeb Test??" + Utf8(song.path), "",
                         std::to_string(song.bytes.size()), "2400000000", Utf8(song.id)});
}

int RowOfSong(CDlgMain& main, const std::wstring& id)
{
    for (int i = 0; i < main.m_listSongs.GetItemCount(); ++i)
        if (W(main.m_listSongs.GetRow(i)->songId) == id)
            return i;
    return -1;
}

// Stops what plays, so that the local server's stream ends before the window goes.
void EndPlaying(MainWindowRun& run)
{
    run.OnWindowThread([&] { run.Main().OnStop(); });
    ::Sleep(500);
}

class BuddySongRoad : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CDlgMain::s_askUser = &RecordQuestion;
        g_asked.clear();
        g_songRequests = 0;
        m_saved = Messaging();
        g_libraryPush = LibraryMessagingLink().pushCommand;
        Messaging().pushCommand = &CountingPush;
    }
    void TearDown() override
    {
        Messaging() = m_saved;
        CServiceAddresses::Get().Reset();
    }
    MessagingLink m_saved;
};
} // namespace

TEST_F(BuddySongRoad, PushedSongPlaysWhileItArrivesAndComesFromTheCacheAfterwards)
{
    ServiceProcess service;
    ASSERT_TRUE(StartServiceWithAccounts(service, kAnnAndBenAccounts));
    const int port = service.Port("messaging");

    MainWindowRun run(L"play-road");
    run.App().SetUserEmail(L"b@x.com");
    std::wstring annMusic = run.Folder() + L"\\music-a";
    ::CreateDirectoryW(annMusic.c_str(), NULL);
    RoadSong song{L"a1", L"LONGSINE1", L"Long Sine", annMusic + L"\\long.mp3", LongSong(150)};
    WriteBytes(song.path, song.bytes);
    WriteOwnLibrary(annMusic, L"a@x.com", {song});
    std::wstring cache = run.MyMusic() + L"\\yeb360\\cache\\" + song.hash + L".cache";

    ProbeProcess ann;
    ASSERT_TRUE(ann.Start(annMusic, {{L"YEB_VOSSEL_PACE_MS", L"100"}}));
    ASSERT_TRUE(ann.LogIn(port, "a@x.com", "pass1pas"));
    ASSERT_TRUE(ann.WaitForCode(1, 10000));

    bool ran = false;
    run.Run([&] {
        ran = true;
        CDlgMain& main = run.Main();
        LogInThroughMessaging(main.GetSafeHwnd(), port, L"b@x.com", L"pass2pas");
        ASSERT_TRUE(run.WaitUntil(
            [&] {
                CFriendItem* row = main.LeftBar().GetItem(main.LeftBar().FindItem(L"a@x.com"));
                return row && row->kind == 2;
            },
            20000));

        // Ann pushes; Ben is asked and plays at once.
        ASSERT_TRUE(PushSong(ann, song));
        ASSERT_TRUE(run.WaitUntil([&] { return W(main.m_strPlayingSongId) == song.id; }, 10000));
        ASSERT_FALSE(g_asked.empty());
        EXPECT_NE(std::wstring::npos, g_asked[0].find(L"Long Sine")) << g_asked[0];
        EXPECT_EQ(1, g_songRequests.load());
        run.OnWindowThread([&] {
            EXPECT_EQ(W(Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME")), W(main.m_strShownListName));
            EXPECT_EQ(W(L"Long Sine - Yeb Test"), W(main.m_stTitle.GetText()));
        });

        // The position moves while the file still grows.
        long long sizeWhenPlaying = -1;
        ASSERT_TRUE(run.WaitUntil(
            [&] {
                if (main.m_player.get_currentPosition() <= 0)
                    return false;
                sizeWhenPlaying = FileSize(cache);
                return true;
            },
            20000));
        EXPECT_LT(sizeWhenPlaying, (long long)song.bytes.size()) << "the song played only once it had arrived";
        run.OnWindowThread([&] {
            EXPECT_TRUE(main.m_sliderProgress.IsLimitActive()) << "the slider is held behind the transfer";
            EXPECT_EQ(0, RowOfSong(main, song.id)) << "the pushed song shows in the buddy-songs list";
            EXPECT_EQ(1, main.m_listSongs.GetRow(0)->playing);
            main.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            std::wstring pictures = std::wstring(YEB_BINARY_DIR) + L"\\test-output\\play";
            ::CreateDirectoryW(pictures.c_str(), NULL);
            EXPECT_TRUE(SaveWindowPicture(main.GetSafeHwnd(), pictures + L"\\main-window-buddy-song.png"));
        });

        // The whole song arrives: the same bytes, and the slider is free.
        ASSERT_TRUE(run.WaitUntil([&] { return FileSize(cache) == (long long)song.bytes.size(); }, 60000));
        EXPECT_TRUE(ReadBytes(cache) == song.bytes);
        EXPECT_TRUE(run.WaitUntil([&] { return !main.m_sliderProgress.IsLimitActive(); }, 10000));

        // Played again: from the cache, nothing is asked.
        run.OnWindowThread([&] {
            main.OnStop();
            main.PlayRow(RowOfSong(main, song.id), NULL);
            EXPECT_EQ(W(song.id), W(main.m_strPlayingSongId));
            EXPECT_FALSE(main.m_sliderProgress.IsLimitActive());
        });
        EXPECT_EQ(1, g_songRequests.load());
        EXPECT_TRUE(run.WaitUntil([&] { return main.m_player.get_playState() == 3; }, 10000));
        EndPlaying(run);
        yebJinRelease(1);
    });
    EXPECT_TRUE(ran);
}

TEST_F(BuddySongRoad, OwnerLeavingMidwayEndsTheSongAndALaterPlayResumes)
{
    ServiceProcess service;
    ASSERT_TRUE(StartServiceWithAccounts(service, kAnnAndBenAccounts));
    const int port = service.Port("messaging");

    MainWindowRun run(L"play-road-offline");
    run.App().SetUserEmail(L"b@x.com");
    std::wstring annMusic = run.Folder() + L"\\music-a";
    ::CreateDirectoryW(annMusic.c_str(), NULL);
    RoadSong song{L"a2", L"LONGSINE2", L"Long Sine Two", annMusic + L"\\long2.mp3", LongSong(150)};
    WriteBytes(song.path, song.bytes);
    WriteOwnLibrary(annMusic, L"a@x.com", {song});
    std::wstring cache = run.MyMusic() + L"\\yeb360\\cache\\" + song.hash + L".cache";
    const std::wstring overtime = W(Lang(L"INFO_MAIN_DLG_BUFFERING_OVERTIME"));

    ProbeProcess ann;
    ASSERT_TRUE(ann.Start(annMusic, {{L"YEB_VOSSEL_PACE_MS", L"150"}}));
    ASSERT_TRUE(ann.LogIn(port, "a@x.com", "pass1pas"));
    ASSERT_TRUE(ann.WaitForCode(1, 10000));

    bool ran = false;
    run.Run([&] {
        ran = true;
        CDlgMain& main = run.Main();
        LogInThroughMessaging(main.GetSafeHwnd(), port, L"b@x.com", L"pass2pas");
        auto annOnline = [&] {
            CFriendItem* row = main.LeftBar().GetItem(main.LeftBar().FindItem(L"a@x.com"));
            return row && row->kind == 2;
        };
        ASSERT_TRUE(run.WaitUntil(annOnline, 20000));
        ASSERT_TRUE(PushSong(ann, song));
        ASSERT_TRUE(run.WaitUntil([&] { return FileSize(cache) > 0; }, 20000));

        // Ann leaves midway.
        ASSERT_TRUE(ann.Run({"release"}));
        ASSERT_TRUE(run.WaitUntil(
            [&] {
                for (const std::wstring& text : g_asked)
                    if (text == overtime)
                        return true;
                return false;
            },
            40000));
        long long partial = FileSize(cache);
        EXPECT_GT(partial, 0);
        EXPECT_LT(partial, (long long)song.bytes.size());
        run.OnWindowThread([&] { EXPECT_TRUE(main.m_strPlayingSongId.IsEmpty()) << "playing stopped"; });

        // Ann is back; Ben plays the song again from his buddy-songs list.
        ASSERT_TRUE(ann.LogIn(port, "a@x.com", "pass1pas"));
        ASSERT_TRUE(run.WaitUntil(annOnline, 20000));
        int requests = g_songRequests.load();
        run.OnWindowThread([&] {
            int list = main.m_listSongLists.FindList(Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"));
            main.ShowSongList(list, TRUE, FALSE);
            main.PlayRow(RowOfSong(main, song.id), NULL);
            EXPECT_EQ(W(song.id), W(main.m_strPlayingSongId));
        });
        EXPECT_EQ(requests + 1, g_songRequests.load());
        ASSERT_TRUE(run.WaitUntil([&] { return FileSize(cache) == (long long)song.bytes.size(); }, 60000));
        EXPECT_TRUE(ReadBytes(cache) == song.bytes) << "the resumed file is the owner's file";
        EndPlaying(run);
        yebJinRelease(1);
    });
    EXPECT_TRUE(ran);
}
