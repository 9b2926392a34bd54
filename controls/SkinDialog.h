// CSkinDialog: the base of the client's fixed-size skinned dialogs. It paints
// the whole window from resource bitmaps (four corners, four tiled edges, a
// title picture, an optional band under the top edge, a solid background,
// the caption and extra text lines), cuts the corners away where the corner
// bitmaps are magenta, moves the window when its background is dragged and
// owns the mark-up tooltip through which the dialog gives its controls tips.
#pragma once
#include "Framework.h"
#include "MarkupTip.h"
#include "SkinFrame.h"

#include <vector>

class CSkinDialog : public CDialog
{
    DECLARE_DYNAMIC(CSkinDialog)
public:
    CSkinDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    ~CSkinDialog() override;

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
    void SetTopBandBitmap(UINT nID) { m_band.Load(nID); }
    // The title is drawn only when top > 0; a left of 0 or less centres it.
    void SetTitleBitmapPos(int top, int left)
    {
        m_titleTop = top;
        m_titleLeft = left;
    }
    void EnableDrag(BOOL bDrag) { m_bDrag = bDrag; }
    void AddCaptionText(LPCTSTR text, const RECT& rect, COLORREF colour);

    static void DrawBitmap(CBitmap& bitmap, CDC* pDC, int x, int y) { SkinFrame::DrawBitmap(bitmap, pDC, x, y); }
    static void TileBitmap(CBitmap& bitmap, CDC* pDC, int left, int top, int right, int bottom)
    {
        SkinFrame::TileBitmap(bitmap, pDC, left, top, right, bottom);
    }
    static BOOL LoadBitmapResource(CBitmap& bitmap, UINT nID) { return SkinFrame::LoadBitmapResource(bitmap, nID); }
    static CSize GetBitmapSize(CBitmap& bitmap) { return SkinFrame::GetBitmapSize(bitmap); }
    void UpdateWindowRegion(CDC* pDC);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    HICON m_hIcon;
    SkinBitmap m_topLeft, m_top, m_topRight, m_left, m_grip, m_right, m_bottomLeft, m_bottom, m_bottomRight, m_title;
    int m_titleLeft;
    int m_titleTop;
    SkinBitmap m_band;
    CString m_strCaption;
    BOOL m_bDrawCaption;
    std::vector<CString> m_lineTexts;
    std::vector<CRect> m_lineRects;
    std::vector<COLORREF> m_lineColours;
    CFont* m_pCaptionFont;
    COLORREF m_captionColour;
    COLORREF m_bkColour;
    BOOL m_bDrag;
    CMarkupTip m_tooltip;
    BOOL m_bTopBand;

protected:
    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    // The whole client picture into pDC (the window's own paint cuts the
    // corner region too).
    void PaintWindow(CDC* pDC, BOOL bCutCorners);
    HCURSOR OnQueryDragIcon() { return (HCURSOR)m_hIcon; }
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
