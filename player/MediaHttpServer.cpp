#include "MediaHttpServer.h"
#include "ByteRange.h"
#include "PercentCoding.h"
#include "SharedSongList.h"
#include <cstdio>
#include <vector>

namespace
{
const wchar_t kFixedCredential[] = L"qz";

// Extension to content type, in the order the table is filled; a later entry
// for the same extension replaces the earlier one.
const char* const kMimeTable[][2] = {
    {"doc", "application/msword"},
    {"bin", "application/octet-stream"},
    {"dll", "application/octet-stream"},
    {"exe", "application/octet-stream"},
    {"pdf", "application/pdf"},
    {"p7c", "application/pkcs7-mime"},
    {"ai", "application/postscript"},
    {"eps", "application/postscript"},
    {"ps", "application/postscript"},
    {"rtf", "application/rtf"},
    {"fdf", "application/vnd.fdf"},
    {"arj", "application/x-arj"},
    {"gz", "application/x-gzip"},
    {"class", "application/x-java-class"},
    {"js", "application/x-javascript"},
    {"lzh", "application/x-lzh"},
    {"lnk", "application/x-ms-shortcut"},
    {"tar", "application/x-tar"},
    {"hlp", "application/x-winhelp"},
    {"cert", "application/x-x509-ca-cert"},
    {"zip", "application/zip"},
    {"cab", "application/x-compressed"},
    {"arj", "application/x-compressed"},
    {"aif", "audio/aiff"},
    {"aifc", "audio/aiff"},
    {"aiff", "audio/aiff"},
    {"au", "audio/basic"},
    {"snd", "audio/basic"},
    {"mid", "audio/midi"},
    {"rmi", "audio/midi"},
    {"mp3", "audio/mpeg"},
    {"cache", "audio/mpeg"},
    {"vox", "audio/voxware"},
    {"wav", "audio/wav"},
    {"wma", "audio/x-ms-wma"},
    {"ra", "audio/x-pn-realaudio"},
    {"ram", "audio/x-pn-realaudio"},
    {"bmp", "image/bmp"},
    {"png", "image/png"},
    {"gif", "image/gif"},
    {"jpeg", "image/jpeg"},
    {"jpg", "image/jpeg"},
    {"tif", "image/tiff"},
    {"tiff", "image/tiff"},
    {"xbm", "image/xbm"},
    {"wrl", "model/vrml"},
    {"htm", "text/html"},
    {"html", "text/html"},
    {"c", "text/plain"},
    {"cpp", "text/plain"},
    {"def", "text/plain"},
    {"h", "text/plain"},
    {"txt", "text/plain"},
    {"rtx", "text/richtext"},
    {"rtf", "text/richtext"},
    {"java", "text/x-java-source"},
    {"css", "text/css"},
    {"mpeg", "video/mpeg"},
    {"mpg", "video/mpeg"},
    {"mpe", "video/mpeg"},
    {"avi", "video/msvideo"},
    {"mov", "video/quicktime"},
    {"qt", "video/quicktime"},
    {"shtml", "wwwserver/html-ssi"},
    {"asa", "wwwserver/isapi"},
    {"asp", "wwwserver/isapi"},
    {"cfm", "wwwserver/isapi"},
    {"dbm", "wwwserver/isapi"},
    {"isa", "wwwserver/isapi"},
    {"plx", "wwwserver/isapi"},
    {"url", "wwwserver/isapi"},
    {"cgi", "wwwserver/isapi"},
    {"php", "wwwserver/isapi"},
    {"wcgi", "wwwserver/isapi"},
};

std::wstring FromAnsi(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

// HTTP date of the current time, always in English whatever the locale.
std::string HttpDate()
{
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    SYSTEMTIME t;
    GetSystemTime(&t);
    char text[64];
    snprintf(text, sizeof(text), "%s, %02d %s %04d %02d:%02d:%02d GMT", days[t.wDayOfWeek % 7], t.wDay,
             months[(t.wMonth + 11) % 12], t.wYear, t.wHour, t.wMinute, t.wSecond);
    return text;
}

// Splits text at every occurrence of a separator.
std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    size_t begin = 0;
    for (;;)
    {
        size_t at = text.find(separator, begin);
        parts.push_back(text.substr(begin, at == std::wstring::npos ? std::wstring::npos : at - begin));
        if (at == std::wstring::npos)
            break;
        begin = at + 1;
    }
    return parts;
}

bool EndsWithNoCase(const std::wstring& text, const wchar_t* tail)
{
    size_t n = wcslen(tail);
    return text.size() >= n && _wcsicmp(text.c_str() + text.size() - n, tail) == 0;
}

unsigned long ParseLength(const std::wstring& text)
{
    return wcstoul(text.c_str(), nullptr, 10);
}

// The value of a request header, its name matched without regard to case;
// empty when the request has none.
std::string HeaderValue(const std::string& request, const char* name)
{
    size_t nameLength = strlen(name);
    for (size_t at = request.find("\r\n"); at != std::string::npos; at = request.find("\r\n", at + 2))
    {
        size_t begin = at + 2;
        if (request.size() - begin > nameLength && request[begin + nameLength] == ':' &&
            _strnicmp(request.c_str() + begin, name, nameLength) == 0)
        {
            size_t value = request.find_first_not_of(" \t", begin + nameLength + 1);
            size_t end = request.find("\r\n", begin);
            if (value == std::string::npos || value > end)
                return std::string();
            return request.substr(value, end - value);
        }
    }
    return std::string();
}
} // namespace

