#include "UpdateApp.h"

#include "UpdateDlg.h"
#include "UpdateMessage.h"

#include <objbase.h>

namespace
{
const wchar_t kSeparator[] = L"?.?";
const int kSeparatorLength = 3;
} // namespace

CUpdateApp::CUpdateApp() : m_mutex(nullptr)
{
}

CUpdateApp::~CUpdateApp()
{
    CloseMutex();
}

void CUpdateApp::CloseMutex()
{
    if (m_mutex)
    {
        CloseHandle(m_mutex);
        m_mutex = nullptr;
    }
}

int CUpdateApp::ExitInstance()
{
    CloseMutex();
    return CWinApp::ExitInstance();
}

BOOL CUpdateApp::InitInstance()
{
    AfxEnableControlContainer();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!m_mutex)
    {
        // The application name: the program's file name without extension.
        m_mutex = CreateMutexW(nullptr, FALSE, CString(L"!_Mutex_") + (m_pszExeName ? m_pszExeName : L"Yeb360Update"));
        if (GetLastError() == ERROR_ALREADY_EXISTS)
        {
            ShowUpdateMessage(L"This is singlton  program", UPDATE_MESSAGE_OK, nullptr);
            return FALSE;
        }
    }
    if (!ParseCommandLine(m_lpCmdLine))
        return FALSE;
    // The dialog is not made the main window: a message it shows while it is
    // being created must not be owned by a window that is not there yet.
    CUpdateDlg dialog(*this);
    dialog.DoModal();
    return FALSE;
}

int CUpdateApp::ParseCommandLine(LPCWSTR arguments)
{
    CString line(arguments ? arguments : L"");
    int first = line.Find(kSeparator);
    int second = first < 0 ? -1 : line.Find(kSeparator, first + kSeparatorLength);
    if (second < 0)
    {
        ShowUpdateMessage(L"Parameters aren't correct!", UPDATE_MESSAGE_OK, nullptr);
        return 0;
    }
    m_clientExePath = line.Left(first);
    m_userName = line.Mid(first + kSeparatorLength, second - first - kSeparatorLength);
    m_credential = line.Mid(second + kSeparatorLength);
    return 1;
}

CString CUpdateApp::ClientDirOf(LPCWSTR modulePath)
{
    CString path(modulePath ? modulePath : L"");
    int slash = path.ReverseFind(L'\\');
    if (slash < 0)
        return CString();
    path = path.Left(slash);
    slash = path.ReverseFind(L'\\');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

CString CUpdateApp::GetClientDir()
{
    if (m_clientDir.IsEmpty())
    {
        wchar_t path[MAX_PATH] = {};
        DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
        if (n > 0 && n < MAX_PATH)
            m_clientDir = ClientDirOf(path);
    }
    return m_clientDir;
}

CString CUpdateApp::BuildRestartArguments(BOOL logout) const
{
    CString arguments = logout ? L"-l:logout" : L"";
    arguments += L"-u:s:" + m_userName + kSeparator + m_credential + L" ";
    return arguments;
}
