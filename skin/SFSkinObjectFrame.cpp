#include "SFSkinObjectFrame.h"
#include "SFStyleImage.h"
#include "BufferedDC.h"
#include "SFDCLayout.h"
#include "SFGdiHelpers.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinSchema.h"
#include "SFWindowHelpers.h"
#include "SchemaNames.h"
#include <windowsx.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectFrame, CSFSkinObject)

BEGIN_MESSAGE_MAP(CSFSkinObjectFrame, CSFSkinObject)
ON_MESSAGE(WM_NCPAINT, &CSFSkinObjectFrame::OnNcPaint)
ON_MESSAGE(WM_NCCALCSIZE, &CSFSkinObjectFrame::OnNcCalcSize)
ON_MESSAGE(WM_NCHITTEST, &CSFSkinObjectFrame::OnNcHitTest)
ON_MESSAGE(WM_NCMOUSEMOVE, &CSFSkinObjectFrame::OnNcMouseMove)
ON_MESSAGE(WM_NCMOUSELEAVE, &CSFSkinObjectFrame::OnNcMouseLeave)
ON_MESSAGE(WM_NCLBUTTONDOWN, &CSFSkinObjectFrame::OnNcLButtonDown)
ON_MESSAGE(WM_NCLBUTTONDBLCLK, &CSFSkinObjectFrame::OnNcLButtonDown)
ON_MESSAGE(WM_NCRBUTTONUP, &CSFSkinObjectFrame::OnNcRButtonUp)
ON_MESSAGE(WM_NCACTIVATE, &CSFSkinObjectFrame::OnNcActivate)
ON_MESSAGE(WM_TIMER, &CSFSkinObjectFrame::OnTimerMessage)
ON_MESSAGE(WM_SETTEXT, &CSFSkinObjectFrame::OnSetTextMessage)
ON_MESSAGE(WM_STYLECHANGED, &CSFSkinObjectFrame::OnStyleChangedMessage)
ON_MESSAGE(WM_CREATE, &CSFSkinObjectFrame::OnCreateMessage)
ON_MESSAGE(WM_WINDOWPOSCHANGING, &CSFSkinObjectFrame::OnWindowPosChangingMessage)
ON_MESSAGE(WM_WINDOWPOSCHANGED, &CSFSkinObjectFrame::OnWindowPosChangedMessage)
ON_MESSAGE(WM_PRINT, &CSFSkinObjectFrame::OnPrintMessage)
ON_MESSAGE(WM_GETMINMAXINFO, &CSFSkinObjectFrame::OnGetMinMaxInfoMessage)
ON_MESSAGE(WM_SYSCOMMAND, &CSFSkinObjectFrame::OnSysCommandMessage)
ON_MESSAGE(WM_ERASEBKGND, &CSFSkinObjectFrame::OnEraseBkgndMessage)
END_MESSAGE_MAP()

POINT CSFSkinObjectFrame::s_menuOffset = {0, 0};

namespace
{
const UINT_PTR kHoverTimer = 2763;
const UINT_PTR kLayoutTimer = 2765;
const UINT_PTR kScrollTimer = 0xFA45;
const UINT kIsActiveIcon = 0x35;
const UINT kFramePosFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

// Raises a counter for a scope.
class CounterScope
{
public:
    explicit CounterScope(int& counter) : m_counter(counter) { ++m_counter; }
    ~CounterScope() { --m_counter; }
    CounterScope(const CounterScope&) = delete;
    CounterScope& operator=(const CounterScope&) = delete;

private:
    int& m_counter;
};

BOOL IsCaptionButtonCode(LRESULT code)
{
    return code == HTCLOSE || code == HTMAXBUTTON || code == HTMINBUTTON || code == HTHELP;
}
} // namespace

CSFSkinObjectFrame::CSFSkinObjectFrame()
    : m_hotButton(NULL), m_pressedButton(NULL), m_regionApplied(FALSE), m_tracking(NULL), m_regionWidth(0),
      m_regionHeight(0), m_active(FALSE), m_cachedStyle((DWORD)-1), m_cachedExStyle((DWORD)-1), m_regionBusy(FALSE),
      m_ctlColorMessage(WM_CTLCOLORDLG), m_suppressDrawing(0), m_mdiClient(NULL)
{
    ::SetRectEmpty(&m_borders);
    ::SetRectEmpty(&m_menuBarRect);
    ZeroMemory(&m_horzBar, sizeof(m_horzBar));
    ZeroMemory(&m_vertBar, sizeof(m_vertBar));
    m_horzBar.bar = SF_SBBAR_HORZ;
    m_vertBar.bar = SF_SBBAR_VERT;
    m_vertBar.vertical = 1;
    m_className = L"WINDOW";
}

CSFSkinObjectFrame::~CSFSkinObjectFrame() { ClearButtons(); }

void CSFSkinObjectFrame::ClearButtons()
{
    for (FrameButton* button : m_buttons)
        delete button;
    m_buttons.clear();
    m_hotButton = m_pressedButton = NULL;
}

static DWORD StyleOf(HWND hwnd) { return (DWORD)::GetWindowLongPtrW(hwnd, GWL_STYLE); }
static DWORD ExStyleOf(HWND hwnd) { return (DWORD)::GetWindowLongPtrW(hwnd, GWL_EXSTYLE); }

BOOL CSFSkinObjectFrame::HasFullCaption() const { return (StyleOf(m_hWnd) & WS_CAPTION) == WS_CAPTION; }

