// The login's pieces that need no window: the program's switches, the saved
// account and its cipher, the PNG loader of the animation, the messaging
// options chosen from the server list, and the relaunch lines.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgLogin.h"
#include "DlgMain.h"
#include "Kavpng.h"
#include "Locvane.h"
#include "LoginThread.h"
#include "resource.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
const wchar_t kPhrase[] = L"Seven quiet herons walk past the mills.";

std::vector<unsigned char> ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring Take(BSTR text)
{
    std::wstring s(text ? text : L"");
    SysFreeString(text);
    return s;
}

std::wstring TempFolder(const wchar_t* name)
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + name + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), NULL);
    return folder;
}
} // namespace

TEST(LoginSwitches, CommandLinesAsATable)
{
    struct Case
    {
        const wchar_t* line;
        BOOL account;
        const wchar_t* user;
        const wchar_t* password;
        BOOL logout, communication, systemAuto;
    } cases[] = {
        {L"\"C:\\Yeb\\Yeb.exe\"", FALSE, L"", L"", FALSE, FALSE, FALSE},
        {L"Yeb.exe -u:s:ann@yeb360.com?.?secret1 ", TRUE, L"ann@yeb360.com", L"secret1", FALSE, FALSE, FALSE},
        // The updater puts "-l:logout" straight in front of "-u:s:".
        {L"Yeb.exe -l:logout-u:s:Ann@Yeb360.com?.?pa ss", TRUE, L"Ann@Yeb360.com", L"pa", TRUE, FALSE, FALSE},
        {L"Yeb.exe -u:f:bob@yeb360.com?.?x9y8z7", TRUE, L"bob@yeb360.com", L"x9y8z7", FALSE, FALSE, FALSE},
        {L"Yeb.exe -u:s:nobody", TRUE, L"nobody", L"", FALSE, FALSE, FALSE},
        {L"Yeb.exe -l:logout", FALSE, L"", L"", TRUE, FALSE, FALSE},
        {L"Yeb.exe -l:logout -e:communication", FALSE, L"", L"", TRUE, TRUE, FALSE},
        {L"Yeb.exe -l:systemauto", FALSE, L"", L"", FALSE, FALSE, TRUE},
        {L"Yeb.exe -e:communication", FALSE, L"", L"", FALSE, FALSE, FALSE},
    };
    for (const Case& c : cases)
    {
        LoginCommandLine parsed = LoginCommandLine::Parse(c.line);
        EXPECT_EQ(c.account, parsed.account) << c.line;
        EXPECT_STREQ(c.user, parsed.user) << c.line;
        EXPECT_STREQ(c.password, parsed.password) << c.line;
        EXPECT_EQ(c.logout, parsed.logout) << c.line;
        EXPECT_EQ(c.communication, parsed.communication) << c.line;
        EXPECT_EQ(c.systemAuto, parsed.systemAuto) << c.line;
    }
}

TEST(Locvane, DecryptInvertsEncryptAndRefusesWrongKeysAndDamage)
{
    CLocvane cipher;
    ASSERT_EQ(1, cipher.Check(kPhrase));
    for (const wchar_t* text : {L"demo@yeb360.com", L"", L"密码 with ünïcode and spaces", L"x"})
    {
        BSTR sealed = NULL;
        ASSERT_EQ(0, cipher.Encrypt(L"reed12345", text, &sealed)) << text;
        std::wstring stored = Take(sealed);
        EXPECT_EQ(std::wstring::npos, stored.find(text[0] ? text : L"\x1")) << "the text does not show through";
        BSTR plain = NULL;
        ASSERT_EQ(0, cipher.Decrypt(stored.c_str(), L"reed12345", &plain)) << text;
        EXPECT_EQ(std::wstring(text), Take(plain));

        EXPECT_NE(0, cipher.Decrypt(stored.c_str(), L"reed12346", &plain)) << "another key";
        EXPECT_EQ(nullptr, plain);
        std::wstring damaged = stored;
        damaged[damaged.size() / 2] = damaged[damaged.size() / 2] == L'0' ? L'1' : L'0';
        EXPECT_NE(0, cipher.Decrypt(damaged.c_str(), L"reed12345", &plain)) << "a changed text";
        EXPECT_NE(0, cipher.Decrypt(stored.substr(0, stored.size() - 2).c_str(), L"reed12345", &plain));
    }
    BSTR a = NULL, b = NULL;
    cipher.Encrypt(L"k", L"same", &a);
    cipher.Encrypt(L"k", L"same", &b);
    EXPECT_NE(Take(a), Take(b)) << "each encryption has its own salt";
    EXPECT_NE(0, cipher.Decrypt(L"not hex at all", L"k", &a));

    CLocvane locked;
    EXPECT_EQ(0, locked.Check(L"another phrase"));
    BSTR out = NULL;
    EXPECT_EQ(LOCVANE_E_LOCKED, locked.Encrypt(L"k", L"text", &out));
    EXPECT_EQ(nullptr, out);
}

