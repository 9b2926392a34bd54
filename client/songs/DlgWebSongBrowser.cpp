#include "DlgWebSongBrowser.h"

#include "Base64Codec.h"
#include "ClientApp.h"
#include "DlgMain.h"
#include "HttpFetcher.h"
#include "LanguageTable.h"
#include "MainWindowLink.h"
#include "OutsideSites.h"
#include "PopupRegistry.h"
#include "ServiceAddresses.h"
#include "SongLibrary.h"
#include "StripButton.h"
#include "AdvertisementList.h"
#include "Xml.h"
#include "resource.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

BEGIN_MESSAGE_MAP(CDlgWebSongBrowser, CSkinDialog)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_SYSCOMMAND()
    ON_WM_GETMINMAXINFO()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_BROWSER_EVENT, &CDlgWebSongBrowser::OnBrowserEvent)
    ON_MESSAGE(WM_BROWSER_ADS_LOADED, &CDlgWebSongBrowser::OnAdsLoaded)
    ON_MESSAGE(WM_BROWSER_COMMAND_STATE, &CDlgWebSongBrowser::OnCommandState)
END_MESSAGE_MAP()

namespace
{
const COLORREF kMask = RGB(255, 0, 255);
const int kEdge = 2;    // pixels of an edge that resize
const int kCorner = 10; // pixels of a corner that resize both ways
const int kToolbarHeight = 35;
const int kBottomAdHeight = 98;
const wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded";

HWND DefaultMainWindow()
{
    CDlgMain* main = CDlgMain::Instance();
    return main ? main->GetSafeHwnd() : NULL;
}

// Without the download dialogs of their own the page's song goes to the main
// window's download command, which owns the argument it is given.
void DefaultStartDownload(CDlgWebSongBrowser*, const CString& url, const CString&, const CString&)
{
    HWND main = CDlgWebSongBrowser::s_mainWindow();
    if (!main || url.IsEmpty())
        return;
    wchar_t* argument = new wchar_t[url.GetLength() + 1];
    wcscpy(argument, url);
    if (!::PostMessageW(main, WM_COMMAND, ID_PAGE_DOWNLOAD, reinterpret_cast<LPARAM>(argument)))
        delete[] argument;
}

void DefaultPushPage(CDlgWebSongBrowser*, const CString&)
{
}

CString OwnEmail()
{
    CString email;
    if (CClientApp* app = GetClientApp())
        app->GetUserEmail(email);
    return email;
}
} // namespace

HWND (*CDlgWebSongBrowser::s_mainWindow)() = DefaultMainWindow;
void (*CDlgWebSongBrowser::s_startDownload)(CDlgWebSongBrowser*, const CString&, const CString&,
                                            const CString&) = DefaultStartDownload;
void (*CDlgWebSongBrowser::s_pushPage)(CDlgWebSongBrowser*, const CString&) = DefaultPushPage;

CDlgWebSongBrowser::CDlgWebSongBrowser(BOOL showBottomAd, BOOL showToolbar, CWnd* parent)
    : CSkinDialog(IDD_WEB_SONG_BROWSER, parent), m_browser(TRUE), m_bottomBrowser(FALSE),
      m_bShowBottomAd(showBottomAd), m_bShowToolbar(showToolbar), m_bFixedSize(FALSE), m_requestedSize(400, 350),
      m_bMaximised(FALSE), m_hAdLoader(NULL)
{
    m_hIcon = ::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_APP));
    CPopupRegistry::GetInstance()->Add(this);
}

CDlgWebSongBrowser::~CDlgWebSongBrowser()
{
    if (m_hAdLoader)
        ::CloseHandle(m_hAdLoader);
}

void CDlgWebSongBrowser::PostNcDestroy()
{
    // Still registered when the window went some other way.
    CPopupRegistry::GetInstance()->Remove(this);
    delete this;
}

void CDlgWebSongBrowser::Close()
{
    CPopupRegistry::GetInstance()->Remove(this);
}

