// The web song browser: the page commands of its window, the interception of
// media links and redirects, the file names of downloads, the window's size
// on the first page, its edges, the own song-list post and the advertisement
// list.
#include <gtest/gtest.h>

#include "Base64Codec.h"
#include "DlgWebSongBrowser.h"
#include "PopupRegistry.h"
#include "WebTestSupport.h"
#include "WindowPicture.h"
#include "WindowPixels.h"
#include "resource.h"

#include <exdispid.h>

namespace
{
HWND g_main = NULL;
HWND TestMainWindow()
{
    return g_main;
}

struct StartedDownload
{
    CString url, name, cover;
};
std::vector<StartedDownload> g_downloads;
void RecordDownload(CDlgWebSongBrowser*, const CString& url, const CString& name, const CString& cover)
{
    g_downloads.push_back({url, name, cover});
}

// A browser whose page's active element carries a "filename" attribute.
class NamedElementBrowser : public CWebSongBrowserCtrl
{
  public:
    CString m_attribute;

  protected:
    CString GetActiveFileNameAttribute() override { return m_attribute; }
};

class WebSongBrowserTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        LoadLanguageFile();
        g_main = m_recorder.Handle();
        g_downloads.clear();
        CDlgWebSongBrowser::s_mainWindow = TestMainWindow;
        CDlgWebSongBrowser::s_startDownload = RecordDownload;
    }
    void TearDown() override
    {
        CPopupRegistry::CloseAll();
        PumpMessages();
        g_main = NULL;
    }
    // A new window as its creators make it: on the desktop, shown later.
    CDlgWebSongBrowser* Open(BOOL bottomAd = FALSE, BOOL toolbar = FALSE)
    {
        CDlgWebSongBrowser* window = new CDlgWebSongBrowser(bottomAd, toolbar, NULL);
        EXPECT_TRUE(window->Create(IDD_WEB_SONG_BROWSER, CWnd::GetDesktopWindow()));
        return window;
    }

    RecordingWindow m_recorder;
};

struct PageCommandCase
{
    const wchar_t* link;
    UINT forwardedId; // 0: nothing reaches the main window
    const wchar_t* argument;
    bool hasArgument;
    bool closes;
};

const PageCommandCase kPageCommands[] = {
    {L"yeb360://addfriend/a@b.com&hello", ID_PAGE_ADDFRIEND, L"a@b.com&hello", true, false},
    {L"YEB360://PlayRadio/Radio%20One&http://radio/1", ID_PAGE_PLAYRADIO, L"Radio%20One&http://radio/1", true, false},
    {L"yeb360://lookover/", ID_PAGE_LOOKOVER, L"", false, false},
    {L"yeb360://close/0/", 0, L"", false, false}, // the main window's word, not this window's
    {L"yeb360://unknown/x", 0, L"", false, false},
    {L"yeb360://closebrowser/", 0, L"", false, true},
    {L"yeb360://closeandstartup/C:\\Music\\a.mp3", ID_SONG_UPLOAD, L"C:\\Music\\a.mp3", true, true},
};
} // namespace

TEST_F(WebSongBrowserTest, PageCommandsOfTheWindow)
{
    for (const PageCommandCase& c : kPageCommands)
    {
        CDlgWebSongBrowser* window = Open();
        HWND hwnd = window->GetSafeHwnd();
        int registered = CPopupRegistry::GetInstance()->GetCount();
        m_recorder.Take();
        // Every command link is kept from the page, known or not.
        EXPECT_TRUE(RaiseBeforeNavigate(window->m_browser, c.link)) << c.link;
        PumpMessages();
        std::vector<RecordedMessage> got = m_recorder.Take();
        if (c.forwardedId)
        {
            ASSERT_EQ(1u, got.size()) << c.link;
            EXPECT_EQ(WM_COMMAND, got[0].message);
            EXPECT_EQ(c.forwardedId, got[0].wParam) << c.link;
            EXPECT_EQ(c.hasArgument, got[0].lParam != 0) << c.link;
            EXPECT_EQ(std::wstring(c.argument), got[0].argument) << c.link;
        }
        else
            EXPECT_TRUE(got.empty()) << c.link;
        EXPECT_EQ(!c.closes, ::IsWindow(hwnd) != FALSE) << c.link;
        EXPECT_EQ(registered - (c.closes ? 1 : 0), CPopupRegistry::GetInstance()->GetCount()) << c.link;
        if (!c.closes)
            window->Close();
    }
}

