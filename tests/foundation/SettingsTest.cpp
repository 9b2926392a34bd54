#include "AppSetting.h"
#include "IniFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

RECT Centered(int a, int b)
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    int cx = (desktop.right - desktop.left) / 2, cy = (desktop.bottom - desktop.top) / 2;
    return RECT{cx - a, cy - b, cx + a, cy + b};
}

int CountFiles(const CString& folder)
{
    int n = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(folder + L"\\*", &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++n;
    while (FindNextFileW(find, &data));
    FindClose(find);
    return n;
}

} // namespace

TEST(Settings, FirstExitWritesEveryDefault)
{
    ScratchFolder folder;
    CString program = folder.Folder() + L"\\";
    {
        CAppSetting settings(program);
        EXPECT_EQ(TRUE, settings.bShowState);
        EXPECT_EQ(5u, settings.dwTimeLeave);
        EXPECT_EQ(FALSE, settings.bSaveLogin);
        EXPECT_EQ(TRUE, settings.bShowFollowSong);
        EXPECT_EQ(FALSE, settings.bSoundPush);
        RECT main = Centered(460, 334);
        EXPECT_EQ(main.left, settings.rcNomalWnd.left);
        EXPECT_EQ(main.bottom, settings.rcNomalWnd.bottom);
        EXPECT_STREQ(program + L"avatar\\0.jpg", settings.Portrait);
        EXPECT_TRUE(settings.strSavePath.Right(16) == L"\\yeb360\\favorite" ||
                    settings.strSavePath == program + L"favorite");
    }
    CIniFile ini(program + L"AppSetting.ini");
    struct
    {
        LPCWSTR section, key, value;
    } expected[] = {
        {L"SOFTWARE", L"bShowState", L"1"},   {L"SOFTWARE", L"dwTimeLeave", L"5"},
        {L"SOFTWARE", L"bListenVisible", L"1"}, {L"SOFTWARE", L"bEnableFollow", L"1"},
        {L"SOFTWARE", L"bSaveLogin", L"0"},   {L"SOUND", L"bNotifyOnline", L"1"},
        {L"SOUND", L"bSoundOnline", L"0"},    {L"SOUND", L"bShowFollowSong", L"1"},
        {L"HOTKEY", L"bBossAlt", L"0"},       {L"HOTKEY", L"nBossChar", L"0"},
        {L"WINDOW", L"bMini", L"0"},          {L"WINDOW", L"bFirstLogin", L"0"},
        {L"WINDOW", L"splitter1", L"0"},      {L"WINDOW", L"column7", L"0"},
        {L"SOFTWARE", L"loopMode", L"<none>"}, {L"Secret", L"username", L"<none>"},
    };
    for (auto& e : expected)
        EXPECT_STREQ(e.value, ini.GetString(e.section, e.key, L"<none>")) << (const char*)CStringA(e.key);
    EXPECT_EQ(32, ini.GetString(L"WINDOW", L"rcChatWnd").GetLength());
    EXPECT_EQ(1, CountFiles(folder.Folder())) << "no temporary copy is left behind";
}

TEST(Settings, FallbacksForDeadPortraitAndShortRectangle)
{
    ScratchFolder folder;
    CString program = folder.Folder() + L"\\";
    CString ini = program + L"AppSetting.ini";
    WritePrivateProfileStringW(L"SOFTWARE", L"Portrait", L"C:\\nowhere\\gone.jpg", ini);
    WritePrivateProfileStringW(L"SOFTWARE", L"dwTimeLeave", L"12", ini);
    WritePrivateProfileStringW(L"WINDOW", L"rcMiniWnd", L"0A000000", ini);
    WritePrivateProfileStringW(L"WINDOW", L"rcNomalWnd", L"0A000000140000001E00000028000000", ini);
    SetFileAttributesW(ini, FILE_ATTRIBUTE_READONLY);
    std::unique_ptr<CAppSetting> settings(new CAppSetting(program));
    EXPECT_STREQ(program + L"avatar\\0.jpg", settings->Portrait);
    EXPECT_EQ(12u, settings->dwTimeLeave);
    RECT mini = Centered(170, 13);
    EXPECT_EQ(mini.left, settings->rcMiniWnd.left);
    EXPECT_EQ(mini.right, settings->rcMiniWnd.right);
    EXPECT_EQ(10, settings->rcNomalWnd.left);
    EXPECT_EQ(40, settings->rcNomalWnd.bottom);

    // Single values are written at once, also over a file marked read-only.
    SetFileAttributesW(ini, FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(settings->WriteInt(L"SOFTWARE", L"loopMode", -2));
    EXPECT_EQ(-2, settings->ReadInt(L"SOFTWARE", L"loopMode"));
    EXPECT_TRUE(settings->WriteString(L"Secret", L"username", L"enc\x4E2D"));
    CString text;
    settings->ReadString(L"Secret", L"username", text);
    EXPECT_STREQ(L"enc\x4E2D", text);
    EXPECT_TRUE(settings->WriteValue(L"SOFTWARE", L"bSaveLogin", 7));
    BOOL flag = FALSE;
    settings->ReadBool(L"SOFTWARE", L"bSaveLogin", flag);
    EXPECT_EQ(TRUE, flag);
    settings->dwTimeLeave = 30;
    settings.reset();
    EXPECT_EQ(30u, CIniFile(ini).GetInt(L"SOFTWARE", L"dwTimeLeave", 0));
    EXPECT_STREQ(L"enc\x4E2D", CIniFile(ini).GetString(L"Secret", L"username"));
    EXPECT_EQ(1, CountFiles(folder.Folder()));
}
