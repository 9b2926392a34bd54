// The main window's commands on a real signed-in window against a recording
// messaging library: menu, tray and page commands reach their handlers,
// page arguments are freed once, songs and lists deleted leave the service
// its sync records, the context menus carry the items of their row's kind,
// the boss key hides and shows, and the window snaps to the screen's edges.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "Base64Codec.h"
#include "Board.h"
#include "DataClient.h"
#include "DlgConfig.h"
#include "DlgWebSongDownloadPre.h"
#include "LanguageTable.h"
#include "PixImage.h"
#include "MainWindowRun.h"
#include "RecordingMessaging.h"
#include "SocialTestSupport.h"
#include "SongLibrary.h"
#include "UploadMusicDlg.h"
#include "WindowPicture.h"
#include "resource.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

// The frees of one watched heap block, counted by the array delete every
// page argument goes through.
namespace
{
std::atomic<void*> g_watched{nullptr};
std::atomic<int> g_watchedFrees{0};
} // namespace

void operator delete[](void* p) noexcept
{
    if (p && p == g_watched.load())
        ++g_watchedFrees;
    ::operator delete(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    operator delete[](p);
}

namespace
{
struct Asked
{
    std::wstring text;
    int buttons;
};
std::vector<Asked> g_asked;
int g_answer = IDOK;
int g_popups = 0;

int RecordQuestion(LPCWSTR text, int buttons, LPCWSTR, int, CWnd*)
{
    g_asked.push_back({text ? text : L"", buttons});
    return g_answer;
}

void CountPopup(const CString&, const CString&, const CString&)
{
    ++g_popups;
}

std::vector<std::wstring> g_opened;
INT_PTR g_shellResult = 42;
HINSTANCE WINAPI RecordShell(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT)
{
    g_opened.push_back(file ? file : L"");
    return reinterpret_cast<HINSTANCE>(g_shellResult);
}

std::vector<std::wstring> g_fetched;
std::wstring g_uploadAnswer = L"0";
BOOL RecordFetch(const CString& url, CString& answer)
{
    g_fetched.push_back(W(url));
    answer = g_uploadAnswer.c_str();
    return TRUE;
}

// The items of a menu as "id,id,-,id" (a separator "-", a popup "p", a
// greyed item "~id").
std::wstring Items(HMENU menu)
{
    std::wstring out;
    if (!menu)
        return L"none";
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
    {
        if (!out.empty())
            out += L",";
        UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
        if (state & MF_SEPARATOR)
            out += L"-";
        else if (::GetSubMenu(menu, i))
            out += L"p";
        else
            out += ((state & MF_GRAYED) ? L"~" : L"") + std::to_wstring(::GetMenuItemID(menu, i));
    }
    return out;
}

std::wstring TakeItems(HMENU menu)
{
    std::wstring items = Items(menu);
    if (menu)
        ::DestroyMenu(menu);
    return items;
}

std::vector<std::wstring> g_tracked;
UINT RecordTrack(HMENU menu, UINT, int, int, HWND)
{
    g_tracked.push_back(Items(menu));
    return 0;
}



void WriteOwnLibrary(const std::wstring& path)
{
    CSongLibrary library;
    library.AddSong(LibrarySong(L"s1", L"Alpha"));
    library.AddSong(LibrarySong(L"s2", L"Bravo"));
    library.AddSong(LibrarySong(L"s3", L"Charlie"));
    CSongInfo pushed = LibrarySong(L"b1", L"Echo");
    pushed.SetType(L"2");
    pushed.SetOwner(L"bob@x.com");
    library.AddSong(pushed);
    library.AddOrUpdatePlaylist(LibraryList(L"Mix", PLAYLIST_KIND_USER, {L"s3", L"s1"}));
    AddSpecialLists(library, {L"b1"});
    CreateFoldersAlongPath(path.c_str());
    ASSERT_EQ(S_OK, library.SaveToFile(path.c_str()));
}

std::wstring ListSongs(const std::wstring& path, LPCWSTR list)
{
    CSongLibrary library;
    if (FAILED(library.LoadFromFile(path.c_str())))
        return L"unreadable";
    CPlaylist playlist;
    if (FAILED(library.GetPlaylistByName(list, playlist)))
        return L"missing";
    std::wstring ids;
    for (int i = 0; i < playlist.GetSongCount(); ++i)
    {
        CString id;
        playlist.GetSongIdAt(i, id);
        ids += std::wstring(id) + L",";
    }
    return ids;
}

void SelectOnly(CListCtrl& list, std::initializer_list<int> rows)
{
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows)
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

wchar_t* HeapText(const wchar_t* text)
{
    size_t n = wcslen(text) + 1;
    wchar_t* copy = new wchar_t[n];
    wcscpy(copy, text);
    return copy;
}

std::wstring LastPlaylistsXml()
{
    CDataClient* data = CDataClient::GetInstance();
    return data ? W(data->GetLastPlaylistsXml()) : L"";
}

class MainWindowCommands : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CDlgMain::s_askUser = &RecordQuestion;
        CDlgMain::s_startPopup = &CountPopup;
        CDlgMain::s_shellExecute = &RecordShell;
        CDlgMain::s_fetchUpload = &RecordFetch;
        g_asked.clear();
        g_opened.clear();
        g_fetched.clear();
        g_tracked.clear();
        g_answer = IDOK;
        g_popups = 0;
    }
    void TearDown() override
    {
        CDlgMain::s_startPopup = NULL;
        CDlgMain::s_shellExecute = ::ShellExecuteW;
        CDlgMain::s_trackMenu = [](HMENU m, UINT f, int x, int y, HWND o) -> UINT {
            return ::TrackPopupMenu(m, f, x, y, 0, o, NULL);
        };
    }
};
} // namespace

