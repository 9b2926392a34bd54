// The main window's pop-up menus (song panes, left bar, main and status
// menus), the tray icon, the boss key, snapping to the screen's edges, the
// maximise button and the play-position text.
#include "DlgMain.h"

#include "AppSetting.h"
#include "DataClient.h"
#include "DlgMessage.h"
#include "DlgLogin.h"
#include "LanguageTable.h"
#include "MenuEx.h"
#include "ReservedNames.h"
#include "resource.h"

namespace
{
UINT TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    return ::TrackPopupMenu(menu, flags, x, y, 0, owner, NULL);
}

// A popup of a menu resource, detached from its bar so that it lives on its own.
HMENU LoadPopup(UINT resource, int position)
{
    HMENU bar = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(resource));
    if (!bar)
        return NULL;
    HMENU popup = ::GetSubMenu(bar, position);
    if (popup)
        ::RemoveMenu(bar, position, MF_BYPOSITION);
    ::DestroyMenu(bar);
    return popup;
}

void AddItem(HMENU menu, UINT id, const CString& text)
{
    ::AppendMenuW(menu, MF_STRING, id, text);
}

const int kSnapDistance = 10;
} // namespace

UINT (*CDlgMain::s_trackMenu)(HMENU, UINT, int, int, HWND) = TrackMenu;

// ---------------------------------------------------------------------------
// Context menus of the song panes and the left bar

HMENU CDlgMain::BuildSongListsMenu(int row)
{
    BOOL own = IsShowingOwnLibrary();
    if (row < 0)
    {
        // Empty space: the shown list stays selected.
        int shown = m_listSongLists.FindList(m_strShownListName);
        if (shown >= 0)
            SelectListItem(m_listSongLists, shown);
        return own ? LoadPopup(IDR_MENU_CONTEXT, MENU_CONTEXT_LIST_SPACE) : NULL;
    }
    if (!m_listSongLists.GetRow(row))
        return NULL;
    HMENU menu = ::CreatePopupMenu();
    AddItem(menu, ID_SONGLIST_PLAY, Lang(L"INFO_PLAYER_PLAY") + L"/" + Lang(L"INFO_PLAYER_STOP"));
    if (own && !IsReservedListName(m_listSongLists.GetListName(row), FALSE))
    {
        AddItem(menu, ID_SONGLIST_ADD_SONG, Lang(L"INFO_MENU_ADDSONG"));
        if (row > 0)
        {
            AddItem(menu, ID_SONGLIST_RENAME, Lang(L"INFO_MENU_RENAME_SONGLIST"));
            ::AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
            AddItem(menu, ID_SONGLIST_DELETE, Lang(L"INFO_MENU_DEL_SONGLIST"));
        }
    }
    return menu;
}

HMENU CDlgMain::BuildSongRowMenu(int row, int subItem)
{
    BOOL own = IsShowingOwnLibrary();
    SongRowData* data = m_listSongs.GetRow(row);
    if (!data)
        return own ? LoadPopup(IDR_MENU_CONTEXT, MENU_CONTEXT_SONG_SPACE) : NULL;

    // The title and artist columns give the search its text.
    BOOL searchable = subItem == 0 || subItem == 1;
    if (searchable)
        m_strSearchText = subItem == 0 ? data->title : data->artist;

    HMENU menu = ::CreatePopupMenu();
    if (!data->unavailable)
        AddItem(menu, ID_SONG_PLAY, Lang(data->playing ? L"INFO_PLAYER_STOP" : L"INFO_PLAYER_PLAY"));
    if (!own)
    {
        if (searchable)
            AddItem(menu, ID_SONG_SEARCH, Lang(L"INFO_MUSIC_GOOGLE_SEARCH"));
        return menu;
    }
    if (m_listSongs.GetSelectedCount() > 1)
    {
        // Several rows: deleting is all they have in common.
        ::DestroyMenu(menu);
        menu = ::CreatePopupMenu();
        AddItem(menu, ID_SONG_DELETE, Lang(L"INFO_MENU_DEL_FROM_SONGLIST"));
        return menu;
    }
    BOOL download = data->actionIcon == 1;
    if (data->actionIcon == -1)
        AddItem(menu, ID_SONG_SEND, Lang(L"INFO_MENU_SEND_SONG"));
    if (download)
        AddItem(menu, ID_SONG_COLLECT, Lang(L"INFO_MENU_COLLECT_SONG"));
    int flags = g_pAppSetting ? g_pAppSetting->wPrivacy : 0;
    if (data->owner == m_strUserEmail || download)
    {
        if (flags & 16)
            AddItem(menu, ID_SONG_APPLY, Lang(L"INFO_MUSIC_COMPANY_COMMEND"));
        if (flags & 8)
            AddItem(menu, ID_SONG_UPLOAD, Lang(L"INFO_MUSIC_COMPANY_JOIN"));
    }
    if (searchable)
        AddItem(menu, ID_SONG_SEARCH, Lang(L"INFO_MUSIC_GOOGLE_SEARCH"));
    if (!data->unavailable || download)
        ::AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
    AddItem(menu, ID_SONG_DELETE, Lang(L"INFO_MENU_DEL_FROM_SONGLIST"));
    return menu;
}

