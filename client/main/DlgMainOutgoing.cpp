// What the main window tells the service and its buddies: what plays, the
// own presence and profile, song counts, buddy lists, board commands, and
// the end of a buddy's song transfer. Every record is built, pushed and
// destroyed at once; no answer is awaited.
#include "DlgMain.h"

#include "AppSetting.h"
#include "ClientApp.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "MessagingLink.h"
#include "SongLibrary.h"

CBuddyCommands CDlgMain::BuddyCommands()
{
    return CBuddyCommands(LeftBar());
}

void CDlgMain::PushNowPlaying(const CString (&texts)[7])
{
    BuddyCommands().PushNowPlaying(texts);
}

void CDlgMain::PushMyPresence()
{
    CBuddyCommands::PushPresenceNotice(m_nPresence);
}

void CDlgMain::RequestBuddyProfiles()
{
    BuddyCommands().RequestProfiles();
    PushSongCount(0, TRUE);
}

void CDlgMain::PushMyProfile(const CString& flags)
{
    CString uid, number;
    if (CClientApp* app = GetClientApp())
        uid = app->GetUserId();
    if (!g_pAppSetting)
        return;
    const CAppSetting& own = *g_pAppSetting;
    number.Format(L"%d", own.nGender);
    CBuddyCommands::PushProfile(own.strName, own.strNick, number, own.strSignature, own.strRegion, uid, flags,
                                own.nAge);
}

void CDlgMain::SetMyPresence(int presence)
{
    CBuddyCommands::PushPresence(presence);
    int previous = m_nPresence;
    m_nPresence = presence;
    // Back from invisible: the buddies learn the song count they could not see.
    if (previous == 3 && presence != 3)
        PushSongCount(0, TRUE);
    UpdateMyStatusText();
}

void CDlgMain::EndBuddyTransfer()
{
    if (!m_strPlayingOwner.IsEmpty() && m_strPlayingOwner.CompareNoCase(m_strUserEmail) != 0)
        CBuddyCommands::PushStopTransfer(m_strPlayingOwner, m_strPlayingSongId);
    Messaging().cancelOldSession();
}

void CDlgMain::SendBuddyList(const CString& requester)
{
    BuddyCommands().SendBuddyList(requester);
}

void CDlgMain::RequestBuddyCard(const CString& id)
{
    CBuddyCommands::RequestBuddyList(id);
}

int CDlgMain::CountOwnSongs()
{
    CClientApp* app = GetClientApp();
    return m_nOwnSongCount = app ? m_ownLibraryFile.CountSongs(app->GetMyPlaylistPath()) : 0;
}

void CDlgMain::PushSongCount(int newSongs, BOOL set)
{
    if (!set)
        return;
    BuddyCommands().PushSongCount(CountOwnSongs(), newSongs, m_nPresence);
}

void CDlgMain::PushSongCountTo(int newSongs, const CString& id)
{
    BuddyCommands().PushSongCountTo(id, CountOwnSongs(), newSongs, m_nPresence);
}

void CDlgMain::PushBoardCommand(const CString& owner, const CString& hash)
{
    CBuddyCommands::PushBoardOpened(owner, hash);
}

void CDlgMain::PushBoardToBuddies(const CString& songKey, const CString& boardText)
{
    BuddyCommands().PushBoardToBuddies(songKey, boardText);
}

void CDlgMain::PlayRadio(const CString& text)
{
    OnStop();
    int amp = text.Find(L'&');
    if (amp < 0)
        return;
    CString title = text.Left(amp), address = text.Mid(amp + 1);
    title.Replace(L"%20", L" ");
    m_strPlayingSongId.Empty();
    m_player.PlayWebMusic(title, L"", address, L"", 0);
    if (m_stTitle.GetSafeHwnd())
        m_stTitle.SetText(title);
    m_btnStop.EnableWindow(TRUE);
    if (g_pAppSetting && g_pAppSetting->bListenVisible)
    {
        CString report[7] = {title, L"radio", L"", L"", L"", L"", address};
        PushNowPlaying(report);
    }
}

void CDlgMain::FollowBuddy(int row)
{
    CFriendItem* item = LeftBar().GetItem(row);
    if (!item)
        return;
    // The row keeps the buddy's report: title, address, detail, owner, kind.
    if (item->listen5.CompareNoCase(m_strUserEmail) == 0)
    {
        Ask(Lang(L"INFO_LIST_FRIEND_FOLLOW_MYSELF_SONG"), CDlgMessage::BUTTONS_OK);
        return;
    }
    if (item->listen6 == L"radio")
    {
        PlayRadio(item->listen2 + L"&" + item->listen3);
        int radio = LeftBar().FindItem(L"radio");
        if (radio >= 0)
            LeftBar().SetCurSel(radio);
    }
}
