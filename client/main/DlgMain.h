// CDlgMain: the client's main window (dialog 102, title "YEB360"). It owns
// the player library and its local server, runs the login dialog from its
// own start-up, keeps the notification-area icon, the boss key and its
// timers, takes the messaging library's commands on the user-interface
// thread, and on request ends the program or starts it again logged out.
// Its controls are placed by LayoutControls on every resize; the frame is
// the resizable skinned dialog's.
//
// The window's work is spread over several areas of the client; each adds its
// handlers to the message map as it is built. Built here: start-up and
// shutdown, the layout, the tray icon, quit and relaunch, the timers of the
// away state, the play position and the listening log, and the commands that
// end a login.
#pragma once

#include "BitmapSlider.h"
#include "BoardStore.h"
#include "EditButton.h"
#include "Framework.h"
#include "HtmlCtrl.h"
#include "ImageButton.h"
#include "MarkupTip.h"
#include "PictureStatic.h"
#include "ScrollTextStatic.h"
#include "SkinResizableDialog.h"
#include "Sonatrel.h"
#include "SplitterBar.h"
#include "ThemeButton.h"
#include "AnimatedBitmapStatic.h"
#include "BuddyCommands.h"
#include "BuddyList.h"
#include "DlgChildFriend.h"
#include "DlgChildSong.h"
#include "SongLibrary.h"
#include "SyncPlaylist.h"
#include "OwnLibraryFile.h"
#include "DlgMainLink.h"
#include "DlgMiniPlayer.h"
#include "DlgInstantMessaging.h"

#include <shellapi.h>

#include <map>
#include <memory>
#include <thread>
#include <vector>

class CDlgLogin;
class CDlgConfig;
class CBoard;
class CDlgWebSongBrowser;
class CommandData;

// Private messages of the main window (wParam, lParam as noted).
enum : UINT
{
    WM_MAIN_TRAY_NOTIFY = WM_USER + 13,   // tray icon: lParam the mouse message
    WM_MAIN_COMMAND = WM_USER + 28,       // a received command: code, heap CommandData*
    WM_MAIN_QUIT = WM_USER + 40,          // end the program (the updater was started)
    WM_MAIN_RELAUNCH = WM_USER + 41,      // start again logged out: 1 after a lost connection
    WM_MAIN_BRING_TO_FRONT = WM_USER + 45, // a second copy asks this one to come forward
    WM_MAIN_PLAYLIST_CHECK = WM_USER + 57, // the buddy-id worker has started
    WM_MAIN_BUDDY_IDS = WM_USER + 60,      // the buddy-id worker's answer: heap BuddyIdAnswer*
    WM_MAIN_DROP_ON_LIST = WM_USER + 21,   // songs dropped on a song list: lParam its row (-1 none)
    WM_MAIN_MOVE_SONG_ROWS = WM_USER + 22, // wParam 1: move the selected songs to lParam; 2: save the order
    // The player's own messages.
    WM_MAIN_PLAY_ADJACENT = WM_USER + 17,  // lParam the step through the playing list
    WM_MAIN_RESUME = WM_USER + 18,         // the same song again from the start
    WM_MAIN_FADE = WM_USER + 55,           // wParam 1 fade in, else fade out and pause
    WM_MAIN_FADE_STEP = WM_APP + 40,       // a fade thread's step: wParam volume, lParam 0 step, 1 in done, 2 out done
    WM_MAIN_PLAYER_EVENT = WM_APP + 41,    // a player event on the window's thread: wParam event, lParam value
    WM_MAIN_LIBRARY_WAIT_MESSAGE = WM_USER + 49 // wParam 2: a buddy's library did not come in time
};

// Timers of the main window.
enum : UINT_PTR
{
    TIMER_MAIN_LOADING = 1035,
    TIMER_MAIN_BUFFERING = 1036,
    TIMER_MAIN_AWAY = 1039,
    TIMER_MAIN_POSITION = 1040,
    TIMER_MAIN_LISTEN_LOG = 1070
};

class CDlgMain : public CSkinResizableDialog
{
  public:
    explicit CDlgMain(CWnd* parent = NULL);
    ~CDlgMain() override;

    // The one main window of the process (null when there is none): the
    // player's callback and the messaging library's thread reach it only
    // through this pointer.
    static CDlgMain* Instance();

