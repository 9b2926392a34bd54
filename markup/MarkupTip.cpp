#include "MarkupTip.h"
#include <algorithm>

static const wchar_t kTipClass[] = L"CMarkupTip";

static void RegisterTipClass()
{
    WNDCLASSW wc;
    HINSTANCE inst = AfxGetInstanceHandle();
    if (::GetClassInfoW(inst, kTipClass, &wc))
        return;
    memset(&wc, 0, sizeof(wc));
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = inst;
    wc.lpszClassName = kTipClass;
    if (!::RegisterClassW(&wc))
        AfxThrowResourceException();
}

BEGIN_MESSAGE_MAP(CMarkupTip, CWnd)
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_SETCURSOR()
ON_WM_ACTIVATEAPP()
ON_MESSAGE(MARKUPTIP_HOVER, &CMarkupTip::OnHoverChanged)
END_MESSAGE_MAP()

CMarkupTip::CMarkupTip()
    : m_parentWnd(NULL), m_notifyWnd(NULL), m_shownWnd(NULL), m_pendingDelayed(0), m_pending(0),
      m_reqWnd(NULL), m_direction(0), m_transparency(0), m_state(0), m_background(NULL), m_snapshot(NULL),
      m_snapshotTaken(FALSE), m_borderX(1), m_borderY(1), m_shadowGradient(TRUE), m_shadowX(6), m_shadowY(6),
      m_blurX(7), m_blurY(7), m_darkness(50), m_region(NULL), m_autoPop(5000), m_initialDelay(500),
      m_fadeInStep(0), m_fadeOutStep(0), m_defBehaviour(0), m_defEffect(0), m_defDirection(16), m_defStyle(0),
      m_defGranularity(0), m_defTransparency(0), m_fadeIn(TRUE), m_fadeOut(TRUE), m_ellipseX(16),
      m_ellipseY(16), m_marginX(12), m_marginY(12), m_anchorWidth(12), m_anchorHeight(16), m_anchorOffset(16)
{
    m_lastMouse = POINT{-1, -1};
    m_anchor = POINT{0, 0};
    m_defColor1 = m_defColor2 = m_defColor3 = ::GetSysColor(COLOR_INFOBK);
    m_borderBrush = ::CreateSolidBrush(::GetSysColor(COLOR_INFOTEXT));
    RegisterTipClass();
}

CMarkupTip::~CMarkupTip()
{
    FreeShape();
    if (m_borderBrush != NULL)
        ::DeleteObject(m_borderBrush);
    if (m_hWnd != NULL)
        DestroyWindow();
}

void CMarkupTip::FreeShape()
{
    if (m_region != NULL)
        ::DeleteObject(m_region);
    if (m_background != NULL)
        ::DeleteObject(m_background);
    if (m_snapshot != NULL)
        ::DeleteObject(m_snapshot);
    m_region = NULL;
    m_background = m_snapshot = NULL;
    m_snapshotTaken = FALSE;
}

BOOL CMarkupTip::Create(CWnd* pParentWnd, BOOL bBalloon)
{
    m_parentWnd = FwSafeHandle(pParentWnd);
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTipClass, NULL, WS_POPUP, 0, 0, 0, 0, m_parentWnd, NULL,
                  NULL))
        return FALSE;
    if (bBalloon)
    {
        m_ellipseX = m_ellipseY = 16;
        m_marginX = m_marginY = 12;
        m_anchorWidth = 12;
        m_anchorHeight = 16;
        m_anchorOffset = 16;
    }
    else
    {
        m_ellipseX = m_ellipseY = 0;
        m_marginX = 3;
        m_marginY = 1;
        m_anchorWidth = m_anchorHeight = m_anchorOffset = 0;
    }
    m_drawer.SetHoverNotify(m_hWnd, MARKUPTIP_HOVER, 0);
    SetTimer(TIMER_ANIMATION, 100);
    return TRUE;
}

BOOL CMarkupTip::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    Pop();
    KillTimer(TIMER_ANIMATION);
    m_drawer.SetHoverNotify(NULL, 0, 0);
    return CWnd::DestroyWindow();
}

