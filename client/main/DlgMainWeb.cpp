// The page commands of the main window: those of its embedded browser
// ("yeb360://" + word), those the web song browser windows pass on, and the
// advertisement links' "openwindow" commands. Each carries a heap copy of its
// argument (or null), which is freed here once the command has run.
#include "DlgMain.h"

#include "AppSetting.h"
#include "Base64Codec.h"
#include "ClientApp.h"
#include "DListItem.h"
#include "DlgConfig.h"
#include "DataFolder.h"
#include "DlgCollectSong.h"
#include "DlgMessage.h"
#include "DlgSongDownload.h"
#include "DlgWebSongBrowser.h"
#include "DlgWebSongDownloadPre.h"
#include "HttpFetcher.h"
#include "LanguageTable.h"
#include "ListCtrlDownload.h"
#include "OutsideSites.h"
#include "UploadMusicDlg.h"
#include "WebSongBrowserCtrl.h"
#include "resource.h"

#include <commctrl.h>

#include <memory>
#include <vector>

namespace
{
BOOL IsPageCommandId(UINT id)
{
    switch (id)
    {
    case ID_PAGE_ADDSONG:
    case ID_PAGE_SENDFRIEND:
    case ID_PAGE_ADDFRIEND:
    case ID_PAGE_CLOSE:
    case ID_PAGE_YAOQING:
    case ID_PAGE_PLAYRADIO:
    case ID_PAGE_VOLUNTEER:
    case ID_PAGE_DOWNLOAD:
    case ID_PAGE_OPENWINDOW:
    case ID_PAGE_OPENWINDOW_AD:
    case ID_PAGE_GOTO:
    case ID_SONG_UPLOAD: // "closeandstartup/" of a browser window
    case ID_PAGE_COMPANYFINISHED:
    case ID_PAGE_COMPANYPLAYPLS:
    case ID_PAGE_JOINFINISHED:
    case ID_PAGE_GOTOPAGE:
    case ID_PAGE_LOOKOVER:
    case ID_PAGE_OPENQ:
    case ID_PAGE_ADDUID:
    case ID_PAGE_SHOWLIST:
    case ID_PAGE_MODIFYNICK:
    case ID_PAGE_MODIFYPORTRAIT:
        return TRUE;
    default:
        return FALSE;
    }
}
} // namespace

CDlgWebSongBrowser* CDlgMain::OpenWebBrowserWindow(BOOL bottomAd, int width, int height)
{
    CDlgWebSongBrowser* window = new CDlgWebSongBrowser(bottomAd, FALSE, NULL);
    if (width > 0)
        window->SetWindowSize(width, height);
    if (!window->Create(IDD_WEB_SONG_BROWSER, CWnd::GetDesktopWindow()))
    {
        delete window;
        return NULL;
    }
    return window;
}

