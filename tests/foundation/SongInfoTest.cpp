#include "MediaTagReader.h"
#include "Sha1.h"
#include "SongInfo.h"
#include "TestFiles.h"
#include "Xml.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

std::unique_ptr<CXmlElement> Element(LPCWSTR text)
{
    return std::unique_ptr<CXmlElement>(XmlParseString(text));
}

} // namespace

TEST(SongInfo, NamesComeFromTheContentKeyAndThePath)
{
    ScratchFolder folder;
    CString path = folder.Path(L"song.mp3");
    WriteFileBytes(path, std::string(4000, '\0'));
    CSongInfo song(path, TRUE);
    EXPECT_STREQ(L"song", song.GetTitle());
    EXPECT_STREQ(L"4000", song.GetFileSize());
    // The content hash covers "song----4000"; the id continues the same hasher
    // over the key followed by the path.
    EXPECT_STREQ(Sha1NameOf("song----4000"), song.GetHash());
    CSha1 sha;
    sha.Update("song----4000", 12);
    sha.Final();
    std::string keyAndPath = "song----4000" + std::string(CStringA(path));
    sha.Update(keyAndPath.data(), (DWORD)keyAndPath.size());
    sha.Final();
    BYTE digest[20];
    sha.GetDigest(digest);
    wchar_t id[42];
    FormatSha1Base32(digest, FALSE, id);
    EXPECT_STREQ(id, song.GetId());

    // A stored hash over 20 characters is trusted; forcing recomputes.
    CString hash = song.GetHash(), songId = song.GetId();
    song.SetTitle(L"Other");
    song.ComputeHash(FALSE);
    EXPECT_STREQ(hash, song.GetHash());
    song.ComputeHash(TRUE);
    EXPECT_STRNE(hash, song.GetHash());
    song.SetTitle(L"");
    song.SetPath(folder.Path(L"moved\\song.mp3"));
    song.ComputeHash(TRUE);
    EXPECT_STREQ(hash, song.GetHash()) << "same tags and size, same content hash";
    EXPECT_STRNE(songId, song.GetId()) << "another path, another id";

    CSongInfo missing(folder.Path(L"absent.mp3"), TRUE);
    EXPECT_STREQ(L"0", missing.GetFileSize());
    EXPECT_STREQ(Sha1NameOf("absent----0"), missing.GetHash());
}

TEST(SongInfo, TitleArtistDurationAndPlayAddress)
{
    CSongInfo song;
    song.SetPath(L"C:\\music\\abcdef");
    EXPECT_STREQ(L"ab", song.GetTitle()) << "four characters go even without an extension";
    song.SetPath(L"C:\\music\\track.wma");
    EXPECT_STREQ(L"track", song.GetTitle());
    song.SetAlbumArtist(L"AA");
    EXPECT_STREQ(L"AA", song.GetArtist());
    song.SetAuthor(L"Au");
    EXPECT_STREQ(L"Au", song.GetArtist());

    struct
    {
        LPCWSTR duration, text;
    } durations[] = {{L"2400000000", L"04:00"}, {L"6000000000", L"10:00"}, {L"60000000000", L"100:00"},
                     {L"15000000", L"00:01"},   {L"", L"00:00"}};
    for (auto& d : durations)
    {
        song.SetDuration(d.duration);
        EXPECT_STREQ(d.text, song.GetDurationText());
    }
    song.SetHash(L"HASH");
    EXPECT_STREQ(L"C:\\music\\track.wma", song.GetPlayUrl());
    song.SetOwner(L"local");
    EXPECT_STREQ(L"C:\\music\\track.wma", song.GetPlayUrl());
    song.SetOwner(L"bud$dy.com@x");
    EXPECT_STREQ(L"http://127.0.0.1:80/bud$dy.com@x/HASH", song.GetPlayUrl());
    CSongInfo::SetLocalServerPort(82);
    EXPECT_STREQ(L"http://127.0.0.1:82/bud$dy.com@x/HASH", song.GetPlayUrl());
    CSongInfo::SetLocalServerPort(80);
}

