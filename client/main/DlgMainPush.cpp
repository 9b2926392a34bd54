// The main window's ways of pushing songs: a row of the song list to a
// chosen buddy, a chosen own song to a given buddy (also from the chat
// window and the buddy card), and the web song browser's page to a buddy.
#include "DlgMain.h"

#include "DlgBuddyInfo.h"
#include "DlgMessage.h"
#include "DlgSelectFriend.h"
#include "DlgSelectSong.h"
#include "DlgWebSongBrowser.h"
#include "LanguageTable.h"
#include "ListCtrlSong.h"

namespace
{

void ChooseSongFromCard(const CString& id, const CString& nick)
{
    if (CDlgMain* main = CDlgMain::Instance())
        main->SendSongsToBuddy(id, nick);
}

void PushPageToBuddy(CDlgWebSongBrowser* browser, const CString& url)
{
    CDlgSelectFriend dialog(browser);
    dialog.m_strPageUrl = url;
    if (dialog.DoModal() == IDOK)
        CDlgPushSong::s_showMessage(Lang(L"INFO_MAIN_DLG_WEBBROWSER_PUSH_OK"), browser);
}
} // namespace

void CDlgMain::RunSelectSong(CDlgMain* main, const CString& id, const CString& nick, HBITMAP scrollBitmap)
{
    CDlgSelectSong dialog(main);
    dialog.m_target.buddyId = id;
    dialog.m_target.nick = nick;
    dialog.SetScrollBarBitmap(scrollBitmap);
    if (dialog.DoModal() == IDOK && main)
        main->Ask(dialog.m_strResult, CDlgMessage::BUTTONS_OK);
}

void CDlgMain::InstallPushChoosers()
{
    if (!s_runSongChooser)
        s_runSongChooser = &CDlgMain::RunSelectSong;
    if (!CDlgBuddyInfo::s_runSongChooser)
        CDlgBuddyInfo::s_runSongChooser = &ChooseSongFromCard;
    CDlgWebSongBrowser::s_pushPage = &PushPageToBuddy;
}

void CDlgMain::SendSongOfRow(int row)
{
    SongRowData* song = m_listSongs.GetRow(row);
    if (!song)
        return;
    CDlgSelectFriend dialog(this);
    dialog.m_target.songId = song->songId;
    dialog.m_target.title = song->title;
    dialog.m_target.artist = song->artist;
    dialog.m_target.hash = song->hash;
    // The row keeps milliseconds; buddies read 100-nanosecond units. Counted
    // in 64 bits: a 32-bit count ends after seven minutes.
    dialog.m_target.duration.Format(L"%I64u", static_cast<unsigned long long>(song->duration) * 10000ULL);
    if (dialog.DoModal() == IDOK)
        Ask(dialog.m_strResult, CDlgMessage::BUTTONS_OK);
}

void CDlgMain::SendSongsToBuddy(const CString& id, const CString& nick)
{
    RunSelectSong(this, id, nick, NULL);
}

void CDlgMain::OnPushPlayingSong()
{
    if (m_strPlayingSongId.IsEmpty() || !m_bHasPlayingLibrary)
        return;
    CSongInfo song;
    if (FAILED(m_playingLibrary.GetSongById(m_strPlayingSongId, song)))
        return;
    CDlgSelectFriend dialog(this);
    // Id, hash, title, file size, artist and duration. The duration goes out
    // in 100-nanosecond units as with every other push: the buddy's client
    // stores it as the song's length, where a "mm:ss" text would read as none.
    dialog.m_target = SendSongItem::FromSong(song);
    if (dialog.DoModal() == IDOK)
        Ask(dialog.m_strResult, CDlgMessage::BUTTONS_OK);
}
