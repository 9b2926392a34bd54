// User-interface threads created by class, and the application object's
// start-up and exit code.
#include "Framework.h"
#include "FwThreadObject.h"
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace
{
const UINT WM_TEST_FINISH = WM_USER + 30;

// The thread's window: closes itself when asked, which ends the thread's loop.
class CThreadWnd : public CWnd
{
public:
    LRESULT OnFinish(WPARAM, LPARAM)
    {
        DestroyWindow();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CThreadWnd, CWnd)
ON_MESSAGE(WM_TEST_FINISH, &CThreadWnd::OnFinish)
END_MESSAGE_MAP()

struct ThreadReport
{
    HWND hWnd = NULL;
    bool permanentHere = false;   // the window's object as seen on its own thread
    bool mainWndIsOurs = false;   // AfxGetMainWnd on the thread
    int exitInstanceCalls = 0;
    HANDLE hReady = ::CreateEventW(NULL, TRUE, FALSE, NULL);
};
ThreadReport* g_report = NULL;

class CWindowThread : public CWinThread
{
    DECLARE_DYNCREATE(CWindowThread)
public:
    BOOL InitInstance() override
    {
        if (!m_wnd.CreateEx(0, NULL, L"thread", WS_POPUP, 0, 0, 50, 50, NULL, NULL))
            return FALSE;
        m_pMainWnd = &m_wnd;
        g_report->hWnd = m_wnd.m_hWnd;
        g_report->permanentHere = CWnd::FromHandlePermanent(m_wnd.m_hWnd) == &m_wnd;
        g_report->mainWndIsOurs = AfxGetMainWnd() == &m_wnd;
        // Temporaries left behind go when the thread ends.
        CWnd::GetDesktopWindow();
        CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT));
        ::SetEvent(g_report->hReady);
        return TRUE;
    }
    int ExitInstance() override
    {
        ++g_report->exitInstanceCalls;
        CWinThread::ExitInstance();
        return 9;
    }
    CThreadWnd m_wnd;
};
IMPLEMENT_DYNCREATE(CWindowThread, CWinThread)

class CRefusingThread : public CWinThread
{
    DECLARE_DYNCREATE(CRefusingThread)
public:
    BOOL InitInstance() override { return FALSE; }
    int ExitInstance() override
    {
        ++g_report->exitInstanceCalls;
        return 4;
    }
};
IMPLEMENT_DYNCREATE(CRefusingThread, CWinThread)

TEST(UiThread, RunsItsOwnWindowAndEndsWhenTheWindowCloses)
{
    ThreadReport report;
    g_report = &report;
    long nTempsBefore = FwTemporaryObjectCount();
    CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CWindowThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    pThread->m_bAutoDelete = FALSE; // kept so that its handle can be waited on
    pThread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(report.hReady, 10000));
    EXPECT_TRUE(report.permanentHere);
    EXPECT_TRUE(report.mainWndIsOurs);
    // Another thread's windows have no permanent object here.
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(report.hWnd));

    ::PostMessageW(report.hWnd, WM_TEST_FINISH, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pThread->m_hThread, 10000));
    DWORD code = 0;
    ::GetExitCodeThread(pThread->m_hThread, &code);
    EXPECT_EQ(9u, code);
    EXPECT_EQ(1, report.exitInstanceCalls);
    EXPECT_FALSE(::IsWindow(report.hWnd));
    EXPECT_EQ(nTempsBefore, FwTemporaryObjectCount());
    delete pThread;
    ::CloseHandle(report.hReady);
}

TEST(UiThread, InitInstanceFailingEndsTheThreadThroughExitInstance)
{
    ThreadReport report;
    g_report = &report;
    CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CRefusingThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pThread->m_hThread, 10000));
    DWORD code = 0;
    ::GetExitCodeThread(pThread->m_hThread, &code);
    EXPECT_EQ(4u, code);
    EXPECT_EQ(1, report.exitInstanceCalls);
    delete pThread;
    ::CloseHandle(report.hReady);
}