MediaHttpServer::MediaHttpServer(int authRequired) : m_authRequired(authRequired)
{
    for (const auto& row : kMimeTable)
        m_mime[row[0]] = row[1];
}

MediaHttpServer::~MediaHttpServer()
{
    Stop();
}

void MediaHttpServer::OnAccept(SOCKET, const sockaddr_in&) {}

bool MediaHttpServer::OnProgress(unsigned long sent, unsigned long total)
{
    SonatrelCallback callback = m_callback;
    if (!callback)
        return false;
    // An empty body is whole as soon as its header went out.
    long perMille =
        total == 0 ? 1000 : static_cast<long>(static_cast<unsigned long long>(sent) * 1000 / total);
    callback(DLL_WMP_SERVERPROGRESS, perMille);
    return true;
}

bool MediaHttpServer::IsRequestComplete(std::string text)
{
    // A request whose first piece ends inside its method word waits for the rest.
    if (text.size() < 4 && (std::string("GET").compare(0, text.size(), text) == 0 ||
                            std::string("POST").compare(0, text.size(), text) == 0))
        return false;
    if (text.compare(0, 3, "GET") == 0)
        return text.size() >= 4 && text.compare(text.size() - 4, 4, "\r\n\r\n") == 0;
    if (text.compare(0, 4, "POST") == 0)
    {
        size_t end = text.find("\r\n\r\n");
        if (end == std::string::npos)
            return false;
        size_t at = text.find("\r\nContent-Length: ");
        if (at == std::string::npos)
            return true;
        unsigned long long body = strtoull(text.c_str() + at + 18, nullptr, 10);
        return text.size() >= end + 4 + body;
    }
    return true;
}

std::string MediaHttpServer::ContentType(const std::string& extension) const
{
    auto it = m_mime.find(extension);
    return it == m_mime.end() ? "text/plain" : it->second;
}

std::string MediaHttpServer::BuildHeader(const char* status, const std::string& type, unsigned long length,
                                         bool keepAlive, bool stream, const std::string& extra) const
{
    // A whole file offers byte ranges; a stream of a file that is still
    // growing cannot keep that promise, so it makes none.
    char text[1024];
    snprintf(text, sizeof(text),
             "HTTP/1.0 %s\r\nDate: %s\r\nServer: %s\r\n%sContent-Length: %lu\r\n%sConnection: %s\r\n"
             "Content-Type: %s\r\n%sExpires: -1\r\n\r\n",
             status, HttpDate().c_str(), m_serverName.c_str(), stream ? "" : "Accept-Ranges: bytes\r\n", length,
             extra.c_str(), keepAlive ? "Keep-Alive" : "close", type.c_str(),
             stream ? "Cache-Control: no-store, no-cache, must-revalidate\r\n" : "");
    return text;
}

