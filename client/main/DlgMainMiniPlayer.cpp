// Mini mode: the main window hides behind the mini player strip and comes
// back when the strip asks for it (WM_MINI_SHOW_MAIN, lParam 0), after the
// strip has faded out (lParam 1).
#include "DlgMain.h"

#include "AppSetting.h"
#include "resource.h"

void CDlgMain::EnterMiniMode()
{
    if (m_miniPlayer && m_miniPlayer->GetSafeHwnd())
    {
        m_miniPlayer->FadeIn();
        return;
    }
    m_miniPlayer.reset(new CDlgMiniPlayer(this));
    if (!m_miniPlayer->Create(IDD_MINI_PLAYER, NULL))
    {
        m_miniPlayer.reset();
        return;
    }
    m_bMiniMode = TRUE;
    if (g_pAppSetting)
        g_pAppSetting->bMini = TRUE;
    if (m_stTitle.GetSafeHwnd())
        m_miniPlayer->SetSongTitle(m_stTitle.GetText(), TRUE);
    if (m_stBuffering.GetSafeHwnd())
    {
        m_miniPlayer->SetStatusText(m_stBuffering.GetText(), TRUE);
        m_miniPlayer->SwitchTextLine(m_stBuffering.IsWindowVisible() ? 0 : 1, FALSE);
    }
    ShowWindow(SW_HIDE);
    m_miniPlayer->FadeIn();
}

LRESULT CDlgMain::OnMiniPlayerNotify(WPARAM, LPARAM lParam)
{
    if (lParam == 0)
    {
        // The strip fades out first and says so when it is gone.
        if (m_miniPlayer && m_miniPlayer->GetSafeHwnd())
            m_miniPlayer->FadeOut();
        if (m_miniPlayer && m_miniPlayer->GetSafeHwnd() && m_miniPlayer->GetAlpha() <= 0)
            m_miniPlayer->DestroyWindow();
        if (m_miniPlayer && m_miniPlayer->GetSafeHwnd())
            return 0;
    }
    m_miniPlayer.reset();
    m_bMiniMode = FALSE;
    if (g_pAppSetting)
        g_pAppSetting->bMini = FALSE;
    ShowWindow(SW_SHOWNORMAL);
    SetForegroundWindow();
    return 0;
}
