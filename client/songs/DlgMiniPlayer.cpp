#include "DlgMiniPlayer.h"

#include "AppSetting.h"
#include "LanguageTable.h"
#include "MemoryDC.h"
#include "MenuEx.h"
#include "StripButton.h"
#include "resource.h"

namespace
{
const COLORREF kMask = RGB(255, 0, 255);
const COLORREF kLineColour = 0x51886B;
// The second piece is drawn 90 pixels wide whatever its bitmap says.
const int kSecondPieceWidth = 90;
// Within this many pixels of the left or right edge a press stretches.
const int kStretchBorder = 3;
// The tray icon's id and message of the main window: "close window" does
// what a left click on the tray icon does.
const UINT kTrayIconId = 105;
const UINT kTrayNotify = WM_USER + 13;
const int kTrayMenuPosition = 7;
} // namespace

BEGIN_MESSAGE_MAP(CDlgMiniPlayer, CSkinDialog)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CDlgMiniPlayer::OnPrintClient)
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CONTEXTMENU()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_GETMINMAXINFO()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SYSCOMMAND()
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

CDlgMiniPlayer::CDlgMiniPlayer(CWnd* pMainWnd)
    : CSkinDialog(IDD_MINI_PLAYER, NULL), m_pMainWnd(pMainWnd), m_hMoveCursor(NULL), m_nAlpha(0),
      m_nWantedLine(1), m_bHold(FALSE), m_nDragMode(DRAG_NONE)
{
    m_hMoveCursor = ::LoadCursorW(NULL, IDC_SIZEALL);
    // The strip moves itself (drag mode); the base's own drag stays off.
    m_bDrag = FALSE;
}

CDlgMiniPlayer::~CDlgMiniPlayer()
{
    // A shared system cursor: nothing to free. The bitmaps, marquees and
    // buttons free themselves.
    if (GetSafeHwnd())
        DestroyWindow();
}

RECT CDlgMiniPlayer::NormalizeRect(const RECT& saved)
{
    RECT r = saved;
    if (r.right - r.left < MIN_WIDTH)
        r.right = r.left + MIN_WIDTH;
    r.bottom = r.top + HEIGHT;
    return r;
}

void CDlgMiniPlayer::SnapToWorkArea(WINDOWPOS& pos, const RECT& work, BOOL stretching)
{
    // Positions at or before the edge, or at or past the far edge, are
    // the user's own choice and stay.
    if (stretching)
    {
        if (pos.x > 0 && pos.x <= SNAP_DISTANCE)
        {
            pos.cx += pos.x;
            pos.x = 0;
        }
        else if (pos.x + pos.cx >= work.right - SNAP_DISTANCE && pos.x + pos.cx < work.right)
            pos.cx = work.right - pos.x;
        if (pos.y > 0 && pos.y <= SNAP_DISTANCE)
        {
            pos.cy += pos.y;
            pos.y = 0;
        }
        else if (pos.y + pos.cy >= work.bottom - SNAP_DISTANCE && pos.y + pos.cy < work.bottom)
            pos.cy = work.bottom - pos.y;
        return;
    }
    if (pos.x > 0 && pos.x <= SNAP_DISTANCE)
        pos.x = 0;
    else if (pos.x + pos.cx >= work.right - SNAP_DISTANCE && pos.x + pos.cx < work.right)
        pos.x = work.right - pos.cx;
    if (pos.y > 0 && pos.y <= SNAP_DISTANCE)
        pos.y = 0;
    else if (pos.y + pos.cy >= work.bottom - SNAP_DISTANCE && pos.y + pos.cy < work.bottom)
        pos.y = work.bottom - pos.cy;
}

HMENU CDlgMiniPlayer::BuildContextMenu(BOOL topmost)
{
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MENU_CONTEXT));
    if (!menu)
        return NULL;
    HMENU popup = ::GetSubMenu(menu, kTrayMenuPosition);
    // Detach the pop-up so that it outlives the menu bar it came from.
    if (popup)
        ::RemoveMenu(menu, kTrayMenuPosition, MF_BYPOSITION);
    ::DestroyMenu(menu);
    if (popup)
        ::DeleteMenu(popup, topmost ? ID_WINDOW_TOPMOST : ID_WINDOW_NOT_TOPMOST, MF_BYCOMMAND);
    return popup;
}

