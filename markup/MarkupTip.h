// CMarkupTip: the client's tooltip window. It shows texts written in the
// mark-up of MarkupDrawer over a painted background, as a plain rectangle or
// a balloon with an anchor, with a soft shadow, transparency and fading.
//
// Use: create it with the owning window as parent, add tools (a window, or a
// rectangle of a window, with a mark-up text), and pass every message of the
// owner's loop to RelayEvent from PreTranslateMessage. A notify window, when
// set, receives WM_NOTIFY with code MARKUPTIP_SHOW just before a tip shows and
// may change the tool record it points to (text, colours, effect, ...).
#pragma once
#include "Framework.h"
#include "MarkupDrawer.h"
#include <map>
#include <vector>

// Notification code of the tooltip's WM_NOTIFY.
#define MARKUPTIP_SHOW (WM_USER + 100)
// Hovered-link changes the drawer reports to the tooltip.
#define MARKUPTIP_HOVER (WM_USER + 101)

// Mask bits: which fields the tool sets itself.
#define MTT_MASK_STYLE 0x01
#define MTT_MASK_EFFECT 0x02
#define MTT_MASK_COLORS 0x04
#define MTT_MASK_DIRECTION 0x08
#define MTT_MASK_BEHAVIOUR 0x10
#define MTT_MASK_TRANSPARENCY 0x20

// Behaviour flags.
#define MTT_MULTIPLE_SHOW 0x01 // a move inside the tool shows the tip again
#define MTT_TRACK_MOUSE 0x02   // the tip follows the mouse inside the tool
#define MTT_CLOSE_LEAVE 0x04   // a move inside the tool only restarts the auto-pop time
#define MTT_NOCLOSE_OVER 0x08  // the tip stays while the mouse is over it
#define MTT_DISABLE_AUTOPOP 0x10

struct MarkupToolInfo
{
    int id = 0;
    RECT rect = {0, 0, 0, 0}; // empty: the whole window
    CString text;
    UINT mask = 0;
    int style = 0;
    int direction = 0;
    int effect = 0;
    UINT behaviour = 0;
    BYTE granularity = 0;
    BYTE transparency = 0; // 0 opaque .. 100 invisible
    COLORREF color1 = 0, color2 = 0, color3 = 0;
};

struct NMMARKUPTIP
{
    NMHDR hdr;
    HWND hwndTool;
    POINT* pt;
    MarkupToolInfo* ti;
};

// Placement of a tip: direction in use, anchor point inside the window and
// window size.
struct MarkupTipPlacement
{
    int direction;
    POINT anchor;
    SIZE size;
};

class CMarkupTip : public CWnd
{
  public:
    CMarkupTip();
    ~CMarkupTip() override;

    BOOL Create(CWnd* pParentWnd, BOOL bBalloon = FALSE);
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void SetNotifyWindow(HWND hWnd) { m_notifyWnd = hWnd; }
    void AddTool(CWnd* pWnd, LPCTSTR text, const RECT* rect = NULL);
    void AddToolInfo(CWnd* pWnd, const MarkupToolInfo& ti);
    void RemoveTool(CWnd* pWnd, const RECT* rect = NULL);
    BOOL GetToolInfo(CWnd* pWnd, int id, MarkupToolInfo* ti) const;
    void RemoveToolById(CWnd* pWnd, int id);
    void RelayEvent(MSG* pMsg);
    void Pop();

    // Times in milliseconds.
    void SetAutoPop(UINT ms) { m_autoPop = ms; }
    void SetInitialDelay(UINT ms) { m_initialDelay = ms; }
    void SetFadeSteps(UINT fadeIn, UINT fadeOut) { m_fadeInStep = fadeIn, m_fadeOutStep = fadeOut; }
    void SetShadow(int dx, int dy) { m_shadowX = dx, m_shadowY = dy; }
    void SetDefaultDirection(int direction) { m_defDirection = direction; }
    void SetDefaultBehaviour(UINT behaviour) { m_defBehaviour = behaviour; }

    int GetState() const { return m_state; }
    int GetDirection() const { return m_direction; }
    int GetTransparency() const { return m_transparency; }
    const CRect& GetWindowRectOfTip() const { return m_windowRect; }
    const CRect& GetTextRect() const { return m_textRect; }
    HWND GetShownToolWindow() const { return m_shownWnd; }
    HWND GetRequestedToolWindow() const { return m_reqWnd; }
    size_t GetToolCount(CWnd* pWnd) const;
    MarkupDrawer& GetDrawer() { return m_drawer; }

    // Where a tip of size body (without anchor) goes for the mouse point P
    // on the screen area: the direction after fitting, the anchor point and
    // the window size.
    static MarkupTipPlacement ComputePlacement(int direction, POINT P, SIZE body, int anchorHeight,
                                               int anchorOffset, const RECT& screen);

    // Timer ids.
    enum
    {
        TIMER_SHOW = 256,
        TIMER_HIDE = 257,
        TIMER_FADEIN = 258,
        TIMER_FADEOUT = 259,
        TIMER_ANIMATION = 260
    };

  protected:
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    LRESULT OnHoverChanged(WPARAM wParam, LPARAM lParam);
    virtual void DrawBorder(HDC hDC, HRGN hRgn);
    DECLARE_MESSAGE_MAP()

  private:
    bool FindTool(POINT pt, bool enabledOnly, HWND* toolWnd, MarkupToolInfo* ti) const;
    void RequestTip(HWND hWnd, const MarkupToolInfo& ti, bool delayed);
    void ShowStep();
    void HideStep();
    void FadeInStep();
    void FadeOutStep();
    bool ShowTip();
    void StartAutoPop();
    HRGN MakeBalloonRegion() const;
    void FreeShape();
    void Paint(HDC hDC, int transparency);
    void Repaint(int transparency);

    MarkupDrawer m_drawer;
    HWND m_parentWnd;
    HWND m_notifyWnd;
    POINT m_lastMouse;
    HWND m_shownWnd;
    MarkupToolInfo m_shownTool;
    int m_pendingDelayed;
    int m_pending;
    HWND m_reqWnd;
    MarkupToolInfo m_reqTool;
    int m_direction;
    int m_transparency;
    int m_state;
    COLORREF m_defColor1, m_defColor2, m_defColor3;
    HBITMAP m_background;
    HBITMAP m_snapshot;
    BOOL m_snapshotTaken;
    HBRUSH m_borderBrush;
    int m_borderX, m_borderY;
    BOOL m_shadowGradient;
    int m_shadowX, m_shadowY;
    int m_blurX, m_blurY;
    int m_darkness;
    HRGN m_region;
    UINT m_autoPop, m_initialDelay, m_fadeInStep, m_fadeOutStep;
    UINT m_defBehaviour;
    int m_defEffect;
    int m_defDirection;
    int m_defStyle;
    BYTE m_defGranularity;
    BYTE m_defTransparency;
    BOOL m_fadeIn, m_fadeOut;
    int m_ellipseX, m_ellipseY, m_marginX, m_marginY, m_anchorWidth, m_anchorHeight, m_anchorOffset;
    CRect m_textRect, m_bodyRect, m_windowRect;
    POINT m_anchor;
    std::map<HWND, std::vector<MarkupToolInfo>> m_tools;
};
