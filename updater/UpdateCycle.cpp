#include "UpdateCycle.h"

#include "ProcessSearch.h"
#include "UpdateApp.h"
#include "UpdateMessage.h"
#include "UpdatePath.h"

#include <objbase.h>
#include <shellapi.h>

namespace
{
const wchar_t kWindowClass[] = L"Yeb360UpdateCycle";
} // namespace

CUpdateCycle::CUpdateCycle(CUpdateApp& app)
    : m_app(app), m_window(nullptr), m_phase(0), m_ended(0), m_currentRow(-1), m_downloadStarted(false),
      m_forced(false), m_remind(false), m_installThread(nullptr), m_progress(0), m_progressUpper(0)
{
    m_installer.SetOwner(this);
}

CUpdateCycle::~CUpdateCycle()
{
    if (m_installThread)
    {
        WaitForSingleObject(m_installThread, INFINITE);
        CloseHandle(m_installThread);
    }
    m_downloader.Wait(30000);
    if (m_window)
        DestroyWindow(m_window);
}

void CUpdateCycle::Run()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    m_window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!m_window)
        return;
    SetWindowLongPtrW(m_window, GWLP_USERDATA, (LONG_PTR)this);

    if (!Create())
        return;
    OnUpdate();
    MSG message;
    while (!m_ended && GetMessageW(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT CALLBACK CUpdateCycle::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CUpdateCycle* self = (CUpdateCycle*)GetWindowLongPtrW(window, GWLP_USERDATA);
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message)
    {
    case WM_UPDATE_DOWNLOAD_PROGRESS:
        self->m_progress = (int)lParam;
        return 0;
    case WM_UPDATE_DOWNLOAD_SIZE:
        if ((long)lParam > 0)
            self->m_progressUpper = (int)lParam;
        return 0;
    case WM_UPDATE_DOWNLOAD_DONE:
        self->OnDownloadDone();
        return 0;
    case WM_UPDATE_DOWNLOAD_ERROR:
        self->OnDownloadError((int)wParam);
        return 0;
    case WM_UPDATE_START_INSTALL:
        self->OnStartInstall();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void CUpdateCycle::End()
{
    InterlockedExchange(&m_ended, 1);
    if (m_window)
        PostMessageW(m_window, WM_NULL, 0, 0);
}

BOOL CUpdateCycle::Create()
{
    m_list.SetClientDir(m_app.GetClientDir());
    m_installer.SetClientDir(m_app.GetClientDir());
    m_list.Load();
    int forced = 0, offered = 0;
    m_list.CountUpdates(forced, offered);
    m_forced = forced > 0;
    if (forced + offered == 0)
    {
        ShowUpdateMessage(L"All modules are the latest.", UPDATE_MESSAGE_OK, nullptr);
        return FALSE;
    }
    // One row per module to update, in name order, all chosen.
    for (auto& entry : m_list.m_manifest.m_modules)
        if (entry.second->state == 1 || entry.second->state == 2)
        {
            Row row;
            row.name = entry.first;
            row.state = entry.second->state;
            m_rows.push_back(row);
        }
    return TRUE;
}

void CUpdateCycle::OnUpdate()
{
    bool anyChecked = false;
    for (const Row& row : m_rows)
        anyChecked = anyChecked || row.checked;
    if (!anyChecked)
    {
        ShowUpdateMessage(L"请选择要升级的组件", UPDATE_MESSAGE_OK, nullptr);
        return;
    }
    SaveRemindChoice();
    if (!StartNextDownload())
        SendMessageW(m_window, WM_UPDATE_START_INSTALL, 0, 0);
}

void CUpdateCycle::SaveRemindChoice()
{
    if (m_forced)
        return;
    for (const Row& row : m_rows)
    {
        UpdateModule* module = m_list.FindModule(row.name);
        ClientVersionInfo* record = m_list.FindRecord(row.name);
        if (module && record)
            record->unUpdateVersion = m_remind ? module->verModule : CString();
    }
    m_list.SaveInstalledVersions();
}

void CUpdateCycle::AppendLog(LPCWSTR text, BOOL endLine)
{
    if (!text || !*text)
        return;
    m_log += text;
    if (endLine)
        m_log += L"\r\n";
    OutputDebugStringW(text);
    if (endLine)
        OutputDebugStringW(L"\n");
}

void CUpdateCycle::ShowInstallLog(LPCWSTR text, BOOL endLine)
{
    m_status = text;
    AppendLog(text, endLine);
}

BOOL CUpdateCycle::StartNextDownload()
{
    m_progress = 0;
    InterlockedExchange(&m_phase, 1);
    m_downloadStarted = false;
    for (int row = m_currentRow + 1; row < (int)m_rows.size(); ++row)
    {
        UpdateModule* module = m_list.FindModule(m_rows[row].name);
        if (!m_rows[row].checked || !module)
            continue;
        m_currentRow = row;
        m_downloadStarted = true;
        CString status = L"开始下载：" + module->text;
        m_status = status;
        AppendLog(status, TRUE);
        // The package name comes from the url: it must be one plain file
        // name, and an empty url can never answer; both fail the download
        // instead of leaving the cycle waiting.
        CString destination = m_app.GetClientDir() + L"AutoUpdate\\Download\\" + module->packageName;
        if (!IsSafeFileName(module->packageName) ||
            m_downloader.Start(module->url, destination, m_window) != 0)
            PostMessageW(m_window, WM_UPDATE_DOWNLOAD_ERROR, CUpdateDownloader::STATE_TRANSFER_ERROR, 0);
        return TRUE;
    }
    return FALSE;
}

void CUpdateCycle::OnDownloadDone()
{
    AppendLog(L"下载成功", TRUE);
    if (!StartNextDownload())
        SendMessageW(m_window, WM_UPDATE_START_INSTALL, 0, 0);
}

void CUpdateCycle::OnDownloadError(int state)
{
    AppendLog(L"下载失败", TRUE);
    LPCWSTR text = nullptr;
    switch (state)
    {
    case CUpdateDownloader::STATE_NETWORK_ERROR:
        text = L"网络连接发生错误，请确认网络是否可用，并尝试重新升级！";
        break;
    case CUpdateDownloader::STATE_TRANSFER_ERROR:
        text = L"下载升级包发生错误，请尝试重新升级！";
        break;
    case CUpdateDownloader::STATE_FILE_ERROR:
        text = L"创建文件发生错误，请尝试重新升级！";
        break;
    }
    InterlockedExchange(&m_phase, 0);
    if (text)
    {
        ShowUpdateMessage(text, UPDATE_MESSAGE_OK, nullptr);
        RestartClient(TRUE);
    }
    End();
}

void CUpdateCycle::OnStartInstall()
{
    CWinThread* thread = AfxBeginThread(InstallThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!thread)
    {
        End();
        return;
    }
    DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &m_installThread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    thread->ResumeThread();
}

UINT __cdecl CUpdateCycle::InstallThreadProc(LPVOID self)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    static_cast<CUpdateCycle*>(self)->InstallAll();
    CoUninitialize();
    return 0;
}

void CUpdateCycle::InstallAll()
{
    InterlockedExchange(&m_phase, 2);
    for (const Row& row : m_rows)
    {
        UpdateModule* module = m_list.FindModule(row.name);
        if (!row.checked || !module)
            continue;
        ShowInstallLog(L"开始安装：" + module->text, TRUE);
        m_installer.SetModule(module);
        CString package = m_app.GetClientDir() + L"AutoUpdate\\Download\\" + module->packageName;
        if (!IsSafeFileName(module->packageName) || !m_installer.InstallPackage(package))
        {
            CString text;
            text.Format(L"升级%s发生错误，请尝试重新升级！", (LPCWSTR)module->text);
            ShowUpdateMessage(text, UPDATE_MESSAGE_OK, nullptr);
            RestartClient(TRUE);
            End();
            return;
        }
        m_list.SaveInstalledVersions();
        ShowInstallLog(L"安装成功：" + module->text, TRUE);
    }
    Finish();
    InterlockedExchange(&m_phase, 0);
    End();
}

BOOL CUpdateCycle::ClientRuns(const CString& clientExe) const
{
    for (int i = 0; i < 50; ++i)
    {
        if (FindProcessByPath(clientExe) == (DWORD)-1)
            return FALSE;
        Sleep(100);
    }
    return TRUE;
}

void CUpdateCycle::Finish()
{
    CString clientExe = m_app.GetClientExePath();
    if (clientExe.IsEmpty() || clientExe.Find(L'\\') < 0 || ClientRuns(clientExe))
        return;
    bool success = true;
    for (auto& entry : m_list.m_manifest.m_modules)
        if ((entry.second->state == 1 || entry.second->state == 2) && !entry.second->installed)
            success = false;
    ShowUpdateMessage(success ? L"本次升级成功！按“确定”按钮继续登录。" : L"本地升级失败，请重新升级",
                      UPDATE_MESSAGE_OK, nullptr);
    ShellExecuteW(nullptr, L"open", clientExe, m_app.BuildRestartArguments(success ? FALSE : TRUE), nullptr,
                  SW_SHOWNORMAL);
}

void CUpdateCycle::RestartClient(BOOL logout)
{
    CString clientExe = m_app.GetClientExePath();
    if (clientExe.IsEmpty() || clientExe.Find(L'\\') < 0 || ClientRuns(clientExe))
        return;
    ShellExecuteW(nullptr, L"open", clientExe, m_app.BuildRestartArguments(logout), nullptr, SW_SHOWNORMAL);
}
