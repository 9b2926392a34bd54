// The main window's dispatch of received commands, code by code: a record
// in, the visible effect out (rows, presence, the status line, questions and
// pop-ups asked for, replies sent), against a recording messaging library.
// Hostile records change nothing and every record is freed.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "MainWindowRun.h"
#include "RecordingMessaging.h"
#include "Base64Codec.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "SongLibrary.h"

#include <atomic>

namespace
{
std::atomic<int> g_freed(0);

// A record that counts its own destruction.
struct TrackedRecord : CommandData
{
    ~TrackedRecord() override { ++g_freed; }
};

CommandData* Tracked(int code, std::initializer_list<const wchar_t*> slots, int extra = 0)
{
    return MakeRecord(code, slots, extra, new TrackedRecord);
}

struct Asked
{
    std::wstring text, second;
    int buttons;
};
std::vector<Asked> g_asked;
int g_answer = IDOK;
std::vector<std::wstring> g_popups;

int RecordQuestion(LPCWSTR text, int buttons, LPCWSTR second, int, CWnd*)
{
    g_asked.push_back({text ? text : L"", second ? second : L"", buttons});
    return g_answer;
}

void RecordPopup(const CString& text, const CString&, const CString&)
{
    g_popups.push_back(W(text));
}

// Every row as "id:presence:kind:nick:total/new:state:flags", in order.
std::wstring Rows(CDlgMain& main)
{
    std::wstring rows;
    CListFriendCtrl& bar = main.LeftBar();
    for (int i = 0; i < bar.GetItemCount(); ++i)
    {
        CFriendItem* r = bar.GetItem(i);
        wchar_t line[512];
        swprintf(line, 512, L"%ls:%d:%d:%ls:%d/%d:%d:%d:%ls|", (LPCWSTR)r->id, r->presence, r->kind, (LPCWSTR)r->nick,
                 r->totalSongs, r->newSongs, r->state, r->flags, (LPCWSTR)r->listen2);
        rows += line;
    }
    return rows;
}

CFriendItem Row(CDlgMain& main, LPCWSTR id)
{
    CFriendItem* row = main.LeftBar().GetItem(main.LeftBar().FindItem(id));
    return row ? *row : CFriendItem();
}

class MainWindowDispatch : public ::testing::Test
{
  protected:
    ServiceProcess service;
    void SetUp() override
    {
        ASSERT_TRUE(service.Start()); // the user-id lookups of the login go here
        CServiceAddresses::Get().Load(service.ClientIniPath().c_str());
        CDlgMain::s_askUser = &RecordQuestion;
        CDlgMain::s_startPopup = &RecordPopup;
        g_asked.clear();
        g_popups.clear();
        g_answer = IDOK;
    }
    void TearDown() override
    {
        CDlgMain::s_startPopup = NULL;
        CServiceAddresses::Get().Reset();
    }
};
} // namespace

