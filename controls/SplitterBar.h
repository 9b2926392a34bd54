// CSplitterBar: the thin bar between two panes. While it is dragged an
// inverted line follows the mouse within the bar's range; on release the bar
// moves there and tells its owner by how many pixels (WM_NOTIFY, code 1050).
#pragma once
#include "Framework.h"

// The move notification: the header, then the signed distance moved.
struct SplitterNotify
{
    NMHDR hdr;
    int delta;
};

class CSplitterBar : public CStatic
{
public:
    enum { VERTICAL = 1, HORIZONTAL = 2, NOTIFY_MOVED = 1050 };

    CSplitterBar();

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetPenColor(COLORREF colour) { m_penColour = colour; }
    void SetBrushColor(COLORREF colour) { m_brushColour = colour; }
    void SetRange(int nMin, int nMax)
    {
        m_nMin = nMin;
        m_nMax = nMax;
    }
    int SetStyle(int nStyle)
    {
        int old = m_nStyle;
        m_nStyle = nStyle;
        return old;
    }
    virtual void DrawTracker(CDC* pDC, int x, int y);

    // A point of the parent's client area kept inside [minimum, maximum] on both axes.
    static CPoint ClampToRange(CPoint point, int nMin, int nMax);

    BOOL m_bDragging;
    int m_nStyle;
    int m_trackerX, m_trackerY;
    int m_nMin, m_nMax;
    int m_dragStart;
    COLORREF m_penColour, m_brushColour;
    UINT m_nGripBitmap;

protected:
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()

private:
    void DrawTrackerOnScreen();
    CPoint Centre() const;
};