TEST(SnapToWorkArea, WithinTenPixelsOfAnEdgeTheWindowSticksToIt)
{
    const RECT work = {0, 0, 1280, 1000};
    struct Case
    {
        int x, y;
        BOOL resize;
        int ex, ey, ecx, ecy;
    } cases[] = {
        {5, 300, FALSE, 0, 300, 400, 300},        // 5 px from the left: moved to it
        {10, 300, FALSE, 0, 300, 400, 300},       // the last pixel that snaps
        {11, 300, FALSE, 11, 300, 400, 300},      // 11 px: left alone
        {0, 300, FALSE, 0, 300, 400, 300},        // on the edge already
        {-20, 300, FALSE, -20, 300, 400, 300},    // past the edge: left alone
        {875, 300, FALSE, 880, 300, 400, 300},    // right edge 5 px inside
        {869, 300, FALSE, 869, 300, 400, 300},    // right edge 11 px inside
        {300, 4, FALSE, 300, 0, 400, 300},        // top
        {300, 695, FALSE, 300, 700, 400, 300},    // bottom edge 5 px inside
        {300, 689, FALSE, 300, 689, 400, 300},    // bottom edge 11 px inside
        {5, 4, TRUE, 0, 0, 405, 304},             // resizing: the far edges stay
        {875, 695, TRUE, 875, 695, 405, 305},
    };
    for (const Case& c : cases)
    {
        WINDOWPOS pos{};
        pos.x = c.x;
        pos.y = c.y;
        pos.cx = 400;
        pos.cy = 300;
        CDlgMain::SnapToWorkArea(pos, work, c.resize);
        EXPECT_EQ(c.ex, pos.x) << c.x << "," << c.y << " resize " << c.resize;
        EXPECT_EQ(c.ey, pos.y) << c.x << "," << c.y << " resize " << c.resize;
        EXPECT_EQ(c.ecx, pos.cx) << c.x << "," << c.y << " resize " << c.resize;
        EXPECT_EQ(c.ecy, pos.cy) << c.x << "," << c.y << " resize " << c.resize;
    }
}

TEST(SongUploadRequest, TheFormTravelsAsBase64WithPlusEscaped)
{
    CString url = CDlgMain::SongUploadRequestUrl(L"up.example", L"me@x.com", L"我", L"Song?>", L"A", L"H1", L"mp3",
                                                 4096);
    const CString prefix = L"http://up.example/song_up.php?str=";
    ASSERT_EQ(0, url.Find(prefix));
    CString text = url.Mid(prefix.GetLength());
    EXPECT_EQ(-1, text.Find(L'+')) << "a plus of the Base64 text is sent as %2B";
    text.Replace(L"%2B", L"+");
    CStringA ascii(text);
    std::vector<BYTE> bytes(ascii.GetLength() + 4);
    Base64Codec codec;
    int n = codec.Decode(ascii, bytes.data());
    ASSERT_GT(n, 0);
    wchar_t decoded[512] = {};
    ::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<char*>(bytes.data()), n, decoded, 511);
    CString form = decoded;
    EXPECT_EQ(W(L"email=me@x.com&nick=我&songname=Song?>&songauthor=A&songhash=H1&songtype=mp3&songsize=4096"),
              W(form));

    struct Case
    {
        const wchar_t* path;
        const wchar_t* type;
    } types[] = {{L"C:\\m\\a.mp3", L"mp3"}, {L"C:\\m.x\\a.b.wma", L"wma"}, {L"C:\\m\\noext", L"C:\\m\\noext"}};
    for (const Case& c : types)
        EXPECT_EQ(W(c.type), W(CDlgMain::FileTypeOfPath(c.path))) << W(c.path);
}