HMENU CDlgMain::BuildLeftBarRowMenu(int row)
{
    CFriendItem* item = LeftBar().GetItem(row);
    if (!item)
        return NULL;
    int position = MENU_CONTEXT_BUDDY_ROW;
    if (!m_strPlayingOwner.IsEmpty() && item->id == m_strPlayingOwner)
        position = MENU_CONTEXT_BUDDY_ROW_KEEP;
    else if (item->presence > 2)
        position = MENU_CONTEXT_DELETE;
    HMENU menu = LoadPopup(IDR_MENU_CONTEXT, position);
    if (menu && position != MENU_CONTEXT_DELETE && !(item->buttons & 2))
        ::EnableMenuItem(menu, ID_BUDDY_VIEW_BUDDIES, MF_BYCOMMAND | MF_GRAYED);
    return menu;
}

namespace
{
// Every pop-up of this window is shown owner-drawn: a copy made for this one
// showing, whose items' records live until the tracking has returned.
void TrackOwnerDrawn(CMenuEx& menu, int position, int x, int y, HWND owner,
                     UINT (*track)(HMENU, UINT, int, int, HWND))
{
    CMenu* popup = menu.GetSubMenu(position);
    if (popup && popup->m_hMenu)
        track(popup->m_hMenu, TPM_RIGHTBUTTON, x, y, owner);
}

// The first pop-up of a menu resource, shown at the cursor.
void TrackResourceAtCursor(UINT resource, HWND owner, UINT (*track)(HMENU, UINT, int, int, HWND))
{
    CMenuEx menu;
    if (!menu.LoadMenu(resource))
        return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    TrackOwnerDrawn(menu, 0, cursor.x, cursor.y, owner, track);
}

// A menu built for a row, shown at the cursor and destroyed afterwards.
void TrackAtCursor(HMENU built, HWND owner, UINT (*track)(HMENU, UINT, int, int, HWND))
{
    if (!built)
        return;
    CMenuEx menu;
    BOOL copied = menu.LoadPopup(built);
    ::DestroyMenu(built);
    if (!copied)
        return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    TrackOwnerDrawn(menu, 0, cursor.x, cursor.y, owner, track);
}
} // namespace

void CDlgMain::ShowSongListsMenu(int row)
{
    TrackAtCursor(BuildSongListsMenu(row), m_hWnd, s_trackMenu);
}

void CDlgMain::ShowSongRowMenu(int row, int subItem)
{
    TrackAtCursor(BuildSongRowMenu(row, subItem), m_hWnd, s_trackMenu);
}

void CDlgMain::ShowLeftBarRowMenu(int row)
{
    TrackAtCursor(BuildLeftBarRowMenu(row), m_hWnd, s_trackMenu);
}

void CDlgMain::ShowMainMenu()
{
    CMenuEx menu;
    menu.LoadMenu(IDR_MENU_MAIN);
    CRect button;
    if (m_btnMenu.GetSafeHwnd())
        m_btnMenu.GetWindowRect(&button);
    TrackOwnerDrawn(menu, 0, button.left, button.bottom, m_hWnd, s_trackMenu);
}

void CDlgMain::ShowStatusMenu()
{
    TrackResourceAtCursor(IDR_MENU_STATUS, m_hWnd, s_trackMenu);
}

void CDlgMain::ShowTrayMenu()
{
    // In the foreground, so that a click elsewhere closes the menu; the
    // empty message afterwards lets the tray see the menu end.
    SetForegroundWindow();
    TrackResourceAtCursor(IDR_MENU_MAIN, m_hWnd, s_trackMenu);
    PostMessage(WM_NULL);
}

// ---------------------------------------------------------------------------
// Tray icon and boss key

