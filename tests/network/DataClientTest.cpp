#include "NetworkTest.h"
#include "ClientApp.h"
#include "DataClient.h"
#include "DataFolder.h"
#include "FileFolder.h"
#include <cstdlib>

namespace
{
class DataClientTest : public NetworkTest
{
  protected:
    void SetUp() override
    {
        NetworkTest::SetUp();
        // Each test uses its own user, so that the users' folders below My
        // Music do not meet when tests run side by side.
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        email = CString(test->name()) + L"@example.com";
        client = CDataClient::GetInstance();
        client->SetUser(email, L"10042");
    }
    void TearDown() override
    {
        CDataClient::ReleaseInstance();
        NetworkTest::TearDown();
    }
    std::vector<ServiceRecord> WaitForExchanges(size_t count, DWORD timeoutMs)
    {
        service.WaitForRecord([&](const ServiceRecord&) { return service.Records("image", "exchange").size() >= count; },
                              timeoutMs);
        return service.Records("image", "exchange");
    }
    size_t CheckRequests()
    {
        size_t count = 0;
        for (auto& r : service.Records("web", "request"))
            count += r.Get("path") == "/cgi-bin/checkpls";
        return count;
    }
    std::string Received(const ServiceRecord& record)
    {
        std::string bytes;
        service.ReadDataFile(record.Get("file"), bytes);
        return bytes;
    }

    CString email;
    CDataClient* client = nullptr;
};
} // namespace

TEST_F(DataClientTest, QueuedRequestsLeaveOneASecondWithTheLatestSecondText)
{
    client->QueueRequest(5, L"singer--A++music--B", L"first");
    client->QueueRequest(6, L"\x7559\x8A00", L"second"); // a board message in Chinese
    client->QueueRequest(7, L"sent", L"third");
    auto records = WaitForExchanges(3, 10000);
    ASSERT_EQ(3u, records.size());
    const struct
    {
        const char* kind;
        std::string payload;
    } expected[] = {{"5", std::string("singer--A++music--B\n", 20) + '\0'},
                    {"6", std::string("\xE7\x95\x99\xE8\xA8\x80\n") + '\0'},
                    {"7", std::string("sent\n") + '\0'}};
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(expected[i].kind, records[i].Get("kind"));
        EXPECT_EQ(expected[i].payload, Received(records[i]));
        EXPECT_EQ(std::to_string(280 + expected[i].payload.size()), records[i].Get("length"));
        EXPECT_EQ(Utf8(email), records[i].Get("first"));
        EXPECT_EQ("10042", records[i].Get("user"));
        EXPECT_EQ("third", records[i].Get("second")); // one second text for the whole queue
        EXPECT_EQ("", records[i].Get("type"));
        if (i > 0)
        {
            // Paced: about one a second.
            EXPECT_GE(atol(records[i].Get("ms").c_str()) - atol(records[i - 1].Get("ms").c_str()), 800);
        }
    }
    EXPECT_EQ(0, client->GetQueuedCount());
}

TEST_F(DataClientTest, RequestTextLongerThanTheSendBufferIsCutAtACharacter)
{
    CString text(L'a', 2045);
    text += L"\x4E2D"; // three UTF-8 bytes that no longer fit
    client->QueueRequest(5, text, L"");
    auto records = WaitForExchanges(1, 5000);
    ASSERT_EQ(1u, records.size());
    std::string payload = Received(records[0]);
    EXPECT_EQ(std::string(2045, 'a') + "\n" + '\0', payload);
    EXPECT_LE(payload.size(), (size_t)CDataClient::RequestBufferSize);
}

