// CFile over a Win32 file handle.
#include "FwFile.h"
#include <algorithm>
#include <utility>

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CFile()
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
    m_hFile = hFileNull;
    m_strFileName = lpszFileName;

    DWORD access;
    switch (nOpenFlags & 3)
    {
    case modeRead:
        access = GENERIC_READ;
        break;
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    default:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    }
    DWORD share;
    switch (nOpenFlags & 0x70)
    {
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        share = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default:
        share = 0;
        break;
    }
    SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
    DWORD disposition = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (nOpenFlags & osNoBuffer)
        attributes |= FILE_FLAG_NO_BUFFERING;
    if (nOpenFlags & osWriteThrough)
        attributes |= FILE_FLAG_WRITE_THROUGH;
    if (nOpenFlags & osRandomAccess)
        attributes |= FILE_FLAG_RANDOM_ACCESS;
    if (nOpenFlags & osSequentialScan)
        attributes |= FILE_FLAG_SEQUENTIAL_SCAN;

    HANDLE h = (lpszFileName && *lpszFileName)
                   ? ::CreateFileW(lpszFileName, access, share, &sa, disposition, attributes, NULL)
                   : INVALID_HANDLE_VALUE;
    if (h == INVALID_HANDLE_VALUE)
    {
        DWORD err = (lpszFileName && *lpszFileName) ? ::GetLastError() : ERROR_INVALID_NAME;
        if (pError)
        {
            pError->m_lOsError = (LONG)err;
            pError->m_cause = CFileException::OsErrorToException((LONG)err);
            CFileException named(pError->m_cause, pError->m_lOsError, lpszFileName);
            std::swap(pError->m_strFileName, named.m_strFileName);
        }
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

void CFile::ThrowLastError() const
{
    LONG err = (LONG)::GetLastError();
    AfxThrowFileException(err ? CFileException::OsErrorToException(err) : CFileException::genericException,
                          err, m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    ENSURE_ARG(lpBuf != NULL);
    DWORD read = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &read, NULL))
        ThrowLastError();
    return read;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    ENSURE_ARG(lpBuf != NULL);
    DWORD written = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &written, NULL))
        ThrowLastError();
    if (written != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    ENSURE_ARG(nFrom == begin || nFrom == current || nFrom == end);
    LARGE_INTEGER dist, pos;
    dist.QuadPart = lOff;
    if (!::SetFilePointerEx(m_hFile, dist, &pos, nFrom))
        ThrowLastError();
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        ThrowLastError();
    return (ULONGLONG)size.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero = {}, pos;
    if (!::SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT))
        ThrowLastError();
    return (ULONGLONG)pos.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    Seek((LONGLONG)dwNewLen, begin);
    if (!::SetEndOfFile(m_hFile))
        ThrowLastError();
}

void CFile::Flush()
{
    if (m_hFile != hFileNull && !::FlushFileBuffers(m_hFile))
        ThrowLastError();
}

void CFile::Close()
{
    BOOL ok = TRUE;
    if (m_hFile != hFileNull)
        ok = ::CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (!ok)
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        ::CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
}

void __stdcall CFile::Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName)
{
    if (!::MoveFileW(lpszOldName, lpszNewName))
        CFileException::ThrowOsError((LONG)::GetLastError(), lpszOldName);
}

void __stdcall CFile::Remove(LPCWSTR lpszFileName)
{
    if (!::DeleteFileW(lpszFileName))
        CFileException::ThrowOsError((LONG)::GetLastError(), lpszFileName);
}

CString CFile::GetFileName() const
{
    int slash = std::max(m_strFileName.ReverseFind(L'\\'), m_strFileName.ReverseFind(L'/'));
    return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}
