// CDlgAddFriend: asks for a buddy's address (template 322), checks it,
// enters the buddy in the main window's buddy store, sends the friend
// request and reports it to the web site from a short-lived thread.
#pragma once
#include "Framework.h"
#include "FlatEdit.h"
#include "ImageButton.h"
#include "SkinDialog.h"
#include "ThemeButton.h"
#include "TransparentStatic.h"

class CDlgAddFriend : public CSkinDialog
{
    DECLARE_DYNAMIC(CDlgAddFriend)
  public:
    enum { IDD = 322, WIDTH = 340, HEIGHT = 150 };

    explicit CDlgAddFriend(CWnd* parent = NULL);
    ~CDlgAddFriend() override;

    CString GetFriendAddress() const { return m_strFriendAddress; }

    // The web report's body: "str=" and the Base64 of the form's UTF-8
    // bytes followed by two zero bytes, every "+" written "%2B".
    static CStringA ReportBody(const CString& from, const CString& to, const CString& nick, int songCount);
    // How the dialog asks (tests replace it).
    static int (*s_showMessage)(const CString& text, CWnd* parent);

    CFlatEdit m_editAddress;
    CTransparentStatic m_prompt, m_hint;
    ThemeButton m_btnOK, m_btnCancel;
    CImageButton m_btnClose, m_btnMinimise;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCloseButton();
    void OnMinimiseButton();
    DECLARE_MESSAGE_MAP()

  private:
    void RefuseAddress(const CString& message);
    void StartReport();

    CString m_strFriendAddress;
    HANDLE m_hPostThread;
};
