#pragma once
#include "FwString.h"
#include "FwSync.h"
#include <map>

// One played song of a listening report; seconds stays 0 (the client does
// not measure listening time).
struct ListenRecord
{
    CString title;
    CString singer;
    int seconds = 0;
};

// Collects the songs the user plays and reports them to the web host in one
// form post per period ("/inset/Gdata/yeb.php"). Two buffers keyed by
// "singer &.& title": one collects while the other is reported. A song is
// reported once per period however often it was played. A report that fails
// gives its songs back to the collecting buffer, and a period that ends while
// a report is still being sent leaves the collecting buffer as it is until
// the next period, so no song is lost or sent twice.
class CListenLog
{
  public:
    static CListenLog* GetInstance();
    // Waits a bounded time for a report being sent (a report that does not
    // end is terminated as a last resort), then frees the object.
    static void ReleaseInstance();

    // The signed-in user's e-mail (GetInstance takes the application
    // object's). The "who" of a report is the first text of the user's
    // profile in the settings object when the report is made.
    void SetUser(LPCWSTR email);

    // Ignored for an empty singer.
    void AddSong(LPCWSTR singer, LPCWSTR title);
    // Ends the period: swaps the buffers and reports the one that collected,
    // on a thread of its own; nothing is posted for an empty period.
    void SwapAndSend();

    // The form body of a report of these records ("a=" and the Base64 of the
    // UTF-8 text, every "+" written "%2B"); empty when there is nothing.
    static CStringA BuildReportBody(LPCWSTR who, LPCWSTR email, const std::map<CString, ListenRecord>& records);
    // Waits for a running report to end; TRUE when none runs any more.
    BOOL WaitForReport(DWORD timeoutMs);
    int GetCollectedCount();

  private:
    typedef std::map<CString, ListenRecord> Records;

    CListenLog();
    ~CListenLog();
    CListenLog(const CListenLog&) = delete;
    CListenLog& operator=(const CListenLog&) = delete;

    static DWORD WINAPI ReportThread(LPVOID self);
    void Report();
    Records& Active() { return m_activeIsA ? m_bufferA : m_bufferB; }
    Records& Inactive() { return m_activeIsA ? m_bufferB : m_bufferA; }
    BOOL IsReporting();

    CCriticalSection m_lock;
    Records m_bufferA;
    Records m_bufferB;
    BOOL m_activeIsA;
    HANDLE m_reporter;
    CString m_email;
};
