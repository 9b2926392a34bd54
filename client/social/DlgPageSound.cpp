#include "DlgPageSound.h"

#include "AppSetting.h"
#include "resource.h"

const UINT CDlgPageSound::s_switchIds[FLAG_COUNT] = {
    IDC_SOUND_NOTIFY_ONLINE, IDC_SOUND_SOUND_ONLINE, IDC_SOUND_NOTIFY_MESSAGE, IDC_SOUND_SOUND_MESSAGE,
    IDC_SOUND_NOTIFY_LISTEN, IDC_SOUND_SOUND_LISTEN, IDC_SOUND_NOTIFY_GET,     IDC_SOUND_SOUND_GET,
    IDC_SOUND_NOTIFY_PUSH,   IDC_SOUND_SOUND_PUSH,   IDC_SOUND_FOLLOW_PROMPT};

BOOL CAppSetting::* const CDlgPageSound::s_fields[FLAG_COUNT] = {
    &CAppSetting::bNotifyOnline, &CAppSetting::bSoundOnline, &CAppSetting::bNotifyMsg,
    &CAppSetting::bSoundMsg,     &CAppSetting::bNotifyListen, &CAppSetting::bSoundListen,
    &CAppSetting::bNotifyGet,    &CAppSetting::bSoundGet,     &CAppSetting::bNotifyPush,
    &CAppSetting::bSoundPush,    &CAppSetting::bShowFollowSong};

BEGIN_MESSAGE_MAP(CDlgPageSound, CSettingsPage)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_SOUND_NOTIFY_ONLINE, IDC_SOUND_FOLLOW_PROMPT, &CDlgPageSound::OnSwitch)
END_MESSAGE_MAP()

CDlgPageSound::CDlgPageSound(CWnd* pParent) : CSettingsPage(IDD, pParent)
{
    for (BOOL& flag : m_flags)
        flag = FALSE;
}

BOOL CDlgPageSound::OnInitDialog()
{
    if (g_pAppSetting)
        for (int i = 0; i < FLAG_COUNT; ++i)
            m_flags[i] = g_pAppSetting->*s_fields[i];
    CSettingsPage::OnInitDialog();
    for (int i = 0; i < FLAG_COUNT; ++i)
    {
        m_switches[i].SubclassDlgItem(s_switchIds[i], this);
        ShowSwitch(m_switches[i], m_flags[i]);
    }
    return TRUE;
}

void CDlgPageSound::OnSwitch(UINT id)
{
    for (int i = 0; i < FLAG_COUNT; ++i)
        if (s_switchIds[i] == id)
        {
            m_flags[i] = !m_flags[i];
            ShowSwitch(m_switches[i], m_flags[i]);
            EnableApply();
        }
}

BOOL CDlgPageSound::Apply(BOOL flag)
{
    if (flag && g_pAppSetting)
        for (int i = 0; i < FLAG_COUNT; ++i)
            g_pAppSetting->*s_fields[i] = m_flags[i];
    return UpdateData(flag);
}