TEST_F(MainWindowCommands, TableIdsReachTheirHandlers)
{
    MainWindowRun run(L"commands-table");
    run.App().SetUserEmail(L"me@x.com");
    std::wstring file = run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml";
    WriteOwnLibrary(file);
    RecordingMessaging messaging;
    bool ran = false;
    // The page's download asks where the song goes: answered with Cancel.
    static int s_choicesAsked;
    s_choicesAsked = 0;
    auto savedChoice = CDlgMain::s_runDownloadChoice;
    CDlgMain::s_runDownloadChoice = [](CDlgWebSongDownloadPre&) -> INT_PTR {
        ++s_choicesAsked;
        return IDCANCEL;
    };
    run.Run([&] {
        ran = true;
        run.SignIn({L"bob@x.com", L"cat@x.com"});
        run.Deliver(MakeRecord(6, {L"bob@x.com", L"", L"", L"0"}, 0)); // bob comes online
        HWND window = run.Main().GetSafeHwnd();
        auto command = [&](UINT id, LPARAM lParam = 0) { ::SendMessageW(window, WM_COMMAND, id, lParam); };

        // Presence from the menus: code 24 and the tray's icon.
        struct Presence
        {
            UINT id;
            int presence;
            UINT icon;
        } presences[] = {{ID_PRESENCE_AWAY, 1, IDI_TRAY_AWAY},
                         {ID_PRESENCE_BUSY, 2, IDI_TRAY_BUSY},
                         {ID_PRESENCE_INVISIBLE, 3, IDI_TRAY_INVISIBLE},
                         {ID_PRESENCE_ONLINE, 0, IDI_APP_SMALL}};
        for (const Presence& p : presences)
        {
            size_t before = messaging.Pushed(24).size();
            command(p.id);
            run.OnWindowThread([&] {
                EXPECT_EQ(p.presence, run.Main().m_nPresence) << p.id;
                EXPECT_EQ(p.icon, run.Main().m_nTrayIcon) << p.id;
            });
            EXPECT_EQ(before + 1, messaging.Pushed(24).size()) << p.id;
        }

        // The own flags: bit 8 and bit 16 go out with the profile (code 22).
        int flags = g_pAppSetting->wPrivacy;
        command(ID_PAGE_COMPANYFINISHED);
        ASSERT_FALSE(messaging.Pushed(22).empty());
        EXPECT_EQ(std::to_wstring(flags | 8), W(messaging.Pushed(22).back().s[7]));
        command(ID_PAGE_JOINFINISHED);
        EXPECT_EQ(std::to_wstring(flags | 24), W(messaging.Pushed(22).back().s[7]));

        // The shown buddy's card, and a page's card request with its argument.
        run.OnWindowThread([&] { run.Main().m_strShownOwner = L"bob@x.com"; });
        size_t calls = messaging.calls.size();
        command(ID_BUDDY_VIEW_BUDDIES);
        ASSERT_EQ(calls + 1, messaging.calls.size());
        EXPECT_EQ(W(L"bob@x.com"), W(messaging.calls.back().s[0]));

        // Page arguments are freed exactly once, whether they come through
        // the window's message or are handed to the command directly, and
        // whether the command uses them or not.
        struct PageCase
        {
            UINT id;
            const wchar_t* argument;
            BOOL direct;
        } pages[] = {{ID_PAGE_LOOKOVER, L"cat@x.com", FALSE},
                     {ID_PAGE_LOOKOVER, L"cat@x.com", TRUE},
                     {ID_PAGE_SHOWLIST, L"nobody@x.com", FALSE},
                     {ID_PAGE_DOWNLOAD, L"http://x/a.mp3", TRUE},
                     {ID_PAGE_GOTOPAGE, L"nobody@x.com", FALSE}};
        for (const PageCase& p : pages)
        {
            wchar_t* argument = HeapText(p.argument);
            g_watched = argument;
            g_watchedFrees = 0;
            size_t before = messaging.calls.size();
            if (p.direct)
                run.OnWindowThread([&] { run.Main().OnCommand(p.id, reinterpret_cast<LPARAM>(argument)); });
            else
                command(p.id, reinterpret_cast<LPARAM>(argument));
            g_watched = nullptr;
            EXPECT_EQ(1, g_watchedFrees.load()) << p.id << (p.direct ? " direct" : " by message");
            if (p.id == ID_PAGE_LOOKOVER)
            {
                ASSERT_EQ(before + 1, messaging.calls.size());
                EXPECT_EQ(W(p.argument), W(messaging.calls.back().s[0]));
            }
        }
        EXPECT_EQ(1, s_choicesAsked); // the download reached its handler
        // A page command without its argument does nothing.
        calls = messaging.calls.size();
        command(ID_PAGE_LOOKOVER, 0);
        EXPECT_EQ(calls, messaging.calls.size());

        // The web site's pages go to the shell; a failure is told.
        command(ID_FEEDBACK);
        ASSERT_EQ(1u, g_opened.size());
        EXPECT_NE(std::wstring::npos, g_opened[0].find(L"/feedback.shtml"));
        EXPECT_TRUE(g_asked.empty());
        g_shellResult = 2; // file not found
        command(ID_HELP_PAGE);
        g_shellResult = 42;
        ASSERT_EQ(1u, g_asked.size()) << "a page the shell cannot open is reported";
        EXPECT_EQ(W(Lang(L"INFO_MAIN_DLG_OPEN_PAGE_FAILED")), g_asked[0].text);
        g_asked.clear();

        // The settings dialog open: its command does nothing more.
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            CDlgConfig open(0, &main);
            main.m_pDlgConfig = &open;
            main.SendMessage(WM_COMMAND, ID_SETTINGS, 0);
            EXPECT_EQ(&open, main.m_pDlgConfig);
            EXPECT_EQ(NULL, open.GetSafeHwnd());
            main.m_pDlgConfig = nullptr;
        });

        // The own library: the board of a song, the upload request, deleting.
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            int mix = main.m_listSongLists.FindList(L"Mix");
            ASSERT_GT(mix, 0);
            main.ShowSongList(mix, FALSE, TRUE);
            ASSERT_EQ(2, main.m_listSongs.GetItemCount());
            SelectOnly(main.m_listSongs, {0});
            main.m_listSongs.GetRow(0)->boardNew = 1;
            main.SendMessage(WM_COMMAND, ID_BOARD_OPEN, 0);
            EXPECT_NE(nullptr, main.FindOpenBoard(L"Hs3"));
            EXPECT_EQ(0, main.m_listSongs.GetRow(0)->boardNew);
            main.CloseSongBoard(L"Hs3");
            EXPECT_TRUE(messaging.Pushed(40).empty()) << "an own song's board is not asked for";

            // A buddy's song in an own list: its board is asked of the buddy.
            main.ShowSongList(main.m_listSongLists.FindList(Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME")), FALSE, TRUE);
            ASSERT_EQ(1, main.m_listSongs.GetItemCount());
            SelectOnly(main.m_listSongs, {0});
            main.SendMessage(WM_COMMAND, ID_BOARD_OPEN, 0);
            ASSERT_EQ(1u, messaging.Pushed(40).size());
            EXPECT_EQ(W(L"bob@x.com"), W(messaging.Pushed(40)[0].s[0]));
            EXPECT_EQ(W(L"Hb1"), W(messaging.Pushed(40)[0].s[2]));
            main.CloseSongBoard(L"Hb1");
            main.ShowSongList(mix, FALSE, TRUE);
            SelectOnly(main.m_listSongs, {0});

            main.SendMessage(WM_COMMAND, ID_SONG_UPLOAD, 0);
            ASSERT_EQ(1u, g_fetched.size());
            EXPECT_NE(std::wstring::npos, g_fetched[0].find(L"/song_up.php?str="));
            ASSERT_EQ(1u, g_asked.size()) << "an answer 0: the service has the song";
            EXPECT_EQ(W(Lang(L"INFO_MUSIC_COMPANY_EXISTED")), g_asked[0].text);
            g_asked.clear();
            // Any other answer is the upload's id: the song goes to the upload
            // window, which is made again after it was closed.
            g_uploadAnswer = L"UP1";
            for (int round = 0; round < 2; ++round)
            {
                main.SendMessage(WM_COMMAND, ID_SONG_UPLOAD, 0);
                run.OnWindowThread([&] {
                    CUploadMusicDlg* window = CUploadMusicDlg::GetOpen();
                    ASSERT_TRUE(window && window->GetSafeHwnd()) << "round " << round;
                    EXPECT_EQ(1, window->GetList().GetTaskCount()) << "round " << round;
                    window->GetList().StopAll(TRUE);
                    window->DestroyWindow();
                });
            }
            g_uploadAnswer = L"0";
            g_fetched.clear();

            // Charlie goes from "Mix": the file, the rows and the sync record.
            main.SendMessage(WM_COMMAND, ID_SONG_DELETE, 0);
            EXPECT_EQ(1, main.m_listSongs.GetItemCount());
            EXPECT_EQ(W(L"Alpha"), W(main.m_listSongs.GetRow(0)->title));
        });
        EXPECT_EQ(L"s1,", ListSongs(file, L"Mix"));
        std::wstring xml = LastPlaylistsXml();
        EXPECT_NE(std::wstring::npos, xml.find(L"N=\"Mix\" M=\"1\"")) << xml;
        EXPECT_NE(std::wstring::npos, xml.find(L"H=\"Hs3\"")) << xml;
        EXPECT_NE(std::wstring::npos, xml.find(L"Z=\"1\"")) << xml;
        EXPECT_EQ(std::wstring::npos, xml.find(L"H=\"Hs1\"")) << xml;

        // The list itself: asked with its name, gone from the file, recorded
        // with its songs.
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            int mix = main.m_listSongLists.FindList(L"Mix");
            SelectOnly(main.m_listSongLists, {mix});
            g_answer = IDCANCEL;
            main.SendMessage(WM_COMMAND, ID_SONGLIST_DELETE, 0);
            EXPECT_EQ(mix, main.m_listSongLists.FindList(L"Mix")) << "cancel keeps the list";
            g_answer = IDOK;
            SelectOnly(main.m_listSongLists, {mix});
            main.SendMessage(WM_COMMAND, ID_SONGLIST_DELETE, 0);
            EXPECT_EQ(-1, main.m_listSongLists.FindList(L"Mix"));
        });
        ASSERT_EQ(2u, g_asked.size());
        EXPECT_EQ(W(Lang(L"INFO_MAIN_DLG_DEL_SONGLIST_TIP") + L" \"Mix\" ?"), g_asked[1].text);
        EXPECT_EQ(L"missing", ListSongs(file, L"Mix"));
        xml = LastPlaylistsXml();
        EXPECT_NE(std::wstring::npos, xml.find(L"N=\"Mix\" M=\"1\"")) << xml;
        EXPECT_NE(std::wstring::npos, xml.find(L"H=\"Hs1\"")) << xml;
        g_asked.clear();

        // Deleting a buddy: nothing while the buddy's song plays; asked otherwise.
        auto deleted = [&] {
            int n = 0;
            for (const RecordedCall& call : messaging.calls)
                n += call.what == "delFriend";
            return n;
        };
        run.OnWindowThread([&] {
            run.Main().m_strShownOwner = L"bob@x.com";
            run.Main().m_strPlayingOwner = L"bob@x.com";
        });
        command(ID_BUDDY_DELETE);
        EXPECT_TRUE(g_asked.empty()) << "the playing buddy is not asked about";
        EXPECT_EQ(0, deleted());
        run.OnWindowThread([&] { run.Main().m_strPlayingOwner.Empty(); });
        g_answer = IDCANCEL;
        command(ID_BUDDY_DELETE);
        EXPECT_EQ(1u, g_asked.size());
        EXPECT_EQ(0, deleted());
        g_answer = IDOK;
        command(ID_BUDDY_DELETE);
        EXPECT_EQ(1, deleted());
        run.OnWindowThread([&] { EXPECT_EQ(-1, run.Main().LeftBar().FindItem(L"bob@x.com")); });
    });
    CDlgMain::s_runDownloadChoice = savedChoice;
    EXPECT_TRUE(ran);
}

