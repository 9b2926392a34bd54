#include "FwInternet.h"

IMPLEMENT_DYNAMIC(CInternetSession, CObject)

// The agent name of a session made without one: the program's file name
// without its extension.
static CString ProgramName()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(NULL, path, MAX_PATH);
    CString name = path;
    name = name.Mid(name.ReverseFind(L'\\') + 1);
    int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Left(dot) : name;
}

CInternetSession::CInternetSession(LPCWSTR pstrAgent, DWORD_PTR dwContext, DWORD dwAccessType,
                                   LPCWSTR pstrProxyName, LPCWSTR pstrProxyBypass, DWORD dwFlags)
    : m_hSession(NULL), m_dwContext(dwContext)
{
    CString agent = pstrAgent ? CString(pstrAgent) : ProgramName();
    m_hSession = InternetOpenW(agent, dwAccessType, pstrProxyName, pstrProxyBypass, dwFlags);
    if (!m_hSession)
        AfxThrowInternetException(dwContext);
}

CInternetSession::~CInternetSession()
{
    Close();
}

void CInternetSession::Close()
{
    if (m_hSession)
    {
        InternetCloseHandle(m_hSession);
        m_hSession = NULL;
    }
}

BOOL CInternetSession::SetOption(DWORD dwOption, DWORD dwValue, DWORD dwFlags)
{
    return SetOption(dwOption, &dwValue, sizeof dwValue, dwFlags);
}

BOOL CInternetSession::SetOption(DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength, DWORD /*dwFlags*/)
{
    return InternetSetOptionW(m_hSession, dwOption, lpBuffer, dwBufferLength);
}

BOOL CInternetSession::QueryOption(DWORD dwOption, DWORD& dwValue) const
{
    DWORD length = sizeof dwValue;
    return InternetQueryOptionW(m_hSession, dwOption, &dwValue, &length);
}

CHttpFile* CInternetSession::OpenURL(LPCWSTR pstrURL, DWORD_PTR dwContext, DWORD dwFlags, LPCWSTR pstrHeaders,
                                     DWORD dwHeadersLength)
{
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = L"";
    parts.lpszHostName = host;
    parts.dwHostNameLength = _countof(host);
    parts.dwUrlPathLength = 1; // asks for the path's position only
    if (!pstrURL || !InternetCrackUrlW(pstrURL, 0, 0, &parts))
        AfxThrowInternetException(dwContext, ERROR_INTERNET_INVALID_URL);
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        AfxThrowInternetException(dwContext, ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    if (pstrHeaders && dwHeadersLength == 0)
        dwHeadersLength = (DWORD)-1L;
    HINTERNET file = InternetOpenUrlW(m_hSession, pstrURL, pstrHeaders, pstrHeaders ? dwHeadersLength : 0,
                                      dwFlags, dwContext);
    if (!file)
        AfxThrowInternetException(dwContext);
    CString object = parts.lpszUrlPath ? CString(parts.lpszUrlPath) : CString(L"/");
    return new CHttpFile(file, object, host, L"GET", dwContext);
}

CHttpConnection* CInternetSession::GetHttpConnection(LPCWSTR pstrServer, INTERNET_PORT nPort,
                                                     LPCWSTR pstrUserName, LPCWSTR pstrPassword)
{
    return GetHttpConnection(pstrServer, 0, nPort, pstrUserName, pstrPassword);
}

CHttpConnection* CInternetSession::GetHttpConnection(LPCWSTR pstrServer, DWORD dwFlags, INTERNET_PORT nPort,
                                                     LPCWSTR pstrUserName, LPCWSTR pstrPassword)
{
    HINTERNET connection = InternetConnectW(m_hSession, pstrServer, nPort, pstrUserName, pstrPassword,
                                            INTERNET_SERVICE_HTTP, dwFlags, m_dwContext);
    if (!connection)
        AfxThrowInternetException(m_dwContext);
    return new CHttpConnection(this, connection, pstrServer, nPort, m_dwContext);
}
