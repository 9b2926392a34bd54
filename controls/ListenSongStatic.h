// CListenSongStatic: what a buddy is listening to, as a small icon and a
// one-line mark-up text over a stretched background bitmap, with the hand
// cursor while a text is shown. The chat window fills its public fields.
#pragma once
#include "Framework.h"

#include <vector>

class CListenSongStatic : public CStatic
{
public:
    CListenSongStatic();
    ~CListenSongStatic() override;

    CString GetSongText() const { return m_strText; }

    CString m_strText;          // empty: no icon and no text
    std::vector<HICON> m_icons; // the first is drawn
    CBitmap m_background;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnMouseHover(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CFont* m_pFont;
};
