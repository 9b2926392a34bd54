// The library's exported functions: one session at a time, created by the
// login and ended by the release.
#include "VosselSession.h"
#include "Vossel.h"
#include <memory>
#include <mutex>
#include <thread>

namespace
{
std::mutex g_lock;
std::wstring g_options;
std::shared_ptr<VosselSession> g_session;

std::shared_ptr<VosselSession> Current()
{
    std::lock_guard<std::mutex> hold(g_lock);
    return g_session;
}

std::wstring Text(const wchar_t* s)
{
    return s ? s : L"";
}

// The messaging server named by the options: the address of the first pair
// (or its host name when the address is empty), with an optional ":port".
void ServerFromOptions(const std::wstring& options, std::wstring& host, unsigned short& port)
{
    host = L"127.0.0.1";
    port = 5222;
    size_t amp = options.find(L'&');
    std::wstring name = options.substr(0, amp);
    std::wstring address = amp == std::wstring::npos ? std::wstring() : options.substr(amp + 1);
    address = address.substr(0, address.find(L'&'));
    std::wstring server = address.empty() ? name : address;
    size_t colon = server.rfind(L':');
    if (colon != std::wstring::npos)
    {
        unsigned long p = wcstoul(server.c_str() + colon + 1, nullptr, 10);
        if (p > 0 && p < 65536)
            port = static_cast<unsigned short>(p);
        server.erase(colon);
    }
    if (!server.empty())
        host = server;
}

void EndSession(std::shared_ptr<VosselSession> session)
{
    if (!session)
        return;
    session->Release();
    if (session->IsOwnThread())
    {
        // Released from inside the callback: the reading thread cannot wait
        // for itself, so a helper waits and frees the session.
        std::thread([session]() mutable { session->Join(); session.reset(); }).detach();
        return;
    }
    session->Join();
}
} // namespace

extern "C" {

VOSSEL_API void yebJinSetOptions(const wchar_t* options)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_options = Text(options);
}

VOSSEL_API int yebJinClientLogin(const wchar_t* user, const wchar_t* password, const wchar_t* /*reserved*/,
                                 YebJinCommandCallback callback, HWND /*window*/)
{
    static bool started = false;
    std::shared_ptr<VosselSession> old, fresh;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        if (!started)
        {
            WSADATA wsa;
            started = ::WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
        }
        std::wstring host;
        unsigned short port;
        ServerFromOptions(g_options, host, port);
        old = g_session;
        fresh = std::make_shared<VosselSession>(host, port, Text(user), Text(password), callback);
        g_session = fresh;
    }
    EndSession(old);
    fresh->Start();
    return 0;
}

VOSSEL_API int yebJinPushCommand(CommandData& record)
{
    std::shared_ptr<VosselSession> s = Current();
    return s ? s->PushCommand(record) : -1;
}

VOSSEL_API int yebJinMessage(const wchar_t* buddy, const wchar_t* text)
{
    std::shared_ptr<VosselSession> s = Current();
    return s ? s->Send(VosselFrame(FrameChat).Add(Text(buddy)).Add(Text(text))) : -1;
}

VOSSEL_API int yebJinAddFriend(const wchar_t* address, const wchar_t* text)
{
    std::shared_ptr<VosselSession> s = Current();
    return s ? s->Send(VosselFrame(FrameAddFriend).Add(Text(address)).Add(Text(text))) : -1;
}

VOSSEL_API int yebJinDelFriend(const wchar_t* buddy)
{
    std::shared_ptr<VosselSession> s = Current();
    return s ? s->Send(VosselFrame(FrameDelFriend).Add(Text(buddy))) : -1;
}

VOSSEL_API void yebJinAccept(const wchar_t* requester, int accept)
{
    if (std::shared_ptr<VosselSession> s = Current())
        s->Send(VosselFrame(FrameAccept, 0, accept ? 1 : 0).Add(Text(requester)));
}

VOSSEL_API void yebJinReject(const wchar_t* requester)
{
    if (std::shared_ptr<VosselSession> s = Current())
        s->Send(VosselFrame(FrameReject).Add(Text(requester)));
}

VOSSEL_API void yebJinCancelOldSession()
{
    if (std::shared_ptr<VosselSession> s = Current())
        s->CancelSongTransfer();
}

VOSSEL_API void yebJinRelease(int /*reason*/)
{
    std::shared_ptr<VosselSession> old;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        old.swap(g_session);
    }
    EndSession(old);
}
}
