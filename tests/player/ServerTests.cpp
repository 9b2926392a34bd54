// The local media server: request rules and headers (HandleRequest on
// prepared connections), byte ranges, the songs buddies may fetch, path
// decoding, and the running server over sockets (ports, keep-alive, growing
// files, stops, hostile requests).
#include "MediaHttpServer.h"
#include "PlayerTestUtil.h"
#include "SharedSongList.h"
#include <gtest/gtest.h>
#include <atomic>
#include <thread>

using namespace playertest;

namespace
{
const unsigned char kLocal[4] = {127, 0, 0, 1};
const unsigned char kBuddy[4] = {192, 168, 1, 20};

struct Handled
{
    bool ok;
    std::string header;
    int keepAlive;
    HttpConnection connection;
    ConnectionEntry entry;
};

// Runs one request through the server's request handling.
void Handle(MediaHttpServer& server, const std::string& request, const unsigned char* peer, Handled& out)
{
    out.connection.request = request;
    memcpy(out.connection.peer, peer, 4);
    out.connection.entry = &out.entry;
    out.keepAlive = 0;
    out.ok = server.HandleRequest(&out.connection, out.keepAlive);
    out.header = out.connection.header;
}

std::string Get(const std::string& target, bool keepAlive = false, const std::string& moreHeaders = "")
{
    return "GET " + target + " HTTP/1.0\r\nHost: x\r\n" + (keepAlive ? "Connection: Keep-Alive\r\n" : "") +
           moreHeaders + "\r\n";
}

// A header without its Date line, which differs from one answer to the next.
std::string WithoutDate(std::string header)
{
    size_t at = header.find("\r\nDate: ");
    if (at != std::string::npos)
        header.erase(at, header.find("\r\n", at + 2) - at);
    return header;
}

class MediaServerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        song = ReadBytes(TestSong());
        ASSERT_FALSE(song.empty());
        ASSERT_TRUE(WriteBytes(folder.File(L"song.mp3"), song));
        ASSERT_TRUE(WriteBytes(folder.File(L"upper.MP3"), song));
        ASSERT_TRUE(WriteBytes(folder.File(L"notes.wav"), "RIFF"));
        ASSERT_TRUE(WriteBytes(folder.File(L"my song.mp3"), "abc"));
        ASSERT_TRUE(WriteBytes(folder.File(L"empty.txt"), ""));
        // One character of the ANSI code page: U+4E2D.
        ASSERT_TRUE(WriteBytes(folder.File(L"\x4E2D.mp3"), "zh"));
        CreateDirectoryW(folder.File(L"sub").c_str(), nullptr);
        ASSERT_TRUE(WriteBytes(folder.File(L"sub\\inner.txt"), "inner"));
        songPath = Narrow(folder.File(L"song.mp3"));
        songSize = std::to_string(song.size());
    }

    std::string Auth() const { return "user=qz&password=qz"; }

    TempFolder folder;
    std::string song;
    std::string songPath;
    std::string songSize;
};

class RunningServer
{
  public:
    RunningServer(const std::wstring& root, int auth, DWORD keepAlive = 10000) : server(auth)
    {
        port = FreePort();
        started = server.Start(root, "", port, keepAlive);
        port = server.GetPort();
    }
    MediaHttpServer server;
    bool started = false;
    int port = 0;
};
} // namespace

TEST_F(MediaServerTest, LocalStreamIsAnnouncedBeforeTheFileExists)
{
    RunningServer s(folder.Path(), 1);
    ASSERT_TRUE(s.started);
    Handled h;
    Handle(s.server, Get("/abc.cache?len=123456&" + Auth(), true), kLocal, h);
    EXPECT_TRUE(h.ok);
    EXPECT_EQ(1, h.keepAlive);
    EXPECT_EQ(1, h.entry.growing);
    EXPECT_EQ(123456u, h.connection.contentLength);
    EXPECT_EQ(0u, h.header.find("HTTP/1.0 200 OK\r\n"));
    EXPECT_NE(std::string::npos, h.header.find("\r\nServer: YebWeb/0.1b\r\n"));
    EXPECT_NE(std::string::npos, h.header.find("\r\nContent-Length: 123456\r\n"));
    EXPECT_NE(std::string::npos, h.header.find("\r\nConnection: Keep-Alive\r\n"));
    EXPECT_NE(std::string::npos, h.header.find("\r\nContent-Type: audio/mpeg\r\n"));
    EXPECT_NE(std::string::npos, h.header.find("\r\nCache-Control: no-store, no-cache, must-revalidate\r\n"));
    EXPECT_NE(std::string::npos, h.header.find("\r\nExpires: -1\r\n\r\n"));
    // A file that is still growing cannot be served in ranges, so none are offered.
    EXPECT_EQ(std::string::npos, h.header.find("Accept-Ranges"));
}

