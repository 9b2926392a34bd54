// CDlgLogin: the modal login dialog (dialog 131, 391 x 356) that the main
// window runs from its start-up. It takes the e-mail address and password,
// checks them, keeps them encrypted when the user asks (the account saved in
// AppSetting.ini, section Secret), reads the switches the program was started
// with, starts the login thread, shows an animation while the login runs and
// turns the result into the end of the dialog, a status text or an automatic
// retry countdown. It also hosts the registration page and a welcome view.
#pragma once

#include "DlgAnimation.h"
#include "Framework.h"
#include "HtmlCtrl.h"
#include "ImageButton.h"
#include "Kavpng.h"
#include "LoginThread.h"
#include "SkinDialog.h"
#include "StaticLink.h"
#include "ThemeButton.h"
#include "TransparentStatic.h"

#include <memory>

// What ends the login dialog's wait.
enum : UINT
{
    WM_LOGIN_SUCCEEDED = WM_USER + 30,
    WM_LOGIN_FAILED = WM_USER + 31 // wParam: one of the reasons below
};
enum : WPARAM
{
    LOGIN_FAILED_PASSWORD = 1,
    LOGIN_FAILED_NETWORK = 2,
    LOGIN_FAILED_SERVER_BUSY = 3
};

// Result codes of a login as the dialog's timer reads them.
enum : LONG
{
    LOGIN_RESULT_OK = 1,
    LOGIN_RESULT_NETWORK = 2,
    LOGIN_RESULT_PASSWORD = 3,
    LOGIN_RESULT_CANCELLED = 4,
    LOGIN_RESULT_SERVER_BUSY = 5,
    LOGIN_RESULT_TIMEOUT = 6
};

// The switches of the program's command line that the login reads.
struct LoginCommandLine
{
    BOOL account = FALSE; // "-u:s:" (or "-u:f:") user "?.?" password
    CString user;
    CString password;
    BOOL logout = FALSE;        // "-l:logout": no automatic login
    BOOL communication = FALSE; // "-l:logout -e:communication": the network error and the countdown
    BOOL systemAuto = FALSE;    // "-l:systemauto": started minimised

    static LoginCommandLine Parse(LPCWSTR commandLine);
};

class CDlgLogin : public CSkinDialog
{
public:
    enum ViewState { VIEW_FORM = 0, VIEW_LOGGING_IN = 1, VIEW_REGISTER = 2, VIEW_WELCOME = 3 };
    enum { TIMER_WAIT = 1, TIMER_COUNTDOWN = 3 };

    explicit CDlgLogin(CWnd* pParent = NULL);
    ~CDlgLogin() override;

    void SetViewState(int state);
    void OnLoginOk();
    void ShowStatus(LPCTSTR text, BOOL error);
    BOOL ShowAnimationFrame(UINT id);

    // The keys of the saved account, built from the serial number of the
    // volume that holds the system folder.
    static DWORD SystemVolumeSerial();
    static CString UserKey(DWORD serial);
    static CString PasswordKey(DWORD serial);
    // Writes and reads the saved account (section Secret of the settings).
    // With savePassword clear the stored password is the empty text. Read
    // gives empty texts for values that do not decrypt under these keys.
    static void SaveAccount(DWORD serial, LPCWSTR user, LPCWSTR password, BOOL savePassword);
    static void LoadAccount(DWORD serial, CString& user, CString& password);

    // The command line the dialog reads (the program's own by default).
    static LPCWSTR s_commandLine;
    // Time allowed for the messaging library's answer after its login started.
    DWORD m_nLoginTimeoutMs;

    // State
    CString m_strUser;
    CString m_strPassword;
    BOOL m_bSaveLogin;
    BOOL m_bCommandLineAccount;
    BOOL m_bLoggedOut;
    BOOL m_bStartedMinimised;
    int m_nViewState;
    BOOL m_bFinished;
    LONG m_nResult;
    UINT_PTR m_timerWait;
    UINT_PTR m_timerCountdown;
    int m_nFrame;
    BYTE m_nAnimationAlpha;
    HKAVPNGDECODER m_hDecoder;
    HKAVPNGDIB m_hFrame;
    CDlgAnimation* m_pAnimation;
    std::shared_ptr<LoginAttempt> m_attempt;
    HANDLE m_hLoginThread;

    // The re-login countdown: one count for the whole run of the program.
    static int s_countdownStart;
    static int s_countdownLeft;

    // Controls
    CEdit m_editUser, m_editPassword;
    CTransparentStatic m_stUserLabel, m_stPasswordLabel, m_stSaveLabel, m_stStatus;
    CTransparentStatic m_stWelcomeText, m_stWelcomeQuestion, m_stWelcomeMember;
    CImageButton m_btnSave, m_btnClose, m_btnMinimise, m_btnWelcomeRegister;
    ThemeButton m_btnLogin, m_btnCancel;
    CStaticLink m_linkRegister, m_linkForgotPassword, m_linkLoginNow, m_linkWelcomeLogin;
    CHtmlCtrl m_page;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnCloseButton();
    void OnMinimiseButton();
    void OnSaveToggle();
    void OnCancelLogin();
    void OnWelcomeRegister();
    void OnWelcomeLogin();
    void OnTimer(UINT_PTR nIDEvent);
    void OnMove(int x, int y);
    BOOL OnQueryOpen();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnDestroy();
    LRESULT OnLoginSucceeded(WPARAM wParam, LPARAM lParam);
    LRESULT OnLoginFailed(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void SetUpControls();
    void ReadSavedAccount();
    void ShowSaveCheck();
    void StoreSaveFlag();
    // Lets go of a running attempt: its thread ends on its own.
    void AbandonAttempt();
    void StartCountdown();
    void OnWaitTimer();
    void OnCountdownTimer();
    void PlaceAnimation();
    void ShowResult(LONG result);
    void OnPageLogin(wchar_t* argument);
};
