#include "UpdateDlg.h"

#include "ProcessSearch.h"
#include "UpdateApp.h"
#include "UpdateButtonStyle.h"
#include "UpdateMessage.h"
#include "UpdatePath.h"
#include "resource.h"

#include <objbase.h>
#include <shellapi.h>

IMPLEMENT_DYNAMIC(CUpdateDlg, CSkinDialog)

BEGIN_MESSAGE_MAP(CUpdateDlg, CSkinDialog)
    ON_WM_CREATE()
    ON_WM_CTLCOLOR()
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_UPDATE_NOW, &CUpdateDlg::OnUpdate)
    ON_BN_CLICKED(IDC_UPDATE_NOT_NOW, &CUpdateDlg::OnCancel)
    ON_BN_CLICKED(IDC_UPDATE_CLOSE, &CUpdateDlg::OnCancel)
    ON_BN_CLICKED(IDC_UPDATE_MINIMISE, &CUpdateDlg::OnMinimise)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_UPDATE_MODULES, &CUpdateDlg::OnModuleChanged)
    ON_NOTIFY(NM_CLICK, IDC_UPDATE_MODULES, &CUpdateDlg::OnModuleClick)
    ON_MESSAGE(WM_UPDATE_DOWNLOAD_PROGRESS, &CUpdateDlg::OnDownloadProgress)
    ON_MESSAGE(WM_UPDATE_DOWNLOAD_DONE, &CUpdateDlg::OnDownloadDone)
    ON_MESSAGE(WM_UPDATE_DOWNLOAD_ERROR, &CUpdateDlg::OnDownloadError)
    ON_MESSAGE(WM_UPDATE_DOWNLOAD_SIZE, &CUpdateDlg::OnDownloadSize)
    ON_MESSAGE(WM_UPDATE_START_INSTALL, &CUpdateDlg::OnStartInstall)
    ON_MESSAGE(WM_UPDATE_INSTALL_ROW, &CUpdateDlg::OnInstallRow)
    ON_MESSAGE(WM_UPDATE_INSTALL_LOG, &CUpdateDlg::OnInstallLog)
    ON_MESSAGE(WM_UPDATE_INSTALL_PROGRESS, &CUpdateDlg::OnInstallProgress)
    ON_MESSAGE(WM_UPDATE_INSTALL_ASK, &CUpdateDlg::OnInstallAsk)
    ON_MESSAGE(WM_UPDATE_INSTALL_DONE, &CUpdateDlg::OnInstallDone)
END_MESSAGE_MAP()

namespace
{

const COLORREF kLabelColour = RGB(255, 255, 255);
const DWORD kListStyleForced = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
const DWORD kListStyleChoice = kListStyleForced | LVS_EX_CHECKBOXES;
const wchar_t kDownloadFolder[] = L"AutoUpdate\\Download\\";

// The manifest writes line breaks of a hint as the two characters "\r" and "\n".
CString HintText(const CString& hint)
{
    CString text(hint);
    text.Replace(L"\\r", L"\r");
    text.Replace(L"\\n", L"\n");
    return text;
}

void Place(CWnd& control, int x, int y, int width, int height)
{
    control.SetWindowPos(NULL, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceKeepingSize(CWnd& control, int x, int y)
{
    control.SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

CUpdateDlg::CUpdateDlg(CUpdateApp& app, CWnd* pParent)
    : CSkinDialog(IDD, pParent), m_hSmallIcon(NULL), m_bDownloadStarted(FALSE), m_phase(PHASE_CHOOSING),
      m_currentRow(-1), m_installThread(NULL), m_bForced(FALSE), m_app(app)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    m_hSmallIcon = (HICON)::LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP_SMALL), IMAGE_ICON, 16, 16, 0);
    m_list.SetClientDir(app.GetClientDir());
    m_installer.SetClientDir(app.GetClientDir());
    m_installer.SetOwner(this);
}

CUpdateDlg::~CUpdateDlg()
{
    // The install thread posts its last message before it ends; nothing it
    // sends can be waiting here.
    if (m_installThread)
    {
        WaitForSingleObject(m_installThread, INFINITE);
        CloseHandle(m_installThread);
    }
    m_downloader.Wait(30000);
    if (m_hSmallIcon)
        DestroyIcon(m_hSmallIcon);
}

void CUpdateDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UPDATE_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_UPDATE_MODULES, m_modules);
    DDX_Control(pDX, IDC_UPDATE_LOG, m_logPane);
    DDX_Control(pDX, IDC_UPDATE_PROGRESS_LABEL, m_progressLabel);
    DDX_Control(pDX, IDC_UPDATE_MODULES_LABEL, m_modulesLabel);
    DDX_Control(pDX, IDC_UPDATE_STATUS, m_status);
    DDX_Control(pDX, IDC_UPDATE_DONT_REMIND_LABEL, m_remindLabel);
    DDX_Control(pDX, IDC_UPDATE_NOW, m_btnUpdate);
    DDX_Control(pDX, IDC_UPDATE_NOT_NOW, m_btnNotNow);
    DDX_Control(pDX, IDC_UPDATE_CLOSE, m_btnClose);
    DDX_Control(pDX, IDC_UPDATE_MINIMISE, m_btnMinimise);
    DDX_Control(pDX, IDC_UPDATE_DONT_REMIND, m_remind);
}

