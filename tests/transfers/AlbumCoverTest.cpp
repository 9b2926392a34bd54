// The album-cover job of a completed download against the stand-in service:
// "albums.ini", the kept cover, the ".JPG" second try and the offers.
#include "TransferTest.h"
#include "AlbumCoverJob.h"

namespace
{
class AlbumCoverTest : public TransferTest
{
  protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        music = FreshFolder(L"album-music");
        SetEnvironmentVariableW(L"YEB_MYMUSIC", music.c_str());
        album = music + L"\\yeb360\\album";
        ini = album + L"\\albums.ini";
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"YEB_MYMUSIC", NULL);
        TransferTest::TearDown();
    }
    bool Listed(const wchar_t* section, const wchar_t* hash)
    {
        wchar_t value[8] = L"";
        GetPrivateProfileStringW(section, hash, L"", value, 8, ini.c_str());
        return wcscmp(value, L"1") == 0;
    }
    // The service logs an exchange once the client has closed it.
    std::vector<ServiceRecord> Offers(size_t count = 0)
    {
        service.WaitForRecord(
            [&](const ServiceRecord&) { return service.Records("image", "exchange").size() >= count; },
            count ? 5000 : 300);
        return service.Records("image", "exchange");
    }
    std::wstring music, album, ini;
};
} // namespace

TEST_F(AlbumCoverTest, TheSecondSongOfAnAlbumOffersTheKeptCover)
{
    CString address = WebUrl(L"/covers/disc_1234.jpg?lower=1&size=9000");
    EXPECT_EQ(AlbumCoverJob::Offered, AlbumCoverJob::Run(address, L"HASHONE", L"10001"));
    EXPECT_TRUE(Listed(L"1234", L"HASHONE"));
    EXPECT_EQ(SongPattern(9000), ReadBytes(album + L"\\1234.jpg"));
    ASSERT_EQ(1u, Offers(1).size());
    EXPECT_EQ("3", Offers()[0].Get("kind"));
    EXPECT_EQ(std::to_string(280 + 9000), Offers()[0].Get("length"));
    EXPECT_EQ("1234", Offers()[0].Get("item"));
    EXPECT_EQ("HASHONE", Offers()[0].Get("second"));
    EXPECT_EQ("OK", Offers()[0].Get("reply"));
    EXPECT_EQ("9000", Offers()[0].Get("bytes"));

    // The service forgets the cover, so that it asks for it again.
    DeleteFileW(service.PathOf("albums\\1234.bin").c_str());
    int requests = (int)service.Records("web", "request").size();
    EXPECT_EQ(AlbumCoverJob::Offered, AlbumCoverJob::Run(address, L"HASHTWO", L"10001"));
    EXPECT_EQ(requests, (int)service.Records("web", "request").size())
        << "the kept cover is not fetched again";
    EXPECT_TRUE(Listed(L"1234", L"HASHONE"));
    EXPECT_TRUE(Listed(L"1234", L"HASHTWO"));
    ASSERT_EQ(2u, Offers(2).size());
    EXPECT_EQ("HASHTWO", Offers()[1].Get("second"));
    EXPECT_EQ("9000", Offers()[1].Get("bytes"));
    EXPECT_EQ("4096,4096,808", Offers()[1].Get("pieces"));

    // Once the service has it, the third song's offer is declined.
    EXPECT_EQ(AlbumCoverJob::Declined, AlbumCoverJob::Run(address, L"HASHTHREE", L"10001"));
    ASSERT_EQ(3u, Offers(3).size());
    EXPECT_EQ("NO", Offers()[2].Get("reply"));
    EXPECT_EQ("0", Offers()[2].Get("bytes"));
}

TEST_F(AlbumCoverTest, ACoverMissingAtItsAddressIsFetchedWithTheUpperCaseEnding)
{
    EXPECT_EQ(AlbumCoverJob::Offered, AlbumCoverJob::Run(WebUrl(L"/covers/x_77.jpg"), L"H77", L"5"));
    EXPECT_TRUE(service.WaitForRequest("/covers/x_77.JPG", 5000));
    EXPECT_EQ("3000", Offers(1)[0].Get("bytes"));
    EXPECT_EQ(SongPattern(3000), ReadBytes(album + L"\\77.jpg"));
}

TEST_F(AlbumCoverTest, AFailedFetchForgetsTheAlbumSoTheNextSongTriesAgain)
{
    struct
    {
        const wchar_t* path;
        const wchar_t* album;
    } cases[] = {
        {L"/covers/gone_55.png", L"55"},                      // 404 at both endings
        {L"/covers/huge_56.jpg?lower=1&size=5000000", L"56"}, // over the picture cap
        {L"", L""},                                           // no cover address
    };
    for (auto& c : cases)
    {
        CString address = *c.path ? WebUrl(c.path) : CString();
        EXPECT_EQ(AlbumCoverJob::FetchFailed, AlbumCoverJob::Run(address, L"HASH", L"5")) << c.path;
        EXPECT_FALSE(Listed(c.album, L"HASH")) << c.path;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((album + L"\\" + c.album + L".jpg").c_str()))
            << c.path;
    }
    EXPECT_TRUE(Offers().empty());
}

TEST(AlbumIds, TheIdIsTheTextAfterTheLastUnderscore)
{
    EXPECT_EQ(CString(L"1234"), AlbumCoverJob::AlbumIdOf(L"http://img/x_a_1234.jpg"));
    EXPECT_EQ(CString(L"99"), AlbumCoverJob::AlbumIdOf(L"http://img/cover_99.big.jpg"));
    EXPECT_EQ(CString(L""), AlbumCoverJob::AlbumIdOf(L""));
}
