#include "SFSkinObjectDateTime.h"
#include "BufferedDC.h"
#include "SFGdiHelpers.h"
#include "SFObjectPaintDC.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinObjectMonthCal.h"
#include "SFWindowHelpers.h"
#include "SchemaNames.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectDateTime, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectDateTime, CSFSkinObjectFrame)
ON_MESSAGE(WM_CREATE, &CSFSkinObjectDateTime::OnCreateControl)
ON_MESSAGE(WM_LBUTTONDOWN, &CSFSkinObjectDateTime::OnLButtonDownControl)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectDateTime::OnPaintControl)
ON_MESSAGE(WM_PRINTCLIENT, &CSFSkinObjectDateTime::OnPrintClientControl)
ON_MESSAGE(WM_ERASEBKGND, &CSFSkinObjectDateTime::OnEraseBkgndControl)
ON_MESSAGE(WM_MOUSEMOVE, &CSFSkinObjectDateTime::OnMouseMoveControl)
ON_MESSAGE(WM_MOUSELEAVE, &CSFSkinObjectDateTime::OnMouseLeaveControl)
END_MESSAGE_MAP()

namespace
{
const int kComboNormal = 1, kComboHot = 2, kComboDisabled = 4;
const int kComboDropDownButton = 1;
const int kButtonCheckBox = 3;
const int kUncheckedNormal = 1, kUncheckedDisabled = 4, kCheckedNormal = 5, kCheckedDisabled = 8;
const DWORD kComCtl610 = 0x6000A;
} // namespace

CSFSkinObjectDateTime::CSFSkinObjectDateTime() : m_hot(FALSE), m_checkState(0), m_drewDropButton(FALSE)
{
    m_className = L"COMBOBOX";
}

void CSFSkinObjectDateTime::ApplySkinState(BOOL prevEnabled, BOOL newEnabled)
{
    CSFSkinObjectFrame::ApplySkinState(prevEnabled, newEnabled);
}

void CSFSkinObjectDateTime::ResetSkinCache()
{
    CSFSkinObjectFrame::ResetSkinCache();
    CSFSkinObjectMonthCal::SetCalendarColors(this, m_hWnd, DTM_SETMCCOLOR);
}

UINT CSFSkinObjectDateTime::GetControlColorMessage()
{
    if (!::IsWindowEnabled(m_hWnd))
        return WM_CTLCOLORSTATIC;
    HWND first = ::GetWindow(m_hWnd, GW_CHILD);
    if (first && (::GetWindowLongPtrW(first, GWL_STYLE) & ES_READONLY))
        return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}

int CSFSkinObjectDateTime::ComboState()
{
    if (!::IsWindowEnabled(m_hWnd))
        return kComboDisabled;
    return (m_hot || ::GetCapture() == m_hWnd) ? kComboHot : kComboNormal;
}

RECT CSFSkinObjectDateTime::DropButtonRect()
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    client.left = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
    return client;
}

void CSFSkinObjectDateTime::DrawControl(CDC* dc)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    OffsetBufferedDC buffer(dc->GetSafeHdc(), client);
    if (!buffer.IsReady())
        return;
    HDC hdc = buffer.GetSafeHdc();
    BOOL enabled = ::IsWindowEnabled(m_hWnd);
    COLORREF fill = GetColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    FillRectOpaque(hdc, client, fill);
    CallSavedProc(WM_PRINTCLIENT, (WPARAM)hdc, 0);
    CSFSkinClass* cls = GetSkinClass();
    int state = ComboState();
    int bgType = cls ? cls->GetEnum(0, state, SCHEMA_PROP_BGTYPE, BGTYPE_IMAGEFILE) : BGTYPE_NONE;
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    BOOL borderDrawn = FALSE;
    if (m_manager && m_manager->GetComCtlVersion() < kComCtl610)
    {
        RECT strip = client;
        strip.left = client.right - (::GetSystemMetrics(SM_CXVSCROLL) + 3);
        FillRectOpaque(hdc, strip, fill);
    }
    else if (cls)
    {
        // Newer controls keep their own button; only the border is the skin's.
        borderDrawn = TRUE;
        if (bgType == BGTYPE_IMAGEFILE)
        {
            int saved = ::SaveDC(hdc);
            ::ExcludeClipRect(hdc, client.left + 2, client.top + 2, client.right - 2, client.bottom - 2);
            cls->DrawBackground(&buffer, 0, state, &client);
            ::RestoreDC(hdc, saved);
        }
        else if (bgType == BGTYPE_BORDERFILL)
        {
            FrameRectSolid(hdc, client, 1, cls->GetColor(0, state, SCHEMA_PROP_BORDERCOLOR, GetColor(COLOR_WINDOWFRAME)));
            RECT inner = client;
            ::InflateRect(&inner, -1, -1);
            FrameRectSolid(hdc, inner, 1, fill);
        }
    }
    m_checkState = 0;
    if (style & DTS_SHOWNONE)
    {
        int side = client.bottom - client.top - 1;
        RECT square = {client.left, client.top, client.left + side, client.top + side};
        FillRectOpaque(hdc, square, fill);
        SYSTEMTIME time = {};
        BOOL none = ::SendMessageW(m_hWnd, DTM_GETSYSTEMTIME, 0, (LPARAM)&time) == GDT_NONE;
        m_checkState = none ? (enabled ? kUncheckedNormal : kUncheckedDisabled)
                            : (enabled ? kCheckedNormal : kCheckedDisabled);
        CSFSkinClass* button = m_manager ? m_manager->GetSkinClass(L"BUTTON") : NULL;
        SIZE size = {13, 13};
        if (button && !button->GetPartSize(kButtonCheckBox, m_checkState, NULL, 1, &size))
            size = SIZE{13, 13};
        RECT box = {square.left + (side - size.cx) / 2, square.top + (side - size.cy) / 2, 0, 0};
        box.right = box.left + size.cx;
        box.bottom = box.top + size.cy;
        if (button)
            button->DrawBackground(&buffer, kButtonCheckBox, m_checkState, &box);
    }
    m_drewDropButton = FALSE;
    if (!(style & DTS_UPDOWN) && !borderDrawn)
    {
        RECT drop = DropButtonRect();
        FillRectOpaque(hdc, drop, fill);
        if (cls)
            cls->DrawBackground(&buffer, kComboDropDownButton, state, &drop);
        m_drewDropButton = TRUE;
    }
}

