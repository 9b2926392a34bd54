#pragma once
#include <winsock2.h> // before windows.h, which would bring the old winsock.h
#include <windows.h>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// One record of the stand-in service's log ("log.txt" of its data folder).
struct ServiceRecord
{
    unsigned sequence = 0;
    std::string source; // "web", "image", "service", ...
    std::string event;  // "request", "exchange", ...
    std::map<std::string, std::string> fields;
    std::string Get(const std::string& key) const;
};

// Starts YebService.exe (beside the test program) as a separate process with
// a fresh data folder and any free ports, waits for its ports file, and stops
// it again (its quit event, then termination after a bounded wait). The data
// folder is removed at the stop unless YEB_KEEP_SERVICE_DATA is set.
class ServiceProcess
{
  public:
    ServiceProcess() = default;
    ~ServiceProcess() { Stop(); }
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // ports: fixed ports by listener name (others get any free port).
    bool Start(const std::vector<std::pair<std::string, int>>& ports = {});
    void Stop();
    bool IsRunning() const { return m_process != nullptr; }

    int Port(const std::string& name) const;
    const std::wstring& DataFolder() const { return m_data; }
    // The client's service settings pointing at this service.
    std::wstring ClientIniPath() const { return PathOf("Service.ini"); }
    std::wstring PathOf(const std::string& relative) const;

    bool ReadDataFile(const std::string& relative, std::string& bytes) const;
    bool WriteDataFile(const std::string& relative, const std::string& bytes) const;

    std::vector<ServiceRecord> Records() const;
    std::vector<ServiceRecord> Records(const std::string& source, const std::string& event) const;
    // Waits until a record matches (polling the log); false after the timeout.
    bool WaitForRecord(const std::function<bool(const ServiceRecord&)>& match, DWORD timeoutMs,
                       ServiceRecord* found = nullptr) const;
    // Waits for the record of a web request of that path.
    bool WaitForRequest(const std::string& path, DWORD timeoutMs, ServiceRecord* found = nullptr) const;

  private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
    std::wstring m_data;
    std::map<std::string, int> m_ports;
};
