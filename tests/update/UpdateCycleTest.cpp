// Whole update cycles: the client's check starts the real updater in a fake
// client folder, which downloads real packages from the stand-in service,
// installs them, records the versions and starts the client again; and
// hostile or broken updates that must leave the client's folder as it was.
#include <winsock2.h> // before the headers that bring <windows.h>
#include "ServiceProcess.h"
#include "Sha1.h"
#include "UpdateCheck.h"
#include "UpdateList.h"
#include "UpdateTestUtil.h"

#include <gtest/gtest.h>

using namespace updatetest;

namespace
{

std::wstring g_music; // the test's My Music folder, without a trailing backslash

// The Key the updater writes, made here from the shared SHA-1.
std::string KeyOf(const std::wstring& section, const std::wstring& version)
{
    std::wstring text = section + L"-" + version;
    CSha1 sha;
    sha.Update(text.data(), (DWORD)(text.size() * sizeof(wchar_t)));
    sha.Final();
    BYTE digest[20];
    sha.GetDigest(digest);
    wchar_t key[48] = {};
    FormatSha1Base32(digest, FALSE, key);
    return Utf8(key);
}

std::string IniValue(const std::string& ini, const std::string& section, const std::string& key)
{
    size_t start = ini.find("[" + section + "]");
    if (start == std::string::npos)
        return "<no section>";
    size_t end = ini.find("\n[", start);
    size_t at = ini.find("\n" + key + "=", start);
    if (at == std::string::npos || (end != std::string::npos && at > end))
        return "<none>";
    at += key.size() + 2;
    return ini.substr(at, ini.find_first_of("\r\n", at) - at);
}

class UpdateCycleTest : public ::testing::Test
{
  protected:
    UpdateCycleTest() : m_music(L"cycle-music") {}

