// Collecting a cached song: the copy's name, and the dialog's run into an
// existing list, a new list and the whole library.
#include "TransferTest.h"
#include "DlgCollectSong.h"
#include "DlgWebSongDownloadPre.h"
#include "LanguageTable.h"
#include "SongCollector.h"
#include "SongListChoice.h"
#include "WindowPicture.h"
#include "resource.h"

namespace
{
const wchar_t* g_picture = nullptr;
UINT g_command = 0;

// Presses a button of the modal dialog once it shows, keeping its picture.
void CALLBACK PressButton(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND active = GetActiveWindow();
    if (!active)
        return;
    KillTimer(NULL, id);
    if (g_picture)
    {
        KeepPicture(active, g_picture, 440, 400);
        g_picture = nullptr;
    }
    PostMessageW(active, WM_COMMAND, g_command, 0);
}

INT_PTR RunPressing(CDialog& dialog, UINT command, const wchar_t* picture = nullptr)
{
    g_command = command;
    g_picture = picture;
    UINT_PTR timer = SetTimer(NULL, 0, 100, PressButton);
    INT_PTR result = dialog.DoModal();
    KillTimer(NULL, timer);
    return result;
}

CSongInfo CachedSong(const wchar_t* title, const wchar_t* artist, const wchar_t* path)
{
    CSongInfo song;
    song.SetId(L"song-1");
    song.SetHash(L"CACHEDHASH");
    song.SetTitle(title);
    song.SetAuthor(artist);
    song.SetPath(path);
    return song;
}

class CollectTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        LoadLanguageFile();
        music = FreshFolder(L"collect-music");
        SetEnvironmentVariableW(L"YEB_MYMUSIC", music.c_str());
        target = FreshFolder(L"collect-target");
        std::wstring cache = music + L"\\yeb360";
        CreateDirectoryW(cache.c_str(), NULL);
        cache += L"\\cache";
        CreateDirectoryW(cache.c_str(), NULL);
        ASSERT_TRUE(
            CopyFileW((std::wstring(YEB_SOURCE_DIR) + L"\\tests\\foundation\\data\\cbr-id3v23.mp3").c_str(),
                      (cache + L"\\CACHEDHASH.cache").c_str(), FALSE));
        CDlgCollectSong::s_libraryPath = (target + L"\\playlist.xml").c_str();
        CDlgCollectSong::s_lastList.Empty();
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"YEB_MYMUSIC", NULL);
        CDlgCollectSong::s_libraryPath.Empty();
    }
    std::wstring music, target;
};
} // namespace

TEST(CollectNames, TheCopyIsNamedCleanAndUniqueInTheFolder)
{
    std::wstring folder = FreshFolder(L"collect-names");
    CString f(folder.c_str());
    struct
    {
        const wchar_t *title, *artist, *path, *name;
    } cases[] = {
        {L"a/b", L"c:d", L"x\\song.wma", L"a'b c'd.wma"},
        {L"t*?", L"", L"song.mp3", L"t''.mp3"},
        {L"", L"<only>", L"s.MP3", L"'only'.MP3"},
        {L"", L"", L"C:\\dir.v2\\cachefile", L"ravaroze.mp3"},
    };
    for (auto& c : cases)
        EXPECT_EQ(f + L"\\" + c.name, SongCollector::TargetPath(f, c.title, c.artist, c.path)) << c.name;
    WriteBytes(folder + L"\\ravaroze.mp3", "x");
    WriteBytes(folder + L"\\ravaroze(2).mp3", "x");
    EXPECT_EQ(f + L"\\ravaroze(3).mp3", SongCollector::TargetPath(f, L"", L"", L"cache"));
    EXPECT_EQ(CString(L"a_b_c_d_e_f_g_h_i_j"), SongCollector::CleanFileName(L"a\\b/c:d*e?f\"g<h>i|j", L'_'));
}