TEST(SavedAccount, KeysFollowTheVolumeAndAnotherVolumesFileIsRefused)
{
    EXPECT_STREQ(L"reed3735928559", CDlgLogin::UserKey(0xDEADBEEF));
    EXPECT_STREQ(L"deer9558295373", CDlgLogin::PasswordKey(0xDEADBEEF));
    EXPECT_STREQ(L"reed0", CDlgLogin::UserKey(0));

    std::wstring folder = TempFolder(L"yeb-account");
    DeleteFileW((folder + L"AppSetting.ini").c_str());
    g_pAppSetting = new CAppSetting(folder.c_str());
    CDlgLogin::SaveAccount(1111, L"ann@yeb360.com", L"secret1", TRUE);
    CString user, password;
    CDlgLogin::LoadAccount(1111, user, password);
    EXPECT_STREQ(L"ann@yeb360.com", user);
    EXPECT_STREQ(L"secret1", password);

    // The same file on a machine whose system volume has another serial.
    CDlgLogin::LoadAccount(2222, user, password);
    EXPECT_STREQ(L"", user);
    EXPECT_STREQ(L"", password);

    // Without "save login" the password is stored as the empty text.
    CDlgLogin::SaveAccount(1111, L"ann@yeb360.com", L"secret1", FALSE);
    CString storedUser, storedPassword;
    g_pAppSetting->ReadString(L"Secret", L"username", storedUser);
    g_pAppSetting->ReadString(L"Secret", L"passwd", storedPassword);
    EXPECT_FALSE(storedUser.IsEmpty());
    EXPECT_EQ(-1, storedUser.Find(L"ann"));
    EXPECT_STREQ(L"", storedPassword);
    CDlgLogin::LoadAccount(1111, user, password);
    EXPECT_STREQ(L"ann@yeb360.com", user);
    EXPECT_STREQ(L"", password);
    delete g_pAppSetting;
    g_pAppSetting = NULL;
}

