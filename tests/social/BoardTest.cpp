// The message board window and its view without a main window: the own
// board's posts newest first, pinning, unpinning and deleting against the
// store on disk (link texts of different lengths keep every entry's place
// right), a buddy's board waiting for its data, and where the window opens.
#include "AppSetting.h"
#include "Board.h"
#include "BoardStore.h"
#include "LanguageTable.h"
#include "PixImage.h"
#include "ServiceAddresses.h"
#include "SocialTestSupport.h"
#include "TestFolders.h"
#include "Xml.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
const wchar_t kKey[] = L"0123456789ABCDEF0123456789ABCDEF";

class BoardWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        LoadLanguageFile();
        ::AfxInitRichEdit2();
        m_folder = FreshTestFolder(SocialOutputFolder(), L"board");
        m_path = m_folder + L"\\board.xml";
        ASSERT_EQ(S_OK, m_store.CreateEmptyFile(m_path.c_str()));
        ASSERT_EQ(S_OK, m_store.Load(m_path.c_str()));
        m_saved = g_pAppSetting;
        g_pAppSetting = new CAppSetting((m_folder + L"\\").c_str());
        g_pAppSetting->strNick = L"Ann";
        // The data server's queue posts to a port where nothing listens.
        CServiceAddresses::Get().m_webHost = L"127.0.0.1";
        CServiceAddresses::Get().m_webPort = 9;
    }
    void TearDown() override
    {
        if (m_board && m_board->GetSafeHwnd())
            m_board->DestroyWindow();
        m_board.reset();
        delete g_pAppSetting;
        g_pAppSetting = m_saved;
    }
    CBoard& Open(BOOL own)
    {
        m_board.reset(new CBoard(kKey, L"owner@x.com", L"A song", &m_store, own, NULL));
        EXPECT_TRUE(m_board->Create(CBoard::IDD, NULL));
        return *m_board;
    }
    void Post(const wchar_t* text)
    {
        m_board->m_input.SetWindowText(text);
        m_board->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    // Every record's pin link and message lie where the record says.
    void ExpectPositionsRight()
    {
        CBoardRichEdit& view = m_board->GetView();
        for (const CBoardRichEdit::EntryRecord& r : view.m_entries)
        {
            CString link = view.GetTextRange(r.pinStart, r.pinEnd);
            EXPECT_EQ(W(Lang(r.id == view.m_nPinnedId ? L"INFO_BOARD_CANCEL_TOP" : L"INFO_BOARD_TOP")), W(link));
            EXPECT_EQ(W(Lang(L"INFO_BOARD_DELETE")),
                      W(view.GetTextRange(r.deleteStart, r.deleteStart + Lang(L"INFO_BOARD_DELETE").GetLength())));
            EXPECT_EQ(W(r.text), W(view.GetTextRange(r.messageStart, r.messageEnd)));
        }
    }
    const CBoardRichEdit::EntryRecord& Record(const wchar_t* text)
    {
        for (const CBoardRichEdit::EntryRecord& r : m_board->GetView().m_entries)
            if (r.text == text)
                return r;
        static CBoardRichEdit::EntryRecord none;
        ADD_FAILURE() << "no entry " << CStringA(text).GetString();
        return none;
    }
    COLORREF MessageColour(const wchar_t* text)
    {
        CBoardRichEdit& view = m_board->GetView();
        const CBoardRichEdit::EntryRecord& r = Record(text);
        view.SetSel(r.messageStart, r.messageEnd);
        CHARFORMAT2W cf = {};
        cf.cbSize = sizeof(cf);
        view.GetSelectionCharFormat(cf);
        return cf.crTextColor;
    }
    // The pinned items of the board as saved on disk.
    int SavedPinnedCount(int* items = nullptr)
    {
        CBoardStore reread;
        CBoardEntry board;
        if (FAILED(reread.Load(m_path.c_str())) || FAILED(reread.FindBoard(kKey, board)))
            return -1;
        int pinned = 0;
        for (int i = 0; i < board.GetItemCount(); ++i)
        {
            CBoardItem item;
            board.GetItem(i, item);
            pinned += item.GetFlags() & BOARD_ITEM_PINNED;
        }
        if (items)
            *items = board.GetItemCount();
        return pinned;
    }

    std::wstring m_folder, m_path;
    CBoardStore m_store;
    CAppSetting* m_saved = nullptr;
    std::unique_ptr<CBoard> m_board;
};
} // namespace