TEST(SongListChoices, TheNewListNameIsTheFirstFreeNumber)
{
    LoadLanguageFile();
    CString base = Lang(L"STR_MAIN_UNNAMED_SONGLIST_NAME");
    CSongLibrary library;
    EXPECT_EQ(base, SongListChoice::SuggestNewListName(library));
    for (const CString& name : {base + L"0", base + L"1", CString(L"Other")})
    {
        CPlaylist playlist;
        playlist.SetName(name);
        library.AddOrUpdatePlaylist(playlist);
    }
    EXPECT_EQ(base + L"2", SongListChoice::SuggestNewListName(library));
}

TEST_F(CollectTest, CollectingCopiesTheCachedSongIntoTheChosenList)
{
    CSongLibrary library;
    library.AddSong(CachedSong(L"Blue/Green", L"Band:One", L"http-cache"));
    CPlaylist mine;
    mine.SetName(L"Mine");
    library.AddOrUpdatePlaylist(mine);
    CDlgCollectSong::s_lastList = L"Mine";

    CDlgCollectSong existing(L"song-1", &library, NULL);
    existing.SetFolder(target.c_str());
    ASSERT_EQ(IDOK, RunPressing(existing, IDC_COLLECT_OK, L"collect-window.png"));
    CString copy = CString(target.c_str()) + L"\\Blue'Green Band'One.mp3";
    EXPECT_EQ(copy, existing.GetCollectedPath());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(copy));
    CPlaylist after;
    ASSERT_EQ(S_OK, library.GetPlaylistByName(L"Mine", after));
    EXPECT_EQ(1, after.GetSongCount());
    CSongLibrary saved;
    ASSERT_EQ(S_OK, saved.LoadFromFile(CDlgCollectSong::s_libraryPath));
    EXPECT_EQ(library.GetSongCount(), saved.GetSongCount());

    // The second copy takes the next number.
    CDlgCollectSong again(L"song-1", &library, NULL);
    again.SetFolder(target.c_str());
    ASSERT_EQ(IDOK, RunPressing(again, IDC_COLLECT_OK));
    EXPECT_EQ(CString(target.c_str()) + L"\\Blue'Green Band'One(2).mp3", again.GetCollectedPath());
}

TEST_F(CollectTest, AMissingCacheFileFailsAndAddsNothing)
{
    CSongLibrary library;
    CSongInfo song = CachedSong(L"T", L"A", L"p.mp3");
    song.SetHash(L"NOTCACHED");
    library.AddSong(song);
    CDlgCollectSong dialog(L"song-1", &library, NULL);
    dialog.SetFolder(target.c_str());
    // The failure message box comes up; it is closed, then the dialog.
    g_command = IDC_COLLECT_OK;
    g_picture = nullptr;
    UINT_PTR timer = SetTimer(NULL, 0, 100, PressButton);
    struct Closer
    {
        static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
        {
            if (HWND active = GetActiveWindow())
                PostMessageW(active, WM_COMMAND, IDCANCEL, 0);
        }
    };
    UINT_PTR closer = SetTimer(NULL, 0, 700, Closer::Tick);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    KillTimer(NULL, timer);
    KillTimer(NULL, closer);
    EXPECT_TRUE(FilesIn(target).empty());
    EXPECT_EQ(1, library.GetSongCount());
}

namespace
{
std::vector<UINT> g_steps;
const UINT KeepPictureStep = 0;
CString g_labelText;

// Sends the next command of the list to the modal dialog at each tick.
void CALLBACK NextStep(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND active = GetActiveWindow();
    if (!active)
        return;
    if (g_steps.empty())
    {
        KillTimer(NULL, id);
        return;
    }
    // Taking a picture pumps messages: the next tick waits for it.
    static bool busy = false;
    if (busy)
        return;
    busy = true;
    UINT command = g_steps.front();
    g_steps.erase(g_steps.begin());
    if (command == KeepPictureStep)
        KeepPicture(active, L"download-target-window.png", 880, 0);
    else
        SendMessageW(active, WM_COMMAND, command, 0);
    busy = false;
}

INT_PTR RunSteps(CDialog& dialog, std::vector<UINT> steps)
{
    g_steps = steps;
    UINT_PTR timer = SetTimer(NULL, 0, 150, NextStep);
    INT_PTR result = dialog.DoModal();
    KillTimer(NULL, timer);
    return result;
}
} // namespace

