#include "MessagingAccounts.h"
#include "DataStore.h"
#include "TextUtil.h"
#include <windows.h>
#include <cstdlib>
#include <sstream>

namespace
{
const char FileName[] = "accounts.txt";

unsigned long long FileStamp(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info))
        return 0;
    return (static_cast<unsigned long long>(info.ftLastWriteTime.dwHighDateTime) << 32 |
            info.ftLastWriteTime.dwLowDateTime) ^
           info.nFileSizeLow;
}

std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;)
    {
        size_t end = s.find(sep, start);
        parts.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}
} // namespace

std::string MessagingAccounts::Escape(const std::string& field)
{
    std::string out;
    for (char c : field)
    {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string MessagingAccounts::Unescape(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i)
    {
        if (field[i] != '\\' || i + 1 == field.size())
        {
            out += field[i];
            continue;
        }
        char c = field[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

void MessagingAccounts::Refresh()
{
    unsigned long long stamp = FileStamp(m_data.PathOf(FileName));
    if (stamp == m_stamp)
        return;
    m_stamp = stamp;
    std::string bytes;
    if (!m_data.ReadFile(FileName, bytes))
        return;
    m_accounts.clear();
    std::istringstream lines(bytes);
    std::string line;
    while (std::getline(lines, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> f = Split(line, '\t');
        for (std::string& field : f)
            field = Unescape(field);
        f.resize(10);
        MessagingAccount a;
        a.email = text::Lower(text::Trim(f[0]));
        if (a.email.empty())
            continue;
        a.password = f[1];
        a.nick = f[2];
        for (const std::string& b : Split(f[3], ','))
            if (!text::Trim(b).empty())
                a.buddies.insert(text::Lower(text::Trim(b)));
        a.signature = f[4];
        a.profile1 = f[5];
        a.profile2 = f[6];
        if (!f[7].empty())
            a.number = f[7];
        if (!f[8].empty())
            a.flags = f[8];
        if (!f[9].empty())
            a.age = std::atoi(f[9].c_str());
        m_accounts[a.email] = a;
    }
    // Buddies are mutual: a buddy named on one side only counts for both.
    for (auto& kv : m_accounts)
        for (const std::string& b : kv.second.buddies)
        {
            auto other = m_accounts.find(b);
            if (other != m_accounts.end())
                other->second.buddies.insert(kv.first);
        }
}

void MessagingAccounts::Save()
{
    std::string out = "# e-mail\tpassword\tnick\tbuddies\tsignature\tprofile1\tprofile2\tnumber\tflags\tage\n";
    for (auto& kv : m_accounts)
    {
        const MessagingAccount& a = kv.second;
        std::string buddies;
        for (const std::string& b : a.buddies)
            buddies += (buddies.empty() ? "" : ",") + b;
        for (const std::string& field : {a.email, a.password, a.nick, buddies, a.signature, a.profile1, a.profile2,
                                         a.number, a.flags})
            out += Escape(field) + "\t";
        out += std::to_string(a.age) + "\n";
    }
    m_data.WriteFile(FileName, out);
    m_stamp = FileStamp(m_data.PathOf(FileName));
}

bool MessagingAccounts::Find(const std::string& email, MessagingAccount& account)
{
    std::lock_guard<std::mutex> hold(m_lock);
    Refresh();
    auto it = m_accounts.find(email);
    if (it == m_accounts.end())
        return false;
    account = it->second;
    return true;
}

bool MessagingAccounts::CheckPassword(const std::string& email, const std::string& sent)
{
    MessagingAccount a;
    if (!Find(email, a) || a.password.empty())
        return false;
    return sent == a.password + a.password.substr(0, 3);
}

bool MessagingAccounts::AreBuddies(const std::string& a, const std::string& b)
{
    std::lock_guard<std::mutex> hold(m_lock);
    Refresh();
    auto it = m_accounts.find(a);
    return it != m_accounts.end() && it->second.buddies.count(b) > 0;
}

void MessagingAccounts::MakeBuddies(const std::string& a, const std::string& b)
{
    std::lock_guard<std::mutex> hold(m_lock);
    Refresh();
    auto ia = m_accounts.find(a), ib = m_accounts.find(b);
    if (ia == m_accounts.end() || ib == m_accounts.end() || a == b)
        return;
    ia->second.buddies.insert(b);
    ib->second.buddies.insert(a);
    Save();
}

void MessagingAccounts::RemoveBuddies(const std::string& a, const std::string& b)
{
    std::lock_guard<std::mutex> hold(m_lock);
    Refresh();
    auto ia = m_accounts.find(a), ib = m_accounts.find(b);
    if (ia != m_accounts.end())
        ia->second.buddies.erase(b);
    if (ib != m_accounts.end())
        ib->second.buddies.erase(a);
    Save();
}

void MessagingAccounts::SetProfile(const MessagingAccount& profile)
{
    std::lock_guard<std::mutex> hold(m_lock);
    Refresh();
    auto it = m_accounts.find(profile.email);
    if (it == m_accounts.end())
        return;
    MessagingAccount& a = it->second;
    a.nick = profile.nick;
    a.signature = profile.signature;
    a.profile1 = profile.profile1;
    a.profile2 = profile.profile2;
    a.number = profile.number;
    a.flags = profile.flags;
    a.age = profile.age;
    Save();
}
