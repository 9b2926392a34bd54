// CUpdateDlg: the updater's only window and the update cycle it drives. It
// lists the modules to update (forced ones without a choice), lets the user
// choose the optional ones and not to be reminded of the same version, then
// downloads the chosen packages one after the other, installs them on a
// worker thread, records the versions after each module, tells the outcome
// and starts the client again.
//
// Phases: 0 choosing (or finished), 1 downloading, 2 installing. Update,
// Enter, Cancel, Esc and the close button act only in phase 0, so that no
// second cycle starts and no module is left half installed.
//
// Threads: the download thread posts WM_USER+1000..1003; the install thread
// reaches the window only by the messages below (sent, so the texts it
// passes live until the window has used them), and the window ends itself.
#pragma once

#include "ImageButton.h"
#include "SkinDialog.h"
#include "ThemeButton.h"
#include "TransparentStatic.h"
#include "UpdateDownloader.h"
#include "UpdateInstaller.h"
#include "UpdateList.h"

#include <vector>

class CUpdateApp;

const UINT WM_UPDATE_START_INSTALL = WM_USER + 200;
// From the install thread, all sent:
const UINT WM_UPDATE_INSTALL_ROW = WM_USER + 201;      // wParam row: select it and show its module's hint
const UINT WM_UPDATE_INSTALL_LOG = WM_USER + 202;      // wParam end-of-line flag, lParam text: status line and log
const UINT WM_UPDATE_INSTALL_PROGRESS = WM_USER + 203; // wParam INSTALL_PROGRESS_*, lParam value
const UINT WM_UPDATE_INSTALL_ASK = WM_USER + 204;      // wParam message style, lParam text; returns IDOK or IDCANCEL
// From the install thread, posted as its last word: wParam 1 every module
// installed, 0 the module of row lParam failed.
const UINT WM_UPDATE_INSTALL_DONE = WM_USER + 205;

enum
{
    INSTALL_PROGRESS_RANGE = 0,
    INSTALL_PROGRESS_POSITION = 1,
    INSTALL_PROGRESS_STEP = 2,
};

class CUpdateDlg : public CSkinDialog, private UpdateInstallOwner
{
    DECLARE_DYNAMIC(CUpdateDlg)
  public:
    enum
    {
        IDD = 102,
        WIDTH = 391,
        HEIGHT = 356,
    };
    enum
    {
        PHASE_CHOOSING = 0,
        PHASE_DOWNLOADING = 1,
        PHASE_INSTALLING = 2,
    };

    explicit CUpdateDlg(CUpdateApp& app, CWnd* pParent = NULL);
    ~CUpdateDlg() override;

    // Starts the client again (see CUpdateApp::BuildRestartArguments) unless
    // its path is unusable or it runs already.
    void RestartClient(BOOL logout);
    void AppendLog(LPCWSTR text, BOOL endLine);
    void SaveRemindChoice();
    // FALSE when no further chosen module is left to download.
    BOOL StartNextDownload();
    // The end message and the client's start with the outcome.
    void Finish();
    int GetPhase() const { return (int)m_phase; }

    CProgressCtrl m_progress;
    HICON m_hSmallIcon;
    BOOL m_bDownloadStarted;
    volatile LONG m_phase;
    int m_currentRow;
    HANDLE m_installThread;
    CUpdateList m_list;
    CUpdateInstaller m_installer;
    CListCtrl m_modules;
    CRichEditCtrl m_logPane;
    CTransparentStatic m_progressLabel;
    CTransparentStatic m_modulesLabel;
    CTransparentStatic m_status;
    CTransparentStatic m_remindLabel;
    ThemeButton m_btnUpdate;
    ThemeButton m_btnNotNow;
    CImageButton m_btnClose;
    CImageButton m_btnMinimise;
    CString m_logText;
    CUpdateDownloader m_downloader;
    BOOL m_bForced;
    CButton m_remind;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnUpdate();
    void OnMinimise();
    LRESULT OnDownloadProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnDownloadDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnDownloadError(WPARAM wParam, LPARAM lParam);
    LRESULT OnDownloadSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnStartInstall(WPARAM wParam, LPARAM lParam);
    LRESULT OnInstallRow(WPARAM wParam, LPARAM lParam);
    LRESULT OnInstallLog(WPARAM wParam, LPARAM lParam);
    LRESULT OnInstallProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnInstallAsk(WPARAM wParam, LPARAM lParam);
    LRESULT OnInstallDone(WPARAM wParam, LPARAM lParam);
    void OnModuleChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnModuleClick(NMHDR* pNMHDR, LRESULT* pResult);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

  private:
    struct InstallItem
    {
        int row;
        UpdateModule* module;
    };

    // UpdateInstallOwner, called on the install thread: each one a message.
    void ShowInstallLog(LPCWSTR text, BOOL endLine) override;
    void SetInstallProgressRange(int upper) override;
    void SetInstallProgress(int position) override;
    void StepInstallProgress() override;
    int AskUser(LPCWSTR text, int style) override;

    void LayOut();
    void FillModules();
    void ShowProgressPanel();
    // The row's module (by its hidden name column), or null.
    UpdateModule* ModuleOfRow(int row) const;
    BOOL IsRowChosen(int row) const;
    void SelectRow(int row);
    void ShowHint(const UpdateModule& module);
    CString PackagePath(const UpdateModule& module) const;
    void EndUpdate();
    static UINT __cdecl InstallThreadProc(LPVOID self);
    void InstallAll();
    // Whether the client program still runs; waits a few seconds for a
    // client that is just ending.
    BOOL ClientRuns(const CString& clientExe) const;

    CUpdateApp& m_app;
    std::vector<InstallItem> m_installItems;
};
