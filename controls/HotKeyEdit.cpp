#include "HotKeyEdit.h"

BOOL IsHotKeyMainKey(UINT nKey)
{
    return (nKey >= '0' && nKey <= '9') || (nKey >= 'A' && nKey <= 'Z') || (nKey >= VK_F1 && nKey <= VK_F12);
}

BOOL IsValidHotKey(BOOL bAlt, BOOL bCtrl, BOOL bShift, UINT nKey)
{
    return (bAlt || bCtrl || bShift) && IsHotKeyMainKey(nKey);
}

BEGIN_MESSAGE_MAP(CHotKeyEdit, CFlatEdit)
    ON_MESSAGE(WM_KEYDOWN, &CHotKeyEdit::OnKeyDownMessage)
    ON_MESSAGE(WM_SYSKEYDOWN, &CHotKeyEdit::OnKeyDownMessage)
    ON_MESSAGE(WM_KEYUP, &CHotKeyEdit::OnKeyUpMessage)
    ON_MESSAGE(WM_SYSKEYUP, &CHotKeyEdit::OnKeyUpMessage)
END_MESSAGE_MAP()

CHotKeyEdit::CHotKeyEdit()
    : m_bAltHeld(FALSE), m_bShiftHeld(FALSE), m_bCtrlHeld(FALSE), m_bKeyDown(FALSE), m_bAlt(FALSE), m_bShift(FALSE),
      m_bCtrl(FALSE), m_bHasKey(FALSE), m_nKey(0), m_strEmpty(L"Blank")
{
}

CHotKeyEdit::~CHotKeyEdit() = default;

void CHotKeyEdit::ReadModifiers()
{
    m_bCtrlHeld = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    m_bShiftHeld = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    m_bAltHeld = (::GetKeyState(VK_MENU) & 0x8000) != 0;
}

CString CHotKeyEdit::GetCombinationText()
{
    CString text;
    if (!m_bHasKey)
    {
        if (m_bCtrl)
            text += L"Ctrl+";
    }
    else
    {
        if (!m_bCtrl && !m_bShift && !m_bAlt)
            m_bCtrl = TRUE; // a key on its own is taken with Ctrl
        if (m_bCtrl)
            text += L"Ctrl+";
    }
    if (m_bShift)
        text += L"Shift+";
    if (m_bAlt)
        text += L"ALT+";
    if (m_bHasKey)
    {
        if (m_nKey >= VK_F1 && m_nKey <= VK_F12)
        {
            CString f;
            f.Format(L"F%d", (int)(m_nKey - VK_F1 + 1));
            text += f;
        }
        else if (IsHotKeyMainKey(m_nKey))
            text += (wchar_t)m_nKey;
    }
    return text;
}

void CHotKeyEdit::UpdateText()
{
    CString text = GetCombinationText();
    if (!m_hWnd)
        return;
    SetWindowText(text.IsEmpty() ? (LPCTSTR)m_strEmpty : (LPCTSTR)text);
}

BOOL CHotKeyEdit::OnKeyPressed(UINT nKey)
{
    if ((nKey == VK_SHIFT && m_bShiftHeld) || (nKey == VK_CONTROL && m_bCtrlHeld) || (nKey == VK_MENU && m_bAltHeld))
        return TRUE; // a held modifier repeating
    ReadModifiers();
    if (nKey == VK_BACK)
    {
        m_bAltHeld = m_bShiftHeld = m_bCtrlHeld = m_bKeyDown = FALSE;
        m_bAlt = m_bShift = m_bCtrl = m_bHasKey = FALSE;
        m_nKey = 0;
        UpdateText();
        return TRUE;
    }
    if (IsHotKeyMainKey(nKey))
    {
        m_bKeyDown = TRUE;
        m_bHasKey = TRUE;
        m_nKey = nKey;
    }
    else if (!m_bKeyDown)
        m_bHasKey = FALSE;
    m_bShift = m_bShiftHeld;
    m_bCtrl = m_bCtrlHeld;
    m_bAlt = m_bAltHeld;
    UpdateText();
    return FALSE;
}

BOOL CHotKeyEdit::OnKeyReleased(UINT nKey)
{
    if (m_hWnd && ::GetParent(m_hWnd))
        ::SendMessageW(::GetParent(m_hWnd), WM_HOTKEY_CHANGED, 0, 0);
    if (IsHotKeyMainKey(nKey))
        m_bKeyDown = FALSE;
    ReadModifiers();
    if (!m_bKeyDown && m_bHasKey)
    {
        UpdateText(); // the combination stays as it was when the key went down
        return TRUE;
    }
    m_bAlt = m_bAltHeld;
    m_bCtrl = m_bCtrlHeld;
    m_bShift = m_bShiftHeld;
    UpdateText();
    return FALSE;
}

LRESULT CHotKeyEdit::OnKeyDownMessage(WPARAM wParam, LPARAM)
{
    return OnKeyPressed((UINT)wParam) ? 0 : Default();
}

LRESULT CHotKeyEdit::OnKeyUpMessage(WPARAM wParam, LPARAM)
{
    return OnKeyReleased((UINT)wParam) ? 0 : Default();
}
