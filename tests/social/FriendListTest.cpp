// The buddy list: its rows and keys, sorting, marks and selection; its
// painting (kept as a picture); clicks, double clicks, the right button,
// avatar hover and keys reported to its owner; and the tooltip texts.
#include <gtest/gtest.h>

#include "AvatarListEntry.h"
#include "DlgChildFriend.h"
#include "FriendRowLayout.h"
#include "FriendTipText.h"
#include "LanguageTable.h"
#include "PixImage.h"
#include "ListFriendCtrl.h"
#include "SocialTestSupport.h"

#include <atomic>
#include <thread>
#include <vector>

namespace
{
const UINT ListId = 1088;

// The rows' ids in order, joined by blanks.
std::wstring Ids(CListFriendCtrl& list)
{
    std::wstring ids;
    for (int i = 0; i < list.GetItemCount(); ++i)
        ids += (i ? L" " : L"") + W(list.GetItem(i)->id);
    return ids;
}

// The list's owner and the application's main window: records what the list reports.
class CListOwner : public CWnd
{
  public:
    struct Note
    {
        UINT code;
        int key;
        CString rowId;
    };
    std::vector<Note> notes;
    std::vector<std::pair<WPARAM, CString>> hovers; // wParam and the hovered row's id
    int moves = 0;

  protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        NMHDR* hdr = (NMHDR*)lParam;
        if (hdr->idFrom != ListId)
            return CWnd::OnNotify(wParam, lParam, result);
        FriendListNotify* n = (FriendListNotify*)lParam;
        if (n->hdr.code == FLN_MOUSEMOVE)
            ++moves;
        else
            notes.push_back({n->hdr.code, n->key, n->item ? n->item->id : CString()});
        if (n->hdr.code != FLN_BUTTONDOWN && n->hdr.code != FLN_MOUSEMOVE)
            delete n; // the receiver's records
        return TRUE;
    }
    LRESULT OnAvatarHover(WPARAM wParam, LPARAM lParam)
    {
        hovers.push_back({wParam, lParam ? ((CFriendItem*)lParam)->id : CString()});
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListOwner, CWnd)
ON_MESSAGE(WM_FRIEND_AVATAR_HOVER, &CListOwner::OnAvatarHover)
END_MESSAGE_MAP()

// A shown list of 260 x 560 pixels with the program's icons and the default
// avatar, standing in the lower left of the screen.
struct FriendListWindow : ::testing::Test
{
    CWinApp app{L"social-tests"};
    CListOwner owner;
    CListFriendCtrl list;

    void SetUp() override
    {
        LoadLanguageFile();
        int top = ::GetSystemMetrics(SM_CYSCREEN) - 600;
        ASSERT_TRUE(owner.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), L"friend list owner",
                                   WS_POPUP | WS_VISIBLE, 10, top, 260, 560, NULL, NULL));
        app.m_pMainWnd = &owner;
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, CRect(0, 0, 260, 560), &owner,
                                ListId));
        list.LoadStandardIcons(AfxGetResourceHandle());
        list.SetDefaultAvatar(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(CListFriendCtrl::DefaultAvatarId)));
    }
    void TearDown() override
    {
        app.m_pMainWnd = NULL;
        list.DestroyWindow();
        owner.DestroyWindow();
    }
    // Paints the list so that every row knows its rectangle.
    void Paint()
    {
        list.Invalidate(TRUE);
        list.UpdateWindow();
        PumpMessages();
    }
    CPoint Centre(const CRect& r) const { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
    FriendRowLayout Layout(int row) { return FriendRowLayout(list.GetItemRect(row), *list.GetItem(row)); }
    void Send(UINT message, CPoint p, WPARAM keys = 0)
    {
        list.SendMessage(message, keys, MAKELPARAM(p.x, p.y));
        PumpMessages();
    }
    std::vector<UINT> Codes() const
    {
        std::vector<UINT> codes;
        for (const auto& n : owner.notes)
            codes.push_back(n.code);
        return codes;
    }
};
} // namespace

