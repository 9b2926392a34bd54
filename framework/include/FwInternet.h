// The framework's internet classes over WinINet: a session, an HTTP
// connection, and the file of one request. Failing WinINet calls throw
// CInternetException (as a heap pointer; the catcher calls Delete()).
// Objects returned by OpenURL, GetHttpConnection and OpenRequest belong to the
// caller, who deletes them; each one closes its own handle.
#pragma once
#include "FwException.h"
#include "FwFile.h"
#include "FwString.h"
#include <wininet.h>

#ifndef PRE_CONFIG_INTERNET_ACCESS
#define PRE_CONFIG_INTERNET_ACCESS INTERNET_OPEN_TYPE_PRECONFIG
#endif

class CInternetException : public CException
{
    DECLARE_DYNAMIC(CInternetException)
public:
    explicit CInternetException(DWORD dwError);
    // The WinINet or system text of the error.
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    DWORD_PTR m_dwContext;
    DWORD m_dwError;
};

// Throws a CInternetException with dwError (0: the calling thread's last error).
[[noreturn]] void AFXAPI AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError = 0);

class CHttpConnection;
class CHttpFile;

class CInternetSession : public CObject
{
    DECLARE_DYNAMIC(CInternetSession)
public:
    // pstrAgent NULL: the program's name. Throws when WinINet cannot open.
    explicit CInternetSession(LPCWSTR pstrAgent = NULL, DWORD_PTR dwContext = 1,
                              DWORD dwAccessType = PRE_CONFIG_INTERNET_ACCESS, LPCWSTR pstrProxyName = NULL,
                              LPCWSTR pstrProxyBypass = NULL, DWORD dwFlags = 0);
    ~CInternetSession() override;

    BOOL SetOption(DWORD dwOption, DWORD dwValue, DWORD dwFlags = 0);
    BOOL SetOption(DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength, DWORD dwFlags = 0);
    BOOL QueryOption(DWORD dwOption, DWORD& dwValue) const;

    // Opens an http or https address; the request has been sent when it returns.
    CHttpFile* OpenURL(LPCWSTR pstrURL, DWORD_PTR dwContext = 1, DWORD dwFlags = INTERNET_FLAG_TRANSFER_ASCII,
                       LPCWSTR pstrHeaders = NULL, DWORD dwHeadersLength = 0);
    CHttpConnection* GetHttpConnection(LPCWSTR pstrServer, INTERNET_PORT nPort = INTERNET_INVALID_PORT_NUMBER,
                                       LPCWSTR pstrUserName = NULL, LPCWSTR pstrPassword = NULL);
    CHttpConnection* GetHttpConnection(LPCWSTR pstrServer, DWORD dwFlags,
                                       INTERNET_PORT nPort = INTERNET_INVALID_PORT_NUMBER,
                                       LPCWSTR pstrUserName = NULL, LPCWSTR pstrPassword = NULL);
    virtual void Close();

    DWORD_PTR GetContext() const { return m_dwContext; }
    operator HINTERNET() const { return m_hSession; }

private:
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    HINTERNET m_hSession;
    DWORD_PTR m_dwContext;
};

class CHttpConnection : public CObject
{
    DECLARE_DYNAMIC(CHttpConnection)
public:
    enum
    {
        HTTP_VERB_MIN = 0,
        HTTP_VERB_POST = 0,
        HTTP_VERB_GET = 1,
        HTTP_VERB_HEAD = 2,
        HTTP_VERB_PUT = 3,
        HTTP_VERB_LINK = 4,
        HTTP_VERB_DELETE = 5,
        HTTP_VERB_UNLINK = 6,
        HTTP_VERB_MAX = 6,
    };

    CHttpConnection(CInternetSession* pSession, HINTERNET hConnection, LPCWSTR pstrServer, INTERNET_PORT nPort,
                    DWORD_PTR dwContext);
    ~CHttpConnection() override;

    CHttpFile* OpenRequest(LPCWSTR pstrVerb, LPCWSTR pstrObjectName, LPCWSTR pstrReferer = NULL,
                           DWORD_PTR dwContext = 1, LPCWSTR* ppstrAcceptTypes = NULL, LPCWSTR pstrVersion = NULL,
                           DWORD dwFlags = INTERNET_FLAG_EXISTING_CONNECT);
    CHttpFile* OpenRequest(int nVerb, LPCWSTR pstrObjectName, LPCWSTR pstrReferer = NULL, DWORD_PTR dwContext = 1,
                           LPCWSTR* ppstrAcceptTypes = NULL, LPCWSTR pstrVersion = NULL,
                           DWORD dwFlags = INTERNET_FLAG_EXISTING_CONNECT);
    virtual void Close();

