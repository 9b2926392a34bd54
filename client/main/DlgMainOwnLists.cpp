// The main window's own song lists: songs dropped onto a list, a buddy's
// song collected (or pushed on), songs imported from a folder or picked
// files, and the data folders the lists and caches live in.
#include "DlgMain.h"

#include "ClientApp.h"
#include "CommandTexts.h"
#include "DataClient.h"
#include "DataFolder.h"
#include "DlgCollectSong.h"
#include "DlgDragTip.h"
#include "DlgMessage.h"
#include "FECFileDialog.h"
#include "FolderDialog.h"
#include "LanguageTable.h"
#include "ListCtrlCD.h"
#include "ListCtrlSong.h"
#include "MenuEx.h"
#include "MessagingLink.h"
#include "ReservedNames.h"
#include "resource.h"

namespace
{
INT_PTR RunCollectDialog(CDlgMain* main, const CString& songId)
{
    CDlgCollectSong dialog(songId, &main->m_shownLibrary, main);
    return dialog.DoModal();
}

// Queues the song lists an import produced and sends them to the service.
void UploadImported(const std::vector<CSyncPlaylist>& lists)
{
    CDataClient* data = CDataClient::GetInstance();
    for (const CSyncPlaylist& list : lists)
        data->AddSyncPlaylist(list);
    data->UploadPlaylists();
}
} // namespace

INT_PTR (*CDlgMain::s_runCollectDialog)(CDlgMain*, const CString&) = RunCollectDialog;

LRESULT CDlgMain::AddSelectedSongsToList(WPARAM, LPARAM rowValue)
{
    int row = static_cast<int>(rowValue);
    CListCtrlCD& lists = m_listSongLists;
    // The buddy playlist and the recent list (the last two rows) fill
    // themselves; only the user's own lists take dropped songs.
    if (!IsShowingOwnLibrary() || row < 0 || row >= lists.GetItemCount() - 2)
        return 1;
    CPlaylist playlist;
    if (FAILED(m_shownLibrary.GetPlaylistByName(lists.GetListName(row), playlist)))
        return 1;
    BOOL added = FALSE;
    for (int i = m_listSongs.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = m_listSongs.GetNextItem(i, LVNI_SELECTED))
    {
        SongRowData* record = m_listSongs.GetRow(i);
        if (record && m_shownLibrary.IndexOfSong(record->songId) >= 0 && playlist.IndexOfSong(record->songId) < 0)
            added |= SUCCEEDED(playlist.AddSongKey(record->songId, TRUE));
    }
    // Nothing new: the file and the buddies' counts stay as they are.
    if (!added)
        return 0;
    m_shownLibrary.UpdatePlaylist(playlist);
    if (CClientApp* app = GetClientApp())
        m_shownLibrary.SaveToFile(app->GetMyPlaylistPath());
    UpdateSongListCounts();
    PushSongCount(0, TRUE);
    return 0;
}

void CDlgMain::CollectSong(int row, BOOL push)
{
    if (push)
    {
        SendSongOfRow(row);
        return;
    }
    SongRowData* song = m_listSongs.GetRow(row);
    if (!song)
        return;
    // The dialog may rebuild the rows; the song's texts are kept first.
    SongRowData kept = *song;
    if (s_runCollectDialog(this, kept.songId) != IDOK)
        return;
    PushSongCount(1, TRUE);
    UpdateSongListCounts();
    // The service's own sender accounts have no client to tell.
    if (!IsRobotAccount(kept.owner))
    {
        CommandData command;
        command.code = 14;
        command.s1 = kept.owner;
        command.s2 = kept.title;
        command.s3 = kept.hash;
        command.s8 = kept.artist;
        Messaging().pushCommand(command);
    }
    Ask(Lang(L"INFO_COLLECT_SONG_SUCCESS"), CDlgMessage::BUTTONS_OK);
}

void CDlgMain::OnAddSongButton()
{
    if (!IsShowingOwnLibrary())
    {
        if (Ask(Lang(L"INFO_MAIN_DLG_ADD_SONG_TIP1"), CDlgMessage::BUTTONS_OK_CANCEL) == IDOK)
            SelectLeftItem(0);
        return;
    }
    CMenuEx menu;
    if (!menu.LoadMenu(IDR_MENU_CONTEXT))
        return;
    CMenu* popup = menu.GetSubMenu(1);
    if (!popup)
        return;
    CRect button;
    m_btnAddSong.GetWindowRect(&button);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, button.left, button.bottom, this);
}

int CDlgMain::AutoLoadSongs()
{
    CFolderDialog chooser;
    chooser.m_strTitle = Lang(L"INFO_MAIN_DLG_AUTO_LOAD_SONG_TIP");
    if (chooser.DoModal(m_hWnd) != 1 || chooser.m_strChosenPath.IsEmpty())
        return 0;
    SelectLeftItem(0);
    CDlgDragTip import(this, m_mainLink, chooser.m_strChosenPath);
    import.DoModal();
    UploadImported(import.result);
    return 1;
}

void CDlgMain::AddSongFiles()
{
    int row = m_listSongLists.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
    {
        Ask(Lang(L"INFO_MAIN_DLG_ADD_SONG_TIP"), CDlgMessage::BUTTONS_OK);
        return;
    }
    if (IsShowingOwnSpecialList() || row >= m_listSongLists.GetItemCount() - 2)
    {
        Ask(Lang(L"INFO_MAIN_DLG_ADD_SONG_TIP2"), CDlgMessage::BUTTONS_OK);
        return;
    }
    SelectLeftItem(0);
    CFECFileDialog picker(TRUE, NULL, NULL, OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST,
                          L"Audio files|*.mp3;*.wma|mp3 files|*.mp3|wma files|*.wma||", this);
    if (picker.DoModal() != IDOK)
        return;
    std::vector<CString> names;
    POSITION pos = picker.GetStartPosition();
    while (pos)
    {
        CString name = picker.GetNextPathName(pos);
        if (!name.IsEmpty())
            names.push_back(name);
    }
    if (names.empty())
        return;
    CDlgDragTip import(this, m_mainLink, names, CDlgDragTip::ModeFiles);
    import.DoModal();
    UploadImported(import.result);
}

BOOL CDlgMain::EnsureDirectory(const CString& path)
{
    CString problem;
    DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
    {
        if (::CreateDirectoryW(path, NULL))
            return TRUE;
        problem.Format(L"Cannot create dir: '%s'", (LPCWSTR)path);
    }
    else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        problem.Format(L"Not dir: '%s'", (LPCWSTR)path);
    else if (!(attributes & FILE_ATTRIBUTE_READONLY) ||
             ::SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY))
        return TRUE;
    else
        problem.Format(L"Cannot read/write: '%s'", (LPCWSTR)path);
    ::OutputDebugStringW(problem);
    return FALSE;
}

BOOL CDlgMain::CreateDataFolders()
{
    CString myMusic = GetMyMusicFolder(TRUE);
    if (myMusic.IsEmpty())
        return FALSE;
    m_strDataFolder = myMusic + L"\\yeb360\\";
    const CString folders[] = {myMusic,
                               m_strDataFolder,
                               m_strDataFolder + L"cache\\",
                               m_strDataFolder + L"lib\\",
                               m_strDataFolder + L"lib\\private\\",
                               m_strDataFolder + L"lib\\friend\\",
                               m_strDataFolder + L"favorite\\"};
    for (const CString& folder : folders)
        if (!EnsureDirectory(folder))
            return FALSE;
    return TRUE;
}

CString CDlgMain::GetCacheFilePath(const CString& hash)
{
    return BuildCacheFilePath(hash);
}
