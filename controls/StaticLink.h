// CStaticLink: a text link that takes its hover colour under the mouse,
// shows the hand cursor, and on a click opens its target or, when it does
// not open targets itself, sends its parent WM_COMMAND with its id.
#pragma once
#include "LinkTarget.h"

class CStaticLink : public CStatic
{
public:
    CStaticLink(LPCTSTR lpszTarget = NULL, BOOL bDeleteOnDestroy = FALSE);
    ~CStaticLink() override;

    void SetBkColor(COLORREF colour);

    CLinkTarget m_link;
    COLORREF m_colour;
    COLORREF m_normalColour;
    COLORREF m_hoverColour;
    BOOL m_bColourFollowsHover;
    CFont m_font;
    BOOL m_bDeleteOnDestroy;
    BOOL m_bHover;
    UINT_PTR m_nTimerID;
    BOOL m_bOpenTarget;
    BOOL m_bUnderline;
    BOOL m_bOwnsBrush;
    HBRUSH m_hBrush;

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    LRESULT OnNcHitTest(CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnSetCursor(CWnd*, UINT, UINT);
    void OnLButtonUp(UINT nFlags, CPoint point);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

    // The click itself: opens the target or tells the parent.
    virtual void OnClick();
    void MakeFont();
    void SendClickToParent();
};
