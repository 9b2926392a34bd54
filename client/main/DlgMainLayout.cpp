// The main window's controls: their set-up (once) and their places (on
// every resize). R is the client width, H the client height, W the width of
// the left bar and S the width of the song-list list.
#include "DlgMain.h"

#include "AppSetting.h"
#include "LanguageTable.h"
#include "StripButton.h"
#include "resource.h"

namespace
{
const COLORREF kMask = RGB(255, 0, 255);
const COLORREF kPlayerText = RGB(107, 136, 81);
const int kToolbarY = 86;
const int kPaneTop = 110;
const int kSplitterWidth = 7;
const int kLeftBarMin = 215, kLeftBarMax = 310;
const int kDefaultSongListWidth = 150;
const int kCaptionWidth = 60, kCaptionHeight = 22;

struct ButtonSpec
{
    CImageButton CDlgMain::*button;
    UINT id;
    UINT bitmap;
    const wchar_t* tip;
};

// The title-bar and player-bar buttons: id, strip bitmap, tooltip.
const ButtonSpec kBarButtons[] = {
    {&CDlgMain::m_btnClose, IDC_MAIN_CLOSE, IDB_BTN_MAIN_CLOSE, L"CONST_MAIN_BTN_CLOSE"},
    {&CDlgMain::m_btnMaximise, IDC_MAIN_MAXIMISE, IDB_BTN_MAIN_MAXIMISE, L"CONST_MAIN_BTN_MAX"},
    {&CDlgMain::m_btnMinimise, IDC_MAIN_MINIMISE, IDB_BTN_MAIN_MINIMISE, L"CONST_MAIN_BTN_MIN"},
    {&CDlgMain::m_btnMiniPlayer, IDC_MAIN_MINI_PLAYER, IDB_BTN_MAIN_MINI_PLAYER, L"CONST_MAIN_SHOW_MINI"},
    {&CDlgMain::m_btnMenu, IDC_MAIN_MENU, IDB_BTN_MAIN_MENU, L"CONST_MAIN_BTN_MENU"},
    {&CDlgMain::m_btnPrevious, IDC_MAIN_PREVIOUS, IDB_BTN_PREVIOUS, L"INFO_PLAYER_PRE"},
    {&CDlgMain::m_btnNext, IDC_MAIN_NEXT, IDB_BTN_NEXT, L"INFO_PLAYER_NEXT"},
    {&CDlgMain::m_btnStop, IDC_MAIN_STOP, IDB_BTN_STOP, L"INFO_PLAYER_STOP"},
    {&CDlgMain::m_btnPlay, IDC_MAIN_PLAY, IDB_BTN_PLAY, L"INFO_PLAYER_PLAY"},
    {&CDlgMain::m_btnPushSong, IDC_MAIN_PUSH_SONG, IDB_BTN_PUSH_SONG, L"STR_PUSH_SONG_TITLE"},
    {&CDlgMain::m_btnMute, IDC_MAIN_MUTE, IDB_BTN_SOUND_ON, L"INFO_PLAYER_VOL"},
};

// The toolbar row under the player bar.
const ButtonSpec kToolbarButtons[] = {
    {&CDlgMain::m_btnAddBuddy, IDC_MAIN_ADD_BUDDY, IDB_BTN_ADD_BUDDY, L"STR_ADDFRIEND_TITLE"},
    {&CDlgMain::m_btnInvite, IDC_MAIN_INVITE, IDB_BTN_INVITE, L"STR_SEND_INVITATION_TITLE"},
    {&CDlgMain::m_btnAddSongList, IDC_MAIN_ADD_SONG_LIST, IDB_BTN_ADD_SONG_LIST, L"STR_ADDLIST_TITLE"},
    {&CDlgMain::m_btnAddSong, IDC_MAIN_ADD_SONG, IDB_BTN_ADD_SONG, L"STR_ADDSONG_TITLE"},
    {&CDlgMain::m_btnMusicChannel, IDC_MAIN_MUSIC_CHANNEL, IDB_BTN_MUSIC_CHANNEL, L"STR_MAIN_RANKING_GOOGLE_MUSIC"},
    {&CDlgMain::m_btnHomePage, IDC_MAIN_HOME_PAGE, IDB_BTN_HOME_PAGE, L"STR_MAIN_HOMEPAGE_NAME"},
    {&CDlgMain::m_btnWebBack, IDC_MAIN_WEB_BACK, IDB_BTN_WEB_BACK, L"STR_MAIN_IE_PREV_TOOLTIP"},
    {&CDlgMain::m_btnWebForward, IDC_MAIN_WEB_FORWARD, IDB_BTN_WEB_FORWARD, L"STR_MAIN_IE_NEXT_TOOLTIP"},
};

// Loop mode: tooltip and bitmap (other stored values show no picture).
struct LoopModeSpec
{
    const wchar_t* tip;
    UINT bitmap;
};
const LoopModeSpec kLoopModes[] = {
    {L"INFO_MAIN_DLG_ALL_LOOP", IDB_BTN_LOOP_ORDER},
    {L"INFO_MAIN_DLG_SINGLE_LOOP", IDB_BTN_LOOP_ALL},
    {L"INFO_MAIN_DLG_RAND_LOOP", IDB_BTN_LOOP_ONE},
};

// Song list columns: header key and default width (the third and fourth
// columns carry each other's keys).
struct ColumnSpec
{
    const wchar_t* header;
    int width;
};
const ColumnSpec kSongColumns[] = {
    {L"INFO_LIST_SONG_COLUMN_0", 146}, {L"INFO_LIST_SONG_COLUMN_1", 65}, {L"INFO_LIST_SONG_COLUMN_2", 65},
    {L"INFO_LIST_SONG_COLUMN_4", 90},  {L"INFO_LIST_SONG_COLUMN_3", 120},
};
const UINT kSongIcons[] = {IDI_PLAYING_MARK, IDI_SONG_UNAVAILABLE, IDI_PUSH_SONG, IDI_PUSH_SONG_HOVER,
                           IDI_PUSH_SONG_PRESSED, IDI_DOWNLOAD_SONG, IDI_DOWNLOAD_SONG_HOVER,
                           IDI_DOWNLOAD_SONG_PRESSED, IDI_BOARD, IDI_BOARD_HOVER, IDI_BOARD_PRESSED, IDI_BOARD_NEW,
                           IDI_BOARD_NEW_HOVER, IDI_BOARD_NEW_PRESSED};

// The page commands of the embedded browser ("yeb360://" + word).
const CHtmlCtrl::PageCommand kPageCommands[] = {
    {L"addsong/", ID_PAGE_ADDSONG},           {L"sendfriend/", ID_PAGE_SENDFRIEND},
    {L"addfriend/", ID_PAGE_ADDFRIEND},       {L"close/", ID_PAGE_CLOSE},
    {L"yaoqing/", ID_PAGE_YAOQING},           {L"playradio/", ID_PAGE_PLAYRADIO},
    {L"volunteer/", ID_PAGE_VOLUNTEER},       {L"download/", ID_PAGE_DOWNLOAD},
    {L"openwindow/", ID_PAGE_OPENWINDOW},     {L"openwindow_ad/", ID_PAGE_OPENWINDOW_AD},
    {L"goto/", ID_PAGE_GOTO},                 {L"companyfinished/", ID_PAGE_COMPANYFINISHED},
    {L"companyplaypls/", ID_PAGE_COMPANYPLAYPLS}, {L"joinfinished/", ID_PAGE_JOINFINISHED},
    {L"gotopage/", ID_PAGE_GOTOPAGE},         {L"openq/", ID_PAGE_OPENQ},
    {L"adduid/", ID_PAGE_ADDUID},             {L"showlist/", ID_PAGE_SHOWLIST},
    {L"modifynick", ID_PAGE_MODIFYNICK},      {L"modifyportrait", ID_PAGE_MODIFYPORTRAIT},
};

CSize WindowSize(CWnd& wnd)
{
    CRect r;
    wnd.GetWindowRect(&r);
    return r.Size();
}

// Moves a control to (x, y) keeping its size.
void PlaceAt(CWnd& wnd, int x, int y, BOOL repaint)
{
    if (!wnd.GetSafeHwnd())
        return;
    CSize size = WindowSize(wnd);
    wnd.MoveWindow(x, y, size.cx, size.cy, repaint);
}

// Takes the template's control as a strip button of its bitmap's size.
void SetUpStripButton(CDlgMain* main, CImageButton& button, UINT id, UINT bitmap, const wchar_t* tip)
{
    if (!button.GetSafeHwnd() && !button.SubclassDlgItem(id, main))
        return;
    ShowAsStripButton(button, bitmap);
    if (tip)
        main->m_tooltip.AddTool(&button, Lang(tip));
    button.ShowWindow(SW_SHOW);
}
} // namespace

