#include "DlgConfirmListen.h"

#include "AppSetting.h"
#include "LanguageTable.h"
#include "SmallDialogFrame.h"

namespace
{
const COLORREF SwitchMask = RGB(0, 255, 0);

void Place(CWnd& wnd, int x, int y, int cx, int cy)
{
    wnd.SetWindowPos(NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

IMPLEMENT_DYNAMIC(CDlgConfirmListen, CSkinDialog)

BEGIN_MESSAGE_MAP(CDlgConfirmListen, CSkinDialog)
    ON_BN_CLICKED(IDC_FOLLOW_OK, &CDlgConfirmListen::OnOkButton)
    ON_BN_CLICKED(IDC_FOLLOW_CANCEL, &CDlgConfirmListen::OnCancelButton)
    ON_BN_CLICKED(IDC_FOLLOW_CLOSE, &CDlgConfirmListen::OnCancelButton)
    ON_BN_CLICKED(IDC_FOLLOW_DONT_ASK, &CDlgConfirmListen::OnSwitch)
    ON_STN_CLICKED(IDC_FOLLOW_DONT_ASK_LABEL, &CDlgConfirmListen::OnSwitch)
END_MESSAGE_MAP()

CDlgConfirmListen::CDlgConfirmListen(CWnd* parent) : CSkinDialog(IDD, parent), m_bDontAsk(0)
{
}

BOOL CDlgConfirmListen::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetSmallDialogFrame(*this);
    m_strCaption = Lang(L"INFO_COMMON_MSG_TITLE");
    SetWindowText(m_strCaption);
    SetWindowPos(NULL, 0, 0, 300, 150, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    CRect client;
    GetClientRect(&client);

    m_question.SubclassDlgItem(IDC_FOLLOW_QUESTION, this);
    Place(m_question, 24, 48, 250, 16);
    m_btnSwitch.SubclassDlgItem(IDC_FOLLOW_DONT_ASK, this);
    m_btnSwitch.SetWindowText(L"");
    m_btnSwitch.m_bDrawFrame = FALSE;
    Place(m_btnSwitch, 24, 80, 14, 14);
    ShowSwitch();
    m_switchLabel.SubclassDlgItem(IDC_FOLLOW_DONT_ASK_LABEL, this);
    Place(m_switchLabel, 42, 79, 120, 16);

    m_btnOK.SubclassDlgItem(IDC_FOLLOW_OK, this);
    m_btnCancel.SubclassDlgItem(IDC_FOLLOW_CANCEL, this);
    for (ThemeButton* button : {&m_btnOK, &m_btnCancel})
        SetSmallDialogButton(*button);
    Place(m_btnOK, client.Width() - 150, 110, 63, 22);
    Place(m_btnCancel, client.Width() - 80, 110, 63, 22);

    m_btnClose.SubclassDlgItem(IDC_FOLLOW_CLOSE, this);
    m_btnClose.SetBitmapStrip(IDB_BTN_CLOSE_SMALL, RGB(255, 0, 255));
    m_btnClose.SetWindowText(L"");
    m_btnClose.m_bDrawFrame = FALSE;
    m_btnClose.m_bParentBackground = TRUE;
    Place(m_btnClose, client.Width() - 34, 0, 25, 20);
    CenterWindow();
    return TRUE;
}

void CDlgConfirmListen::ShowSwitch()
{
    if (m_bDontAsk)
        m_btnSwitch.SetBitmaps(IDB_SWITCH_ON_HOVER, SwitchMask, IDB_SWITCH_ON, SwitchMask, IDB_SWITCH_ON_PRESSED,
                               SwitchMask);
    else
        m_btnSwitch.SetBitmaps(IDB_SWITCH_OFF_HOVER, SwitchMask, IDB_SWITCH_OFF, SwitchMask, IDB_SWITCH_OFF_PRESSED,
                               SwitchMask);
    m_btnSwitch.Invalidate();
}

void CDlgConfirmListen::OnSwitch()
{
    m_bDontAsk = !m_bDontAsk;
    ShowSwitch();
}

void CDlgConfirmListen::OnOkButton()
{
    if (m_bDontAsk && g_pAppSetting)
    {
        // Stored at once: the settings may not be saved by any other path.
        g_pAppSetting->bShowFollowSong = 0;
        g_pAppSetting->WriteValue(L"SOUND", L"bShowFollowSong", FALSE);
    }
    EndDialog(IDOK);
}

void CDlgConfirmListen::OnCancelButton()
{
    EndDialog(IDCANCEL);
}

void CDlgConfirmListen::OnOK()
{
    OnOkButton();
}

void CDlgConfirmListen::OnCancel()
{
    OnCancelButton();
}