BOOL CMarkupTip::PreTranslateMessage(MSG* pMsg)
{
    RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------
// Tools

void CMarkupTip::AddTool(CWnd* pWnd, LPCTSTR text, const RECT* rect)
{
    MarkupToolInfo ti;
    if (rect != NULL)
        ti.rect = *rect;
    ti.text = text != NULL ? text : L"";
    AddToolInfo(pWnd, ti);
}

void CMarkupTip::AddToolInfo(CWnd* pWnd, const MarkupToolInfo& ti)
{
    HWND h = FwSafeHandle(pWnd);
    if (h == NULL)
        return;
    auto& list = m_tools[h];
    for (auto& t : list)
        if (::EqualRect(&t.rect, &ti.rect))
        {
            t = ti;
            return;
        }
    list.push_back(ti);
}

void CMarkupTip::RemoveTool(CWnd* pWnd, const RECT* rect)
{
    auto it = m_tools.find(FwSafeHandle(pWnd));
    if (it == m_tools.end())
        return;
    if (rect == NULL)
    {
        m_tools.erase(it);
        return;
    }
    auto& list = it->second;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const MarkupToolInfo& t) { return ::EqualRect(&t.rect, rect); }),
               list.end());
    if (list.empty())
        m_tools.erase(it);
}

BOOL CMarkupTip::GetToolInfo(CWnd* pWnd, int id, MarkupToolInfo* ti) const
{
    auto it = m_tools.find(FwSafeHandle(pWnd));
    if (it == m_tools.end())
        return FALSE;
    for (const auto& t : it->second)
        if (t.id == id)
        {
            if (ti != NULL)
                *ti = t;
            return TRUE;
        }
    return FALSE;
}

void CMarkupTip::RemoveToolById(CWnd* pWnd, int id)
{
    MarkupToolInfo ti;
    if (GetToolInfo(pWnd, id, &ti))
        RemoveTool(pWnd, &ti.rect);
}

size_t CMarkupTip::GetToolCount(CWnd* pWnd) const
{
    auto it = m_tools.find(FwSafeHandle(pWnd));
    return it == m_tools.end() ? 0 : it->second.size();
}

