// Two clients of the messaging library, each a process of its own with its
// own data folder, against one running stand-in service.
#include "RawClient.h"
#include "TestFolders.h"
#include "ProbeProcess.h"
#include "ServiceProcess.h"
#include <shellapi.h>
#include <gtest/gtest.h>
#include <random>

namespace
{
const char Accounts[] = "# e-mail\tpassword\tnick\tbuddies\n"
                        "alice@yeb.test\tapple123\tAlice\tbob@yeb.test,dave@yeb.test\n"
                        "bob@yeb.test\tbanana456\tBob\n"
                        "carol@yeb.test\tcherry789\tCarol\n"
                        "dave@yeb.test\tdurian000\tDave\n"
                        "erin@yeb.test\telder111\tErin\n";
const char Alice[] = "alice@yeb.test";
const char Bob[] = "bob@yeb.test";
const char Carol[] = "carol@yeb.test";
const char Dave[] = "dave@yeb.test";
const char Hash[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
const DWORD Wait = 10000;

std::wstring Widen(const std::string& s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), &out[0], n);
    return out;
}

std::string Narrow(const std::wstring& s)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), (int)s.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), (int)s.size(), &out[0], n, nullptr, nullptr);
    return out;
}

void MakeFolders(const std::wstring& folder)
{
    for (size_t i = 3; i <= folder.size(); ++i)
        if (i == folder.size() || folder[i] == L'\\')
            CreateDirectoryW(folder.substr(0, i).c_str(), nullptr);
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    MakeFolders(path.substr(0, path.find_last_of(L'\\')));
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    BOOL ok = WriteFile(f, bytes.data(), (DWORD)bytes.size(), &put, nullptr);
    CloseHandle(f);
    return ok && put == bytes.size();
}

bool ReadBytes(const std::wstring& path, std::string& bytes)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    char buf[65536];
    DWORD got;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0)
        bytes.append(buf, got);
    CloseHandle(f);
    return true;
}

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info))
        return -1;
    return (static_cast<long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

std::string RandomBytes(size_t size, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string out(size, '\0');
    for (char& c : out)
        c = static_cast<char>(gen());
    return out;
}

// The per-mille values of the code-19 records, in order of arrival.
std::vector<int> Progress(ProbeProcess& p)
{
    std::vector<int> values;
    for (auto& r : p.Records(19))
        values.push_back(atoi(r.S(5).c_str()));
    return values;
}

bool Increasing(const std::vector<int>& v)
{
    for (size_t i = 1; i < v.size(); ++i)
        if (v[i] <= v[i - 1])
            return false;
    return true;
}
} // namespace

class MessagingTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_service.Start());
        m_port = m_service.Port("messaging");
        ASSERT_NE(0, m_port);
        ASSERT_TRUE(m_service.WriteDataFile("accounts.txt", Accounts));
        m_root = std::wstring(YEB_BINARY_DIR) + L"\\messaging-data\\" +
                 Widen(::testing::UnitTest::GetInstance()->current_test_info()->name());
        RemoveTree(m_root);
        MakeFolders(m_root);
    }
    void TearDown() override
    {
        for (auto& p : m_probes)
            p->Stop();
        m_service.Stop();
        if (!GetEnvironmentVariableW(L"YEB_KEEP_SERVICE_DATA", nullptr, 0))
            RemoveTree(m_root);
    }

    std::wstring MyMusic(const std::string& user) { return m_root + L"\\" + Widen(user.substr(0, user.find('@'))); }
    std::wstring CacheFile(const std::string& user, const std::string& hash)
    {
        return MyMusic(user) + L"\\yeb360\\cache\\" + Widen(hash) + L".cache";
    }

    ProbeProcess& Client(const std::string& user, const std::vector<std::pair<std::wstring, std::wstring>>& env = {})
    {
        m_probes.emplace_back(new ProbeProcess);
        EXPECT_TRUE(m_probes.back()->Start(MyMusic(user), env));
        return *m_probes.back();
    }
    // Logs in with the password as the client sends it: followed by its first three characters.
    void LogIn(ProbeProcess& p, const std::string& user, const std::string& password)
    {
        ASSERT_TRUE(p.LogIn(m_port, user, password + password.substr(0, 3)));
        ASSERT_TRUE(p.WaitForCode(1, Wait)) << user << " did not log in";
    }
    ProbeProcess& Online(const std::string& user, const std::string& password,
                         const std::vector<std::pair<std::wstring, std::wstring>>& env = {})
    {
        ProbeProcess& p = Client(user, env);
        LogIn(p, user, password);
        return p;
    }
    // Puts a song into the owner's folder and library file; returns its bytes.
    std::string GiveSong(const std::string& owner, const std::string& songId, size_t size)
    {
        std::string bytes = RandomBytes(size, 7);
        std::wstring path = MyMusic(owner) + L"\\songs\\" + Widen(songId) + L" song.mp3";
        EXPECT_TRUE(WriteBytes(path, bytes));
        std::string library = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<UR>\r\n  <MD>\r\n"
                              "    <MS A=\"OTHER\" B=\"C:\\nothing.mp3\" C=\"x\" J=\"OTHERHASH\"/>\r\n"
                              "    <MS A=\"" +
                              songId + "\" B=\"" + Narrow(path) + "\" C=\"Song &amp; Title\" H=\"" +
                              std::to_string(size) + "\" J=\"" + Hash +
                              "\"/>\r\n  </MD>\r\n  <PS/>\r\n</UR>\r\n";
        EXPECT_TRUE(WriteBytes(MyMusic(owner) + L"\\yeb360\\lib\\private\\" + Widen(owner) + L"\\playlist.xml", library));
        return bytes;
    }
    void RequestSong(ProbeProcess& p, const std::string& owner, const std::string& songId, size_t size,
                     const std::string& hash = Hash)
    {
        ASSERT_TRUE(p.Push(28, {owner, "", hash, "", songId, std::to_string(size)}));
    }

    ServiceProcess m_service;
    int m_port = 0;
    std::wstring m_root;
    std::vector<std::unique_ptr<ProbeProcess>> m_probes;
};

TEST_F(MessagingTest, LoginGivesBuddiesThenLoginCompleteThenTheOnlineBuddies)
{
    ProbeProcess& alice = Online(Alice, "apple123");
    ProbeProcess& bob = Online(Bob, "banana456");

    // Bob: his one buddy (code 26) before login complete (code 1), then Alice online (code 6).
    ProbeRecord online;
    ASSERT_TRUE(bob.WaitForCode(6, Wait, &online));
    std::vector<ProbeRecord> seen = bob.Records();
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(26, seen[0].code);
    EXPECT_EQ(Alice, seen[0].S(1));
    EXPECT_EQ(1, seen[1].code);
    EXPECT_EQ(6, seen[2].code);
    EXPECT_EQ(Alice, online.S(1));
    EXPECT_EQ(0, online.extra);
    EXPECT_NE("0", online.S(4)); // already online: not a live change

    // Alice: her buddies Bob and Dave, login complete, nobody online; then Bob comes online live.
    std::vector<ProbeRecord> a = alice.Records();
    ASSERT_GE(a.size(), 3u);
    EXPECT_EQ(26, a[0].code);
    EXPECT_EQ(26, a[1].code);
    EXPECT_EQ(1, a[2].code);
    ASSERT_TRUE(alice.WaitForCode(6, Wait, &online));
    EXPECT_EQ(Bob, online.S(1));
    EXPECT_EQ(0, online.extra);
    EXPECT_EQ("0", online.S(4));

    // Presence changes (codes 24 and 15) reach the buddy as code 6.
    ASSERT_TRUE(bob.Push(24, {}, 2));
    ASSERT_TRUE(alice.WaitFor([](const ProbeRecord& r) { return r.code == 6 && r.extra == 2; }, Wait));
    ASSERT_TRUE(bob.Push(15, {}, 1));
    ASSERT_TRUE(alice.WaitFor([](const ProbeRecord& r) { return r.code == 6 && r.extra == 1; }, Wait));

    for (ProbeProcess* p : {&alice, &bob})
        for (auto& r : p->Records())
        {
            EXPECT_EQ(0, r.nullSlots) << "code " << r.code;
            EXPECT_TRUE(r.onLibraryThread) << "code " << r.code;
        }
}

