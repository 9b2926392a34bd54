// CBoardRichEdit: the view of one message board. It lays the board's posts
// out newest first and records where each post's pin, delete and message
// parts lie in the text. On the user's own board the pin (or unpin) and
// delete links change the stored board and save it; a buddy's board is a
// read-only copy without links.
#pragma once

#include "BoardEntry.h"
#include "Framework.h"

#include <richedit.h>
#include <vector>

class CBoardStore;

class CBoardRichEdit : public CRichEditCtrl
{
  public:
    enum { WM_BOARD_CHANGED = WM_USER + 5418 };
    enum { LINK_PIN = 0, LINK_DELETE = 1 };

    struct EntryRecord
    {
        int id = 0;
        LONG pinStart = 0, pinEnd = 0;
        LONG deleteStart = 0;
        LONG messageStart = 0, messageEnd = 0;
        CString text;
    };

    CBoardRichEdit();
    ~CBoardRichEdit() override;

    void SetHeaderFormat(const CHARFORMAT2W& format) { m_header = format; }
    // Also derives the pinned, unpin-link, pin-link and delete-link formats.
    void SetTextFormat(const CHARFORMAT2W& format);
    void SetBoard(CBoardStore* store, const CString& key, BOOL links);
    // A buddy's board as it arrived; rebuilds when it could be read.
    void SetBoardData(const CXmlElement* board);
    void AddEntry(const CString& sender, const CString& time, const CString& text, BOOL pinned);
    void InsertEntry(const CString& time, const CString& sender, const CString& text, int id, BOOL pinned);
    int DeleteEntry(int id);
    int SetEntryPinned(int id, BOOL pinned);
    void Rebuild();
    int FindEntryAt(LONG position, int which) const;
    void ShiftEntries(LONG delta);
    // A left click on the link that starts at position (what EN_LINK does).
    void ClickLink(LONG position);

    BOOL m_bLinks;
    CHARFORMAT2W m_header, m_text, m_pinned, m_unpinLink, m_pinLink, m_deleteLink;
    std::vector<EntryRecord> m_entries;
    CBoardStore* m_pStore;
    CBoardEntry m_local;
    int m_nPinnedId;
    CString m_strKey;

  protected:
    BOOL OnLink(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

  private:
    // Inserts text at pos in a format; pos moves past it.
    void InsertAt(LONG& pos, const CString& text, const CHARFORMAT2W& format);
    void IndentRange(LONG start, LONG end, LONG twips);
    // Moves every recorded position after `after` by delta.
    void ShiftAfter(LONG after, LONG delta);
    EntryRecord* FindRecord(int id);
};
