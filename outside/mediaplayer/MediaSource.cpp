#include "MediaSource.h"
#include <ws2tcpip.h>
#include <cstdlib>
#include <cstring>

namespace
{
const size_t kMaxResponseHeader = 16 * 1024;

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

// Path characters a player percent-encodes in a request line.
std::string EncodePath(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path)
    {
        if (c <= 0x20 || c >= 0x7F)
        {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
        else
            out += static_cast<char>(c);
    }
    return out;
}
} // namespace

MediaSource::MediaSource(volatile LONG* cancel) : m_cancel(cancel) {}

MediaSource::~MediaSource()
{
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    if (m_winsock)
        WSACleanup();
}

bool MediaSource::SplitHttpUrl(const std::wstring& url, std::string& host, unsigned short& port,
                               std::string& path)
{
    if (_wcsnicmp(url.c_str(), L"http://", 7) != 0)
        return false;
    std::string rest = ToUtf8(url.substr(7));
    size_t slash = rest.find('/');
    std::string authority = rest.substr(0, slash);
    path = slash == std::string::npos ? "/" : EncodePath(rest.substr(slash));
    size_t colon = authority.rfind(':');
    port = 80;
    if (colon != std::string::npos)
    {
        long value = strtol(authority.c_str() + colon + 1, nullptr, 10);
        if (value <= 0 || value > 65535)
            return false;
        port = static_cast<unsigned short>(value);
        authority.resize(colon);
    }
    host = authority;
    return !host.empty();
}

bool MediaSource::Open(const std::wstring& url)
{
    if (_wcsnicmp(url.c_str(), L"http://", 7) == 0)
        return OpenHttp(url);
    std::wstring path = url;
    if (_wcsnicmp(path.c_str(), L"file:///", 8) == 0)
    {
        path = path.substr(8);
        for (wchar_t& c : path)
            if (c == L'/')
                c = L'\\';
    }
    m_file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    if (GetFileSizeEx(m_file, &size))
    {
        m_size = static_cast<unsigned long long>(size.QuadPart);
        m_sizeKnown = true;
    }
    return true;
}

bool MediaSource::WaitReadable()
{
    while (!*m_cancel)
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(m_socket, &set);
        timeval wait = {0, 100000};
        int r = select(0, &set, nullptr, nullptr, &wait);
        if (r < 0)
            return false;
        if (r > 0)
            return true;
    }
    return false;
}

bool MediaSource::OpenHttp(const std::wstring& url)
{
    std::string host, path;
    unsigned short port = 80;
    if (!SplitHttpUrl(url, host, port, path))
        return false;
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return false;
    m_winsock = true;

    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    char service[8];
    snprintf(service, sizeof(service), "%u", port);
    if (getaddrinfo(host.c_str(), service, &hints, &found) != 0 || !found)
        return false;
    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    bool connected = m_socket != INVALID_SOCKET &&
                     connect(m_socket, found->ai_addr, static_cast<int>(found->ai_addrlen)) == 0;
    freeaddrinfo(found);
    if (!connected)
        return false;

    std::string request = "GET " + path + " HTTP/1.0\r\nHost: " + host + ":" + service +
                          "\r\nAccept: */*\r\nUser-Agent: YebStandInPlayer/1.0\r\n\r\n";
    for (size_t sent = 0; sent < request.size();)
    {
        int n = send(m_socket, request.data() + sent, static_cast<int>(request.size() - sent), 0);
        if (n <= 0)
            return false;
        sent += n;
    }

    std::string header;
    size_t end = std::string::npos;
    char buffer[4096];
    while ((end = header.find("\r\n\r\n")) == std::string::npos)
    {
        if (header.size() > kMaxResponseHeader || !WaitReadable())
            return false;
        int n = recv(m_socket, buffer, sizeof(buffer), 0);
        if (n <= 0)
            return false;
        header.append(buffer, n);
    }
    m_pending = header.substr(end + 4);
    header.resize(end + 2);
    // "HTTP/1.x 200 ..." is the only answer that carries the song.
    size_t blank = header.find(' ');
    if (blank == std::string::npos || atoi(header.c_str() + blank + 1) != 200)
        return false;
    for (size_t line = 0; line < header.size();)
    {
        size_t next = header.find("\r\n", line);
        std::string field = header.substr(line, next - line);
        if (_strnicmp(field.c_str(), "Content-Length:", 15) == 0)
        {
            m_size = strtoull(field.c_str() + 15, nullptr, 10);
            m_sizeKnown = true;
        }
        line = next == std::string::npos ? header.size() : next + 2;
    }
    return true;
}

int MediaSource::Read(char* buffer, int size)
{
    if (*m_cancel)
        return -1;
    if (m_sizeKnown && m_read >= m_size)
        return 0;
    if (m_sizeKnown && static_cast<unsigned long long>(size) > m_size - m_read)
        size = static_cast<int>(m_size - m_read);
    int got = 0;
    if (m_file != INVALID_HANDLE_VALUE)
    {
        DWORD n = 0;
        if (!ReadFile(m_file, buffer, static_cast<DWORD>(size), &n, nullptr))
            return -1;
        got = static_cast<int>(n);
    }
    else if (!m_pending.empty())
    {
        got = static_cast<int>(m_pending.size() < static_cast<size_t>(size) ? m_pending.size() : size);
        memcpy(buffer, m_pending.data(), got);
        m_pending.erase(0, got);
    }
    else
    {
        if (!WaitReadable())
            return -1;
        got = recv(m_socket, buffer, size, 0);
        if (got < 0)
            return -1;
    }
    m_read += got;
    return got;
}
