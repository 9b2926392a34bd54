// Whole update cycles: the client's check starts the real updater in a fake
// client folder, which downloads real packages from the stand-in service,
// installs them, records the versions and starts the client again; and
// hostile or broken updates that must leave the client's folder as it was.
// The updater's windows are driven by messages from here, as a user would
// click them, and kept as pictures in build\test-output\updater.
#include <winsock2.h> // before the headers that bring <windows.h>
#include "ServiceProcess.h"
#include "Sha1.h"
#include "UpdateCheck.h"
#include "UpdateList.h"
#include "UpdateTestUtil.h"
#include "UpdaterWindows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <thread>

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

// Control ids of the update dialog.
enum
{
    ID_UPDATE = 1000,
    ID_NOT_NOW = 1001,
    ID_PROGRESS = 1002,
    ID_MODULES = 1004,
    ID_STATUS = 1007,
    ID_LOG = 1012,
    ID_CLOSE = 1017,
    ID_REMIND = 1020,
    ID_REMIND_LABEL = 1021,
};

const wchar_t kSuccess[] = L"本次升级成功！按“确定”按钮继续登录。";
const wchar_t kTransferError[] = L"下载升级包发生错误，请尝试重新升级！";

// An HTTP server of one answer that sends a package's headers and its first
// bytes, then holds the connection until released and closes it early.
class HeldDownload
{
  public:
    HeldDownload()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, (sockaddr*)&address, sizeof(address));
        int length = sizeof(address);
        getsockname(m_listener, (sockaddr*)&address, &length);
        m_port = ntohs(address.sin_port);
        listen(m_listener, 1);
        m_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = std::thread([this] { Serve(); });
    }
    ~HeldDownload()
    {
        Release();
        closesocket(m_listener);
        m_thread.join();
        CloseHandle(m_release);
        WSACleanup();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/held.zip"; }
    void Release() { SetEvent(m_release); }

  private:
    void Serve()
    {
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        char request[4096];
        recv(client, request, sizeof(request), 0);
        std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: application/zip\r\nContent-Length: 200000\r\n\r\n" +
                             std::string(50000, 'P');
        send(client, answer.data(), (int)answer.size(), 0);
        WaitForSingleObject(m_release, 120000);
        closesocket(client);
    }

    SOCKET m_listener;
    int m_port = 0;
    HANDLE m_release;
    std::thread m_thread;
};

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
        for (const wchar_t* name : {L"full.zip", L"updater.zip", L"badcrc.zip", L"slip.zip", L"twin.zip"})
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

    // The client's one start by the updater, once the updater has ended.
    static std::string RestartLine(const UpdaterWindows& windows, HANDLE updater, const ScratchFolder& client)
    {
        EXPECT_TRUE(windows.Ended(30000));
        CloseHandle(updater);
        if (!WaitForFile(client / L"Yeb.exe.cmdline", 15000))
            return "<no start>";
        std::vector<std::string> starts = ProbeLines(client / L"Yeb.exe");
        return starts.size() == 1 ? starts[0] : std::to_string(starts.size()) + " starts";
    }

    HANDLE StartUpdater(const ScratchFolder& client, const std::wstring& arguments = L"")
    {
        return StartProgram(client / L"AutoUpdate\\Yeb360Update.exe", arguments.empty() ? Arguments(client) : arguments,
                            {{L"YEB_MYMUSIC", g_music}});
    }

    void WriteManifest(const std::string& modules)
    {
        WriteText(m_music / L"yeb360\\temp\\AutoUpdate.xml", "<AutoUpdate>" + modules + "</AutoUpdate>");
    }

    // A module of the client's whose package adds readme.txt.
    std::string ClientModule(const std::string& verUnForce) const
    {
        return "<Module name='Client' text='Yeb' verModule='1.1.0.0' verUnForce='" + verUnForce + "'>"
               "<Packet verLow='1.0.0.0' url='" + Url("/update/full.zip") + "' hint='the new client'>"
               "<File name='readme.txt' oper='Add'/></Packet></Module>";
    }
    std::string UpdaterModule(const std::string& verUnForce) const
    {
        return "<Module name='Updater' text='U' verModule='1.2.0.0' verUnForce='" + verUnForce + "'>"
               "<Packet verLow='0.1' url='" + Url("/update/updater.zip") + "'>"
               "<File name='Yeb360Update.exe' dest='AutoUpdate\\' oper='Add'/></Packet></Module>";
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

    HANDLE updater = WaitForProgram(client / L"AutoUpdate\\Yeb360Update.exe", 20000);
    ASSERT_NE(nullptr, updater);
    UpdaterWindows windows(updater);
    HWND dialog = windows.WaitFor(kUpdateDialogCaption);
    ASSERT_NE(nullptr, dialog);
    RECT frame;
    GetWindowRect(dialog, &frame);
    EXPECT_EQ(391, frame.right - frame.left);
    EXPECT_EQ(356, frame.bottom - frame.top);
    // Forced modules leave nothing to choose: no check boxes, no "not now",
    // no "do not remind me", and a row cannot be unchecked.
    ASSERT_EQ(2, windows.Rows(dialog));
    EXPECT_EQ(L"Yeb 客户端", windows.RowText(dialog, 0, 0));
    EXPECT_EQ(L"Client", windows.RowText(dialog, 0, 1));
    EXPECT_EQ(L"升级程序", windows.RowText(dialog, 1, 0));
    EXPECT_EQ(0u, windows.ListExtendedStyle(dialog) & LVS_EX_CHECKBOXES);
    EXPECT_TRUE(UpdaterWindows::IsShown(dialog, ID_UPDATE));
    EXPECT_FALSE(UpdaterWindows::IsShown(dialog, ID_NOT_NOW));
    EXPECT_FALSE(UpdaterWindows::IsShown(dialog, ID_REMIND));
    EXPECT_FALSE(UpdaterWindows::IsShown(dialog, ID_REMIND_LABEL));
    windows.SetRowChecked(dialog, 0, false);
    EXPECT_TRUE(windows.RowChecked(dialog, 0));
    EXPECT_TRUE(UpdaterWindows::SavePicture(dialog, L"dialog-forced"));
    UpdaterWindows::Click(dialog, ID_UPDATE);

    // A program of the client's folder that the package names must be
    // closed: the install asks first.
    HWND question = windows.WaitFor(kUpdateMessageCaption, 60000);
    ASSERT_NE(nullptr, question);
    EXPECT_EQ(L"安装Yeb 客户端需要关闭此程序，请点击“确定”关闭此程序", UpdaterWindows::Text(question, 1136));
    EXPECT_EQ(L"开始安装：Yeb 客户端", UpdaterWindows::Text(dialog, ID_STATUS));
    EXPECT_TRUE(UpdaterWindows::IsShown(dialog, ID_PROGRESS));
    EXPECT_FALSE(UpdaterWindows::IsShown(dialog, ID_MODULES));
    EXPECT_TRUE(UpdaterWindows::SavePicture(dialog, L"dialog-installing"));
    UpdaterWindows::Click(question, IDOK);
    windows.WaitUntilGone(question);

    HWND end = windows.WaitFor(kUpdateMessageCaption, 60000);
    ASSERT_NE(nullptr, end);
    std::wstring log = UpdaterWindows::Text(dialog, ID_LOG);
    for (const wchar_t* line : {L"开始下载：Yeb 客户端\r", L"下载成功\r", L"添加：readme.txt成功\r", L"删除：Obsolete.txt成功\r",
                                L"注册：Probe.dll成功\r", L"安装成功：Yeb 客户端\r", L"安装成功：升级程序\r"})
        EXPECT_NE(std::wstring::npos, log.find(line)) << Utf8(line) << "\n" << Utf8(log);
    HWND progress = GetDlgItem(dialog, ID_PROGRESS);
    EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, FALSE, 0), SendMessageW(progress, PBM_GETPOS, 0, 0));
    EXPECT_EQ(kSuccess, windows.Answer(IDOK, 1000, L"message-success"));
    EXPECT_TRUE(windows.Ended(20000));
    CloseHandle(updater);

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
    const wchar_t* message; // what the updater says
    bool downloadFolderIsFile;
};