TEST_F(WebSongBrowserTest, MediaLinksAndRedirectsBecomeDownloads)
{
    CDlgWebSongBrowser* window = Open();
    CWebSongBrowserCtrl& browser = window->m_browser;

    EXPECT_TRUE(RaiseBeforeNavigate(browser, L"http://songs.example/a/My%20Song.MP3?from=page"));
    PumpMessages();
    ASSERT_EQ(1u, g_downloads.size());
    EXPECT_EQ(L"http://songs.example/a/My%20Song.MP3?from=page", std::wstring(g_downloads[0].url));
    EXPECT_EQ(L"My Song.MP3", std::wstring(g_downloads[0].name));
    EXPECT_TRUE(g_downloads[0].cover.IsEmpty());

    // Two redirects in a row, each with its own cover.
    const wchar_t* redirects[] = {
        L"http://www.google.cn/music/top100/url?q=http%3A%2F%2Ffiles.example%2Falbum_77%2Fone.mp3&ct=x",
        L"http://WWW.GOOGLE.CN/music/top100/url?q=http%3A%2F%2Ffiles.example%2Fset_a_88%2Fa%253Fb.wma&ct=y"};
    for (const wchar_t* link : redirects)
        EXPECT_TRUE(RaiseBeforeNavigate(browser, link));
    PumpMessages();
    ASSERT_EQ(3u, g_downloads.size());
    EXPECT_EQ(L"http://files.example/album_77/one.mp3", std::wstring(g_downloads[1].url));
    EXPECT_EQ(L"one.mp3", std::wstring(g_downloads[1].name));
    EXPECT_EQ(L"http://lib.img.google.cn/SpecialImg/middle_special_77.jpg", std::wstring(g_downloads[1].cover));
    EXPECT_EQ(L"ravaroze.wma", std::wstring(g_downloads[2].name));
    EXPECT_EQ(L"http://lib.img.google.cn/SpecialImg/middle_special_88.jpg", std::wstring(g_downloads[2].cover));

    // A redirect to a page, a redirect without "&", and ordinary pages go on.
    EXPECT_FALSE(RaiseBeforeNavigate(browser, L"http://www.google.cn/music/top100/url?q=http%3A%2F%2Fx%2Fpage.html&a"));
    EXPECT_FALSE(RaiseBeforeNavigate(browser, L"http://www.google.cn/music/top100/url?q=http%3A%2F%2Fx%2Fy.mp3"));
    EXPECT_FALSE(RaiseBeforeNavigate(browser, L"http://songs.example/list.html"));
    EXPECT_FALSE(RaiseBeforeNavigate(browser, L"ftp://songs.example/a.mp3"));
    PumpMessages();
    EXPECT_EQ(3u, g_downloads.size());
}

TEST_F(WebSongBrowserTest, TheBottomAdvertisementLetsEveryLinkThrough)
{
    CDlgWebSongBrowser* window = Open(TRUE, FALSE);
    ASSERT_TRUE(window->m_bottomBrowser.GetSafeHwnd());
    m_recorder.Take();
    EXPECT_FALSE(RaiseBeforeNavigate(window->m_bottomBrowser, L"http://songs.example/a.mp3"));
    EXPECT_FALSE(RaiseBeforeNavigate(window->m_bottomBrowser, L"yeb360://closebrowser/"));
    PumpMessages();
    EXPECT_TRUE(g_downloads.empty());
    EXPECT_TRUE(::IsWindow(window->GetSafeHwnd()));
}

