// The main window's web side: the page commands it runs (a heap argument
// each, as the browsers post them), the download of a page's song through
// the target choice into the download window, the lists the song-list
// dialogs make, and mini mode: the strip stands in for the hidden window and
// gives it back when asked (WM_USER+47 with 0, then 1 once it has faded).
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "Board.h"
#include "FloatToolbar.h"
#include "Base64Codec.h"
#include "DListItem.h"
#include "DlgCollectSong.h"
#include "DlgSongDownload.h"
#include "DlgWebSongBrowser.h"
#include "DlgWebSongDownloadPre.h"
#include "DownloadTask.h"
#include "ListCtrlDownload.h"
#include "MainWindowRun.h"
#include "RecordingMessaging.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "WindowPicture.h"
#include "resource.h"

#include <functional>
#include <string>
#include <vector>

namespace
{
// The page command as a browser hands it over: the argument a heap copy the
// main window frees (null for none). Run on the window's thread, so the
// command has run when this returns.
void RunPageCommand(MainWindowRun& run, UINT id, const wchar_t* argument)
{
    wchar_t* copy = NULL;
    if (argument)
    {
        copy = new wchar_t[wcslen(argument) + 1];
        wcscpy(copy, argument);
    }
    HWND main = run.Main().GetSafeHwnd();
    run.OnWindowThread([&] { ::SendMessageW(main, WM_COMMAND, id, reinterpret_cast<LPARAM>(copy)); });
}

// Runs the main window with the script; the script must have run (a main
// window that cannot start, say for a port another client holds, fails
// the test instead of passing it unseen).
void RunScript(MainWindowRun& run, const std::function<void()>& script)
{
    bool ran = false;
    run.Run([&] {
        ran = true;
        script();
    });
    EXPECT_TRUE(ran) << "the main window did not start";
}

// The target choice: shown, its file name read, then confirmed (or
// cancelled) from inside its own modal loop.
struct ChoiceRun
{
    int runs = 0;
    int answer = IDC_PRE_OK;
    std::vector<std::wstring> shownNames;
};
ChoiceRun g_choice;
CDlgWebSongDownloadPre* g_openChoice = NULL;

void CALLBACK AnswerChoice(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(NULL, timer);
    if (!g_openChoice || !g_openChoice->GetSafeHwnd())
        return;
    wchar_t name[MAX_PATH] = {};
    ::GetDlgItemTextW(g_openChoice->GetSafeHwnd(), IDC_PRE_FILE_NAME, name, MAX_PATH);
    g_choice.shownNames.push_back(name);
    g_openChoice->SendMessage(WM_COMMAND, g_choice.answer, 0);
}

INT_PTR RunChoice(CDlgWebSongDownloadPre& dialog)
{
    ++g_choice.runs;
    g_openChoice = &dialog;
    ::SetTimer(NULL, 0, 100, &AnswerChoice);
    INT_PTR result = dialog.DoModal();
    g_openChoice = NULL;
    return result;
}

struct TaskSeen
{
    std::wstring url, name, folder, list, cover;
};

std::vector<TaskSeen> DownloadTasks()
{
    std::vector<TaskSeen> tasks;
    CDlgSongDownload* window = CDlgSongDownload::GetOpen();
    if (!window)
        return tasks;
    CListCtrlDownload& list = window->GetList();
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (DownloadTask* task = list.GetTask(i))
            tasks.push_back({W(task->GetUrl()), W(task->GetFileName()), W(task->GetTargetFolder()),
                             W(task->GetSongListName()), W(task->GetCoverAddress())});
    return tasks;
}

class MainWindowWeb : public ::testing::Test
{
  protected:
    ServiceProcess service;
    void SetUp() override
    {
        ASSERT_TRUE(service.Start());
        CServiceAddresses::Get().Load(service.ClientIniPath().c_str());
        g_choice = ChoiceRun();
        m_savedChoice = CDlgMain::s_runDownloadChoice;
        CDlgMain::s_runDownloadChoice = &RunChoice;
    }
    void TearDown() override
    {
        CDlgMain::s_runDownloadChoice = m_savedChoice;
        CServiceAddresses::Get().Reset();
    }
    INT_PTR (*m_savedChoice)(CDlgWebSongDownloadPre&) = nullptr;
};
} // namespace

