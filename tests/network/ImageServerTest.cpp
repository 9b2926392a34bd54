#include "NetworkTest.h"
#include "ImageServerLink.h"
#include <cstring>
#include <string>
#include <vector>

namespace
{
DWORD ReadU32(const BYTE* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | ((DWORD)p[3] << 24);
}

std::string Bytes(size_t count, int seed)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = char((i * 31 + seed) & 0xFF);
    return bytes;
}

// A socket that keeps the size of every send: the pieces are the client's own
// calls (the receiving side may join or split what travels).
class RecordingSocket : public CTcpSocket
{
  public:
    std::vector<int> sends;
    int Send(const void* data, int length, int flags = 0) override
    {
        sends.push_back(length);
        return CTcpSocket::Send(data, length, flags);
    }
};

std::string Joined(const std::vector<int>& sizes, size_t from)
{
    std::string text;
    for (size_t i = from; i < sizes.size(); ++i)
        text += (text.empty() ? "" : ",") + std::to_string(sizes[i]);
    return text;
}

class ImageServerTest : public NetworkTest
{
  protected:
    // One exchange as the senders make it: header, then the payload in
    // pieces. Gives the sizes of the client's sends.
    std::vector<int> Exchange(const ImageServerHeader& header, const std::string& payload)
    {
        RecordingSocket socket;
        EXPECT_TRUE(ImageServerLink::Connect(socket, TRUE));
        EXPECT_TRUE(ImageServerLink::SendHeader(socket, header));
        EXPECT_TRUE(ImageServerLink::SendPieces(socket, payload.data(), (DWORD)payload.size()));
        socket.Close();
        return socket.sends;
    }
    ServiceRecord WaitForExchange(size_t index)
    {
        ServiceRecord record;
        EXPECT_TRUE(service.WaitForRecord(
            [&](const ServiceRecord&) { return service.Records("image", "exchange").size() > index; }, 5000));
        auto records = service.Records("image", "exchange");
        return records.size() > index ? records[index] : record;
    }
};
} // namespace

TEST(ImageServerHeaderLayout, PutsEveryFieldAtItsOffsetAndCutsLongTexts)
{
    ImageServerHeader header;
    header.SetLength(0x01020304);
    header.SetKind(7);
    header.SetUserId(123456);
    header.SetItem(99);
    std::string longText(200, 'x');
    header.SetFirstText(longText.c_str());
    header.SetTypeText("jpeg-extra");
    header.SetSecondText("second");
    const BYTE* b = header.bytes;
    EXPECT_EQ(0x01020304u, ReadU32(b));
    EXPECT_EQ(7u, ReadU32(b + 4));
    EXPECT_EQ(123456u, ReadU32(b + 8));
    EXPECT_EQ(std::string(128, 'x'), std::string((const char*)b + 12, 128)); // cut at the field's end
    EXPECT_EQ(99u, ReadU32(b + 140));                                         // the next field is intact
    EXPECT_EQ("jpeg-ext", std::string((const char*)b + 144, 8));
    EXPECT_STREQ("second", (const char*)b + 152);
    EXPECT_EQ(0, b[152 + 6]);
    EXPECT_EQ(0, b[279]);

    header.SetFirstText("short");
    EXPECT_STREQ("short", (const char*)b + 12);
    EXPECT_EQ(std::string(128 - 5, '\0'), std::string((const char*)b + 17, 123)); // zero-padded
}

TEST_F(ImageServerTest, ServiceReceivesTheExactHeaderAndPayloadOfEachKind)
{
    const struct
    {
        DWORD kind;
        DWORD payload;
        DWORD lengthField;
        const char* pieces;
    } cases[] = {
        {ImageServerHeader::KindPlaylists, 10000, 10280, "4096,4096,1808"},
        {ImageServerHeader::KindAvatar, 5000, 5280, "4096,904"},
        {ImageServerHeader::KindSongUpload, 5000, 5000, "4096,904"}, // the file size alone
        {ImageServerHeader::KindOwnPlaylist, 4096, 4376, "4096"},
    };
    size_t index = 0;
    for (auto& c : cases)
    {
        ImageServerHeader header;
        header.SetLength(c.lengthField);
        header.SetKind(c.kind);
        header.SetUserId(10001);
        header.SetFirstText("user@example.com");
        header.SetTypeText("xml");
        std::string payload = Bytes(c.payload, (int)c.kind);
        std::vector<int> sends = Exchange(header, payload);
        ASSERT_FALSE(sends.empty());
        EXPECT_EQ(280, sends[0]) << "the header in one send";
        EXPECT_EQ(c.pieces, Joined(sends, 1)) << "the payload in pieces of at most 4096 bytes";
        ServiceRecord record = WaitForExchange(index++);
        EXPECT_EQ(std::to_string(c.kind), record.Get("kind"));
        EXPECT_EQ(std::to_string(c.lengthField), record.Get("length"));
        EXPECT_EQ("10001", record.Get("user"));
        EXPECT_EQ("user@example.com", record.Get("first"));
        EXPECT_EQ("xml", record.Get("type"));
        std::string headerBytes, received;
        ASSERT_TRUE(service.ReadDataFile(record.Get("header"), headerBytes));
        EXPECT_EQ(std::string((const char*)header.bytes, 280), headerBytes);
        ASSERT_TRUE(service.ReadDataFile(record.Get("file"), received));
        EXPECT_EQ(payload, received);
    }
}

TEST_F(ImageServerTest, AlbumCoverOfferGetsOkOnceThenNo)
{
    std::string cover = Bytes(6000, 3);
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        ImageServerHeader header;
        header.SetLength(280 + (DWORD)cover.size());
        header.SetKind(ImageServerHeader::KindAlbumCover);
        header.SetItem(4711);
        header.SetSecondText("SONGHASH");
        RecordingSocket socket;
        ASSERT_TRUE(ImageServerLink::Connect(socket, FALSE));
        ASSERT_TRUE(ImageServerLink::SendHeader(socket, header));
        char reply[12] = {};
        int got = 0, n;
        while (got < 12 && (n = socket.Receive(reply + got, 12 - got)) > 0)
            got += n;
        ASSERT_EQ(12, got);
        EXPECT_EQ(attempt == 0 ? std::string("OK") : std::string("NO"), std::string(reply, 2));
        EXPECT_EQ(std::string(10, '\0'), std::string(reply + 2, 10));
        if (std::string(reply, 2) == "OK")
        {
            ASSERT_TRUE(ImageServerLink::SendPieces(socket, cover.data(), (DWORD)cover.size()));
            EXPECT_EQ("280,4096,1904", Joined(socket.sends, 0));
        }
        socket.Close();
        ServiceRecord record = WaitForExchange(attempt);
        EXPECT_EQ(attempt == 0 ? "OK" : "NO", record.Get("reply"));
        EXPECT_EQ(attempt == 0 ? "6000" : "0", record.Get("bytes"));
        EXPECT_EQ("4711", record.Get("item"));
        EXPECT_EQ("SONGHASH", record.Get("second"));
    }
    std::string stored;
    ASSERT_TRUE(service.ReadDataFile("albums/4711.bin", stored));
    EXPECT_EQ(cover, stored);
}
