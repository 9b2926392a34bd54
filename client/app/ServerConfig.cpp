#include "ServerConfig.h"
#include "HttpFetcher.h"
#include "ServiceAddresses.h"
#include "Xml.h"
#include <cstdlib>
#include <ctime>
#include <memory>

CServerConfig::CServerConfig()
{
}

CServerConfig::~CServerConfig()
{
}

BOOL CServerConfig::Load()
{
    CHttpFetcher fetcher;
    if (!fetcher.SetUrl(CServiceAddresses::Get().WebUrl(L"/configure.php")) || !fetcher.Start(FALSE))
        return FALSE;
    return LoadFromText(fetcher.GetResponseText(CP_UTF8));
}

BOOL CServerConfig::LoadFromText(LPCWSTR text)
{
    std::unique_ptr<CXmlElement> root(XmlParseString(text));
    if (!root)
        return FALSE;
    std::map<CString, std::vector<ServerEntry>> groups;
    std::vector<UpdateLocation> updates;
    if (root->HasName(L"UR"))
    {
        for (POSITION group = root->GetFirstChildPosition(); group;)
        {
            CXmlElement* list = root->GetNextChild(group);
            BOOL servers = list->HasName(L"SS");
            if (!servers && !list->HasName(L"UP"))
                continue;
            for (POSITION item = list->GetFirstChildPosition(); item;)
            {
                CXmlElement* element = list->GetNextChild(item);
                if (servers && element->HasName(L"SR"))
                {
                    ServerEntry entry;
                    entry.T = element->GetAttribute(L"T", L"");
                    entry.D = element->GetAttribute(L"D", L"");
                    entry.I = element->GetAttribute(L"I", L"");
                    entry.P = element->GetAttribute(L"P", L"");
                    entry.M = element->GetAttribute(L"M", L"");
                    entry.C = element->GetAttribute(L"C", L"");
                    entry.S = element->GetAttribute(L"S", L"");
                    entry.N = element->GetAttribute(L"N", L"");
                    groups[entry.T].push_back(entry);
                }
                else if (!servers && element->HasName(L"UL"))
                    updates.push_back({element->GetAttribute(L"D", L""), element->GetAttribute(L"V", L"")});
            }
        }
    }
    m_groups.swap(groups);
    m_updates.swap(updates);
    return TRUE;
}

BOOL CServerConfig::PickServer(LPCWSTR type, ServerEntry& out) const
{
    auto group = m_groups.find(CString(type ? type : L""));
    if (group == m_groups.end() || group->second.empty())
        return FALSE;
    const std::vector<ServerEntry>& entries = group->second;
    int count = (int)entries.size();
    srand((unsigned)time(NULL));
    int index = rand() % count;
    for (int looked = 0; looked < count; ++looked, index = (index + 1) % count)
    {
        const ServerEntry& entry = entries[index];
        if (entry.S == L"0" && _wtol(entry.C) <= _wtol(entry.M))
        {
            out.Clear();
            out = entry;
            return TRUE;
        }
    }
    return FALSE;
}

int CServerConfig::GetServerCount(LPCWSTR type) const
{
    auto group = m_groups.find(CString(type ? type : L""));
    return group == m_groups.end() ? 0 : (int)group->second.size();
}
