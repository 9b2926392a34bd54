// Exceptions of the framework. They are thrown as pointers to heap objects
// (throw new CMemoryException) and caught as CException*; the catcher calls
// Delete(), which frees the object unless it is a static instance.
#pragma once
#include "FwObject.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
  public:
    explicit CException(BOOL bAutoDelete = TRUE);
    virtual ~CException();

    // Frees the exception when it was made on the heap for throwing.
    void Delete();
    // Text describing the error; FALSE when there is none.
    virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const;

    BOOL m_bAutoDelete;

  protected:
    static BOOL CopyMessage(LPCWSTR text, LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
};

class CSimpleException : public CException
{
    DECLARE_DYNAMIC(CSimpleException)
  public:
    explicit CSimpleException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

class CMemoryException : public CSimpleException
{
    DECLARE_DYNAMIC(CMemoryException)
  public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

class CInvalidArgException : public CSimpleException
{
    DECLARE_DYNAMIC(CInvalidArgException)
  public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

class CNotSupportedException : public CSimpleException
{
    DECLARE_DYNAMIC(CNotSupportedException)
  public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

class CResourceException : public CSimpleException
{
    DECLARE_DYNAMIC(CResourceException)
  public:
    explicit CResourceException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

class CUserException : public CSimpleException
{
    DECLARE_DYNAMIC(CUserException)
  public:
    explicit CUserException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
  public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCWSTR lpszFileName = NULL);
    ~CFileException() override;

    // Cause that matches a Win32 error code.
    static int __stdcall OsErrorToException(LONG lOsError);
    static void __stdcall ThrowOsError(LONG lOsError, LPCWSTR lpszFileName = NULL);
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    int m_cause;
    LONG m_lOsError;
    LPWSTR m_strFileName; // owned copy (kept a plain pointer so that this header needs no CString)
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
  public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema,
        bufferFull
    };
    explicit CArchiveException(int cause = none, LPCWSTR lpszArchiveName = NULL);
    ~CArchiveException() override;
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    int m_cause;
    LPWSTR m_strFileName;
};

class COleException : public CException
{
    DECLARE_DYNAMIC(COleException)
  public:
    explicit COleException(SCODE sc = E_UNEXPECTED) : m_sc(sc) {}
    static SCODE __stdcall Process(const CException* pAnyException);
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    SCODE m_sc;
};

[[noreturn]] void AFXAPI AfxThrowMemoryException();
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowResourceException();
[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCWSTR lpszFileName = NULL);
[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName = NULL);
[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);

// Throws CInvalidArgException when the condition is false (used where a bad
// argument would otherwise corrupt memory).
#define ENSURE_ARG(cond)                                                                                     \
    do                                                                                                       \
    {                                                                                                        \
        if (!(cond))                                                                                         \
            AfxThrowInvalidArgException();                                                                   \
    } while (0)
#define ENSURE(cond) ENSURE_ARG(cond)
