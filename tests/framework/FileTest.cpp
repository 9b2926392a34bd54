// Files on disk and in memory, text lines and directory search.
#include "Framework.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <set>

namespace
{
// A fresh folder under the temporary folder, removed with its files.
class FileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        m_dir.Format(L"%sfwfile%lu_%s", tmp, GetCurrentProcessId(),
                     CString(::testing::UnitTest::GetInstance()->current_test_info()->name()).GetString());
        CreateDirectoryW(m_dir, NULL);
    }
    void TearDown() override { RemoveTree(m_dir); }
    static void RemoveTree(const CString& dir)
    {
        CFileFind finder;
        for (BOOL more = finder.FindFile(dir + L"\\*"); more;)
        {
            more = finder.FindNextFile();
            if (finder.IsDots())
                continue;
            if (finder.IsDirectory())
                RemoveTree(finder.GetFilePath());
            else
                DeleteFileW(finder.GetFilePath());
        }
        finder.Close();
        RemoveDirectoryW(dir);
    }
    CString Path(const wchar_t* name) const { return m_dir + L"\\" + name; }
    CStringA ReadAll(const wchar_t* name) const
    {
        CFile f(Path(name), CFile::modeRead | CFile::shareDenyNone);
        CStringA bytes;
        UINT n = (UINT)f.GetLength();
        f.Read(bytes.GetBufferSetLength((int)n), n);
        return bytes;
    }
    void WriteAll(const wchar_t* name, const char* bytes, UINT n) const
    {
        CFile f(Path(name), CFile::modeCreate | CFile::modeWrite);
        f.Write(bytes, n);
    }
    CString m_dir;
};

template <typename F> int FileCause(F f)
{
    try
    {
        f();
    }
    catch (CException* e)
    {
        int cause =
            e->IsKindOf(RUNTIME_CLASS(CFileException)) ? static_cast<CFileException*>(e)->m_cause : -1;
        e->Delete();
        return cause;
    }
    return CFileException::none;
}
} // namespace

TEST_F(FileTest, BinaryFileReadWriteSeekAndErrors)
{
    CString path = Path(L"data.bin");
    {
        CFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite));
        f.Write("0123456789", 10);
        EXPECT_EQ(10u, f.GetLength());
        EXPECT_EQ(3u, f.Seek(3, CFile::begin));
        char buf[4] = {};
        EXPECT_EQ(4u, f.Read(buf, 4));
        EXPECT_EQ(0, memcmp(buf, "3456", 4));
        EXPECT_EQ(7u, f.GetPosition());
        EXPECT_EQ(10u, f.SeekToEnd());
        EXPECT_EQ(0u, f.Read(buf, 4));
        f.SetLength(5);
        EXPECT_EQ(5u, f.GetLength());
        EXPECT_STREQ(L"data.bin", f.GetFileName());
        EXPECT_STREQ(L"data", f.GetFileTitle());
        EXPECT_EQ(path, f.GetFilePath());

        // shareDenyWrite: a second writer is refused while this one is open.
        CFileException error;
        CFile other;
        EXPECT_FALSE(other.Open(path, CFile::modeWrite, &error));
        EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
    }
    // modeNoTruncate keeps the content; plain modeCreate empties it.
    {
        CFile f(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(5u, f.GetLength());
    }
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        EXPECT_EQ(0u, f.GetLength());
    }

    CFileException error;
    CFile missing;
    EXPECT_FALSE(missing.Open(Path(L"none.bin"), CFile::modeRead, &error));
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error.m_lOsError);
    EXPECT_EQ(Path(L"none.bin"), CString(error.m_strFileName));
    EXPECT_EQ(CFileException::fileNotFound, FileCause([&] { CFile f(Path(L"none.bin"), CFile::modeRead); }));
    EXPECT_EQ(CFileException::badPath,
              FileCause([&] { CFile f(Path(L"no\\such\\dir.bin"), CFile::modeRead); }));
    EXPECT_EQ(CFileException::fileNotFound, FileCause([&] { CFile::Remove(Path(L"none.bin")); }));
    CFile::Rename(path, Path(L"renamed.bin"));
    EXPECT_EQ(CFileException::fileNotFound, FileCause([&] { CFile::Remove(path); }));
    CFile::Remove(Path(L"renamed.bin"));
}