int CUpdateDlg::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinDialog::OnCreate(lpCreateStruct) == -1)
        return -1;
    AfxInitRichEdit2(); // before the dialog's controls, the log pane among them, are made
    if (!m_list.Load())
        return -1;
    int forced = 0, offered = 0;
    m_list.CountUpdates(forced, offered);
    m_bForced = forced > 0;
    if (forced + offered == 0)
    {
        ShowUpdateMessage(L"All modules are the latest.", UPDATE_MESSAGE_OK, NULL);
        return -1;
    }
    return 0;
}

BOOL CUpdateDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetTopLeftBitmap(IDB_UPDATE_FRAME_TOP_LEFT);
    SetTopBitmap(IDB_UPDATE_FRAME_TOP);
    SetTopRightBitmap(IDB_UPDATE_FRAME_TOP_RIGHT);
    SetLeftBitmap(IDB_UPDATE_BODY);
    SetRightBitmap(IDB_UPDATE_FRAME_RIGHT);
    SetBottomLeftBitmap(IDB_UPDATE_FRAME_BOTTOM_LEFT);
    SetBottomBitmap(IDB_UPDATE_FRAME_BOTTOM);
    SetBottomRightBitmap(IDB_UPDATE_FRAME_BOTTOM_RIGHT);
    SetTitleBitmap(IDB_UPDATE_TITLE);
    SetTitleBitmapPos(1, 0);
    SetWindowText(L"升级");
    MoveWindow(0, 0, WIDTH, HEIGHT);
    LayOut();

    CMenu* systemMenu = GetSystemMenu(FALSE);
    if (systemMenu)
    {
        wchar_t about[64] = {};
        ::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 64);
        if (about[0])
        {
            ::AppendMenuW(systemMenu->GetSafeHmenu(), MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu->GetSafeHmenu(), MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hSmallIcon ? m_hSmallIcon : m_hIcon, FALSE);

    FillModules();
    m_btnUpdate.SetFocus();
    return FALSE; // the focus was set here
}