TEST_F(UpdateCycleTest, BrokenOrHostileUpdatesLeaveTheClientFolderAsItWas)
{
    const wchar_t* network = L"网络连接发生错误，请确认网络是否可用，并尝试重新升级！";
    const wchar_t* install = L"升级Yeb发生错误，请尝试重新升级！";
    std::vector<BrokenUpdate> cases = {
        {"cut-off download", "/update/cut/full.zip", "<File name='readme.txt' oper='Add'/>", "", kTransferError},
        {"package not found", "/update/none.zip", "<File name='readme.txt' oper='Add'/>", "", network},
        {"bad CRC", "/update/badcrc.zip",
         "<File name='Obsolete.txt' oper='Del'/><File name='payload.txt' oper='Add'/>", "", install},
        {"zip slip", "/update/slip.zip", "<File name='../evil.txt' oper='Add'/>", "", install},
        {"dest climbs out", "/update/full.zip",
         "<File name='Obsolete.txt' oper='Del'/><File name='readme.txt' dest='..\\' oper='Add'/>", "", install},
        {"digest differs", "/update/full.zip", "<File name='readme.txt' oper='Add'/>",
         "1111111111111111111111111111111111111111111111111111111111111111", install},
        {"two entries of one name", "/update/twin.zip",
         "<File name='Obsolete.txt' oper='Del'/><File name='readme.txt' oper='Add'/>", "", install},
        {"package name with a query", "/update/full.zip?x=1", "<File name='readme.txt' oper='Add'/>", "",
         kTransferError},
        {"empty url", "", "<File name='readme.txt' oper='Add'/>", "", kTransferError},
        {"download folder cannot be made", "/update/full.zip", "<File name='readme.txt' oper='Add'/>", "",
         L"创建文件发生错误，请尝试重新升级！", true},
    };
    for (const BrokenUpdate& c : cases)
    {
        ScratchFolder client(L"cycle-broken");
        MakeClient(client);
        if (c.downloadFolderIsFile)
            WriteText(client / L"AutoUpdate\\Download", "a file where the folder would be");
        std::string url = c.url.empty() ? "" : Url(c.url);
        WriteManifest("<Module name='Client' text='Yeb' verModule='1.1.0.0' verUnForce='1.1.0.0'>"
                      "<Packet verLow='1.0.0.0' url='" + url + "'" + (c.sha256.empty() ? "" : " sha256='" + c.sha256 + "'") +
                      ">" + c.files + "</Packet></Module>");
        auto before = Snapshot(client.Path(), L"AutoUpdate\\");
        HANDLE updater = StartUpdater(client);
        ASSERT_NE(nullptr, updater) << c.what;
        UpdaterWindows windows(updater);
        HWND dialog = windows.WaitFor(kUpdateDialogCaption);
        EXPECT_NE(nullptr, dialog) << c.what;
        UpdaterWindows::Click(dialog, ID_UPDATE);
        EXPECT_EQ(c.message, windows.Answer(IDOK, 60000)) << c.what;
        EXPECT_EQ("-l:logout-u:s:user@example.com?.?secret ", RestartLine(windows, updater, client)) << c.what;
        auto after = Snapshot(client.Path(), L"AutoUpdate\\");
        after.erase(L"Yeb.exe.cmdline");
        EXPECT_EQ(before, after) << c.what;
        EXPECT_FALSE(Exists(client.Path() + L"..\\evil.txt")) << c.what;
        EXPECT_FALSE(Exists(client.Path() + L"..\\readme.txt")) << c.what;
        if (c.url.find("/cut/") != std::string::npos)
        {
            EXPECT_FALSE(Exists(client / L"AutoUpdate\\Download\\full.zip")) << c.what; // never counts as a package
            EXPECT_FALSE(Exists(client / L"AutoUpdate\\Download\\full.zip.part")) << c.what;
        }
    }
}

