// Song library view benchmark.
//   LibraryBench client <playlist.xml>   the client's main window started on
//       an own library made of the file (with two lists of 10,000 songs
//       each added): time from the start to the song list showing every
//       song, the time of one switch between the two big lists (best of
//       five), and the working set with the library on screen;
//   LibraryBench floor <playlist.xml>    the same texts in a plain list view
//       of a minimal window: time to show all songs and one switch between
//       the two halves, and its working set.
// Each prints "<mode>_start_ms", "<mode>_switch_ms" and
// "<mode>_working_set_bytes".
#include "AppSetting.h"
#include "ClientApp.h"
#include "DlgMain.h"
#include "LanguageTable.h"
#include "SongLibrary.h"

#include <commctrl.h>
#include <psapi.h>
#include <stdio.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace
{
const wchar_t kUser[] = L"bench@yeb360.com";
const wchar_t kListA[] = L"Half A";
const wchar_t kListB[] = L"Half B";
const UINT WM_RUN_HERE = WM_APP + 7;

double Now()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return c.QuadPart * 1000.0 / f.QuadPart;
}

SIZE_T WorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {sizeof(counters)};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L'\\') + 1);
}

// The file's library with the two big lists: every even song, every odd song;
// with specialLists also the two lists the client adds to every library on
// its first start (pushed songs, recent songs), so that the start measured is
// an ordinary one and not the first, which writes them into the file.
bool LoadWithHalves(LPCWSTR file, CSongLibrary& library, bool specialLists = false)
{
    if (FAILED(library.LoadFromFile(file)))
        return false;
    if (specialLists)
    {
        CPlaylist pushed, recent;
        pushed.SetName(Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"));
        pushed.SetKind(PLAYLIST_KIND_BUDDY);
        recent.SetName(Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME"));
        recent.SetKind(PLAYLIST_KIND_RECENT);
        if (pushed.GetName().IsEmpty() || recent.GetName().IsEmpty())
            return false;
        library.AddOrUpdatePlaylist(pushed);
        library.AddOrUpdatePlaylist(recent);
    }
    CPlaylist a, b;
    a.SetName(kListA);
    b.SetName(kListB);
    for (int i = 0; i < library.GetSongCount(); ++i)
    {
        CSongInfo song;
        library.GetSongAt(i, song);
        (i % 2 ? b : a).AddSongKey(song.GetId(), TRUE);
    }
    library.AddOrUpdatePlaylist(a);
    library.AddOrUpdatePlaylist(b);
    return true;
}

LRESULT CALLBACK HelperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RUN_HERE)
    {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

int RunClient(LPCWSTR file)
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"yeb-library-bench";
    std::wstring music = folder + L"\\music";
    ::CreateDirectoryW(folder.c_str(), NULL);
    ::CreateDirectoryW(music.c_str(), NULL);
    ::SetEnvironmentVariableW(L"YEB_MYMUSIC", music.c_str());
    LanguageTable::Instance().Load((ProgramFolder() + L"lng\\default.LNG").c_str());
    CSongLibrary library;
    if (!LoadWithHalves(file, library, true))
        return 1;
    std::wstring own = music + L"\\yeb360\\lib\\private\\" + kUser + L"\\playlist.xml";
    CreateFoldersAlongPath(own.c_str());
    if (library.SaveToFile(own.c_str()) != S_OK)
        return 1;
    int songs = library.GetSongCount();

    g_pAppSetting = new CAppSetting((folder + L"\\").c_str());
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &HelperProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.lpszClassName = L"LibraryBenchHelper";
    ::RegisterClassW(&wc);
    HWND helper = ::CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    auto onWindowThread = [helper](const std::function<void()>& fn) {
        ::SendMessageW(helper, WM_RUN_HERE, 0, reinterpret_cast<LPARAM>(&fn));
    };

    CClientApp app;
    app.SetUserEmail(kUser);
    CDlgMain::s_runLogin = [](CDlgMain*) -> INT_PTR { return IDOK; };
    double start = Now();
    CDlgMain main;
    app.m_pMainWnd = &main;
    double started = 0, switched = 1e30, shown = 0, signedInMs = 0;
    SIZE_T workingSet = 0;
    std::atomic<bool> ended(false);
    std::thread driver([&] {
        while (!main.GetSafeHwnd() || !::IsWindowVisible(main.GetSafeHwnd()))
            ::Sleep(1);
        shown = Now() - start;
        // Signed in: the main window loads and shows the own library.
        CommandData* signedIn = new CommandData;
        signedIn->code = 1;
        ::SendMessageW(main.GetSafeHwnd(), WM_MAIN_COMMAND, 1, reinterpret_cast<LPARAM>(signedIn));
        signedInMs = Now() - start;
        onWindowThread([&] {
            main.UpdateWindow();
            ::RedrawWindow(main.GetSafeHwnd(), NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
            started = Now() - start;
            printf("client_parses_at_sign_in: %d\n", main.m_ownLibraryFile.GetParseCount());
            if (main.m_listSongs.GetItemCount() != songs)
                started = -1;
            workingSet = WorkingSet();
            int a = main.m_listSongLists.FindList(kListA), b = main.m_listSongLists.FindList(kListB);
            for (int round = 0; round < 5; ++round)
            {
                double t = Now();
                main.ShowSongList(a, FALSE, TRUE);
                main.m_listSongs.UpdateWindow();
                main.ShowSongList(b, FALSE, TRUE);
                main.m_listSongs.UpdateWindow();
                double each = (Now() - t) / 2;
                if (each < switched)
                    switched = each;
            }
            if (main.m_listSongs.GetItemCount() != songs / 2)
                switched = -1;
            double t = Now();
            main.ShowSongList(0, TRUE, TRUE);
            printf("client_fill_all_ms: %.1f\n", Now() - t);
            t = Now();
            main.LoadMyLibrary(TRUE);
            printf("client_reload_ms: %.1f\n", Now() - t);
            t = Now();
            CSongLibrary copy;
            copy.LoadFromFile(own.c_str());
            printf("client_parse_ms: %.1f\n", Now() - t);
            t = Now();
            main.m_listSongs.DeleteAllItems();
            printf("client_clear_ms: %.1f\n", Now() - t);
        });
        while (!ended)
        {
            ::PostMessageW(main.GetSafeHwnd(), WM_CLOSE, 0, 0);
            ::Sleep(100);
        }
    });
    main.DoModal();
    ended = true;
    driver.join();
    app.m_pMainWnd = NULL;
    printf("client_songs: %d\n", songs);
    printf("client_window_shown_ms: %.1f\n", shown);
    printf("client_signed_in_ms: %.1f\n", signedInMs);
    printf("client_start_ms: %.1f\n", started);
    printf("client_switch_ms: %.1f\n", switched);
    printf("client_working_set_bytes: %lu\n", static_cast<unsigned long>(workingSet));
    fflush(stdout);
    // The player library's threads are not waited for.
    ::TerminateProcess(::GetCurrentProcess(), started > 0 && switched > 0 ? 0 : 1);
    return 0;
}

// The same texts as the client's song list: title, artist, duration, board
// text and source.
struct RowTexts
{
    CString texts[5];
};

void Fill(HWND list, const std::vector<RowTexts>& rows, const std::vector<int>& which)
{
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int n = 0;
    for (int index : which)
    {
        const RowTexts& r = rows[index];
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = n;
        item.pszText = const_cast<LPWSTR>((LPCWSTR)r.texts[0]);
        int row = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (int c = 1; c < 5; ++c)
        {
            LVITEMW sub = {};
            sub.iSubItem = c;
            sub.pszText = const_cast<LPWSTR>((LPCWSTR)r.texts[c]);
            ::SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
        }
        ++n;
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, NULL, TRUE);
    ::UpdateWindow(list);
}

int RunFloor(LPCWSTR file)
{
    CSongLibrary library;
    if (!LoadWithHalves(file, library))
        return 1;
    std::vector<RowTexts> rows(library.GetSongCount());
    std::vector<int> all, a, b;
    for (int i = 0; i < library.GetSongCount(); ++i)
    {
        CSongInfo song;
        library.GetSongAt(i, song);
        rows[i].texts[0] = song.GetTitle();
        rows[i].texts[1] = song.GetArtist();
        rows[i].texts[2] = song.GetDurationText();
        rows[i].texts[3] = song.GetBoardValue();
        rows[i].texts[4] = song.GetPath();
        all.push_back(i);
        (i % 2 ? b : a).push_back(i);
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    double start = Now();
    HWND frame = ::CreateWindowExW(0, L"STATIC", L"floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 920, 668, NULL,
                                   NULL, ::GetModuleHandleW(NULL), NULL);
    HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                                  900, 620, frame, NULL, ::GetModuleHandleW(NULL), NULL);
    static const int widths[] = {146, 65, 65, 90, 120};
    for (int c = 0; c < 5; ++c)
    {
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH;
        column.cx = widths[c];
        ::SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    Fill(list, rows, all);
    double started = Now() - start;
    SIZE_T workingSet = WorkingSet();
    double switched = 1e30;
    for (int round = 0; round < 5; ++round)
    {
        double t = Now();
        Fill(list, rows, a);
        Fill(list, rows, b);
        double each = (Now() - t) / 2;
        if (each < switched)
            switched = each;
    }
    printf("floor_songs: %d\n", static_cast<int>(all.size()));
    printf("floor_start_ms: %.1f\n", started);
    printf("floor_switch_ms: %.1f\n", switched);
    printf("floor_working_set_bytes: %lu\n", static_cast<unsigned long>(workingSet));
    ::DestroyWindow(frame);
    return 0;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
    {
        fwprintf(stderr, L"usage: LibraryBench client|floor <playlist.xml>\n");
        return 2;
    }
    std::wstring mode = argv[1];
    if (mode == L"client")
        return RunClient(argv[2]);
    if (mode == L"floor")
        return RunFloor(argv[2]);
    return 2;
}