BOOL CSFSkinObjectFrame::HasFlatScrollBars()
{
    typedef BOOL(WINAPI * GetPropFn)(HWND, int, LPINT);
    static GetPropFn getProp = NULL;
    static BOOL looked = FALSE;
    if (!looked)
    {
        if (HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll"))
            getProp = (GetPropFn)(void*)::GetProcAddress(comctl, "FlatSB_GetScrollProp");
        looked = TRUE;
    }
    int value = 0;
    return getProp != NULL && getProp(m_hWnd, WSB_PROP_VSTYLE, &value);
}

// --- state changes -------------------------------------------------------

void CSFSkinObjectFrame::ApplySkinState(BOOL prevEnabled, BOOL newEnabled)
{
    if (newEnabled)
    {
        SystemLayoutRefresh();
        if (!prevEnabled)
            m_active = ::SendMessageW(m_hWnd, kIsActiveIcon, 0, 0) != 0;
    }
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, kFramePosFlags);
    ResetSkinCache();
    RECT rc;
    GetWindowRectSafe(m_hWnd, &rc);
    ApplyRegionForSize(rc.right - rc.left, rc.bottom - rc.top);
    ::InvalidateRect(m_hWnd, NULL, TRUE);
}

void CSFSkinObjectFrame::ResetSkinCache()
{
    m_regionWidth = m_regionHeight = 0;
    ::PostMessageW(m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
}

void CSFSkinObjectFrame::AttachToWindow(LPCREATESTRUCTW cs, BOOL duringCreation)
{
    CSFSkinObject::AttachToWindow(cs, duringCreation);
    if (!duringCreation)
        FrameSetUp();
}

void CSFSkinObjectFrame::DetachFromWindow(BOOL windowDestroyed)
{
    if (!windowDestroyed && m_hWnd != NULL && ::IsWindow(m_hWnd))
    {
        ::KillTimer(m_hWnd, kHoverTimer);
        if (m_regionApplied)
        {
            ::SetWindowRgn(m_hWnd, NULL, TRUE);
            m_regionApplied = FALSE;
        }
        // The system takes its own frame back: its borders, caption and bars.
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, kFramePosFlags);
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    m_regionApplied = FALSE;
    CSFSkinObject::DetachFromWindow(windowDestroyed);
}

void CSFSkinObjectFrame::FrameSetUp()
{
    if (!HasFullCaption())
        return;
    CSFSkinMetrics* metrics = GetMetrics();
    RECT rc;
    GetWindowRectSafe(m_hWnd, &rc);
    if (metrics && m_manager && (m_manager->GetApplyOptions() & SF_APPLY_METRICS) && !(StyleOf(m_hWnd) & WS_CHILD))
    {
        BOOL tool = (ExStyleOf(m_hWnd) & WS_EX_TOOLWINDOW) != 0;
        int grow = tool ? metrics->m_smallCaptionHeight - metrics->m_systemSmallCaptionHeight
                        : metrics->m_captionHeight - metrics->m_systemCaptionHeight;
        if (grow != 0)
        {
            ::SetWindowPos(m_hWnd, NULL, 0, 0, rc.right - rc.left, rc.bottom - rc.top + grow,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
            GetWindowRectSafe(m_hWnd, &rc);
        }
    }
    ApplyRegionForSize(rc.right - rc.left, rc.bottom - rc.top);
}

void CSFSkinObjectFrame::FetchBorders()
{
    CSFSkinSchema* schema = m_manager ? m_manager->GetSchema() : NULL;
    if (schema)
        schema->GetWindowBorders(m_hWnd, &m_borders);
    else
        ::SetRectEmpty(&m_borders);
}

void CSFSkinObjectFrame::SystemLayoutRefresh()
{
    if (m_manager == NULL || !(m_manager->GetApplyOptions() & SF_APPLY_FRAME))
        return;
    CounterScope suppress(m_suppressDrawing);
    DWORD style = StyleOf(m_hWnd);
    const DWORD bits = WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL;
    if (style & bits)
    {
        // The system keeps no caption or scroll-bar layout of its own.
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (LONG_PTR)(style & ~bits));
        RECT rc;
        GetWindowRectSafe(m_hWnd, &rc);
        ::SendMessageW(m_hWnd, WM_NCCALCSIZE, FALSE, (LPARAM)&rc);
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (LONG_PTR)style);
    }
}

// --- the two roads ---------------------------------------------------------

BOOL CSFSkinObjectFrame::HandleControlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC || message == WM_CTLCOLORMSGBOX ||
        message == WM_CTLCOLORSCROLLBAR)
        return FALSE;
    if (m_className.CompareNoCase(L"COMBOBOX") == 0)
        return FALSE;
    HDC hdc = (HDC)wParam;
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX)
    {
        ::SetBkColor(hdc, GetColor(COLOR_WINDOW));
        ::SetTextColor(hdc, GetColor(COLOR_WINDOWTEXT));
        CSFSkinMetrics* metrics = GetMetrics();
        result = (LRESULT)(metrics ? metrics->GetBrush(COLOR_WINDOW) : NULL);
        return TRUE;
    }
    UINT type = message - WM_CTLCOLORMSGBOX;
    HBRUSH brush = GetDialogControlBrush(hdc, (HWND)lParam, type);
    if (brush == NULL)
        return FALSE;
    result = (LRESULT)brush;
    return TRUE;
}

