#include "UpdateApp.h"

#include "UpdateCycle.h"
#include "UpdateMessage.h"

#include <objbase.h>

namespace
{
const wchar_t kSeparator[] = L"?.?";
const int kSeparatorLength = 3;
} // namespace

CUpdateApp& GetUpdateApp()
{
    static CUpdateApp app;
    return app;
}

CUpdateApp::CUpdateApp() : m_mutex(nullptr)
{
}

CUpdateApp::~CUpdateApp()
{
    ExitInstance();
}

int CUpdateApp::ExitInstance()
{
    if (m_mutex)
    {
        CloseHandle(m_mutex);
        m_mutex = nullptr;
    }
    return 0;
}

BOOL CUpdateApp::InitInstance(LPCWSTR commandLine)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!m_mutex)
    {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        CString name(path);
        name = name.Mid(name.ReverseFind(L'\\') + 1);
        int dot = name.ReverseFind(L'.');
        if (dot > 0)
            name = name.Left(dot);
        m_mutex = CreateMutexW(nullptr, FALSE, CString(L"!_Mutex_") + name);
        if (GetLastError() == ERROR_ALREADY_EXISTS)
        {
            ShowUpdateMessage(L"This is singlton  program", UPDATE_MESSAGE_OK, nullptr);
            return FALSE;
        }
    }
    if (!ParseCommandLine(commandLine))
        return FALSE;
    CUpdateCycle cycle(*this);
    cycle.Run();
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
