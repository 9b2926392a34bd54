#include "ClientApp.h"

#include "AppSetting.h"
#include "DataFolder.h"
#include "DlgMain.h"
#include "ServiceAddresses.h"
#include "UrlDecoder.h"
#include "WindowShadow.h"

#include <shellapi.h>
#include <tlhelp32.h>
#include <cwchar>

const wchar_t* const CClientApp::MutexName = L"Yeb360-80DC83D4-1DFC-46a6-B855-A71B4A08BEAC";

BEGIN_MESSAGE_MAP(CClientApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CClientApp::CClientApp()
    : m_nUploadPort(0), m_hMutex(NULL), m_bOleStarted(FALSE), m_bComStarted(FALSE)
{
}

CClientApp* GetClientApp()
{
    return static_cast<CClientApp*>(AfxGetApp());
}

bool CClientApp::HasLogoutSwitch(LPCWSTR commandLine)
{
    return commandLine && std::wcsstr(commandLine, L"-l:logout") != nullptr;
}

BOOL CALLBACK CClientApp::FindRunningInstance(HWND window, LPARAM)
{
    DWORD windowProcess = 0;
    ::GetWindowThreadProcessId(window, &windowProcess);
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return TRUE;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
    {
        if (entry.th32ProcessID != windowProcess || ::lstrcmpiW(entry.szExeFile, L"Yeb.exe") != 0)
            continue;
        // The main window owns nothing above it, so it is reached through the
        // windows it owns: climb from an owned window to the last owner.
        HWND top = ::GetParent(window);
        if (!top)
            break;
        for (HWND up = ::GetParent(top); up; up = ::GetParent(top))
            top = up;
        wchar_t text[513] = {};
        ::SendMessageTimeoutW(top, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, NULL);
        if (::lstrcmpiW(text, L"YEB360") == 0)
        {
            ::SendMessageTimeoutW(top, WM_YEB_BRING_TO_FRONT, 0, 0, SMTO_ABORTIFHUNG, 30000, NULL);
            ::CloseHandle(snapshot);
            return FALSE;
        }
        break;
    }
    ::CloseHandle(snapshot);
    return TRUE;
}

BOOL CClientApp::InitInstance()
{
    bool logout = HasLogoutSwitch(m_lpCmdLine) || HasLogoutSwitch(::GetCommandLineW());

    // The mutex only marks that a client runs: released at once, its handle
    // kept open for the life of the process so that the name exists.
    m_hMutex = ::CreateMutexW(NULL, TRUE, MutexName);
    DWORD error = ::GetLastError();
    if (m_hMutex)
        ::ReleaseMutex(m_hMutex);
    if (m_hMutex && error == ERROR_ALREADY_EXISTS && !logout)
    {
        ::EnumWindows(&CClientApp::FindRunningInstance, 0);
        return FALSE;
    }

    CWinApp::InitInstance();
    m_bOleStarted = AfxOleInit();
    AfxEnableControlContainer(); // the main window hosts web browser controls
    m_bComStarted = SUCCEEDED(::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED));
    SetRegistryKey(L"Yeb360 Client");
    g_pAppSetting = new CAppSetting; // loads AppSetting.ini
    CWindowShadow::Initialize(m_hInstance);

    {
        CDlgMain dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = NULL;
    }
    return FALSE;
}

int CClientApp::ExitInstance()
{
    EndProcess();
}

void CClientApp::EndProcess()
{
    // Everything that must outlive the process is done before it ends: the
    // settings are written by the settings object's destructor, then COM and
    // OLE are released and the framework's own exit work runs.
    delete g_pAppSetting;
    g_pAppSetting = nullptr;
    if (m_bComStarted)
        ::CoUninitialize();
    m_bComStarted = FALSE;
    if (m_bOleStarted)
        ::OleUninitialize();
    m_bOleStarted = FALSE;
    CWinApp::ExitInstance();

    HANDLE self = ::OpenProcess(PROCESS_TERMINATE, FALSE, ::GetCurrentProcessId());
    ::TerminateProcess(self ? self : ::GetCurrentProcess(), static_cast<UINT>(-9));
    ::ExitProcess(static_cast<UINT>(-9)); // not reached
}

void CClientApp::WinHelp(DWORD_PTR, UINT)
{
    CString url = CServiceAddresses::Get().WebUrl(L"/help.shtml");
    ::ShellExecuteW(NULL, L"open", url, NULL, NULL, SW_SHOWNORMAL);
}

int CClientApp::GetUserEmail(CString& email) const
{
    email = m_strUserEmail;
    return m_strUserEmail.IsEmpty() ? 0 : 1;
}

void CClientApp::SetUploadServerPort(LPCWSTR port)
{
    int value = 0;
    for (const wchar_t* p = port; p && *p >= L'0' && *p <= L'9' && value <= 99999999; ++p)
        value = value * 10 + (*p - L'0');
    m_nUploadPort = value;
}

CString CClientApp::GetMyPlaylistPath() const
{
    return BuildMyPlaylistPath(m_strUserEmail);
}

CString CClientApp::GetFriendPlaylistPath(LPCWSTR buddy) const
{
    return BuildFriendPlaylistPath(buddy);
}

int CClientApp::UrlEncodeForm(const char* bytes, char* out, int outSize)
{
    return ::UrlEncodeForm(bytes, out, outSize);
}
