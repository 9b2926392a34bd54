// A buddy's song in the main window: who may be asked for it, starting it
// (the player reads the growing cache file while the messaging library
// brings the bytes), and a song a buddy pushes to the user.
#include "DlgMain.h"

#include "AppSetting.h"
#include "ClientApp.h"
#include "DlgMessage.h"
#include "DlgWebSongBrowser.h"
#include "LanguageTable.h"
#include "MessagingLink.h"
#include "PlayNotifySound.h"
#include "PushedSong.h"
#include "SongLibrary.h"
#include "resource.h"

#include <cstdlib>

namespace
{
void PushSongRequest(const CString& owner, const CString& hash, const CString& songId, const CString& size)
{
    CommandData record;
    record.code = 28;
    record.s1 = owner;
    record.s3 = hash;
    record.s5 = songId;
    record.s6 = size;
    Messaging().pushCommand(record);
}
} // namespace

BOOL CDlgMain::CheckBuddySongOwner(const CString& owner, BOOL force)
{
    int index = LeftBar().FindItem(owner);
    CFriendItem* row = LeftBar().GetItem(index);
    if ((row && (row->kind == 1 || row->kind == 2) && row->subOrder > 0) || force)
        return TRUE;
    if (row)
    {
        Ask(Lang(L"INFO_MAIN_DLG_CANNOT_PLAY_SONG"), CDlgMessage::BUTTONS_OK,
            Lang(L"INFO_MAIN_DLG_PLAY_SONG_BUDDY_OFFLINE"));
        OnStop();
    }
    else
        Ask(Lang(L"INFO_MAIN_DLG_PLAY_SONG_BUDDY_INFO_ERR"), CDlgMessage::BUTTONS_OK,
            Lang(L"INFO_MAIN_DLG_PLAY_SONG_NOT_BUDDY"));
    return FALSE;
}

BOOL CDlgMain::RequestBuddySong(const CSongInfo& song, const CString& owner)
{
    m_sliderProgress.SetLimit(m_sliderProgress.m_nMax);
    m_sliderProgress.SetLimit(0);
    m_sliderProgress.SetPos(0);
    long result = m_player.PlayBuddyMusic(song.GetId(), song.GetHash(), owner, wcstoul(song.GetFileSize(), NULL, 10));
    if (result == 2)
    {
        // The whole song is in the cache already: nothing to ask for.
        m_sliderProgress.SetLimit(m_sliderProgress.m_nMax);
        return FALSE;
    }
    PushSongRequest(owner, song.GetHash(), song.GetId(), song.GetFileSize());
    return TRUE;
}

void CDlgMain::StartBuddySong(const CSongInfo& song, const CString& owner)
{
    RequestBuddySong(song, owner);
    OnSongStarted(song, TRUE);
}

