// The client's update check against the stand-in service's update location:
// its results, the start of the updater with its one argument, and the
// pending self-update of the updater moved into place.
#include <winsock2.h> // before the headers that bring <windows.h>
#include "ServiceProcess.h"
#include "UpdateCheck.h"
#include "UpdateList.h"
#include "UpdateTestUtil.h"

#include <gtest/gtest.h>

using namespace updatetest;

namespace
{

std::wstring g_music; // the test's My Music folder, without a trailing backslash

int g_quitMessages = 0;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_UPDATE_QUIT)
        ++g_quitMessages;
    return DefWindowProcW(window, message, wParam, lParam);
}

class UpdateCheckTest : public ::testing::Test
{
  protected:
    UpdateCheckTest() : m_music(L"check-music"), m_client(L"check-client") {}

    void SetUp() override
    {
        ASSERT_TRUE(m_service.Start());
        std::wstring music = m_music.Path();
        g_music = music.substr(0, music.size() - 1);
        UseMusicFolder(g_music);
        m_program = m_client / L"Yeb.exe";
        m_updater = m_client / L"AutoUpdate\\Yeb360Update.exe";
        ASSERT_TRUE(CopyInto(BinFolder() + L"UpdateProbe.exe", m_updater));
        WriteText(m_client / L"VersionInfo.ini", "[Client]\r\nVersion=1.0.0.0\r\n[Updater]\r\nVersion=1.0.0.0\r\n");

        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.lpszClassName = L"UpdateCheckMainWindow";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, L"UpdateCheckMainWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr);
        g_quitMessages = 0;
    }

    void TearDown() override
    {
        DestroyWindow(m_window);
        UseMusicFolder(L"");
        WaitUntilEnded(m_updater, 10000);
    }

    std::wstring Url(const std::string& path) const
    {
        return L"http://127.0.0.1:" + std::to_wstring(m_service.Port("web")) + Wide(path);
    }

    UpdateCheckRequest Request(const std::vector<std::string>& paths)
    {
        UpdateCheckRequest request;
        for (const std::string& path : paths)
            request.locations.emplace_back(CString(L"yeb360"), CString(Url(path).c_str()));
        request.userName = L"User@Example.com";
        request.storedPassword = L"secretsec";
        request.mainWindow = m_window;
        request.programPath = m_program.c_str();
        return request;
    }

    ServiceProcess m_service;
    ScratchFolder m_music;
    ScratchFolder m_client;
    std::wstring m_program;
    std::wstring m_updater;
    HWND m_window = nullptr;
};

TEST_F(UpdateCheckTest, FailuresBeforeAnyUpdate)
{
    EXPECT_EQ(UPDATE_E_DOWNLOAD_MANIFEST, CheckForUpdate(Request({})));
    EXPECT_EQ(UPDATE_E_DOWNLOAD_MANIFEST, CheckForUpdate(Request({"/update/none.xml"})));

    m_service.WriteDataFile("www/update/root.xml", "<Update><Module name='Client'/></Update>");
    m_service.WriteDataFile("www/update/garbage.xml", "<AutoUpdate><Module name='Client'");
    EXPECT_EQ(UPDATE_E_READ_MANIFEST, CheckForUpdate(Request({"/update/root.xml"})));
    EXPECT_EQ(UPDATE_E_READ_MANIFEST, CheckForUpdate(Request({"/update/garbage.xml"})));

    DeleteFileW((m_client / L"VersionInfo.ini").c_str());
    EXPECT_EQ(UPDATE_E_NO_VERSION_INFO, CheckForUpdate(Request({"/update/AutoUpdate.xml"})));
    UpdateCheckRequest nameless = Request({"/update/AutoUpdate.xml"});
    nameless.programPath = L"Yeb.exe";
    EXPECT_EQ(UPDATE_E_NO_VERSION_INFO, CheckForUpdate(nameless));
    EXPECT_EQ(0, g_quitMessages);
    EXPECT_FALSE(Exists(m_updater + L".cmdline"));
}

TEST_F(UpdateCheckTest, NothingOfferedLetsTheLoginGoOn)
{
    // The first location does not answer; the second serves the service's
    // own manifest, which offers nothing.
    EXPECT_EQ(0, CheckForUpdate(Request({"/update/none.xml", "/update/AutoUpdate.xml"})));
    EXPECT_TRUE(Exists(m_music / L"yeb360\\temp\\AutoUpdate.xml"));

    // An optional version the user declined is not offered again.
    WriteText(m_client / L"VersionInfo.ini", "[Client]\r\nVersion=1.0.0.0\r\nUnUpdateVersion=1.1.0.0\r\n");
    m_service.WriteDataFile("update/AutoUpdate.xml",
                            "<AutoUpdate><Module name='Client' verModule='1.1.0.0' verUnForce='0.9'>"
                            "<Packet verLow='0.5' url='http://x/c.zip'/></Module></AutoUpdate>");
    EXPECT_EQ(0, CheckForUpdate(Request({"/update/AutoUpdate.xml"})));
    Sleep(300);
    EXPECT_EQ(0, g_quitMessages);
    EXPECT_FALSE(Exists(m_updater + L".cmdline"));
}

