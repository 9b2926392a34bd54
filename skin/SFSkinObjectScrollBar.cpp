#include "SFSkinObjectScrollBar.h"
#include "BufferedDC.h"
#include "SFObjectPaintDC.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFWindowHelpers.h"
#include <windowsx.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectScrollBar, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectScrollBar, CSFSkinObjectFrame)
ON_MESSAGE(WM_CREATE, &CSFSkinObjectScrollBar::OnCreateControl)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectScrollBar::OnPaintControl)
ON_MESSAGE(WM_PRINTCLIENT, &CSFSkinObjectScrollBar::OnPrintClientControl)
ON_MESSAGE(WM_ENABLE, &CSFSkinObjectScrollBar::OnEnableControl)
ON_MESSAGE(WM_SETFOCUS, &CSFSkinObjectScrollBar::OnSetFocusControl)
ON_MESSAGE(WM_MOUSEMOVE, &CSFSkinObjectScrollBar::OnMouseMoveControl)
ON_MESSAGE(WM_MOUSELEAVE, &CSFSkinObjectScrollBar::OnMouseLeaveControl)
ON_MESSAGE(WM_LBUTTONDOWN, &CSFSkinObjectScrollBar::OnLButtonDownControl)
ON_MESSAGE(WM_LBUTTONDBLCLK, &CSFSkinObjectScrollBar::OnLButtonDownControl)
ON_MESSAGE(SBM_SETPOS, &CSFSkinObjectScrollBar::OnSetPos)
ON_MESSAGE(SBM_SETSCROLLINFO, &CSFSkinObjectScrollBar::OnSetScrollInfo)
ON_MESSAGE(SBM_GETSCROLLINFO, &CSFSkinObjectScrollBar::OnGetScrollInfo)
END_MESSAGE_MAP()

CSFSkinObjectScrollBar::CSFSkinObjectScrollBar()
{
    ZeroMemory(&m_layout, sizeof(m_layout));
    m_layout.bar = SF_SBBAR_CONTROL;
    m_className = L"SCROLLBAR";
}

BOOL CSFSkinObjectScrollBar::IsSizeBox()
{
    return (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
}

void CSFSkinObjectScrollBar::PaintControl(CDC* dc)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    OffsetBufferedDC buffer(dc->GetSafeHdc(), client);
    if (!buffer.IsReady())
        return;
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if (style & (SBS_SIZEBOX | SBS_SIZEGRIP))
    {
        FillControlBackground(&buffer, client, WM_CTLCOLORSTATIC);
        if (style & SBS_SIZEGRIP)
            if (CSFSkinClass* cls = GetSkinClass())
                cls->DrawBackground(&buffer, 10, 1, &client);
        return;
    }
    m_layout.vertical = (style & SBS_VERT) ? 1 : 0;
    m_layout.bar = SF_SBBAR_CONTROL;
    m_layout.visible = 1;
    if (!(m_tracking && m_tracking->layout == &m_layout && m_tracking->dragging))
        LayoutScrollBar(&m_layout);
    DrawScrollBar(&buffer, &m_layout);
}

void CSFSkinObjectScrollBar::PaintOnClientDC()
{
    if (!::IsWindowVisible(m_hWnd))
        return;
    HDC hdc = ::GetDC(m_hWnd);
    if (hdc == NULL)
        return;
    CDC dc;
    dc.Attach(hdc);
    PaintControl(&dc);
    dc.Detach();
    ::ReleaseDC(m_hWnd, hdc);
}

LRESULT CSFSkinObjectScrollBar::OnCreateControl(WPARAM wParam, LPARAM lParam)
{
    if (OnCreateMessage(wParam, lParam) == -1)
        return -1;
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    return 0;
}

LRESULT CSFSkinObjectScrollBar::OnPaintControl(WPARAM, LPARAM)
{
    CSFObjectPaintDC dc(this);
    PaintControl(&dc);
    return 0;
}

LRESULT CSFSkinObjectScrollBar::OnPrintClientControl(WPARAM wParam, LPARAM)
{
    CDC dc;
    dc.Attach((HDC)wParam);
    PaintControl(&dc);
    dc.Detach();
    return 1;
}

LRESULT CSFSkinObjectScrollBar::OnEnableControl(WPARAM, LPARAM)
{
    LRESULT result = Default();
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    return result;
}

LRESULT CSFSkinObjectScrollBar::OnSetFocusControl(WPARAM, LPARAM) { return 0; }

LRESULT CSFSkinObjectScrollBar::OnMouseMoveControl(WPARAM, LPARAM lParam)
{
    if (IsSizeBox())
        return 0;
    int part = SFScrollBarPartAt(&m_layout, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (part != m_layout.hotPart)
    {
        m_layout.hotPart = part;
        ::InvalidateRect(m_hWnd, NULL, FALSE);
        if (part != 0)
        {
            TrackMouseLeave();
        }
    }
    return 0;
}

LRESULT CSFSkinObjectScrollBar::OnMouseLeaveControl(WPARAM, LPARAM)
{
    return OnMouseMoveControl(0, MAKELPARAM(-1, -1));
}

LRESULT CSFSkinObjectScrollBar::OnLButtonDownControl(WPARAM, LPARAM lParam)
{
    if (IsSizeBox())
        return Default();
    RunScrollBarTracking(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &m_layout, ::GetKeyState(VK_SHIFT) < 0);
    return 0;
}

LRESULT CSFSkinObjectScrollBar::OnSetPos(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallSavedProc(SBM_SETPOS, wParam, FALSE);
    if (lParam)
        PaintOnClientDC();
    return result;
}

LRESULT CSFSkinObjectScrollBar::OnSetScrollInfo(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallSavedProc(SBM_SETSCROLLINFO, FALSE, lParam);
    if (wParam)
        PaintOnClientDC();
    return result;
}

LRESULT CSFSkinObjectScrollBar::OnGetScrollInfo(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallSavedProc(SBM_GETSCROLLINFO, wParam, lParam);
    SCROLLINFO* info = (SCROLLINFO*)lParam;
    if (info && (info->fMask & SIF_TRACKPOS) && m_tracking)
        info->nTrackPos = m_tracking->newPosition;
    return result;
}
