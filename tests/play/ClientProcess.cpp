#include "ClientProcess.h"

#include "ProbeProcess.h"
#include "TestFolders.h"
#include "resource.h"

namespace
{
struct WindowSearch
{
    DWORD process;
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !::IsWindowVisible(window) || !(*search->match)(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

struct ChildSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(param);
    if (::GetDlgCtrlID(window) != search->id)
        return TRUE;
    search->found = window;
    return FALSE;
}
} // namespace

bool WaitFor(const std::function<bool()>& check, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    for (;;)
    {
        if (check())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(50);
    }
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                               &copied))
        return std::wstring();
    return text;
}

HWND FindChild(HWND window, int id)
{
    ChildSearch search{id, NULL};
    ::EnumChildWindows(window, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

ClientProcess::ClientProcess(const std::wstring& folder, const std::wstring& serviceIni) : m_folder(folder)
{
    RemoveTree(folder);
    ::CreateDirectoryW(folder.c_str(), NULL);
    ::CreateDirectoryW(MyMusic().c_str(), NULL);
    std::wstring bin = std::wstring(YEB_BINARY_DIR) + L"\\bin\\";
    for (const wchar_t* file : {L"Yeb.exe", L"Sonatrel.dll", L"Vossel.dll", L"Locvane.dll", L"Kavpng.dll"})
        ::CopyFileW((bin + file).c_str(), (folder + L"\\" + file).c_str(), FALSE);
    ::CreateDirectoryW((folder + L"\\lng").c_str(), NULL);
    ::CopyFileW((bin + L"lng\\default.LNG").c_str(), (folder + L"\\lng\\default.LNG").c_str(), FALSE);
    for (const wchar_t* file : {L"VersionInfo.ini", L"scrollbar.skin"})
        ::CopyFileW((bin + file).c_str(), (folder + L"\\" + file).c_str(), FALSE);
    ::CopyFileW(serviceIni.c_str(), (folder + L"\\Service.ini").c_str(), FALSE);
}

bool ClientProcess::Start(const std::wstring& arguments, const std::vector<std::pair<std::wstring, std::wstring>>& env)
{
    std::vector<std::pair<std::wstring, std::wstring>> vars = env;
    vars.emplace_back(L"YEB_MYMUSIC", MyMusic());
    std::wstring block = EnvironmentWith(vars);
    std::wstring exe = m_folder + L"\\Yeb.exe";
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    return ::CreateProcessW(exe.c_str(), &line[0], NULL, NULL, FALSE, CREATE_UNICODE_ENVIRONMENT, &block[0],
                            m_folder.c_str(), &startup, &m_process) != 0;
}

void ClientProcess::Stop()
{
    if (!m_process.hProcess)
        return;
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
    {
        HWND main = WaitForMain(0);
        if (main)
            ::PostMessageW(main, WM_COMMAND, ID_APP_EXIT_CLIENT, 0);
        if (!main || ::WaitForSingleObject(m_process.hProcess, 15000) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 1);
        ::WaitForSingleObject(m_process.hProcess, 5000);
    }
    ::CloseHandle(m_process.hProcess);
    ::CloseHandle(m_process.hThread);
    m_process = PROCESS_INFORMATION{};
}

void ClientProcess::Kill()
{
    if (!m_process.hProcess)
        return;
    ::TerminateProcess(m_process.hProcess, 1);
    ::WaitForSingleObject(m_process.hProcess, 10000);
    ::CloseHandle(m_process.hProcess);
    ::CloseHandle(m_process.hThread);
    m_process = PROCESS_INFORMATION{};
}

HWND ClientProcess::WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs) const
{
    WindowSearch search{m_process.dwProcessId, &match, NULL};
    WaitFor(
        [&] {
            ::EnumWindows(&MatchTopWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != NULL;
        },
        timeoutMs);
    return search.found;
}

HWND ClientProcess::WaitForMain(DWORD timeoutMs) const
{
    return WaitForWindow([](HWND window) { return WindowText(window) == L"YEB360"; }, timeoutMs);
}
