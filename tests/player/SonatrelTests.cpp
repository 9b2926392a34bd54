// The exported player class over the library's own media player (or the
// platform's, where it can play): server options, the three play operations,
// transport and media information, events, and copies.
#include "PlayerTestUtil.h"
#include "PlayerEventSink.h"
#include "PlayerHost.h"
#include "Sonatrel.h"
#include "StandInMediaPlayer.h"
#include <gtest/gtest.h>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

using namespace playertest;

namespace
{
// Events as the client's callback receives them.
struct EventLog
{
    std::mutex lock;
    std::vector<std::pair<long, long>> events; // player events (UI thread)
    std::atomic<long> lastProgress{-1};
    std::atomic<int> progressCount{0};

    void Clear()
    {
        std::lock_guard<std::mutex> g(lock);
        events.clear();
        lastProgress = -1;
        progressCount = 0;
    }
    bool Has(long event, long value)
    {
        std::lock_guard<std::mutex> g(lock);
        for (auto& e : events)
            if (e.first == event && e.second == value)
                return true;
        return false;
    }
    // Position of the first such event after an index, or -1.
    int Find(long event, long value, int after = -1)
    {
        std::lock_guard<std::mutex> g(lock);
        for (int i = after + 1; i < static_cast<int>(events.size()); ++i)
            if (events[i].first == event && events[i].second == value)
                return i;
        return -1;
    }
};
EventLog g_log;

long __stdcall OnPlayerEvent(DLL_WMPCOREEVENT event, long value)
{
    if (event == DLL_WMP_SERVERPROGRESS)
    {
        g_log.lastProgress = value;
        ++g_log.progressCount;
        return 0;
    }
    std::lock_guard<std::mutex> g(g_log.lock);
    g_log.events.push_back({event, value});
    return 0;
}

std::wstring Take(BSTR& text)
{
    std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    text = nullptr;
    return out;
}

class SonatrelTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_log.Clear();
        song = ReadBytes(TestSong());
        ASSERT_FALSE(song.empty());
    }

    // Server over the temp folder with the client's settings, then the player.
    void StartAll(LPCWSTR auth = L"1")
    {
        port = FreePort();
        ASSERT_EQ(0, player.SetHttpServerOption(folder.Path().c_str(), port, nullptr, auth, L"cache"));
        ASSERT_EQ(0, player.StartHttpServer());
        ASSERT_GE(player.InitWMPlayer(), 0);
        ASSERT_EQ(0, player.SetCallback(OnPlayerEvent));
    }

    bool WaitEvent(long event, long value, DWORD ms = 15000)
    {
        return PumpUntil([&] { return g_log.Has(event, value); }, ms);
    }

    TempFolder folder;
    CSonatrel player;
    std::string song;
    int port = 0;
};
} // namespace

TEST_F(SonatrelTest, OptionsAndStringResults)
{
    EXPECT_EQ(81u, player.GetHttpServerPort());
    BSTR text = nullptr;
    EXPECT_EQ(0, player.GetHttpServerLocalPath(&text));
    EXPECT_EQ(L"", Take(text));
    EXPECT_EQ(0, player.SetHttpServerOption(L"C:\\cache", 80, nullptr, nullptr, nullptr));
    EXPECT_EQ(80u, player.GetHttpServerPort());
    // "Frees old": the getter frees what the out-pointer holds.
    text = SysAllocString(L"old");
    EXPECT_EQ(0, player.GetHttpServerLocalPath(&text));
    EXPECT_EQ(L"C:\\cache", Take(text));
    EXPECT_EQ(0, player.GetHttpServerVirtualPath(&text));
    EXPECT_EQ(L"\\", Take(text));
    EXPECT_EQ(0, player.GetHttpServerAuthString(&text));
    EXPECT_EQ(L"", Take(text));
    player.SetHttpServerOption(L"C:\\cache", 80, L"/v", L"1", L"cache");
    EXPECT_EQ(0, player.GetHttpServerVirtualPath(&text));
    EXPECT_EQ(L"/v", Take(text));
    EXPECT_EQ(0, player.GetHttpServerAuthString(&text));
    EXPECT_EQ(L"1", Take(text));
}

