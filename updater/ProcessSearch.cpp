#include "ProcessSearch.h"

#include <tlhelp32.h>
#include <wchar.h>

#include <string>

namespace
{

std::wstring FullPath(LPCWSTR path)
{
    wchar_t full[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
    if (n == 0 || n >= MAX_PATH * 2)
        return path;
    wchar_t longPath[MAX_PATH * 2];
    n = GetLongPathNameW(full, longPath, MAX_PATH * 2);
    return n == 0 || n >= MAX_PATH * 2 ? std::wstring(full) : std::wstring(longPath);
}

std::wstring ImagePath(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return std::wstring();
    wchar_t path[MAX_PATH * 2];
    DWORD size = MAX_PATH * 2;
    std::wstring result;
    if (QueryFullProcessImageNameW(process, 0, path, &size))
        result = FullPath(path);
    CloseHandle(process);
    return result;
}

// Walks the snapshot; match decides per process.
template <typename Match> DWORD FindProcess(Match match)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return (DWORD)-1;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof(entry);
    DWORD found = (DWORD)-1;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (match(entry))
        {
            found = entry.th32ProcessID;
            break;
        }
    CloseHandle(snapshot);
    return found;
}

bool NameMatches(const PROCESSENTRY32W& entry, LPCWSTR name)
{
    std::wstring wanted = std::wstring(name ? name : L"") + L".exe";
    return _wcsicmp(entry.szExeFile, wanted.c_str()) == 0;
}

} // namespace

DWORD FindProcessByExeName(LPCWSTR name)
{
    return FindProcess([name](const PROCESSENTRY32W& entry) { return NameMatches(entry, name); });
}

DWORD FindProcessInFolder(LPCWSTR name, LPCWSTR folder)
{
    std::wstring base = FullPath(folder);
    if (!base.empty() && base.back() != L'\\')
        base += L'\\';
    return FindProcess([&](const PROCESSENTRY32W& entry) {
        if (!NameMatches(entry, name))
            return false;
        std::wstring image = ImagePath(entry.th32ProcessID);
        return image.size() > base.size() && _wcsnicmp(image.c_str(), base.c_str(), base.size()) == 0;
    });
}

DWORD FindProcessByPath(LPCWSTR path)
{
    std::wstring wanted = FullPath(path);
    const wchar_t* slash = wcsrchr(wanted.c_str(), L'\\');
    std::wstring fileName = slash ? slash + 1 : wanted;
    return FindProcess([&](const PROCESSENTRY32W& entry) {
        return _wcsicmp(entry.szExeFile, fileName.c_str()) == 0 &&
               _wcsicmp(ImagePath(entry.th32ProcessID).c_str(), wanted.c_str()) == 0;
    });
}
