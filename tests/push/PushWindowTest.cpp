// Pushing songs from a signed-in main window: the buddy chooser offers only
// present, online buddies and sends code 12 with the song's fields and the
// sent-song record; the song chooser offers only the own permanent songs;
// Cancel sends nothing. The own lists: drops, collecting, data folders.
#include <gtest/gtest.h>

#include "DlgMessage.h"
#include "DlgPushSong.h"
#include "DlgWebSongBrowser.h"
#include "LanguageTable.h"
#include "ListCtrlCD.h"
#include "ListCtrlSong.h"
#include "MainWindowRun.h"
#include "PushTestSupport.h"
#include "RecordingMessaging.h"
#include "SendSongItem.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "SongLibrary.h"
#include "WindowPicture.h"
#include "resource.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
std::vector<std::wstring> g_asked;
std::vector<std::wstring> g_dialogMessages;

int RecordQuestion(LPCWSTR text, int, LPCWSTR, int, CWnd*)
{
    g_asked.push_back(text ? text : L"");
    return IDOK;
}

// Pop-ups (a buddy comes online) are not shown: no windows of their own threads.
void NoPopup(const CString&, const CString&, const CString&) {}

void RecordDialogMessage(LPCWSTR text, CWnd*)
{
    g_dialogMessages.push_back(text ? text : L"");
}



// Three own songs (one without artist), a pushed song of a buddy (type "2")
// in the buddy playlist, and the list "Mix".
void WriteOwnLibrary(const std::wstring& path)
{
    CSongLibrary library;
    library.AddSong(LibrarySong(L"s1", L"Alpha", L"0"));
    library.AddSong(LibrarySong(L"s2", L"Bravo", L"0"));
    library.AddSong(LibrarySong(L"s3", L"Charlie", L"0", L""));
    CSongInfo pushed = LibrarySong(L"b1", L"Echo", L"2");
    pushed.SetOwner(L"bob@x.com");
    library.AddSong(pushed);
    library.AddOrUpdatePlaylist(LibraryList(L"Mix", PLAYLIST_KIND_USER, {L"s1"}));
    AddSpecialLists(library, {L"b1"});
    CreateFoldersAlongPath(path.c_str());
    ASSERT_EQ(S_OK, library.SaveToFile(path.c_str()));
}

// The rows of a push dialog's list as "column0/column1|".
std::wstring DialogRows(HWND dialog, int listId)
{
    HWND list = ::GetDlgItem(dialog, listId);
    std::wstring rows;
    int count = (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i)
    {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        ::SendMessageW(list, LVM_GETITEMW, 0, (LPARAM)&item);
        const SendSongItem* row = reinterpret_cast<const SendSongItem*>(item.lParam);
        rows += std::wstring(row->kind == SendSongItem::KIND_SONG ? row->title : row->nick) + L"/" +
                std::wstring(row->kind == SendSongItem::KIND_SONG ? row->artist : row->buddyId) + L"|";
    }
    return rows;
}

void SelectDialogRow(HWND dialog, int listId, int row)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(::GetDlgItem(dialog, listId), LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
    if (row < 0)
        return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(::GetDlgItem(dialog, listId), LVM_SETITEMSTATE, row, (LPARAM)&item);
}

int SongRow(CDlgMain& main, LPCWSTR title)
{
    for (int i = 0; i < main.m_listSongs.GetItemCount(); ++i)
        if (main.m_listSongs.GetRow(i)->title == title)
            return i;
    return -1;
}

std::string Utf8(const std::wstring& text)
{
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), NULL, 0, NULL, NULL);
    std::string bytes(size, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), &bytes[0], size, NULL, NULL);
    return bytes;
}

class PushWindow : public ::testing::Test
{
  protected:
    ServiceProcess service;
    void SetUp() override
    {
        ASSERT_TRUE(service.Start());
        CServiceAddresses::Get().Load(service.ClientIniPath().c_str());
        CDlgMain::s_askUser = &RecordQuestion;
        CDlgPushSong::s_showMessage = &RecordDialogMessage;
        CDlgMain::s_startPopup = &NoPopup;
        g_asked.clear();
        g_dialogMessages.clear();
    }
    void TearDown() override
    {
        CDlgMain::s_startPopup = NULL;
        CServiceAddresses::Get().Reset();
    }
};
} // namespace

