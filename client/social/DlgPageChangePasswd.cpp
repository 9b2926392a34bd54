#include "DlgPageChangePasswd.h"

#include "ServiceAddresses.h"
#include "resource.h"

CDlgPageChangePasswd::CDlgPageChangePasswd(CWnd* pParent) : CSettingsPage(IDD, pParent), m_link(NULL, FALSE) {}

CString CDlgPageChangePasswd::PasswordPageUrl()
{
    return CServiceAddresses::Get().PassportUrl(L"/web/index.php?controller=pwd&action=updatePwd");
}

BOOL CDlgPageChangePasswd::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    m_link.m_link.m_strTarget = PasswordPageUrl();
    m_link.m_bOpenTarget = TRUE;
    m_link.SubclassDlgItem(IDC_PASSWORD_LINK, this);
    return TRUE;
}