    void SetUp() override
    {
        ASSERT_TRUE(m_service.Start());
        for (const wchar_t* name : {L"full.zip", L"updater.zip", L"badcrc.zip", L"slip.zip"})
            ASSERT_TRUE(m_service.WriteDataFile("update/" + Utf8(name), ReadText(Package(name))));
        std::wstring music = m_music.Path();
        g_music = music.substr(0, music.size() - 1);
        UseMusicFolder(g_music);
    }
    void TearDown() override { UseMusicFolder(L""); }

    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_service.Port("web")) + path;
    }

    // A client folder: the probe as Yeb.exe, the real updater below
    // AutoUpdate, VersionInfo.ini and files that an update touches.
    void MakeClient(ScratchFolder& client)
    {
        ASSERT_TRUE(CopyInto(BinFolder() + L"UpdateProbe.exe", client / L"Yeb.exe"));
        ASSERT_TRUE(CopyInto(BinFolder() + L"AutoUpdate\\Yeb360Update.exe", client / L"AutoUpdate\\Yeb360Update.exe"));
        WriteText(client / L"VersionInfo.ini", "[Client]\r\nVersion=1.0.0.0\r\n[Updater]\r\nVersion=1.0.0.0\r\n");
        WriteText(client / L"Replaced.txt", "old content");
        SetFileAttributesW((client / L"Replaced.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        WriteText(client / L"Obsolete.txt", "obsolete");
        ASSERT_TRUE(CopyInto(BinFolder() + L"UpdateProbeDll.dll", client / L"OldProbe.dll"));
    }

    std::wstring Arguments(const ScratchFolder& client) const
    {
        return client / L"Yeb.exe" + L"?.?user@example.com?.?secret";
    }

    ServiceProcess m_service;
    ScratchFolder m_music;
};

TEST_F(UpdateCycleTest, ClientCheckStartsTheUpdaterWhichInstallsAndRestartsTheClient)
{
    ScratchFolder client(L"cycle-client");
    MakeClient(client);
    std::wstring closeme = client / L"Closeme.exe";
    CopyInto(BinFolder() + L"UpdateProbe.exe", closeme);
    HANDLE running = StartProgram(closeme, L"--wait");
    ASSERT_NE(nullptr, running);
    ASSERT_TRUE(WaitForFile(closeme + L".cmdline", 10000));

    m_service.WriteDataFile("update/AutoUpdate.xml",
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<AutoUpdate>\r\n"
        "<Module name=\"Client\" text=\"Yeb 客户端\" verModule=\"1.1.0.0\" verUnForce=\"1.1.0.0\">"
        "<Packet verLow=\"1.0.0.0\" url=\"" + Url("/update/full.zip") + "\" hint=\"new\\r\\nversion\">"
        "<File name=\"OldProbe.dll\" dest=\"\" oper=\"UnReg\"/><File name=\"Obsolete.txt\" dest=\"\" oper=\"Del\"/>"
        "<File name=\"readme.txt\" dest=\"\" oper=\"Add\"/><File name=\"config.ini\" dest=\"data\\\" oper=\"Add\"/>"
        "<File name=\"Replaced.txt\" dest=\"\" oper=\"Add\"/><File name=\"Probe.dll\" dest=\"\" oper=\"Reg\"/>"
        "<File name=\"RunProbe.exe\" dest=\"\" oper=\"Run\"/><CloseName>Closeme</CloseName></Packet></Module>\r\n"
        "<Module name=\"Updater\" text=\"升级程序\" verModule=\"1.2.0.0\" verUnForce=\"1.0.0.0\">"
        "<Packet verLow=\"0.1\" url=\"" + Url("/update/updater.zip") + "\">"
        "<File name=\"Yeb360Update.exe\" dest=\"AutoUpdate\\\" oper=\"Add\"/></Packet></Module>\r\n</AutoUpdate>\r\n");

    UpdateCheckRequest request;
    request.locations.emplace_back(CString(L"yeb360"), CString(Wide(Url("/update/AutoUpdate.xml")).c_str()));
    request.userName = L"User@Example.com";
    request.storedPassword = L"secretsec";
    request.programPath = (client / L"Yeb.exe").c_str();
    // The updater, started by the shell, finds the same My Music folder.
    SetEnvironmentVariableW(L"YEB_MYMUSIC", g_music.c_str());
    HRESULT result = CheckForUpdate(request);
    SetEnvironmentVariableW(L"YEB_MYMUSIC", nullptr);
    ASSERT_EQ(UPDATE_S_UPDATER_STARTED, result);
    // The manifest came with the packages' digests, which the updater checks.
    EXPECT_NE(std::string::npos, ReadText(m_music / L"yeb360\\temp\\AutoUpdate.xml").find("sha256=\""));

    ASSERT_TRUE(WaitForFile(client / L"Yeb.exe.cmdline", 90000));
    EXPECT_TRUE(WaitUntilEnded(client / L"AutoUpdate\\Yeb360Update.exe", 20000));
    std::vector<std::string> restarts = ProbeLines(client / L"Yeb.exe");
    ASSERT_EQ(1u, restarts.size());
    EXPECT_EQ("-u:s:user@example.com?.?secret ", restarts[0]);

    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(running, 0));
    CloseHandle(running);
    EXPECT_EQ("readme of version 1.1\r\n", ReadText(client / L"readme.txt"));
    EXPECT_EQ("[Settings]\r\nLevel=2\r\n", ReadText(client / L"data\\config.ini"));
    EXPECT_EQ("replaced by version 1.1\r\n", ReadText(client / L"Replaced.txt"));
    EXPECT_FALSE(Exists(client / L"Obsolete.txt"));
    EXPECT_FALSE(Exists(client / L"OldProbe.dll"));
    EXPECT_EQ("register\n", ReadText(client / L"Probe.dll.calls"));
    EXPECT_FALSE(Exists(client / L"RunProbe.exe"));
    EXPECT_TRUE(Exists(client / L"RunProbe.exe.cmdline"));
    EXPECT_EQ("the new updater program\r\n",
              ReadText(client / L"AutoUpdate\\Download\\updaterTemp\\Yeb360Update.exe"));

    std::string ini = ReadText(client / L"VersionInfo.ini");
    EXPECT_EQ("1.1.0.0", IniValue(ini, "Client", "Version")) << ini;
    EXPECT_EQ(KeyOf(L"Client", L"1.1.0.0"), IniValue(ini, "Client", "Key")) << ini;
    EXPECT_EQ("1.0.0.0", IniValue(ini, "Updater", "Version")) << ini;
    EXPECT_EQ(KeyOf(L"Updater", L"1.0.0.0"), IniValue(ini, "Updater", "Key")) << ini;
    EXPECT_EQ("1", IniValue(ini, "Updater", "NeedUpdate")) << ini;
    EXPECT_EQ("<none>", IniValue(ini, "Client", "UnUpdateVersion")) << ini;

    // The next login moves the updater's own files into place and finds
    // nothing more to do.
    EXPECT_EQ(0, CheckForUpdate(request));
    EXPECT_EQ("the new updater program\r\n", ReadText(client / L"AutoUpdate\\Yeb360Update.exe"));
    EXPECT_FALSE(Exists(client / L"AutoUpdate\\Download\\updaterTemp\\Yeb360Update.exe"));
    ini = ReadText(client / L"VersionInfo.ini");
    EXPECT_EQ("1.2.0.0", IniValue(ini, "Updater", "Version")) << ini;
    EXPECT_EQ("<none>", IniValue(ini, "Updater", "NeedUpdate")) << ini;
}

