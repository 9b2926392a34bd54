#include "SongLibrary.h"
#include "TestFiles.h"
#include "Xml.h"

#include <gtest/gtest.h>

namespace
{

CSongInfo MakeSong(LPCWSTR id, LPCWSTR type = L"0", LPCWSTR hash = L"H")
{
    CSongInfo song;
    song.SetId(id);
    song.SetPath(CString(L"C:\\m\\") + id + L".mp3");
    song.SetHash(hash);
    song.SetType(type);
    return song;
}

CPlaylist MakeList(LPCWSTR name, int kind, std::initializer_list<LPCWSTR> ids)
{
    CPlaylist list;
    list.SetName(name);
    list.SetKind(kind);
    for (LPCWSTR id : ids)
        list.AddSongKey(id, TRUE);
    return list;
}

HRESULT LoadText(CSongLibrary& library, LPCWSTR text)
{
    CXmlElement* root = XmlParseString(text);
    HRESULT hr = library.LoadFromXml(root);
    delete root;
    return hr;
}

} // namespace

TEST(SongLibrary, FileRoundTripIsByteExact)
{
    ScratchFolder folder;
    CSongLibrary library;
    CSongInfo a = MakeSong(L"A1");
    a.SetTitle(L"\x4E2D\x6587 & <x>");
    a.SetFileSize(L"123");
    a.SetDuration(L"2400000000");
    a.SetBoardValue(L"b");
    a.SetOwner(L"local");
    a.SetFlag(1);
    library.AddSong(a);
    library.AddSong(MakeSong(L"B2", L"3"));
    library.AddOrUpdatePlaylist(MakeList(L"Mine", 0, {L"A1", L"B2"}));
    library.AddOrUpdatePlaylist(MakeList(L"Recent", 2, {L"B2"}));
    CString path = folder.Path(L"playlist.xml");
    ASSERT_EQ(S_OK, library.SaveToFile(path));
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
        "<UR>\r\n"
        "  <MD>\r\n"
        "    <MS A=\"A1\" B=\"C:\\m\\A1.mp3\" C=\"\xE4\xB8\xAD\xE6\x96\x87 &amp; &lt;x&gt;\" D=\"\" E=\"\" F=\"\" "
        "G=\"\" H=\"123\" I=\"2400000000\" J=\"H\" K=\"b\" X=\"local\" Y=\"0\" Z=\"1\"/>\r\n"
        "    <MS A=\"B2\" B=\"C:\\m\\B2.mp3\" C=\"B2\" D=\"\" E=\"\" F=\"\" G=\"\" H=\"0\" I=\"0\" J=\"H\" "
        "K=\"\" Y=\"3\"/>\r\n"
        "  </MD>\r\n"
        "  <PS>\r\n"
        "    <PL NM=\"Mine\">\r\n"
        "      <IT A=\"A1\"/>\r\n"
        "      <IT A=\"B2\"/>\r\n"
        "    </PL>\r\n"
        "    <PL NM=\"Recent\" X=\"2\">\r\n"
        "      <IT A=\"B2\"/>\r\n"
        "    </PL>\r\n"
        "  </PS>\r\n"
        "</UR>\r\n";
    EXPECT_EQ(expected, ReadFileBytes(path));

    CSongLibrary loaded;
    ASSERT_EQ(S_OK, loaded.LoadFromFile(path));
    ASSERT_EQ(S_OK, loaded.SaveToFile(folder.Path(L"again.xml")));
    EXPECT_EQ(expected, ReadFileBytes(folder.Path(L"again.xml")));
    CSongInfo back;
    ASSERT_EQ(S_OK, loaded.GetSongById(L"A1", back));
    EXPECT_STREQ(L"\x4E2D\x6587 & <x>", back.GetTitle());
    CPlaylist recent;
    ASSERT_EQ(S_OK, loaded.GetPlaylistByName(L"Recent", recent));
    EXPECT_EQ(2, recent.GetKind());
}

