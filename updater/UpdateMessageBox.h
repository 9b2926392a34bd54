// CUpdateMessageBox: the updater's one skinned message box. Every message
// of the updater, question or notice, is shown in it: a text, OK alone or
// OK and Cancel, and a close button. The caption is always "升级提示".
#pragma once

#include "ImageButton.h"
#include "SkinDialog.h"
#include "ThemeButton.h"
#include "TransparentStatic.h"

class CUpdateMessageBox : public CSkinDialog
{
    DECLARE_DYNAMIC(CUpdateMessageBox)
  public:
    enum
    {
        IDD = 152,
        WIDTH = 384,
        HEIGHT = 142,
    };

    // style 0: OK only; 1: OK and Cancel.
    CUpdateMessageBox(LPCWSTR text, int style, CWnd* pParent = NULL);
    ~CUpdateMessageBox() override;

    CImageButton m_btnClose;
    ThemeButton m_btnOK;
    ThemeButton m_btnCancel;
    CTransparentStatic m_text;
    BOOL m_bOkOnly;
    BOOL m_bOkCancel;
    CString m_strText;
    CString m_strCaption;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCloseButton();
    DECLARE_MESSAGE_MAP()
};
