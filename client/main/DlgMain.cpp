#include "DlgMain.h"
#include "Board.h"
#include "WorkerThreadRegistry.h"

#include "AppSetting.h"
#include "ClientApp.h"
#include "DataClient.h"
#include "DataFolder.h"
#include "DlgLogin.h"
#include "DlgBuddyInfo.h"
#include "DlgMessage.h"
#include "FileFolder.h"
#include "LanguageTable.h"
#include "ListenLog.h"
#include "PopupRegistry.h"
#include "ServiceAddresses.h"
#include "Vossel.h"
#include "UserLookup.h"
#include "resource.h"

#include <cstddef>
#include <new>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace
{
// The one main window; set by the constructor, cleared by the destructor.
CDlgMain* volatile g_pMainDlg = NULL;

const UINT kTrayIconId = ID_TRAY_ICON;
const int kBossKeyId = ID_BOSS_HOT_KEY;

INT_PTR RunLoginDialog(CDlgMain* main)
{
    CDlgLogin login;
    main->m_pDlgLogin = &login;
    INT_PTR result = login.DoModal();
    main->m_pDlgLogin = NULL;
    return result;
}

void EndOwnProcess(UINT exitCode)
{
    ::TerminateProcess(::GetCurrentProcess(), exitCode);
}

// The tray icon's record: the size that carries the tip and no balloon icon.
NOTIFYICONDATAW TrayIconData(HWND window, HICON icon)
{
    NOTIFYICONDATAW data{};
    data.cbSize = offsetof(NOTIFYICONDATAW, hBalloonIcon);
    data.hWnd = window;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_MAIN_TRAY_NOTIFY;
    data.hIcon = icon;
    wcscpy(data.szTip, L"yeb360");
    return data;
}
} // namespace

HINSTANCE(WINAPI* CDlgMain::s_shellExecute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT) = ::ShellExecuteW;
void (*CDlgMain::s_endOwnProcess)(UINT) = EndOwnProcess;
INT_PTR (*CDlgMain::s_runLogin)(CDlgMain*) = RunLoginDialog;