TEST_F(DataClientTest, PlaylistCheckUploadsOnNoAndSendsNothingOnOk)
{
    CString path = BuildMyPlaylistPath(email);
    ASSERT_FALSE(path.IsEmpty());
    CreateFolderPath(path.Left(path.ReverseFind(L'\\')));
    std::string playlist = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<UR><PS/></UR>\n" + std::string(5000, ' ');
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written;
    WriteFile(file, playlist.data(), (DWORD)playlist.size(), &written, NULL);
    CloseHandle(file);

    client->StartPlaylistCheck(); // the service has no file of this user: "NO"
    ASSERT_TRUE(client->WaitForPlaylistCheck(10000));
    auto records = WaitForExchanges(1, 5000);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ("2", records[0].Get("kind"));
    EXPECT_EQ(std::to_string(280 + playlist.size()), records[0].Get("length"));
    EXPECT_EQ("xml", records[0].Get("type"));
    EXPECT_EQ(Utf8(email), records[0].Get("first"));
    EXPECT_EQ(playlist, Received(records[0]));

    client->StartPlaylistCheck(); // now it has this very file: "OK", nothing is sent
    ASSERT_TRUE(client->WaitForPlaylistCheck(10000));
    EXPECT_EQ(2u, CheckRequests()); // two checks posted
    Sleep(300);
    EXPECT_EQ(1u, service.Records("image", "exchange").size());
    DeleteFileW(path);

    client->StartPlaylistCheck(); // no file: no check at all
    ASSERT_TRUE(client->WaitForPlaylistCheck(10000));
    EXPECT_EQ(2u, CheckRequests());
}

TEST_F(DataClientTest, PlaylistsUploadAsOneXmlOfKindFour)
{
    CSyncPlaylist first;
    first.m_strName = L"Favourites";
    CSyncSong song;
    song.H = L"HASH1";
    song.T = L"Title & \"more\"";
    song.A = L"Artist";
    song.S = L"s";
    song.W = L"w";
    first.AddSong(song);
    first.AddSong(song); // the same hash once
    CSyncPlaylist second;
    second.m_strName = L"Road";
    second.m_strM = L"2";
    song.H = L"HASH2";
    song.Z = 5;
    second.AddSong(song);

    EXPECT_EQ(0, client->AddSyncPlaylist(first));
    EXPECT_EQ(0, client->AddSyncPlaylist(second));
    EXPECT_EQ(1, client->AddSyncPlaylist(first)); // queued once
    client->UploadPlaylists();

    CString xml = client->GetLastPlaylistsXml();
    EXPECT_EQ(1, xml.Replace(L"<PL N=\"Favourites\">", L"")) << Utf8(xml);
    EXPECT_EQ(1, xml.Replace(L"<PL N=\"Road\" M=\"2\">", L"")) << Utf8(xml);
    EXPECT_EQ(1, xml.Replace(L"<IT H=\"HASH1\" T=\"Title &amp; &quot;more&quot;\" A=\"Artist\" S=\"s\" W=\"w\"/>", L""))
        << Utf8(xml);
    EXPECT_EQ(1, xml.Replace(L"<IT H=\"HASH2\" T=\"Title &amp; &quot;more&quot;\" A=\"Artist\" Z=\"5\" S=\"s\" W=\"w\"/>",
                             L""))
        << Utf8(xml);

    auto records = WaitForExchanges(1, 5000);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ("4", records[0].Get("kind"));
    EXPECT_EQ("xml", records[0].Get("type"));
    std::string sent = Received(records[0]);
    EXPECT_EQ(Utf8(client->GetLastPlaylistsXml()), sent);
    EXPECT_EQ(std::to_string(280 + sent.size()), records[0].Get("length"));
}

TEST_F(DataClientTest, DownloadLogValuesAreEncodedSoTheyCannotBreakTheForm)
{
    client->PostDownloadLog(L"me@example.com", L"HASH", L"Rock & Roll = \x4E2D x", L"a+b");
    ServiceRecord request;
    ASSERT_TRUE(service.WaitForRequest("/cgi-bin/dmlog", 5000, &request));
    EXPECT_EQ("POST", request.Get("method"));
    EXPECT_EQ("application/x-www-form-urlencoded", request.Get("content-type"));
    std::string body;
    ASSERT_TRUE(service.ReadDataFile(request.Get("file"), body));
    EXPECT_EQ("u=me%40example.com&h=HASH&t=Rock+%26+Roll+%3D+%E4%B8%AD+x&a=a%2Bb", body);
}

TEST_F(DataClientTest, TakesTheUserFromTheApplicationObject)
{
    CDataClient::ReleaseInstance();
    CClientApp app;
    app.SetUserEmail(L"app.user@example.com");
    ASSERT_EQ(&app, GetClientApp());
    client = CDataClient::GetInstance(); // the e-mail is copied now
    app.SetUserId(L"777");                // the id arrives after the login
    client->QueueRequest(5, L"song", L"");
    auto records = WaitForExchanges(1, 5000);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ("app.user@example.com", records[0].Get("first"));
    EXPECT_EQ("777", records[0].Get("user"));
    CDataClient::ReleaseInstance();
}