// An application whose main window closes itself once the loop runs.
class CTestApp : public CWinApp
{
public:
    explicit CTestApp(BOOL bRun) : CWinApp(L"TestApp"), m_bRun(bRun) {}
    BOOL InitInstance() override
    {
        m_bInitialized = TRUE;
        if (!m_bRun)
            return FALSE;
        if (!m_wnd.CreateEx(0, NULL, L"main", WS_POPUP, 0, 0, 50, 50, NULL, NULL))
            return FALSE;
        m_pMainWnd = &m_wnd;
        m_wnd.PostMessage(WM_TEST_FINISH);
        return TRUE;
    }
    int ExitInstance() override
    {
        CWinApp::ExitInstance();
        return m_bRun ? 21 : 22;
    }
    BOOL m_bRun;
    BOOL m_bInitialized = FALSE;
    CThreadWnd m_wnd;
};

TEST(Application, WinMainRunsTheAppObjectAndReturnsExitInstancesCode)
{
    {
        CTestApp app(TRUE);
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_EQ(21, AfxWinMain(::GetModuleHandleW(NULL), NULL, (LPWSTR)L"-x", SW_SHOW));
        EXPECT_TRUE(app.m_bInitialized);
        EXPECT_STREQ(L"-x", app.m_lpCmdLine);
        EXPECT_STREQ(L"TestApp", app.m_pszAppName);
        EXPECT_EQ(nullptr, app.m_pMainWnd);
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    {
        CTestApp app(FALSE);
        EXPECT_EQ(22, AfxWinMain(::GetModuleHandleW(NULL), NULL, (LPWSTR)L"", SW_SHOW));
    }
}
} // namespace

namespace
{
// Counts how its destructions found it: whole (its own marks and its block
// intact) or not.
struct Marked
{
    static std::atomic<int> s_whole, s_damaged;
    unsigned m_mark = 0x5EB360u;
    std::vector<int>* m_data = new std::vector<int>(64, 7);
    CString m_text = L"thread object";
    ~Marked()
    {
        bool whole = m_mark == 0x5EB360u && m_data && m_data->size() == 64 && (*m_data)[63] == 7 &&
                     m_text == L"thread object";
        ++(whole ? s_whole : s_damaged);
        if (whole)
            delete m_data;
    }
};
std::atomic<int> Marked::s_whole(0), Marked::s_damaged(0);

DWORD WINAPI UseThreadObjects(LPVOID)
{
    Marked& mine = FwThreadObject<Marked>::Get();
    if (&mine != &FwThreadObject<Marked>::Get() || FwThreadObject<Marked>::Peek() != &mine)
        return 1;
    // A temporary object of the window layer, deleted with the thread's state.
    if (CWnd::FromHandle(::GetDesktopWindow()) == NULL)
        return 2;
    return 0;
}
} // namespace

// Each thread's object is deleted when the thread ends, whole, while other
// threads keep the heap busy; a thread that never asked has none.
TEST(ThreadObject, EachThreadsObjectIsDeletedWholeWhenTheThreadEnds)
{
    Marked::s_whole = Marked::s_damaged = 0;
    long tempsBefore = FwTemporaryObjectCount();
    const int threads = 200;
    std::atomic<bool> churning(true);
    std::thread churn([&] {
        while (churning)
        {
            std::vector<std::wstring> junk(64, std::wstring(40, L'x'));
            junk.clear();
        }
    });
    for (int i = 0; i < threads; ++i)
    {
        HANDLE thread = ::CreateThread(NULL, 0, &UseThreadObjects, NULL, 0, NULL);
        ASSERT_NE((HANDLE)NULL, thread);
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 10000));
        DWORD code = 9;
        ::GetExitCodeThread(thread, &code);
        ::CloseHandle(thread);
        ASSERT_EQ(0u, code) << "the thread saw one object each time it asked";
    }
    churning = false;
    churn.join();
    EXPECT_EQ(threads, Marked::s_whole.load());
    EXPECT_EQ(0, Marked::s_damaged.load());
    EXPECT_EQ(nullptr, FwThreadObject<Marked>::Peek());
    EXPECT_EQ(tempsBefore, FwTemporaryObjectCount()) << "the threads' temporary objects went with them";
}
