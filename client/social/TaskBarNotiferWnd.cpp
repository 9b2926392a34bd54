#include "TaskBarNotiferWnd.h"

#include "NotifyWndThread.h"
#include "SkinFrame.h"
#include "resource.h"

#include <vector>

BEGIN_MESSAGE_MAP(CTaskBarNotiferWnd, CDialog)
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEHOVER()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_ERASEBKGND()
    ON_BN_CLICKED(IDC_POPUP_SETTINGS, &CTaskBarNotiferWnd::OnSettingsButton)
END_MESSAGE_MAP()

void (*CTaskBarNotiferWnd::s_workArea)(RECT&) = [](RECT& area) {
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        ::SetRect(&area, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
};

namespace
{
// The window region of a picture: its rectangle (width rounded down to a
// multiple of 4) less every pixel of exactly magenta, taken in runs.
HRGN RegionOfBitmap(HBITMAP bitmap, int width, int height)
{
    int rounded = width & ~3;
    HRGN region = ::CreateRectRgn(0, 0, rounded, height);
    if (rounded <= 0 || height <= 0)
        return region;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = rounded;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int stride = rounded * 3; // a multiple of 4, since the width is
    std::vector<BYTE> pixels((size_t)stride * height);
    HDC screen = ::GetDC(NULL);
    int rows = ::GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, screen);
    if (rows != height)
        return region;
    for (int y = 0; y < height; ++y)
    {
        const BYTE* line = pixels.data() + (size_t)y * stride;
        for (int x = 0; x < rounded;)
        {
            auto magenta = [&](int at) {
                const BYTE* p = line + at * 3; // blue, green, red
                return p[0] == 255 && p[1] == 0 && p[2] == 255;
            };
            if (!magenta(x))
            {
                ++x;
                continue;
            }
            int start = x;
            while (x < rounded && magenta(x))
                ++x;
            HRGN cut = ::CreateRectRgn(start, y, x, y + 1);
            ::CombineRgn(region, region, cut, RGN_DIFF);
            ::DeleteObject(cut);
        }
    }
    return region;
}
} // namespace

CTaskBarNotiferWnd::CTaskBarNotiferWnd(CWnd* parent, CNotifyWndThread* thread)
    : CDialog(IDD, parent), m_pThread(thread), m_hMainWnd(NULL), m_hHandCursor(NULL), m_bCloseHot(FALSE),
      m_hRegion(NULL), m_nWidth(0), m_nHeight(0), m_nCurrentTimer(0), m_bHovered(FALSE), m_nShownHeight(0),
      m_bPlaced(FALSE), m_bEnded(FALSE)
{
}

CTaskBarNotiferWnd::~CTaskBarNotiferWnd()
{
    FreePlace();
}

BOOL CTaskBarNotiferWnd::OnInitDialog()
{
    // Disabled until it has slid in; it stays a pop-up, since a window that
    // turns into an overlapped one is not painted by some window systems.
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, WS_POPUP | WS_DISABLED);
    CDialog::OnInitDialog();

    m_text.CreateEx(WS_EX_TRANSPARENT, NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | ES_READONLY | ES_MULTILINE,
                    CRect(0, 0, 0, 0), this, IDC_POPUP_TEXT);
    LOGFONTW font{};
    if (CFont* dialogFont = GetFont())
        dialogFont->GetLogFont(&font);
    if (m_text.GetSafeHwnd())
        m_text.SetupFromFont(font, 0x9A8076);

    CRect client;
    GetClientRect(&client);
    m_btnSettings.SubclassDlgItem(IDC_POPUP_SETTINGS, this);
    m_btnSettings.SetBitmapStrip(IDB_BTN_POPUP_SETTINGS, RGB(255, 0, 255));
    m_btnSettings.SetWindowPos(NULL, client.Width() - 90, 4, 28, 17, SWP_NOZORDER | SWP_NOACTIVATE);

    // No task-bar button for a pop-up.
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & ~(LONG_PTR)WS_EX_APPWINDOW);
    if (!m_hHandCursor)
        m_hHandCursor = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    return TRUE;
}

BOOL CTaskBarNotiferWnd::SetSkinBitmaps(UINT normalId, UINT hotId)
{
    m_normalBitmap.DeleteObject();
    m_hotBitmap.DeleteObject();
    if (!SkinFrame::LoadBitmapResource(m_normalBitmap, normalId) || !SkinFrame::LoadBitmapResource(m_hotBitmap, hotId))
        return FALSE;
    BITMAP info{};
    m_normalBitmap.GetBitmap(&info);
    m_nWidth = info.bmWidth;
    m_nHeight = info.bmHeight;
    m_hRegion = RegionOfBitmap((HBITMAP)m_normalBitmap.GetSafeHandle(), m_nWidth, m_nHeight);
    if (GetSafeHwnd())
        ::SetWindowRgn(m_hWnd, m_hRegion, TRUE); // the window owns the region from here
    return TRUE;
}

void CTaskBarNotiferWnd::SetTextRect(int left, int top, int right, int bottom)
{
    m_textRect.SetRect(left, top, right, bottom);
    if (m_text.GetSafeHwnd())
        m_text.MoveWindow(&m_textRect);
}

void CTaskBarNotiferWnd::SetCloseRect(int left, int top, int right, int bottom)
{
    m_closeRect.SetRect(left, top, right, bottom);
}

BOOL CTaskBarNotiferWnd::Show(const CString& text, const CString& second, const CString& third)
{
    RECT area;
    s_workArea(area);
    if (!NotifyPlaceTable::Reserve(area, m_nWidth, m_nHeight, m_place))
        return FALSE;
    m_bPlaced = TRUE;
    m_text.SetWindowText(text);
    m_strSecond = second;
    m_strThird = third;
    m_nCurrentTimer = TIMER_SLIDE_IN;
    SetTimer(TIMER_SLIDE_IN, STEP_MS, NULL);
    return TRUE;
}

