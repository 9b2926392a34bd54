#include "IniFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

class IniFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        path = folder.Path(L"test.ini");
        ini.SetFileName(path);
    }
    void Put(LPCWSTR key, LPCWSTR value) { WritePrivateProfileStringW(L"S", key, value, path); }
    CString Raw(LPCWSTR key) { return ini.GetString(L"S", key, L"<missing>"); }

    ScratchFolder folder;
    CString path;
    CIniFile ini;
};

TEST_F(IniFileTest, ReadsNumbersAndBooleansInTheirTextForms)
{
    Put(L"empty", L"");
    Put(L"digits", L"12abc");
    Put(L"hex", L"ff");
    Put(L"bin", L"101");
    Put(L"yes", L"Yes");
    Put(L"true", L"TRUE");
    Put(L"no", L"no");
    Put(L"zero", L"0");
    Put(L"seven", L"7");
    EXPECT_EQ(42u, ini.GetInt(L"S", L"empty", 42));
    EXPECT_EQ(42u, ini.GetInt(L"S", L"missing", 42));
    EXPECT_EQ(12u, ini.GetInt(L"S", L"digits", 0));
    EXPECT_EQ(255u, ini.GetInt(L"S", L"hex", 0, 16));
    EXPECT_EQ(5u, ini.GetInt(L"S", L"bin", 0, 2));
    EXPECT_EQ(TRUE, ini.GetBool(L"S", L"yes", FALSE));
    EXPECT_EQ(TRUE, ini.GetBool(L"S", L"true", FALSE));
    EXPECT_EQ(FALSE, ini.GetBool(L"S", L"no", TRUE));
    EXPECT_EQ(FALSE, ini.GetBool(L"S", L"zero", TRUE));
    EXPECT_EQ(TRUE, ini.GetBool(L"S", L"seven", FALSE));
    EXPECT_EQ(TRUE, ini.GetBool(L"S", L"empty", TRUE));
    EXPECT_EQ(TRUE, ini.GetBool(L"S", L"missing", TRUE));
}

TEST_F(IniFileTest, WritesNumbersInEveryBase)
{
    struct
    {
        LPCWSTR key;
        bool isSigned;
        int value;
        int base;
        LPCWSTR text;
    } cases[] = {
        {L"a", true, -1, 16, L"FFFFFFFF"}, {L"b", true, -1, 10, L"-1"}, {L"c", false, -1, 10, L"4294967295"},
        {L"d", true, 8, 8, L"10"},         {L"e", true, 5, 2, L"101"},  {L"f", true, 0, 2, L"0"},
        {L"g", true, -1, 2, L"11111111111111111111111111111111"},   {L"h", true, 255, 16, L"FF"},
        {L"i", true, 7, 3, L"7"},
    };
    for (auto& c : cases)
    {
        if (c.isSigned)
            EXPECT_TRUE(ini.WriteInt(L"S", c.key, c.value, c.base));
        else
            EXPECT_TRUE(ini.WriteUInt(L"S", c.key, (UINT)c.value, c.base));
        EXPECT_STREQ(c.text, Raw(c.key)) << (const char*)CStringA(c.key);
    }
    EXPECT_EQ((DWORD)-1, ini.GetInt(L"S", L"b", 0)) << "a negative value reads back the same";
    EXPECT_TRUE(ini.WriteBool(L"S", L"flag", 5));
    EXPECT_STREQ(L"1", Raw(L"flag"));
    EXPECT_FALSE(ini.WriteString(nullptr, L"k", L"v"));
    EXPECT_FALSE(ini.WriteString(L"S", nullptr, L"v"));
    EXPECT_TRUE(ini.WriteString(L"S", L"null", nullptr));
    EXPECT_STREQ(L"", Raw(L"null"));
}

TEST_F(IniFileTest, ByteBlocksAndRectangles)
{
    const BYTE bytes[] = {0x0A, 0xFF};
    EXPECT_TRUE(ini.WriteBinary(L"S", L"blk", bytes, 2));
    EXPECT_STREQ(L"0AFF", Raw(L"blk"));
    BYTE one = 0;
    EXPECT_EQ(1u, ini.GetBinary(L"S", L"blk", &one, 1, 1));
    EXPECT_EQ(0xFF, one);
    EXPECT_EQ(2u, ini.GetBinary(L"S", L"blk", nullptr, 0, 0));
    EXPECT_EQ(0u, ini.GetBinary(L"S", L"blk", &one, 1, 2));
    Put(L"bad", L"0AGF");
    EXPECT_EQ(0u, ini.GetBinary(L"S", L"bad", nullptr, 0, 0));
    EXPECT_FALSE(ini.WriteBinary(L"S", L"none", nullptr, 2));

    EXPECT_TRUE(ini.WriteRect(L"S", L"rc", -10, 20, 300, 400));
    EXPECT_STREQ(L"F6FFFFFF140000002C01000090010000", Raw(L"rc"));
    long l = 1, t = 2, r = 3, b = 4;
    ini.GetRect(L"S", L"rc", l, t, r, b);
    EXPECT_EQ(-10, l);
    EXPECT_EQ(400, b);
    Put(L"short", L"F6FFFFFF140000002C0100009001"); // 28 digits
    Put(L"thirty", L"F6FFFFFF140000002C010000900100");
    for (LPCWSTR key : {L"short", L"thirty", L"missing"})
    {
        l = 1, t = 2, r = 3, b = 4;
        ini.GetRect(L"S", key, l, t, r, b);
        EXPECT_EQ(1, l);
        EXPECT_EQ(4, b);
    }
}

TEST_F(IniFileTest, LongStringsAndDeletion)
{
    CString longText;
    for (int i = 0; i < 1500; ++i)
        longText += (wchar_t)(L'a' + i % 26);
    EXPECT_TRUE(ini.WriteString(L"S", L"long", longText));
    EXPECT_STREQ(longText, ini.GetString(L"S", L"long"));
    EXPECT_STREQ(L"dflt", ini.GetString(nullptr, L"long", L"dflt"));
    EXPECT_TRUE(ini.DeleteKey(L"S", L"long"));
    EXPECT_STREQ(L"<missing>", Raw(L"long"));
    ini.WriteString(L"T", L"k", L"v");
    EXPECT_TRUE(ini.DeleteSection(L"T"));
    EXPECT_STREQ(L"", ini.GetString(L"T", L"k"));
    ini.SetFileName(nullptr);
    EXPECT_STREQ(L"", ini.GetFileName());
}
