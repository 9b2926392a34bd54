#include "SFSkinObjectSpin.h"
#include "BufferedDC.h"
#include "SFGdiHelpers.h"
#include "SFObjectPaintDC.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFWindowHelpers.h"
#include "SchemaNames.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectSpin, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectSpin, CSFSkinObjectFrame)
ON_MESSAGE(WM_ERASEBKGND, &CSFSkinObjectSpin::OnEraseNothing)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectSpin::OnPaintOwnClient)
ON_MESSAGE(WM_PRINTCLIENT, &CSFSkinObjectSpin::OnPrintOwnClient)
ON_MESSAGE(WM_LBUTTONDOWN, &CSFSkinObjectSpin::OnLButtonDownControl)
ON_MESSAGE(WM_LBUTTONUP, &CSFSkinObjectSpin::OnLButtonUpControl)
ON_MESSAGE(WM_MOUSEMOVE, &CSFSkinObjectSpin::OnMouseMoveControl)
ON_MESSAGE(WM_MOUSELEAVE, &CSFSkinObjectSpin::OnMouseLeaveControl)
ON_MESSAGE(WM_TIMER, &CSFSkinObjectSpin::OnTimerControl)
END_MESSAGE_MAP()

namespace
{
const int kPartUp = 1, kPartDown = 2, kPartUpHorz = 3, kPartDownHorz = 4;
const int kStateNormal = 1, kStateHot = 2, kStatePressed = 3, kStateDisabled = 4;
const UINT_PTR kHoverTimer = 2763, kLayoutTimer = 2765;
} // namespace

CSFSkinObjectSpin::CSFSkinObjectSpin() : m_hot(0), m_pressed(0) { m_className = L"SPIN"; }

int CSFSkinObjectSpin::HitTest(POINT point)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    if (!::PtInRect(&client, point))
        return 0;
    int width = client.right - client.left, height = client.bottom - client.top;
    if (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & UDS_HORZ)
    {
        int x = point.x - client.left;
        return x < width / 2 ? 1 : x > width / 2 ? 2 : 0;
    }
    int y = point.y - client.top;
    return y > height / 2 ? 1 : y < height / 2 ? 2 : 0;
}

int CSFSkinObjectSpin::GetButtonState(int button)
{
    int other = button == 1 ? 2 : 1;
    int low = 0, high = 0;
    ::SendMessageW(m_hWnd, UDM_GETRANGE32, (WPARAM)&low, (LPARAM)&high);
    if (!::IsWindowEnabled(m_hWnd) || low == high)
        return kStateDisabled;
    if (m_pressed == button && m_hot == button)
        return kStatePressed;
    if (m_pressed == button || (m_hot == button && m_pressed != other))
        return kStateHot;
    return kStateNormal;
}

void CSFSkinObjectSpin::PaintControl(CDC* dc)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    OffsetBufferedDC buffer(dc->GetSafeHdc(), client);
    if (!buffer.IsReady())
        return;
    HDC hdc = buffer.GetSafeHdc();
    FillRectOpaque(hdc, client, GetColor(COLOR_BTNFACE));
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    RECT area = client;
    HWND buddy = (HWND)::SendMessageW(m_hWnd, UDM_GETBUDDY, 0, 0);
    if (buddy && (::GetWindowLongPtrW(buddy, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) &&
        (style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)))
    {
        // The buddy edit's border goes on round the buttons.
        CSFSkinClass* edit = m_manager ? m_manager->GetSkinClass(L"EDIT") : NULL;
        COLORREF border = edit ? edit->GetColor(0, 0, SCHEMA_PROP_BORDERCOLOR, GetColor(COLOR_BTNSHADOW))
                               : GetColor(COLOR_BTNSHADOW);
        FrameRectSolid(hdc, client, 1, border);
        BOOL right = (style & UDS_ALIGNRIGHT) != 0;
        int column = right ? client.left : client.right - 1;
        FillRectOpaqueXYWH(hdc, column, client.top + 1, 1, client.bottom - client.top - 2, GetColor(COLOR_WINDOW));
        area.top += 1;
        area.bottom -= 1;
        if (right)
            area.right -= 1;
        else
            area.left += 1;
    }
    CSFSkinClass* cls = GetSkinClass();
    if (cls == NULL)
        return;
    RECT first = area, second = area;
    if (style & UDS_HORZ)
    {
        first.right = second.left = area.left + (area.right - area.left) / 2;
        cls->DrawBackground(&buffer, kPartDownHorz, GetButtonState(1), &first);
        cls->DrawBackground(&buffer, kPartUpHorz, GetButtonState(2), &second);
    }
    else
    {
        first.bottom = second.top = area.top + (area.bottom - area.top) / 2;
        cls->DrawBackground(&buffer, kPartUp, GetButtonState(2), &first);
        cls->DrawBackground(&buffer, kPartDown, GetButtonState(1), &second);
    }
}

void CSFSkinObjectSpin::TrackHot(POINT point)
{
    int hot = HitTest(point);
    if (hot == m_hot)
        return;
    m_hot = hot;
    if (hot)
    {
        TrackMouseLeave();
    }
    ::InvalidateRect(m_hWnd, NULL, FALSE);
}

LRESULT CSFSkinObjectSpin::OnLButtonDownControl(WPARAM, LPARAM lParam)
{
    // The control starts its own auto-repeat first.
    LRESULT result = Default();
    int button = HitTest(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
    if (button)
    {
        m_pressed = button;
        ::InvalidateRect(m_hWnd, NULL, FALSE);
    }
    return result;
}

LRESULT CSFSkinObjectSpin::OnLButtonUpControl(WPARAM, LPARAM)
{
    if (m_pressed)
    {
        m_pressed = 0;
        ::InvalidateRect(m_hWnd, NULL, FALSE);
    }
    return Default();
}

LRESULT CSFSkinObjectSpin::OnMouseMoveControl(WPARAM, LPARAM lParam)
{
    TrackHot(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
    return Default();
}

LRESULT CSFSkinObjectSpin::OnMouseLeaveControl(WPARAM, LPARAM)
{
    TrackHot(POINT{-1, -1});
    return Default();
}

LRESULT CSFSkinObjectSpin::OnTimerControl(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kHoverTimer || wParam == kLayoutTimer)
        return OnTimerMessage(wParam, lParam);
    // The control's own timers drive its auto-repeat.
    return CallSavedProc(WM_TIMER, wParam, lParam);
}
