#include "DataFolder.h"
#include "ShellFolder.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <set>

TEST(DataFolder, AccountNamesStayInsideTheirFolder)
{
    struct
    {
        LPCWSTR name, folder;
    } cases[] = {
        {L"user@mail.com", L"user@mail.com"},
        {L"a$b.com@im.yeb360.com", L"a$b.com@im.yeb360.com"},
        {L"\x4E2D\x6587@qq.com", L"\x4E2D\x6587@qq.com"},
        {L"..", L"%2E%2E"},
        {L"..\\..\\Windows", L"%2E.%5C..%5CWindows"},
        {L"a/b", L"a%2Fb"},
        {L"C:\\x", L"C%3A%5Cx"},
        {L"100%", L"100%25"},
        {L"con", L"%63on"},
        {L"nul.txt", L"%6Eul.txt"},
        {L" lead", L"%20lead"},
        {L"trail.", L"trail%2E"},
        {L"a*b?c\"d<e>f|g", L"a%2Ab%3Fc%22d%3Ce%3Ef%7Cg"},
        {L"", L""},
    };
    std::set<std::wstring> seen;
    for (auto& c : cases)
    {
        CString safe = MakeSafeFolderName(c.name);
        EXPECT_STREQ(c.folder, safe) << (const char*)CStringA(c.name);
        EXPECT_EQ(-1, safe.FindOneOf(L"\\/:*?\"<>|"));
        EXPECT_TRUE(seen.insert(safe.GetString()).second) << "two names, one folder";
    }
}

TEST(DataFolder, LibraryPathsUseMyMusic)
{
    CString music = GetMyMusicFolder();
    ASSERT_FALSE(music.IsEmpty());
    EXPECT_STREQ(music + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml", BuildMyPlaylistPath(L"me@x.com"));
    EXPECT_STREQ(music + L"\\yeb360\\lib\\private\\\\playlist.xml", BuildMyPlaylistPath(L""));
    EXPECT_STREQ(music + L"\\yeb360\\lib\\friend\\%2E%2E\\playlist.xml", BuildFriendPlaylistPath(L".."));
    EXPECT_STREQ(L"D:\\data\\lib\\private\\u%3A\\board.xml", BuildBoardPath(L"D:\\data\\", L"u:"));
    EXPECT_STREQ(music + L"\\yeb360\\", GetDataFolder());
}

// A process told its own My Music folder (side-by-side clients) keeps all
// its data there, and so do the updater's manifest lookups.
TEST(DataFolder, MyMusicOverrideFromTheEnvironment)
{
    SetEnvironmentVariableW(L"YEB_MYMUSIC", L"C:\\users\\second\\Music");
    EXPECT_STREQ(L"C:\\users\\second\\Music", GetMyMusicFolder());
    EXPECT_STREQ(L"C:\\users\\second\\Music\\yeb360\\", GetDataFolder());
    wchar_t path[MAX_PATH] = {};
    EXPECT_EQ(S_OK, GetShellFolderPath(nullptr, SHELL_FOLDER_MYMUSIC, nullptr, 0, path));
    EXPECT_STREQ(L"C:\\users\\second\\Music", path);
    SetEnvironmentVariableW(L"YEB_MYMUSIC", nullptr);
    EXPECT_STRNE(L"C:\\users\\second\\Music", GetMyMusicFolder());
}

namespace
{

BOOL WINAPI UnknownSpecial(HWND, LPWSTR, int folder, BOOL)
{
    return FALSE;
}

BOOL WINAPI PersonalOnly(HWND window, LPWSTR path, int folder, BOOL create)
{
    if (folder != SHELL_FOLDER_PERSONAL)
        return FALSE;
    return SHGetSpecialFolderPathW(window, path, folder, create);
}

HRESULT WINAPI UnknownFolderPath(HWND, int, HANDLE, DWORD, LPWSTR)
{
    return E_INVALIDARG;
}

const wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Saves the user's "My Music" value and puts it back afterwards.
class SavedMyMusicValue
{
  public:
    SavedMyMusicValue()
    {
        DWORD size = sizeof(m_value);
        m_had = RegGetValueW(HKEY_CURRENT_USER, kKey, L"My Music", RRF_RT_REG_SZ, nullptr, m_value, &size) ==
                ERROR_SUCCESS;
    }
    ~SavedMyMusicValue()
    {
        HKEY key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        if (m_had)
            RegSetValueExW(key, L"My Music", 0, REG_SZ, (const BYTE*)m_value, (DWORD)(wcslen(m_value) + 1) * 2);
        else
            RegDeleteValueW(key, L"My Music");
        RegCloseKey(key);
        SetShellFolderFunctions(nullptr, nullptr);
    }
    void Set(LPCWSTR value)
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                                 nullptr));
        if (value)
            RegSetValueExW(key, L"My Music", 0, REG_SZ, (const BYTE*)value, (DWORD)(wcslen(value) + 1) * 2);
        else
            RegDeleteValueW(key, L"My Music");
        RegCloseKey(key);
    }

  private:
    wchar_t m_value[MAX_PATH] = {};
    bool m_had = false;
};

} // namespace

TEST(DataFolder, FallsBackToTheShellFoldersKey)
{
    SavedMyMusicValue saved;
    wchar_t path[MAX_PATH] = {};
    SetShellFolderFunctions(UnknownSpecial, UnknownFolderPath);

    saved.Set(L"C:\\stored music");
    EXPECT_TRUE(GetShellSpecialFolderPath(nullptr, path, SHELL_FOLDER_MYMUSIC, FALSE));
    EXPECT_STREQ(L"C:\\stored music", path);
    EXPECT_EQ(S_OK, GetShellFolderPath(nullptr, SHELL_FOLDER_MYMUSIC, nullptr, 0, path));
    EXPECT_FALSE(GetShellSpecialFolderPath(nullptr, path, SHELL_FOLDER_PERSONAL, FALSE));

    saved.Set(std::wstring(140, L'x').c_str());
    EXPECT_FALSE(GetShellSpecialFolderPath(nullptr, path, SHELL_FOLDER_MYMUSIC, FALSE)) << "too long to fit";

    saved.Set(nullptr);
    EXPECT_FALSE(GetShellSpecialFolderPath(nullptr, path, SHELL_FOLDER_MYMUSIC, FALSE));
    EXPECT_EQ(E_INVALIDARG, GetShellFolderPath(nullptr, SHELL_FOLDER_MYMUSIC, nullptr, 0, path));

    // With create, My Music is made inside Personal and recorded.
    SetShellFolderFunctions(PersonalOnly, UnknownFolderPath);
    ASSERT_TRUE(GetShellSpecialFolderPath(nullptr, path, SHELL_FOLDER_MYMUSIC, TRUE));
    CString made(path);
    EXPECT_STREQ(L"\\My Music", made.Right(9));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(made));
    wchar_t stored[MAX_PATH] = {};
    DWORD size = sizeof(stored);
    ASSERT_EQ(ERROR_SUCCESS,
              RegGetValueW(HKEY_CURRENT_USER, kKey, L"My Music", RRF_RT_REG_SZ, nullptr, stored, &size));
    EXPECT_STREQ(made, stored);
}