void CUpdateDlg::LayOut()
{
    StyleUpdateButton(m_btnUpdate, IDB_LOGIN_BTN_LEFT, IDB_LOGIN_BTN_MIDDLE, IDB_LOGIN_BTN_RIGHT);
    StyleUpdateButton(m_btnNotNow, IDB_LOGIN_BTN_LEFT, IDB_LOGIN_BTN_MIDDLE, IDB_LOGIN_BTN_RIGHT);
    Place(m_btnUpdate, 173, 311, 75, 24);
    Place(m_btnNotNow, 272, 311, 75, 24);

    CRect client;
    GetClientRect(&client);
    StyleCaptionButton(m_btnClose, IDB_BTN_UPDATE_CLOSE);
    PlaceKeepingSize(m_btnClose, client.Width() - 34, 0);
    StyleCaptionButton(m_btnMinimise, IDB_BTN_UPDATE_MINIMISE);
    PlaceKeepingSize(m_btnMinimise, client.Width() - 61, 0);

    for (CTransparentStatic* label : {&m_progressLabel, &m_modulesLabel, &m_status, &m_remindLabel})
        label->m_textColour = kLabelColour;
    m_logPane.ShowWindow(SW_HIDE);
    m_status.ShowWindow(SW_HIDE);
    m_progressLabel.ShowWindow(SW_HIDE);
    m_progress.ShowWindow(SW_HIDE);
    m_progress.SetBkColor(RGB(255, 255, 255));

    Place(m_status, 30, 90, 330, 20);
    Place(m_progress, 30, 120, 330, 15);
    PlaceKeepingSize(m_modulesLabel, 30, 155);
    Place(m_progressLabel, 30, 160, 330, 20);
    Place(m_modules, 30, 175, 330, 110);
    Place(m_logPane, 30, 185, 330, 110);
    PlaceKeepingSize(m_remind, 30, 290);
    Place(m_remindLabel, 47, 292, 330, 20);

    // Forced modules leave nothing to choose: no check boxes, no "not now"
    // and no "do not remind me".
    if (m_bForced)
    {
        m_modules.SetExtendedStyle(kListStyleForced);
        m_btnNotNow.ShowWindow(SW_HIDE);
        m_remind.ShowWindow(SW_HIDE);
        m_remindLabel.ShowWindow(SW_HIDE);
    }
    else
    {
        m_modules.SetExtendedStyle(kListStyleChoice);
        m_remind.ShowWindow(SW_SHOW);
        m_remindLabel.ShowWindow(SW_SHOW);
    }
}

void CUpdateDlg::FillModules()
{
    CRect listClient;
    m_modules.GetClientRect(&listClient);
    m_modules.InsertColumn(0, L"名称", LVCFMT_LEFT, listClient.Width(), 0);
    m_modules.InsertColumn(1, L"升级组件", LVCFMT_LEFT, 0, 1);
    for (auto& entry : m_list.m_manifest.m_modules)
    {
        const UpdateModule& module = *entry.second;
        if (module.state != 1 && module.state != 2)
            continue;
        int row = m_modules.InsertItem(LVIF_TEXT | LVIF_PARAM, m_modules.GetItemCount(), module.text, 0, 0, 0,
                                       (LPARAM)module.state);
        m_modules.SetItemText(row, 1, module.name);
        m_modules.SetCheck(row, TRUE);
    }
    if (m_modules.GetItemCount() > 0)
    {
        SelectRow(0);
        if (UpdateModule* module = ModuleOfRow(0))
            ShowHint(*module);
    }
}

UpdateModule* CUpdateDlg::ModuleOfRow(int row) const
{
    return m_list.FindModule(m_modules.GetItemText(row, 1));
}

BOOL CUpdateDlg::IsRowChosen(int row) const
{
    // Without check boxes every listed module is to be installed.
    return m_bForced || m_modules.GetCheck(row);
}

void CUpdateDlg::SelectRow(int row)
{
    m_modules.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_modules.EnsureVisible(row, FALSE);
}

void CUpdateDlg::ShowHint(const UpdateModule& module)
{
    m_logPane.SetWindowText(HintText(module.hint));
    m_logPane.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
}

CString CUpdateDlg::PackagePath(const UpdateModule& module) const
{
    return m_app.GetClientDir() + kDownloadFolder + module.packageName;
}

void CUpdateDlg::AppendLog(LPCWSTR text, BOOL endLine)
{
    if (text && *text)
    {
        m_logText += text;
        if (endLine)
            m_logText += L"\r\n";
    }
    m_logPane.SetWindowText(m_logText);
    m_logPane.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
}

void CUpdateDlg::OnOK()
{
    if (m_phase == PHASE_CHOOSING)
        OnUpdate();
}

void CUpdateDlg::OnUpdate()
{
    if (m_phase != PHASE_CHOOSING)
        return;
    BOOL anyChosen = FALSE;
    for (int row = 0; row < m_modules.GetItemCount(); ++row)
        anyChosen = anyChosen || IsRowChosen(row);
    if (!anyChosen)
    {
        ShowUpdateMessage(L"请选择要升级的组件", UPDATE_MESSAGE_OK, m_hWnd);
        return;
    }
    ShowProgressPanel();
    SaveRemindChoice();
    if (!StartNextDownload())
        SendMessage(WM_UPDATE_START_INSTALL, 0, 0);
}

