// The application object, the message pump and the window side of threads.
#include "FwApp.h"
#include "FwThreadState.h"
#include <commctrl.h>
#include <ole2.h>

// ---------------------------------------------------------------------------
// Thread hooks: pre-translation walks the windows, idle frees temporaries.

static BOOL AFXAPI FwPreTranslateHook(CWinThread* pThread, MSG* pMsg)
{
    HWND hWndStop = pThread && pThread->m_pMainWnd ? FwSafeHandle(pThread->m_pMainWnd) : NULL;
    return CWnd::WalkPreTranslateTree(hWndStop, pMsg);
}

static BOOL AFXAPI FwIdleHook(CWinThread*, LONG lCount)
{
    // The thread's own loop is idle: no handler holds a temporary now.
    if (lCount == 0)
    {
        FwThreadState* pState = FwGetThreadState();
        pState->DeleteTemporaries(pState->m_nModalDepth);
    }
    return FALSE;
}

void AFXAPI FwInstallWindowThreadHooks()
{
    static bool installed = false;
    if (!installed)
    {
        FwSetThreadHooks(FwPreTranslateHook, FwIdleHook);
        installed = true;
    }
}

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg)
{
    if (CWinThread* pThread = AfxGetThread())
        return pThread->PreTranslateMessage(pMsg);
    return FwPreTranslateHook(NULL, pMsg);
}

BOOL AFXAPI AfxPumpMessage()
{
    FwInstallWindowThreadHooks();
    MSG& msg = FwGetThreadState()->m_msgCur;
    BOOL r = ::GetMessageW(&msg, NULL, 0, 0);
    if (r == 0)
        return FALSE;
    if (r == -1)
        return TRUE;
    if (!AfxPreTranslateMessage(&msg))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

void AFXAPI FwOnWindowDestroyed(CWnd* pWnd)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL && pThread->m_pMainWnd == pWnd)
    {
        pThread->m_pMainWnd = NULL;
        AfxPostQuitMessage(0);
    }
    if (pThread != NULL && pThread->m_pActiveWnd == pWnd)
        pThread->m_pActiveWnd = NULL;
}

// ---------------------------------------------------------------------------
// CWinApp

static CWinApp* g_pApp = NULL;

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_hInstance(NULL), m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWNORMAL), m_pszAppName(NULL), m_pszExeName(NULL),
      m_pszRegistryKey(NULL), m_pszProfileName(NULL), m_pszHelpFilePath(NULL)
{
    // The one application object of the program.
    g_pApp = this;
    m_bAutoDelete = FALSE;
    if (lpszAppName != NULL)
    {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = NULL;
    m_hThread = NULL; // the main thread's handle is not ours to close
}

CWinApp* AFXAPI AfxGetApp() { return g_pApp; }

LPCTSTR AFXAPI AfxGetAppName() { return g_pApp && g_pApp->m_pszAppName ? g_pApp->m_pszAppName : L""; }

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread == NULL)
        pThread = g_pApp;
    return pThread ? pThread->GetMainWnd() : NULL;
}

int CWinApp::Run()
{
    FwInstallWindowThreadHooks();
    return CWinThread::Run();
}

int CWinApp::ExitInstance() { return CWinThread::ExitInstance(); }

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey;
    m_strProfileName = m_pszAppName ? m_pszAppName : L"";
    m_pszProfileName = m_strProfileName;
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == NULL || m_pszProfileName == NULL)
        return NULL;
    CString path;
    path.Format(L"Software\\%s\\%s", m_pszRegistryKey, m_pszProfileName);
    HKEY hKey = NULL;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, NULL,
                          &hKey, NULL) != ERROR_SUCCESS)
        return NULL;
    return hKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection)
{
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == NULL)
        return NULL;
    HKEY hKey = NULL;
    ::RegCreateKeyExW(hAppKey, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, NULL, &hKey,
                      NULL);
    ::RegCloseKey(hAppKey);
    return hKey;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    if (m_pszRegistryKey == NULL)
        return ::GetProfileIntW(lpszSection, lpszEntry, nDefault);
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == NULL)
        return nDefault;
    DWORD value = 0, type = 0, size = sizeof(value);
    LONG r = ::RegQueryValueExW(hKey, lpszEntry, NULL, &type, (LPBYTE)&value, &size);
    ::RegCloseKey(hKey);
    return r == ERROR_SUCCESS && type == REG_DWORD ? (UINT)value : (UINT)nDefault;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == NULL)
        return FALSE;
    DWORD value = (DWORD)nValue;
    LONG r = ::RegSetValueExW(hKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    ::RegCloseKey(hKey);
    return r == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    CString result = lpszDefault ? lpszDefault : L"";
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == NULL)
        return result;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(hKey, lpszEntry, NULL, &type, NULL, &size) == ERROR_SUCCESS && type == REG_SZ)
    {
        int nChars = (int)(size / sizeof(wchar_t));
        LPWSTR buf = result.GetBuffer(nChars + 1);
        if (::RegQueryValueExW(hKey, lpszEntry, NULL, &type, (LPBYTE)buf, &size) == ERROR_SUCCESS)
        {
            buf[size / sizeof(wchar_t)] = 0;
            result.ReleaseBuffer();
        }
        else
        {
            result.ReleaseBuffer(0);
            result = lpszDefault ? lpszDefault : L"";
        }
    }
    ::RegCloseKey(hKey);
    return result;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == NULL)
        return FALSE;
    LONG r;
    if (lpszValue == NULL)
        r = ::RegDeleteValueW(hKey, lpszEntry);
    else
        r = ::RegSetValueExW(hKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                             (DWORD)((lstrlenW(lpszValue) + 1) * sizeof(wchar_t)));
    ::RegCloseKey(hKey);
    return r == ERROR_SUCCESS;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEW(nIDResource)); }

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return ::LoadIconW(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    LPCWSTR name = MAKEINTRESOURCEW(nIDResource);
    return ::LoadCursorW(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name);
}

