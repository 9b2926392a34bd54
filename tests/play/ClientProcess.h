// One Yeb.exe as a user runs it, in a process of its own: the program copied
// into a folder of its own (its settings file and the service settings lie
// beside it) with a My Music of its own, so that two copies on one machine
// keep apart as on two machines. Its windows are found and driven by
// messages from the test.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class ClientProcess
{
  public:
    // folder is emptied and filled with the program; serviceIni points the
    // copy at the stand-in service.
    ClientProcess(const std::wstring& folder, const std::wstring& serviceIni);
    ~ClientProcess() { Stop(); }
    ClientProcess(const ClientProcess&) = delete;
    ClientProcess& operator=(const ClientProcess&) = delete;

    bool Start(const std::wstring& arguments, const std::vector<std::pair<std::wstring, std::wstring>>& env = {});
    // Asks the main window to end the program, then ends it after a bounded wait.
    void Stop();
    // Ends the program at once, as a crash or a pulled plug would.
    void Kill();

    const std::wstring& Folder() const { return m_folder; }
    DWORD ProcessId() const { return m_process.dwProcessId; }
    std::wstring MyMusic() const { return m_folder + L"\\music"; }

    // A visible top-level window of this process that matches, waited for.
    HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs) const;
    // The main window (titled "YEB360") once it shows.
    HWND WaitForMain(DWORD timeoutMs) const;

  private:
    std::wstring m_folder;
    PROCESS_INFORMATION m_process{};
};

// Waits until check holds, pumping nothing (the windows belong to other
// processes); false after the timeout.
bool WaitFor(const std::function<bool()>& check, DWORD timeoutMs);

// The window's text, read by message (works across processes).
std::wstring WindowText(HWND window);
// A child of window (at any depth) with that control id.
HWND FindChild(HWND window, int id);
