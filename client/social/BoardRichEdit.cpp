#include "BoardRichEdit.h"

#include "BoardStore.h"
#include "LanguageTable.h"

BEGIN_MESSAGE_MAP(CBoardRichEdit, CRichEditCtrl)
    ON_NOTIFY_REFLECT_EX(EN_LINK, &CBoardRichEdit::OnLink)
END_MESSAGE_MAP()

CBoardRichEdit::CBoardRichEdit() : m_bLinks(TRUE), m_pStore(NULL), m_nPinnedId(0)
{
    CHARFORMAT2W blank = {};
    blank.cbSize = sizeof(blank);
    m_header = m_text = m_pinned = m_unpinLink = m_pinLink = m_deleteLink = blank;
}

CBoardRichEdit::~CBoardRichEdit() {}

void CBoardRichEdit::SetTextFormat(const CHARFORMAT2W& format)
{
    m_text = format;
    m_pinned = format;
    m_pinned.dwMask |= CFM_COLOR;
    m_pinned.dwEffects &= ~CFE_AUTOCOLOR;
    m_pinned.crTextColor = RGB(255, 0, 0);
    m_unpinLink = m_pinned;
    m_unpinLink.dwMask |= CFM_LINK;
    m_unpinLink.dwEffects |= CFE_LINK;
    m_unpinLink.crTextColor = RGB(0, 0, 255);
    m_pinLink = m_unpinLink;
    m_pinLink.dwMask |= CFM_PROTECTED;
    m_pinLink.dwEffects |= CFE_PROTECTED;
    m_deleteLink = m_unpinLink;
    m_deleteLink.dwMask |= CFM_EMBOSS;
    m_deleteLink.dwEffects |= CFE_EMBOSS;
}

void CBoardRichEdit::SetBoard(CBoardStore* store, const CString& key, BOOL links)
{
    m_pStore = store;
    m_strKey = key;
    m_bLinks = links;
    Rebuild();
}

void CBoardRichEdit::SetBoardData(const CXmlElement* board)
{
    if (board && m_local.FromXml(board) == 0)
        Rebuild();
}

void CBoardRichEdit::InsertAt(LONG& pos, const CString& text, const CHARFORMAT2W& format)
{
    SetSel(pos, pos);
    CHARFORMAT2W cf = format;
    SetSelectionCharFormat(cf);
    ReplaceSel(text);
    // The caret follows the inserted text: its real length in characters.
    long start = 0, end = 0;
    GetSel(start, end);
    pos = end;
}

void CBoardRichEdit::IndentRange(LONG start, LONG end, LONG twips)
{
    SetSel(start, end);
    PARAFORMAT2 pf = {};
    pf.cbSize = sizeof(pf);
    pf.dwMask = PFM_STARTINDENT;
    pf.dxStartIndent = twips;
    SetParaFormat(pf);
}

void CBoardRichEdit::InsertEntry(const CString& time, const CString& sender, const CString& text, int id,
                                 BOOL pinned)
{
    CString timePart = time + CString(L' ', 13);
    CString anonymous = Lang(L"INFO_BOARD_ANON");
    CString title;
    if (sender != anonymous)
        title.Format(Lang(L"INFO_BOARD_TITLE"), (LPCWSTR)sender);
    else
        title = sender + L" :";
    if (pinned)
    {
        if (m_nPinnedId && m_nPinnedId != id)
            SetEntryPinned(m_nPinnedId, FALSE);
        m_nPinnedId = id;
    }
    EntryRecord record;
    record.id = id;
    record.text = text;
    LONG pos = 0;
    InsertAt(pos, timePart, m_header);
    if (m_bLinks)
    {
        record.pinStart = pos;
        InsertAt(pos, Lang(pinned ? L"INFO_BOARD_CANCEL_TOP" : L"INFO_BOARD_TOP"), pinned ? m_unpinLink : m_pinLink);
        record.pinEnd = pos;
        InsertAt(pos, L" ", m_header);
        record.deleteStart = pos;
        InsertAt(pos, Lang(L"INFO_BOARD_DELETE"), m_deleteLink);
    }
    else
        record.pinStart = record.pinEnd = record.deleteStart = pos;
    InsertAt(pos, L"\r" + title + L"\r", m_header);
    IndentRange(0, pos - 1, 150);
    record.messageStart = pos;
    InsertAt(pos, text, pinned ? m_pinned : m_text);
    record.messageEnd = pos;
    InsertAt(pos, L"\r\r", m_text);
    IndentRange(record.messageStart, record.messageEnd, 200);
    m_entries.push_back(record);
    ShiftEntries(pos);
    SetSel(0, 0);
    SendMessage(WM_VSCROLL, SB_TOP, 0);
}

void CBoardRichEdit::ShiftEntries(LONG delta)
{
    for (size_t i = 0; i + 1 < m_entries.size(); ++i)
    {
        EntryRecord& r = m_entries[i];
        r.pinStart += delta;
        r.pinEnd += delta;
        r.deleteStart += delta;
        r.messageStart += delta;
        r.messageEnd += delta;
    }
}

void CBoardRichEdit::ShiftAfter(LONG after, LONG delta)
{
    for (EntryRecord& r : m_entries)
        for (LONG* p : {&r.pinStart, &r.pinEnd, &r.deleteStart, &r.messageStart, &r.messageEnd})
            if (*p > after)
                *p += delta;
}

