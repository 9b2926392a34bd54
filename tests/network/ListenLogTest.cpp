#include "NetworkTest.h"
#include "AppSetting.h"
#include "Base64Codec.h"
#include "ListenLog.h"
#include "TcpSocket.h"
#include <memory>

namespace
{
class ListenLogTest : public NetworkTest
{
  protected:
    void SetUp() override
    {
        NetworkTest::SetUp();
        // Its own settings file in the service's data folder of this test.
        settings.reset(new CAppSetting((service.DataFolder() + L"\\").c_str()));
        settings->strNick = L"Nick";
        g_pAppSetting = settings.get();
        log = CListenLog::GetInstance();
        log->SetUser(L"me@example.com");
    }
    void TearDown() override
    {
        CListenLog::ReleaseInstance();
        g_pAppSetting = nullptr;
        settings.reset();
        NetworkTest::TearDown();
    }
    // The texts of the reports the service decoded, in order.
    std::vector<std::string> Reports()
    {
        std::vector<std::string> texts;
        for (auto& r : service.Records("web", "listening-report"))
            texts.push_back(r.Get("text"));
        return texts;
    }
    void EndPeriod()
    {
        log->SwapAndSend();
        ASSERT_TRUE(log->WaitForReport(10000));
    }

    std::unique_ptr<CAppSetting> settings;
    CListenLog* log = nullptr;
};
} // namespace

TEST_F(ListenLogTest, ReportsEachSongOncePerPeriodInKeyOrder)
{
    log->AddSong(L"B", L"second song");
    log->AddSong(L"A", L"first song");
    log->AddSong(L"A", L"first song");
    log->AddSong(L"A", L"first song");
    log->AddSong(L"", L"no singer"); // ignored
    EndPeriod();
    auto reports = Reports();
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ("who=Nick&&mail=me@example.com"
              "&&var1=singer--A++music--first song++time--0"
              "&&var2=singer--B++music--second song++time--0",
              reports[0]);
    ServiceRecord request;
    ASSERT_TRUE(service.WaitForRequest("/inset/Gdata/yeb.php", 2000, &request));
    EXPECT_EQ("application/x-www-form-urlencoded", request.Get("content-type"));

    EndPeriod(); // nothing played in this period: nothing is posted
    EndPeriod();
    EXPECT_EQ(1u, Reports().size());
    EXPECT_EQ(1u, service.Records("web", "request").size());
}

TEST(ListenLogBody, IsBase64OfTheUtf8TextWithPlusWrittenAsPercent2B)
{
    std::map<CString, ListenRecord> records;
    ListenRecord record;
    record.singer = L"\x5F20"; // a Chinese singer name
    record.title = L"t";
    records[L"\x5F20 &.& t"] = record;
    CStringA body = CListenLog::BuildReportBody(L"~~~???", L"m@x.com", records);
    ASSERT_EQ("a=", body.Left(2));
    CStringA base64 = body.Mid(2);
    EXPECT_EQ(-1, base64.Find('+'));
    EXPECT_NE(-1, base64.Find("%2B"));
    EXPECT_NE(-1, base64.Find('/')); // "/" and "=" go as they are
    base64.Replace("%2B", "+");
    std::vector<BYTE> decoded(base64.GetLength());
    Base64Codec codec;
    int n = codec.Decode(base64, decoded.data());
    EXPECT_EQ("who=~~~???&&mail=m@x.com&&var1=singer--\xE5\xBC\xA0++music--t++time--0",
              std::string((const char*)decoded.data(), n));
    EXPECT_TRUE(CListenLog::BuildReportBody(L"w", L"m", {}).IsEmpty());
}

TEST_F(ListenLogTest, FailedReportKeepsItsSongsForTheNextPeriod)
{
    int webPort = CServiceAddresses::Get().m_webPort;
    CServiceAddresses::Get().m_webPort = 1; // nothing listens there
    log->AddSong(L"A", L"one");
    EndPeriod();
    EXPECT_EQ(1, log->GetCollectedCount()); // given back to the collecting buffer
    CServiceAddresses::Get().m_webPort = webPort;
    log->AddSong(L"A", L"one"); // played again: still once
    log->AddSong(L"B", L"two");
    EndPeriod();
    auto reports = Reports();
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ("who=Nick&&mail=me@example.com&&var1=singer--A++music--one++time--0"
              "&&var2=singer--B++music--two++time--0",
              reports[0]);
}

TEST_F(ListenLogTest, PeriodEndingDuringASendLosesNothingAndSendsNothingTwice)
{
    // A web host that takes the report and never answers, until it hangs up.
    CTcpSocket listener;
    ASSERT_TRUE(listener.Create(AF_INET));
    ASSERT_TRUE(listener.Bind(0));
    ASSERT_TRUE(listener.Listen(1));
    sockaddr_in address = {};
    int length = sizeof address;
    getsockname(listener.GetHandle(), (sockaddr*)&address, &length);
    int webPort = CServiceAddresses::Get().m_webPort;
    CServiceAddresses::Get().m_webPort = ntohs(address.sin_port);
    CTcpSocket silent;

    log->AddSong(L"A", L"one");
    log->SwapAndSend();
    ASSERT_TRUE(listener.Accept(&silent)); // the report is on its way
    log->AddSong(L"B", L"two");
    log->SwapAndSend(); // still sending: B stays where it is
    EXPECT_EQ(1, log->GetCollectedCount());
    silent.Close(); // the send fails
    ASSERT_TRUE(log->WaitForReport(15000));
    EXPECT_EQ(2, log->GetCollectedCount());

    CServiceAddresses::Get().m_webPort = webPort;
    EndPeriod();
    auto reports = Reports();
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ("who=Nick&&mail=me@example.com&&var1=singer--A++music--one++time--0"
              "&&var2=singer--B++music--two++time--0",
              reports[0]);
    EndPeriod();
    EXPECT_EQ(1u, Reports().size());
}
