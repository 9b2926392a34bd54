// CDlgConfig: the modal settings dialog: five pages in one frame with a
// column of page selectors, and OK, Cancel and Apply. OK and Apply hand the
// pages' values to the settings object, save the settings file, register the
// boss key again when it changed, and push a changed profile to the service
// and the image host.
#pragma once

#include "DlgPageChangePasswd.h"
#include "DlgPageHotKey.h"
#include "DlgPagePrivate.h"
#include "DlgPageSofteware.h"
#include "DlgPageSound.h"
#include "ImageButton.h"
#include "SkinDialog.h"
#include "ThemeButton.h"

class CDlgConfig : public CSkinDialog
{
  public:
    enum { IDD = 183, WIDTH = 478, HEIGHT = 293 };
    enum { PAGE_PRIVATE = 0, PAGE_SOFTWARE = 1, PAGE_SOUND = 2, PAGE_HOT_KEY = 3, PAGE_PASSWORD = 4 };
    CDlgConfig(int initialPage, CWnd* pParent = NULL);
    ~CDlgConfig() override;

    void OnBtnPrivate();
    void OnBtnSoftware();
    void OnBtnSound();
    void OnBtnHotKey();
    void OnBtnChangePasswd();
    // The common apply; FALSE when the age check stopped it.
    BOOL ApplySettings();

    // The image host's nick form: e-mail, nick and the settings' signature.
    static BOOL PostNickAndSignature(const CString& nick);
    // The form's body; every value is URL-encoded so that "&" or "=" in a
    // nick cannot change the form.
    static CStringA NickPostBody(const CString& email, const CString& nick, const CString& signature);

    int m_nInitialPage;
    CImageButton m_btnMinimise, m_btnClose;
    CStatic m_title;
    ThemeButton m_btnPages[5]; // personal, software, notifications, change password, hot key
    ThemeButton m_btnOK, m_btnCancel, m_btnApply;
    CDlgPagePrivate m_pagePrivate;
    CDlgPageSofteware m_pageSoftware;
    CDlgPageSound m_pageSound;
    CDlgPageHotKey m_pageHotKey;
    CDlgPageChangePasswd m_pagePassword;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnApply();
    void OnCloseButton() { EndDialog(IDCANCEL); }
    void OnMinimiseButton() { ShowWindow(SW_MINIMIZE); }
    DECLARE_MESSAGE_MAP()

  private:
    void ShowPage(int index);
};