TEST_F(CollectTest, TheDownloadTargetChoiceOffersTheListsAndMakesANewOne)
{
    CString base = Lang(L"STR_MAIN_UNNAMED_SONGLIST_NAME");
    CSongLibrary library;
    for (const CString& name : {CString(L"Road"), base + L"0"})
    {
        CPlaylist playlist;
        playlist.SetName(name);
        library.AddOrUpdatePlaylist(playlist);
    }
    CString path = CString(target.c_str()) + L"\\own.xml";
    ASSERT_EQ(S_OK, library.SaveToFile(path));
    CDlgWebSongDownloadPre::s_libraryPath = path;
    CDlgWebSongDownloadPre::s_lastList = L"Road";

    // The list chosen last is preselected.
    CDlgWebSongDownloadPre existing(L"http://x/a.mp3", L"..\\a.mp3", NULL);
    existing.SetFolder(target.c_str());
    ASSERT_EQ(IDOK, RunSteps(existing, {IDC_PRE_OK}));
    EXPECT_EQ(CString(L"Road"), existing.GetSongListName());
    EXPECT_EQ(CString(target.c_str()), existing.GetFolder());

    // Cancel leaves the library file as it was.
    std::string before = ReadBytes(std::wstring(path));
    CDlgWebSongDownloadPre cancelled(L"http://x/a.mp3", L"a.mp3", NULL);
    ASSERT_EQ(IDCANCEL, RunSteps(cancelled, {IDC_PRE_NEW_LIST, IDC_PRE_CANCEL}));
    EXPECT_EQ(before, ReadBytes(std::wstring(path)));

    // A new list gets the first free name and is saved.
    CDlgWebSongDownloadPre fresh(L"http://x/a.mp3", L"a.mp3", NULL);
    fresh.SetFolder(target.c_str());
    ASSERT_EQ(IDOK, RunSteps(fresh, {IDC_PRE_NEW_LIST, KeepPictureStep, IDC_PRE_OK}));
    EXPECT_EQ(base + L"1", fresh.GetSongListName());
    CSongLibrary saved;
    ASSERT_EQ(S_OK, saved.LoadFromFile(path));
    CPlaylist made;
    EXPECT_EQ(S_OK, saved.GetPlaylistByName(base + L"1", made));
    EXPECT_EQ(base + L"1", CDlgWebSongDownloadPre::s_lastList);
    CDlgWebSongDownloadPre::s_libraryPath.Empty();
}

TEST_F(CollectTest, ANewListNameThatExistsIsRefusedInRed)
{
    CSongLibrary library;
    library.AddSong(CachedSong(L"T", L"A", L"p.mp3"));
    CString base = Lang(L"STR_MAIN_UNNAMED_SONGLIST_NAME");
    CPlaylist taken;
    taken.SetName(base);
    library.AddOrUpdatePlaylist(taken);
    CDlgCollectSong dialog(L"song-1", &library, NULL);
    dialog.SetFolder(target.c_str());
    // New-list mode proposes the base plus 0; typing the taken name is refused.
    struct Typing
    {
        static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
        {
            HWND active = GetActiveWindow();
            if (!active)
                return;
            KillTimer(NULL, id);
            SendMessageW(active, WM_COMMAND, IDC_COLLECT_NEW_LIST, 0);
            SetDlgItemTextW(active, IDC_COLLECT_NEW_NAME, Lang(L"STR_MAIN_UNNAMED_SONGLIST_NAME"));
            SendMessageW(active, WM_COMMAND, IDC_COLLECT_OK, 0);
            wchar_t text[128] = L"";
            GetDlgItemTextW(active, IDC_COLLECT_LIST_LABEL, text, 128);
            g_labelText = text;
            SendMessageW(active, WM_COMMAND, IDC_COLLECT_CANCEL, 0);
        }
    };
    UINT_PTR timer = SetTimer(NULL, 0, 150, Typing::Tick);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    KillTimer(NULL, timer);
    EXPECT_EQ(Lang(L"INFO_NEWPLAYLIST_MODIFY"), g_labelText);
    EXPECT_TRUE(FilesIn(target).empty()) << "nothing was copied";
}