TEST_F(MainWindowDispatch, EveryCodeReachesItsHandler)
{
    MainWindowRun run(L"dispatch");
    run.App().SetUserEmail(L"me@x.com");
    g_pAppSetting->bNotifyOnline = TRUE;
    RecordingMessaging messaging;
    int delivered = 0;
    auto deliver = [&](CommandData* record) {
        ++delivered;
        run.Deliver(record);
    };
    run.Run([&] {
        // The roster, then login complete: the left bar is built from it.
        for (LPCWSTR buddy : {L"ann@x.com", L"bob@x.com", L"cat@x.com"})
            deliver(Tracked(26, {buddy}));
        deliver(Tracked(1, {}));
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            EXPECT_EQ(10, main.LeftBar().GetItemCount());
            EXPECT_EQ(main.LeftBar().FindItem(L"home"), main.LeftBar().GetCurSel());
            EXPECT_EQ(W(L"me@x.com"), W(main.LeftBar().GetItem(0)->id));
            for (LPCWSTR buddy : {L"ann@x.com", L"bob@x.com", L"cat@x.com"})
                EXPECT_EQ(3, Row(main, buddy).kind) << W(buddy) << " starts offline";
        });
        EXPECT_EQ((std::vector<CString>{L"me@x.com", L"ann@x.com", L"bob@x.com", L"cat@x.com"}),
                  messaging.PushedTo(21));
        EXPECT_EQ(3u, messaging.PushedTo(38).size());

        // Code by code.
        struct Step
        {
            const char* what;
            CommandData* record;
            std::function<void(CDlgMain&)> check;
        };
        std::vector<Step> steps = {
            {"6: a buddy comes online, live", Tracked(6, {L"ann@x.com", L"", L"", L"0"}, 0),
             [&](CDlgMain& m) {
                 EXPECT_EQ(2, Row(m, L"ann@x.com").kind);
                 EXPECT_EQ(0, Row(m, L"ann@x.com").presence);
                 ASSERT_EQ(1u, g_popups.size()); // the online pop-up
                 EXPECT_NE(std::wstring::npos, g_popups[0].find(L"ann@x.com"));
                 EXPECT_EQ(CString(L"ann@x.com"), messaging.PushedTo(38).back());
             }},
            {"6: extra 7 is busy", Tracked(6, {L"bob@x.com", L"", L"", L"1"}, 7),
             [&](CDlgMain& m) {
                 EXPECT_EQ(2, Row(m, L"bob@x.com").presence);
                 EXPECT_EQ(1u, g_popups.size()) << "no pop-up for a change that is not live";
             }},
            {"11: what a buddy plays", Tracked(11, {L"ann@x.com", L"Song", L"hash", L"Artist", L"ann@x.com", L"", L"",
                                                     L"id1"}),
             [&](CDlgMain& m) {
                 EXPECT_EQ(1, Row(m, L"ann@x.com").listening);
                 EXPECT_EQ(W(L"Song"), W(Row(m, L"ann@x.com").listen2));
             }},
            {"21: a buddy's profile", Tracked(21, {L"bob@x.com", L"鲍勃", L"0", L"签名", L"a0$0b", L"", L"", L"1"}),
             [&](CDlgMain& m) {
                 EXPECT_EQ(W(L"鲍勃"), W(Row(m, L"bob@x.com").nick));
                 EXPECT_EQ(W(L"签名"), W(Row(m, L"bob@x.com").signature));
                 EXPECT_EQ(1, Row(m, L"bob@x.com").profileFlags);
             }},
            {"21: the own profile", Tracked(21, {L"me@x.com", L"我", L"2", L"my sign", L"first0$0second", L"", L"",
                                                 L"40"}, 30),
             [&](CDlgMain& m) {
                 EXPECT_EQ(W(L"我"), W(g_pAppSetting->strNick));
                 EXPECT_EQ(W(L"second"), W(g_pAppSetting->strRegion));
                 EXPECT_EQ(30, g_pAppSetting->nAge);
                 EXPECT_EQ(0, (int)g_pAppSetting->wPrivacy); // 40 & 3, pushed back as code 22
                 ASSERT_EQ(1u, messaging.Pushed(22).size());
                 EXPECT_EQ(CString(L"0"), messaging.Pushed(22)[0].s[7]);
                 CString status;
                 m.m_btnNick.GetWindowText(status);
                 EXPECT_EQ(W(CString(L"我") + Lang(L"CONST_MAIN_ONLINE")), W(status));
             }},
            {"23 UpdatePlaylist: counts and the new-songs mark", Tracked(23, {L"bob@x.com", L"", L"12", L"UpdatePlaylist",
                                                                              L"-1"}),
             [&](CDlgMain& m) {
                 EXPECT_EQ(12, Row(m, L"bob@x.com").totalSongs);
                 EXPECT_EQ(0, Row(m, L"bob@x.com").newSongs);
                 EXPECT_EQ(1, Row(m, L"bob@x.com").state);
             }},
            {"23 gettotal: the song count goes back", Tracked(23, {L"cat@x.com", L"", L"", L"gettotal"}),
             [&](CDlgMain&) { EXPECT_EQ(CString(L"cat@x.com"), messaging.PushedTo(38).back()); }},
            {"23 getboard: an unknown board is answered empty", Tracked(23, {L"cat@x.com", L"", L"H1", L"getboard"}),
             [&](CDlgMain&) {
                 ASSERT_EQ(1u, messaging.Pushed(41).size());
                 EXPECT_EQ(CString(L"H1"), messaging.Pushed(41)[0].s[2]);
                 EXPECT_TRUE(messaging.Pushed(41)[0].s[4].IsEmpty());
             }},
            {"23 VCard: nothing", Tracked(23, {L"ann@x.com", L"", L"", L"VCard"}), nullptr},
            {"36: a system message", Tracked(36, {L"", L"", L"", L"维护通知"}),
             [&](CDlgMain&) {
                 EXPECT_EQ(W(Lang(L"INFO_MAIN_DLG_SYSTEM_MESSAGE") + L"维护通知"), g_popups.back());
             }},
            {"37: the buddy list asked for", Tracked(37, {L"ann@x.com"}),
             [&](CDlgMain&) {
                 ASSERT_EQ(1u, messaging.Pushed(32).size());
                 EXPECT_EQ(CString(L"1"), messaging.Pushed(32)[0].s[3]);
                 EXPECT_NE(-1, messaging.Pushed(32)[0].s[4].Find(L"email--bob@x.com")); // profile flags bit 0
                 EXPECT_EQ(-1, messaging.Pushed(32)[0].s[4].Find(L"email--ann@x.com"));
             }},
            {"43: a board notice marks the buddy", Tracked(43, {L"cat@x.com", L"", L"H2", L"<BD/>"}),
             [&](CDlgMain& m) {
                 EXPECT_TRUE(Row(m, L"cat@x.com").flags & FRIEND_FLAG_BOARD_UNREAD);
                 EXPECT_EQ(1u, m.m_unreadBoards[L"cat@x.com"].size());
             }},
            {"45: library progress", Tracked(45, {L"ann@x.com", L"", L"", L"", L"0.42"}),
             [&](CDlgMain& m) { EXPECT_EQ(42, m.m_libraryProgress[L"ann@x.com"]); }},
            {"3: a request answered", Tracked(3, {L"ann@x.com", L"", L"", L"1"}),
             [&](CDlgMain&) {
                 ASSERT_FALSE(messaging.calls.empty());
                 EXPECT_EQ(1u, messaging.Pushed(24).size());
             }},
            {"25 unavailable_service", Tracked(25, {L"", L"", L"", L"unavailable_service"}),
             [&](CDlgMain&) { EXPECT_EQ(W(Lang(L"INFO_UNAVAILABLE_SERVICE")), g_asked.back().text); }},
            {"25 ERROR_XML", Tracked(25, {L"", L"", L"", L"ERROR_XML"}),
             [&](CDlgMain&) { EXPECT_EQ(W(Lang(L"INFO_ERROR_XML")), g_asked.back().text); }},
            {"25 ServerBusy", Tracked(25, {L"", L"", L"", L"ServerBusy"}),
             [&](CDlgMain&) { EXPECT_EQ(W(Lang(L"INFO_SERVER_BUSY")), g_asked.back().text); }},
            {"25 C2C_TIMEOUT of a song that does not play", Tracked(25, {L"", L"", L"", L"C2C_TIMEOUT", L"other"}),
             nullptr},
            {"25 UNAUTHORIZED after the login", Tracked(25, {L"", L"", L"", L"UNAUTHORIZED"}), nullptr},
            {"6: a buddy goes offline", Tracked(6, {L"ann@x.com", L"", L"", L"0"}, 3),
             [&](CDlgMain& m) {
                 EXPECT_EQ(3, Row(m, L"ann@x.com").kind);
                 EXPECT_EQ(0, Row(m, L"ann@x.com").listening);
             }},
        };
        for (Step& step : steps)
        {
            SCOPED_TRACE(step.what);
            size_t asked = g_asked.size(), calls = messaging.calls.size();
            std::wstring before;
            run.OnWindowThread([&] { before = Rows(run.Main()); });
            deliver(step.record);
            if (step.check)
                run.OnWindowThread([&] { step.check(run.Main()); });
            else
            {
                run.OnWindowThread([&] { EXPECT_EQ(before, Rows(run.Main())); });
                EXPECT_EQ(asked, g_asked.size());
                EXPECT_EQ(calls, messaging.calls.size());
            }
        }
        run.OnWindowThread([&] { CaptureWindowPicture(run.Main().GetSafeHwnd(), L"main-window-buddies.png"); });
    });
    EXPECT_EQ(delivered, g_freed.load()) << "every record is freed once";
}

