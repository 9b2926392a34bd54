// The floating toolbar: its place beside the pointer (to the left of it near
// the screen's right edge), its buttons on the own and on a buddy's library,
// what its buttons do, and the search text's encoding.
#include <gtest/gtest.h>

#include "ClientApp.h"
#include "FloatToolbar.h"
#include "OutsideSites.h"
#include "WebTestSupport.h"
#include "WindowPicture.h"
#include "resource.h"

#include <commctrl.h>

namespace
{
BOOL g_ownLibrary = FALSE;
BOOL OwnLibraryShown()
{
    return g_ownLibrary;
}
std::vector<CString> g_searches;
void RecordSearch(const CString& url)
{
    g_searches.push_back(url);
}
std::vector<int> g_pushes; // 1 push, 0 collect
void RecordPush(CFloatToolbar*, BOOL push)
{
    g_pushes.push_back(push ? 1 : 0);
}

// A list near the right edge of the screen, above every other window; the
// tests run side by side, so each puts its list at its own height.
class ListHost
{
  public:
    explicit ListHost(int top) : m_top(top)
    {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&init);
        int right = ::GetSystemMetrics(SM_CXSCREEN);
        m_host = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, right - 300, top, 300, 200,
                                   NULL, NULL, NULL, NULL);
        m_list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 200, m_host,
                                   NULL, NULL, NULL);
        PumpMessages();
    }
    ~ListHost()
    {
        CFloatToolbar::Destroy();
        ::DestroyWindow(m_host);
    }
    int m_top;
    HWND m_host, m_list;
};

class FloatToolbarTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        LoadLanguageFile();
        m_saved = CFloatToolbar::s_actions;
        CFloatToolbar::s_actions.isOwnLibraryShown = OwnLibraryShown;
        CFloatToolbar::s_actions.openSearch = RecordSearch;
        CFloatToolbar::s_actions.pushOrCollect = RecordPush;
        g_searches.clear();
        g_pushes.clear();
    }
    void TearDown() override
    {
        CFloatToolbar::Destroy();
        CFloatToolbar::s_actions = m_saved;
    }
    // Shows the toolbar for a row of kind over the list, at pointer.
    CFloatToolbar* ShowAt(ListHost& host, int kind, POINT pointer)
    {
        FloatToolbarRow row;
        row.texts[1] = L"Song Name";
        row.texts[2] = L"歌手";
        row.numbers[3] = kind;
        CFloatToolbar* bar = CFloatToolbar::GetInstance();
        EXPECT_EQ(1, bar->SetRow(row, 0, 0, 0));
        EXPECT_EQ(1, bar->Show(CWnd::FromHandle(host.m_list)));
        bar->PlaceAt(pointer);
        PumpMessages();
        return bar;
    }
    static CRect ScreenRect(CWnd& wnd)
    {
        CRect r;
        wnd.GetWindowRect(&r);
        return r;
    }
    CFloatToolbar::Actions m_saved;
};
} // namespace

TEST_F(FloatToolbarTest, OnABuddysLibraryThreeButtonsOpenLeftOfAPointerNearTheRightEdge)
{
    ListHost host(20);
    g_ownLibrary = FALSE;
    int right = ::GetSystemMetrics(SM_CXSCREEN);
    POINT pointer = {right - 30, 120};
    CFloatToolbar* bar = ShowAt(host, CFloatToolbar::KIND_PUSH, pointer);
    ASSERT_TRUE(CFloatToolbar::Exists());
    CRect r = ScreenRect(*bar);
    EXPECT_EQ(pointer.x - 81 + 5, r.left);
    EXPECT_EQ(pointer.y - 19, r.top);
    EXPECT_EQ(57, r.Width());
    EXPECT_EQ(19, r.Height());
    EXPECT_TRUE(bar->IsWindowVisible());
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(bar->GetSafeHwnd(), IDC_FLOAT_PUSH)));
    const UINT shown[] = {IDC_FLOAT_PLAY, IDC_FLOAT_SEARCH, IDC_FLOAT_BOARD};
    for (int i = 0; i < 3; ++i)
    {
        HWND button = ::GetDlgItem(bar->GetSafeHwnd(), shown[i]);
        RECT b;
        ::GetWindowRect(button, &b);
        EXPECT_TRUE(::IsWindowVisible(button)) << i;
        EXPECT_EQ(r.left + 19 * i, b.left) << i;
        EXPECT_EQ(19, b.right - b.left) << i;
    }
    EXPECT_TRUE(SaveWindowPicture(bar->GetSafeHwnd(), WebPicturePath(L"float-toolbar-buddy.png")));

    // Away from the edge it opens right of the pointer.
    bar->PlaceAt(POINT{right - 200, 140});
    EXPECT_EQ(right - 200 + 5, ScreenRect(*bar).left);
    // A pointer outside the list leaves the strip where it is.
    bar->PlaceAt(POINT{10, 10});
    EXPECT_EQ(right - 200 + 5, ScreenRect(*bar).left);
}