void CDlgMain::OnPushedSong(const CString (&s)[8], int playNow)
{
    const CString& sender = s[0];
    CFriendItem* senderRow = LeftBar().GetItem(LeftBar().FindItem(sender));
    if (s[2] == L"WebBrowser_Push_URL")
    {
        CString text;
        if (senderRow)
            text.Format(Lang(L"INFO_MAIN_DLG_WEBBROWSER_PUSH_URL1"), (LPCWSTR)senderRow->nick, (LPCWSTR)sender);
        else
            text.Format(Lang(L"INFO_MAIN_DLG_WEBBROWSER_PUSH_URL"), (LPCWSTR)sender);
        if (Ask(text, CDlgMessage::BUTTONS_OK) != IDOK)
            return;
        if (CDlgWebSongBrowser* browser = OpenWebBrowserWindow(FALSE))
            browser->Navigate(s[1], 14);
        return;
    }
    PushedSong pushed = PushedSong::FromSlots(sender, s[1], s[2], s[3], s[5], s[6], s[7]);
    CClientApp* app = GetClientApp();
    CString ownFile = app ? app->GetMyPlaylistPath() : CString();
    if (playNow)
    {
        StopPlayback(1);
        m_strPlayingListName = Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME");
        if (m_strPlayingListName.IsEmpty())
            return;
        CSongLibrary own;
        CPlaylist recent;
        own.LoadFromFile(ownFile);
        if (SUCCEEDED(own.GetPlaylistByName(m_strPlayingListName, recent)))
        {
            own.AddSongToPlaylist(pushed.song, recent);
            own.GetPlaylistByName(m_strPlayingListName, recent);
        }
        m_nPlayingIndex = recent.IndexOfSong(s[7]);
        own.SaveToFile(ownFile);
        m_playingLibrary = own;
        m_bHasPlayingLibrary = TRUE;
        EndBufferingDisplay();
        RequestBuddySong(pushed.song, sender);
        if (m_strPlayingOwner == m_strShownOwner)
        {
            m_listSongs.ClearPlayingMark();
            m_listSongLists.ClearPlayingMark();
        }
        m_strPlayingOwner = m_strUserEmail;
        if (IsShowingOwnLibrary())
        {
            int listRow = m_listSongLists.FindList(m_strPlayingListName);
            if (listRow >= 0 && m_strShownListName == m_strPlayingListName)
            {
                m_listSongs.EnsureVisible(m_nPlayingIndex, FALSE);
                m_listSongs.SetPlayingMark(m_nPlayingIndex);
                m_listSongLists.SetPlayingMark(listRow);
                LeftBar().MarkItem(LeftBar().FindItem(m_strUserEmail));
            }
        }
        else
            LeftBar().MarkItem(0);
        m_strPlayingSongId = s[7];
        ShowSongTitle(s[1], pushed.artist);
        UpdatePlayButtons(FALSE);
        return;
    }

    if (Lang(L"INFO_MAIN_DLG_GIFT_SONG_OK").IsEmpty())
    {
        Ask(CString(), CDlgMessage::BUTTONS_OK);
        return;
    }
    CString message;
    if (senderRow)
        message.Format(Lang(L"INFO_MAIN_DLG_GIFT_SONG_OK1"), (LPCWSTR)senderRow->nick, (LPCWSTR)sender,
                       (LPCWSTR)s[1]);
    else
        message.Format(Lang(L"INFO_MAIN_DLG_GIFT_SONG_OK"), (LPCWSTR)sender, (LPCWSTR)s[1]);
    BOOL background = ::GetForegroundWindow() != m_hWnd;
    if (background)
        FlashWindow(TRUE);
    if (g_pAppSetting && g_pAppSetting->bNotifyPush)
        ShowNotification(message, CString(), CString());
    if (g_pAppSetting && g_pAppSetting->bSoundPush)
        PlayNotifySound(4);
    if (Ask(message, CDlgMessage::BUTTONS_OK_CANCEL, Lang(L"INFO_MAIN_DLG_GIFT_SONG_PLAYNOW")) != IDOK)
        return;

    StopPlayback(1);
    m_strPlayingOwner = sender;
    CString pushedList = Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME");
    m_strPlayingListName = pushedList;
    m_strShownListName = pushedList;
    if (pushedList.IsEmpty())
        return;
    StopLibraryWait();
    m_listSongLists.DeleteAllItems();
    m_listSongs.DeleteAllItems();
    LeftBar().SetCurSel(0);
    if (!m_paneSong.IsWindowVisible())
        ShowBrowserPane(FALSE);
    m_strShownOwner = m_strUserEmail;

    m_shownLibrary = CSongLibrary();
    m_shownLibrary.LoadFromFile(ownFile);
    m_bHasShownLibrary = TRUE;
    CPlaylist list;
    int index = -1;
    if (SUCCEEDED(m_shownLibrary.GetPlaylistByName(pushedList, list)))
    {
        m_shownLibrary.AddSongToPlaylist(pushed.song, list);
        if (SUCCEEDED(m_shownLibrary.GetPlaylistByName(pushedList, list)))
            index = list.IndexOfSong(s[7]);
    }
    m_shownLibrary.SaveToFile(ownFile);
    m_playingLibrary = m_shownLibrary;
    m_bHasPlayingLibrary = TRUE;
    m_strPlayingSongId = s[7];

    LoadMyLibrary(TRUE);
    int n = m_listSongLists.GetItemCount();
    SelectListItem(m_listSongLists, n - 2);
    ShowSongList(n - 2, TRUE, FALSE);
    PlayRow(index, NULL);
    m_listSongLists.EnsureVisible(n - 1, FALSE);
    m_listSongs.EnsureVisible(index, FALSE);
}
