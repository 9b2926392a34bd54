// OwnerDrawnList: what the song pane's owner-drawn lists (the song lists on
// the left, the songs of one list) do alike: rows that own a record held in
// the row's item data, one tip over the whole list, and asking the row
// height again when the font changes.
#pragma once
#include "Framework.h"
#include "MarkupTip.h"

namespace OwnerDrawnList
{
// WM_PAINT below the header: the rows' alternating bands, then the list's
// own drawing (the owner-drawn rows) on top, all off-screen.
void PaintBandedRows(CListCtrl* list, CDC* paint, int rowHeight, COLORREF even, COLORREF odd);

// A list asks WM_MEASUREITEM only when it thinks its size changed; this
// tells it so with its current size.
void AskRowHeight(CWnd* list);

// The list's single tip covers its whole client area; called again after a
// resize.
void ResetWholeTool(CWnd* list, CMarkupTip& tip);

// Inserts a row showing `text` that owns `record`; when the list refuses the
// row the record is deleted here, as nobody else holds it.
template <class Record> int InsertRecordRow(CListCtrl& list, int index, Record* record, LPCWSTR text)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text);
    item.lParam = reinterpret_cast<LPARAM>(record);
    int row = list.InsertItem(&item);
    if (row < 0)
        delete record;
    return row;
}

// The record of a row, or NULL for a row the list does not have.
template <class Record> Record* RecordAt(const CListCtrl& list, int row)
{
    if (row < 0 || row >= list.GetItemCount())
        return NULL;
    return reinterpret_cast<Record*>(list.GetItemData(row));
}

// At most one row carries the playing mark; redraws only the rows it leaves
// and enters.
template <class Record> void ClearPlayingMark(CListCtrl& list)
{
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (Record* record = RecordAt<Record>(list, i))
            if (record->playing)
            {
                record->playing = 0;
                list.Update(i);
                return;
            }
}

template <class Record> void SetPlayingMark(CListCtrl& list, int row)
{
    Record* record = RecordAt<Record>(list, row);
    if (!record || record->playing)
        return;
    ClearPlayingMark<Record>(list);
    record->playing = 1;
    list.Update(row);
}
} // namespace OwnerDrawnList
