// Exception classes and the AfxThrow functions.
#include "FwException.h"
#include "FwString.h"
#include <cwchar>
#include <new>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(COleException, CException)

namespace
{
LPWSTR DupString(LPCWSTR s)
{
    if (!s)
        return NULL;
    size_t n = wcslen(s) + 1;
    LPWSTR p = new (std::nothrow) WCHAR[n];
    if (p)
        wmemcpy(p, s, n);
    return p;
}

// Heap exception when memory allows, else a static one that Delete() keeps.
template <typename E, typename... A> E* MakeException(A... args)
{
    E* e = new (std::nothrow) E(args...);
    if (e)
        return e;
    static CMemoryException s_outOfMemory(FALSE);
    throw &s_outOfMemory;
}
} // namespace

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

CException::~CException() {}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::CopyMessage(LPCWSTR text, LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    lstrcpynW(lpszError, text, (int)nMaxError);
    return TRUE;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError)
        *lpszError = 0;
    return FALSE;
}

BOOL CMemoryException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage(L"Out of memory.", lpszError, nMaxError, pnHelpContext);
}

BOOL CInvalidArgException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage(L"Invalid argument.", lpszError, nMaxError, pnHelpContext);
}

BOOL CNotSupportedException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage(L"Operation not supported.", lpszError, nMaxError, pnHelpContext);
}

BOOL CResourceException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage(L"A required resource was unavailable.", lpszError, nMaxError, pnHelpContext);
}

CFileException::CFileException(int cause, LONG lOsError, LPCWSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(DupString(lpszFileName))
{
}

CFileException::~CFileException()
{
    delete[] m_strFileName;
}

int __stdcall CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError)
    {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_NETPATH:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return removeCurrentDir;
    case ERROR_CANNOT_MAKE:
        return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
        return badSeek;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

void __stdcall CFileException::ThrowOsError(LONG lOsError, LPCWSTR lpszFileName)
{
    if (lOsError != 0)
        AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    WCHAR sys[512] = L"";
    if (m_lOsError > 0)
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, (DWORD)m_lOsError, 0,
                       sys, _countof(sys), NULL);
    CString text;
    text.Format(L"File error %d on \"%s\". %s", m_cause, m_strFileName ? m_strFileName : L"", sys);
    return CopyMessage(text, lpszError, nMaxError, pnHelpContext);
}

CArchiveException::CArchiveException(int cause, LPCWSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(DupString(lpszArchiveName))
{
}

CArchiveException::~CArchiveException()
{
    delete[] m_strFileName;
}

BOOL CArchiveException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    CString text;
    text.Format(L"Archive error %d.", m_cause);
    return CopyMessage(text, lpszError, nMaxError, pnHelpContext);
}

SCODE __stdcall COleException::Process(const CException* pAnyException)
{
    if (!pAnyException)
        return E_UNEXPECTED;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(COleException)))
        return static_cast<const COleException*>(pAnyException)->m_sc;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CMemoryException)))
        return E_OUTOFMEMORY;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CInvalidArgException)))
        return E_INVALIDARG;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CNotSupportedException)))
        return E_NOTIMPL;
    return E_UNEXPECTED;
}

BOOL COleException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    WCHAR sys[512] = L"";
    if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, (DWORD)m_sc, 0, sys,
                       _countof(sys), NULL))
        return CopyMessage(sys, lpszError, nMaxError, pnHelpContext);
    CString text;
    text.Format(L"OLE error 0x%08lX.", (unsigned long)m_sc);
    return CopyMessage(text, lpszError, nMaxError, pnHelpContext);
}

void AFXAPI AfxThrowMemoryException()
{
    throw MakeException<CMemoryException>();
}
void AFXAPI AfxThrowInvalidArgException()
{
    throw MakeException<CInvalidArgException>();
}
void AFXAPI AfxThrowNotSupportedException()
{
    throw MakeException<CNotSupportedException>();
}
void AFXAPI AfxThrowResourceException()
{
    throw MakeException<CResourceException>();
}
void AFXAPI AfxThrowUserException()
{
    throw MakeException<CUserException>();
}

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCWSTR lpszFileName)
{
    throw MakeException<CFileException>(cause, lOsError, lpszFileName);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName)
{
    throw MakeException<CArchiveException>(cause, lpszArchiveName);
}

void AFXAPI AfxThrowOleException(SCODE sc)
{
    throw MakeException<COleException>(sc);
}
