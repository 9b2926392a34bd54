#include "BoardStore.h"
#include "TestFiles.h"
#include "Xml.h"

#include <gtest/gtest.h>

namespace
{

CBoardItem MakeItem(int id, LPCWSTR score = L"3", int flags = 0, LPCWSTR text = L"t")
{
    CBoardItem item;
    item.m_nId = id;
    item.m_strScore = score;
    item.m_nFlags = flags;
    item.SetText(text);
    item.SetAuthor(L"au");
    item.SetTime(L"2008-01-01 10:00");
    return item;
}

CString MeanOf(std::initializer_list<LPCWSTR> scores)
{
    CBoardEntry board;
    int id = 0;
    for (LPCWSTR s : scores)
        board.InsertUnique(MakeItem(++id, s));
    CXmlElement element(nullptr, L"BD");
    board.ToXml(&element);
    return element.GetAttribute(L"M");
}

} // namespace

TEST(Board, MeanScoreIsRoundedUp)
{
    EXPECT_STREQ(L"5", MeanOf({L"4", L"5"}));
    EXPECT_STREQ(L"3", MeanOf({L"3", L"3"}));
    EXPECT_STREQ(L"3", MeanOf({}));
    EXPECT_STREQ(L"1", MeanOf({L"x", L"1"}));
}

TEST(Board, ItemsIdsPinsAndHeadline)
{
    CBoardEntry board;
    board.InsertUnique(MakeItem(3, L"3", BOARD_ITEM_NEW, L"first"));
    board.InsertUnique(MakeItem(9, L"3", BOARD_ITEM_PINNED, L"pinned"));
    board.InsertUnique(MakeItem(4, L"3", BOARD_ITEM_PINNED | BOARD_ITEM_NEW, L"newer pin"));
    board.InsertUnique(MakeItem(3, L"3", 0, L"duplicate"));
    EXPECT_EQ(3, board.GetItemCount());
    EXPECT_EQ(10, board.AssignNextId());
    EXPECT_EQ(11, board.AssignNextId());
    CString headline;
    board.GetHeadlineText(headline);
    EXPECT_STREQ(L"newer pin", headline) << "only the last pinned item stays pinned";
    EXPECT_EQ(2, board.GetNewCount());
    EXPECT_EQ(E_INVALIDARG, board.RemoveItem(L"09"));
    EXPECT_EQ(S_OK, board.RemoveItem(L"9"));
    EXPECT_EQ(1, board.SetItemFlags(9, 0));
    EXPECT_EQ(S_OK, board.SetItemFlags(4, 0));
    board.GetHeadlineText(headline);
    EXPECT_STREQ(L"first", headline);
    board.ClearNewFlags();
    EXPECT_EQ(0, board.GetNewCount());

    CBoardEntry one;
    one.SetId(L"HASH");
    one.InsertUnique(MakeItem(1, L"4", 0, L"m"));
    CString text;
    EXPECT_EQ(0, one.ToXmlText(text));
    EXPECT_STREQ(L"<BD H=\"HASH\" M=\"4\">  <IM D=\"1\" T=\"2008-01-01 10:00\" A=\"au\" Y=\"0\" S=\"4\">m</IM></BD>",
                 text);
}

TEST(Board, StoreFileRoundTripKeepsEveryReadableBoard)
{
    ScratchFolder folder;
    CString path = folder.Path(L"board.xml");
    WriteFileBytes(path, "<RT>"
                         "<BD H=\"a\" M=\"4\"><IM D=\"1\" A=\"x\" Y=\"2\" S=\"4\">hello</IM></BD>"
                         "<BD H=\"broken\"/>"
                         "<BD H=\"b\" M=\"3\"><IM D=\"2\" Y=\"1\">one</IM><IM D=\"3\" Y=\"1\">two</IM></BD>"
                         "<BD H=\"a\" M=\"1\"/>"
                         "</RT>");
    CBoardStore store;
    EXPECT_EQ(1, store.Load(path)) << "a bad board is reported";
    EXPECT_EQ(2, store.GetBoardCount()) << "and the boards after it are kept";
    EXPECT_EQ(1, store.GetNewCount(L"a"));
    EXPECT_EQ(2, store.GetItemCount(L"b"));
    EXPECT_EQ(0, store.GetItemCount(L""));
    CBoardEntry b;
    ASSERT_EQ(S_OK, store.FindBoard(L"b", b));
    CBoardItem item;
    b.GetItem(0, item);
    EXPECT_EQ(0, item.m_nFlags & BOARD_ITEM_PINNED) << "the later pinned item unpinned the earlier";
    EXPECT_EQ(4, b.AssignNextId()) << "the counter follows the last item read";

    std::vector<CString> withNew;
    store.GetBoardsWithNew(withNew);
    ASSERT_EQ(1u, withNew.size());
    EXPECT_STREQ(L"a", withNew[0]);
    EXPECT_EQ(1, store.ClearNew(L"a"));
    EXPECT_EQ(0, store.ClearNew(L"zz"));
    EXPECT_EQ(0, store.GetNewCountTotal());

    CBoardStore again;
    EXPECT_EQ(S_OK, again.Load(path)) << "the save wrote every board back";
    EXPECT_EQ(2, again.GetBoardCount());
    EXPECT_EQ(S_OK, again.SaveToFile(folder.Path(L"copy.xml")));
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(folder.Path(L"copy.xml")));
    std::string text = ReadFileBytes(path);
    EXPECT_EQ(0u, text.find("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<RT>\r\n  <BD H=\"a\" M=\"4\">\r\n"
                            "    <IM D=\"1\" T=\"\" A=\"x\" Y=\"0\" S=\"4\">hello</IM>\r\n  </BD>\r\n"));
}

TEST(Board, StoreEditsAndFiles)
{
    ScratchFolder folder;
    CBoardStore store;
    EXPECT_EQ(1, store.Save()) << "no path yet";
    EXPECT_EQ(E_INVALIDARG, store.Load(folder.Path(L"missing.xml")));
    CString path = folder.Path(L"lib\\private\\me\\board.xml");
    ASSERT_EQ(S_OK, store.CreateEmptyFile(path));
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<RT/>\r\n", ReadFileBytes(path));
    ASSERT_EQ(S_OK, store.Load(path));

    CBoardEntry board;
    board.SetId(L"h");
    board.InsertUnique(MakeItem(1, L"5", BOARD_ITEM_NEW));
    EXPECT_EQ(S_OK, store.AddBoard(board));
    EXPECT_EQ(1, store.AddBoard(board));
    CBoardEntry other;
    other.SetId(L"nope");
    EXPECT_EQ(1, store.UpdateBoard(other));
    EXPECT_EQ(E_INVALIDARG, store.FindBoard(L"nope", other));
    CString headline;
    EXPECT_EQ(E_INVALIDARG, store.GetHeadline(L"nope", headline));
    board.InsertUnique(MakeItem(2));
    EXPECT_EQ(S_OK, store.UpdateBoard(board));
    CBoardStore reread;
    ASSERT_EQ(S_OK, reread.Load(path));
    EXPECT_EQ(2, reread.GetItemCount(L"h"));
    EXPECT_EQ(1, reread.GetNewCountTotal());
    EXPECT_EQ(E_INVALIDARG, store.CreateEmptyFile(L"b"));
}