TEST_F(MainWindowWeb, PageCommandsOfTheProfileTheLibraryAndTheBuddyCard)
{
    MainWindowRun run(L"web-page-commands");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    RunScript(run, [&] {
        run.SignIn({L"ann@x.com"});
        run.OnWindowThread([&] { g_pAppSetting->wPrivacy = 1; });

        struct Case
        {
            const char* what;
            UINT id;
            const wchar_t* argument;
            int profileFlags; // the flags of a pushed profile, -1 none
            const wchar_t* cardAskedOf;
            const wchar_t* shownOwner;
        };
        const Case cases[] = {
            {"company finished sets bit 8 and pushes the profile", ID_PAGE_COMPANYFINISHED, L"", 9, NULL, NULL},
            {"join finished adds bit 16", ID_PAGE_JOINFINISHED, NULL, 25, NULL, NULL},
            {"look over asks for the buddy's card", ID_PAGE_LOOKOVER, L"ann@x.com", -1, L"ann@x.com", NULL},
            {"look over without a buddy asks nothing", ID_PAGE_LOOKOVER, NULL, -1, NULL, NULL},
            {"show list shows the buddy's library", ID_PAGE_SHOWLIST, L"ann@x.com", -1, NULL, L"ann@x.com"},
            {"show list of the own id shows the own library", ID_PAGE_SHOWLIST, L"me@x.com", -1, NULL, L"me@x.com"},
        };
        for (const Case& c : cases)
        {
            SCOPED_TRACE(c.what);
            size_t seen = messaging.calls.size();
            RunPageCommand(run, c.id, c.argument);
            std::vector<RecordedCall> calls(messaging.calls.begin() + seen, messaging.calls.end());
            std::vector<RecordedCall> profiles, cards;
            for (const RecordedCall& call : calls)
            {
                if (call.what == "push" && call.code == 22)
                    profiles.push_back(call);
                if (call.what == "push" && call.code == 37)
                    cards.push_back(call);
            }
            if (c.profileFlags >= 0)
            {
                ASSERT_EQ(1u, profiles.size());
                EXPECT_EQ(std::to_wstring(c.profileFlags), W(profiles[0].s[7]));
                EXPECT_EQ(c.profileFlags, static_cast<int>(g_pAppSetting->wPrivacy));
            }
            else
                EXPECT_TRUE(profiles.empty());
            if (c.cardAskedOf)
            {
                ASSERT_EQ(1u, cards.size());
                EXPECT_EQ(std::wstring(c.cardAskedOf), W(cards[0].s[0]));
            }
            else
                EXPECT_TRUE(cards.empty());
            if (c.shownOwner)
            {
                CString shown;
                run.OnWindowThread([&] { shown = run.Main().m_strShownOwner; });
                EXPECT_EQ(std::wstring(c.shownOwner), W(shown));
            }
        }
    });
}

