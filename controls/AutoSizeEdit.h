// CAutoSizeEdit: the one-line editor of the signature button. It grows and
// shrinks with its text between 20 and 200 pixels, resizing its parent with
// it, and sends its parent WM_USER+200 when Enter is released or the field is
// left (once: the focus loss that follows an Enter sends nothing).
#pragma once
#include "Framework.h"

class CAutoSizeEdit : public CEdit
{
public:
    enum { WM_EDIT_DONE = WM_USER + 200 };

    CAutoSizeEdit();

    // The width for a text of textWidth pixels, or -1 when nothing is resized.
    int WidthFor(int textWidth) const;

    int m_nMaxWidth;
    int m_nMinWidth;
    int m_nLeftMargin;
    int m_nRightMargin;
    BOOL m_bEnter;

protected:
    void OnChange();
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()
};
