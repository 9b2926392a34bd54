#include "NetworkTest.h"
#include "FwInternet.h"
#include <memory>

namespace
{
class InternetTest : public NetworkTest
{
  protected:
    static std::string ReadAll(CInternetFile& file)
    {
        std::string body;
        char piece[1000];
        UINT n;
        while ((n = file.Read(piece, sizeof piece)) > 0)
            body.append(piece, n);
        return body;
    }
};
} // namespace

TEST_F(InternetTest, PostsHeadersAndBodyThroughAConnection)
{
    CInternetSession session(L"test agent");
    EXPECT_TRUE(session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, 30000));
    DWORD timeout = 0;
    EXPECT_TRUE(session.QueryOption(INTERNET_OPTION_CONNECT_TIMEOUT, timeout));
    EXPECT_EQ(30000u, timeout);
    std::unique_ptr<CHttpConnection> connection(session.GetHttpConnection(
        CServiceAddresses::Get().m_webHost, (INTERNET_PORT)CServiceAddresses::Get().m_webPort));
    std::unique_ptr<CHttpFile> file(connection->OpenRequest(CHttpConnection::HTTP_VERB_POST, L"/test/echo"));
    EXPECT_TRUE(file->AddRequestHeaders(L"X-Added: yes\r\n"));
    CString headers = L"Content-Type: application/x-www-form-urlencoded";
    char body[] = "a=1&b=2";
    ASSERT_TRUE(file->SendRequest(headers, body, 7));
    DWORD status = 0;
    EXPECT_TRUE(file->QueryInfoStatusCode(status));
    EXPECT_EQ(200u, status);
    std::string echo = ReadAll(*file);
    EXPECT_EQ(0u, echo.find("POST /test/echo HTTP/1.1\r\n")) << echo;
    EXPECT_NE(std::string::npos, echo.find("Content-Type: application/x-www-form-urlencoded\r\n")) << echo;
    EXPECT_NE(std::string::npos, echo.find("X-Added: yes\r\n")) << echo;
    EXPECT_NE(std::string::npos, echo.find("User-Agent: test agent\r\n")) << echo;
    EXPECT_EQ("a=1&b=2", echo.substr(echo.size() - 7));
}

TEST_F(InternetTest, OpenUrlReadsStatusHeadersAndBody)
{
    CInternetSession session;
    std::unique_ptr<CHttpFile> file(session.OpenURL(WebUrl(L"/test/status?code=404"), 1,
                                                    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                                        INTERNET_FLAG_TRANSFER_BINARY));
    DWORD status = 0;
    EXPECT_TRUE(file->QueryInfoStatusCode(status));
    EXPECT_EQ(404u, status);
    CString length, text;
    EXPECT_TRUE(file->QueryInfo(HTTP_QUERY_CONTENT_LENGTH, length));
    EXPECT_EQ(CString(L"15"), length);
    EXPECT_TRUE(file->QueryInfo(HTTP_QUERY_STATUS_CODE, text));
    EXPECT_EQ(CString(L"404"), text);
    EXPECT_FALSE(file->QueryInfo(HTTP_QUERY_LOCATION, text));
    EXPECT_EQ("status 404 body", ReadAll(*file));
    file->Close();
    ServiceRecord request;
    ASSERT_TRUE(service.WaitForRequest("/test/status", 2000, &request));
    EXPECT_EQ("network_tests", request.Get("user-agent")); // a session without agent uses the program's name
}

TEST_F(InternetTest, FailuresThrowInternetExceptions)
{
    CInternetSession session;
    const struct
    {
        LPCWSTR url;
        DWORD error;
    } cases[] = {{L"http://127.0.0.1:1/", ERROR_INTERNET_CANNOT_CONNECT},
                 {L"ftp://127.0.0.1/", ERROR_INTERNET_UNRECOGNIZED_SCHEME}};
    for (auto& c : cases)
    {
        DWORD error = 0;
        try
        {
            delete session.OpenURL(c.url);
        }
        catch (CInternetException* e)
        {
            error = e->m_dwError;
            wchar_t message[256] = L"";
            EXPECT_TRUE(e->GetErrorMessage(message, 256));
            EXPECT_NE(L'\0', message[0]);
            e->Delete();
        }
        EXPECT_EQ(c.error, error) << Utf8(c.url);
    }
}

TEST_F(InternetTest, ReadsTheBodyLineByLineAndRefusesToWrite)
{
    service.WriteDataFile("www/lines.txt", "first\r\nsecond\n\nlast");
    CInternetSession session;
    std::unique_ptr<CStdioFile> file(session.OpenURL(WebUrl(L"/lines.txt")));
    const LPCWSTR expected[] = {L"first", L"second", L"", L"last"};
    CString line;
    for (LPCWSTR text : expected)
    {
        ASSERT_TRUE(file->ReadString(line));
        EXPECT_EQ(CString(text), line);
    }
    EXPECT_FALSE(file->ReadString(line));
    EXPECT_THROW(file->Write("x", 1), CNotSupportedException*);
}