BEGIN_MESSAGE_MAP(CDlgMain, CSkinResizableDialog)
    ON_MESSAGE(WM_MAIN_TRAY_NOTIFY, &CDlgMain::OnTrayNotify)
    ON_MESSAGE(WM_MAIN_COMMAND, &CDlgMain::OnCommandReceived)
    ON_MESSAGE(WM_MAIN_BUDDY_IDS, &CDlgMain::OnBuddyIds)
    ON_MESSAGE(WM_MAIN_QUIT, &CDlgMain::OnQuit)
    ON_MESSAGE(WM_MAIN_RELAUNCH, &CDlgMain::OnRelaunch)
    ON_MESSAGE(WM_MAIN_BRING_TO_FRONT, &CDlgMain::OnBringToFront)
    ON_MESSAGE(WM_USER + 44, &CDlgMain::OnChatRequest)
    ON_MESSAGE(WM_USER + 14, &CDlgMain::OnNotifyThreadEnded)
    ON_MESSAGE(WM_USER + 32, &CDlgMain::OnAvatarHover)
    ON_MESSAGE(WM_USER + 24, &CDlgMain::OnOwnAvatarOrCard)
    ON_COMMAND(IDC_MAIN_ADD_BUDDY, &CDlgMain::RunAddFriend)
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_SYSCOMMAND()
    ON_COMMAND(IDC_MAIN_CLOSE, &CDlgMain::OnCloseToTray)
    ON_COMMAND(IDC_MAIN_MINIMISE, &CDlgMain::OnMinimiseButton)
    ON_COMMAND(IDC_MAIN_WEB_BACK, &CDlgMain::OnWebBack)
    ON_COMMAND(IDC_MAIN_WEB_FORWARD, &CDlgMain::OnWebForward)
    ON_COMMAND(IDC_MAIN_HOME_PAGE, &CDlgMain::OnHomePageButton)
    ON_MESSAGE(WM_MAIN_DROP_ON_LIST, &CDlgMain::AddSelectedSongsToList)
    ON_BN_CLICKED(IDC_MAIN_ADD_SONG, &CDlgMain::OnAddSongButton)
    ON_MESSAGE(WM_MAIN_MOVE_SONG_ROWS, &CDlgMain::OnMoveSongRows)
    ON_MESSAGE(WM_MAIN_LIBRARY_WAIT_MESSAGE, &CDlgMain::OnLibraryWaitMessage)
    ON_COMMAND(IDC_MAIN_ADD_SONG_LIST, &CDlgMain::OnNewSongList)
    ON_COMMAND(ID_SONGLIST_NEW, &CDlgMain::OnNewSongList)
    ON_COMMAND(ID_SONGLIST_RENAME, &CDlgMain::OnRenameSongList)
    ON_COMMAND(ID_SONGLIST_DELETE, &CDlgMain::OnDeleteSongLists)
    ON_COMMAND(ID_SETTINGS, &CDlgMain::OnSettingsMenu)
    ON_MESSAGE(WM_USER + 33, &CDlgMain::OnAvatarReady)
    ON_COMMAND(ID_CHANGE_AVATAR, &CDlgMain::OpenAvatarChooser)
    ON_COMMAND(IDC_MAIN_MINI_PLAYER, &CDlgMain::EnterMiniMode)
    ON_MESSAGE(WM_MINI_SHOW_MAIN, &CDlgMain::OnMiniPlayerNotify)
    ON_MESSAGE(WM_MAIN_PLAY_ADJACENT, &CDlgMain::OnPlayAdjacent)
    ON_MESSAGE(WM_MAIN_RESUME, &CDlgMain::OnResume)
    ON_MESSAGE(WM_MAIN_FADE, &CDlgMain::OnFadeMessage)
    ON_MESSAGE(WM_MAIN_FADE_STEP, &CDlgMain::OnFadeStep)
    ON_MESSAGE(CBitmapSlider::WM_SLIDER_MOVING, &CDlgMain::OnSliderMoved)
    ON_MESSAGE(CBitmapSlider::WM_SLIDER_MOVED, &CDlgMain::OnSliderReleased)
    ON_MESSAGE(WM_MAIN_PLAYER_EVENT, &CDlgMain::OnPlayerEvent)
    ON_COMMAND(IDC_MAIN_NEXT, &CDlgMain::OnNext)
    ON_COMMAND(IDC_MAIN_PREVIOUS, &CDlgMain::OnPrev)
    ON_COMMAND(IDC_MAIN_PLAY, &CDlgMain::OnPlayPause)
    ON_COMMAND(IDC_MAIN_STOP, &CDlgMain::OnStop)
    ON_COMMAND(IDC_MAIN_PUSH_SONG, &CDlgMain::OnPushPlayingSong)
    ON_COMMAND(IDC_MAIN_LOOP_MODE, &CDlgMain::OnLoopMode)
    ON_COMMAND(IDC_MAIN_MUTE, &CDlgMain::OnMute)
    ON_MESSAGE(WM_HOTKEY, &CDlgMain::OnHotKey)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, &CDlgMain::OnWindowPosChanging)
    ON_COMMAND(IDC_MAIN_MENU, &CDlgMain::ShowMainMenu)
    ON_COMMAND(IDC_MAIN_NICK, &CDlgMain::ShowStatusMenu)
    ON_COMMAND(IDC_MAIN_MAXIMISE, &CDlgMain::ToggleMaximise)
    ON_COMMAND(IDC_MAIN_SIGNATURE, &CDlgMain::OnSignatureButton)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_USER + 53, &CDlgMain::OnBrowserButtonState)
    ON_MESSAGE(WM_MAIN_PLAYLIST_CHECK, &CDlgMain::OnStartPlaylistCheck)
    ON_MESSAGE(WM_USER + 25, &CDlgMain::OnQuietMessage)
    ON_MESSAGE(WM_USER + 56, &CDlgMain::OnQuietMessage)
END_MESSAGE_MAP()

