// The main window's part of the command protocol: every record the
// messaging library delivers arrives here on the user-interface thread
// (WM_USER+28) and is acted on by its code, then freed.
#include "DlgMain.h"
#include "AvatarTransfer.h"

#include "AppSetting.h"
#include "BoardEntry.h"
#include "BuddyRowUpdates.h"
#include "ClientApp.h"
#include "CommandTexts.h"
#include "DlgLogin.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "MessagingLink.h"
#include "PlayNotifySound.h"
#include "SongLibrary.h"
#include "resource.h"

#include <cstdlib>
#include <memory>

namespace
{
const wchar_t LanguageMissing[] = L"Load language file fails!";
// No slot of a record the client acts on is longer (a board text is the
// longest); a longer one marks the record as malformed.
const int MaxSlotLength = 256 * 1024;

void ReadSlots(const CommandData& record, CString (&s)[8])
{
    const CommandText* slots[8] = {&record.s1, &record.s2, &record.s3, &record.s4,
                                   &record.s5, &record.s6, &record.s7, &record.s8};
    for (int i = 0; i < 8; ++i)
        s[i] = CString(slots[i]->m_str, (int)slots[i]->Length());
}

// Codes whose first slot names a user the client keeps rows or files of.
bool NamesUserInFirstSlot(int code)
{
    switch (code)
    {
    case 2: case 3: case 6: case 8: case 11: case 13: case 21: case 26: case 33: case 37: case 43: case 45:
        return true;
    default:
        return false;
    }
}

// A record whose slots the handlers may use as they are: no slot too long,
// and an id where the code expects one.
bool IsWellFormed(int code, const CString (&s)[8])
{
    for (const CString& slot : s)
        if (slot.GetLength() > MaxSlotLength)
            return false;
    return !NamesUserInFirstSlot(code) || IsUsableBuddyId(s[0]);
}
} // namespace

int (*CDlgMain::s_askUser)(LPCWSTR, int, LPCWSTR, int, CWnd*) = [](LPCWSTR text, int buttons, LPCWSTR second,
                                                                    int flash, CWnd* parent) {
    return CDlgMessage::ShowMessage(text, buttons, second, CString(), 0, flash, parent);
};
void (*CDlgMain::s_startPopup)(const CString&, const CString&, const CString&) = NULL;

int CDlgMain::Ask(const CString& text, int buttons, const CString& secondLine, BOOL flash)
{
    return s_askUser(text.IsEmpty() ? CString(LanguageMissing) : text, buttons, secondLine, flash, this);
}

int CDlgMain::ShowNotification(const CString& text, const CString& second, const CString& third)
{
    CString trimmed = text;
    trimmed.Trim();
    if (trimmed.IsEmpty())
        return 0;
    if (m_bBossKeyHidden)
        return 1;
    if (s_startPopup)
        s_startPopup(trimmed, second, third);
    else
        StartNotifyThread(trimmed, second, third);
    return 1;
}

LRESULT CDlgMain::OnCommandReceived(WPARAM, LPARAM lParam)
{
    // The record became this window's when it was posted; it is freed here
    // whatever its code and whatever its handler does.
    std::unique_ptr<CommandData> record(reinterpret_cast<CommandData*>(lParam));
    if (record)
        DispatchCommand(*record);
    return 0;
}

void CDlgMain::DiscardPendingCommands()
{
    MSG msg;
    while (::PeekMessageW(&msg, m_hWnd, WM_MAIN_COMMAND, WM_MAIN_COMMAND, PM_REMOVE))
        delete reinterpret_cast<CommandData*>(msg.lParam);
}