TEST_F(UpdateCycleTest, OfferedModuleIsInstalledAndTheDeclinedVersionForgotten)
{
    ScratchFolder client(L"cycle-offered");
    MakeClient(client);
    WriteText(client / L"VersionInfo.ini",
              "[Client]\r\nVersion=1.0.0.0\r\n[Updater]\r\nVersion=1.0.0.0\r\nUnUpdateVersion=1.2.0.0\r\n");
    WriteManifest(UpdaterModule("0.5"));
    HANDLE updater = StartUpdater(client);
    ASSERT_NE(nullptr, updater);
    UpdaterWindows windows(updater);
    HWND dialog = windows.WaitFor(kUpdateDialogCaption);
    ASSERT_NE(nullptr, dialog);
    // An offered module: a check box to choose it, "not now" and "do not
    // remind me" (left clear).
    ASSERT_EQ(1, windows.Rows(dialog));
    EXPECT_TRUE(windows.RowChecked(dialog, 0));
    EXPECT_NE(0u, windows.ListExtendedStyle(dialog) & LVS_EX_CHECKBOXES);
    EXPECT_TRUE(UpdaterWindows::IsShown(dialog, ID_NOT_NOW));
    EXPECT_TRUE(UpdaterWindows::IsShown(dialog, ID_REMIND));
    EXPECT_EQ(L"同一版本升级下次不再提示", UpdaterWindows::Text(dialog, ID_REMIND_LABEL));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(GetDlgItem(dialog, ID_REMIND), BM_GETCHECK, 0, 0));
    UpdaterWindows::Click(dialog, ID_UPDATE);
    EXPECT_EQ(kSuccess, windows.Answer(IDOK, 60000));
    EXPECT_EQ("-u:s:user@example.com?.?secret ", RestartLine(windows, updater, client));
    std::string ini = ReadText(client / L"VersionInfo.ini");
    // The "do not remind me" box was left clear: the declined version is forgotten.
    EXPECT_EQ("<none>", IniValue(ini, "Updater", "UnUpdateVersion")) << ini;
    EXPECT_EQ("1", IniValue(ini, "Updater", "NeedUpdate")) << ini;
    EXPECT_EQ(KeyOf(L"Updater", L"1.0.0.0"), IniValue(ini, "Updater", "Key")) << ini;
    EXPECT_EQ(KeyOf(L"Client", L"1.0.0.0"), IniValue(ini, "Client", "Key")) << ini;
}

