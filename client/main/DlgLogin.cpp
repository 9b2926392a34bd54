#include "DlgLogin.h"

#include "AppSetting.h"
#include "ClientApp.h"
#include "DlgMain.h"
#include "LanguageTable.h"
#include "LayeredFrame.h"
#include "Locvane.h"
#include "ServiceAddresses.h"
#include "StripButton.h"
#include "Vossel.h"
#include "resource.h"

#include <cwchar>

namespace
{
const wchar_t kLicencePhrase[] = L"Seven quiet herons walk past the mills.";
// The fixed word of the saved account's keys.
const wchar_t kKeyWord[] = L"reed";
const COLORREF kLabelColour = 0x838383;
// The status line is drawn on the dialog's light body, so it is a dark red
// rather than white.
const COLORREF kStatusColour = RGB(0xC0, 0x20, 0x20);
const COLORREF kLinkColour = 0xFFAA6A;
const COLORREF kCheckMask = 0x00FF00;
const COLORREF kCaptionBand = RGB(57, 120, 191);
const int kWidth = 391, kHeight = 356;
const int kAnimationWidth = 226, kAnimationHeight = 152;
const UINT kFirstFrame = IDR_LOGIN_FRAME_01, kFrameCount = 12;
const DWORD kLoginTimeoutMs = 30000;
// How long a closing dialog waits for its login thread to end by itself.
const DWORD kThreadWaitMs = 3000;

const wchar_t kRegisterPath[] = L"/web/index.php?controller=register&action=index&from=4";
const wchar_t kPasswordPath[] = L"/web/index.php?controller=pwd&action=index";

CString TitleOf(LPCWSTR stateKey)
{
    return CString(L"YEB360 ") + Lang(stateKey);
}

void Show(CWnd& wnd, BOOL show)
{
    if (wnd.GetSafeHwnd())
        wnd.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void Place(CWnd& wnd, int x, int y, int cx, int cy)
{
    if (wnd.GetSafeHwnd())
        wnd.SetWindowPos(NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceAt(CWnd& wnd, int x, int y)
{
    if (wnd.GetSafeHwnd())
        wnd.SetWindowPos(NULL, x, y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

CString FromBstr(BSTR text)
{
    CString result(text ? text : L"");
    ::SysFreeString(text);
    return result;
}

// The saved text of a value, or "" when the locked library, a wrong key or a
// damaged value refuses it.
CString DecryptOrEmpty(CLocvane& cipher, const CString& stored, const CString& key)
{
    if (stored.IsEmpty())
        return CString();
    BSTR plain = NULL;
    if (cipher.Decrypt(stored, key, &plain) != 0)
        return CString();
    return FromBstr(plain);
}
} // namespace

LPCWSTR CDlgLogin::s_commandLine = NULL;
int CDlgLogin::s_countdownStart = 10;
int CDlgLogin::s_countdownLeft = -1;

LoginCommandLine LoginCommandLine::Parse(LPCWSTR commandLine)
{
    LoginCommandLine result;
    CString line(commandLine ? commandLine : L"");
    int account = line.Find(L"-u:s:");
    if (account < 0)
        account = line.Find(L"-u:f:");
    if (account >= 0)
    {
        result.account = TRUE;
        CString rest = line.Mid(account + 5);
        int separator = rest.Find(L"?.?");
        if (separator >= 0)
        {
            result.user = rest.Left(separator);
            CString password = rest.Mid(separator + 3);
            int blank = password.Find(L' ');
            result.password = blank >= 0 ? password.Left(blank) : password;
        }
        else
            result.user = rest;
    }
    result.communication = line.Find(L"-l:logout -e:communication") >= 0;
    result.logout = line.Find(L"-l:logout") >= 0;
    result.systemAuto = line.Find(L"-l:systemauto") >= 0;
    return result;
}

DWORD CDlgLogin::SystemVolumeSerial()
{
    wchar_t folder[MAX_PATH] = {};
    if (!::GetSystemDirectoryW(folder, MAX_PATH) || std::wcslen(folder) < 3)
        return 0;
    folder[3] = 0; // the root, "C:\"
    DWORD serial = 0;
    if (!::GetVolumeInformationW(folder, NULL, 0, &serial, NULL, NULL, NULL, 0))
        return 0;
    return serial;
}

CString CDlgLogin::UserKey(DWORD serial)
{
    CString key;
    key.Format(L"%s%u", kKeyWord, serial);
    return key;
}

CString CDlgLogin::PasswordKey(DWORD serial)
{
    CString key;
    key.Format(L"%u%s", serial, kKeyWord);
    key.MakeReverse();
    return key;
}

void CDlgLogin::SaveAccount(DWORD serial, LPCWSTR user, LPCWSTR password, BOOL savePassword)
{
    if (!g_pAppSetting)
        return;
    CLocvane cipher;
    cipher.Check(kLicencePhrase);
    BSTR text = NULL;
    CString stored;
    if (cipher.Encrypt(UserKey(serial), user, &text) == 0)
        stored = FromBstr(text);
    g_pAppSetting->WriteString(L"Secret", L"username", stored);
    stored.Empty();
    text = NULL;
    if (savePassword && cipher.Encrypt(PasswordKey(serial), password, &text) == 0)
        stored = FromBstr(text);
    g_pAppSetting->WriteString(L"Secret", L"passwd", stored);
}

void CDlgLogin::LoadAccount(DWORD serial, CString& user, CString& password)
{
    user.Empty();
    password.Empty();
    if (!g_pAppSetting)
        return;
    CString storedUser, storedPassword;
    g_pAppSetting->ReadString(L"Secret", L"username", storedUser);
    g_pAppSetting->ReadString(L"Secret", L"passwd", storedPassword);
    CLocvane cipher;
    cipher.Check(kLicencePhrase);
    user = DecryptOrEmpty(cipher, storedUser, UserKey(serial));
    password = DecryptOrEmpty(cipher, storedPassword, PasswordKey(serial));
}

BEGIN_MESSAGE_MAP(CDlgLogin, CSkinDialog)
    ON_COMMAND(IDC_LOGIN_CLOSE, &CDlgLogin::OnCloseButton)
    ON_COMMAND(IDC_LOGIN_MINIMISE, &CDlgLogin::OnMinimiseButton)
    ON_COMMAND(IDC_LOGIN_SAVE, &CDlgLogin::OnSaveToggle)
    ON_COMMAND(IDC_LOGIN_CANCEL, &CDlgLogin::OnCancelLogin)
    ON_COMMAND(IDC_LOGIN_WELCOME_REGISTER, &CDlgLogin::OnWelcomeRegister)
    ON_COMMAND(IDC_LOGIN_WELCOME_LOGIN, &CDlgLogin::OnWelcomeLogin)
    ON_WM_TIMER()
    ON_WM_MOVE()
    ON_WM_QUERYOPEN()
    ON_WM_SYSCOMMAND()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_LOGIN_SUCCEEDED, &CDlgLogin::OnLoginSucceeded)
    ON_MESSAGE(WM_LOGIN_FAILED, &CDlgLogin::OnLoginFailed)
END_MESSAGE_MAP()

CDlgLogin::CDlgLogin(CWnd* pParent)
    : CSkinDialog(IDD_LOGIN, pParent), m_nLoginTimeoutMs(kLoginTimeoutMs), m_bSaveLogin(FALSE),
      m_bCommandLineAccount(FALSE), m_bLoggedOut(FALSE), m_bStartedMinimised(FALSE), m_nViewState(VIEW_FORM),
      m_bFinished(FALSE), m_nResult(0), m_timerWait(0), m_timerCountdown(0), m_nFrame(0), m_nAnimationAlpha(255),
      m_hDecoder(NULL), m_hFrame(NULL), m_pAnimation(NULL), m_hLoginThread(NULL),
      m_linkForgotPassword(CServiceAddresses::Get().PassportUrl(kPasswordPath))
{
    m_bSaveLogin = g_pAppSetting ? g_pAppSetting->bSaveLogin : FALSE;
}

CDlgLogin::~CDlgLogin()
{
    AbandonAttempt();
    if (m_hFrame)
        ImgDeleteDIBSection(m_hFrame);
    if (m_hDecoder)
        ImgDeleteDecoder(m_hDecoder);
    if (m_pAnimation)
        m_pAnimation->CloseAndDelete();
}

BOOL CDlgLogin::OnInitDialog()
{
    SetTopLeftBitmap(IDB_LOGIN_FRAME_TOP_LEFT);
    SetTopBitmap(IDB_LOGIN_FRAME_TOP);
    SetTopRightBitmap(IDB_LOGIN_FRAME_TOP_RIGHT);
    SetLeftBitmap(IDB_LOGIN_FRAME_LEFT);
    SetRightBitmap(IDB_LOGIN_FRAME_RIGHT);
    SetBottomLeftBitmap(IDB_LOGIN_FRAME_BOTTOM_LEFT);
    SetBottomBitmap(IDB_LOGIN_FRAME_BOTTOM);
    SetBottomRightBitmap(IDB_LOGIN_FRAME_BOTTOM_RIGHT);
    SetTitleBitmap(IDB_MAIN_TITLE);
    SetTitleBitmapPos(1, 0);
    CSkinDialog::OnInitDialog();
    SetWindowText(TitleOf(L"STR_LOGIN_TITLE"));
    SetWindowPos(NULL, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();
    if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE))
    {
        ::DeleteMenu(system, SC_MAXIMIZE, MF_BYCOMMAND);
        ::DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
    }

    if (m_page.CreateFromStatic(IDC_LOGIN_PAGE, this))
    {
        m_page.SetCommandPrefix(L"yeb360://");
        m_page.AddPageCommand(L"loginclient/", ID_PAGE_LOGINCLIENT);
        m_page.ShowWindow(SW_HIDE);
        Place(m_page, 2, 30, 387, 307);
    }
    SetUpControls();

    ImgNewDecoder(&m_hDecoder);
    m_pAnimation = new CDlgAnimation(this);
    if (!m_pAnimation->CreateHidden())
    {
        m_pAnimation->CloseAndDelete();
        m_pAnimation = NULL;
    }
    ShowAnimationFrame(kFirstFrame);
    PlaceAnimation();
    m_nAnimationAlpha = 180;

    m_bSaveLogin = g_pAppSetting ? g_pAppSetting->bSaveLogin : FALSE;
    LoginCommandLine switches = LoginCommandLine::Parse(s_commandLine ? s_commandLine : ::GetCommandLineW());
    m_bLoggedOut = switches.logout;
    m_bStartedMinimised = switches.systemAuto;
    m_bCommandLineAccount = switches.account;
    SetViewState(VIEW_FORM);
    if (switches.communication)
    {
        ShowStatus(Lang(L"INFO_LOGIN_NETWORK_ERROR"), TRUE);
        if (m_bSaveLogin)
            StartCountdown();
    }

    if (m_bCommandLineAccount)
    {
        m_strUser = switches.user;
        m_strPassword = switches.password;
        if (m_strUser.GetLength() >= 2)
        {
            m_editUser.SetWindowText(m_strUser);
            m_editPassword.SetWindowText(m_strPassword);
            if (!m_bLoggedOut)
                OnLoginOk();
        }
    }
    else if (g_pAppSetting)
        ReadSavedAccount();

    if (m_nViewState == VIEW_FORM)
    {
        CEdit& focus = m_strUser.IsEmpty() ? m_editUser : m_editPassword;
        focus.SetFocus();
    }
    ShowSaveCheck();
    if (m_bStartedMinimised)
        ShowWindow(SW_MINIMIZE);
    return FALSE;
}

void CDlgLogin::SetUpControls()
{
    m_editUser.SubclassDlgItem(IDC_LOGIN_USER, this);
    m_editPassword.SubclassDlgItem(IDC_LOGIN_PASSWORD, this);
    Place(m_editUser, 117, 135, 185, 20);
    Place(m_editPassword, 117, 166, 185, 20);

    struct Label
    {
        CTransparentStatic* control;
        UINT id;
        COLORREF colour;
        int x, y, cx, cy;
    } labels[] = {
        {&m_stUserLabel, IDC_LOGIN_USER_LABEL, kLabelColour, 48, 137, 66, 16},
        {&m_stPasswordLabel, IDC_LOGIN_PASSWORD_LABEL, kLabelColour, 63, 168, 51, 16},
        {&m_stStatus, IDC_LOGIN_STATUS, kStatusColour, 70, 115, 300, 16},
        {&m_stSaveLabel, IDC_LOGIN_SAVE_LABEL, kLabelColour, 134, 194, 220, 16},
        {&m_stWelcomeText, IDC_LOGIN_WELCOME_TEXT, kLabelColour, 38, 40, 316, 68},
        {&m_stWelcomeQuestion, IDC_LOGIN_WELCOME_QUESTION, kLabelColour, 90, 123, 140, 20},
        {&m_stWelcomeMember, IDC_LOGIN_WELCOME_MEMBER, kLabelColour, 90, 259, 112, 20},
    };
    for (Label& label : labels)
    {
        label.control->SubclassDlgItem(label.id, this);
        label.control->m_textColour = label.colour;
        Place(*label.control, label.x, label.y, label.cx, label.cy);
    }
    m_stWelcomeText.ShowWindow(SW_SHOW);

    m_btnSave.SubclassDlgItem(IDC_LOGIN_SAVE, this);
    Place(m_btnSave, 117, 195, 14, 14);

    m_btnClose.SubclassDlgItem(IDC_LOGIN_CLOSE, this);
    ShowAsStripButton(m_btnClose, IDB_BTN_MAIN_CLOSE);
    m_btnMinimise.SubclassDlgItem(IDC_LOGIN_MINIMISE, this);
    ShowAsStripButton(m_btnMinimise, IDB_BTN_MINIMISE_DARK);
    // Both lie on the caption band, whose middle tone is their face.
    for (CImageButton* button : {&m_btnClose, &m_btnMinimise})
    {
        button->m_bParentBackground = FALSE;
        button->m_faceNormal = button->m_faceActive = button->m_faceFocus = kCaptionBand;
    }
    PlaceAt(m_btnClose, kWidth - 34, 0);
    PlaceAt(m_btnMinimise, kWidth - 61, 0);

    for (ThemeButton* button : {&m_btnLogin, &m_btnCancel})
    {
        button->SubclassDlgItem(button == &m_btnLogin ? IDOK : IDC_LOGIN_CANCEL, this);
        button->SetImages(IDB_LOGIN_BTN_LEFT, IDB_LOGIN_BTN_MIDDLE, IDB_LOGIN_BTN_RIGHT, 4);
        button->m_clrNormal = button->m_clrHover = button->m_clrPressed = RGB(255, 255, 255);
        button->m_clrDisabled = RGB(200, 200, 200);
        Place(*button, (kWidth - 74) / 2, 247, 74, 24);
    }

    struct Link
    {
        CStaticLink* control;
        UINT id;
        int x, y, cx, cy;
        BOOL opensTarget;
    } links[] = {
        {&m_linkRegister, IDC_LOGIN_REGISTER, 127, 302, 70, 16, FALSE},
        {&m_linkForgotPassword, IDC_LOGIN_FORGOT_PASSWORD, 217, 302, 60, 16, TRUE},
        {&m_linkLoginNow, IDC_LOGIN_NOW, (kWidth - 60) / 2 - 23, 210, 60, 16, FALSE},
        {&m_linkWelcomeLogin, IDC_LOGIN_WELCOME_LOGIN, 200, 259, 80, 20, FALSE},
    };
    for (Link& link : links)
    {
        link.control->SubclassDlgItem(link.id, this);
        link.control->m_normalColour = link.control->m_colour = kLinkColour;
        link.control->m_hoverColour = kLabelColour;
        link.control->m_bOpenTarget = link.opensTarget;
        Place(*link.control, link.x, link.y, link.cx, link.cy);
    }

    m_btnWelcomeRegister.SubclassDlgItem(IDC_LOGIN_WELCOME_REGISTER, this);
    m_btnWelcomeRegister.SetBitmaps(IDB_WELCOME_REGISTER, RGB(255, 0, 255));
    Place(m_btnWelcomeRegister, 109, 144, 171, 38);
}

void CDlgLogin::ShowSaveCheck()
{
    if (m_bSaveLogin)
        m_btnSave.SetBitmaps(IDB_SWITCH_ON_HOVER, kCheckMask, IDB_SWITCH_ON, kCheckMask, IDB_SWITCH_ON_PRESSED,
                             kCheckMask);
    else
        m_btnSave.SetBitmaps(IDB_SWITCH_OFF_HOVER, kCheckMask, IDB_SWITCH_OFF, kCheckMask, IDB_SWITCH_OFF_PRESSED,
                             kCheckMask);
    m_btnSave.Invalidate();
}

void CDlgLogin::ReadSavedAccount()
{
    CString storedUser;
    g_pAppSetting->ReadString(L"Secret", L"username", storedUser);
    if (storedUser.IsEmpty())
    {
        m_strUser.Empty();
        m_strPassword.Empty();
        SetViewState(VIEW_WELCOME);
        return;
    }
    LoadAccount(SystemVolumeSerial(), m_strUser, m_strPassword);
    m_editUser.SetWindowText(m_strUser);
    if (m_bSaveLogin)
    {
        m_editPassword.SetWindowText(m_strPassword);
        if (!m_bLoggedOut && !m_strUser.IsEmpty() && !m_strPassword.IsEmpty())
            OnLoginOk();
    }
}

void CDlgLogin::SetViewState(int state)
{
    m_nViewState = state;
    static const wchar_t* const titles[] = {L"STR_LOGIN_TITLE", L"STR_LOGINING_TITLE", L"STR_REG_TITLE",
                                            L"STR_HELLO_TITLE"};
    if (state >= 0 && state <= 3)
        SetWindowText(TitleOf(titles[state]));

    BOOL form = state == VIEW_FORM, welcome = state == VIEW_WELCOME, page = state == VIEW_REGISTER;
    CWnd* formControls[] = {&m_stUserLabel, &m_stPasswordLabel, &m_editUser, &m_editPassword, &m_btnSave,
                            &m_stSaveLabel, &m_btnLogin, &m_linkRegister, &m_linkForgotPassword};
    for (CWnd* wnd : formControls)
        Show(*wnd, form);
    Show(m_btnClose, state != VIEW_LOGGING_IN);
    Show(m_btnMinimise, state != VIEW_LOGGING_IN);
    Show(m_stStatus, FALSE);
    Show(m_btnCancel, state == VIEW_LOGGING_IN);
    Show(m_linkLoginNow, FALSE);
    Show(m_page, page);
    CWnd* welcomeControls[] = {&m_btnWelcomeRegister, &m_stWelcomeQuestion, &m_stWelcomeMember, &m_linkWelcomeLogin};
    for (CWnd* wnd : welcomeControls)
        Show(*wnd, welcome);
    Show(m_stWelcomeText, TRUE);

    if (m_pAnimation)
        m_pAnimation->ShowWindow(state == VIEW_LOGGING_IN && !m_bStartedMinimised ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (state == VIEW_LOGGING_IN)
    {
        PlaceAt(m_btnCancel, (kWidth - 74) / 2, 247);
        m_bFinished = FALSE;
    }
    if (page)
        m_page.SafeNavigate(CServiceAddresses::Get().PassportUrl(kRegisterPath));
    // Painted at once only when it can be seen: picture buttons take their
    // background from the first picture of the dialog under them.
    if (IsWindowVisible())
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    else
        Invalidate();
}

void CDlgLogin::ShowStatus(LPCTSTR text, BOOL error)
{
    m_stStatus.SetWindowText(text);
    m_stStatus.ShowWindow(SW_SHOW);
    if (m_pAnimation)
        m_pAnimation->ShowWindow(SW_HIDE);
    if (error)
    {
        Show(m_linkLoginNow, FALSE);
        PlaceAt(m_btnCancel, (kWidth - 74) / 2, 247);
        m_editUser.SetFocus();
        m_editUser.SetSel(0, -1);
    }
    else
    {
        CWnd* hidden[] = {&m_stUserLabel, &m_stPasswordLabel, &m_editUser, &m_editPassword, &m_btnSave,
                          &m_stSaveLabel, &m_btnClose, &m_btnMinimise, &m_btnLogin, &m_linkRegister,
                          &m_linkForgotPassword, &m_page, &m_btnWelcomeRegister, &m_stWelcomeQuestion,
                          &m_stWelcomeMember, &m_linkWelcomeLogin};
        for (CWnd* wnd : hidden)
            Show(*wnd, FALSE);
        PlaceAt(m_btnCancel, (kWidth - 74) / 2, 180);
        Show(m_btnCancel, TRUE);
        CRect link;
        m_linkLoginNow.GetWindowRect(&link);
        PlaceAt(m_linkLoginNow, (kWidth - link.Width()) / 2 - 23, 210);
        Show(m_linkLoginNow, TRUE);
    }
    CTransparentStatic::RepaintParentUnder(m_stStatus.m_hWnd);
}

void CDlgLogin::OnOK()
{
    OnLoginOk();
}

void CDlgLogin::OnLoginOk()
{
    if (m_timerCountdown)
    {
        KillTimer(TIMER_COUNTDOWN);
        m_timerCountdown = 0;
    }
    CString user, password;
    m_editUser.GetWindowText(user);
    m_editPassword.GetWindowText(password);
    if (user.Find(L'@') < 0 || user.Find(L'.') < 0)
    {
        ShowStatus(Lang(L"INFO_LOGIN_ERROR_EMAIL"), TRUE);
        return;
    }
    if (password.IsEmpty() || password.GetLength() <= 5)
    {
        ShowStatus(Lang(password.IsEmpty() ? L"INFO_LOGIN_EMPTY_PASSWD" : L"INFO_LOGIN_SHORT_PASSWD"), TRUE);
        m_editPassword.SetFocus();
        return;
    }
    m_strUser = user;
    m_strPassword = password;
    if (g_pAppSetting)
    {
        SaveAccount(SystemVolumeSerial(), user, password, m_bSaveLogin);
        StoreSaveFlag();
    }

    m_timerWait = SetTimer(TIMER_WAIT, 200);
    SetViewState(VIEW_LOGGING_IN);

    // The service is given the password followed by its first three characters.
    CString sent = password + password.Left(3);
    CString lower = user;
    lower.MakeLower();
    if (CClientApp* app = GetClientApp())
        app->SetUserEmail(lower);
    // The own library is read while the service answers.
    if (CDlgMain* mainDialog = CDlgMain::Instance())
        mainDialog->PrefetchOwnLibrary();

    AbandonAttempt();
    m_attempt = std::make_shared<LoginAttempt>();
    m_attempt->user = user;
    m_attempt->password = sent;
    m_attempt->dialog = m_hWnd;
    CWnd* main = AfxGetMainWnd();
    m_attempt->mainWindow = main ? main->GetSafeHwnd() : NULL;
    auto* argument = new std::shared_ptr<LoginAttempt>(m_attempt);
    m_hLoginThread = ::CreateThread(NULL, 0, LoginThread, argument, 0, NULL);
    if (!m_hLoginThread)
    {
        delete argument;
        m_nResult = LOGIN_RESULT_NETWORK;
        m_bFinished = TRUE;
    }
    RedrawWindow();
}

void CDlgLogin::AbandonAttempt()
{
    if (m_attempt)
        ::InterlockedExchange(&m_attempt->cancelled, 1);
    m_attempt.reset();
    if (m_hLoginThread)
    {
        // The thread holds its own share of the attempt and nothing of the
        // dialog, so it may go on after this wait; it is never killed.
        ::WaitForSingleObject(m_hLoginThread, 0);
        ::CloseHandle(m_hLoginThread);
        m_hLoginThread = NULL;
    }
}

void CDlgLogin::StoreSaveFlag()
{
    if (!g_pAppSetting)
        return;
    g_pAppSetting->bSaveLogin = m_bSaveLogin;
    g_pAppSetting->WriteValue(L"SOFTWARE", L"bSaveLogin", m_bSaveLogin);
}

void CDlgLogin::StartCountdown()
{
    if (m_timerCountdown)
        KillTimer(TIMER_COUNTDOWN);
    m_timerCountdown = SetTimer(TIMER_COUNTDOWN, 1000);
}

void CDlgLogin::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_WAIT)
        OnWaitTimer();
    else if (nIDEvent == TIMER_COUNTDOWN)
        OnCountdownTimer();

    else
        CSkinDialog::OnTimer(nIDEvent);
}

void CDlgLogin::OnWaitTimer()
{
    if (!m_bFinished && m_attempt)
    {
        if (m_attempt->finished)
        {
            // The update check failed on the login thread.
            m_nResult = m_attempt->result;
            m_bFinished = TRUE;
            SetViewState(VIEW_FORM);
        }
        else if (m_attempt->loginStarted && ::GetTickCount() - m_attempt->loginStarted > m_nLoginTimeoutMs)
        {
            // No answer from the service in time: the login is given up.
            AbandonAttempt();
            yebJinRelease(0);
            m_nResult = LOGIN_RESULT_TIMEOUT;
            m_bFinished = TRUE;
            SetViewState(VIEW_FORM);
        }
    }
    if (!m_bFinished)
    {
        ShowAnimationFrame(kFirstFrame + m_nFrame);
        m_nFrame = m_nFrame >= static_cast<int>(kFrameCount) - 1 ? 0 : m_nFrame + 1;
        return;
    }
    KillTimer(TIMER_WAIT);
    m_timerWait = 0;
    if (m_pAnimation)
        m_pAnimation->ShowWindow(SW_HIDE);
    ShowResult(m_nResult);
}

void CDlgLogin::ShowResult(LONG result)
{
    switch (result)
    {
    case LOGIN_RESULT_OK:
        if (IsIconic())
            if (CWnd* main = AfxGetMainWnd())
                main->SetForegroundWindow();
        EndDialog(IDOK);
        return;
    case LOGIN_RESULT_NETWORK:
        ShowStatus(Lang(L"INFO_LOGIN_NETWORK_ERROR"), TRUE);
        if (m_bSaveLogin)
            StartCountdown();
        return;
    case LOGIN_RESULT_PASSWORD:
        ShowStatus(Lang(L"INFO_LOGIN_PASSWORD_ERROR"), TRUE);
        return;
    case LOGIN_RESULT_CANCELLED:
        ShowStatus(L"", TRUE);
        return;
    case LOGIN_RESULT_SERVER_BUSY:
        ShowStatus(Lang(L"INFO_LOGIN_SERVER_BUSY"), TRUE);
        return;
    case LOGIN_RESULT_TIMEOUT:
        ShowStatus(Lang(L"INFO_LOGIN_TIMEOUT"), TRUE);
        return;
    default:
        break;
    }
    if (result == static_cast<LONG>(0x80204001))
        ShowStatus(Lang(L"INFO_LOGIN_DOWNLOAD_UPDATE_CONFIG"), TRUE);
    else if (result == static_cast<LONG>(0x80204002))
        ShowStatus(Lang(L"INFO_LOGIN_PHRASE_UPDATE_CONFIG"), TRUE);
    else if (result == static_cast<LONG>(0x80204003))
        ShowStatus(Lang(L"INFO_LOGIN_PHRASE_LOCAL_VERSIONINFO"), TRUE);
    else
        ShowStatus(Lang(L"INFO_LOGIN_UNKNOWN_ERROR"), TRUE);
}

void CDlgLogin::OnCountdownTimer()
{
    if (s_countdownLeft < 0)
        s_countdownLeft = s_countdownStart;
    if (s_countdownLeft > 0)
    {
        CString text;
        text.Format(Lang(L"INFO_LOGIN_AUTO_TIME"), s_countdownLeft);
        ShowStatus(text, FALSE);
        --s_countdownLeft;
        return;
    }
    s_countdownStart += 10;
    s_countdownLeft = s_countdownStart;
    // The countdown view hid the form; the login shows its own view.
    SetViewState(VIEW_FORM);
    OnLoginOk();
}

LRESULT CDlgLogin::OnLoginSucceeded(WPARAM, LPARAM)
{
    m_nResult = LOGIN_RESULT_OK;
    m_bFinished = TRUE;
    return 0;
}

LRESULT CDlgLogin::OnLoginFailed(WPARAM wParam, LPARAM)
{
    LONG result = wParam == LOGIN_FAILED_PASSWORD      ? LOGIN_RESULT_PASSWORD
                  : wParam == LOGIN_FAILED_NETWORK     ? LOGIN_RESULT_NETWORK
                  : wParam == LOGIN_FAILED_SERVER_BUSY ? LOGIN_RESULT_SERVER_BUSY
                                                       : 0;
    // The first answer of an attempt is the one shown: the service closes
    // the connection after refusing a password, and that later "closed"
    // must neither replace the text nor hide the status line again.
    if (m_nViewState != VIEW_LOGGING_IN || m_bFinished)
        return 0;
    if (result)
    {
        m_nResult = result;
        m_bFinished = TRUE;
    }
    SetViewState(VIEW_FORM);
    return 0;
}

void CDlgLogin::OnCancelLogin()
{
    if (m_timerCountdown)
    {
        KillTimer(TIMER_COUNTDOWN);
        m_timerCountdown = 0;
    }
    AbandonAttempt();
    yebJinRelease(0);
    m_nResult = LOGIN_RESULT_CANCELLED;
    m_bFinished = TRUE;
    SetViewState(VIEW_FORM);
    Invalidate();
}

void CDlgLogin::OnCloseButton()
{
    StoreSaveFlag();
    CSkinDialog::OnCancel();
}

void CDlgLogin::OnMinimiseButton()
{
    ShowWindow(SW_MINIMIZE);
}

void CDlgLogin::OnSaveToggle()
{
    m_bSaveLogin = !m_bSaveLogin;
    ShowSaveCheck();
}

void CDlgLogin::OnWelcomeRegister()
{
    PostMessage(WM_COMMAND, IDC_LOGIN_REGISTER, 0);
}

void CDlgLogin::OnWelcomeLogin()
{
    SetViewState(VIEW_FORM);
}

BOOL CDlgLogin::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDC_LOGIN_REGISTER:
        SetViewState(VIEW_REGISTER);
        return TRUE;
    case IDC_LOGIN_NOW:
        SetViewState(VIEW_FORM);
        OnLoginOk();
        return TRUE;
    case ID_PAGE_LOGINCLIENT:
        OnPageLogin(reinterpret_cast<wchar_t*>(lParam));
        return TRUE;
    default:
        return CSkinDialog::OnCommand(wParam, lParam);
    }
}