TEST_F(MainWindowDispatch, BuddyRequestsAreAskedAndAnswered)
{
    MainWindowRun run(L"requests");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    run.Run([&] {
        run.SignIn({});
        g_answer = IDCANCEL;
        run.Deliver(MakeRecord(2, {L"eve@x.com"}));
        ASSERT_EQ(1u, g_asked.size());
        EXPECT_EQ(CDlgMessage::BUTTONS_OK_CANCEL, g_asked[0].buttons);
        EXPECT_NE(std::wstring::npos, g_asked[0].text.find(L"eve@x.com"));
        EXPECT_EQ(W(Lang(L"INFO_MAIN_DLG_RECEIVE_ADD_FRIEND_COMMEND2")), g_asked[0].second);
        ASSERT_FALSE(messaging.calls.empty());
        EXPECT_EQ("reject", messaging.calls.back().what);
        run.OnWindowThread([&] { EXPECT_EQ(-1, run.Main().LeftBar().FindItem(L"eve@x.com")); });

        g_answer = IDOK;
        run.Deliver(MakeRecord(2, {L"dan@x.com", L"again"}));
        CString format = Lang(L"INFO_MAIN_DLG_RECEIVE_ADD_FRIEND2");
        CString expected;
        expected.Format(format, L"dan@x.com");
        EXPECT_EQ(W(expected), g_asked.back().text); // the second wording
        EXPECT_EQ("accept", messaging.calls.back().what);
        EXPECT_EQ(1, messaging.calls.back().flag);
        EXPECT_EQ(CString(L"dan@x.com"), messaging.PushedTo(21).back());
        run.OnWindowThread([&] {
            CFriendItem dan = Row(run.Main(), L"dan@x.com");
            EXPECT_EQ(3, dan.kind);
            EXPECT_EQ(1, dan.subOrder);
            EXPECT_EQ(6, dan.flags);
        });
    });
}

