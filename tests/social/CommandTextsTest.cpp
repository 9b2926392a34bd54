// The texts inside command slots, the checks of slots from the network, and
// the commands the main window sends to its buddies from the buddy list's
// rows (against a recording messaging library).
#include <gtest/gtest.h>

#include <climits>

#include "BuddyCommands.h"
#include "CommandTexts.h"
#include "ListFriendCtrl.h"
#include "RecordingMessaging.h"
#include "SocialTestSupport.h"

TEST(CommandTextsTest, BuddyListRecordsAndAvatarAddresses)
{
    EXPECT_EQ(CString(L"&var2=nick--小明++img--http://i/avatar/001/012/12001.jpg++state--1++email--m@x.com"
                      L"++mnum--7++sign--hi"),
              BuddyListEntry(2, L"小明", AvatarAddressOfUser(L"http://i/avatar/", 12001), 1, L"m@x.com", 7, L"hi"));
    EXPECT_EQ(CString(L"b/000/000/0.jpg"), AvatarAddressOfUser(L"b/", 0));
    EXPECT_EQ(CString(L"b/789/456/123456789.jpg"), AvatarAddressOfUser(L"b/", 123456789));
    EXPECT_EQ(CString(L"b/m@x.com.jpg"), AvatarAddressOfEmail(L"b/", L"m@x.com"));

    const struct
    {
        LPCWSTR text, first, second;
    } splits[] = {{L"a0$0b", L"a", L"b"}, {L"0$0", L"", L""}, {L"x0$0y0$0z", L"x", L"y0$0z"}, {L"plain", L"", L""}};
    for (const auto& c : splits)
    {
        CString first = L"stale", second = L"stale";
        SplitProfileText(c.text, first, second);
        EXPECT_EQ(CString(c.first), first) << c.text;
        EXPECT_EQ(CString(c.second), second) << c.text;
    }
}

TEST(CommandTextsTest, ReceivedBuddyListsGiveEntriesOfSixFieldsOrMore)
{
    CString payload = BuddyListEntry(1, L"Ann", L"img1", 0, L"ann@x", 3, L"s") +
                      L"&var2=nick--Bob++img--i++state--1++email--bob@x++mnum--2" + // five fields: no entry
                      BuddyListEntry(3, L"C--D", L"img3", 2, L"c@x", 0, L"");
    std::vector<RecommendedBuddy> entries = ParseBuddyListPayload(payload);
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(CString(L"Ann"), entries[0].nick);
    EXPECT_EQ(CString(L"ann@x"), entries[0].email);
    EXPECT_EQ(CString(L"3"), entries[0].mnum);
    EXPECT_EQ(CString(L"D"), entries[1].nick); // the last "--" piece
    EXPECT_TRUE(ParseBuddyListPayload(L"").empty());
    EXPECT_TRUE(ParseBuddyListPayload(L"&&&++++").empty());

    entries[0].isfriend = L"1";
    entries[1].isfriend = L"0";
    EXPECT_EQ(CString(L"nick=Rec&page=12&infonum=2&email=rec@x&var1=nick--Ann++img--img1++state--0++email--ann@x"
                      L"++mnum--3++sign--s++isfriend--1&var2=nick--D++img--img3++state--2++email--c@x++mnum--0"
                      L"++sign--++isfriend--0"),
              RecommendationViewForm(L"Rec", L"rec@x", entries));
}

