#include "AutoSizeEdit.h"

BEGIN_MESSAGE_MAP(CAutoSizeEdit, CEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, &CAutoSizeEdit::OnChange)
    ON_WM_KEYUP()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CAutoSizeEdit::CAutoSizeEdit() : m_nMaxWidth(200), m_nMinWidth(20), m_nLeftMargin(0), m_nRightMargin(0), m_bEnter(FALSE) {}

int CAutoSizeEdit::WidthFor(int textWidth) const
{
    int w = m_nLeftMargin + m_nRightMargin + textWidth;
    if (w > m_nMaxWidth)
        return -1;
    return w < m_nMinWidth ? m_nMinWidth : w;
}

void CAutoSizeEdit::OnChange()
{
    if (!m_hWnd)
        return;
    CString text;
    GetWindowText(text);
    HDC hdc = ::GetDC(m_hWnd);
    SIZE size{};
    ::GetTextExtentPoint32W(hdc, text, text.GetLength(), &size);
    ::ReleaseDC(m_hWnd, hdc);
    int w = WidthFor(size.cx);
    if (w >= 0)
    {
        CWnd* parent = GetParent();
        if (parent)
        {
            CRect rect;
            parent->GetWindowRect(&rect);
            parent->SetWindowPos(NULL, 0, 0, w, rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        CRect own;
        GetWindowRect(&own);
        SetWindowPos(NULL, 0, 0, w, own.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_nLeftMargin + m_nRightMargin + size.cx < m_nMaxWidth)
    {
        // Back to the start of the text, keeping the selection.
        int start, end;
        GetSel(start, end);
        SetSel(0, 0);
        SendMessage(EM_SCROLLCARET);
        SetSel(start, end, TRUE);
        SendMessage(EM_SCROLLCARET);
    }
}

void CAutoSizeEdit::OnKeyUp(UINT nChar, UINT, UINT)
{
    if (nChar == VK_RETURN)
    {
        m_bEnter = TRUE;
        ::SendMessageW(::GetParent(m_hWnd), WM_EDIT_DONE, 0, 0);
        return;
    }
    Default();
}

void CAutoSizeEdit::OnKillFocus(CWnd*)
{
    Default();
    if (m_bEnter)
    {
        m_bEnter = FALSE;
        return;
    }
    ::SendMessageW(::GetParent(m_hWnd), WM_EDIT_DONE, 0, 0);
}