TEST_F(MainWindowDispatch, HostileRecordsChangeNothingAndAreFreed)
{
    MainWindowRun run(L"hostile");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    g_freed = 0;
    int delivered = 0;
    run.Run([&] {
        run.SignIn({L"ann@x.com"});
        run.Deliver(MakeRecord(6, {L"ann@x.com"}, 0));
        std::wstring before;
        run.OnWindowThread([&] { before = Rows(run.Main()); });
        size_t calls = messaging.calls.size(), popups = g_popups.size();
        std::wstring huge(300 * 1024, L'x');
        std::wstring longId = std::wstring(300, L'a') + L"@x.com";
        CommandData* records[] = {
            Tracked(0, {L"ann@x.com"}),
            Tracked(46, {L"ann@x.com"}, 3),
            Tracked(-1, {}),
            Tracked(4, {L"ann@x.com"}),
            Tracked(1000, {L"ann@x.com"}),
            Tracked(6, {L""}, 3),
            Tracked(6, {longId.c_str()}, 3),
            Tracked(6, {L"..\\..\\ann@x.com"}, 3),
            Tracked(6, {L"ann@x.com", huge.c_str()}, 3),
            Tracked(21, {L"../x", L"nick"}),
            Tracked(23, {L"ann@x.com", L"", L"5", L"UpdatePlaylist", huge.c_str()}),
            Tracked(23, {L"ann@x.com", L"", L"", L""}),
            Tracked(43, {L"ann@x.com", L"", L"", L"<BD/>"}),
            Tracked(26, {L"bad id"}),
            Tracked(2, {L"<b>@x"}),
        };
        for (CommandData* record : records)
        {
            ++delivered;
            run.Deliver(record);
        }
        run.OnWindowThread([&] {
            EXPECT_EQ(before, Rows(run.Main()));
            EXPECT_TRUE(run.Main().m_unreadBoards.empty());
        });
        EXPECT_EQ(calls, messaging.calls.size());
        EXPECT_EQ(popups, g_popups.size());
        EXPECT_TRUE(g_asked.empty());
        // The messaging library's thread hands its record to the callback,
        // which posts a copy; the library's record stays the library's.
        CommandData offline;
        MakeRecord(6, {L"ann@x.com", L"", L"", L"0"}, 3, &offline);
        CDlgMain::OnMessagingCommand(&offline);
        EXPECT_TRUE(run.WaitUntil([&] { return Row(run.Main(), L"ann@x.com").presence == 3; }, 10000));
        // Records still queued when the window goes are freed with it.
        run.OnWindowThread([&] {
            for (int i = 0; i < 3; ++i, ++delivered)
                run.Main().PostMessage(WM_MAIN_COMMAND, 6, (LPARAM)Tracked(6, {L"ann@x.com"}, 0));
            run.Main().EndDialog(IDCANCEL);
        });
    });
    EXPECT_EQ(delivered, g_freed.load());
    // No main window: the callback copies nothing and posts nothing.
    CommandData late;
    MakeRecord(6, {L"ann@x.com"}, 0, &late);
    CDlgMain::OnMessagingCommand(&late);
}

