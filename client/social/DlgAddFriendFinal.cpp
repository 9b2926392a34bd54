#include "DlgAddFriendFinal.h"

#include "LanguageTable.h"
#include "SmallDialogFrame.h"
#include "StripButton.h"

namespace
{
void Place(CWnd& wnd, int x, int y, int cx, int cy)
{
    wnd.SetWindowPos(NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

IMPLEMENT_DYNAMIC(CDlgAddFriendFinal, CSkinDialog)

BEGIN_MESSAGE_MAP(CDlgAddFriendFinal, CSkinDialog)
    ON_BN_CLICKED(IDC_ADD_FRIEND_FINAL_CLOSE, &CDlgAddFriendFinal::OnCloseButton)
END_MESSAGE_MAP()

CDlgAddFriendFinal::CDlgAddFriendFinal(int showContinue, CWnd* parent)
    : CSkinDialog(IDD, parent), m_nShowContinue(showContinue)
{
}

BOOL CDlgAddFriendFinal::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetSmallDialogFrame(*this);
    SetWindowText(Lang(L"STR_ADDFRIEND_TITLE"));
    m_strCaption = Lang(L"STR_ADDFRIEND_TITLE");
    SetWindowPos(NULL, 0, 0, 340, 150, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    CRect client;
    GetClientRect(&client);

    m_text.SubclassDlgItem(IDC_ADD_FRIEND_PROMPT, this);
    Place(m_text, 20, 58, 300, 16);
    m_btnContinue.SubclassDlgItem(IDOK, this);
    m_btnCloseWindow.SubclassDlgItem(IDCANCEL, this);
    for (ThemeButton* button : {&m_btnContinue, &m_btnCloseWindow})
        SetSmallDialogButton(*button);
    Place(m_btnContinue, 98, 108, 123, 22);
    Place(m_btnCloseWindow, 242, 108, 73, 22);
    m_btnContinue.ShowWindow(m_nShowContinue ? SW_SHOW : SW_HIDE);
    m_btnClose.SubclassDlgItem(IDC_ADD_FRIEND_FINAL_CLOSE, this);
    ShowAsStripButton(m_btnClose, IDB_BTN_CLOSE_SMALL);
    m_btnClose.SetWindowPos(NULL, client.Width() - 34, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();
    return TRUE;
}

void CDlgAddFriendFinal::OnCloseButton()
{
    EndDialog(IDCANCEL);
}