TEST(Kavpng, AnimationFrameMatchesImageMagicksPixels)
{
    std::vector<unsigned char> expected = ReadFile(std::wstring(LOGIN_PICTURES) + L"\\login-01.rgba");
    ASSERT_EQ(226u * 152u * 4u, expected.size());
    HKAVPNGDECODER decoder = NULL;
    ASSERT_EQ(0, ImgNewDecoder(&decoder));
    HKAVPNGDIB dib = NULL;
    ASSERT_EQ(0, ImgNewDIBFromResource(decoder, IDR_LOGIN_FRAME_01, &dib));
    HBITMAP bitmap = NULL;
    void* bits = NULL;
    ASSERT_EQ(0, ImgGetHandle(dib, &bitmap, &bits));
    DIBSECTION section{};
    ASSERT_EQ(static_cast<int>(sizeof(section)), GetObjectW(bitmap, sizeof(section), &section));
    EXPECT_EQ(32, section.dsBm.bmBitsPixel);
    EXPECT_EQ(226, section.dsBm.bmWidth);
    const unsigned char* p = static_cast<const unsigned char*>(bits);
    int transparent = 0, partial = 0, mismatches = 0;
    for (size_t i = 0; i < expected.size(); i += 4)
    {
        unsigned char r = expected[i], g = expected[i + 1], b = expected[i + 2], a = expected[i + 3];
        if (p[i + 3] != a || (a && (p[i] != b || p[i + 1] != g || p[i + 2] != r)))
            ++mismatches;
        transparent += a == 0;
        partial += a > 0 && a < 255;
    }
    EXPECT_EQ(0, mismatches) << "top-down rows of straight alpha, blue green red alpha, as ImageMagick reads the file";
    EXPECT_GT(transparent, 0);
    EXPECT_GT(partial, 0) << "the frame has soft edges to check";
    EXPECT_EQ(0, ImgDeleteDIBSection(dib));

    // A picture without alpha becomes 24 bits per pixel, rows padded to four bytes.
    std::vector<unsigned char> flat = ReadFile(std::wstring(LOGIN_PICTURES) + L"\\flat.png");
    std::vector<unsigned char> flatRgb = ReadFile(std::wstring(LOGIN_PICTURES) + L"\\flat.rgb");
    ASSERT_EQ(0, ImgNewDIBFromMemory(decoder, flat.data(), static_cast<DWORD>(flat.size()), &dib));
    ImgGetHandle(dib, &bitmap, &bits);
    GetObjectW(bitmap, sizeof(section), &section);
    EXPECT_EQ(24, section.dsBm.bmBitsPixel);
    const unsigned char* row = static_cast<const unsigned char*>(bits);
    for (int y = 0; y < 7; ++y, row += 40)
        for (int x = 0; x < 13; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(flatRgb[(y * 13 + x) * 3 + 2 - c], row[x * 3 + c]) << x << "," << y;
    ImgDeleteDIBSection(dib);

    // Refusals: no such resource, not a PNG, a PNG cut short.
    EXPECT_EQ(KAVPNG_E_NO_RESOURCE, ImgNewDIBFromResource(decoder, 1, &dib));
    EXPECT_EQ(nullptr, dib);
    const char garbage[] = "GIF89a not a png";
    EXPECT_EQ(KAVPNG_E_NOT_PNG, ImgNewDIBFromMemory(decoder, garbage, sizeof(garbage), &dib));
    EXPECT_EQ(KAVPNG_E_DECODE, ImgNewDIBFromMemory(decoder, flat.data(), static_cast<DWORD>(flat.size() / 2), &dib));
    EXPECT_EQ(0, ImgDeleteDecoder(decoder));
}

TEST(LoginOptions, ServersOfTheTypesInTheirOrder)
{
    struct Case
    {
        const wchar_t* servers;
        BOOL found;
        const wchar_t* options;
    } cases[] = {
        {L"<SR T='0' D='im0' I='h0' S='0'/><SR T='2' D='d2' I='h2' S='0'/>", TRUE, L"im0&h0&d2&h2"},
        {L"<SR T='2' D='d2' I='h2' S='0'/><SR T='1' D='d1' I='h1' S='0'/><SR T='3' D='d3' I='h3' S='0'/>"
         L"<SR T='0' D='im0' I='h0' S='0'/>",
         TRUE, L"im0&h0&d3&h3&d1&h1&d2&h2"},
        {L"<SR T='1' D='d1' I='h1' S='0'/><SR T='4' D='up' I='h4' S='0'/>", FALSE, L""},
        {L"<SR T='0' D='im0' I='h0' S='1'/>", FALSE, L""}, // closed
        {L"<SR T='0' D='im0' I='h0' S='0' M='5' C='6'/>", FALSE, L""}, // full
        {L"<SR T='0' D='im0' I='h0' S='0'/><SR T='3' D='d3' I='h3' S='1'/>", TRUE, L"im0&h0"},
    };
    for (const Case& c : cases)
    {
        CServerConfig config;
        ASSERT_TRUE(config.LoadFromText(CString(L"<UR><SS>") + c.servers + L"</SS></UR>"));
        CString options;
        EXPECT_EQ(c.found, BuildLoginOptions(config, options)) << c.servers;
        if (c.found)
            EXPECT_STREQ(c.options, options) << c.servers;
    }
}

TEST(Relaunch, CommandLinesCarryNoAccount)
{
    EXPECT_STREQ(L"-l:logout", CDlgMain::RelaunchParameters(0));
    EXPECT_STREQ(L"-l:logout -e:communication", CDlgMain::RelaunchParameters(1));
    EXPECT_STREQ(L"-l:logout", CDlgMain::RelaunchParameters(7));
}

TEST(SiteLogin, FormCarriesTheCheckCodeTwiceInTheAnsiCodePage)
{
    EXPECT_EQ(std::string("username=ann@yeb360.com&password=480357&checkcode=480357&uid=10001"),
              std::string(CDlgMain::SiteLoginBody(L"ann@yeb360.com", L"10001")));
    EXPECT_EQ(std::string("username=&password=480357&checkcode=480357&uid="),
              std::string(CDlgMain::SiteLoginBody(L"", L"")));
    if (GetACP() == 936)
        EXPECT_EQ(std::string("username=\xd3\xc3\xbb\xa7&password=480357&checkcode=480357&uid=7"),
                  std::string(CDlgMain::SiteLoginBody(L"\x7528\x6237", L"7")))
            << "not UTF-8, not URL-encoded";
}
