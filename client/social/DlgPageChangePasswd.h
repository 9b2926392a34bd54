// CDlgPageChangePasswd: the change-password page of the settings dialog: a
// hint and a link to the passport site's password page. It holds nothing.
#pragma once

#include "SettingsPage.h"
#include "StaticLink.h"

class CDlgPageChangePasswd : public CSettingsPage
{
  public:
    enum { IDD = 373 };
    explicit CDlgPageChangePasswd(CWnd* pParent = NULL);

    // The address the link opens.
    static CString PasswordPageUrl();

    CStaticLink m_link;

  protected:
    BOOL OnInitDialog() override;
};
