#include "PushTestSupport.h"

namespace
{
int g_marker = 0;
bool g_driven = false;
std::function<void(HWND)> g_drive;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    if (::IsWindowVisible(window) && ::GetDlgItem(window, g_marker))
    {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriveTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = NULL;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || g_driven)
        return;
    ::KillTimer(NULL, id);
    g_driven = true;
    g_drive(dialog);
}
} // namespace

std::wstring PushOutputFolder()
{
    static std::wstring folder;
    if (folder.empty())
    {
        folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
        ::CreateDirectoryW(folder.c_str(), NULL);
        folder += L"\\push";
        ::CreateDirectoryW(folder.c_str(), NULL);
    }
    return folder;
}

bool DriveModal(int marker, const std::function<void()>& open, const std::function<void(HWND)>& drive)
{
    g_marker = marker;
    g_driven = false;
    g_drive = drive;
    UINT_PTR timer = ::SetTimer(NULL, 0, 50, DriveTimer);
    open();
    if (!g_driven)
        ::KillTimer(NULL, timer);
    return g_driven;
}

void ClickButton(HWND dialog, int id)
{
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dialog, id));
}
