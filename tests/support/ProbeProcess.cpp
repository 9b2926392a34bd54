#include "ProbeProcess.h"
#include <chrono>

namespace
{
std::string Escape(const std::string& s)
{
    std::string out;
    for (char c : s)
        out += c == '\\' ? "\\\\" : c == '\t' ? "\\t" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    return out;
}

std::vector<std::string> SplitLine(const std::string& line)
{
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < line.size(); ++i)
    {
        char c = line[i];
        if (c == '\t')
            parts.emplace_back();
        else if (c == '\\' && i + 1 < line.size())
        {
            char e = line[++i];
            parts.back() += e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        }
        else
            parts.back() += c;
    }
    return parts;
}

} // namespace

// The environment of this process with the given variables set.
std::wstring EnvironmentWith(const std::vector<std::pair<std::wstring, std::wstring>>& vars)
{
    std::wstring block;
    wchar_t* all = GetEnvironmentStringsW();
    for (wchar_t* p = all; *p; p += wcslen(p) + 1)
    {
        std::wstring entry = p;
        bool replaced = false;
        for (auto& v : vars)
            if (_wcsnicmp(entry.c_str(), (v.first + L"=").c_str(), v.first.size() + 1) == 0)
                replaced = true;
        if (!replaced)
            block += entry + L'\0';
    }
    FreeEnvironmentStringsW(all);
    for (auto& v : vars)
        block += v.first + L"=" + v.second + L'\0';
    return block + L'\0';
}

bool ProbeProcess::Start(const std::wstring& myMusic, const std::vector<std::pair<std::wstring, std::wstring>>& env)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder = folder.substr(0, folder.find_last_of(L'\\'));
    std::wstring command = L"\"" + folder + L"\\VosselProbe.exe\"";

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE childIn = nullptr, childOut = nullptr;
    if (!CreatePipe(&childIn, &m_input, &inherit, 0) || !CreatePipe(&m_output, &childOut, &inherit, 0))
        return false;
    SetHandleInformation(m_input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = childOut;
    std::vector<std::pair<std::wstring, std::wstring>> vars = env;
    vars.emplace_back(L"YEB_MYMUSIC", myMusic);
    std::wstring block = EnvironmentWith(vars);
    PROCESS_INFORMATION info = {};
    BOOL ok = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW,
                             &block[0], nullptr, &startup, &info);
    CloseHandle(childIn);
    CloseHandle(childOut);
    if (!ok)
        return false;
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_reader = std::thread(&ProbeProcess::ReadLoop, this);
    return true;
}

void ProbeProcess::ReadLoop()
{
    std::string pending;
    char buf[8192];
    DWORD got;
    while (ReadFile(m_output, buf, sizeof buf, &got, nullptr) && got > 0)
    {
        pending.append(buf, got);
        size_t nl;
        while ((nl = pending.find('\n')) != std::string::npos)
        {
            std::vector<std::string> f = SplitLine(pending.substr(0, nl));
            pending.erase(0, nl + 1);
            std::lock_guard<std::mutex> hold(m_lock);
            if (f[0] == "ok")
                ++m_done;
            else if (f[0] == "rec" && f.size() >= 13)
            {
                ProbeRecord r;
                r.code = atoi(f[1].c_str());
                r.extra = atoi(f[2].c_str());
                for (int i = 0; i < 8; ++i)
                    r.s[i] = f[3 + i];
                r.nullSlots = atoi(f[11].c_str());
                r.onLibraryThread = f[12] == "1";
                m_records.push_back(r);
            }
            m_changed.notify_all();
        }
    }
    std::lock_guard<std::mutex> hold(m_lock);
    m_ended = true;
    m_changed.notify_all();
}

bool ProbeProcess::Run(const std::vector<std::string>& fields, DWORD timeoutMs)
{
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += (i ? "\t" : "") + Escape(fields[i]);
    line += "\n";
    size_t before;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        before = m_done;
    }
    DWORD put;
    if (!m_input || !WriteFile(m_input, line.data(), (DWORD)line.size(), &put, nullptr))
        return false;
    std::unique_lock<std::mutex> hold(m_lock);
    return m_changed.wait_for(hold, std::chrono::milliseconds(timeoutMs), [&] { return m_done > before || m_ended; }) &&
           m_done > before;
}

bool ProbeProcess::LogIn(int port, const std::string& user, const std::string& password)
{
    return Run({"options", "im.yeb360&127.0.0.1:" + std::to_string(port)}) && Run({"login", user, password});
}

bool ProbeProcess::Push(int code, const std::vector<std::string>& slots, int extra)
{
    std::vector<std::string> fields = {"push", std::to_string(code), std::to_string(extra)};
    fields.insert(fields.end(), slots.begin(), slots.end());
    return Run(fields);
}

std::vector<ProbeRecord> ProbeProcess::Records()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_records;
}

std::vector<ProbeRecord> ProbeProcess::Records(int code)
{
    std::vector<ProbeRecord> out;
    for (auto& r : Records())
        if (r.code == code)
            out.push_back(r);
    return out;
}

size_t ProbeProcess::Count()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_records.size();
}

bool ProbeProcess::WaitFor(const std::function<bool(const ProbeRecord&)>& match, DWORD timeoutMs, ProbeRecord* found,
                           size_t from, size_t* at)
{
    std::unique_lock<std::mutex> hold(m_lock);
    size_t index = 0;
    bool ok = m_changed.wait_for(hold, std::chrono::milliseconds(timeoutMs), [&] {
        for (size_t i = from; i < m_records.size(); ++i)
            if (match(m_records[i]))
            {
                index = i;
                return true;
            }
        return false;
    });
    if (ok && found)
        *found = m_records[index];
    if (ok && at)
        *at = index;
    return ok;
}

bool ProbeProcess::WaitForCode(int code, DWORD timeoutMs, ProbeRecord* found, size_t from)
{
    return WaitFor([code](const ProbeRecord& r) { return r.code == code; }, timeoutMs, found, from);
}

void ProbeProcess::Kill()
{
    if (m_process)
        TerminateProcess(m_process, 9);
    Stop();
}

void ProbeProcess::Stop()
{
    if (m_process)
    {
        DWORD put;
        if (m_input)
            WriteFile(m_input, "quit\n", 5, &put, nullptr);
        if (WaitForSingleObject(m_process, 10000) != WAIT_OBJECT_0)
            TerminateProcess(m_process, 1);
        CloseHandle(m_process);
        m_process = nullptr;
    }
    if (m_input)
    {
        CloseHandle(m_input);
        m_input = nullptr;
    }
    if (m_reader.joinable())
        m_reader.join();
    if (m_output)
    {
        CloseHandle(m_output);
        m_output = nullptr;
    }
}
