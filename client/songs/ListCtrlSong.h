// CListCtrlSong: the owner-drawn report list of the song pane that shows the
// songs of one song list (control 1033). Each row is drawn from its
// SongRowData record; icons on a row can be clicked (push, download, the
// song's board), tips describe the song, columns sort, and a drag over the
// list gets an insertion mark and automatic scrolling. It posts commands to
// the main window and never changes song data itself.
//
// The list holds no items of its own (an owner-data list): the records are
// kept here in row order and the list view only knows their count, so that
// tens of thousands of rows are filled and cleared without the list view
// making and freeing an item for each. Rows appended in a row cost nothing
// until the list view is next asked anything; inserting, deleting and
// sorting keep each row's selection and focus with its record, as a list of
// items of its own would.
#pragma once

#include "MainWindowLink.h"
#include "MarkupTip.h"
#include "SkinHeaderCtrl.h"
#include "SongRowData.h"

#include <vector>

class CListCtrlSong : public CDropListCtrl
{
  public:
    enum
    {
        ROW_HEIGHT = 25,
        TIMER_AUTO_SCROLL = 1,
        // Icon table indices (the owner fills the table in this order).
        ICON_PLAYING = 0,
        ICON_UNAVAILABLE = 1,
        ICON_PUSH = 2,
        ICON_DOWNLOAD = 5,
        ICON_BOARD = 8,
        ICON_BOARD_NEW = 11,
        // Columns.
        COLUMN_TITLE = 0,
        COLUMN_ARTIST = 1,
        COLUMN_DURATION = 2,
        COLUMN_BOARD = 3,
        COLUMN_SOURCE = 4,
    };

    CListCtrlSong();
    ~CListCtrlSong() override;

    // Rows: the list takes the record (deleted with the row).
    int InsertRow(int index, SongRowData* record);
    SongRowData* GetRow(int row) const;
    // Takes the record away from its row, so that deleting the row keeps it.
    SongRowData* DetachRow(int row);
    // Rows go with their records.
    BOOL DeleteItem(int row);
    BOOL DeleteAllItems();
    // Orders the rows as the list view's own sort would (compare gets two
    // records); selection and focus stay with their records.
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data);

    void SetPlayingMark(int row);
    void ClearPlayingMark();
    void ResetSortState(BOOL redraw);
    // where: 1 above the row, 2 below it.
    void SetInsertMark(int row, int where);
    void ClearInsertMark();
    int GetInsertIndex() const { return m_nInsertIndex; }
    BOOL HasInsertMark() const { return m_bInsertMark; }
    void StartAutoScroll(int direction);
    void StopAutoScroll();
    int GetAutoScrollDirection() const { return m_nScrollDirection; }

    // Row, column and whether the point lies on the row's clickable icon;
    // FALSE outside every row or column.
    BOOL HitTestSubItem(CPoint point, int& row, int& subItem, BOOL& onIcon) const;

    // A click on a column header: column 3 does not sort; the same column
    // toggles the order; another keeps it (1 when none).
    void SortByColumn(int column);
    int GetSortColumn() const { return m_nSortColumn; }
    int GetSortOrder() const { return m_nSortOrder; }
    static int CompareRows(const SongRowData& a, const SongRowData& b, int column, int order);

    // The tip for a point of the client area ("" for none).
    CString TipTextAt(CPoint client);
    // The tip of a whole row for the signed-in user me; "" (after the
    // missing-language message) when the tip's text is missing.
    static CString RowTip(const SongRowData& row, const CString& me);
    // Column 4's text.
    static CString SourceText(const SongRowData& row, const CString& me);
    static CString DurationText(unsigned int ms);

    // Owner's settings: the icon table (owned; destroyed with the list) and
    // the window whose font the rows take.
    std::vector<HICON> m_icons;
    void SetFontSource(CWnd* wnd) { m_fontSource = wnd ? wnd->GetSafeHwnd() : NULL; }

    CSkinHeaderCtrl m_header;
    CMarkupTip m_tip;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;

    // Colours.
    static const COLORREF kText = 0x333333, kGreyText = 0x808080, kSelectedFocus = 0xF6EAD2,
                          kSelected = 0xE4E4E4, kEven = 0xFFFFFF, kOdd = 0xF5F5F5;

    // Drop targets of files are rows of the song-list list only.
    void SetDropTarget(int) override {}
    void ClearDropTarget() override {}
    CString GetListName(int) override { return CString(); }

  protected:
    void PreSubclassWindow() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnClickReflect(NMHDR* hdr, LRESULT* result);
    void OnGetDispInfoReflect(NMHDR* hdr, LRESULT* result);
    void OnFindItemReflect(NMHDR* hdr, LRESULT* result);
    BOOL OnColumnClickReflect(NMHDR* hdr, LRESULT* result);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnTimer(UINT_PTR id);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()

  private:
    // Tells the list view the number of records when rows were appended
    // since it last knew it.
    void SyncCount();
    void EnsureFont();
    void InvalidateSubItem(int row, int subItem);
    void InvalidateRowWide(int row);
    void ResetTool();
    void SelectAll(BOOL invert);
    static int CALLBACK SortCallback(LPARAM a, LPARAM b, LPARAM self);
    HWND MainWindow() const;

    CFont m_font;
    HWND m_fontSource;
    HCURSOR m_hHand;
    BOOL m_bHandShown;
    int m_nSortColumn;
    int m_nSortOrder;
    UINT_PTR m_timerScroll;
    int m_nScrollDirection;
    BOOL m_bInsertMark;
    int m_nInsertIndex;
    std::vector<SongRowData*> m_rows;
    BOOL m_bCountPending;
};
