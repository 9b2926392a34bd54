#include "DlgCollectSong.h"
#include "AppSetting.h"
#include "ClientApp.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "SongCollector.h"
#include "resource.h"

std::function<void(const CString&)> CDlgCollectSong::s_onListCreated;
CString CDlgCollectSong::s_libraryPath;
CString CDlgCollectSong::s_lastList;

namespace
{
const CSongListChoiceDialog::Controls CollectControls = {
    IDC_COLLECT_CLOSE,         IDC_COLLECT_OK,           IDC_COLLECT_CANCEL,
    IDC_COLLECT_LABEL,         IDC_COLLECT_TITLE,        IDC_COLLECT_LIST_LABEL,
    IDC_SONG_LIST_COMBO,       IDC_COLLECT_NEW_NAME,     IDC_COLLECT_NEW_LIST,
    IDC_COLLECT_EXISTING_LIST, IDC_COLLECT_FOLDER_LABEL, IDC_COLLECT_FOLDER,
    IDC_COLLECT_CHANGE_FOLDER};
} // namespace

CDlgCollectSong::CDlgCollectSong(LPCWSTR songId, CSongLibrary* library, CWnd* parent)
    : CSongListChoiceDialog(IDD_COLLECT_SONG, CollectControls, L"STR_COLLECT_SONG_TITLE", parent),
      m_library(library)
{
    CSongInfo song;
    if (m_library && m_library->GetSongById(songId, song) == S_OK)
    {
        m_hash = song.GetHash();
        m_title = song.GetTitle();
        m_path = song.GetPath();
        m_artist = song.GetArtist();
        m_album = song.GetAlbum();
    }
    m_nameText = m_title;
    if (g_pAppSetting)
        m_folder = g_pAppSetting->strSavePath;
}

BOOL CDlgCollectSong::OnInitDialog()
{
    BOOL result = CSongListChoiceDialog::OnInitDialog();
    m_name.m_textColour = RGB(0, 66, 204);
    return result;
}

void CDlgCollectSong::Save()
{
    CString path = s_libraryPath;
    if (path.IsEmpty())
        if (CClientApp* app = GetClientApp())
            path = app->GetMyPlaylistPath();
    if (m_library && !path.IsEmpty())
        m_library->SaveToFile(path);
}

void CDlgCollectSong::Confirm()
{
    CString newName;
    if (IsNewListMode())
    {
        m_newName.GetWindowText(newName);
        CPlaylist existing;
        if (m_library && m_library->GetPlaylistByName(newName, existing) == S_OK)
        {
            ShowListProblem(L"INFO_NEWPLAYLIST_MODIFY");
            return;
        }
    }
    m_folderEdit.GetWindowText(m_folder);
    CString target = SongCollector::TargetPath(m_folder, m_title, m_artist, m_path);
    DWORD error =
        SongCollector::CopySong(SongCollector::CacheFileOf(m_hash), target, m_title, m_artist, m_album);
    if (error)
    {
        CString text;
        text.Format(L"%s(%ld)", (LPCWSTR)Lang(L"INFO_COLLECT_SONG_FAILED"), (long)error);
        CDlgMessage::ShowMessage(text, CDlgMessage::BUTTONS_OK, NULL, CString(), 0, 0, this);
        return;
    }
    m_collected = target;
    CSongInfo copy;
    copy.ReadFileTags(target);
    if (m_library)
    {
        if (IsNewListMode())
        {
            CPlaylist playlist;
            playlist.SetName(newName);
            m_library->AddOrUpdatePlaylist(playlist);
            m_library->AddSongToPlaylist(copy, playlist);
            Save();
            s_lastList = newName;
            if (s_onListCreated)
                s_onListCreated(newName);
        }
        else if (m_combo.GetCurSel() >= 0)
        {
            int selected = m_combo.GetCurSel();
            int index = (int)m_combo.GetItemData(selected);
            CPlaylist playlist;
            if (index == m_library->GetPlaylistCount())
                m_library->AddSong(copy);
            else if (m_library->GetPlaylistAt(index, playlist) == S_OK)
                m_library->AddSongToPlaylist(copy, playlist);
            Save();
            CString chosen;
            m_combo.GetWindowText(chosen);
            s_lastList = chosen;
        }
    }
    EndDialog(IDOK);
}
