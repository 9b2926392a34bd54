#include "DlgChildFriend.h"

BEGIN_MESSAGE_MAP(CDlgChildFriend, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

CDlgChildFriend::CDlgChildFriend(CWnd* parent) : CDialog(IDD, parent) {}

CDlgChildFriend::~CDlgChildFriend()
{
    if (m_list.GetSafeHwnd())
        m_list.DestroyWindow();
    if (m_hWnd)
        DestroyWindow();
}

bool CDlgChildFriend::IsPaneClosingKey(const MSG* msg)
{
    return msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
}

BOOL CDlgChildFriend::PreTranslateMessage(MSG* msg)
{
    if (IsPaneClosingKey(msg))
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

void CDlgChildFriend::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (m_list.GetSafeHwnd())
    {
        CRect client;
        GetClientRect(&client);
        m_list.MoveWindow(&client);
    }
}
