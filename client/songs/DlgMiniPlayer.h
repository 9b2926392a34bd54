// CDlgMiniPlayer: the small strip that stands in for the main window in mini
// mode: previous, play/pause, stop, next, a button back to the main window
// and one marquee line (the song title or the buffering status). It fades in
// and out, snaps to the edges of the work area, stretches sideways only and
// keeps its rectangle in the settings (WINDOW/rcMiniWnd). Every player action
// is the main window's: the buttons post their commands to it, and
// WM_MINI_SHOW_MAIN tells it to come back or that the strip is gone.
#pragma once
#include "Framework.h"
#include "ImageButton.h"
#include "ScrollTextStatic.h"
#include "SkinDialog.h"

// To the main window: lParam 0 asks it to show itself, lParam 1 says the
// mini player has faded out and destroyed its window (wParam 0).
const UINT WM_MINI_SHOW_MAIN = WM_USER + 47;

class CDlgMiniPlayer : public CSkinDialog
{
public:
    enum { MIN_WIDTH = 340, HEIGHT = 26 };
    enum { TIMER_FADE_OUT = 2, TIMER_FADE_IN = 3, FADE_INTERVAL = 32, FADE_STEP = 16 };
    enum { DRAG_NONE = 0, DRAG_MOVE = 1, DRAG_LEFT = 2, DRAG_RIGHT = 3 };
    // How near (pixels) to a work-area edge the strip snaps to it.
    enum { SNAP_DISTANCE = 10 };

    explicit CDlgMiniPlayer(CWnd* pMainWnd);
    ~CDlgMiniPlayer() override;

    // Store the text; with apply set and the window present, show it in its
    // marquee. 0 when the marquee has no window.
    int SetSongTitle(LPCTSTR text, BOOL apply);
    int SetStatusText(LPCTSTR text, BOOL apply);
    // 1 shows the title line, 0 the status line (not while held).
    void SwitchTextLine(int line, BOOL apply);
    void UpdatePlayButton(BOOL paused);
    void FadeIn();
    void FadeOut();

    // The settings' rectangle made a valid strip: height 26, width >= 340.
    static RECT NormalizeRect(const RECT& saved);
    // Moves a proposed position to the work-area edges it nearly touches:
    // stretching moves only the edge being dragged, moving keeps the size.
    static void SnapToWorkArea(WINDOWPOS& pos, const RECT& work, BOOL stretching);
    // The right-click menu (menu 351, sub-menu 7) with exactly one of the
    // topmost entries left; the caller destroys it.
    static HMENU BuildContextMenu(BOOL topmost);

    int GetAlpha() const { return m_nAlpha; }
    int GetWantedLine() const { return m_nWantedLine; }
    BOOL IsHeld() const { return m_bHold; }
    int GetDragMode() const { return m_nDragMode; }

    CWnd* m_pMainWnd;
    CImageButton m_btnPrevious, m_btnPlay, m_btnStop, m_btnNext, m_btnShowMain;
    CScrollTextStatic m_stTitle, m_stStatus;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT nType, int cx, int cy);
    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    LRESULT OnNcHitTest(CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonUp(UINT nHitTest, CPoint point);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnWindowPosChanging(WINDOWPOS* pos);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    DECLARE_MESSAGE_MAP()

private:
    void LayoutControls();
    void PaintStrip(CDC* pDC);
    void SetUpButton(CImageButton& button, UINT id, UINT bitmap, LPCWSTR tip);
    void SetUpMarquee(CScrollTextStatic& marquee, UINT id, int height);
    void ShowWantedLine();
    void HideLines();
    void ApplyAlpha();
    void SaveRect();
    void PostToMain(UINT message, WPARAM wParam, LPARAM lParam);
    void CopyStopState();

    CBitmap m_left, m_second, m_middle, m_right;
    HCURSOR m_hMoveCursor;
    CString m_strTitle;
    CString m_strStatus;
    int m_nAlpha;
    int m_nWantedLine;
    BOOL m_bHold;
    int m_nDragMode;
};