void CTaskBarNotiferWnd::FreePlace()
{
    if (!m_bPlaced)
        return;
    m_bPlaced = FALSE;
    NotifyPlaceTable::Free(m_place);
}

void CTaskBarNotiferWnd::MoveToHeight()
{
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_place.x, m_place.bottomY - m_nShownHeight, m_nWidth, m_nShownHeight,
                   SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CTaskBarNotiferWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (m_bHovered)
    {
        KillTimer(nIDEvent); // frozen under the mouse
        return;
    }
    ShowWindow(SW_SHOWNOACTIVATE);
    switch (nIDEvent)
    {
    case TIMER_SLIDE_IN:
        m_nCurrentTimer = TIMER_SLIDE_IN;
        if (m_nShownHeight < m_nHeight)
        {
            m_nShownHeight += STEP_PIXELS;
            if (m_nShownHeight > m_nHeight)
                m_nShownHeight = m_nHeight;
            if (!IsWindowEnabled())
                EnableWindow(TRUE);
        }
        MoveToHeight();
        if (m_nShownHeight >= m_nHeight)
        {
            KillTimer(TIMER_SLIDE_IN);
            SetTimer(TIMER_HOLD, HOLD_MS, NULL);
            m_nCurrentTimer = TIMER_HOLD;
        }
        break;
    case TIMER_HOLD:
        m_nCurrentTimer = TIMER_HOLD;
        KillTimer(TIMER_HOLD);
        SetTimer(TIMER_SLIDE_OUT, STEP_MS, NULL);
        m_nCurrentTimer = TIMER_SLIDE_OUT;
        break;
    case TIMER_SLIDE_OUT:
        m_nCurrentTimer = TIMER_SLIDE_OUT;
        if (m_nShownHeight <= 0)
        {
            KillTimer(TIMER_SLIDE_OUT);
            FreePlace();
            End(); // the object is gone after this
            return;
        }
        m_nShownHeight -= STEP_PIXELS;
        if (m_nShownHeight < 0)
            m_nShownHeight = 0;
        MoveToHeight();
        if (m_nShownHeight == 0)
            FreePlace();
        break;
    default:
        break;
    }
    Default();
}

void CTaskBarNotiferWnd::OnMouseMove(UINT, CPoint point)
{
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = m_hWnd;
    track.dwHoverTime = 1;
    ::TrackMouseEvent(&track);
    BOOL hot = m_closeRect.PtInRect(point);
    if (hot != m_bCloseHot)
    {
        m_bCloseHot = hot;
        InvalidateRect(&m_closeRect, TRUE);
    }
}

void CTaskBarNotiferWnd::OnMouseHover(UINT, CPoint)
{
    m_bHovered = TRUE;
}

void CTaskBarNotiferWnd::OnMouseLeave()
{
    m_bHovered = FALSE;
    if (m_bCloseHot)
    {
        m_bCloseHot = FALSE;
        InvalidateRect(&m_closeRect, TRUE);
    }
    // The interrupted phase goes on; a hold that was cut short slides out now.
    if (m_nCurrentTimer)
        SetTimer(m_nCurrentTimer == TIMER_HOLD ? TIMER_HOLD : m_nCurrentTimer, STEP_MS, NULL);
}

void CTaskBarNotiferWnd::OnLButtonUp(UINT, CPoint point)
{
    if (m_closeRect.PtInRect(point))
    {
        CloseNow();
        return;
    }
    if (!m_strThird.IsEmpty() && m_strThird.Find(L'@') >= 0 && m_strThird.Find(L'.') >= 0 && m_hMainWnd)
    {
        CString* id = new CString(m_strThird);
        if (!::PostMessageW(m_hMainWnd, WM_NOTIFY_CHAT_REQUEST, 1, (LPARAM)id))
            delete id;
    }
}

BOOL CTaskBarNotiferWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT && m_hHandCursor)
    {
        ::SetCursor(m_hHandCursor);
        return TRUE;
    }
    return CDialog::OnSetCursor(pWnd, nHitTest, message);
}

BOOL CTaskBarNotiferWnd::OnEraseBkgnd(CDC* pDC)
{
    CBitmap& picture = m_bCloseHot && m_hotBitmap.GetSafeHandle() ? m_hotBitmap : m_normalBitmap;
    if (picture.GetSafeHandle())
        SkinFrame::DrawBitmap(picture, pDC, 0, 0);
    return TRUE;
}

void CTaskBarNotiferWnd::OnSettingsButton()
{
    if (m_hMainWnd)
        ::PostMessageW(m_hMainWnd, WM_NOTIFY_CHAT_REQUEST, 0, 0);
}

void CTaskBarNotiferWnd::CloseNow()
{
    if (m_nCurrentTimer != TIMER_SLIDE_IN && m_nCurrentTimer != TIMER_SLIDE_OUT && m_nCurrentTimer != TIMER_HOLD)
        return;
    KillTimer(m_nCurrentTimer);
    FreePlace();
    End();
}

void CTaskBarNotiferWnd::End()
{
    if (m_bEnded)
        return;
    m_bEnded = TRUE;
    CNotifyWndThread* thread = m_pThread;
    HWND main = m_hMainWnd;
    if (thread)
        thread->ForgetPopup();
    DestroyWindow(); // frees this object
    if (thread)
    {
        thread->PostThreadMessage(WM_QUIT, 0, 0);
        if (main)
            ::SendMessageW(main, WM_NOTIFY_THREAD_ENDED, (WPARAM)thread, 0);
    }
}

void CTaskBarNotiferWnd::PostNcDestroy()
{
    delete this;
}
