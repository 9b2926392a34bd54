// The settings dialog as the main window opens it.
#include "DlgMain.h"

#include "DlgConfig.h"

void CDlgMain::OpenSettings(int page)
{
    if (m_pDlgConfig)
    {
        // Only the notification page's request (a pop-up's settings button)
        // turns the running dialog; the menu's is ignored.
        if (page == CDlgConfig::PAGE_SOUND && m_pDlgConfig->GetSafeHwnd())
        {
            m_pDlgConfig->OnBtnSound();
            m_pDlgConfig->SetForegroundWindow();
        }
        return;
    }
    CDlgConfig dialog(page, this);
    m_pDlgConfig = &dialog;
    dialog.DoModal();
    m_pDlgConfig = nullptr;
}
