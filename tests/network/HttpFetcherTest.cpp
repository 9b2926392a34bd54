#include "NetworkTest.h"
#include "HttpFetcher.h"

namespace
{
std::string Pattern(size_t count)
{
    std::string body(count, '\0');
    for (size_t i = 0; i < count; ++i)
        body[i] = char('a' + i % 26);
    return body;
}

class HttpFetcherTest : public NetworkTest
{
};
} // namespace

TEST(HttpFetcher, SetUrlAcceptsOnlyAddressesBeginningWithHttp)
{
    const struct
    {
        LPCWSTR url;
        BOOL accepted;
    } cases[] = {{L"http://a/b", TRUE}, {L"https://a/b", TRUE}, {L"ftp://a/b", FALSE},
                 {L"HTTP://a/b", FALSE}, {L"", FALSE},         {nullptr, FALSE}};
    CHttpFetcher fetcher;
    for (auto& c : cases)
        EXPECT_EQ(c.accepted, fetcher.SetUrl(c.url)) << (c.url ? NetworkTest::Utf8(c.url) : "null");
}

TEST_F(HttpFetcherTest, SynchronousFetchesKeepStatusAndBody)
{
    const struct
    {
        LPCWSTR path;
        BOOL result;
        DWORD status;
        std::string body;
    } cases[] = {
        {L"/test/bytes?count=5000", TRUE, 200, Pattern(5000)}, // more than one grow step
        {L"/test/bytes?count=0", TRUE, 200, ""},
        {L"/test/status?code=404", FALSE, 404, "status 404 body"},
        {L"/test/redirect?to=%2Ftest%2Fbytes%3Fcount%3D30", TRUE, 200, Pattern(30)},
        {L"/test/redirect?code=301&to=%2Ftest%2Fstatus%3Fcode%3D404", FALSE, 404, "status 404 body"},
    };
    for (auto& c : cases)
    {
        CHttpFetcher fetcher;
        ASSERT_TRUE(fetcher.SetUrl(WebUrl(c.path)));
        EXPECT_EQ(c.result, fetcher.Start(FALSE)) << Utf8(c.path);
        EXPECT_EQ(c.status, fetcher.GetStatusCode()) << Utf8(c.path);
        EXPECT_EQ(c.body, Utf8(fetcher.GetResponseText(CP_UTF8))) << Utf8(c.path);
    }
}

TEST_F(HttpFetcherTest, SendsItsUserAgentAndDecodesUtf8)
{
    service.WriteDataFile("www/text.txt", "\xE4\xBD\xA0\xE5\xA5\xBD yeb");
    CHttpFetcher fetcher;
    ASSERT_TRUE(fetcher.SetUrl(WebUrl(L"/text.txt")));
    ASSERT_TRUE(fetcher.Start(FALSE));
    EXPECT_EQ(CString(L"\x4F60\x597D yeb"), fetcher.GetResponseText(CP_UTF8));
    EXPECT_EQ(CString(L"OK"), fetcher.GetStatusText());
    ServiceRecord request;
    ASSERT_TRUE(service.WaitForRequest("/text.txt", 2000, &request));
    EXPECT_EQ("yeb360 Player 1.0.0", request.Get("user-agent"));
}

TEST_F(HttpFetcherTest, RepeatedHeadersGetOneMoreUnderscoreEachTime)
{
    CHttpFetcher fetcher;
    ASSERT_TRUE(fetcher.SetUrl(WebUrl(L"/test/headers")));
    ASSERT_TRUE(fetcher.Start(FALSE));
    const struct
    {
        LPCWSTR name;
        LPCWSTR value;
    } expected[] = {{L"set-cookie", L"first=1; path=/"}, {L"set-cookie_", L"second=2; path=/"},
                    {L"x-repeat", L"one"},               {L"x-repeat_", L"two"},
                    {L"x-repeat__", L"three"},           {L"content-length", L"7"}};
    for (auto& e : expected)
    {
        CString value;
        EXPECT_TRUE(fetcher.LookupHeader(e.name, value)) << Utf8(e.name);
        EXPECT_EQ(CString(e.value), value) << Utf8(e.name);
    }
    CString none;
    EXPECT_FALSE(fetcher.LookupHeader(L"x-repeat___", none));
}

TEST_F(HttpFetcherTest, UnreachableServerGivesStatusZero)
{
    CHttpFetcher fetcher;
    ASSERT_TRUE(fetcher.SetUrl(L"http://127.0.0.1:1/nothing"));
    EXPECT_FALSE(fetcher.Start(FALSE));
    EXPECT_EQ(0u, fetcher.GetStatusCode());
    EXPECT_EQ(CString(), fetcher.GetResponseText(CP_UTF8));
}

TEST_F(HttpFetcherTest, AsynchronousFetchRunsOnItsWorker)
{
    CHttpFetcher fetcher;
    ASSERT_TRUE(fetcher.SetUrl(WebUrl(L"/test/slow?count=300&piece=100&delay=100")));
    ASSERT_TRUE(fetcher.Start(TRUE));
    EXPECT_FALSE(fetcher.Start(TRUE)); // one fetch at a time
    EXPECT_FALSE(fetcher.SetUrl(WebUrl(L"/other")));
    EXPECT_EQ(CString(), fetcher.GetResponseText(CP_UTF8));
    ASSERT_TRUE(fetcher.WaitForFetch(10000));
    EXPECT_EQ(200u, fetcher.GetStatusCode());
    EXPECT_EQ(Pattern(300), Utf8(fetcher.GetResponseText(CP_UTF8)));
    // The next fetch starts afresh.
    ASSERT_TRUE(fetcher.SetUrl(WebUrl(L"/test/status?code=404")));
    EXPECT_FALSE(fetcher.Start(FALSE));
    EXPECT_EQ(404u, fetcher.GetStatusCode());
}

TEST_F(HttpFetcherTest, StopDuringASlowBodyEndsTheWorkerWithStatusZero)
{
    CHttpFetcher fetcher;
    ASSERT_TRUE(fetcher.SetUrl(WebUrl(L"/test/slow?count=100000&piece=100&delay=200")));
    ASSERT_TRUE(fetcher.Start(TRUE));
    Sleep(700); // some pieces arrive
    DWORD before = GetTickCount();
    fetcher.Stop();
    EXPECT_LT(GetTickCount() - before, 5000u); // ended by itself, not by the 10-second last resort
    EXPECT_FALSE(fetcher.IsFetching());
    EXPECT_EQ(0u, fetcher.GetStatusCode());
    EXPECT_LT(fetcher.GetBodySize(), 100000);
}
