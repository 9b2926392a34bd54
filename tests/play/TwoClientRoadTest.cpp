// The road of a buddy's song between two real clients: two Yeb.exe processes
// on one machine, each with its own program folder, settings and My Music,
// sign in to the stand-in service. Ann's client sends a song of her library
// to Ben through its menu command and the buddy chooser; Ben's client asks,
// plays the song while its bytes arrive in his cache file, ends with Ann's
// bytes, and plays it again without asking Ann for it. Both are driven only
// by messages to their windows; what they did is read from their windows'
// texts, their files and the service's records.
#include <gtest/gtest.h>

#include "ClientProcess.h"
#include "RoadFiles.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "TestFolders.h"
#include "WindowPicture.h"
#include "resource.h"

#include <commctrl.h>

#include <string>

namespace
{
// Ann and Ben are buddies; the passwords are as long as the login dialog asks.
const char kAccounts[] = "a@x.com\tannpass\tAnn\tb@x.com\n"
                         "b@x.com\tbenpass\tBen\ta@x.com\n";

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

int RowCount(HWND list)
{
    return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

int SelectedRow(HWND list)
{
    return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Selects the first row as the Home key does.
void SelectFirstRow(HWND list)
{
    ::SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    ::SendMessageW(list, WM_KEYUP, VK_HOME, 0);
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

// Raises a window of another process above the other and lets it paint.
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
} // namespace

TEST(TwoClientRoad, ASongSentFromOneClientPlaysInTheOtherWhileItArrivesAndStaysCached)
{
    ServiceProcess service;
    ASSERT_TRUE(StartServiceWithAccounts(service, kAccounts));
    std::wstring root = std::wstring(YEB_BINARY_DIR) + L"\\test-output\\play-two";
    ::CreateDirectoryW((std::wstring(YEB_BINARY_DIR) + L"\\test-output").c_str(), NULL);
    ::CreateDirectoryW(root.c_str(), NULL);
    ClientProcess ann(root + L"\\ann", service.ClientIniPath());
    ClientProcess ben(root + L"\\ben", service.ClientIniPath());

    RoadSong song{L"t1", L"TWOCLIENTSINE", L"Long Sine", ann.MyMusic() + L"\\long.mp3", LongSong(150)};
    WriteBytes(song.path, song.bytes);
    WriteOwnLibrary(ann.MyMusic(), L"a@x.com", {song});
    const std::wstring cache = ben.MyMusic() + L"\\yeb360\\cache\\" + song.hash + L".cache";

    // Ann signs in from the command line; her library shows the song. Her
    // library sends slowly, so that Ben plays before the song has arrived.
    ASSERT_TRUE(ann.Start(L"-u:s:a@x.com?.?annpass ", {{L"YEB_VOSSEL_PACE_MS", L"250"}}));
    HWND annMain = ann.WaitForMain(60000);
    ASSERT_TRUE(annMain) << "Ann's main window never showed";
    HWND annSongs = FindChild(annMain, IDC_SONG_LIST);
    ASSERT_TRUE(annSongs);
    ASSERT_TRUE(WaitFor([&] { return RowCount(annSongs) == 1; }, 20000)) << RowCount(annSongs);

    // Ben's copy runs beside Ann's: it starts with the logout switch and
    // signs in through its login dialog's button.
    ASSERT_TRUE(ben.Start(L"-u:s:b@x.com?.?benpass -l:logout"));
    HWND benLogin = ben.WaitForWindow([](HWND w) { return HasChild(w, IDC_LOGIN_PASSWORD); }, 60000);
    ASSERT_TRUE(benLogin) << "Ben's login dialog never showed";
    ::PostMessageW(benLogin, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND benMain = ben.WaitForMain(60000);
    ASSERT_TRUE(benMain) << "Ben's main window never showed";
    // Ann at the top left, Ben at the bottom right: both show on one screen.
    RECT benRect{};
    ::GetWindowRect(benMain, &benRect);
    ::SetWindowPos(annMain, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(benMain, HWND_TOP, ::GetSystemMetrics(SM_CXSCREEN) - (benRect.right - benRect.left),
                   ::GetSystemMetrics(SM_CYSCREEN) - (benRect.bottom - benRect.top), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);

    // Ann sends the selected song; the chooser offers Ben once he is online.
    HWND chooser = NULL, buddies = NULL;
    for (int attempt = 0; attempt < 20 && !buddies; ++attempt)
    {
        SelectFirstRow(annSongs);
        ASSERT_EQ(0, SelectedRow(annSongs));
        ::PostMessageW(annMain, WM_COMMAND, ID_SONG_SEND, 0);
        chooser = ann.WaitForWindow([&](HWND w) { return w != annMain && HasChild(w, IDC_FRIEND_LIST); }, 10000);
        ASSERT_TRUE(chooser) << "the buddy chooser never showed";
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
    ASSERT_TRUE(buddies) << "Ben never showed in Ann's buddy chooser";
    SelectFirstRow(buddies);
    ASSERT_EQ(0, SelectedRow(buddies));
    SavePicture(chooser, L"two-clients-chooser.png");
    ::PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND sent = WaitForMessageBox(ann, annMain, 10000);
    ASSERT_TRUE(sent) << "Ann was not told that the song went out";
    ::PostMessageW(sent, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    // Ben is asked about the song by its title and says yes.
    HWND question = WaitForMessageBox(ben, benMain, 20000);
    ASSERT_TRUE(question) << "Ben was never asked";
    std::wstring asked = WindowText(FindChild(question, IDC_MESSAGE_TEXT));
    EXPECT_NE(std::wstring::npos, asked.find(song.title)) << asked.c_str();
    ::PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    // Ben's position moves while his cache file still grows.
    long long sizeWhenPlaying = -1;
    ASSERT_TRUE(WaitFor(
        [&] {
            if (PlayedSeconds(benMain) <= 0)
                return false;
            sizeWhenPlaying = FileSize(cache);
            return true;
        },
        30000))
        << "Ben's time never moved: " << WindowText(FindChild(benMain, IDC_MAIN_TIME_TEXT)).c_str();
    EXPECT_GT(sizeWhenPlaying, 0);
    EXPECT_LT(sizeWhenPlaying, (long long)song.bytes.size()) << "the song played only once it had arrived";
    EXPECT_NE(std::wstring::npos, WindowText(FindChild(benMain, IDC_MAIN_TITLE_TEXT)).find(song.title));
    ShowOnTop(annMain);
    ShowOnTop(benMain);
    SavePicture(::GetDesktopWindow(), L"two-clients-screen.png");
    ShowOnTop(annMain);
    SavePicture(annMain, L"two-clients-ann.png");
    ShowOnTop(benMain);
    SavePicture(benMain, L"two-clients-ben-playing.png");

    // The whole song arrives: Ann's bytes, asked for once.
    ASSERT_TRUE(WaitFor([&] { return FileSize(cache) == (long long)song.bytes.size(); }, 90000))
        << FileSize(cache) << " of " << song.bytes.size();
    EXPECT_TRUE(ReadBytes(cache) == song.bytes);
    EXPECT_EQ(1u, FileRequests(service));

    // Stopped and played again from Ben's list: from the cache, Ann is not asked.
    HWND benSongs = FindChild(benMain, IDC_SONG_LIST);
    ASSERT_TRUE(benSongs);
    ::SendMessageW(benMain, WM_COMMAND, MAKEWPARAM(IDC_MAIN_STOP, BN_CLICKED),
                   reinterpret_cast<LPARAM>(FindChild(benMain, IDC_MAIN_STOP)));
    ASSERT_TRUE(WaitFor([&] { return PlayedSeconds(benMain) == 0; }, 10000));
    ASSERT_EQ(1, RowCount(benSongs)) << "the song shows in Ben's buddy-songs list";
    SelectFirstRow(benSongs);
    ::PostMessageW(benMain, WM_COMMAND, ID_SONG_PLAY, 0);
    EXPECT_TRUE(WaitFor([&] { return PlayedSeconds(benMain) > 0; }, 20000))
        << WindowText(FindChild(benMain, IDC_MAIN_TIME_TEXT)).c_str();
    EXPECT_EQ(1u, FileRequests(service)) << "the second play asked Ann again";
    EXPECT_TRUE(ReadBytes(cache) == song.bytes);
    ::SendMessageW(benMain, WM_COMMAND, MAKEWPARAM(IDC_MAIN_STOP, BN_CLICKED),
                   reinterpret_cast<LPARAM>(FindChild(benMain, IDC_MAIN_STOP)));
}