void CDlgLogin::OnPageLogin(wchar_t* argument)
{
    CString text(argument ? argument : L"");
    delete[] argument;
    int start = text.GetLength() > 0 && text[0] == L'&' ? 1 : 0;
    int end = text.Find(L'&', start);
    CString user = end >= 0 ? text.Mid(start, end - start) : text.Mid(start);
    if (user.IsEmpty())
    {
        OnCancelLogin();
        return;
    }
    CString password = end >= 0 ? text.Mid(end + 1) : CString();
    m_editUser.SetWindowText(user);
    m_editPassword.SetWindowText(password);
    SetViewState(VIEW_FORM);
    OnLoginOk();
}

void CDlgLogin::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == SC_CLOSE)
    {
        if (m_nViewState != VIEW_LOGGING_IN)
            OnCloseButton();
        return;
    }
    Default();
}

void CDlgLogin::PlaceAnimation()
{
    if (!m_pAnimation || !GetSafeHwnd())
        return;
    CRect rect;
    GetWindowRect(&rect);
    int centre = rect.left + rect.Width() / 2;
    ::SetWindowPos(m_pAnimation->m_hWnd, HWND_TOP, centre - kAnimationWidth / 2, rect.top + 72, kAnimationWidth,
                               kAnimationHeight, SWP_NOACTIVATE);
}