TEST(FriendListModel, KeysFollowPositionsAndRowHeightsFollowTheFlags)
{
    CListFriendCtrl list;
    EXPECT_EQ(0, list.AddItem(TestRow(1, 0, 1, L"channel", L"c"), FALSE));
    EXPECT_EQ(1, list.AddItem(TestRow(1, 1, 2, L"home", L"h"), FALSE));
    EXPECT_EQ(2, list.AddItem(TestRow(2, 1, 4, L"hidden", L"x"), FALSE));
    CFriendItem seven = TestRow(0, 0, 1, L"me", L"me");
    seven.key = 7;
    EXPECT_EQ(3, list.AddItem(seven, FALSE)); // renumbered to its position
    EXPECT_EQ(28, list.GetItem(0)->height);
    EXPECT_EQ(50, list.GetItem(1)->height);
    EXPECT_EQ(0, list.GetItem(2)->height); // takes a key but no room
    EXPECT_EQ(50, list.GetItem(3)->height); // the own row, whatever its flags
    EXPECT_EQ(128, list.GetTotalHeight());
    EXPECT_EQ(list.GetItem(3), list.GetItem(3)->self);

    EXPECT_EQ(1, list.FindItem(L"home"));
    EXPECT_EQ(-1, list.FindItem(L"HOME")); // ids compare exactly
    EXPECT_EQ(list.GetItem(1), list.GetItemById(L"home"));
    EXPECT_EQ(nullptr, list.GetItem(4));
    EXPECT_EQ(nullptr, list.GetItemById(L"nobody"));
    EXPECT_TRUE(list.GetItemRect(9).IsRectEmpty());
    EXPECT_EQ(0, list.DeleteItem(9));
}

TEST(FriendListModel, DeletingRowsMovesOrClearsTheSelection)
{
    CListFriendCtrl list;
    for (LPCWSTR id : {L"a", L"b", L"c", L"d"})
        list.AddItem(TestBuddy(id, id, 0), FALSE);
    list.SetCurSel(2);
    EXPECT_EQ(1, list.DeleteItem(0));
    EXPECT_EQ(2, list.GetCurSel()); // not shifted: now the row after "c"
    EXPECT_EQ(L"b c d", Ids(list));
    EXPECT_EQ(1, list.DeleteItem(2));
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_EQ(100, list.GetTotalHeight());
}

TEST(FriendListModel, MarksAreExclusive)
{
    CListFriendCtrl list;
    for (LPCWSTR id : {L"a", L"b", L"c"})
        list.AddItem(TestBuddy(id, id, 0), FALSE);
    list.MarkItem(1);
    list.MarkItem(1); // already marked: nothing changes
    EXPECT_EQ(1, list.GetItem(1)->marked);
    list.MarkItem(2);
    EXPECT_EQ(0, list.GetItem(1)->marked);
    EXPECT_EQ(1, list.GetItem(2)->marked);
    list.MarkItem(5); // outside the rows
    list.ClearMark();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0, list.GetItem(i)->marked);
}

