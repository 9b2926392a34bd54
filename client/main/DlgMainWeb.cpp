// The page commands of the main window: those of its embedded browser
// ("yeb360://" + word), those the web song browser windows pass on, and the
// advertisement links' "openwindow" commands. Each carries a heap copy of its
// argument (or null), which is freed here once the command has run.
#include "DlgMain.h"

#include "DlgMessage.h"
#include "DlgWebSongBrowser.h"
#include "LanguageTable.h"
#include "OutsideSites.h"
#include "resource.h"

#include <memory>

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
        {
            AddBuddyByAddress(argument);
            return TRUE;
        }
        break; // the add-buddy dialog's own command
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
