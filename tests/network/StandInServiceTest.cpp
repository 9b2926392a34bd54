#include "NetworkTest.h"
#include "FormPost.h"
#include "HttpFetcher.h"

class StandInServiceTest : public NetworkTest
{
};

TEST_F(StandInServiceTest, UserIdsAgreeBetweenYebloginAndGidfrmail)
{
    CHttpFetcher fetcher;
    ASSERT_TRUE(fetcher.SetUrl(CServiceAddresses::Get().ImageWebUrl(L"/cgi-bin/yeblogin?email=b@example.com")));
    ASSERT_TRUE(fetcher.Start(FALSE));
    CString uid = fetcher.GetResponseText(CP_UTF8);
    EXPECT_EQ(CString(L"10001"), uid);

    const CServiceAddresses& at = CServiceAddresses::Get();
    DWORD status = 0;
    CStringA answer;
    ASSERT_TRUE(PostForm(at.m_imageHost, at.m_imageWebPort, L"/cgi-bin/gidfrmail", "mails=a@example.com,b@example.com",
                         &status, &answer, 4096));
    EXPECT_EQ(200u, status);
    EXPECT_NE(-1, answer.Find("<INFO email=\"a@example.com\" uid=\"10002\"/>")) << answer.GetString();
    EXPECT_NE(-1, answer.Find("<INFO email=\"b@example.com\" uid=\"10001\"/>")) << answer.GetString();
}

TEST_F(StandInServiceTest, FilesBelowWwwAnswerAndNothingOutsideIsServed)
{
    service.WriteDataFile("www/inset/ad.xml", "<RT/>");
    service.WriteDataFile("secret.txt", "secret");
    const struct
    {
        LPCWSTR path;
        DWORD status;
    } cases[] = {{L"/inset/ad.xml", 200},
                 {L"/inset/missing.xml", 404},
                 {L"/../secret.txt", 404},
                 {L"/inset/..%5C..%5Csecret.txt", 404},
                 {L"/%2E%2E/secret.txt", 404}};
    for (auto& c : cases)
    {
        CHttpFetcher fetcher;
        ASSERT_TRUE(fetcher.SetUrl(WebUrl(c.path)));
        fetcher.Start(FALSE);
        EXPECT_EQ(c.status, fetcher.GetStatusCode()) << Utf8(c.path);
        EXPECT_EQ(-1, fetcher.GetResponseText(CP_UTF8).Find(L"secret")) << Utf8(c.path);
    }
}
