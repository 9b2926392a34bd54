// Start-up of Yeb.exe as a user sees it: one copy runs; a second start brings
// the running one to the front and ends; "-l:logout" starts a full second
// copy; every end has exit code -9, and the settings are saved before it.
// The program is copied into a folder of its own so that its settings file
// does not mix with other runs.
#include <gtest/gtest.h>
#include <windows.h>

#include "WindowPicture.h"

#include <string>

namespace
{
const DWORD kExitCode = static_cast<DWORD>(-9);

// A folder of its own below test-output holding a copy of the program with
// the libraries and the language file it loads, and no settings file yet.
std::wstring CopyFolder(const wchar_t* name)
{
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    CreateDirectoryW(folder.c_str(), NULL);
    folder += std::wstring(L"\\") + name;
    CreateDirectoryW(folder.c_str(), NULL);
    std::wstring bin = std::wstring(YEB_BINARY_DIR) + L"\\bin\\";
    for (const wchar_t* file : {L"Yeb.exe", L"Sonatrel.dll", L"Vossel.dll", L"Locvane.dll", L"Kavpng.dll"})
        CopyFileW((bin + file).c_str(), (folder + L"\\" + file).c_str(), FALSE);
    CreateDirectoryW((folder + L"\\lng").c_str(), NULL);
    CopyFileW((bin + L"lng\\default.LNG").c_str(), (folder + L"\\lng\\default.LNG").c_str(), FALSE);
    DeleteFileW((folder + L"\\AppSetting.ini").c_str());
    return folder;
}

// The first copy's folder; the "-l:logout" copy runs from a folder of its own,
// so that its settings file can never stand for the first copy's.
std::wstring Folder()
{
    static std::wstring folder = CopyFolder(L"startup");
    return folder;
}

std::wstring LogoutFolder()
{
    static std::wstring folder = CopyFolder(L"startup-logout");
    return folder;
}

struct Client
{
    PROCESS_INFORMATION pi{};

    bool Start(const wchar_t* args, const std::wstring& folder = Folder())
    {
        std::wstring exe = folder + L"\\Yeb.exe";
        std::wstring line = L"\"" + exe + L"\" " + args;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        return CreateProcessW(exe.c_str(), &line[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &si, &pi) != 0;
    }
    // Exit code after the process ended, or STILL_ACTIVE after ms.
    DWORD Wait(DWORD ms)
    {
        WaitForSingleObject(pi.hProcess, ms);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
    ~Client()
    {
        if (pi.hProcess)
        {
            if (Wait(0) == STILL_ACTIVE)
                TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
};

struct FindMain
{
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainProc(HWND hwnd, LPARAM lp)
{
    FindMain* f = reinterpret_cast<FindMain*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    // The first window a user meets is the login dialog, "YEB360 " and its view.
    // (Its owner is the hidden main window, so it is told apart by its style.)
    if (pid == f->process && !(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) && wcsncmp(text, L"YEB360 ", 7) == 0)
    {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The client's login dialog of a process, waiting up to ms for it.
HWND MainWindowOf(DWORD process, DWORD ms)
{
    DWORD start = GetTickCount();
    do
    {
        FindMain f{process, NULL};
        EnumWindows(&FindMainProc, reinterpret_cast<LPARAM>(&f));
        if (f.found && IsWindowVisible(f.found))
            return f.found;
        Sleep(100);
    } while (GetTickCount() - start < ms);
    return NULL;
}

// Copies a window's pixels from the screen, keeps them as a PNG below
// test-output\startup and returns the colour at (x, y) of the window.
COLORREF CaptureWindow(HWND hwnd, const wchar_t* name, int x, int y)
{
    POINT probe = {x, y};
    COLORREF c = 0;
    SaveWindowPicture(hwnd, Folder() + L"\\" + name, &probe, &c);
    return c;
}

bool WaitVisible(HWND hwnd, DWORD ms)
{
    DWORD start = GetTickCount();
    while (!IsWindowVisible(hwnd) && GetTickCount() - start < ms)
        Sleep(50);
    return IsWindowVisible(hwnd) != 0;
}

// One scenario in one test: the copies meet through a system-wide mutex, so
// they must not run beside other cases.
TEST(Startup, SingleInstanceBringToFrontLogoutCopyAndExitCodes)
{
    Client first;
    ASSERT_TRUE(first.Start(L""));
    HWND main = MainWindowOf(first.pi.dwProcessId, 30000);
    ASSERT_NE(nullptr, main) << "the first copy shows its login dialog";
    // The dialog paints its skin frame: the title bar is the caption blue.
    // Other tests' windows may cover it for a moment, so it is raised and
    // looked at again for a few seconds.
    COLORREF band = 0;
    for (int look = 0; look < 25; ++look)
    {
        SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Sleep(200);
        band = CaptureWindow(main, L"login-window.png", 100, 15);
        if (GetBValue(band) > 150 && GetRValue(band) < 100)
            break;
    }
    SetWindowPos(main, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_GT(GetBValue(band), 150);
    EXPECT_LT(GetRValue(band), 100);

    // Hide it; a second start must bring it back and end by itself.
    ShowWindow(main, SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(main));
    {
        Client second;
        ASSERT_TRUE(second.Start(L""));
        EXPECT_EQ(kExitCode, second.Wait(30000)) << "a second copy ends with -9";
        EXPECT_EQ(NULL, MainWindowOf(second.pi.dwProcessId, 0));
    }
    EXPECT_TRUE(WaitVisible(main, 5000)) << "the running copy came to the front";

    // After a log-out the client starts again while the old one still runs.
    {
        Client again;
        ASSERT_TRUE(again.Start(L"-l:logout", LogoutFolder()));
        HWND second = MainWindowOf(again.pi.dwProcessId, 30000);
        ASSERT_NE(nullptr, second) << "-l:logout starts a full second copy";
        EXPECT_NE(main, second);
        PostMessageW(second, WM_CLOSE, 0, 0);
        EXPECT_EQ(kExitCode, again.Wait(30000));
    }

    // Closing the login dialog ends the client with -9, settings written first:
    // whatever stands in its folder now is removed, so only the end can write it.
    DeleteFileW((Folder() + L"\\AppSetting.ini").c_str());
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((Folder() + L"\\AppSetting.ini").c_str()));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(kExitCode, first.Wait(30000));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((Folder() + L"\\AppSetting.ini").c_str()))
        << "the settings were saved before the process ended";
}
} // namespace
