// CSkinResizableDialog: the base of the client's main window. It paints the
// bitmap frame of the skinned dialogs with a size grip and no background
// fill, cuts the magenta corners, lets the user resize the window from its
// borders and move it by its background (neither while maximised), keeps a
// minimum size and loads the language file when it opens.
#pragma once
#include "Framework.h"
#include "SkinFrame.h"

#include <vector>

class CSkinResizableDialog : public CDialog
{
public:
    CSkinResizableDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    ~CSkinResizableDialog() override;

    void SetTopLeftBitmap(UINT nID) { m_topLeft.Load(nID); }
    void SetTopBitmap(UINT nID) { m_top.Load(nID); }
    void SetTopRightBitmap(UINT nID) { m_topRight.Load(nID); }
    void SetLeftBitmap(UINT nID) { m_left.Load(nID); }
    void SetGripBitmap(UINT nID) { m_grip.Load(nID); }
    void SetRightBitmap(UINT nID) { m_right.Load(nID); }
    void SetBottomLeftBitmap(UINT nID) { m_bottomLeft.Load(nID); }
    void SetBottomBitmap(UINT nID) { m_bottom.Load(nID); }
    void SetBottomRightBitmap(UINT nID) { m_bottomRight.Load(nID); }
    void SetTitleBitmap(UINT nID) { m_title.Load(nID); }
    void SetTitleBitmapTop(int top) { m_titleTop = top; }
    void AddCaptionText(LPCTSTR text, const RECT& rect);

    BOOL OnInitDialog() override;
    // Loads "lng\default.LNG" below the program's folder into the language
    // table: 0 when loaded (or the program path cannot be read), -1 when not.
    int LoadLanguageFile();

    // The border band under a point of the window rectangle (screen
    // coordinates): HTLEFT ... HTBOTTOMRIGHT, or 0 for the default answer.
    static UINT BorderHitTest(const CRect& window, CPoint point);

    HICON m_hIcon;
    int m_titleTop;
    int m_minTrackWidth;
    int m_minTrackHeight;
    BOOL m_bMaximized;
    BOOL m_bFurtherLines;
    BOOL m_bSizing;

protected:
    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    // The whole client picture into pDC (the window's own paint cuts the
    // corner region too).
    void PaintWindow(CDC* pDC, BOOL bCutCorners);
    HCURSOR OnQueryDragIcon() { return (HCURSOR)m_hIcon; }
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    LRESULT OnNcHitTest(CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnSysCommand(UINT nID, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    SkinBitmap m_topLeft, m_top, m_topRight, m_left, m_grip, m_right, m_bottomLeft, m_bottom, m_bottomRight, m_title;
    std::vector<CString> m_captionTexts;
    std::vector<CRect> m_captionRects;
    CFont* m_pCaptionFont;
};
