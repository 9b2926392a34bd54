// The main window's commands: menu items, tray items, the song panes'
// context menus and the page commands the embedded browsers leave to the
// window. Page commands carry a heap copy of their argument; RunPageCommand
// (DlgMainWeb.cpp) takes it over and hands it here in m_strPageArgument.
#include "DlgMain.h"

#include "Base64Codec.h"
#include "ClientApp.h"
#include "DataClient.h"
#include "AppSetting.h"
#include "DlgConfig.h"
#include "DlgMessage.h"
#include "DlgWebSongBrowser.h"
#include "HttpFetcher.h"
#include "ImageServerHeader.h"
#include "LanguageTable.h"
#include "OutsideSites.h"
#include "ServiceAddresses.h"
#include "UploadMusicDlg.h"
#include "resource.h"

#include <memory>
#include <vector>

namespace
{
const wchar_t kSiteKey[] = L"pqrbtzwkcnvhyagsdloxmefuji";
const wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded";

// Commands whose lParam is a heap text when they do not come through
// RunPageCommand (which then passes 0 and keeps the text itself).
BOOL CarriesArgument(UINT id)
{
    switch (id)
    {
    case ID_PAGE_SENDFRIEND:
    case ID_PAGE_ADDFRIEND:
    case ID_PAGE_CLOSE:
    case ID_PAGE_PLAYRADIO:
    case ID_PAGE_DOWNLOAD:
    case ID_PAGE_OPENWINDOW:
    case ID_PAGE_OPENWINDOW_AD:
    case ID_PAGE_GOTO:
    case ID_PAGE_COMPANYPLAYPLS:
    case ID_PAGE_GOTOPAGE:
    case ID_PAGE_LOOKOVER:
    case ID_PAGE_OPENQ:
    case ID_PAGE_ADDUID:
    case ID_PAGE_SHOWLIST:
        return TRUE;
    default:
        return FALSE;
    }
}


BOOL FetchUploadAnswer(const CString& url, CString& answer)
{
    CHttpFetcher fetcher;
    if (!fetcher.SetUrl(url) || !fetcher.Start(FALSE))
        return FALSE;
    answer = fetcher.GetResponseText(CP_UTF8);
    return TRUE;
}

// A browser window posted a form: the site's pages read it as ANSI bytes.
void PostForm(CDlgWebSongBrowser* window, const CString& url, const CString& form)
{
    if (!window)
        return;
    CStringA body = FwToAnsi(form);
    window->Navigate(url, CDlgWebSongBrowser::NAVIGATE_FRESH, NULL, kFormHeader, static_cast<LPCSTR>(body),
                     static_cast<DWORD>(body.GetLength()));
}
} // namespace

BOOL (*CDlgMain::s_fetchUpload)(const CString&, CString&) = FetchUploadAnswer;