    const CString& GetServerName() const { return m_strServerName; }
    CInternetSession* GetSession() const { return m_pSession; }
    operator HINTERNET() const { return m_hConnection; }

private:
    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

    CInternetSession* m_pSession;
    HINTERNET m_hConnection;
    CString m_strServerName;
    INTERNET_PORT m_nPort;
    DWORD_PTR m_dwContext;
};

// The file of one request: its body is read like a file; request and
// response headers belong to CHttpFile. The WinINet handle is the file's
// handle (m_hFile); it is closed with InternetCloseHandle, never CloseHandle.
class CInternetFile : public CStdioFile
{
    DECLARE_DYNAMIC(CInternetFile)
public:
    CInternetFile(HINTERNET hFile, LPCWSTR pstrFileName, DWORD_PTR dwContext);
    ~CInternetFile() override;

    // Bytes read (0 at the end of the body); throws on a WinINet error.
    UINT Read(void* lpBuf, UINT nCount) override;
    // The body's next line (8-bit text in the ANSI code page) without its
    // line end; FALSE at the end of the body.
    BOOL ReadString(CString& rString) override;
    LPWSTR ReadString(LPWSTR lpsz, UINT nMax) override;
    // Bytes that can be read now without waiting.
    ULONGLONG GetLength() const override;
    // A response body cannot be written, resized or sought: these throw
    // CNotSupportedException.
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    void SetLength(ULONGLONG dwNewLen) override;
    ULONGLONG GetPosition() const override { return m_nRead; }
    void Flush() override {}
    void Close() override;
    void Abort() override;

    BOOL SetOption(DWORD dwOption, DWORD dwValue, DWORD dwFlags = 0);
    BOOL SetOption(DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength, DWORD dwFlags = 0);
    BOOL QueryOption(DWORD dwOption, DWORD& dwValue) const;

    DWORD_PTR GetContext() const { return m_dwContext; }
    const CString& GetObjectName() const { return m_strFileName; }

protected:
    DWORD_PTR m_dwContext;
    ULONGLONG m_nRead;
    BOOL m_bAtEnd;

private:
    BOOL ReadByte(char& c);
};

class CHttpFile : public CInternetFile
{
    DECLARE_DYNAMIC(CHttpFile)
public:
    CHttpFile(HINTERNET hFile, LPCWSTR pstrObject, LPCWSTR pstrServer, LPCWSTR pstrVerb, DWORD_PTR dwContext);

    // dwHeadersLen -1: up to the terminating zero.
    BOOL AddRequestHeaders(LPCWSTR pstrHeaders, DWORD dwFlags = HTTP_ADDREQ_FLAG_ADD_IF_NEW, int dwHeadersLen = -1);
    BOOL AddRequestHeaders(CString& str, DWORD dwFlags = HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    // Sends the request with extra headers and an optional body; throws on failure.
    BOOL SendRequest(LPCWSTR pstrHeaders = NULL, DWORD dwHeadersLen = 0, LPVOID lpOptional = NULL,
                     DWORD dwOptionalLen = 0);
    BOOL SendRequest(CString& strHeaders, LPVOID lpOptional = NULL, DWORD dwOptionalLen = 0);
    BOOL QueryInfo(DWORD dwInfoLevel, LPVOID lpvBuffer, LPDWORD lpdwBufferLength, LPDWORD lpdwIndex = NULL) const;
    BOOL QueryInfo(DWORD dwInfoLevel, CString& str, LPDWORD lpdwIndex = NULL) const;
    BOOL QueryInfo(DWORD dwInfoLevel, DWORD& dwResult, LPDWORD lpdwIndex = NULL) const;
    BOOL QueryInfoStatusCode(DWORD& dwStatusCode) const;

    const CString& GetVerb() const { return m_strVerb; }
    const CString& GetServerName() const { return m_strServerName; }

private:
    CString m_strServerName;
    CString m_strVerb;
};