CDlgMain::CDlgMain(CWnd* parent)
    : CSkinResizableDialog(IDD_MAIN, parent), m_hBigIcon(NULL), m_hSmallIcon(NULL), m_nSplitter(201),
      m_nSongListWidth(0), m_nLoopMode(0), m_bSongLoaded(FALSE), m_bWebStream(FALSE), m_bMiniMode(FALSE),
      m_pDlgLogin(NULL), m_bAutoAway(FALSE), m_nPresence(0), m_nMediaErrors(0), m_timerPosition(0), m_timerAway(0),
      m_timerListenLog(0), m_timerLoading(0), m_timerBuffering(0), m_dwStartTick(::GetTickCount()),
      m_bMinimized(FALSE), m_bTrayIcon(FALSE), m_bDestroyed(FALSE), m_bControlsReady(FALSE),
      m_listSongs(m_paneSong.m_listSong), m_listSongLists(m_paneSong.m_listCD), m_bLibraryToolbar(TRUE),
      m_bOutsideSearch(FALSE), m_bBrowserProcReplaced(FALSE)
{
    m_hBigIcon = static_cast<HICON>(
        ::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    m_hIcon = m_hBigIcon;
    g_pMainDlg = this;
}

CDlgMain::~CDlgMain()
{
    SettleTrayIcon();
    if (g_pMainDlg == this)
        g_pMainDlg = NULL;
    while (!m_openBoards.empty())
        CloseSongBoard(m_openBoards.begin()->first);
    if (m_hBigIcon)
        ::DestroyIcon(m_hBigIcon);
    if (m_hSmallIcon)
        ::DestroyIcon(m_hSmallIcon);
}

CDlgMain* CDlgMain::Instance()
{
    return g_pMainDlg;
}

void CDlgMain::PrefetchOwnLibrary()
{
    CClientApp* app = GetClientApp();
    CString email;
    if (app)
        app->GetUserEmail(email);
    if (!email.IsEmpty())
        m_ownLibraryFile.Prefetch(app->GetMyPlaylistPath());
}

BOOL CDlgMain::OnInitDialog()
{
    // An account known from the command line is read while the window is made.
    PrefetchOwnLibrary();
    AfxInitRichEdit2();
    SetTopLeftBitmap(IDB_MAIN_TOP_LEFT);
    SetTopBitmap(IDB_MAIN_TOP);
    SetTopRightBitmap(IDB_MAIN_TOP_RIGHT);
    SetLeftBitmap(IDB_MAIN_LEFT);
    SetGripBitmap(IDB_MAIN_LEFT);
    SetRightBitmap(IDB_MAIN_RIGHT);
    SetBottomLeftBitmap(IDB_MAIN_BOTTOM_LEFT);
    SetBottomBitmap(IDB_MAIN_BOTTOM);
    SetBottomRightBitmap(IDB_MAIN_BOTTOM_RIGHT);
    SetTitleBitmap(IDB_MAIN_TITLE);
    SetTitleBitmapTop(1);
    CSkinResizableDialog::OnInitDialog();
    ConnectTransferWindows();
    InstallPushChoosers();

    // The stored normal rectangle, grown to the smallest size the window
    // may have (left and top kept), then centred.
    CRect rect(100, 100, 100 + 920, 100 + 668);
    if (g_pAppSetting)
    {
        rect = g_pAppSetting->rcNomalWnd;
        m_nSplitter = g_pAppSetting->splitter1 != 0 ? g_pAppSetting->splitter1 : 212;
        m_nSongListWidth = g_pAppSetting->splitter2;
    }
    else
        m_nSplitter = 212;
    if (rect.Width() < m_minTrackWidth)
        rect.right = rect.left + m_minTrackWidth;
    if (rect.Height() < m_minTrackHeight)
        rect.bottom = rect.top + m_minTrackHeight;
    if (g_pAppSetting)
        g_pAppSetting->rcNomalWnd = rect;
    MoveWindow(&rect, TRUE);
    CenterWindow(NULL);

    ModifyStyle(0, WS_SYSMENU);
    if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE))
    {
        ::DeleteMenu(system, SC_MAXIMIZE, MF_BYCOMMAND);
        ::DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
    }
    SetWindowText(L"YEB360");
    m_hSmallIcon = static_cast<HICON>(
        ::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_APP_SMALL), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hBigIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    // The tooltip is owned by this window; a second copy of the client finds
    // the running one by climbing from owned windows to their owner.
    m_tooltip.Create(this, FALSE);

    if (!StartPlayer())
    {
        CDlgMessage::ShowMessage(Lang(L"INFO_COMMON_MSG_INIT_ERROR"), 0, Lang(L"INFO_COMMON_MSG_REINSTALL"), L"", 0, 0,
                                 this);
        OnCancel();
        return TRUE;
    }

    LayoutControls(TRUE);
    if (g_pAppSetting)
        RegisterBossKey(g_pAppSetting->bBossAlt, g_pAppSetting->bBossCtrl, g_pAppSetting->bBossShift,
                        g_pAppSetting->nBossChar);
    else
        RegisterBossKey(FALSE, FALSE, FALSE, 0);

    if (s_runLogin(this) == IDOK)
        ShowMyAvatar();
    else
        OnCancel();

    if (CClientApp* app = GetClientApp())
        app->GetUserEmail(m_strUserEmail);
    // Read while the sign-in completes (the login asked for it as soon as the
    // account was known); its end shows the library.
    PrefetchOwnLibrary();
    AddTrayIcon();
    m_timerPosition = SetTimer(TIMER_MAIN_POSITION, 1000);
    m_timerAway = SetTimer(TIMER_MAIN_AWAY, 1000);
    m_timerListenLog = SetTimer(TIMER_MAIN_LISTEN_LOG, 600000);
    if (m_paneFriend.GetSafeHwnd())
        m_paneFriend.SetFocus();

    if (!m_strDataFolder.IsEmpty() && !m_strUserEmail.IsEmpty())
    {
        CString board = BuildBoardPath(m_strDataFolder, m_strUserEmail);
        if (FAILED(m_boardStore.Load(board)) && m_boardStore.CreateEmptyFile(board) == 0)
            m_boardStore.Load(board);
    }
    return FALSE;
}