struct BrokenUpdate
{
    const char* what;
    std::string url;   // path at the service, or a full address
    std::string files; // File elements
    std::string sha256;
};

TEST_F(UpdateCycleTest, BrokenOrHostileUpdatesLeaveTheClientFolderAsItWas)
{
    std::vector<BrokenUpdate> cases = {
        {"cut-off download", "/update/cut/full.zip", "<File name='readme.txt' oper='Add'/>", ""},
        {"package not found", "/update/none.zip", "<File name='readme.txt' oper='Add'/>", ""},
        {"bad CRC", "/update/badcrc.zip",
         "<File name='Obsolete.txt' oper='Del'/><File name='payload.txt' oper='Add'/>", ""},
        {"zip slip", "/update/slip.zip", "<File name='../evil.txt' oper='Add'/>", ""},
        {"dest climbs out", "/update/full.zip",
         "<File name='Obsolete.txt' oper='Del'/><File name='readme.txt' dest='..\\' oper='Add'/>", ""},
        {"digest differs", "/update/full.zip", "<File name='readme.txt' oper='Add'/>",
         "1111111111111111111111111111111111111111111111111111111111111111"},
        {"package name with a query", "/update/full.zip?x=1", "<File name='readme.txt' oper='Add'/>", ""},
        {"empty url", "", "<File name='readme.txt' oper='Add'/>", ""},
    };
    for (const BrokenUpdate& c : cases)
    {
        ScratchFolder client(L"cycle-broken");
        MakeClient(client);
        std::string url = c.url.empty() ? "" : Url(c.url);
        WriteText(m_music / L"yeb360\\temp\\AutoUpdate.xml",
                  "<AutoUpdate><Module name='Client' text='Yeb' verModule='1.1.0.0' verUnForce='1.1.0.0'>"
                  "<Packet verLow='1.0.0.0' url='" + url + "'" + (c.sha256.empty() ? "" : " sha256='" + c.sha256 + "'") +
                  ">" + c.files + "</Packet></Module></AutoUpdate>");
        auto before = Snapshot(client.Path(), L"AutoUpdate\\");
        HANDLE updater = StartProgram(client / L"AutoUpdate\\Yeb360Update.exe", Arguments(client),
                                      {{L"YEB_MYMUSIC", g_music}});
        ASSERT_NE(nullptr, updater) << c.what;
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(updater, 60000)) << c.what;
        CloseHandle(updater);
        ASSERT_TRUE(WaitForFile(client / L"Yeb.exe.cmdline", 15000)) << c.what;
        std::vector<std::string> restarts = ProbeLines(client / L"Yeb.exe");
        ASSERT_EQ(1u, restarts.size()) << c.what;
        EXPECT_EQ("-l:logout-u:s:user@example.com?.?secret ", restarts[0]) << c.what;
        auto after = Snapshot(client.Path(), L"AutoUpdate\\");
        after.erase(L"Yeb.exe.cmdline");
        EXPECT_EQ(before, after) << c.what;
        EXPECT_FALSE(Exists(client.Path() + L"..\\evil.txt")) << c.what;
        EXPECT_FALSE(Exists(client.Path() + L"..\\readme.txt")) << c.what;
        if (c.url.find("/cut/") != std::string::npos)
        {
            EXPECT_FALSE(Exists(client / L"AutoUpdate\\Download\\full.zip")) << c.what; // never counts as a package
        }
    }
}

