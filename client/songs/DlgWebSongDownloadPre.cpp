#include "DlgWebSongDownloadPre.h"
#include "AppSetting.h"
#include "ClientApp.h"
#include "DownloadTask.h"
#include "FileFolder.h"
#include "resource.h"

std::function<CSongLibrary*()> CDlgWebSongDownloadPre::s_mainLibrary;
std::function<void(const CString&)> CDlgWebSongDownloadPre::s_onListCreated;
CString CDlgWebSongDownloadPre::s_libraryPath;
CString CDlgWebSongDownloadPre::s_lastList;

namespace
{
const CSongListChoiceDialog::Controls PreControls = {
    IDC_PRE_CLOSE,         IDC_PRE_OK,           IDC_PRE_CANCEL,
    IDC_PRE_FILE_LABEL,    IDC_PRE_FILE_NAME,    IDC_PRE_LIST_LABEL,
    IDC_SONG_LIST_COMBO,   IDC_PRE_NEW_NAME,     IDC_PRE_NEW_LIST,
    IDC_PRE_EXISTING_LIST, IDC_PRE_FOLDER_LABEL, IDC_PRE_FOLDER,
    IDC_PRE_CHANGE_FOLDER};
} // namespace

CDlgWebSongDownloadPre::CDlgWebSongDownloadPre(LPCWSTR url, LPCWSTR fileName, CWnd* parent)
    : CSongListChoiceDialog(IDD_WEB_DOWNLOAD_PRE, PreControls, L"INFO_DOWNLOAD_SONG_PREPARE", parent),
      m_url(url)
{
    // The name shown is the one the file will get.
    m_nameText = DownloadTask::CleanFileName(fileName);
    if (g_pAppSetting)
        m_folder = g_pAppSetting->strSavePath;
}

CString CDlgWebSongDownloadPre::LibraryPath() const
{
    if (!s_libraryPath.IsEmpty())
        return s_libraryPath;
    CClientApp* app = GetClientApp();
    return app ? app->GetMyPlaylistPath() : CString();
}

BOOL CDlgWebSongDownloadPre::OnInitDialog()
{
    if (!m_folder.IsEmpty())
        CreateFolderPath(m_folder);
    // A library that cannot be loaded leaves the total list alone.
    m_library.LoadFromFile(LibraryPath());
    return CSongListChoiceDialog::OnInitDialog();
}

void CDlgWebSongDownloadPre::Confirm()
{
    m_folderEdit.GetWindowText(m_folder);
    if (!IsNewListMode())
    {
        m_combo.GetWindowText(m_chosen);
        s_lastList = m_chosen;
        EndDialog(IDOK);
        return;
    }
    m_newName.GetWindowText(m_chosen);
    s_lastList = m_chosen;
    CSongLibrary* main = s_mainLibrary ? s_mainLibrary() : NULL;
    CSongLibrary& library = main ? *main : m_library;
    CPlaylist existing;
    if (library.GetPlaylistByName(m_chosen, existing) == S_OK)
    {
        ShowListProblem(L"INFO_NEWPLAYLIST_MODIFY");
        return;
    }
    CPlaylist playlist;
    playlist.SetName(m_chosen);
    library.AddOrUpdatePlaylist(playlist);
    library.SaveToFile(LibraryPath());
    if (main && s_onListCreated)
        s_onListCreated(m_chosen);
    EndDialog(IDOK);
}