BOOL CDlgMain::StartPlayer()
{
    if (!CreateDataFolders())
        return FALSE;
    if (!m_strDataFolder.IsEmpty())
        m_player.SetHttpServerOption(m_strDataFolder + L"cache", 80, NULL, L"1", L"cache");
    if (m_player.StartHttpServer() == 1)
        return FALSE;
    if (m_player.InitWMPlayer() == 1)
        return FALSE;
    m_player.SetCallback(&CDlgMain::PlayerEventCallback);
    return TRUE;
}

BOOL CDlgMain::RegisterBossKey(BOOL alt, BOOL ctrl, BOOL shift, UINT key)
{
    bool validKey = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= VK_F1 && key <= VK_F12);
    UINT modifiers;
    if ((alt || ctrl || shift) && validKey)
    {
        modifiers = (ctrl ? MOD_CONTROL : 0) | (alt ? MOD_ALT : 0) | (shift ? MOD_SHIFT : 0);
    }
    else
    {
        modifiers = MOD_CONTROL | MOD_ALT;
        key = 'Q';
    }
    ::UnregisterHotKey(m_hWnd, kBossKeyId);
    return ::RegisterHotKey(m_hWnd, kBossKeyId, modifiers, key);
}

void CDlgMain::AddTrayIcon()
{
    SettleTrayIcon();
    NOTIFYICONDATAW data = TrayIconData(m_hWnd, m_hSmallIcon);
    m_trayAdder = std::thread([this, data]() mutable { m_bTrayAdded = ::Shell_NotifyIconW(NIM_ADD, &data); });
}

void CDlgMain::SettleTrayIcon()
{
    if (!m_trayAdder.joinable())
        return;
    m_trayAdder.join();
    m_bTrayIcon = m_bTrayAdded;
}

void CDlgMain::RemoveTrayIcon()
{
    SettleTrayIcon();
    NOTIFYICONDATAW data = TrayIconData(m_hWnd, NULL);
    data.uFlags = 0;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    m_bTrayIcon = FALSE;
}

// ---------------------------------------------------------------------------
// Callbacks of the player library and the messaging library

