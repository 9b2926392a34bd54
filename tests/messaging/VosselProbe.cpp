// A small client of the messaging library for the tests: it loads Vossel.dll,
// takes one command per line on its standard input and writes one line per
// received command record to its standard output. Lines are UTF-8 fields
// separated by tabs; "\\", "\t", "\n" and "\r" escape those characters.
//
// Commands: options <text> | login <user> <password> | push <code> <extra>
// <s1>..<s8> | msg <to> <text> | add <address> <text> | del <id> |
// accept <id> <flag> | reject <id> | cancel | release | quit.
// Every command is answered with "ok <command> <result>"; every received
// record with "rec <code> <extra> <s1>..<s8> <null slots> <on library thread>".
#include "Vossel.h"
#include <mutex>
#include <string>
#include <vector>

namespace
{
std::mutex g_outLock;
DWORD g_mainThread;

std::string Utf8(const wchar_t* s, size_t n)
{
    if (n == 0)
        return std::string();
    int len = WideCharToMultiByte(CP_UTF8, 0, s, (int)n, nullptr, 0, nullptr, nullptr);
    std::string out(len, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, (int)n, &out[0], len, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& s)
{
    if (s.empty())
        return std::wstring();
    int len = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), nullptr, 0);
    std::wstring out(len, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), &out[0], len);
    return out;
}

std::string Escape(const std::string& s)
{
    std::string out;
    for (char c : s)
        out += c == '\\' ? "\\\\" : c == '\t' ? "\\t" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    return out;
}

std::string Unescape(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i)
    {
        if (s[i] != '\\' || i + 1 == s.size())
        {
            out += s[i];
            continue;
        }
        char c = s[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

void WriteLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += (i ? "\t" : "") + Escape(fields[i]);
    line += "\n";
    std::lock_guard<std::mutex> hold(g_outLock);
    DWORD put;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), (DWORD)line.size(), &put, nullptr);
}

void CALLBACK OnCommand(CommandData* record)
{
    std::vector<std::string> fields = {"rec", std::to_string(record->code), std::to_string(record->extra)};
    int nulls = 0;
    for (const CommandText* slot : {&record->s1, &record->s2, &record->s3, &record->s4, &record->s5, &record->s6,
                                    &record->s7, &record->s8})
    {
        if (!slot->m_str)
            ++nulls;
        fields.push_back(slot->m_str ? Utf8(slot->m_str, slot->Length()) : std::string());
    }
    fields.push_back(std::to_string(nulls));
    fields.push_back(GetCurrentThreadId() != g_mainThread ? "1" : "0");
    WriteLine(fields);
}

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;)
    {
        size_t tab = line.find('\t', start);
        parts.push_back(Unescape(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
        if (tab == std::string::npos)
            return parts;
        start = tab + 1;
    }
}

bool ReadLine(std::string& line)
{
    static std::string pending;
    for (;;)
    {
        size_t nl = pending.find('\n');
        if (nl != std::string::npos)
        {
            line = pending.substr(0, nl);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            pending.erase(0, nl + 1);
            return true;
        }
        char buf[4096];
        DWORD got = 0;
        if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), buf, sizeof buf, &got, nullptr) || got == 0)
            return false;
        pending.append(buf, got);
    }
}
} // namespace

int wmain()
{
    g_mainThread = GetCurrentThreadId();
    std::string line;
    while (ReadLine(line))
    {
        std::vector<std::string> f = Split(line);
        f.resize(12);
        const std::string& cmd = f[0];
        int result = 0;
        if (cmd == "options")
            yebJinSetOptions(Wide(f[1]).c_str());
        else if (cmd == "login")
            result = yebJinClientLogin(Wide(f[1]).c_str(), Wide(f[2]).c_str(), nullptr, OnCommand, nullptr);
        else if (cmd == "push")
        {
            CommandData record;
            record.code = atoi(f[1].c_str());
            record.extra = atoi(f[2].c_str());
            CommandText* slots[] = {&record.s1, &record.s2, &record.s3, &record.s4,
                                    &record.s5, &record.s6, &record.s7, &record.s8};
            for (int i = 0; i < 8; ++i)
                *slots[i] = Wide(f[3 + i]).c_str();
            result = yebJinPushCommand(record);
        }
        else if (cmd == "msg")
            result = yebJinMessage(Wide(f[1]).c_str(), Wide(f[2]).c_str());
        else if (cmd == "add")
            result = yebJinAddFriend(Wide(f[1]).c_str(), Wide(f[2]).c_str());
        else if (cmd == "del")
            result = yebJinDelFriend(Wide(f[1]).c_str());
        else if (cmd == "accept")
            yebJinAccept(Wide(f[1]).c_str(), atoi(f[2].c_str()));
        else if (cmd == "reject")
            yebJinReject(Wide(f[1]).c_str());
        else if (cmd == "cancel")
            yebJinCancelOldSession();
        else if (cmd == "release")
            yebJinRelease(1);
        else if (cmd == "quit")
            break;
        WriteLine({"ok", cmd, std::to_string(result)});
    }
    yebJinRelease(1);
    WriteLine({"bye"});
    return 0;
}
