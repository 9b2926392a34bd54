// The scroll-bar engine of the frame: the bars' rectangles and layout, their
// drawing, and the modal loop that tracks a press on an arrow, the track or
// the thumb with the notifications a system scroll bar sends.
#include "BufferedDC.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectFrame.h"
#include "SFSkinSchema.h"
#include "SFWindowHelpers.h"

namespace
{
const UINT_PTR kScrollTimer = 0xFA45;
}

RECT CSFSkinObjectFrame::ScrollBarRect(int bar)
{
    RECT c = {0, 0, 0, 0};
    GetClientRectSafe(m_hWnd, &c);
    if (bar == SF_SBBAR_CONTROL)
        return c;
    RECT w = {0, 0, 0, 0};
    GetWindowRectSafe(m_hWnd, &w);
    ::MapWindowPoints(NULL, m_hWnd, (POINT*)&w, 2);
    CSFSkinMetrics* metrics = GetMetrics();
    int vWidth = metrics ? metrics->m_cxVScroll : ::GetSystemMetrics(SM_CXVSCROLL);
    int hHeight = metrics ? metrics->m_cyHScroll : ::GetSystemMetrics(SM_CYHSCROLL);
    RECT r;
    if (bar == SF_SBBAR_VERT)
    {
        r.top = c.top - w.top;
        r.bottom = c.bottom - w.top;
        if (::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR)
            r.left = c.left - w.left - vWidth;
        else
            r.left = c.right - w.left;
        r.right = r.left + vWidth;
        return r;
    }
    if (bar == SF_SBBAR_HORZ)
    {
        r.left = c.left - w.left;
        r.right = c.right - w.left;
        r.top = c.bottom - w.top;
        r.bottom = r.top + hHeight;
        return r;
    }
    return w;
}

void CSFSkinObjectFrame::LayoutScrollBar(ScrollBarLayout* layout)
{
    SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS};
    if (!::GetScrollInfo(m_hWnd, layout->bar, &info))
        info.nMin = info.nMax = info.nPos = 0, info.nPage = 0;
    CSFSkinMetrics* metrics = GetMetrics();
    int arrow = layout->vertical ? (metrics ? metrics->m_cyVScroll : ::GetSystemMetrics(SM_CYVSCROLL))
                                 : (metrics ? metrics->m_cxHScroll : ::GetSystemMetrics(SM_CXHSCROLL));
    SFLayoutScrollBar(layout, ScrollBarRect(layout->bar), info, arrow);
}

BOOL CSFSkinObjectFrame::RepaintScrollBar(ScrollBarLayout* layout)
{
    if (!layout->visible || m_hWnd == NULL || !::IsWindow(m_hWnd))
        return FALSE;
    CSFSkinSchema* schema = m_manager ? m_manager->GetSchema() : NULL;
    if (schema == NULL)
        return FALSE;
    BOOL control = layout->bar == SF_SBBAR_CONTROL;
    HDC hdc = control ? ::GetDC(m_hWnd) : ::GetWindowDC(m_hWnd);
    if (hdc == NULL)
        return FALSE;
    {
        RECT area = ScrollBarRect(layout->bar);
        OffsetBufferedDC buffer(hdc, area);
        if (!(m_tracking && m_tracking->layout == layout && m_tracking->dragging))
            LayoutScrollBar(layout);
        if (buffer.IsReady())
            schema->DrawScrollBar(&buffer, this, layout);
    }
    ::ReleaseDC(m_hWnd, hdc);
    return TRUE;
}

void CSFSkinObjectFrame::RepaintFrameScrollBar(int index)
{
    RepaintScrollBar(index == SF_SBBAR_HORZ ? &m_horzBar : &m_vertBar);
}

void CSFSkinObjectFrame::NotifyScroll(int command, int position)
{
    if (m_tracking == NULL || m_tracking->notifyWindow == NULL)
        return;
    ::SendMessageW(m_tracking->notifyWindow, m_tracking->vertical ? WM_VSCROLL : WM_HSCROLL,
                   MAKEWPARAM(command, position), (LPARAM)m_tracking->control);
}

POINT CSFSkinObjectFrame::TrackingPoint(ScrollBarTracking* t, POINT pt)
{
    if (t->windowCoordinates)
        ScreenToWindowPoint(m_hWnd, &pt);
    else
        ::ScreenToClient(m_hWnd, &pt);
    return pt;
}