long __stdcall CDlgMain::PlayerEventCallback(DLL_WMPCOREEVENT event, long value)
{
    CDlgMain* main = g_pMainDlg;
    if (!main)
        return 0;
    HWND window = main->m_hWnd;
    switch (static_cast<long>(event))
    {
    case 5101: // play state
    case 5402: // buffering starts (non-zero) or ends
        // The window reacts on its own thread, where the playing state lives.
        if (window)
            ::PostMessageW(window, WM_MAIN_PLAYER_EVENT, static_cast<WPARAM>(event), static_cast<LPARAM>(value));
        break;
    case 5821: // media error: the next song
        ++main->m_nMediaErrors;
        if (window)
            ::PostMessageW(window, WM_MAIN_PLAYER_EVENT, static_cast<WPARAM>(event), static_cast<LPARAM>(value));
        break;
    default:
        break;
    }
    return 0;
}

void CALLBACK CDlgMain::OnMessagingCommand(CommandData* record)
{
    CDlgMain* main = g_pMainDlg;
    HWND window = main ? main->m_hWnd : NULL;
    if (!record || !window)
        return;
    // WM_USER+28 carries the copy (wParam the code); the window frees it.
    CommandData* copy;
    try
    {
        copy = new CommandData(*record);
    }
    catch (const std::bad_alloc&)
    {
        return; // nothing may be thrown into the library's thread: the record is dropped
    }
    if (!::PostMessageW(window, WM_MAIN_COMMAND, static_cast<WPARAM>(copy->code), reinterpret_cast<LPARAM>(copy)))
        delete copy;
}

void CDlgMain::OnLoginComplete()
{
    CClientApp* app = GetClientApp();
    if (app)
        app->GetUserEmail(m_strUserEmail);
    // The own numeric id (the site's pages need it), then the own profile.
    CString id = QueryUserId(m_strUserEmail);
    if (app && !id.IsEmpty())
        app->SetUserId(id);
    CBuddyCommands::RequestProfile(m_strUserEmail);
    if (m_pDlgLogin && ::IsWindow(m_pDlgLogin->GetSafeHwnd()))
        m_pDlgLogin->SendMessage(WM_LOGIN_SUCCEEDED, 0, 0);
}

CString CDlgMain::QueryUserId(LPCWSTR email)
{
    if (!email || !*email)
        return CString();
    CString text = QueryUserIdOf(email);
    // A numeric id, or nothing.
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] < L'0' || text[i] > L'9')
            return CString();
    return text;
}

void CDlgMain::ShowMyAvatar()
{
    if (!m_picAvatar.GetSafeHwnd())
        return;
    // The own picture from the avatar folder once it is there, else the
    // program's portrait; the control shows its default picture when neither loads.
    CString path;
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(NULL, program, MAX_PATH);
    path = program;
    path = path.Left(path.ReverseFind(L'\\') + 1) + L"avatar\\portrait.jpg";
    CString id;
    if (CClientApp* app = GetClientApp())
        id = app->GetUserId();
    if (!id.IsEmpty())
    {
        CString own = BuildAvatarFolder(id, FALSE) + id + L".jpg";
        if (::GetFileAttributesW(own) != INVALID_FILE_ATTRIBUTES)
            path = own;
    }
    m_picAvatar.SetImage(path);
}

// ---------------------------------------------------------------------------
// Timers

void CDlgMain::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case TIMER_MAIN_BUFFERING:
        OnBufferingTimer();
        break;
    case TIMER_MAIN_AWAY:
        OnAwayTimer();
        break;
    case TIMER_MAIN_POSITION:
        OnPositionTimer();
        break;
    case TIMER_MAIN_LOADING:
        OnLoadingTimer();
        break;
    case TIMER_MAIN_LISTEN_LOG:
        if (CListenLog* log = CListenLog::GetInstance())
            log->SwapAndSend();
        break;
    default:
        OnCardTimer(nIDEvent);
        break;
    }
    Default();
}