TEST_F(FileTest, TextLinesInEachEncoding)
{
    const wchar_t kLine1[] = L"\x4F60\x597D world";
    {
        CStdioFile f(Path(L"ansi.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        f.WriteString(kLine1);
        f.WriteString(L"\nsecond\n");
        f.WriteString(L"last");
    }
    // Text mode writes the ANSI code page with CR LF line ends.
    EXPECT_EQ(CStringA("\xC4\xE3\xBA\xC3 world\r\nsecond\r\nlast"), ReadAll(L"ansi.txt"));

    struct Case
    {
        const wchar_t* name;
        const char* bytes;
        UINT size;
    };
    const Case cases[] = {
        {L"ansi.txt", NULL, 0},
#define FW_BYTES(literal) literal, sizeof(literal) - 1
        {L"utf8.txt", FW_BYTES("\xEF\xBB\xBF\xE4\xBD\xA0\xE5\xA5\xBD world\r\nsecond\nlast")},
        {L"utf16.txt",
         FW_BYTES("\xFF\xFE\x60\x4F\x7D\x59 \0w\0o\0r\0l\0d\0\r\0\n\0s\0e\0c\0o\0n\0d\0\n\0l\0a\0s\0t\0")},
#undef FW_BYTES
    };
    for (const Case& c : cases)
    {
        if (c.bytes)
            WriteAll(c.name, c.bytes, c.size);
        CStdioFile f;
        ASSERT_TRUE(f.Open(Path(c.name), CFile::modeRead | CFile::typeText)) << c.name;
        CString line;
        ASSERT_TRUE(f.ReadString(line)) << c.name;
        EXPECT_EQ(CString(kLine1), line) << c.name;
        ASSERT_TRUE(f.ReadString(line)) << c.name;
        EXPECT_EQ(CString(L"second"), line) << c.name;
        ASSERT_TRUE(f.ReadString(line)) << c.name; // a last line without a line end
        EXPECT_EQ(CString(L"last"), line) << c.name;
        EXPECT_FALSE(f.ReadString(line)) << c.name;
        EXPECT_TRUE(line.IsEmpty());
    }

    // Appending to a UTF-8 file keeps its encoding.
    {
        CStdioFile f(Path(L"utf8.txt"), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        f.SeekToEnd();
        f.WriteString(L"\n\x4E16");
    }
    EXPECT_EQ(CStringA("last\r\n\xE4\xB8\x96"), ReadAll(L"utf8.txt").Right(9));

    // Binary mode: UTF-16 code units as they are, CR kept.
    {
        CStdioFile f(Path(L"bin.txt"), CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary);
        f.WriteString(L"a\r\nb");
        f.SeekToBegin();
        CString line;
        ASSERT_TRUE(f.ReadString(line));
        EXPECT_STREQ(L"a\r", line);
        wchar_t buf[8];
        ASSERT_NE(nullptr, f.ReadString(buf, 8));
        EXPECT_STREQ(L"b\n", buf);
    }
    EXPECT_EQ(8, ReadAll(L"bin.txt").GetLength());
}

TEST(MemFile, GrowsSeeksAndKeepsCallersBlock)
{
    CMemFile grow(1024);
    grow.Write("abc", 3);
    EXPECT_EQ(3u, grow.GetLength());
    grow.Seek(6, CFile::begin); // past the end: the gap reads as zeros once written over
    grow.Write("z", 1);
    EXPECT_EQ(7u, grow.GetLength());
    EXPECT_EQ(0, memcmp(grow.GetData(), "abc\0\0\0z", 7));
    grow.SeekToBegin();
    char buf[16];
    EXPECT_EQ(7u, grow.Read(buf, sizeof(buf)));
    EXPECT_EQ(0u, grow.Read(buf, sizeof(buf)));
    EXPECT_EQ(CFileException::badSeek, FileCause([&] { grow.Seek(-1, CFile::begin); }));
    BYTE* detached = grow.Detach();
    EXPECT_EQ(0u, grow.GetLength());
    free(detached);

    // A fixed block: reading works, writing past it throws, the block is not freed.
    BYTE fixed[4] = {'w', 'x', 'y', 'z'};
    CMemFile over(fixed, 4);
    EXPECT_EQ(4u, over.GetLength());
    EXPECT_EQ(2u, over.Read(buf, 2));
    over.Write("X", 1);
    EXPECT_EQ('X', fixed[2]);
    over.SeekToEnd();
    bool threw = false;
    try
    {
        over.Write("!", 1);
    }
    catch (CException* e)
    {
        threw = e->IsKindOf(RUNTIME_CLASS(CMemoryException)) != FALSE;
        e->Delete();
    }
    EXPECT_TRUE(threw);

    // A growable attach copies the caller's block instead of reallocating it.
    BYTE small[2] = {'q', 'q'};
    CMemFile growing;
    growing.Attach(small, 2, 16);
    EXPECT_EQ(0u, growing.GetLength());
    growing.Write("12345", 5);
    EXPECT_EQ('q', small[0]);
    EXPECT_EQ(0, memcmp(growing.GetData(), "12345", 5));
}

TEST_F(FileTest, FindListsFilesAndFolders)
{
    WriteAll(L"a.txt", "1234", 4);
    WriteAll(L"b.mp3", "", 0);
    CreateDirectoryW(Path(L"sub"), NULL);

    std::set<std::wstring> names;
    CFileFind finder;
    int dots = 0;
    for (BOOL more = finder.FindFile(m_dir + L"\\*.*"); more;)
    {
        more = finder.FindNextFile();
        if (finder.IsDots())
        {
            ++dots;
            continue;
        }
        names.insert(finder.GetFileName().GetString());
        EXPECT_EQ(m_dir + L"\\" + finder.GetFileName(), finder.GetFilePath());
        if (finder.GetFileName() == L"a.txt")
        {
            EXPECT_EQ(4u, finder.GetLength());
        }
        EXPECT_EQ(finder.GetFileName() == L"sub", finder.IsDirectory() != FALSE);
    }
    EXPECT_EQ(2, dots);
    EXPECT_EQ((std::set<std::wstring>{L"a.txt", L"b.mp3", L"sub"}), names);

    EXPECT_TRUE(finder.FindFile(Path(L"*.mp3")));
    EXPECT_FALSE(finder.FindNextFile()); // the only match is the last one
    EXPECT_STREQ(L"b.mp3", finder.GetFileName());
    EXPECT_STREQ(L"b", finder.GetFileTitle());
    EXPECT_FALSE(finder.FindFile(Path(L"*.wma")));
}