TEST(FriendListModel, SortGroupsBuddiesByPresenceAndKeepsEqualRowsInPlace)
{
    CListFriendCtrl list;
    list.AddItem(TestBuddy(L"zed@x", L"zed", 0), FALSE);
    list.AddItem(TestRow(3, 0, 1, L"offline buddy", L"Offline"), FALSE); // header: presence 0, stays in group 3
    CFriendItem gone = TestBuddy(L"gone@x", L"gone", 3);
    gone.kind = 2; // was online
    list.AddItem(gone, FALSE);
    list.AddItem(TestBuddy(L"upper@x", L"ALICE", 1), FALSE);
    list.AddItem(TestBuddy(L"lower@x", L"alice", 2), FALSE); // the same nick but for case
    list.AddItem(TestRow(2, 0, 1, L"online buddy", L"Online"), FALSE);
    list.AddItem(TestRow(0, 0, 1, L"me@x", L"Mine"), FALSE);
    CFriendItem channel = TestRow(1, 3, 2, L"google_music", L"g");
    list.AddItem(channel, FALSE);
    list.SetCurSel(3);
    list.SortItems();
    // The exchange sort is not stable; equal rows only keep their order when
    // no third row moves between them (below).
    std::wstring ids = Ids(list);
    EXPECT_TRUE(ids == L"me@x google_music online buddy upper@x lower@x zed@x offline buddy gone@x" ||
                ids == L"me@x google_music online buddy lower@x upper@x zed@x offline buddy gone@x")
        << ids;
    EXPECT_EQ(3, list.GetItem(7)->kind);
    EXPECT_EQ(3, list.GetCurSel()); // the index, not the buddy: callers re-select by id
    for (int i = 0; i < list.GetItemCount(); ++i)
    {
        EXPECT_EQ(i, list.GetItem(i)->key);
        EXPECT_EQ(list.GetItem(i), list.GetItem(i)->self);
    }
    EXPECT_EQ(28, list.GetItem(6)->height); // heights move with the rows' data
    EXPECT_EQ(50, list.GetItem(7)->height);
}

TEST(FriendListModel, EqualRowsAreNeverSwappedWithEachOther)
{
    CListFriendCtrl list;
    list.AddItem(TestBuddy(L"upper@x", L"ALICE", 0), FALSE);
    list.AddItem(TestBuddy(L"lower@x", L"alice", 1), FALSE);
    list.AddItem(TestBuddy(L"bea@x", L"bea", 2), FALSE);
    list.SortItems();
    EXPECT_EQ(L"upper@x lower@x bea@x", Ids(list));
    list.GetItem(0)->signature = L"b"; // "aliceb" now sorts after "alice"
    list.SortItems();
    EXPECT_EQ(L"lower@x upper@x bea@x", Ids(list));
}

TEST(FriendListModel, RowsCanBeLookedUpByIdWhileTheListChanges)
{
    CListFriendCtrl list;
    list.AddItem(TestBuddy(L"steady@x", L"steady", 0), FALSE);
    std::atomic<bool> stop(false);
    std::atomic<int> found(0);
    std::thread reader([&] {
        while (!stop)
            if (CFriendItem* row = list.GetItemById(L"steady@x"))
                found += row->self == row ? 1 : 0;
    });
    for (int i = 0; i < 300 || found.load() == 0; ++i)
    {
        list.AddItem(TestBuddy(L"churn@x", L"churn", i % 4), FALSE);
        list.SortItems();
        list.DeleteItem(list.FindItem(L"churn@x"));
    }
    stop = true;
    reader.join();
    EXPECT_GT(found.load(), 0);
    EXPECT_EQ(1, list.GetItemCount());
}

TEST(FriendItemCopy, CopiesEveryFieldAndThePictureButNotSelf)
{
    CFriendItem a = TestBuddy(L"a@x", L"小明", 1);
    a.signature = L"sig";
    a.listen2 = L"title";
    a.extra = L"10001";
    a.profileFlags = 3;
    a.Create(30, 30, 24);
    a.self = &a;
    CFriendItem b;
    b = a;
    EXPECT_EQ(nullptr, b.self);
    EXPECT_EQ(a.nick, b.nick);
    EXPECT_EQ(a.listen2, b.listen2);
    EXPECT_EQ(a.extra, b.extra);
    EXPECT_EQ(3, b.profileFlags);
    EXPECT_TRUE(b.IsValid());
    EXPECT_NE(a.GetDIB(), b.GetDIB()); // a picture of its own
    CFriendItem none;
    b = none;
    EXPECT_FALSE(b.IsValid());
    EXPECT_EQ(CString(L"#000000"), b.nickColor);
    EXPECT_EQ(-1, b.key);
    EXPECT_EQ(1, b.flags);
    EXPECT_EQ(3, b.buttons);
}