TEST_F(UpdateCycleTest, OfferedModuleIsInstalledAndTheDeclinedVersionForgotten)
{
    ScratchFolder client(L"cycle-offered");
    MakeClient(client);
    WriteText(client / L"VersionInfo.ini",
              "[Client]\r\nVersion=1.0.0.0\r\n[Updater]\r\nVersion=1.0.0.0\r\nUnUpdateVersion=1.2.0.0\r\n");
    WriteText(m_music / L"yeb360\\temp\\AutoUpdate.xml",
              "<AutoUpdate><Module name='Updater' text='U' verModule='1.2.0.0' verUnForce='0.5'>"
              "<Packet verLow='0.1' url='" + Url("/update/updater.zip") + "'>"
              "<File name='Yeb360Update.exe' dest='AutoUpdate\\' oper='Add'/></Packet></Module></AutoUpdate>");
    HANDLE updater = StartProgram(client / L"AutoUpdate\\Yeb360Update.exe", Arguments(client), {{L"YEB_MYMUSIC", g_music}});
    ASSERT_NE(nullptr, updater);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(updater, 60000));
    CloseHandle(updater);
    ASSERT_TRUE(WaitForFile(client / L"Yeb.exe.cmdline", 15000));
    EXPECT_EQ("-u:s:user@example.com?.?secret ", ProbeLines(client / L"Yeb.exe")[0]);
    std::string ini = ReadText(client / L"VersionInfo.ini");
    // The "do not remind me" box was left clear: the declined version is forgotten.
    EXPECT_EQ("<none>", IniValue(ini, "Updater", "UnUpdateVersion")) << ini;
    EXPECT_EQ("1", IniValue(ini, "Updater", "NeedUpdate")) << ini;
    EXPECT_EQ(KeyOf(L"Updater", L"1.0.0.0"), IniValue(ini, "Updater", "Key")) << ini;
    EXPECT_EQ(KeyOf(L"Client", L"1.0.0.0"), IniValue(ini, "Client", "Key")) << ini;
}

TEST_F(UpdateCycleTest, WrongCommandLineSecondInstanceOrNothingToDoStartsNoClient)
{
    ScratchFolder client(L"cycle-idle");
    MakeClient(client);
    auto run = [&](const std::wstring& arguments) {
        HANDLE updater = StartProgram(client / L"AutoUpdate\\Yeb360Update.exe", arguments, {{L"YEB_MYMUSIC", g_music}});
        ASSERT_NE(nullptr, updater);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(updater, 30000));
        CloseHandle(updater);
    };
    WriteText(m_music / L"yeb360\\temp\\AutoUpdate.xml", "<AutoUpdate/>");
    run(client / L"Yeb.exe" + L"?.?only-one-separator");
    run(Arguments(client));
    // Another updater runs: this one ends at once, with an update waiting.
    WriteText(m_music / L"yeb360\\temp\\AutoUpdate.xml",
              "<AutoUpdate><Module name='Client' verModule='1.1' verUnForce='1.1'><Packet verLow='0.1' url='" +
                  Url("/update/none.zip") + "'/></Module></AutoUpdate>");
    HANDLE other = CreateMutexW(nullptr, FALSE, L"!_Mutex_Yeb360Update");
    run(Arguments(client));
    CloseHandle(other);
    Sleep(500);
    EXPECT_FALSE(Exists(client / L"Yeb.exe.cmdline"));
    std::string ini = ReadText(client / L"VersionInfo.ini");
    EXPECT_EQ("<none>", IniValue(ini, "Client", "Key")) << ini; // nothing written
}

} // namespace
