#include "PlayerTestUtil.h"
#include "TestFolders.h"
#include <ws2tcpip.h>
#include <shellapi.h>
#include <vector>

namespace playertest
{
namespace
{
struct WinsockUser
{
    WinsockUser()
    {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
    }
};
WinsockUser g_winsock;

} // namespace

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    wchar_t name[64];
    swprintf(name, 64, L"yebplayer-%lu-%ld-%lu", GetCurrentProcessId(), InterlockedIncrement(&counter),
             GetTickCount());
    m_path = std::wstring(base) + name;
    CreateDirectoryW(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

bool WriteBytes(const std::wstring& path, const std::string& bytes, bool append)
{
    HANDLE h = CreateFileW(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           append ? OPEN_ALWAYS : CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok =
        bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::string ReadBytes(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    std::string out;
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof(buffer), &n, nullptr) && n > 0)
        out.append(buffer, n);
    CloseHandle(h);
    return out;
}

int FreePort()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a));
    int length = sizeof(a);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
    closesocket(s);
    return ntohs(a.sin_port);
}

SOCKET Connect(int port, const char* from)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = inet_addr(from);
    if (bind(s, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0)
    {
        closesocket(s);
        return INVALID_SOCKET;
    }
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr("127.0.0.1");
    to.sin_port = htons(static_cast<u_short>(port));
    if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof(to)) != 0)
    {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

namespace
{
// Reads until the peer closes, the wait ends or (when given) the marker arrived.
std::string Receive(SOCKET s, DWORD waitMs, const std::string* marker, bool* closed)
{
    std::string out;
    DWORD begin = GetTickCount();
    if (closed)
        *closed = false;
    std::vector<char> buffer(65536);
    while (GetTickCount() - begin < waitMs && !(marker && out.find(*marker) != std::string::npos))
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval t = {0, 50000};
        if (select(0, &set, nullptr, nullptr, &t) <= 0)
            continue;
        int n = recv(s, buffer.data(), static_cast<int>(buffer.size()), 0);
        if (n <= 0)
        {
            if (closed)
                *closed = true;
            break;
        }
        out.append(buffer.data(), n);
    }
    return out;
}
} // namespace

std::string ReceiveAll(SOCKET s, DWORD waitMs, bool* closed)
{
    return Receive(s, waitMs, nullptr, closed);
}

std::string ReceiveUntil(SOCKET s, const std::string& marker, DWORD waitMs)
{
    return Receive(s, waitMs, &marker, nullptr);
}

std::string Exchange(int port, const std::string& request, const char* from, DWORD waitMs)
{
    SOCKET s = Connect(port, from);
    if (s == INVALID_SOCKET)
        return "(no connection)";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    std::string out = ReceiveAll(s, waitMs);
    closesocket(s);
    return out;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD waitMs)
{
    DWORD begin = GetTickCount();
    while (!condition())
    {
        if (GetTickCount() - begin > waitMs)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

std::wstring TestSong()
{
    return std::wstring(YEB_TEST_DATA) + L"\\sine.mp3";
}

std::string Narrow(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}
} // namespace playertest
