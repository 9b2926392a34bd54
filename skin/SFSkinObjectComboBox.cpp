#include "SFSkinObjectComboBox.h"
#include "BufferedDC.h"
#include "SFGdiHelpers.h"
#include "SFObjectPaintDC.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFWindowHelpers.h"
#include "SchemaNames.h"

IMPLEMENT_DYNCREATE(CSFSkinObjectComboBox, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectComboBox, CSFSkinObjectFrame)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectComboBox::OnPaintCombo)
ON_MESSAGE(WM_PRINTCLIENT, &CSFSkinObjectComboBox::OnPrintClientCombo)
ON_MESSAGE(WM_ERASEBKGND, &CSFSkinObjectComboBox::OnEraseBkgndCombo)
ON_MESSAGE(WM_MOUSEMOVE, &CSFSkinObjectComboBox::OnMouseMoveCombo)
ON_MESSAGE(WM_MOUSELEAVE, &CSFSkinObjectComboBox::OnMouseLeaveCombo)
ON_MESSAGE(WM_CREATE, &CSFSkinObjectComboBox::OnCreateCombo)
ON_MESSAGE(WM_SETFOCUS, &CSFSkinObjectComboBox::OnDefaultThenInvalidate)
ON_MESSAGE(WM_KILLFOCUS, &CSFSkinObjectComboBox::OnDefaultThenInvalidate)
ON_MESSAGE(WM_CAPTURECHANGED, &CSFSkinObjectComboBox::OnDefaultThenInvalidate)
ON_MESSAGE(WM_LBUTTONUP, &CSFSkinObjectComboBox::OnDefaultThenInvalidate)
ON_MESSAGE(WM_ENABLE, &CSFSkinObjectComboBox::OnDefaultThenInvalidate)
ON_MESSAGE(WM_UPDATEUISTATE, &CSFSkinObjectComboBox::OnDefaultThenInvalidate)
ON_MESSAGE(0x00F4, &CSFSkinObjectComboBox::OnDefaultThenInvalidate)
END_MESSAGE_MAP()

namespace
{
const int kPartDropDownButton = 1;
const UINT kFrameFlags = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
} // namespace

CSFSkinObjectComboBox::CSFSkinObjectComboBox() : m_hot(false), m_paintingThrough(false), m_lastState(0)
{
    m_className = L"COMBOBOX";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}

UINT CSFSkinObjectComboBox::GetControlColorMessage()
{
    if (!::IsWindowEnabled(m_hWnd))
        return WM_CTLCOLORSTATIC;
    HWND edit = ::GetWindow(m_hWnd, GW_CHILD);
    if (edit && (::GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY))
        return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}

RECT CSFSkinObjectComboBox::DropButtonRect(const RECT& client)
{
    CSFSkinMetrics* metrics = GetMetrics();
    int width = metrics ? metrics->m_cxVScroll : ::GetSystemMetrics(SM_CXVSCROLL);
    RECT r = client;
    if (::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & WS_EX_RIGHT)
        r.right = r.left + width;
    else
        r.left = r.right - width;
    return r;
}

void CSFSkinObjectComboBox::DrawSimpleBorder(CDC* dc)
{
    HDC hdc = dc->GetSafeHdc();
    RECT r;
    GetClientRectSafe(m_hWnd, &r);
    int itemHeight = (int)::SendMessageW(m_hWnd, CB_GETITEMHEIGHT, (WPARAM)-1, 0);
    r.bottom = r.top + itemHeight + 2 * ::GetSystemMetrics(SM_CYFIXEDFRAME);
    HBRUSH background = GetBackgroundBrush(hdc);
    CSFSkinClass* edit = m_manager ? m_manager->GetSkinClass(L"EDIT") : NULL;
    if (edit && edit->GetEnum(0, 0, SCHEMA_PROP_BGTYPE, BGTYPE_IMAGEFILE) == BGTYPE_BORDERFILL)
    {
        FrameRectSolid(hdc, r, 1, edit->GetColor(0, 0, SCHEMA_PROP_BORDERCOLOR, GetColor(COLOR_WINDOWFRAME)));
        ::InflateRect(&r, -1, -1);
        FrameRectBrush(hdc, r, 2, background);
        return;
    }
    int w = r.right - r.left, h = r.bottom - r.top;
    COLORREF shadow = GetColor(COLOR_BTNSHADOW), light = GetColor(COLOR_BTNHIGHLIGHT);
    FillRectOpaqueXYWH(hdc, r.left, r.top, w, 1, shadow);
    FillRectOpaqueXYWH(hdc, r.left, r.top, 1, h, shadow);
    FillRectOpaqueXYWH(hdc, r.left, r.bottom - 1, w, 1, light);
    FillRectOpaqueXYWH(hdc, r.right - 1, r.top, 1, h, light);
    COLORREF dark = GetColor(COLOR_3DDKSHADOW), light3d = GetColor(COLOR_3DLIGHT);
    FillRectOpaqueXYWH(hdc, r.left + 1, r.top + 1, w - 2, 1, dark);
    FillRectOpaqueXYWH(hdc, r.left + 1, r.top + 1, 1, h - 2, dark);
    FillRectOpaqueXYWH(hdc, r.left + 1, r.bottom - 2, w - 2, 1, light3d);
    FillRectOpaqueXYWH(hdc, r.right - 2, r.top + 1, 1, h - 2, light3d);
    ::InflateRect(&r, -2, -2);
    FrameRectBrush(hdc, r, 1, background);
}