void CDlgMain::LayoutControls(BOOL first)
{
    if (first)
        SetUpControls();
    CRect client;
    GetClientRect(&client);
    int R = client.Width(), H = client.Height();

    BOOL repaint = !first;
    PlaceAt(m_btnClose, R - 34, 0, repaint);
    PlaceAt(m_btnMaximise, R - 59, 0, repaint);
    PlaceAt(m_btnMinimise, R - 84, 0, repaint);
    PlaceAt(m_btnMiniPlayer, R - 109, 0, repaint);
    PlaceAt(m_btnMenu, R - 136, 0, repaint);
    PlaceAt(m_btnPrevious, R - 178, 35, repaint);
    PlaceAt(m_btnNext, R - 145, 35, repaint);
    PlaceAt(m_btnStop, R - 105, 35, repaint);
    PlaceAt(m_btnPlay, R - 85, 38, repaint);
    PlaceAt(m_btnPushSong, R - 44, 34, repaint);
    PlaceAt(m_btnLoopMode, R - 44, 58, repaint);
    PlaceAt(m_btnMute, R - 174, 63, repaint);
    m_sliderVolume.MoveWindow(R - 158, 63, 52, 12, repaint);
    m_stTitle.MoveWindow(R / 2 - 152, 41, 190, 17, repaint);
    m_stBuffering.MoveWindow(R / 2 - 152, 41, 190, 17, repaint);
    m_stTime.MoveWindow(R / 2 + 42, 41, 110, 17, repaint);
    m_sliderProgress.MoveWindow(R / 2 - 152, 62, 305, 9, repaint);
    m_stBusy.MoveWindow(R / 2 - 152, 62, 305, 9, repaint);
    m_picAvatar.MoveWindow(9, 35, 42, 42, repaint);
    PlaceAt(m_btnNick, 56, 37, repaint);
    PlaceAt(m_btnSignature, 56, 57, repaint);
    // The buddy-list buttons follow their caption as the song-list buttons
    // follow theirs: from its left edge they would cover the caption's text.
    const int buddyCaptionRight = 7 + kCaptionWidth;
    PlaceAt(m_btnAddBuddy, buddyCaptionRight + 10, kToolbarY, repaint);
    PlaceAt(m_btnInvite, buddyCaptionRight + 80, kToolbarY, repaint);
    PlaceAt(m_btnMusicChannel, R - 99, 88, repaint);
    PlacePanes(R, H);
    SetLibraryToolbar(m_bLibraryToolbar);
    ApplySkinToLists();

    if (!first)
    {
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            ::InvalidateRect(child, NULL, TRUE);
        if (g_pAppSetting && !m_bMaximized && !IsIconic())
        {
            CRect rect;
            GetWindowRect(&rect);
            g_pAppSetting->rcNomalWnd = rect;
        }
    }
    m_bControlsReady = TRUE;
}

