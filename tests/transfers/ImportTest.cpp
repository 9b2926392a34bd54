// Importing dropped songs: the walk of a prepared folder tree with shell
// links, the lists it makes, the records for the upload, and the library
// file, through the modal import window.
#include "TransferTest.h"
#include "DlgDragTip.h"
#include "LanguageTable.h"
#include "ReservedNames.h"
#include "WindowPicture.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>

namespace
{
// The main window as an import sees it: a list of song lists whose row 0 is
// the whole library, and the calls the import made.
class FakeHost : public ImportHost
{
  public:
    std::vector<CString> rows{L"all songs"};
    int dropTarget = -1;
    int selected = -1;
    std::vector<CString> messages;
    std::vector<std::string> calls;
    CSongLibrary library;
    CString libraryPath;
    DWORD thread = GetCurrentThreadId();
    bool onOwnThread = true;
    const wchar_t* picture = nullptr;

    int CreateSongList(const CString& name) override
    {
        onOwnThread = onOwnThread && GetCurrentThreadId() == thread;
        if (picture)
        {
            KeepPicture(GetActiveWindow(), picture, 0, 400);
            picture = nullptr;
        }
        if (IsReservedListName(name, TRUE))
            return ListReserved;
        if (FindListRow(name) >= 0)
            return ListExists;
        if (name == L"Broken")
            return ListFailed;
        rows.push_back(name);
        return ListCreated;
    }
    int GetListRowCount() override { return (int)rows.size(); }
    int FindListRow(const CString& name) override
    {
        for (size_t i = 1; i < rows.size(); ++i)
            if (rows[i] == name)
                return (int)i;
        return -1;
    }
    CString GetListName(int row) override
    {
        return row >= 0 && row < (int)rows.size() ? rows[row] : CString();
    }
    int GetDropTargetRow() override { return dropTarget; }
    int GetSelectedRow() override { return selected; }
    void ShowMessage(const CString& text) override { messages.push_back(text); }
    void CopyLibrary(CSongLibrary& into) override { into = library; }
    void TakeLibrary(const CSongLibrary& taken) override
    {
        onOwnThread = onOwnThread && GetCurrentThreadId() == thread;
        library = taken;
        calls.push_back("take");
    }
    CString GetLibraryPath() override { return libraryPath; }
    void LoadMyLibrary() override { calls.push_back("load"); }
    void ShowSongList(int row) override { calls.push_back("show " + std::to_string(row)); }
    void PushSongCount(int added) override { calls.push_back("push " + std::to_string(added)); }
    void UpdateSongListCounts() override { calls.push_back("recount"); }
};

bool MakeShellLink(const std::wstring& link, const std::wstring& target)
{
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    IShellLinkW* shell = NULL;
    bool ok = false;
    if (SUCCEEDED(
            CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&shell)))
    {
        shell->SetPath(target.c_str());
        IPersistFile* file = NULL;
        if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, (void**)&file)))
        {
            ok = SUCCEEDED(file->Save(link.c_str(), TRUE));
            file->Release();
        }
        shell->Release();
    }
    return ok;
}

std::wstring SongData(const wchar_t* name)
{
    return std::wstring(YEB_SOURCE_DIR) + L"\\tests\\foundation\\data\\" + name;
}

const CSyncPlaylist* RecordOf(const std::vector<CSyncPlaylist>& records, const wchar_t* name)
{
    for (const CSyncPlaylist& record : records)
        if (record.m_strName == name)
            return &record;
    return nullptr;
}

int SongsInList(const CSongLibrary& library, const wchar_t* name)
{
    CPlaylist playlist;
    return library.GetPlaylistByName(name, playlist) == S_OK ? playlist.GetSongCount() : -1;
}

void CALLBACK CancelActiveWindow(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND active = GetActiveWindow())
        PostMessageW(active, WM_COMMAND, IDCANCEL, 0);
}

class ImportTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        LoadLanguageFile();
        root = FreshFolder(L"import");
        jazz = root + L"\\Jazz";
        live = jazz + L"\\Live";
        other = root + L"\\Elsewhere";
        CreateDirectoryW(jazz.c_str(), NULL);
        CreateDirectoryW(live.c_str(), NULL);
        CreateDirectoryW(other.c_str(), NULL);
        ASSERT_TRUE(CopyFileW(SongData(L"cbr-id3v23.mp3").c_str(), (jazz + L"\\first.mp3").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(SongData(L"vbr-id3v24.mp3").c_str(), (other + L"\\second.mp3").c_str(), FALSE));
        ASSERT_TRUE(MakeShellLink(jazz + L"\\second.lnk", other + L"\\second.mp3"));
        ASSERT_TRUE(CopyFileW(SongData(L"tagged.wma").c_str(), (live + L"\\third.WMA").c_str(), FALSE));
        ASSERT_TRUE(WriteBytes(jazz + L"\\notes.txt", "not a song"));
        host.libraryPath = (root + L"\\playlist.xml").c_str();
    }
    std::wstring root, jazz, live, other;
    FakeHost host;
};
} // namespace