HBRUSH CSFSkinObjectFrame::GetTabPageBrush()
{
    CSFSkinMetrics* metrics = GetMetrics();
    if (metrics == NULL)
        return NULL;
    if (metrics->GetTabPageBrush())
        return metrics->GetTabPageBrush();
    CSFSkinClass* tab = m_manager ? m_manager->GetSkinClass(L"TAB") : NULL;
    CString file = tab ? tab->GetString(10, 0, 3007) : CString();
    CSFStyleImage* image = file.IsEmpty() ? NULL : tab->GetImage(file);
    if (image == NULL || image->GetWidth() <= 0 || image->GetHeight() <= 0)
        return NULL;
    // The page picture at its own size, repeated by a pattern brush.
    HDC window = ::GetWindowDC(m_hWnd);
    HDC memory = ::CreateCompatibleDC(window);
    HBITMAP bitmap = ::CreateCompatibleBitmap(window, image->GetWidth(), image->GetHeight());
    HBRUSH brush = NULL;
    if (memory && bitmap)
    {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        CDC dc;
        dc.Attach(memory);
        RECT all = {0, 0, image->GetWidth(), image->GetHeight()};
        RECT none = {0, 0, 0, 0};
        image->DrawImage(&dc, all, all, none, (COLORREF)-1, 0, FALSE);
        dc.Detach();
        ::SelectObject(memory, old);
        brush = ::CreatePatternBrush(bitmap);
    }
    if (bitmap)
        ::DeleteObject(bitmap);
    if (memory)
        ::DeleteDC(memory);
    ::ReleaseDC(m_hWnd, window);
    if (brush)
        metrics->SetTabPageBrush(brush);
    return metrics->GetTabPageBrush();
}

HBRUSH CSFSkinObjectFrame::GetDialogControlBrush(HDC hdc, HWND child, UINT type)
{
    CSFSkinMetrics* metrics = GetMetrics();
    if (metrics == NULL)
        return NULL;
    if (m_windowKind == SF_WINDOW_KIND_PROPERTY_PAGE)
    {
        HBRUSH page = GetTabPageBrush();
        if (page == NULL)
            return metrics->GetBackgroundBrush();
        if (child != m_hWnd)
        {
            // The pattern goes on seamlessly under the child.
            RECT dialog, control;
            GetWindowRectSafe(m_hWnd, &dialog);
            GetWindowRectSafe(child, &control);
            ::SetBrushOrgEx(hdc, dialog.left - control.left, dialog.top - control.top, NULL);
        }
        ::SetBkMode(hdc, TRANSPARENT);
        ::SetTextColor(hdc, GetColor(COLOR_BTNTEXT));
        return page;
    }
    HBRUSH face = metrics->GetBrush(COLOR_BTNFACE);
    if (!CWnd::GrayCtlColor(hdc, child, type, face, GetColor(COLOR_BTNTEXT)))
        return NULL;
    return face;
}

BOOL CSFSkinObjectFrame::HandleSubclassedMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
    {
        if (PassesThrough(message) || DefersToOwnProcedure(message))
            return FALSE;
        return HandleControlColor(message, wParam, lParam, result);
    }
    if (message == WM_ERASEBKGND && m_windowKind == SF_WINDOW_KIND_PROPERTY_PAGE && !DefersToOwnProcedure(message))
    {
        HDC hdc = (HDC)wParam;
        ::SetBrushOrgEx(hdc, 0, 0, NULL);
        RECT rc;
        GetClientRectSafe(m_hWnd, &rc);
        ::FillRect(hdc, &rc, GetDialogControlBrush(hdc, m_hWnd, CTLCOLOR_DLG));
        result = 1;
        return TRUE;
    }
    return CSFSkinObject::HandleSubclassedMessage(message, wParam, lParam, result);
}

BOOL CSFSkinObjectFrame::HandleDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return !PassesThrough(message) && HandleControlColor(message, wParam, lParam, result);
    return CSFSkinObject::HandleDefaultProcMessage(message, wParam, lParam, result);
}

BOOL CSFSkinObjectFrame::DefersToOwnProcedure(UINT message)
{
    return CSFSkinObject::DefersToOwnProcedure(message) ? TRUE : FALSE;
}

BOOL CSFSkinObjectFrame::PassesThrough(UINT message)
{
    if (m_suppressDrawing > 0 &&
        (message == WM_STYLECHANGING || message == WM_STYLECHANGED || message == WM_NCCALCSIZE))
        return TRUE;
    if (m_manager && !(m_manager->GetApplyOptions() & SF_APPLY_FRAME))
    {
        switch (message)
        {
        case WM_WINDOWPOSCHANGING:
        case WM_WINDOWPOSCHANGED:
        case WM_NCCALCSIZE:
        case WM_NCHITTEST:
        case WM_NCPAINT:
        case WM_NCACTIVATE:
        case WM_NCMOUSEMOVE:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCMOUSELEAVE:
        case WM_PRINT: return TRUE;
        }
    }
    if (message == WM_ENTERIDLE)
    {
        const DWORD all = WS_VISIBLE | WS_MINIMIZE | WS_CAPTION;
        if ((StyleOf(m_hWnd) & all) == all)
            RepaintNonClient();
    }
    return CSFSkinObject::PassesThrough(message);
}

// --- control colours --------------------------------------------------------

HBRUSH CSFSkinObjectFrame::GetBackgroundBrush(HDC hdc) { return GetParentControlBrush(hdc, GetControlColorMessage()); }