void CUpdateDlg::ShowProgressPanel()
{
    m_btnNotNow.ShowWindow(SW_HIDE);
    SetLeftBitmap(IDB_UPDATE_BODY_PROGRESS);
    Invalidate();
    for (CWnd* control : {(CWnd*)&m_modules, (CWnd*)&m_btnUpdate, (CWnd*)&m_modulesLabel, (CWnd*)&m_remind,
                          (CWnd*)&m_remindLabel})
        control->ShowWindow(SW_HIDE);
    for (CWnd* control : {(CWnd*)&m_logPane, (CWnd*)&m_status, (CWnd*)&m_progressLabel, (CWnd*)&m_progress})
        control->ShowWindow(SW_SHOW);
    m_btnNotNow.EnableWindow(FALSE);
    UpdateWindow();
}

void CUpdateDlg::SaveRemindChoice()
{
    if (m_bForced)
        return;
    BOOL remind = m_remind.GetCheck() == BST_CHECKED;
    for (int row = 0; row < m_modules.GetItemCount(); ++row)
    {
        UpdateModule* module = ModuleOfRow(row);
        ClientVersionInfo* record = module ? m_list.FindRecord(module->name) : nullptr;
        if (record)
            record->unUpdateVersion = remind ? module->verModule : CString();
    }
    m_list.SaveInstalledVersions();
}

BOOL CUpdateDlg::StartNextDownload()
{
    m_progress.SetPos(0);
    InterlockedExchange(&m_phase, PHASE_DOWNLOADING);
    m_bDownloadStarted = FALSE;
    for (int row = m_currentRow + 1; row < m_modules.GetItemCount(); ++row)
    {
        UpdateModule* module = IsRowChosen(row) ? ModuleOfRow(row) : nullptr;
        if (!module)
            continue;
        m_currentRow = row;
        SelectRow(row);
        ShowHint(*module);
        // The package name comes from the url: it must be one plain file
        // name, and an empty url can never answer; both fail the download
        // at once instead of leaving the window waiting in this phase.
        if (!IsSafeFileName(module->packageName) ||
            m_downloader.Start(module->url, PackagePath(*module), m_hWnd) != 0)
            PostMessage(WM_UPDATE_DOWNLOAD_ERROR, CUpdateDownloader::STATE_TRANSFER_ERROR, 0);
        m_bDownloadStarted = TRUE;
        CString status = L"开始下载：" + module->text;
        m_status.SetWindowText(status);
        AppendLog(status, TRUE);
        return TRUE;
    }
    return FALSE;
}

LRESULT CUpdateDlg::OnDownloadProgress(WPARAM, LPARAM lParam)
{
    m_progress.SetPos((int)lParam);
    return 0;
}

LRESULT CUpdateDlg::OnDownloadSize(WPARAM, LPARAM lParam)
{
    if ((long)lParam > 0)
        m_progress.SetRange32(0, (int)lParam);
    return 0;
}

LRESULT CUpdateDlg::OnDownloadDone(WPARAM, LPARAM)
{
    AppendLog(L"下载成功", TRUE);
    if (!StartNextDownload())
        SendMessage(WM_UPDATE_START_INSTALL, 0, 0);
    return 0;
}

LRESULT CUpdateDlg::OnDownloadError(WPARAM wParam, LPARAM)
{
    AppendLog(L"下载失败", TRUE);
    LPCWSTR text = nullptr;
    switch ((int)wParam)
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
    InterlockedExchange(&m_phase, PHASE_CHOOSING);
    if (text)
    {
        ShowUpdateMessage(text, UPDATE_MESSAGE_OK, m_hWnd);
        RestartClient(TRUE);
    }
    EndUpdate();
    return 0;
}

