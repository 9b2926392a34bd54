#include "Sha1.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>

namespace
{

std::string StandardHex(const char* text)
{
    CSha1 sha;
    sha.Update(text, (DWORD)strlen(text));
    sha.Final();
    char hex[41];
    for (int i = 0; i < 20; ++i)
        sprintf(hex + i * 2, "%02x", sha.m_digest[i]);
    return hex;
}

} // namespace

TEST(Sha1, StandardVectorsAndTheirNames)
{
    struct
    {
        const char* text;
        const char* hex;
        const wchar_t* name;
    } cases[] = {
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d", L"GY7JTKLKQEDEO4JFH25GZQSQPCO5RUE4"},
        {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709", L"52RTTWQNJNVV5357KUZJAGDASUEQPWFP"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983e441c3bd26ebaae4aa1f95129e5e54670f1",
         L"IQ7JRBDO2I5RZIKKV25OKKKR7HYXARXF"},
    };
    for (auto& c : cases)
    {
        EXPECT_EQ(c.hex, StandardHex(c.text)) << c.text;
        EXPECT_STREQ(c.name, Sha1NameOf(c.text)) << c.text;
    }
}

TEST(Sha1, MillionAsFedInPiecesAcrossBlockEdges)
{
    CSha1 sha;
    std::string chunk(997, 'a');
    DWORD left = 1000000;
    while (left)
    {
        DWORD n = left < chunk.size() ? left : (DWORD)chunk.size();
        sha.Update(chunk.data(), n);
        left -= n;
    }
    sha.Final();
    char hex[41];
    for (int i = 0; i < 20; ++i)
        sprintf(hex + i * 2, "%02x", sha.m_digest[i]);
    EXPECT_STREQ("34aa973cd4c4daa4f61eeb2bdbad27316534016f", hex);
}

TEST(Sha1, Base32FormatAndParse)
{
    BYTE digest[20];
    for (int i = 0; i < 20; ++i)
        digest[i] = (BYTE)(i * 13 + 7);
    wchar_t name[42];
    FormatSha1Base32(digest, TRUE, name);
    EXPECT_EQ(41u, wcslen(name));
    EXPECT_EQ(0, wcsncmp(name, L"urn:sha1:", 9));

    BYTE back[20] = {};
    EXPECT_TRUE(ParseSha1Base32(name + 9, back));
    EXPECT_EQ(0, memcmp(digest, back, 20));
    std::wstring lower(name + 9);
    for (auto& c : lower)
        c = towlower(c);
    lower += L"TRAILING IGNORED";
    memset(back, 0, 20);
    EXPECT_TRUE(ParseSha1Base32(lower.c_str(), back));
    EXPECT_EQ(0, memcmp(digest, back, 20));

    BYTE untouched[20];
    memset(untouched, 0x5A, 20);
    const wchar_t* refused[] = {
        nullptr,
        L"GY7JTKLKQEDEO4JFH25GZQSQPCO5RUE",   // 31 characters
        L"GY7JTKLKQEDEO4JFH25GZQSQPCO5RUE0",  // '0'
        L"GY7JTKLKQEDEO4JFH25GZQSQPCO5RUE1",  // '1'
        L"GY7JTKLKQEDEO4JFH25GZQSQPCO5RUE8",  // '8'
        L"GY7JTKLKQEDEO4JFH25GZQSQPCO5RU9A",  // '9'
        L"GY7JTKLKQEDEO4JFH25GZQSQPCO5RUE=",  // '='
        L"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA",  // all 'A'
        L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",  // all 'a'
        L"urn:sha1:GY7JTKLKQEDEO4JFH25GZQSQPCO5RUE4",
    };
    for (const wchar_t* text : refused)
    {
        BYTE out[20];
        memset(out, 0x5A, 20);
        EXPECT_FALSE(ParseSha1Base32(text, out));
        EXPECT_EQ(0, memcmp(out, untouched, 20));
    }
}