BOOL CDlgMain::SetTrayIcon(int presence, BOOL add)
{
    SettleTrayIcon();
    UINT icon = presence == 1 ? IDI_TRAY_AWAY : presence == 2 ? IDI_TRAY_BUSY : presence == 3 ? IDI_TRAY_INVISIBLE
                                                                                               : IDI_APP_SMALL;
    HICON handle = static_cast<HICON>(
        ::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(icon), IMAGE_ICON, 16, 16, LR_SHARED));
    NOTIFYICONDATAW data{};
    data.cbSize = offsetof(NOTIFYICONDATAW, hBalloonIcon);
    data.hWnd = m_hWnd;
    data.uID = ID_TRAY_ICON;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_MAIN_TRAY_NOTIFY;
    data.hIcon = handle;
    wcscpy(data.szTip, L"yeb360");
    m_nTrayIcon = icon;
    BOOL done = ::Shell_NotifyIconW(add ? NIM_ADD : NIM_MODIFY, &data);
    if (add)
        m_bTrayIcon = done;
    return done;
}

void CDlgMain::ShowChatWindows(int show)
{
    for (auto& entry : m_chatWindows)
        if (entry.second && ::IsWindow(entry.second->GetSafeHwnd()))
            entry.second->ShowWindow(show);
}

