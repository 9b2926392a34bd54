#include "SplitterBar.h"
#include "MemoryDC.h"
#include "SkinFrame.h"

#include <algorithm>

namespace
{
HCURSOR g_sizeWE = NULL;
HCURSOR g_sizeNS = NULL;
} // namespace

BEGIN_MESSAGE_MAP(CSplitterBar, CStatic)
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSplitterBar::CSplitterBar()
    : m_bDragging(FALSE), m_nStyle(VERTICAL), m_trackerX(0), m_trackerY(0), m_nMin(-2), m_nMax(-2), m_dragStart(0),
      m_penColour(RGB(0xA9, 0xB7, 0xC9)), m_brushColour(RGB(0xF6, 0xF6, 0xF6)), m_nGripBitmap(0)
{
}

CPoint CSplitterBar::ClampToRange(CPoint point, int nMin, int nMax)
{
    point.x = std::max<LONG>(nMin, std::min<LONG>(point.x, nMax));
    point.y = std::max<LONG>(nMin, std::min<LONG>(point.y, nMax));
    return point;
}

CPoint CSplitterBar::Centre() const
{
    CRect rect;
    GetWindowRect(&rect);
    return rect.CenterPoint();
}

BOOL CSplitterBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    CRect r(rect);
    if (r.Width() < r.Height())
    {
        m_nStyle = VERTICAL;
        r.right = r.left + 3;
    }
    else
    {
        m_nStyle = HORIZONTAL;
        r.bottom = r.top + 5;
    }
    if (!CStatic::Create(L"", dwStyle | SS_NOTIFY, r, pParentWnd, nID))
        return FALSE;
    if (!g_sizeWE)
        g_sizeWE = ::LoadCursorW(NULL, IDC_SIZEWE);
    if (!g_sizeNS)
        g_sizeNS = ::LoadCursorW(NULL, IDC_SIZENS);
    CPoint centre = Centre();
    m_nMin = m_nMax = m_nStyle == VERTICAL ? centre.x : centre.y;
    return TRUE;
}

BOOL CSplitterBar::OnSetCursor(CWnd*, UINT nHitTest, UINT)
{
    if (nHitTest != HTCLIENT)
        return (BOOL)Default();
    ::SetCursor(m_nStyle == VERTICAL ? g_sizeWE : g_sizeNS);
    return FALSE;
}

void CSplitterBar::DrawTracker(CDC* pDC, int x, int y)
{
    CRect rect;
    GetWindowRect(&rect);
    int oldRop = pDC->SetROP2(R2_NOTXORPEN);
    CPen pen(PS_SOLID, 3, RGB(0, 0, 0));
    CPen* oldPen = pDC->SelectObject(&pen);
    if (m_nStyle == VERTICAL)
    {
        pDC->MoveTo(x, rect.top);
        pDC->LineTo(x, rect.bottom);
    }
    else
    {
        pDC->MoveTo(rect.left, y);
        pDC->LineTo(rect.right, y);
    }
    pDC->SelectObject(oldPen);
    pDC->SetROP2(oldRop);
}

void CSplitterBar::DrawTrackerOnScreen()
{
    HDC hdc = ::GetDC(NULL);
    DrawTracker(CDC::FromHandle(hdc), m_trackerX, m_trackerY);
    ::ReleaseDC(NULL, hdc);
}

void CSplitterBar::OnLButtonDown(UINT, CPoint)
{
    Default();
    m_bDragging = TRUE;
    SetCapture();
    CPoint centre = Centre();
    m_trackerX = centre.x;
    m_trackerY = centre.y;
    m_dragStart = m_nStyle == VERTICAL ? centre.x : centre.y;
    DrawTrackerOnScreen();
}

void CSplitterBar::OnMouseMove(UINT, CPoint point)
{
    if (m_bDragging)
    {
        DrawTrackerOnScreen();
        CWnd* parent = GetParent();
        ClientToScreen(&point);
        if (parent)
            parent->ScreenToClient(&point);
        point = ClampToRange(point, m_nMin, m_nMax);
        if (parent)
            parent->ClientToScreen(&point);
        // Only the axis the bar moves along follows the mouse.
        if (m_nStyle == VERTICAL)
            m_trackerX = point.x;
        else
            m_trackerY = point.y;
        DrawTrackerOnScreen();
    }
    Default();
}

void CSplitterBar::OnLButtonUp(UINT, CPoint)
{
    if (m_bDragging)
    {
        DrawTrackerOnScreen();
        m_bDragging = FALSE;
        CWnd* target = GetOwner() ? GetOwner() : GetParent();
        CWnd* parent = GetParent();
        if (target && parent)
        {
            CPoint tracker(m_trackerX, m_trackerY);
            parent->ScreenToClient(&tracker);
            CRect rect;
            GetWindowRect(&rect);
            parent->ScreenToClient(&rect);
            if (m_nStyle == VERTICAL)
                rect.OffsetRect(tracker.x - rect.CenterPoint().x, 0);
            else
                rect.OffsetRect(0, tracker.y - rect.CenterPoint().y);
            SetWindowPos(NULL, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
            SplitterNotify note{};
            note.hdr.hwndFrom = m_hWnd;
            note.hdr.idFrom = GetDlgCtrlID();
            note.hdr.code = NOTIFY_MOVED;
            note.delta = (m_nStyle == VERTICAL ? m_trackerX : m_trackerY) - m_dragStart;
            target->SendMessage(WM_NOTIFY, note.hdr.idFrom, (LPARAM)&note);
        }
    }
    Default();
    ::ReleaseCapture();
}

void CSplitterBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemoryDC mem(&dc, &client);
    CBrush penBrush(m_penColour), fillBrush(m_brushColour);
    mem.FrameRect(&client, &penBrush);
    CRect inner(client.left + 1, client.top, client.right - 1, client.bottom);
    CPen pen(PS_SOLID, 1, m_penColour);
    CPen* oldPen = mem.SelectObject(&pen);
    CBrush* oldBrush = mem.SelectObject(&fillBrush);
    mem.Rectangle(&inner);
    mem.SelectObject(oldPen);
    mem.SelectObject(oldBrush);
    mem.FrameRect(&inner, &fillBrush);
    if (m_nGripBitmap)
    {
        CBitmap grip;
        if (SkinFrame::LoadBitmapResource(grip, m_nGripBitmap))
        {
            CSize size = SkinFrame::GetBitmapSize(grip);
            if (m_nStyle == HORIZONTAL)
                SkinFrame::DrawBitmap(grip, &mem, inner.Width() / 2 - size.cx / 2 + 1, 0);
            else
                SkinFrame::DrawBitmap(grip, &mem, (inner.Width() - size.cx) / 2 + 1, client.Height() / 2 - size.cy / 2);
        }
    }
}
