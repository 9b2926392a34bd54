#include "FwInternet.h"

IMPLEMENT_DYNAMIC(CHttpConnection, CObject)

CHttpConnection::CHttpConnection(CInternetSession* pSession, HINTERNET hConnection, LPCWSTR pstrServer,
                                 INTERNET_PORT nPort, DWORD_PTR dwContext)
    : m_pSession(pSession), m_hConnection(hConnection), m_strServerName(pstrServer), m_nPort(nPort),
      m_dwContext(dwContext)
{
}

CHttpConnection::~CHttpConnection()
{
    Close();
}

void CHttpConnection::Close()
{
    if (m_hConnection)
    {
        InternetCloseHandle(m_hConnection);
        m_hConnection = NULL;
    }
}

CHttpFile* CHttpConnection::OpenRequest(LPCWSTR pstrVerb, LPCWSTR pstrObjectName, LPCWSTR pstrReferer,
                                        DWORD_PTR dwContext, LPCWSTR* ppstrAcceptTypes, LPCWSTR pstrVersion,
                                        DWORD dwFlags)
{
    HINTERNET file = HttpOpenRequestW(m_hConnection, pstrVerb, pstrObjectName, pstrVersion, pstrReferer,
                                      ppstrAcceptTypes, dwFlags, dwContext);
    if (!file)
        AfxThrowInternetException(dwContext);
    return new CHttpFile(file, pstrObjectName, m_strServerName, pstrVerb ? pstrVerb : L"GET", dwContext);
}

CHttpFile* CHttpConnection::OpenRequest(int nVerb, LPCWSTR pstrObjectName, LPCWSTR pstrReferer,
                                        DWORD_PTR dwContext, LPCWSTR* ppstrAcceptTypes, LPCWSTR pstrVersion,
                                        DWORD dwFlags)
{
    static const LPCWSTR verbs[] = {L"POST", L"GET", L"HEAD", L"PUT", L"LINK", L"DELETE", L"UNLINK"};
    if (nVerb < HTTP_VERB_MIN || nVerb > HTTP_VERB_MAX)
        AfxThrowInternetException(dwContext, ERROR_INVALID_PARAMETER);
    return OpenRequest(verbs[nVerb], pstrObjectName, pstrReferer, dwContext, ppstrAcceptTypes, pstrVersion,
                       dwFlags);
}