void CDlgMiniPlayer::SetUpButton(CImageButton& button, UINT id, UINT bitmap, LPCWSTR tip)
{
    if (!button.SubclassDlgItem(id, this))
        return;
    ShowAsStripButton(button, bitmap);
    m_tooltip.AddTool(&button, Lang(tip));
}

void CDlgMiniPlayer::SetUpMarquee(CScrollTextStatic& marquee, UINT id, int height)
{
    if (!marquee.SubclassDlgItem(id, this))
        return;
    LOGFONTW face{};
    if (CFont* font = GetFont())
        if (font->GetSafeHandle())
            ::GetObjectW(font->GetSafeHandle(), sizeof(face), &face);
    if (height <= 0)
        height = face.lfHeight ? (face.lfHeight < 0 ? -face.lfHeight : face.lfHeight) : 12;
    // The marquee lies on the strip's middle piece, which is its background.
    marquee.SetBackground(kLineColour, kLineColour, face.lfFaceName, height, 1, CScrollTextStatic::MODE_SINGLE,
                          IDB_MINI_MIDDLE);
    marquee.ShowWindow(SW_HIDE);
}

BOOL CDlgMiniPlayer::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    LoadBitmapResource(m_left, IDB_MINI_LEFT);
    LoadBitmapResource(m_second, IDB_MINI_TITLE);
    LoadBitmapResource(m_middle, IDB_MINI_MIDDLE);
    LoadBitmapResource(m_right, IDB_MINI_RIGHT);
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);

    SetUpButton(m_btnPrevious, IDC_MINI_PREVIOUS, IDB_BTN_MINI_PREVIOUS, L"INFO_PLAYER_PRE");
    SetUpButton(m_btnPlay, IDC_MINI_PLAY, IDB_BTN_MINI_PLAY, L"INFO_PLAYER_PLAY");
    SetUpButton(m_btnStop, IDC_MINI_STOP, IDB_BTN_MINI_STOP, L"INFO_PLAYER_STOP");
    SetUpButton(m_btnNext, IDC_MINI_NEXT, IDB_BTN_MINI_NEXT, L"INFO_PLAYER_NEXT");
    SetUpButton(m_btnShowMain, IDC_MINI_SHOW_MAIN, IDB_BTN_MINI_SHOW_MAIN, L"CONST_MINI_SHOW_MAIN");

    SetUpMarquee(m_stTitle, IDC_MINI_TITLE, 0);
    SetUpMarquee(m_stStatus, IDC_MINI_STATUS, 13);
    if (m_strStatus.IsEmpty())
        m_strStatus = Lang(L"INFO_MAIN_DLG_BUFFERING") + L"(0%)";
    CopyStopState();

    RECT saved = g_pAppSetting ? g_pAppSetting->rcMiniWnd : RECT{0, 0, MIN_WIDTH, HEIGHT};
    RECT r = NormalizeRect(saved);
    MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    LayoutControls();
    return TRUE;
}

void CDlgMiniPlayer::CopyStopState()
{
    if (!m_btnStop.GetSafeHwnd() || !m_pMainWnd || !m_pMainWnd->GetSafeHwnd())
        return;
    HWND mainStop = ::GetDlgItem(m_pMainWnd->GetSafeHwnd(), IDC_MAIN_STOP);
    if (mainStop)
        m_btnStop.EnableWindow(::IsWindowEnabled(mainStop));
}

