#include "SendMsgRichEdit.h"
#include "RichEditScrollBars.h"

BEGIN_MESSAGE_MAP(CSendMsgRichEdit, CRichEditCtrl)
    ON_WM_KEYDOWN()
    ON_WM_SYSKEYDOWN()
    ON_CONTROL_REFLECT(EN_CHANGE, &CSendMsgRichEdit::OnChange)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CSendMsgRichEdit::CSendMsgRichEdit() : m_hScrollBitmap(NULL), m_bScrollBarsAttached(FALSE), m_pOwner(NULL)
{
}

void CSendMsgRichEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN && ::GetKeyState(VK_SHIFT) >= 0)
    {
        // Enter sends; the owner decides whether there is anything to send.
        if (m_pOwner && m_pOwner->GetSafeHwnd())
            m_pOwner->SendMessage(WM_INPUT_SEND, 0, 0);
        return;
    }
    if (nChar == 'V' && ::GetKeyState(VK_CONTROL) < 0)
    {
        SendMessage(WM_PASTE);
        return;
    }
    CRichEditCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CSendMsgRichEdit::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == 'S' && ::GetKeyState(VK_MENU) < 0 && m_pOwner && m_pOwner->GetSafeHwnd())
        m_pOwner->SendMessage(WM_INPUT_SEND, 0, 0);
    CRichEditCtrl::OnSysKeyDown(nChar, nRepCnt, nFlags);
}

void CSendMsgRichEdit::OnChange()
{
    if (!m_pOwner || !m_pOwner->GetSafeHwnd())
        return;
    if (GetTextLength() > 0)
    {
        // Pasted text keeps no format of its own.
        CHARRANGE kept;
        GetSel(kept);
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        GetDefaultCharFormat(format);
        SetSel(0, -1);
        SetSelectionCharFormat(format);
        SetSel(kept);
        m_pOwner->SendMessage(WM_INPUT_EMPTY, 0, 0);
    }
    else
        m_pOwner->SendMessage(WM_INPUT_EMPTY, 1, 0);
}

void CSendMsgRichEdit::OnSize(UINT nType, int cx, int cy)
{
    CRichEditCtrl::OnSize(nType, cx, cy);
    AttachRichEditScrollBarsOnce(*this, m_hScrollBitmap, m_bScrollBarsAttached);
}
