#include "ServiceHost.h"
#include "SocketStream.h"
#include "TextUtil.h"
#include <ws2tcpip.h>
#include <thread>

ServiceHost::ServiceHost() : m_users(m_data)
{
    // Whoever started the service stops it by setting this event (the test
    // fixture does); Ctrl+C does the same.
    wchar_t name[64];
    wsprintfW(name, L"YebService-Quit-%lu", GetCurrentProcessId());
    m_quit = CreateEventW(nullptr, TRUE, FALSE, name);
}

ServiceHost::~ServiceHost()
{
    for (Listener* listener : m_listeners)
    {
        if (listener->socket != INVALID_SOCKET)
            closesocket(listener->socket);
        delete listener;
    }
    delete m_web;
    CloseHandle(m_quit);
}

HttpServer& ServiceHost::Web()
{
    if (!m_web)
    {
        m_web = new HttpServer(m_data);
        HttpServer* web = m_web;
        AddListener("web", [web](SocketStream& connection) { web->Serve(connection); });
    }
    return *m_web;
}

void ServiceHost::AddListener(const std::string& name, ConnectionHandler handler)
{
    Listener* listener = new Listener;
    listener->name = name;
    listener->handler = std::move(handler);
    m_listeners.push_back(listener);
}

int ServiceHost::Port(const std::string& name) const
{
    for (const Listener* listener : m_listeners)
        if (listener->name == name)
            return listener->port;
    return 0;
}

bool ServiceHost::HasListener(const std::string& name) const
{
    for (const Listener* listener : m_listeners)
        if (listener->name == name)
            return true;
    return false;
}

void ServiceHost::AddServerEntry(const ServerEntry& entry)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_servers.push_back(entry);
}

std::vector<ServerEntry> ServiceHost::ServerEntries()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_servers;
}

void ServiceHost::AddUpdateLocation(const std::string& d, const std::string& v)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_updates.emplace_back(d, v);
}

std::vector<std::pair<std::string, std::string>> ServiceHost::UpdateLocations()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_updates;
}

void ServiceHost::SetClientSetting(const std::string& key, const std::string& value)
{
    std::lock_guard<std::mutex> hold(m_lock);
    for (auto& kv : m_clientSettings)
        if (kv.first == key)
        {
            kv.second = value;
            return;
        }
    m_clientSettings.emplace_back(key, value);
}

bool ServiceHost::Bind(std::string& error)
{
    for (auto& requested : m_requestedPorts)
        if (!HasListener(requested.first))
        {
            error = "no module listens on a port named \"" + requested.first + "\"";
            return false;
        }
    for (Listener* listener : m_listeners)
    {
        auto requested = m_requestedPorts.find(listener->name);
        int port = requested == m_requestedPorts.end() ? 0 : requested->second;
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons((u_short)port);
        if (s == INVALID_SOCKET || bind(s, (sockaddr*)&address, sizeof address) != 0 || listen(s, SOMAXCONN) != 0)
        {
            error = "cannot listen on port " + std::to_string(port) + " for \"" + listener->name + "\"";
            if (s != INVALID_SOCKET)
                closesocket(s);
            return false;
        }
        int length = sizeof address;
        getsockname(s, (sockaddr*)&address, &length);
        listener->socket = s;
        listener->port = ntohs(address.sin_port);
    }
    return true;
}

void ServiceHost::AcceptLoop(Listener* listener)
{
    for (;;)
    {
        SOCKET s = accept(listener->socket, nullptr, nullptr);
        if (s == INVALID_SOCKET)
        {
            if (WaitForSingleObject(m_quit, 0) == WAIT_OBJECT_0)
                return;
            Sleep(10);
            continue;
        }
        ConnectionHandler handler = listener->handler;
        std::thread([handler, s]() {
            SocketStream connection(s);
            handler(connection);
        }).detach();
    }
}

void ServiceHost::StartAccepting()
{
    for (Listener* listener : m_listeners)
        std::thread(&ServiceHost::AcceptLoop, this, listener).detach();
    DataStore::Fields fields;
    for (Listener* listener : m_listeners)
        fields.emplace_back(listener->name, std::to_string(listener->port));
    m_data.Log("service", "started", fields);
}

// Writes a whole file at once (under a temporary name, then renamed), so that
// a reader never sees a half-written file.
static bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    std::wstring temporary = path + L".tmp";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool ServiceHost::WriteFiles(const std::vector<std::wstring>& clientIniFiles, const std::wstring& portsFile)
{
    std::string ini = "; Written by YebService: the client's service addresses on loopback.\r\n[Service]\r\n";
    {
        std::lock_guard<std::mutex> hold(m_lock);
        for (auto& kv : m_clientSettings)
            ini += kv.first + "=" + kv.second + "\r\n";
    }
    for (auto& path : clientIniFiles)
        if (!WriteWholeFile(path, ini))
            return false;
    std::string ports = "[ports]\r\n";
    for (Listener* listener : m_listeners)
        ports += listener->name + "=" + std::to_string(listener->port) + "\r\n";
    ports += "[service]\r\npid=" + std::to_string(GetCurrentProcessId()) + "\r\n";
    return portsFile.empty() || WriteWholeFile(portsFile, ports);
}

void ServiceHost::WaitForQuit()
{
    WaitForSingleObject(m_quit, INFINITE);
    m_data.Log("service", "stopped", {});
}
