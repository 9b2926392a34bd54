// What received presence, profile, song-count and now-playing commands
// change in the buddy list's rows.
#include <gtest/gtest.h>

#include "BuddyRowUpdates.h"
#include "ListFriendCtrl.h"
#include "SocialTestSupport.h"

namespace
{
struct BuddyRows : ::testing::Test
{
    CListFriendCtrl list;
    void SetUp() override
    {
        CFriendItem own;
        own.id = L"me@x";
        own.kind = 0;
        list.AddItem(own, FALSE);
        EXPECT_TRUE(AddBuddyRow(list, L"ann@x", L""));
        EXPECT_TRUE(AddBuddyRow(list, L"bob@x", L""));
        EXPECT_FALSE(AddBuddyRow(list, L"ann@x", L"")); // one row per buddy
    }
    CFriendItem& Row(LPCWSTR id) { return *list.GetItem(list.FindItem(id)); }
};
} // namespace

TEST_F(BuddyRows, NewBuddiesStartOfflineAndConfirmed)
{
    CFriendItem& ann = Row(L"ann@x");
    EXPECT_EQ(CString(L"ann@x"), ann.nick);
    EXPECT_EQ(3, ann.kind);
    EXPECT_EQ(3, ann.presence);
    EXPECT_EQ(1, ann.subOrder);
    EXPECT_EQ(6, ann.flags);
    EXPECT_EQ(50, ann.height);
    EXPECT_TRUE(ann.IsConfirmedBuddy());
    EXPECT_EQ(3, list.GetItemCount());
}

TEST_F(BuddyRows, PresenceMovesBuddiesAndAnOfflineBuddyForgetsItsLibrary)
{
    const struct
    {
        const char* what;
        LPCWSTR id;
        int extra;
        bool found, changed, offline, online;
        int presence, kind;
    } cases[] = {
        {"comes online busy (7 mod 5)", L"ann@x", 7, true, true, false, true, 2, 2},
        {"the same presence again", L"ann@x", 2, true, false, false, false, 2, 2},
        {"away", L"ann@x", 1, true, true, false, false, 1, 2},
        {"goes offline", L"ann@x", 3, true, true, true, false, 3, 3},
        {"a negative presence counts as offline", L"bob@x", -1, true, true, false, false, 4, 3},
        {"nobody with that id", L"eve@x", 0, false, false, false, false, -1, -1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        if (list.FindItem(L"ann@x") >= 0 && c.offline)
        {
            CFriendItem& ann = Row(L"ann@x");
            ann.totalSongs = 12;
            ann.newSongs = 2;
            ann.state = 1;
            ann.listening = 1;
            ann.listen2 = L"Song";
        }
        PresenceChange change = ApplyPresence(list, c.id, c.extra);
        EXPECT_EQ(c.found, change.found);
        EXPECT_EQ(c.changed, change.changed);
        EXPECT_EQ(c.offline, change.WentOffline());
        EXPECT_EQ(c.online, change.CameOnline());
        if (!c.found)
            continue;
        CFriendItem& row = Row(c.id);
        EXPECT_EQ(c.presence, row.presence);
        EXPECT_EQ(c.kind, row.kind);
        if (c.offline)
        {
            EXPECT_EQ(0, row.totalSongs);
            EXPECT_EQ(0, row.newSongs);
            EXPECT_EQ(-1, row.state);
            EXPECT_EQ(0, row.listening);
            EXPECT_TRUE(row.listen2.IsEmpty());
        }
    }
    ApplyPresence(list, L"bob@x", 0);
    EXPECT_EQ(CString(L"bob@x"), list.GetItem(1)->id); // the online group comes before the offline one
}

TEST_F(BuddyRows, ProfilesSetNickSignatureAndTheListedFlag)
{
    const struct
    {
        LPCWSTR nick, flags;
        LPCWSTR shownNick;
        int profileFlags;
    } cases[] = {{L"安", L"0", L"安", 0},  {L"", L"7", L"ann@x", 3}, {L"A", L"x", L"A", 3},
                 {L"A", L"", L"A", 3},     {L"A", L"-1", L"A", -5},  {L"A", L"33", L"A", 33}};
    for (const auto& c : cases)
    {
        ASSERT_TRUE(ApplyProfile(list, L"ann@x", c.nick, L"sig", c.flags));
        CFriendItem& ann = Row(L"ann@x");
        EXPECT_EQ(W(c.shownNick), W(ann.nick));
        EXPECT_EQ(W(L"sig"), W(ann.signature));
        EXPECT_EQ(c.profileFlags, ann.profileFlags) << W(c.flags);
        EXPECT_EQ(6, ann.flags) << "a profile never changes how the row is drawn";
    }
    EXPECT_FALSE(ApplyProfile(list, L"eve@x", L"E", L"", L"0"));
    ASSERT_TRUE(ApplyProfile(list, L"bob@x", CString(L'x', 5000), L"", L"0"));
    EXPECT_EQ(1024, Row(L"bob@x").nick.GetLength()); // a hostile nick is cut
}

TEST_F(BuddyRows, LibraryUpdatesCountNewSongsAndMarkTheLibrary)
{
    const struct
    {
        LPCWSTR count, fresh;
        int total, newSongs, state;
    } steps[] = {{L"10", L"0", 10, 0, -1}, {L"12", L"2", 12, 2, 1},  {L"13", L"1", 13, 3, 1},
                 {L"13", L"-1", 13, 0, 1}, {L"-4", L"zz", 0, 0, 1}, {L"99999999999", L"5", 2147483647, 5, 1}};
    for (const auto& s : steps)
    {
        ASSERT_TRUE(ApplyLibraryUpdate(list, L"ann@x", s.count, s.fresh));
        CFriendItem& ann = Row(L"ann@x");
        EXPECT_EQ(s.total, ann.totalSongs) << W(s.count);
        EXPECT_EQ(s.newSongs, ann.newSongs) << W(s.fresh);
        EXPECT_EQ(s.state, ann.state) << W(s.fresh);
    }
    EXPECT_FALSE(ApplyLibraryUpdate(list, L"eve@x", L"1", L"1"));
}

TEST_F(BuddyRows, NowPlayingReportsFillTheListeningLine)
{
    CString report[7] = {L"Title", L"http://a/s", L"Artist", L"owner@x", L"radio", L"6", L"7"};
    ASSERT_TRUE(ApplyNowPlaying(list, L"ann@x", report));
    CFriendItem& ann = Row(L"ann@x");
    EXPECT_EQ(1, ann.listening);
    EXPECT_EQ(W(L"Title"), W(ann.listen2));
    EXPECT_EQ(W(L"http://a/s"), W(ann.listen3));
    EXPECT_EQ(W(L"radio"), W(ann.listen6));
    CString nothing[7];
    ASSERT_TRUE(ApplyNowPlaying(list, L"ann@x", nothing));
    EXPECT_EQ(0, Row(L"ann@x").listening);
    EXPECT_FALSE(ApplyNowPlaying(list, L"me@x", report)); // the own row never listens
    EXPECT_FALSE(ApplyNowPlaying(list, L"eve@x", report));
}