TEST_F(SonatrelTest, WithoutPlayerOrServer)
{
    EXPECT_EQ(0, player.get_playState());
    EXPECT_EQ(0, player.get_volume());
    EXPECT_EQ(0.0, player.get_currentPosition());
    EXPECT_EQ(1, player.PlayLocalMusic(L"a", L"b", TestSong().c_str(), L"c", 1));
    EXPECT_EQ(1, player.PlayWebMusic(L"a", L"b", L"http://127.0.0.1/x.mp3", L"c", 1));
    EXPECT_EQ(1, player.PlayBuddyMusic(L"a", L"b", L"c", 1));
    EXPECT_EQ(1, player.stop_play());
    EXPECT_EQ(1, player.pause_play());
    double d = 0;
    EXPECT_EQ(1, player.get_duration(&d));
    BSTR text = nullptr;
    EXPECT_EQ(1, player.GetCurrentItemTitle(&text));
    EXPECT_EQ(1, player.get_musicInfo(&text, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(0, player.StopHttpServer());
    EXPECT_EQ(0, player.ReleaseWMPlayer());
    // With a player but no server, a buddy's song cannot be played.
    ASSERT_GE(player.InitWMPlayer(), 0);
    EXPECT_EQ(1, player.PlayBuddyMusic(L"a", L"b", L"c", 1));
}

TEST(PlayerHostTest, CreatesConnectsAndReleasesThePlayer)
{
    CoInitialize(nullptr);
    {
        PlayerHost host;
        ASSERT_GE(host.Initialise(), 0);
        std::printf("plays through %s\n",
                    host.IsOwnPlayer() ? "the library's own player" : "the platform's player");
        EXPECT_NE(nullptr, host.Player());
        EXPECT_NE(0u, host.Cookie());
        EXPECT_NE(nullptr, host.Controls());
        EXPECT_NE(nullptr, host.Settings());
        EXPECT_NE(nullptr, host.Network());
        EXPECT_EQ(1, PlayerEventSink::ModuleLocks());
        EXPECT_EQ(0, host.Release());
        EXPECT_EQ(nullptr, host.Player());
        EXPECT_EQ(0u, host.Cookie());
        EXPECT_EQ(0, host.Release()); // a second release finds nothing to do
    }
    EXPECT_EQ(0, PlayerEventSink::ModuleLocks());
    CoUninitialize();
}

TEST(PlayerEventSinkTest, DispatchFormForwardsTheFiveEvents)
{
    g_log.Clear();
    PlayerHost host;
    host.SetCallback(OnPlayerEvent);
    PlayerEventSink* sink = new PlayerEventSink(&host);
    sink->AddRef();
    IDispatch* events = nullptr;
    ASSERT_EQ(S_OK, sink->QueryInterface(IID__WMPOCXEvents, reinterpret_cast<void**>(&events)));

    struct Case
    {
        DISPID id;
        VARTYPE vt;
        long value;
        long expected;
    } cases[] = {{5001, VT_I4, 13, 13}, {5101, VT_I4, 3, 3},    {5402, VT_BOOL, VARIANT_TRUE, -1},
                 {5402, VT_BOOL, 0, 0}, {5501, VT_EMPTY, 0, 0}, {5821, VT_DISPATCH, 0, 0},
                 {5202, VT_I4, 7, -99}}; // position change: not forwarded
    for (const Case& c : cases)
    {
        g_log.Clear();
        VARIANTARG arg;
        VariantInit(&arg);
        arg.vt = c.vt;
        if (c.vt == VT_I4)
            arg.lVal = c.value;
        else if (c.vt == VT_BOOL)
            arg.boolVal = static_cast<VARIANT_BOOL>(c.value);
        DISPPARAMS params = {&arg, nullptr, c.vt == VT_EMPTY ? 0u : 1u, 0};
        EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
                  events->Invoke(c.id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
        if (c.expected == -99)
        {
            EXPECT_TRUE(g_log.events.empty());
        }
        else
        {
            EXPECT_TRUE(g_log.Has(c.id, c.expected)) << c.id;
        }
    }
    EXPECT_EQ(E_POINTER,
              events->Invoke(5101, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr));
    DISPID named = 0;
    VARIANTARG arg;
    VariantInit(&arg);
    DISPPARAMS withNames = {&arg, &named, 1, 1};
    EXPECT_EQ(DISP_E_NONAMEDARGS,
              events->Invoke(5101, IID_NULL, 0, DISPATCH_METHOD, &withNames, nullptr, nullptr, nullptr));
    UINT count = 0;
    EXPECT_EQ(E_NOTIMPL, events->GetTypeInfoCount(&count));
    events->Release();
    sink->Release();
}

TEST_F(SonatrelTest, PlaysALocalSongWithTransportAndMediaInformation)
{
    StartAll();
    EXPECT_EQ(1, player.PlayLocalMusic(L"i1", L"i2", folder.File(L"none.mp3").c_str(), L"i3", 5));
    std::wstring path = TestSong();
    ASSERT_EQ(0, player.PlayLocalMusic(L"first", L"second", path.c_str(), L"third", 8524));
    ASSERT_TRUE(WaitEvent(5101, 3)) << "never played";
    EXPECT_EQ(3, player.get_playState());
    EXPECT_TRUE(g_log.Has(5001, 13));

    BSTR text = nullptr;
    EXPECT_EQ(0, player.GetCurrentItemTitle(&text));
    EXPECT_EQ(L"Sine Test", Take(text));
    EXPECT_EQ(0, player.GetCurrentItemAuthor(&text));
    EXPECT_EQ(L"Yeb Tests", Take(text));
    EXPECT_EQ(0, player.GetCurrentItemFileSize(&text));
    EXPECT_EQ(std::to_wstring(song.size()), Take(text));
    EXPECT_EQ(0, player.GetCurrentItemFileType(&text));
    EXPECT_EQ(L"mp3", Take(text));
    EXPECT_EQ(1, player.GetCurItemAttrValByName(L"", &text));
    double duration = 0;
    EXPECT_EQ(0, player.get_duration(&duration));
    EXPECT_NEAR(2.0, duration, 0.2);
    EXPECT_EQ(0, player.get_durationString(&text));
    EXPECT_EQ(L"00:02", Take(text));

    BSTR i1 = nullptr, i2 = nullptr, i3 = nullptr;
    unsigned type = 9;
    unsigned long size = 0;
    EXPECT_EQ(0, player.get_musicInfo(&i1, &i2, &i3, &type, &size));
    EXPECT_EQ(L"first", Take(i1));
    EXPECT_EQ(L"second", Take(i2));
    EXPECT_EQ(L"third", Take(i3));
    EXPECT_EQ(0u, type);
    EXPECT_EQ(8524u, size);

    EXPECT_EQ(0, player.put_volume(30));
    EXPECT_EQ(30, player.get_volume());
    EXPECT_EQ(0, player.SetPlayerMode(L"shuffle", FALSE));

    // The position moves while playing and stands still while paused.
    PumpUntil([&] { return player.get_currentPosition() > 0.3; }, 5000);
    EXPECT_GT(player.get_currentPosition(), 0.3);
    EXPECT_EQ(0, player.pause_play());
    EXPECT_EQ(2, player.get_playState());
    double paused = player.get_currentPosition();
    PumpUntil([] { return false; }, 300);
    EXPECT_NEAR(paused, player.get_currentPosition(), 0.05);
    EXPECT_EQ(0, player.get_currentPositionString(&text));
    EXPECT_EQ(L"00:0", Take(text).substr(0, 4));
    EXPECT_EQ(0, player.resume_play());
    EXPECT_EQ(3, player.get_playState());

    int ended = -1;
    ASSERT_TRUE(PumpUntil([&] { return (ended = g_log.Find(5101, 8)) >= 0; }, 15000)) << "never ended";
    EXPECT_TRUE(PumpUntil([&] { return g_log.Find(5101, 1, ended) >= 0; }, 5000));
}

TEST_F(SonatrelTest, SeekStopAndClose)
{
    StartAll();
    ASSERT_EQ(0, player.PlayLocalMusic(L"a", L"b", TestSong().c_str(), L"c", 0));
    ASSERT_TRUE(WaitEvent(5101, 3));
    EXPECT_EQ(0, player.put_currentPosition(1.5));
    PumpUntil([] { return false; }, 100);
    EXPECT_GE(player.get_currentPosition(), 1.4);
    EXPECT_EQ(0, player.stop_play());
    EXPECT_TRUE(g_log.Has(5101, 1));
    EXPECT_EQ(0.0, player.get_currentPosition());
    double d = 0;
    EXPECT_EQ(1, player.get_duration(&d)); // closed: no current media
    EXPECT_EQ(0, player.Next());
    EXPECT_EQ(0, player.Prev());
}

TEST_F(SonatrelTest, BuddySongStreamsThroughTheServerWhileItGrows)
{
    StartAll();
    std::wstring cache = folder.File(L"c0ffee.cache");
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        Sleep(200);
        for (size_t at = 0; at < song.size() && !stop; at += 1024)
        {
            WriteBytes(cache, song.substr(at, 1024), at != 0);
            Sleep(20);
        }
    });
    long result =
        player.PlayBuddyMusic(L"buddy", L"c0ffee", L"owner", static_cast<unsigned long>(song.size()));
    EXPECT_EQ(0, result); // not complete in the cache yet
    BSTR text = nullptr;
    EXPECT_EQ(0, player.GetCurItemAttrValByName(L"SourceURL", &text));
    EXPECT_EQ(L"http://127.0.0.1:" + std::to_wstring(player.GetBoundPort()) + L"/c0ffee.cache?len=" +
                  std::to_wstring(song.size()) + L"&user=qz&password=qz",
              Take(text));
    bool played = WaitEvent(5101, 3);
    bool ended = played && WaitEvent(5101, 8, 20000);
    stop = true;
    writer.join();
    EXPECT_TRUE(played);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(g_log.Has(5402, -1));
    EXPECT_TRUE(g_log.Has(5402, 0));
    EXPECT_EQ(1000, g_log.lastProgress.load());
    long percent = 0;
    EXPECT_EQ(0, player.get_downloadProgress(&percent));
    EXPECT_EQ(100, percent);

    // Now whole in the cache: 2, and the song is still handed to the player.
    g_log.Clear();
    EXPECT_EQ(2,
              player.PlayBuddyMusic(L"buddy", L"c0ffee", L"owner", static_cast<unsigned long>(song.size())));
    EXPECT_TRUE(WaitEvent(5101, 3));
    unsigned type = 0;
    EXPECT_EQ(0, player.get_musicInfo(nullptr, nullptr, nullptr, &type, nullptr));
    EXPECT_EQ(2u, type);
    EXPECT_EQ(0, player.stop_play());
}

TEST_F(SonatrelTest, BuddyUrlWithoutAuthAndCallbackOrder)
{
    port = FreePort();
    player.SetHttpServerOption(folder.Path().c_str(), port, nullptr, nullptr, L"cache");
    ASSERT_GE(player.InitWMPlayer(), 0);
    player.SetCallback(OnPlayerEvent); // before the server: the server gets no callback
    ASSERT_EQ(0, player.StartHttpServer());
    ASSERT_TRUE(WriteBytes(folder.File(L"whole.cache"), song));
    EXPECT_EQ(2, player.PlayBuddyMusic(L"a", L"whole", L"c", static_cast<unsigned long>(song.size())));
    BSTR text = nullptr;
    player.GetCurItemAttrValByName(L"SourceURL", &text);
    EXPECT_EQ(std::wstring::npos, Take(text).find(L"user="));
    // Without authentication the server serves the cache file as a plain file.
    EXPECT_TRUE(WaitEvent(5101, 8, 20000));
    EXPECT_EQ(0, g_log.progressCount.load());
}

TEST_F(SonatrelTest, WebSongAndMediaError)
{
    StartAll();
    ASSERT_TRUE(WriteBytes(folder.File(L"web.mp3"), song));
    std::wstring url =
        L"http://127.0.0.1:" + std::to_wstring(player.GetBoundPort()) + L"/web.mp3?user=qz&password=qz";
    EXPECT_EQ(0, player.PlayWebMusic(L"w", L"x", url.c_str(), L"y", 0));
    EXPECT_TRUE(WaitEvent(5101, 3));
    unsigned type = 0;
    player.get_musicInfo(nullptr, nullptr, nullptr, &type, nullptr);
    EXPECT_EQ(1u, type);
    // An address that answers 404 is a media error.
    std::wstring missing =
        L"http://127.0.0.1:" + std::to_wstring(player.GetBoundPort()) + L"/none.mp3?user=qz&password=qz";
    EXPECT_EQ(0, player.PlayWebMusic(L"w", L"x", missing.c_str(), L"y", 0));
    EXPECT_TRUE(WaitEvent(5821, 0));
}

TEST_F(SonatrelTest, CopiesShareTheServerAndPlayer)
{
    StartAll();
    int bound = player.GetBoundPort();
    {
        CSonatrel copy(player);
        CSonatrel assigned;
        assigned = copy;
        EXPECT_EQ(bound, assigned.GetBoundPort());
    }
    // The copies are gone; the original still serves and plays.
    ASSERT_TRUE(WriteBytes(folder.File(L"x.txt"), "abc"));
    std::string answer = Exchange(bound, "GET /x.txt?user=qz&password=qz HTTP/1.0\r\n\r\n");
    EXPECT_EQ(0u, answer.find("HTTP/1.0 200 OK"));
    EXPECT_EQ(0, player.PlayLocalMusic(L"a", L"b", TestSong().c_str(), L"c", 0));
    EXPECT_TRUE(WaitEvent(5101, 3));
    player.stop_play();
}

TEST_F(SonatrelTest, BuddiesFetchTheSongsTheClientShares)
{
    TempFolder library;
    ASSERT_TRUE(WriteBytes(library.File(L"mine.mp3"), song));
    // Named before the server starts, and kept when it starts again.
    EXPECT_EQ(0, player.AddSharedSong(library.File(L"mine.mp3").c_str()));
    EXPECT_EQ(E_INVALIDARG, player.AddSharedSong(L""));
    StartAll();
    ASSERT_EQ(0, player.StopHttpServer());
    ASSERT_EQ(0, player.StartHttpServer());
    auto fetch = [&] {
        std::string request = "GET /playmusic.dll?path=" + Narrow(library.File(L"mine.mp3")) +
                              "&len=" + std::to_string(song.size()) + "&user=qz&password=qz HTTP/1.0\r\n\r\n";
        return Exchange(player.GetBoundPort(), request, "127.0.0.2");
    };
    std::string shared = fetch();
    ASSERT_NE(std::string::npos, shared.find("\r\n\r\n"));
    EXPECT_EQ(song, shared.substr(shared.find("\r\n\r\n") + 4));
    EXPECT_EQ(0, player.RemoveSharedSong(library.File(L"mine.mp3").c_str()));
    EXPECT_EQ(0u, fetch().find("HTTP/1.0 401"));
    EXPECT_EQ(0, player.AddSharedSong(library.File(L"mine.mp3").c_str()));
    EXPECT_EQ(0, player.ClearSharedSongs());
    EXPECT_EQ(0u, fetch().find("HTTP/1.0 401"));
}

TEST(StandInPlayerTest, DispatchConnectionPointDeliversEvents)
{
    CoInitialize(nullptr);
    g_log.Clear();
    IWMPPlayer* wmp = nullptr;
    ASSERT_EQ(S_OK, CreateStandInMediaPlayer(&wmp));
    PlayerHost host;
    host.SetCallback(OnPlayerEvent);
    PlayerEventSink* sink = new PlayerEventSink(&host);
    sink->AddRef();
    IConnectionPointContainer* container = nullptr;
    ASSERT_EQ(S_OK, wmp->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)));
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(S_OK, container->FindConnectionPoint(IID__WMPOCXEvents, &point));
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(static_cast<IDispatch*>(sink), &cookie));
    BSTR url = SysAllocString(TestSong().c_str());
    EXPECT_EQ(S_OK, wmp->put_URL(url));
    SysFreeString(url);
    EXPECT_TRUE(PumpUntil([] { return g_log.Has(5101, 3); }, 15000));
    EXPECT_TRUE(g_log.Has(5001, 13));
    EXPECT_EQ(S_OK, point->Unadvise(cookie));
    wmp->close();
    point->Release();
    container->Release();
    sink->Release();
    wmp->Release();
    EXPECT_EQ(0, PlayerEventSink::ModuleLocks());
    CoUninitialize();
}