TEST_F(MainWindowCommands, ContextMenusCarryTheItemsOfTheirRowKind)
{
    MainWindowRun run(L"commands-menus");
    run.App().SetUserEmail(L"me@x.com");
    WriteOwnLibrary(run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml");
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({L"bob@x.com"});
        run.Deliver(MakeRecord(6, {L"bob@x.com", L"", L"", L"0"}, 0));
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            int mix = main.m_listSongLists.FindList(L"Mix");
            int buddies = main.m_listSongLists.FindList(Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"));
            std::wstring play = std::to_wstring(ID_SONGLIST_PLAY);
            // The song-list list: by row, and on empty space popup 8.
            EXPECT_EQ(play + L"," + std::to_wstring(ID_SONGLIST_ADD_SONG), TakeItems(main.BuildSongListsMenu(0)));
            EXPECT_EQ(play + L",772,770,-,773", TakeItems(main.BuildSongListsMenu(mix)));
            EXPECT_EQ(play, TakeItems(main.BuildSongListsMenu(buddies))) << "a reserved list";
            EXPECT_EQ(L"32806,32808", TakeItems(main.BuildSongListsMenu(-1)));

            // The song list, own library.
            main.ShowSongList(0, FALSE, TRUE);
            SelectOnly(main.m_listSongs, {1});
            WORD saved = g_pAppSetting->wPrivacy;
            g_pAppSetting->wPrivacy = 0;
            EXPECT_EQ(L"32794,32795,32869,-,32798", TakeItems(main.BuildSongRowMenu(1, 0)));
            EXPECT_EQ(W(L"Bravo"), W(main.m_strSearchText)) << "the title column gives the search its text";
            EXPECT_EQ(L"32794,32795,32869,-,32798", TakeItems(main.BuildSongRowMenu(1, 1)));
            EXPECT_EQ(W(L"Singer"), W(main.m_strSearchText));
            EXPECT_EQ(L"32794,32795,-,32798", TakeItems(main.BuildSongRowMenu(1, 3)));
            g_pAppSetting->wPrivacy = 24;
            EXPECT_EQ(L"32794,32795,32861,32862,-,32798", TakeItems(main.BuildSongRowMenu(1, 3)));
            main.m_listSongs.GetRow(1)->playing = 1;
            HMENU playing = main.BuildSongRowMenu(1, 3);
            wchar_t text[64] = {};
            ::GetMenuStringW(playing, ID_SONG_PLAY, text, 64, MF_BYCOMMAND);
            EXPECT_EQ(W(Lang(L"INFO_PLAYER_STOP")), std::wstring(text)) << "the playing row's item stops it";
            ::DestroyMenu(playing);
            main.m_listSongs.GetRow(1)->playing = 0;
            g_pAppSetting->wPrivacy = saved;
            SelectOnly(main.m_listSongs, {0, 1});
            EXPECT_EQ(L"32798", TakeItems(main.BuildSongRowMenu(1, 0))) << "several rows: delete only";
            EXPECT_EQ(L"32811", TakeItems(main.BuildSongRowMenu(-1, 0)));

            // Another user's library: play and, on the title or artist, search.
            main.m_strShownOwner = L"bob@x.com";
            EXPECT_EQ(L"32794,32869", TakeItems(main.BuildSongRowMenu(1, 0)));
            EXPECT_EQ(L"32794", TakeItems(main.BuildSongRowMenu(1, 2)));
            EXPECT_EQ(L"none", TakeItems(main.BuildSongRowMenu(-1, 0)));
            EXPECT_EQ(L"none", TakeItems(main.BuildSongListsMenu(-1)));
            main.m_strShownOwner = main.m_strUserEmail;

            // Left-bar rows: the card item greyed without the row's button
            // bit, no delete for the playing buddy, only delete when offline.
            int bob = main.LeftBar().FindItem(L"bob@x.com");
            CFriendItem* row = main.LeftBar().GetItem(bob);
            ASSERT_NE(nullptr, row);
            row->buttons = 0;
            EXPECT_EQ(L"32787,32805,32776,~32815,32817,32803", TakeItems(main.BuildLeftBarRowMenu(bob)));
            row->buttons = 2;
            EXPECT_EQ(L"32787,32805,32776,32815,32817,32803", TakeItems(main.BuildLeftBarRowMenu(bob)));
            main.m_strPlayingOwner = L"bob@x.com";
            EXPECT_EQ(L"32787,32805,32776,32815,32817", TakeItems(main.BuildLeftBarRowMenu(bob)));
            main.m_strPlayingOwner.Empty();
            row->presence = 3;
            EXPECT_EQ(L"32803", TakeItems(main.BuildLeftBarRowMenu(bob)));
        });

        // The title bar's menus: 321 from the menu button, 352 from the status button.
        CDlgMain::s_trackMenu = &RecordTrack;
        HWND window = run.Main().GetSafeHwnd();
        ::SendMessageW(window, WM_COMMAND, IDC_MAIN_MENU, 0);
        ::SendMessageW(window, WM_COMMAND, IDC_MAIN_NICK, 0);
        ASSERT_EQ(2u, g_tracked.size());
        EXPECT_EQ(L"p,32814,32777,32847,-,32820,32821,32774,32836,-,32846,32780", g_tracked[0]);
        EXPECT_EQ(L"32839,32834,32833,32842,-,32814,32775", g_tracked[1]);

        // The status menu as a user sees it, over the main window.
        CDlgMain::s_trackMenu = [](HMENU m, UINT f, int x, int y, HWND o) -> UINT {
            return ::TrackPopupMenu(m, f, x, y, 0, o, NULL);
        };
        RECT rect;
        ::GetWindowRect(window, &rect);
        ::SetForegroundWindow(window);
        ::SetCursorPos(rect.left + 80, rect.top + 60);
        ::PostMessageW(window, WM_COMMAND, IDC_MAIN_NICK, 0);
        HWND menu = NULL;
        for (int i = 0; i < 100 && !menu; ++i)
        {
            ::Sleep(50);
            HWND found = ::FindWindowW(L"#32768", NULL);
            if (found && ::IsWindowVisible(found))
                menu = found;
        }
        EXPECT_NE(nullptr, menu) << "the status menu opens";
        ::Sleep(300);
        EXPECT_TRUE(SaveWindowPicture(::GetDesktopWindow(), SocialOutputFolder() + L"\\main-window-status-menu.png"));
        run.OnWindowThread([] { ::EndMenu(); });
    });
    EXPECT_TRUE(ran);
}