void CDlgWebSongBrowser::SetWindowSize(int width, int height)
{
    m_requestedSize = CSize(width, height);
    m_bFixedSize = TRUE;
}

void CDlgWebSongBrowser::Navigate(LPCTSTR url, DWORD flags, LPCTSTR targetFrame, LPCTSTR headers,
                                  const void* postData, DWORD postLength)
{
    m_browser.SafeNavigate(url, flags, targetFrame, headers, postData, postLength);
}

int CDlgWebSongBrowser::CaptionHeight()
{
    return m_topLeft.height;
}

int CDlgWebSongBrowser::LeftFrameWidth()
{
    return m_left.width;
}

int CDlgWebSongBrowser::BottomFrameHeight()
{
    return m_bottom.height;
}

void CDlgWebSongBrowser::SetUpButton(CImageButton& button, UINT id, UINT bitmap, LPCWSTR tip)
{
    if (!button.SubclassDlgItem(id, this))
        return;
    ShowAsStripButton(button, bitmap);
    m_tooltip.AddTool(&button, Lang(tip));
}

BOOL CDlgWebSongBrowser::OnInitDialog()
{
    SetTopLeftBitmap(IDB_FRAME_TOP_LEFT);
    SetTopBitmap(IDB_FRAME_TOP);
    SetTopRightBitmap(IDB_FRAME_TOP_RIGHT);
    SetLeftBitmap(IDB_FRAME_SIDE);
    SetRightBitmap(IDB_FRAME_SIDE);
    SetBottomLeftBitmap(IDB_BROWSER_BOTTOM_LEFT);
    SetBottomBitmap(IDB_BROWSER_BOTTOM);
    SetBottomRightBitmap(IDB_BROWSER_BOTTOM_RIGHT);
    SetTopBandBitmap(IDB_BROWSER_BAND);
    m_bTopBand = TRUE;
    m_bkColour = RGB(255, 255, 255);
    CSkinDialog::OnInitDialog();
    HICON small = static_cast<HICON>(
        ::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_APP_SMALL), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    if (small)
        SetIcon(small, FALSE);
    GetWindowText(m_strCaption);
    SetWindowPos(NULL, 0, 0, 789, 543, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE))
    {
        ::DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
        ::DeleteMenu(system, SC_MAXIMIZE, MF_BYCOMMAND);
    }

    SetUpButton(m_btnClose, IDC_BROWSER_CLOSE, IDB_BTN_CLOSE, L"CONST_MAIN_BTN_CLOSE");
    SetUpButton(m_btnMinimise, IDC_BROWSER_MINIMISE, IDB_BTN_MINIMISE, L"CONST_MAIN_BTN_MIN");
    SetUpButton(m_btnMaximise, IDC_BROWSER_MAXIMISE, IDB_BTN_BROWSER_MAXIMISE, L"CONST_MAIN_BTN_MAX");
    SetUpButton(m_btnBack, IDC_BROWSER_BACK, IDB_BTN_BROWSER_BACK, L"STR_MAIN_IE_PREV_TOOLTIP");
    SetUpButton(m_btnForward, IDC_BROWSER_FORWARD, IDB_BTN_BROWSER_FORWARD, L"STR_MAIN_IE_NEXT_TOOLTIP");
    SetUpButton(m_btnPush, IDC_BROWSER_PUSH, IDB_BTN_BROWSER_PUSH, L"INFO_MAIN_DGL_WEBBROWSER_PUSH_BTN_TIP");

    m_browser.CreateFromStatic(IDC_BROWSER_PAGE, this);
    if (m_bShowBottomAd)
    {
        m_bottomBrowser.CreateFromStatic(IDC_BROWSER_BOTTOM_PAGE, this);
        m_bottomBrowser.ShowWindow(SW_SHOW);
    }
    else if (CWnd* placeholder = GetDlgItem(IDC_BROWSER_BOTTOM_PAGE))
        placeholder->ShowWindow(SW_HIDE);
    if (m_bShowToolbar && m_toolbar.Create(IDD_BROWSER_TOOLBAR, this))
    {
        // The page buttons over it stay visible when it repaints.
        m_toolbar.ModifyStyle(0, WS_CLIPSIBLINGS);
        m_toolbar.ShowWindow(SW_SHOW);
    }
    if (m_adLink.SubclassDlgItem(IDC_BROWSER_AD_LINK, this))
    {
        m_adLink.m_colour = m_adLink.m_normalColour = 0xC74E18;
        m_adLink.SetBkColor(0xE8E8E8);
    }

    if (m_bShowBottomAd)
        m_bottomBrowser.SafeNavigate(CServiceAddresses::Get().WebUrl(L"/inset/ad_browser_bottom.html"));

    m_browser.SetCommandPrefix(L"yeb360://");
    m_browser.AddPageCommand(L"closebrowser/", ID_PAGE_CLOSE);
    m_browser.AddPageCommand(L"playradio/", ID_PAGE_PLAYRADIO);
    m_browser.AddPageCommand(L"closeandstartup/", ID_PAGE_CLOSEANDSTARTUP);
    m_browser.AddPageCommand(L"addfriend/", ID_PAGE_ADDFRIEND);
    m_browser.AddPageCommand(L"lookover/", ID_PAGE_LOOKOVER);

    LayoutControls();
    StartAdLoader();
    return TRUE;
}

