// CTaskBarNotiferWnd: one notification pop-up (template 230), drawn from a
// bitmap whose magenta pixels are cut out of the window. It slides up above
// the task bar area in its place of the shared table, holds for two seconds
// and slides down again; the mouse over it freezes it. A click opens the chat
// with the buddy it names, its button the sound settings.
#pragma once
#include "Framework.h"
#include "ImageButton.h"
#include "NotifyPlaceTable.h"
#include "RichEdit20Ctrl.h"

class CNotifyWndThread;

// To the main window: wParam 0 opens the settings on the sound page,
// wParam 1 opens the chat with the heap CString* in lParam (the receiver
// frees it); a pop-up's thread has ended its pop-up (wParam the thread).
#define WM_NOTIFY_CHAT_REQUEST (WM_USER + 44)
#define WM_NOTIFY_THREAD_ENDED (WM_USER + 14)

class CTaskBarNotiferWnd : public CDialog
{
  public:
    enum { IDD = 230 };
    enum { TIMER_SLIDE_IN = 1031, TIMER_SLIDE_OUT = 1032, TIMER_HOLD = 1033 };
    enum { STEP_PIXELS = 2, STEP_MS = 10, HOLD_MS = 2000 };

    CTaskBarNotiferWnd(CWnd* parent, CNotifyWndThread* thread);
    ~CTaskBarNotiferWnd() override;

    BOOL SetSkinBitmaps(UINT normalId, UINT hotId);
    void SetTextRect(int left, int top, int right, int bottom);
    void SetCloseRect(int left, int top, int right, int bottom);
    // FALSE when no place is free (nothing is shown).
    BOOL Show(const CString& text, const CString& second, const CString& third);
    void CloseNow();

    // The main window the pop-up's requests go to.
    void SetMainWindow(HWND main) { m_hMainWnd = main; }
    // How the work area is found (tests put the task bar on another edge).
    static void (*s_workArea)(RECT& area);

    int BitmapWidth() const { return m_nWidth; }
    int BitmapHeight() const { return m_nHeight; }
    int ShownHeight() const { return m_nHeight > 0 ? m_nShownHeight : 0; }
    UINT_PTR CurrentTimer() const { return m_nCurrentTimer; }
    BOOL IsFrozen() const { return m_bHovered; }
    const NotifyPlace& Place() const { return m_place; }
    CRichEdit20Ctrl& TextControl() { return m_text; }

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void PostNcDestroy() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseHover(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnLButtonUp(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSettingsButton();
    DECLARE_MESSAGE_MAP()

  private:
    void MoveToHeight();
    void FreePlace();
    void End();

    CNotifyWndThread* m_pThread;
    HWND m_hMainWnd;
    HCURSOR m_hHandCursor;
    CBitmap m_normalBitmap, m_hotBitmap;
    BOOL m_bCloseHot;
    HRGN m_hRegion;
    CRect m_textRect, m_closeRect;
    int m_nWidth, m_nHeight;
    CString m_strSecond, m_strThird;
    UINT_PTR m_nCurrentTimer;
    BOOL m_bHovered;
    int m_nShownHeight;
    NotifyPlace m_place;
    BOOL m_bPlaced;
    BOOL m_bEnded;
    CRichEdit20Ctrl m_text;
    CImageButton m_btnSettings;
};
