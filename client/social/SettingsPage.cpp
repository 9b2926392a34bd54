#include "SettingsPage.h"

#include "DlgMain.h"
#include "LanguageTable.h"
#include "resource.h"

namespace
{
const COLORREF kSwitchKey = RGB(0, 255, 0);
const COLORREF kRadioKey = 0xD8E9EC;
} // namespace

CSettingsPage::CSettingsPage(UINT nIDTemplate, CWnd* pParent) : CSkinDialog(nIDTemplate, pParent)
{
    SetTopLeftBitmap(IDB_PAGE_FRAME);
    SetTopBitmap(IDB_PAGE_FRAME);
    SetTopRightBitmap(IDB_PAGE_FRAME);
    SetLeftBitmap(IDB_PAGE_FRAME);
    SetRightBitmap(IDB_PAGE_FRAME);
    SetBottomLeftBitmap(IDB_PAGE_FRAME);
    SetBottomBitmap(IDB_PAGE_FRAME);
    SetBottomRightBitmap(IDB_PAGE_FRAME);
    EnableDrag(FALSE);
}

void CSettingsPage::ShowSwitch(CImageButton& button, BOOL on)
{
    if (on)
        button.SetBitmaps(IDB_SWITCH_ON_HOVER, kSwitchKey, IDB_SWITCH_ON, kSwitchKey, IDB_SWITCH_ON_PRESSED, kSwitchKey);
    else
        button.SetBitmaps(IDB_SWITCH_OFF_HOVER, kSwitchKey, IDB_SWITCH_OFF, kSwitchKey, IDB_SWITCH_OFF_PRESSED,
                          kSwitchKey);
    if (button.GetSafeHwnd())
        button.Invalidate();
}

void CSettingsPage::ShowRadio(CImageButton& button, BOOL chosen)
{
    if (chosen)
        button.SetBitmaps(IDB_RADIO_ON_HOVER, kRadioKey, IDB_RADIO_ON, kRadioKey, IDB_RADIO_OFF, kRadioKey);
    else
        button.SetBitmaps(IDB_RADIO_OFF_HOVER, kRadioKey, IDB_RADIO_OFF, kRadioKey, IDB_RADIO_OFF_PRESSED, kRadioKey);
    if (button.GetSafeHwnd())
        button.Invalidate();
}

int CSettingsPage::Ask(LPCWSTR key, int buttons, LPCWSTR secondKey)
{
    CString second = secondKey ? Lang(secondKey) : CString();
    return CDlgMain::s_askUser(Lang(key), buttons, second, 0, GetParent() ? GetParent() : this);
}

BOOL CSettingsPage::OnInitDialog()
{
    ++m_nQuiet;
    BOOL result = CSkinDialog::OnInitDialog();
    --m_nQuiet;
    return result;
}

void CSettingsPage::ShowValues()
{
    ++m_nQuiet;
    UpdateData(FALSE);
    --m_nQuiet;
}

void CSettingsPage::EnableApply()
{
    if (m_nQuiet)
        return;
    CWnd* parent = GetParent();
    if (CWnd* apply = parent ? parent->GetDlgItem(IDC_CONFIG_APPLY) : NULL)
        apply->EnableWindow(TRUE);
}

BOOL CSettingsPage::IsApplyEnabled()
{
    CWnd* parent = GetParent();
    CWnd* apply = parent ? parent->GetDlgItem(IDC_CONFIG_APPLY) : NULL;
    return apply && apply->IsWindowEnabled();
}