TEST_F(MessagingTest, ChatAndPushedSongArriveWithTheSenderInS1)
{
    ProbeProcess& alice = Online(Alice, "apple123");
    ProbeProcess& bob = Online(Bob, "banana456");
    ASSERT_TRUE(alice.WaitForCode(6, Wait));

    ASSERT_TRUE(alice.Run({"msg", Bob, "hello \xE4\xBD\xA0\xE5\xA5\xBD\tand a tab"}));
    ProbeRecord chat;
    ASSERT_TRUE(bob.WaitForCode(8, Wait, &chat));
    EXPECT_EQ(Alice, chat.S(1));
    EXPECT_EQ("hello \xE4\xBD\xA0\xE5\xA5\xBD\tand a tab", chat.S(4));

    std::vector<std::string> push = {Bob, "Title", Hash, "Artist??C:\\Music\\a.mp3", Alice, "5242880",
                                     "1800000000", "SONG1"};
    ASSERT_TRUE(alice.Push(12, push));
    ProbeRecord pushed;
    ASSERT_TRUE(bob.WaitForCode(12, Wait, &pushed));
    EXPECT_EQ(Alice, pushed.S(1));
    for (int i = 2; i <= 8; ++i)
        EXPECT_EQ(push[i - 1], pushed.S(i)) << "s" << i;
}

TEST_F(MessagingTest, RoutedCommandsArriveAsTheReceiverExpects)
{
    ProbeProcess& alice = Online(Alice, "apple123");
    ProbeProcess& bob = Online(Bob, "banana456");
    ProbeProcess& carol = Online(Carol, "cherry789");
    ASSERT_TRUE(alice.WaitForCode(6, Wait));
    ASSERT_TRUE(bob.WaitForCode(6, Wait)); // everything of Bob's login has arrived

    // Not delivered: codes the service does not route, and anything to a non-buddy.
    for (int code : {50, 46 + 1000, 0, -3, 19, 25})
        ASSERT_TRUE(alice.Push(code, {Bob, "x", "y", "z"}));
    ASSERT_TRUE(alice.Push(12, {Carol, "Title", Hash}));
    ASSERT_TRUE(alice.Run({"msg", Carol, "psst"}));

    struct Case
    {
        int code;
        std::vector<std::string> sent;
        int arrives;
        std::vector<std::string> expected; // s1..s8 on arrival
    } cases[] = {
        {38, {Bob, "", "12", "", "3"}, 23, {Alice, "", "12", "UpdatePlaylist", "3", "", "", ""}},
        {40, {Bob, "", Hash}, 23, {Alice, "", Hash, "getboard", "", "", "", ""}},
        {41, {Bob, "", Hash, "", "<BD/>"}, 23, {Alice, "", Hash, "board", "<BD/>", "", "", ""}},
        {32, {Bob, "", "", "1", "&var1=nick--d"}, 32, {Alice, "", "", "", "&var1=nick--d", "", "", "1"}},
        {43, {Bob, "", Hash, "<BD/>"}, 43, {Alice, "", Hash, "<BD/>", "", "", "", ""}},
        {11, {Bob, "Song", "", "Artist", Alice, "99", "100", "SONG1"}, 11,
         {Alice, "Song", "", "Artist", Alice, "99", "100", "SONG1"}},
    };
    for (const Case& c : cases)
    {
        size_t from = bob.Count();
        ASSERT_TRUE(alice.Push(c.code, c.sent));
        ProbeRecord r;
        ASSERT_TRUE(bob.WaitForCode(c.arrives, Wait, &r, from)) << "code " << c.code;
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(c.expected[i], r.s[i]) << "code " << c.code << " s" << i + 1;
        // Nothing else arrived before it: the unrouted pushes above were dropped.
        EXPECT_EQ(from + 1, bob.Count()) << "code " << c.code;
    }
    EXPECT_TRUE(carol.Records(12).empty());
    EXPECT_TRUE(carol.Records(8).empty());

    // Profiles: code 22 stores the own profile, code 21 asks for one.
    ASSERT_TRUE(bob.Push(22, {"first", "Bobby", "7", "my sign", "second", "10002", "", "1"}, 30));
    ASSERT_TRUE(bob.Push(21, {Bob})); // answered after the store: Bob's own connection keeps the order
    ASSERT_TRUE(bob.WaitFor([](const ProbeRecord& r) { return r.code == 21 && r.S(2) == "Bobby"; }, Wait));
    ASSERT_TRUE(alice.Push(21, {Bob}));
    ProbeRecord profile;
    ASSERT_TRUE(alice.WaitForCode(21, Wait, &profile));
    EXPECT_EQ(Bob, profile.S(1));
    EXPECT_EQ("Bobby", profile.S(2));
    EXPECT_EQ("7", profile.S(3));
    EXPECT_EQ("my sign", profile.S(4));
    EXPECT_EQ("first0$0second", profile.S(5));
    EXPECT_EQ("1", profile.S(8));
    EXPECT_EQ(30, profile.extra);
}

