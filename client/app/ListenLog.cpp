#include "ListenLog.h"
#include "AppSetting.h"
#include "Base64Codec.h"
#include "ClientApp.h"
#include "FormPost.h"
#include "ServiceAddresses.h"
#include <vector>

namespace
{
const DWORD kReportStopWaitMs = 5000;

CListenLog* g_instance = NULL;

} // namespace

CListenLog* CListenLog::GetInstance()
{
    if (!g_instance)
    {
        g_instance = new CListenLog;
        // The signed-in user's e-mail as the application object knows it now.
        if (CClientApp* app = GetClientApp())
        {
            CString email;
            app->GetUserEmail(email);
            g_instance->SetUser(email);
        }
    }
    return g_instance;
}

void CListenLog::ReleaseInstance()
{
    delete g_instance;
    g_instance = NULL;
}

CListenLog::CListenLog() : m_activeIsA(TRUE), m_reporter(NULL)
{
}

CListenLog::~CListenLog()
{
    if (m_reporter)
    {
        if (WaitForSingleObject(m_reporter, kReportStopWaitMs) == WAIT_TIMEOUT)
            TerminateThread(m_reporter, 3);
        CloseHandle(m_reporter);
    }
}

void CListenLog::SetUser(LPCWSTR email)
{
    CSingleLock hold(&m_lock, TRUE);
    m_email = email ? email : L"";
}

void CListenLog::AddSong(LPCWSTR singer, LPCWSTR title)
{
    if (!singer || !*singer)
        return;
    CString key;
    key.Format(L"%s &.& %s", singer, title ? title : L"");
    CSingleLock hold(&m_lock, TRUE);
    Records& active = Active();
    if (active.find(key) == active.end())
    {
        ListenRecord record;
        record.singer = singer;
        record.title = title ? title : L"";
        active[key] = record;
    }
}

int CListenLog::GetCollectedCount()
{
    CSingleLock hold(&m_lock, TRUE);
    return (int)Active().size();
}

BOOL CListenLog::IsReporting()
{
    return m_reporter && WaitForSingleObject(m_reporter, 0) == WAIT_TIMEOUT;
}

void CListenLog::SwapAndSend()
{
    // A report still being sent keeps its buffer: the collecting buffer goes
    // on collecting and is reported at the end of the next period.
    if (IsReporting())
        return;
    if (m_reporter)
    {
        CloseHandle(m_reporter);
        m_reporter = NULL;
    }
    {
        CSingleLock hold(&m_lock, TRUE);
        m_activeIsA = !m_activeIsA;
        if (Inactive().empty())
            return;
    }
    m_reporter = CreateThread(NULL, 0, ReportThread, this, 0, NULL);
}

BOOL CListenLog::WaitForReport(DWORD timeoutMs)
{
    return !m_reporter || WaitForSingleObject(m_reporter, timeoutMs) == WAIT_OBJECT_0;
}

DWORD WINAPI CListenLog::ReportThread(LPVOID self)
{
    static_cast<CListenLog*>(self)->Report();
    return 0;
}

CStringA CListenLog::BuildReportBody(LPCWSTR who, LPCWSTR email, const std::map<CString, ListenRecord>& records)
{
    if (records.empty())
        return CStringA();
    CString text;
    text.Format(L"who=%s&&mail=%s", who ? who : L"", email ? email : L"");
    int number = 0;
    for (const auto& entry : records)
        text.AppendFormat(L"&&var%d=singer--%s++music--%s++time--%d", ++number, entry.second.singer.GetString(),
                          entry.second.title.GetString(), entry.second.seconds);
    return Base64FieldBody("a=", text);
}

void CListenLog::Report()
{
    Records records;
    CString email, who;
    {
        CSingleLock hold(&m_lock, TRUE);
        records = Inactive();
        email = m_email;
    }
    // The profile is filled at login, before any song is played.
    if (g_pAppSetting)
        who = g_pAppSetting->strNick;
    CStringA body = BuildReportBody(who, email, records);
    BOOL delivered = TRUE;
    if (!body.IsEmpty())
    {
        const CServiceAddresses& service = CServiceAddresses::Get();
        DWORD status = 0;
        delivered = PostForm(service.m_webHost, service.m_webPort, L"/inset/Gdata/yeb.php", body, &status) &&
                    status >= 200 && status <= 299;
    }
    CSingleLock hold(&m_lock, TRUE);
    if (!delivered)
    {
        // Not reported: the songs join the period that is collecting now.
        Records& active = Active();
        for (const auto& entry : Inactive())
            active.insert(entry);
    }
    Inactive().clear();
}
