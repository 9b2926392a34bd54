// The road of a buddy's song between two real clients kept apart as on two
// machines: Ann's Yeb.exe runs in this test's Wine prefix, Ben's in a second
// prefix (its own Wine server, registry and named objects), each with its own
// program folder, settings and My Music, and both sign in to the stand-in
// service from the command line. Ann's client sends a song of her library to
// Ben through its menu command and the buddy chooser; Ben's client asks,
// plays the song while its bytes arrive in his cache file, ends with Ann's
// bytes, and plays it again without asking Ann for it. Then Ann sends a
// second song and her program ends while it travels: Ben is told, the partial
// file stays, and once Ann is back a later play resumes it to her bytes.
//
// Windows of another Wine server cannot be reached by messages, so Ben's side
// is driven by this same program started in the second prefix
// (TwoClientRoadSide); the two sides meet through files in a shared folder.
#include <gtest/gtest.h>

#include "ClientProcess.h"
#include "LanguageTable.h"
#include "ProbeProcess.h"
#include "RoadFiles.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "TestFolders.h"
#include "WindowPicture.h"
#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
// Ann and Ben are buddies; the passwords are as long as the login dialog asks.
const char kAccounts[] = "a@x.com\tannpass\tAnn\tb@x.com\n"
                         "b@x.com\tbenpass\tBen\ta@x.com\n";

std::wstring Root()
{
    return std::wstring(YEB_BINARY_DIR) + L"\\test-output\\play-two";
}

std::wstring AnnFolder()
{
    return Root() + L"\\ann";
}

// The first song travels whole; the second is the one cut off midway.
RoadSong FirstSong()
{
    return {L"t1", L"TWOCLIENTSINE", L"Long Sine", AnnFolder() + L"\\music\\long.mp3", LongSong(150)};
}

RoadSong SecondSong()
{
    return {L"t2", L"TWOCLIENTSECOND", L"Second Sine", AnnFolder() + L"\\music\\second.mp3", LongSong(400)};
}

// --- The meeting folder: one file per step that a side has reached. ---

std::wstring SignalFile(const wchar_t* name)
{
    return Root() + L"\\signals\\" + name;
}

