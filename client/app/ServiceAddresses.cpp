#include "ServiceAddresses.h"

CServiceAddresses::CServiceAddresses()
{
    Reset();
}

void CServiceAddresses::Reset()
{
    m_webHost = L"www.yeb360.com";
    m_webPort = 80;
    m_imageHost = L"img.yeb360.com";
    m_imageWebPort = 80;
    m_imageTcpPort = 443;
    m_uploadHost = L"up.yeb360.com";
    m_uploadPort = 443;
    m_passportHost = L"passport.yeb360.com";
    m_passportPort = 80;
    m_messagingHost = L"im.yeb360.com";
    m_messagingPort = 5222;
    m_communityHost = L"home.yeb360.com";
    m_communityPort = 80;
}

CServiceAddresses& CServiceAddresses::Get()
{
    static CServiceAddresses* table = [] {
        CServiceAddresses* t = new CServiceAddresses;
        wchar_t path[MAX_PATH] = L"";
        DWORD n = GetModuleFileNameW(NULL, path, MAX_PATH);
        CString ini(path, (int)n);
        ini = ini.Left(ini.ReverseFind(L'\\') + 1) + L"Service.ini";
        t->Load(ini);
        return t;
    }();
    return *table;
}

static void ReadText(LPCWSTR iniPath, LPCWSTR key, CString& value)
{
    wchar_t text[512];
    GetPrivateProfileStringW(L"Service", key, L"", text, _countof(text), iniPath);
    if (text[0])
        value = text;
}

static void ReadPort(LPCWSTR iniPath, LPCWSTR key, int& value)
{
    int port = (int)GetPrivateProfileIntW(L"Service", key, 0, iniPath);
    if (port > 0 && port <= 65535)
        value = port;
}

void CServiceAddresses::Load(LPCWSTR iniPath)
{
    Reset();
    if (!iniPath || GetFileAttributesW(iniPath) == INVALID_FILE_ATTRIBUTES)
        return;
    ReadText(iniPath, L"WebHost", m_webHost);
    ReadPort(iniPath, L"WebPort", m_webPort);
    ReadText(iniPath, L"ImageHost", m_imageHost);
    ReadPort(iniPath, L"ImageWebPort", m_imageWebPort);
    ReadPort(iniPath, L"ImageTcpPort", m_imageTcpPort);
    ReadText(iniPath, L"UploadHost", m_uploadHost);
    ReadPort(iniPath, L"UploadPort", m_uploadPort);
    ReadText(iniPath, L"PassportHost", m_passportHost);
    ReadPort(iniPath, L"PassportPort", m_passportPort);
    ReadText(iniPath, L"MessagingHost", m_messagingHost);
    ReadPort(iniPath, L"MessagingPort", m_messagingPort);
    ReadText(iniPath, L"CommunityHost", m_communityHost);
    ReadPort(iniPath, L"CommunityPort", m_communityPort);
}

static CString HttpUrl(const CString& host, int port, LPCWSTR path)
{
    CString url = L"http://" + host;
    if (port != 80)
    {
        CString number;
        number.Format(L":%d", port);
        url += number;
    }
    return url + (path ? path : L"");
}

CString CServiceAddresses::WebUrl(LPCWSTR path) const
{
    return HttpUrl(m_webHost, m_webPort, path);
}

CString CServiceAddresses::ImageWebUrl(LPCWSTR path) const
{
    return HttpUrl(m_imageHost, m_imageWebPort, path);
}

CString CServiceAddresses::PassportUrl(LPCWSTR path) const
{
    return HttpUrl(m_passportHost, m_passportPort, path);
}

CString CServiceAddresses::CommunityUrl(LPCWSTR path) const
{
    return HttpUrl(m_communityHost, m_communityPort, path);
}
