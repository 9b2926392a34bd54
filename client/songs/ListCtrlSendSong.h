// CListCtrlSendSong: the two-column owner-drawn list of the push dialogs:
// songs (title, artist) or present buddies (nick, e-mail). Each row owns its
// SendSongItem. Rows are 25 pixels high in alternating bands, the chosen row
// is tinted, and a column click sorts by that column, again reverses.
#pragma once

#include "Framework.h"
#include "SendSongItem.h"
#include "SkinHeaderCtrl.h"

class CListCtrlSendSong : public CListCtrl
{
  public:
    enum { ROW_HEIGHT = 25 };
    enum { SORT_NONE = 0, SORT_ASCENDING = 1, SORT_DESCENDING = 2 };

    CListCtrlSendSong();
    ~CListCtrlSendSong() override;

    // Appends a row owning a copy of item; its index, or -1.
    int AddRow(const SendSongItem& item);
    SendSongItem* GetRow(int row) const;
    // The selected row, -1 when none.
    int GetSelectedRow() const { return GetNextItem(-1, LVNI_SELECTED); }
    void SelectRow(int row);
    // Sorts as a click on the column's header does.
    void SortByColumn(int column);
    int GetSortColumn() const { return m_nSortColumn; }
    int GetSortDirection() const { return m_nSortDirection; }
    void SetScrollBarBitmap(HBITMAP bitmap) { m_hScrollBar = bitmap; }
    // The texts of a row's two columns.
    static CString ColumnText(const SendSongItem& item, int column);
    // -1, 0 or 1: lower-cased texts compared as bytes of the ANSI code page.
    static int CompareTexts(const CString& a, const CString& b);

    void DrawItem(LPDRAWITEMSTRUCT draw) override;
    void MeasureItem(LPMEASUREITEMSTRUCT measure) override;

    COLORREF m_clrText = 0x333333;
    COLORREF m_clrSelectedText = 0x333333;
    COLORREF m_clrSelectedFocus = 0xF6EAD2;
    COLORREF m_clrSelectedNoFocus = 0xE4E4E4;
    COLORREF m_clrEven = 0xFFFFFF;
    COLORREF m_clrOdd = 0xF5F5F5;

  protected:
    void PreSubclassWindow() override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnRButtonDblClk(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnColumnClick(NMHDR* hdr, LRESULT* result);
    void OnItemChanging(NMHDR* hdr, LRESULT* result);
    void OnDeleteItemReflect(NMHDR* hdr, LRESULT* result);
    void OnClick(NMHDR* hdr, LRESULT* result);
    DECLARE_MESSAGE_MAP()

  private:
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM self);
    void SelectRowAt(CPoint point);
    // Thumb dragging scrolls the list by the rows or pixels the thumb moved.
    void TrackThumb(int bar, UINT code);

    int m_nSortDirection = SORT_NONE;
    int m_nSortColumn = -1;
    CSkinHeaderCtrl m_header;
    BOOL m_bSkinScrollBars = FALSE;
    HBITMAP m_hScrollBar = NULL;
};
