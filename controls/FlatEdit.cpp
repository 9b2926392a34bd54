#include "FlatEdit.h"

namespace
{
const wchar_t kEditProcProperty[] = L"YebFlatEditProc";
}

BEGIN_MESSAGE_MAP(CFlatEdit, CEdit)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CFlatEdit::CFlatEdit() : m_pfnEditProc(NULL), m_bkColour(RGB(255, 255, 255)), m_textColour(RGB(0, 0, 0)), m_bReadOnce(FALSE)
{
}

CFlatEdit::~CFlatEdit() = default;

void CFlatEdit::PreSubclassWindow()
{
    m_pfnEditProc = (WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC);
    ::SetPropW(m_hWnd, kEditProcProperty, (HANDLE)m_pfnEditProc);
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)FlatBorderProc);
    CEdit::PreSubclassWindow();
}

void CFlatEdit::DrawFlatBorder(HWND hWnd)
{
    DWORD style = (DWORD)::GetWindowLongPtrW(hWnd, GWL_STYLE);
    DWORD exStyle = (DWORD)::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
    if (!(style & WS_BORDER) && !(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)))
        return;
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    ::OffsetRect(&rect, -rect.left, -rect.top);
    HDC hdc = ::GetWindowDC(hWnd);
    HBRUSH outer = ::CreateSolidBrush(::IsWindowEnabled(hWnd) ? RGB(0x88, 0x8E, 0x93) : RGB(0xDD, 0xEC, 0xF4));
    ::FrameRect(hdc, &rect, outer);
    ::DeleteObject(outer);
    ::InflateRect(&rect, -1, -1);
    ::FrameRect(hdc, &rect, ::GetSysColorBrush(COLOR_WINDOW));
    ::ReleaseDC(hWnd, hdc);
}

LRESULT CALLBACK CFlatEdit::FlatBorderProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC editProc = (WNDPROC)::GetPropW(hWnd, kEditProcProperty);
    if (message == WM_NCPAINT)
    {
        LRESULT result = ::DefWindowProcW(hWnd, message, wParam, lParam);
        DrawFlatBorder(hWnd);
        return result;
    }
    if (message == WM_ENABLE)
        DrawFlatBorder(hWnd);
    if (message == WM_NCDESTROY)
    {
        ::RemovePropW(hWnd, kEditProcProperty);
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)editProc);
    }
    return editProc ? ::CallWindowProcW(editProc, hWnd, message, wParam, lParam)
                    : ::DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CFlatEdit::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_GETTEXT || message == EM_GETLINE) && (GetStyle() & ES_PASSWORD))
    {
        if (!m_bReadOnce)
        {
            if (message == WM_GETTEXT && wParam > 0 && lParam)
                *(wchar_t*)lParam = 0;
            return 0;
        }
        m_bReadOnce = FALSE;
    }
    return CEdit::DefWindowProc(message, wParam, lParam);
}

HBRUSH CFlatEdit::CtlColor(CDC* pDC, UINT)
{
    m_brush.DeleteObject();
    if (IsWindowEnabled())
    {
        m_brush.CreateSolidBrush(m_bkColour);
        pDC->SetBkColor(m_bkColour);
        pDC->SetTextColor(m_textColour);
    }
    else
    {
        m_brush.CreateSolidBrush(RGB(0xF6, 0xFB, 0xFD));
        pDC->SetBkColor(RGB(0xF6, 0xFB, 0xFD));
    }
    return (HBRUSH)m_brush.GetSafeHandle();
}

BOOL CFlatEdit::OnEraseBkgnd(CDC* pDC)
{
    Default();
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, m_bkColour);
    return TRUE;
}