void CSFSkinObjectFrame::ShrinkToThumb(ScrollBarTracking* t, RECT* rect)
{
    ScrollBarLayout* l = t->layout;
    if (t->command == SB_PAGEUP)
    {
        if (t->vertical)
            rect->bottom = l->thumbTop;
        else
            rect->right = l->thumbTop;
    }
    else if (t->command == SB_PAGEDOWN)
    {
        if (t->vertical)
            rect->top = l->thumbBottom;
        else
            rect->left = l->thumbBottom;
    }
}

void CSFSkinObjectFrame::MoveThumb(ScrollBarTracking* t, int pixel)
{
    ScrollBarLayout* l = t->layout;
    if (pixel == t->thumbPixel)
        return;
    const int trackEnd = l->trackStart + l->freeTrack;
    t->newPosition = SFScrollPositionFromPixel(l, pixel);
    while (t->newPosition != t->lastPosition)
    {
        NotifyScroll(SB_THUMBTRACK, t->newPosition);
        t->lastPosition = t->newPosition;
        if (pixel >= trackEnd)
        {
            pixel = trackEnd;
            t->newPosition = SFScrollPositionFromPixel(l, trackEnd);
        }
    }
    l->thumbTop = pixel;
    l->thumbBottom = pixel + l->thumbSize;
    t->thumbPixel = pixel;
    RepaintScrollBar(l);
}

void CSFSkinObjectFrame::EndTracking(ScrollBarTracking* t)
{
    t->command = 0;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (t->dragging)
    {
        NotifyScroll(SB_THUMBPOSITION, t->lastPosition);
        RepaintScrollBar(t->layout);
    }
    else if (t->timer)
    {
        ::KillTimer(m_hWnd, kScrollTimer);
        t->timer = 0;
    }
    NotifyScroll(SB_ENDSCROLL, 0);
}

void CSFSkinObjectFrame::DragStep(ScrollBarTracking* t, UINT message, POINT pt)
{
    if (message < 0x200 || message > 0x2FF)
        return;
    ScrollBarLayout* l = t->layout;
    int top;
    if (::PtInRect(&t->trackRect, pt))
    {
        top = (t->vertical ? pt.y : pt.x) + t->thumbOffset;
        if (top < l->trackStart)
            top = l->trackStart;
        if (top > l->trackStart + l->freeTrack)
            top = l->trackStart + l->freeTrack;
    }
    else
        top = l->dragOrigin; // far off the bar the thumb springs back
    MoveThumb(t, top);
    t->inside = TRUE;
    if (message == WM_LBUTTONUP || ::GetKeyState(VK_LBUTTON) >= 0)
        EndTracking(t);
}

void CSFSkinObjectFrame::TrackStep(ScrollBarTracking* t, UINT message, POINT pt)
{
    if (message != 0 && (message < 0x200 || message > 0x2FF))
        return;
    RECT rect = t->trackRect;
    ShrinkToThumb(t, &rect); // paging stops once the thumb reaches the pointer
    BOOL inside = ::PtInRect(&rect, pt);
    BOOL entered = inside && !t->inside;
    if (inside != t->inside)
    {
        t->inside = inside;
        RepaintScrollBar(t->layout);
    }
    UINT delay;
    if (message == WM_MOUSEMOVE)
        delay = ::GetDoubleClickTime() / 10;
    else if (message == WM_LBUTTONDOWN)
    {
        t->timer = 0;
        delay = ::GetDoubleClickTime() * 4u / 5u;
    }
    else
    {
        if (message == WM_LBUTTONUP)
            EndTracking(t);
        return;
    }
    if (entered)
    {
        t->timer = ::SetTimer(m_hWnd, kScrollTimer, delay, NULL);
        NotifyScroll(t->command, 0);
    }
}

