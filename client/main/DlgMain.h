// The client's main window (dialog 102, caption "Yeb360"). For now a shell:
// it paints its skin frame, comes to the front when a second copy of the
// client asks (WM_USER+45) and can be closed, which ends the client. The
// controls of the template stay hidden until the window's layout places them.
#pragma once

#include "Framework.h"
#include "Sonatrel.h"

#include <commctrl.h>

class CDlgMain : public CDialog
{
  public:
    explicit CDlgMain(CWnd* parent = NULL);
    ~CDlgMain() override;

  protected:
    BOOL OnInitDialog() override;
    // WM_USER+45: restores a minimised window, else shows it, and makes it
    // the foreground window. Result 0.
    LRESULT OnBringToFront(WPARAM, LPARAM);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; } // the paint covers everything
    void OnSize(UINT type, int cx, int cy);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

  private:
    // Cuts the magenta pixels of the four 6 x 6 corner squares of the frame
    // from the window region.
    void CutCorners(HDC picture, int width, int height);

    // The player library: every player call of the main window goes through
    // this one object (started once the window's player bar exists).
    CSonatrel m_player;
    HICON m_hBigIcon;
    HICON m_hSmallIcon;
    HWND m_hToolTip; // the window's tooltip (owned by the main window)
};
