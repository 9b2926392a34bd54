// CIMHistoryRichEdit: the chat history. Each message is a header line in the
// speaker's colour and the text indented under it; clicked links open in the
// browser.
#pragma once
#include "Framework.h"
#include <richedit.h>

class CIMHistoryRichEdit : public CRichEditCtrl
{
  public:
    CIMHistoryRichEdit();

    void SetOwnHeaderFormat(const CHARFORMAT2W& format) { m_ownHeader = format; }
    void SetBuddyHeaderFormat(const CHARFORMAT2W& format) { m_buddyHeader = format; }
    void SetTextFormat(const CHARFORMAT2W& format) { m_text = format; }
    void AppendMessage(const CString& header, const CString& text, BOOL own);

    // How a clicked link is opened (tests replace it).
    static void (*s_openLink)(const CString& target);

    HBITMAP m_hScrollBitmap; // shared with the window, not owned
    BOOL m_bScrollBarsAttached;

  protected:
    void OnLink(NMHDR* header, LRESULT* result);
    void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

  private:
    void AppendParagraph(const CString& text, LONG indent, CHARFORMAT2W& format);

    CHARFORMAT2W m_ownHeader;
    CHARFORMAT2W m_buddyHeader;
    CHARFORMAT2W m_text;
};