HBRUSH CSFSkinObjectFrame::GetParentControlBrush(HDC hdc, UINT message)
{
    CSFSkinMetrics* metrics = GetMetrics();
    if (metrics == NULL)
        return (HBRUSH)::GetStockObject(WHITE_BRUSH);
    HWND parent = ::GetParent(m_hWnd);
    if (parent == NULL)
        return metrics->GetBrush(COLOR_BTNFACE);
    LRESULT answer = ::SendMessageW(parent, message, (WPARAM)hdc, (LPARAM)m_hWnd);
    if (answer >= 1 && answer <= 30)
        return metrics->GetBrush((int)answer - 1);
    if (answer > 30)
        return (HBRUSH)answer;
    return metrics->GetBrush(message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ? COLOR_WINDOW
                                                                                         : COLOR_BTNFACE);
}

HBRUSH CSFSkinObjectFrame::FillControlBackground(CDC* dc, const RECT& rect, UINT message)
{
    HDC hdc = dc->GetSafeHdc();
    CSFSkinMetrics* metrics = GetMetrics();
    HWND parent = ::GetParent(m_hWnd);
    if (parent != NULL)
    {
        LRESULT answer = ::SendMessageW(parent, message, (WPARAM)hdc, (LPARAM)m_hWnd);
        HBRUSH brush = NULL;
        if (answer >= 1 && answer <= 30 && metrics)
            brush = metrics->GetBrush((int)answer - 1);
        else if (answer > 30)
            brush = (HBRUSH)answer;
        if (brush)
        {
            ::FillRect(hdc, &rect, brush);
            return brush;
        }
    }
    FillRectOpaque(hdc, rect, GetColor(COLOR_BTNFACE));
    return metrics ? metrics->GetBrush(COLOR_BTNFACE) : NULL;
}

// --- caption buttons --------------------------------------------------------

void CSFSkinObjectFrame::RebuildCaptionButtons()
{
    DWORD style = StyleOf(m_hWnd), ex = ExStyleOf(m_hWnd);
    if (style == m_cachedStyle && ex == m_cachedExStyle)
        return;
    m_cachedStyle = style;
    m_cachedExStyle = ex;
    ClearButtons();
    if ((style & WS_CAPTION) != WS_CAPTION)
        return;
    BOOL tool = (ex & WS_EX_TOOLWINDOW) != 0;
    BOOL sys = (style & WS_SYSMENU) != 0;
    BOOL boxes = sys && !tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    BOOL minimized = (style & WS_MINIMIZE) != 0;
    auto add = [this](int command, int hitTest, int part, BOOL enabled) {
        FrameButton* button = new FrameButton;
        button->hitTest = hitTest;
        ::SetRectEmpty(&button->rect);
        button->part = part;
        button->frame = this;
        button->command = command;
        button->enabled = enabled;
        m_buttons.push_back(button);
    };
    if (sys)
    {
        BOOL enabled = TRUE;
        if (!tool)
        {
            HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
            UINT state = menu ? ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) : 0;
            enabled = state == (UINT)-1 || !(state & (MF_GRAYED | MF_DISABLED));
        }
        add(SC_CLOSE, HTCLOSE, tool ? 19 : 18, enabled);
    }
    if (boxes && !(style & WS_MAXIMIZE))
        add(SC_MAXIMIZE, HTMAXBUTTON, 17, (style & WS_MAXIMIZEBOX) != 0);
    if (boxes && (style & WS_MAXIMIZE) && !minimized)
        add(SC_RESTORE, HTMAXBUTTON, 21, (style & WS_MAXIMIZEBOX) != 0);
    if (boxes)
        add(minimized ? SC_RESTORE : SC_MINIMIZE, HTMINBUTTON, minimized ? 21 : 15, (style & WS_MINIMIZEBOX) != 0);
    if ((ex & WS_EX_CONTEXTHELP) && !tool && sys)
        add(SC_CONTEXTHELP, HTHELP, 23, TRUE);
}

int CSFSkinObjectFrame::GetButtonState(const FrameButton* button) const
{
    int state;
    if (!button->enabled)
        state = 4;
    else if (button == m_hotButton && button == m_pressedButton)
        state = 3;
    else if (button == m_hotButton && m_pressedButton == NULL)
        state = 2;
    else
        state = 1;
    return m_active ? state : state + 4;
}

FrameButton* CSFSkinObjectFrame::FrameButtonAt(POINT point)
{
    DWORD style = StyleOf(m_hWnd);
    BOOL maximizedTop = (style & WS_MAXIMIZE) && !(style & WS_CHILD);
    for (size_t i = 0; i < m_buttons.size(); i++)
    {
        FrameButton* button = m_buttons[i];
        if (!button->enabled)
            continue;
        RECT r = button->rect;
        if (maximizedTop)
        {
            // The screen edge reaches the buttons of a maximized window.
            r.top -= 2;
            if (i == 0)
                r.right += 2;
        }
        if (::PtInRect(&r, point))
            return button;
    }
    return NULL;
}

// --- geometry -----------------------------------------------------------------

