#include "HttpFetcher.h"
#include "Buffer.h"
#include "FwThread.h"
#include <cstdlib>

namespace
{
const DWORD kOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION |
                         INTERNET_FLAG_PRAGMA_NOCACHE;
const long kBodyGrowStep = 1024;
const DWORD kStopWaitMs = 10000;

} // namespace

CHttpFetcher::CHttpFetcher()
    : m_thread(NULL), m_session(NULL), m_stop(0), m_running(0), m_agent(L"yeb360 Player 1.0.0"), m_sizeLimit(0),
      m_statusCode(0), m_body(NULL), m_headers(10)
{
}

CHttpFetcher::~CHttpFetcher()
{
    Stop();
    m_url.Empty();
    m_extraHeaders.Empty();
    m_statusText.Empty();
    m_headers.RemoveAll();
    delete m_body;
}

BOOL CHttpFetcher::SetUrl(LPCWSTR url)
{
    CSingleLock hold(&m_lock, TRUE);
    if (m_running || !url || wcsncmp(url, L"http", 4) != 0)
        return FALSE;
    m_url = url;
    return TRUE;
}

BOOL CHttpFetcher::Start(BOOL async)
{
    if (m_running)
        return FALSE;
    Stop();
    {
        CSingleLock hold(&m_lock, TRUE);
        m_stop = 0;
        m_statusCode = 0;
        m_statusText.Empty();
        m_headers.RemoveAll();
        delete m_body;
        m_body = NULL;
        m_running = 1;
    }
    if (async)
    {
        // The thread object deletes itself when the fetch ends; the fetcher
        // keeps its own handle of the thread to wait for it.
        CWinThread* worker = AfxBeginThread(WorkerProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        if (!worker || !DuplicateHandle(GetCurrentProcess(), worker->m_hThread, GetCurrentProcess(), &m_thread, 0,
                                        FALSE, DUPLICATE_SAME_ACCESS))
        {
            m_thread = NULL;
            m_stop = 1;
            if (worker)
                worker->ResumeThread(); // the stop flag ends its fetch at once
            else
                m_running = 0;
            return FALSE;
        }
        worker->ResumeThread();
        return TRUE;
    }
    Fetch();
    return m_statusCode >= 200 && m_statusCode <= 299;
}

UINT __cdecl CHttpFetcher::WorkerProc(LPVOID self)
{
    static_cast<CHttpFetcher*>(self)->Fetch();
    return 0;
}

void CHttpFetcher::Stop()
{
    InterlockedExchange(&m_stop, 1);
    HINTERNET session;
    {
        CSingleLock hold(&m_lock, TRUE);
        session = m_session;
        m_session = NULL;
    }
    // Closing the session makes the worker's blocking WinINet calls fail.
    if (session)
        InternetCloseHandle(session);
    if (m_thread)
    {
        if (WaitForSingleObject(m_thread, kStopWaitMs) == WAIT_TIMEOUT)
        {
            // Last resort: the worker holds the lock only for moments without
            // blocking calls, so it is not terminated inside it.
            TerminateThread(m_thread, 0);
            Sleep(100);
            m_running = 0;
        }
        CloseHandle(m_thread);
        m_thread = NULL;
    }
    InterlockedExchange(&m_stop, 0);
}

void CHttpFetcher::Fetch()
{
    CString url, headers;
    {
        CSingleLock hold(&m_lock, TRUE);
        url = m_url;
        headers = m_extraHeaders;
    }
    HINTERNET session = InternetOpenW(m_agent, INTERNET_OPEN_TYPE_DIRECT, NULL, NULL, 0);
    if (!session)
    {
        m_running = 0;
        return;
    }
    {
        CSingleLock hold(&m_lock, TRUE);
        m_session = session;
    }
    HINTERNET request = NULL;
    if (!m_stop)
        request = InternetOpenUrlW(session, url, headers.IsEmpty() ? NULL : headers.GetString(),
                                   headers.GetLength(), kOpenFlags, 0);
    if (request)
    {
        wchar_t statusText[256] = L"";
        DWORD length = sizeof statusText - sizeof(wchar_t);
        HttpQueryInfoW(request, HTTP_QUERY_STATUS_TEXT, statusText, &length, NULL);
        if (statusText[0])
        {
            Buffer* body = new Buffer(kBodyGrowStep);
            {
                CSingleLock hold(&m_lock, TRUE);
                m_statusText = statusText;
                m_body = body;
            }
            BOOL complete = FALSE;
            for (;;)
            {
                DWORD available = 0;
                if (!InternetQueryDataAvailable(request, &available, 0, 0))
                    break;
                if (available == 0)
                {
                    complete = TRUE;
                    break;
                }
                if (m_stop)
                    break;
                BYTE* piece = (BYTE*)std::malloc(available);
                if (!piece)
                    break;
                DWORD read = 0;
                BOOL ok = InternetReadFile(request, piece, available, &read);
                if (ok && read > 0)
                    body->Write(piece, (long)read);
                std::free(piece);
                if (!ok)
                    break;
                if (read == 0)
                {
                    complete = TRUE;
                    break;
                }
            }
            if (complete)
            {
                body->Rewind();
                ReadHeaders(request);
                DWORD code = 0;
                length = sizeof code;
                if (HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &length, NULL))
                {
                    CSingleLock hold(&m_lock, TRUE);
                    m_statusCode = code;
                }
            }
        }
        InternetCloseHandle(request);
    }
    {
        CSingleLock hold(&m_lock, TRUE);
        if (m_stop)
            m_statusCode = 0;
        session = m_session;
        m_session = NULL;
        m_running = 0;
    }
    if (session)
        InternetCloseHandle(session);
}

