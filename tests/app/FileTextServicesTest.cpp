// Folder and file functions, text conversions and the Windows version code.
#include <gtest/gtest.h>

#include "FileFolder.h"
#include "TextConversion.h"
#include "WindowsVersion.h"

namespace
{
class FolderTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_root.Format(L"%syeb-folder-test-%lu", temp, GetCurrentProcessId());
        m_root.TrimRight(L'\\');
    }
    void TearDown() override
    {
        // remove what the test made, deepest first
        for (LPCWSTR sub : {L"\\a\\b\\c\\copy.txt", L"\\a\\b\\c", L"\\a\\b\\file.txt", L"\\a\\b", L"\\a\\x.txt",
                            L"\\a", L"\\src.txt", L"\\dst.txt"})
        {
            CString p = m_root + sub;
            SetFileAttributesW(p, FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(p);
            RemoveDirectoryW(p);
        }
        RemoveDirectoryW(m_root);
    }
    static void Write(const CString& path, const char* text)
    {
        HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD n = 0;
        WriteFile(f, text, (DWORD)strlen(text), &n, NULL);
        CloseHandle(f);
    }
    static std::string Read(const CString& path)
    {
        HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        char buf[256] = {};
        DWORD n = 0;
        ReadFile(f, buf, sizeof(buf) - 1, &n, NULL);
        CloseHandle(f);
        return std::string(buf, n);
    }
    CString m_root;
};

TEST_F(FolderTest, CreateFolderPathMakesEveryMissingLevel)
{
    CString deep = m_root + L"\\a\\b/c";
    EXPECT_EQ(1, CreateFolderPath(deep));
    EXPECT_TRUE(FileExists(m_root + L"\\a\\b\\c"));
    EXPECT_EQ(1, CreateFolderPath(deep)); // existing: nothing to do
    EXPECT_EQ(1, MakeFolderPath(m_root + L"\\a\\b\\c\\"));
}

TEST_F(FolderTest, CopyFileOverwriteReplacesReadOnlyTargetAndMakesFolders)
{
    CString src = m_root + L"\\src.txt";
    CreateFolderPath(m_root);
    Write(src, "new");
    // missing folders of the target are made
    CString deep = m_root + L"\\a\\b\\c\\copy.txt";
    EXPECT_TRUE(CopyFileOverwrite(deep, src));
    EXPECT_EQ("new", Read(deep));
    // a read-only target is replaced
    CString dst = m_root + L"\\dst.txt";
    Write(dst, "old");
    SetFileAttributesW(dst, FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(CopyFileOverwrite(dst, src));
    EXPECT_EQ("new", Read(dst));
    // no source, or a target without a folder part
    EXPECT_FALSE(CopyFileOverwrite(dst, m_root + L"\\missing.txt"));
    EXPECT_FALSE(CopyFileOverwrite(L"nofolder.txt", src));
}

TEST_F(FolderTest, DeleteExistingFileOnlyWhenThere)
{
    CreateFolderPath(m_root + L"\\a");
    CString f = m_root + L"\\a\\x.txt";
    Write(f, "x");
    EXPECT_TRUE(FileExists(f));
    EXPECT_EQ(1, DeleteExistingFile(f));
    EXPECT_FALSE(FileExists(f));
    EXPECT_EQ(0, DeleteExistingFile(f));
    EXPECT_EQ(0, DeleteExistingFile(L""));
    EXPECT_EQ(0, DeleteExistingFile(nullptr));
}

TEST(TextConversion, RoundTripsAndRefusesWhatDoesNotFit)
{
    const wchar_t* chinese = L"\x6B4C\x66F2 abc"; // "歌曲 abc"
    char narrow[32];
    ASSERT_NE(nullptr, WideToMultiByteBuf(narrow, chinese, 32, CP_UTF8));
    EXPECT_STREQ("\xE6\xAD\x8C\xE6\x9B\xB2 abc", narrow);
    wchar_t wide[32];
    ASSERT_NE(nullptr, MultiByteToWideBuf(wide, narrow, 32, CP_UTF8));
    EXPECT_STREQ(chinese, wide);
    // too small: null and an empty text, never a cut one
    wchar_t small[3] = {L'x', L'x', L'x'};
    EXPECT_EQ(nullptr, MultiByteToWideBuf(small, "abcdef", 3, CP_ACP));
    EXPECT_EQ(L'\0', small[0]);
    EXPECT_EQ(nullptr, WideToMultiByteBuf(nullptr, L"a", 4, CP_ACP));
    EXPECT_EQ(nullptr, MultiByteToWideBuf(wide, nullptr, 32, CP_ACP));
}

TEST(TextConversion, PairsAndPredicates)
{
    StringPair* pair = NewStringPair(L"buddy@example.com");
    EXPECT_EQ(CString(L"buddy@example.com"), pair->first);
    EXPECT_TRUE(pair->second.IsEmpty());
    delete pair;
    EXPECT_EQ(1, StringEquals(L"Abc", L"Abc"));
    EXPECT_EQ(0, StringEquals(L"Abc", L"abc"));
    EXPECT_EQ(1, StringDiffers(L"Abc", L"abc"));
    EXPECT_EQ(0, StringDiffers(L"Abc", L"Abc"));
}

TEST(WindowsVersion, CodesOfTheKnownSystems)
{
    auto code = [](bool nt, DWORD major, DWORD minor) {
        OSVERSIONINFOW info{};
        info.dwMajorVersion = major;
        info.dwMinorVersion = minor;
        return WindowsVersionCodeOf(nt, &info);
    };
    EXPECT_EQ(0, code(false, 3, 95));
    EXPECT_EQ(2, code(false, 4, 0));
    EXPECT_EQ(3, code(false, 4, 10));
    EXPECT_EQ(4, code(false, 4, 90));
    EXPECT_EQ(2, code(false, 5, 0));
    EXPECT_EQ(5, code(true, 4, 0));
    EXPECT_EQ(6, code(true, 5, 0));
    EXPECT_EQ(7, code(true, 5, 1));
    EXPECT_EQ(1, code(true, 6, 1));
    EXPECT_EQ(1, code(true, 10, 0));
    EXPECT_EQ(1, WindowsVersionCodeOf(true, nullptr));
    EXPECT_EQ(2, WindowsVersionCodeOf(false, nullptr));
    // This system is of the NT family; Wine reports a version after XP unless set to XP.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
    EXPECT_EQ(info.dwMajorVersion == 5 && info.dwMinorVersion == 1 ? 7 : WindowsVersionCodeOf(true, &info),
              GetWindowsVersionCode());
}
} // namespace
