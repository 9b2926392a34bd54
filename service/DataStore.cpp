#include "DataStore.h"
#include "TextUtil.h"
#include <windows.h>
#include <cstdio>

bool DataStore::Open(const std::wstring& folder)
{
    m_started = GetTickCount();
    m_folder = folder;
    while (!m_folder.empty() && (m_folder.back() == L'\\' || m_folder.back() == L'/'))
        m_folder.pop_back();
    MakeFolders(m_folder + L"\\received\\");
    MakeFolders(m_folder + L"\\www\\");
    DWORD attributes = GetFileAttributesW(m_folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring DataStore::PathOf(const std::string& relative) const
{
    std::wstring path = m_folder + L"\\" + text::Widen(relative);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

// Creates every missing folder level of a path that ends with a backslash.
void DataStore::MakeFolders(const std::wstring& path)
{
    for (size_t i = 0; i < path.size(); ++i)
    {
        if ((path[i] == L'\\' || path[i] == L'/') && i > 0 && path[i - 1] != L':')
            CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    }
}

std::string DataStore::Escape(const std::string& value)
{
    std::string out;
    for (unsigned char c : value)
    {
        if (c < 0x20 || c == '%' || c == 0x7F)
        {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
        else
            out += char(c);
    }
    return out;
}

void DataStore::Log(const std::string& source, const std::string& event, const Fields& fields)
{
    std::lock_guard<std::mutex> hold(m_lock);
    std::string line = std::to_string(++m_sequence) + "\t" + source + "\t" + event;
    for (auto& kv : fields)
        line += "\t" + kv.first + "=" + Escape(kv.second);
    line += "\tms=" + std::to_string(GetTickCount() - m_started) + "\n";
    HANDLE file = CreateFileW(PathOf("log.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, line.data(), (DWORD)line.size(), &written, nullptr);
    CloseHandle(file);
}

std::string DataStore::SaveReceived(const std::string& tag, const std::string& bytes)
{
    unsigned number;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        number = ++m_sequence;
    }
    char name[96];
    std::snprintf(name, sizeof name, "received/%06u-%s.bin", number, tag.c_str());
    WriteFile(name, bytes);
    return name;
}

bool DataStore::ReadFile(const std::string& relative, std::string& bytes) const
{
    HANDLE file = CreateFileW(PathOf(relative).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return true;
}

bool DataStore::WriteFile(const std::string& relative, const std::string& bytes)
{
    std::wstring path = PathOf(relative);
    MakeFolders(path.substr(0, path.find_last_of(L'\\') + 1));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool DataStore::FileExists(const std::string& relative) const
{
    DWORD attributes = GetFileAttributesW(PathOf(relative).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