bool MediaHttpServer::Refuse(HttpConnection* connection, int& keepAlive, const char* status,
                             const std::string& extra)
{
    char text[512];
    snprintf(text, sizeof(text),
             "HTTP/1.0 %s\r\nContent-Length: %d\r\n%sContent-Type: text/html\r\nDate: %s\r\nServer: %s\r\n\r\n%s",
             status, 0, extra.c_str(), HttpDate().c_str(), m_serverName.c_str(), "");
    connection->header = text;
    keepAlive = 0;
    return false;
}

bool MediaHttpServer::AnswerFile(HttpConnection* connection, int& keepAlive, const std::string& type,
                                 unsigned long size)
{
    unsigned long first = 0, count = size;
    char range[96];
    switch (ByteRange::Parse(HeaderValue(connection->request, "Range"), size, first, count))
    {
    case ByteRange::Kind::Unsatisfiable:
        snprintf(range, sizeof(range), "Content-Range: bytes */%lu\r\n", size);
        return Refuse(connection, keepAlive, "416 Requested Range Not Satisfiable", range);
    case ByteRange::Kind::Part:
        snprintf(range, sizeof(range), "Content-Range: bytes %lu-%lu/%lu\r\n", first, first + count - 1, size);
        connection->bodyOffset = first;
        connection->contentLength = count;
        connection->header = BuildHeader("206 Partial Content", type, count, keepAlive != 0, false, range);
        return true;
    case ByteRange::Kind::Whole:
        break;
    }
    connection->bodyOffset = 0;
    connection->contentLength = size;
    connection->header = BuildHeader("200 OK", type, size, keepAlive != 0, false);
    return true;
}

bool MediaHttpServer::IsSharedWithBuddies(const std::wstring& path) const
{
    std::wstring full = SharedSongList::Normalize(path);
    if (full.empty())
        return false;
    if (m_sharedSongs && m_sharedSongs->Contains(full))
        return true;
    // Songs lying directly in the cache folder; a name with ":" would open a
    // stream of some other file.
    size_t slash = full.rfind(L'\\');
    return slash != std::wstring::npos && full.find(L':', slash) == std::wstring::npos &&
           full.compare(0, slash + 1, SharedSongList::Normalize(GetDocumentRoot())) == 0;
}

std::wstring MediaHttpServer::DecodePath(const std::string& raw)
{
    std::string bytes = PercentCoding::Decode(raw, true, PercentCoding::Escapes::Lenient);
    size_t zero = bytes.find('\0');
    if (zero != std::string::npos)
        bytes.resize(zero);
    if (bytes.empty())
        return std::wstring();
    // Players send UTF-8; a path whose bytes are not UTF-8 is taken in the ANSI code page.
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                nullptr, 0);
    if (n <= 0)
        return FromAnsi(bytes);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

bool MediaHttpServer::IsSafeRelativePath(const std::wstring& path)
{
    if (path.empty())
        return true;
    if (path[0] == L'\\' || path[0] == L'/' || path.find(L':') != std::wstring::npos)
        return false;
    size_t begin = 0;
    while (begin <= path.size())
    {
        size_t end = path.find_first_of(L"\\/", begin);
        if (end == std::wstring::npos)
            end = path.size();
        std::wstring step = path.substr(begin, end - begin);
        // Windows ignores trailing dots and blanks, so "..." and ".. " are ".." too.
        size_t last = step.find_last_not_of(L". ");
        if (!step.empty() && last == std::wstring::npos && step.find(L"..") != std::wstring::npos)
            return false;
        begin = end + 1;
    }
    return true;
}