BOOL CDlgMain::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (HIWORD(wParam) != 0)
        return CSkinResizableDialog::OnCommand(wParam, lParam);

    // A page command's argument: the copy RunPageCommand keeps, or a text
    // handed to this window directly, which is then freed here once.
    CString argument = m_strPageArgument;
    BOOL hasArgument = m_bPageArgument;
    if (CarriesArgument(id) && lParam)
    {
        std::unique_ptr<wchar_t[]> owned(reinterpret_cast<wchar_t*>(lParam));
        argument = owned.get();
        hasArgument = TRUE;
        lParam = 0;
    }

    switch (id)
    {
    case ID_BOARD_OPEN:
        OpenSelectedSongBoard();
        break;
    case ID_SONGLIST_RENAME:
    {
        // With a row given, that row; else the shown list's row.
        CListCtrlCD& lists = m_listSongLists;
        int shown = lists.FindList(m_strShownListName);
        if (m_strShownOwner == m_strPlayingOwner && m_strShownListName == m_strPlayingListName &&
            !m_strPlayingOwner.IsEmpty())
            return TRUE;
        int row = lParam ? static_cast<int>(lParam) : shown;
        if (row >= 0 && row < lists.GetItemCount())
            lists.m_nCurrentRow = row;
        OnRenameSongList();
        if (lParam && shown >= 0)
            SelectListItem(lists, shown);
        return TRUE;
    }
    case ID_SONGLIST_PLAY:
        PlaySongList(m_listSongLists.GetNextItem(-1, LVNI_SELECTED));
        break;
    case ID_SONGLIST_ADD_SONG:
    case ID_ADD_SONG_FILES:
    case ID_ADD_SONG_FILES_SPACE:
        AddSongFiles();
        break;
    case ID_WEB_LOGIN:
        RunWebLogin();
        break;
    case ID_WEB_HOMEPAGE:
        OpenSitePage(L"/");
        break;
    case ID_FEEDBACK:
        OpenSitePage(L"/feedback.shtml");
        break;
    case ID_HELP_PAGE:
        OpenSitePage(L"/help.shtml");
        break;
    case ID_INVITE:
        OpenSitePage(L"/invite.shtml");
        break;
    case ID_PAGE_MODIFYPORTRAIT:
        OpenAvatarChooser();
        return TRUE;
    case ID_RECOMMEND_BUDDIES:
        RecommendBuddiesTo(m_strShownOwner);
        break;
    case ID_ADD_BUDDY:
        RunAddFriend();
        break;
    case ID_APP_EXIT_CLIENT:
        EndDialog(IDCANCEL);
        ::PostQuitMessage(0);
        break;
    case ID_BUDDY_MESSAGE:
        OpenChatWindow(m_strShownOwner, CString());
        break;
    case ID_SONG_PLAY:
    {
        int row = LastSelectedSongRow();
        SongRowData* data = m_listSongs.GetRow(row);
        if (!data)
            break;
        if (m_strPlayingSongId.IsEmpty() || !data->playing)
            PlayRow(row);
        else
            OnStop();
        break;
    }
    case ID_SONG_SEND:
        SendSelectedSongToBuddy();
        break;
    case ID_SONG_COLLECT:
    {
        int row = LastSelectedSongRow();
        if (row >= 0)
            CollectSong(row, FALSE);
        break;
    }
    case ID_SONG_DELETE:
        DeleteSelectedSongs();
        break;
    case ID_BUDDY_DELETE:
        DeleteSelectedBuddy();
        break;
    case ID_BUDDY_SEND_SONG:
        SendSongsToSelectedBuddy();
        break;
    case ID_IMPORT_FOLDER_LIST:
    case ID_IMPORT_FOLDER:
    case ID_PAGE_ADDSONG:
        if (AutoLoadSongs())
            LoadMyLibrary(TRUE);
        return TRUE;
    case ID_PAGE_MODIFYNICK:
        OpenSettings(0);
        return TRUE;
    case ID_BUDDY_VIEW_BUDDIES:
        if (!m_strShownOwner.IsEmpty())
            RequestBuddyCard(m_strShownOwner);
        break;
    case ID_BUDDY_OPEN_LIBRARY:
    {
        int row = LeftBar().FindItem(m_strShownOwner);
        if (CFriendItem* item = LeftBar().GetItem(row))
            OpenBuddyLibrary(item, row);
        break;
    }
    case ID_PRESENCE_AWAY:
        SetPresenceFromMenu(1);
        break;
    case ID_PRESENCE_BUSY:
        SetPresenceFromMenu(2);
        break;
    case ID_PRESENCE_ONLINE:
        SetPresenceFromMenu(0);
        break;
    case ID_PRESENCE_INVISIBLE:
        SetPresenceFromMenu(3);
        break;
    case ID_ABOUT:
    {
        CDialog about(IDD_ABOUT, this);
        about.DoModal();
        break;
    }
    case ID_LOG_OUT:
        SendMessage(WM_MAIN_RELAUNCH, 0, 0);
        EndDialog(IDCANCEL);
        ::PostQuitMessage(0);
        break;
    case ID_PAGE_ADDFRIEND:
        // With an address RunPageCommand has added the buddy already.
        if (!hasArgument)
            RunAddFriend();
        return TRUE;
    case ID_PAGE_DOWNLOAD:
        if (hasArgument)
            OnPageDownload(argument);
        return TRUE;
    case ID_SONG_APPLY:
        RunSongApply();
        break;
    case ID_SONG_UPLOAD:
        RequestSongUpload();
        break;
    case ID_PAGE_COMPANYFINISHED:
    case ID_PAGE_JOINFINISHED:
    {
        int flags = g_pAppSetting ? g_pAppSetting->wPrivacy : 0;
        flags |= id == ID_PAGE_COMPANYFINISHED ? 8 : 16;
        if (g_pAppSetting)
            g_pAppSetting->wPrivacy = static_cast<WORD>(flags);
        CString text;
        text.Format(L"%d", flags);
        PushMyProfile(text);
        break;
    }
    case ID_PAGE_COMPANYPLAYPLS:
        if (hasArgument)
            PlayRadioStream(argument);
        return TRUE;
    case ID_SONG_SEARCH:
        SearchWeb(m_strSearchText);
        break;
    case ID_PAGE_LOOKOVER:
        if (hasArgument)
            RequestBuddyCard(argument);
        break;
    case ID_PAGE_SHOWLIST:
        if (hasArgument)
            ShowLibraryOf(argument);
        return TRUE;
    default:
        break;
    }
    // Page arguments never travel on.
    if (CarriesArgument(id))
        lParam = 0;
    return CSkinResizableDialog::OnCommand(wParam, lParam);
}

