#include "DlgPagePrivate.h"

#include "AppSetting.h"
#include "DlgMain.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CDlgPagePrivate, CSettingsPage)
    ON_BN_CLICKED(IDC_PRIVATE_GENDER_MALE, &CDlgPagePrivate::OnMale)
    ON_BN_CLICKED(IDC_PRIVATE_GENDER_FEMALE, &CDlgPagePrivate::OnFemale)
    ON_BN_CLICKED(IDC_PRIVATE_GENDER_SECRET, &CDlgPagePrivate::OnSecret)
    ON_BN_CLICKED(IDC_PRIVATE_FINDABLE, &CDlgPagePrivate::OnFindable)
    ON_BN_CLICKED(IDC_PRIVATE_PUBLIC_BUDDIES, &CDlgPagePrivate::OnPublicBuddies)
    ON_EN_CHANGE(IDC_PRIVATE_NICK, &CDlgPagePrivate::OnTextChanged)
    ON_EN_CHANGE(IDC_PRIVATE_SIGNATURE, &CDlgPagePrivate::OnTextChanged)
    ON_EN_CHANGE(IDC_PRIVATE_NAME, &CDlgPagePrivate::OnTextChanged)
    ON_EN_CHANGE(IDC_PRIVATE_REGION, &CDlgPagePrivate::OnTextChanged)
    ON_EN_CHANGE(IDC_PRIVATE_AGE, &CDlgPagePrivate::OnTextChanged)
    ON_STN_CLICKED(IDC_PRIVATE_MORE, &CDlgPagePrivate::OnMore)
END_MESSAGE_MAP()

CDlgPagePrivate::CDlgPagePrivate(CWnd* pParent)
    : CSettingsPage(IDD, pParent), m_strAge(L"18"), m_nGender(0), m_wPrivacy(0)
{
    if (g_pAppSetting)
    {
        m_strNick = g_pAppSetting->strNick;
        m_strSignature = g_pAppSetting->strSignature;
        m_strName = g_pAppSetting->strName;
        m_strRegion = g_pAppSetting->strRegion;
        m_wPrivacy = g_pAppSetting->wPrivacy;
    }
}

void CDlgPagePrivate::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PRIVATE_NICK, m_strNick);
    DDX_Text(pDX, IDC_PRIVATE_SIGNATURE, m_strSignature);
    DDX_Text(pDX, IDC_PRIVATE_NAME, m_strName);
    DDX_Text(pDX, IDC_PRIVATE_REGION, m_strRegion);
    DDX_Text(pDX, IDC_PRIVATE_AGE, m_strAge);
}

BOOL CDlgPagePrivate::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    const struct
    {
        UINT id;
        int limit;
    } limits[] = {{IDC_PRIVATE_NICK, 64},
                  {IDC_PRIVATE_SIGNATURE, 129},
                  {IDC_PRIVATE_NAME, 129},
                  {IDC_PRIVATE_REGION, 129},
                  {IDC_PRIVATE_AGE, 3}};
    for (const auto& limit : limits)
        SendDlgItemMessage(limit.id, EM_LIMITTEXT, limit.limit, 0);
    m_btnMale.SubclassDlgItem(IDC_PRIVATE_GENDER_MALE, this);
    m_btnFemale.SubclassDlgItem(IDC_PRIVATE_GENDER_FEMALE, this);
    m_btnSecret.SubclassDlgItem(IDC_PRIVATE_GENDER_SECRET, this);
    m_btnFindable.SubclassDlgItem(IDC_PRIVATE_FINDABLE, this);
    m_btnPublicBuddies.SubclassDlgItem(IDC_PRIVATE_PUBLIC_BUDDIES, this);
    ShowGender();
    ShowSwitch(m_btnFindable, (m_wPrivacy & 1) != 0);
    ShowSwitch(m_btnPublicBuddies, (m_wPrivacy & 2) != 0);
    return TRUE;
}

void CDlgPagePrivate::ShowGender()
{
    ShowRadio(m_btnMale, m_nGender == 1);
    ShowRadio(m_btnFemale, m_nGender == 2);
    ShowRadio(m_btnSecret, m_nGender == 0);
}

void CDlgPagePrivate::ChooseGender(int gender)
{
    if (gender != m_nGender)
        EnableApply();
    m_nGender = gender;
    ShowGender();
}

void CDlgPagePrivate::FlipPrivacy(WORD bit)
{
    m_wPrivacy ^= bit;
    ShowSwitch(bit == 1 ? m_btnFindable : m_btnPublicBuddies, (m_wPrivacy & bit) != 0);
    EnableApply();
}

void CDlgPagePrivate::OnMore()
{
    if (CDlgMain* main = CDlgMain::Instance())
        if (main->GetSafeHwnd())
            main->PostMessage(WM_COMMAND, IDC_PRIVATE_MORE, 0);
}

int CDlgPagePrivate::CheckChanges()
{
    UpdateData(TRUE);
    int age = _wtoi(m_strAge);
    if (age)
        m_strAge.Format(L"%d", age);
    else
        m_strAge.Empty();
    if (age > 200)
        return 2;
    ShowValues();
    if (!g_pAppSetting)
        return 0;
    const CAppSetting& own = *g_pAppSetting;
    BOOL changed = m_strNick != own.strNick || m_strSignature != own.strSignature || m_strName != own.strName ||
                   m_nGender != own.nGender || age != own.nAge || m_strRegion != own.strRegion ||
                   m_wPrivacy != own.wPrivacy;
    return changed ? 1 : 0;
}

void CDlgPagePrivate::FocusNick()
{
    if (CWnd* nick = GetDlgItem(IDC_PRIVATE_NICK))
        nick->SetFocus();
}

void CDlgPagePrivate::FocusAge()
{
    if (CWnd* age = GetDlgItem(IDC_PRIVATE_AGE))
    {
        age->SetFocus();
        age->SendMessage(EM_SETSEL, 0, -1);
        age->SendMessage(EM_SCROLLCARET, 0, 0);
    }
}