bool MediaHttpServer::HandleRequest(HttpConnection* connection, int& keepAlive)
{
    const std::string& request = connection->request;
    const char* status = "200 OK";
    std::string line = request.substr(0, request.find("\r\n"));

    size_t blank = line.find(' ');
    if (blank == std::string::npos)
        return Refuse(connection, keepAlive, "400 Bad Request");
    if (line.compare(0, blank, "GET") != 0)
        return Refuse(connection, keepAlive, "501 Not Implemented");
    connection->methodGet = 1;
    size_t second = line.find(' ', blank + 1);
    if (second == std::string::npos)
        return Refuse(connection, keepAlive, "400 Bad Request");
    std::string path = line.substr(blank + 1, second - blank - 1);
    connection->rawPath = FromAnsi(path);
    if (path == "/")
        path = GetDefaultDocument();
    else if (!path.empty() && path[0] == '/')
        path.erase(0, 1);
    std::string query;
    size_t mark = path.find('?');
    if (mark != std::string::npos)
    {
        query = path.substr(mark + 1);
        path.resize(mark);
    }
    connection->rawQuery = FromAnsi(query);

    if (request.find("\nConnection: Keep-Alive") != std::string::npos)
        keepAlive = 1;

    std::string type = "text/plain";
    size_t dot = path.rfind('.');
    if (dot != std::string::npos)
    {
        std::string extension = path.substr(dot + 1);
        for (char& c : extension)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        type = ContentType(extension);
    }

    auto& params = connection->params;
    params.clear();
    if (m_authRequired)
    {
        for (const std::wstring& piece : Split(connection->rawQuery, L'&'))
        {
            std::vector<std::wstring> parts = Split(piece, L'=');
            if (parts.size() >= 2)
                params[parts[0]] = parts[1];
        }
        if (params.size() < 2 || params[L"user"] != kFixedCredential ||
            params[L"password"] != kFixedCredential)
            return Refuse(connection, keepAlive, "401 Unauthorized");
    }

    std::wstring decoded = DecodePath(path);
    connection->filePath = GetDocumentRoot() + decoded;

    char peer[32];
    snprintf(peer, sizeof(peer), "%d.%d.%d.%d", connection->peer[0], connection->peer[1], connection->peer[2],
             connection->peer[3]);
    bool local = strcmp(peer, "127.0.0.1") == 0;

    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!local)
    {
        // A buddy may only fetch a song of the owner's, of the given size,
        // through "playmusic.dll". Every refusal reads the same, so that a
        // buddy learns nothing about files it may not have.
        auto value = [&params](const wchar_t* key) {
            auto it = params.find(key);
            return it == params.end() ? std::wstring() : it->second;
        };
        std::wstring len = value(L"len");
        std::wstring file = value(L"path");
        if (decoded != L"playmusic.dll" || len.empty() || file.size() < 4 ||
            !(EndsWithNoCase(file, L".mp3") || EndsWithNoCase(file, L".wma")) || !IsSharedWithBuddies(file) ||
            !GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &info) ||
            (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || ParseLength(len) != info.nFileSizeLow)
            return Refuse(connection, keepAlive, "401 Unauthorized");
        connection->filePath = file;
        return AnswerFile(connection, keepAlive, "application/octet-stream", info.nFileSizeLow);
    }

    if (!IsSafeRelativePath(decoded))
        return Refuse(connection, keepAlive, "403 Forbidden");

    auto len = params.find(L"len");
    if (len != params.end() && !len->second.empty())
    {
        // The local player's stream of a cache file that the download is
        // still writing: announce the full size now, follow the file as it grows.
        connection->contentLength = ParseLength(len->second);
        if (ConnectionEntry* entry = connection->entry ? connection->entry : FindOwnEntry())
            entry->growing = 1;
        connection->header = BuildHeader(status, type, connection->contentLength, keepAlive != 0, true);
        return true;
    }
    if (!GetFileAttributesExW(connection->filePath.c_str(), GetFileExInfoStandard, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Refuse(connection, keepAlive, "404 Resource not found");
    return AnswerFile(connection, keepAlive, type, info.nFileSizeLow);
}