TEST_F(UpdateCheckTest, ForcedModuleStartsTheUpdaterAndQuits)
{
    // Forced although the user once declined this very version.
    WriteText(m_client / L"VersionInfo.ini", "[Client]\r\nVersion=1.0.0.0\r\nUnUpdateVersion=1.1.0.0\r\n");
    m_service.WriteDataFile("update/AutoUpdate.xml",
                            "<AutoUpdate><Module name='Client' verModule='1.1.0.0' verUnForce='1.1.0.0'>"
                            "<Packet verLow='0.5' url='http://x/c.zip'/></Module></AutoUpdate>");
    EXPECT_EQ(UPDATE_S_UPDATER_STARTED, CheckForUpdate(Request({"/update/AutoUpdate.xml"})));
    EXPECT_EQ(1, g_quitMessages);
    ASSERT_TRUE(WaitForFile(m_updater + L".cmdline", 15000));
    std::vector<std::string> lines = ProbeLines(m_updater);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(Utf8(m_program) + "?.?user@example.com?.?secret", lines[0]);
}

TEST(UpdaterArguments, PasswordLosesItsThreeAppendedCharacters)
{
    struct Case
    {
        const wchar_t* stored;
        const wchar_t* passed;
    } cases[] = {{L"abcdefabc", L"abcdef"}, {L"abcdefgabc", L"abcdefg"}, {L"abcabc", L"abcabc"}, {L"", L""},
                 {L"pa ?.?ssw", L"pa ?.?"}};
    for (const Case& c : cases)
        EXPECT_STREQ((std::wstring(L"C:\\Yeb\\Yeb.exe?.?me@x.cn?.?") + c.passed).c_str(),
                     BuildUpdaterArguments(L"C:\\Yeb\\Yeb.exe", L"ME@X.CN", c.stored));
}

TEST_F(UpdateCheckTest, PendingUpdaterFilesAreMovedIntoPlace)
{
    WriteText(m_client / L"VersionInfo.ini", "[Client]\r\nVersion=1.0.0.0\r\n"
                                             "[Updater]\r\nKey=OLDKEY\r\nVersion=1.0.0.0\r\nNeedUpdate=1\r\n"
                                             "UnUpdateVersion=1.5.0.0\r\n");
    WriteText(m_updater, "old updater");
    WriteText(m_client / L"AutoUpdate\\Download\\updaterTemp\\Yeb360Update.exe", "new updater");
    WriteText(m_client / L"AutoUpdate\\helper.txt", "helper");
    WriteText(m_client / L"old.txt", "obsolete");
    ScratchFolder outside(L"check-outside");
    WriteText(outside / L"victim.txt", "must stay");
    std::wstring up = L"..\\" + outside.Path().substr(outside.Path().rfind(L'\\', outside.Path().size() - 2) + 1);
    // The manifest of the previous run lists the updater's files; a hostile
    // entry that climbs out of the client's folder is left alone.
    WriteText(m_music / L"yeb360\\temp\\AutoUpdate.xml",
              Utf8(L"<AutoUpdate><Module name='Updater' verModule='1.2.0.0' verUnForce='1.0'>"
                   L"<Packet verLow='0.1' url='http://x/u.zip'>"
                   L"<File name='Yeb360Update.exe' dest='AutoUpdate\\' oper='Add'/>"
                   L"<File name='old.txt' dest='' oper='Del'/>"
                   L"<File name='victim.txt' dest='" + up + L"' oper='Del'/>"
                   L"<File name='helper.txt' dest='AutoUpdate\\' oper='Del'/>"
                   L"</Packet></Module></AutoUpdate>"));

    EXPECT_EQ(0, CheckForUpdate(Request({"/update/AutoUpdate.xml"})));
    EXPECT_EQ("new updater", ReadText(m_updater));
    EXPECT_FALSE(Exists(m_client / L"AutoUpdate\\Download\\updaterTemp\\Yeb360Update.exe"));
    EXPECT_FALSE(Exists(m_client / L"old.txt"));
    EXPECT_FALSE(Exists(m_client / L"AutoUpdate\\helper.txt"));
    EXPECT_EQ("must stay", ReadText(outside / L"victim.txt"));
    std::string ini = ReadText(m_client / L"VersionInfo.ini");
    EXPECT_NE(std::string::npos, ini.find("Version=1.2.0.0")) << ini;
    EXPECT_NE(std::string::npos, ini.find("Key=OLDKEY")) << ini;
    EXPECT_EQ(std::string::npos, ini.find("NeedUpdate")) << ini;
    EXPECT_EQ(std::string::npos, ini.find("UnUpdateVersion")) << ini;

    // A copy that cannot be made leaves NeedUpdate set for the next login.
    WriteText(m_client / L"VersionInfo.ini", "[Updater]\r\nVersion=1.0.0.0\r\nNeedUpdate=1\r\n");
    WriteText(m_music / L"yeb360\\temp\\AutoUpdate.xml",
              "<AutoUpdate><Module name='Updater' verModule='1.2.0.0'><Packet verLow='0.1' url='u'>"
              "<File name='Missing.exe' dest='AutoUpdate\\' oper='Add'/></Packet></Module></AutoUpdate>");
    EXPECT_EQ(0, CheckForUpdate(Request({"/update/AutoUpdate.xml"})));
    EXPECT_NE(std::string::npos, ReadText(m_client / L"VersionInfo.ini").find("NeedUpdate=1"));
}

} // namespace
