#include "DlgPageHotKey.h"

#include "AppSetting.h"
#include "DlgMain.h"
#include "LanguageTable.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CDlgPageHotKey, CSettingsPage)
    ON_BN_CLICKED(IDC_HOT_KEY_USE_DEFAULT, &CDlgPageHotKey::OnUseDefault)
    ON_BN_CLICKED(IDC_HOT_KEY_USE_OWN, &CDlgPageHotKey::OnUseOwn)
    ON_MESSAGE(CHotKeyEdit::WM_HOTKEY_CHANGED, &CDlgPageHotKey::OnHotKeyChanged)
END_MESSAGE_MAP()

CDlgPageHotKey::CDlgPageHotKey(CWnd* pParent)
    : CSettingsPage(IDD, pParent), m_nMode(0), m_bStartAlt(FALSE), m_bStartShift(FALSE), m_bStartCtrl(FALSE),
      m_nStartKey(0)
{
    if (g_pAppSetting)
    {
        m_bStartAlt = g_pAppSetting->bBossAlt ? 1 : 0;
        m_bStartShift = g_pAppSetting->bBossShift ? 1 : 0;
        m_bStartCtrl = g_pAppSetting->bBossCtrl ? 1 : 0;
        m_nStartKey = g_pAppSetting->nBossChar;
    }
}

BOOL CDlgPageHotKey::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    m_edit.SubclassDlgItem(IDC_HOT_KEY_EDIT, this);
    m_btnDefault.SubclassDlgItem(IDC_HOT_KEY_USE_DEFAULT, this);
    m_btnOwn.SubclassDlgItem(IDC_HOT_KEY_USE_OWN, this);
    m_edit.m_strEmpty = Lang(L"CONST_NONE");
    if (!IsValidHotKey(m_bStartAlt, m_bStartCtrl, m_bStartShift, m_nStartKey))
    {
        m_bStartCtrl = m_bStartAlt = TRUE;
        m_bStartShift = FALSE;
        m_nStartKey = 'Q';
    }
    m_nMode = (m_bStartCtrl && m_bStartAlt && !m_bStartShift && m_nStartKey == 'Q') ? 0 : 1;
    if (m_nMode == 1)
    {
        m_edit.m_bAlt = m_bStartAlt;
        m_edit.m_bCtrl = m_bStartCtrl;
        m_edit.m_bShift = m_bStartShift;
        m_edit.m_nKey = m_nStartKey;
        m_edit.m_bHasKey = TRUE;
    }
    m_edit.UpdateText();
    ShowMode();
    return TRUE;
}

void CDlgPageHotKey::ShowMode()
{
    m_edit.EnableWindow(m_nMode == 1);
    ShowRadio(m_btnDefault, m_nMode == 0);
    ShowRadio(m_btnOwn, m_nMode == 1);
}

void CDlgPageHotKey::OnUseDefault()
{
    if (m_nMode == 1)
        EnableApply();
    m_nMode = 0;
    ShowMode();
}

void CDlgPageHotKey::OnUseOwn()
{
    if (m_nMode != 1)
        EnableApply();
    m_nMode = 1;
    ShowMode();
}

LRESULT CDlgPageHotKey::OnHotKeyChanged(WPARAM, LPARAM)
{
    if (!IsApplyEnabled())
        EnableApply();
    return 0;
}

BOOL CDlgPageHotKey::Apply(BOOL flag)
{
    if (flag && g_pAppSetting)
    {
        CAppSetting& settings = *g_pAppSetting;
        if (m_nMode == 0)
        {
            settings.bBossAlt = TRUE;
            settings.bBossCtrl = TRUE;
            settings.bBossShift = FALSE;
            settings.nBossChar = 'Q';
        }
        else
        {
            settings.bBossAlt = m_edit.m_bAlt ? 1 : 0;
            settings.bBossCtrl = m_edit.m_bCtrl ? 1 : 0;
            settings.bBossShift = m_edit.m_bShift ? 1 : 0;
            settings.nBossChar = m_edit.m_nKey;
        }
        BOOL changed = settings.bBossAlt != m_bStartAlt || settings.bBossCtrl != m_bStartCtrl ||
                       settings.bBossShift != m_bStartShift || settings.nBossChar != m_nStartKey;
        CDlgMain* main = CDlgMain::Instance();
        if (changed && main && main->GetSafeHwnd())
        {
            ::UnregisterHotKey(main->GetSafeHwnd(), BOSS_KEY_ID);
            main->RegisterBossKey(settings.bBossAlt, settings.bBossCtrl, settings.bBossShift, settings.nBossChar);
        }
    }
    return UpdateData(flag);
}
