// Worker and user-interface threads.
#include "FwThread.h"
#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace
{
thread_local CWinThread* t_pCurrentThread = NULL;
FW_PRETRANSLATE_HOOK g_pfnPreTranslate = NULL;
FW_IDLE_HOOK g_pfnIdle = NULL;
} // namespace

void AFXAPI FwSetThreadHooks(FW_PRETRANSLATE_HOOK pfnPreTranslate, FW_IDLE_HOOK pfnIdle)
{
    g_pfnPreTranslate = pfnPreTranslate;
    g_pfnIdle = pfnIdle;
}

CWinThread* AFXAPI AfxGetThread() { return t_pCurrentThread; }

void AFXAPI FwSetCurrentThread(CWinThread* pThread) { t_pCurrentThread = pThread; }

void AFXAPI AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

CWinThread::CWinThread() : CWinThread(NULL, NULL) {}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pMainWnd(NULL), m_pActiveWnd(NULL), m_bAutoDelete(TRUE), m_hThread(NULL), m_nThreadID(0), m_msgCur(),
      m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam)
{
}

CWinThread::~CWinThread()
{
    if (m_hThread)
        CloseHandle(m_hThread);
    if (t_pCurrentThread == this)
        t_pCurrentThread = NULL;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (m_hThread)
        return FALSE; // already started
    unsigned id = 0;
    // Always start suspended so that m_hThread and m_nThreadID are set
    // before the thread can run (and perhaps delete this object).
    uintptr_t h = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                                 (dwCreateFlags | CREATE_SUSPENDED) & ~STACK_SIZE_PARAM_IS_A_RESERVATION, &id);
    if (!h)
        return FALSE;
    m_hThread = (HANDLE)h;
    m_nThreadID = id;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

unsigned __stdcall CWinThread::ThreadEntry(void* pThis)
{
    CWinThread* pThread = static_cast<CWinThread*>(pThis);
    t_pCurrentThread = pThread;
    UINT nResult;
    if (pThread->m_pfnThreadProc)
        nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
    else if (!pThread->InitInstance())
        nResult = (UINT)pThread->ExitInstance();
    else
        nResult = (UINT)pThread->Run();
    t_pCurrentThread = NULL;
    pThread->Delete();
    return nResult;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::Run()
{
    for (;;)
    {
        LONG lIdle = 0;
        while (!::PeekMessageW(&m_msgCur, NULL, 0, 0, PM_NOREMOVE) && OnIdle(lIdle++))
        {
        }
        BOOL r = ::GetMessageW(&m_msgCur, NULL, 0, 0);
        if (r == 0)
            return ExitInstance(); // WM_QUIT
        if (r == -1)
            continue;
        if (!PreTranslateMessage(&m_msgCur))
        {
            ::TranslateMessage(&m_msgCur);
            ::DispatchMessageW(&m_msgCur);
        }
    }
}

int CWinThread::ExitInstance()
{
    // The exit code of a thread ended by WM_QUIT is the quit message's code.
    return m_msgCur.message == WM_QUIT ? (int)m_msgCur.wParam : 0;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) { return g_pfnPreTranslate ? g_pfnPreTranslate(this, pMsg) : FALSE; }

BOOL CWinThread::OnIdle(LONG lCount) { return g_pfnIdle ? g_pfnIdle(this, lCount) : FALSE; }

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

namespace
{
CWinThread* Start(CWinThread* pThread, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                  LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs))
    {
        delete pThread;
        return NULL;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}
} // namespace

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    ENSURE_ARG(pfnThreadProc != NULL);
    CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
    return Start(pThread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    ENSURE_ARG(pThreadClass != NULL && pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread)));
    CWinThread* pThread = static_cast<CWinThread*>(pThreadClass->CreateObject());
    if (!pThread)
        return NULL;
    return Start(pThread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete)
{
    CWinThread* pThread = t_pCurrentThread;
    t_pCurrentThread = NULL;
    if (pThread && bDelete)
        pThread->Delete();
    _endthreadex(nExitCode);
    for (;;)
    {
    }
}
