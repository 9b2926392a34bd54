#include "SkinScrollBar.h"
#include "MemoryDC.h"

#include <algorithm>

namespace
{
const UINT_PTR kFirstRepeatTimer = 200; // 500 ms after a press
const UINT_PTR kRepeatTimer = 100;      // every 100 ms after that
} // namespace

BEGIN_MESSAGE_MAP(CSkinScrollBar, CScrollBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_MESSAGE(SBM_SETSCROLLINFO, &CSkinScrollBar::OnSetScrollInfo)
    ON_MESSAGE(SBM_GETSCROLLINFO, &CSkinScrollBar::OnGetScrollInfo)
END_MESSAGE_MAP()

CSkinScrollBar::CSkinScrollBar()
    : m_hBitmap(NULL), m_cell(0), m_length(0), m_si{}, m_bDragging(FALSE), m_dragStartPos(0),
      m_pressedPart(PART_NONE), m_bAutoRepeat(FALSE), m_hotPart(PART_NONE), m_bOutsidePressed(FALSE),
      m_bTrackingLeave(FALSE)
{
    m_si.cbSize = sizeof(m_si);
    m_si.nTrackPos = -1;
}

ScrollBarMetrics CSkinScrollBar::Measure(const SCROLLINFO& si, int cell, int length, bool forHitTest)
{
    ScrollBarMetrics m{};
    m.track = std::max(0, length - 2 * cell);
    m.arrow = m.track == 0 ? length / 2 : cell;
    long long range = (long long)si.nMax - si.nMin + 1;
    m.free = std::max(0, si.nMax - si.nMin - (int)si.nPage + 1);
    bool noThumb = m.track <= 7 || range <= 0 || (!forHitTest && m.free == 0);
    m.thumb = noThumb ? 0 : (int)std::min<long long>(m.track, std::max<long long>(8, (long long)si.nPage * m.track / range));
    // Positions count from the minimum, so a range that does not start at 0
    // still puts the thumb at the top for the first position.
    int p = (si.nTrackPos != -1 ? si.nTrackPos : si.nPos) - si.nMin;
    p = std::max(0, std::min(p, m.free));
    m.thumbOffset = m.arrow + (m.free != 0 ? (int)((long long)(m.track - m.thumb) * p / m.free) : (m.track - m.thumb) / 2);
    return m;
}

int CSkinScrollBar::DragPosition(const SCROLLINFO& si, int startPos, int delta, int cell, int length)
{
    ScrollBarMetrics m = Measure(si, cell, length);
    int span = m.track - m.thumb;
    int moved = span != 0 ? (int)((long long)m.free * delta / span) : 0;
    return std::max(si.nMin, std::min(startPos + moved, si.nMin + m.free));
}

ScrollBarMetrics CSkinScrollBar::Metrics(bool forHitTest) const
{
    return Measure(m_si, m_cell, m_length, forHitTest);
}

void CSkinScrollBar::SetBitmap(HBITMAP hBitmap)
{
    m_hBitmap = hBitmap;
    BITMAP bm{};
    m_cell = (hBitmap && ::GetObjectW(hBitmap, sizeof(bm), &bm)) ? bm.bmWidth / 9 : 0;
    if (!m_hWnd)
        return;
    CRect rect;
    GetWindowRect(&rect);
    if (IsVertical())
        SetWindowPos(NULL, 0, 0, m_cell, rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(NULL, 0, 0, rect.Width(), m_cell, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSkinScrollBar::OnSize(UINT, int cx, int cy)
{
    m_length = IsVertical() ? cy : cx;
}

int CSkinScrollBar::HitTest(CPoint point)
{
    int along = IsVertical() ? point.y : point.x;
    ScrollBarMetrics m = Metrics(true);
    if (along < 0)
        return PART_NONE;
    if (along < m.arrow)
        return PART_LINEUP;
    if (along < m.thumbOffset)
        return PART_PAGEUP;
    if (along < m.thumbOffset + m.thumb)
        return PART_THUMB;
    if (along < m_length - m.arrow)
        return PART_PAGEDOWN;
    return PART_LINEDOWN;
}

CRect CSkinScrollBar::GetPartRect(int part)
{
    ScrollBarMetrics m = Metrics();
    int from = 0, to = 0;
    switch (part)
    {
    case PART_LINEUP: from = 0, to = m.arrow; break;
    case PART_PAGEUP: from = m.arrow, to = m.thumbOffset; break;
    case PART_THUMB: from = m.thumbOffset, to = m.thumbOffset + m.thumb; break;
    case PART_PAGEDOWN: from = m.thumbOffset + m.thumb, to = m_length - m.arrow; break;
    case PART_LINEDOWN: from = m_length - m.arrow, to = m_length; break;
    default: break;
    }
    return IsVertical() ? CRect(0, from, m_cell, to) : CRect(from, 0, to, m_cell);
}

int CSkinScrollBar::SkinColumn(int part) const
{
    int column = part == PART_LINEUP ? 0 : part == PART_LINEDOWN ? 1 : part == PART_THUMB ? 2 : 3;
    return IsVertical() ? column : column + 4;
}

void CSkinScrollBar::TileBlt(CDC* pDC, const CRect& rect, CDC* pSrc, int srcX, int srcY, int srcW, int srcH)
{
    if (srcW <= 0 || srcH <= 0)
        return;
    for (int y = rect.top; y < rect.bottom; y += srcH)
        for (int x = rect.left; x < rect.right; x += srcW)
            pDC->BitBlt(x, y, std::min<int>(srcW, rect.right - x), std::min<int>(srcH, rect.bottom - y), pSrc, srcX, srcY,
                        SRCCOPY);
}

void CSkinScrollBar::DrawThumb(CDC* pDC, const CRect& rect, int row)
{
    if (rect.IsRectEmpty() || !m_hBitmap)
        return;
    CDC src;
    src.CreateCompatibleDC(pDC);
    HGDIOBJ old = src.SelectObject((HGDIOBJ)m_hBitmap);
    int x0 = SkinColumn(PART_THUMB) * m_cell, y0 = row * m_cell;
    const int end = 4;
    if (IsVertical())
    {
        int h = rect.Height();
        int e = std::min(end, h / 2);
        pDC->BitBlt(rect.left, rect.top, m_cell, e, &src, x0, y0, SRCCOPY);
        pDC->BitBlt(rect.left, rect.bottom - e, m_cell, e, &src, x0, y0 + m_cell - e, SRCCOPY);
        TileBlt(pDC, CRect(rect.left, rect.top + e, rect.right, rect.bottom - e), &src, x0, y0 + end, m_cell,
                m_cell - 2 * end);
    }
    else
    {
        int w = rect.Width();
        int e = std::min(end, w / 2);
        pDC->BitBlt(rect.left, rect.top, e, m_cell, &src, x0, y0, SRCCOPY);
        pDC->BitBlt(rect.right - e, rect.top, e, m_cell, &src, x0 + m_cell - e, y0, SRCCOPY);
        TileBlt(pDC, CRect(rect.left + e, rect.top, rect.right - e, rect.bottom), &src, x0 + end, y0,
                m_cell - 2 * end, m_cell);
    }
    src.SelectObject(old);
}

void CSkinScrollBar::DrawTrack(CDC* pDC, const CRect& rect)
{
    if (rect.IsRectEmpty() || !m_hBitmap)
        return;
    CDC src;
    src.CreateCompatibleDC(pDC);
    HGDIOBJ old = src.SelectObject((HGDIOBJ)m_hBitmap);
    TileBlt(pDC, rect, &src, SkinColumn(PART_PAGEUP) * m_cell, 0, m_cell, m_cell);
    src.SelectObject(old);
}

void CSkinScrollBar::DrawPart(CDC* pDC, int part, int row)
{
    if (!m_hBitmap || m_cell <= 0)
        return;
    CRect rect = GetPartRect(part);
    if (part == PART_THUMB)
    {
        DrawThumb(pDC, rect, row);
        return;
    }
    if (part == PART_PAGEUP || part == PART_PAGEDOWN)
    {
        DrawTrack(pDC, rect);
        return;
    }
    CDC src;
    src.CreateCompatibleDC(pDC);
    HGDIOBJ old = src.SelectObject((HGDIOBJ)m_hBitmap);
    int x0 = SkinColumn(part) * m_cell, y0 = row * m_cell;
    if (rect.Width() == m_cell && rect.Height() == m_cell)
        pDC->BitBlt(rect.left, rect.top, m_cell, m_cell, &src, x0, y0, SRCCOPY);
    else
        pDC->StretchBlt(rect.left, rect.top, rect.Width(), rect.Height(), &src, x0, y0, m_cell, m_cell, SRCCOPY);
    src.SelectObject(old);
}

void CSkinScrollBar::OnPaint()
{
    CPaintDC dc(this);
    if (!m_hBitmap)
        return;
    CRect client;
    GetClientRect(&client);
    CMemoryDC mem(&dc, &client);
    DrawPart(&mem, PART_LINEUP, 0);
    DrawPart(&mem, PART_LINEDOWN, 0);
    DrawPart(&mem, PART_THUMB, 0);
    DrawPart(&mem, PART_PAGEUP, 0);
    DrawPart(&mem, PART_PAGEDOWN, 0);
}

void CSkinScrollBar::RedrawParts(int row)
{
    CClientDC dc(this);
    DrawPart(&dc, PART_PAGEUP, 0);
    DrawPart(&dc, PART_THUMB, row);
    DrawPart(&dc, PART_PAGEDOWN, 0);
}

void CSkinScrollBar::SendScroll(int code, int pos)
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::SendMessageW(parent, IsVertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos), (LPARAM)m_hWnd);
}

BOOL CSkinScrollBar::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
    return TRUE;
}

void CSkinScrollBar::OnLButtonDown(UINT, CPoint point)
{
    SetCapture();
    int part = HitTest(point);
    if (part == PART_THUMB)
    {
        m_bDragging = TRUE;
        m_dragStart = point;
        m_si.nTrackPos = m_dragStartPos = m_si.nPos;
        return;
    }
    if (part == PART_NONE)
        return;
    m_pressedPart = part;
    SendScroll(part);
    SetTimer(kFirstRepeatTimer, 500);
    m_bOutsidePressed = FALSE;
    if (part == PART_LINEUP || part == PART_LINEDOWN)
    {
        CClientDC dc(this);
        DrawPart(&dc, part, 2);
    }
}

void CSkinScrollBar::RepeatStep()
{
    if (m_bOutsidePressed)
        return;
    switch (m_pressedPart)
    {
    case PART_LINEUP:
        if (m_si.nPos == m_si.nMin)
            KillTimer(kRepeatTimer);
        else
            SendScroll(SB_LINEUP);
        break;
    case PART_LINEDOWN:
        if (m_si.nPos == m_si.nMax)
            KillTimer(kRepeatTimer);
        else
            SendScroll(SB_LINEDOWN);
        break;
    case PART_PAGEUP:
    case PART_PAGEDOWN:
    {
        CPoint cursor;
        ::GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        if (GetPartRect(PART_THUMB).PtInRect(cursor))
            KillTimer(kRepeatTimer);
        else
            SendScroll(m_pressedPart);
        break;
    }
    default:
        break;
    }
}

void CSkinScrollBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kFirstRepeatTimer)
    {
        KillTimer(kFirstRepeatTimer);
        m_bAutoRepeat = TRUE;
        SetTimer(kRepeatTimer, 100);
        RepeatStep();
    }
    else if (nIDEvent == kRepeatTimer)
        RepeatStep();
}