void CDlgMain::DispatchCommand(const CommandData& record)
{
    CString s[8];
    ReadSlots(record, s);
    if (!IsWellFormed(record.code, s))
        return;
    switch (record.code)
    {
    case 1:
        OnLoginComplete();
        StartBuddyUserIdThread();
        BuildLeftBar();
        RequestBuddyProfiles();
        if (!CheckOwnLibrary())
            break;
        LoadMyLibrary(TRUE);
        LeftBar().SetCurSel(LeftBar().FindItem(L"home"));
        break;
    case 2:
        OnBuddyRequest(s[0], s[1]);
        break;
    case 3:
        Messaging().accept(s[0], s[3] == L"1" ? 1 : 0);
        SetMyPresence(m_nPresence);
        break;
    case 6:
        OnBuddyPresence(s[0], s[3], record.extra);
        UpdateChatFromRow(s[0]);
        break;
    case 8:
        OpenChatWindow(s[0], s[3]);
        break;
    case 11:
    {
        // Kept in the row in the order of its listening texts.
        CString report[7] = {s[1], s[7], s[3], s[4], s[2], s[5], s[6]};
        OnBuddyNowPlaying(s[0], report);
        UpdateChatFromRow(s[0]);
        break;
    }
    case 12:
        OnPushedSong(s, 0);
        break;
    case 13:
        // A buddy has a new avatar: fetch it.
        AvatarTransfer::StartAvatarLoaderThread(s[0]);
        break;
    case 14:
        OnFavoriteNotice(s[0], s[1]);
        break;
    case 19:
        if (m_sliderProgress.GetSafeHwnd() && m_sliderProgress.IsLimitActive())
            m_sliderProgress.SetLimit(SlotNumberOrZero(s[4]));
        break;
    case 21:
        if (s[0].CompareNoCase(m_strUserEmail) == 0)
            OnOwnProfile(s, record.extra);
        else
            OnProfile(s, record.extra);
        UpdateChatFromRow(s[0]);
        LeftBar().SortItems();
        ReopenShownLibrary(FALSE);
        break;
    case 23:
        OnLibraryCommand(s);
        break;
    case 25:
        OnServiceError(s[3], s[4]);
        break;
    case 26:
    {
        CBuddyRecord buddy;
        if (SUCCEEDED(buddy.SetEmail(s[0])))
            m_buddyStore.AddOrUpdate(buddy);
        break;
    }
    case 32:
        ShowRecommendedBuddies(s[4], s[0], s[7]);
        break;
    case 33:
        OnMissingSong(s[0], s[2]);
        break;
    case 36:
        ShowNotification(Lang(L"INFO_MAIN_DLG_SYSTEM_MESSAGE") + s[3], CString(), CString());
        break;
    case 37:
        SendBuddyList(s[0]);
        break;
    case 42:
        // A board message: the window flashes twice; the board window shows it.
        FlashWindow(TRUE);
        FlashWindow(TRUE);
        OnBoardEntry(s[2], s[1], s[4], s[3], s[7]);
        break;
    case 43:
        OnBoardNotice(s[0], s[2], s[3]);
        break;
    case 45:
        OnLibraryProgress(s[0], s[4]);
        break;
    default:
        break; // every other code, and any code above 45 or below 1, changes nothing
    }
}

void CDlgMain::OnBuddyRequest(const CString& requester, const CString& secondWording)
{
    CString question = Lang(secondWording.IsEmpty() ? L"INFO_MAIN_DLG_RECEIVE_ADD_FRIEND"
                                                    : L"INFO_MAIN_DLG_RECEIVE_ADD_FRIEND2");
    if (question.IsEmpty())
    {
        Ask(CString(), CDlgMessage::BUTTONS_OK);
        return;
    }
    CString text;
    text.Format(question, requester);
    BOOL flash = ::GetForegroundWindow() != m_hWnd;
    if (Ask(text, CDlgMessage::BUTTONS_OK_CANCEL, Lang(L"INFO_MAIN_DLG_RECEIVE_ADD_FRIEND_COMMEND2"), flash) != IDOK)
    {
        Messaging().reject(requester);
        return;
    }
    if (LeftBar().FindItem(requester) < 0)
        AddBuddyAfterRequest(requester, L"");
    Messaging().accept(requester, 1);
}

void CDlgMain::OnBuddyPresence(const CString& id, const CString& live, int extra)
{
    PresenceChange change = ApplyPresence(LeftBar(), id, extra);
    if (!change.changed)
        return;
    int row = LeftBar().FindItem(id);
    CFriendItem* item = LeftBar().GetItem(row);
    if (change.CameOnline() && id == m_strShownOwner && item)
        item->state = -1;
    if (change.WentOffline() || change.CameOnline())
        ReopenShownLibrary(id == m_strShownOwner);
    PushSongCountTo(0, id);

    if (change.WentOffline() && id == m_strPlayingOwner)
    {
        OnStop();
        Ask(Lang(L"INFO_MAIN_DLG_PLAYING_SONG_BUDDY_OFFLINE"), CDlgMessage::BUTTONS_OK);
    }
    if (live == L"0" && change.CameOnline() && g_pAppSetting && g_pAppSetting->bSoundOnline)
        PlayNotifySound(2);
    if (live == L"0" && change.CameOnline() && g_pAppSetting && g_pAppSetting->bNotifyOnline && item)
    {
        CString format = Lang(L"INFO_LIST_FRIEND_ONLINE");
        if (format.IsEmpty())
        {
            Ask(CString(), CDlgMessage::BUTTONS_OK);
            return;
        }
        CString text;
        text.Format(format, item->nick, id);
        ShowNotification(text, item->nick, id);
    }
}

