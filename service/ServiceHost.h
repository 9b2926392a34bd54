#pragma once
#include "DataStore.h"
#include "HttpServer.h"
#include "UserDirectory.h"
#include <winsock2.h>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class SocketStream;

// One server entry of the configuration document "/configure.php".
struct ServerEntry
{
    std::string type, domain, host, port, maxLoad, load, state, name;
};

// Runs the stand-in service: binds one listening socket per named port
// (given on the command line, 0 for any free one), accepts connections on a
// thread per listener and serves each connection on a thread of its own.
// Shared state of the modules lives here: the data folder, the web server's
// routes, the user ids, the configuration entries and the client's settings.
class ServiceHost
{
  public:
    using ConnectionHandler = std::function<void(SocketStream&)>;

    ServiceHost();
    ~ServiceHost();

    DataStore& Data() { return m_data; }
    UserDirectory& Users() { return m_users; }
    // The web server; its listener "web" is created by the first call.
    HttpServer& Web();
    void AddListener(const std::string& name, ConnectionHandler handler);

    void SetRequestedPort(const std::string& name, int port) { m_requestedPorts[name] = port; }
    int Port(const std::string& name) const;
    bool HasListener(const std::string& name) const;
    const char* LoopbackHost() const { return "127.0.0.1"; }

    void AddServerEntry(const ServerEntry& entry);
    std::vector<ServerEntry> ServerEntries();
    void AddUpdateLocation(const std::string& d, const std::string& v);
    std::vector<std::pair<std::string, std::string>> UpdateLocations();
    // A key of the section [Service] of the client's "Service.ini".
    void SetClientSetting(const std::string& key, const std::string& value);

    // Binds every listener; fails when a port cannot be bound or a port was
    // requested for a name that no module listens on.
    bool Bind(std::string& error);
    void StartAccepting();
    // Writes the client settings to the given files and the ports to portsFile (last, so
    // that a reader who sees the ports file finds everything ready).
    bool WriteFiles(const std::vector<std::wstring>& clientIniFiles, const std::wstring& portsFile);
    void WaitForQuit();

  private:
    struct Listener
    {
        std::string name;
        ConnectionHandler handler;
        SOCKET socket = INVALID_SOCKET;
        int port = 0;
    };
    void AcceptLoop(Listener* listener);

    DataStore m_data;
    UserDirectory m_users;
    HttpServer* m_web = nullptr;
    std::vector<Listener*> m_listeners;
    std::map<std::string, int> m_requestedPorts;
    std::mutex m_lock;
    std::vector<ServerEntry> m_servers;
    std::vector<std::pair<std::string, std::string>> m_updates;
    std::vector<std::pair<std::string, std::string>> m_clientSettings;
    HANDLE m_quit;
};