bool CMarkupTip::FindTool(POINT pt, bool enabledOnly, HWND* toolWnd, MarkupToolInfo* ti) const
{
    POINT screen = pt;
    ::ClientToScreen(m_parentWnd, &screen);
    HWND w = ::WindowFromPoint(screen);
    if (w == NULL)
        return false;
    HWND parent = ::GetParent(w);
    if (parent != NULL)
    {
        wchar_t cls[9] = {0};
        ::GetClassNameW(parent, cls, 9);
        bool dropDown =
            (::GetWindowLongW(parent, GWL_STYLE) & 0xF) == CBS_DROPDOWN && _wcsicmp(cls, L"combobox") == 0;
        if (dropDown)
            w = parent; // the edit field of a drop-down combo box shows the combo box's tips
        else
        {
            POINT c = screen;
            ::ScreenToClient(w, &c);
            HWND child = ::ChildWindowFromPoint(w, c);
            if (child != NULL)
                w = child;
            if (enabledOnly && !::IsWindowEnabled(w))
                return false;
        }
    }
    *toolWnd = w;
    auto it = m_tools.find(w);
    if (it != m_tools.end())
    {
        const auto& list = it->second;
        if (list.size() == 1 && ::IsRectEmpty(&list[0].rect))
        {
            *ti = list[0];
            return true;
        }
        POINT c = screen;
        ::ScreenToClient(w, &c);
        for (const auto& t : list)
            if (::IsRectEmpty(&t.rect) ? false : ::PtInRect(&t.rect, c) != FALSE)
            {
                *ti = t;
                return true;
            }
        for (const auto& t : list)
            if (::IsRectEmpty(&t.rect))
            {
                *ti = t;
                return true;
            }
    }
    if (!enabledOnly)
    {
        *ti = MarkupToolInfo();
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Messages of the owner

void CMarkupTip::RelayEvent(MSG* pMsg)
{
    if (m_hWnd == NULL || pMsg == NULL)
        return;
    switch (pMsg->message)
    {
    case WM_MOUSEMOVE: {
        POINT screen = {(short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam)};
        ::ClientToScreen(pMsg->hwnd, &screen);
        if (screen.x == m_lastMouse.x && screen.y == m_lastMouse.y)
            return;
        m_lastMouse = screen;
        POINT pt = screen;
        ::ScreenToClient(m_parentWnd, &pt);
        if (pMsg->hwnd == m_hWnd || ::WindowFromPoint(screen) == m_hWnd)
        {
            UINT b = m_shownTool.behaviour;
            if (!(b & MTT_TRACK_MOUSE))
            {
                if (b & MTT_NOCLOSE_OVER)
                    StartAutoPop();
                else
                {
                    KillTimer(TIMER_FADEIN);
                    HideStep();
                }
                return;
            }
        }
        HWND toolWnd = NULL;
        MarkupToolInfo ti;
        if (!FindTool(pt, true, &toolWnd, &ti))
        {
            m_shownWnd = NULL;
            KillTimer(TIMER_SHOW);
            if (m_state != 0)
            {
                KillTimer(TIMER_FADEIN);
                HideStep();
            }
            return;
        }
        if (m_shownWnd != NULL && toolWnd == m_shownWnd && ::EqualRect(&ti.rect, &m_shownTool.rect))
        {
            UINT b = m_shownTool.behaviour;
            if (b & MTT_TRACK_MOUSE)
            {
                StartAutoPop();
                if (::IsWindowVisible(m_hWnd))
                    ::SetWindowPos(m_hWnd, NULL, screen.x, screen.y, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            else if (b & MTT_CLOSE_LEAVE)
                StartAutoPop();
            else if (!(b & MTT_MULTIPLE_SHOW))
            {
                if (m_state == 1 || m_state == 2)
                {
                    KillTimer(TIMER_FADEIN);
                    HideStep();
                }
            }
            else
                RequestTip(toolWnd, ti, true);
            return;
        }
        RequestTip(toolWnd, ti, true);
        return;
    }
    case WM_LBUTTONDOWN:
        if (pMsg->hwnd == m_hWnd)
        {
            POINT pt = {(short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam)};
            m_drawer.Click(pt);
            KillTimer(TIMER_FADEIN);
            HideStep();
            return;
        }
        Pop();
        return;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Pop();
        return;
    }
}

void CMarkupTip::Pop()
{
    if (m_hWnd == NULL)
        return;
    m_state = 0;
    for (UINT_PTR t = TIMER_SHOW; t <= TIMER_FADEOUT; t++)
        KillTimer(t);
    if (::IsWindowVisible(m_hWnd) && (m_shownTool.behaviour & MTT_MULTIPLE_SHOW))
        m_shownWnd = NULL;
    ::ShowWindow(m_hWnd, SW_HIDE);
}

// ---------------------------------------------------------------------------
// The show and hide machine

void CMarkupTip::RequestTip(HWND hWnd, const MarkupToolInfo& ti, bool delayed)
{
    if (m_state == 1 || m_state == 2)
    {
        KillTimer(TIMER_FADEIN);
        HideStep();
    }
    m_reqWnd = hWnd;
    m_reqTool = ti;
    if (m_state == 3)
    {
        m_pending = 1;
        m_pendingDelayed = delayed && m_initialDelay > 0;
        return;
    }
    if (delayed && m_initialDelay > 0)
        SetTimer(TIMER_SHOW, m_initialDelay);
    else
        ShowStep();
}

void CMarkupTip::StartAutoPop()
{
    KillTimer(TIMER_HIDE);
    if (m_autoPop > 0 && !(m_reqTool.behaviour & MTT_DISABLE_AUTOPOP))
        SetTimer(TIMER_HIDE, m_autoPop);
}

void CMarkupTip::ShowStep()
{
    KillTimer(TIMER_SHOW);
    POINT cur;
    if (::GetCursorPos(&cur) && (cur.x != m_lastMouse.x || cur.y != m_lastMouse.y))
    {
        if (m_state == 1 || m_state == 2)
        {
            KillTimer(TIMER_FADEIN);
            HideStep();
        }
        return;
    }
    if (m_state != 0)
        return;
    m_state = 1;
    if (!ShowTip())
    {
        m_state = 0; // nothing to show
        return;
    }
    if (m_fadeIn && m_fadeInStep > 0)
        SetTimer(TIMER_FADEIN, m_fadeInStep);
    else
    {
        m_state = 2;
        StartAutoPop();
    }
}

void CMarkupTip::HideStep()
{
    KillTimer(TIMER_SHOW);
    KillTimer(TIMER_FADEIN);
    KillTimer(TIMER_HIDE);
    if (m_state == 3)
        return;
    m_state = 3;
    if (m_fadeOut && m_fadeOutStep > 0)
        SetTimer(TIMER_FADEOUT, m_fadeOutStep);
    else
    {
        m_transparency = 100;
        FadeOutStep();
    }
}

void CMarkupTip::FadeInStep()
{
    int target = std::min<int>(m_reqTool.transparency, 100);
    m_transparency = std::max(0, m_transparency - 20);
    if (m_transparency <= target)
    {
        m_transparency = target;
        KillTimer(TIMER_FADEIN);
        m_state = 2;
        StartAutoPop();
    }
    Repaint(m_transparency);
}

void CMarkupTip::FadeOutStep()
{
    m_transparency = m_transparency >= 80 ? 100 : m_transparency + 20;
    if (m_transparency < 100)
    {
        Repaint(m_transparency);
        return;
    }
    KillTimer(TIMER_FADEOUT);
    if (m_shownTool.behaviour & MTT_MULTIPLE_SHOW)
        m_shownWnd = NULL;
    ::ShowWindow(m_hWnd, SW_HIDE);
    m_state = 0;
    if (m_pending)
    {
        m_pending = 0;
        if (m_pendingDelayed)
            SetTimer(TIMER_SHOW, m_initialDelay);
        else
            ShowStep();
    }
}

void CMarkupTip::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case TIMER_SHOW:
        ShowStep();
        break;
    case TIMER_HIDE:
        HideStep();
        break;
    case TIMER_FADEIN:
        FadeInStep();
        break;
    case TIMER_FADEOUT:
        FadeOutStep();
        break;
    case TIMER_ANIMATION:
        if (::IsWindowVisible(m_hWnd) && m_state == 2 && m_drawer.AnimationStep())
            Repaint(m_transparency);
        break;
    }
}

// ---------------------------------------------------------------------------
// Showing

MarkupTipPlacement CMarkupTip::ComputePlacement(int direction, POINT P, SIZE body, int A, int m,
                                                const RECT& scr)
{
    int base = direction & 0x30, low = direction & 0x0F;
    if (low > 2)
        low = 0;
    bool vertical = base == 0 || base == 16;
    int W = body.cx + (vertical ? 0 : A), H = body.cy + (vertical ? A : 0);
    int X0 = scr.left, X1 = scr.right, Y0 = scr.top, Y1 = scr.bottom;

    // Fits the anchor's place along an edge: start (0), end (1) or centred (2).
    auto fitAlong = [](int low, int p, int size, int m, int lo, int hi) {
        if (low == 0 && hi < p + size - m)
            return (p + m - size < lo) ? 2 : 1;
        if (low == 1 && p + m - size < lo)
            return (hi < p + size - m) ? 2 : 0;
        if (low == 2)
        {
            if (m >= p - lo)
                return 0;
            if (m >= hi - p)
                return 1;
        }
        return low;
    };
    if (vertical)
        low = fitAlong(low, P.x, W, m, X0, X1);
    else if (base == 32 && X1 < P.x + W)
        base = 48;
    else if (base == 48 && P.x - W < X0)
        base = 32;
    if (base == 0 && Y1 < P.y + H)
        base = 16;
    else if (base == 16 && P.y - H < Y0)
        base = 0;
    else if (!vertical)
        low = fitAlong(low, P.y, H, m, Y0, Y1);

    POINT Q = {0, 0};
    auto along = [](int low, int p, int size, int m, int lo, int hi) {
        int q = low == 0 ? m : low == 1 ? size - m : size / 2;
        if (low == 2)
        {
            if (p - size / 2 < lo)
                q = p - lo;
            else if (p + size / 2 > hi)
                q = size / 2 + p + size / 2 - hi;
        }
        if ((low == 0 || low == 2) && p - q < lo)
            q = p - lo;
        if (low == 1 && p - q + size > hi)
            q = p + size - hi;
        return q;
    };
    if (base == 0 || base == 16)
    {
        Q.y = base == 0 ? 0 : H;
        Q.x = along(low, P.x, W, m, X0, X1);
    }
    else
    {
        Q.x = base == 32 ? 0 : W;
        Q.y = along(low, P.y, H, m, Y0, Y1);
    }
    return MarkupTipPlacement{base + low, Q, SIZE{W, H}};
}

HRGN CMarkupTip::MakeBalloonRegion() const
{
    const CRect& b = m_bodyRect;
    HRGN rgn = ::CreateRoundRectRgn(b.left, b.top, b.right + 1, b.bottom + 1, m_ellipseX, m_ellipseY);
    if (rgn == NULL || m_anchorHeight <= 0 || m_anchorWidth <= 0)
        return rgn;
    int base = m_direction & 0x30, low = m_direction & 0x0F;
    int W = m_windowRect.Width() - m_shadowX, H = m_windowRect.Height() - m_shadowY;
    int m = m_anchorOffset, aw = m_anchorWidth;
    POINT tri[3];
    tri[0] = m_anchor;
    auto span = [&](int size, int q, int* a, int* c) {
        if (low == 0)
            *a = m, *c = m + aw;
        else if (low == 1)
            *a = size - m - aw, *c = size - m;
        else
            *a = q - aw / 2, *c = q + aw / 2;
    };
    int a, c;
    if (base == 0 || base == 16)
    {
        span(W, m_anchor.x, &a, &c);
        int y = base == 0 ? b.top : b.bottom;
        tri[1] = POINT{a, y};
        tri[2] = POINT{c, y};
    }
    else
    {
        span(H, m_anchor.y, &a, &c);
        int x = base == 32 ? b.left : b.right;
        tri[1] = POINT{x, a};
        tri[2] = POINT{x, c};
    }
    HRGN t = ::CreatePolygonRgn(tri, 3, WINDING);
    if (t != NULL)
    {
        ::CombineRgn(rgn, rgn, t, RGN_OR);
        ::DeleteObject(t);
    }
    return rgn;
}

bool CMarkupTip::ShowTip()
{
    MarkupToolInfo& ti = m_reqTool;
    if (!(ti.mask & MTT_MASK_STYLE))
        ti.style = m_defStyle;
    if (!(ti.mask & MTT_MASK_EFFECT))
        ti.effect = m_defEffect, ti.granularity = m_defGranularity;
    if (!(ti.mask & MTT_MASK_COLORS))
        ti.color1 = m_defColor1, ti.color2 = m_defColor2, ti.color3 = m_defColor3;
    if (!(ti.mask & MTT_MASK_DIRECTION))
        ti.direction = m_defDirection;
    if (!(ti.mask & MTT_MASK_BEHAVIOUR))
        ti.behaviour = m_defBehaviour;
    if (!(ti.mask & MTT_MASK_TRANSPARENCY))
        ti.transparency = m_defTransparency;

    POINT P = m_lastMouse;
    if (m_hWnd != NULL && m_notifyWnd != NULL)
    {
        NMMARKUPTIP nm;
        nm.hdr.hwndFrom = m_hWnd;
        nm.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
        nm.hdr.code = MARKUPTIP_SHOW;
        nm.hwndTool = m_reqWnd;
        nm.pt = &P;
        nm.ti = &ti;
        ::SendMessageW(m_notifyWnd, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
    }
    ti.transparency = (BYTE)std::min<int>(ti.transparency, 100);
    if (ti.text.IsEmpty())
        return false;

    SIZE sz = {0, 0};
    {
        HDC dc = ::GetDC(m_hWnd);
        m_drawer.Measure(dc, (LPCWSTR)ti.text, &sz);
        ::ReleaseDC(m_hWnd, dc);
    }
    if (sz.cx <= 0 || sz.cy <= 0)
        return false;
    m_textRect = CRect(m_marginX, m_marginY, m_marginX + sz.cx, m_marginY + sz.cy);
    m_bodyRect = CRect(0, 0, sz.cx + 2 * m_marginX, sz.cy + 2 * m_marginY);

    RECT screen = {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    MarkupTipPlacement pl =
        ComputePlacement(ti.direction, P, m_bodyRect.Size(), m_anchorHeight, m_anchorOffset, screen);
    m_direction = pl.direction;
    m_anchor = pl.anchor;
    int base = m_direction & 0x30;
    if (base == 0)
    {
        m_bodyRect.OffsetRect(0, m_anchorHeight);
        m_textRect.OffsetRect(0, m_anchorHeight);
    }
    else if (base == 32)
    {
        m_bodyRect.OffsetRect(m_anchorHeight, 0);
        m_textRect.OffsetRect(m_anchorHeight, 0);
    }
    int W = pl.size.cx, H = pl.size.cy;
    int shadowX = std::max(0, m_shadowX), shadowY = std::max(0, m_shadowY);
    m_windowRect = CRect(P.x - m_anchor.x, P.y - m_anchor.y, P.x - m_anchor.x + W + shadowX,
                         P.y - m_anchor.y + H + shadowY);

    FreeShape();
    m_region = MakeBalloonRegion();

    // The face of the tip: the effect over the body, the anchor band filled
    // with the body's edge line.
    {
        HDC screenDC = ::GetDC(NULL);
        CMemoryDC face(screenDC, W, H);
        if (face.GetBitmap() != NULL)
        {
            HDC dc = face.GetSafeHdc();
            m_drawer.GetPainter().FillEffect(dc, ti.effect, m_bodyRect, ti.color1, ti.color2, ti.color3,
                                             ti.granularity, 5);
            const CRect& b = m_bodyRect;
            if (m_anchorHeight > 0)
            {
                if (base == 0)
                    CEffectPainter::TileBlt(dc, 0, 0, W, b.top, dc, 0, b.top + 1, W, 1);
                else if (base == 16)
                    CEffectPainter::TileBlt(dc, 0, b.bottom, W, H - b.bottom, dc, 0, b.bottom - 2, W, 1);
                else if (base == 32)
                    CEffectPainter::TileBlt(dc, 0, 0, b.left, H, dc, b.left + 1, 0, 1, H);
                else
                    CEffectPainter::TileBlt(dc, b.right, 0, W - b.right, H, dc, b.right - 2, 0, 1, H);
            }
            m_background = face.DetachBitmap();
        }
        // What lies under the tip, for the shadow and the transparency.
        CMemoryDC under(screenDC, m_windowRect.Width(), m_windowRect.Height());
        if (under.GetBitmap() != NULL)
        {
            ::BitBlt(under.GetSafeHdc(), 0, 0, m_windowRect.Width(), m_windowRect.Height(), screenDC,
                     m_windowRect.left, m_windowRect.top, SRCCOPY);
            m_snapshot = under.DetachBitmap();
        }
        ::ReleaseDC(NULL, screenDC);
    }

    m_transparency = (m_fadeIn && m_fadeInStep > 0) ? 100 : ti.transparency;

    HRGN windowRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (windowRgn != NULL && m_region != NULL)
    {
        ::CombineRgn(windowRgn, m_region, NULL, RGN_COPY);
        if (shadowX != 0 || shadowY != 0)
        {
            HRGN moved = ::CreateRectRgn(0, 0, 0, 0);
            ::CombineRgn(moved, m_region, NULL, RGN_COPY);
            ::OffsetRgn(moved, shadowX, shadowY);
            ::CombineRgn(windowRgn, windowRgn, moved, RGN_OR);
            ::DeleteObject(moved);
        }
        ::SetWindowRgn(m_hWnd, windowRgn, FALSE); // the window owns it now
    }
    else if (windowRgn != NULL)
        ::DeleteObject(windowRgn);

    ::SetWindowPos(m_hWnd, NULL, m_windowRect.left, m_windowRect.top, m_windowRect.Width(),
                   m_windowRect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    return true;
}

// ---------------------------------------------------------------------------
// Painting

void CMarkupTip::DrawBorder(HDC hDC, HRGN hRgn)
{
    if (m_borderBrush != NULL && m_borderX > 0 && m_borderY > 0 && hRgn != NULL)
        ::FrameRgn(hDC, hRgn, m_borderBrush, m_borderX, m_borderY);
}

void CMarkupTip::Paint(HDC hDC, int transparency)
{
    transparency = std::max(0, std::min(transparency, 100));
    int W = m_windowRect.Width(), H = m_windowRect.Height();
    if (W <= 0 || H <= 0 || m_background == NULL)
        return;
    // The tip's picture (face, text, border) is blended over what lies under
    // it (with the shadow) in a second picture, which goes to the window.
    CMemoryDC pic(hDC, W, H), res(hDC, W, H);
    if (pic.GetBitmap() == NULL || res.GetBitmap() == NULL)
        return;
    {
        CMemoryDC bg(m_background, hDC);
        ::BitBlt(pic.GetSafeHdc(), 0, 0, W, H, bg.GetSafeHdc(), 0, 0, SRCCOPY);
    }
    m_drawer.Draw(pic.GetSafeHdc(), m_textRect);
    DrawBorder(pic.GetSafeHdc(), m_region);

    if (m_snapshot != NULL)
    {
        CMemoryDC snap(m_snapshot, hDC);
        ::BitBlt(res.GetSafeHdc(), 0, 0, W, H, snap.GetSafeHdc(), 0, 0, SRCCOPY);
    }
    if ((m_shadowX != 0 || m_shadowY != 0) && m_region != NULL)
    {
        int bw = W - std::max(0, m_shadowX), bh = H - std::max(0, m_shadowY);
        CMemoryDC mm(hDC, bw, bh);
        if (mm.GetBitmap() != NULL)
        {
            RECT all = {0, 0, bw, bh};
            ::FillRect(mm.GetSafeHdc(), &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
            int a = MulDiv(255, 100 - m_darkness, 100);
            int g = a + (255 - a) * transparency / 100;
            HBRUSH grey = ::CreateSolidBrush(RGB(g, g, g));
            ::FillRgn(mm.GetSafeHdc(), m_region, grey);
            ::DeleteObject(grey);
            // The shadow reads the mask through a context of its own.
            CBitmap mask;
            mask.Attach(mm.DetachBitmap());
            CEffectPainter::DrawShadow(res.GetSafeHdc(), m_shadowX, m_shadowY, bw, bh,
                                       (HBITMAP)mask.GetSafeHandle(), m_shadowGradient, m_blurX, m_blurY);
        }
    }
    if (m_region != NULL)
        ::SelectClipRgn(res.GetSafeHdc(), m_region);
    CEffectPainter::BlendBlt(res.GetSafeHdc(), 0, 0, W, H, pic.GetSafeHdc(), 0, 0, 100 - transparency);
    ::SelectClipRgn(res.GetSafeHdc(), NULL);
    ::BitBlt(hDC, 0, 0, W, H, res.GetSafeHdc(), 0, 0, SRCCOPY);
}

void CMarkupTip::Repaint(int transparency)
{
    if (m_hWnd == NULL)
        return;
    HDC dc = ::GetDC(m_hWnd);
    Paint(dc, transparency);
    ::ReleaseDC(m_hWnd, dc);
}

void CMarkupTip::OnPaint()
{
    CPaintDC dc(this);
    m_shownWnd = m_reqWnd;
    m_shownTool = m_reqTool;
    Paint(dc.m_hDC, m_transparency);
}

BOOL CMarkupTip::OnSetCursor(CWnd*, UINT, UINT)
{
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    if (!m_drawer.UpdateHover(pt))
        ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
    return TRUE;
}

void CMarkupTip::OnActivateApp(BOOL bActive, DWORD)
{
    Default();
    if (!bActive)
        Pop();
}

LRESULT CMarkupTip::OnHoverChanged(WPARAM, LPARAM)
{
    Repaint(0);
    return 0;
}