TEST_F(MainWindowCommands, BossKeyIsRegisteredChangedAndHidesThePopups)
{
    MainWindowRun run(L"commands-hotkey");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({L"bob@x.com"});
        // A combination is taken while another window holds it.
        auto taken = [](UINT modifiers, UINT key) {
            if (!::RegisterHotKey(NULL, 7, modifiers, key))
                return true;
            ::UnregisterHotKey(NULL, 7);
            return false;
        };
        g_pAppSetting->bNotifyOnline = TRUE;
        EXPECT_TRUE(taken(MOD_CONTROL | MOD_ALT, 'Q')) << "no key set: Ctrl+Alt+Q";
        run.OnWindowThread([&] { EXPECT_TRUE(run.Main().RegisterBossKey(FALSE, TRUE, TRUE, VK_F5)); });
        EXPECT_TRUE(taken(MOD_CONTROL | MOD_SHIFT, VK_F5));
        EXPECT_FALSE(taken(MOD_CONTROL | MOD_ALT, 'Q')) << "the old key is given back";
        run.OnWindowThread([&] { run.Main().RegisterBossKey(FALSE, FALSE, FALSE, 'A'); });
        EXPECT_TRUE(taken(MOD_CONTROL | MOD_ALT, 'Q')) << "an invalid combination takes Ctrl+Alt+Q";
        EXPECT_FALSE(taken(MOD_CONTROL | MOD_SHIFT, VK_F5));

        // The boss key hides the window; no pop-up shows while hidden.
        HWND window = run.Main().GetSafeHwnd();
        ::SendMessageW(window, WM_HOTKEY, ID_BOSS_HOT_KEY, 0);
        EXPECT_FALSE(::IsWindowVisible(window));
        run.OnWindowThread([&] {
            EXPECT_TRUE(run.Main().m_bBossKeyHidden);
            EXPECT_EQ(1, run.Main().ShowNotification(L"hello", L"", L""));
        });
        EXPECT_EQ(0, g_popups);
        ::SendMessageW(window, WM_HOTKEY, ID_BOSS_HOT_KEY, 0);
        EXPECT_TRUE(::IsWindowVisible(window));
        run.OnWindowThread([&] {
            EXPECT_FALSE(run.Main().m_bBossKeyHidden);
            EXPECT_EQ(1, run.Main().ShowNotification(L"hello", L"", L""));
        });
        EXPECT_EQ(1, g_popups);

        // Snapping of the real window: 5 px from the left edge sticks, 11 px not.
        RECT rect;
        ::SetWindowPos(window, NULL, 5, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::GetWindowRect(window, &rect);
        EXPECT_EQ(0, rect.left);
        ::SetWindowPos(window, NULL, 11, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::GetWindowRect(window, &rect);
        EXPECT_EQ(11, rect.left);
    });
    EXPECT_TRUE(ran);
}

