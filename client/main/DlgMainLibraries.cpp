// The main window's song libraries: the left bar's choice of what the right
// side shows, the own library and a buddy's library in the song panes, the
// ids and counts of song lists, the wait for a buddy's library, creating
// lists, renaming and deleting them, and moving songs inside a list.
#include "DlgMain.h"

#include "ClientApp.h"
#include "DataClient.h"
#include "DataFolder.h"
#include "DlgAnimation.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "OutsideSites.h"
#include "ReservedNames.h"
#include "SongLibrary.h"
#include "resource.h"

#include <algorithm>
#include <map>
#include <set>
#include <string_view>
#include <unordered_map>

namespace
{
const int kAllSongsId = 10000;
const int kFirstOwnListId = 10001;
const int kLastOwnListId = 19999;
const int kBuddyListId = 20000;
const int kRecentListId = 30000;
const UINT kFrameCount = 12;
const DWORD kWaitLimitMs = 30000;
// Pages: no history entry, no read from and no write to the cache.
const DWORD kPageNavigationFlags = 14;

CString AllSongsName()
{
    return Lang(L"STR_MAIN_TOTAL_SONGLIST_NAME");
}

int CALLBACK CompareListIds(LPARAM a, LPARAM b, LPARAM)
{
    const CDListItem* x = reinterpret_cast<const CDListItem*>(a);
    const CDListItem* y = reinterpret_cast<const CDListItem*>(b);
    if (!x || !y)
        return 0;
    return x->listId - y->listId;
}

int CALLBACK KeepOrder(LPARAM, LPARAM, LPARAM)
{
    return 0;
}

CDListItem* NewListRow(const CString& name, const CString& owner, int count, int id, int playing)
{
    CDListItem* row = new CDListItem;
    row->name = name;
    row->owner = owner;
    row->songCount = count;
    row->listId = id;
    row->playing = playing;
    return row;
}

// The songs of types "0", "1" and "3": what the user's own library holds.
int CountOwnTypes(const CSongLibrary& library)
{
    return library.CountSongsOfType(L"0") + library.CountSongsOfType(L"1") + library.CountSongsOfType(L"3");
}

// Song ids to their places in a library (its own lookup walks every song).
// The ids are the library's own: the index holds while the library is
// unchanged. The first song of an id wins, as in the library's own lookup.
typedef std::unordered_map<std::wstring_view, int> SongIdIndex;

std::wstring_view IdKey(const CString& id)
{
    return std::wstring_view(id, id.GetLength());
}

SongIdIndex SongIndex(const CSongLibrary& library)
{
    SongIdIndex index;
    index.reserve(library.GetSongCount());
    for (int i = 0; i < library.GetSongCount(); ++i)
        index.emplace(IdKey(library.SongAt(i)->GetId()), i);
    return index;
}

CString FileSizeText(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return CString();
    CString text;
    text.Format(L"%ld", static_cast<long>(data.nFileSizeLow));
    return text;
}
} // namespace

void CDlgMain::SelectListItem(CListCtrl& list, int row)
{
    if (row < 0 || row >= list.GetItemCount())
        return;
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.RedrawItems(row, row);
}

BOOL CDlgMain::IsShowingOwnLibrary()
{
    return !m_strUserEmail.IsEmpty() && m_strShownOwner == m_strUserEmail;
}

