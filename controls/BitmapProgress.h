// CBitmapProgress: a progress bar drawn from a background bitmap and a fill
// bitmap shown left of the current position.
#pragma once
#include "BitmapSlider.h"

class CBitmapProgress : public CStatic
{
public:
    CBitmapProgress();
    ~CBitmapProgress() override;

    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    BOOL SetBitmaps(UINT nBackgroundID, UINT nFillID = 0, BOOL bTransparent = FALSE,
                    COLORREF clrTransColor = 0xFF000000, int iTransPixelX = 0, int iTransPixelY = 0);
    // The pixel of a position (the right edge of the fill).
    int Pos2Pixel(int nPos) const;

    int m_nMax, m_nMin, m_nPos, m_nStep;
    CRect m_rect;
    int m_nWidth, m_nHeight;
    int m_nMarginLeft, m_nMarginRight;
    BOOL m_bFill, m_bTransparent, m_bBitmaps, m_bShowFill;
    MaskedBitmap m_background, m_fill;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
