#include "ShellFolder.h"

#include <shlobj.h>
#include <wchar.h>

namespace
{

ShellSpecialFolderFn g_special = nullptr;
ShellFolderPathFn g_folderPath = nullptr;

const wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

BOOL CallSpecial(HWND window, LPWSTR path, int folder, BOOL create)
{
    return g_special ? g_special(window, path, folder, create) : SHGetSpecialFolderPathW(window, path, folder, create);
}

HRESULT CallFolderPath(HWND window, int folder, HANDLE token, DWORD flags, LPWSTR path)
{
    return g_folderPath ? g_folderPath(window, folder, token, flags, path)
                        : SHGetFolderPathW(window, folder, token, flags, path);
}

// Reads a text value into a buffer of 260 bytes (the size the key was always
// read with); a longer value counts as missing.
bool ReadShortValue(HKEY key, LPCWSTR name, LPWSTR out)
{
    wchar_t buffer[131] = {};
    DWORD type = 0, size = 260;
    if (RegQueryValueExW(key, name, nullptr, &type, (LPBYTE)buffer, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    buffer[size / sizeof(wchar_t) < 130 ? size / sizeof(wchar_t) : 130] = 0;
    if (!buffer[0])
        return false;
    wcscpy(out, buffer);
    return true;
}

// Steps shared by both lookups once the shell has failed. personal fills the
// Personal folder path through the shell.
template <typename PersonalFn> bool FallBackToRegistry(LPWSTR path, bool create, PersonalFn personal)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                      &key) != ERROR_SUCCESS)
        return false;
    bool ok = false;
    wchar_t value[MAX_PATH] = {};
    if (ReadShortValue(key, L"My Music", value))
    {
        wcscpy(path, value);
        ok = true;
    }
    else if (create && ReadShortValue(key, L"Personal", value))
    {
        wchar_t folder[MAX_PATH + 16] = {};
        if (personal(folder) && wcslen(folder) + 10 < MAX_PATH)
        {
            wcscat(folder, L"\\My Music");
            if (CreateDirectoryW(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
            {
                RegSetValueExW(key, L"My Music", 0, REG_SZ, (const BYTE*)folder,
                               (DWORD)((wcslen(folder) + 1) * sizeof(wchar_t)));
                wcscpy(path, folder);
                ok = true;
            }
        }
    }
    RegCloseKey(key);
    return ok;
}

} // namespace

void SetShellFolderFunctions(ShellSpecialFolderFn special, ShellFolderPathFn folderPath)
{
    g_special = special;
    g_folderPath = folderPath;
}

// YEB_MYMUSIC names another My Music folder for this process, so that two
// clients (and their messaging library and updater) can run side by side on
// one machine with separate data folders, as the demo and the tests do.
static bool MyMusicOverride(LPWSTR path)
{
    wchar_t value[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableW(L"YEB_MYMUSIC", value, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    wcscpy(path, value);
    return true;
}

BOOL GetShellSpecialFolderPath(HWND window, LPWSTR path, int folder, BOOL create)
{
    if (!path)
        return FALSE;
    if (folder == SHELL_FOLDER_MYMUSIC && MyMusicOverride(path))
    {
        if (create)
            CreateDirectoryW(path, nullptr);
        return TRUE;
    }
    if (CallSpecial(window, path, folder, create))
        return TRUE;
    if (folder != SHELL_FOLDER_MYMUSIC)
        return FALSE;
    return FallBackToRegistry(path, create != FALSE, [&](LPWSTR personal) {
        return CallSpecial(window, personal, SHELL_FOLDER_PERSONAL, create) != FALSE;
    });
}

HRESULT GetShellFolderPath(HWND window, int folder, HANDLE token, DWORD flags, LPWSTR path)
{
    if (!path)
        return E_INVALIDARG;
    if ((folder & 0xFF) == SHELL_FOLDER_MYMUSIC && MyMusicOverride(path))
    {
        if (folder & SHELL_FOLDER_FLAG_CREATE)
            CreateDirectoryW(path, nullptr);
        return S_OK;
    }
    HRESULT hr = CallFolderPath(window, folder, token, flags, path);
    if (SUCCEEDED(hr))
        return hr;
    if (hr != E_INVALIDARG || (folder & 0xFF) != SHELL_FOLDER_MYMUSIC)
        return hr;
    bool create = (folder & SHELL_FOLDER_FLAG_CREATE) != 0;
    bool ok = FallBackToRegistry(path, create, [&](LPWSTR personal) {
        return SUCCEEDED(CallFolderPath(window, SHELL_FOLDER_PERSONAL | SHELL_FOLDER_FLAG_CREATE, token, 0, personal));
    });
    return ok ? S_OK : hr;
}