void CDlgWebSongBrowser::LayoutControls()
{
    if (!m_btnClose.GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    int width = client.Width(), height = client.Height();
    int C = CaptionHeight(), L = LeftFrameWidth(), F = BottomFrameHeight();
    auto place = [](CWnd& wnd, int x, int y, int cx, int cy) {
        if (!wnd.GetSafeHwnd())
            return;
        if (cx < 0 || cy < 0)
        {
            CRect r;
            wnd.GetWindowRect(&r);
            cx = r.Width();
            cy = r.Height();
        }
        wnd.SetWindowPos(NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(m_btnClose, width - 34, 0, -1, -1);
    place(m_btnMaximise, width - 58, 0, -1, -1);
    place(m_btnMinimise, width - 84, 0, -1, -1);
    place(m_btnBack, L + 5, C + 3, 22, 22);
    place(m_btnForward, L + 29, C + 3, 22, 22);
    place(m_btnPush, width - L - 31, C + 3, 26, 22);
    int pageTop = C + m_band.height;
    if (m_toolbar.GetSafeHwnd())
    {
        place(m_toolbar, 2, C, width - 4, kToolbarHeight);
        pageTop = C + kToolbarHeight;
    }
    int pageBottom = height - F;
    if (m_bShowBottomAd)
        pageBottom -= 100;
    place(m_browser, 2, pageTop, width - 4, pageBottom - pageTop);
    if (m_bShowBottomAd)
        place(m_bottomBrowser, 2, pageBottom + 2, width - 4, kBottomAdHeight);
    place(m_adLink, 10, height - 18, 300, F - 6);
    // The page buttons lie over the toolbar's strip.
    for (CWnd* button : {(CWnd*)&m_btnBack, (CWnd*)&m_btnForward, (CWnd*)&m_btnPush})
        if (button->GetSafeHwnd())
            ::SetWindowPos(button->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CDlgWebSongBrowser::OnSize(UINT, int, int)
{
    LayoutControls();
    Invalidate(FALSE);
}

UINT CDlgWebSongBrowser::EdgeHitTest(CPoint p, CSize size)
{
    if (p.x < kEdge)
        return HTLEFT;
    if (p.x >= size.cx - kEdge)
        return HTRIGHT;
    if (p.y < kEdge)
        return HTTOP;
    if (p.y >= size.cy - kEdge)
        return HTBOTTOM;
    BOOL left = p.x < kCorner, right = p.x >= size.cx - kCorner;
    BOOL top = p.y < kCorner, bottom = p.y >= size.cy - kCorner;
    if (top && left)
        return HTTOPLEFT;
    if (top && right)
        return HTTOPRIGHT;
    if (bottom && left)
        return HTBOTTOMLEFT;
    if (bottom && right)
        return HTBOTTOMRIGHT;
    return 0;
}

LRESULT CDlgWebSongBrowser::OnNcHitTest(CPoint point)
{
    CRect window;
    GetWindowRect(&window);
    UINT hit = EdgeHitTest(CPoint(point.x - window.left, point.y - window.top), window.Size());
    return hit ? hit : Default();
}

void CDlgWebSongBrowser::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    // The size loop's direction codes follow the hit codes' order of the
    // window manager: left 1, right 2, top 3, top-left 4, top-right 5,
    // bottom 6, bottom-left 7, bottom-right 8.
    if (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT)
    {
        SendMessage(WM_SYSCOMMAND, SC_SIZE + (nHitTest - HTLEFT + 1), MAKELPARAM(point.x, point.y));
        return;
    }
    Default();
}

void CDlgWebSongBrowser::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bMaximised)
        return; // a maximised window stays where it is
    CSkinDialog::OnLButtonDown(nFlags, point);
}

void CDlgWebSongBrowser::OnLButtonDblClk(UINT, CPoint point)
{
    if (point.y < CaptionHeight() + m_band.height)
        ToggleMaximise();
}

void CDlgWebSongBrowser::ToggleMaximise()
{
    if (m_bMaximised)
    {
        m_bMaximised = FALSE;
        MoveWindow(&m_normalRect, TRUE);
        m_btnMaximise.SetBitmapStrip(IDB_BTN_BROWSER_MAXIMISE, kMask);
        m_tooltip.RemoveTool(&m_btnMaximise);
        m_tooltip.AddTool(&m_btnMaximise, Lang(L"CONST_MAIN_BTN_MAX"));
    }
    else
    {
        GetWindowRect(&m_normalRect);
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        m_bMaximised = TRUE;
        MoveWindow(&work, TRUE);
        m_btnMaximise.SetBitmapStrip(IDB_BTN_BROWSER_RESTORE, kMask);
        m_tooltip.RemoveTool(&m_btnMaximise);
        m_tooltip.AddTool(&m_btnMaximise, Lang(L"CONST_MAIN_BTN_RESTORE"));
    }
    m_btnMaximise.Invalidate();
}

void CDlgWebSongBrowser::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize.x = m_requestedSize.cx;
    info->ptMinTrackSize.y = m_requestedSize.cy;
}

void CDlgWebSongBrowser::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) == SC_CLOSE)
    {
        Close();
        return;
    }
    Default();
}

