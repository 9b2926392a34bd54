#include "VosselLibraryFile.h"
#include <windows.h>
#include <map>

namespace
{
std::wstring FromUtf8(const std::string& s)
{
    if (s.empty())
        return std::wstring();
    int n = ::MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n);
    return out;
}

std::wstring DecodeEntities(const std::wstring& s)
{
    std::wstring out;
    for (size_t i = 0; i < s.size(); ++i)
    {
        if (s[i] != L'&')
        {
            out.push_back(s[i]);
            continue;
        }
        size_t semi = s.find(L';', i);
        if (semi == std::wstring::npos || semi - i > 10)
        {
            out.push_back(s[i]);
            continue;
        }
        std::wstring name = s.substr(i + 1, semi - i - 1);
        wchar_t c = 0;
        if (name == L"amp")
            c = L'&';
        else if (name == L"lt")
            c = L'<';
        else if (name == L"gt")
            c = L'>';
        else if (name == L"quot")
            c = L'"';
        else if (name == L"apos")
            c = L'\'';
        else if (name.size() > 1 && name[0] == L'#')
            c = static_cast<wchar_t>(wcstoul(name.c_str() + 1, nullptr, 10));
        if (!c)
        {
            out.push_back(s[i]);
            continue;
        }
        out.push_back(c);
        i = semi;
    }
    return out;
}

bool IsNameChar(wchar_t c)
{
    return iswalnum(c) || c == L'_' || c == L'-' || c == L'.' || c == L':' || c == L'/';
}

// Attributes of one start tag, names upper-cased; `pos` points after the name.
std::map<std::wstring, std::wstring> ReadAttributes(const std::wstring& text, size_t pos)
{
    std::map<std::wstring, std::wstring> attrs;
    while (pos < text.size())
    {
        while (pos < text.size() && iswspace(text[pos]))
            ++pos;
        if (pos >= text.size() || text[pos] == L'>' || text[pos] == L'/')
            break;
        size_t nameStart = pos;
        while (pos < text.size() && IsNameChar(text[pos]))
            ++pos;
        std::wstring name = text.substr(nameStart, pos - nameStart);
        while (pos < text.size() && iswspace(text[pos]))
            ++pos;
        if (name.empty() || pos >= text.size() || text[pos] != L'=')
            break;
        ++pos;
        while (pos < text.size() && iswspace(text[pos]))
            ++pos;
        if (pos >= text.size() || (text[pos] != L'"' && text[pos] != L'\''))
            break;
        wchar_t quote = text[pos++];
        size_t end = text.find(quote, pos);
        if (end == std::wstring::npos)
            break;
        for (wchar_t& c : name)
            c = towupper(c);
        attrs[name] = DecodeEntities(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return attrs;
}
} // namespace

bool VosselLibraryFile::ReadFile(const std::wstring& path, std::string& bytes, size_t maxBytes)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = ::GetFileSizeEx(h, &size) && static_cast<unsigned long long>(size.QuadPart) <= maxBytes;
    if (ok)
    {
        bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        ok = bytes.empty() || (::ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                               got == bytes.size());
    }
    ::CloseHandle(h);
    return ok;
}

std::wstring VosselLibraryFile::FindSongPath(const std::wstring& libraryFile, const std::wstring& songId,
                                             const std::wstring& hash)
{
    std::string bytes;
    if (!ReadFile(libraryFile, bytes, 64 * 1024 * 1024))
        return std::wstring();
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    std::wstring text = FromUtf8(bytes);
    std::wstring byHash;
    for (size_t pos = text.find(L'<'); pos != std::wstring::npos; pos = text.find(L'<', pos + 1))
    {
        if (pos + 3 > text.size() || towupper(text[pos + 1]) != L'M' || towupper(text[pos + 2]) != L'S' ||
            (pos + 3 < text.size() && IsNameChar(text[pos + 3])))
            continue;
        std::map<std::wstring, std::wstring> attrs = ReadAttributes(text, pos + 3);
        const std::wstring& path = attrs[L"B"];
        if (path.empty())
            continue;
        if (!songId.empty() && attrs[L"A"] == songId)
            return path;
        if (byHash.empty() && !hash.empty() && attrs[L"J"] == hash)
            byHash = path;
    }
    return byHash;
}