int CDlgMain::LastSelectedSongRow()
{
    if (!m_listSongs.GetSafeHwnd())
        return -1;
    int last = -1;
    for (int row = m_listSongs.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = m_listSongs.GetNextItem(row, LVNI_SELECTED))
        last = row;
    return last;
}

void CDlgMain::OpenSelectedSongBoard()
{
    int row = LastSelectedSongRow();
    SongRowData* data = m_listSongs.GetRow(row);
    if (!data || data->hash.IsEmpty())
        return;
    data->boardNew = 0;
    OpenSongBoard(data->hash, data->title, data->owner);
    m_listSongs.RedrawItems(row, row);
}

CSyncPlaylist CDlgMain::RemovalRecord(const CString& listName, BOOL allSongs, const std::vector<CSongInfo>& songs)
{
    CSyncPlaylist record;
    record.m_strName = allSongs ? CString(L"all") : listName;
    record.m_strM = L"1";
    for (const CSongInfo& song : songs)
    {
        CSyncSong sync;
        sync.H = song.GetHash();
        sync.T = song.GetTitle();
        sync.A = song.GetArtist();
        sync.S = song.GetFileSize();
        sync.Z = 1;
        record.AddSong(sync);
    }
    return record;
}

void CDlgMain::DeleteSelectedSongs()
{
    if (!IsShowingOwnLibrary() || !m_bHasShownLibrary)
        return;
    int listRow = m_listSongLists.FindList(m_strShownListName);
    CDListItem* list = m_listSongLists.GetRow(listRow);
    if (!list)
        return;
    BOOL allSongs = list->listId == 10000;
    CPlaylist playlist;
    if (!allSongs && FAILED(m_shownLibrary.GetPlaylistByName(m_strShownListName, playlist)))
        return;

    std::vector<int> rows;
    std::vector<CSongInfo> removed;
    for (int row = m_listSongs.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = m_listSongs.GetNextItem(row, LVNI_SELECTED))
    {
        SongRowData* data = m_listSongs.GetRow(row);
        if (!data || data->playing)
            continue;
        CSongInfo song;
        if (FAILED(m_shownLibrary.GetSongById(data->songId, song)))
            continue;
        HRESULT hr = allSongs ? m_shownLibrary.RemoveSong(song) : m_shownLibrary.RemoveSongFromPlaylist(song, playlist);
        if (FAILED(hr))
            continue;
        if (!allSongs)
            playlist.RemoveSong(song);
        rows.push_back(row);
        removed.push_back(song);
    }
    if (rows.empty())
        return;
    if (CClientApp* app = GetClientApp())
        m_shownLibrary.SaveToFile(app->GetMyPlaylistPath());
    m_listSongs.SetRedraw(FALSE);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        m_listSongs.DeleteItem(*it);
    m_listSongs.SetRedraw(TRUE);

    if (CDataClient* data = CDataClient::GetInstance())
    {
        data->AddSyncPlaylist(RemovalRecord(m_strShownListName, allSongs, removed));
        data->UploadPlaylists();
    }
    PushSongCount(-1, TRUE);
    UpdateSongListCounts();
    int count = m_listSongs.GetItemCount();
    if (count > 0)
        SelectListItem(m_listSongs, rows.front() < count ? rows.front() : count - 1);
}

void CDlgMain::RunWebLogin()
{
    CDlgWebSongBrowser* window = OpenWebBrowserWindow(FALSE, 650, 450);
    CString form;
    form.Format(L"email=%s&yebkey=%s", (LPCWSTR)m_strUserEmail, kSiteKey);
    PostForm(window, CServiceAddresses::Get().WebUrl(L"/inset/user/login.php?a=login"), form);
}

void CDlgMain::RunSongApply()
{
    SongRowData* data = m_listSongs.GetRow(LastSelectedSongRow());
    if (!data)
        return;
    CString host;
    if (CClientApp* app = GetClientApp())
        host = app->GetUploadServerHost();
    if (host.IsEmpty())
        host = CServiceAddresses::Get().m_uploadHost;
    CString url, form;
    url.Format(L"http://%s/song_apply.php", (LPCWSTR)host);
    form.Format(L"email=%s&songhash=%s&yebkey=%s", (LPCWSTR)m_strUserEmail, (LPCWSTR)data->hash, kSiteKey);
    PostForm(OpenWebBrowserWindow(FALSE, 650, 450), url, form);
}

void CDlgMain::SearchWeb(const CString& text)
{
    if (CDlgWebSongBrowser* window = OpenWebBrowserWindow(FALSE))
        window->Navigate(COutsideSites::MusicSearchUrl(text), CDlgWebSongBrowser::NAVIGATE_FRESH);
}

