#include "FwInternet.h"

IMPLEMENT_DYNAMIC(CInternetFile, CObject)

CInternetFile::CInternetFile(HINTERNET hFile, LPCWSTR pstrFileName, DWORD_PTR dwContext)
    : m_hFile(hFile), m_strFileName(pstrFileName), m_dwContext(dwContext)
{
}

CInternetFile::~CInternetFile()
{
    Close();
}

void CInternetFile::Close()
{
    if (m_hFile)
    {
        InternetCloseHandle(m_hFile);
        m_hFile = NULL;
    }
}

UINT CInternetFile::Read(void* lpBuf, UINT nCount)
{
    DWORD read = 0;
    if (nCount == 0)
        return 0;
    if (!InternetReadFile(m_hFile, lpBuf, nCount, &read))
        AfxThrowInternetException(m_dwContext);
    return read;
}

BOOL CInternetFile::SetOption(DWORD dwOption, DWORD dwValue, DWORD dwFlags)
{
    return SetOption(dwOption, &dwValue, sizeof dwValue, dwFlags);
}

BOOL CInternetFile::SetOption(DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength, DWORD /*dwFlags*/)
{
    return InternetSetOptionW(m_hFile, dwOption, lpBuffer, dwBufferLength);
}

BOOL CInternetFile::QueryOption(DWORD dwOption, DWORD& dwValue) const
{
    DWORD length = sizeof dwValue;
    return InternetQueryOptionW(m_hFile, dwOption, &dwValue, &length);
}
