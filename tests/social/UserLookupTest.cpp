// The service's user lookups as the client asks them, against the stand-in
// service with users and accounts the test writes.
#include <gtest/gtest.h>

#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "UserLookup.h"

TEST(UserLookupTest, AnswersParseIntoIdsEmailsAndNicks)
{
    CString email = L"stale", nick = L"stale";
    EXPECT_TRUE(ParseUserInfo(L"<UI><INFO email=\"a@x\" nick=\"A\"/><INFO email=\"b@x\" nick=\"小B\"/></UI>", email, nick));
    EXPECT_EQ(CString(L"b@x"), email); // the last child wins
    EXPECT_EQ(CString(L"小B"), nick);
    EXPECT_FALSE(ParseUserInfo(L"<UI/>", email, nick));
    EXPECT_FALSE(ParseUserInfo(L"<UI><INFO nick=\"n\"/></UI>", email, nick));
    EXPECT_FALSE(ParseUserInfo(L"not xml <", email, nick));
    EXPECT_FALSE(ParseUserInfo(L"<XX><INFO email=\"a@x\"/></XX>", email, nick));

    std::vector<std::pair<CString, CString>> ids;
    EXPECT_TRUE(ParseUserIds(L"<UI><INFO email=\"a@x\" uid=\"10001\"/><INFO email=\"b@x\" uid=\"10002\"/></UI>", ids));
    ASSERT_EQ(2u, ids.size());
    EXPECT_EQ(CString(L"10002"), ids[1].second);
    EXPECT_FALSE(ParseUserIds(L"", ids));
}

TEST(UserLookupTest, TheStandInServiceAnswersFromTheDataATestSets)
{
    ServiceProcess service;
    ASSERT_TRUE(service.Start());
    ASSERT_TRUE(service.WriteDataFile("users.txt", "ann@x.com\t20001\nbob@x.com\t20002\n"));
    ASSERT_TRUE(service.WriteDataFile("accounts.txt", "ann@x.com\tpw\t\xE5\xB0\x8F\xE5\xAE\x89\n"));
    CServiceAddresses::Get().Load(service.ClientIniPath().c_str());

    EXPECT_EQ(CString(L"20002"), QueryUserIdOf(L"bob@x.com"));
    CString email, nick;
    ASSERT_TRUE(ParseUserInfo(FetchUserInfo(L"20001"), email, nick));
    EXPECT_EQ(CString(L"ann@x.com"), email);
    EXPECT_EQ(CString(L"小安"), nick);
    EXPECT_FALSE(ParseUserInfo(FetchUserInfo(L"99999"), email, nick)); // nobody has that id
    EXPECT_FALSE(ParseUserInfo(FetchUserInfo(L"../x"), email, nick));

    CStringA answer;
    ASSERT_TRUE(PostUserIdQuery({L"ann@x.com", L"bob@x.com"}, answer));
    std::vector<std::pair<CString, CString>> ids;
    ASSERT_TRUE(ParseUserIds(CString(answer), ids));
    ASSERT_EQ(2u, ids.size());
    EXPECT_EQ(CString(L"20001"), ids[0].second);
    CServiceAddresses::Get().Reset();
}
