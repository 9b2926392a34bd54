#include "ServiceProcess.h"
#include "TestFolders.h"
#include <cstdlib>
#include <sstream>

namespace
{
std::wstring Widen(const std::string& s)
{
    if (s.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), &out[0], n);
    return out;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring ProgramName()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, n);
    name = name.substr(name.find_last_of(L'\\') + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

std::string Unescape(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i)
    {
        if (s[i] == '%' && i + 2 < s.size())
        {
            out += char(std::strtol(s.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        }
        else
            out += s[i];
    }
    return out;
}
} // namespace

std::string ServiceRecord::Get(const std::string& key) const
{
    auto it = fields.find(key);
    return it == fields.end() ? std::string() : it->second;
}

bool ServiceProcess::Start(const std::vector<std::pair<std::string, int>>& ports)
{
    Stop();
    static LONG counter = 0;
    wchar_t suffix[64];
    wsprintfW(suffix, L"-%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
    std::wstring folder = ProgramFolder();
    std::wstring root = folder.substr(0, folder.find_last_of(L'\\')) + L"\\service-data";
    CreateDirectoryW(root.c_str(), nullptr);
    m_data = root + L"\\" + ProgramName() + suffix;
    RemoveTree(m_data);
    CreateDirectoryW(m_data.c_str(), nullptr);
    std::wstring portsFile = m_data + L"\\ports.ini";

    std::wstring command = L"\"" + folder + L"\\YebService.exe\" --data \"" + m_data + L"\" --ports-file \"" +
                           portsFile + L"\"";
    for (auto& port : ports)
        command += L" --port " + Widen(port.first) + L"=" + std::to_wstring(port.second);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, m_data.c_str(),
                        &startup, &info))
        return false;
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_processId = info.dwProcessId;

    // The service writes its ports file last, once everything is ready.
    for (int waited = 0; waited < 30000; waited += 20)
    {
        if (GetFileAttributesW(portsFile.c_str()) != INVALID_FILE_ATTRIBUTES)
        {
            wchar_t names[1024];
            DWORD n = GetPrivateProfileStringW(L"ports", nullptr, L"", names, 1024, portsFile.c_str());
            for (wchar_t* name = names; name < names + n && *name; name += wcslen(name) + 1)
            {
                char narrow[128];
                WideCharToMultiByte(CP_UTF8, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr);
                m_ports[narrow] = GetPrivateProfileIntW(L"ports", name, 0, portsFile.c_str());
            }
            return true;
        }
        if (WaitForSingleObject(m_process, 20) == WAIT_OBJECT_0)
            break;
    }
    Stop();
    return false;
}

void ServiceProcess::Stop()
{
    if (m_process)
    {
        wchar_t name[64];
        wsprintfW(name, L"YebService-Quit-%lu", m_processId);
        HANDLE quit = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
        if (quit)
        {
            SetEvent(quit);
            CloseHandle(quit);
        }
        if (WaitForSingleObject(m_process, 5000) != WAIT_OBJECT_0)
        {
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, 5000);
        }
        CloseHandle(m_process);
        m_process = nullptr;
    }
    if (!m_data.empty() && !GetEnvironmentVariableW(L"YEB_KEEP_SERVICE_DATA", nullptr, 0))
        RemoveTree(m_data);
    m_data.clear();
    m_ports.clear();
}

int ServiceProcess::Port(const std::string& name) const
{
    auto it = m_ports.find(name);
    return it == m_ports.end() ? 0 : it->second;
}

std::wstring ServiceProcess::PathOf(const std::string& relative) const
{
    std::wstring path = m_data + L"\\" + Widen(relative);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

bool ServiceProcess::ReadDataFile(const std::string& relative, std::string& bytes) const
{
    HANDLE file = CreateFileW(PathOf(relative).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    char buffer[65536];
    DWORD got;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return true;
}

bool ServiceProcess::WriteDataFile(const std::string& relative, const std::string& bytes) const
{
    std::wstring path = PathOf(relative);
    for (size_t i = m_data.size() + 1; i < path.size(); ++i)
        if (path[i] == L'\\')
            CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::vector<ServiceRecord> ServiceProcess::Records() const
{
    std::vector<ServiceRecord> records;
    std::string log;
    if (!ReadDataFile("log.txt", log))
        return records;
    log.erase(log.find_last_of('\n') + 1); // a last line still being written waits for the next look
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line))
    {
        std::vector<std::string> parts;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            parts.push_back(line.substr(start, tab - start));
        parts.push_back(line.substr(start));
        if (parts.size() < 3)
            continue; // a line still being written
        ServiceRecord record;
        record.sequence = std::strtoul(parts[0].c_str(), nullptr, 10);
        record.source = parts[1];
        record.event = parts[2];
        for (size_t i = 3; i < parts.size(); ++i)
        {
            size_t eq = parts[i].find('=');
            if (eq != std::string::npos)
                record.fields[parts[i].substr(0, eq)] = Unescape(parts[i].substr(eq + 1));
        }
        records.push_back(record);
    }
    return records;
}

std::vector<ServiceRecord> ServiceProcess::Records(const std::string& source, const std::string& event) const
{
    std::vector<ServiceRecord> matching;
    for (auto& record : Records())
        if (record.source == source && record.event == event)
            matching.push_back(record);
    return matching;
}

bool ServiceProcess::WaitForRecord(const std::function<bool(const ServiceRecord&)>& match, DWORD timeoutMs,
                                   ServiceRecord* found) const
{
    DWORD start = GetTickCount();
    for (;;)
    {
        for (auto& record : Records())
            if (match(record))
            {
                if (found)
                    *found = record;
                return true;
            }
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
}

bool ServiceProcess::WaitForRequest(const std::string& path, DWORD timeoutMs, ServiceRecord* found) const
{
    return WaitForRecord(
        [&](const ServiceRecord& r) { return r.source == "web" && r.event == "request" && r.Get("path") == path; },
        timeoutMs, found);
}