TEST_F(MessagingTest, SongArrivesInTheCacheWhileAReaderFollowsIt)
{
    const size_t size = 5 * 1024 * 1024;
    std::string song = GiveSong(Alice, "SONG1", size);
    ProbeProcess& alice = Online(Alice, "apple123", {{L"YEB_VOSSEL_PACE_MS", L"5"}});
    ProbeProcess& bob = Online(Bob, "banana456");
    ASSERT_TRUE(alice.WaitForCode(6, Wait));
    (void)alice;

    RequestSong(bob, Alice, "SONG1", size);
    // Follow the growing cache file as the player does: open it shared, read what is there, repeat.
    std::wstring cache = CacheFile(Bob, Hash);
    std::string followed;
    int reads = 0, partialReads = 0;
    DWORD start = GetTickCount();
    HANDLE f = INVALID_HANDLE_VALUE;
    while (followed.size() < size && GetTickCount() - start < 60000)
    {
        if (f == INVALID_HANDLE_VALUE)
        {
            f = CreateFileW(cache.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
            if (f == INVALID_HANDLE_VALUE)
            {
                Sleep(20);
                continue;
            }
        }
        char buf[65536];
        DWORD got = 0;
        if (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0)
        {
            followed.append(buf, got);
            ++reads;
            if (followed.size() < size)
                ++partialReads;
        }
        else
            Sleep(10);
    }
    if (f != INVALID_HANDLE_VALUE)
        CloseHandle(f);
    ASSERT_EQ(size, followed.size());
    EXPECT_TRUE(followed == song) << "the followed bytes differ from the owner's file";
    EXPECT_GT(partialReads, 1) << "the reader never saw the file growing";

    ASSERT_TRUE(bob.WaitFor([](const ProbeRecord& r) { return r.code == 19 && r.S(5) == "1000"; }, Wait));
    std::vector<int> progress = Progress(bob);
    EXPECT_GT(progress.size(), 10u);
    EXPECT_TRUE(Increasing(progress));
    EXPECT_EQ(1000, progress.back());
    std::string cached;
    ASSERT_TRUE(ReadBytes(cache, cached));
    EXPECT_TRUE(cached == song);
}

TEST_F(MessagingTest, CancelStopsTheTransferAndALaterRequestResumes)
{
    const size_t size = 5 * 1024 * 1024; // 160 pieces, 20 ms apart: about three seconds
    std::string song = GiveSong(Alice, "SONG1", size);
    ProbeProcess& alice = Online(Alice, "apple123", {{L"YEB_VOSSEL_PACE_MS", L"20"}});
    ProbeProcess& bob = Online(Bob, "banana456");
    ASSERT_TRUE(alice.WaitForCode(6, Wait));
    std::wstring cache = CacheFile(Bob, Hash);

    // Stop with yebJinCancelOldSession, then with code 31; each leaves a partial file.
    for (const char* how : {"cancel", "31"})
    {
        size_t from = bob.Count();
        RequestSong(bob, Alice, "SONG1", size);
        ASSERT_TRUE(bob.WaitFor([](const ProbeRecord& r) { return r.code == 19 && atoi(r.S(5).c_str()) >= 50; }, Wait,
                                nullptr, from));
        if (std::string(how) == "cancel")
            ASSERT_TRUE(bob.Run({"cancel"}));
        else
            ASSERT_TRUE(bob.Push(31, {Alice, "", "SONG1", "", "SONG1"}));
        Sleep(500); // pieces already under way may still land
        size_t count = bob.Records(19).size();
        long long partial = FileSize(cache);
        Sleep(1500);
        EXPECT_EQ(count, bob.Records(19).size()) << how << ": progress went on after the stop";
        EXPECT_EQ(partial, FileSize(cache)) << how << ": the cache file still grows";
        EXPECT_GT(partial, 0) << how;
        EXPECT_LT(partial, (long long)size) << how;
    }

    // A new request resumes from the partial file and completes it.
    long long partial = FileSize(cache);
    size_t from = bob.Count();
    RequestSong(bob, Alice, "SONG1", size);
    ProbeRecord first;
    ASSERT_TRUE(bob.WaitForCode(19, Wait, &first, from));
    EXPECT_GE(atoi(first.S(5).c_str()), (int)(partial * 1000 / size)) << "the transfer restarted from the beginning";
    ASSERT_TRUE(bob.WaitFor([](const ProbeRecord& r) { return r.code == 19 && r.S(5) == "1000"; }, 30000, nullptr,
                            from));
    std::string cached;
    ASSERT_TRUE(ReadBytes(cache, cached));
    EXPECT_TRUE(cached == song);
}

TEST_F(MessagingTest, AbsentOwnerGivesC2CTimeoutWithTheSongId)
{
    // Alice asks Dave (a buddy, offline) and Carol (online, not a buddy).
    ProbeProcess& asker = Online(Alice, "apple123");
    Online(Carol, "cherry789");
    for (const char* owner : {Dave, Carol})
    {
        size_t from = asker.Count();
        RequestSong(asker, owner, "SONG9", 1000);
        ProbeRecord error;
        ASSERT_TRUE(asker.WaitForCode(25, Wait, &error, from)) << owner;
        EXPECT_EQ("C2C_TIMEOUT", error.S(4));
        EXPECT_EQ("SONG9", error.S(5));
    }
}

TEST_F(MessagingTest, MissingSongGives33AndAnUnsafeHashWritesNothing)
{
    GiveSong(Alice, "SONG1", 1000);
    ProbeProcess& alice = Online(Alice, "apple123");
    ProbeProcess& bob = Online(Bob, "banana456");
    ASSERT_TRUE(alice.WaitForCode(6, Wait));

    RequestSong(bob, Alice, "GONE", 1000, "GONEHASH");
    ProbeRecord missing;
    ASSERT_TRUE(bob.WaitForCode(33, Wait, &missing));
    EXPECT_EQ(Alice, missing.S(1));
    EXPECT_EQ("GONE", missing.S(3));

    // A hash that would lead out of the cache folder is refused before any file is made.
    for (const char* hash : {"..\\..\\..\\evil", "../evil", "C:evil", "a b"})
    {
        size_t from = bob.Count();
        RequestSong(bob, Alice, "SONG1", 1000, hash);
        ASSERT_TRUE(bob.WaitForCode(33, Wait, &missing, from)) << hash;
        EXPECT_EQ("SONG1", missing.S(3));
    }
    // Nor does a buddy id that is no folder name become a library copy's folder.
    for (const char* owner : {"..\\..\\evil", "..", "a/../../evil"})
        ASSERT_TRUE(bob.Push(44, {owner}));
    ASSERT_TRUE(bob.Run({"msg", Alice, "sync"}));
    ASSERT_TRUE(alice.WaitForCode(8, Wait));
    WIN32_FIND_DATAW found;
    for (const std::wstring& pattern : {MyMusic(Bob) + L"\\*evil*", m_root + L"\\*evil*", MyMusic(Bob) + L"\\yeb360\\*evil*"})
    {
        HANDLE h = FindFirstFileW(pattern.c_str(), &found);
        EXPECT_EQ(INVALID_HANDLE_VALUE, h) << Narrow(pattern);
        if (h != INVALID_HANDLE_VALUE)
            FindClose(h);
    }
    // The owner also never serves a path a requester names: only ids of its own library.
    RequestSong(bob, Alice, "C:\\nothing.mp3", 1000, "OTHERHASH");
    ASSERT_TRUE(bob.WaitFor([](const ProbeRecord& r) { return r.code == 33 && r.S(3) == "C:\\nothing.mp3"; }, Wait));
}

TEST_F(MessagingTest, RefusedLoginsGiveUnauthorizedAndNothingAfter)
{
    struct
    {
        const char* user;
        std::string password;
    } cases[] = {
        {Bob, "wrongwro"},        // a wrong password
        {Bob, "banana456"},       // the password without the three characters the client appends
        {"nobody@yeb.test", "secretsec"},
    };
    for (auto& c : cases)
    {
        ProbeProcess& p = Client(c.user);
        ASSERT_TRUE(p.LogIn(m_port, c.user, c.password));
        ProbeRecord error;
        ASSERT_TRUE(p.WaitForCode(25, Wait, &error)) << c.user << " " << c.password;
        EXPECT_EQ("UNAUTHORIZED", error.S(4));
        Sleep(300);
        EXPECT_EQ(1u, p.Count()) << "something followed the refusal";
    }
}

TEST_F(MessagingTest, SecondLoginEndsTheFirstWithConflict)
{
    ProbeProcess& bob = Online(Bob, "banana456");
    ProbeProcess& first = Online(Alice, "apple123");
    ASSERT_TRUE(bob.WaitForCode(6, Wait));
    ProbeProcess& second = Online(Alice, "apple123");
    ProbeRecord error;
    ASSERT_TRUE(first.WaitForCode(25, Wait, &error));
    EXPECT_EQ("CONFLICT", error.S(4));
    Sleep(300);
    EXPECT_EQ(1u, first.Records(25).size()) << "a connection-closed report followed the conflict";

    // Bob never saw Alice go offline, and the second login works.
    EXPECT_TRUE(bob.Records(6).size() >= 1);
    for (auto& r : bob.Records(6))
        EXPECT_LT(r.extra, 3);
    ASSERT_TRUE(bob.Run({"msg", Alice, "still there?"}));
    ASSERT_TRUE(second.WaitForCode(8, Wait));
    EXPECT_TRUE(first.Records(8).empty());
}

TEST_F(MessagingTest, DroppedClientIsSeenOfflineAndALostServerIsACommunicationError)
{
    ProbeProcess& alice = Online(Alice, "apple123");
    ProbeProcess& bob = Online(Bob, "banana456");
    ASSERT_TRUE(alice.WaitForCode(6, Wait));

    bob.Kill();
    ProbeRecord offline;
    ASSERT_TRUE(alice.WaitFor([](const ProbeRecord& r) { return r.code == 6 && r.extra == 3; }, Wait, &offline));
    EXPECT_EQ(Bob, offline.S(1));

    m_service.Stop();
    ProbeRecord error;
    ASSERT_TRUE(alice.WaitForCode(25, Wait, &error));
    EXPECT_EQ("CONNECTION_CLOSED", error.S(4));
}

TEST_F(MessagingTest, NoCallbackAfterRelease)
{
    ProbeProcess& alice = Online(Alice, "apple123");
    ProbeProcess& bob = Online(Bob, "banana456");
    ASSERT_TRUE(alice.WaitForCode(6, Wait));
    ASSERT_TRUE(bob.Run({"release"}));
    size_t count = bob.Count();
    ProbeRecord offline;
    ASSERT_TRUE(alice.WaitFor([](const ProbeRecord& r) { return r.code == 6 && r.extra == 3; }, Wait, &offline));
    alice.Run({"msg", Bob, "anyone?"});
    m_service.Stop();
    Sleep(500);
    EXPECT_EQ(count, bob.Count()) << "a callback ran after the release";
}

TEST_F(MessagingTest, BuddyRequestsAreAnsweredAndBuddiesRemoved)
{
    ProbeProcess& alice = Online(Alice, "apple123");
    ProbeProcess& carol = Online(Carol, "cherry789");

    // Carol asks Alice; Alice accepts: both get code 26 and code 3 with "1".
    ASSERT_TRUE(carol.Run({"add", Alice, "Carol here"}));
    ProbeRecord ask;
    ASSERT_TRUE(alice.WaitForCode(2, Wait, &ask));
    EXPECT_EQ(Carol, ask.S(1));
    EXPECT_EQ("Carol here", ask.S(2));
    ASSERT_TRUE(alice.Run({"accept", Carol, "1"}));
    ProbeRecord answer;
    ASSERT_TRUE(carol.WaitForCode(3, Wait, &answer));
    EXPECT_EQ(Alice, answer.S(1));
    EXPECT_EQ("1", answer.S(4));
    ASSERT_TRUE(carol.WaitFor([](const ProbeRecord& r) { return r.code == 26 && r.S(1) == Alice; }, Wait));
    ASSERT_TRUE(alice.WaitFor([](const ProbeRecord& r) { return r.code == 26 && r.S(1) == Carol; }, Wait));
    ASSERT_TRUE(alice.WaitForCode(3, Wait));
    // As the client does on code 3: answer again (ignored) and re-announce the presence.
    ASSERT_TRUE(carol.Run({"accept", Alice, "1"}));
    ASSERT_TRUE(carol.Push(24, {}, 0));
    ASSERT_TRUE(alice.WaitFor([](const ProbeRecord& r) { return r.code == 6 && r.S(1) == Carol && r.extra == 0; }, Wait));
    ASSERT_TRUE(carol.Run({"msg", Alice, "friends now"}));
    ASSERT_TRUE(alice.WaitForCode(8, Wait));

    // A request to someone offline waits for the login; a rejection reaches the requester.
    ASSERT_TRUE(carol.Run({"add", "erin@yeb.test", ""}));
    ProbeProcess& erin = Online("erin@yeb.test", "elder111");
    ASSERT_TRUE(erin.WaitForCode(2, Wait, &ask));
    EXPECT_EQ(Carol, ask.S(1));
    ASSERT_TRUE(erin.Run({"reject", Carol}));
    ASSERT_TRUE(carol.WaitFor([](const ProbeRecord& r) { return r.code == 3 && r.S(4) == "0"; }, Wait, &answer));
    EXPECT_EQ("erin@yeb.test", answer.S(1));

    // Alice removes Carol: Carol sees her offline and chats no longer pass.
    size_t from = carol.Count();
    ASSERT_TRUE(alice.Run({"del", Carol}));
    ASSERT_TRUE(carol.WaitFor([](const ProbeRecord& r) { return r.code == 6 && r.extra == 3 && r.S(1) == Alice; }, Wait,
                              nullptr, from));
    size_t chats = alice.Records(8).size();
    ASSERT_TRUE(carol.Run({"msg", Alice, "hello?"}));
    Sleep(500);
    EXPECT_EQ(chats, alice.Records(8).size());
}

TEST_F(MessagingTest, OpeningABuddysLibraryCopiesItsPlaylist)
{
    GiveSong(Alice, "SONG1", 1000);
    std::string library;
    ASSERT_TRUE(ReadBytes(MyMusic(Alice) + L"\\yeb360\\lib\\private\\alice@yeb.test\\playlist.xml", library));
    ProbeProcess& alice = Online(Alice, "apple123");
    ProbeProcess& bob = Online(Bob, "banana456");
    ASSERT_TRUE(alice.WaitForCode(6, Wait));

    ASSERT_TRUE(bob.Push(44, {Alice}));
    ProbeRecord arrived;
    ASSERT_TRUE(bob.WaitForCode(23, Wait, &arrived));
    EXPECT_EQ("Playlist", arrived.S(4));
    EXPECT_EQ(Alice, arrived.S(1));
    std::vector<ProbeRecord> progress = bob.Records(45);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ("1", progress.back().S(5));
    EXPECT_EQ(Alice, progress.back().S(1));
    std::string copy;
    ASSERT_TRUE(ReadBytes(MyMusic(Bob) + L"\\yeb360\\lib\\friend\\alice@yeb.test\\playlist.xml", copy));
    EXPECT_EQ(library, copy);
}

TEST_F(MessagingTest, ASlowPeerIsCutOffWithoutHoldingUpOthers)
{
    ProbeProcess& alice = Online(Alice, "apple123");
    // Bob logs in on a bare connection and then never reads.
    RawClient stuck;
    ASSERT_TRUE(stuck.Connect(m_port));
    ASSERT_TRUE(stuck.Send(VosselFrame(FrameLogin).Add(L"bob@yeb.test").Add(L"banana456ban")));
    ASSERT_TRUE(alice.WaitForCode(6, Wait));
    ProbeProcess& dave = Online(Dave, "durian000");

    std::string big(60000, 'x');
    for (int i = 0; i < 250; ++i) // about 30 MB of chat towards the reader that does not read
        ASSERT_TRUE(alice.Run({"msg", Bob, big}));
    ASSERT_TRUE(alice.Run({"msg", Dave, "quick"}));
    ASSERT_TRUE(dave.WaitForCode(8, Wait));
    // The stuck connection was ended; Alice sees Bob offline.
    ASSERT_TRUE(alice.WaitFor([](const ProbeRecord& r) { return r.code == 6 && r.extra == 3 && r.S(1) == Bob; },
                              Wait));
}

TEST_F(MessagingTest, BrokenFramesAndOversizedPiecesAreRefused)
{
    // A frame announcing more than the limit ends that connection only.
    RawClient broken;
    ASSERT_TRUE(broken.Connect(m_port));
    ASSERT_TRUE(broken.SendBytes(std::string("\xFF\xFF\xFF\x7F", 4) + std::string(64, 'z')));
    EXPECT_TRUE(broken.WaitClosed(Wait));

    // A fake owner answers a song request with more bytes than it announced.
    RawClient owner;
    ASSERT_TRUE(owner.Connect(m_port));
    ASSERT_TRUE(owner.Send(VosselFrame(FrameLogin).Add(L"alice@yeb.test").Add(L"apple123app")));
    VosselFrame f;
    ASSERT_TRUE(owner.ReadUntil(f, FrameCommand, 1, Wait));
    ProbeProcess& bob = Online(Bob, "banana456");
    RequestSong(bob, Alice, "SONG1", 10);
    ASSERT_TRUE(owner.ReadUntil(f, FrameFileRequest, 0, Wait));
    std::wstring tid = f.Text(1);
    ASSERT_TRUE(owner.Send(VosselFrame(FrameFileBegin).Add(L"bob@yeb.test").Add(tid).Add(L"10").Add(L"0")));
    ASSERT_TRUE(owner.Send(
        VosselFrame(FrameFileData).Add(L"bob@yeb.test").Add(tid).Add(L"0").AddBytes(std::string(20, 'A'))));
    ProbeRecord error;
    ASSERT_TRUE(bob.WaitForCode(25, Wait, &error));
    EXPECT_EQ("C2C_TIMEOUT", error.S(4));
    EXPECT_EQ("SONG1", error.S(5));
    EXPECT_LE(FileSize(CacheFile(Bob, Hash)), 0);
    // The owner is told to stop.
    ASSERT_TRUE(owner.ReadUntil(f, FrameFileCancel, 0, Wait));
    EXPECT_EQ(tid, f.Text(1));
}
