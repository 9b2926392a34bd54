// The byte streams under the codecs: memory file growth, positions and ends,
// the C-stream file's ownership of its stream.
#include "PixIOFile.h"
#include "PixMemFile.h"
#include <gtest/gtest.h>
#include <string.h>
#include <windows.h>

TEST(PixMemFile, GrowsInSteps_Of64KiB)
{
    CPixMemFile mf;
    ASSERT_TRUE(mf.Open());
    EXPECT_EQ(0, mf.Size());
    EXPECT_EQ(0, mf.Tell());
    EXPECT_EQ(0, mf.Capacity());
    EXPECT_FALSE(mf.Open()); // a buffer is already held
    unsigned char b = 7;
    EXPECT_EQ(1u, mf.Write(&b, 1, 1));
    EXPECT_EQ(65536, mf.Capacity());
    EXPECT_EQ(1, mf.Size());

    CPixMemFile big;
    big.Open();
    std::vector<unsigned char> block(65536, 1);
    EXPECT_EQ(1u, big.Write(block.data(), 65536, 1));
    EXPECT_EQ(131072, big.Capacity());
}

TEST(PixMemFile, SeekPastEndAndBack)
{
    CPixMemFile mf;
    mf.Open();
    mf.Write("abcdef", 1, 6);
    EXPECT_TRUE(mf.Seek(10, SEEK_SET));
    EXPECT_TRUE(mf.Eof());
    EXPECT_EQ(1, mf.Error());
    char buf[4];
    EXPECT_EQ(0u, mf.Read(buf, 1, 4));
    EXPECT_EQ(2u, mf.Write("xy", 1, 2));
    EXPECT_EQ(12, mf.Size());
    EXPECT_TRUE(mf.Seek(-10, SEEK_SET));
    EXPECT_EQ(0, mf.Tell());
    EXPECT_FALSE(mf.Seek(0, 7));
}

TEST(PixMemFile, PartialElementsAndLines)
{
    unsigned char* data = (unsigned char*)malloc(5);
    memcpy(data, "ab\ncd", 5);
    CPixMemFile mf(data, 5);
    char line[10];
    ASSERT_NE(nullptr, mf.GetS(line, 10));
    EXPECT_STREQ("ab\n", line);
    EXPECT_EQ(nullptr, mf.GetS(line, 10)); // two bytes, no line feed: null
    mf.Seek(2, SEEK_SET);
    unsigned int word = 0;
    EXPECT_EQ(0u, mf.Read(&word, 4, 1)); // 3 bytes left: copied, no whole element
    EXPECT_EQ(5, mf.Tell());
    mf.GetBuffer(true);
    free(data);
}

TEST(PixMemFile, WithoutBufferEverythingFails)
{
    CPixMemFile mf;
    char c;
    EXPECT_EQ(-1, mf.Tell());
    EXPECT_EQ(-1, mf.Size());
    EXPECT_TRUE(mf.Eof());
    EXPECT_EQ(-1, mf.Error());
    EXPECT_EQ(-1, mf.GetC());
    EXPECT_FALSE(mf.PutC(1));
    EXPECT_EQ(0u, mf.Read(&c, 1, 1));
    EXPECT_EQ(0u, mf.Write(&c, 1, 1));
}

TEST(PixMemFile, CopiesOwnTheirContent)
{
    CPixMemFile a;
    a.Open();
    a.Write("hello", 1, 5);
    {
        CPixMemFile b(a);
        b.Seek(0, SEEK_SET);
        b.Write("J", 1, 1);
        CPixMemFile c;
        c = b;
        EXPECT_EQ(5, c.Size());
        EXPECT_EQ('J', c.GetBuffer(false)[0]);
    } // the copies free their own buffers
    EXPECT_EQ('h', a.GetBuffer(false)[0]);
}

TEST(PixIOFile, HandedInStreamStaysOpen)
{
    FILE* f = tmpfile();
    ASSERT_NE(nullptr, f);
    {
        CPixIOFile io(f);
        EXPECT_TRUE(io.PutC('A'));
        EXPECT_TRUE(io.Close());
        EXPECT_EQ(1, io.Size()); // still attached
        EXPECT_FALSE(io.Open(L"whatever.bin", L"rb"));
        CPixIOFile copy(io);
        EXPECT_TRUE(copy.Close());
    }
    EXPECT_EQ(0, fseek(f, 0, SEEK_SET));
    EXPECT_EQ('A', fgetc(f));
    fclose(f);

    CPixIOFile none;
    EXPECT_EQ(-1, none.Size());
    EXPECT_EQ(-1, none.GetC());
    EXPECT_TRUE(none.Eof());
    EXPECT_EQ(-1, none.Error());
}

// A request far beyond the end of the file gives what is there, as a plain
// read does, without handing the system the rest of the buffer: here the rest
// is address space that was never committed.
TEST(PixIOFile, ReadPastTheEndTouchesOnlyWhatTheFileHolds)
{
    FILE* f = tmpfile();
    ASSERT_NE(nullptr, f);
    unsigned char data[100];
    for (int i = 0; i < 100; i++)
        data[i] = (unsigned char)(i * 7);
    ASSERT_EQ(100u, fwrite(data, 1, 100, f));
    const size_t reserved = 64 << 20;
    unsigned char* big = (unsigned char*)VirtualAlloc(nullptr, reserved, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(nullptr, big);
    ASSERT_NE(nullptr, VirtualAlloc(big, 65536, MEM_COMMIT, PAGE_READWRITE));
    {
        CPixIOFile io(f);
        ASSERT_TRUE(io.Seek(10, SEEK_SET));
        EXPECT_EQ(90u, io.Read(big, 1, reserved));
        EXPECT_EQ(0, memcmp(big, data + 10, 90));
        EXPECT_EQ(100, io.Tell());
        EXPECT_TRUE(io.Eof());

        // Whole elements are counted; the position passes every byte read.
        ASSERT_TRUE(io.Seek(0, SEEK_SET));
        EXPECT_EQ(33u, io.Read(big, 3, reserved / 3));
        EXPECT_EQ(100, io.Tell());
        EXPECT_TRUE(io.Eof());
        ASSERT_TRUE(io.Seek(0, SEEK_SET));
        EXPECT_EQ(0u, io.Read(big, reserved / 2, 2));
        EXPECT_EQ(100, io.Tell());
    }
    VirtualFree(big, 0, MEM_RELEASE);
    fclose(f);
}