void CSFSkinObjectComboBox::DrawControl(CDC* dc)
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    LONG_PTR kind = style & (CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST);
    if (kind == CBS_SIMPLE || kind == 0)
    {
        DrawSimpleBorder(dc);
        return;
    }
    BOOL pressed = (::GetKeyState(VK_LBUTTON) & 0x8000) &&
                   ::SendMessageW(m_hWnd, CB_GETDROPPEDSTATE, 0, 0);
    BOOL hot = m_hot || ::GetCapture() == m_hWnd;
    int state = !::IsWindowEnabled(m_hWnd) ? 4 : pressed ? 3 : hot ? 2 : 1;

    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    BufferedDC buffer(dc->GetSafeHdc(), client);
    if (!buffer.IsReady())
        return;
    HDC hdc = buffer.GetSafeHdc();
    HBRUSH background = FillControlBackground(&buffer, client, GetControlColorMessage());

    m_paintingThrough = true;
    CallSavedProc(WM_PAINT, (WPARAM)hdc, 0);
    m_paintingThrough = false;

    CSFSkinClass* cls = GetSkinClass();
    if (cls == NULL)
        return;
    int bgType = cls->GetEnum(0, state, SCHEMA_PROP_BGTYPE, BGTYPE_IMAGEFILE);
    RECT button = DropButtonRect(client);
    BOOL buttonLeft = button.left == client.left && button.right != client.right;
    int width = button.right - button.left;
    RECT strip = client;
    if (buttonLeft)
        strip.right = strip.left + width + 3;
    else
        strip.left = strip.right - width - 3;
    if (background)
        ::FillRect(hdc, &strip, background);

    if (bgType == BGTYPE_IMAGEFILE)
    {
        RECT inner = client;
        ::InflateRect(&inner, -3, -3);
        if (buttonLeft)
            inner.left += width;
        else
            inner.right -= width;
        int saved = ::SaveDC(hdc);
        ::ExcludeClipRect(hdc, inner.left, inner.top, inner.right, inner.bottom);
        cls->DrawBackground(&buffer, 0, state, &client);
        ::RestoreDC(hdc, saved);
    }
    else if (bgType == BGTYPE_BORDERFILL)
    {
        FrameRectSolid(hdc, client, 1, cls->GetColor(0, state, SCHEMA_PROP_BORDERCOLOR, GetColor(COLOR_WINDOWFRAME)));
        RECT inner = client;
        ::InflateRect(&inner, -1, -1);
        if (buttonLeft)
            inner.left += width;
        else
            inner.right -= width;
        if (background)
            FrameRectBrush(hdc, inner, 2, background);
    }
    cls->DrawBackground(&buffer, kPartDropDownButton, state, &button);
    m_lastState = state;
}

// --- messages ----------------------------------------------------------------------

LRESULT CSFSkinObjectComboBox::OnPaintCombo(WPARAM, LPARAM)
{
    CSFObjectPaintDC dc(this);
    DrawControl(&dc);
    return 0;
}

LRESULT CSFSkinObjectComboBox::OnPrintClientCombo(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT) || m_paintingThrough || wParam == 0)
        return Default();
    CDC dc;
    dc.Attach((HDC)wParam);
    DrawControl(&dc);
    dc.Detach();
    return 1;
}

LRESULT CSFSkinObjectComboBox::OnEraseBkgndCombo(WPARAM, LPARAM) { return 1; }

void CSFSkinObjectComboBox::TrackHot(POINT point)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    bool hot = ::PtInRect(&client, point) != FALSE;
    if (hot == m_hot)
        return;
    m_hot = hot;
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    if (hot)
    {
        TrackMouseLeave();
    }
}

LRESULT CSFSkinObjectComboBox::OnMouseMoveCombo(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    TrackHot(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
    return result;
}

LRESULT CSFSkinObjectComboBox::OnMouseLeaveCombo(WPARAM, LPARAM)
{
    LRESULT result = Default();
    TrackHot(POINT{-1, -1});
    return result;
}

LRESULT CSFSkinObjectComboBox::OnCreateCombo(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    LONG_PTR ex = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style & ~(LONG_PTR)WS_BORDER);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ex & ~(LONG_PTR)(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, kFrameFlags);
    return 0;
}

LRESULT CSFSkinObjectComboBox::OnDefaultThenInvalidate(WPARAM, LPARAM)
{
    LRESULT result = Default();
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    return result;
}