void CDlgMain::SetUpControls()
{
    for (const ButtonSpec& spec : kBarButtons)
        SetUpStripButton(this, this->*spec.button, spec.id, spec.bitmap, spec.tip);

    // The loop mode as stored; 1 and 2 are written back.
    m_nLoopMode = g_pAppSetting ? g_pAppSetting->ReadInt(L"SOFTWARE", L"loopMode") : 0;
    if (m_nLoopMode >= 0 && m_nLoopMode <= 2)
    {
        SetUpStripButton(this, m_btnLoopMode, IDC_MAIN_LOOP_MODE, kLoopModes[m_nLoopMode].bitmap,
                         kLoopModes[m_nLoopMode].tip);
        if (m_nLoopMode != 0 && g_pAppSetting)
            g_pAppSetting->WriteInt(L"SOFTWARE", L"loopMode", m_nLoopMode);
    }
    else
        m_btnLoopMode.SubclassDlgItem(IDC_MAIN_LOOP_MODE, this);
    m_btnPushSong.EnableWindow(FALSE);
    m_btnStop.EnableWindow(FALSE);

    m_sliderVolume.SubclassDlgItem(IDC_MAIN_VOLUME, this);
    m_sliderVolume.SetRange(0, 100);
    m_sliderVolume.SetBitmapChannel(IDB_VOLUME_CHANNEL, IDB_VOLUME_CHANNEL, 0, TRUE, kMask);
    m_sliderVolume.SetBitmapThumb(IDB_VOLUME_THUMB, IDB_VOLUME_THUMB_PRESSED, TRUE, kMask);
    m_sliderVolume.DrawFocusRect(FALSE);
    m_sliderVolume.SetPos(static_cast<int>(m_player.get_volume()));

    for (const ButtonSpec& spec : kToolbarButtons)
        SetUpStripButton(this, this->*spec.button, spec.id, spec.bitmap, spec.tip);
    m_btnMusicChannel.ShowWindow(SW_HIDE);

    // Nick and signature.
    m_btnNick.SubclassDlgItem(IDC_MAIN_NICK, this);
    m_btnNick.SetImages(IDB_NICK_BTN_LEFT, IDB_NICK_BTN_MIDDLE, IDB_NICK_BTN_RIGHT, 4);
    m_btnNick.m_clrNormal = RGB(255, 255, 255);
    m_btnNick.m_clrHover = RGB(232, 232, 232);
    m_btnNick.m_clrPressed = RGB(255, 255, 255);
    m_btnNick.m_clrDisabled = RGB(255, 255, 255);
    m_btnNick.SetWindowPos(NULL, 0, 0, 140, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The caption is the nick followed by the presence word: the word stands
    // right after the nick as measured (UpdateMyStatusText tells its length),
    // and a long nick is cut before the word.
    m_btnNick.m_nPieceAlign = 0;
    m_btnNick.m_nSuffixLength = 0;
    CSize nick = WindowSize(m_btnNick);
    m_btnSignature.SubclassDlgItem(IDC_MAIN_SIGNATURE, this);
    m_btnSignature.SetImages(IDB_SIGN_BTN_LEFT, IDB_SIGN_BTN_MIDDLE, IDB_SIGN_BTN_RIGHT, 4);
    // The signature's face is light: the button's own white caption would
    // leave only the glyphs' grey edges, read as a blurred double text.
    m_btnSignature.m_clrNormal = RGB(0x5A, 0x66, 0x78);
    m_btnSignature.m_clrHover = m_btnSignature.m_clrPressed = RGB(0x40, 0x4C, 0x62);
    m_btnSignature.m_clrDisabled = RGB(0x9A, 0xA4, 0xB0);
    m_btnSignature.SetMaxWidth(nick.cx);
    m_btnSignature.SetTipText(Lang(L"CONST_SIGN_TIP"));
    m_btnSignature.SetWindowPos(NULL, 0, 0, nick.cx - 50, 18, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnSignature.SetText(L"");
    m_tooltip.AddTool(&m_btnSignature, Lang(L"CONST_SIGN_TIP"));

    // The player bar's texts, slider and busy bar.
    CFont* font = GetFont();
    LOGFONTW face{};
    if (font && font->GetSafeHandle())
        ::GetObjectW(font->GetSafeHandle(), sizeof(face), &face);
    int height = face.lfHeight ? (face.lfHeight < 0 ? -face.lfHeight : face.lfHeight) : 12;
    m_stTitle.SubclassDlgItem(IDC_MAIN_TITLE_TEXT, this);
    // The marquees lie on the light part of the window's top band; a light
    // band picture of the same tones is their background.
    m_stTitle.SetBackground(kPlayerText, kPlayerText, face.lfFaceName, height, 1, CScrollTextStatic::MODE_SINGLE,
                            IDB_BROWSER_BAND);
    m_stTitle.SetText(Lang(L"CONST_MAIN_NO_PLAYING_SONG"));
    m_stBuffering.SubclassDlgItem(IDC_MAIN_BUFFERING_TEXT, this);
    m_stBuffering.SetBackground(kPlayerText, kPlayerText, face.lfFaceName, 13, 1, CScrollTextStatic::MODE_SINGLE,
                                IDB_BROWSER_BAND);
    m_stBuffering.SetText(Lang(L"INFO_MAIN_DLG_BUFFERING") + L"(0%)");
    m_stBuffering.ShowWindow(SW_HIDE);
    m_stTime.SubclassDlgItem(IDC_MAIN_TIME_TEXT, this);
    m_stTime.SetBackground(kPlayerText, kPlayerText, face.lfFaceName, height + 1, 1,
                           CScrollTextStatic::MODE_FIXED_LEFT, IDB_BROWSER_BAND);
    m_stTime.SetText(L"00:00 / 00:00");

    m_sliderProgress.SubclassDlgItem(IDC_MAIN_PROGRESS, this);
    m_sliderProgress.SetBitmapChannel(IDB_PROGRESS_CHANNEL, IDB_PROGRESS_CHANNEL_ACTIVE, IDB_PROGRESS_CHANNEL_LIMIT,
                                      TRUE, kMask);
    m_sliderProgress.SetBitmapThumb(IDB_PROGRESS_THUMB, IDB_PROGRESS_THUMB_PRESSED, TRUE, kMask);
    m_sliderProgress.SetMargin(1, 1, 1, 1);
    m_sliderProgress.SetRange(0, 1000);
    m_sliderProgress.SetPos(0);
    m_sliderProgress.SetLimit(1000); // no limit in force
    m_stBusy.SubclassDlgItem(IDC_MAIN_BUFFERING_BAR, this);
    m_stBusy.SetBitmap(IDB_BUSY_FRAME_01);
    m_stBusy.m_nFrames = 48;
    m_stBusy.ShowWindow(SW_HIDE);

    m_picAvatar.SubclassDlgItem(IDC_MAIN_AVATAR, this);
    SkinFrame::LoadBitmapResource(m_picAvatar.m_defaultBitmap, IDB_DEFAULT_AVATAR);
    m_picAvatar.SetImage(L"");
    m_tooltip.AddTool(&m_picAvatar, Lang(L"CONST_MAIN_PHOTO"));

    // The left pane (the buddy list lives in it) and the song panes.
    m_paneFriend.Create(IDD_CHILD_FRIEND, this);
    m_paneFriend.ShowWindow(SW_SHOW);
    CreateLeftBar();
    StartSkin();
    m_paneSong.Create(IDD_CHILD_SONG, this);
    m_paneSong.ShowWindow(SW_SHOW);
    SetUpSongLists();

    CRect bar(m_nSplitter, kPaneTop, m_nSplitter + kSplitterWidth, kPaneTop + 100);
    m_splitter.Create(WS_CHILD | WS_VISIBLE, bar, this, IDC_MAIN_SPLITTER_LEFT);
    m_splitter.SetStyle(CSplitterBar::VERTICAL);
    m_splitter.SetRange(kLeftBarMin, kLeftBarMax);
    m_splitter.SetPenColor(RGB(149, 149, 149));
    m_splitter.SetBrushColor(RGB(207, 207, 207));

    // The three caption lines; the splitters move the last two.
    AddCaptionText(Lang(L"STR_MAIN_FRIEND_LIST"), CRect(7, kToolbarY, 7 + kCaptionWidth, kToolbarY + kCaptionHeight));
    AddCaptionText(Lang(L"STR_MAIN_CD_LIST"), CRect());
    AddCaptionText(Lang(L"STR_MAIN_SONG_LIST"), CRect());

    // The embedded browser takes the place of its placeholder; it is shown
    // instead of the song panes when a page is chosen.
    if (m_browser.CreateFromStatic(IDC_MAIN_BROWSER, this))
    {
        m_browser.SetCommandPrefix(L"yeb360://");
        for (const CHtmlCtrl::PageCommand& command : kPageCommands)
            m_browser.AddPageCommand(command.word, command.id);
        m_browser.ShowWindow(SW_HIDE);
    }
}

void CDlgMain::SetUpSongLists()
{
    // The pane bound its two lists when it was made.
    if (!m_listSongs.GetSafeHwnd() || !m_listSongLists.GetSafeHwnd())
        return;
    // Stored widths below 1 take their defaults, which are stored.
    for (int i = 0; i < static_cast<int>(sizeof(kSongColumns) / sizeof(kSongColumns[0])); ++i)
    {
        int width = g_pAppSetting ? g_pAppSetting->column[i] : 0;
        if (width < 1)
        {
            width = kSongColumns[i].width;
            if (g_pAppSetting)
            {
                g_pAppSetting->column[i] = width;
                CString key;
                key.Format(L"column%d", i);
                g_pAppSetting->WriteInt(L"WINDOW", key, width);
            }
        }
        m_listSongs.InsertColumn(i, Lang(kSongColumns[i].header), LVCFMT_LEFT, width);
    }
    // The song list's icon table, in the order of its indices; the push
    // icons are 25 x 18, the download and board icons 16 x 16.
    for (size_t i = 0; i < sizeof(kSongIcons) / sizeof(kSongIcons[0]); ++i)
    {
        BOOL wide = i <= 4;
        m_listSongs.m_icons.push_back(static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(),
                                                                      MAKEINTRESOURCEW(kSongIcons[i]), IMAGE_ICON,
                                                                      wide ? 25 : 16, wide ? 18 : 16, LR_DEFAULTCOLOR)));
    }
    m_listSongs.SetFontSource(this);
    m_listSongs.SetExtendedStyle(m_listSongs.GetExtendedStyle() | LVS_EX_FULLROWSELECT);

    m_listSongLists.InsertColumn(0, Lang(L"INFO_LIST_CD_COLUMN_0"), LVCFMT_LEFT, 100);
    m_listSongLists.SetPlayingIcon(static_cast<HICON>(::LoadImageW(
        AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_PLAYING_MARK), IMAGE_ICON, 25, 18, LR_DEFAULTCOLOR)));
    m_listSongLists.SetFontSource(this);
    m_listSongLists.SetExtendedStyle(m_listSongLists.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
}