    // Starts reading the signed-in account's own library on a thread of its
    // own (nothing when no account is known yet); the sign-in takes the read.
    void PrefetchOwnLibrary();
    // 1 when the data folders exist and the player and its server started.
    BOOL StartPlayer();
    // The data folder "yeb360" in My Music and its folders cache, lib,
    // lib\private, lib\friend and favorite; FALSE when one cannot be made.
    BOOL CreateDataFolders();
    // Places (and with first set, sets up) every control.
    void LayoutControls(BOOL first);
    // Registers the boss key (hot key 49150); an invalid combination takes
    // Ctrl+Alt+Q.
    BOOL RegisterBossKey(BOOL alt, BOOL ctrl, BOOL shift, UINT key);
    // The destroy sequence: boss key, tray icon, timers, workers, pop-ups,
    // data client, messaging library. Runs once; later calls do nothing.
    void RunDestroySequence();

    // The parameters of the relaunched program for a relaunch reason (1 a
    // lost connection).
    static CString RelaunchParameters(WPARAM reason);
    // How the program starts itself and ends itself (tests replace them).
    static HINSTANCE(WINAPI* s_shellExecute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static void (*s_endOwnProcess)(UINT exitCode);
    // The login dialog class the start-up runs (tests drive their own).
    static INT_PTR (*s_runLogin)(CDlgMain* main);

    // The messaging library's command callback (its thread): copies the
    // record and posts it to the main window.
    static void CALLBACK OnMessagingCommand(CommandData* record);
    // The player library's event callback (the thread that raises the event).
    static long __stdcall PlayerEventCallback(DLL_WMPCOREEVENT event, long value);

    // The community site in the embedded browser: the home page opened
    // already signed in through the site's login form, and user pages.
    static CStringA SiteLoginBody(LPCWSTR user, LPCWSTR uid);
    void OpenHomePage();
    void ShowUserPage(LPCWSTR id);
    // Shows the embedded browser (page) or the song panes in the right side.
    void ShowBrowserPane(BOOL page);
    // The window procedure put in front of the browser's page window: it
    // never erases the page's background.
    static LRESULT CALLBACK BrowserServerWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // --- Buddies: the left bar, received commands and the commands sent to
    //     buddies (DlgMainDispatch.cpp, DlgMainBuddies.cpp, DlgMainOutgoing.cpp,
    //     DlgMainBoards.cpp). ---

    // The left bar: the own library, the channels and the buddies.
    CListFriendCtrl& LeftBar() { return m_paneFriend.GetList(); }
    // Clears the left bar and adds the own row, the channels, the two buddy
    // groups and one row per buddy of the buddy store; sorted.
    void BuildLeftBar();
    // Code 2, 26, the add-buddy page command and user ids: a buddy that is
    // added. The dialog's own way needs the add-buddy dialog.
    void AddBuddyByAddress(const CString& argument);
    void AddBuddyByUserId(const CString& uid);
    void AddBuddyAfterRequest(const CString& email, LPCWSTR avatarPath);
    // Menu command 32803: removes the selected buddy after asking.
    void RemoveSelectedBuddy();
    // The buddy's numeric user id: the row's when known, else asked for.
    CString GetBuddyUserId(const CString& email);
    // Starts the worker that asks the ids of every buddy at once.
    void StartBuddyUserIdThread();
    void RecommendBuddiesTo(const CString& buddy);
    void ShowRecommendedBuddies(const CString& payload, const CString& buddy, const CString& mode);
    void UpdateMyStatusText();
    void ClearBuddyMark(const CString& email);
    // Selects the shown owner's row again (and with open set asks for a
    // buddy's library again once the library views exist).
    void ReopenShownLibrary(BOOL open);

    // Outgoing commands.
    void PushNowPlaying(const CString (&texts)[7]);
    void PushMyPresence();
    void RequestBuddyProfiles();
    void PushMyProfile(const CString& flags);
    void SetMyPresence(int presence);
    // Ends a buddy's song transfer: code 31 to the playing owner when it is a
    // buddy, then the library's transfer is cancelled.
    void EndBuddyTransfer();
    // Stops what plays: the player, a buddy's transfer and the playing state.
    void OnStop();
    void SendBuddyList(const CString& requester);
    void RequestBuddyCard(const CString& id);
    void PushSongCount(int newSongs, BOOL set);
    void PushSongCountTo(int newSongs, const CString& id);
    void PushBoardCommand(const CString& owner, const CString& hash);
    void PushBoardToBuddies(const CString& songKey, const CString& boardText);
    // A web radio: "title&address" (every "%20" of the title a blank).
    void PlayRadio(const CString& text);
    // Follows what the buddy of the left-bar row listens to.
    void FollowBuddy(int row);

    // The settings dialog (DlgMainSettings.cpp): opened modally on a page;
    // while one runs a further request only switches it to the notification
    // page (page 2) or is ignored.
    void OpenSettings(int page);
    void OnSettingsMenu() { OpenSettings(0); }
    CDlgConfig* m_pDlgConfig = nullptr;

    // Avatars (DlgMainAvatars.cpp). WM_USER+33: a downloaded picture is in
    // place (wParam a heap copy of the buddy's e-mail or null, lParam 1 for
    // the own picture).
    LRESULT OnAvatarReady(WPARAM wParam, LPARAM lParam);
    // The avatar chooser, run modally while the user's e-mail is known.
    void OpenAvatarChooser();

    // Song boards and the song-list header.
    // Opens the board of a song of the shown library (or focuses the open
    // one): a buddy's is asked for with code 40, the own one's new marks are
    // cleared.
    // owner: the song's owner when the row knows it (a buddy's song in an
    // own list); else the shown library's.
    void OpenSongBoard(const CString& key, const CString& title, const CString& owner = CString());
    void CloseSongBoard(const CString& key);
    void CloseBoardsOfViewer(const CString& id);
    CBoard* FindOpenBoard(const CString& key) const;
    // The board's headline into the own library as the songs' board value.
    void SyncSongBoardValue(const CString& key);
    // A post on a buddy's board: kept in the buddy's library copy, sent as 42.
    void PushBoardEntry(const CString& key, const CString& owner, const CString& sender, const CString& time,
                        const CString& text, BOOL pinned);
    // Code 23 "board": the asked-for board of an open window has arrived.
    void OnBoardArrived(const CString& key, const CString& boardText);
    // Code 42: a post a buddy left on one of the own boards.
    void OnBoardEntry(const CString& key, const CString& sender, const CString& time, const CString& text,
                      const CString& flags);
    std::map<CString, CBoard*> m_openBoards; // board key -> open board window
    void PushBuddyRecommendation(const CString& text);
    void OnBoardNotice(const CString& buddy, const CString& songKey, const CString& boardText);
    void UpdateSongListsHeader();
    // The header's text for the owner of the shown library, its row and the
    // per cent of its library loaded.
    static CString SongListsHeaderText(const CString& owner, const CString& ownId, const CFriendItem* ownerRow,
                                       int progress);
    // The own song count, read from the own library file.
    int CountOwnSongs();

    // --- Chats, notification pop-ups and the buddy card (DlgMainChats.cpp). ---

    // Finds or makes the chat window of a buddy of the left bar and shows it;
    // a message text is added as the buddy's line.
    void OpenChatWindow(const CString& id, const CString& text);
    // Destroys every open chat window (the main window goes).
    void CloseChatWindows();
    // The song chooser for a buddy (the chat window's push-song button).
    void RunSongChooser(const CString& id, const CString& nick, HBITMAP scrollBitmap);
    static void (*s_runSongChooser)(CDlgMain* main, const CString& id, const CString& nick, HBITMAP scrollBitmap);
    LRESULT OnChatRequest(WPARAM which, LPARAM text);
    // The settings dialog on its sound page, or the open one brought forward.
    void RunSettingsOnSoundPage();
    static void (*s_runSettings)(CDlgMain* main, int page);
    // A chat window's listening line was clicked (WM_NOTIFY 336, a heap record).
    LRESULT OnChatListenNotify(LPARAM record);
    // A buddy's row changed: its open chat window follows.
    void UpdateChatFromRow(const CString& id);
    // A pop-up on a thread of its own (the texts are handed over before it starts).
    void StartNotifyThread(const CString& text, const CString& second, const CString& third);
    LRESULT OnNotifyThreadEnded(WPARAM thread, LPARAM);
    // WM_QUIT to every pop-up thread still listed (the main window goes).
    void EndNotifyThreads();
    // The buddy card: an avatar of the left bar (WM_USER+32) or the own avatar
    // and the card's close button (WM_USER+24) show and hide it; timers 1043
    // (show after a rest) and 1044 (fade out once the mouse has left).
    LRESULT OnAvatarHover(WPARAM wParam, LPARAM lParam);
    LRESULT OnOwnAvatarOrCard(WPARAM wParam, LPARAM lParam);
    BOOL OnCardTimer(UINT_PTR id);
    void HandItemToCard(const CFriendItem& item);
    // Code 14: a buddy collected one of the user's songs (pop-up and sound).
    void OnFavoriteNotice(const CString& buddy, const CString& song);
    // Before following a buddy: the confirmation while the settings ask for it.
    BOOL ConfirmFollow();
    static INT_PTR (*s_runFollowConfirm)(CDlgMain* main);
    // The add-buddy button: the address dialog, the new row, the result
    // dialog, and again while the user asks for more.
    void RunAddFriend();
    ChatWindowMap m_chatWindows;
    std::vector<class CNotifyWndThread*> m_notifyThreads;
    // While the boss key hides the program no chat or pop-up is shown.
    BOOL m_bBossKeyHidden = FALSE;
    CBitmap m_chatScrollBitmap;

    // How the window asks the user and starts a notification pop-up (tests
    // replace them). Asking returns IDOK or IDCANCEL.
    static int (*s_askUser)(LPCWSTR text, int buttons, LPCWSTR secondLine, int flash, CWnd* parent);
    static void (*s_startPopup)(const CString& text, const CString& second, const CString& third);
    // A notification pop-up with three texts; 0 when the text is empty.
    int ShowNotification(const CString& text, const CString& second, const CString& third);

    CBuddyList m_buddyStore;
    int m_nOwnSongCount = 0;
    CString m_strShownOwner;   // whose library or page the right side shows
    CString m_strPlayingOwner; // the buddy whose song plays ("" for none)
    CString m_strPlayingSongId;
    std::map<CString, std::vector<CString>> m_unreadBoards; // buddy -> song keys with unread board messages
    std::map<CString, int> m_libraryProgress;               // owner -> per cent of its library loaded

    // --- Song libraries: the left bar's choice, the own and a buddy's
    //     library in the song panes, song lists (DlgMainLibraries.cpp). ---
    void SelectLeftItem(int row);
    void LoadMyLibrary(BOOL force);
    // A buddy's library from its copy on disk or asked from the buddy;
    // arrived: the copy has just come (a damaged one is not asked for again).
    void OpenBuddyLibrary(CFriendItem* item, int row, BOOL arrived = FALSE);
    void ShowLibraryOf(const CString& id);
    void ShowHomePage();
    int GetFreeSongListId();
    void UpdateSongListCounts();
    void ShowSongList(int row, BOOL force, BOOL selectFirst);
    static void SelectListItem(CListCtrl& list, int row);
    void StartLibraryWait(int mode);
    void StopLibraryWait();
    void OnLoadingTimer();
    // Command 23 "Playlist": the library asked for is on disk.
    void OnLibraryArrived();
    // 1 created, 0 the name is taken, 2 the name is reserved, -1 refused.
    int CreateSongList(const CString& name);
    void OnNewSongList();
    void OnRenameSongList();
    void OnDeleteSongLists();
    LRESULT OnMoveSongRows(WPARAM kind, LPARAM index);
    void SaveShownListOrder();
    BOOL IsShowingOwnLibrary();
    BOOL IsShowingOwnSpecialList();
    BOOL IsPlayingOwnLibrary();
    BOOL IsPlayingOwnSong();
    void PlaySongAt(int row);
    void PlaySongList(int row);

    CString m_strShownListName;
    CSongLibrary m_shownLibrary;
    BOOL m_bHasShownLibrary = FALSE;
    CSongLibrary m_playingLibrary;
    BOOL m_bHasPlayingLibrary = FALSE;
    CString m_strPlayingListName;
    int m_nPlayingIndex = -1;
    BOOL m_bShownFromDisk = FALSE;
    BOOL m_bLibraryWatch = FALSE;
    BOOL m_bPageWait = FALSE;
    BOOL m_bLibraryArrived = FALSE;
    BOOL m_bWaitRestart = FALSE;
    BOOL m_bWaitTimedOut = FALSE;
    CString m_strWaitOwner;
    DWORD m_dwWaitStart = 0;
    DWORD m_dwFirstArrival = 0;
    int m_nLoadingFrame = 0;

    // State (defaults from the constructor).
    CString m_strDataFolder;
    CBoardStore m_boardStore;
    CMarkupTip m_tooltip;
    CSonatrel m_player;
    HICON m_hBigIcon;
    HICON m_hSmallIcon;
    CString m_strUserEmail;
    int m_nSplitter;     // width of the left bar (WINDOW/splitter1)
    int m_nSongListWidth; // width of the song-list list (WINDOW/splitter2)
    int m_nLoopMode;
    CString m_strCurrentSongKey;
    BOOL m_bSongLoaded;
    BOOL m_bWebStream;
    BOOL m_bMiniMode;
    CDlgLogin* m_pDlgLogin;
    BOOL m_bAutoAway;
    int m_nPresence;
    int m_nMediaErrors;
    UINT_PTR m_timerPosition, m_timerAway, m_timerListenLog, m_timerLoading, m_timerBuffering;
    DWORD m_dwStartTick;
    BOOL m_bMinimized;
    BOOL m_bTrayIcon;
    // The tray icon is added on a thread of its own (the shell answers from
    // another process); every later use of the icon waits for that first.
    std::thread m_trayAdder;
    BOOL m_bTrayAdded = FALSE;
    BOOL m_bDestroyed;
    BOOL m_bControlsReady;

    // Controls (ids and places in LayoutControls).
    CImageButton m_btnClose, m_btnMaximise, m_btnMinimise, m_btnMiniPlayer, m_btnMenu;
    CImageButton m_btnPrevious, m_btnNext, m_btnStop, m_btnPlay, m_btnPushSong, m_btnLoopMode, m_btnMute;
    CImageButton m_btnAddBuddy, m_btnInvite, m_btnAddSongList, m_btnAddSong, m_btnMusicChannel, m_btnHomePage;
    CImageButton m_btnWebBack, m_btnWebForward;
    CBitmapSlider m_sliderVolume, m_sliderProgress;
    CScrollTextStatic m_stTitle, m_stBuffering, m_stTime;
    CAnimatedBitmapStatic m_stBusy;
    CPictureStatic m_picAvatar;
    ThemeButton m_btnNick;
    CEditButton m_btnSignature;
    CDlgChildFriend m_paneFriend; // holds the left bar (control 1088)
    CDlgChildSong m_paneSong;       // the song panes and their two lists
    CListCtrlSong& m_listSongs;     // m_paneSong's song list
    CListCtrlCD& m_listSongLists;   // m_paneSong's song-list list
    CSplitterBar m_splitter;
    CHtmlCtrl m_browser;
    BOOL m_bLibraryToolbar;
    BOOL m_bOutsideSearch;
    BOOL m_bBrowserProcReplaced;

    // --- Web pages and the mini player (DlgMainWeb.cpp, DlgMainMiniPlayer.cpp). ---

    // A page command of the embedded browsers (WM_COMMAND with a heap copy of
    // the argument or null): runs it and frees the argument, once. Commands
    // handled elsewhere by ON_COMMAND find their argument in
    // m_strPageArgument while they run. FALSE for any other command.
    BOOL RunPageCommand(WPARAM wParam, LPARAM lParam);
    // Opens a new web song browser window (a fixed size when width > 0).
    CDlgWebSongBrowser* OpenWebBrowserWindow(BOOL bottomAd, int width = 0, int height = 0);
    // Mini mode: the strip stands in for the hidden main window.
    void EnterMiniMode();
    LRESULT OnMiniPlayerNotify(WPARAM wParam, LPARAM lParam);

    CString m_strPageArgument;
    BOOL m_bPageArgument = FALSE;
    std::unique_ptr<CDlgMiniPlayer> m_miniPlayer;

    // --- Page commands and transfers of the web area (DlgMainWeb.cpp). ---

    // A song file of a page: asks where it goes (the web download target
    // choice) and hands it to the download window, made on first use.
    void StartWebDownload(const CString& url, const CString& fileName, const CString& coverUrl);
    // How the target choice is run (tests drive it); IDOK to download.
    static INT_PTR (*s_runDownloadChoice)(class CDlgWebSongDownloadPre& dialog);
    // Gives the transfer windows and the song-list dialogs what they need of
    // this window; they reach the window of the moment, so it is done once.
    static void ConnectTransferWindows();
    // A finished download went into the own library's list (name).
    void OnDownloadedSongAdded(const CString& listName);
    // A list made by a song-list dialog in the shown own library: its row.
    void AddOwnListRow(const CString& name);
    // The floating toolbar's play: this row alone selected, then played.
    void SelectSingleSong(int row);
    // The floating toolbar's second button: a row's song pushed or collected.
    void CollectSongFromToolbar(int row, BOOL push) { CollectSong(row, push); }
    // Sets a bit of the own profile flags and tells the service.
    void SetOwnProfileFlag(int bit);

    // --- Player control and buddies' songs (DlgMainPlayer.cpp,
    //     DlgMainBuddySongs.cpp). ---

    // A row with force non-null (following a buddy) passes the buddy checks.
    void PlayRow(int row, const void* force);
    // The song step places after the playing one (-1 previous, 1 next, any
    // other number at random).
    void PlayAdjacentSong(int step);
    // Mode 0 stops and forgets what plays, mode 1 stops and keeps it.
    void StopPlayback(int mode);
    void OnNext();
    void OnPrev();
    void OnPlayPause();
    void OnLoopMode();
    void OnMute();
    // Fade in (1) or fade out and pause (any other value), on this thread.
    void FadeVolume(int direction);
    // The volumes a fade passes through towards (in) or down from (out) target.
    static std::vector<int> FadeSteps(int direction, int target);
    void UpdateProgressSlider();
    void UpdatePlayButtons(BOOL starting);
    void StartBufferingDisplay();
    void EndBufferingDisplay();
    // Keeps the recent list at 50 songs and drops unlisted buddies' songs.
    static void PruneRecentList(CSongLibrary& library);
    static BOOL IsLocalSongType(const CString& type);
    // Plays a buddy's song: the growing cache file, and code 28 unless the
    // cache holds the whole song.
    void StartBuddySong(const CSongInfo& song, const CString& owner);
    // Code 12 (play-now 0), or following a buddy (1 or 2).
    void OnPushedSong(const CString (&s)[8], int playNow);
    // Whether the song of a buddy may be asked for (messages when not).
    BOOL CheckBuddySongOwner(const CString& owner, BOOL force);

    int m_nSkipCount = 0;
    BOOL m_bMuted = FALSE;
    HANDLE m_hFadeThread = NULL;

  private:
    void StopAtSkipLimit();
    void ClearPlayingMarks();
    void OnSongStarted(const CSongInfo& song, BOOL fromRow);
    void ShowSongTitle(const CString& title, const CString& artist);
    void StartFade(int direction);
    void ApplyVolumeSlider();
    // TRUE when code 28 was sent; FALSE when the cache held the song.
    BOOL RequestBuddySong(const CSongInfo& song, const CString& owner);
    LRESULT OnPlayAdjacent(WPARAM, LPARAM step);
    LRESULT OnResume(WPARAM, LPARAM);
    LRESULT OnFadeMessage(WPARAM direction, LPARAM);
    LRESULT OnFadeStep(WPARAM volume, LPARAM end);
    LRESULT OnSliderMoved(WPARAM id, LPARAM);
    LRESULT OnSliderReleased(WPARAM id, LPARAM);
    LRESULT OnPlayerEvent(WPARAM event, LPARAM value);

  public:
    // --- Commands, menus, the tray icon and the boss key (DlgMainCommands.cpp,
    //     DlgMainMenus.cpp). ---

    // Every WM_COMMAND passes here first: the menu, tray and page commands
    // of the window's own are run here; the rest go on to the message map.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The last selected row of the song list (-1 none).
    int LastSelectedSongRow();
    void OpenSelectedSongBoard();
    void DeleteSelectedSongs();
    // The sync record of songs taken out of a list ("all" for the all-songs
    // list): second text "1", each song with the flag 1.
    static CSyncPlaylist RemovalRecord(const CString& listName, BOOL allSongs, const std::vector<CSongInfo>& songs);
    void RunWebLogin();
    void RunSongApply();
    // The outside music search in a new browser window.
    void SearchWeb(const CString& text);
    // A page of the web site with the shell; a failure is told to the user.
    BOOL OpenSitePage(LPCWSTR path);
    void SetPresenceFromMenu(int presence);
    void DeleteSelectedBuddy();
    // The left bar's open action: the chat window of the row's buddy.
    void OpenChatForRow(int row);
    void SendSelectedSongToBuddy();
    void SendSongsToSelectedBuddy();
    // The song of the last selected row offered to the upload server.
    void RequestSongUpload();
    // The upload request's address for one song.
    static CString SongUploadRequestUrl(const CString& host, const CString& email, const CString& nick,
                                        const CString& title, const CString& artist, const CString& hash,
                                        const CString& fileType, int size);
    // The text after the last "." of a path (the whole path without one).
    static CString FileTypeOfPath(const CString& path);
    static BOOL (*s_fetchUpload)(const CString& url, CString& answer);

    // The song panes' context menus (null when none opens there); the
    // caller destroys them.
    HMENU BuildSongListsMenu(int row);
    HMENU BuildSongRowMenu(int row, int subItem);
    void ShowSongListsMenu(int row);
    void ShowSongRowMenu(int row, int subItem);
    // A left-bar row's menu: the playing buddy's row cannot be deleted, an
    // offline or invisible one only deleted.
    HMENU BuildLeftBarRowMenu(int row);
    void ShowLeftBarRowMenu(int row);
    // Menus 321 (main) and 352 (status) of the title bar.
    void ShowMainMenu();
    void ShowStatusMenu();
    // The tray icon's menu: menu 321's first popup at the cursor.
    void ShowTrayMenu();
    // Tray icon 105 for a presence (315 away, 314 busy, 316 invisible, else
    // the program's); add or modify.
    BOOL SetTrayIcon(int presence, BOOL add);
    // WM_HOTKEY: the boss key hides the program's windows or shows them again.
    LRESULT OnHotKey(WPARAM id, LPARAM);
    void ShowChatWindows(int show);
    CString GetPositionText();
    void PlayRadioStream(const CString& text);
    void ToggleMaximise();
    // Snapping to the work area's edges within 10 pixels; with resize the
    // opposite edge stays.
    static void SnapToWorkArea(WINDOWPOS& pos, const RECT& work, BOOL resize);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM lParam);
    void OnSignatureButton();
    // A double click in the caption band maximises or restores.
    void OnLButtonDblClk(UINT flags, CPoint point);
    // The caption band shows the window's activity with its title picture.
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    // WM_USER+53: the browser pane's back (type 2) or forward (type 1)
    // button enabled or disabled.
    LRESULT OnBrowserButtonState(WPARAM type, LPARAM enable);
    // WM_USER+49: a library load took too long (wParam 2).
    // WM_USER+57: the data client's playlist check starts (again).
    LRESULT OnStartPlaylistCheck(WPARAM, LPARAM);
    // WM_USER+18: the player resumes (a loop mode at the end of a song).
    // WM_USER+25 and WM_USER+56: nothing to do.
    LRESULT OnQuietMessage(WPARAM, LPARAM) { return 0; }

