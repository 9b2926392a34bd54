// CDlgPageSound: the notification page of the settings dialog: a pop-up and
// a sound switch per event and the follow prompt, eleven flags kept in the
// settings object's order.
#pragma once

#include "SettingsPage.h"

class CAppSetting;

class CDlgPageSound : public CSettingsPage
{
  public:
    enum { IDD = 196, FLAG_COUNT = 11 };
    explicit CDlgPageSound(CWnd* pParent = NULL);

    // With flag 1 the eleven flags go into the settings object.
    BOOL Apply(BOOL flag);

    // The switch of each flag and the settings field it belongs to.
    static const UINT s_switchIds[FLAG_COUNT];
    static BOOL CAppSetting::* const s_fields[FLAG_COUNT];

    BOOL m_flags[FLAG_COUNT];
    CImageButton m_switches[FLAG_COUNT];

  protected:
    BOOL OnInitDialog() override;
    void OnSwitch(UINT id);
    DECLARE_MESSAGE_MAP()
};