void CDlgMain::OnBuddyNowPlaying(const CString& id, const CString (&report)[7])
{
    if (!ApplyNowPlaying(LeftBar(), id, report))
        return;
    // The buddy plays one of the user's own songs: the user may hear of it.
    if (report[3].CompareNoCase(m_strUserEmail) != 0 || !g_pAppSetting || !g_pAppSetting->bNotifyListen ||
        report[0].IsEmpty())
        return;
    CString format = Lang(L"INFO_MAIN_DLG_PLAYING_SONG_TIP");
    if (format.IsEmpty())
    {
        Ask(CString(), CDlgMessage::BUTTONS_OK);
        return;
    }
    CFriendItem* item = LeftBar().GetItem(LeftBar().FindItem(id));
    CString text;
    text.Format(format, item ? item->nick : id, report[0]);
    ShowNotification(text, CString(), CString());
    if (g_pAppSetting->bSoundListen)
        PlayNotifySound(5);
}

void CDlgMain::OnProfile(const CString (&s)[8], int)
{
    ApplyProfile(LeftBar(), s[0], s[1], s[3], s[7]);
}

void CDlgMain::OnOwnProfile(const CString (&s)[8], int extra)
{
    if (!g_pAppSetting)
        return;
    CAppSetting& own = *g_pAppSetting;
    own.strNick = s[1].IsEmpty() ? m_strUserEmail : s[1].Left(MaxNameLength);
    own.strSignature = s[3].Left(MaxNameLength);
    SplitProfileText(s[4].Left(MaxNameLength), own.strName, own.strRegion);
    own.nAge = extra;
    own.nGender = SlotNumberOrZero(s[2]);
    int flags = SlotNumberOrZero(s[7]);
    if (flags >= 32)
    {
        // Bits the client does not know: only the two it keeps go back.
        own.wPrivacy = (WORD)(flags & 3);
        CString kept;
        kept.Format(L"%d", flags & 3);
        PushMyProfile(kept);
    }
    else
        own.wPrivacy = (WORD)(flags > 0 ? flags : 3);
    UpdateMyStatusText();
}

void CDlgMain::OnLibraryCommand(const CString (&s)[8])
{
    const CString& name = s[3];
    if (name == L"Playlist")
    {
        int row = LeftBar().FindItem(m_strShownOwner);
        if (CFriendItem* item = LeftBar().GetItem(row))
        {
            item->state = 0;
            LeftBar().RedrawItem(row);
        }
        OnLibraryArrived();
    }
    else if (name == L"UpdatePlaylist")
        ApplyLibraryUpdate(LeftBar(), s[0], s[2], s[4]);
    else if (name == L"gettotal")
    {
        if (IsUsableBuddyId(s[0]))
            PushSongCountTo(0, s[0]);
    }
    else if (name == L"getboard")
    {
        if (!IsUsableBuddyId(s[0]))
            return;
        CBoardEntry board;
        CString text;
        if (SUCCEEDED(m_boardStore.FindBoard(s[2], board)))
            board.ToXmlText(text);
        CBuddyCommands::PushBoardReply(s[0], s[2], text);
    }
    else if (name == L"board")
        OnBoardArrived(s[2], s[4]);
    // "VCard" and other names change nothing.
}

