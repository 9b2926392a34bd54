// CDlgPageSofteware: the software page of the settings dialog: start with
// Windows, saved login, the automatic away state, letting buddies follow,
// the folder of collected songs and clearing the song cache.
#pragma once

#include "SettingsPage.h"

class CDlgPageSofteware : public CSettingsPage
{
  public:
    enum { IDD = 195 };
    explicit CDlgPageSofteware(CWnd* pParent = NULL);

    // With flag 1 the page goes into the settings object and the registry;
    // with 0 the held values only go into the controls.
    BOOL Apply(BOOL flag);

    // The Run value that starts the client with Windows: the program path in
    // quotes (it may hold blanks) and the auto-start switch.
    static CString AutoRunValue(const CString& programFolder);
    // TRUE when the user's or the machine's Run key starts the client.
    static BOOL IsAutoRunOn();
    // Deletes every "*.cache" file of the song cache folder (that folder
    // only); the number of files deleted.
    static int DeleteSongCache(HWND owner);

    BOOL m_bAutoRun;
    BOOL m_bSaveLogin;
    BOOL m_bShowState;
    BOOL m_bListenVisible;
    BOOL m_bEnableFollow;
    CString m_strSavePath;
    UINT m_nTimeLeave;

    CImageButton m_btnAutoRun, m_btnSaveLogin, m_btnAutoAway, m_btnFollow;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnAutoRun();
    void OnSaveLogin();
    void OnAutoAway();
    void OnFollow();
    void OnBrowse();
    void OnClearCache();
    void OnMinutesChanged() { EnableApply(); }
    DECLARE_MESSAGE_MAP()

  private:
    void ShowSwitches();
};