TEST_F(BoardWindow, OwnBoardShowsNewestFirstAndKeepsOnePinnedPost)
{
    CBoard& board = Open(TRUE);
    EXPECT_FALSE(board.m_btnPost.IsWindowEnabled());
    Post(L"   ");
    EXPECT_TRUE(board.GetView().m_entries.empty()) << "a blank post is refused";
    Post(L"first A");
    Post(L"second B");
    board.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BOARD_ANONYMOUS, BN_CLICKED), 0);
    Post(L"third C");

    CString text;
    board.GetView().GetWindowText(text);
    int a = text.Find(L"first A"), b = text.Find(L"second B"), c = text.Find(L"third C");
    EXPECT_TRUE(c >= 0 && c < b && b < a) << CStringA(text).GetString();
    CString anonTitle = Lang(L"INFO_BOARD_ANON") + L" :", annTitle;
    annTitle.Format(Lang(L"INFO_BOARD_TITLE"), L"Ann");
    EXPECT_GE(text.Find(anonTitle), 0);
    EXPECT_GE(text.Find(annTitle), 0);
    int items = 0;
    EXPECT_EQ(0, SavedPinnedCount(&items));
    EXPECT_EQ(3, items);
    ExpectPositionsRight();

    // Pin A, then B: A is unpinned, its link and colour back to normal.
    CBoardRichEdit& view = board.GetView();
    view.ClickLink(Record(L"first A").pinStart);
    EXPECT_EQ(Record(L"first A").id, view.m_nPinnedId);
    ExpectPositionsRight();
    view.ClickLink(Record(L"second B").pinStart);
    EXPECT_EQ(Record(L"second B").id, view.m_nPinnedId);
    ExpectPositionsRight();
    EXPECT_EQ(RGB(255, 0, 0), MessageColour(L"second B"));
    EXPECT_EQ((COLORREF)0x333333, MessageColour(L"first A"));
    EXPECT_EQ(1, SavedPinnedCount());
    // Unpin B again through its (longer) unpin link.
    view.ClickLink(Record(L"second B").pinStart);
    EXPECT_EQ(0, view.m_nPinnedId);
    EXPECT_EQ(0, SavedPinnedCount());
    ExpectPositionsRight();
    view.ClickLink(Record(L"third C").pinStart);
    PumpMessages();
    EXPECT_TRUE(CaptureWindowPicture(board.GetSafeHwnd(), L"board-own.png"));

    // Deleting B saves the board without it and rebuilds the view.
    view.ClickLink(Record(L"second B").deleteStart);
    EXPECT_EQ(1, SavedPinnedCount(&items));
    EXPECT_EQ(2, items);
    board.GetView().GetWindowText(text);
    EXPECT_LT(text.Find(L"second B"), 0);
    EXPECT_EQ(2u, view.m_entries.size());
    ExpectPositionsRight();
    EXPECT_EQ(Record(L"third C").id, view.m_nPinnedId) << "the pin survives the rebuild";
}

TEST_F(BoardWindow, BuddyBoardWaitsForItsDataAndShowsItWithoutLinks)
{
    CBoard& board = Open(FALSE);
    EXPECT_TRUE(board.m_status.IsWindowVisible());
    EXPECT_FALSE(board.GetView().IsWindowVisible());
    // No data by the wait timer: the error text and the retry link.
    board.OnWaitTimeout();
    EXPECT_TRUE(board.m_retry.IsWindowVisible());
    CString status;
    board.m_status.GetWindowText(status);
    EXPECT_EQ(W(Lang(L"INFO_BOARD_DOWNLOADING_ERR")), W(status));

    std::unique_ptr<CXmlElement> root(XmlParseString(
        L"<BD H=\"0123456789ABCDEF0123456789ABCDEF\" M=\"3\"><IM D=\"1\" T=\"2026-01-02 03:04:05\" A=\"Ben\" Y=\"0\">"
        L"hello from Ben</IM></BD>"));
    ASSERT_TRUE(root);
    board.GetView().SetBoardData(root.get());
    board.EndDownload();
    board.OnWaitTimeout();
    EXPECT_FALSE(board.m_retry.IsWindowVisible());
    EXPECT_FALSE(board.m_btnPin.IsWindowVisible());
    EXPECT_FALSE(board.m_pinLabel.IsWindowVisible());
    EXPECT_TRUE(board.GetView().IsWindowVisible());
    CString text;
    board.GetView().GetWindowText(text);
    EXPECT_GE(text.Find(L"hello from Ben"), 0);
    EXPECT_LT(text.Find(Lang(L"INFO_BOARD_DELETE")), 0) << "no links on a buddy's board";
    CBoardRichEdit& view = board.GetView();
    ASSERT_EQ(1u, view.m_entries.size());
    view.ClickLink(view.m_entries[0].pinStart);
    EXPECT_EQ(1u, view.m_entries.size());

    // A post goes into the local copy, not the store.
    Post(L"reply");
    EXPECT_EQ(2, view.m_local.GetItemCount());
    CBoardEntry stored;
    EXPECT_TRUE(FAILED(m_store.FindBoard(kKey, stored)));
    PumpMessages();
    EXPECT_TRUE(CaptureWindowPicture(board.GetSafeHwnd(), L"board-buddy.png"));
}

TEST(BoardPlace, OpensBesideTheCursorInsideTheDesktop)
{
    const CRect desktop(0, 0, 1280, 1024);
    const struct
    {
        CPoint cursor, expected;
    } cases[] = {{{100, 100}, {100, 100}},
                 {{1000, 100}, {1000, 100}},
                 {{1010, 100}, {730, 100}}, // 1010 + 280 passes the right edge
                 {{100, 900}, {100, 700}},
                 {{1270, 1000}, {990, 800}}};
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, CBoard::PlaceAtCursor(c.cursor, desktop)) << c.cursor.x << "," << c.cursor.y;
}