TEST(AvatarListEntryTest, ThumbnailsAreLoadedAt30PixelsAndCopiesHaveNone)
{
    std::wstring path = SocialOutputFolder() + L"\\entry.png";
    ASSERT_TRUE(WriteSolidPicture(path, RGB(200, 10, 10)));
    AvatarListEntry missing(L"m", (SocialOutputFolder() + L"\\missing.png").c_str(), 1);
    EXPECT_FALSE(missing.LoadThumbnail());
    EXPECT_EQ(nullptr, missing.thumbnail);
    AvatarListEntry entry(L"e", path.c_str(), 2);
    ASSERT_TRUE(entry.LoadThumbnail());
    ASSERT_NE(nullptr, entry.thumbnail);
    EXPECT_EQ(30u, entry.thumbnail->GetWidth());
    AvatarListEntry copy(entry);
    EXPECT_EQ(nullptr, copy.thumbnail);
    EXPECT_EQ(2, copy.value);
}

TEST(ChildFriendPane, SwallowsEnterAndEscapeAndKeepsTheListCoveringIt)
{
    MSG enter = {NULL, WM_KEYDOWN, VK_RETURN, 0}, escape = {NULL, WM_KEYDOWN, VK_ESCAPE, 0};
    MSG tab = {NULL, WM_KEYDOWN, VK_TAB, 0}, up = {NULL, WM_KEYUP, VK_RETURN, 0};
    EXPECT_TRUE(CDlgChildFriend::IsPaneClosingKey(&enter));
    EXPECT_TRUE(CDlgChildFriend::IsPaneClosingKey(&escape));
    EXPECT_FALSE(CDlgChildFriend::IsPaneClosingKey(&tab));
    EXPECT_FALSE(CDlgChildFriend::IsPaneClosingKey(&up));

    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"pane host", WS_POPUP, 0, 0, 300, 400, NULL, NULL));
    CDlgChildFriend pane(&host);
    ASSERT_TRUE(pane.Create(CDlgChildFriend::IDD, &host));
    ASSERT_TRUE(pane.GetList().Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 10, 10), &pane, ListId));
    pane.MoveWindow(4, 110, 200, 300);
    CRect client, list;
    pane.GetClientRect(&client);
    pane.GetList().GetWindowRect(&list);
    pane.ScreenToClient(&list);
    EXPECT_EQ(client, list);
    pane.DestroyWindow();
    host.DestroyWindow();
}