void CDlgMiniPlayer::LayoutControls()
{
    CRect client;
    GetClientRect(&client);
    auto place = [](CWnd& wnd, int x, int y) {
        if (!wnd.GetSafeHwnd())
            return;
        CRect r;
        wnd.GetWindowRect(&r);
        wnd.SetWindowPos(NULL, x, y, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(m_btnPrevious, 33, 3);
    place(m_btnPlay, 53, 3);
    place(m_btnStop, 73, 3);
    place(m_btnNext, 93, 3);
    place(m_btnShowMain, client.Width() - 15, 8);
    int lineLeft = 100;
    if (m_btnNext.GetSafeHwnd())
    {
        CRect next;
        m_btnNext.GetWindowRect(&next);
        ScreenToClient(&next);
        lineLeft = next.right + 7;
    }
    CRect line(lineLeft, 6, client.Width() - 21, 21);
    if (m_stTitle.GetSafeHwnd())
    {
        m_stTitle.MoveWindow(&line, TRUE);
        m_stTitle.SetText(m_strTitle);
    }
    if (m_stStatus.GetSafeHwnd())
    {
        m_stStatus.MoveWindow(&line, TRUE);
        m_stStatus.SetText(m_strStatus);
    }
}

void CDlgMiniPlayer::OnSize(UINT, int, int)
{
    LayoutControls();
    Invalidate(FALSE);
}

int CDlgMiniPlayer::SetSongTitle(LPCTSTR text, BOOL apply)
{
    m_strTitle = text ? text : L"";
    if (!m_stTitle.GetSafeHwnd())
        return 0;
    if (apply)
        m_stTitle.SetText(m_strTitle);
    return 1;
}

int CDlgMiniPlayer::SetStatusText(LPCTSTR text, BOOL apply)
{
    m_strStatus = text ? text : L"";
    if (!m_stStatus.GetSafeHwnd())
        return 0;
    if (apply)
        m_stStatus.SetText(m_strStatus);
    return 1;
}

void CDlgMiniPlayer::ShowWantedLine()
{
    if (!m_stTitle.GetSafeHwnd() || !m_stStatus.GetSafeHwnd())
        return;
    m_stTitle.ShowWindow(m_nWantedLine == 1 ? SW_SHOW : SW_HIDE);
    m_stStatus.ShowWindow(m_nWantedLine == 1 ? SW_HIDE : SW_SHOW);
}

void CDlgMiniPlayer::HideLines()
{
    if (m_stTitle.GetSafeHwnd())
        m_stTitle.ShowWindow(SW_HIDE);
    if (m_stStatus.GetSafeHwnd())
        m_stStatus.ShowWindow(SW_HIDE);
}

void CDlgMiniPlayer::SwitchTextLine(int line, BOOL apply)
{
    m_nWantedLine = line;
    if (!m_bHold && apply)
        ShowWantedLine();
}

void CDlgMiniPlayer::UpdatePlayButton(BOOL paused)
{
    if (!m_btnPlay.GetSafeHwnd())
        return;
    m_tooltip.RemoveTool(&m_btnPlay);
    m_tooltip.AddTool(&m_btnPlay, Lang(paused ? L"INFO_PLAYER_PLAY" : L"INFO_PLAYER_PAUSE"));
    m_btnPlay.SetBitmapStrip(paused ? IDB_BTN_MINI_PLAY : IDB_BTN_MINI_PAUSE, kMask);
    m_btnPlay.Invalidate();
    CopyStopState();
}

void CDlgMiniPlayer::ApplyAlpha()
{
    ::SetLayeredWindowAttributes(m_hWnd, 0, static_cast<BYTE>(m_nAlpha), LWA_ALPHA);
}

void CDlgMiniPlayer::SaveRect()
{
    if (!g_pAppSetting || !GetSafeHwnd())
        return;
    CRect r;
    GetWindowRect(&r);
    g_pAppSetting->rcMiniWnd = r;
    g_pAppSetting->SaveWindowState();
}

void CDlgMiniPlayer::FadeIn()
{
    if (!GetSafeHwnd())
        return;
    ShowWindow(SW_SHOWNORMAL);
    if (m_nAlpha > 254)
        return;
    KillTimer(TIMER_FADE_IN);
    ModifyStyleEx(0, WS_EX_LAYERED);
    ApplyAlpha();
    SetTimer(TIMER_FADE_IN, FADE_INTERVAL, NULL);
}

void CDlgMiniPlayer::FadeOut()
{
    if (!GetSafeHwnd())
        return;
    SaveRect();
    if (m_nAlpha <= 0)
        return;
    ModifyStyleEx(0, WS_EX_LAYERED);
    ApplyAlpha();
    KillTimer(TIMER_FADE_IN);
    SetTimer(TIMER_FADE_OUT, FADE_INTERVAL, NULL);
}

void CDlgMiniPlayer::PostToMain(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd())
        ::PostMessageW(m_pMainWnd->GetSafeHwnd(), message, wParam, lParam);
}

void CDlgMiniPlayer::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_FADE_IN)
    {
        m_nAlpha += FADE_STEP;
        if (m_nAlpha < 255)
        {
            ApplyAlpha();
            return;
        }
        KillTimer(TIMER_FADE_IN);
        m_nAlpha = 255;
        if (m_stTitle.GetSafeHwnd())
            m_stTitle.StartScroll(CScrollTextStatic::MODE_SINGLE);
        if (!m_bHold)
            ShowWantedLine();
        ShowWindow(SW_SHOW);
        ModifyStyleEx(WS_EX_LAYERED, 0);
        return;
    }
    if (nIDEvent == TIMER_FADE_OUT)
    {
        m_nAlpha -= FADE_STEP;
        if (m_nAlpha >= 1)
        {
            ApplyAlpha();
            return;
        }
        KillTimer(TIMER_FADE_OUT);
        m_nAlpha = 0;
        // Said after the window is gone, so that the main window may delete
        // this object when it hears it.
        CWnd* main = m_pMainWnd;
        DestroyWindow();
        if (main && main->GetSafeHwnd())
            ::PostMessageW(main->GetSafeHwnd(), WM_MINI_SHOW_MAIN, 0, 1);
        return;
    }
    Default();
}