TEST_F(MainWindowDispatch, BuddiesAreAddedRemovedAndRecommended)
{
    ASSERT_TRUE(service.WriteDataFile("users.txt", "zed@x.com\t30001\n"));
    ASSERT_TRUE(service.WriteDataFile("accounts.txt", "zed@x.com\tpw\tZed\n"));
    MainWindowRun run(L"buddies");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    run.Run([&] {
        CDlgMain& main = run.Main();
        run.SignIn({L"ann@x.com", L"bob@x.com"});

        // Adding from a page: the checks, then the buddy.
        const struct
        {
            LPCWSTR argument, message;
        } refused[] = {{L"no-separator", L"INFO_ADDFRIEND_ERROR"},
                       {L"x&me@x.com", L"INFO_ADDFRIEND_MYSELF"},
                       {L"x&ann@x.com", L"INFO_ADDFRIEND_EXIST"},
                       {L"x&..\\evil@x.com", L"INFO_ADDFRIEND_ERROR"}};
        size_t before = messaging.calls.size();
        for (const auto& c : refused)
        {
            run.OnWindowThread([&] { main.AddBuddyByAddress(c.argument); });
            ASSERT_FALSE(g_asked.empty());
            EXPECT_EQ(W(Lang(c.message)), g_asked.back().text) << W(c.argument);
        }
        EXPECT_EQ(before, messaging.calls.size()) << "nothing is sent for a refused address";
        run.OnWindowThread([&] { main.AddBuddyByAddress(L"x&dan@x.com"); });
        EXPECT_EQ("addFriend", messaging.calls[messaging.calls.size() - 2].what);
        EXPECT_EQ(CString(L"dan@x.com"), messaging.PushedTo(21).back());
        run.OnWindowThread([&] {
            EXPECT_EQ(3, Row(main, L"dan@x.com").kind);
            EXPECT_EQ(W(L"list\\portrait1.bmp"), W(Row(main, L"dan@x.com").avatarPath.Right(18)));
        });
        // Adding by user id: the service names the user.
        run.OnWindowThread([&] { main.AddBuddyByUserId(L"30001&x"); });
        run.OnWindowThread([&] { EXPECT_FALSE(main.LeftBar().FindItem(L"zed@x.com") >= 0); });
        run.OnWindowThread([&] { main.AddBuddyByUserId(L"30001"); });
        run.OnWindowThread([&] { EXPECT_TRUE(main.LeftBar().FindItem(L"zed@x.com") >= 0); });

        // Removing: never the buddy whose song plays; the last row gives the new last row.
        size_t asked = g_asked.size();
        run.OnWindowThread([&] {
            main.m_strShownOwner = main.m_strPlayingOwner = L"ann@x.com";
            main.RemoveSelectedBuddy();
            EXPECT_TRUE(main.LeftBar().FindItem(L"ann@x.com") >= 0);
            main.m_strPlayingOwner.Empty();
        });
        EXPECT_EQ(asked, g_asked.size()) << "no question for the playing buddy";
        g_answer = IDCANCEL;
        run.OnWindowThread([&] {
            main.m_strShownOwner = L"bob@x.com";
            main.RemoveSelectedBuddy();
            EXPECT_TRUE(main.LeftBar().FindItem(L"bob@x.com") >= 0);
        });
        g_answer = IDOK;
        run.OnWindowThread([&] {
            CListFriendCtrl& bar = main.LeftBar();
            int last = bar.GetItemCount() - 1;
            main.m_strShownOwner = bar.GetItem(last)->id;
            CString removed = main.m_strShownOwner;
            main.RemoveSelectedBuddy();
            EXPECT_EQ(-1, bar.FindItem(removed));
            EXPECT_EQ(last - 1, bar.GetCurSel());
            EXPECT_EQ(W(bar.GetItem(last - 1)->id), W(main.m_strShownOwner));
        });
        EXPECT_EQ(W(Lang(L"INFO_MAIN_DLG_DEL_BUDDY_TIP")), g_asked.back().text);
        EXPECT_EQ("delFriend", messaging.calls.back().what);

        // A recommendation pushed from a page: the buddies found in the list.
        run.OnWindowThread([&] { main.PushBuddyRecommendation(L"&ann@x.com&&bob@x.com&nobody@x.com"); });
        ASSERT_EQ(1u, messaging.Pushed(32).size());
        RecordedCall recommendation = messaging.Pushed(32)[0];
        EXPECT_EQ(CString(L"ann@x.com"), recommendation.s[0]);
        EXPECT_EQ(0, recommendation.s[4].Find(L"&var1=nick--bob@x.com++img--"));
        EXPECT_NE(-1, recommendation.s[4].Find(L"/avatar/bob@x.com.jpg"));
        EXPECT_EQ(-1, recommendation.s[4].Find(L"nobody"));
        EXPECT_EQ(W(Lang(L"INFO_URL_RECOMMEND_BUDDY_TIP")), g_asked.back().text);

        // A radio text without "&" stops what plays and starts nothing.
        size_t calls = messaging.calls.size();
        run.OnWindowThread([&] { main.PlayRadio(L"only a title"); });
        ASSERT_EQ(calls + 1, messaging.calls.size());
        EXPECT_EQ("cancel", messaging.calls.back().what);
    });
}