BOOL CDlgMain::RunPageCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (HIWORD(wParam) != 0 || !IsPageCommandId(id))
        return FALSE;
    std::unique_ptr<wchar_t[]> owned(reinterpret_cast<wchar_t*>(lParam));
    CString argument = owned ? owned.get() : L"";
    BOOL hasArgument = owned != nullptr;
    owned.reset();

    switch (id)
    {
    case ID_PAGE_SENDFRIEND:
        PushBuddyRecommendation(argument);
        return TRUE;
    case ID_PAGE_ADDFRIEND:
        if (hasArgument)
            AddBuddyByAddress(argument);
        else
            RunAddFriend();
        return TRUE;
    case ID_PAGE_CLOSE:
        // "0/" the own library, "1/" the shown owner's.
        if (argument.Left(1) == L"0")
            m_strShownOwner = m_strUserEmail;
        ShowBrowserPane(FALSE);
        ReopenShownLibrary(FALSE);
        return TRUE;
    case ID_PAGE_YAOQING:
        if (CDlgWebSongBrowser* window = OpenWebBrowserWindow(FALSE, 450, 280))
            window->SendMessage(WM_BROWSER_EVENT, BROWSER_EVENT_OPEN_SITE, 3);
        return TRUE;
    case ID_PAGE_VOLUNTEER:
        if (CDlgWebSongBrowser* window = OpenWebBrowserWindow(FALSE, 400, 290))
            window->SendMessage(WM_BROWSER_EVENT, BROWSER_EVENT_OPEN_SITE, 4);
        return TRUE;
    case ID_PAGE_PLAYRADIO:
        PlayRadio(argument);
        return TRUE;
    case ID_PAGE_OPENWINDOW:
    case ID_PAGE_OPENWINDOW_AD:
        if (!argument.IsEmpty())
            if (CDlgWebSongBrowser* window = OpenWebBrowserWindow(id == ID_PAGE_OPENWINDOW_AD))
                window->Navigate(argument, CDlgWebSongBrowser::NAVIGATE_FRESH);
        return TRUE;
    case ID_PAGE_OPENQ:
    {
        CString text = argument;
        text.Replace(L"%20", L" ");
        if (CDlgWebSongBrowser* window = OpenWebBrowserWindow(FALSE))
            window->Navigate(COutsideSites::MusicSearchUrl(text), CDlgWebSongBrowser::NAVIGATE_FRESH);
        return TRUE;
    }
    case ID_PAGE_ADDUID:
        AddBuddyByUserId(argument);
        return TRUE;
    case ID_PAGE_GOTOPAGE:
    case ID_PAGE_GOTO:
    {
        int row = LeftBar().FindItem(argument);
        if (row >= 0)
            LeftBar().SetCurSel(row);
        if (id == ID_PAGE_GOTO && row >= 0)
        {
            m_strShownOwner = argument;
            ShowUserPage(argument);
        }
        return TRUE;
    }
    case ID_PAGE_DOWNLOAD:
        if (hasArgument)
            OnPageDownload(argument);
        return TRUE;
    case ID_PAGE_ADDSONG:
        // As the add-songs menu: a chosen folder's songs, then the own
        // library again.
        if (AutoLoadSongs() == 1)
            LoadMyLibrary(TRUE);
        return TRUE;
    case ID_PAGE_COMPANYFINISHED:
        SetOwnProfileFlag(8);
        return TRUE;
    case ID_PAGE_JOINFINISHED:
        SetOwnProfileFlag(16);
        return TRUE;
    case ID_PAGE_COMPANYPLAYPLS:
        if (hasArgument)
            PlayRadioStream(argument);
        return TRUE;
    case ID_PAGE_SHOWLIST:
        if (!argument.IsEmpty())
            ShowLibraryOf(argument);
        return TRUE;
    case ID_PAGE_LOOKOVER:
        if (!argument.IsEmpty())
            RequestBuddyCard(argument);
        return TRUE;
    case ID_PAGE_MODIFYNICK:
        OpenSettings(CDlgConfig::PAGE_PRIVATE); // ignored while one runs
        return TRUE;
    case ID_PAGE_MODIFYPORTRAIT:
        OpenAvatarChooser();
        return TRUE;
    case ID_SONG_UPLOAD:
        RequestSongUpload();
        return TRUE;
    default:
        break;
    }
    // Commands of other parts of the window: their ON_COMMAND handlers read
    // the argument here while they run.
    m_strPageArgument = argument;
    m_bPageArgument = hasArgument;
    CSkinResizableDialog::WindowProc(WM_COMMAND, wParam, 0);
    m_strPageArgument.Empty();
    m_bPageArgument = FALSE;
    return TRUE;
}

// --- Downloads of pages ---

INT_PTR (*CDlgMain::s_runDownloadChoice)(CDlgWebSongDownloadPre& dialog) = [](CDlgWebSongDownloadPre& dialog) {
    return dialog.DoModal();
};

void CDlgMain::OnPageDownload(const CString& argument)
{
    // The page gives only the song's address: its name is taken from it and
    // cleaned as every name that comes from the web.
    CString url = argument;
    url.Trim();
    // Only web addresses: a page may not have local files or other schemes
    // copied into the download folder.
    CString scheme = url.Left(8);
    scheme.MakeLower();
    if (scheme.Left(7) != L"http://" && scheme != L"https://")
        return;
    StartWebDownload(url, CWebSongBrowserCtrl::MediaLinkFileName(url, CString()), CString());
}