BOOL CDlgMain::OpenSitePage(LPCWSTR path)
{
    CString url = CServiceAddresses::Get().WebUrl(path);
    HINSTANCE result = s_shellExecute(m_hWnd, NULL, url, NULL, NULL, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) > 32)
        return TRUE;
    // The shell could not open it: say so rather than pretend it opened.
    Ask(Lang(L"INFO_MAIN_DLG_OPEN_PAGE_FAILED"), CDlgMessage::BUTTONS_OK, url);
    return FALSE;
}

void CDlgMain::SetPresenceFromMenu(int presence)
{
    SetMyPresence(presence);
    SetTrayIcon(presence, FALSE);
}

void CDlgMain::DeleteSelectedBuddy()
{
    RemoveSelectedBuddy();
}

void CDlgMain::OpenChatForRow(int row)
{
    if (CFriendItem* item = LeftBar().GetItem(row))
        OpenChatWindow(item->id, CString());
}

void CDlgMain::SendSelectedSongToBuddy()
{
    int row = LastSelectedSongRow();
    if (row >= 0)
        SendSongOfRow(row);
}

void CDlgMain::SendSongsToSelectedBuddy()
{
    CFriendItem* item = LeftBar().GetItem(LeftBar().FindItem(m_strShownOwner));
    if (item)
        SendSongsToBuddy(item->id, item->nick);
}

// ---------------------------------------------------------------------------
// Asking the upload server to take a song

CString CDlgMain::FileTypeOfPath(const CString& path)
{
    int dot = path.ReverseFind(L'.');
    return dot < 0 ? path : path.Mid(dot + 1);
}

CString CDlgMain::SongUploadRequestUrl(const CString& host, const CString& email, const CString& nick,
                                       const CString& title, const CString& artist, const CString& hash,
                                       const CString& fileType, int size)
{
    CString form;
    form.Format(L"email=%s&nick=%s&songname=%s&songauthor=%s&songhash=%s&songtype=%s&songsize=%d", (LPCWSTR)email,
                (LPCWSTR)nick, (LPCWSTR)title, (LPCWSTR)artist, (LPCWSTR)hash, (LPCWSTR)fileType, size);
    CStringA utf8 = FwToUtf8(form);
    std::vector<char> encoded(4 * ((utf8.GetLength() + 2) / 3) + 1);
    Base64Codec codec;
    int n = codec.Encode(reinterpret_cast<const BYTE*>(static_cast<LPCSTR>(utf8)), encoded.data(), utf8.GetLength());
    CString text(CStringA(encoded.data(), n));
    text.Replace(L"+", L"%2B");
    CString url;
    url.Format(L"http://%s/song_up.php?str=%s", (LPCWSTR)host, (LPCWSTR)text);
    return url;
}

void CDlgMain::RequestSongUpload()
{
    SongRowData* data = m_listSongs.GetRow(LastSelectedSongRow());
    if (!data)
        return;
    CString path = data->localPath;
    if (data->owner != m_strUserEmail)
        path = m_strDataFolder + L"cache\\" + data->hash + L".cache";
    CString fileType = FileTypeOfPath(path);
    // The upload's header has a fixed field for the type (one byte kept
    // for its terminating zero); a longer type is cut to fit.
    if (fileType.GetLength() >= ImageServerHeader::TypeTextWidth)
        fileType = fileType.Left(ImageServerHeader::TypeTextWidth - 1);
    int size = 0;
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (::GetFileAttributesExW(path, GetFileExInfoStandard, &attributes))
        size = static_cast<int>(attributes.nFileSizeLow);

    CClientApp* app = GetClientApp();
    CString host = app ? app->GetUploadServerHost() : CString();
    if (host.IsEmpty())
        host = CServiceAddresses::Get().m_uploadHost;
    int port = app ? app->GetUploadServerPort() : CServiceAddresses::Get().m_uploadPort;
    CString nick = g_pAppSetting ? g_pAppSetting->strNick : CString();
    CString answer;
    if (!s_fetchUpload(SongUploadRequestUrl(host, m_strUserEmail, nick, data->title, data->artist, data->hash,
                                            fileType, size),
                       answer))
        return;
    answer.Trim();
    if (answer == L"0")
    {
        Ask(Lang(L"INFO_MUSIC_COMPANY_EXISTED"), CDlgMessage::BUTTONS_OK);
        return;
    }
    // One upload window; made again when it was closed, so no upload is lost.
    CUploadMusicDlg* window = CUploadMusicDlg::Open();
    if (!window)
        return;
    window->ShowWindow(SW_SHOWNORMAL);
    window->AddUpload(host, port, path, data->title, data->artist, answer, size, fileType);
    window->SetForegroundWindow();
}
