// Boards between clients through the stand-in service: the main window of
// client A runs here on the real messaging library, buddy B is a messaging
// client of its own (VosselProbe.exe). A opens B's board: B is asked for it
// and answers with its board, which A's window shows at its wait tick; A's
// post reaches B as a board message. B's post on A's own board reaches A's
// store and A's open board.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "Board.h"
#include "LanguageTable.h"
#include "MainWindowRun.h"
#include "ProbeProcess.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "Vossel.h"

namespace
{
const char kKeyA[] = "AAAA456789ABCDEF0123456789ABCDEF";
const char kKeyB[] = "BBBB456789ABCDEF0123456789ABCDEF";

CString BoardText(CBoard* board)
{
    CString text;
    if (board && board->GetView().GetSafeHwnd())
        board->GetView().GetWindowText(text);
    return text;
}
} // namespace

TEST(BoardClients, PostsReachTheOwnerAndTheOwnersBoardReachesTheViewer)
{
    ServiceProcess service;
    ASSERT_TRUE(StartServiceWithAccounts(service, kAnnAndBenAccounts));
    CDlgMain::s_askUser = &AnswerAskUserOk;
    const int port = service.Port("messaging");

    MainWindowRun run(L"board-clients-a");
    run.App().SetUserEmail(L"a@x.com");
    g_pAppSetting->strNick = L"Ann";
    ProbeProcess b;
    ASSERT_TRUE(b.Start(run.Folder() + L"\\music-b"));
    ASSERT_TRUE(b.LogIn(port, "b@x.com", "pass2pas"));
    ASSERT_TRUE(b.WaitForCode(1, 10000));

    run.Run([&] {
        CDlgMain& main = run.Main();
        LogInThroughMessaging(main.GetSafeHwnd(), port, L"a@x.com", L"pass1pas");
        ASSERT_TRUE(run.WaitUntil([&] { return main.LeftBar().FindItem(L"b@x.com") >= 0; }, 20000));

        // A opens the board of B's song: B is asked for it.
        size_t seen = b.Count();
        run.OnWindowThread([&] {
            main.m_strShownOwner = L"b@x.com";
            main.OpenSongBoard(CString(kKeyB), L"B's song");
        });
        ProbeRecord asked;
        ASSERT_TRUE(b.WaitFor([](const ProbeRecord& r) { return r.code == 23 && r.S(4) == "getboard"; }, 10000,
                              &asked, seen));
        EXPECT_EQ(kKeyB, asked.S(3));
        std::string boardXml = std::string("<BD H=\"") + kKeyB +
                               "\" M=\"3\"><IM D=\"1\" T=\"2026-01-01 10:00:00\" A=\"Ben\" Y=\"0\">Ben was here</IM></BD>";
        ASSERT_TRUE(b.Push(41, {"a@x.com", "", kKeyB, "", boardXml}));
        // Shown at the wait timer's tick after it came.
        EXPECT_TRUE(run.WaitUntil(
            [&] {
                CBoard* board = main.FindOpenBoard(CString(kKeyB));
                return board && board->GetView().IsWindowVisible() && BoardText(board).Find(L"Ben was here") >= 0;
            },
            10000));

        // A posts on B's board: B gets the message.
        seen = b.Count();
        run.OnWindowThread([&] {
            CBoard* board = main.FindOpenBoard(CString(kKeyB));
            ASSERT_TRUE(board);
            board->m_input.SetWindowText(L"Ann says hi");
            board->OnPost();
        });
        ProbeRecord post;
        ASSERT_TRUE(b.WaitForCode(42, 10000, &post, seen));
        EXPECT_EQ("a@x.com", post.S(1));
        EXPECT_EQ("Ann", post.S(2));
        EXPECT_EQ(kKeyB, post.S(3));
        EXPECT_EQ("Ann says hi", post.S(4));
        run.OnWindowThread([&] { EXPECT_GE(BoardText(main.FindOpenBoard(CString(kKeyB))).Find(L"Ann says hi"), 0); });

        // A's own board is open; B writes on it.
        run.OnWindowThread([&] {
            main.m_strShownOwner = L"a@x.com";
            main.OpenSongBoard(CString(kKeyA), L"A's song");
        });
        ASSERT_TRUE(b.Push(42, {"a@x.com", "Ben", kKeyA, "nice song", "2026-01-01 11:00:00", "", "", "0"}));
        EXPECT_TRUE(run.WaitUntil([&] { return BoardText(main.FindOpenBoard(CString(kKeyA))).Find(L"nice song") >= 0; },
                                  10000));
        run.OnWindowThread([&] {
            CBoardEntry stored;
            ASSERT_EQ(S_OK, main.m_boardStore.FindBoard(CString(kKeyA), stored));
            ASSERT_EQ(1, stored.GetItemCount());
            CBoardItem item;
            stored.GetItem(0, item);
            EXPECT_EQ(L"Ben", W(item.GetAuthor()));
            EXPECT_TRUE(item.GetFlags() & BOARD_ITEM_NEW);
            CaptureWindowPicture(main.FindOpenBoard(CString(kKeyA))->GetSafeHwnd(), L"board-clients-own.png");
            // Closing forgets the window.
            main.FindOpenBoard(CString(kKeyA))->SendMessage(WM_COMMAND, IDCANCEL, 0);
            EXPECT_EQ(nullptr, main.FindOpenBoard(CString(kKeyA)));
        });
    });
}
