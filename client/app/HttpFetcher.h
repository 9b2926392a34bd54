#pragma once
#include "FwCollections.h"
#include "FwString.h"
#include "FwSync.h"
#include <wininet.h>

class Buffer;

// Downloads one document with an HTTP GET through WinINet into a growable
// memory buffer, on the caller's thread or on a worker thread of its own, and
// keeps the status code, the status text and the response headers (names in
// lower case; a repeated header is stored with one more "_" after its name
// each time).
class CHttpFetcher
{
  public:
    CHttpFetcher();
    virtual ~CHttpFetcher();

    // Refused (0) while a fetch runs, for a null address or one that does not
    // begin with "http".
    BOOL SetUrl(LPCWSTR url);
    // Synchronous: 1 when the status is 200 to 299. Asynchronous: 1 once the
    // worker runs. 0 at once while a fetch runs.
    BOOL Start(BOOL async);
    // Ends a running fetch: the session is closed under the worker, which then
    // ends by itself; a worker still running after 10 seconds is terminated.
    void Stop();

    // The whole body decoded with the code page; "" while a fetch runs or
    // when there is no body.
    CString GetResponseText(UINT codePage);
    void GetResponseText(CString& text, UINT codePage) { text = GetResponseText(codePage); }

    BOOL IsFetching();
    // Waits for an asynchronous fetch to end; TRUE when none runs any more.
    BOOL WaitForFetch(DWORD timeoutMs);
    DWORD GetStatusCode();
    CString GetStatusText();
    BOOL LookupHeader(LPCWSTR name, CString& value);
    long GetBodySize();

  private:
    CHttpFetcher(const CHttpFetcher&) = delete;
    CHttpFetcher& operator=(const CHttpFetcher&) = delete;

    static UINT __cdecl WorkerProc(LPVOID self);
    void Fetch();
    void ReadHeaders(HINTERNET request);

    CCriticalSection m_lock;
    HANDLE m_thread;
    HINTERNET m_session;
    volatile LONG m_stop;
    volatile LONG m_running;
    CString m_url;
    CString m_agent;
    CString m_extraHeaders;
    DWORD m_sizeLimit;
    DWORD m_statusCode;
    CString m_statusText;
    Buffer* m_body;
    CMapStringToString m_headers;
};
