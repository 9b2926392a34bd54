// CSkinScrollBar: a scroll bar painted from a skin bitmap of nine columns by
// three rows of square cells (up, down, vertical thumb, vertical track, left,
// right, horizontal thumb, horizontal track, corner box; rows normal, hot,
// pressed). It keeps its own scroll information, sends its parent the usual
// WM_VSCROLL / WM_HSCROLL codes, repeats arrow and page presses, and drags
// its thumb.
#pragma once
#include "Framework.h"

// Lengths along a bar, in pixels.
struct ScrollBarMetrics
{
    int track;       // length between the two arrows
    int arrow;       // length of one arrow
    int thumb;       // thumb length (0: no thumb)
    int thumbOffset; // start of the thumb
    int free;        // number of positions the thumb can take, less one
};

class CSkinScrollBar : public CScrollBar
{
public:
    // Part codes (the scroll codes the parent receives); -1 none.
    enum { PART_NONE = -1, PART_LINEUP = 0, PART_LINEDOWN = 1, PART_PAGEUP = 2, PART_PAGEDOWN = 3, PART_THUMB = 5 };

    CSkinScrollBar();

    void SetBitmap(HBITMAP hBitmap);
    BOOL IsVertical() const { return (GetStyle() & SBS_VERT) != 0; }
    int HitTest(CPoint point);
    CRect GetPartRect(int part);
    BOOL IsDragging() const { return m_bDragging; }

    // Lengths for scroll information si, a cell size and a bar length. The
    // position used is the track position while dragging, else the position;
    // both count from the minimum. forHitTest keeps a thumb when nothing can
    // be scrolled.
    static ScrollBarMetrics Measure(const SCROLLINFO& si, int cell, int length, bool forHitTest = false);
    // The position for a drag that moved the pointer by delta pixels.
    static int DragPosition(const SCROLLINFO& si, int startPos, int delta, int cell, int length);

    HBITMAP m_hBitmap;
    int m_cell;
    int m_length;
    SCROLLINFO m_si;
    BOOL m_bDragging;
    CPoint m_dragStart;
    int m_dragStartPos;
    int m_pressedPart;
    BOOL m_bAutoRepeat;
    int m_hotPart;
    BOOL m_bOutsidePressed;
    BOOL m_bTrackingLeave;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT, CPoint) {}
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnSetCursor(CWnd*, UINT, UINT);
    LRESULT OnSetScrollInfo(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetScrollInfo(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    ScrollBarMetrics Metrics(bool forHitTest = false) const;
    int SkinColumn(int part) const;
    void DrawPart(CDC* pDC, int part, int row);
    void DrawThumb(CDC* pDC, const CRect& rect, int row);
    void DrawTrack(CDC* pDC, const CRect& rect);
    void TileBlt(CDC* pDC, const CRect& rect, CDC* pSrc, int srcX, int srcY, int srcW, int srcH);
    void RedrawParts(int row);
    void SendScroll(int code, int pos = 0);
    void RepeatStep();
};
