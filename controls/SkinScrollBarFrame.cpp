#include "SkinScrollBarFrame.h"

BEGIN_MESSAGE_MAP(CSkinScrollBarFrame, CWnd)
    ON_MESSAGE(WM_LAYOUT_LIMIT, &CSkinScrollBarFrame::OnLayoutLimit)
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CSkinScrollBarFrame* AttachSkinScrollBars(CWnd* pCtrl, HBITMAP hBitmap)
{
    CSkinScrollBarFrame* frame = new CSkinScrollBarFrame;
    if (!frame->Attach(pCtrl, hBitmap))
    {
        if (frame->m_hWnd)
            frame->DestroyWindow(); // deletes itself
        else
            delete frame;
        return nullptr;
    }
    return frame;
}

void AttachSkinScrollBarsWhenShown(CWnd* pCtrl, HBITMAP hBitmap, BOOL& attached)
{
    if (attached || !hBitmap || !(pCtrl->GetStyle() & (WS_VSCROLL | WS_HSCROLL)))
        return;
    attached = TRUE;
    AttachSkinScrollBars(pCtrl, hBitmap);
}

CSkinScrollBarFrame::CSkinScrollBarFrame()
    : m_cell(16), m_hBitmap(NULL), m_bBusy(FALSE), m_cornerMode(0), m_pfnCtrlProc(NULL), m_hCtrl(NULL),
      m_bDestroying(FALSE)
{
}

CSkinScrollBarFrame::~CSkinScrollBarFrame() = default;

BOOL CSkinScrollBarFrame::Attach(CWnd* pCtrl, HBITMAP hBitmap)
{
    if (!pCtrl || !pCtrl->GetSafeHwnd())
        return FALSE;
    m_hBitmap = hBitmap;
    BITMAP bm{};
    if (hBitmap && ::GetObjectW(hBitmap, sizeof(bm), &bm) && bm.bmWidth >= 9)
        m_cell = bm.bmWidth / 9;
    HWND hCtrl = pCtrl->GetSafeHwnd();
    HWND hParent = ::GetParent(hCtrl);
    CRect rect;
    ::GetWindowRect(hCtrl, &rect);
    ::MapWindowPoints(NULL, hParent, (LPPOINT)&rect, 2);
    UINT id = ::GetDlgCtrlID(hCtrl);
    DWORD style = (DWORD)::GetWindowLongPtrW(hCtrl, GWL_STYLE);
    DWORD exStyle = (DWORD)::GetWindowLongPtrW(hCtrl, GWL_EXSTYLE);
    DWORD frameStyle = (style & WS_VISIBLE) ? 0x50000100 : 0x40000100;
    DWORD frameExStyle = 0;
    CSize size = rect.Size();
    if (style & WS_BORDER)
    {
        ::SetWindowLongPtrW(hCtrl, GWL_STYLE, style & ~WS_BORDER);
        frameStyle |= WS_BORDER;
        size.cx -= 2 * ::GetSystemMetrics(SM_CXBORDER);
        size.cy -= 2 * ::GetSystemMetrics(SM_CXBORDER);
    }
    if (exStyle & WS_EX_CLIENTEDGE)
    {
        exStyle &= ~WS_EX_CLIENTEDGE;
        ::SetWindowLongPtrW(hCtrl, GWL_EXSTYLE, exStyle);
        frameExStyle |= WS_EX_CLIENTEDGE;
        size.cx -= 2 * ::GetSystemMetrics(SM_CXEDGE);
        size.cy -= 2 * ::GetSystemMetrics(SM_CXEDGE);
    }
    if (exStyle & WS_EX_TOOLWINDOW)
        frameExStyle |= 0x88;
    if (!CreateEx(frameExStyle, AfxRegisterWndClass(0), L"SkinScrollBarFrame", frameStyle, rect.left, rect.top,
                  rect.Width(), rect.Height(), hParent, (HMENU)(UINT_PTR)id))
        return FALSE;
    m_limit.CreateEx(0, AfxRegisterWndClass(0), L"LIMIT", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_hWnd,
                     (HMENU)(UINT_PTR)ID_LIMIT);
    m_horz.Create(WS_CHILD, CRect(0, 0, 0, 0), this, ID_HORZ);
    m_vert.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, ID_VERT);
    m_horz.SetBitmap(hBitmap);
    m_vert.SetBitmap(hBitmap);

    m_hCtrl = hCtrl;
    ::SetParent(hCtrl, m_limit.m_hWnd);
    ::SetWindowLongPtrW(hCtrl, GWLP_USERDATA, (LONG_PTR)this);
    m_pfnCtrlProc = (WNDPROC)::SetWindowLongPtrW(hCtrl, GWLP_WNDPROC, (LONG_PTR)ControlProc);
    ::SetWindowPos(hCtrl, NULL, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_FRAMECHANGED);
    SetTimer(100, 500);
    return TRUE;
}