// Files every "name: value" line of the raw headers under its lower-cased,
// trimmed name; the status line has no such colon and is skipped.
void CHttpFetcher::ReadHeaders(HINTERNET request)
{
    DWORD bytes = 0;
    HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS, NULL, &bytes, NULL);
    if (bytes == 0)
        return;
    DWORD count = bytes / sizeof(wchar_t) + 2;
    wchar_t* raw = new wchar_t[count]();
    bytes = (count - 2) * sizeof(wchar_t);
    if (HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS, raw, &bytes, NULL))
    {
        CSingleLock hold(&m_lock, TRUE);
        const wchar_t* end = raw + bytes / sizeof(wchar_t);
        for (const wchar_t* line = raw; line < end && *line; line += wcslen(line) + 1)
        {
            const wchar_t* colon = wcschr(line, L':');
            if (!colon || colon == line)
                continue;
            CString name(line, (int)(colon - line));
            name.Trim();
            name.MakeLower();
            CString value(colon + 1);
            value.Trim();
            CString existing;
            while (m_headers.Lookup(name, existing))
                name += L'_';
            m_headers.SetAt(name, value);
        }
    }
    delete[] raw;
}

CString CHttpFetcher::GetResponseText(UINT codePage)
{
    CSingleLock hold(&m_lock, TRUE);
    if (m_running || !m_body)
        return CString();
    m_body->Rewind();
    return m_body->ToWideString(m_body->GetSize(), codePage);
}

BOOL CHttpFetcher::IsFetching()
{
    return m_running != 0;
}

BOOL CHttpFetcher::WaitForFetch(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (m_running)
    {
        if (GetTickCount() - start >= timeoutMs)
            return FALSE;
        Sleep(10);
    }
    return TRUE;
}

DWORD CHttpFetcher::GetStatusCode()
{
    CSingleLock hold(&m_lock, TRUE);
    return m_statusCode;
}

CString CHttpFetcher::GetStatusText()
{
    CSingleLock hold(&m_lock, TRUE);
    return m_statusText;
}

BOOL CHttpFetcher::LookupHeader(LPCWSTR name, CString& value)
{
    CSingleLock hold(&m_lock, TRUE);
    return m_headers.Lookup(name, value);
}

long CHttpFetcher::GetBodySize()
{
    CSingleLock hold(&m_lock, TRUE);
    return m_body ? m_body->GetSize() : 0;
}
