// CDlgPageHotKey: the boss-key page of the settings dialog: the default
// Ctrl+Alt+Q or a combination of the user's own, captured by a hot-key edit.
#pragma once

#include "HotKeyEdit.h"
#include "SettingsPage.h"

class CDlgPageHotKey : public CSettingsPage
{
  public:
    enum { IDD = 375, BOSS_KEY_ID = 49150 };
    explicit CDlgPageHotKey(CWnd* pParent = NULL);

    // With flag 1 the boss key goes into the settings object and is
    // registered again when it differs from the one the page started with.
    BOOL Apply(BOOL flag);

    int m_nMode; // 0 the default, 1 the user's own key
    // The combination the page started with.
    BOOL m_bStartAlt, m_bStartShift, m_bStartCtrl;
    UINT m_nStartKey;

    CHotKeyEdit m_edit;
    CImageButton m_btnDefault, m_btnOwn;

  protected:
    BOOL OnInitDialog() override;
    void OnUseDefault();
    void OnUseOwn();
    LRESULT OnHotKeyChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

  private:
    void ShowMode();
};