BOOL CSFSkinObjectFrame::SizeGripApplies()
{
    CSFSkinMetrics* metrics = GetMetrics();
    int cxEdge = metrics ? metrics->m_cxEdge : ::GetSystemMetrics(SM_CXEDGE);
    int cyEdge = metrics ? metrics->m_cyEdge : ::GetSystemMetrics(SM_CYEDGE);
    RECT self;
    GetWindowRectSafe(m_hWnd, &self);
    HWND walk = m_hWnd;
    while (walk != NULL)
    {
        DWORD style = StyleOf(walk);
        if (style & WS_THICKFRAME)
        {
            if (style & WS_MAXIMIZE)
                return FALSE;
            RECT client;
            GetClientRectSafe(walk, &client);
            POINT corner = {client.right, client.bottom};
            ::ClientToScreen(walk, &corner);
            return corner.x <= self.right + cxEdge && self.bottom + cyEdge >= corner.y;
        }
        // The walk climbs only through child windows without a full caption.
        if (!(style & WS_CHILD) || (style & WS_CAPTION) == WS_CAPTION)
            return FALSE;
        walk = ::GetParent(walk);
    }
    return FALSE;
}

int CSFSkinObjectFrame::HitTestOwnParts(POINT pt)
{
    DWORD style = StyleOf(m_hWnd), ex = ExStyleOf(m_hWnd);
    if ((style & WS_VSCROLL) && m_vertBar.visible && ::PtInRect(&m_vertBar.rect, pt))
        return HTVSCROLL;
    if ((style & WS_HSCROLL) && m_horzBar.visible && ::PtInRect(&m_horzBar.rect, pt))
        return HTHSCROLL;
    if ((style & WS_VSCROLL) && (style & WS_HSCROLL) && m_vertBar.visible && m_horzBar.visible)
    {
        RECT box = {m_horzBar.rect.right, m_vertBar.rect.bottom, m_vertBar.rect.right, m_horzBar.rect.bottom};
        if (::PtInRect(&box, pt) && SizeGripApplies())
            return (ex & WS_EX_LAYOUTRTL) ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
    }
    if (::PtInRect(&m_menuBarRect, pt))
        return HTMENU;
    if (FrameButton* button = FrameButtonAt(pt))
        return button->hitTest;
    return 0;
}

void CSFSkinObjectFrame::ApplyRegionForSize(int cx, int cy)
{
    if (m_regionBusy || m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    m_regionBusy = TRUE;
    if (!HasFullCaption())
    {
        if (m_regionApplied)
        {
            ::SetWindowRgn(m_hWnd, NULL, TRUE);
            m_regionApplied = FALSE;
        }
    }
    else if (cx != m_regionWidth || cy != m_regionHeight)
    {
        CSFSkinSchema* schema = m_manager ? m_manager->GetSchema() : NULL;
        if (schema && m_manager->IsEnabled() && (m_manager->GetApplyOptions() & SF_APPLY_FRAME))
        {
            FetchBorders();
            HRGN region = schema->GetWindowRegion(this, cx, cy);
            if (region)
            {
                if (::SetWindowRgn(m_hWnd, region, TRUE))
                    m_regionApplied = TRUE;
                else
                    ::DeleteObject(region);
            }
            else if (m_regionApplied)
            {
                ::SetWindowRgn(m_hWnd, NULL, TRUE);
                m_regionApplied = FALSE;
            }
        }
        else if (m_regionApplied)
        {
            ::SetWindowRgn(m_hWnd, NULL, TRUE);
            m_regionApplied = FALSE;
        }
        m_regionWidth = cx;
        m_regionHeight = cy;
    }
    m_regionBusy = FALSE;
}

// --- drawing ------------------------------------------------------------------

void CSFSkinObjectFrame::RepaintNonClient()
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (hdc == NULL)
        return;
    {
        CDC dc;
        dc.Attach(hdc);
        PaintNonClient(&dc);
        dc.Detach();
    }
    ::ReleaseDC(m_hWnd, hdc);
}

void CSFSkinObjectFrame::PaintNonClient(CDC* dc)
{
    if (m_suppressDrawing > 0 || dc == NULL)
        return;
    CSFSkinSchema* schema = m_manager ? m_manager->GetSchema() : NULL;
    if (schema == NULL)
        return;
    FetchBorders();
    schema->DrawFrame(dc, this);
    if (!m_vertBar.visible && !m_horzBar.visible)
        return;
    ScrollBarLayout* bars[2] = {&m_vertBar, &m_horzBar};
    for (ScrollBarLayout* bar : bars)
    {
        if (!bar->visible)
            continue;
        if (m_tracking == NULL || m_tracking->layout != bar)
            LayoutScrollBar(bar);
        OffsetBufferedDC buffer(dc->GetSafeHdc(), bar->rect);
        if (buffer.IsReady())
            schema->DrawScrollBar(&buffer, this, bar);
    }
    if (m_vertBar.visible && m_horzBar.visible)
    {
        RECT box = {m_horzBar.rect.right, m_vertBar.rect.bottom, m_vertBar.rect.right, m_horzBar.rect.bottom};
        if (ExStyleOf(m_hWnd) & WS_EX_LEFTSCROLLBAR)
            box = {m_vertBar.rect.left, m_vertBar.rect.bottom, m_horzBar.rect.left, m_horzBar.rect.bottom};
        FillRectOpaque(dc->GetSafeHdc(), box, schema->GetSizeBoxColor());
        if (SizeGripApplies())
            if (CSFSkinClass* cls = m_manager->GetSkinClass(L"SCROLLBAR"))
                cls->DrawBackground(dc, 10, 1, &box);
    }
}

void CSFSkinObjectFrame::DrawScrollBar(CDC* dc, ScrollBarLayout* layout)
{
    CSFSkinSchema* schema = m_manager ? m_manager->GetSchema() : NULL;
    if (schema)
        schema->DrawScrollBar(dc, this, layout);
}

// --- messages -------------------------------------------------------------------