void CSkinScrollBarFrame::Detach()
{
    if (!m_hCtrl)
        return;
    HWND hCtrl = m_hCtrl;
    m_hCtrl = NULL;
    ::SetWindowLongPtrW(hCtrl, GWLP_WNDPROC, (LONG_PTR)m_pfnCtrlProc);
    ::SetWindowLongPtrW(hCtrl, GWLP_USERDATA, 0);
    if (m_bDestroying || !m_hWnd)
        return; // the frame is already going with its parent
    CRect rect;
    GetWindowRect(&rect);
    HWND hParent = ::GetParent(m_hWnd);
    ::MapWindowPoints(NULL, hParent, (LPPOINT)&rect, 2);
    ::SetParent(hCtrl, hParent);
    ::MoveWindow(hCtrl, rect.left, rect.top, rect.Width(), rect.Height(), FALSE);
    DestroyWindow(); // deletes the frame
}

void CSkinScrollBarFrame::OnDestroy()
{
    m_bDestroying = TRUE;
    KillTimer(100);
    if (m_hCtrl)
    {
        // The control goes with the frame: it keeps no procedure of ours.
        ::SetWindowLongPtrW(m_hCtrl, GWLP_WNDPROC, (LONG_PTR)m_pfnCtrlProc);
        ::SetWindowLongPtrW(m_hCtrl, GWLP_USERDATA, 0);
        m_hCtrl = NULL;
    }
    Default();
}

LRESULT CALLBACK CSkinScrollBarFrame::ControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CSkinScrollBarFrame* frame = (CSkinScrollBarFrame*)::GetWindowLongPtrW(hWnd, GWLP_USERDATA);
    if (!frame)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    WNDPROC previous = frame->m_pfnCtrlProc;
    if (message == WM_DESTROY)
    {
        frame->Detach();
        return ::CallWindowProcW(previous, hWnd, message, wParam, lParam);
    }
    LRESULT result = ::CallWindowProcW(previous, hWnd, message, wParam, lParam);
    if (frame->m_bBusy)
        return result;
    DWORD style = (DWORD)::GetWindowLongPtrW(hWnd, GWL_STYLE);
    DWORD exStyle = (DWORD)::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
    if (message == WM_ERASEBKGND)
    {
        if (style & WS_VSCROLL)
            frame->SyncBar(SB_VERT);
        if (style & WS_HSCROLL)
            frame->SyncBar(SB_HORZ);
        frame->PostMessage(WM_LAYOUT_LIMIT, (style & WS_VSCROLL) != 0, (exStyle & WS_EX_LEFTSCROLLBAR) != 0);
    }
    else if (message == WM_NCCALCSIZE && wParam)
    {
        // The skinned bars are one cell thick where the standard ones were
        // wider: the client area grows by the difference, so that it fills
        // "LIMIT" and the standard bars lie outside it.
        NCCALCSIZE_PARAMS* p = (NCCALCSIZE_PARAMS*)lParam;
        int grow = ::GetSystemMetrics(SM_CXVSCROLL) - frame->m_cell;
        if (style & WS_VSCROLL)
        {
            if (exStyle & WS_EX_LEFTSCROLLBAR)
                p->rgrc[0].left -= grow;
            else
                p->rgrc[0].right += grow;
        }
        if (style & WS_HSCROLL)
            p->rgrc[0].bottom += grow;
        frame->m_cornerMode =
            ((style & WS_VSCROLL) && (style & WS_HSCROLL)) ? ((exStyle & WS_EX_LEFTSCROLLBAR) ? 1 : 2) : 0;
        frame->PostMessage(WM_LAYOUT_LIMIT, (style & WS_VSCROLL) != 0, (exStyle & WS_EX_LEFTSCROLLBAR) != 0);
    }
    return result;
}

