// CFileFind over FindFirstFile / FindNextFile.
#include "FwFile.h"
#include <algorithm>
#include <utility>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind()
    : m_hFind(INVALID_HANDLE_VALUE), m_found(), m_next(), m_bHaveFound(FALSE), m_bHaveNext(FALSE)
{
}

CFileFind::~CFileFind()
{
    Close();
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_bHaveFound = m_bHaveNext = FALSE;
}

BOOL CFileFind::FindFile(LPCWSTR pstrName, DWORD /*dwUnused*/)
{
    Close();
    CString pattern = (pstrName && *pstrName) ? CString(pstrName) : CString(L"*.*");
    int slash = std::max(pattern.ReverseFind(L'\\'), pattern.ReverseFind(L'/'));
    m_strRoot = slash >= 0 ? pattern.Left(slash) : CString();
    m_hFind = ::FindFirstFileW(pattern, &m_next);
    m_bHaveNext = m_hFind != INVALID_HANDLE_VALUE;
    if (!m_bHaveNext)
        return FALSE;
    // A pattern naming one folder ("C:\dir") reports that folder; its root is
    // then the folder's parent, as computed above.
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_bHaveNext)
    {
        m_bHaveFound = FALSE;
        return FALSE;
    }
    m_found = m_next;
    m_bHaveFound = TRUE;
    m_bHaveNext = ::FindNextFileW(m_hFind, &m_next);
    return m_bHaveNext;
}

CString CFileFind::GetFileName() const
{
    return m_bHaveFound ? CString(m_found.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    if (!m_bHaveFound)
        return CString();
    if (m_strRoot.IsEmpty())
        return GetFileName();
    return m_strRoot + L"\\" + GetFileName();
}

CString CFileFind::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot <= 0 ? name : name.Left(dot);
}

ULONGLONG CFileFind::GetLength() const
{
    return m_bHaveFound ? ((ULONGLONG)m_found.nFileSizeHigh << 32) | m_found.nFileSizeLow : 0;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const
{
    if (!m_bHaveFound || !pTimeStamp)
        return FALSE;
    *pTimeStamp = m_found.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetCreationTime(FILETIME* pTimeStamp) const
{
    if (!m_bHaveFound || !pTimeStamp)
        return FALSE;
    *pTimeStamp = m_found.ftCreationTime;
    return TRUE;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const
{
    return m_bHaveFound && (m_found.dwFileAttributes & dwMask) != 0;
}

BOOL CFileFind::IsDots() const
{
    if (!m_bHaveFound || !IsDirectory())
        return FALSE;
    const wchar_t* n = m_found.cFileName;
    return n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0));
}