void CDlgMain::StartWebDownload(const CString& url, const CString& fileName, const CString& coverUrl)
{
    if (url.IsEmpty())
        return;
    CDlgWebSongDownloadPre choice(url, fileName, this);
    if (s_runDownloadChoice(choice) != IDOK)
        return;
    BOOL first = CDlgSongDownload::GetOpen() == NULL;
    CDlgSongDownload* window = CDlgSongDownload::Open();
    if (!window)
        return;
    if (first)
    {
        // A new window sits 80 pixels in from the desktop's lower right corner.
        CRect desktop, rect;
        CWnd::GetDesktopWindow()->GetWindowRect(&desktop);
        window->GetWindowRect(&rect);
        window->SetWindowPos(NULL, desktop.right - 80 - rect.Width(), desktop.bottom - 80 - rect.Height(), 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    window->AddDownload(url, fileName, choice.GetFolder(), choice.GetSongListName(), coverUrl);
    window->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(window->GetSafeHwnd());
}

void CDlgMain::ConnectTransferWindows()
{
    // Each hook reaches the main window of the moment: none is left
    // pointing at a window that has gone.
    CDlgWebSongBrowser::s_startDownload = [](CDlgWebSongBrowser*, const CString& url, const CString& fileName,
                                             const CString& coverUrl) {
        if (CDlgMain* main = Instance())
            if (main->GetSafeHwnd())
                main->StartWebDownload(url, fileName, coverUrl);
    };
    CListCtrlDownload::s_onSongAdded = [](const CString& listName) {
        if (CDlgMain* main = Instance())
            if (main->GetSafeHwnd())
                main->OnDownloadedSongAdded(listName);
    };
    auto ownLibrary = []() -> CSongLibrary* {
        CDlgMain* main = Instance();
        return main && main->GetSafeHwnd() && main->IsShowingOwnLibrary() ? &main->m_shownLibrary : NULL;
    };
    CDlgWebSongDownloadPre::s_mainLibrary = ownLibrary;
    auto addRow = [](const CString& name) {
        if (CDlgMain* main = Instance())
            if (main->GetSafeHwnd())
                main->AddOwnListRow(name);
    };
    CDlgWebSongDownloadPre::s_onListCreated = addRow;
    CDlgCollectSong::s_onListCreated = addRow;
}

void CDlgMain::OnDownloadedSongAdded(const CString& listName)
{
    CClientApp* app = GetClientApp();
    if (!IsShowingOwnLibrary() || !app)
    {
        // The file alone changed: the own row counts one song more.
        if (CFriendItem* own = LeftBar().GetItem(0))
        {
            ++own->totalSongs;
            LeftBar().RedrawItem(0);
        }
        return;
    }
    // The download list wrote the song into the library file; the shown
    // library takes it from there.
    CSongLibrary library;
    if (FAILED(library.LoadFromFile(app->GetMyPlaylistPath())))
        return;
    m_shownLibrary = library;
    UpdateSongListCounts();
    if (m_strShownListName == listName || (listName.IsEmpty() && m_listSongLists.FindList(m_strShownListName) == 0))
        ShowSongList(m_listSongLists.FindList(m_strShownListName), TRUE, FALSE);
    m_listSongLists.Invalidate(FALSE);
}

void CDlgMain::AddOwnListRow(const CString& name)
{
    if (!IsShowingOwnLibrary() || !m_listSongLists.GetSafeHwnd() || m_listSongLists.FindList(name) >= 0)
        return;
    CPlaylist playlist;
    if (FAILED(m_shownLibrary.GetPlaylistByName(name, playlist)))
    {
        // A dialog that saved the library file itself: the shown library
        // learns the list from the file.
        CClientApp* app = GetClientApp();
        CSongLibrary library;
        if (!app || FAILED(library.LoadFromFile(app->GetMyPlaylistPath())) ||
            FAILED(library.GetPlaylistByName(name, playlist)))
            return;
        m_shownLibrary = library;
    }
    CDListItem* row = new CDListItem;
    row->name = name;
    row->owner = m_strUserEmail;
    row->songCount = playlist.GetSongCount();
    row->listId = GetFreeSongListId();
    m_listSongLists.InsertRow(std::max(0, m_listSongLists.GetItemCount() - 1), row);
}

// --- Uploads ---

// --- Profile flags, web streams, the floating toolbar's play ---

void CDlgMain::SetOwnProfileFlag(int bit)
{
    if (!g_pAppSetting)
        return;
    g_pAppSetting->wPrivacy = static_cast<WORD>(g_pAppSetting->wPrivacy | bit);
    CString flags;
    flags.Format(L"%d", static_cast<int>(g_pAppSetting->wPrivacy));
    PushMyProfile(flags);
}

void CDlgMain::SelectSingleSong(int row)
{
    for (int i = m_listSongs.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = m_listSongs.GetNextItem(i, LVNI_SELECTED))
        m_listSongs.SetItemState(i, 0, LVIS_SELECTED);
    PlaySongAt(row);
}