TEST(WebSongBrowserNames, FileNamesOfDownloads)
{
    struct Case
    {
        const wchar_t* url;
        const wchar_t* attribute;
        const wchar_t* name;
    } cases[] = {
        {L"http://h/x/Song%20A.mp3", L"", L"Song A.mp3"},
        {L"http://h/x/track.wma?x=1", L"Song", L"Song.wma"},
        {L"http://h/x/a%3Fb.mp3", L"", L"a%3Fb.mp3"},               // a "?" after decoding: kept as sent
        {L"http://h/x/..%5C..%5Cboot.mp3", L"", L"_.._boot.mp3"},  // no path out of the folder
        {L"http://h/x/a.mp3", L"..\\..\\evil", L"_.._evil.mp3"},
        {L"http://h/x/con%3Ai%2A.mp3", L"", L"con_i_.mp3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.name), std::wstring(CWebSongBrowserCtrl::MediaLinkFileName(c.url, c.attribute)))
            << c.url;
}

TEST_F(WebSongBrowserTest, TheActiveElementsFileNameNamesTheDownload)
{
    HWND host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, NULL, NULL, NULL, NULL);
    ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 100, 50, host, (HMENU)(INT_PTR)1182, NULL, NULL);
    NamedElementBrowser browser;
    ASSERT_TRUE(browser.CreateFromStatic(1182, CWnd::FromHandle(host)));
    browser.m_attribute = L"Song";
    EXPECT_TRUE(RaiseBeforeNavigate(browser, L"http://h/x/track.wma?x=1"));
    EXPECT_EQ(L"Song.wma", std::wstring(browser.m_strDownloadName));
    EXPECT_EQ(L"http://h/x/track.wma?x=1", std::wstring(browser.m_strDownloadUrl));
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, host, WM_USER + 48, WM_USER + 48, PM_REMOVE));
    EXPECT_EQ(1u, msg.wParam);
    browser.DestroyWindow();
    ::DestroyWindow(host);
}

TEST_F(WebSongBrowserTest, TheFirstPageSizesAndShowsTheWindow)
{
    // A fixed size is kept exactly.
    CDlgWebSongBrowser* fixed = Open();
    fixed->SetWindowSize(450, 280);
    fixed->MoveWindow(100, 120, 789, 543);
    EXPECT_FALSE(fixed->IsWindowVisible());
    RaiseUrlEvent(fixed->m_browser, DISPID_DOCUMENTCOMPLETE, L"about:blank"); // not a page yet
    PumpMessages();
    EXPECT_FALSE(fixed->IsWindowVisible());
    RaiseUrlEvent(fixed->m_browser, DISPID_DOCUMENTCOMPLETE, L"http://page.example/");
    PumpMessages();
    CRect r;
    fixed->GetWindowRect(&r);
    EXPECT_EQ(CRect(100, 120, 550, 400), r);
    EXPECT_TRUE(fixed->IsWindowVisible());

    // Otherwise the client takes the larger of the requested and the
    // reported sizes (no engine here: the page reports 0 x 0).
    CDlgWebSongBrowser* free = Open();
    free->SendMessage(WM_USER + 48, 7, MAKELPARAM(600, 100));
    CRect client;
    free->GetClientRect(&client);
    EXPECT_EQ(600, client.Width());
    EXPECT_EQ(350, client.Height());
    MINMAXINFO info{};
    free->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(400, info.ptMinTrackSize.x);
    EXPECT_EQ(350, info.ptMinTrackSize.y);
}

TEST_F(WebSongBrowserTest, TitleAndBackForwardFollowTheBrowser)
{
    CDlgWebSongBrowser* window = Open(TRUE, TRUE);
    RaiseTitleChange(window->m_browser, L"新歌 - Music");
    RaiseCommandStateChange(window->m_browser, 2, false);
    RaiseCommandStateChange(window->m_browser, 1, true);
    PumpMessages();
    CString caption;
    window->GetWindowText(caption);
    EXPECT_EQ(L"新歌 - Music", std::wstring(caption));
    EXPECT_FALSE(window->m_btnBack.IsWindowEnabled());
    EXPECT_TRUE(window->m_btnForward.IsWindowEnabled());

    window->SendMessage(WM_USER + 48, 7, MAKELPARAM(760, 500));
    PumpMessages();
    ::Sleep(200);
    PumpMessages();
    // Other tests' windows may cover it on the screen: the window's own pixels.
    WindowPixels pixels(window->GetSafeHwnd());
    EXPECT_TRUE(pixels.SavePng(WebPicturePath(L"web-song-browser.png")));
    // The page area is the browser's white, the band above it the skin's.
    EXPECT_EQ(RGB(255, 255, 255), pixels.At(380, 300));
}