void CDlgMain::PlacePanes(int width, int height)
{
    int W = m_nSplitter;
    int S = m_nSongListWidth > 0 ? m_nSongListWidth : kDefaultSongListWidth;
    int bottom = height - 19;
    if (m_paneFriend.GetSafeHwnd())
        m_paneFriend.MoveWindow(4, kPaneTop, W - 4, bottom - kPaneTop, TRUE);
    if (m_splitter.GetSafeHwnd())
        m_splitter.MoveWindow(W, kPaneTop, kSplitterWidth, bottom - kPaneTop, TRUE);
    if (m_paneSong.GetSafeHwnd())
    {
        int paneWidth = width - 10 - (W + kSplitterWidth);
        int paneHeight = height - 20 - (kPaneTop + 1);
        m_paneSong.MoveWindow(W + kSplitterWidth, kPaneTop + 1, paneWidth, paneHeight, TRUE);
        // The pane places its own lists around its splitter.
        S = m_paneSong.m_nSplitterPos;
    }
    if (m_browser.GetSafeHwnd())
        m_browser.MoveWindow(W + kSplitterWidth, kPaneTop, width - 10 - (W + kSplitterWidth), bottom - kPaneTop, TRUE);

    if (m_captionRects.size() > CAPTION_SONGS)
    {
        m_captionRects[CAPTION_SONG_LISTS] = CRect(W + 10, kToolbarY, W + 10 + kCaptionWidth, kToolbarY + kCaptionHeight);
        m_captionRects[CAPTION_SONGS] =
            CRect(W + S + 15, kToolbarY, W + S + 15 + kCaptionWidth, kToolbarY + kCaptionHeight);
    }
}

