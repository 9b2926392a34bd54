// The skin object of track bars: channel, thumb and tics from the style,
// keeping the control's custom-draw conversation with its parent.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectTrackBar : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectTrackBar)
public:
    CSFSkinObjectTrackBar();

    void PaintControl(CDC* dc) override;
    // Lays out the channel from the client rectangle and the style.
    void Layout();
    // The channel pixel a position stands at.
    int PositionToPixel(int pos);
    int GetThumbPart();
    int GetThumbState();
    int GetTicFrequency() const { return m_ticFrequency; }
    const RECT& GetChannel() const { return m_channel; }
    int GetThumbHalfWidth() const { return m_thumbHalf; }
    int GetThumbLength() const { return m_thumbLength; }
    int GetUsableLength() const { return m_usableLength; }
    BOOL IsThumbHot() const { return m_thumbHot; }
    // Tic strokes and selection wedge strokes of the last paint.
    int GetTicStrokes() const { return m_ticStrokes; }
    int GetWedgeStrokes() const { return m_wedgeStrokes; }

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnSetTicFreq(WPARAM, LPARAM);
    LRESULT OnButtonControl(WPARAM, LPARAM);
    LRESULT OnMouseMoveControl(WPARAM, LPARAM);
    LRESULT OnMouseLeaveControl(WPARAM, LPARAM);
    void TrackHot(POINT point);
    void DrawTics(HDC hdc, BOOL vertical);
    void Stroke(HDC hdc, BOOL vertical, int along, int across, int length, COLORREF color);
    LRESULT Notify(NMCUSTOMDRAW& draw, DWORD stage);

    int m_ticFrequency;
    RECT m_channel;
    int m_thumbHalf;
    int m_thumbLength;
    int m_usableLength;
    LONG_PTR m_layoutStyle;
    BOOL m_thumbHot;
    int m_ticStrokes;
    int m_wedgeStrokes;
};