    CString m_strSearchText;
    CRect m_rcBeforeMaximise;
    UINT m_nTrayIcon = 0; // the icon resource the tray shows
    // How a chosen popup is tracked (tests read the menu instead).
    static UINT (*s_trackMenu)(HMENU menu, UINT flags, int x, int y, HWND owner);
    // --- Song libraries: the own library file, channel pages, the end of the
    // library wait, files dropped from the shell (DlgMainLibraries.cpp). ---
    COwnLibraryFile m_ownLibraryFile;
    // The controls' and the import's way to this window.
    CDlgMainLink m_mainLink{*this};
    // Opens the page of a channel row ("home", "tavrin", "google_music") in the
    // browser pane; FALSE for any other id or without the browser pane.
    BOOL ShowChannelPage(const CString& id);
    // The address of an outside channel row's page; null for other ids.
    static LPCWSTR ChannelPage(const CString& id);
    // WM_USER+49: wParam 2 tells the user that a buddy's library did not come.
    LRESULT OnLibraryWaitMessage(WPARAM wParam, LPARAM lParam);

  protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnTimer(UINT_PTR nIDEvent);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void OnSysCommand(UINT nID, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommandReceived(WPARAM wParam, LPARAM lParam);
    LRESULT OnQuit(WPARAM wParam, LPARAM lParam);
    LRESULT OnRelaunch(WPARAM wParam, LPARAM lParam);
    LRESULT OnBringToFront(WPARAM wParam, LPARAM lParam);
    void OnCloseToTray();
    void OnMinimiseButton();
    void OnWebBack();
    void OnWebForward();
    void OnHomePageButton();
    DECLARE_MESSAGE_MAP()

  private:
    // Steps of the layout.
    void SetUpControls();
    void SetUpSongLists();
    // The client's style: loaded once, then given to the lists on each layout.
    void StartSkin();
    void ApplySkinToLists();
    void PlacePanes(int width, int height);
    void SetLibraryToolbar(BOOL library);
    void OnLeftSplitterMoved(int delta);
    void ShowBuddyLibrary(const CSongLibrary& library, CFriendItem* item, int row);
    void ShowNextLoadingFrame();
    void OnSongSplitterMoved();
    // The tray icon (id 105, message WM_USER+13).
    void AddTrayIcon();
    void SettleTrayIcon();
    void RemoveTrayIcon();
    void KillHeldTimers();
    // Finds the browser's page window ("Internet Explorer_Server") once.
    void ReplaceBrowserServerProc();
    void OnAwayTimer();
    void OnPositionTimer();
    void OnBufferingTimer();
    // What a login-ending command does.
    void OnLoginComplete();
    // The service's numeric id of a user ("" when it cannot be had).
    static CString QueryUserId(LPCWSTR email);
    // The own picture in the avatar control.
    void ShowMyAvatar();
    // Code 25: the error's name and, for a transfer that timed out, the song.
    void OnServiceError(const CString& name, const CString& songId);

    // The dispatch of received commands by code (DlgMainDispatch.cpp).
    void DispatchCommand(const CommandData& record);
    // Frees the received records still waiting in the queue of a window that
    // goes (the messaging library is released first, so no more arrive).
    void DiscardPendingCommands();
    void OnBuddyPresence(const CString& id, const CString& live, int extra);
    void OnProfile(const CString (&s)[8], int extra);
    void OnOwnProfile(const CString (&s)[8], int extra);
    void OnLibraryCommand(const CString (&s)[8]);
    void OnBuddyRequest(const CString& requester, const CString& secondWording);
    void OnLibraryProgress(const CString& owner, const CString& fraction);
    // Code 33: a requested song does not exist at its owner.
    void OnMissingSong(const CString& owner, const CString& songId);
    // Code 11: what a buddy plays, in the row's order of listening texts.
    void OnBuddyNowPlaying(const CString& id, const CString (&report)[7]);
    // The buddy-id worker's answer (WM_MAIN_BUDDY_IDS).
    LRESULT OnBuddyIds(WPARAM wParam, LPARAM lParam);
    // The left bar's notifications (WM_NOTIFY from control 1088).
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void CreateLeftBar();

    // Loads the own library, creating it when it cannot be read, with its
    // buddy-songs and recent lists; FALSE (a message, the window closes)
    // when it can be neither read nor created.
    BOOL CheckOwnLibrary();
    // Asks with the skinned message box (s_askUser), "Load language file
    // fails!" standing in for a missing text.
    int Ask(const CString& text, int buttons, const CString& secondLine = CString(), BOOL flash = FALSE);
    // The commands to buddies over the left bar's rows.
    CBuddyCommands BuddyCommands();

    // The rectangles of the three caption texts (indices into the base's lists).
    enum { CAPTION_FRIENDS = 0, CAPTION_SONG_LISTS = 1, CAPTION_SONGS = 2 };

    // --- Pushing songs and own song lists (DlgMainPush.cpp, DlgMainOwnLists.cpp).
    //     Public with the shared calls below: the song pane's menu collects
    //     and pushes songs, and the chooser hooks reach them. ---
  public:
    // Hands the song chooser to the chat window and the buddy card (a hook
    // set already stays) and the buddy chooser to the web song browser.
    void InstallPushChoosers();
    // WM_USER+21: the selected songs into the own list of a row; 1 refused.
    LRESULT AddSelectedSongsToList(WPARAM, LPARAM row);
    void OnAddSongButton();
    // "<My Music>\yeb360\cache\<hash>.cache", the hash made safe as a file
    // name; "" without My Music.
    CString GetCacheFilePath(const CString& hash);
    // Makes a missing folder, clears read-only from an existing one; FALSE
    // when it cannot be made or a file is in the way.
    static BOOL EnsureDirectory(const CString& path);
    // Runs the collect dialog for a song of the shown library.
    static INT_PTR (*s_runCollectDialog)(CDlgMain* main, const CString& songId);
    // The song chooser for a buddy; its result text shown on OK.
    static void RunSelectSong(CDlgMain* main, const CString& id, const CString& nick, HBITMAP scrollBitmap);

    // --- Pushing the playing song (DlgMainPush.cpp). ---
    // The push-song button: the playing song to one chosen buddy.
    void OnPushPlayingSong();

    // --- Called across the main window's areas; each is defined in the file named. ---
    // Plays a row of the shown song list (DlgMainPlayer.cpp).
    void PlayRow(int row);
    // Records the song that starts playing in the recent list (DlgMainPlayer.cpp).
    void AddToRecentList();
    // Imports a chosen folder; 1 when one was chosen (DlgMainOwnLists.cpp).
    int AutoLoadSongs();
    // Imports chosen audio files into the selected own lists (DlgMainOwnLists.cpp).
    void AddSongFiles();
    // Collects a buddy's song of the song list, or pushes it (DlgMainOwnLists.cpp).
    void CollectSong(int row, BOOL push);
    // The song of a row of the song list to one chosen buddy (DlgMainPush.cpp).
    void SendSongOfRow(int row);
    // One chosen own song to a buddy (DlgMainPush.cpp).
    void SendSongsToBuddy(const CString& id, const CString& nick);
    // A page's download command with its argument (DlgMainWeb.cpp).
    void OnPageDownload(const CString& argument);
};