void CSFSkinObjectDateTime::PaintNonClient(CDC* dc)
{
    CSFSkinClass* cls = GetSkinClass();
    int state = ComboState();
    if (dc && cls && (::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) &&
        cls->GetEnum(0, state, SCHEMA_PROP_BGTYPE, BGTYPE_IMAGEFILE) == BGTYPE_IMAGEFILE)
    {
        RECT window;
        GetWindowRectSafe(m_hWnd, &window);
        ::OffsetRect(&window, -window.left, -window.top);
        HDC hdc = dc->GetSafeHdc();
        ::ExcludeClipRect(hdc, window.left + 2, window.top + 2, window.right - 2, window.bottom - 2);
        cls->DrawBackground(dc, 0, state, &window);
        ::SelectClipRgn(hdc, NULL);
        return;
    }
    CSFSkinObjectFrame::PaintNonClient(dc);
}

LRESULT CSFSkinObjectDateTime::OnCreateControl(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    ::InvalidateRect(m_hWnd, NULL, TRUE);
    return 0;
}

LRESULT CSFSkinObjectDateTime::OnLButtonDownControl(WPARAM wParam, LPARAM lParam)
{
    POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    RECT drop = DropButtonRect();
    if (::IsWindowEnabled(m_hWnd) && !(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & DTS_UPDOWN) &&
        ::PtInRect(&drop, point))
    {
        ::SetFocus(m_hWnd);
        LRESULT result = CallSavedProc(WM_SYSKEYDOWN, VK_DOWN, 0);
        HWND calendar = (HWND)::SendMessageW(m_hWnd, DTM_GETMONTHCAL, 0, 0);
        if (calendar && ::IsWindowVisible(calendar))
            return result;
        // A control that does not open on Alt+Down still gets the press on
        // its own button, so the calendar opens either way.
    }
    return Default();
}

LRESULT CSFSkinObjectDateTime::OnPaintControl(WPARAM, LPARAM)
{
    CSFObjectPaintDC dc(this);
    DrawControl(&dc);
    return 0;
}

LRESULT CSFSkinObjectDateTime::OnPrintClientControl(WPARAM wParam, LPARAM)
{
    CDC dc;
    dc.Attach((HDC)wParam);
    DrawControl(&dc);
    dc.Detach();
    return 1;
}

LRESULT CSFSkinObjectDateTime::OnEraseBkgndControl(WPARAM, LPARAM) { return 1; }

LRESULT CSFSkinObjectDateTime::OnMouseMoveControl(WPARAM, LPARAM)
{
    if (!m_hot)
    {
        m_hot = TRUE;
        TrackMouseLeave();
        ::InvalidateRect(m_hWnd, NULL, FALSE);
    }
    return Default();
}

LRESULT CSFSkinObjectDateTime::OnMouseLeaveControl(WPARAM, LPARAM)
{
    if (m_hot)
    {
        m_hot = FALSE;
        ::InvalidateRect(m_hWnd, NULL, FALSE);
    }
    return Default();
}