TEST_F(UpdateCycleTest, UncheckedOfferedModuleIsSkippedAndTheRestInstalled)
{
    ScratchFolder client(L"cycle-choice");
    MakeClient(client);
    WriteManifest(ClientModule("0.5") + UpdaterModule("0.5"));
    HANDLE updater = StartUpdater(client);
    ASSERT_NE(nullptr, updater);
    UpdaterWindows windows(updater);
    HWND dialog = windows.WaitFor(kUpdateDialogCaption);
    ASSERT_NE(nullptr, dialog);
    ASSERT_EQ(2, windows.Rows(dialog));
    EXPECT_EQ(L"Client", windows.RowText(dialog, 0, 1));
    EXPECT_EQ(L"Updater", windows.RowText(dialog, 1, 1));

    // Nothing chosen: the user is told and the list stays.
    ASSERT_TRUE(windows.SetRowChecked(dialog, 0, false));
    ASSERT_TRUE(windows.SetRowChecked(dialog, 1, false));
    UpdaterWindows::Click(dialog, ID_UPDATE);
    EXPECT_EQ(L"请选择要升级的组件", windows.Answer(IDOK));
    EXPECT_TRUE(UpdaterWindows::IsShown(dialog, ID_MODULES));
    EXPECT_TRUE(UpdaterWindows::IsShown(dialog, ID_UPDATE));

    ASSERT_TRUE(windows.SetRowChecked(dialog, 0, true));
    EXPECT_TRUE(UpdaterWindows::SavePicture(dialog, L"dialog-choice"));
    UpdaterWindows::Click(dialog, ID_UPDATE);
    // The module left out is simply not installed: the update succeeds.
    EXPECT_EQ(kSuccess, windows.Answer(IDOK, 60000));
    EXPECT_EQ("-u:s:user@example.com?.?secret ", RestartLine(windows, updater, client));
    EXPECT_EQ("readme of version 1.1\r\n", ReadText(client / L"readme.txt"));
    EXPECT_FALSE(Exists(client / L"AutoUpdate\\Download\\updater.zip"));
    EXPECT_FALSE(Exists(client / L"AutoUpdate\\Download\\updaterTemp\\Yeb360Update.exe"));
    std::string ini = ReadText(client / L"VersionInfo.ini");
    EXPECT_EQ("1.1.0.0", IniValue(ini, "Client", "Version")) << ini;
    EXPECT_EQ("1.0.0.0", IniValue(ini, "Updater", "Version")) << ini;
    EXPECT_EQ("<none>", IniValue(ini, "Updater", "NeedUpdate")) << ini;
}

