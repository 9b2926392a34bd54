#include "FwInternet.h"

IMPLEMENT_DYNAMIC(CInternetFile, CStdioFile)

CInternetFile::CInternetFile(HINTERNET hFile, LPCWSTR pstrFileName, DWORD_PTR dwContext)
    : m_dwContext(dwContext), m_nRead(0), m_bAtEnd(FALSE)
{
    m_hFile = hFile;
    m_bCloseOnDelete = FALSE; // the base must never CloseHandle a WinINet handle
    m_strFileName = pstrFileName ? pstrFileName : L"";
}

CInternetFile::~CInternetFile()
{
    Abort();
}

void CInternetFile::Close()
{
    if (m_hFile != hFileNull && m_hFile != NULL)
    {
        InternetCloseHandle(m_hFile);
        m_hFile = hFileNull;
    }
}

void CInternetFile::Abort()
{
    Close();
}

UINT CInternetFile::Read(void* lpBuf, UINT nCount)
{
    DWORD read = 0;
    if (nCount == 0)
        return 0;
    if (!InternetReadFile(m_hFile, lpBuf, nCount, &read))
        AfxThrowInternetException(m_dwContext);
    m_nRead += read;
    return read;
}

BOOL CInternetFile::ReadByte(char& c)
{
    if (m_bAtEnd)
        return FALSE;
    if (Read(&c, 1) == 1)
        return TRUE;
    m_bAtEnd = TRUE;
    return FALSE;
}

BOOL CInternetFile::ReadString(CString& rString)
{
    rString.Empty();
    CStringA line;
    char c;
    BOOL any = FALSE;
    while (ReadByte(c))
    {
        any = TRUE;
        if (c == '\n')
            break;
        if (c != '\r')
            line += c;
    }
    rString = CString(line);
    return any;
}

LPWSTR CInternetFile::ReadString(LPWSTR lpsz, UINT nMax)
{
    if (!lpsz || nMax == 0)
        return NULL;
    CStringA line;
    char c;
    BOOL any = FALSE;
    // Room for the line feed and the terminating zero.
    while ((UINT)line.GetLength() + 2 < nMax && ReadByte(c))
    {
        any = TRUE;
        line += c;
        if (c == '\n')
            break;
    }
    if (!any)
        return NULL;
    CString wide(line);
    lstrcpynW(lpsz, wide, (int)nMax);
    return lpsz;
}

ULONGLONG CInternetFile::GetLength() const
{
    DWORD available = 0;
    if (!InternetQueryDataAvailable(m_hFile, &available, 0, 0))
        AfxThrowInternetException(m_dwContext);
    return available;
}

void CInternetFile::Write(const void*, UINT)
{
    AfxThrowNotSupportedException();
}

ULONGLONG CInternetFile::Seek(LONGLONG, UINT)
{
    AfxThrowNotSupportedException();
}

void CInternetFile::SetLength(ULONGLONG)
{
    AfxThrowNotSupportedException();
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
