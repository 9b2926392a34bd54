// CSkinResizableDialog: the base of the client's main window. It paints the
// bitmap frame of the skinned dialogs with a size grip and no background
// fill, cuts the magenta corners, lets the user resize the window from its
// borders and move it by its background (neither while maximised), keeps a
// minimum size and loads the language file when it opens.
#pragma once
#include "Framework.h"
#include "MemoryDC.h"
#include "SkinFrame.h"

#include <memory>

#include <vector>

class CSkinResizableDialog : public CDialog
{
public:
    CSkinResizableDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    ~CSkinResizableDialog() override;

    void SetTopLeftBitmap(UINT nID) { SetPart(m_topLeft, nID); }
    void SetTopBitmap(UINT nID) { SetPart(m_top, nID); }
    void SetTopRightBitmap(UINT nID) { SetPart(m_topRight, nID); }
    void SetLeftBitmap(UINT nID) { SetPart(m_left, nID); }
    void SetGripBitmap(UINT nID) { SetPart(m_grip, nID); }
    void SetRightBitmap(UINT nID) { SetPart(m_right, nID); }
    void SetBottomLeftBitmap(UINT nID) { SetPart(m_bottomLeft, nID); }
    void SetBottomBitmap(UINT nID) { SetPart(m_bottom, nID); }
    void SetBottomRightBitmap(UINT nID) { SetPart(m_bottomRight, nID); }
    void SetTitleBitmap(UINT nID) { SetPart(m_title, nID); }
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
    // The part of the client picture pDC asks for (its clip box) into pDC;
    // the window's own paint cuts the corner region too.
    void PaintWindow(CDC* pDC, BOOL bCutCorners);
    // The frame picture for the client size, drawn again only when the size,
    // the captions or the title's place changed since it was last drawn.
    CDC* FramePicture(CSize size);
    void DrawFrame(CDC* pDC, int w, int h);
    void SetPart(SkinBitmap& part, UINT nID)
    {
        part.Load(nID);
        m_framePicture.reset();
    }
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

private:
    // The frame as last drawn and what it was drawn for: paints and the
    // controls taking the picture under them copy from it.
    std::unique_ptr<CMemoryDC> m_framePicture;
    CSize m_frameSize;
    std::vector<CString> m_frameTexts;
    std::vector<CRect> m_frameRects;
    BOOL m_bFrameFurtherLines = TRUE;
    int m_frameTitleTop = -1;
};
