// CSkinScrollBarFrame: gives a control with standard scroll bars skinned
// ones. The frame ("SkinScrollBarFrame") takes the control's place, holds it
// in a clipping child ("LIMIT") that hides the control's own bars, and adds
// two CSkinScrollBar windows that follow the control's scroll state and pass
// their scroll requests on to it. The frame goes away with the control.
#pragma once
#include "SkinScrollBar.h"

class CSkinScrollBarFrame : public CWnd
{
public:
    enum { ID_HORZ = 100, ID_VERT = 101, ID_LIMIT = 200, WM_LAYOUT_LIMIT = WM_USER + 100 };

    CSkinScrollBarFrame();
    ~CSkinScrollBarFrame() override;

    BOOL Attach(CWnd* pCtrl, HBITMAP hBitmap);
    // Gives the control back to the frame's parent and ends the frame.
    void Detach();

    CWnd* GetControl() const { return CWnd::FromHandle(m_hCtrl); }
    int m_cell;
    CSkinScrollBar m_horz;
    CSkinScrollBar m_vert;
    CWnd m_limit;
    HBITMAP m_hBitmap;
    BOOL m_bBusy;
    int m_cornerMode; // 0 none, 1 vertical bar on the left, 2 on the right
    WNDPROC m_pfnCtrlProc;

    // Copies the control's scroll state of one direction to its bar when it differs.
    void SyncBar(int nBar, BOOL bRedraw = TRUE);

protected:
    LRESULT OnLayoutLimit(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT nType, int cx, int cy);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();
    void OnDestroy();
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()

private:
    void Forward(UINT message, UINT code, UINT pos);
    static LRESULT CALLBACK ControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hCtrl;
    BOOL m_bDestroying;
};

// Wraps pCtrl in a skinned scroll-bar frame painted from hBitmap; returns the
// frame (it deletes itself when the control is destroyed).
CSkinScrollBarFrame* AttachSkinScrollBars(CWnd* pCtrl, HBITMAP hBitmap);
// For a control's WM_SIZE: the first time it has a scroll bar (and a bitmap
// is set), the skinned bars are attached; attached remembers it.
void AttachSkinScrollBarsWhenShown(CWnd* pCtrl, HBITMAP hBitmap, BOOL& attached);