LRESULT CSFSkinObjectFrame::OnNcPaint(WPARAM, LPARAM)
{
    if (HasFlatScrollBars())
        return Default();
    RebuildCaptionButtons();
    RepaintNonClient();
    return 0;
}

LRESULT CSFSkinObjectFrame::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    RECT* rect = wParam ? &((NCCALCSIZE_PARAMS*)lParam)->rgrc[0] : (RECT*)lParam;
    if (rect == NULL)
        return 0;
    if (HasFlatScrollBars())
    {
        m_vertBar.visible = m_horzBar.visible = 0;
        return Default();
    }
    FetchBorders();
    rect->left += m_borders.left;
    rect->top += m_borders.top;
    rect->right -= m_borders.right;
    rect->bottom -= m_borders.bottom;
    ::SetRectEmpty(&m_menuBarRect);
    DWORD style = StyleOf(m_hWnd), ex = ExStyleOf(m_hWnd);
    m_vertBar.visible = (style & WS_VSCROLL) ? 1 : 0;
    m_horzBar.visible = (style & WS_HSCROLL) ? 1 : 0;
    CSFSkinMetrics* metrics = GetMetrics();
    int vWidth = metrics ? metrics->m_cxVScroll : ::GetSystemMetrics(SM_CXVSCROLL);
    int hHeight = metrics ? metrics->m_cyHScroll : ::GetSystemMetrics(SM_CYHSCROLL);
    if (m_vertBar.visible)
    {
        if (ex & (WS_EX_LAYOUTRTL | WS_EX_LEFTSCROLLBAR))
            rect->left += vWidth;
        else
            rect->right -= vWidth;
    }
    if (m_horzBar.visible)
        rect->bottom -= hHeight;
    if (rect->bottom < rect->top)
        rect->bottom = rect->top;
    if (rect->right < rect->left)
        rect->right = rect->left;
    return 0;
}

LRESULT CSFSkinObjectFrame::OnNcHitTest(WPARAM, LPARAM lParam)
{
    LRESULT code = Default();
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToWindowPoint(m_hWnd, &pt);
    RebuildCaptionButtons();
    int own = HitTestOwnParts(pt);
    if (own != 0)
        return own;
    if (IsCaptionButtonCode(code))
        return HTCAPTION; // the system's buttons do not exist in the skinned frame
    if ((code == HTHSCROLL || code == HTVSCROLL) && !HasFlatScrollBars())
        return HTCLIENT;
    return code;
}

BOOL CSFSkinObjectFrame::TrackNcMouse(POINT point)
{
    BOOL result = FALSE;
    FrameButton* under = (point.x == -1 && point.y == -1) ? NULL : FrameButtonAt(point);
    if (under != m_hotButton)
    {
        if (m_hotButton != NULL && under == NULL)
            ::KillTimer(m_hWnd, kHoverTimer);
        m_hotButton = under;
        RepaintNonClient();
        if (under != NULL)
        {
            ::SetTimer(m_hWnd, kHoverTimer, 50, NULL);
            result = TRUE;
        }
    }
    if (m_tracking != NULL)
        return TRUE;
    BOOL timerClaimed = FALSE;
    ScrollBarLayout* bars[2] = {&m_horzBar, &m_vertBar};
    for (ScrollBarLayout* bar : bars)
    {
        int part = SFScrollBarPartAt(bar, point.x, point.y);
        if (part != bar->hotPart && bar->visible)
        {
            if (bar->hotPart != 0 && part == 0 && !timerClaimed)
                ::KillTimer(m_hWnd, kHoverTimer);
            bar->hotPart = part;
            RepaintScrollBar(bar);
        }
        if (part != 0)
        {
            ::SetTimer(m_hWnd, kHoverTimer, 50, NULL);
            timerClaimed = TRUE;
            result = TRUE;
        }
    }
    return result;
}

LRESULT CSFSkinObjectFrame::OnNcMouseMove(WPARAM, LPARAM lParam)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToWindowPoint(m_hWnd, &pt);
    RebuildCaptionButtons();
    if (!TrackNcMouse(pt))
        return Default();
    return 0;
}

LRESULT CSFSkinObjectFrame::OnNcMouseLeave(WPARAM, LPARAM)
{
    POINT none = {-1, -1};
    if (!TrackNcMouse(none))
        return Default();
    return 0;
}

