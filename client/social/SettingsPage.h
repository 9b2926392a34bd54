// CSettingsPage: the base of the settings dialog's pages. A page is a child
// dialog framed by one bitmap on all eight sides that cannot be dragged; it
// keeps its values apart from the settings object until the dialog applies
// them, and every change the user makes enables the dialog's Apply button,
// which is the dialog's record of unsaved changes.
#pragma once

#include "ImageButton.h"
#include "SkinDialog.h"

class CSettingsPage : public CSkinDialog
{
  public:
    CSettingsPage(UINT nIDTemplate, CWnd* pParent);

    // Switches: on and off pictures with green as the transparent colour.
    static void ShowSwitch(CImageButton& button, BOOL on);
    // Radio pairs and groups: the chosen and the other pictures.
    static void ShowRadio(CImageButton& button, BOOL chosen);
    // Asks through the main window's message box (tests replace it).
    int Ask(LPCWSTR key, int buttons, LPCWSTR secondKey = NULL);

  protected:
    // Moves the values into the controls without counting as a change.
    BOOL OnInitDialog() override;
    void ShowValues();
    // Enables the parent dialog's Apply button (not while the page itself
    // writes its controls).
    void EnableApply();
    BOOL IsApplyEnabled();
    void OnOK() override {}
    void OnCancel() override {}

    int m_nQuiet = 0;
};
