// CDlgPagePrivate: the personal page of the settings dialog: nick,
// signature, the two privacy switches, and the hidden name, gender, age and
// region of the profile.
#pragma once

#include "SettingsPage.h"

class CDlgPagePrivate : public CSettingsPage
{
  public:
    enum { IDD = 194 };
    explicit CDlgPagePrivate(CWnd* pParent = NULL);

    // 0 the profile is unchanged, 1 changed, 2 the age is above 200 (the
    // controls then keep what the user typed).
    int CheckChanges();
    void FocusNick();
    void FocusAge();

    CString m_strNick;
    CString m_strSignature;
    CString m_strName;
    CString m_strRegion;
    CString m_strAge;
    int m_nGender;   // 0 not disclosed, 1 male, 2 female
    WORD m_wPrivacy; // bit 0 others may find me, bit 1 buddy list public

    CImageButton m_btnMale, m_btnFemale, m_btnSecret;
    CImageButton m_btnFindable, m_btnPublicBuddies;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnMale() { ChooseGender(1); }
    void OnFemale() { ChooseGender(2); }
    void OnSecret() { ChooseGender(0); }
    void OnFindable() { FlipPrivacy(1); }
    void OnPublicBuddies() { FlipPrivacy(2); }
    void OnTextChanged() { EnableApply(); }
    void OnMore();
    DECLARE_MESSAGE_MAP()

  private:
    void ChooseGender(int gender);
    void FlipPrivacy(WORD bit);
    void ShowGender();
};
