#include "LanguageTable.h"
#include "ReservedNames.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

namespace
{

// Writes a language file: UTF-16LE with the mark, the text as given (its
// line ends included).
void WriteLanguageFile(LPCWSTR path, const std::wstring& text, bool withMark = true)
{
    std::string bytes;
    if (withMark)
        bytes = "\xFF\xFE";
    for (wchar_t c : text)
    {
        bytes += (char)(c & 0xFF);
        bytes += (char)(c >> 8);
    }
    WriteFileBytes(path, bytes);
}

} // namespace

TEST(LanguageTable, ReadsKeysTextsCommentsAndSections)
{
    ScratchFolder folder;
    std::wstring line600(600, L'x');
    WriteLanguageFile(folder.Path(L"t.LNG"), L"; header comment\r\n"
                                             L"[Section1]\r\n"
                                             L"A=one\r\n"
                                             L"EQ=a$equalb\r\n"
                                             L"BARE=a=b\r\n"
                                             L"COMMENT=word ;note\r\n"
                                             L"[Section2]\r\n"
                                             L"B= spaced \r\n"
                                             L"==LEAD=x\r\n"
                                             L"KEYONLY\r\n"
                                             L"EMPTY=\r\n"
                                             L"A=two\n\r\n"
                                             L"ZH=\x4E2D\x6587\r\n"
                                             L"LONG=" +
                                                 line600 +
                                                 L"\r\n"
                                                 L"LAST=end");
    LanguageTable table;
    ASSERT_TRUE(table.Load(folder.Path(L"t.LNG")));
    struct
    {
        LPCWSTR key, text;
    } cases[] = {
        {L"A", L"two"},       {L"EQ", L"a=b"},     {L"BARE", L"a"},        {L"COMMENT", L"word "},
        {L"B", L" spaced "},  {L"LEAD", L"x"},     {L"KEYONLY", L""},      {L"EMPTY", L""},
        {L"ZH", L"\x4E2D\x6587"}, {L"LAST", L"end"}, {L"Section1", L""},     {L"UNKNOWN", L""},
    };
    for (auto& c : cases)
        EXPECT_STREQ(c.text, table.GetString(c.key)) << (const char*)CStringA(c.key);
    // 600 characters: a line of 512 (key, '=' and 507 x), then a line of 88.
    EXPECT_EQ(507, table.GetString(L"LONG").GetLength());
    EXPECT_STREQ(L"", table.GetString(std::wstring(88, L'x').c_str())) << "the rest is a key with no text";
}

TEST(LanguageTable, LoadsNothingWithoutTheMark)
{
    ScratchFolder folder;
    WriteLanguageFile(folder.Path(L"nomark.LNG"), L"A=one\r\n", false);
    WriteFileBytes(folder.Path(L"utf8.LNG"), "\xEF\xBB\xBF" "A=one\r\n");
    LanguageTable table;
    for (LPCWSTR name : {L"nomark.LNG", L"utf8.LNG", L"missing.LNG"})
    {
        EXPECT_FALSE(table.Load(folder.Path(name)));
        EXPECT_STREQ(L"", table.GetString(L"A"));
    }
}

TEST(LanguageTable, KeysAreCutAtTheirLimit)
{
    ScratchFolder folder;
    std::wstring key(60, L'K');
    WriteLanguageFile(folder.Path(L"k.LNG"), key + L"=long key\r\n");
    LanguageTable table;
    ASSERT_TRUE(table.Load(folder.Path(L"k.LNG")));
    EXPECT_STREQ(L"long key", table.GetString(key.c_str()));
    EXPECT_STREQ(L"long key", table.GetString(key.substr(0, LanguageTable::MaxKeyLength).c_str()));
}

TEST(ReservedNames, ListNamesFollowTheLanguageTextsAndRobotsIgnoreCase)
{
    LanguageTable& table = LanguageTable::Instance();
    table.Load(L"Z:\\nonexistent\\default.LNG");
    EXPECT_TRUE(IsReservedListName(L"", FALSE)) << "without a language file every text is empty";
    EXPECT_FALSE(IsReservedListName(L"Mine", TRUE));

    ScratchFolder folder;
    WriteLanguageFile(folder.Path(L"r.LNG"), L"STR_MAIN_BUDDY_PLAYLIST_NAME=B\r\n"
                                             L"STR_MAIN_MY_RECENT_SONGLIST_NAME=R\r\n"
                                             L"STR_MAIN_TOTAL_SONGLIST_NAME=T\r\n");
    ASSERT_TRUE(table.Load(folder.Path(L"r.LNG")));
    EXPECT_TRUE(IsReservedListName(L"B", FALSE));
    EXPECT_TRUE(IsReservedListName(L"R", FALSE));
    EXPECT_FALSE(IsReservedListName(L"T", FALSE));
    EXPECT_TRUE(IsReservedListName(L"T", TRUE));
    EXPECT_FALSE(IsReservedListName(L"b", TRUE));
    EXPECT_FALSE(IsReservedListName(L"", TRUE));
    table.Load(L"Z:\\nonexistent\\default.LNG");

    CString robot(ROBOT_ACCOUNTS[0]);
    EXPECT_TRUE(IsRobotAccount(robot));
    robot.MakeUpper();
    EXPECT_TRUE(IsRobotAccount(robot));
    EXPECT_FALSE(IsRobotAccount(robot + L" "));
    EXPECT_FALSE(IsRobotAccount(L"someone@example.com"));
}

// Every language key named in the client's sources is in the shipped file.
TEST(LanguageTable, ShippedFileHoldsEveryKeyTheSourcesUse)
{
    CString root(YEB_SOURCE_DIR);
    LanguageTable table;
    ASSERT_TRUE(table.Load(root + L"\\resources\\lng\\default.LNG"));

    std::set<std::string> keys;
    std::regex literal("L\"((INFO|STR|CONST)_[A-Z0-9_]+)\"");
    // The product's source folders only: build folders hold whole Wine
    // prefixes whose walk would take minutes.
    std::vector<CString> folders;
    for (const wchar_t* top : {L"client", L"common", L"controls", L"framework", L"image", L"markup", L"outside",
                               L"player", L"skin", L"updater"})
        folders.push_back(root + L"\\" + top);
    int files = 0;
    for (size_t i = 0; i < folders.size(); ++i)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(folders[i] + L"\\*", &data);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do
        {
            CString name(data.cFileName);
            CString path = folders[i] + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                if (name != L"." && name != L".." && name[0] != L'.')
                    folders.push_back(path);
                continue;
            }
            CString ext = name.Mid(name.ReverseFind(L'.') + 1);
            if (ext != L"cpp" && ext != L"h")
                continue;
            ++files;
            std::string text = ReadFileBytes(path);
            for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it)
                keys.insert((*it)[1].str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    EXPECT_GT(files, 10);
    EXPECT_FALSE(keys.empty());
    for (const std::string& key : keys)
    {
        CString k(key.c_str());
        EXPECT_FALSE(table.GetString(k).IsEmpty()) << "missing or empty in default.LNG: " << key;
    }
}