TEST(SongLibrary, LoadRulesForDuplicatesAndResults)
{
    CSongLibrary library;
    EXPECT_EQ(S_OK, LoadText(library, L"<UR><MD><MS A=\"1\" B=\"first\" J=\"J\"/><MS A=\"1\" B=\"second\" J=\"J\"/><MS A=\"2\"/></MD>"
                                      L"<PS><PL NM=\"L\"><IT A=\"1\"/></PL><PL NM=\"L\" X=\"junk\"><IT A=\"9\"/>"
                                      L"</PL><PL/></PS></UR>"));
    ASSERT_EQ(1, library.GetSongCount());
    CSongInfo song;
    library.GetSongAt(0, song);
    EXPECT_STREQ(L"first", song.GetPath());
    ASSERT_EQ(1, library.GetPlaylistCount());
    CPlaylist list;
    library.GetPlaylistAt(0, list);
    EXPECT_EQ(0, list.GetKind()) << "text that is no number reads as 0";
    EXPECT_EQ(0, list.IndexOfSong(L"9")) << "the later list replaced the earlier; ids without songs stay";

    EXPECT_EQ(S_OK, LoadText(library, L"<UR><MD><MS A=\"1\" B=\"first\" J=\"J\"/><MS A=\"2\" B=\"b\" J=\"J\"/></MD>"
                                      L"<MD><MS A=\"3\" B=\"c\" J=\"J\"/><MS A=\"1\" B=\"second\" J=\"J\"/></MD></UR>"));
    ASSERT_EQ(3, library.GetSongCount()) << "a second song section adds to the first";
    ASSERT_EQ(S_OK, library.GetSongById(L"1", song));
    EXPECT_STREQ(L"first", song.GetPath());

    EXPECT_EQ(1, LoadText(library, L"<UR><MD><MS A=\"1\" B=\"p\"/></MD><PS/></UR>")) << "no playlists: 1";
    EXPECT_EQ(1, library.GetSongCount());
    EXPECT_EQ(1, LoadText(library, L"<UR/>"));
    EXPECT_EQ(E_INVALIDARG, LoadText(library, L"<XX><MD/></XX>"));
    EXPECT_EQ(0, library.GetSongCount());
    EXPECT_EQ(E_INVALIDARG, library.LoadFromFile(L"Z:\\no\\such\\playlist.xml"));
}

TEST(SongLibrary, EditingSongsAndPlaylists)
{
    CSongLibrary library;
    EXPECT_EQ(S_OK, library.AddSong(MakeSong(L"1", L"0", L"h1")));
    EXPECT_EQ(E_INVALIDARG, library.AddSong(MakeSong(L"1")));
    EXPECT_EQ(1, library.AddSongToPlaylist(MakeSong(L"2", L"1", L"h1"), MakeList(L"none", 0, {})));
    EXPECT_EQ(2, library.GetSongCount()) << "the song stays added";
    library.AddOrUpdatePlaylist(MakeList(L"A", 0, {L"1"}));
    library.AddOrUpdatePlaylist(MakeList(L"B", 1, {}));
    EXPECT_EQ(S_OK, library.AddSongToPlaylist(MakeSong(L"2"), MakeList(L"B", 0, {})));
    EXPECT_EQ(2, library.GetSongCount());
    EXPECT_EQ(E_INVALIDARG, library.RemoveSongFromPlaylist(MakeSong(L"9"), MakeList(L"A", 0, {})));
    EXPECT_EQ(1, library.RemoveSongFromPlaylist(MakeSong(L"1"), MakeList(L"Z", 0, {})));

    // Renaming keeps every list reachable.
    EXPECT_EQ(S_OK, library.RenamePlaylist(L"A", L"A"));
    EXPECT_EQ(E_INVALIDARG, library.RenamePlaylist(L"Q", L"R"));
    EXPECT_EQ(1, library.RenamePlaylist(L"A", L"B"));
    EXPECT_EQ(S_OK, library.RenamePlaylist(L"A", L"C"));
    CPlaylist list;
    EXPECT_EQ(S_OK, library.GetPlaylistByName(L"C", list));
    EXPECT_EQ(S_OK, library.GetPlaylistByName(L"B", list));

    library.SetBoardValueByHash(L"h1", L"board");
    CString value;
    EXPECT_EQ(S_OK, library.GetBoardValueByHash(L"h1", value));
    EXPECT_STREQ(L"board", value);
    EXPECT_EQ(1, library.GetBoardValueByHash(L"none", value));

    EXPECT_EQ(S_OK, library.RemoveSong(MakeSong(L"1")));
    EXPECT_EQ(E_INVALIDARG, library.RemoveSong(MakeSong(L"1")));
    library.GetPlaylistByName(L"C", list);
    EXPECT_EQ(-1, list.IndexOfSong(L"1")) << "a removed song leaves no id behind";
}