TEST_F(MediaServerTest, RequestRulesTable)
{
    RunningServer s(folder.Path(), 1);
    ASSERT_TRUE(s.started);
    const std::string a = Auth();
    struct Case
    {
        const char* what;
        std::string request;
        const unsigned char* peer;
        bool ok;
        const char* status;
        const char* type;
        long length; // -1: not checked
    } cases[] = {
        {"local file", Get("/song.mp3?" + a), kLocal, true, "200 OK", "audio/mpeg",
         static_cast<long>(song.size())},
        {"missing file", Get("/none.mp3?" + a), kLocal, false, "404 Resource not found", nullptr, -1},
        {"one parameter", Get("/song.mp3?user=qz"), kLocal, false, "401 Unauthorized", nullptr, -1},
        {"wrong password", Get("/song.mp3?user=qz&password=zz"), kLocal, false, "401 Unauthorized", nullptr,
         -1},
        {"no query", Get("/song.mp3"), kLocal, false, "401 Unauthorized", nullptr, -1},
        {"encoded blank", Get("/my%20song.mp3?" + a), kLocal, true, "200 OK", "audio/mpeg", 3},
        {"plus as blank", Get("/my+song.mp3?" + a), kLocal, true, "200 OK", "audio/mpeg", 3},
        {"utf-8 name", Get("/%E4%B8%AD.mp3?" + a), kLocal, true, "200 OK", "audio/mpeg", 2},
        {"sub folder", Get("/sub/inner.txt?" + a), kLocal, true, "200 OK", "text/plain", 5},
        {"wav type", Get("/notes.wav?" + a), kLocal, true, "200 OK", "audio/wav", 4},
        {"empty file", Get("/empty.txt?" + a), kLocal, true, "200 OK", "text/plain", 0},
        {"folder", Get("/sub?" + a), kLocal, false, "404", nullptr, -1},
        {"post", "POST /song.mp3 HTTP/1.0\r\n\r\n", kLocal, false, "501 Not Implemented", nullptr, -1},
        {"no blank", "GET\r\n\r\n", kLocal, false, "400", nullptr, -1},
        {"buddy fetch", Get("/playmusic.dll?path=" + songPath + "&len=" + songSize + "&" + a), kBuddy, true,
         "200 OK", "application/octet-stream", static_cast<long>(song.size())},
        {"buddy upper case",
         Get("/playmusic.dll?path=" + Narrow(folder.File(L"upper.MP3")) + "&len=" + songSize + "&" + a),
         kBuddy, true, "200 OK", "application/octet-stream", static_cast<long>(song.size())},
        {"buddy wrong length", Get("/playmusic.dll?path=" + songPath + "&len=5&" + a), kBuddy, false,
         "401 Unauthorized", nullptr, -1},
        {"buddy other ending",
         Get("/playmusic.dll?path=" + Narrow(folder.File(L"notes.wav")) + "&len=4&" + a), kBuddy, false,
         "401 Unauthorized", nullptr, -1},
        {"buddy short path", Get("/playmusic.dll?path=.mp&len=4&" + a), kBuddy, false, "401 Unauthorized",
         nullptr, -1},
        {"buddy no length", Get("/playmusic.dll?path=" + songPath + "&" + a), kBuddy, false,
         "401 Unauthorized", nullptr, -1},
        {"buddy missing file", Get("/playmusic.dll?path=Z:\\none\\x.mp3&len=4&" + a), kBuddy, false,
         "401 Unauthorized", nullptr, -1},
        {"buddy other name", Get("/song.mp3?" + a), kBuddy, false, "401 Unauthorized", nullptr, -1},
        // Paths that would leave the document root.
        {"dot dot", Get("/../secret.mp3?" + a), kLocal, false, "403", nullptr, -1},
        {"encoded dot dot", Get("/%2e%2e%5csecret.mp3?" + a), kLocal, false, "403", nullptr, -1},
        {"inner dot dot", Get("/sub/../../secret.mp3?" + a), kLocal, false, "403", nullptr, -1},
        {"dots and blank", Get("/sub/..%20/x.mp3?" + a), kLocal, false, "403", nullptr, -1},
        {"drive path", Get("/C:/windows/win.ini?" + a), kLocal, false, "403", nullptr, -1},
        {"rooted path", Get("//server/share/x.mp3?" + a), kLocal, false, "403", nullptr, -1},
        {"stream outside", Get("/..%5Cx.cache?len=10&" + a), kLocal, false, "403", nullptr, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Handled h;
        Handle(s.server, c.request, c.peer, h);
        EXPECT_EQ(c.ok, h.ok);
        EXPECT_EQ(0u, h.header.find(std::string("HTTP/1.0 ") + c.status)) << h.header;
        if (c.type)
        {
            EXPECT_NE(std::string::npos, h.header.find(std::string("\r\nContent-Type: ") + c.type + "\r\n"));
        }
        if (c.length >= 0)
        {
            EXPECT_NE(std::string::npos,
                      h.header.find("\r\nContent-Length: " + std::to_string(c.length) + "\r\n"));
        }
        if (!c.ok)
        {
            EXPECT_EQ(0, h.keepAlive);
        }
        EXPECT_EQ(0, h.entry.growing);
    }
}

TEST_F(MediaServerTest, WithoutAuthStringOnlyLoopbackPlainFiles)
{
    RunningServer s(folder.Path(), 0);
    ASSERT_TRUE(s.started);
    Handled local, stream, buddy;
    Handle(s.server, Get("/song.mp3"), kLocal, local);
    EXPECT_TRUE(local.ok);
    EXPECT_TRUE(local.connection.params.empty());
    // "len" is not read without authentication: the file is served as it is.
    Handle(s.server, Get("/song.mp3?len=99"), kLocal, stream);
    EXPECT_TRUE(stream.ok);
    EXPECT_EQ(0, stream.entry.growing);
    EXPECT_EQ(song.size(), stream.connection.contentLength);
    Handle(s.server, Get("/playmusic.dll?path=" + songPath + "&len=" + songSize + "&" + Auth()), kBuddy,
           buddy);
    EXPECT_FALSE(buddy.ok);
}

TEST_F(MediaServerTest, ByteRangesOfWholeFiles)
{
    RunningServer s(folder.Path(), 1);
    ASSERT_TRUE(s.started);
    const unsigned long size = static_cast<unsigned long>(song.size());
    const std::string local = "/song.mp3?" + Auth();
    const std::string buddy = "/playmusic.dll?path=" + songPath + "&len=" + songSize + "&" + Auth();
    struct Case
    {
        const char* what;
        std::string target;
        const unsigned char* peer;
        std::string range;
        const char* status;
        unsigned long first, count; // the body's bytes of the file
    } cases[] = {
        {"start and end", local, kLocal, "bytes=10-19", "206 Partial Content", 10, 10},
        {"open end", local, kLocal, "bytes=100-", "206 Partial Content", 100, size - 100},
        {"suffix", local, kLocal, "bytes=-50", "206 Partial Content", size - 50, 50},
        {"suffix longer than the file", local, kLocal, "bytes=-99999999", "206 Partial Content", 0, size},
        {"end past the end", local, kLocal, "bytes=5-99999999", "206 Partial Content", 5, size - 5},
        {"last byte", local, kLocal, "bytes=" + std::to_string(size - 1) + "-", "206 Partial Content", size - 1,
         1},
        {"buddy", buddy, kBuddy, "bytes=0-0", "206 Partial Content", 0, 1},
        {"no range", local, kLocal, "", "200 OK", 0, size},
        {"several ranges", local, kLocal, "bytes=0-1,5-6", "200 OK", 0, size},
        {"other unit", local, kLocal, "items=0-1", "200 OK", 0, size},
        {"end before start", local, kLocal, "bytes=9-3", "200 OK", 0, size},
        {"growing stream", "/grow.cache?len=5000&" + Auth(), kLocal, "bytes=10-19", "200 OK", 0, 5000},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Handled h;
        Handle(s.server, Get(c.target, false, c.range.empty() ? "" : "Range: " + c.range + "\r\n"), c.peer, h);
        EXPECT_TRUE(h.ok);
        EXPECT_EQ(0u, h.header.find(std::string("HTTP/1.0 ") + c.status)) << h.header;
        EXPECT_EQ(c.first, h.connection.bodyOffset);
        EXPECT_EQ(c.count, h.connection.contentLength);
        EXPECT_NE(std::string::npos, h.header.find("\r\nContent-Length: " + std::to_string(c.count) + "\r\n"));
        std::string contentRange = "\r\nContent-Range: bytes " + std::to_string(c.first) + "-" +
                                   std::to_string(c.first + c.count - 1) + "/" + std::to_string(size) + "\r\n";
        EXPECT_EQ(std::string(c.status) == "206 Partial Content", h.header.find(contentRange) != std::string::npos);
        // Only whole files offer ranges.
        EXPECT_EQ(h.entry.growing == 1, h.header.find("\r\nAccept-Ranges: bytes\r\n") == std::string::npos);
    }
    for (const char* past : {"bytes=99999999-", "bytes=-0"})
    {
        SCOPED_TRACE(past);
        Handled h;
        Handle(s.server, Get(local, true, std::string("Range: ") + past + "\r\n"), kLocal, h);
        EXPECT_FALSE(h.ok);
        EXPECT_EQ(0u, h.header.find("HTTP/1.0 416 "));
        EXPECT_NE(std::string::npos, h.header.find("\r\nContent-Range: bytes */" + songSize + "\r\n"));
    }

    // Over a socket the body holds exactly the bytes asked for.
    std::string answer = Exchange(s.port, Get(local, false, "range: bytes=1000-1499\r\n"));
    ASSERT_NE(std::string::npos, answer.find("\r\n\r\n"));
    EXPECT_EQ(0u, answer.find("HTTP/1.0 206 Partial Content\r\n"));
    EXPECT_EQ(song.substr(1000, 500), answer.substr(answer.find("\r\n\r\n") + 4));
}

TEST_F(MediaServerTest, BuddyFetchesOnlyTheOwnersSongs)
{
    // The document root is the cache folder; the library lies elsewhere.
    TempFolder library;
    ASSERT_TRUE(WriteBytes(library.File(L"mine.mp3"), song));
    ASSERT_TRUE(WriteBytes(library.File(L"other.mp3"), song));
    CreateDirectoryW(folder.File(L"deeper").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(folder.File(L"deeper\\inside.mp3"), song));
    auto shared = std::make_shared<SharedSongList>();
    RunningServer s(folder.Path(), 1);
    ASSERT_TRUE(s.started);
    s.server.SetSharedSongs(shared);
    auto fetch = [&](const std::wstring& path) {
        Handled h;
        Handle(s.server, Get("/playmusic.dll?path=" + Narrow(path) + "&len=" + songSize + "&" + Auth()), kBuddy,
               h);
        return std::make_pair(h.ok, WithoutDate(h.header));
    };

    // Before the client names its songs, only the cache folder's own are served.
    EXPECT_TRUE(fetch(folder.File(L"song.mp3")).first);
    auto notShared = fetch(library.File(L"mine.mp3"));
    auto absent = fetch(library.File(L"absent.mp3"));
    EXPECT_FALSE(notShared.first);
    EXPECT_FALSE(absent.first);
    EXPECT_EQ(absent.second, notShared.second) << "a buddy can tell an unshared file from an absent one";
    EXPECT_EQ(absent.second, fetch(folder.File(L"deeper\\inside.mp3")).second);
    EXPECT_EQ(absent.second, fetch(folder.File(L"song.mp3:hidden.mp3")).second);
    EXPECT_EQ(absent.second, fetch(folder.File(L"deeper\\..\\..\\x.mp3")).second);

    // A library song, asked for in another spelling of its path.
    shared->Add(library.File(L"mine.mp3"));
    std::wstring otherSpelling = library.Path() + L"\\.\\MINE.mp3";
    EXPECT_TRUE(fetch(otherSpelling).first);
    EXPECT_EQ(absent.second, fetch(library.File(L"other.mp3")).second);
    shared->Remove(library.File(L"MINE.MP3"));
    EXPECT_FALSE(fetch(library.File(L"mine.mp3")).first);
}

TEST(MediaServerRules, PathDecoding)
{
    // Bytes that are not UTF-8 are read in the ANSI code page.
    auto ansi = [](const std::string& bytes) {
        wchar_t text[16] = {};
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text, 15);
        return std::wstring(text);
    };
    struct Case
    {
        const char* raw;
        std::wstring decoded;
    } cases[] = {
        {"my%20song.mp3", L"my song.mp3"},
        {"my+song.mp3", L"my song.mp3"},
        {"%E4%B8%AD.mp3", L"\x4E2D.mp3"},
        {"%c3%a9t%C3%A9", L"\x00E9t\x00E9"},
        {"%D6%D0.mp3", L"\x4E2D.mp3"},     // the same character written in code page 936
        {"a%00b", L"a"},                   // the text ends at a zero byte
        {"abc%", ansi("abc\xFF")},         // an escape cut off by the end still gives one byte
        {"abc%4", ansi("abc\xFF")},        // and so with one digit
        {"%zz", ansi("\xFF")},             // an invalid second digit makes the byte FF
        {"%z1", ansi("\xF1")},             // an invalid first digit counts as F
        {"\xE4", ansi("\xE4")},            // a lone lead byte at the end is read no further
        {"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.decoded, MediaHttpServer::DecodePath(c.raw)) << c.raw;
}

TEST(MediaServerRules, RequestCompleteness)
{
    MediaHttpServer server;
    struct Case
    {
        std::string text;
        bool complete;
    } cases[] = {
        {"GET / HTTP/1.0\r\n\r\n", true},
        {"GET / HTTP/1.0\r\n", false},
        {"GE", false},
        {"POST / HTTP/1.0\r\n", false},
        {"POST / HTTP/1.0\r\n\r\n", true},
        {"POST / HTTP/1.0\r\nContent-Length: 5\r\n\r\nabc", false},
        {"POST / HTTP/1.0\r\nContent-Length: 5\r\n\r\nabcde", true},
        {"HEAD / HTTP/1.0\r\n", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.complete, server.IsRequestComplete(c.text)) << c.text;
}

namespace
{
std::atomic<long> g_lastProgress{-1};
std::atomic<int> g_progressCalls{0};
long __stdcall RecordProgress(DLL_WMPCOREEVENT event, long value)
{
    if (event == DLL_WMP_SERVERPROGRESS)
    {
        g_lastProgress = value;
        ++g_progressCalls;
    }
    return 0;
}
} // namespace

TEST(MediaServerRules, ProgressPerMilleAndContentTypes)
{
    MediaHttpServer server;
    EXPECT_FALSE(server.OnProgress(1, 2)); // no callback yet
    server.SetCallback(RecordProgress);
    struct Case
    {
        unsigned long sent, total;
        long perMille;
    } cases[] = {{5000000, 10000000, 500}, {3000000000u, 4000000000u, 750}, {0, 0, 1000}, {7, 7, 1000}};
    for (const Case& c : cases)
    {
        EXPECT_TRUE(server.OnProgress(c.sent, c.total));
        EXPECT_EQ(c.perMille, g_lastProgress.load());
    }
    EXPECT_EQ("application/x-compressed", server.ContentType("arj"));
    EXPECT_EQ("text/richtext", server.ContentType("rtf"));
    EXPECT_EQ("audio/mpeg", server.ContentType("cache"));
    EXPECT_EQ("wwwserver/isapi", server.ContentType("php"));
    EXPECT_EQ("text/plain", server.ContentType("xyz"));
}

TEST_F(MediaServerTest, ServesOverSocketsWithKeepAliveAndPieces)
{
    RunningServer s(folder.Path(), 1);
    ASSERT_TRUE(s.started);
    SOCKET c = Connect(s.port);
    ASSERT_NE(INVALID_SOCKET, c);
    // The first request arrives in two pieces.
    std::string first = Get("/sub/inner.txt?" + Auth(), true);
    send(c, first.data(), 10, 0);
    Sleep(100);
    send(c, first.data() + 10, static_cast<int>(first.size() - 10), 0);
    std::string one = ReceiveUntil(c, "\r\n\r\ninner", 5000);
    EXPECT_NE(std::string::npos, one.find("Connection: Keep-Alive"));
    // The same connection serves a second request with its own header.
    std::string second = Get("/song.mp3?" + Auth());
    send(c, second.data(), static_cast<int>(second.size()), 0);
    bool closed = false;
    std::string two = ReceiveAll(c, 5000, &closed);
    closesocket(c);
    EXPECT_TRUE(closed);
    EXPECT_EQ(0u, two.find("HTTP/1.0 200 OK"));
    EXPECT_NE(std::string::npos, two.find("Connection: close"));
    ASSERT_NE(std::string::npos, two.find("\r\n\r\n"));
    EXPECT_EQ(song, two.substr(two.find("\r\n\r\n") + 4));
    EXPECT_TRUE(s.server.Stop());
}

TEST_F(MediaServerTest, RefusalsAnswerTheirStatusAndClose)
{
    RunningServer s(folder.Path(), 1);
    ASSERT_TRUE(s.started);
    EXPECT_EQ(0u, Exchange(s.port, Get("/song.mp3?user=qz")).find("HTTP/1.0 401 Unauthorized"));
    EXPECT_EQ(0u, Exchange(s.port, Get("/../x.mp3?" + Auth())).find("HTTP/1.0 403"));
    EXPECT_EQ(0u, Exchange(s.port, Get("/song.mp3?" + Auth()), "127.0.0.2").find("HTTP/1.0 401"));
    std::string buddy = Exchange(
        s.port, Get("/playmusic.dll?path=" + songPath + "&len=" + songSize + "&" + Auth()), "127.0.0.2");
    EXPECT_NE(std::string::npos, buddy.find("application/octet-stream"));
    EXPECT_EQ(song, buddy.substr(buddy.find("\r\n\r\n") + 4));
}

TEST_F(MediaServerTest, ZeroByteFileAnswersItsHeaderAndEnds)
{
    RunningServer s(folder.Path(), 1);
    ASSERT_TRUE(s.started);
    s.server.SetCallback(RecordProgress);
    g_lastProgress = -1;
    SOCKET c = Connect(s.port);
    std::string request = Get("/empty.txt?" + Auth());
    send(c, request.data(), static_cast<int>(request.size()), 0);
    bool closed = false;
    std::string answer = ReceiveAll(c, 5000, &closed);
    closesocket(c);
    EXPECT_TRUE(closed);
    EXPECT_NE(std::string::npos, answer.find("Content-Length: 0\r\n"));
    EXPECT_EQ(answer.size(), answer.find("\r\n\r\n") + 4);
    EXPECT_EQ(1000, g_lastProgress.load());
}

TEST_F(MediaServerTest, GrowingCacheFileIsFollowedUntilWhole)
{
    RunningServer s(folder.Path(), 1);
    ASSERT_TRUE(s.started);
    s.server.SetCallback(RecordProgress);
    g_lastProgress = -1;
    std::wstring cache = folder.File(L"grow.cache");
    std::thread writer([&] {
        Sleep(300); // the file appears later than the request
        WriteBytes(cache, song.substr(0, 1000));
        for (size_t at = 1000; at < song.size(); at += 2000)
        {
            Sleep(50);
            WriteBytes(cache, song.substr(at, 2000), true);
        }
    });
    std::string answer =
        Exchange(s.port, Get("/grow.cache?len=" + songSize + "&" + Auth()), "127.0.0.1", 20000);
    writer.join();
    ASSERT_NE(std::string::npos, answer.find("\r\n\r\n"));
    EXPECT_EQ(song, answer.substr(answer.find("\r\n\r\n") + 4));
    EXPECT_EQ(1000, g_lastProgress.load());
}

TEST_F(MediaServerTest, StoppedStreamsEndAndStopIsBounded)
{
    RunningServer s(folder.Path(), 1);
    ASSERT_TRUE(s.started);
    // One stream waits for a cache file that never appears, one for the
    // rest of a file whose writer stopped.
    WriteBytes(folder.File(L"half.cache"), song.substr(0, 100));
    SOCKET never = Connect(s.port);
    SOCKET half = Connect(s.port);
    std::string r1 = Get("/never.cache?len=1000&" + Auth()), r2 = Get("/half.cache?len=1000&" + Auth());
    send(never, r1.data(), static_cast<int>(r1.size()), 0);
    send(half, r2.data(), static_cast<int>(r2.size()), 0);
    std::string halfHead = ReceiveUntil(half, "\r\n\r\n", 5000);
    EXPECT_NE(std::string::npos, halfHead.find("Content-Length: 1000"));
    Sleep(300); // both requests are in their streams

    s.server.StopGrowingStreams();
    bool closedNever = false, closedHalf = false;
    ReceiveAll(never, 5000, &closedNever);
    ReceiveAll(half, 5000, &closedHalf);
    EXPECT_TRUE(closedNever);
    EXPECT_TRUE(closedHalf);
    closesocket(never);
    closesocket(half);

    // A stop with a stream still waiting ends it too.
    SOCKET late = Connect(s.port);
    std::string r3 = Get("/late.cache?len=10&" + Auth());
    send(late, r3.data(), static_cast<int>(r3.size()), 0);
    Sleep(200);
    DWORD begin = GetTickCount();
    s.server.Stop();
    EXPECT_LT(GetTickCount() - begin, 8000u);
    bool closedLate = false;
    ReceiveAll(late, 3000, &closedLate);
    EXPECT_TRUE(closedLate);
    closesocket(late);
}

TEST_F(MediaServerTest, OversizedAndIdleRequestsAreDropped)
{
    RunningServer s(folder.Path(), 1, 500);
    ASSERT_TRUE(s.started);
    // A request line that never ends.
    SOCKET endless = Connect(s.port);
    std::string junk = "GET /" + std::string(100 * 1024, 'a');
    send(endless, junk.data(), static_cast<int>(junk.size()), 0);
    bool closed = false;
    std::string answer = ReceiveAll(endless, 5000, &closed);
    closesocket(endless);
    EXPECT_TRUE(closed);
    EXPECT_EQ(0u, answer.find("HTTP/1.0 400"));
    // A body announced far larger than any request may be.
    SOCKET post = Connect(s.port);
    std::string head = "POST / HTTP/1.0\r\nContent-Length: 4000000000\r\n\r\n" + std::string(80 * 1024, 'b');
    send(post, head.data(), static_cast<int>(head.size()), 0);
    closed = false;
    ReceiveAll(post, 5000, &closed);
    closesocket(post);
    EXPECT_TRUE(closed);
    // An idle connection is closed after the keep-alive wait.
    SOCKET idle = Connect(s.port);
    closed = false;
    ReceiveAll(idle, 5000, &closed);
    closesocket(idle);
    EXPECT_TRUE(closed);
}

TEST(MediaServerPorts, BusyPortFallsBackAndAllBusyFailsAtOnce)
{
    TempFolder folder;
    int port = FreePort();
    MediaHttpServer first, second;
    ASSERT_TRUE(first.Start(folder.Path(), "", port, 1000));
    EXPECT_EQ(port, first.GetPort());
    EXPECT_EQ(folder.Path() + L"\\", first.GetDocumentRoot());
    // The configured port is taken: the next free one of 81 to 85.
    ASSERT_TRUE(second.Start(folder.Path(), "", port, 1000));
    EXPECT_GE(second.GetPort(), 81);
    EXPECT_LE(second.GetPort(), 85);
    EXPECT_FALSE(second.Start(folder.Path(), "", port, 1000)); // already running
    second.Stop();

    // Hold 80 to 85 (those held elsewhere are busy as well).
    std::vector<SOCKET> holders;
    for (int p = 80; p <= 85; ++p)
    {
        SOCKET h = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<u_short>(p));
        if (bind(h, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0 && listen(h, 1) == 0)
            holders.push_back(h);
        else
            closesocket(h);
    }
    MediaHttpServer third;
    DWORD begin = GetTickCount();
    EXPECT_FALSE(third.Start(folder.Path(), "", port, 1000));
    EXPECT_LT(GetTickCount() - begin, 10000u); // the outcome is known at once, not after a long wait
    EXPECT_EQ(-1, third.GetPort());
    EXPECT_FALSE(third.Stop());
    for (SOCKET h : holders)
        closesocket(h);
    EXPECT_TRUE(first.Stop());
    EXPECT_FALSE(first.Stop());
}
