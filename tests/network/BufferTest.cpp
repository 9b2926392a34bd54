#include <gtest/gtest.h>
#include "Buffer.h"
#include <cstring>

TEST(Buffer, WritesSeeksAndReadsAcrossGrowSteps)
{
    Buffer buffer(16);
    char data[100];
    for (int i = 0; i < 100; ++i)
        data[i] = (char)i;
    EXPECT_EQ(40, buffer.Write(data, 40));
    EXPECT_EQ(60, buffer.Write(data + 40, 60));
    EXPECT_EQ(100, buffer.GetSize());
    EXPECT_EQ(100, buffer.GetPosition()); // the size is found without moving
    EXPECT_EQ(10, buffer.Seek(10, 0));
    EXPECT_EQ(15, buffer.Seek(5, 1));
    EXPECT_EQ(85, buffer.GetRemaining());
    char out[100];
    EXPECT_EQ(85, buffer.Read(out, 200));
    EXPECT_EQ(0, std::memcmp(out, data + 15, 85));
    EXPECT_EQ(0, buffer.Read(out, 1));
    EXPECT_EQ(98, buffer.Seek(-2, 2));
    EXPECT_EQ(-1, buffer.Seek(0, 5));
    EXPECT_EQ(0, buffer.Write(data, 0));
}

TEST(Buffer, ReadsNothingBeyondTheSizeOrBeforeTheStart)
{
    Buffer buffer;
    buffer.Write("abc", 3);
    char out[8];
    buffer.Seek(10, 0);
    EXPECT_EQ(0, buffer.Read(out, 8));
    buffer.Seek(-5, 0); // seeking is unchecked; reading there must not touch memory before the data
    EXPECT_EQ(0, buffer.Read(out, 8));
    EXPECT_EQ(0, buffer.Write("x", 1));
    BYTE *begin = nullptr, *end = nullptr;
    EXPECT_EQ(0, buffer.DirectAccess(0, -1, &begin, &end));
}

TEST(Buffer, SetLengthPullsThePositionBack)
{
    Buffer buffer;
    buffer.Write("abcdef", 6);
    EXPECT_TRUE(buffer.SetLength(4));
    EXPECT_EQ(4, buffer.GetPosition());
    EXPECT_EQ(4, buffer.GetSize());
    EXPECT_TRUE(buffer.SetLength(2000));
    EXPECT_EQ(4, buffer.GetPosition());
    EXPECT_EQ(2000, buffer.GetSize());
}

TEST(Buffer, DirectAccessGivesRangesAndCommitsWithinTheCapacity)
{
    Buffer buffer(8);
    BYTE *begin = nullptr, *end = nullptr;
    EXPECT_EQ(1, buffer.DirectAccess(3, 0, nullptr, nullptr));
    EXPECT_EQ(5, buffer.DirectAccess(1, 5, &begin, &end));
    std::memcpy(begin, "hello", 5);
    buffer.DirectAccess(2, 5, nullptr, nullptr);
    EXPECT_EQ(5, buffer.GetSize());
    // Committing more than was made room for stops at the capacity (8).
    buffer.DirectAccess(2, 1000, nullptr, nullptr);
    EXPECT_EQ(8, buffer.GetSize());
    buffer.Rewind();
    EXPECT_EQ(3, buffer.DirectAccess(0, 3, &begin, &end));
    EXPECT_EQ(0, std::memcmp(begin, "hel", 3));
    EXPECT_EQ(3, buffer.GetPosition());
    EXPECT_EQ(5, buffer.DirectAccess(0, -1, &begin, &end)); // as far as the data goes
    EXPECT_EQ(8, buffer.GetPosition());
}

TEST(Buffer, ToWideStringDecodesOnlyWhatFollowsThePosition)
{
    Buffer buffer;
    const char utf8[] = "ab\xE4\xB8\xAD"; // "ab" and one Chinese character
    buffer.Write(utf8, 5);
    buffer.Rewind();
    EXPECT_EQ(CString(L"ab\x4E2D"), buffer.ToWideString(100, CP_UTF8));
    buffer.Seek(2, 0);
    EXPECT_EQ(CString(L"\x4E2D"), buffer.ToWideString(buffer.GetSize(), CP_UTF8));
    EXPECT_EQ(CString(L""), buffer.ToWideString(0, CP_UTF8));
}