TEST_F(UpdateCycleTest, CancelIsAskedAndKeepsTheRemindChoice)
{
    ScratchFolder client(L"cycle-cancel");
    MakeClient(client);
    WriteManifest(ClientModule("0.5") + UpdaterModule("0.5"));
    HANDLE updater = StartUpdater(client);
    ASSERT_NE(nullptr, updater);
    UpdaterWindows windows(updater);
    HWND dialog = windows.WaitFor(kUpdateDialogCaption);
    ASSERT_NE(nullptr, dialog);
    // The system menu's extra item opens the about box.
    PostMessageW(dialog, WM_SYSCOMMAND, 16, 0);
    HWND about = windows.WaitFor(L"关于 Yeb360Update", 10000);
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(L"Yeb360Update 1.1 版", UpdaterWindows::Text(about, 1031));
    EXPECT_TRUE(UpdaterWindows::SavePicture(about, L"about"));
    UpdaterWindows::Click(about, IDOK);
    EXPECT_TRUE(windows.WaitUntilGone(about));

    const wchar_t* question = L"您确定要取消升级吗？";
    UpdaterWindows::Click(dialog, ID_CLOSE);
    EXPECT_EQ(question, windows.Answer(IDCANCEL));
    EXPECT_FALSE(windows.Ended(500));
    SendMessageW(GetDlgItem(dialog, ID_REMIND), BM_SETCHECK, BST_CHECKED, 0);
    UpdaterWindows::Click(dialog, ID_NOT_NOW);
    EXPECT_EQ(question, windows.Answer(IDOK, 30000, L"message-cancel"));
    EXPECT_EQ("-l:logout-u:s:user@example.com?.?secret ", RestartLine(windows, updater, client));
    std::string ini = ReadText(client / L"VersionInfo.ini");
    EXPECT_EQ("1.1.0.0", IniValue(ini, "Client", "UnUpdateVersion")) << ini;
    EXPECT_EQ("1.2.0.0", IniValue(ini, "Updater", "UnUpdateVersion")) << ini;
    EXPECT_EQ("1.0.0.0", IniValue(ini, "Client", "Version")) << ini;
    EXPECT_FALSE(Exists(client / L"readme.txt"));
}

