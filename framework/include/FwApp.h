// The application object and the window side of threads.
//
// A program defines exactly one object of a class derived from CWinApp at
// namespace scope (`CClientApp theApp;`) in a source file linked directly
// into the program, links the `framework_winmain` object library, and writes
// no WinMain: the framework's wWinMain finds the object, calls InitInstance
// and then Run (the message loop) or, when InitInstance returns FALSE,
// ExitInstance; the program's exit code is what ExitInstance returns.
//
// A user-interface thread is a class derived from CWinThread with
// DECLARE_DYNCREATE / IMPLEMENT_DYNCREATE, started with
// AfxBeginThread(RUNTIME_CLASS(CMyThread)). Its InitInstance creates a window
// and sets m_pMainWnd; destroying that window ends the thread's loop.
#pragma once
#include "FwWnd.h"
#include "FwThread.h"
#include "FwModule.h"

#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 0xE000 // string-table entry with the application's name
#endif
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    ~CWinApp() override;

    HINSTANCE m_hInstance;
    LPTSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCTSTR m_pszAppName;      // from the constructor, else AFX_IDS_APP_TITLE, else the file name
    LPCTSTR m_pszExeName;      // file name of the program without extension
    LPCTSTR m_pszRegistryKey;  // set by SetRegistryKey
    LPCTSTR m_pszProfileName;  // the application name under the registry key
    LPCTSTR m_pszHelpFilePath; // program path with .HLP

    virtual BOOL InitApplication() { return TRUE; }
    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override;
    int Run() override;

    // Settings go to HKEY_CURRENT_USER\Software\<key>\<application name>.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCTSTR lpszSection);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = NULL);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconW(NULL, lpszIconName); }
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorW(NULL, lpszCursorName); }

    // Help: ID_HELP calls OnHelp, which asks WinHelp for the help contents.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    void OnHelp() { WinHelp(0, HELP_CONTEXT); }

    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    DECLARE_MESSAGE_MAP()

private:
    friend int AFXAPI AfxWinMain(HINSTANCE, HINSTANCE, LPTSTR, int);
    CString m_strAppName, m_strExeName, m_strRegistryKey, m_strProfileName, m_strHelpFilePath;
};

// Entry of every framework program (called by the framework's wWinMain).
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
CWinApp* AFXAPI AfxGetApp();
LPCTSTR AFXAPI AfxGetAppName();
// The calling thread's main window (the application's when the thread has
// no framework thread object).
CWnd* AFXAPI AfxGetMainWnd();
// Takes one message from the queue, offers it to the pre-translate chain and
// dispatches it. FALSE on WM_QUIT.
BOOL AFXAPI AfxPumpMessage();
// The pre-translate chain: the thread object's PreTranslateMessage, which
// walks from the message's window up through its parents.
BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg);
// Called by CWnd when a window is destroyed: a thread whose main window it
// was gets WM_QUIT and forgets it.
void AFXAPI FwOnWindowDestroyed(CWnd* pWnd);
// Connects the window layer to the thread loops (pre-translation and idle
// clean-up); done automatically by the application object and window code.
void AFXAPI FwInstallWindowThreadHooks();

BOOL AFXAPI AfxOleInit();
void AFXAPI AfxEnableControlContainer();
BOOL AFXAPI AfxInitRichEdit2();
BOOL AFXAPI AfxInitRichEdit();
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