TEST_F(FriendListWindow, PaintsAvatarsPresenceAndAChineseNickAndKeepsThePicture)
{
    std::wstring red = SocialOutputFolder() + L"\\avatar-red.png", blue = SocialOutputFolder() + L"\\avatar-blue.png";
    ASSERT_TRUE(WriteSolidPicture(red, RGB(220, 30, 30)));
    ASSERT_TRUE(WriteSolidPicture(blue, RGB(30, 60, 220)));
    CFriendItem own = TestRow(0, 0, 1, L"me@yeb360.com", L"我的音乐库");
    own.totalSongs = 12;
    list.AddItem(own, FALSE);
    list.AddItem(TestRow(1, 0, 1, L"channel", L"频道"), FALSE);
    list.AddItem(TestRow(1, 1, 2, L"home", L"首页"), FALSE);
    list.AddItem(TestRow(2, 0, 1, L"online buddy", L"在线好友"), FALSE);
    list.AddItem(TestRow(3, 0, 1, L"offline buddy", L"离线好友"), FALSE);
    CFriendItem ming = TestBuddy(L"ming@yeb360.com", L"小明", 0);
    ming.signature = L"今天听什么";
    ming.avatarPath = red.c_str();
    ming.listening = 1;
    ming.listen2 = L"月亮代表我的心";
    ming.listen4 = L"邓丽君";
    list.AddItem(ming, FALSE);
    CFriendItem bob = TestBuddy(L"bob@yeb360.com", L"Bob", 1);
    bob.avatarPath = red.c_str();
    bob.totalSongs = 30;
    bob.newSongs = 2;
    bob.state = 1;
    list.AddItem(bob, FALSE);
    CFriendItem carol = TestBuddy(L"carol@yeb360.com", L"Carol", 3);
    carol.avatarPath = blue.c_str();
    list.AddItem(carol, FALSE);
    CFriendItem dora = TestBuddy(L"dora@yeb360.com", L"Dora", 3);
    dora.avatarPath = (SocialOutputFolder() + L"\\no-such-avatar.png").c_str();
    list.AddItem(dora, FALSE);
    list.SortItems();
    int mingRow = list.FindItem(L"ming@yeb360.com"), carolRow = list.FindItem(L"carol@yeb360.com");
    list.SetCurSel(mingRow);
    list.MarkItem(list.FindItem(L"bob@yeb360.com"));
    Paint();

    CPixImage shot;
    ASSERT_TRUE(CaptureWindowPicture(owner.GetSafeHwnd(), L"friend-list.png", &shot));
    auto pixel = [&](CPoint p) { return PixelAt(shot, p.x, p.y); };

    FriendRowLayout mingLayout = Layout(mingRow), carolLayout = Layout(carolRow);
    COLORREF avatar = pixel(Centre(mingLayout.pictureBox));
    EXPECT_GT(GetRValue(avatar), 150);
    EXPECT_LT(GetGValue(avatar), 90);
    COLORREF grey = pixel(Centre(carolLayout.pictureBox)); // offline: the blue picture in grey
    EXPECT_NEAR(GetRValue(grey), GetBValue(grey), 8);
    EXPECT_NEAR(GetGValue(grey), GetBValue(grey), 8);
    COLORREF bar = pixel(CPoint(mingLayout.selectionBar.right - 8, mingLayout.selectionBar.bottom - 4));
    EXPECT_GT(GetGValue(bar), GetRValue(bar) + 60); // the green highlight of the selected row
    auto inkIn = [&](const CRect& r) {
        int ink = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                ink += pixel(CPoint(x, y)) != RGB(255, 255, 255) ? 1 : 0;
        return ink;
    };
    CRect nick = Layout(carolRow).text; // an unselected row: ink is text only
    EXPECT_GT(inkIn(CRect(nick.left, nick.top, nick.left + 40, nick.top + 16)), 20);
    CRect presence = carolLayout.presenceIcon;
    EXPECT_GT(inkIn(presence), 20);
    EXPECT_GT(inkIn(Layout(list.FindItem(L"dora@yeb360.com")).pictureBox), 100); // the default avatar
}