TEST(CommandTextsTest, SlotsFromTheNetworkAreCheckedBeforeUse)
{
    const struct
    {
        LPCWSTR id;
        bool usable;
    } ids[] = {{L"ann@yeb360.com", true},     {L"a.b-c_d+e%f@x.y", true}, {L"", false},
               {L"noat.com", false},          {L"two@at@x", false},       {L"..\\..\\x@y", false},
               {L"a/b@x", false},             {L"a..b@x", false},         {L"@x.com", false},
               {L"a@", false},                {L"ann@x\r\n", false},      {L"名字@x.com", false}};
    for (const auto& c : ids)
        EXPECT_EQ(c.usable, IsUsableBuddyId(c.id)) << c.id;
    CString longId = CString(L'a', 251) + L"@x.c";
    EXPECT_FALSE(IsUsableBuddyId(longId));

    const struct
    {
        LPCWSTR text;
        bool ok;
        int value;
    } numbers[] = {{L"0", true, 0},   {L"-1", true, -1},          {L"+12", true, 12},   {L"123456789", true, 123456789},
                   {L"1234567890", false, 0}, {L"", false, 0},    {L"12a", false, 0},   {L" 1", false, 0},
                   {L"-", false, 0}};
    for (const auto& c : numbers)
    {
        int value = 99;
        EXPECT_EQ(c.ok, ParseSlotNumber(c.text, value)) << c.text;
        EXPECT_EQ(c.value, value) << c.text;
    }
    EXPECT_EQ(12, SlotNumberOrZero(L"12abc"));
    EXPECT_EQ(0, SlotNumberOrZero(L"abc"));
    EXPECT_EQ(2147483647, SlotNumberOrZero(L"99999999999999999999"));

    EXPECT_EQ(2, PresenceOfExtra(7));
    EXPECT_EQ(0, PresenceOfExtra(5));
    EXPECT_EQ(4, PresenceOfExtra(-1)); // a negative presence counts as offline, never indexes below 0
    EXPECT_EQ(2, PresenceOfExtra(INT_MIN));

    EXPECT_EQ(255, LimitHeaderText(CString(L'x', 300)).GetLength());
    EXPECT_EQ(CString(L"..."), LimitHeaderText(CString(L'x', 300)).Right(3));
    EXPECT_EQ(CString(L'y', 255), LimitHeaderText(CString(L'y', 255)));
}

namespace
{
// Own row, a channel, the online header, ann (online), bob (away), cat
// (offline), and the offline header; the way the left bar holds them.
void FillLeftBar(CListFriendCtrl& list)
{
    list.AddItem(TestRow(0, 0, 1, L"me@x", L"me@x"), FALSE);
    list.AddItem(TestRow(1, 1, 2, L"home", L"home"), FALSE);
    list.AddItem(TestRow(2, 0, 1, L"online buddy", L"online"), FALSE);
    CFriendItem ann = TestBuddy(L"ann@x", L"ann@x", 0);
    ann.profileFlags = 3;
    ann.extra = L"12001";
    ann.signature = L"sig";
    ann.totalSongs = 4;
    list.AddItem(ann, FALSE);
    list.AddItem(TestBuddy(L"bob@x", L"bob@x", 1), FALSE);
    CFriendItem cat = TestBuddy(L"cat@x", L"cat@x", 3);
    cat.profileFlags = 1;
    list.AddItem(cat, FALSE);
    list.AddItem(TestRow(3, 0, 1, L"offline buddy", L"offline"), FALSE);
}
} // namespace

TEST(BuddyCommandsTest, RecipientsFollowTheRowsAndThePresence)
{
    CListFriendCtrl list;
    FillLeftBar(list);
    CBuddyCommands commands(list);
    RecordingMessaging messaging;

    CString texts[7] = {L"Title", L"hash", L"Artist", L"owner@x", L"100", L"200", L"song-id"};
    commands.PushNowPlaying(texts);
    EXPECT_EQ((std::vector<CString>{L"ann@x", L"bob@x"}), messaging.PushedTo(11)); // not the offline buddy
    RecordedCall now = messaging.Pushed(11)[0];
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(texts[i], now.s[i + 1]);

    commands.RequestProfiles();
    EXPECT_EQ((std::vector<CString>{L"ann@x", L"bob@x", L"cat@x"}), messaging.PushedTo(21));

    commands.PushSongCount(12, 3, 1);
    EXPECT_EQ((std::vector<CString>{L"ann@x", L"bob@x", L"cat@x"}), messaging.PushedTo(38));
    RecordedCall count = messaging.Pushed(38)[0];
    EXPECT_EQ(CString(L"12"), count.s[2]);
    EXPECT_EQ(CString(L"3"), count.s[4]);
    EXPECT_EQ(1, count.extra);
    messaging.calls.clear();
    commands.PushSongCount(12, 0, 3); // invisible: nobody learns the count
    commands.PushSongCountTo(L"ann@x", 12, 0, 3);
    EXPECT_TRUE(messaging.calls.empty());

    commands.PushBoardToBuddies(L"key", L"<BD/>");
    EXPECT_EQ((std::vector<CString>{L"ann@x", L"bob@x"}), messaging.PushedTo(43));
    EXPECT_EQ(CString(L"<BD/>"), messaging.Pushed(43)[0].s[3]);
}

