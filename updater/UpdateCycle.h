// The update cycle of the updater: list the modules to update, download the
// chosen packages one after the other, install them on a worker thread,
// record the versions after each module, tell the outcome and start the
// client again. Until the updater has its update window, the cycle runs
// without one and takes the window's default choices: every listed module
// chosen, "do not remind me of this version" left clear, OK to every
// question. Downloads report through the same posted messages the window
// handles, to a message-only window of the cycle.
#pragma once

#include "Framework.h"
#include "UpdateDownloader.h"
#include "UpdateInstaller.h"
#include "UpdateList.h"

#include <vector>

class CUpdateApp;

const UINT WM_UPDATE_START_INSTALL = WM_USER + 200;

class CUpdateCycle : public UpdateInstallOwner
{
  public:
    explicit CUpdateCycle(CUpdateApp& app);
    ~CUpdateCycle() override;

    // Runs the whole cycle; returns when it has ended.
    void Run();

    // The steps of the cycle.
    BOOL Create();
    void OnUpdate();
    void SaveRemindChoice();
    BOOL StartNextDownload();
    void OnDownloadDone();
    void OnDownloadError(int state);
    void OnStartInstall();
    void InstallAll();
    void Finish();
    void RestartClient(BOOL logout);
    void AppendLog(LPCWSTR text, BOOL endLine);

    // UpdateInstallOwner
    void ShowInstallLog(LPCWSTR text, BOOL endLine) override;
    void SetInstallProgressRange(int upper) override { m_progressUpper = upper; }
    void SetInstallProgress(int position) override { m_progress = position; }
    void StepInstallProgress() override { ++m_progress; }
    HWND GetMessageParent() override { return nullptr; }

  private:
    struct Row
    {
        CString name; // module name
        int state = 0;
        bool checked = true;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static UINT __cdecl InstallThreadProc(LPVOID self);
    void End();
    // Whether the client program still runs; waits a few seconds for a
    // client that is just ending.
    BOOL ClientRuns(const CString& clientExe) const;

    CUpdateApp& m_app;
    HWND m_window;
    volatile LONG m_phase; // 0 choosing or finished, 1 downloading, 2 installing
    volatile LONG m_ended;
    int m_currentRow;
    bool m_downloadStarted;
    bool m_forced;
    bool m_remind;
    HANDLE m_installThread;
    CUpdateList m_list;
    CUpdateInstaller m_installer;
    CUpdateDownloader m_downloader;
    std::vector<Row> m_rows;
    CString m_log;
    CString m_status;
    int m_progress;
    int m_progressUpper;
};
