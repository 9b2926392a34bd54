#include "UserDirectory.h"
#include "DataStore.h"
#include "TextUtil.h"
#include <cstdlib>
#include <sstream>

void UserDirectory::Load()
{
    std::string bytes;
    if (!m_data.ReadFile("users.txt", bytes))
        return;
    std::istringstream lines(bytes);
    std::string line;
    while (std::getline(lines, line))
    {
        size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        m_uids[text::Lower(text::Trim(line.substr(0, tab)))] = std::strtoul(line.c_str() + tab + 1, nullptr, 10);
    }
}

void UserDirectory::LoadOnce()
{
    if (!m_loaded)
    {
        Load();
        m_loaded = true;
    }
}

bool UserDirectory::EmailOf(unsigned uid, std::string& email)
{
    std::lock_guard<std::mutex> hold(m_lock);
    LoadOnce();
    for (auto& kv : m_uids)
        if (kv.second == uid)
        {
            email = kv.first;
            return true;
        }
    return false;
}

unsigned UserDirectory::UidOf(const std::string& email)
{
    std::lock_guard<std::mutex> hold(m_lock);
    LoadOnce();
    std::string key = text::Lower(email);
    auto it = m_uids.find(key);
    if (it != m_uids.end())
        return it->second;
    unsigned uid = 10001;
    for (auto& kv : m_uids)
        if (kv.second >= uid)
            uid = kv.second + 1;
    m_uids[key] = uid;
    std::string all;
    for (auto& kv : m_uids)
        all += kv.first + "\t" + std::to_string(kv.second) + "\n";
    m_data.WriteFile("users.txt", all);
    return uid;
}
