#include "EditButton.h"
#include "MemoryDC.h"

#include <algorithm>

int (*CEditButton::s_pushCommand)(CommandData& record) = &yebJinPushCommand;

BEGIN_MESSAGE_MAP(CEditButton, ThemeButton)
    ON_MESSAGE(CAutoSizeEdit::WM_EDIT_DONE, &CEditButton::OnEditDone)
END_MESSAGE_MAP()

CEditButton::CEditButton() : m_bStoredText(TRUE), m_bEditing(FALSE), m_nTextLimit(60) {}

void CEditButton::SetImages(UINT nLeft, UINT nMiddle, UINT nRight, int nImages)
{
    ThemeButton::SetImages(nLeft, nMiddle, nRight, nImages);
    m_edit.m_nLeftMargin = m_nLeftMargin;
    m_edit.m_nRightMargin = m_nRightMargin;
}

void CEditButton::SetText(LPCTSTR text)
{
    m_strText = text ? text : L"";
    if (!m_hWnd)
        return;
    MakeFont();
    CClientDC dc(this);
    CFont* old = dc.SelectObject(m_pFont);
    int width = dc.GetTextExtent(m_strText.IsEmpty() ? m_strTip : m_strText).cx;
    dc.SelectObject(old);
    CRect rect;
    GetClientRect(&rect);
    int w = std::min(width + m_nLeftMargin + m_nRightMargin, m_edit.m_nMaxWidth);
    SetWindowPos(NULL, 0, 0, w, rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void CEditButton::BuildProfileCommand(const MyProfileRecord& profile, const CString& userId, CommandData& record)
{
    record.code = 22;
    record.extra = 18;
    record.s1 = profile.third;
    record.s2 = profile.nick;
    record.s3 = L"0";
    record.s4 = profile.signature;
    record.s5 = profile.fourth;
    record.s6 = userId;
    record.s7 = L"";
    record.s8 = L"";
}

void CEditButton::SetEditing(BOOL bEditing)
{
    if (bEditing)
    {
        CRect rect;
        GetClientRect(&rect);
        rect.left = m_nLeftMargin - 2;
        rect.top += 3;
        if (!m_edit.GetSafeHwnd())
        {
            m_edit.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_NOHIDESEL, rect.left,
                            rect.top, rect.Width(), rect.Height(), m_hWnd, (HMENU)(UINT_PTR)EDITOR_ID);
            m_edit.SetFont(GetFont());
            m_edit.SetMargins(m_nLeftMargin, m_nRightMargin);
        }
        m_edit.SetWindowText(m_strText);
        m_edit.LimitText(m_nTextLimit);
        m_edit.ShowWindow(SW_SHOW);
        m_edit.SetFocus();
        m_edit.SetSel(0, -1);
        m_bEditing = TRUE;
        return;
    }
    if (!m_bEditing)
        return;
    m_bEditing = FALSE;
    CString text;
    if (m_edit.GetSafeHwnd())
        m_edit.GetWindowText(text);
    IMainWindowLink* main = GetMainWindowLink();
    if (main && text != main->GetMyProfile().signature)
    {
        MyProfileRecord& profile = main->GetMyProfile();
        profile.signature = text;
        CommandData record;
        BuildProfileCommand(profile, main->GetMyUserId(), record);
        s_pushCommand(record);
        main->PostMyProfile();
        main->PushMyPresence();
    }
    if (main)
        main->UpdateMyStatusText();
    if (m_edit.GetSafeHwnd())
    {
        m_edit.ShowWindow(SW_HIDE);
        m_edit.DestroyWindow();
    }
}

LRESULT CEditButton::OnEditDone(WPARAM, LPARAM)
{
    SetEditing(FALSE);
    return 1;
}

void CEditButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* target = CDC::FromHandle(lpDIS->hDC);
    CRect client;
    GetClientRect(&client);
    CMemoryDC mem(target, &client);
    COLORREF colour = PaintFace(&mem, target, lpDIS);
    CRect text = TextRect();
    MakeFont();
    CFont* oldFont = mem.SelectObject(m_pFont);
    mem.SetBkMode(TRANSPARENT);
    mem.SetTextColor(colour);
    const UINT flags = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (m_bStoredText)
        mem.DrawText(m_strText.IsEmpty() ? m_strTip : m_strText, &text, flags);
    else
    {
        CString caption;
        GetWindowText(caption);
        m_textExtent = mem.GetTextExtent(caption);
        mem.DrawText(caption, &text, flags);
    }
    mem.SelectObject(oldFont);
}