void CSkinScrollBarFrame::SyncBar(int nBar, BOOL bRedraw)
{
    if (!m_hCtrl)
        return;
    CSkinScrollBar& bar = nBar == SB_VERT ? m_vert : m_horz;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    if (!::GetScrollInfo(m_hCtrl, nBar, &si))
        return;
    if (si.nMin == bar.m_si.nMin && si.nMax == bar.m_si.nMax && si.nPage == bar.m_si.nPage && si.nPos == bar.m_si.nPos)
        return;
    si.fMask = SIF_PAGE | SIF_POS | SIF_RANGE;
    bar.SendMessage(SBM_SETSCROLLINFO, bRedraw, (LPARAM)&si);
    bar.EnableWindow(si.nMax >= (int)si.nPage);
}

LRESULT CSkinScrollBarFrame::OnLayoutLimit(WPARAM wParam, LPARAM lParam)
{
    if (!m_hCtrl)
        return 0;
    m_bBusy = TRUE;
    CRect client;
    GetClientRect(&client);
    DWORD style = (DWORD)::GetWindowLongPtrW(m_hCtrl, GWL_STYLE);
    BOOL vertical = (BOOL)wParam, left = (BOOL)lParam, horizontal = (style & WS_HSCROLL) != 0;
    CRect limit = client;
    if (horizontal)
        limit.bottom -= m_cell;
    int shift = 0;
    if (vertical)
    {
        if (left)
        {
            limit.left += m_cell;
            shift = -m_cell;
        }
        else
            limit.right -= m_cell;
    }
    m_limit.MoveWindow(&limit, TRUE);
    ::SetWindowPos(m_hCtrl, NULL, shift, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (vertical)
        m_vert.MoveWindow(left ? 0 : client.right - m_cell, 0, m_cell, limit.Height());
    if (horizontal)
        m_horz.MoveWindow(limit.left, client.bottom - m_cell, limit.Width(), m_cell);
    m_vert.ShowWindow(vertical ? SW_SHOW : SW_HIDE);
    m_horz.ShowWindow(horizontal ? SW_SHOW : SW_HIDE);
    m_cornerMode = (vertical && horizontal) ? (left ? 1 : 2) : 0;
    m_bBusy = FALSE;
    return 0;
}

void CSkinScrollBarFrame::OnSize(UINT, int cx, int cy)
{
    if (m_hCtrl && cx > 0 && cy > 0)
        ::SetWindowPos(m_hCtrl, NULL, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSkinScrollBarFrame::Forward(UINT message, UINT code, UINT pos)
{
    if (!m_hCtrl)
        return;
    m_bBusy = TRUE;
    ::SendMessageW(m_hCtrl, message, MAKEWPARAM(code, pos), 0);
    m_bBusy = FALSE;
    if (code != SB_THUMBTRACK)
        SyncBar(message == WM_VSCROLL ? SB_VERT : SB_HORZ);
}

void CSkinScrollBarFrame::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    Forward(WM_VSCROLL, nSBCode, nPos);
}

void CSkinScrollBarFrame::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    Forward(WM_HSCROLL, nSBCode, nPos);
}

void CSkinScrollBarFrame::OnTimer(UINT_PTR)
{
    if (m_vert.IsWindowVisible() && !m_vert.IsDragging())
        SyncBar(SB_VERT);
    if (m_horz.IsWindowVisible() && !m_horz.IsDragging())
        SyncBar(SB_HORZ);
}

void CSkinScrollBarFrame::OnPaint()
{
    CPaintDC dc(this);
    if (!m_hBitmap || m_cornerMode == 0)
        return;
    CRect client;
    GetClientRect(&client);
    CDC src;
    src.CreateCompatibleDC(&dc);
    HGDIOBJ old = src.SelectObject((HGDIOBJ)m_hBitmap);
    int x = m_cornerMode == 2 ? client.right - m_cell : 0;
    int row = m_cornerMode == 2 ? 0 : 1;
    dc.BitBlt(x, client.bottom - m_cell, m_cell, m_cell, &src, 8 * m_cell, row * m_cell, SRCCOPY);
    src.SelectObject(old);
}