TEST(SongLibrary, TypesAndTemporaryItems)
{
    CSongLibrary library;
    LPCWSTR types[] = {L"0", L"1", L"2", L"3", L"", L"7"};
    for (int i = 0; i < 6; ++i)
    {
        CString id;
        id.Format(L"%d", i);
        library.AddSong(MakeSong(id, types[i]));
    }
    library.AddOrUpdatePlaylist(MakeList(L"keep", 0, {L"5"}));
    library.AddOrUpdatePlaylist(MakeList(L"temp", 2, {}));
    EXPECT_EQ(4, library.CountListedSongs());
    EXPECT_EQ(1, library.CountSongsOfType(L""));
    std::vector<CSongInfo> others;
    library.CollectOtherTypeSongs(others);
    EXPECT_EQ(2u, others.size());

    CSongLibrary flag1 = library;
    flag1.RemoveTemporaryItems(1);
    EXPECT_EQ(3, flag1.GetSongCount()) << "the empty type goes too";
    EXPECT_EQ(1, flag1.GetPlaylistCount());
    library.RemoveTemporaryItems(0);
    EXPECT_EQ(1, library.GetSongCount());
    CPlaylist keep;
    library.GetPlaylistAt(0, keep);
    EXPECT_EQ(0, keep.IndexOfSong(L"5")) << "ids of removed songs stay in the lists";
}

TEST(SongLibrary, EmptyFileCreationReportsFailures)
{
    ScratchFolder folder;
    CSongLibrary library;
    CString nested = folder.Path(L"lib\\private\\me\\playlist.xml");
    EXPECT_EQ(S_OK, library.CreateEmptyFile(nested));
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<UR>\r\n  <MD/>\r\n  <PS/>\r\n</UR>\r\n",
              ReadFileBytes(nested));
    EXPECT_EQ(1, library.LoadFromFile(nested));
    EXPECT_EQ(E_INVALIDARG, library.CreateEmptyFile(L"x"));
    EXPECT_EQ(1, library.CreateEmptyFile(L"Q:\\no\\drive\\playlist.xml"));
    // A folder in the way of the file: the save cannot succeed and says so.
    CreateDirectoryW(folder.Path(L"busy.xml"), nullptr);
    EXPECT_NE(S_OK, library.CreateEmptyFile(folder.Path(L"busy.xml")));

    // A read-only library file is made writable and written.
    library.AddSong(MakeSong(L"1"));
    SetFileAttributesW(nested, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(S_OK, library.SaveToFile(nested));
    CSongLibrary back;
    back.LoadFromFile(nested);
    EXPECT_EQ(1, back.GetSongCount());
}

TEST(SongLibrary, CreateFoldersAlongPathMakesEveryFolderButTheLast)
{
    ScratchFolder folder;
    CreateFoldersAlongPath(folder.Path(L"a/b\\c\\file.xml"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.Path(L"a\\b\\c")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.Path(L"a\\b\\c\\file.xml")));
}