void CSkinScrollBar::OnMouseMove(UINT, CPoint point)
{
    if (!m_bTrackingLeave)
    {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, m_hWnd, 0};
        m_bTrackingLeave = ::TrackMouseEvent(&tme);
    }
    if (m_bDragging)
    {
        int delta = IsVertical() ? point.y - m_dragStart.y : point.x - m_dragStart.x;
        int pos = DragPosition(m_si, m_dragStartPos, delta, m_cell, m_length);
        if (pos != m_si.nTrackPos)
        {
            CClientDC dc(this);
            DrawTrack(&dc, GetPartRect(PART_THUMB)); // the strip the thumb leaves
            m_si.nTrackPos = pos;
            DrawPart(&dc, PART_THUMB, 2);
            CWnd* frame = GetParent();
            if (frame && frame->GetParent())
                SendScroll(SB_THUMBTRACK, pos);
            else
                m_si.nPos = pos;
        }
        return;
    }
    if (m_pressedPart == PART_NONE)
    {
        int part = (point.x < 0 && point.y < 0) ? PART_NONE : HitTest(point);
        if (part == m_hotPart)
            return;
        CClientDC dc(this);
        if (m_hotPart == PART_LINEUP || m_hotPart == PART_LINEDOWN || m_hotPart == PART_THUMB)
            DrawPart(&dc, m_hotPart, 0);
        m_hotPart = part;
        if (part == PART_LINEUP || part == PART_LINEDOWN || part == PART_THUMB)
            DrawPart(&dc, part, 1);
        return;
    }
    BOOL inside = GetPartRect(m_pressedPart).PtInRect(point);
    m_bOutsidePressed = !inside;
    if (m_pressedPart == PART_LINEUP || m_pressedPart == PART_LINEDOWN)
    {
        CClientDC dc(this);
        DrawPart(&dc, m_pressedPart, inside ? 2 : 0);
    }
}