TEST_F(PushWindow, ChoosersOfferOnlineBuddiesAndOwnSongsAndSendCode12)
{
    MainWindowRun run(L"..\\push\\push-dialogs");
    run.App().SetUserEmail(L"me@x.com");
    std::wstring file = run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml";
    WriteOwnLibrary(file);
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({L"ann@x.com", L"bob@x.com", L"cat@x.com"});
        // Ann comes online; Bob and Cat stay offline.
        run.Deliver(MakeRecord(6, {L"ann@x.com", L"", L"", L"0"}));
        messaging.calls.clear();
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            int bravo = SongRow(main, L"Bravo");
            ASSERT_GE(bravo, 0);
            unsigned int duration = main.m_listSongs.GetRow(bravo)->duration;

            // A row's song to one buddy: no selection is refused, Ann is the
            // only buddy offered.
            std::wstring rows;
            EXPECT_TRUE(DriveModal(IDC_FRIEND_LIST, [&] { main.SendSongOfRow(bravo); },
                                   [&](HWND dialog) {
                                       rows = DialogRows(dialog, IDC_FRIEND_LIST);
                                       // The picture is read from the screen: the dialog's first
                                       // paint is given time to reach it.
                                       ::RedrawWindow(dialog, NULL, NULL,
                                                      RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW |
                                                          RDW_ALLCHILDREN);
                                       for (int i = 0; i < 10; ++i)
                                       {
                                           MSG msg;
                                           while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
                                               ::DispatchMessageW(&msg);
                                           ::Sleep(30);
                                       }
                                       SaveWindowPicture(dialog, PushOutputFolder() + L"\\select-friend.png");
                                       SelectDialogRow(dialog, IDC_FRIEND_LIST, -1);
                                       ClickButton(dialog, IDOK);
                                       EXPECT_TRUE(::IsWindowVisible(dialog)) << "stays open without a choice";
                                       SelectDialogRow(dialog, IDC_FRIEND_LIST, 0);
                                       ClickButton(dialog, IDOK);
                                   }));
            EXPECT_EQ(1, (int)std::count(rows.begin(), rows.end(), L'|')) << "only Ann is online: " << rows;
            EXPECT_NE(std::wstring::npos, rows.find(L"/ann@x.com|")) << rows;
            ASSERT_EQ(1u, g_dialogMessages.size());
            EXPECT_EQ(W(Lang(L"INFO_MAIN_DLG_NOT_SEL_SEND_SONG")), g_dialogMessages[0]);

            auto pushed = messaging.Pushed(12);
            ASSERT_EQ(1u, pushed.size());
            const CString* s = pushed[0].s;
            wchar_t units[32];
            swprintf(units, 32, L"%llu", (unsigned long long)duration * 10000ULL);
            const std::wstring expected[8] = {L"ann@x.com", L"Bravo",     L"Hs2",  L"Singer??C:\\music\\Bravo.mp3",
                                              L"me@x.com",  L"4096",      units,   L"s2"};
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(expected[i], W(s[i])) << "slot s" << i + 1;
            ASSERT_FALSE(g_asked.empty());
            EXPECT_NE(std::wstring::npos, g_asked.back().find(L"Bravo")) << "the result text is shown";

            // One own song to a given buddy: only type "0" songs; Cancel sends nothing.
            // (Opened here as the chat window's push button opens it.)
            messaging.calls.clear();
            EXPECT_TRUE(DriveModal(IDC_SELECT_SONG_LIST, [&] { main.RunSongChooser(L"ann@x.com", L"Ann", NULL); },
                                   [&](HWND dialog) {
                                       rows = DialogRows(dialog, IDC_SELECT_SONG_LIST);
                                       SaveWindowPicture(dialog, PushOutputFolder() + L"\\select-song.png");
                                       ClickButton(dialog, IDCANCEL);
                                   }));
            EXPECT_EQ(L"Alpha/Singer|Bravo/Singer|Charlie/|", rows);
            EXPECT_TRUE(messaging.calls.empty());

            // A song without artist still carries "??" and its path.
            EXPECT_TRUE(DriveModal(IDC_SELECT_SONG_LIST, [&] { main.SendSongsToBuddy(L"ann@x.com", L"Ann"); },
                                   [&](HWND dialog) {
                                       SelectDialogRow(dialog, IDC_SELECT_SONG_LIST, 2);
                                       ClickButton(dialog, IDOK);
                                   }));
            pushed = messaging.Pushed(12);
            ASSERT_EQ(1u, pushed.size());
            EXPECT_EQ(L"ann@x.com", W(pushed[0].s[0]));
            EXPECT_EQ(L"Charlie", W(pushed[0].s[1]));
            EXPECT_EQ(L"??C:\\music\\Charlie.mp3", W(pushed[0].s[3]));
            EXPECT_EQ(L"1800000000", W(pushed[0].s[6]));
            EXPECT_EQ(L"s3", W(pushed[0].s[7]));
            EXPECT_EQ(W(CDlgPushSong::SentText(L"Charlie", L"Ann")), g_asked.back());

            // The web song browser's page: three texts and no sent-song record.
            messaging.calls.clear();
            g_dialogMessages.clear();
            EXPECT_TRUE(DriveModal(IDC_FRIEND_LIST,
                                   [&] { CDlgWebSongBrowser::s_pushPage(nullptr, L"http://music.example/page"); },
                                   [&](HWND dialog) { ClickButton(dialog, IDOK); }));
            pushed = messaging.Pushed(12);
            ASSERT_EQ(1u, pushed.size());
            const std::wstring page[8] = {L"ann@x.com", L"http://music.example/page", L"WebBrowser_Push_URL"};
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(page[i], W(pushed[0].s[i])) << "slot s" << i + 1;
            ASSERT_EQ(1u, g_dialogMessages.size());
            EXPECT_EQ(W(Lang(L"INFO_MAIN_DLG_WEBBROWSER_PUSH_OK")), g_dialogMessages[0]);
        });
    });
    EXPECT_TRUE(ran) << "the main window never showed";
    // The sent-song records reach the data server, in order; the page sent none.
    service.WaitForRecord(
        [&](const ServiceRecord&) {
            size_t sent = 0;
            for (auto& r : service.Records("image", "exchange"))
                sent += r.Get("kind") == "7";
            return sent >= 2;
        },
        15000);
    std::vector<std::string> sent;
    for (auto& r : service.Records("image", "exchange"))
        if (r.Get("kind") == "7")
        {
            std::string bytes;
            service.ReadDataFile(r.Get("file"), bytes);
            sent.push_back(bytes);
        }
    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(Utf8(L"me@x.com &.& ann@x.com &.& Hs2 &.& Bravo\n") + '\0', sent[0]);
    EXPECT_EQ(Utf8(L"me@x.com &.& ann@x.com &.& Hs3 &.& Charlie\n") + '\0', sent[1]);
}