BOOL CDlgMiniPlayer::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND main = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : NULL;
    switch (LOWORD(wParam))
    {
    case IDC_MINI_PREVIOUS:
        // The main window's previous button knows whether the player runs
        // its own playlist or the main window steps through the list.
        PostToMain(WM_COMMAND, MAKEWPARAM(IDC_MAIN_PREVIOUS, BN_CLICKED), (LPARAM)::GetDlgItem(main, IDC_MAIN_PREVIOUS));
        return TRUE;
    case IDC_MINI_PLAY:
        PostToMain(WM_COMMAND, MAKEWPARAM(IDC_MAIN_PLAY, BN_CLICKED), (LPARAM)::GetDlgItem(main, IDC_MAIN_PLAY));
        return TRUE;
    case IDC_MINI_STOP:
        PostToMain(WM_COMMAND, MAKEWPARAM(IDC_MAIN_STOP, BN_CLICKED), (LPARAM)::GetDlgItem(main, IDC_MAIN_STOP));
        return TRUE;
    case IDC_MINI_NEXT:
        PostToMain(WM_COMMAND, MAKEWPARAM(IDC_MAIN_NEXT, BN_CLICKED), (LPARAM)::GetDlgItem(main, IDC_MAIN_NEXT));
        return TRUE;
    case IDC_MINI_SHOW_MAIN:
    case ID_BUDDY_DELETE: // "show the main window" in this menu
        PostToMain(WM_MINI_SHOW_MAIN, 0, 0);
        return TRUE;
    case ID_WINDOW_TOPMOST:
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return TRUE;
    case ID_WINDOW_NOT_TOPMOST:
        ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return TRUE;
    case ID_TRAY_CLOSE_WINDOW:
        PostToMain(kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
        return TRUE;
    case ID_APP_EXIT_CLIENT:
        SaveRect();
        PostToMain(WM_COMMAND, ID_APP_EXIT_CLIENT, 0);
        return TRUE;
    default:
        return CSkinDialog::OnCommand(wParam, lParam);
    }
}

void CDlgMiniPlayer::OnContextMenu(CWnd*, CPoint point)
{
    if (point.x == -1 && point.y == -1)
        ::GetCursorPos(&point);
    BOOL topmost = (GetExStyle() & WS_EX_TOPMOST) != 0;
    HMENU built = BuildContextMenu(topmost);
    if (!built)
        return;
    // Shown owner-drawn, as the main window's menus are.
    CMenuEx menu;
    BOOL copied = menu.LoadPopup(built);
    ::DestroyMenu(built);
    CMenu* popup = copied ? menu.GetSubMenu(0) : NULL;
    if (!popup)
        return;
    SetForegroundWindow();
    popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y + 2, this);
    PostMessage(WM_NULL);
}

