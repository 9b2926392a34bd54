#include "DlgConfig.h"

#include "AppSetting.h"
#include "BuddyCommands.h"
#include "ClientApp.h"
#include "DlgMain.h"
#include "DlgMessage.h"
#include "FormPost.h"
#include "LanguageTable.h"
#include "ServiceAddresses.h"
#include "SmallDialogFrame.h"
#include "resource.h"

namespace
{
// Selector ids in the order of m_btnPages, and their places from the top.
const UINT kSelectorIds[5] = {IDC_CONFIG_PAGE_PRIVATE, IDC_CONFIG_PAGE_SOFTWARE, IDC_CONFIG_PAGE_SOUND,
                              IDC_CONFIG_PAGE_PASSWORD, IDC_CONFIG_PAGE_HOT_KEY};
const int kSelectorTops[5] = {62, 93, 124, 186, 155};
// Which selector shows which page (page index -> selector index).
const int kSelectorOfPage[5] = {0, 1, 2, 4, 3};
const int kPageX = 128, kPageY = 30, kPageWidth = 321, kPageHeight = 200;
} // namespace

BEGIN_MESSAGE_MAP(CDlgConfig, CSkinDialog)
    ON_BN_CLICKED(IDC_CONFIG_PAGE_PRIVATE, &CDlgConfig::OnBtnPrivate)
    ON_BN_CLICKED(IDC_CONFIG_PAGE_SOFTWARE, &CDlgConfig::OnBtnSoftware)
    ON_BN_CLICKED(IDC_CONFIG_PAGE_SOUND, &CDlgConfig::OnBtnSound)
    ON_BN_CLICKED(IDC_CONFIG_PAGE_HOT_KEY, &CDlgConfig::OnBtnHotKey)
    ON_BN_CLICKED(IDC_CONFIG_PAGE_PASSWORD, &CDlgConfig::OnBtnChangePasswd)
    ON_BN_CLICKED(IDC_CONFIG_APPLY, &CDlgConfig::OnApply)
    ON_BN_CLICKED(IDC_CONFIG_CLOSE, &CDlgConfig::OnCloseButton)
    ON_BN_CLICKED(IDC_CONFIG_MINIMISE, &CDlgConfig::OnMinimiseButton)
END_MESSAGE_MAP()

CDlgConfig::CDlgConfig(int initialPage, CWnd* pParent)
    : CSkinDialog(IDD, pParent), m_nInitialPage(initialPage), m_pagePrivate(this), m_pageSoftware(this),
      m_pageSound(this), m_pageHotKey(this), m_pagePassword(this)
{
}

CDlgConfig::~CDlgConfig()
{
    CSkinDialog* pages[] = {&m_pagePrivate, &m_pageSoftware, &m_pageSound, &m_pageHotKey, &m_pagePassword};
    for (CSkinDialog* page : pages)
        if (page->GetSafeHwnd())
            page->DestroyWindow();
}

