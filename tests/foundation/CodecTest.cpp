#include "Base64Codec.h"
#include "UrlDecoder.h"

#include <gtest/gtest.h>

#include <string>

TEST(Base64, EncodesWithPadding)
{
    struct
    {
        const char* bytes;
        const char* text;
    } cases[] = {{"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"\xFF\xFE\xFD", "//79"}};
    Base64Codec codec;
    for (auto& c : cases)
    {
        char out[32];
        int n = codec.Encode((const BYTE*)c.bytes, out, (int)strlen(c.bytes));
        EXPECT_STREQ(c.text, out);
        EXPECT_EQ((int)strlen(c.text), n);
    }
    char out[4] = "xx";
    EXPECT_EQ(0, codec.Encode((const BYTE*)"a", out, 0));
    EXPECT_EQ(0, codec.Encode(nullptr, out, 1));
}

TEST(Base64, DecodesAndRefusesMalformedText)
{
    struct
    {
        const char* text;
        int count;
        const char* bytes;
    } cases[] = {
        {"Zm8=", 2, "fo"}, {"Zg==", 1, "f"}, {"Zm9v", 3, "foo"}, {"Zm9vYg==ignored", 4, "foob"},
        {"Zm9", 0, ""},    {"=Zm9", 0, ""},  {"Zm9v=", 0, ""},   {"Zm!v", 0, ""},
        {"", 0, ""},       {"Zg=", 1, "f"},
    };
    Base64Codec codec;
    for (auto& c : cases)
    {
        BYTE out[32] = {};
        EXPECT_EQ(c.count, codec.Decode(c.text, out)) << c.text;
        EXPECT_EQ(0, memcmp(out, c.bytes, c.count)) << c.text;
    }
    EXPECT_EQ(8, codec.CheckText("Zm9vYmFy"));
    EXPECT_EQ(6, codec.CheckText("Zm9vYg=="));
    EXPECT_EQ(5, codec.CheckText("Zm9vY==="));
    EXPECT_EQ(0, codec.CheckText("Zm9v===="));
}

TEST(UrlCoding, FormEncodingIsBoundedByTheBuffer)
{
    char out[64];
    int n = UrlEncodeForm("a b*~/-_.!'()\xE4\xB8\xAD", out, sizeof(out));
    EXPECT_STREQ("a+b*~%2F-_.!'()%E4%B8%AD", out);
    EXPECT_EQ((int)strlen(out), n);
    // An escape that does not fit is not started, and the text stays
    // terminated inside the buffer.
    char small[7];
    memset(small, 'Z', sizeof(small));
    EXPECT_EQ(5, UrlEncodeForm("ab/cd", small, 6));
    EXPECT_STREQ("ab%2F", small);
    EXPECT_EQ('Z', small[6]);
    EXPECT_EQ(2, UrlEncodeForm("ab/cd", small, 5));
    EXPECT_STREQ("ab", small);
}

TEST(UrlCoding, PercentDecodingAndHexPairs)
{
    CUrlDecoder decoder;
    struct
    {
        const char* in;
        const char* out;
    } cases[] = {{"%41", "A"}, {"%4a", "J"}, {"a+b", "a b"}, {"%zz", "\xFF"}, {"%z1", "\xF1"}, {"%4", "\xFF"},
                 {"%", "\xFF"}};
    for (auto& c : cases)
        EXPECT_STREQ(c.out, decoder.PercentDecode(c.in)) << c.in;
}

TEST(UrlCoding, Utf8ToAnsiNeverReadsPastTheEnd)
{
    CUrlDecoder decoder;
    // 中 is E4 B8 AD in UTF-8 and D6 D0 in code page 936.
    EXPECT_STREQ("x\xD6\xD0y", decoder.Utf8ToAnsi("x\xE4\xB8\xADy", 5));
    // A sequence cut off by the length: the missing bytes count as 0, and the
    // bytes beyond the length (here "Q") are not looked at.
    CStringA cut = decoder.Utf8ToAnsi("\xE4\xB8Q", 2);
    EXPECT_STREQ("\xD2\xBB", cut); // U+4E00 in code page 936
    EXPECT_STREQ(L"\x4E2D\x6587 a", decoder.Decode(L"%E4%B8%AD%E6%96%87+a"));
}
