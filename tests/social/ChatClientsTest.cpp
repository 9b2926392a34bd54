// Two clients chat through the stand-in service: the main window of A runs
// in this program on the real messaging library, B is a messaging client in
// a process of its own (VosselProbe.exe). B's line opens A's chat window
// minimised and flashing; A types Chinese text and presses Enter, and B
// receives it. A pop-up's click opens the chat in front.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "MainWindowRun.h"
#include "ProbeProcess.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "Vossel.h"

namespace
{
void NoPopup(const CString&, const CString&, const CString&)
{
}

CString NoAdList()
{
    return CString();
}

CDlgInstantMessaging* ChatWith(CDlgMain& main, LPCWSTR id)
{
    auto found = main.m_chatWindows.find(id);
    return found == main.m_chatWindows.end() ? nullptr : found->second;
}

CString HistoryOf(CDlgInstantMessaging* chat)
{
    CString text;
    if (chat)
        chat->GetHistoryBox().GetWindowText(text);
    return text;
}
} // namespace

TEST(ChatClients, ALineFromOneClientOpensTheChatOfTheOtherAndTheAnswerGoesBack)
{
    ServiceProcess service;
    ASSERT_TRUE(StartServiceWithAccounts(service, kAnnAndBenAccounts));
    CDlgMain::s_askUser = &AnswerAskUserOk;
    CDlgMain::s_startPopup = &NoPopup;
    CDlgInstantMessaging::s_adAddress = &NoAdList;
    const int port = service.Port("messaging");

    MainWindowRun run(L"chat-a");
    run.App().SetUserEmail(L"a@x.com");
    ProbeProcess b;
    ASSERT_TRUE(b.Start(run.Folder() + L"\\music-b"));
    ASSERT_TRUE(b.LogIn(port, "b@x.com", "pass2pas"));
    ASSERT_TRUE(b.WaitForCode(1, 10000));

    run.Run([&] {
        CDlgMain& main = run.Main();
        LogInThroughMessaging(main.GetSafeHwnd(), port, L"a@x.com", L"pass1pas");
        ASSERT_TRUE(run.WaitUntil(
            [&] {
                CFriendItem* row = main.LeftBar().GetItem(main.LeftBar().FindItem(L"b@x.com"));
                return row && row->kind == 2 && row->nick == L"Ben";
            },
            20000));

        // B writes first: A's window opens minimised with B's line.
        ASSERT_TRUE(b.Run({"msg", "a@x.com", "\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8C" "Ann"})); // 你好，Ann
        ASSERT_TRUE(run.WaitUntil([&] { return ChatWith(main, L"b@x.com") != nullptr; }, 10000));
        run.OnWindowThread([&] {
            CDlgInstantMessaging* chat = ChatWith(main, L"b@x.com");
            EXPECT_TRUE(chat->IsIconic());
            CString history = HistoryOf(chat);
            EXPECT_GE(history.Find(L"Ben  "), 0) << W(history);
            EXPECT_GT(history.Find(L"你好，Ann"), history.Find(L"Ben  "));
        });

        // A answers in Chinese with Enter; B receives the line from A.
        size_t seen = b.Count();
        run.OnWindowThread([&] {
            CDlgInstantMessaging* chat = ChatWith(main, L"b@x.com");
            chat->ShowWindow(SW_RESTORE);
            chat->GetInputBox().SetSel(-1, -1);
            chat->GetInputBox().ReplaceSel(L"在的，一起听歌吧");
            chat->GetInputBox().SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        });
        ProbeRecord line;
        ASSERT_TRUE(b.WaitFor([](const ProbeRecord& r) { return r.code == 8; }, 10000, &line, seen));
        EXPECT_EQ("a@x.com", line.S(1));
        EXPECT_EQ("\xE5\x9C\xA8\xE7\x9A\x84\xEF\xBC\x8C\xE4\xB8\x80\xE8\xB5\xB7\xE5\x90\xAC\xE6\xAD\x8C\xE5\x90\xA7",
                  line.S(4));

        // A second line from B goes into the same window.
        ASSERT_TRUE(b.Run({"msg", "a@x.com", "\xE5\xA5\xBD\xE5\x95\x8A"})); // 好啊
        EXPECT_TRUE(run.WaitUntil([&] { return HistoryOf(ChatWith(main, L"b@x.com")).Find(L"好啊") >= 0; }, 10000));
        run.OnWindowThread([&] {
            CDlgInstantMessaging* chat = ChatWith(main, L"b@x.com");
            EXPECT_EQ(1u, main.m_chatWindows.size());
            CString history = HistoryOf(chat);
            // The own nick came with the login's own profile.
            EXPECT_GE(history.Find(L"Ann  "), 0) << W(history);
            CaptureWindowPicture(chat->GetSafeHwnd(), L"chat-two-clients.png");

            // Somebody who is not a buddy opens nothing.
            main.OpenChatWindow(L"z@x.com", L"hi");
            EXPECT_EQ(nullptr, ChatWith(main, L"z@x.com"));

            // Closed, then asked for by a pop-up's click: a new window in front.
            chat->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT_EQ(nullptr, ChatWith(main, L"b@x.com"));
            main.SendMessage(WM_USER + 44, 1, (LPARAM) new CString(L"b@x.com"));
            CDlgInstantMessaging* again = ChatWith(main, L"b@x.com");
            ASSERT_NE(nullptr, again);
            EXPECT_TRUE(again->IsWindowVisible());
            EXPECT_FALSE(again->IsIconic());
            EXPECT_EQ(0, again->GetHistoryBox().GetTextLength());
        });
        yebJinRelease(1);
    });
    CDlgMain::s_startPopup = NULL;
    CServiceAddresses::Get().Reset();
}