TEST_F(PushWindow, OwnListsTakeDropsAndCollectedSongs)
{
    MainWindowRun run(L"..\\push\\own-lists");
    run.App().SetUserEmail(L"me@x.com");
    std::wstring file = run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml";
    WriteOwnLibrary(file);
    RecordingMessaging messaging;
    static INT_PTR collectAnswer = IDOK;
    CDlgMain::s_runCollectDialog = [](CDlgMain*, const CString&) { return collectAnswer; };
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({L"ann@x.com"});
        run.Deliver(MakeRecord(6, {L"ann@x.com", L"", L"", L"0"}));
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            CListCtrlCD& lists = main.m_listSongLists;
            int count = lists.GetItemCount();
            int mix = lists.FindList(L"Mix");
            ASSERT_GE(mix, 0);
            auto select = [&](std::initializer_list<int> rows) {
                main.m_listSongs.SetItemState(-1, 0, LVIS_SELECTED);
                for (int row : rows)
                    main.m_listSongs.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            };
            select({SongRow(main, L"Bravo"), SongRow(main, L"Charlie")});
            messaging.calls.clear();
            // The buddy playlist, the recent list and no row refuse the drop.
            const struct
            {
                int row;
                LRESULT result;
            } drops[] = {{count - 2, 1}, {count - 1, 1}, {-1, 1}};
            for (const auto& d : drops)
                EXPECT_EQ(d.result, main.SendMessage(WM_MAIN_DROP_ON_LIST, 0, d.row)) << "row " << d.row;
            EXPECT_EQ(1, lists.GetRow(count - 2)->songCount) << "buddy playlist unchanged";
            EXPECT_EQ(0, lists.GetRow(count - 1)->songCount) << "recent list unchanged";
            EXPECT_TRUE(messaging.Pushed(38).empty());
            // "Mix" takes both; the buddies hear of the change.
            EXPECT_EQ(0, main.SendMessage(WM_MAIN_DROP_ON_LIST, 0, mix));
            EXPECT_EQ(3, lists.GetRow(mix)->songCount);
            EXPECT_EQ((std::vector<CString>{L"ann@x.com"}), messaging.PushedTo(38));
            // The same drop again adds nothing twice.
            EXPECT_EQ(0, main.SendMessage(WM_MAIN_DROP_ON_LIST, 0, mix));
            EXPECT_EQ(3, lists.GetRow(mix)->songCount);

            // Adding files wants an own list: none chosen, or a special one, is refused.
            g_asked.clear();
            lists.SetItemState(-1, 0, LVIS_SELECTED);
            main.AddSongFiles();
            lists.SetItemState(count - 1, LVIS_SELECTED, LVIS_SELECTED);
            main.AddSongFiles();
            EXPECT_EQ((std::vector<std::wstring>{W(Lang(L"INFO_MAIN_DLG_ADD_SONG_TIP")),
                                                 W(Lang(L"INFO_MAIN_DLG_ADD_SONG_TIP2"))}),
                      g_asked);
        });
        CSongLibrary saved;
        ASSERT_EQ(S_OK, saved.LoadFromFile(file.c_str()));
        CPlaylist mixList;
        ASSERT_EQ(S_OK, saved.GetPlaylistByName(L"Mix", mixList));
        EXPECT_EQ(3, mixList.GetSongCount());

        // Collecting: the owner hears of it (code 14) unless it is one of
        // the service's sender accounts; success is reported either way.
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            const struct
            {
                LPCWSTR owner;
                INT_PTR answer;
                size_t notices;
                size_t reports;
            } cases[] = {
                {L"bob@x.com", IDOK, 1, 1},
                {L"music@yeb360.com", IDOK, 0, 1},
                {L"bob@x.com", IDCANCEL, 0, 0},
            };
            int row = SongRow(main, L"Alpha");
            ASSERT_GE(row, 0);
            for (const auto& c : cases)
            {
                messaging.calls.clear();
                g_asked.clear();
                collectAnswer = c.answer;
                main.m_listSongs.GetRow(row)->owner = c.owner;
                main.CollectSong(row, FALSE);
                auto notices = messaging.Pushed(14);
                EXPECT_EQ(c.notices, notices.size()) << W(c.owner);
                if (!notices.empty())
                {
                    EXPECT_EQ(L"bob@x.com", W(notices[0].s[0]));
                    EXPECT_EQ(L"Alpha", W(notices[0].s[1]));
                    EXPECT_EQ(L"Hs1", W(notices[0].s[2]));
                    EXPECT_EQ(L"Singer", W(notices[0].s[7]));
                }
                EXPECT_EQ(c.reports, g_asked.size()) << W(c.owner);
                if (!g_asked.empty())
                {
                    EXPECT_EQ(W(Lang(L"INFO_COLLECT_SONG_SUCCESS")), g_asked[0]);
                }
                EXPECT_EQ(c.answer == IDOK ? 1u : 0u, messaging.PushedTo(38).size());
            }

            // Data folders: a file where a folder belongs stops the making
            // there; the folders after it are not made.
            std::wstring base = run.MyMusic() + L"\\yeb360\\";
            ::RemoveDirectoryW((base + L"favorite").c_str());
            ::RemoveDirectoryW((base + L"lib\\friend").c_str());
            std::wstring cache = base + L"cache";
            ::RemoveDirectoryW(cache.c_str());
            HANDLE blocker = ::CreateFileW(cache.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            ASSERT_NE(INVALID_HANDLE_VALUE, blocker);
            ::CloseHandle(blocker);
            EXPECT_FALSE(main.CreateDataFolders());
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((base + L"favorite").c_str()));
            ::DeleteFileW(cache.c_str());
            ::SetFileAttributesW((base + L"lib").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
            EXPECT_TRUE(main.CreateDataFolders());
            for (LPCWSTR folder : {L"cache", L"lib\\friend", L"favorite"})
                EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((base + folder).c_str())) << W(folder);
            EXPECT_EQ(0u, ::GetFileAttributesW((base + L"lib").c_str()) & FILE_ATTRIBUTE_READONLY);
            EXPECT_EQ(W(CString(run.MyMusic().c_str()) + L"\\yeb360\\cache\\Hs1.cache"),
                      W(main.GetCacheFilePath(L"Hs1")));
        });
    });
    EXPECT_TRUE(ran) << "the main window never showed";
}