void CDlgWebSongBrowser::ForwardToMain(UINT id, LPARAM argument)
{
    // The argument (a heap copy or null) becomes the main window's to free.
    HWND main = s_mainWindow();
    if (!main || !::PostMessageW(main, WM_COMMAND, id, argument))
        delete[] reinterpret_cast<wchar_t*>(argument);
}

BOOL CDlgWebSongBrowser::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDC_BROWSER_CLOSE:
        Close();
        return TRUE;
    case IDC_BROWSER_MINIMISE:
        ShowWindow(SW_MINIMIZE);
        return TRUE;
    case IDC_BROWSER_MAXIMISE:
        ToggleMaximise();
        return TRUE;
    case IDC_BROWSER_BACK:
        m_browser.GoBack();
        return TRUE;
    case IDC_BROWSER_FORWARD:
        m_browser.GoForward();
        return TRUE;
    case IDC_BROWSER_PUSH:
        PushShownPage();
        return TRUE;
    default:
        break;
    }
    // Page commands: the argument is a heap copy (or null) this window owns.
    if (HIWORD(wParam) == 0)
    {
        switch (LOWORD(wParam))
        {
        case ID_PAGE_CLOSE:
            delete[] reinterpret_cast<wchar_t*>(lParam);
            Close();
            return TRUE;
        case ID_PAGE_CLOSEANDSTARTUP:
        {
            HWND main = s_mainWindow();
            Close(); // this object is gone from here on
            if (!main || !::PostMessageW(main, WM_COMMAND, ID_SONG_UPLOAD, lParam))
                delete[] reinterpret_cast<wchar_t*>(lParam);
            return TRUE;
        }
        case ID_PAGE_ADDFRIEND:
        case ID_PAGE_PLAYRADIO:
        case ID_PAGE_LOOKOVER:
            ForwardToMain(LOWORD(wParam), lParam);
            return TRUE;
        default:
            break;
        }
    }
    return CSkinDialog::OnCommand(wParam, lParam);
}

