// Clients against the stand-in service: the main window of client A runs in
// this program on the real messaging library; buddies B and C are messaging
// clients in processes of their own (VosselProbe.exe). A sees B come online,
// go away, change its profile and go offline; B sees A's presence; A adds C,
// C accepts, and A removes C again; the service's system message reaches A.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgMessage.h"
#include "FormPost.h"
#include "LanguageTable.h"
#include "MainWindowRun.h"
#include "ProbeProcess.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "Vossel.h"

namespace
{
std::vector<std::wstring> g_popups;

void RecordPopup(const CString& text, const CString&, const CString&)
{
    g_popups.push_back(W(text));
}

CFriendItem Row(CDlgMain& main, LPCWSTR id)
{
    CFriendItem* row = main.LeftBar().GetItem(main.LeftBar().FindItem(id));
    return row ? *row : CFriendItem();
}

bool HasRow(CDlgMain& main, LPCWSTR id)
{
    return main.LeftBar().FindItem(id) >= 0;
}
} // namespace

TEST(BuddyClients, PresenceProfilesAddingAndRemovingBetweenClients)
{
    ServiceProcess service;
    ASSERT_TRUE(StartServiceWithAccounts(service, "a@x.com\tpass1\tAnn\tb@x.com\n"
                                                  "b@x.com\tpass2\tBen\ta@x.com\n"
                                                  "c@x.com\tpass3\tCat\n"));
    CDlgMain::s_askUser = &AnswerAskUserOk;
    CDlgMain::s_startPopup = &RecordPopup;
    g_popups.clear();
    const int port = service.Port("messaging");

    MainWindowRun run(L"clients-a");
    run.App().SetUserEmail(L"a@x.com");
    g_pAppSetting->bNotifyOnline = TRUE;
    ProbeProcess b, c;
    ASSERT_TRUE(b.Start(run.Folder() + L"\\music-b"));
    ASSERT_TRUE(c.Start(run.Folder() + L"\\music-c"));
    ASSERT_TRUE(b.LogIn(port, "b@x.com", "pass2pas"));
    ASSERT_TRUE(b.WaitForCode(1, 10000));

    run.Run([&] {
        CDlgMain& main = run.Main();
        // Logging in as the login thread does: the library calls back on its thread.
        LogInThroughMessaging(main.GetSafeHwnd(), port, L"a@x.com", L"pass1pas");

        // B is online already: A's list shows it in the online group, with its profile.
        ASSERT_TRUE(run.WaitUntil([&] { return Row(main, L"b@x.com").kind == 2 && Row(main, L"b@x.com").nick == L"Ben"; },
                                  20000));
        // B goes away, then changes its profile.
        ASSERT_TRUE(b.Push(24, {}, 1));
        EXPECT_TRUE(run.WaitUntil([&] { return Row(main, L"b@x.com").presence == 1; }, 10000));
        ASSERT_TRUE(b.Push(22, {"", "Benny", "0", "\xE4\xBD\xA0\xE5\xA5\xBD", "", "", "", "1"}, 20));
        EXPECT_TRUE(run.WaitUntil(
            [&] { return Row(main, L"b@x.com").nick == L"Benny" && Row(main, L"b@x.com").signature == L"你好"; }, 10000));
        // B sees A's presence change.
        size_t seen = b.Count();
        run.OnWindowThread([&] { main.SetMyPresence(2); });
        EXPECT_TRUE(b.WaitFor([](const ProbeRecord& r) { return r.code == 6 && r.S(1) == "a@x.com" && r.extra == 2; },
                              10000, nullptr, seen));
        run.OnWindowThread([&] { main.SetMyPresence(0); });
        // B leaves: offline in A's list.
        ASSERT_TRUE(b.Run({"release"}));
        EXPECT_TRUE(run.WaitUntil([&] { return Row(main, L"b@x.com").kind == 3; }, 10000));

        // The service's system message reaches A as a pop-up.
        DWORD status = 0;
        EXPECT_TRUE(PostForm(L"127.0.0.1", service.Port("web"), L"/test/messaging/send",
                             CStringA("to=a@x.com&code=36&s4=maintenance"), &status));
        EXPECT_TRUE(run.WaitUntil(
            [&] { return !g_popups.empty() && g_popups.back() == W(Lang(L"INFO_MAIN_DLG_SYSTEM_MESSAGE") + L"maintenance"); },
            10000));

        // A adds C; C is asked and accepts.
        ASSERT_TRUE(c.LogIn(port, "c@x.com", "pass3pas"));
        ASSERT_TRUE(c.WaitForCode(1, 10000));
        run.OnWindowThread([&] { main.AddBuddyByAddress(L"x&c@x.com"); });
        EXPECT_TRUE(run.WaitUntil([&] { return HasRow(main, L"c@x.com"); }, 5000));
        ProbeRecord asked;
        ASSERT_TRUE(c.WaitForCode(2, 10000, &asked));
        EXPECT_EQ("a@x.com", asked.S(1));
        seen = c.Count();
        ASSERT_TRUE(c.Run({"accept", "a@x.com", "1"}));
        // A learns of the answer and tells its presence, which now reaches C.
        EXPECT_TRUE(c.WaitFor([](const ProbeRecord& r) { return r.code == 6 && r.S(1) == "a@x.com"; }, 10000, nullptr,
                              seen));
        ASSERT_TRUE(c.Push(24, {}, 0));
        EXPECT_TRUE(run.WaitUntil([&] { return Row(main, L"c@x.com").kind == 2; }, 10000));

        // A removes C: C sees A go offline, A's row is gone.
        seen = c.Count();
        run.OnWindowThread([&] {
            main.m_strShownOwner = L"c@x.com";
            main.RemoveSelectedBuddy();
            EXPECT_FALSE(HasRow(main, L"c@x.com"));
        });
        EXPECT_TRUE(c.WaitFor([](const ProbeRecord& r) { return r.code == 6 && r.S(1) == "a@x.com" && r.extra == 3; },
                              10000, nullptr, seen));
        CaptureWindowPicture(main.GetSafeHwnd(), L"main-window-clients.png");
        yebJinRelease(1);
    });
    CDlgMain::s_startPopup = NULL;
    CServiceAddresses::Get().Reset();
}