void CWinApp::WinHelp(DWORD_PTR, UINT) {}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWndOwner = pMainWnd ? FwSafeHandle(pMainWnd) : ::GetActiveWindow();
    if (hWndOwner != NULL && !::IsWindowEnabled(hWndOwner))
        hWndOwner = ::GetActiveWindow();
    return ::MessageBoxW(hWndOwner, lpszPrompt, AfxGetAppName(), nType);
}

// ---------------------------------------------------------------------------
// Program entry

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
    {
        ::MessageBoxW(NULL, L"The program has no application object.", NULL, MB_OK | MB_ICONSTOP);
        return -1;
    }
    AfxSetInstanceHandle(hInstance);
    FwSetCurrentThread(pApp);
    FwInstallWindowThreadHooks();
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    pApp->m_hThread = ::GetCurrentThread();
    pApp->m_nThreadID = ::GetCurrentThreadId();

    // Names derived from the program file: exe name, default app name, help file.
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(hInstance, path, MAX_PATH);
    CString strPath = path;
    CString strName = strPath.Mid(strPath.ReverseFind(L'\\') + 1);
    int dot = strName.ReverseFind(L'.');
    pApp->m_strExeName = dot >= 0 ? strName.Left(dot) : strName;
    pApp->m_pszExeName = pApp->m_strExeName;
    if (pApp->m_pszAppName == NULL)
    {
        // The title string of the resources when there is one, else the file name.
        if (!pApp->m_strAppName.LoadString(AFX_IDS_APP_TITLE) || pApp->m_strAppName.IsEmpty())
            pApp->m_strAppName = pApp->m_strExeName;
        pApp->m_pszAppName = pApp->m_strAppName;
    }
    int pathDot = strPath.ReverseFind(L'.');
    pApp->m_strHelpFilePath = (pathDot >= 0 ? strPath.Left(pathDot) : strPath) + L".HLP";
    pApp->m_pszHelpFilePath = pApp->m_strHelpFilePath;

    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS |
                                                 ICC_BAR_CLASSES | ICC_USEREX_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);

    int nReturnCode;
    if (!pApp->InitApplication() || !pApp->InitInstance())
    {
        if (pApp->m_pMainWnd != NULL)
            pApp->m_pMainWnd->DestroyWindow();
        nReturnCode = pApp->ExitInstance();
    }
    else
        nReturnCode = pApp->Run();
    AfxDeleteTempMaps();
    FwSetCurrentThread(NULL);
    return nReturnCode;
}

// ---------------------------------------------------------------------------
// Small services

BOOL AFXAPI AfxOleInit()
{
    HRESULT hr = ::OleInitialize(NULL);
    return SUCCEEDED(hr);
}

void AFXAPI AfxEnableControlContainer() {}

BOOL AFXAPI AfxInitRichEdit2()
{
    static HMODULE hRichEdit = ::LoadLibraryW(L"RICHED20.DLL");
    return hRichEdit != NULL;
}

BOOL AFXAPI AfxInitRichEdit()
{
    static HMODULE hRichEdit = ::LoadLibraryW(L"RICHED32.DLL");
    return hRichEdit != NULL || AfxInitRichEdit2();
}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxW(::GetActiveWindow(), lpszText, NULL, nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}