TEST_F(MainWindowWeb, APagesSongGoesThroughTheTargetChoiceIntoTheDownloadWindow)
{
    MainWindowRun run(L"web-download");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    RunScript(run, [&] {
        run.SignIn({});
        std::wstring folder;
        run.OnWindowThread([&] { folder = W(g_pAppSetting->strSavePath); });

        // Without a web address nothing is asked.
        for (const wchar_t* refused : {(const wchar_t*)NULL, L"", L"file:///C:/windows/win.ini",
                                       L"C:\\music\\a.mp3", L"ftp://h/a.mp3"})
            RunPageCommand(run, ID_PAGE_DOWNLOAD, refused);
        EXPECT_EQ(0, g_choice.runs);

        // Cancelled: nothing is downloaded.
        g_choice.answer = IDC_PRE_CANCEL;
        RunPageCommand(run, ID_PAGE_DOWNLOAD, L"http://127.0.0.1:1/songs/Kept.mp3");
        EXPECT_EQ(1, g_choice.runs);
        run.OnWindowThread([] { EXPECT_EQ(NULL, CDlgSongDownload::GetOpen()); });

        // Names from the address are decoded and cleaned to a plain name.
        g_choice.answer = IDC_PRE_OK;
        struct Case
        {
            const wchar_t* url;
            const wchar_t* name;
        };
        const Case cases[] = {
            {L"http://127.0.0.1:1/songs/Song%20One.mp3?from=page", L"Song One.mp3"},
            {L"http://127.0.0.1:1/x/..%5C..%5Cevil.wma", L"_.._evil.wma"},
            {L"http://127.0.0.1:1/x/a%2Fb%3Ac.mp3", L"a_b_c.mp3"},
        };
        for (const Case& c : cases)
            RunPageCommand(run, ID_PAGE_DOWNLOAD, c.url);
        EXPECT_EQ(4, g_choice.runs);

        // The web song browser's downloads come the same way, with their cover.
        run.OnWindowThread([] {
            CDlgWebSongBrowser::s_startDownload(NULL, L"http://127.0.0.1:1/m/Two.mp3", L"Two.mp3",
                                                L"http://img/SpecialImg/middle_special_7.jpg");
        });
        EXPECT_EQ(5, g_choice.runs);

        run.OnWindowThread([&] {
            std::vector<TaskSeen> tasks = DownloadTasks();
            ASSERT_EQ(4u, tasks.size());
            for (size_t i = 0; i < 3; ++i)
            {
                SCOPED_TRACE(i);
                EXPECT_EQ(std::wstring(cases[i].url), tasks[i].url);
                EXPECT_EQ(std::wstring(cases[i].name), tasks[i].name);
                EXPECT_EQ(std::wstring(cases[i].name), g_choice.shownNames[i + 1]);
                EXPECT_TRUE(tasks[i].cover.empty());
            }
            for (const TaskSeen& task : tasks)
            {
                EXPECT_EQ(W(CString(folder.c_str()).TrimRight(L'\\')), W(CString(task.folder.c_str()).TrimRight(L'\\')));
                EXPECT_EQ(std::wstring::npos, task.name.find_first_of(L"\\/:"));
            }
            EXPECT_EQ(L"Two.mp3", tasks[3].name);
            EXPECT_EQ(L"http://img/SpecialImg/middle_special_7.jpg", tasks[3].cover);

            // Made on the first download, 80 pixels in from the desktop's corner.
            CDlgSongDownload* window = CDlgSongDownload::GetOpen();
            ASSERT_TRUE(window);
            EXPECT_TRUE(window->IsWindowVisible());
            CRect desktop, rect;
            CWnd::GetDesktopWindow()->GetWindowRect(&desktop);
            window->GetWindowRect(&rect);
            EXPECT_EQ(desktop.right - 80, rect.right);
            EXPECT_EQ(desktop.bottom - 80, rect.bottom);
            window->GetList().StopAll(TRUE);
            window->DestroyWindow();
        });
    });
}

TEST_F(MainWindowWeb, ListsMadeInTheSongListDialogsGetTheirRowSecondFromTheEnd)
{
    MainWindowRun run(L"web-new-lists");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    RunScript(run, [&] {
        run.SignIn({L"ann@x.com"});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.LoadMyLibrary(TRUE);
            ASSERT_TRUE(main.IsShowingOwnLibrary());
            // The own library shown: the dialogs change the window's library.
            ASSERT_EQ(&main.m_shownLibrary, CDlgWebSongDownloadPre::s_mainLibrary());
            int before = main.m_listSongLists.GetItemCount();
            CPlaylist made;
            made.SetName(L"From the web");
            main.m_shownLibrary.AddOrUpdatePlaylist(made);
            CDlgWebSongDownloadPre::s_onListCreated(L"From the web");
            EXPECT_EQ(before + 1, main.m_listSongLists.GetItemCount());
            EXPECT_EQ(before - 1, main.m_listSongLists.FindList(L"From the web"));

            // The collect dialog saves the file itself: the row comes from it.
            CSongLibrary file;
            ASSERT_TRUE(SUCCEEDED(file.LoadFromFile(GetClientApp()->GetMyPlaylistPath())));
            CPlaylist collected;
            collected.SetName(L"Collected");
            file.AddOrUpdatePlaylist(collected);
            ASSERT_TRUE(SUCCEEDED(file.SaveToFile(GetClientApp()->GetMyPlaylistPath())));
            CDlgCollectSong::s_onListCreated(L"Collected");
            EXPECT_EQ(before + 2, main.m_listSongLists.GetItemCount());
            EXPECT_EQ(before, main.m_listSongLists.FindList(L"Collected"));

            // A buddy's library shown: no library of the window is offered.
            main.m_strShownOwner = L"ann@x.com";
            EXPECT_EQ(NULL, CDlgWebSongDownloadPre::s_mainLibrary());
            CDlgWebSongDownloadPre::s_onListCreated(L"Not here");
            EXPECT_EQ(before + 2, main.m_listSongLists.GetItemCount());
            main.m_strShownOwner = L"me@x.com";
        });
    });
}