LRESULT CDlgWebSongBrowser::OnBrowserEvent(WPARAM wParam, LPARAM lParam)
{
    switch (wParam)
    {
    case BROWSER_EVENT_DOWNLOAD:
        DownloadStoredLink();
        break;
    case BROWSER_EVENT_TITLE:
        m_strCaption = m_browser.m_strTitle;
        SetWindowText(m_strCaption);
        Invalidate(FALSE);
        break;
    case BROWSER_EVENT_FIRST_SIZE:
        SizeToFirstPage(LOWORD(lParam), HIWORD(lParam));
        break;
    case BROWSER_EVENT_OPEN_SITE:
        OpenSite(static_cast<int>(lParam));
        break;
    default:
        break;
    }
    return 0;
}

void CDlgWebSongBrowser::SizeToFirstPage(int width, int height)
{
    CRect window;
    GetWindowRect(&window);
    if (m_bFixedSize)
        MoveWindow(window.left, window.top, m_requestedSize.cx, m_requestedSize.cy, TRUE);
    else
    {
        CRect client;
        GetClientRect(&client);
        int cx = window.Width() - client.Width() + std::max<int>(m_requestedSize.cx, width);
        int cy = window.Height() - client.Height() + std::max<int>(m_requestedSize.cy, height);
        MoveWindow(window.left, window.top, cx, cy, TRUE);
    }
    ShowWindow(SW_SHOW);
}

void CDlgWebSongBrowser::OpenSite(int kind)
{
    switch (kind)
    {
    case 1:
        m_browser.SafeNavigate(COutsideSites::SearchSite1Home, NAVIGATE_FRESH);
        break;
    case 2:
        m_browser.SafeNavigate(COutsideSites::SearchSite2Home, NAVIGATE_FRESH);
        break;
    case 3:
    {
        CString path;
        path.Format(L"/cgi-bin/invite?email=%s", (LPCWSTR)OwnEmail());
        m_browser.SafeNavigate(CServiceAddresses::Get().WebUrl(path), NAVIGATE_FRESH);
        break;
    }
    case 4:
        PostOwnSongLists();
        break;
    default:
        break;
    }
}

CStringA CDlgWebSongBrowser::SongListPostBody(LPCWSTR email, LPCWSTR nick, const std::vector<CString>& ownLists)
{
    CString lists;
    for (size_t i = 0; i < ownLists.size() && i < 3; ++i)
    {
        CString part;
        part.Format(L"&list%d=%s", static_cast<int>(i + 1), (LPCWSTR)ownLists[i]);
        lists += part;
    }
    CString form;
    if (lists.IsEmpty())
        form.Format(L"email=%s&nick=%s", email ? email : L"", nick ? nick : L"");
    else
        form.Format(L"email=%s&nick=%s%s", email ? email : L"", nick ? nick : L"", (LPCWSTR)lists);
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, form, form.GetLength(), NULL, 0, NULL, NULL);
    // The service reads the text up to its two terminating zero bytes.
    std::vector<BYTE> utf8(bytes + 2, 0);
    if (bytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, form, form.GetLength(), reinterpret_cast<char*>(utf8.data()), bytes, NULL,
                              NULL);
    int length = static_cast<int>(utf8.size());
    std::vector<char> base64(4 * ((length + 2) / 3) + 1, 0);
    Base64Codec().Encode(utf8.data(), base64.data(), length);
    CStringA body = "a=";
    for (const char* p = base64.data(); *p; ++p)
    {
        if (*p == '+')
            body += "%2B";
        else
            body += *p;
    }
    return body;
}