TEST(WebSongBrowserEdges, HitCodesInTheirOrder)
{
    const CSize size(400, 300);
    struct Case
    {
        int x, y;
        UINT hit;
    } cases[] = {
        {0, 0, HTLEFT},        {1, 150, HTLEFT},       {399, 0, HTRIGHT},      {398, 150, HTRIGHT},
        {5, 1, HTTOP},         {200, 299, HTBOTTOM},   {5, 5, HTTOPLEFT},      {395, 9, HTTOPRIGHT},
        {9, 291, HTBOTTOMLEFT}, {391, 295, HTBOTTOMRIGHT}, {10, 150, 0},       {200, 10, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.hit, CDlgWebSongBrowser::EdgeHitTest(CPoint(c.x, c.y), size)) << c.x << "," << c.y;
}

TEST(WebSongBrowserPost, OwnSongListsAsBase64Form)
{
    struct Case
    {
        std::vector<CString> lists;
        const char* text;
    } cases[] = {
        {{}, "email=me@x.com&nick=我"},
        {{L"摇滚", L"b", L"c", L"fourth"}, "email=me@x.com&nick=我&list1=摇滚&list2=b&list3=c"},
    };
    for (const Case& c : cases)
    {
        CStringA body = CDlgWebSongBrowser::SongListPostBody(L"me@x.com", L"我", c.lists);
        ASSERT_EQ(0, body.Find("a="));
        EXPECT_LT(body.Find('+'), 0);
        CStringA base64 = body.Mid(2);
        base64.Replace("%2B", "+");
        std::vector<BYTE> bytes(base64.GetLength());
        int n = Base64Codec().Decode(base64, bytes.data());
        // The UTF-8 text and its two zero bytes.
        std::string want = c.text;
        ASSERT_EQ(static_cast<int>(want.size()) + 2, n);
        EXPECT_EQ(want, std::string(reinterpret_cast<char*>(bytes.data()), want.size()));
        EXPECT_EQ(0, bytes[n - 1]);
        EXPECT_EQ(0, bytes[n - 2]);
    }
}

TEST(WebSongBrowserAds, AdvertisementList)
{
    BrowserAdList list;
    EXPECT_TRUE(CDlgWebSongBrowser::ParseAdList(
        L"<RT><AD count=\"2\"><LI name=\"新歌\" link=\"yeb360://openwindow/http://a\"/>"
        L"<LI name=\"B\" link=\"http://b\"/></AD><AD count=\"1\"><LI name=\"C\" link=\"\"/></AD></RT>",
        list));
    ASSERT_EQ(3u, list.names.size());
    EXPECT_EQ(L"新歌", std::wstring(list.names[0]));
    EXPECT_EQ(L"yeb360://openwindow/http://a", std::wstring(list.links[L"新歌"]));
    EXPECT_EQ(L"", std::wstring(list.links[L"C"]));
    EXPECT_FALSE(CDlgWebSongBrowser::ParseAdList(L"<html>not found</html>", list));
    EXPECT_TRUE(list.names.empty());
}

TEST_F(WebSongBrowserTest, TheLoadedAdvertisementIsShownOrHidden)
{
    CDlgWebSongBrowser* window = Open();
    BrowserAdList* list = new BrowserAdList;
    list->names.push_back(L"Ad text");
    list->links[L"Ad text"] = L"http://ads.example/";
    window->SendMessage(WM_USER + 50, 0, reinterpret_cast<LPARAM>(list));
    CString text;
    window->m_adLink.GetWindowText(text);
    EXPECT_EQ(L"Ad text", std::wstring(text));
    EXPECT_EQ(L"http://ads.example/", std::wstring(window->m_adLink.m_link.m_strTarget));

    list = new BrowserAdList;
    list->names.push_back(L"No link");
    window->SendMessage(WM_USER + 50, 0, reinterpret_cast<LPARAM>(list));
    EXPECT_FALSE(window->m_adLink.IsWindowVisible());
}