TEST_F(UpdateCycleTest, DownloadShowsItsProgressAndCannotBeCancelled)
{
    ScratchFolder client(L"cycle-held");
    MakeClient(client);
    HeldDownload held;
    WriteManifest("<Module name='Client' text='Yeb' verModule='1.1.0.0' verUnForce='0.5'>"
                  "<Packet verLow='1.0.0.0' url='" + held.Url() + "' hint='a\\r\\nhint'>"
                  "<File name='readme.txt' oper='Add'/></Packet></Module>");
    HANDLE updater = StartUpdater(client);
    ASSERT_NE(nullptr, updater);
    UpdaterWindows windows(updater);
    HWND dialog = windows.WaitFor(kUpdateDialogCaption);
    ASSERT_NE(nullptr, dialog);
    UpdaterWindows::Click(dialog, ID_UPDATE);
    HWND progress = GetDlgItem(dialog, ID_PROGRESS);
    DWORD start = GetTickCount();
    while (SendMessageW(progress, PBM_GETPOS, 0, 0) == 0 && GetTickCount() - start < 20000)
        Sleep(100);
    EXPECT_GT(SendMessageW(progress, PBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(200000, SendMessageW(progress, PBM_GETRANGE, FALSE, 0));
    EXPECT_EQ(L"开始下载：Yeb", UpdaterWindows::Text(dialog, ID_STATUS));
    EXPECT_FALSE(UpdaterWindows::IsShown(dialog, ID_NOT_NOW));
    EXPECT_FALSE(UpdaterWindows::IsShown(dialog, ID_MODULES));
    EXPECT_TRUE(UpdaterWindows::SavePicture(dialog, L"dialog-downloading"));

    // The close button, Esc and Enter do nothing while the package comes.
    UpdaterWindows::Click(dialog, ID_CLOSE);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, windows.WaitFor(kUpdateMessageCaption, 1500));
    EXPECT_TRUE(IsWindowVisible(dialog));

    // The connection ends before the announced length.
    held.Release();
    EXPECT_EQ(kTransferError, windows.Answer(IDOK, 30000, L"message-download-error"));
    EXPECT_EQ("-l:logout-u:s:user@example.com?.?secret ", RestartLine(windows, updater, client));
    EXPECT_FALSE(Exists(client / L"AutoUpdate\\Download\\held.zip"));
}

TEST_F(UpdateCycleTest, WrongCommandLineSecondInstanceOrNothingToDoAreToldAndStartNoClient)
{
    ScratchFolder client(L"cycle-idle");
    MakeClient(client);
    auto run = [&](const std::wstring& arguments, const wchar_t* message, const wchar_t* picture) {
        HANDLE updater = StartUpdater(client, arguments);
        ASSERT_NE(nullptr, updater);
        UpdaterWindows windows(updater);
        EXPECT_EQ(message, windows.Answer(IDOK, 30000, picture));
        EXPECT_TRUE(windows.Ended(30000));
        CloseHandle(updater);
    };
    WriteManifest("");
    run(client / L"Yeb.exe" + L"?.?only-one-separator", L"Parameters aren't correct!", L"message-parameters");
    run(Arguments(client), L"All modules are the latest.", nullptr);
    // Another updater runs: this one ends at once, with an update waiting.
    WriteManifest("<Module name='Client' verModule='1.1' verUnForce='1.1'><Packet verLow='0.1' url='" +
                  Url("/update/none.zip") + "'/></Module>");
    HANDLE other = CreateMutexW(nullptr, FALSE, L"!_Mutex_Yeb360Update");
    run(Arguments(client), L"This is singlton  program", L"message-second-instance");
    CloseHandle(other);
    Sleep(500);
    EXPECT_FALSE(Exists(client / L"Yeb.exe.cmdline"));
    std::string ini = ReadText(client / L"VersionInfo.ini");
    EXPECT_EQ("<none>", IniValue(ini, "Client", "Key")) << ini; // nothing written
}

} // namespace