TEST_F(MainWindowDispatch, BoardNoticesKeepTheBoardTextInTheBuddysLibrary)
{
    MainWindowRun run(L"boards");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    CString path = run.App().GetFriendPlaylistPath(L"bob@x.com");
    CreateFoldersAlongPath(path);
    CSongLibrary library;
    CSongInfo song;
    song.SetId(L"S1");
    song.SetHash(L"H9");
    song.SetTitle(L"Song");
    ASSERT_TRUE(SUCCEEDED(library.AddSong(song)));
    ASSERT_TRUE(SUCCEEDED(library.SaveToFile(path)));
    run.Run([&] {
        run.SignIn({L"bob@x.com"});
        run.Deliver(MakeRecord(43, {L"bob@x.com", L"", L"H9", L"first"}));
        run.Deliver(MakeRecord(43, {L"bob@x.com", L"", L"H9", L"second"}));
        run.OnWindowThread([&] {
            EXPECT_EQ(1u, run.Main().m_unreadBoards[L"bob@x.com"].size());
            EXPECT_TRUE(Row(run.Main(), L"bob@x.com").flags & FRIEND_FLAG_BOARD_UNREAD);
        });
    });
    CSongLibrary after;
    ASSERT_TRUE(SUCCEEDED(after.LoadFromFile(path)));
    CString board;
    ASSERT_TRUE(SUCCEEDED(after.GetBoardValueByHash(L"H9", board)));
    EXPECT_EQ(W(L"first"), W(board)); // a song that has a board text keeps it
}

TEST_F(MainWindowDispatch, StoppingAndFollowingSendWhatTheRulesSay)
{
    MainWindowRun run(L"outgoing");
    run.App().SetUserEmail(L"me@x.com");
    g_pAppSetting->bListenVisible = TRUE;
    RecordingMessaging messaging;
    run.Run([&] {
        CDlgMain& main = run.Main();
        run.SignIn({L"ann@x.com", L"bob@x.com"});
        run.Deliver(MakeRecord(6, {L"ann@x.com"}, 0));
        run.Deliver(MakeRecord(6, {L"bob@x.com"}, 0));

        // A buddy's song stops: the transfer is ended at the buddy and in the library.
        messaging.calls.clear();
        run.OnWindowThread([&] {
            main.m_strPlayingOwner = L"ann@x.com";
            main.m_strPlayingSongId = L"S1";
            main.OnStop();
        });
        ASSERT_EQ(2u, messaging.calls.size());
        EXPECT_EQ(31, messaging.calls[0].code);
        EXPECT_EQ(CString(L"ann@x.com"), messaging.calls[0].s[0]);
        EXPECT_EQ(CString(L"S1"), messaging.calls[0].s[4]);
        EXPECT_EQ("cancel", messaging.calls[1].what);

        // The song that plays is gone at its owner: it stops, with a message;
        // a report of another song, or of the same id from another owner, changes nothing.
        run.OnWindowThread([&] {
            main.m_strPlayingOwner = L"bob@x.com";
            main.m_strPlayingSongId = L"S7";
        });
        messaging.calls.clear();
        size_t asked = g_asked.size();
        run.Deliver(MakeRecord(33, {L"bob@x.com", L"", L"S8"}));
        run.Deliver(MakeRecord(33, {L"ann@x.com", L"", L"S7"}));
        EXPECT_TRUE(messaging.calls.empty());
        EXPECT_EQ(asked, g_asked.size());
        run.Deliver(MakeRecord(33, {L"bob@x.com", L"", L"S7"}));
        ASSERT_EQ(2u, messaging.calls.size());
        EXPECT_EQ(31, messaging.calls[0].code);
        EXPECT_EQ("cancel", messaging.calls[1].what);
        EXPECT_EQ(W(Lang(L"INFO_MAIN_DLG_PLAY_SONG_DONTEXIST")), g_asked.back().text);
        run.OnWindowThread([&] { EXPECT_TRUE(main.m_strPlayingSongId.IsEmpty()); });

        // Following the buddy's own song of the user: a message, nothing else.
        run.Deliver(MakeRecord(11, {L"ann@x.com", L"Mine", L"hash", L"Artist", L"me@x.com", L"", L"", L"S2"}));
        messaging.calls.clear();
        run.OnWindowThread([&] { main.FollowBuddy(main.LeftBar().FindItem(L"ann@x.com")); });
        EXPECT_EQ(W(Lang(L"INFO_LIST_FRIEND_FOLLOW_MYSELF_SONG")), g_asked.back().text);
        EXPECT_TRUE(messaging.calls.empty());

        // Following a buddy's radio plays it and tells the online buddies.
        run.Deliver(MakeRecord(11, {L"bob@x.com", L"Jazz%20FM", L"radio", L"", L"bob@x.com", L"", L"",
                                    L"http://127.0.0.1:9/jazz"}));
        run.OnWindowThread([&] { main.FollowBuddy(main.LeftBar().FindItem(L"bob@x.com")); });
        std::vector<RecordedCall> told = messaging.Pushed(11);
        ASSERT_EQ(2u, told.size());
        EXPECT_EQ(CString(L"Jazz FM"), told[0].s[1]);
        EXPECT_EQ(CString(L"radio"), told[0].s[2]);
        EXPECT_EQ(CString(L"http://127.0.0.1:9/jazz"), told[0].s[7]);

        // Invisible: the song count goes to nobody; back from invisible it goes to all.
        messaging.calls.clear();
        run.OnWindowThread([&] {
            main.SetMyPresence(3);
            main.PushSongCount(1, TRUE);
        });
        EXPECT_TRUE(messaging.Pushed(38).empty());
        run.OnWindowThread([&] { main.SetMyPresence(0); });
        EXPECT_EQ(2u, messaging.Pushed(38).size());
        EXPECT_EQ(2u, messaging.Pushed(24).size());
    });
}

