#include "SharedSongList.h"
#include <windows.h>
#include <vector>

std::wstring SharedSongList::Normalize(const std::wstring& path)
{
    if (path.empty() || path.find(L'\0') != std::wstring::npos)
        return std::wstring();
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return std::wstring();
    std::vector<wchar_t> full(n + 1);
    n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size())
        return std::wstring();
    CharUpperBuffW(full.data(), n);
    return std::wstring(full.data(), n);
}

void SharedSongList::Add(const std::wstring& path)
{
    std::wstring key = Normalize(path);
    if (key.empty())
        return;
    std::lock_guard<std::mutex> hold(m_lock);
    m_paths.insert(key);
}

void SharedSongList::Remove(const std::wstring& path)
{
    std::wstring key = Normalize(path);
    std::lock_guard<std::mutex> hold(m_lock);
    m_paths.erase(key);
}

void SharedSongList::Clear()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_paths.clear();
}

bool SharedSongList::Contains(const std::wstring& path) const
{
    std::wstring key = Normalize(path);
    if (key.empty())
        return false;
    std::lock_guard<std::mutex> hold(m_lock);
    return m_paths.count(key) != 0;
}