void CSFSkinObjectFrame::RunButtonPress()
{
    ::SetCapture(m_hWnd);
    m_pressedButton = m_hotButton;
    RepaintNonClient();
    BOOL clicked = FALSE;
    MSG msg;
    while (::GetCapture() == m_hWnd)
    {
        BOOL got = ::GetMessageW(&msg, NULL, 0, 0);
        if (got == 0)
        {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (got == -1)
            break;
        if (msg.message == WM_LBUTTONUP)
        {
            clicked = m_pressedButton != NULL && m_pressedButton == m_hotButton;
            break;
        }
        if (msg.message == WM_NCMOUSELEAVE)
            continue;
        if (msg.message == WM_MOUSEMOVE)
        {
            POINT pt = msg.pt;
            ScreenToWindowPoint(m_hWnd, &pt);
            FrameButton* pressed = FrameButtonAt(pt) == m_hotButton ? m_hotButton : NULL;
            if (pressed != m_pressedButton)
            {
                m_pressedButton = pressed;
                RepaintNonClient();
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    int command = clicked && m_hotButton ? m_hotButton->command : 0;
    m_hotButton = m_pressedButton = NULL;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ::KillTimer(m_hWnd, kHoverTimer);
    RepaintNonClient();
    if (command != 0)
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, (WPARAM)command, 0);
}

LRESULT CSFSkinObjectFrame::OnNcLButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (m_hotButton != NULL)
    {
        RunButtonPress();
        return 0;
    }
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToWindowPoint(m_hWnd, &pt);
    ScrollBarLayout* bars[2] = {&m_horzBar, &m_vertBar};
    for (ScrollBarLayout* bar : bars)
    {
        if (SFScrollBarPartAt(bar, pt.x, pt.y) != 0)
        {
            RunScrollBarTracking(pt.x, pt.y, bar, ::GetKeyState(VK_SHIFT) < 0);
            return 0;
        }
    }
    if (IsCaptionButtonCode((LRESULT)wParam))
        return 0;
    return Default();
}

LRESULT CSFSkinObjectFrame::OnNcRButtonUp(WPARAM, LPARAM lParam)
{
    POINT screen = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    POINT pt = screen;
    ScreenToWindowPoint(m_hWnd, &pt);
    if (SFScrollBarPartAt(&m_horzBar, pt.x, pt.y) == 0 && SFScrollBarPartAt(&m_vertBar, pt.x, pt.y) == 0)
        return Default();
    {
        // The system lays out its own bars for the time of its menu.
        CounterScope suppress(m_suppressDrawing);
        RECT rc;
        GetWindowRectSafe(m_hWnd, &rc);
        ::SendMessageW(m_hWnd, WM_NCCALCSIZE, FALSE, (LPARAM)&rc);
    }
    ::SendMessageW(m_hWnd, WM_CONTEXTMENU, (WPARAM)m_hWnd, lParam);
    SystemLayoutRefresh();
    return 0;
}

LRESULT CSFSkinObjectFrame::OnNcActivate(WPARAM wParam, LPARAM lParam)
{
    if (!HasFullCaption())
        return Default();
    if (m_windowKind == SF_WINDOW_KIND_DIALOG)
    {
        BOOL unicode = ::SendMessageW(m_hWnd, WM_NOTIFYFORMAT, (WPARAM)m_hWnd, NF_QUERY) == NFR_UNICODE;
        LONG_PTR proc = unicode ? ::GetWindowLongPtrW(m_hWnd, DWLP_DLGPROC) : ::GetWindowLongPtrA(m_hWnd, DWLP_DLGPROC);
        if (proc != 0 && (ULONG_PTR)proc < 0xFFFF0000u)
            (unicode ? ::CallWindowProcW : ::CallWindowProcA)((WNDPROC)proc, m_hWnd, WM_NCACTIVATE, wParam, lParam);
    }
    BOOL active = wParam != 0;
    if (!active)
    {
        CWnd* own = CWnd::FromHandlePermanent(m_hWnd);
        if (own != NULL && (own->m_nFlags & WF_STAYACTIVE))
            active = TRUE;
        if (!::IsWindowEnabled(m_hWnd))
            active = FALSE;
    }
    if (m_mdiClient != NULL)
    {
        HWND child = (HWND)::SendMessageW(m_mdiClient->m_hWnd, WM_MDIGETACTIVE, 0, 0);
        if (child != NULL && child != m_hWnd)
        {
            ::SendMessageW(child, WM_NCACTIVATE, active, 0);
            ::SendMessageW(child, WM_NCPAINT, 1, 0);
        }
    }
    m_active = active;
    RebuildCaptionButtons();
    RepaintNonClient();
    return TRUE;
}

LRESULT CSFSkinObjectFrame::OnTimerMessage(WPARAM wParam, LPARAM)
{
    if (wParam == kHoverTimer)
    {
        RECT rc;
        GetWindowRectSafe(m_hWnd, &rc);
        POINT cursor;
        ::GetCursorPos(&cursor);
        if (::GetCapture() != NULL)
            return 0;
        POINT pt = cursor;
        ScreenToWindowPoint(m_hWnd, &pt);
        int code = HitTestOwnParts(pt);
        if (code == 0 || code == HTCLIENT || code == HTBOTTOMLEFT || code == HTBOTTOMRIGHT || !::PtInRect(&rc, cursor))
        {
            POINT none = {-1, -1};
            TrackNcMouse(none);
            ::KillTimer(m_hWnd, kHoverTimer);
        }
        return 0;
    }
    if (wParam == kLayoutTimer)
    {
        SystemLayoutRefresh();
        ::KillTimer(m_hWnd, kLayoutTimer);
        return 0;
    }
    return Default();
}

LRESULT CSFSkinObjectFrame::OnSetTextMessage(WPARAM wParam, LPARAM lParam)
{
    if (!HasFullCaption())
        return Default();
    LRESULT result = CallSavedProc(WM_SETTEXT, wParam, lParam);
    RepaintNonClient();
    return result;
}

LRESULT CSFSkinObjectFrame::OnStyleChangedMessage(WPARAM, LPARAM)
{
    LRESULT result = Default();
    FetchBorders();
    m_regionWidth = m_regionHeight = 0;
    RECT rc;
    GetWindowRectSafe(m_hWnd, &rc);
    ApplyRegionForSize(rc.right - rc.left, rc.bottom - rc.top);
    RebuildCaptionButtons();
    return result;
}

LRESULT CSFSkinObjectFrame::OnCreateMessage(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    FrameSetUp();
    return 0;
}

LRESULT CSFSkinObjectFrame::OnWindowPosChangingMessage(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    const WINDOWPOS* wp = (const WINDOWPOS*)lParam;
    if (wp && !(wp->flags & SWP_NOSIZE) && (wp->cx != m_regionWidth || wp->cy != m_regionHeight) &&
        !(ExStyleOf(m_hWnd) & WS_EX_LAYOUTRTL))
        ApplyRegionForSize(wp->cx, wp->cy);
    return result;
}

LRESULT CSFSkinObjectFrame::OnWindowPosChangedMessage(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    const WINDOWPOS* wp = (const WINDOWPOS*)lParam;
    if (wp && !(wp->flags & SWP_NOSIZE) && (wp->cx != m_regionWidth || wp->cy != m_regionHeight) &&
        (ExStyleOf(m_hWnd) & WS_EX_LAYOUTRTL))
        ApplyRegionForSize(wp->cx, wp->cy);
    return result;
}

LRESULT CSFSkinObjectFrame::OnPrintMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 1;
    if ((DWORD)lParam != PRF_NONCLIENT)
    {
        CounterScope suppress(m_suppressDrawing);
        result = CallSavedProc(WM_PRINT, wParam, lParam);
    }
    if (lParam & PRF_NONCLIENT)
    {
        DWORD style = StyleOf(m_hWnd);
        if (!(style & WS_VSCROLL))
            m_vertBar.visible = 0;
        if (!(style & WS_HSCROLL))
            m_horzBar.visible = 0;
        CDC dc;
        dc.Attach((HDC)wParam);
        if ((ExStyleOf(m_hWnd) & WS_EX_LAYOUTRTL) && !IsDCMirrored(&dc))
            MirrorDC(&dc, LAYOUT_RTL);
        RebuildCaptionButtons();
        PaintNonClient(&dc);
        dc.Detach();
    }
    return result;
}

LRESULT CSFSkinObjectFrame::OnGetMinMaxInfoMessage(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    MINMAXINFO* info = (MINMAXINFO*)lParam;
    if (info == NULL || m_manager == NULL)
        return result;
    int options = m_manager->GetApplyOptions();
    CSFSkinMetrics* metrics = GetMetrics();
    int cxEdge = metrics ? metrics->m_cxEdge : ::GetSystemMetrics(SM_CXEDGE);
    FetchBorders();
    if ((options & SF_APPLY_FRAME) && HasFullCaption())
    {
        RebuildCaptionButtons();
        int width = (int)m_buttons.size() * m_borders.top + ::GetSystemMetrics(SM_CYSIZE) + 2 * cxEdge;
        if (info->ptMinTrackSize.x < width)
            info->ptMinTrackSize.x = width;
        if (info->ptMinTrackSize.y < m_borders.top + m_borders.bottom)
            info->ptMinTrackSize.y = m_borders.top + m_borders.bottom;
    }
    if ((options & SF_APPLY_METRICS) && (ExStyleOf(m_hWnd) & WS_EX_MDICHILD))
    {
        int oldY = info->ptMaxPosition.y;
        info->ptMaxPosition.y = -m_borders.top;
        info->ptMaxSize.y += oldY + m_borders.top;
    }
    return result;
}

LRESULT CSFSkinObjectFrame::OnSysCommandMessage(WPARAM wParam, LPARAM lParam)
{
    UINT command = (UINT)(wParam & 0xFFF0);
    int options = m_manager ? m_manager->GetApplyOptions() : 0;
    DWORD style = StyleOf(m_hWnd);
    if (command == SC_MAXIMIZE && (options & SF_APPLY_METRICS) && (ExStyleOf(m_hWnd) & WS_EX_MDICHILD) &&
        !(style & WS_MAXIMIZE))
    {
        LRESULT result = Default();
        FetchBorders();
        RECT parent = {0, 0, 0, 0};
        GetClientRectSafe(::GetParent(m_hWnd), &parent);
        ::MoveWindow(m_hWnd, -m_borders.left, -m_borders.top, parent.right + m_borders.left + m_borders.right,
                     parent.bottom + m_borders.top + m_borders.bottom, TRUE);
        return result;
    }
    if ((command == SC_MOUSEMENU || command == SC_KEYMENU) && HasFullCaption() && (options & SF_APPLY_METRICS))
    {
        FetchBorders();
        RECT r = {0, 0, 100, 100};
        ::AdjustWindowRectEx(&r, style, FALSE, ExStyleOf(m_hWnd));
        s_menuOffset.x = r.left + m_borders.left;
        s_menuOffset.y = r.top + m_borders.top;
    }
    if (command == SC_MOVE && (style & WS_MINIMIZE))
    {
        CallSavedProc(WM_NCPAINT, 1, 0);
        RepaintNonClient();
    }
    LRESULT result = Default();
    if (command == SC_MINIMIZE)
        RepaintNonClient();
    s_menuOffset.x = s_menuOffset.y = 0;
    (void)lParam;
    return result;
}

LRESULT CSFSkinObjectFrame::OnEraseBkgndMessage(WPARAM, LPARAM)
{
    ULONG_PTR classBrush = (ULONG_PTR)::GetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND);
    CSFSkinMetrics* metrics = GetMetrics();
    if (classBrush >= 1 && classBrush <= 30 && metrics)
    {
        // The class's system colour is the skin's for the default's fill.
        ::SetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND, (LONG_PTR)metrics->GetBrush((int)classBrush - 1));
        LRESULT result = Default();
        ::SetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND, (LONG_PTR)classBrush);
        return result;
    }
    return Default();
}
