// CDlgConfirmListen: asks before the client follows what a buddy listens to
// (template 408), with a switch to stop asking; OK with the switch on turns
// the question off at once, in memory and in the settings file.
#pragma once
#include "Framework.h"
#include "ImageButton.h"
#include "SkinDialog.h"
#include "ThemeButton.h"
#include "TransparentStatic.h"

class CDlgConfirmListen : public CSkinDialog
{
    DECLARE_DYNAMIC(CDlgConfirmListen)
  public:
    enum { IDD = 408 };

    explicit CDlgConfirmListen(CWnd* parent = NULL);

    BOOL DontAskAgain() const { return m_bDontAsk; }

    CTransparentStatic m_question, m_switchLabel;
    ThemeButton m_btnOK, m_btnCancel;
    CImageButton m_btnClose, m_btnSwitch;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnOkButton();
    void OnCancelButton();
    void OnSwitch();
    DECLARE_MESSAGE_MAP()

  private:
    void ShowSwitch();

    int m_bDontAsk;
};