void CDlgMain::OnServiceError(const CString& name, const CString& songId)
{
    BOOL loginRunning = m_pDlgLogin && ::IsWindow(m_pDlgLogin->GetSafeHwnd());
    if (name == L"UNAUTHORIZED")
    {
        if (loginRunning)
            m_pDlgLogin->SendMessage(WM_LOGIN_FAILED, LOGIN_FAILED_PASSWORD, 0);
    }
    else if (name == L"CONNECTION_CLOSED")
    {
        if (loginRunning)
            m_pDlgLogin->SendMessage(WM_LOGIN_FAILED, LOGIN_FAILED_NETWORK, 0);
        else
            SendMessage(WM_MAIN_RELAUNCH, 1, 0);
    }
    else if (name == L"DOCUMENT_CLOSED")
        SendMessage(WM_MAIN_RELAUNCH, 1, 0);
    else if (name == L"ERROR_BIND")
    {
        if (loginRunning)
            m_pDlgLogin->SendMessage(WM_LOGIN_FAILED, LOGIN_FAILED_NETWORK, 0);
    }
    else if (name == L"C2C_TIMEOUT")
    {
        if (!songId.IsEmpty() && songId == m_strPlayingSongId)
        {
            OnStop();
            Ask(Lang(L"INFO_MAIN_DLG_BUFFERING_OVERTIME"), CDlgMessage::BUTTONS_OK);
        }
    }
    else if (name == L"MediaError")
    {
        ++m_nMediaErrors;
        ++m_nSkipCount;
        OnNext();
    }
    else if (name == L"ServerBusy")
    {
        OnStop();
        Ask(Lang(L"INFO_SERVER_BUSY"), CDlgMessage::BUTTONS_OK);
    }
    else if (name == L"unavailable_service")
        Ask(Lang(L"INFO_UNAVAILABLE_SERVICE"), CDlgMessage::BUTTONS_OK);
    else if (name == L"ERROR_XML")
        Ask(Lang(L"INFO_ERROR_XML"), CDlgMessage::BUTTONS_OK);
    else
    {
        // Another login took the account ("CONFLICT"), or an error the client
        // does not know: the session is over.
        CString message = Lang(name == L"CONFLICT" ? L"INFO_LOGIN_CONFLICT_ERROR" : L"INFO_LOGIN_UNKNOWN_ERROR");
        ShowWindow(SW_SHOWNORMAL);
        SetForegroundWindow();
        RunDestroySequence();
        EndDialog(IDCANCEL);
        Ask(message, CDlgMessage::BUTTONS_OK);
    }
}

void CDlgMain::OnMissingSong(const CString& owner, const CString& songId)
{
    // Only the song that plays matters: its owner no longer has it, so what
    // plays from that owner stops.
    if (songId.IsEmpty() || songId != m_strPlayingSongId || owner != m_strPlayingOwner)
        return;
    OnStop();
    Ask(Lang(L"INFO_MAIN_DLG_PLAY_SONG_DONTEXIST"), CDlgMessage::BUTTONS_OK);
}

void CDlgMain::OnLibraryProgress(const CString& owner, const CString& fraction)
{
    double value = _wtof(fraction);
    // Truncated, but a text such as "0.42" is 42: the product of its nearest
    // double and 100 lies just under 42 where the sum is kept in extended
    // precision (x87), so a nudge far below one percent goes first.
    int percent = value > 0 ? (value < 100 ? (int)(value * 100 + 1e-9) : 10000) : 0;
    m_libraryProgress[owner] = percent;
    UpdateSongListsHeader();
    if (m_listSongLists.GetSafeHwnd())
        m_listSongLists.Invalidate(FALSE);
}

void CDlgMain::OnStop()
{
    StopPlayback(0);
    ClearPlayingMarks();
    UpdatePlayButtons(FALSE);
}

BOOL CDlgMain::CheckOwnLibrary()
{
    CClientApp* app = GetClientApp();
    CString path = app ? app->GetMyPlaylistPath() : CString();
    CSongLibrary library;
    // Taken and given back: the check only looks, and a library of tens of
    // thousands of songs is slow to copy.
    if (path.IsEmpty() ||
        (FAILED(m_ownLibraryFile.Load(path, library, TRUE)) &&
         (library.CreateEmptyFile(path) != S_OK || FAILED(m_ownLibraryFile.Load(path, library, TRUE)))))
    {
        Ask(Lang(L"INFO_MAIN_DLG_AUTO_LOAD_SONG_ERROR"), CDlgMessage::BUTTONS_OK);
        EndDialog(IDCANCEL);
        return FALSE;
    }
    // The two lists every library has: the songs buddies pushed and the recent songs.
    const struct
    {
        LPCWSTR key;
        int kind;
    } lists[] = {{L"STR_MAIN_BUDDY_PLAYLIST_NAME", 1}, {L"STR_MAIN_MY_RECENT_SONGLIST_NAME", 2}};
    BOOL added = FALSE;
    for (const auto& list : lists)
    {
        CString name = Lang(list.key);
        CPlaylist playlist;
        if (name.IsEmpty() || SUCCEEDED(library.GetPlaylistByName(name, playlist)))
            continue;
        playlist.SetName(name);
        playlist.SetKind(list.kind);
        added |= SUCCEEDED(library.AddOrUpdatePlaylist(playlist));
    }
    if (added)
        m_ownLibraryFile.Save(path, library);
    m_nOwnSongCount = library.GetSongCount();
    m_ownLibraryFile.GiveBack(path, library);
    return TRUE;
}