void CSFSkinObjectFrame::RunScrollBarTracking(int x, int y, ScrollBarLayout* l, BOOL shift)
{
    ScrollBarTracking* t = new ScrollBarTracking;
    ZeroMemory(t, sizeof(*t));
    t->vertical = l->vertical;
    t->bar = l->bar;
    if (l->bar == SF_SBBAR_CONTROL)
    {
        t->control = m_hWnd;
        t->notifyWindow = ::GetParent(m_hWnd);
        t->windowCoordinates = FALSE;
    }
    else
    {
        t->notifyWindow = m_hWnd;
        t->windowCoordinates = TRUE;
    }
    t->command = -1;
    t->layout = l;
    m_tracking = t;

    int a = l->vertical ? y : x;
    int from, to;
    if (a < l->firstArrowEnd)
        l->hotPart = SF_SBPART_FIRSTARROW, t->command = SB_LINEUP, from = l->start, to = l->firstArrowEnd;
    else if (a >= l->secondArrowStart)
        l->hotPart = SF_SBPART_SECONDARROW, t->command = SB_LINEDOWN, from = l->secondArrowStart, to = l->end;
    else if (a < l->thumbTop)
        l->hotPart = SF_SBPART_TRACKBEFORE, t->command = SB_PAGEUP, from = l->firstArrowEnd, to = l->thumbTop;
    else if (a >= l->thumbBottom)
        l->hotPart = SF_SBPART_TRACKAFTER, t->command = SB_PAGEDOWN, from = l->thumbBottom, to = l->secondArrowStart;
    else
        l->hotPart = SF_SBPART_THUMB, from = l->thumbTop, to = l->thumbBottom;
    if (l->vertical)
        t->trackRect = {l->crossStart, from, l->crossEnd, to};
    else
        t->trackRect = {from, l->crossStart, to, l->crossEnd};

    BOOL drag = l->hotPart == SF_SBPART_THUMB ||
                (shift && (t->command == SB_PAGEUP || t->command == SB_PAGEDOWN));
    if (drag)
    {
        if (l->thumbSize >= l->secondArrowStart - l->firstArrowEnd)
        {
            // No room for the thumb to move: the press does nothing.
            l->hotPart = 0;
            m_tracking = NULL;
            delete t;
            return;
        }
        t->command = 4;
        int cross = l->crossEnd - l->crossStart;
        int along = 2 * ::GetSystemMetrics(l->vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
        t->trackRect = l->rect;
        if (l->vertical)
            ::InflateRect(&t->trackRect, 8 * cross, along);
        else
            ::InflateRect(&t->trackRect, along, 8 * cross);
        l->dragOrigin = t->thumbPixel = l->thumbTop;
        t->lastPosition = t->newPosition = l->pos;
        t->thumbOffset = shift ? -(l->thumbSize / 2) : l->thumbTop - a;
        t->dragging = TRUE;
        ::SetCapture(m_hWnd);
        NotifyScroll(SB_THUMBTRACK, l->pos);
    }
    ::SetCapture(m_hWnd);
    POINT press = {x, y};
    if (t->dragging)
        DragStep(t, WM_LBUTTONDOWN, press);
    else
        TrackStep(t, WM_LBUTTONDOWN, press);

    MSG msg;
    while (::GetCapture() == m_hWnd)
    {
        BOOL got = ::GetMessageW(&msg, NULL, 0, 0);
        if (got == 0)
        {
            AfxPostQuitMessage((int)msg.wParam);
            break;
        }
        if (got == -1)
            break;
        if (msg.message == WM_TIMER && msg.hwnd == m_hWnd && msg.wParam == kScrollTimer)
        {
            POINT cursor;
            ::GetCursorPos(&cursor);
            POINT pt = TrackingPoint(t, cursor);
            RECT rect = t->trackRect;
            ShrinkToThumb(t, &rect);
            BOOL inside = ::PtInRect(&rect, pt);
            if (inside != t->inside)
            {
                t->inside = inside;
                RepaintScrollBar(l);
            }
            if (inside)
            {
                t->timer = ::SetTimer(m_hWnd, kScrollTimer, ::GetDoubleClickTime() / 10, NULL);
                NotifyScroll(t->command, 0);
            }
            continue;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= 0x20A)
        {
            POINT pt = TrackingPoint(t, msg.pt);
            if (t->dragging)
                DragStep(t, msg.message, pt);
            else
                TrackStep(t, msg.message, pt);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (t->timer)
        ::KillTimer(m_hWnd, kScrollTimer);
    l->hotPart = 0;
    m_tracking = NULL;
    delete t;
    RepaintScrollBar(l);
}