TEST_F(MainWindowCommands, TitleBarButtonsRadioStreamsAndSmallMessages)
{
    MainWindowRun run(L"commands-buttons");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({L"bob@x.com"});
        HWND window = run.Main().GetSafeHwnd();
        RECT before, work, rect;
        ::GetWindowRect(window, &before);
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);

        // Maximise fills the work area; restore goes back to the old place.
        ::SendMessageW(window, WM_COMMAND, IDC_MAIN_MAXIMISE, 0);
        ::GetWindowRect(window, &rect);
        EXPECT_TRUE(::EqualRect(&rect, &work));
        run.OnWindowThread([&] { EXPECT_TRUE(run.Main().m_bMaximized); });
        ::SendMessageW(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(300, 20)); // in the caption band
        ::GetWindowRect(window, &rect);
        EXPECT_TRUE(::EqualRect(&rect, &before));
        run.OnWindowThread([&] { EXPECT_FALSE(run.Main().m_bMaximized); });
        ::SendMessageW(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(300, 200)); // below it: nothing
        run.OnWindowThread([&] { EXPECT_FALSE(run.Main().m_bMaximized); });

        // The caption band shows whether the window is active.
        CPixImage active, inactive;
        ::SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
        ASSERT_TRUE(CaptureWindowPicture(window, L"main-window-active.png", &active));
        ::SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
        ASSERT_TRUE(CaptureWindowPicture(window, L"main-window-inactive.png", &inactive));
        ::SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
        int differing = 0;
        for (int y = 0; y < 98; ++y)
            for (int x = 0; x < static_cast<int>(active.GetWidth()); ++x)
                differing += PixelAt(active, x, y) != PixelAt(inactive, x, y);
        EXPECT_GT(differing, 0) << "the inactive title picture is drawn";

        // The browser pane's buttons: type 1 forward, 2 back, others nothing.
        struct Case
        {
            WPARAM type;
            LPARAM enable;
            BOOL back, forward;
        } cases[] = {{1, 0, TRUE, FALSE}, {2, 0, FALSE, FALSE}, {1, 1, FALSE, TRUE}, {3, 1, FALSE, TRUE},
                     {2, 1, TRUE, TRUE}};
        run.OnWindowThread([&] {
            run.Main().m_btnWebBack.EnableWindow(TRUE);
            run.Main().m_btnWebForward.EnableWindow(TRUE);
        });
        for (const Case& c : cases)
        {
            EXPECT_EQ(1, ::SendMessageW(window, WM_USER + 53, c.type, c.enable));
            run.OnWindowThread([&] {
                EXPECT_EQ(c.back, run.Main().m_btnWebBack.IsWindowEnabled()) << c.type << "," << c.enable;
                EXPECT_EQ(c.forward, run.Main().m_btnWebForward.IsWindowEnabled()) << c.type << "," << c.enable;
            });
        }

        // A library that took too long is reported for wParam 2 only.
        EXPECT_EQ(1, ::SendMessageW(window, WM_USER + 49, 1, 0));
        EXPECT_TRUE(g_asked.empty());
        EXPECT_EQ(1, ::SendMessageW(window, WM_USER + 49, 2, 0));
        ASSERT_EQ(1u, g_asked.size());
        EXPECT_EQ(W(Lang(L"INFO_LIST_LOAD_CD_OVERTIMER")), g_asked[0].text);

        // A radio stream of a page: a web stream with the playing id "1",
        // the second outside channel marked; without a radio row the
        // selection stays.
        int selected = -1;
        run.OnWindowThread([&] { selected = run.Main().LeftBar().GetCurSel(); });
        wchar_t* argument = HeapText(L"http://127.0.0.1:9/none.mp3&title&radio");
        ::SendMessageW(window, WM_COMMAND, ID_PAGE_COMPANYPLAYPLS, reinterpret_cast<LPARAM>(argument));
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            EXPECT_TRUE(main.m_bWebStream);
            EXPECT_FALSE(main.m_bSongLoaded);
            EXPECT_EQ(W(L"1"), W(main.m_strPlayingSongId));
            EXPECT_EQ(W(L"tavrin"), W(main.LeftBar().GetItem(3)->id));
            EXPECT_EQ(1, main.LeftBar().GetItem(3)->marked);
            EXPECT_EQ(-1, main.LeftBar().FindItem(L"radio"));
            EXPECT_EQ(selected, main.LeftBar().GetCurSel());
            main.OnStop();
        });
    });
    EXPECT_TRUE(ran);
}
