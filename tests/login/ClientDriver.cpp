#include "ClientDriver.h"

#include "WindowPicture.h"

#include <vector>

namespace driver
{
namespace
{
struct Search
{
    std::wstring title;
    bool prefix;
    HWND found;
};

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp)
{
    Search* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd))
        return TRUE;
    std::wstring title = Title(hwnd);
    if (s->prefix ? title.compare(0, s->title.size(), s->title) == 0 : title == s->title)
    {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND WaitForWindow(const std::wstring& title, bool prefix, DWORD ms)
{
    HWND found = NULL;
    WaitUntil(
        [&] {
            Search s{title, prefix, NULL};
            EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&s));
            found = s.found;
            return found != NULL;
        },
        ms);
    return found;
}

bool WaitUntil(const std::function<bool()>& test, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        if (test())
            return true;
        if (GetTickCount() - start >= ms)
            return false;
        Sleep(50);
    }
}

std::wstring Title(HWND window)
{
    wchar_t text[512] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 511, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, NULL);
    return text;
}

std::wstring Text(HWND dialog, int id)
{
    return Title(GetDlgItem(dialog, id));
}

bool Visible(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE);
}

void Type(HWND dialog, int id, const std::wstring& text)
{
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

RECT Place(HWND dialog, int id)
{
    RECT r{};
    HWND control = GetDlgItem(dialog, id);
    if (control)
    {
        GetWindowRect(control, &r);
        MapWindowPoints(NULL, dialog, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

std::wstring OutputFolder()
{
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    CreateDirectoryW(folder.c_str(), NULL);
    folder += L"\\login";
    CreateDirectoryW(folder.c_str(), NULL);
    return folder;
}

void Capture(HWND window, const std::wstring& name)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(400);
    SaveWindowPicture(window, OutputFolder() + L"\\" + name);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
} // namespace driver