TEST_F(ImportTest, AFolderDroppedWithoutATargetRowMakesAListPerFolder)
{
    host.picture = L"import-window.png";
    CDlgDragTip tip(NULL, host, std::vector<CString>{jazz.c_str()}, CDlgDragTip::ModeDropOnLists);
    EXPECT_EQ(IDOK, tip.DoModal());

    EXPECT_EQ((std::vector<CString>{L"all songs", L"Jazz", L"Live"}), host.rows);
    EXPECT_TRUE(host.onOwnThread) << "the main window is called on its own thread only";
    EXPECT_EQ(3, host.library.GetSongCount());
    EXPECT_EQ(2, SongsInList(host.library, L"Jazz")) << "the shell link's song joins the folder's list";
    EXPECT_EQ(1, SongsInList(host.library, L"Live"));
    ASSERT_EQ(3u, tip.result.size());
    ASSERT_NE(nullptr, RecordOf(tip.result, L"Jazz"));
    ASSERT_NE(nullptr, RecordOf(tip.result, L"Live"));
    ASSERT_NE(nullptr, RecordOf(tip.result, L"all"));
    EXPECT_EQ(2u, RecordOf(tip.result, L"Jazz")->m_songs.size());
    EXPECT_EQ(1u, RecordOf(tip.result, L"Live")->m_songs.size());
    EXPECT_EQ(3u, RecordOf(tip.result, L"all")->m_songs.size());
    EXPECT_EQ((std::vector<std::string>{"take", "load", "push 3", "recount"}), host.calls);

    CSongLibrary saved;
    ASSERT_EQ(S_OK, saved.LoadFromFile(host.libraryPath));
    EXPECT_EQ(3, saved.GetSongCount());
    EXPECT_EQ(2, SongsInList(saved, L"Jazz"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(host.libraryPath + L".new"));

    // The same drop again adds nothing and records each song once per list.
    CDlgDragTip again(NULL, host, std::vector<CString>{jazz.c_str(), jazz.c_str()},
                      CDlgDragTip::ModeDropOnLists);
    EXPECT_EQ(IDOK, again.DoModal());
    EXPECT_EQ(3, host.library.GetSongCount());
    EXPECT_EQ(2u, RecordOf(again.result, L"Jazz")->m_songs.size());
    EXPECT_EQ(3u, RecordOf(again.result, L"all")->m_songs.size());
}

TEST_F(ImportTest, TargetRowsReservedNamesAndFailuresDecideWhereSongsGo)
{
    // Dropped on row 0: the library only; a text file is counted, not added.
    host.dropTarget = 0;
    CDlgDragTip onAll(NULL, host,
                      std::vector<CString>{(jazz + L"\\first.mp3").c_str(), (jazz + L"\\notes.txt").c_str()},
                      CDlgDragTip::ModeDropOnLists);
    EXPECT_EQ(IDOK, onAll.DoModal());
    EXPECT_EQ(1, host.library.GetSongCount());
    EXPECT_EQ(0, host.library.GetPlaylistCount());
    EXPECT_EQ((std::vector<std::string>{"take", "load", "push 1", "recount"}), host.calls);

    // Without a target row: a folder named as a reserved list adds its songs
    // to the library only; one whose list cannot be made is skipped.
    host.calls.clear();
    host.dropTarget = -1;
    std::wstring reserved = root + L"\\" + std::wstring((LPCWSTR)Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME"));
    ASSERT_TRUE(CreateDirectoryW(reserved.c_str(), NULL));
    ASSERT_TRUE(CopyFileW(SongData(L"untagged.mp3").c_str(), (reserved + L"\\u.mp3").c_str(), FALSE));
    std::wstring broken = root + L"\\Broken";
    CreateDirectoryW(broken.c_str(), NULL);
    ASSERT_TRUE(CopyFileW(SongData(L"vbr-id3v24.mp3").c_str(), (broken + L"\\v.mp3").c_str(), FALSE));
    host.selected = 1;
    CDlgDragTip byName(NULL, host, std::vector<CString>{reserved.c_str()}, CDlgDragTip::ModeDropOnLists);
    EXPECT_EQ(IDOK, byName.DoModal());
    EXPECT_EQ(2, host.library.GetSongCount());
    EXPECT_EQ(0, host.library.GetPlaylistCount());

    // Into the selected list (a drop on the song list): a folder becomes a
    // list of its own by row; a list that cannot be made gives a message.
    host.calls.clear();
    host.rows.push_back(L"Mine");
    host.selected = 1;
    CDlgDragTip onList(NULL, host, std::vector<CString>{(other + L"\\second.mp3").c_str()},
                       CDlgDragTip::ModeDropOnList);
    EXPECT_EQ(IDOK, onList.DoModal());
    EXPECT_EQ(1, SongsInList(host.library, L"Mine"));
    EXPECT_EQ((std::vector<std::string>{"take", "show 1", "push 1", "recount"}), host.calls);

    FakeHost rows;
    rows.libraryPath = host.libraryPath;
    rows.dropTarget = -1;
    SongImporter importer(rows, [](const std::function<void()>& call) { call(); });
    std::vector<std::wstring> progress;
    importer.onProgress = [&](int index, int total, const CString& path) {
        progress.push_back(std::to_wstring(index + 1) + L"/" + std::to_wstring(total) + L" " +
                           path.GetString());
    };
    importer.DropOnRow(std::vector<CString>{broken.c_str(), jazz.c_str()}, -1);
    // Inner items carry their top-level item's number; the text file moves the count too.
    EXPECT_NE(progress.end(), std::find(progress.begin(), progress.end(), L"2/2 " + jazz + L"\\notes.txt"));
    EXPECT_EQ(L"2/2 " + jazz, progress.back());
    ASSERT_EQ(1u, rows.messages.size());
    EXPECT_NE(-1, rows.messages[0].Find(L"\"Broken\""));
    EXPECT_EQ(-1, SongsInList(importer.library, L"Broken"));
    EXPECT_EQ(3, SongsInList(importer.library, L"Jazz"))
        << "by row, the sub-folder's song joins the folder's list";
    EXPECT_EQ(3, importer.library.GetSongCount());

    // The file dialog without a selected list imports nothing.
    host.calls.clear();
    host.selected = -1;
    CDlgDragTip files(NULL, host, std::vector<CString>{(broken + L"\\v.mp3").c_str()},
                      CDlgDragTip::ModeFiles);
    EXPECT_EQ(IDOK, files.DoModal());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ImportTest, ACancelledImportLeavesTheLibraryAndItsFileAsTheyWere)
{
    ASSERT_EQ(S_OK, host.library.SaveToFile(host.libraryPath));
    std::string before = ReadBytes(std::wstring(host.libraryPath));
    // Many songs, so that the walk is still going when the cancel comes.
    for (int i = 0; i < 40; ++i)
    {
        wchar_t name[64];
        swprintf(name, 64, L"\\copy%02d.mp3", i);
        std::string bytes = ReadBytes(SongData(L"cbr-id3v23.mp3")) + std::string(i + 1, 'x');
        WriteBytes(jazz + name, bytes);
    }
    CDlgDragTip tip(NULL, host, std::vector<CString>{jazz.c_str()}, CDlgDragTip::ModeDropOnLists);
    // The cancel comes while the walk runs.
    UINT_PTR timer = SetTimer(NULL, 0, 30, CancelActiveWindow);
    EXPECT_EQ(IDCANCEL, tip.DoModal());
    KillTimer(NULL, timer);
    EXPECT_EQ(0, host.library.GetSongCount());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(before, ReadBytes(std::wstring(host.libraryPath)));
}

TEST(ImportPaths, TheListOfAFileIsTheFolderThatHoldsItOrTheDrive)
{
    EXPECT_EQ(CString(L"C"), SongImporter::HoldingFolderName(L"C:\\song.mp3"));
    EXPECT_EQ(CString(L"Jazz"), SongImporter::HoldingFolderName(L"D:\\music\\Jazz\\song.mp3"));
    EXPECT_EQ(CString(L"Live"), SongImporter::FolderName(L"D:\\music\\Live\\"));
    EXPECT_EQ(CString(L"D"), SongImporter::FolderName(L"D:\\"));
    std::wstring folder = FreshFolder(L"classify");
    WriteBytes(folder + L"\\a.MP3", "x");
    WriteBytes(folder + L"\\b.wma", "x");
    WriteBytes(folder + L"\\c.mp3.txt", "x");
    EXPECT_EQ(SongImporter::KindMedia, SongImporter::ClassifyPath((folder + L"\\a.MP3").c_str()));
    EXPECT_EQ(SongImporter::KindMedia, SongImporter::ClassifyPath((folder + L"\\b.wma").c_str()));
    EXPECT_EQ(SongImporter::KindNone, SongImporter::ClassifyPath((folder + L"\\c.mp3.txt").c_str()));
    EXPECT_EQ(SongImporter::KindNone, SongImporter::ClassifyPath((folder + L"\\missing.mp3").c_str()));
    EXPECT_EQ(SongImporter::KindFolder, SongImporter::ClassifyPath(folder.c_str()));
}
