#pragma once
// Runs VosselProbe.exe (a client of the messaging library) as a separate
// process with its own My Music folder, sends it commands and collects the
// command records it receives.
#include <windows.h>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// The environment of this process with the given variables set, as a block
// for CreateProcessW with CREATE_UNICODE_ENVIRONMENT.
std::wstring EnvironmentWith(const std::vector<std::pair<std::wstring, std::wstring>>& vars);

struct ProbeRecord
{
    int code = 0;
    int extra = 0;
    std::string s[8]; // UTF-8
    int nullSlots = 0;
    bool onLibraryThread = false;
    const std::string& S(int i) const { return s[i - 1]; }
};

class ProbeProcess
{
  public:
    ProbeProcess() = default;
    ~ProbeProcess() { Stop(); }
    ProbeProcess(const ProbeProcess&) = delete;
    ProbeProcess& operator=(const ProbeProcess&) = delete;

    // myMusic: the process's My Music folder; env: further variables.
    bool Start(const std::wstring& myMusic, const std::vector<std::pair<std::wstring, std::wstring>>& env = {});
    // Sends one command and waits until the probe has run it.
    bool Run(const std::vector<std::string>& fields, DWORD timeoutMs = 10000);
    bool LogIn(int port, const std::string& user, const std::string& password);
    bool Push(int code, const std::vector<std::string>& slots, int extra = 0);

    std::vector<ProbeRecord> Records();
    std::vector<ProbeRecord> Records(int code);
    // Waits for a record (at index `from` or later) that matches; its index in *at.
    bool WaitFor(const std::function<bool(const ProbeRecord&)>& match, DWORD timeoutMs,
                 ProbeRecord* found = nullptr, size_t from = 0, size_t* at = nullptr);
    bool WaitForCode(int code, DWORD timeoutMs, ProbeRecord* found = nullptr, size_t from = 0);
    size_t Count();

    void Kill();
    void Stop();

  private:
    void ReadLoop();

    HANDLE m_process = nullptr;
    HANDLE m_input = nullptr, m_output = nullptr;
    std::thread m_reader;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<ProbeRecord> m_records;
    size_t m_done = 0; // commands answered
    bool m_ended = false;
};