TEST(BuddyCommandsTest, TheAskedBuddyListHoldsListedBuddiesOnly)
{
    CListFriendCtrl list;
    FillLeftBar(list);
    CBuddyCommands commands(list);
    RecordingMessaging messaging;
    commands.SendBuddyList(L"asker@x");
    ASSERT_EQ(1u, messaging.Pushed(32).size());
    RecordedCall answer = messaging.Pushed(32)[0];
    EXPECT_EQ(CString(L"asker@x"), answer.s[0]);
    EXPECT_EQ(CString(L"1"), answer.s[3]);
    CString base = AvatarBaseAddress();
    EXPECT_EQ(BuddyListEntry(1, L"ann@x", base + L"001/012/12001.jpg", 0, L"ann@x", 4, L"sig") +
                  BuddyListEntry(2, L"cat@x", base + L"000/000/0.jpg", 3, L"cat@x", 0, L""),
              answer.s[4]);

    CListFriendCtrl nobody;
    CBuddyCommands none(nobody);
    none.SendBuddyList(L"asker@x");
    EXPECT_TRUE(messaging.Pushed(32)[1].s[4].IsEmpty()); // an empty list is the empty text
}

TEST(BuddyCommandsTest, SingleCommandsFillTheirSlots)
{
    RecordingMessaging messaging;
    CBuddyCommands::PushStopTransfer(L"owner@x", L"song");
    CBuddyCommands::PushPresence(2);
    CBuddyCommands::PushPresenceNotice(1);
    CBuddyCommands::PushBoardOpened(L"owner@x", L"hash");
    CBuddyCommands::PushBoardReply(L"asker@x", L"hash", L"");
    CBuddyCommands::PushProfile(L"p1", L"nick", L"0", L"sig", L"p2", L"10001", L"3", 18);
    ASSERT_EQ(6u, messaging.calls.size());
    const RecordedCall& stop = messaging.calls[0];
    EXPECT_EQ(31, stop.code);
    EXPECT_EQ(CString(L"song"), stop.s[2]);
    EXPECT_EQ(CString(L"song"), stop.s[4]);
    EXPECT_EQ(2, messaging.calls[1].extra);
    EXPECT_EQ(24, messaging.calls[1].code);
    EXPECT_EQ(15, messaging.calls[2].code);
    EXPECT_EQ(CString(L"hash"), messaging.calls[3].s[2]);
    EXPECT_EQ(41, messaging.calls[4].code);
    const RecordedCall& profile = messaging.calls[5];
    EXPECT_EQ(22, profile.code);
    EXPECT_EQ(CString(L"10001"), profile.s[5]);
    EXPECT_EQ(CString(L"3"), profile.s[7]);
    EXPECT_EQ(18, profile.extra);
    for (const auto& call : messaging.calls)
        EXPECT_TRUE(call.s[6].IsEmpty()) << "untouched slots stay empty, code " << call.code;
}

TEST(BuddyCommandsTest, RecommendationsDeclareEveryBuddyRowButTheTarget)
{
    CListFriendCtrl list;
    FillLeftBar(list);
    CBuddyCommands commands(list);
    CString base = AvatarBaseAddress();
    EXPECT_EQ(W(L"nick=ann@x&page=10&infonum=2&email=ann@x&var1=nick--bob@x++img--" + base +
                L"000/000/0.jpg++state--1++email--bob@x&var2=nick--cat@x++img--" + base +
                L"000/000/0.jpg++state--3++email--cat@x"),
              W(commands.RecommendationForm(L"ann@x")));
    EXPECT_TRUE(commands.RecommendationForm(L"nobody@x").IsEmpty());

    CListFriendCtrl alone;
    alone.AddItem(TestRow(0, 0, 1, L"me@x", L"me@x"), FALSE);
    alone.AddItem(TestBuddy(L"ann@x", L"ann@x", 0), FALSE);
    EXPECT_TRUE(CBuddyCommands(alone).RecommendationForm(L"ann@x").IsEmpty()); // nobody else to recommend
}