TEST(SongInfo, MsElementRoundTrip)
{
    auto element = Element(L"<MS A=\"id1\" B=\"C:\\a\\b.mp3\" E=\"\" F=\"AlbumArt\" I=\"2400000000\" "
                           L"J=\"GY7JTKLKQEDEO4JFH25GZQSQPCO5RUE4\" X=\"bud\" Y=\"3\" Z=\"1\"/>");
    CSongInfo song;
    ASSERT_EQ(0, song.LoadFromXml(element.get()));
    EXPECT_STREQ(L"C:\\a\\b.mp3", song.GetTitle()) << "no C: the whole path";
    EXPECT_STREQ(L"AlbumArt", song.GetArtist());
    EXPECT_STREQ(L"bud", song.GetOwner());
    EXPECT_STREQ(L"3", song.GetType());
    EXPECT_EQ(1, song.GetFlag());
    EXPECT_EQ(2400000000LL, song.GetDuration());

    CXmlElement out(nullptr, L"MS");
    song.SaveToXml(&out);
    EXPECT_STREQ(L"<MS A=\"id1\" B=\"C:\\a\\b.mp3\" C=\"C:\\a\\b.mp3\" D=\"\" E=\"\" F=\"AlbumArt\" G=\"\" H=\"0\" "
                 L"I=\"2400000000\" J=\"GY7JTKLKQEDEO4JFH25GZQSQPCO5RUE4\" K=\"\" X=\"bud\" Y=\"3\" Z=\"1\"/>",
                 out.GetXml(FALSE, FALSE));

    CSongInfo noHash;
    ASSERT_EQ(0, noHash.LoadFromXml(Element(L"<ms a=\"old\" b=\"C:\\x\\song.mp3\" h=\"4000\"/>").get()));
    EXPECT_STREQ(L"0", noHash.GetType());
    EXPECT_STREQ(Sha1NameOf("C:\\x\\song.mp3----4000"), noHash.GetHash());
    EXPECT_STRNE(L"old", noHash.GetId()) << "a fresh id with the fresh hash";

    CSongInfo refused;
    EXPECT_EQ(1, refused.LoadFromXml(Element(L"<MS A=\"x\"/>").get()));
    EXPECT_EQ(1, refused.LoadFromXml(Element(L"<MT A=\"x\" B=\"y\"/>").get()));
    EXPECT_EQ(1, refused.LoadFromXml(nullptr));
}

TEST(SongInfo, StoresHeaderAttributesByType)
{
    CSongInfo song;
    const wchar_t text[] = L"\xFEFFhello";
    const BYTE dword[] = {0x2A, 0, 0, 0};
    const BYTE qword[] = {0, 0xE4, 0x0B, 0x54, 2, 0, 0, 0};
    const BYTE word[] = {0x10, 0x27};
    const BYTE boolean[] = {1, 0, 0, 0};
    song.StoreTagAttribute(0, L"Str", WM_TYPE_STRING, (const BYTE*)text, sizeof(text));
    song.StoreTagAttribute(0, L"Dw", WM_TYPE_DWORD, dword, 4);
    song.StoreTagAttribute(5, L"Qw", WM_TYPE_QWORD, qword, 8);
    song.StoreTagAttribute(1, L"Wd", WM_TYPE_WORD, word, 2);
    song.StoreTagAttribute(4, L"Bo", WM_TYPE_BOOL, boolean, 4);
    song.StoreTagAttribute(5, L"Bin", WM_TYPE_BINARY, dword, 4);
    song.StoreTagAttribute(6, L"Short", WM_TYPE_STRING, (const BYTE*)text, 2);
    song.StoreTagAttribute(7, L"Guid", WM_TYPE_GUID, dword, 4);
    EXPECT_STREQ(L"hello", song.GetProperty(L"Str"));
    EXPECT_STREQ(L"42", song.GetProperty(L"Dw"));
    EXPECT_STREQ(L"10000000000", song.GetProperty(L"Qw"));
    EXPECT_STREQ(L"10000", song.GetProperty(L"Wd"));
    EXPECT_STREQ(L"True", song.GetProperty(L"Bo"));
    EXPECT_STREQ(L"", song.GetProperty(L"Bin"));
    EXPECT_STREQ(L"", song.GetProperty(L"Short"));
    EXPECT_STREQ(L"ERROR", song.GetProperty(L"Guid"));
    ASSERT_EQ(8u, song.GetTagNames().size());
    EXPECT_STREQ(L"Dw", song.GetTagNames()[0]);
    EXPECT_STREQ(L"Wd", song.GetTagNames()[1]);

    std::wstring longText(300, L'x');
    song.StoreTagAttribute(8, L"Long", WM_TYPE_STRING, (const BYTE*)longText.c_str(), 600);
    EXPECT_EQ(246, song.GetProperty(L"Long").GetLength());
}

