// CSkinHeaderCtrl: the column header of the song lists. It paints itself
// (background, item edges, centred texts in a brown-grey, a sort triangle on
// the sorted column), keeps minimum column widths, writes the widths of
// columns 0 to 7 into the settings as the user drags, and can be locked so
// that columns cannot be resized.
#pragma once
#include "Framework.h"

class CSkinHeaderCtrl : public CHeaderCtrl
{
public:
    enum { SORT_ASCENDING = 1, SORT_DESCENDING = 2, MIN_OTHER_WIDTH = 65, STORED_COLUMNS = 8 };

    CSkinHeaderCtrl();

    // The width a column may take: column 0 at least the first-column minimum,
    // every other column at least 65.
    static int ClampWidth(int column, int width, int firstMinimum);
    // The three points of the sort triangle near the right edge of rect.
    static void SortTriangle(const CRect& rect, int direction, POINT points[3]);

    void DrawItem(LPDRAWITEMSTRUCT) override {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    int m_nFixedHeight;
    int m_nFirstMinWidth;
    int m_nSortColumn;
    int m_nSortDirection;
    COLORREF m_textColour;
    UINT m_nItemBitmap;
    UINT m_nBackgroundBitmap;
    UINT m_nDividerBitmap;
    BOOL m_bLocked;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    LRESULT OnLayout(WPARAM wParam, LPARAM lParam);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