BOOL CDlgConfig::OnInitDialog()
{
    SetSmallDialogFrame(*this);
    CSkinDialog::OnInitDialog();
    m_strCaption = Lang(L"STR_CONFIG_MAIN_TITLE");
    SetWindowText(m_strCaption);
    SetWindowPos(NULL, 0, 0, WIDTH, HEIGHT, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect client;
    GetClientRect(&client);

    m_btnClose.SubclassDlgItem(IDC_CONFIG_CLOSE, this);
    m_btnClose.SetBitmapStrip(IDB_BTN_CLOSE, RGB(255, 0, 255));
    m_btnMinimise.SubclassDlgItem(IDC_CONFIG_MINIMISE, this);
    m_btnMinimise.SetBitmapStrip(IDB_BTN_MINIMISE, RGB(255, 0, 255));
    m_btnClose.SetWindowPos(NULL, client.right - 34, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_btnMinimise.SetWindowPos(NULL, client.right - 60, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    for (int i = 0; i < 5; ++i)
    {
        ThemeButton& selector = m_btnPages[i];
        selector.SubclassDlgItem(kSelectorIds[i], this);
        selector.SetImages(IDB_PAGE_BTN_LEFT, IDB_PAGE_BTN_MIDDLE, IDB_PAGE_BTN_RIGHT, 4);
        // Dark captions on the light selectors; the shown page's (disabled) in the hover tone.
        selector.m_clrNormal = RGB(0x40, 0x4C, 0x62);
        selector.m_clrHover = selector.m_clrDisabled = RGB(0x27, 0x6F, 0x7E);
        selector.m_clrPressed = RGB(0x33, 0x33, 0x33);
        CRect r;
        selector.GetWindowRect(&r);
        ScreenToClient(&r);
        selector.SetWindowPos(NULL, r.left, kSelectorTops[i], 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    const struct
    {
        ThemeButton* button;
        UINT id;
        int x;
    } actions[] = {{&m_btnOK, IDOK, 232}, {&m_btnCancel, IDCANCEL, 312}, {&m_btnApply, IDC_CONFIG_APPLY, 392}};
    for (const auto& action : actions)
    {
        action.button->SubclassDlgItem(action.id, this);
        SetSmallDialogButton(*action.button);
        action.button->m_clrDisabled = RGB(0xA0, 0xA8, 0xB4); // a disabled Apply must look disabled
        CRect r;
        action.button->GetWindowRect(&r);
        action.button->SetWindowPos(NULL, action.x, 237, 65, r.Height(), SWP_NOZORDER);
    }
    m_btnPages[0].EnableWindow(FALSE);

    CSkinDialog* pages[] = {&m_pagePrivate, &m_pageSoftware, &m_pageSound, &m_pageHotKey, &m_pagePassword};
    for (CSkinDialog* page : pages)
    {
        page->Create(page == &m_pagePrivate    ? CDlgPagePrivate::IDD
                     : page == &m_pageSoftware ? CDlgPageSofteware::IDD
                     : page == &m_pageSound    ? CDlgPageSound::IDD
                     : page == &m_pageHotKey   ? CDlgPageHotKey::IDD
                                               : CDlgPageChangePasswd::IDD,
                     this);
        page->SetWindowPos(NULL, kPageX, kPageY, kPageWidth, kPageHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    int initial = m_nInitialPage >= PAGE_SOFTWARE && m_nInitialPage <= PAGE_PASSWORD ? m_nInitialPage : PAGE_PRIVATE;
    ShowPage(initial);
    CenterWindow();
    return initial != PAGE_PRIVATE;
}

void CDlgConfig::ShowPage(int index)
{
    CSkinDialog* pages[] = {&m_pagePrivate, &m_pageSoftware, &m_pageSound, &m_pageHotKey, &m_pagePassword};
    for (int i = 0; i < 5; ++i)
    {
        if (pages[i]->GetSafeHwnd())
            pages[i]->ShowWindow(i == index ? SW_SHOW : SW_HIDE);
        if (m_btnPages[kSelectorOfPage[i]].GetSafeHwnd())
            m_btnPages[kSelectorOfPage[i]].EnableWindow(i != index);
    }
    if (index == PAGE_PRIVATE)
        m_pagePrivate.FocusNick();
}

void CDlgConfig::OnBtnPrivate() { ShowPage(PAGE_PRIVATE); }
void CDlgConfig::OnBtnSoftware() { ShowPage(PAGE_SOFTWARE); }
void CDlgConfig::OnBtnSound() { ShowPage(PAGE_SOUND); }
void CDlgConfig::OnBtnHotKey() { ShowPage(PAGE_HOT_KEY); }
void CDlgConfig::OnBtnChangePasswd() { ShowPage(PAGE_PASSWORD); }

BOOL CDlgConfig::ApplySettings()
{
    HCURSOR previous = ::SetCursor(::LoadCursor(NULL, IDC_WAIT));
    int check = m_pagePrivate.CheckChanges();
    if (check == 2)
    {
        CDlgMain::s_askUser(Lang(L"INFO_CONFIG_OVER_MAX_AGE"), CDlgMessage::BUTTONS_OK, L"", 0, this);
        ShowPage(PAGE_PRIVATE);
        m_btnApply.EnableWindow(FALSE);
        m_pagePrivate.FocusAge();
        ::SetCursor(previous);
        return FALSE;
    }
    m_pageSound.Apply(TRUE);
    m_pageSoftware.Apply(TRUE);
    m_pageHotKey.Apply(TRUE);
    if (g_pAppSetting)
        g_pAppSetting->SaveSettings();

    CDlgPagePrivate& page = m_pagePrivate;
    if (check == 1)
    {
        CString uid, gender, flags;
        if (CClientApp* app = GetClientApp())
            uid = app->GetUserId();
        gender.Format(L"%d", page.m_nGender);
        flags.Format(L"%d", (int)page.m_wPrivacy);
        int age = page.m_strAge.GetLength() > 3 ? 0 : _wtol(page.m_strAge);
        CBuddyCommands::PushProfile(page.m_strName, page.m_strNick, gender, page.m_strSignature, page.m_strRegion,
                                    uid, flags, age);
        if (g_pAppSetting)
        {
            g_pAppSetting->strRegion = page.m_strRegion;
            g_pAppSetting->strName = page.m_strName;
            g_pAppSetting->strNick = page.m_strNick;
            g_pAppSetting->strSignature = page.m_strSignature;
            g_pAppSetting->wPrivacy = page.m_wPrivacy;
        }
        PostNickAndSignature(page.m_strNick);
        if (CDlgMain* main = CDlgMain::Instance())
        {
            main->UpdateMyStatusText();
            main->PushMyPresence();
        }
    }
    ::SetCursor(previous);
    return TRUE;
}

void CDlgConfig::OnOK()
{
    if (!m_btnApply.IsWindowEnabled())
    {
        EndDialog(IDOK);
        return;
    }
    if (ApplySettings())
        EndDialog(IDOK);
}

void CDlgConfig::OnApply()
{
    if (ApplySettings())
        m_btnApply.EnableWindow(FALSE);
}

CStringA CDlgConfig::NickPostBody(const CString& email, const CString& nick, const CString& signature)
{
    CStringA body = "email=" + EncodeFormValue(email, 1024) + "&nick=" + EncodeFormValue(nick, 1024) +
                    "&sign=" + EncodeFormValue(signature, 1024);
    return body;
}

BOOL CDlgConfig::PostNickAndSignature(const CString& nick)
{
    CString email;
    if (CClientApp* app = GetClientApp())
        app->GetUserEmail(email);
    CStringA body = NickPostBody(email, nick, g_pAppSetting ? g_pAppSetting->strSignature : CString());
    const CServiceAddresses& addresses = CServiceAddresses::Get();
    DWORD status = 0;
    return PostForm(addresses.m_imageHost, addresses.m_imageWebPort, L"/cgi-bin/upnick", body, &status);
}