void CSkinScrollBar::OnMouseLeave()
{
    m_bTrackingLeave = FALSE;
    OnMouseMove(0, CPoint(-1, -1));
}

void CSkinScrollBar::OnLButtonUp(UINT, CPoint point)
{
    ::ReleaseCapture();
    if (m_bDragging)
    {
        m_bDragging = FALSE;
        SendScroll(SB_THUMBPOSITION, m_si.nTrackPos);
        CClientDC dc(this);
        if (m_si.nTrackPos != m_si.nPos)
            DrawTrack(&dc, GetPartRect(PART_THUMB));
        m_si.nTrackPos = -1;
        DrawPart(&dc, PART_THUMB, GetPartRect(PART_THUMB).PtInRect(point) ? 1 : 0);
        return;
    }
    if (m_pressedPart != PART_NONE)
    {
        KillTimer(m_bAutoRepeat ? kRepeatTimer : kFirstRepeatTimer);
        m_bAutoRepeat = FALSE;
        if (m_pressedPart == PART_LINEUP || m_pressedPart == PART_LINEDOWN)
        {
            CClientDC dc(this);
            DrawPart(&dc, m_pressedPart, 0);
        }
        m_pressedPart = PART_NONE;
    }
}

LRESULT CSkinScrollBar::OnSetScrollInfo(WPARAM wParam, LPARAM lParam)
{
    const SCROLLINFO* si = (const SCROLLINFO*)lParam;
    if (!si)
        return 0;
    if (si->fMask & SIF_PAGE)
        m_si.nPage = si->nPage;
    if (si->fMask & SIF_POS)
        m_si.nPos = si->nPos;
    if (si->fMask & SIF_RANGE)
    {
        m_si.nMin = si->nMin;
        m_si.nMax = si->nMax;
    }
    if (wParam && m_hWnd)
        RedrawParts(0);
    return 1;
}

LRESULT CSkinScrollBar::OnGetScrollInfo(WPARAM, LPARAM lParam)
{
    SCROLLINFO* si = (SCROLLINFO*)lParam;
    if (!si)
        return 0;
    if (si->fMask & SIF_PAGE)
        si->nPage = m_si.nPage;
    if (si->fMask & SIF_POS)
        si->nPos = m_si.nPos;
    if (si->fMask & SIF_TRACKPOS)
        si->nTrackPos = m_si.nTrackPos;
    if (si->fMask & SIF_RANGE)
    {
        si->nMin = m_si.nMin;
        si->nMax = m_si.nMax;
    }
    return 1;
}