void CDlgMain::SetLibraryToolbar(BOOL library)
{
    m_bLibraryToolbar = library;
    if (m_captionRects.size() <= CAPTION_SONGS)
        return;
    const CRect& lists = m_captionRects[CAPTION_SONG_LISTS];
    const CRect& songs = m_captionRects[CAPTION_SONGS];
    CImageButton* library_[] = {&m_btnAddSongList, &m_btnAddSong};
    CImageButton* web[] = {&m_btnWebBack, &m_btnHomePage, &m_btnWebForward};
    if (library)
    {
        PlaceAt(m_btnAddSongList, lists.right + 10, kToolbarY, FALSE);
        PlaceAt(m_btnAddSong, songs.right + 10, kToolbarY, FALSE);
        for (CImageButton* b : library_)
            if (b->GetSafeHwnd())
            {
                b->Invalidate();
                b->ShowWindow(SW_SHOW);
            }
        for (CImageButton* b : web)
            if (b->GetSafeHwnd())
                b->ShowWindow(SW_HIDE);
    }
    else
    {
        for (CImageButton* b : library_)
            if (b->GetSafeHwnd())
                b->ShowWindow(SW_HIDE);
        int anchor = lists.left;
        for (int i = 0; i < 3; ++i)
            if (web[i]->GetSafeHwnd())
            {
                web[i]->MoveWindow(anchor + 22 * i, kToolbarY, 22, 22, FALSE);
                web[i]->ShowWindow(SW_SHOW);
            }
    }
    if (m_btnMusicChannel.GetSafeHwnd())
        m_btnMusicChannel.ShowWindow(SW_HIDE);
}

void CDlgMain::OnLeftSplitterMoved(int delta)
{
    m_nSplitter = std::max(kLeftBarMin, std::min(kLeftBarMax, m_nSplitter + delta));
    if (g_pAppSetting)
        g_pAppSetting->splitter1 = m_nSplitter;
    CRect client;
    GetClientRect(&client);
    PlacePanes(client.Width(), client.Height());
    SetLibraryToolbar(m_bLibraryToolbar);
    if (g_pAppSetting && !m_bMaximized)
    {
        CRect rect;
        GetWindowRect(&rect);
        g_pAppSetting->rcNomalWnd = rect;
    }
    Invalidate(FALSE);
}

void CDlgMain::OnSongSplitterMoved()
{
    CRect client;
    GetClientRect(&client);
    PlacePanes(client.Width(), client.Height());
    SetLibraryToolbar(m_bLibraryToolbar);
    m_nSongListWidth = m_paneSong.m_nSplitterPos;
    if (g_pAppSetting)
        g_pAppSetting->splitter2 = m_nSongListWidth;
    Invalidate(FALSE);
}