LRESULT CUpdateDlg::OnStartInstall(WPARAM, LPARAM)
{
    m_btnNotNow.EnableWindow(FALSE);
    // The install thread gets its work list here and touches no control.
    m_installItems.clear();
    for (int row = 0; row < m_modules.GetItemCount(); ++row)
    {
        UpdateModule* module = IsRowChosen(row) ? ModuleOfRow(row) : nullptr;
        if (module)
            m_installItems.push_back({row, module});
    }
    InterlockedExchange(&m_phase, PHASE_INSTALLING);
    CWinThread* thread = AfxBeginThread(InstallThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!thread)
    {
        InterlockedExchange(&m_phase, PHASE_CHOOSING);
        EndUpdate();
        return 0;
    }
    // The handle is kept past the thread object's own end.
    DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &m_installThread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    thread->ResumeThread();
    return 0;
}

UINT __cdecl CUpdateDlg::InstallThreadProc(LPVOID self)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    static_cast<CUpdateDlg*>(self)->InstallAll();
    CoUninitialize();
    return 0;
}

void CUpdateDlg::InstallAll()
{
    for (const InstallItem& item : m_installItems)
    {
        ::SendMessageW(m_hWnd, WM_UPDATE_INSTALL_ROW, (WPARAM)item.row, 0);
        ShowInstallLog(L"开始安装：" + item.module->text, TRUE);
        m_installer.SetModule(item.module);
        if (!IsSafeFileName(item.module->packageName) || !m_installer.InstallPackage(PackagePath(*item.module)))
        {
            ::PostMessageW(m_hWnd, WM_UPDATE_INSTALL_DONE, 0, (LPARAM)item.row);
            return;
        }
        m_list.SaveInstalledVersions();
        ShowInstallLog(L"安装成功：" + item.module->text, TRUE);
    }
    ::PostMessageW(m_hWnd, WM_UPDATE_INSTALL_DONE, 1, 0);
}

void CUpdateDlg::ShowInstallLog(LPCWSTR text, BOOL endLine)
{
    ::SendMessageW(m_hWnd, WM_UPDATE_INSTALL_LOG, (WPARAM)endLine, (LPARAM)text);
}

void CUpdateDlg::SetInstallProgressRange(int upper)
{
    ::SendMessageW(m_hWnd, WM_UPDATE_INSTALL_PROGRESS, INSTALL_PROGRESS_RANGE, (LPARAM)upper);
}

void CUpdateDlg::SetInstallProgress(int position)
{
    ::SendMessageW(m_hWnd, WM_UPDATE_INSTALL_PROGRESS, INSTALL_PROGRESS_POSITION, (LPARAM)position);
}

void CUpdateDlg::StepInstallProgress()
{
    ::SendMessageW(m_hWnd, WM_UPDATE_INSTALL_PROGRESS, INSTALL_PROGRESS_STEP, 0);
}

int CUpdateDlg::AskUser(LPCWSTR text, int style)
{
    return (int)::SendMessageW(m_hWnd, WM_UPDATE_INSTALL_ASK, (WPARAM)style, (LPARAM)text);
}

LRESULT CUpdateDlg::OnInstallRow(WPARAM wParam, LPARAM)
{
    int row = (int)wParam;
    SelectRow(row);
    if (UpdateModule* module = ModuleOfRow(row))
        ShowHint(*module);
    return 0;
}

LRESULT CUpdateDlg::OnInstallLog(WPARAM wParam, LPARAM lParam)
{
    LPCWSTR text = (LPCWSTR)lParam;
    m_status.SetWindowText(text ? text : L"");
    AppendLog(text, (BOOL)wParam);
    return 0;
}

LRESULT CUpdateDlg::OnInstallProgress(WPARAM wParam, LPARAM lParam)
{
    switch ((int)wParam)
    {
    case INSTALL_PROGRESS_RANGE:
        m_progress.SetRange32(0, (int)lParam);
        break;
    case INSTALL_PROGRESS_POSITION:
        m_progress.SetPos((int)lParam);
        break;
    case INSTALL_PROGRESS_STEP:
        m_progress.OffsetPos(1);
        break;
    }
    return 0;
}

LRESULT CUpdateDlg::OnInstallAsk(WPARAM wParam, LPARAM lParam)
{
    return ShowUpdateMessage((LPCWSTR)lParam, (int)wParam, m_hWnd);
}