void CDlgWebSongBrowser::PostOwnSongLists()
{
    CString email = OwnEmail();
    CString nick;
    if (IMainWindowLink* link = GetMainWindowLink())
        nick = link->GetMyProfile().nick;
    std::vector<CString> lists;
    if (CClientApp* app = GetClientApp())
    {
        CSongLibrary library;
        if (SUCCEEDED(library.LoadFromFile(app->GetMyPlaylistPath())))
        {
            for (int i = 0; i < library.GetPlaylistCount() && lists.size() < 3; ++i)
            {
                CPlaylist list;
                if (SUCCEEDED(library.GetPlaylistAt(i, list)) && list.GetKind() == 0)
                    lists.push_back(list.GetName());
            }
        }
    }
    CStringA body = SongListPostBody(email, nick, lists);
    m_browser.SafeNavigate(CServiceAddresses::Get().WebUrl(L"/inset/ms1.php"), 0, NULL, kFormHeader,
                           static_cast<LPCSTR>(body), body.GetLength());
}

void CDlgWebSongBrowser::DownloadStoredLink()
{
    StoredDownload download;
    if (m_browser.TakeDownload(download) && !download.url.IsEmpty())
        s_startDownload(this, download.url, download.fileName, download.coverUrl);
}

void CDlgWebSongBrowser::PushShownPage()
{
    s_pushPage(this, m_browser.GetLocationURL());
}

LRESULT CDlgWebSongBrowser::OnCommandState(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 1 && m_btnForward.GetSafeHwnd())
        m_btnForward.EnableWindow(lParam != 0);
    else if (wParam == 2 && m_btnBack.GetSafeHwnd())
        m_btnBack.EnableWindow(lParam != 0);
    return 0;
}

BOOL CDlgWebSongBrowser::ParseAdList(LPCWSTR text, BrowserAdList& out)

{
    return out.Parse(text);
}

void CDlgWebSongBrowser::StartAdLoader()
{
    HWND* target = new HWND(m_hWnd);
    m_hAdLoader = ::CreateThread(NULL, 0, AdLoaderProc, target, 0, NULL);
    if (!m_hAdLoader)
        delete target;
}

DWORD WINAPI CDlgWebSongBrowser::AdLoaderProc(LPVOID param)
{
    HWND window = *static_cast<HWND*>(param);
    delete static_cast<HWND*>(param);
    // The list travels to the window in the message; a window that has gone
    // meanwhile leaves it to this thread to free.
    BrowserAdList* list = new BrowserAdList;
    CHttpFetcher fetcher;
    if (fetcher.SetUrl(CServiceAddresses::Get().WebUrl(L"/inset/ad_browser.xml")) && fetcher.Start(FALSE))
        ParseAdList(fetcher.GetResponseText(CP_UTF8), *list);
    if (!::IsWindow(window) || !::PostMessageW(window, WM_BROWSER_ADS_LOADED, 0, reinterpret_cast<LPARAM>(list)))
        delete list;
    return 0;
}

LRESULT CDlgWebSongBrowser::OnAdsLoaded(WPARAM, LPARAM lParam)
{
    std::unique_ptr<BrowserAdList> list(reinterpret_cast<BrowserAdList*>(lParam));
    if (list)
    {
        m_adNames = list->names;
        m_adLinks = list->links;
    }
    if (m_adNames.empty() || !m_adLink.GetSafeHwnd())
        return 0;
    const CString& name = m_adNames[static_cast<size_t>(std::rand()) % m_adNames.size()];
    CString link = m_adLinks[name];
    if (name.IsEmpty() || link.IsEmpty())
    {
        m_adLink.ShowWindow(SW_HIDE);
        return 0;
    }
    m_adLink.SetWindowText(name);
    m_adLink.m_link.m_strTarget = link;
    m_adLink.ShowWindow(SW_SHOW);
    return 0;
}

void CDlgWebSongBrowser::OnDestroy()
{
    // The loader is never cut off: it finds the window gone and frees its
    // list itself.
    if (m_hAdLoader)
    {
        ::CloseHandle(m_hAdLoader);
        m_hAdLoader = NULL;
    }
    m_adNames.clear();
    m_adLinks.clear();
    Default();
}