TEST_F(FriendListWindow, ClicksDoubleClicksAndTheRightButtonReportTheirCodes)
{
    list.AddItem(TestRow(0, 0, 1, L"me", L"me"), FALSE);
    list.AddItem(TestRow(1, 1, 2, L"home", L"home"), FALSE);
    list.AddItem(TestRow(2, 0, 1, L"online buddy", L"online"), FALSE);
    CFriendItem ann = TestBuddy(L"ann@x", L"Ann", 0);
    ann.listening = 1;
    ann.listen2 = L"Song";
    list.AddItem(ann, FALSE);
    list.AddItem(TestBuddy(L"ben@x", L"Ben", 0), FALSE);
    list.AddItem(TestRow(3, 0, 1, L"offline buddy", L"offline"), FALSE);
    list.AddItem(TestBuddy(L"cat@x", L"Cat", 3), FALSE);
    Paint();
    const int annRow = 3, benRow = 4, catRow = 6;

    const struct
    {
        const char* what;
        UINT message;
        int row;
        CPoint (*where)(const FriendRowLayout&);
        std::vector<UINT> codes;
        int selection; // after the message; -2: unchanged
    } cases[] = {
        {"click on an avatar", WM_LBUTTONDOWN, benRow, [](const FriendRowLayout& l) { return l.avatarHit.CenterPoint(); },
         {FLN_BUTTONDOWN, FLN_AVATARCLICK}, benRow},
        {"click on a listening line", WM_LBUTTONDOWN, annRow,
         [](const FriendRowLayout& l) { return l.listenHit.CenterPoint(); }, {FLN_BUTTONDOWN, FLN_LISTENCLICK}, -2},
        {"click on a channel", WM_LBUTTONDOWN, 1, [](const FriendRowLayout& l) { return l.text.CenterPoint(); },
         {FLN_BUTTONDOWN, FLN_CLICK}, 1},
        {"double click on an online buddy", WM_LBUTTONDBLCLK, benRow,
         [](const FriendRowLayout& l) { return l.text.CenterPoint(); }, {FLN_DBLCLK}, benRow},
        {"double click on an offline buddy", WM_LBUTTONDBLCLK, catRow,
         [](const FriendRowLayout& l) { return l.avatarHit.CenterPoint(); }, {}, -2},
        {"double click on a channel", WM_LBUTTONDBLCLK, 1, [](const FriendRowLayout& l) { return l.text.CenterPoint(); },
         {}, -2},
        {"double click on a listening line", WM_LBUTTONDBLCLK, annRow,
         [](const FriendRowLayout& l) { return l.listenHit.CenterPoint(); }, {}, -2},
        {"right button on a buddy", WM_RBUTTONDOWN, catRow, [](const FriendRowLayout& l) { return l.text.CenterPoint(); },
         {FLN_RCLICK}, catRow},
        {"right button on a header", WM_RBUTTONDOWN, 2, [](const FriendRowLayout& l) { return l.text.CenterPoint(); },
         {}, -2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        owner.notes.clear();
        list.SetCurSel(0);
        Send(c.message, c.where(Layout(c.row)));
        EXPECT_EQ(c.codes, Codes());
        EXPECT_EQ(c.selection == -2 ? 0 : c.selection, list.GetCurSel());
        if (!c.codes.empty() && c.codes.back() != FLN_BUTTONDOWN)
        {
            EXPECT_EQ(c.row, owner.notes.back().key);
            EXPECT_EQ(list.GetItem(c.row)->id, owner.notes.back().rowId);
        }
    }
}

TEST_F(FriendListWindow, AvatarHoverTellsTheMainWindowOnceAndKeysMoveTheSelection)
{
    list.AddItem(TestRow(2, 0, 1, L"online buddy", L"online"), FALSE);
    list.AddItem(TestBuddy(L"ann@x", L"Ann", 0), FALSE);
    list.AddItem(TestBuddy(L"ben@x", L"Ben", 0), FALSE);
    Paint();
    Send(WM_MOUSEMOVE, Layout(1).avatarHit.CenterPoint());
    Send(WM_MOUSEMOVE, Layout(2).avatarHit.CenterPoint()); // straight onto another avatar
    Send(WM_MOUSEMOVE, Layout(2).text.CenterPoint());
    ::ReleaseCapture();
    ASSERT_GE(owner.hovers.size(), 2u);
    EXPECT_EQ(1u, owner.hovers[0].first);
    EXPECT_EQ(CString(L"ann@x"), owner.hovers[0].second);
    EXPECT_EQ(0u, owner.hovers.back().first);
    for (size_t i = 1; i < owner.hovers.size(); ++i)
        EXPECT_EQ(0u, owner.hovers[i].first) << "only the first avatar is announced";
    EXPECT_GT(owner.moves, 0);

    owner.notes.clear();
    list.SetCurSel(-1);
    list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(2, list.GetCurSel()); // no selection: the last row
    list.SetCurSel(-1);
    list.SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(0, list.GetCurSel()); // no selection: the first row
    list.SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(0, list.GetCurSel());
    ASSERT_EQ(3u, owner.notes.size());
    EXPECT_EQ(FLN_CLICK, owner.notes[0].code);
    EXPECT_EQ(2, owner.notes[0].key);
    EXPECT_EQ(0, owner.notes[2].key);
}

TEST_F(FriendListWindow, EnsureVisibleScrollsTheLeastDistance)
{
    for (int i = 0; i < 20; ++i)
    {
        CString id;
        id.Format(L"b%02d", i);
        list.AddItem(TestBuddy(id, id, 0), FALSE); // 50 pixels each: 1000 in all, 560 shown
    }
    list.EnsureVisible(15);
    EXPECT_EQ(16 * 50 - 560, list.GetScrollPosition());
    list.EnsureVisible(14); // already whole
    EXPECT_EQ(16 * 50 - 560, list.GetScrollPosition());
    list.EnsureVisible(2);
    EXPECT_EQ(100, list.GetScrollPosition());
    list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-120), 0);
    EXPECT_EQ(140, list.GetScrollPosition());
    list.SendMessage(WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(90, list.GetScrollPosition());
    for (int i = 0; i < 20; ++i)
        list.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(1000 - 560, list.GetScrollPosition());
}

