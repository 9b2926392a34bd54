// Run-time classes, exceptions, threads, synchronisation and BSTRs.
#include "Framework.h"
#include <gtest/gtest.h>

namespace
{
class CFwTestUiThread : public CWinThread
{
    DECLARE_DYNCREATE(CFwTestUiThread)
  public:
    static CEvent* s_pReady;
    static CEvent* s_pGotMessage;
    BOOL InitInstance() override
    {
        MSG msg;
        PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE); // make the message queue
        s_pReady->SetEvent();
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_APP + 7 && pMsg->hwnd == NULL)
        {
            s_pGotMessage->SetEvent();
            AfxPostQuitMessage((int)pMsg->wParam);
            return TRUE;
        }
        return CWinThread::PreTranslateMessage(pMsg);
    }
};
CEvent* CFwTestUiThread::s_pReady = NULL;
CEvent* CFwTestUiThread::s_pGotMessage = NULL;
IMPLEMENT_DYNCREATE(CFwTestUiThread, CWinThread)

UINT __cdecl SignalWorker(LPVOID p)
{
    // The worker sees its own thread object.
    CEvent* pEvent = static_cast<CEvent*>(p);
    if (AfxGetThread() != NULL)
        pEvent->SetEvent();
    return 0;
}

DWORD RunProbe(const wchar_t* mutexName)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    *wcsrchr(path, L'\\') = 0;
    CString cmd;
    cmd.Format(L"\"%s\\fw_mutex_probe.exe\" %s", path, mutexName);
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(NULL, cmd.GetBuffer(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return (DWORD)-1;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = (DWORD)-1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}
} // namespace

TEST(RuntimeClass, CreatesClassesOfAStaticLibraryByName)
{
    CObject* p = CRuntimeClass::CreateObject(L"CFwTestTriangle");
    ASSERT_NE(nullptr, p);
    CRuntimeClass* shape = CRuntimeClass::FromName("CFwTestShape");
    ASSERT_NE(nullptr, shape);
    EXPECT_TRUE(p->IsKindOf(shape));
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(p->IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_STREQ("CFwTestTriangle", p->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(shape, p->GetRuntimeClass()->m_pBaseClass);
    delete p;

    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("NoSuchClass"));
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("cfwtesttriangle")); // names are exact
    // Dynamic but not creatable.
    EXPECT_NE(nullptr, CRuntimeClass::FromName("CFileException"));
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CFileException"));
}

TEST(Exceptions, ThrownAsPointersAndDeleted)
{
    try
    {
        AfxThrowFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, L"C:\\missing.txt");
    }
    catch (CException* e)
    {
        ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(CFileException)));
        CFileException* fe = static_cast<CFileException*>(e);
        EXPECT_EQ(CFileException::fileNotFound, fe->m_cause);
        EXPECT_STREQ(L"C:\\missing.txt", fe->m_strFileName);
        wchar_t msg[256];
        EXPECT_TRUE(e->GetErrorMessage(msg, _countof(msg)));
        EXPECT_NE(nullptr, wcsstr(msg, L"missing.txt"));
        e->Delete();
    }
    EXPECT_EQ(CFileException::accessDenied, CFileException::OsErrorToException(ERROR_ACCESS_DENIED));
    EXPECT_EQ(CFileException::sharingViolation, CFileException::OsErrorToException(ERROR_SHARING_VIOLATION));

    CMemoryException mem;
    EXPECT_EQ(E_OUTOFMEMORY, COleException::Process(&mem));
    COleException ole(E_NOINTERFACE);
    EXPECT_EQ(E_NOINTERFACE, COleException::Process(&ole));
}

TEST(Threads, WorkerSignalsEvent)
{
    CEvent done;
    CWinThread* pThread = AfxBeginThread(SignalWorker, &done);
    ASSERT_NE(nullptr, pThread);
    CSingleLock lock(&done);
    EXPECT_TRUE(lock.Lock(10000));
    EXPECT_TRUE(lock.IsLocked());

    // A kept thread object outlives its thread and reports its exit code.
    CEvent again;
    CWinThread* kept =
        AfxBeginThread(SignalWorker, &again, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, kept);
    kept->m_bAutoDelete = FALSE;
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, kept->GetThreadPriority());
    kept->ResumeThread();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(kept->m_hThread, 10000));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(again, 0));
    delete kept;
}

TEST(Threads, UserInterfaceThreadPumpsMessagesUntilQuit)
{
    CEvent ready, got(FALSE, TRUE);
    CFwTestUiThread::s_pReady = &ready;
    CFwTestUiThread::s_pGotMessage = &got;
    CWinThread* pThread =
        AfxBeginThread(RUNTIME_CLASS(CFwTestUiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    ASSERT_TRUE(pThread->IsKindOf(RUNTIME_CLASS(CFwTestUiThread)));
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 10000));
    EXPECT_TRUE(pThread->PostThreadMessage(WM_APP + 7, 42, 0));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(got, 10000));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pThread->m_hThread, 10000));
    DWORD code = 0;
    GetExitCodeThread(pThread->m_hThread, &code);
    EXPECT_EQ(42u, code); // the WM_QUIT code
    delete pThread;
}

TEST(Sync, NamedMutexIsSeenByASecondProcess)
{
    wchar_t name[64];
    swprintf(name, 64, L"YebFwTestMutex%lu", GetCurrentProcessId());
    EXPECT_EQ(12u, RunProbe(name)); // not there yet
    {
        CMutex mutex(TRUE, name);
        EXPECT_EQ(10u, RunProbe(name)); // held by this process
        mutex.Unlock();
        EXPECT_EQ(11u, RunProbe(name)); // free
        CSingleLock lock(&mutex, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_EQ(10u, RunProbe(name));
    }
}

TEST(Sync, CriticalSectionAndManualEvent)
{
    CCriticalSection cs;
    {
        CSingleLock lock(&cs, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        lock.Unlock();
        EXPECT_FALSE(lock.IsLocked());
    }
    CEvent manual(FALSE, TRUE);
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, WaitForSingleObject(manual, 0));
    manual.SetEvent();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(manual, 0));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(manual, 0)); // stays set
    manual.ResetEvent();
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, WaitForSingleObject(manual, 0));
    CEvent autoReset(TRUE);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(autoReset, 0));
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, WaitForSingleObject(autoReset, 0));
}

TEST(Bstr, OwnsCopiesAndKeepsLength)
{
    const wchar_t withNul[] = L"a\0b";
    CBstr a(withNul, 3);
    EXPECT_EQ(3u, a.Length());
    CBstr b;
    b.AssignBstr(a);
    EXPECT_EQ(3u, b.Length());
    EXPECT_EQ(0, memcmp(withNul, (BSTR)b, 3 * sizeof(wchar_t)));
    BSTR same = b;
    b.AssignBstr(b); // same allocation: kept, not copied
    EXPECT_EQ(same, (BSTR)b);
    CBstr c(L"\x4F60\x597D");
    EXPECT_STREQ(L"\x4F60\x597D", c.ToString());
    CString formatted;
    formatted.Format(L"[%s]", c);
    EXPECT_STREQ(L"[\x4F60\x597D]", formatted);
    CBstr empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_STREQ(L"", empty.ToString());
    BSTR out = NULL;
    *c.Out() = SysAllocString(L"from callee");
    EXPECT_STREQ(L"from callee", c);
    out = c.Detach();
    EXPECT_EQ(nullptr, (BSTR)c);
    SysFreeString(out);
}
