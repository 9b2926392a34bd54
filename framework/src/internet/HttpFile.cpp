#include "FwInternet.h"

IMPLEMENT_DYNAMIC(CHttpFile, CInternetFile)

CHttpFile::CHttpFile(HINTERNET hFile, LPCWSTR pstrObject, LPCWSTR pstrServer, LPCWSTR pstrVerb,
                     DWORD_PTR dwContext)
    : CInternetFile(hFile, pstrObject, dwContext), m_strServerName(pstrServer), m_strVerb(pstrVerb)
{
}

BOOL CHttpFile::AddRequestHeaders(LPCWSTR pstrHeaders, DWORD dwFlags, int dwHeadersLen)
{
    if (!pstrHeaders)
        return FALSE;
    return HttpAddRequestHeadersW(m_hFile, pstrHeaders, dwHeadersLen < 0 ? (DWORD)-1L : (DWORD)dwHeadersLen,
                                  dwFlags);
}

BOOL CHttpFile::AddRequestHeaders(CString& str, DWORD dwFlags)
{
    return AddRequestHeaders(str.GetString(), dwFlags, str.GetLength());
}

BOOL CHttpFile::SendRequest(LPCWSTR pstrHeaders, DWORD dwHeadersLen, LPVOID lpOptional, DWORD dwOptionalLen)
{
    // Headers given without a length run to their terminating zero.
    if (pstrHeaders && dwHeadersLen == 0)
        dwHeadersLen = (DWORD)-1L;
    if (!HttpSendRequestW(m_hFile, pstrHeaders, pstrHeaders ? dwHeadersLen : 0, lpOptional, dwOptionalLen))
        AfxThrowInternetException(m_dwContext);
    return TRUE;
}

BOOL CHttpFile::SendRequest(CString& strHeaders, LPVOID lpOptional, DWORD dwOptionalLen)
{
    return SendRequest(strHeaders.IsEmpty() ? NULL : strHeaders.GetString(), strHeaders.GetLength(), lpOptional,
                       dwOptionalLen);
}

BOOL CHttpFile::QueryInfo(DWORD dwInfoLevel, LPVOID lpvBuffer, LPDWORD lpdwBufferLength, LPDWORD lpdwIndex) const
{
    return HttpQueryInfoW(m_hFile, dwInfoLevel, lpvBuffer, lpdwBufferLength, lpdwIndex);
}

BOOL CHttpFile::QueryInfo(DWORD dwInfoLevel, CString& str, LPDWORD lpdwIndex) const
{
    str.Empty();
    DWORD bytes = 256 * sizeof(wchar_t);
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        DWORD index = lpdwIndex ? *lpdwIndex : 0;
        wchar_t* buffer = str.GetBuffer(bytes / sizeof(wchar_t) + 1);
        DWORD length = bytes;
        if (HttpQueryInfoW(m_hFile, dwInfoLevel, buffer, &length, lpdwIndex ? &index : NULL))
        {
            str.ReleaseBuffer(length / sizeof(wchar_t));
            if (lpdwIndex)
                *lpdwIndex = index;
            return TRUE;
        }
        str.ReleaseBuffer(0);
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return FALSE;
        bytes = length;
    }
    return FALSE;
}

BOOL CHttpFile::QueryInfo(DWORD dwInfoLevel, DWORD& dwResult, LPDWORD lpdwIndex) const
{
    DWORD length = sizeof dwResult;
    return HttpQueryInfoW(m_hFile, dwInfoLevel | HTTP_QUERY_FLAG_NUMBER, &dwResult, &length, lpdwIndex);
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& dwStatusCode) const
{
    return QueryInfo(HTTP_QUERY_STATUS_CODE, dwStatusCode);
}