TEST(SongInfo, ReadsTagsOfRealFiles)
{
    struct
    {
        LPCWSTR file, title, artist, album, genre;
    } cases[] = {
        {L"cbr-id3v23.mp3", L"\x6D4B\x8BD5\x6B4C\x66F2", L"\x6B4C\x624B", L"\x4E13\x8F91", L"Pop"},
        {L"vbr-id3v24.mp3", L"Four Title", L"Album Artist", L"", L"Jazz"},
        {L"untagged.mp3", L"untagged", L"", L"", L""},
        {L"tagged.wma", L"WMA \x6807\x9898", L"WMA Artist", L"WMA Album", L"Classical"},
    };
    for (auto& c : cases)
    {
        CString path = DataPath(c.file);
        CSongInfo song(path, TRUE);
        SCOPED_TRACE((const char*)CStringA(c.file));
        EXPECT_STREQ(c.title, song.GetTitle());
        EXPECT_STREQ(c.artist, song.GetArtist());
        EXPECT_STREQ(c.album, song.GetAlbum());
        CString genre;
        song.GetGenre(genre);
        EXPECT_STREQ(c.genre, genre);
        LONGLONG ms = song.GetDuration() / 10000;
        EXPECT_GT(ms, 1900);
        EXPECT_LT(ms, 2400);
        EXPECT_STREQ(L"00:02", song.GetDurationText());
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExW(path, GetFileExInfoStandard, &data));
        CString size;
        size.Format(L"%lu", data.nFileSizeLow);
        EXPECT_STREQ(size, song.GetFileSize());
        EXPECT_EQ(32, song.GetHash().GetLength());
    }
}

namespace
{
// What the reader hands out over count bytes is well formed and made of those
// bytes: strings end in a zero and are no longer than the bytes could give
// (no code page makes more than one UTF-16 unit of a byte), numbers are 8 bytes.
void ExpectWellFormed(const CMediaTagReader& reader, size_t count)
{
    for (const MediaTagAttribute& a : reader.GetAttributes())
    {
        SCOPED_TRACE(std::string(a.name.begin(), a.name.end()));
        EXPECT_FALSE(a.name.empty());
        if (a.type == WM_TYPE_STRING)
        {
            ASSERT_GE(a.value.size(), 2u);
            EXPECT_EQ(0u, a.value.size() % 2);
            EXPECT_EQ(0, a.value[a.value.size() - 1] | a.value[a.value.size() - 2]);
            EXPECT_LE(a.value.size(), 2 * count + 2);
        }
        else
        {
            EXPECT_EQ(WM_TYPE_QWORD, a.type);
            EXPECT_EQ(8u, a.value.size());
        }
    }
}
} // namespace

TEST(SongInfo, TagReaderSurvivesDamagedFiles)
{
    std::string mp3 = ReadFileBytes(DataPath(L"cbr-id3v23.mp3"));
    ASSERT_GT(mp3.size(), 200u);
    CMediaTagReader reader;
    EXPECT_TRUE(reader.ReadBytes((const BYTE*)mp3.data(), mp3.size(), mp3.size())) << "the whole file reads";
    EXPECT_FALSE(reader.GetAttributes().empty());
    for (size_t cut = 0; cut < 200; ++cut)
    {
        SCOPED_TRACE(cut);
        bool known = reader.ReadBytes((const BYTE*)mp3.data(), cut, mp3.size());
        if (cut < 10)
        {
            EXPECT_FALSE(known) << "not even a tag header";
        }
        ExpectWellFormed(reader, cut);
    }
    std::string lying = mp3;
    lying[6] = 0x7F, lying[7] = 0x7F, lying[8] = 0x7F, lying[9] = 0x7F; // tag size far past the end
    reader.ReadBytes((const BYTE*)lying.data(), lying.size(), lying.size());
    ExpectWellFormed(reader, lying.size());
    std::string wma = ReadFileBytes(DataPath(L"tagged.wma"));
    ASSERT_GT(wma.size(), 0u);
    for (size_t cut = 0; cut < wma.size() && cut < 1200; cut += 7)
    {
        SCOPED_TRACE(cut);
        reader.ReadBytes((const BYTE*)wma.data(), cut, wma.size());
        ExpectWellFormed(reader, cut);
    }
    std::string garbage(5000, '\xFF');
    EXPECT_FALSE(reader.ReadBytes((const BYTE*)garbage.data(), garbage.size(), garbage.size()));
    EXPECT_TRUE(reader.GetAttributes().empty());
}