TEST_F(FloatToolbarTest, OnTheOwnLibraryTheSecondButtonPushesOrCollects)
{
    ListHost host(260);
    g_ownLibrary = TRUE;
    int right = ::GetSystemMetrics(SM_CXSCREEN);
    for (int kind : {int(CFloatToolbar::KIND_PUSH), int(CFloatToolbar::KIND_COLLECT), 0})
    {
        CFloatToolbar* bar = ShowAt(host, kind, POINT{right - 200, 360});
        EXPECT_EQ(kind == 0 ? 57 : 76, ScreenRect(*bar).Width()) << kind;
        EXPECT_EQ(kind != 0, ::IsWindowVisible(::GetDlgItem(bar->GetSafeHwnd(), IDC_FLOAT_PUSH)) != FALSE) << kind;
        if (kind == CFloatToolbar::KIND_PUSH)
            EXPECT_TRUE(SaveWindowPicture(bar->GetSafeHwnd(), WebPicturePath(L"float-toolbar-own.png")));
        bar->SendMessage(WM_COMMAND, IDC_FLOAT_PUSH, 0);
        EXPECT_FALSE(CFloatToolbar::Exists()) << kind; // every button closes the strip
        CFloatToolbar::Destroy();
    }
    ASSERT_EQ(2u, g_pushes.size()); // a row of neither kind pushes nothing
    EXPECT_EQ(1, g_pushes[0]);
    EXPECT_EQ(0, g_pushes[1]);
}

TEST_F(FloatToolbarTest, SearchOpensTheOutsideSearchForTheChosenText)
{
    ListHost host(500);
    g_ownLibrary = FALSE;
    CFloatToolbar* bar = ShowAt(host, 0, POINT{::GetSystemMetrics(SM_CXSCREEN) - 200, 600});
    bar->SendMessage(WM_COMMAND, IDC_FLOAT_SEARCH, 0);
    EXPECT_FALSE(CFloatToolbar::Exists());
    FloatToolbarRow row = bar->m_row;
    bar->SetRow(row, 0, 0, 1); // the third text when it has one
    bar->Show(CWnd::FromHandle(host.m_list));
    bar->SendMessage(WM_COMMAND, IDC_FLOAT_SEARCH, 0);
    row.texts[2].Empty();
    bar->SetRow(row, 0, 0, 1);
    bar->Show(CWnd::FromHandle(host.m_list));
    bar->SendMessage(WM_COMMAND, IDC_FLOAT_SEARCH, 0);
    ASSERT_EQ(3u, g_searches.size());
    EXPECT_EQ(L"http://www.google.cn/music/search?q=Song+Name&aq=f", std::wstring(g_searches[0]));
    EXPECT_EQ(L"http://www.google.cn/music/search?q=%E6%AD%8C%E6%89%8B&aq=f", std::wstring(g_searches[1]));
    EXPECT_EQ(L"http://www.google.cn/music/search?q=Song+Name&aq=f", std::wstring(g_searches[2]));
}

TEST(FloatToolbarSearch, EveryByteEscapedStillFits)
{
    // Nine characters of three UTF-8 bytes each: 27 escapes, 81 characters.
    CString text = L"歌歌歌歌歌歌歌歌歌";
    CString encoded = COutsideSites::FormEncodeUtf8(text);
    EXPECT_EQ(81, encoded.GetLength());
    EXPECT_EQ(L"%E6%AD%8C", std::wstring(encoded.Right(9)));
    EXPECT_EQ(L"a%2Fb%26c", std::wstring(COutsideSites::FormEncodeUtf8(L"a/b&c")));
}

TEST(FloatToolbarPaths, OwnLibraryIsPrivateAnyoneElsesIsAFriends)
{
    CClientApp app;
    app.SetUserEmail(L"me@yeb.com");
    CString own, other;
    GetPlaylistFilePath(L"me@yeb.com", own);
    GetPlaylistFilePath(L"buddy@yeb.com", other);
    ASSERT_FALSE(own.IsEmpty());
    EXPECT_GE(own.Find(L"\\yeb360\\lib\\private\\"), 0);
    EXPECT_GE(own.Find(L"playlist.xml"), 0);
    EXPECT_GE(other.Find(L"\\yeb360\\lib\\friend\\"), 0);
    EXPECT_GE(other.Find(L"buddy"), 0);
}
