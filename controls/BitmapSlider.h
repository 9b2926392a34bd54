// CBitmapSlider: a horizontal slider drawn from bitmap resources: a channel
// (with an active picture left of the thumb), an optional limit zone and a
// thumb, each optionally transparent by a key colour. Moved by mouse and
// keyboard; it posts WM_USER+1 to its parent while the thumb is dragged and
// WM_USER+2 on release and after key changes (wParam its id, lParam the
// position).
#pragma once
#include "Framework.h"
#include "MaskedBitmap.h"

class CBitmapSlider : public CStatic
{
public:
    enum { WM_SLIDER_MOVING = WM_USER + 1, WM_SLIDER_MOVED = WM_USER + 2 };

    CBitmapSlider();
    ~CBitmapSlider() override;

    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    void SetLimit(int nLimit);
    BOOL IsLimitActive() const { return m_bLimitActive; }
    void SetMargin(int nLeft, int nTop, int nRight, int nBottom);
    void DrawFocusRect(BOOL bDraw = TRUE, BOOL bRedraw = FALSE);
    BOOL SetBitmapChannel(UINT nChannelID, UINT nActiveID = 0, UINT nLimitID = 0, BOOL bTransparent = FALSE,
                          COLORREF clrTransColor = 0xFF000000, int iTransPixelX = 0, int iTransPixelY = 0);
    BOOL SetBitmapThumb(UINT nThumbID, UINT nActiveID = 0, BOOL bTransparent = FALSE,
                        COLORREF clrTransColor = 0xFF000000, int iTransPixelX = 0, int iTransPixelY = 0);
    void Enable(BOOL bEnable = TRUE);

    // The pixel of a position and the position of a pixel (thumb centres).
    int Pos2Pixel(int nPos) const;
    int Pixel2Pos(int nPixel) const;

    int m_nMax, m_nMin, m_nPos, m_nPage;
    int m_nLimit, m_nDragStartPos;
    CRect m_rect;
    int m_nWidth, m_nHeight;           // channel
    int m_nThumbWidth, m_nThumbHeight; // thumb
    int m_nMarginLeft, m_nMarginRight, m_nMarginTop, m_nMarginBottom;
    int m_nThumbBgX, m_nThumbBgY;
    int m_nClickOffset;
    BOOL m_bChannelActive, m_bThumbActive, m_bTransparentChannel, m_bTransparentThumb, m_bThumb, m_bChannel;
    BOOL m_bLButtonDown, m_bFocus, m_bFocusRect, m_bDrawFocusRect, m_bEnable, m_bLimitActive;
    MaskedBitmap m_channel, m_channelActive, m_thumb, m_thumbActive, m_limitZone;
    CBitmap m_thumbBg;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    UINT OnGetDlgCode();
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSetFocus(CWnd*);
    void OnKillFocus(CWnd*);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void FreeChannel();
    void FreeThumb();
    void PostToParent(UINT message);
};
