// Threads. A CWinThread is either a worker (a function and its parameter,
// started by AfxBeginThread(pfn, param)) or a user-interface thread (a
// class derived from CWinThread whose InitInstance creates windows and whose
// Run pumps messages until WM_QUIT). With m_bAutoDelete (the default) the
// object deletes itself, closing its thread handle, when the thread ends.
#pragma once
#include "FwException.h"
#include "FwMsgMap.h"

class CWnd;

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // Starts the thread (CREATE_SUSPENDED keeps it waiting for ResumeThread).
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);

    operator HANDLE() const { return m_hThread; }
    int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
    }

    // User-interface threads override these. InitInstance returning FALSE
    // ends the thread at once (after ExitInstance).
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();
    // TRUE when the message was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Called while the queue is empty; TRUE asks for more idle calls.
    virtual BOOL OnIdle(LONG lCount);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    // Deletes the object when m_bAutoDelete is set (called as the thread ends).
    virtual void Delete();

    CWnd* m_pMainWnd;
    CWnd* m_pActiveWnd;
    BOOL m_bAutoDelete;
    HANDLE m_hThread;
    DWORD m_nThreadID;
    MSG m_msgCur; // message being handled by Run

    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;

private:
    static unsigned __stdcall ThreadEntry(void* pThis);
};

// Hooks for the window layer: message pre-translation through the windows
// of the thread, and idle-time clean-up. Each may be NULL.
typedef BOOL(AFXAPI* FW_PRETRANSLATE_HOOK)(CWinThread* pThread, MSG* pMsg);
typedef BOOL(AFXAPI* FW_IDLE_HOOK)(CWinThread* pThread, LONG lCount);
void AFXAPI FwSetThreadHooks(FW_PRETRANSLATE_HOOK pfnPreTranslate, FW_IDLE_HOOK pfnIdle);

// Worker thread running pfn(pParam); returns NULL when it cannot start.
CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                                  UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// User-interface thread of a class derived from CWinThread (with
// DECLARE_DYNCREATE); returns NULL when it cannot be created or started.
CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                                  UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// Ends the calling thread (deleting its auto-delete thread object when
// bDelete). Objects on its stack are not destroyed.
[[noreturn]] void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
// Thread object of the calling thread (NULL for threads not started by the
// framework, unless one registered itself with FwSetCurrentThread).
CWinThread* AFXAPI AfxGetThread();
// Makes pThread the calling thread's object (the application object does
// this for the main thread).
void AFXAPI FwSetCurrentThread(CWinThread* pThread);
void AFXAPI AfxPostQuitMessage(int nExitCode);
