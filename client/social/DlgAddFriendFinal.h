// CDlgAddFriendFinal: tells the user that the friend request went out
// (template 323) and, with showContinue, offers to add another buddy (OK).
#pragma once
#include "Framework.h"
#include "ImageButton.h"
#include "SkinDialog.h"
#include "ThemeButton.h"
#include "TransparentStatic.h"

class CDlgAddFriendFinal : public CSkinDialog
{
    DECLARE_DYNAMIC(CDlgAddFriendFinal)
  public:
    enum { IDD = 323 };

    CDlgAddFriendFinal(int showContinue, CWnd* parent = NULL);

    CTransparentStatic m_text;
    ThemeButton m_btnContinue, m_btnCloseWindow;
    CImageButton m_btnClose;

  protected:
    BOOL OnInitDialog() override;
    void OnCloseButton();
    DECLARE_MESSAGE_MAP()

  private:
    int m_nShowContinue;
};