void CDlgMiniPlayer::PaintStrip(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CMemoryDC memory(pDC->GetSafeHdc(), client.Width(), client.Height());
    memory.FillSolidRect(&client, RGB(255, 255, 255));
    int leftWidth = GetBitmapSize(m_left).cx;
    int rightWidth = GetBitmapSize(m_right).cx;
    DrawBitmap(m_left, &memory, 0, 0);
    TileBitmap(m_second, &memory, leftWidth, 0, leftWidth + kSecondPieceWidth, client.Height());
    TileBitmap(m_middle, &memory, leftWidth + kSecondPieceWidth, 0, client.Width() - rightWidth, client.Height());
    DrawBitmap(m_right, &memory, client.Width() - rightWidth, 0);
    memory.SetBkMode(TRANSPARENT);
    for (size_t i = 0; i < m_lineTexts.size() && i < m_lineRects.size(); ++i)
    {
        memory.SetTextColor(i < m_lineColours.size() ? m_lineColours[i] : 0);
        CRect r = m_lineRects[i];
        memory.DrawText(m_lineTexts[i], &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    }
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
}

void CDlgMiniPlayer::OnPaint()
{
    CPaintDC dc(this);
    if (IsIconic())
    {
        CRect client;
        GetClientRect(&client);
        int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
        dc.DrawIcon((client.Width() - cx + 1) / 2, (client.Height() - cy + 1) / 2, m_hIcon);
        return;
    }
    PaintStrip(&dc);
}

LRESULT CDlgMiniPlayer::OnPrintClient(WPARAM wParam, LPARAM)
{
    // The buttons take their background from here.
    CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    PaintStrip(pDC);
    return TRUE;
}

void CDlgMiniPlayer::OnLButtonDown(UINT, CPoint point)
{
    m_nDragMode = DRAG_MOVE;
    m_bHold = FALSE;
    ::SetCursor(m_hMoveCursor);
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

void CDlgMiniPlayer::OnLButtonDblClk(UINT, CPoint)
{
    PostToMain(WM_MINI_SHOW_MAIN, 0, 0);
}

LRESULT CDlgMiniPlayer::OnNcHitTest(CPoint point)
{
    CRect r;
    GetWindowRect(&r);
    if (point.x >= r.left && point.x < r.left + kStretchBorder)
    {
        m_nDragMode = DRAG_LEFT;
        return HTLEFT;
    }
    if (point.x < r.right && point.x >= r.right - kStretchBorder)
    {
        m_nDragMode = DRAG_RIGHT;
        return HTRIGHT;
    }
    m_nDragMode = DRAG_NONE;
    return Default();
}

void CDlgMiniPlayer::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTLEFT || nHitTest == HTRIGHT)
    {
        m_bHold = TRUE;
        HideLines();
        SendMessage(WM_SYSCOMMAND, SC_SIZE + (nHitTest == HTLEFT ? 1 : 2), MAKELPARAM(point.x, point.y));
        return;
    }
    Default();
}

void CDlgMiniPlayer::OnNcLButtonUp(UINT, CPoint)
{
    BOOL stretched = m_bHold && (m_nDragMode == DRAG_LEFT || m_nDragMode == DRAG_RIGHT);
    m_bHold = FALSE;
    if (stretched)
    {
        if (m_stTitle.GetSafeHwnd())
            m_stTitle.StartScroll(CScrollTextStatic::MODE_SINGLE);
        ShowWantedLine();
    }
    Default();
}

void CDlgMiniPlayer::OnSysCommand(UINT nID, LPARAM lParam)
{
    Default();
    UINT command = nID & 0xFFF0;
    if (command == SC_SIZE || command == SC_MOVE)
    {
        // The modal size or move loop has ended: the button is up.
        m_bHold = FALSE;
        PostMessage(WM_LBUTTONUP, 0, 0);
        ShowWantedLine();
    }
    (void)lParam;
}

void CDlgMiniPlayer::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize.x = MIN_WIDTH;
    info->ptMinTrackSize.y = HEIGHT;
}

void CDlgMiniPlayer::OnWindowPosChanging(WINDOWPOS* pos)
{
    if (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE))
    {
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        // A move keeps the size: fill in what the caller left out.
        CRect now;
        GetWindowRect(&now);
        if (pos->flags & SWP_NOMOVE)
        {
            pos->x = now.left;
            pos->y = now.top;
        }
        if (pos->flags & SWP_NOSIZE)
        {
            pos->cx = now.Width();
            pos->cy = now.Height();
        }
        WINDOWPOS before = *pos;
        SnapToWorkArea(*pos, work, m_bHold);
        if (pos->x != before.x || pos->y != before.y)
            pos->flags &= ~SWP_NOMOVE;
        if (pos->cx != before.cx || pos->cy != before.cy)
            pos->flags &= ~SWP_NOSIZE;
    }
    Default();
}

void CDlgMiniPlayer::OnActivate(UINT nState, CWnd*, BOOL)
{
    if (nState == WA_INACTIVE)
    {
        m_nDragMode = DRAG_NONE;
        m_bHold = FALSE;
    }
    Default();
}
