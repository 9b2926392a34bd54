// CDlgBrowserToolBar: the strip under the web song browser's caption with
// the two outside music search sites; a click asks the browser window to
// open the site's home page.
#pragma once
#include "ImageButton.h"
#include "SkinDialog.h"
#include "ThemeButton.h"

class CDlgBrowserToolBar : public CSkinDialog
{
public:
    CDlgBrowserToolBar();

    ThemeButton m_btnSite1, m_btnSite2;
    CImageButton m_btnImage1, m_btnImage2;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    void PaintBackground(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    void SetUpSiteButton(ThemeButton& button, UINT id);
    CBitmap m_background;
};