TEST_F(MainWindowWeb, ADownloadedSongIsCountedWhereTheWindowShowsIt)
{
    MainWindowRun run(L"web-downloaded-song");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    RunScript(run, [&] {
        run.SignIn({L"ann@x.com"});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.LoadMyLibrary(TRUE);
            ASSERT_EQ(1, main.CreateSongList(L"Web songs"));
            CString library = GetClientApp()->GetMyPlaylistPath();
            ASSERT_TRUE(SUCCEEDED(main.m_shownLibrary.SaveToFile(library)));
            std::wstring song = run.MyMusic() + L"\\Downloaded.mp3";
            HANDLE file = ::CreateFileW(song.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            ASSERT_NE(INVALID_HANDLE_VALUE, file);
            std::vector<char> bytes(4096, 'x');
            DWORD written = 0;
            ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
            ::CloseHandle(file);

            // The own library shown: the list's row shows the new song.
            ASSERT_FALSE(CListCtrlDownload::AddSongToLibrary(library, song.c_str(), L"Web songs").IsEmpty());
            CListCtrlDownload::s_onSongAdded(L"Web songs");
            CDListItem* row = main.m_listSongLists.GetRow(main.m_listSongLists.FindList(L"Web songs"));
            ASSERT_TRUE(row);
            EXPECT_EQ(1, row->songCount);
            CPlaylist list;
            ASSERT_EQ(S_OK, main.m_shownLibrary.GetPlaylistByName(L"Web songs", list));
            EXPECT_EQ(1, list.GetSongCount());

            // A buddy's library shown: only the own row counts one more.
            main.m_strShownOwner = L"ann@x.com";
            int before = main.LeftBar().GetItem(0)->totalSongs;
            CListCtrlDownload::s_onSongAdded(L"Web songs");
            EXPECT_EQ(before + 1, main.LeftBar().GetItem(0)->totalSongs);
            main.m_strShownOwner = L"me@x.com";
        });
    });
}

TEST_F(MainWindowWeb, TheFloatingToolbarsBoardButtonOpensTheBoardOfItsRow)
{
    MainWindowRun run(L"web-toolbar-board");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    RunScript(run, [&] {
        run.SignIn({});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.LoadMyLibrary(TRUE);
            FloatToolbarRow row;
            row.texts[1] = L"Title of the row";
            row.texts[2] = L"Artist";
            row.texts[3] = L"0123456789abcdef0123456789abcdef";
            CFloatToolbar* bar = CFloatToolbar::GetInstance();
            bar->SetRow(row, 0, 0, 0);
            ASSERT_EQ(1, bar->Show(&main.m_listSongs));
            ASSERT_TRUE(bar->GetSafeHwnd());
            bar->SendMessage(WM_COMMAND, IDC_FLOAT_BOARD, 0);
            // Every button takes the strip away first.
            EXPECT_FALSE(CFloatToolbar::Exists());
            CBoard* board = main.FindOpenBoard(row.texts[3]);
            ASSERT_TRUE(board);
            EXPECT_TRUE(board->GetSafeHwnd() != NULL);
            EXPECT_EQ(W(row.texts[1]), W(board->m_strTitle));
            EXPECT_EQ(L"me@x.com", W(board->GetOwnerId()));
            CFloatToolbar::Destroy();
        });
    });
}