void CDlgLogin::OnMove(int x, int y)
{
    CSkinDialog::OnMove(x, y);
    PlaceAnimation();
}

BOOL CDlgLogin::OnQueryOpen()
{
    if (m_nViewState == VIEW_LOGGING_IN && m_pAnimation)
        m_pAnimation->ShowWindow(SW_SHOWNOACTIVATE);
    m_bStartedMinimised = FALSE;
    return static_cast<BOOL>(Default());
}

BOOL CDlgLogin::ShowAnimationFrame(UINT id)
{
    return LayeredFrame::Show(m_pAnimation, m_hDecoder, id, m_nAnimationAlpha, m_hFrame);
}

void CDlgLogin::OnDestroy()
{
    if (m_timerWait)
        KillTimer(TIMER_WAIT);
    if (m_timerCountdown)
        KillTimer(TIMER_COUNTDOWN);
    m_timerWait = m_timerCountdown = 0;
    if (m_attempt)
        ::InterlockedExchange(&m_attempt->cancelled, 1);
    // A closing dialog gives its login thread a moment to end by itself.
    if (m_hLoginThread)
    {
        ::WaitForSingleObject(m_hLoginThread, kThreadWaitMs);
        ::CloseHandle(m_hLoginThread);
        m_hLoginThread = NULL;
    }
    if (m_pAnimation)
    {
        m_pAnimation->CloseAndDelete();
        m_pAnimation = NULL;
    }
    CSkinDialog::OnDestroy();
}