LRESULT CUpdateDlg::OnInstallDone(WPARAM wParam, LPARAM lParam)
{
    if (m_installThread)
    {
        WaitForSingleObject(m_installThread, INFINITE);
        CloseHandle(m_installThread);
        m_installThread = NULL;
    }
    if (!wParam)
    {
        UpdateModule* module = ModuleOfRow((int)lParam);
        CString text;
        text.Format(L"升级%s发生错误，请尝试重新升级！", module ? (LPCWSTR)module->text : L"");
        ShowUpdateMessage(text, UPDATE_MESSAGE_OK, m_hWnd);
        RestartClient(TRUE);
    }
    else
        Finish();
    InterlockedExchange(&m_phase, PHASE_CHOOSING);
    EndUpdate();
    return 0;
}

void CUpdateDlg::EndUpdate()
{
    CDialog::EndDialog(IDCANCEL);
}

BOOL CUpdateDlg::ClientRuns(const CString& clientExe) const
{
    for (int i = 0; i < 50; ++i)
    {
        if (FindProcessByPath(clientExe) == (DWORD)-1)
            return FALSE;
        Sleep(100);
    }
    return TRUE;
}

void CUpdateDlg::Finish()
{
    CString clientExe = m_app.GetClientExePath();
    if (clientExe.IsEmpty() || clientExe.Find(L'\\') < 0 || ClientRuns(clientExe))
        return;
    // Every module the user chose (forced ones always are) must be in
    // place; an optional module left unchosen is simply not installed.
    bool success = true;
    for (const InstallItem& item : m_installItems)
        if (!item.module->installed)
            success = false;
    ShowUpdateMessage(success ? L"本次升级成功！按“确定”按钮继续登录。" : L"本地升级失败，请重新升级",
                      UPDATE_MESSAGE_OK, m_hWnd);
    ShellExecuteW(nullptr, L"open", clientExe, m_app.BuildRestartArguments(success ? FALSE : TRUE), nullptr,
                  SW_SHOWNORMAL);
}

void CUpdateDlg::RestartClient(BOOL logout)
{
    CString clientExe = m_app.GetClientExePath();
    if (clientExe.IsEmpty() || clientExe.Find(L'\\') < 0 || ClientRuns(clientExe))
        return;
    ShellExecuteW(nullptr, L"open", clientExe, m_app.BuildRestartArguments(logout), nullptr, SW_SHOWNORMAL);
}

void CUpdateDlg::OnCancel()
{
    // Downloading or installing: the cycle runs to its end or its error,
    // so the program folder is never left half updated.
    if (m_phase != PHASE_CHOOSING)
        return;
    if (ShowUpdateMessage(L"您确定要取消升级吗？", UPDATE_MESSAGE_OK_CANCEL, m_hWnd) != IDOK)
        return;
    SaveRemindChoice();
    RestartClient(TRUE);
    EndUpdate();
}

void CUpdateDlg::OnMinimise()
{
    ShowWindow(SW_MINIMIZE);
}

void CUpdateDlg::OnModuleChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
    *pResult = 0;
    if (change->iItem < 0 || !(change->uChanged & LVIF_STATE) || change->lParam != 2)
        return;
    // A forced row cannot be left unchecked.
    if ((change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(1))
        m_modules.SetCheck(change->iItem, TRUE);
}

void CUpdateDlg::OnModuleClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    DWORD position = ::GetMessagePos();
    CPoint point((short)LOWORD(position), (short)HIWORD(position));
    m_modules.ScreenToClient(&point);
    int row = m_modules.HitTest(point);
    if (row < 0)
        return;
    if (UpdateModule* module = ModuleOfRow(row))
        ShowHint(*module);
}

HBRUSH CUpdateDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_UPDATE_DONT_REMIND)
    {
        pDC->SetBkMode(TRANSPARENT);
        return (HBRUSH)::GetStockObject(NULL_BRUSH);
    }
    return CSkinDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CUpdateDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
    {
        CDialog about(IDD_ABOUT, this);
        about.DoModal();
        return;
    }
    CSkinDialog::OnSysCommand(nID, lParam);
}

void CUpdateDlg::OnPaint()
{
    if (!IsIconic())
    {
        CSkinDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    int x = (client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.GetSafeHdc(), x, y, m_hIcon);
}