TEST_F(MainWindowWeb, MiniModeHidesTheWindowUntilTheStripGivesItBack)
{
    MainWindowRun run(L"web-mini-mode");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    RunScript(run, [&] {
        run.SignIn({});
        CDlgMain& main = run.Main();
        HWND mainWnd = main.GetSafeHwnd();
        auto stripShown = [&] {
            return main.m_miniPlayer && main.m_miniPlayer->GetSafeHwnd() &&
                   ::IsWindowVisible(main.m_miniPlayer->GetSafeHwnd()) && main.m_miniPlayer->GetAlpha() >= 255;
        };
        auto mainBack = [&] { return !main.m_miniPlayer && !main.m_bMiniMode && ::IsWindowVisible(mainWnd); };

        // What gives the window back: the strip's button, its menu entry
        // (menu 351, item 7) and a double-click in the strip.
        struct Way
        {
            const char* what;
            UINT message;
            WPARAM wParam;
        };
        const Way ways[] = {
            {"the show-main button", WM_COMMAND, IDC_MINI_SHOW_MAIN},
            {"the menu's show-main entry", WM_COMMAND, ID_BUDDY_DELETE},
            {"a double-click in the strip", WM_LBUTTONDBLCLK, 0},
        };
        bool pictured = false;
        int topmostChecked = 0;
        for (const Way& way : ways)
        {
            SCOPED_TRACE(way.what);
            ::PostMessageW(mainWnd, WM_COMMAND, IDC_MAIN_MINI_PLAYER, 0);
            ASSERT_TRUE(run.WaitUntil(stripShown, 5000));
            run.OnWindowThread([&] {
                EXPECT_FALSE(::IsWindowVisible(mainWnd));
                EXPECT_TRUE(main.m_bMiniMode);
                EXPECT_TRUE(g_pAppSetting->bMini);
                CRect strip;
                main.m_miniPlayer->GetWindowRect(&strip);
                EXPECT_GE(strip.Width(), 340);
                EXPECT_EQ(26, strip.Height());
            });
            if (!pictured)
            {
                HWND strip = main.m_miniPlayer->GetSafeHwnd();
                std::wstring folder = SocialOutputFolder();
                folder = folder.substr(0, folder.find_last_of(L'\\')) + L"\\web";
                ::CreateDirectoryW(folder.c_str(), NULL);
                EXPECT_TRUE(SaveWindowPicture(strip, folder + L"\\mini-mode-strip.png"));
                pictured = true;
            }
            HWND strip = main.m_miniPlayer->GetSafeHwnd();
            if (!topmostChecked++)
            {
                // The menu's topmost entries, with the hidden main window as owner.
                ::SendMessageW(strip, WM_COMMAND, ID_WINDOW_TOPMOST, 0);
                EXPECT_TRUE(run.WaitUntil([&] { return (::GetWindowLongW(strip, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 2000));
                ::SendMessageW(strip, WM_COMMAND, ID_WINDOW_NOT_TOPMOST, 0);
                EXPECT_TRUE(run.WaitUntil([&] { return (::GetWindowLongW(strip, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }, 2000));
            }
            ::PostMessageW(strip, way.message, way.wParam, MAKELPARAM(100, 10));
            ASSERT_TRUE(run.WaitUntil(mainBack, 5000));
            EXPECT_FALSE(::IsWindow(strip));
            run.OnWindowThread([] { EXPECT_FALSE(g_pAppSetting->bMini); });
        }

        // The strip asked twice while it fades out: one window comes back.
        ::PostMessageW(mainWnd, WM_COMMAND, IDC_MAIN_MINI_PLAYER, 0);
        ASSERT_TRUE(run.WaitUntil(stripShown, 5000));
        ::PostMessageW(mainWnd, WM_MINI_SHOW_MAIN, 0, 0);
        ::PostMessageW(mainWnd, WM_MINI_SHOW_MAIN, 0, 0);
        ASSERT_TRUE(run.WaitUntil(mainBack, 5000));
    });
}

TEST(MainWindowUpload, TheUploadQuestionCarriesTheSongAsBase64)
{
    struct Case
    {
        const char* what;
        const wchar_t* path;
        LONGLONG size;
        const wchar_t* form;
    };
    const Case cases[] = {
        {"a song file", L"C:\\music\\Song.mp3", 4000,
         L"email=7&nick=Me&songname=Tï&songauthor=A+B&songhash=h1&songtype=mp3&songsize=4000"},
        {"a path without a dot sends the whole path as the type", L"C:\\music\\noext", 0,
         L"email=7&nick=Me&songname=Tï&songauthor=A+B&songhash=h1&songtype=C:\\music\\noext&songsize=0"},
    };
    SongRowData row;
    row.title = L"Tï";
    row.artist = L"A+B";
    row.hash = L"h1";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CString url = CDlgMain::SongUploadRequestUrl(L"up.host:81", L"7", L"Me", row.title, row.artist, row.hash,
                                                     CDlgMain::FileTypeOfPath(c.path), static_cast<int>(c.size));
        const CString prefix = L"http://up.host:81/song_up.php?str=";
        ASSERT_EQ(0, url.Find(prefix));
        CString encoded = url.Mid(prefix.GetLength());
        EXPECT_EQ(-1, encoded.Find(L'+'));
        encoded.Replace(L"%2B", L"+");
        CStringA ascii(encoded);
        std::vector<BYTE> bytes(ascii.GetLength() + 1, 0);
        int length = Base64Codec().Decode(ascii, bytes.data());
        ASSERT_GT(length, 0);
        int wide = ::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes.data()), length, NULL, 0);
        std::wstring form(wide, L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes.data()), length, &form[0], wide);
        EXPECT_EQ(std::wstring(c.form), form);
    }
}