namespace
{
int g_shellCalls = 0;
std::wstring g_shellParameters;

HINSTANCE WINAPI RecordShell(HWND, LPCWSTR, LPCWSTR, LPCWSTR parameters, LPCWSTR, INT)
{
    ++g_shellCalls;
    g_shellParameters = parameters ? parameters : L"";
    return (HINSTANCE)42;
}

void KeepRunning(UINT)
{
}
} // namespace

TEST_F(MainWindowDispatch, ErrorsThatEndTheSessionCloseTheWindow)
{
    CDlgMain::s_shellExecute = &RecordShell;
    CDlgMain::s_endOwnProcess = &KeepRunning;
    const struct
    {
        LPCWSTR error;
        bool relaunch;
        LPCWSTR message;
    } cases[] = {
        {L"CONNECTION_CLOSED", true, nullptr}, // after the login: start again logged out
        {L"DOCUMENT_CLOSED", true, nullptr},
        {L"CONFLICT", false, L"INFO_LOGIN_CONFLICT_ERROR"},
        {L"NOT_A_KNOWN_ERROR", false, L"INFO_LOGIN_UNKNOWN_ERROR"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(W(c.error));
        g_shellCalls = 0;
        g_asked.clear();
        MainWindowRun run(L"errors");
        run.App().SetUserEmail(L"me@x.com");
        RecordingMessaging messaging;
        INT_PTR result = run.Run([&] {
            run.SignIn({L"ann@x.com"});
            run.Deliver(MakeRecord(25, {L"", L"", L"", c.error}));
        });
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(c.relaunch ? 1 : 0, g_shellCalls);
        if (c.relaunch)
        {
            EXPECT_EQ(CDlgMain::RelaunchParameters(1), CString(g_shellParameters.c_str()));
        }
        if (c.message)
        {
            ASSERT_FALSE(g_asked.empty());
            EXPECT_EQ(W(Lang(c.message)), g_asked.back().text);
        }
        else
            EXPECT_TRUE(g_asked.empty());
    }
    CDlgMain::s_shellExecute = ::ShellExecuteW;
}

TEST_F(MainWindowDispatch, MediaErrorsAreCountedAndBindErrorsAfterTheLoginChangeNothing)
{
    MainWindowRun run(L"media-errors");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    run.Run([&] {
        run.SignIn({});
        size_t calls = messaging.calls.size();
        run.Deliver(MakeRecord(25, {L"", L"", L"", L"MediaError"}));
        run.Deliver(MakeRecord(25, {L"", L"", L"", L"MediaError"}));
        run.Deliver(MakeRecord(25, {L"", L"", L"", L"ERROR_BIND"}));
        run.OnWindowThread([&] {
            EXPECT_EQ(2, run.Main().m_nMediaErrors);
            EXPECT_EQ(2, run.Main().m_nSkipCount) << "a media error counts as a skipped song";
        });
        EXPECT_TRUE(g_asked.empty());
        // With nothing playing the next song is a stop: it only ends any song
        // transfer, and no command goes out.
        for (size_t i = calls; i < messaging.calls.size(); ++i)
            EXPECT_EQ("cancel", messaging.calls[i].what);
    });
}

namespace
{
// The page the browser pane was last asked to open (it waits behind the
// placeholder page: there is no browser engine here) and its decoded form.
struct AskedPage
{
    std::wstring url;
    std::string form;
};

AskedPage LastAskedPage(CDlgMain& main)
{
    AskedPage page;
    const HtmlNavigateRequest* request = main.m_browser.m_pPending;
    if (!request)
        return page;
    page.url = (LPCWSTR)request->url;
    std::string body(request->postData.begin(), request->postData.end());
    if (body.compare(0, 2, "a=") != 0)
        return page;
    body.erase(0, 2);
    for (size_t at = body.find("%2B"); at != std::string::npos; at = body.find("%2B", at))
        body.replace(at, 3, "+");
    std::vector<BYTE> bytes(body.size() + 3);
    Base64Codec codec;
    int n = codec.Decode(body.c_str(), bytes.data());
    page.form.assign((const char*)bytes.data(), (size_t)n);
    return page;
}

bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
} // namespace

TEST_F(MainWindowDispatch, RecommendationsOpenTheirPagesWithTheBuddiesAsForm)
{
    // Each case on a fresh window, whose first page waits where the test sees it.
    auto pageAfter = [&](const std::function<void(MainWindowRun&)>& act) {
        MainWindowRun run(L"recommend");
        run.App().SetUserEmail(L"me@x.com");
        RecordingMessaging messaging;
        AskedPage page;
        run.Run([&] {
            run.SignIn({L"ann@x.com", L"bob@x.com", L"cat@x.com"});
            run.Deliver(MakeRecord(21, {L"ann@x.com", L"Ann"}));
            act(run);
            run.OnWindowThread([&] { page = LastAskedPage(run.Main()); });
        });
        return page;
    };

    // The own buddies recommended to Ann: every other buddy row, declared as n - 1.
    AskedPage page = pageAfter([](MainWindowRun& run) {
        run.OnWindowThread([&] { run.Main().RecommendBuddiesTo(L"ann@x.com"); });
    });
    EXPECT_TRUE(EndsWith(page.url, L"/inset/commend/commend.php")) << W(page.url.c_str());
    EXPECT_EQ(0u, page.form.find("nick=Ann&page=10&infonum=2&email=ann@x.com&var1=nick--")) << page.form;
    EXPECT_NE(std::string::npos, page.form.find("email--bob@x.com"));
    EXPECT_NE(std::string::npos, page.form.find("email--cat@x.com"));
    EXPECT_EQ(std::string::npos, page.form.find("email--ann@x.com"));

    // Buddies recommended by Bob: asked first, then the page with each
    // entry's relation to the user; an entry of five fields or fewer is none.
    const wchar_t* payload = L"&var1=nick--Zed++img--http://127.0.0.1/a.jpg++state--0++email--zed@x.com++mnum--5"
                             L"++sign--hi&var2=nick--Cat++img--++state--3++email--cat@x.com++mnum--0++sign--"
                             L"&var3=nick--Me++img--++state--0++email--me@x.com++mnum--1++sign--"
                             L"&var4=too++few++fields";
    page = pageAfter([&](MainWindowRun& run) { run.Deliver(MakeRecord(32, {L"bob@x.com", L"", L"", L"", payload})); });
    ASSERT_FALSE(g_asked.empty());
    EXPECT_EQ(W(Lang(L"INFO_URL_RECEIVE_RECOMMEND_BUDDY_MSG_TIP2")), g_asked.back().second);
    EXPECT_TRUE(EndsWith(page.url, L"/inset/commend/view_commend.php")) << W(page.url.c_str());
    EXPECT_EQ(0u, page.form.find("nick=bob@x.com&page=12&infonum=3&email=bob@x.com&var1=")) << page.form;
    EXPECT_NE(std::string::npos, page.form.find("email--zed@x.com++mnum--5++sign--hi++isfriend--0"));
    EXPECT_NE(std::string::npos, page.form.find("email--cat@x.com++mnum--0++sign--++isfriend--1"));
    EXPECT_NE(std::string::npos, page.form.find("email--me@x.com++mnum--1++sign--++isfriend--2"));

    // Mode "1": no question, the buddies' own page.
    g_asked.clear();
    page = pageAfter([&](MainWindowRun& run) {
        run.Deliver(MakeRecord(32, {L"bob@x.com", L"", L"", L"", payload, L"", L"", L"1"}));
    });
    EXPECT_TRUE(EndsWith(page.url, L"/inset/commend/friends3.php")) << W(page.url.c_str());
    EXPECT_TRUE(g_asked.empty());

    // Refused, or from somebody who is no buddy: no page.
    g_answer = IDCANCEL;
    page = pageAfter([&](MainWindowRun& run) { run.Deliver(MakeRecord(32, {L"bob@x.com", L"", L"", L"", payload})); });
    EXPECT_EQ(1u, g_asked.size());
    EXPECT_FALSE(EndsWith(page.url, L"commend.php")) << W(page.url.c_str());
    page = pageAfter([&](MainWindowRun& run) {
        run.Deliver(MakeRecord(32, {L"stranger@x.com", L"", L"", L"", payload, L"", L"", L"1"}));
    });
    EXPECT_FALSE(EndsWith(page.url, L"commend.php")) << W(page.url.c_str());
}