void Signal(const wchar_t* name, const std::string& text = std::string())
{
    std::wstring path = SignalFile(name);
    WriteBytes(path + L".tmp", text);
    ::MoveFileExW((path + L".tmp").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// The result file of the second side: written when its program has ended.
const wchar_t kSideResult[] = L"side-result";
const wchar_t kAbort[] = L"abort";

// Waits for a side's step; false after the timeout, or at once when the
// other side gave up or ended.
bool WaitSignal(const wchar_t* name, DWORD timeoutMs, std::string* text = nullptr)
{
    bool reached = WaitFor(
        [&] {
            return FileSize(SignalFile(name)) >= 0 || FileSize(SignalFile(kAbort)) >= 0 ||
                   FileSize(SignalFile(kSideResult)) >= 0;
        },
        timeoutMs);
    if (!reached || FileSize(SignalFile(name)) < 0)
        return false;
    if (text)
        *text = ReadBytes(SignalFile(name));
    return true;
}

bool HasChild(HWND window, int id)
{
    return FindChild(window, id) != NULL;
}

// Seconds played, read from the main window's time text ("mm:ss / mm:ss").
int PlayedSeconds(HWND main)
{
    std::wstring text = WindowText(FindChild(main, IDC_MAIN_TIME_TEXT));
    int minutes = 0, seconds = 0;
    if (swscanf(text.c_str(), L"%d:%d", &minutes, &seconds) != 2)
        return -1;
    return minutes * 60 + seconds;
}

// The song's length as the time text gives it (after the slash).
int ShownDuration(HWND main)
{
    std::wstring text = WindowText(FindChild(main, IDC_MAIN_TIME_TEXT));
    int m1 = 0, s1 = 0, m2 = 0, s2 = 0;
    if (swscanf(text.c_str(), L"%d:%d / %d:%d", &m1, &s1, &m2, &s2) != 4)
        return -1;
    return m2 * 60 + s2;
}

int RowCount(HWND list)
{
    return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

int SelectedRow(HWND list)
{
    return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void PressKey(HWND window, WPARAM key)
{
    ::SendMessageW(window, WM_KEYDOWN, key, 0);
    ::SendMessageW(window, WM_KEYUP, key, 0);
}

// Selects a row as the Home and Down keys do.
void SelectRow(HWND list, int row)
{
    PressKey(list, VK_HOME);
    for (int i = 0; i < row; ++i)
        PressKey(list, VK_DOWN);
}

size_t FileRequests(const ServiceProcess& service)
{
    return service.Records("messaging", "file-request").size();
}

// The message box of a client (its text child), waited for.
HWND WaitForMessageBox(const ClientProcess& client, HWND main, DWORD timeoutMs)
{
    return client.WaitForWindow([&](HWND w) { return w != main && HasChild(w, IDC_MESSAGE_TEXT); }, timeoutMs);
}

void ClickOk(HWND window)
{
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void ClickStop(HWND main)
{
    ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_MAIN_STOP, BN_CLICKED),
                   reinterpret_cast<LPARAM>(FindChild(main, IDC_MAIN_STOP)));
}

// Raises a window above the others and lets it paint.
void ShowOnTop(HWND window)
{
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ::RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(500);
}

void SavePicture(HWND window, const wchar_t* name)
{
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output\\play";
    ::CreateDirectoryW(folder.c_str(), NULL);
    EXPECT_TRUE(SaveWindowPicture(window, folder + L"\\" + name)) << "picture " << name;
}

// Ann pushes the song of a row of her list to Ben through the chooser, which
// offers Ben once he is online for her; true when she was told it went out.
bool SendToBen(const ClientProcess& ann, HWND annMain, int row, const wchar_t* picture)
{
    HWND annSongs = FindChild(annMain, IDC_SONG_LIST);
    HWND chooser = NULL, buddies = NULL;
    for (int attempt = 0; attempt < 30 && !buddies; ++attempt)
    {
        SelectRow(annSongs, row);
        EXPECT_EQ(row, SelectedRow(annSongs));
        ::PostMessageW(annMain, WM_COMMAND, ID_SONG_SEND, 0);
        chooser = ann.WaitForWindow([&](HWND w) { return w != annMain && HasChild(w, IDC_FRIEND_LIST); }, 10000);
        if (!chooser)
        {
            ADD_FAILURE() << "the buddy chooser never showed";
            return false;
        }
        HWND list = FindChild(chooser, IDC_FRIEND_LIST);
        if (WaitFor([&] { return RowCount(list) == 1; }, 1000))
            buddies = list;
        else
        {
            // Ben is not online for Ann yet: the chooser is closed and asked again.
            ::PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
            WaitFor([&] { return !::IsWindow(chooser); }, 5000);
            ::Sleep(500);
        }
    }
    if (!buddies)
    {
        ADD_FAILURE() << "Ben never showed in Ann's buddy chooser";
        return false;
    }
    SelectRow(buddies, 0);
    EXPECT_EQ(0, SelectedRow(buddies));
    if (picture)
        SavePicture(chooser, picture);
    ClickOk(chooser);
    HWND sent = WaitForMessageBox(ann, annMain, 10000);
    if (!sent)
        return false;
    ClickOk(sent);
    return WaitFor([&] { return !::IsWindow(sent); }, 5000);
}

// Starts Ben's side in the second Wine prefix; it tells its end through the
// result file. Asked to give up (and waited for) when this side ends first.
class SecondSide
{
  public:
    bool Start()
    {
        std::wstring script = std::wstring(YEB_SOURCE_DIR) + L"\\tools\\wine-run-apart.sh";
        std::wstring program = std::wstring(YEB_BINARY_DIR) + L"\\bin\\play_window_tests.exe";
        std::wstring line = L"\"" + script + L"\" \"" + SignalFile(kSideResult) + L"\" \"" + program + L"\"";
#ifdef _WIN64
        const wchar_t* arch = L"x86_64";
#else
        const wchar_t* arch = L"i686";
#endif
        // The second prefix is of this program's own architecture.
        std::wstring block = EnvironmentWith({{L"YEB_ROAD_SIDE", L"ben"}, {L"YEB_ARCH", arch}});
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(NULL, &line[0], NULL, NULL, FALSE, CREATE_UNICODE_ENVIRONMENT, &block[0], NULL, &startup,
                              &info))
            return false;
        if (info.hProcess)
            ::CloseHandle(info.hProcess);
        if (info.hThread)
            ::CloseHandle(info.hThread);
        m_started = true;
        return true;
    }

    // The side's exit code ("0" when all its checks held) and its output.
    bool WaitForEnd(DWORD timeoutMs, std::string& code, std::string& log)
    {
        if (!WaitFor([] { return FileSize(SignalFile(kSideResult)) >= 0; }, timeoutMs))
            return false;
        code = ReadBytes(SignalFile(kSideResult));
        while (!code.empty() && (code.back() == '\n' || code.back() == '\r'))
            code.pop_back();
        log = ReadBytes(SignalFile(kSideResult) + L".log");
        return true;
    }

    ~SecondSide()
    {
        if (!m_started || FileSize(SignalFile(kSideResult)) >= 0)
            return;
        Signal(kAbort);
        WaitFor([] { return FileSize(SignalFile(kSideResult)) >= 0; }, 60000);
    }

  private:
    bool m_started = false;
};
} // namespace

TEST(TwoClientRoad, ASongSentFromOneClientPlaysInTheOtherWhileItArrivesAndResumesAfterItsOwnerLeft)
{
    ServiceProcess service;
    ASSERT_TRUE(StartServiceWithAccounts(service, kAccounts));
    ::CreateDirectoryW((std::wstring(YEB_BINARY_DIR) + L"\\test-output").c_str(), NULL);
    ::CreateDirectoryW(Root().c_str(), NULL);
    RemoveTree(Root() + L"\\signals");
    ::CreateDirectoryW((Root() + L"\\signals").c_str(), NULL);
    ::CopyFileW(service.ClientIniPath().c_str(), (Root() + L"\\service.ini").c_str(), FALSE);

    ClientProcess ann(AnnFolder(), service.ClientIniPath());
    RoadSong first = FirstSong(), second = SecondSong();
    WriteBytes(first.path, first.bytes);
    WriteBytes(second.path, second.bytes);
    WriteOwnLibrary(ann.MyMusic(), L"a@x.com", {first, second});

    // Ann signs in from the command line; her library shows the songs. Her
    // client sends slowly, so that Ben plays before a song has arrived.
    const std::vector<std::pair<std::wstring, std::wstring>> slow = {{L"YEB_VOSSEL_PACE_MS", L"250"}};
    ASSERT_TRUE(ann.Start(L"-u:s:a@x.com?.?annpass ", slow));
    SecondSide ben;
    ASSERT_TRUE(ben.Start()) << "Ben's side could not be started";
    HWND annMain = ann.WaitForMain(60000);
    ASSERT_TRUE(annMain) << "Ann's main window never showed";
    ::SetWindowPos(annMain, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    HWND annSongs = FindChild(annMain, IDC_SONG_LIST);
    ASSERT_TRUE(annSongs);
    ASSERT_TRUE(WaitFor([&] { return RowCount(annSongs) == 2; }, 20000)) << RowCount(annSongs);
    // The second prefix is made on its first use (about 20 s).
    ASSERT_TRUE(WaitSignal(L"ben-main", 180000)) << "Ben's main window never showed";

    // The first song: sent, played while it arrives, whole, then from the cache.
    ASSERT_TRUE(SendToBen(ann, annMain, 0, L"two-clients-chooser.png")) << "Ann was not told that the song went out";
    ASSERT_TRUE(WaitSignal(L"ben-playing", 60000)) << "Ben never played the first song";
    ShowOnTop(annMain);
    SavePicture(annMain, L"two-clients-ann.png");
    Signal(L"ann-pictured");
    ASSERT_TRUE(WaitSignal(L"ben-on-top", 20000));
    SavePicture(::GetDesktopWindow(), L"two-clients-screen.png");
    Signal(L"screen-pictured");
    ASSERT_TRUE(WaitSignal(L"ben-arrived", 120000)) << "the first song never arrived whole";
    EXPECT_EQ(1u, FileRequests(service));
    Signal(L"requests-counted");
    ASSERT_TRUE(WaitSignal(L"ben-replayed", 60000)) << "Ben did not play the song again";
    EXPECT_EQ(1u, FileRequests(service)) << "the second play asked Ann again";

    // The second song: Ann's program ends while it travels.
    ASSERT_TRUE(SendToBen(ann, annMain, 1, NULL)) << "Ann was not told that the second song went out";
    ASSERT_TRUE(WaitSignal(L"ben-playing-second", 60000)) << "Ben never played the second song";
    ann.Kill();
    ASSERT_TRUE(WaitSignal(L"ben-told", 90000)) << "Ben was not told that the song stopped coming";

    // Ann is back; Ben plays the song again and it resumes to her bytes.
    ASSERT_TRUE(ann.Start(L"-u:s:a@x.com?.?annpass ", slow));
    ASSERT_TRUE(ann.WaitForMain(60000)) << "Ann's main window never showed again";
    Signal(L"ann-back");
    ASSERT_TRUE(WaitSignal(L"ben-resumed", 180000)) << "the second song never arrived whole";
    EXPECT_EQ(3u, FileRequests(service)) << "one request for the first song, two for the second";

    std::string code, log;
    ASSERT_TRUE(ben.WaitForEnd(60000, code, log)) << "Ben's side never ended";
    EXPECT_EQ("0", code) << "Ben's side:\n" << log;
    EXPECT_NE(std::string::npos, log.find("[  PASSED  ] 1 test.")) << "Ben's side ran no steps:\n" << log;
}

namespace
{
DWORD g_benProcess = 0;

// When Ann's side gives up, Ben's program and this side end at once rather
// than after their own timeouts (a program left running would hold Ben's
// folder for the next run).
DWORD WINAPI WatchForAbort(LPVOID)
{
    while (FileSize(SignalFile(kAbort)) < 0)
        ::Sleep(200);
    if (HANDLE process = g_benProcess ? ::OpenProcess(PROCESS_TERMINATE, FALSE, g_benProcess) : NULL)
    {
        ::TerminateProcess(process, 1);
        ::CloseHandle(process);
    }
    std::fflush(stdout);
    std::_Exit(2);
}
} // namespace

// Ben's side, run by the test above in the second Wine prefix.
TEST(TwoClientRoadSide, BenTakesPlaysAndResumesWhatAnnSends)
{
    ClientProcess ben(Root() + L"\\ben", Root() + L"\\service.ini");
    ::CloseHandle(::CreateThread(NULL, 0, &WatchForAbort, NULL, 0, NULL));
    RoadSong first = FirstSong(), second = SecondSong();
    auto cacheOf = [&](const RoadSong& song) {
        return ben.MyMusic() + L"\\yeb360\\cache\\" + song.hash + L".cache";
    };

    // As on a machine of his own: no switch but his account.
    ASSERT_TRUE(ben.Start(L"-u:s:b@x.com?.?benpass "));
    g_benProcess = ben.ProcessId();
    HWND benMain = ben.WaitForMain(60000);
    ASSERT_TRUE(benMain) << "Ben's main window never showed";
    EXPECT_FALSE(ben.WaitForWindow([&](HWND w) { return w != benMain && HasChild(w, IDC_MESSAGE_TEXT); }, 2000))
        << "a message shows at start";
    // Ann at the top left, Ben at the bottom right: both show on one screen.
    RECT benRect{};
    ::GetWindowRect(benMain, &benRect);
    ::SetWindowPos(benMain, HWND_TOP, ::GetSystemMetrics(SM_CXSCREEN) - (benRect.right - benRect.left),
                   ::GetSystemMetrics(SM_CYSCREEN) - (benRect.bottom - benRect.top), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    Signal(L"ben-main");

    // Ben is asked about the song by its title and says yes.
    HWND question = WaitForMessageBox(ben, benMain, 60000);
    ASSERT_TRUE(question) << "Ben was never asked";
    std::wstring asked = WindowText(FindChild(question, IDC_MESSAGE_TEXT));
    EXPECT_NE(std::wstring::npos, asked.find(first.title)) << asked.c_str();
    ClickOk(question);

    // His position moves while his cache file still grows; the time text
    // gives the whole song's length.
    long long sizeWhenPlaying = -1;
    ASSERT_TRUE(WaitFor(
        [&] {
            if (PlayedSeconds(benMain) <= 0)
                return false;
            sizeWhenPlaying = FileSize(cacheOf(first));
            return true;
        },
        30000))
        << "Ben's time never moved: " << WindowText(FindChild(benMain, IDC_MAIN_TIME_TEXT)).c_str();
    EXPECT_GT(sizeWhenPlaying, 0);
    EXPECT_LT(sizeWhenPlaying, (long long)first.bytes.size()) << "the song played only once it had arrived";
    EXPECT_NE(std::wstring::npos, WindowText(FindChild(benMain, IDC_MAIN_TITLE_TEXT)).find(first.title));
    EXPECT_EQ((int)(SongDuration(first.bytes) / 10000000), ShownDuration(benMain))
        << WindowText(FindChild(benMain, IDC_MAIN_TIME_TEXT)).c_str();
    ShowOnTop(benMain);
    SavePicture(benMain, L"two-clients-ben-playing.png");
    Signal(L"ben-playing");
    ASSERT_TRUE(WaitSignal(L"ann-pictured", 20000));
    ShowOnTop(benMain);
    Signal(L"ben-on-top");
    ASSERT_TRUE(WaitSignal(L"screen-pictured", 20000));

    // The whole song arrives: Ann's bytes.
    ASSERT_TRUE(WaitFor([&] { return FileSize(cacheOf(first)) == (long long)first.bytes.size(); }, 90000))
        << FileSize(cacheOf(first)) << " of " << first.bytes.size();
    EXPECT_TRUE(ReadBytes(cacheOf(first)) == first.bytes);
    Signal(L"ben-arrived");
    ASSERT_TRUE(WaitSignal(L"requests-counted", 20000));

    // Stopped and played again from Ben's list: from the cache (Ann's side
    // counts the requests).
    HWND benSongs = FindChild(benMain, IDC_SONG_LIST);
    ASSERT_TRUE(benSongs);
    ClickStop(benMain);
    ASSERT_TRUE(WaitFor([&] { return PlayedSeconds(benMain) == 0; }, 10000));
    ASSERT_EQ(1, RowCount(benSongs)) << "the song shows in Ben's buddy-songs list";
    SelectRow(benSongs, 0);
    ::PostMessageW(benMain, WM_COMMAND, ID_SONG_PLAY, 0);
    EXPECT_TRUE(WaitFor([&] { return PlayedSeconds(benMain) > 0; }, 20000))
        << WindowText(FindChild(benMain, IDC_MAIN_TIME_TEXT)).c_str();
    EXPECT_TRUE(ReadBytes(cacheOf(first)) == first.bytes);
    ClickStop(benMain);
    Signal(L"ben-replayed");

    // The second song: asked, played while it arrives, then Ann is gone.
    question = WaitForMessageBox(ben, benMain, 60000);
    ASSERT_TRUE(question) << "Ben was never asked about the second song";
    asked = WindowText(FindChild(question, IDC_MESSAGE_TEXT));
    EXPECT_NE(std::wstring::npos, asked.find(second.title)) << asked.c_str();
    ClickOk(question);
    ASSERT_TRUE(WaitFor([&] { return PlayedSeconds(benMain) > 0 && FileSize(cacheOf(second)) > 0; }, 30000))
        << "Ben never played the second song";
    Signal(L"ben-playing-second");

    LanguageTable::Instance().Load((std::wstring(YEB_BINARY_DIR) + L"\\bin\\lng\\default.LNG").c_str());
    const std::wstring overtime = W(Lang(L"INFO_MAIN_DLG_BUFFERING_OVERTIME"));
    ASSERT_FALSE(overtime.empty());
    HWND told = ben.WaitForWindow(
        [&](HWND w) {
            return w != benMain && HasChild(w, IDC_MESSAGE_TEXT) &&
                   WindowText(FindChild(w, IDC_MESSAGE_TEXT)).find(overtime) != std::wstring::npos;
        },
        60000);
    ASSERT_TRUE(told) << "Ben was not told that the song stopped coming";
    long long partial = FileSize(cacheOf(second));
    EXPECT_GT(partial, 0);
    EXPECT_LT(partial, (long long)second.bytes.size()) << "the song had arrived before Ann left";
    EXPECT_EQ(0, PlayedSeconds(benMain)) << "playing stopped";
    EXPECT_TRUE(ReadBytes(cacheOf(second)) == second.bytes.substr(0, (size_t)partial)) << "the partial file is Ann's start";
    ClickOk(told);
    Signal(L"ben-told");

    // Once Ann is back, Ben plays the song again from his buddy-songs list
    // (asked again while his client does not see her online yet): it goes
    // on from the partial file and ends with Ann's bytes.
    ASSERT_TRUE(WaitSignal(L"ann-back", 120000));
    ASSERT_EQ(2, RowCount(benSongs));
    bool playing = false;
    for (int attempt = 0; attempt < 40 && !playing; ++attempt)
    {
        for (int row = 1; row >= 0 && !playing; --row)
        {
            SelectRow(benSongs, row);
            ::PostMessageW(benMain, WM_COMMAND, ID_SONG_PLAY, 0);
            HWND refused = NULL;
            WaitFor(
                [&] {
                    refused = ben.WaitForWindow(
                        [&](HWND w) { return w != benMain && HasChild(w, IDC_MESSAGE_TEXT); }, 0);
                    return refused || PlayedSeconds(benMain) > 0;
                },
                5000);
            if (refused)
            {
                ClickOk(refused);
                WaitFor([&] { return !::IsWindow(refused); }, 5000);
                continue;
            }
            if (WindowText(FindChild(benMain, IDC_MAIN_TITLE_TEXT)).find(second.title) != std::wstring::npos)
                playing = true;
            else
                ClickStop(benMain);
        }
        if (!playing)
            ::Sleep(1000);
    }
    ASSERT_TRUE(playing) << "Ben could not play the second song again";
    long long smallest = partial;
    ASSERT_TRUE(WaitFor(
        [&] {
            long long size = FileSize(cacheOf(second));
            smallest = std::min(smallest, size);
            return size == (long long)second.bytes.size();
        },
        150000))
        << FileSize(cacheOf(second)) << " of " << second.bytes.size();
    EXPECT_EQ(partial, smallest) << "the transfer started again from the beginning";
    EXPECT_TRUE(ReadBytes(cacheOf(second)) == second.bytes) << "the resumed file is Ann's file";
    ClickStop(benMain);
    Signal(L"ben-resumed");
}