void CDlgMain::OnBufferingTimer()
{
    long progress = 0;
    m_player.get_bufferingProgress(&progress);
    CString text = Lang(L"INFO_MAIN_DLG_BUFFERING");
    CString percent;
    if (progress < 100)
        percent.Format(L" (%d%%)", static_cast<int>(progress));
    else
        percent = L" (0%)";
    if (m_stBuffering.GetSafeHwnd())
        m_stBuffering.SetText(text + percent);
}

void CDlgMain::OnAwayTimer()
{
    if (!g_pAppSetting || !g_pAppSetting->bShowState || g_pAppSetting->dwTimeLeave == 0)
    {
        KillTimer(TIMER_MAIN_AWAY);
        m_timerAway = 0;
        return;
    }
    LASTINPUTINFO input{};
    input.cbSize = sizeof(input);
    ::GetLastInputInfo(&input);
    DWORD idleSeconds = (::GetTickCount() - input.dwTime) / 1000;
    if (m_nPresence != 0 && !m_bAutoAway)
        return; // the user chose a presence other than online
    if (idleSeconds >= g_pAppSetting->dwTimeLeave * 60)
    {
        if (!m_bAutoAway)
        {
            m_bAutoAway = TRUE;
            OnCommand(ID_PRESENCE_AWAY, 0);
        }
    }
    else if (m_bAutoAway)
    {
        OnCommand(ID_PRESENCE_ONLINE, 0);
        m_bAutoAway = FALSE;
    }
}

void CDlgMain::OnPositionTimer()
{
    // While a song is loaded the playing code keeps the position line; with
    // nothing loaded the line and the progress slider go back to zero.
    if (!m_strPlayingSongId.IsEmpty())
    {
        UpdateProgressSlider();
        return;
    }
    if (!m_strCurrentSongKey.IsEmpty() || m_bSongLoaded || !m_stTime.GetSafeHwnd())
        return;
    const wchar_t* zero = L"00:00 / 00:00";
    if (m_stTime.GetText() != zero)
    {
        m_stTime.SetText(zero);
        m_sliderProgress.SetPos(0);
        m_sliderProgress.SetLimit(0);
    }
}

void CDlgMain::KillHeldTimers()
{
    UINT_PTR* handles[] = {&m_timerAway, &m_timerLoading, &m_timerBuffering, &m_timerListenLog, &m_timerPosition};
    UINT_PTR ids[] = {TIMER_MAIN_AWAY, TIMER_MAIN_LOADING, TIMER_MAIN_BUFFERING, TIMER_MAIN_LISTEN_LOG,
                      TIMER_MAIN_POSITION};
    for (size_t i = 0; i < sizeof(ids) / sizeof(ids[0]); ++i)
        if (*handles[i])
        {
            KillTimer(ids[i]);
            *handles[i] = 0;
        }
}

// ---------------------------------------------------------------------------
// Size, tray, system commands

void CDlgMain::OnSize(UINT nType, int cx, int cy)
{
    CSkinResizableDialog::OnSize(nType, cx, cy);
    if (m_bControlsReady && nType != SIZE_MINIMIZED)
    {
        LayoutControls(FALSE);
        Invalidate(FALSE);
        ReplaceBrowserServerProc();
    }
}

LRESULT CDlgMain::OnTrayNotify(WPARAM, LPARAM lParam)
{
    switch (static_cast<UINT>(lParam))
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!IsWindowVisible())
        {
            ShowWindow(SW_MINIMIZE);
            m_bMinimized = TRUE;
            ShowWindow(SW_SHOWNORMAL);
            LayoutControls(FALSE);
            OnSongSplitterMoved();
        }
        else
        {
            ShowWindow(SW_MINIMIZE);
            m_bMinimized = TRUE;
            ShowWindow(SW_HIDE);
        }
        return 1;
    case WM_RBUTTONDOWN:
        ShowTrayMenu();
        return 0;
    default:
        return 0;
    }
}

void CDlgMain::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
    {
        CDialog about(IDD_ABOUT, this);
        about.DoModal();
    }
    else if ((nID & 0xFFF0) == SC_CLOSE)
    {
        ShowWindow(SW_MINIMIZE);
        m_bMinimized = TRUE;
        ShowWindow(SW_HIDE);
    }
    else
        CSkinResizableDialog::OnSysCommand(nID, lParam);
}