int CBoardRichEdit::FindEntryAt(LONG position, int which) const
{
    for (const EntryRecord& r : m_entries)
        if ((which == LINK_PIN ? r.pinStart : r.deleteStart) == position)
            return r.id;
    return 0;
}

CBoardRichEdit::EntryRecord* CBoardRichEdit::FindRecord(int id)
{
    for (EntryRecord& r : m_entries)
        if (r.id == id)
            return &r;
    return NULL;
}

void CBoardRichEdit::Rebuild()
{
    SetWindowText(L"");
    m_entries.clear();
    m_nPinnedId = 0;
    CBoardEntry stored;
    const CBoardEntry* board = NULL;
    if (m_bLinks)
    {
        if (m_pStore && m_pStore->FindBoard(m_strKey, stored) == S_OK)
            board = &stored;
    }
    else
        board = &m_local;
    if (board)
        for (int i = 0; i < board->GetItemCount(); ++i)
        {
            CBoardItem item;
            if (FAILED(board->GetItem(i, item)))
                continue;
            InsertEntry(item.GetTime(), item.GetAuthor(), item.GetText(), item.m_nId,
                        (item.GetFlags() & BOARD_ITEM_PINNED) != 0);
        }
    SetSel(0, 0);
    SendMessage(WM_VSCROLL, SB_TOP, 0);
}

void CBoardRichEdit::AddEntry(const CString& sender, const CString& time, const CString& text, BOOL pinned)
{
    auto makeItem = [&](CBoardEntry& board) {
        CBoardItem item;
        CString idText;
        idText.Format(L"%d", board.AssignNextId());
        item.SetIdText(idText);
        item.SetText(text);
        item.SetTime(time);
        item.SetAuthor(sender);
        item.SetFlags(pinned ? BOARD_ITEM_PINNED : 0);
        board.InsertUnique(item);
        return item.m_nId;
    };
    int id = 0;
    if (!m_bLinks)
    {
        if (m_local.GetItemCount() == 0)
            m_local.SetId(m_strKey);
        id = makeItem(m_local);
    }
    else if (m_pStore)
    {
        CBoardEntry board;
        if (m_pStore->FindBoard(m_strKey, board) != S_OK)
        {
            board = CBoardEntry();
            board.SetId(m_strKey);
            id = makeItem(board);
            m_pStore->AddBoard(board);
        }
        else
            id = makeItem(board);
        m_pStore->UpdateBoard(board);
    }
    InsertEntry(time, sender, text, id, pinned & 1);
}

int CBoardRichEdit::DeleteEntry(int id)
{
    if (!m_bLinks)
        return 0;
    auto it = m_entries.begin();
    while (it != m_entries.end() && it->id != id)
        ++it;
    if (it == m_entries.end())
        return 1;
    m_entries.erase(it);
    CBoardEntry board;
    if (m_pStore && m_pStore->FindBoard(m_strKey, board) == S_OK)
    {
        CString idText;
        idText.Format(L"%ld", (long)id);
        board.RemoveItem(idText);
        m_pStore->UpdateBoard(board);
    }
    return 0;
}

int CBoardRichEdit::SetEntryPinned(int id, BOOL pinned)
{
    EntryRecord* record = FindRecord(id);
    if (!record)
        return 1;
    // The two link texts may differ in length: every position behind the
    // link moves with the difference, so later clicks still find their entry.
    LONG start = record->pinStart, oldEnd = record->pinEnd;
    LONG pos = start;
    SetSel(start, oldEnd);
    ReplaceSel(L"");
    InsertAt(pos, Lang(pinned ? L"INFO_BOARD_CANCEL_TOP" : L"INFO_BOARD_TOP"), pinned ? m_unpinLink : m_pinLink);
    LONG delta = pos - oldEnd;
    ShiftAfter(start, delta);
    record->pinEnd = pos;
    SetSel(record->messageStart, record->messageEnd);
    CHARFORMAT2W cf = pinned ? m_pinned : m_text;
    SetSelectionCharFormat(cf);
    ReplaceSel(record->text);
    m_nPinnedId = pinned ? id : (m_nPinnedId == id ? 0 : m_nPinnedId);
    CBoardEntry board;
    if (m_pStore && m_pStore->FindBoard(m_strKey, board) == S_OK)
    {
        board.SetItemFlags(id, pinned ? BOARD_ITEM_PINNED : 0);
        m_pStore->UpdateBoard(board);
    }
    return 0;
}

void CBoardRichEdit::ClickLink(LONG position)
{
    if (!m_bLinks)
        return;
    int id = FindEntryAt(position, LINK_DELETE);
    if (id > 0)
    {
        DeleteEntry(id);
        Rebuild();
        return;
    }
    id = FindEntryAt(position, LINK_PIN);
    if (id <= 0)
        return;
    if (id != m_nPinnedId)
    {
        if (m_nPinnedId)
            SetEntryPinned(m_nPinnedId, FALSE);
        SetEntryPinned(id, TRUE);
    }
    else
        SetEntryPinned(id, FALSE);
}

BOOL CBoardRichEdit::OnLink(NMHDR* pNMHDR, LRESULT* pResult)
{
    ENLINK* link = reinterpret_cast<ENLINK*>(pNMHDR);
    *pResult = 0;
    if (link->msg != WM_LBUTTONUP)
        return FALSE;
    ClickLink(link->chrg.cpMin);
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_BOARD_CHANGED, 0, 0);
    return TRUE;
}