namespace
{

std::string SyncSafe(size_t n)
{
    return std::string{(char)((n >> 21) & 0x7F), (char)((n >> 14) & 0x7F), (char)((n >> 7) & 0x7F), (char)(n & 0x7F)};
}

std::string BigEndian(size_t n)
{
    return std::string{(char)(n >> 24), (char)(n >> 16), (char)(n >> 8), (char)n};
}

std::string Frame(int major, const char* id, const std::string& body, char flags = 0)
{
    return std::string(id, 4) + (major == 4 ? SyncSafe(body.size()) : BigEndian(body.size())) + '\0' + flags + body;
}

std::string Tag(int major, char flags, const std::string& frames)
{
    return std::string("ID3") + (char)major + '\0' + flags + SyncSafe(frames.size()) + frames;
}

CString TextOf(const CMediaTagReader& reader, LPCWSTR name)
{
    for (const MediaTagAttribute& a : reader.GetAttributes())
        if (a.name == name && a.type == WM_TYPE_STRING)
            return CString((LPCWSTR)a.value.data());
    return CString(L"<none>");
}

} // namespace

TEST(SongInfo, TagReaderTextEncodingsAndTagForms)
{
    // ID3v2.4: UTF-16 big-endian title, a title in the system code page (GBK
    // here), a numbered genre, and a frame written with unsynchronisation.
    std::string v24 = Tag(4, 0,
                          Frame(4, "TIT2", std::string("\x02\x4E\x2D\x65\x87", 5)) +
                              Frame(4, "TPE1", std::string("\x00\xB8\xE8\xCA\xD6", 5)) +
                              Frame(4, "TCON", std::string("\x00(13)", 5)) +
                              Frame(4, "TALB", std::string("\x01\xFF\x00\xFE\x41\x00", 6), 0x02));
    // ID3v2.3 with an extended header and UTF-16 text with a byte-order mark.
    std::string ext = BigEndian(6) + std::string(6, '\0');
    std::string v23 = Tag(3, 0x40,
                          ext + Frame(3, "TIT2", std::string("\x01\xFF\xFE\x41\x00\x42\x00", 7)) +
                              Frame(3, "TPE2", std::string("\x03" "Band", 5)));
    struct
    {
        const std::string* tag;
        LPCWSTR name, text;
    } cases[] = {
        {&v24, L"Title", L"\x4E2D\x6587"}, {&v24, L"Author", L"\x6B4C\x624B"}, {&v24, L"WM/Genre", L"Pop"},
        {&v24, L"WM/AlbumTitle", L"A"}, {&v23, L"Title", L"AB"},         {&v23, L"WM/AlbumArtist", L"Band"},
    };
    for (auto& c : cases)
    {
        CMediaTagReader reader;
        reader.ReadBytes((const BYTE*)c.tag->data(), c.tag->size(), c.tag->size());
        EXPECT_STREQ(c.text, TextOf(reader, c.name)) << (const char*)CStringA(c.name);
    }
}

TEST(SongInfo, WritingATagWithoutTheMediaEditorFailsAndLeavesTheFile)
{
    ScratchFolder folder;
    CString copy = folder.Path(L"copy.mp3");
    ASSERT_TRUE(CopyFileW(DataPath(L"cbr-id3v23.mp3"), copy, FALSE));
    std::string before = ReadFileBytes(copy);
    EXPECT_EQ(E_INVALIDARG, WriteFileTitle(L"", L"x"));
    HRESULT hr = WriteFileTitle(copy, L"New title");
    if (FAILED(hr))
        EXPECT_EQ(before, ReadFileBytes(copy));
    else
        EXPECT_STREQ(L"New title", CSongInfo(copy, TRUE).GetTitle());
}