LRESULT CDlgMain::OnHotKey(WPARAM id, LPARAM)
{
    if (id != ID_BOSS_HOT_KEY)
        return 0;
    CWnd* mini = m_miniPlayer.get();
    if (m_bMiniMode && mini && ::IsWindow(mini->GetSafeHwnd()))
    {
        if (mini->IsWindowVisible())
        {
            ::ShowOwnedPopups(m_hWnd, FALSE);
            mini->ShowWindow(SW_HIDE);
            ShowChatWindows(SW_HIDE);
            RemoveTrayIcon();
            m_bBossKeyHidden = TRUE;
        }
        else
        {
            ::ShowOwnedPopups(m_hWnd, TRUE);
            mini->ShowWindow(SW_SHOWNORMAL);
            mini->SetForegroundWindow();
            ShowChatWindows(SW_SHOW);
            SetTrayIcon(m_nPresence, TRUE);
            m_bBossKeyHidden = FALSE;
        }
        return 0;
    }
    BOOL loginShown = m_pDlgLogin && ::IsWindow(m_pDlgLogin->GetSafeHwnd()) && m_pDlgLogin->IsWindowVisible();
    if (IsWindowVisible())
    {
        ::ShowOwnedPopups(m_hWnd, FALSE);
        ShowWindow(SW_HIDE);
        ShowChatWindows(SW_HIDE);
        RemoveTrayIcon();
        m_bBossKeyHidden = TRUE;
    }
    else if (loginShown)
    {
        ::ShowOwnedPopups(m_hWnd, FALSE);
        ShowWindow(SW_HIDE);
        RemoveTrayIcon();
        m_bBossKeyHidden = TRUE;
    }
    else
    {
        ::ShowOwnedPopups(m_hWnd, TRUE);
        OnBringToFront(0, 0); // the login dialog while it exists, else this window
        ShowChatWindows(SW_SHOW);
        SetTrayIcon(m_nPresence, TRUE);
        m_bBossKeyHidden = FALSE;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Window size and place

void CDlgMain::SnapToWorkArea(WINDOWPOS& pos, const RECT& work, BOOL resize)
{
    if (pos.flags & SWP_NOMOVE)
        return;
    int right = pos.x + pos.cx, bottom = pos.y + pos.cy;
    if (pos.x > work.left && pos.x <= work.left + kSnapDistance)
    {
        if (resize)
            pos.cx = right - work.left;
        pos.x = work.left;
    }
    else if (right >= work.right - kSnapDistance && right < work.right)
    {
        if (resize)
            pos.cx = work.right - pos.x;
        else
            pos.x = work.right - pos.cx;
    }
    if (pos.y > work.top && pos.y <= work.top + kSnapDistance)
    {
        if (resize)
            pos.cy = bottom - work.top;
        pos.y = work.top;
    }
    else if (bottom >= work.bottom - kSnapDistance && bottom < work.bottom)
    {
        if (resize)
            pos.cy = work.bottom - pos.y;
        else
            pos.y = work.bottom - pos.cy;
    }
}

LRESULT CDlgMain::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (pos && !m_bMaximized && !IsIconic())
    {
        RECT work;
        if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
            SnapToWorkArea(*pos, work, m_bSizing);
    }
    return Default();
}

void CDlgMain::ToggleMaximise()
{
    if (!m_bMaximized)
    {
        GetWindowRect(&m_rcBeforeMaximise);
        if (g_pAppSetting)
            g_pAppSetting->rcNomalWnd = m_rcBeforeMaximise;
        RECT work;
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        m_bMaximized = TRUE;
        MoveWindow(&work, TRUE);
        m_btnMaximise.SetBitmapStrip(IDB_BTN_MAIN_RESTORE, RGB(255, 0, 255));
        m_tooltip.RemoveTool(&m_btnMaximise);
        m_tooltip.AddTool(&m_btnMaximise, Lang(L"CONST_MAIN_BTN_RESTORE"));
    }
    else
    {
        m_bMaximized = FALSE;
        CRect back = m_rcBeforeMaximise;
        if (back.IsRectEmpty() && g_pAppSetting)
            back = g_pAppSetting->rcNomalWnd;
        MoveWindow(&back, TRUE);
        m_btnMaximise.SetBitmapStrip(IDB_BTN_MAIN_MAXIMISE, RGB(255, 0, 255));
        m_tooltip.RemoveTool(&m_btnMaximise);
        m_tooltip.AddTool(&m_btnMaximise, Lang(L"CONST_MAIN_BTN_MAX"));
    }
    Invalidate(FALSE);
}

void CDlgMain::OnLButtonDblClk(UINT, CPoint point)
{
    // The caption band is the top 98 pixels of the window.
    if (point.y >= 0 && point.y < 98)
        ToggleMaximise();
    else
        Default();
}

void CDlgMain::OnActivate(UINT state, CWnd*, BOOL)
{
    SetTitleBitmap(state == WA_INACTIVE ? IDB_MAIN_TITLE_INACTIVE : IDB_MAIN_TITLE);
    if (GetSafeHwnd())
    {
        CRect band;
        GetClientRect(&band);
        band.bottom = band.top + 98;
        InvalidateRect(&band, FALSE);
    }
    Default();
}

LRESULT CDlgMain::OnBrowserButtonState(WPARAM type, LPARAM enable)
{
    CImageButton* button = type == 1 ? &m_btnWebForward : type == 2 ? &m_btnWebBack : NULL;
    if (button && button->GetSafeHwnd() && (button->IsWindowEnabled() != FALSE) != (enable != 0))
        button->EnableWindow(enable != 0);
    return 1;
}

LRESULT CDlgMain::OnStartPlaylistCheck(WPARAM, LPARAM)
{
    if (CDataClient* data = CDataClient::GetInstance())
        data->StartPlaylistCheck();
    return 0;
}

void CDlgMain::OnSignatureButton()
{
    if (m_btnSignature.GetSafeHwnd() && !m_btnSignature.IsEditing())
        m_btnSignature.SetEditing(TRUE);
}

// ---------------------------------------------------------------------------
// Player texts

CString CDlgMain::GetPositionText()
{
    long state = m_player.get_playState();
    switch (state)
    {
    case 1:
        return L"00:00 / 00:00";
    case 2:
    case 3:
    {
        BSTR position = NULL, duration = NULL;
        m_player.get_currentPositionString(&position);
        m_player.get_durationString(&duration);
        CString text;
        text.Format(L"%s / %s", position ? position : L"", duration ? duration : L"");
        ::SysFreeString(position);
        ::SysFreeString(duration);
        return text;
    }
    case 6:
        ::OutputDebugStringW(L"PLAYER state:  mppsBuffering!\n");
        return CString();
    case 7:
        ::OutputDebugStringW(L"PLAYER state:  mppsWaiting!\n");
        return CString();
    default:
        return CString();
    }
}

void CDlgMain::PlayRadioStream(const CString& text)
{
    StopPlayback(0);
    m_bSongLoaded = FALSE;
    m_bWebStream = TRUE;
    m_strPlayingSongId = L"1";
    StartBufferingDisplay();
    m_player.PlayWebMusic(L"", L"", text, L"", 0);
    if (LeftBar().GetItem(3))
        LeftBar().MarkItem(3);
    if (m_btnStop.GetSafeHwnd())
        m_btnStop.EnableWindow(TRUE);
    int parts = 1;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] == L'&')
            ++parts;
    if (parts > 2)
    {
        int radio = LeftBar().FindItem(L"radio");
        if (radio >= 0)
        {
            LeftBar().SetCurSel(radio);
            LeftBar().EnsureVisible(LeftBar().GetItem(radio)->key);
        }
    }
}
