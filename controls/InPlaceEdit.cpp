#include "InPlaceEdit.h"

UINT GetInPlaceEditMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"ipc_CtrlMsg");
    return message;
}

IMPLEMENT_DYNCREATE(CInPlaceEdit, CEdit)

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
    ON_WM_CREATE()
    ON_WM_SETCURSOR()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CInPlaceEdit::CInPlaceEdit() : m_hOwner(NULL) {}

BOOL CInPlaceEdit::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CHILD | ES_MULTILINE | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN;
    return CEdit::PreCreateWindow(cs);
}

int CInPlaceEdit::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (Default() == -1)
        return -1;
    m_hOwner = lpCreateStruct->hwndParent ? lpCreateStruct->hwndParent : ::GetParent(m_hWnd);
    return 0;
}

BOOL CInPlaceEdit::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursorW(NULL, IDC_IBEAM));
    return TRUE;
}

void CInPlaceEdit::ShowEdit(const RECT& rect)
{
    if (IsWindowVisible() || ::IsRectEmpty(&rect))
        return;
    SetWindowPos(NULL, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOZORDER);
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN, MAKELONG(2, 0));
    SetSel(0, -1);
    Invalidate();
    SetFocus();
}

void CInPlaceEdit::HideEdit()
{
    if (!IsWindowVisible())
        return;
    ShowWindow(SW_HIDE);
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_hOwner)
        ::SetFocus(m_hOwner);
}

void CInPlaceEdit::Notify(int reason, INT_PTR detail, int item)
{
    DWORD pos = ::GetMessagePos();
    InPlaceEditNotify record{m_hWnd, reason, detail, (short)LOWORD(pos), (short)HIWORD(pos), item};
    if (m_hOwner && ::SendMessageW(m_hOwner, GetInPlaceEditMessage(), 0, (LPARAM)&record))
        HideEdit();
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
    {
        Notify(REASON_KEY, (INT_PTR)pMsg->wParam, -1);
        return TRUE;
    }
    return CEdit::PreTranslateMessage(pMsg);
}

void CInPlaceEdit::OnKillFocus(CWnd* pNewWnd)
{
    if (IsWindowVisible())
    {
        int item = (int)::SendMessageW(::GetParent(m_hWnd), LVM_GETNEXTITEM, (WPARAM)-1, MAKELPARAM(LVNI_SELECTED, 0));
        Notify(REASON_FOCUS_LOST, (INT_PTR)FwSafeHandle(pNewWnd), item);
    }
    Default();
}
