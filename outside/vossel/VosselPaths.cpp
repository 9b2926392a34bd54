#include "VosselPaths.h"
#include <windows.h>
#include <shlobj.h>
#include <vector>

std::wstring VosselPaths::MyMusic()
{
    wchar_t buf[MAX_PATH * 2] = {};
    DWORD n = ::GetEnvironmentVariableW(L"YEB_MYMUSIC", buf, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2)
        return buf;
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_MYMUSIC, nullptr, 0, buf)) && buf[0])
        return buf;
    HKEY key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                        0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS)
    {
        DWORD type = 0, size = sizeof(buf) - sizeof(wchar_t);
        LONG r = ::RegQueryValueExW(key, L"My Music", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
        ::RegCloseKey(key);
        if (r == ERROR_SUCCESS && type == REG_SZ)
        {
            buf[size / sizeof(wchar_t)] = 0;
            return buf;
        }
    }
    return std::wstring();
}

static std::wstring DataFolder()
{
    std::wstring music = VosselPaths::MyMusic();
    if (music.empty())
        return music;
    if (music.back() == L'\\' || music.back() == L'/')
        music.pop_back();
    return music + L"\\yeb360\\";
}

std::wstring VosselPaths::CacheFile(const std::wstring& hash)
{
    std::wstring data = DataFolder();
    if (data.empty() || !IsSafeHash(hash))
        return std::wstring();
    return data + L"cache\\" + hash + L".cache";
}

std::wstring VosselPaths::OwnLibraryFile(const std::wstring& user)
{
    std::wstring data = DataFolder();
    if (data.empty() || !IsSafeName(user))
        return std::wstring();
    return data + L"lib\\private\\" + user + L"\\playlist.xml";
}

std::wstring VosselPaths::FriendLibraryFile(const std::wstring& buddy)
{
    std::wstring data = DataFolder();
    if (data.empty() || !IsSafeName(buddy))
        return std::wstring();
    return data + L"lib\\friend\\" + buddy + L"\\playlist.xml";
}

bool VosselPaths::IsSafeHash(const std::wstring& hash)
{
    if (hash.empty() || hash.size() > 64)
        return false;
    for (wchar_t c : hash)
        if (!((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9')))
            return false;
    return true;
}

bool VosselPaths::IsSafeName(const std::wstring& name)
{
    if (name.empty() || name.size() > 128 || name == L"." || name == L"..")
        return false;
    for (wchar_t c : name)
        if (c < 32 || wcschr(L"\\/:*?\"<>|", c))
            return false;
    // Windows drops trailing dots and blanks, which would alias another name.
    return name.back() != L'.' && name.back() != L' ';
}

bool VosselPaths::MakeParentFolders(const std::wstring& file)
{
    size_t end = file.find_last_of(L"\\/");
    if (end == std::wstring::npos)
        return false;
    std::wstring folder = file.substr(0, end);
    for (size_t i = 0; i <= folder.size(); ++i)
    {
        if (i < folder.size() && folder[i] != L'\\' && folder[i] != L'/')
            continue;
        if (i == 0 || folder[i - 1] == L':')
            continue;
        std::wstring part = folder.substr(0, i);
        if (!::CreateDirectoryW(part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        {
            DWORD attr = ::GetFileAttributesW(part.c_str());
            if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY))
                return false;
        }
    }
    return true;
}
