#include "FwInternet.h"

IMPLEMENT_DYNAMIC(CInternetException, CException)

CInternetException::CInternetException(DWORD dwError) : m_dwContext(0), m_dwError(dwError)
{
}

BOOL CInternetException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    // WinINet's own errors are described by wininet.dll, the others by the system.
    wchar_t text[512] = L"";
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    HMODULE wininet = GetModuleHandleW(L"wininet.dll");
    if (wininet && m_dwError >= INTERNET_ERROR_BASE && m_dwError <= INTERNET_ERROR_LAST)
        flags = FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (!FormatMessageW(flags, wininet, m_dwError, 0, text, _countof(text), NULL))
        wsprintfW(text, L"Internet error %lu", m_dwError);
    return CopyMessage(text, lpszError, nMaxError);
}

void AFXAPI AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError)
{
    if (dwError == 0)
        dwError = GetLastError();
    CInternetException* exception = new CInternetException(dwError);
    exception->m_dwContext = dwContext;
    throw exception;
}
