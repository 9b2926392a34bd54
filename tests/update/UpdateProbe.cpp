// A stand-in program for the update tests: it appends its arguments (the text
// after its own name, UTF-8, one line per start) to "<its path>.cmdline" and
// ends, or with "--wait" in its arguments or "Wait" in its file name stays
// for up to a minute (a program the updater must close or stops waiting for). Copies of it play the client "Yeb.exe", a
// program a package runs, and a program to be closed.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR arguments, int)
{
    wchar_t path[MAX_PATH + 16] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    lstrcatW(path, L".cmdline");
    char line[8192] = {};
    int n = WideCharToMultiByte(CP_UTF8, 0, arguments, -1, line, sizeof(line) - 2, nullptr, nullptr);
    if (n > 0)
    {
        line[n - 1] = '\n';
        HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
        {
            DWORD written = 0;
            WriteFile(file, line, (DWORD)n, &written, nullptr);
            CloseHandle(file);
        }
    }
    if (wcsstr(arguments, L"--wait") || wcsstr(path, L"Wait"))
        Sleep(60000);
    return 0;
}