BOOL CDlgMain::IsShowingOwnSpecialList()
{
    return IsShowingOwnLibrary() && (m_strShownListName == Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME") ||
                                     m_strShownListName == Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME"));
}

BOOL CDlgMain::IsPlayingOwnLibrary()
{
    return !m_strUserEmail.IsEmpty() && m_strPlayingOwner == m_strUserEmail;
}

BOOL CDlgMain::IsPlayingOwnSong()
{
    if (!IsPlayingOwnLibrary())
        return FALSE;
    CSongInfo song;
    if (!m_bHasPlayingLibrary || FAILED(m_playingLibrary.GetSongById(m_strPlayingSongId, song)))
        return TRUE;
    return song.GetOwner().IsEmpty() || song.GetOwner() == m_strUserEmail;
}

int CDlgMain::GetFreeSongListId()
{
    std::set<int> used;
    for (int i = 0; i < m_listSongLists.GetItemCount(); ++i)
        if (CDListItem* row = m_listSongLists.GetRow(i))
            used.insert(row->listId);
    for (int id = kFirstOwnListId; id <= kLastOwnListId; ++id)
        if (!used.count(id))
            return id;
    // Every id of the own range is taken: the lists beyond it count down
    // from 9999, so that no two lists ever share an id.
    for (int id = kAllSongsId - 1; id > 0; --id)
        if (!used.count(id))
            return id;
    return 0;
}

void CDlgMain::SelectLeftItem(int n)
{
    CListFriendCtrl& bar = LeftBar();
    if (n < 0 || n >= bar.GetItemCount())
        return;
    if (n == 0)
    {
        ShowBrowserPane(FALSE);
        m_strShownOwner = m_strUserEmail;
        bar.SetCurSel(0);
        SetLibraryToolbar(TRUE);
        LoadMyLibrary(TRUE);
        UpdateSongListsHeader();
        return;
    }
    int previous = bar.FindItem(m_strShownOwner);
    bar.SetCurSel(n);
    CFriendItem* item = bar.GetItem(n);
    if (!item || item->subOrder == 0)
        return;
    if (m_strShownOwner != m_strUserEmail && n != previous && !m_strShownOwner.IsEmpty())
        CBuddyCommands::LeaveLibrary(m_strShownOwner);
    m_strShownOwner = item->id;
    SetLibraryToolbar(FALSE);
    BOOL channel = item->kind == FRIEND_KIND_CHANNEL;
    if (n != previous || channel)
    {
        // A channel row chosen again opens its page again (the home page
        // signs in to the site afresh).
        m_listSongs.DeleteAllItems();
        m_listSongLists.DeleteAllItems();
        StartLibraryWait(0);
        if (!ShowChannelPage(item->id))
            ShowUserPage(item->id);
    }
    else if (item->presence < 3 && item->kind > 1)
    {
        // The row chosen again: its library instead of its page.
        m_bLibraryWatch = TRUE;
        if (item->state != 0 && item->id != m_strUserEmail)
            CBuddyCommands::LeaveLibrary(item->id);
        ShowBrowserPane(FALSE);
        SetLibraryToolbar(TRUE);
        OpenBuddyLibrary(item, n);
    }
    else if (previous >= 0)
        bar.SetCurSel(previous);
    if (item->newSongs != 0)
    {
        item->newSongs = 0;
        bar.RedrawItem(n);
    }
    UpdateSongListsHeader();
}

void CDlgMain::LoadMyLibrary(BOOL force)
{
    m_strShownOwner = m_strUserEmail;
    CClientApp* app = GetClientApp();
    CString path = app ? app->GetMyPlaylistPath() : CString();
    CSongLibrary library;
    if (path.IsEmpty() || (FAILED(m_ownLibraryFile.Load(path, library, TRUE)) &&
                           (library.CreateEmptyFile(path) != S_OK || FAILED(m_ownLibraryFile.Load(path, library, TRUE)))))
    {
        m_paneSong.Layout();
        return;
    }
    CString buddyName = Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME");
    CString recentName = Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME");
    CPlaylist found;
    BOOL changed = FALSE;
    if (FAILED(library.GetPlaylistByName(buddyName, found)))
    {
        CPlaylist buddy, recent;
        buddy.SetName(buddyName);
        buddy.SetKind(PLAYLIST_KIND_BUDDY);
        changed |= SUCCEEDED(library.AddOrUpdatePlaylist(buddy));
        if (FAILED(library.GetPlaylistByName(recentName, found)))
        {
            recent.SetName(recentName);
            recent.SetKind(PLAYLIST_KIND_RECENT);
            changed |= SUCCEEDED(library.AddOrUpdatePlaylist(recent));
        }
    }
    else if (FAILED(library.GetPlaylistByName(recentName, found)))
    {
        CPlaylist recent;
        recent.SetName(recentName);
        recent.SetKind(PLAYLIST_KIND_RECENT);
        changed |= SUCCEEDED(library.AddOrUpdatePlaylist(recent));
    }
    if (changed)
        m_ownLibraryFile.Save(path, library);

    m_strShownListName = AllSongsName();
    if (m_strPlayingOwner == m_strUserEmail)
    {
        m_playingLibrary = library;
        m_bHasPlayingLibrary = TRUE;
    }
    m_shownLibrary.Swap(library);
    m_bHasShownLibrary = TRUE;
    const CSongLibrary& shown = m_shownLibrary;

    CListCtrlCD& lists = m_listSongLists;
    lists.SetRedraw(FALSE);
    lists.DeleteAllItems();
    int count = shown.CountSongsOfType(L"0");
    BOOL playingHere = m_strPlayingOwner == m_strUserEmail;
    lists.InsertRow(0, NewListRow(m_strShownListName, m_strUserEmail, count, kAllSongsId,
                                  playingHere && m_strPlayingListName == m_strShownListName));
    if (CFriendItem* own = LeftBar().GetItem(0))
    {
        own->totalSongs = count;
        LeftBar().RedrawItem(0);
    }
    for (int i = 0; i < shown.GetPlaylistCount(); ++i)
    {
        // In place: a list of thousands of songs is not copied for its name and count.
        const CPlaylist* playlist = shown.PlaylistAt(i);
        if (!playlist)
            continue;
        int id = playlist->GetName() == recentName  ? kRecentListId
                 : playlist->GetName() == buddyName ? kBuddyListId
                                                    : GetFreeSongListId();
        lists.InsertRow(lists.GetItemCount(),
                        NewListRow(playlist->GetName(), m_strUserEmail, playlist->GetSongCount(), id,
                                   playingHere && m_strPlayingListName == playlist->GetName()));
    }
    lists.SortItems(CompareListIds, 0);
    lists.SetRedraw(TRUE);
    lists.Invalidate(FALSE);
    SelectListItem(lists, 0);
    SelectListItem(m_listSongs, 0);
    ShowSongList(0, force, TRUE);
    m_paneSong.Layout();
}

void CDlgMain::OpenBuddyLibrary(CFriendItem* item, int row, BOOL arrived)
{
    m_listSongs.DeleteAllItems();
    m_listSongLists.DeleteAllItems();
    if (!item || item->kind <= 0 || item->subOrder <= 0 || item->presence >= 3)
        return;
    CString id = item->id;
    CClientApp* app = GetClientApp();
    if (item->state == 0)
    {
        CSongLibrary library;
        CString path = app ? app->GetFriendPlaylistPath(id) : CString();
        if (!path.IsEmpty() && SUCCEEDED(library.LoadFromFile(path)))
        {
            ShowBuddyLibrary(library, item, row);
            m_bShownFromDisk = TRUE;
            return;
        }
        if (arrived)
        {
            // The copy that just came is damaged: asking again would bring
            // the same file, so the library shows empty and the user is told.
            ShowBuddyLibrary(CSongLibrary(), item, row);
            m_bShownFromDisk = TRUE;
            Ask(Lang(L"INFO_ERROR_XML"), CDlgMessage::BUTTONS_OK);
            return;
        }
        if (item->kind == FRIEND_KIND_ONLINE)
        {
            if (!m_bShownFromDisk)
            {
                m_libraryProgress[id] = 0;
                UpdateSongListsHeader();
                CBuddyCommands::RequestLibrary(id);
            }
            m_strWaitOwner = id;
            StartLibraryWait(1);
        }
        return;
    }
    if (item->kind == FRIEND_KIND_ONLINE && !id.IsEmpty())
    {
        m_libraryProgress[id] = 0;
        UpdateSongListsHeader();
        CBuddyCommands::RequestLibrary(id);
        m_strWaitOwner = id;
        StartLibraryWait(1);
    }
}

void CDlgMain::ShowBuddyLibrary(const CSongLibrary& library, CFriendItem* item, int row)
{
    CString id = item->id;
    m_strShownListName = AllSongsName();
    CListCtrlCD& lists = m_listSongLists;
    BOOL playingHere = m_strPlayingOwner == id;
    lists.InsertRow(0, NewListRow(m_strShownListName, id, library.GetSongCount(), kAllSongsId,
                                  playingHere && m_strPlayingListName == m_strShownListName));
    for (int i = 0; i < library.GetPlaylistCount(); ++i)
    {
        const CPlaylist* playlist = library.PlaylistAt(i);
        if (!playlist || playlist->GetKind() == PLAYLIST_KIND_BUDDY || playlist->GetKind() == PLAYLIST_KIND_RECENT)
            continue;
        lists.InsertRow(lists.GetItemCount(), NewListRow(playlist->GetName(), id, playlist->GetSongCount(), i + 1,
                                                         playingHere && m_strPlayingListName == playlist->GetName()));
    }
    item->totalSongs = library.GetSongCount();
    LeftBar().RedrawItem(row);
    m_shownLibrary = library;
    m_bHasShownLibrary = TRUE;
    if (playingHere)
    {
        m_playingLibrary = library;
        m_bHasPlayingLibrary = TRUE;
    }
    // Row 0 is the list just shown: filled once, forced.
    SelectListItem(lists, 0);
    ShowSongList(0, TRUE, TRUE);
    UpdateSongListsHeader();
}

void CDlgMain::ShowLibraryOf(const CString& idValue)
{
    CString id = idValue;
    int row = LeftBar().FindItem(id);
    if (row < 0)
        return;
    if (m_strShownOwner != m_strUserEmail && m_strShownOwner != id && !m_strShownOwner.IsEmpty())
        CBuddyCommands::LeaveLibrary(m_strShownOwner);
    m_bLibraryWatch = TRUE;
    LeftBar().SetCurSel(row);
    if (id == m_strUserEmail)
    {
        SelectLeftItem(0);
        return;
    }
    m_strShownOwner = id;
    ShowBrowserPane(FALSE);
    SetLibraryToolbar(TRUE);
    StopLibraryWait();
    OpenBuddyLibrary(LeftBar().GetItem(row), row);
    SelectListItem(m_listSongs, 0);
}

LPCWSTR CDlgMain::ChannelPage(const CString& id)
{
    if (id == L"tavrin")
        return COutsideSites::RadioChannelHome;
    if (id == L"google_music")
        return COutsideSites::SearchSite1Home;
    return NULL;
}

BOOL CDlgMain::ShowChannelPage(const CString& id)
{
    if (!m_browser.GetSafeHwnd())
        return FALSE;
    if (id == L"home")
    {
        OpenHomePage();
        return TRUE;
    }
    LPCWSTR page = ChannelPage(id);
    if (!page)
        return FALSE;
    // The music search's own page; the radio channel leaves the flag as it is.
    if (id == L"google_music")
        m_bOutsideSearch = TRUE;
    ShowBrowserPane(TRUE);
    m_browser.SafeNavigate(page, kPageNavigationFlags);
    return TRUE;
}

void CDlgMain::ShowHomePage()
{
    m_strShownOwner.Empty();
    SelectLeftItem(LeftBar().FindItem(L"home"));
}

void CDlgMain::ReopenShownLibrary(BOOL open)
{
    int row = LeftBar().FindItem(m_strShownOwner);
    if (row < 0)
        return;
    LeftBar().SetCurSel(row);
    if (open && row != 0)
    {
        StopLibraryWait();
        OpenBuddyLibrary(LeftBar().GetItem(row), row);
    }
}

void CDlgMain::UpdateSongListCounts()
{
    if (m_strShownOwner == m_strPlayingOwner && m_bHasShownLibrary)
    {
        m_playingLibrary = m_shownLibrary;
        m_bHasPlayingLibrary = TRUE;
    }
    if (!IsShowingOwnLibrary())
        return;
    int count = CountOwnTypes(m_shownLibrary);
    if (CDListItem* all = m_listSongLists.GetRow(0))
        all->songCount = count;
    if (CFriendItem* own = LeftBar().GetItem(0))
    {
        own->totalSongs = count;
        LeftBar().RedrawItem(0);
    }
    for (int i = 0; i < m_shownLibrary.GetPlaylistCount(); ++i)
    {
        const CPlaylist* playlist = m_shownLibrary.PlaylistAt(i);
        if (!playlist)
            continue;
        int row = m_listSongLists.FindList(playlist->GetName());
        if (CDListItem* record = m_listSongLists.GetRow(row))
            record->songCount = playlist->GetSongCount();
    }
    m_listSongLists.Invalidate(FALSE);
}

void CDlgMain::ShowSongList(int n, BOOL force, BOOL selectFirst)
{
    CListCtrlCD& lists = m_listSongLists;
    CListCtrlSong& songs = m_listSongs;
    int shownRow = lists.FindList(m_strShownListName);
    if (n < 0 || (n == shownRow && !force))
    {
        if (shownRow >= 0)
            SelectListItem(lists, shownRow);
        return;
    }
    CDListItem* listRow = lists.GetRow(n);
    if (!listRow)
        return;
    songs.DeleteAllItems();
    m_strShownListName = listRow->name;
    if (LeftBar().FindItem(m_strShownOwner) < 0 || !m_bHasShownLibrary)
        return;

    // The songs in place: a list of tens of thousands is not copied.
    std::vector<const CSongInfo*> shown;
    if (listRow->listId == kAllSongsId)
    {
        shown.reserve(m_shownLibrary.GetSongCount());
        for (int i = 0; i < m_shownLibrary.GetSongCount(); ++i)
            shown.push_back(m_shownLibrary.SongAt(i));
    }
    else
    {
        const CPlaylist* playlist = m_shownLibrary.PlaylistNamed(listRow->name);
        if (!playlist)
            return;
        SongIdIndex index = SongIndex(m_shownLibrary);
        shown.reserve(playlist->GetSongCount());
        for (const CString& songId : playlist->GetSongIds())
        {
            auto at = index.find(IdKey(songId));
            if (at != index.end())
                shown.push_back(m_shownLibrary.SongAt(at->second));
        }
    }

    std::set<CString, CStringLess> fresh;
    if (IsShowingOwnLibrary())
    {
        std::vector<CString> boards;
        if (m_boardStore.GetNewCountTotal() != 0 && SUCCEEDED(m_boardStore.GetBoardsWithNew(boards)))
            fresh.insert(boards.begin(), boards.end());
    }
    else
    {
        auto unread = m_unreadBoards.find(m_strShownOwner);
        if (unread != m_unreadBoards.end())
            fresh.insert(unread->second.begin(), unread->second.end());
    }

    CString buddyName = Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME");
    CString recentName = Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME");
    BOOL special = IsShowingOwnSpecialList();
    BOOL pushedList = listRow->listId == kBuddyListId || listRow->listId == kRecentListId;
    BOOL playingList = m_strShownOwner == m_strPlayingOwner && m_strShownListName == m_strPlayingListName;
    CString myMusic = GetMyMusicFolder(FALSE);
    songs.SetRedraw(FALSE);
    int position = 0;
    for (size_t i = 0; i < shown.size(); ++i)
    {
        const CSongInfo& song = *shown[i];
        const CString& type = song.GetType();
        if (type == L"2" && !pushedList)
            continue;
        SongRowData* row = new SongRowData;
        row->songId = song.GetId();
        row->title = song.GetTitle();
        row->artist = song.GetArtist();
        row->hash = song.GetHash();
        row->boardText = song.GetBoardValue();
        row->hotSubItems = 1 << CListCtrlSong::COLUMN_BOARD;
        row->boardNew = fresh.count(song.GetHash()) ? 1 : 0;
        row->duration = static_cast<unsigned int>(song.GetDuration() / 10000);
        const CString& songOwner = song.GetOwner().IsEmpty() ? listRow->owner : song.GetOwner();
        row->localPath = song.GetPath();
        row->position = static_cast<int>(i);
        row->auxValue = song.GetAuxValue();
        if (type == L"1")
        {
            row->sourceKind = 1;
            row->progress = 10;
            row->unavailable = 1;
        }
        else if (type == L"3")
        {
            row->sourceKind = 3;
            row->progress = 100;
            if (song.GetFlag())
                row->unavailable = 1;
            else if (!special)
                row->actionIcon = -1;
        }
        else if (type == L"2")
        {
            row->sourceKind = 2;
            CFriendItem* ownerRow = LeftBar().GetItem(LeftBar().FindItem(songOwner));
            if (ownerRow && ownerRow->presence > 2)
            {
                row->unavailable = 1;
                row->progress = -1;
            }
            if (special && !myMusic.IsEmpty())
            {
                CString cache;
                cache.Format(L"%s\\yeb360\\cache\\%s.cache", (LPCWSTR)myMusic, (LPCWSTR)song.GetHash());
                CString size = FileSizeText(cache);
                if (!size.IsEmpty() && size == song.GetFileSize())
                    row->actionIcon = 1;
            }
        }
        else
        {
            row->progress = -1;
            if (song.GetFlag())
                row->unavailable = 1;
            else if (songOwner == m_strUserEmail && !special)
                row->actionIcon = -1;
        }
        if (row->actionIcon)
            row->hotSubItems |= 1;
        // Rows of the pushed and recent lists keep their songs' owners.
        if (m_strShownListName == buddyName || m_strShownListName == recentName)
        {
            row->progress = -1;
            row->owner = songOwner;
        }
        else
            row->owner = m_strShownOwner;
        row->playing = playingList && row->songId == m_strPlayingSongId ? 1 : 0;
        songs.InsertRow(position++, row);
    }
    songs.SortItems(KeepOrder, 0);
    songs.SetRedraw(TRUE);
    songs.Invalidate(FALSE);
    if (selectFirst)
        SelectListItem(songs, 0);
}

void CDlgMain::StartLibraryWait(int mode)
{
    CListCtrlCD& lists = m_listSongLists;
    CDlgAnimation* animation = lists.GetSafeHwnd() ? lists.GetAnimation() : NULL;
    if (animation)
    {
        CRect rect;
        lists.GetWindowRect(&rect);
        animation->SetWindowPos(NULL, rect.CenterPoint().x - 20, rect.CenterPoint().y - 9, 40, 18,
                                SWP_NOZORDER | SWP_NOACTIVATE);
        if (IsWindowVisible())
            animation->ShowWindow(SW_SHOWNOACTIVATE);
        // Fade in.
        for (int i = 1; i <= 15; ++i)
        {
            lists.m_nAlpha = static_cast<BYTE>(std::min(255, 105 + 10 * i));
            lists.ShowAnimationFrame(CListCtrlCD::FIRST_FRAME + m_nLoadingFrame);
            ::Sleep(10);
        }
    }
    if (m_timerLoading)
        KillTimer(TIMER_MAIN_LOADING);
    m_timerLoading = SetTimer(TIMER_MAIN_LOADING, 200);
    m_bShownFromDisk = FALSE;
    ShowBrowserPane(FALSE);
    SetLibraryToolbar(mode != 0);
    m_bPageWait = mode == 0;
    m_bWaitRestart = TRUE;
    m_bLibraryArrived = FALSE;
    m_bWaitTimedOut = FALSE;
}

void CDlgMain::StopLibraryWait()
{
    if (m_bPageWait && m_timerLoading)
        ShowBrowserPane(FALSE);
    CListCtrlCD& lists = m_listSongLists;
    CDlgAnimation* animation = lists.GetSafeHwnd() ? lists.GetAnimation() : NULL;
    if (animation && animation->IsWindowVisible())
    {
        // Fade out.
        for (int i = 25; i > 0; --i)
        {
            lists.m_nAlpha = static_cast<BYTE>(std::max(0, 10 * i));
            lists.ShowAnimationFrame(CListCtrlCD::FIRST_FRAME + m_nLoadingFrame);
            ::Sleep(10);
        }
        animation->ShowWindow(SW_HIDE);
        lists.m_nAlpha = 255;
    }
    if (m_timerLoading)
        KillTimer(TIMER_MAIN_LOADING);
    m_timerLoading = 0;
    m_bPageWait = FALSE;
    m_bLibraryArrived = FALSE;
    m_bWaitRestart = FALSE;
}

void CDlgMain::ShowNextLoadingFrame()
{
    m_nLoadingFrame = m_nLoadingFrame >= static_cast<int>(kFrameCount) - 1 ? 0 : m_nLoadingFrame + 1;
    if (m_listSongLists.GetSafeHwnd())
    {
        if (CDlgAnimation* animation = m_listSongLists.GetAnimation())
            animation->ShowWindow(IsWindowVisible() ? SW_SHOWNOACTIVATE : SW_HIDE);
        m_listSongLists.ShowAnimationFrame(CListCtrlCD::FIRST_FRAME + m_nLoadingFrame);
    }
}

void CDlgMain::OnLoadingTimer()
{
    DWORD now = ::GetTickCount();
    if (m_bPageWait)
    {
        if (!m_browser.GetSafeHwnd())
        {
            StopLibraryWait();
            return;
        }
        if (m_browser.GetBusy())
        {
            ShowNextLoadingFrame();
            return;
        }
        StopLibraryWait();
        ShowBrowserPane(TRUE);
        return;
    }
    if (m_bLibraryArrived)
    {
        if (m_dwFirstArrival == 0)
            m_dwFirstArrival = now ? now : 1;
        if (m_timerLoading && now - m_dwFirstArrival < 600)
        {
            ShowNextLoadingFrame();
            return;
        }
        CString owner = m_strWaitOwner;
        StopLibraryWait();
        int row = LeftBar().FindItem(owner);
        if (row < 0)
            return;
        m_strShownOwner = owner;
        OpenBuddyLibrary(LeftBar().GetItem(row), row, TRUE);
        return;
    }
    if (m_bWaitRestart)
    {
        m_dwWaitStart = now;
        m_nLoadingFrame = 0;
        m_bWaitRestart = FALSE;
    }
    DWORD waited = now - m_dwWaitStart;
    if (waited < 200)
        return;
    auto progress = m_libraryProgress.find(m_strWaitOwner);
    if (waited <= kWaitLimitMs || !m_timerLoading || (progress != m_libraryProgress.end() && progress->second != 0))
    {
        ShowNextLoadingFrame();
        return;
    }
    StopLibraryWait();
    m_bWaitTimedOut = TRUE;
    if (m_strWaitOwner != m_strUserEmail)
        CBuddyCommands::LeaveLibrary(m_strWaitOwner);
    // Told after the timer's turn: a modal box inside it would let the timer
    // come again while the box is open.
    PostMessage(WM_MAIN_LIBRARY_WAIT_MESSAGE, 2, 0);
}

LRESULT CDlgMain::OnLibraryWaitMessage(WPARAM wParam, LPARAM)
{
    if (wParam == 2)
        Ask(Lang(L"INFO_LIST_LOAD_CD_OVERTIMER"), CDlgMessage::BUTTONS_OK);
    return 1;
}

void CDlgMain::OnLibraryArrived()
{
    m_bLibraryArrived = TRUE;
}

int CDlgMain::CreateSongList(const CString& nameValue)
{
    CString name = nameValue;
    BOOL automatic = name.IsEmpty();
    if (automatic)
    {
        CPlaylist existing;
        for (int i = 0; i <= m_shownLibrary.GetPlaylistCount(); ++i)
        {
            CString base = Lang(L"STR_MAIN_UNNAMED_SONGLIST_NAME");
            if (base.IsEmpty())
                Ask(L"Load language file fails!", CDlgMessage::BUTTONS_OK);
            CString candidate;
            candidate.Format(L"%s%d", (LPCWSTR)base, i);
            if (FAILED(m_shownLibrary.GetPlaylistByName(candidate, existing)))
            {
                name = candidate;
                break;
            }
        }
        if (name.IsEmpty())
            return 0;
    }
    else
    {
        CPlaylist existing;
        if (SUCCEEDED(m_shownLibrary.GetPlaylistByName(name, existing)))
            return 0;
        if (IsReservedListName(name, TRUE))
            return 2;
    }
    CPlaylist playlist;
    playlist.SetName(name);
    playlist.SetKind(PLAYLIST_KIND_USER);
    if (m_shownLibrary.AddOrUpdatePlaylist(playlist) != S_OK)
        return -1;
    CListCtrlCD& lists = m_listSongLists;
    int at = std::max(0, lists.GetItemCount() - 2);
    int row = lists.InsertRow(at, NewListRow(name, m_strUserEmail, 0, GetFreeSongListId(), 0));
    if (automatic)
    {
        lists.EnsureVisible(row, FALSE);
        if (CClientApp* app = GetClientApp())
            m_shownLibrary.SaveToFile(app->GetMyPlaylistPath());
        SelectListItem(lists, row);
        ShowSongList(row, FALSE, TRUE);
        lists.SortItems(CompareListIds, 0);
        row = lists.FindList(name);
        lists.m_nCurrentRow = row;
        lists.BeginRename(row);
        m_paneSong.Layout();
    }
    else
        UpdateSongListCounts();
    return 1;
}

void CDlgMain::OnNewSongList()
{
    if (m_listSongLists.GetEditedRow() >= 0)
        m_listSongLists.EndRename(TRUE);
    if (!IsShowingOwnLibrary())
    {
        if (Ask(Lang(L"INFO_MAIN_DLG_ADD_SONGLIST_TIP"), CDlgMessage::BUTTONS_OK_CANCEL) == IDOK)
            SelectLeftItem(0);
        return;
    }
    SelectLeftItem(0);
    CreateSongList(CString());
}

void CDlgMain::OnRenameSongList()
{
    if (!IsShowingOwnLibrary())
        return;
    CListCtrlCD& lists = m_listSongLists;
    int row = lists.m_nCurrentRow >= 0 ? lists.m_nCurrentRow : lists.GetNextItem(-1, LVNI_SELECTED);
    if (row <= 0 || IsReservedListName(lists.GetListName(row), TRUE))
        return;
    lists.m_nCurrentRow = row;
    lists.BeginRename(row);
}

void CDlgMain::OnDeleteSongLists()
{
    if (!IsShowingOwnLibrary())
        return;
    CListCtrlCD& lists = m_listSongLists;
    std::vector<CString> names;
    for (int row = lists.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = lists.GetNextItem(row, LVNI_SELECTED))
        if (row > 0 && !IsReservedListName(lists.GetListName(row), TRUE))
            names.push_back(lists.GetListName(row));
    CClientApp* app = GetClientApp();
    for (const CString& name : names)
    {
        if (m_strShownOwner == m_strPlayingOwner && name == m_strPlayingListName)
        {
            Ask(Lang(L"INFO_MAIN_DLG_DEL_SONGLIST_TIP2"), CDlgMessage::BUTTONS_OK);
            continue;
        }
        if (Ask(Lang(L"INFO_MAIN_DLG_DEL_SONGLIST_TIP") + L" \"" + name + L"\" ?", CDlgMessage::BUTTONS_OK_CANCEL) !=
            IDOK)
            continue;
        CPlaylist playlist;
        if (FAILED(m_shownLibrary.GetPlaylistByName(name, playlist)))
            continue;
        // The service learns of the list and each of its songs going.
        std::vector<CSongInfo> songs;
        for (int i = 0; i < playlist.GetSongCount(); ++i)
        {
            CString id;
            CSongInfo song;
            if (SUCCEEDED(playlist.GetSongIdAt(i, id)) && SUCCEEDED(m_shownLibrary.GetSongById(id, song)))
                songs.push_back(song);
        }
        if (FAILED(m_shownLibrary.RemovePlaylist(playlist)))
            continue;
        if (CDataClient* data = CDataClient::GetInstance())
        {
            data->AddSyncPlaylist(RemovalRecord(name, FALSE, songs));
            data->UploadPlaylists();
        }
        if (app)
            m_shownLibrary.SaveToFile(app->GetMyPlaylistPath());
        int row = lists.FindList(name);
        lists.DeleteItem(row);
        PushSongCount(-1, TRUE);
        UpdateSongListCounts();
        int show = row > 1 ? row - 1 : 0;
        SelectListItem(lists, show);
        ShowSongList(show, TRUE, TRUE);
        lists.EnsureVisible(show, FALSE);
        m_paneSong.Layout();
    }
}

LRESULT CDlgMain::OnMoveSongRows(WPARAM kind, LPARAM indexValue)
{
    int index = static_cast<int>(indexValue);
    if (kind == 2)
    {
        SaveShownListOrder();
        return 0;
    }
    if (kind != 1 || index < 0)
        return 0;
    CListCtrlSong& songs = m_listSongs;
    index = std::min(index, songs.GetItemCount());
    std::vector<SongRowData*> moved;
    std::vector<int> rows;
    for (int row = songs.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = songs.GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    if (rows.empty())
        return 0;
    songs.SetRedraw(FALSE);
    for (int row : rows)
        moved.push_back(songs.DetachRow(row));
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
    {
        songs.DeleteItem(*it);
        if (*it < index)
            --index;
    }
    for (SongRowData* record : moved)
    {
        if (!record)
            continue;
        int row = songs.InsertRow(index, record);
        if (row >= 0)
        {
            songs.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            ++index;
        }
    }
    songs.SetRedraw(TRUE);
    songs.Invalidate(FALSE);
    SaveShownListOrder();
    return 0;
}

void CDlgMain::SaveShownListOrder()
{
    if (!m_bHasShownLibrary)
        return;
    CString target;
    CClientApp* app = GetClientApp();
    if (m_strShownOwner == m_strUserEmail)
        target = app ? app->GetMyPlaylistPath() : CString();
    else
        target = GetMyMusicFolder(FALSE) + L"\\yeb360\\lib\\friend\\" + m_strShownOwner + L"\\playlist.xml";
    if (target.IsEmpty())
        return;
    CListCtrlSong& songs = m_listSongs;
    if (m_strShownListName == AllSongsName())
    {
        // A fresh library in row order, then the songs of other types; the
        // lists are carried over as they are.
        CSongLibrary reordered;
        reordered.SetName(m_shownLibrary.GetName());
        std::set<CString, CStringLess> placed;
        SongIdIndex index = SongIndex(m_shownLibrary);
        for (int row = 0; row < songs.GetItemCount(); ++row)
        {
            SongRowData* record = songs.GetRow(row);
            CSongInfo song;
            auto at = record ? index.find(IdKey(record->songId)) : index.end();
            if (at != index.end() && !placed.count(record->songId) &&
                SUCCEEDED(m_shownLibrary.GetSongAt(at->second, song)))
            {
                placed.insert(record->songId);
                reordered.AppendSong(song);
            }
        }
        std::vector<CSongInfo> others;
        m_shownLibrary.CollectOtherTypeSongs(others);
        for (const CSongInfo& song : others)
            if (placed.insert(song.GetId()).second)
                reordered.AppendSong(song);
        // A song that had no row (none should) is never lost.
        for (int i = 0; i < m_shownLibrary.GetSongCount(); ++i)
        {
            CSongInfo song;
            if (SUCCEEDED(m_shownLibrary.GetSongAt(i, song)) && placed.insert(song.GetId()).second)
                reordered.AppendSong(song);
        }
        for (int i = 0; i < m_shownLibrary.GetPlaylistCount(); ++i)
        {
            CPlaylist playlist;
            if (SUCCEEDED(m_shownLibrary.GetPlaylistAt(i, playlist)))
                reordered.AddOrUpdatePlaylist(playlist);
        }
        m_shownLibrary = reordered;
    }
    else
    {
        CPlaylist playlist;
        if (FAILED(m_shownLibrary.GetPlaylistByName(m_strShownListName, playlist)))
            return;
        CPlaylist ordered;
        ordered.SetName(playlist.GetName());
        ordered.SetKind(playlist.GetKind());
        for (int row = 0; row < songs.GetItemCount(); ++row)
            if (SongRowData* record = songs.GetRow(row))
                ordered.AddSongKey(record->songId, TRUE);
        // Songs of the list that had no row (buddies' songs outside the two
        // special lists) keep their places at the end.
        for (int i = 0; i < playlist.GetSongCount(); ++i)
        {
            CString id;
            if (SUCCEEDED(playlist.GetSongIdAt(i, id)) && ordered.IndexOfSong(id) < 0)
                ordered.AddSongKey(id, TRUE);
        }
        m_shownLibrary.UpdatePlaylist(ordered);
    }
    m_shownLibrary.SaveToFile(target);
    if (m_bHasPlayingLibrary && m_strPlayingOwner == m_strShownOwner)
    {
        m_playingLibrary = m_shownLibrary;
        int index = -1;
        if (m_strPlayingListName == AllSongsName())
            index = m_playingLibrary.IndexOfSong(m_strPlayingSongId);
        else
        {
            CPlaylist playing;
            if (SUCCEEDED(m_playingLibrary.GetPlaylistByName(m_strPlayingListName, playing)))
                index = playing.IndexOfSong(m_strPlayingSongId);
        }
        if (index >= 0)
            m_nPlayingIndex = index;
    }
}

void CDlgMain::PlaySongAt(int row)
{
    SelectListItem(m_listSongs, row);
    SongRowData* record = m_listSongs.GetRow(row);
    if (row >= 0 && record && !record->unavailable)
        PlayRow(row, NULL);
}

void CDlgMain::PlaySongList(int row)
{
    // The list is shown, then its songs play from the first.
    if (row < 0)
        row = m_listSongLists.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0 || row >= m_listSongLists.GetItemCount())
        return;
    SelectListItem(m_listSongLists, row);
    ShowSongList(row, FALSE, TRUE);
    if (m_listSongs.GetItemCount() > 0)
        PlaySongAt(0);
}
