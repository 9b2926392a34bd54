#include "IMHistoryRichEdit.h"
#include "RichEditScrollBars.h"

#include <shellapi.h>

BEGIN_MESSAGE_MAP(CIMHistoryRichEdit, CRichEditCtrl)
    ON_NOTIFY_REFLECT(EN_LINK, &CIMHistoryRichEdit::OnLink)
    ON_WM_SIZE()
END_MESSAGE_MAP()

void (*CIMHistoryRichEdit::s_openLink)(const CString&) = [](const CString& target) {
    ::ShellExecuteW(NULL, L"open", target, NULL, NULL, SW_SHOWNORMAL);
};

namespace
{
CHARFORMAT2W EmptyFormat()
{
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    return format;
}
} // namespace

CIMHistoryRichEdit::CIMHistoryRichEdit()
    : m_hScrollBitmap(NULL), m_bScrollBarsAttached(FALSE), m_ownHeader(EmptyFormat()), m_buddyHeader(EmptyFormat()),
      m_text(EmptyFormat())
{
}

void CIMHistoryRichEdit::AppendParagraph(const CString& text, LONG indent, CHARFORMAT2W& format)
{
    SetSel(-1, -1);
    PARAFORMAT2 para{};
    para.cbSize = sizeof(para);
    para.dwMask = PFM_STARTINDENT;
    para.dxStartIndent = indent;
    SetParaFormat(para);
    SetSelectionCharFormat(format);
    ReplaceSel(text);
}

void CIMHistoryRichEdit::AppendMessage(const CString& header, const CString& text, BOOL own)
{
    AppendParagraph(header + L"\n", 5, own ? m_ownHeader : m_buddyHeader);
    AppendParagraph(text + L"\n\n", 200, m_text);
    SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
}

void CIMHistoryRichEdit::OnLink(NMHDR* header, LRESULT* result)
{
    ENLINK* link = reinterpret_cast<ENLINK*>(header);
    *result = 0;
    if (link->msg != WM_LBUTTONUP)
        return;
    SetSel(link->chrg);
    CString target = GetTextRange(link->chrg.cpMin, link->chrg.cpMax);
    if (!target.IsEmpty() && s_openLink)
        s_openLink(target);
}

void CIMHistoryRichEdit::OnSize(UINT nType, int cx, int cy)
{
    CRichEditCtrl::OnSize(nType, cx, cy);
    AttachRichEditScrollBarsOnce(*this, m_hScrollBitmap, m_bScrollBarsAttached);
}
