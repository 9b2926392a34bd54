#include "UserLookup.h"
#include "FormPost.h"
#include "HttpFetcher.h"
#include "ServiceAddresses.h"
#include "Xml.h"

#include <memory>

namespace
{
CString Fetch(const CString& url)
{
    CHttpFetcher fetcher;
    if (!fetcher.SetUrl(url) || !fetcher.Start(FALSE))
        return CString();
    return fetcher.GetResponseText(CP_UTF8);
}

// Every "INFO" child of a "UI" root, as (first, second) attribute pairs.
BOOL ReadInfoChildren(const CString& xml, LPCWSTR first, LPCWSTR second,
                      std::vector<std::pair<CString, CString>>& pairs)
{
    std::unique_ptr<CXmlElement> root(XmlParseString(xml));
    if (!root || !root->HasName(L"UI"))
        return FALSE;
    POSITION pos = root->GetFirstChildPosition();
    while (pos)
    {
        CXmlElement* child = root->GetNextChild(pos);
        if (child && child->HasName(L"INFO"))
            pairs.emplace_back(child->GetAttribute(first, L""), child->GetAttribute(second, L""));
    }
    return TRUE;
}
} // namespace

CString QueryUserIdOf(LPCWSTR email)
{
    CString answer = Fetch(CServiceAddresses::Get().ImageWebUrl(CString(L"/cgi-bin/yeblogin?email=") + email));
    answer.Trim();
    return answer;
}

CString FetchUserInfo(LPCWSTR uid)
{
    return Fetch(CServiceAddresses::Get().ImageWebUrl(CString(L"/cgi-bin/getuserinfo?multi=0&param=") + uid));
}

BOOL PostUserIdQuery(const std::vector<CString>& emails, CStringA& answer)
{
    CString body = L"mails=";
    for (size_t i = 0; i < emails.size(); ++i)
        body += (i ? L"," : L"") + emails[i];
    const CServiceAddresses& service = CServiceAddresses::Get();
    DWORD status = 0;
    if (!PostForm(service.m_imageHost, service.m_imageWebPort, L"/cgi-bin/gidfrmail", Utf8Cut(body, INT_MAX), &status,
                  &answer, 1024 * 1024))
        return FALSE;
    return status >= 200 && status < 300;
}

BOOL ParseUserInfo(const CString& xml, CString& email, CString& nick)
{
    std::vector<std::pair<CString, CString>> pairs;
    if (!ReadInfoChildren(xml, L"email", L"nick", pairs) || pairs.empty() || pairs.back().first.IsEmpty())
        return FALSE;
    email = pairs.back().first;
    nick = pairs.back().second;
    return TRUE;
}

BOOL ParseUserIds(const CString& xml, std::vector<std::pair<CString, CString>>& ids)
{
    return ReadInfoChildren(xml, L"email", L"uid", ids);
}
