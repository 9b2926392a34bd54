#include "NetworkTest.h"
#include "ServerConfig.h"

namespace
{
class ServerConfigTest : public NetworkTest
{
  protected:
    void ServeConfiguration(const std::string& xml) { ASSERT_TRUE(service.WriteDataFile("www/configure.php", xml)); }
};

const char kRules[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<ur>\n"
                      " <ss>\n"
                      "  <SR T=\"closed\" I=\"a\" S=\"1\" M=\"9\" C=\"0\"/>\n"
                      "  <SR T=\"closed\" I=\"b\" S=\"00\" M=\"9\" C=\"0\"/>\n"
                      "  <SR T=\"full\" I=\"c\" S=\"0\" M=\"10\" C=\"10\"/>\n"
                      "  <SR T=\"over\" I=\"d\" S=\"0\" M=\"10\" C=\"11\"/>\n"
                      "  <SR T=\"blank\" I=\"e\" S=\"0\"/>\n"
                      "  <SR T=\"split\" I=\"f\" S=\"1\"/>\n"
                      "  <XX T=\"split\" I=\"skipped\" S=\"0\"/>\n"
                      " </ss>\n"
                      " <OTHER><SR T=\"split\" I=\"skipped\" S=\"0\"/></OTHER>\n"
                      " <SS><SR T=\"split\" D=\"dd\" I=\"g\" P=\"5222\" M=\"3\" C=\"2\" S=\"0\" N=\"nn\"/></SS>\n"
                      " <UP><UL D=\"main\" V=\"http://h/AutoUpdate.xml\"/><SR T=\"split\"/></UP>\n"
                      "</ur>\n";
} // namespace

TEST_F(ServerConfigTest, PickServerTakesOnlyOpenServersWithinTheirLimit)
{
    ServeConfiguration(kRules);
    CServerConfig config;
    ASSERT_TRUE(config.Load());
    const struct
    {
        LPCWSTR type;
        LPCWSTR host; // nullptr: none qualifies
    } cases[] = {
        {L"closed", nullptr}, // S must be exactly "0"
        {L"full", L"c"},      // load equal to the maximum qualifies
        {L"over", nullptr},   // one above does not
        {L"blank", L"e"},     // empty load and maximum count as 0
        {L"split", L"g"},     // one group across two "SS" elements
        {L"missing", nullptr},
    };
    for (auto& c : cases)
    {
        ServerEntry entry;
        entry.I = L"untouched";
        BOOL found = config.PickServer(c.type, entry);
        EXPECT_EQ(c.host != nullptr, found) << Utf8(c.type);
        EXPECT_EQ(CString(c.host ? c.host : L"untouched"), entry.I) << Utf8(c.type);
    }
    EXPECT_EQ(2, config.GetServerCount(L"split"));
    ServerEntry split;
    ASSERT_TRUE(config.PickServer(L"split", split));
    EXPECT_EQ(CString(L"dd"), split.D);
    EXPECT_EQ(CString(L"5222"), split.P);
    EXPECT_EQ(CString(L"nn"), split.N);
    ASSERT_EQ(1u, config.GetUpdateLocations().size());
    EXPECT_EQ(CString(L"http://h/AutoUpdate.xml"), config.GetUpdateLocations()[0].V);
}

TEST_F(ServerConfigTest, LoadsTheStandInServiceList)
{
    CServerConfig config;
    ASSERT_TRUE(config.Load());
    ServerEntry upload;
    ASSERT_TRUE(config.PickServer(L"4", upload));
    EXPECT_EQ(CString(L"127.0.0.1"), upload.I);
    EXPECT_EQ(service.Port("image"), _wtoi(upload.P));
    EXPECT_FALSE(config.GetUpdateLocations().empty());
}

TEST_F(ServerConfigTest, ASecondLoadReplacesAndAFailedOneKeepsTheList)
{
    ServeConfiguration(kRules);
    CServerConfig config;
    ASSERT_TRUE(config.Load());
    ASSERT_TRUE(config.Load());
    EXPECT_EQ(2, config.GetServerCount(L"split")); // not doubled
    EXPECT_EQ(1u, config.GetUpdateLocations().size());

    ServeConfiguration("<UR><SS><SR T=\"split\"");
    EXPECT_FALSE(config.Load()); // not XML
    EXPECT_EQ(2, config.GetServerCount(L"split"));

    ASSERT_TRUE(service.WriteDataFile("www/configure.php", "")); // an empty file: not XML either
    EXPECT_FALSE(config.Load());

    ServeConfiguration("<LIST><SS><SR T=\"split\" S=\"0\"/></SS></LIST>");
    EXPECT_TRUE(config.Load()); // another root: an empty list
    EXPECT_EQ(0, config.GetServerCount(L"split"));
}

TEST_F(ServerConfigTest, FailedDownloadFailsTheLoad)
{
    CServiceAddresses::Get().m_webPort = 1;
    CServerConfig config;
    EXPECT_FALSE(config.Load());
}