TEST(FriendTipTextTest, FollowsTheRowAndThePlaceOfTheCursor)
{
    LoadLanguageFile();
    CFriendItem b = TestBuddy(L"ann@x", L"Ann", 0);
    b.signature = L"hi";
    b.rect.SetRect(0, 100, 240, 150);
    FriendRowLayout layout(b.rect, b);
    CPoint onName(layout.text.left + 10, layout.text.top + 3), onAvatar = layout.avatarHit.CenterPoint();
    CPoint onLine = layout.listenHit.CenterPoint();
    const CString head = L"<font color=#000000>Ann</font> \xFF0D <font color=#666666>hi</font><br><<ann@x><br>"
                         L"<hr color=green><br><font color=#0066cc>";

    struct Case
    {
        const char* what;
        int listening, total, fresh, kind;
        LPCWSTR listen6;
        CPoint at;
        CString tip;
    };
    const Case cases[] = {
        {"avatar", 0, 0, 0, 2, L"", onAvatar, Lang(L"INFO_LIST_FRIEND_VIEW_BUDDY_INFO")},
        {"listening line of a radio", 1, 5, 0, 2, L"radio", onLine, Lang(L"INFO_LIST_FRIEND_FOLLOW_BUDDY_RADIO")},
        {"new songs", 0, 5, 2, 2, L"", onName, head + L"共 5 首歌 新歌 2 首</font>"},
        {"listening with new songs", 1, 5, 2, 2, L"", onName,
         head + L"共 5 首歌 新歌 2 首</font><br><font color=#0066cc>正在听：Artist\xFF0DTitle</font><br>"},
        {"listening to a radio", 1, 5, 0, 2, L"radio", onName,
         head + L"共 5 首歌</font><br><font color=#0066cc>正在收听电台：Artist\xFF0DTitle</font><br>"},
        {"a buddy without counts", 0, 0, 0, 3, L"", onName,
         L"<font color=#000000>Ann</font> \xFF0D <font color=#666666>hi</font><br><<ann@x>"},
        {"a channel with songs", 0, 7, 0, 1, L"", onName,
         L"<font color=#000000>Ann</font><br><hr color=green><br><font color=#0066cc>共 7 首歌</font>"},
        {"a channel without songs", 0, 0, 0, 1, L"", onName, L""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        CFriendItem item = b;
        item.listening = c.listening;
        item.listen2 = L"Title";
        item.listen4 = L"Artist";
        item.listen6 = c.listen6;
        item.totalSongs = c.total;
        item.newSongs = c.fresh;
        item.kind = c.kind;
        EXPECT_EQ(W(c.tip), W(BuildFriendTipText(item, c.at)));
    }

    CFriendItem own = TestRow(0, 0, 1, L"me@x", L"Mine");
    own.rect.SetRect(0, 0, 240, 50);
    EXPECT_EQ(CString(L"<font color=#000000>Mine</font><br><<me@x>"), BuildFriendTipText(own, CPoint(100, 20)));
    CFriendItem hostile = b;
    hostile.nick = L"<img src=\"c:\\x.bmp\">&amp;";
    CString tip = BuildFriendTipText(hostile, onName);
    EXPECT_NE(-1, tip.Find(L"<<img src")) << "a buddy's nick brings no tags";
    EXPECT_NE(-1, tip.Find(L"&amp;amp;"));
}