void CDlgMain::OnCloseToTray()
{
    ShowWindow(SW_MINIMIZE);
    m_bMinimized = TRUE;
    ShowWindow(SW_HIDE);
}

void CDlgMain::OnMinimiseButton()
{
    ShowWindow(SW_MINIMIZE);
    m_bMinimized = TRUE;
}

void CDlgMain::OnWebBack()
{
    m_browser.GoBack();
}

void CDlgMain::OnWebForward()
{
    m_browser.GoForward();
}

LRESULT CDlgMain::OnBringToFront(WPARAM, LPARAM)
{
    if (m_pDlgLogin && ::IsWindow(m_pDlgLogin->GetSafeHwnd()))
    {
        m_pDlgLogin->ShowWindow(SW_SHOWNORMAL);
        m_pDlgLogin->SetForegroundWindow();
    }
    else
    {
        ShowWindow(SW_SHOWNORMAL);
        SetForegroundWindow();
    }
    return 0;
}

BOOL CDlgMain::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.RelayEvent(pMsg);
    return CSkinResizableDialog::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------
// Ending

void CDlgMain::RunDestroySequence()
{
    if (m_bDestroyed)
        return;
    m_bDestroyed = TRUE;
    ::UnregisterHotKey(m_hWnd, kBossKeyId);
    CListenLog::ReleaseInstance();
    CPopupRegistry::CloseAll();
    CloseChatWindows();
    EndNotifyThreads();
    CDlgBuddyInfo::DestroyInstance();
    CDataClient::ReleaseInstance();
    WorkerThreadRegistry::KillAllWorkerThreads();
    RemoveTrayIcon();
    KillHeldTimers();
    yebJinRelease(1);
}

void CDlgMain::OnDestroy()
{
    // The window rectangle and the panes' sizes go into the settings saved
    // at the end.
    if (g_pAppSetting && !IsIconic() && !m_bMaximized && m_bControlsReady)
    {
        CRect rect;
        GetWindowRect(&rect);
        g_pAppSetting->rcNomalWnd = rect;
    }
    RunDestroySequence();
    DiscardPendingCommands();
    CSkinResizableDialog::OnDestroy();
}

LRESULT CDlgMain::OnQuit(WPARAM, LPARAM)
{
    RunDestroySequence();
    delete g_pAppSetting; // saves AppSetting.ini
    g_pAppSetting = NULL;
    EndDialog(IDCANCEL);
    ::PostQuitMessage(0);
    return 0;
}

CString CDlgMain::RelaunchParameters(WPARAM reason)
{
    return reason == 1 ? L"-l:logout -e:communication" : L"-l:logout";
}

LRESULT CDlgMain::OnRelaunch(WPARAM wParam, LPARAM)
{
    m_player.StopHttpServer();
    m_player.ReleaseWMPlayer();
    RunDestroySequence();
    EndDialog(IDCANCEL);
    delete g_pAppSetting;
    g_pAppSetting = NULL;
    wchar_t program[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(NULL, program, MAX_PATH);
    s_shellExecute(NULL, L"open", program, RelaunchParameters(wParam), NULL, SW_SHOWNORMAL);
    if (wParam == 1)
        s_endOwnProcess(static_cast<UINT>(-9));
    return 0;
}

LRESULT CDlgMain::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && RunPageCommand(wParam, lParam))
        return 0;
    if (message == WM_NOTIFY && wParam == CHAT_NOTIFY_ID)
        return OnChatListenNotify(lParam);
    if (message == WM_NOTIFY && lParam && m_bControlsReady)
    {
        if (wParam == IDC_MAIN_SPLITTER_LEFT)
        {
            OnLeftSplitterMoved(reinterpret_cast<SplitterNotify*>(lParam)->delta);
            return 0;
        }
        if (wParam == IDC_SONG_SPLITTER)
        {
            OnSongSplitterMoved();
            return 0;
        }
    }
    return CSkinResizableDialog::WindowProc(message, wParam, lParam);
}
