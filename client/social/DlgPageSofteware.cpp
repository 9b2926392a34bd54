#include "DlgPageSofteware.h"

#include "AppSetting.h"
#include "DlgMessage.h"
#include "FolderDialog.h"
#include "ShellFolder.h"
#include "resource.h"

#include <vector>

namespace
{
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
const wchar_t kRunValue[] = L"yeb360";

BOOL RunKeyStartsClient(HKEY root)
{
    HKEY key = NULL;
    // The machine-wide key is only ever read: users without administrator
    // rights cannot open it for writing.
    if (::RegOpenKeyExW(root, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    // The value holds the program's full path, which can be longer than any
    // fixed buffer: it is read at the size the registry reports.
    DWORD size = 0, type = 0;
    LONG result = ::RegQueryValueExW(key, kRunValue, NULL, &type, NULL, &size);
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 2, L'\0');
    if (result == ERROR_SUCCESS)
    {
        size = (DWORD)((data.size() - 1) * sizeof(wchar_t));
        result = ::RegQueryValueExW(key, kRunValue, NULL, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return FALSE;
    return wcsstr(data.data(), L"Yeb.exe") != NULL;
}
} // namespace

BEGIN_MESSAGE_MAP(CDlgPageSofteware, CSettingsPage)
    ON_BN_CLICKED(IDC_SOFTWARE_AUTO_START, &CDlgPageSofteware::OnAutoRun)
    ON_BN_CLICKED(IDC_SOFTWARE_SAVE_LOGIN, &CDlgPageSofteware::OnSaveLogin)
    ON_BN_CLICKED(IDC_SOFTWARE_AUTO_AWAY, &CDlgPageSofteware::OnAutoAway)
    ON_BN_CLICKED(IDC_SOFTWARE_FOLLOW, &CDlgPageSofteware::OnFollow)
    ON_BN_CLICKED(IDC_SOFTWARE_BROWSE, &CDlgPageSofteware::OnBrowse)
    ON_BN_CLICKED(IDC_SOFTWARE_CLEAR_CACHE, &CDlgPageSofteware::OnClearCache)
    ON_EN_CHANGE(IDC_SOFTWARE_AWAY_MINUTES, &CDlgPageSofteware::OnMinutesChanged)
END_MESSAGE_MAP()

CDlgPageSofteware::CDlgPageSofteware(CWnd* pParent)
    : CSettingsPage(IDD, pParent), m_bAutoRun(FALSE), m_bSaveLogin(FALSE), m_bShowState(FALSE),
      m_bListenVisible(FALSE), m_bEnableFollow(FALSE), m_nTimeLeave(0)
{
}

void CDlgPageSofteware::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_SOFTWARE_AWAY_MINUTES, m_nTimeLeave);
    DDX_Text(pDX, IDC_SOFTWARE_SAVE_PATH, m_strSavePath);
}

BOOL CDlgPageSofteware::OnInitDialog()
{
    if (g_pAppSetting)
    {
        m_bSaveLogin = g_pAppSetting->bSaveLogin;
        m_bShowState = g_pAppSetting->bShowState;
        m_bListenVisible = g_pAppSetting->bListenVisible;
        m_bEnableFollow = g_pAppSetting->bEnableFollow;
        m_strSavePath = g_pAppSetting->strSavePath;
        m_nTimeLeave = g_pAppSetting->dwTimeLeave;
    }
    m_bAutoRun = IsAutoRunOn();
    CSettingsPage::OnInitDialog();
    m_btnAutoRun.SubclassDlgItem(IDC_SOFTWARE_AUTO_START, this);
    m_btnSaveLogin.SubclassDlgItem(IDC_SOFTWARE_SAVE_LOGIN, this);
    m_btnAutoAway.SubclassDlgItem(IDC_SOFTWARE_AUTO_AWAY, this);
    m_btnFollow.SubclassDlgItem(IDC_SOFTWARE_FOLLOW, this);
    ShowSwitches();
    return TRUE;
}

void CDlgPageSofteware::ShowSwitches()
{
    ShowSwitch(m_btnAutoRun, m_bAutoRun);
    ShowSwitch(m_btnSaveLogin, m_bSaveLogin);
    ShowSwitch(m_btnAutoAway, m_bShowState);
    ShowSwitch(m_btnFollow, m_bListenVisible);
}

void CDlgPageSofteware::OnAutoRun()
{
    m_bAutoRun = !m_bAutoRun;
    ShowSwitch(m_btnAutoRun, m_bAutoRun);
    EnableApply();
}

void CDlgPageSofteware::OnSaveLogin()
{
    if (m_bSaveLogin)
        m_bSaveLogin = FALSE;
    else if (Ask(L"INFO_LOGIN_SAVE_PASSWD", CDlgMessage::BUTTONS_OK_CANCEL, L"INFO_LOGIN_SAVE_PASSWD_OK") == IDOK)
        m_bSaveLogin = TRUE;
    ShowSwitch(m_btnSaveLogin, m_bSaveLogin);
    EnableApply();
}

void CDlgPageSofteware::OnAutoAway()
{
    m_bShowState = !m_bShowState;
    ShowSwitch(m_btnAutoAway, m_bShowState);
    EnableApply();
}

void CDlgPageSofteware::OnFollow()
{
    m_bListenVisible = !m_bListenVisible;
    m_bEnableFollow = m_bListenVisible;
    ShowSwitch(m_btnFollow, m_bListenVisible);
    EnableApply();
}

void CDlgPageSofteware::OnBrowse()
{
    CFolderDialog picker;
    picker.m_strInitialSelection = m_strSavePath;
    if (picker.DoModal(m_hWnd) == 1)
    {
        m_strSavePath = picker.m_strChosenPath;
        SetDlgItemText(IDC_SOFTWARE_SAVE_PATH, m_strSavePath);
    }
    EnableApply();
}

int CDlgPageSofteware::DeleteSongCache(HWND owner)
{
    wchar_t music[MAX_PATH] = {};
    if (!GetShellSpecialFolderPath(owner, music, SHELL_FOLDER_MYMUSIC, FALSE) || !music[0])
        return 0;
    CString folder;
    folder.Format(L"%s\\yeb360\\cache\\", music);
    int deleted = 0;
    WIN32_FIND_DATAW found = {};
    HANDLE find = ::FindFirstFileW(folder + L"*.cache", &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
    {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // The pattern also matches longer extensions through short names.
        CString name = found.cFileName;
        if (name.GetLength() < 6 || name.Right(6).CompareNoCase(L".cache") != 0)
            continue;
        if (::DeleteFileW(folder + name))
            ++deleted;
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return deleted;
}

void CDlgPageSofteware::OnClearCache()
{
    CWnd* button = GetDlgItem(IDC_SOFTWARE_CLEAR_CACHE);
    if (button)
        button->EnableWindow(FALSE);
    DeleteSongCache(m_hWnd);
    if (button)
        button->EnableWindow(TRUE);
    Ask(L"INFO_DELSONGCACHE_SUCCESS", CDlgMessage::BUTTONS_OK);
}

CString CDlgPageSofteware::AutoRunValue(const CString& programFolder)
{
    CString value;
    value.Format(L"\"%sYeb.exe\" -l:systemauto", (LPCWSTR)programFolder);
    return value;
}

BOOL CDlgPageSofteware::IsAutoRunOn()
{
    return RunKeyStartsClient(HKEY_CURRENT_USER) || RunKeyStartsClient(HKEY_LOCAL_MACHINE);
}

BOOL CDlgPageSofteware::Apply(BOOL flag)
{
    if (!flag)
    {
        ShowValues();
        return TRUE;
    }
    if (g_pAppSetting)
    {
        g_pAppSetting->bSaveLogin = m_bSaveLogin;
        g_pAppSetting->bShowState = m_bShowState;
        if (m_bShowState)
        {
            UpdateData(TRUE);
            g_pAppSetting->dwTimeLeave = m_nTimeLeave;
        }
        g_pAppSetting->bListenVisible = m_bListenVisible;
        g_pAppSetting->bEnableFollow = m_bListenVisible;
        GetDlgItemText(IDC_SOFTWARE_SAVE_PATH, m_strSavePath);
        g_pAppSetting->strSavePath = m_strSavePath;
    }
    HKEY key = NULL;
    if (m_bAutoRun)
    {
        // The user's own Run key may not exist yet on a fresh profile.
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, NULL, 0, KEY_READ | KEY_WRITE, NULL, &key, NULL) !=
            ERROR_SUCCESS)
            Ask(L"INFO_CONFIG_ERROR_AUTORUN", CDlgMessage::BUTTONS_OK);
        else
        {
            CString value = AutoRunValue(g_pAppSetting ? g_pAppSetting->GetProgramFolder() : CString());
            LONG result = ::RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>((LPCWSTR)value),
                                           (value.GetLength() + 1) * sizeof(wchar_t));
            ::RegCloseKey(key);
            if (result != ERROR_SUCCESS)
                Ask(L"INFO_CONFIG_ERROR_AUTORUN", CDlgMessage::BUTTONS_OK);
        }
    }
    else if (LONG opened = ::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ | KEY_WRITE, &key))
    {
        // Without the key there is no value to remove.
        if (opened != ERROR_FILE_NOT_FOUND)
            Ask(L"INFO_CONFIG_ERROR_CANCEL_AUTORUN", CDlgMessage::BUTTONS_OK);
    }
    else
    {
        LONG result = ::RegDeleteValueW(key, kRunValue);
        ::RegCloseKey(key);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            Ask(L"INFO_CONFIG_ERROR_CANCEL_AUTORUN", CDlgMessage::BUTTONS_OK);
    }
    if (!m_bSaveLogin && g_pAppSetting)
        g_pAppSetting->WriteString(L"Secret", L"passwd", L"");
    return TRUE;
}
