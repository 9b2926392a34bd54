// The package install: the order of its steps, each operation list, the
// updater's own package, closing programs, and packages or manifests that
// must leave the client's folder as it was.
#include "Sha256.h"
#include "UpdateFiles.h"
#include "UpdateInstaller.h"
#include "UpdateMessage.h"
#include "UpdateTestUtil.h"
#include "ZipPackage.h"

#include <gtest/gtest.h>

using namespace updatetest;

namespace
{

class RecordingOwner : public UpdateInstallOwner
{
  public:
    void ShowInstallLog(LPCWSTR text, BOOL endLine) override
    {
        m_pending += text;
        if (endLine)
        {
            lines.push_back(m_pending);
            m_pending.clear();
        }
    }
    void SetInstallProgressRange(int upper) override { range = upper; }
    void SetInstallProgress(int position) override { progress = position; }
    void StepInstallProgress() override { ++progress; }
    int AskUser(LPCWSTR text, int style) override { return ShowUpdateMessage(text, style, nullptr); }

    std::vector<std::wstring> lines;
    int range = -1;
    int progress = -1;

  private:
    std::wstring m_pending;
};

std::vector<std::wstring> g_questions;
int g_answer = IDOK;

int Answer(LPCWSTR text, int, void*)
{
    g_questions.push_back(text);
    return g_answer;
}

void AddFile(UpdateModule& module, const wchar_t* oper, const wchar_t* name, const wchar_t* dest = L"")
{
    UpdateFile file;
    file.name = name;
    file.dest = dest;
    module.files[oper].push_back(file);
    ++module.fileCount;
}

bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& line)
{
    for (const std::wstring& l : lines)
        if (l == line)
            return true;
    return false;
}

class InstallerTest : public ::testing::Test
{
  protected:
    InstallerTest() : m_client(L"install-client")
    {
        m_module.name = L"Client";
        m_module.text = L"客户端";
        m_installer.SetOwner(&m_owner);
        m_installer.SetClientDir(m_client.Path().c_str());
        m_installer.SetModule(&m_module);
        g_questions.clear();
        g_answer = IDOK;
        SetUpdateMessageHandler(Answer, nullptr);
    }
    ~InstallerTest() override { SetUpdateMessageHandler(nullptr, nullptr); }

    ScratchFolder m_client;
    UpdateModule m_module;
    RecordingOwner m_owner;
    CUpdateInstaller m_installer;
};

TEST_F(InstallerTest, FullPackageRunsEveryStepInOrder)
{
    WriteText(m_client / L"Replaced.txt", "old content");
    SetFileAttributesW((m_client / L"Replaced.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteText(m_client / L"Obsolete.txt", "obsolete");
    CopyInto(BinFolder() + L"UpdateProbeDll.dll", m_client / L"OldProbe.dll");
    AddFile(m_module, L"UnReg", L"OldProbe.dll");
    AddFile(m_module, L"Del", L"Obsolete.txt");
    AddFile(m_module, L"Add", L"readme.txt");
    AddFile(m_module, L"Add", L"config.ini", L"data\\");
    AddFile(m_module, L"Add", L"Replaced.txt");
    AddFile(m_module, L"Reg", L"Probe.dll");
    AddFile(m_module, L"Run", L"RunProbe.exe");
    wchar_t digest[65];
    ASSERT_TRUE(ComputeFileSha256(Package(L"full.zip").c_str(), digest));
    m_module.sha256 = digest;
    CharUpperW(digest); // the digest's letter case does not matter
    m_module.sha256 = digest;

    ASSERT_EQ(1, m_installer.InstallPackage(Package(L"full.zip").c_str()));
    EXPECT_EQ(1, m_module.installed);
    EXPECT_EQ("readme of version 1.1\r\n", ReadText(m_client / L"readme.txt"));
    EXPECT_EQ("[Settings]\r\nLevel=2\r\n", ReadText(m_client / L"data\\config.ini"));
    EXPECT_EQ("replaced by version 1.1\r\n", ReadText(m_client / L"Replaced.txt"));
    EXPECT_FALSE(Exists(m_client / L"Obsolete.txt"));
    EXPECT_FALSE(Exists(m_client / L"OldProbe.dll"));
    EXPECT_EQ("unregister\n", ReadText(m_client / L"OldProbe.dll.calls"));
    EXPECT_EQ("register\n", ReadText(m_client / L"Probe.dll.calls"));
    EXPECT_FALSE(Exists(m_client / L"RunProbe.exe")); // run, then removed
    EXPECT_TRUE(Exists(m_client / L"RunProbe.exe.cmdline"));
    EXPECT_EQ(7, m_owner.range);
    EXPECT_EQ(7, m_owner.progress);
    std::vector<std::wstring> expected = {L"注销：OldProbe.dll成功", L"删除：Obsolete.txt成功", L"添加：readme.txt成功",
                                          L"添加：config.ini成功",  L"添加：Replaced.txt成功",  L"注册：Probe.dll成功",
                                          L"运行：RunProbe.exe成功"};
    EXPECT_EQ(expected, m_owner.lines);
    EXPECT_TRUE(g_questions.empty());
}

TEST_F(InstallerTest, UnregisterAndDeleteFailuresSkipTheirListOnly)
{
    CopyInto(BinFolder() + L"UpdateProbeDll.dll", m_client / L"Present.dll");
    CopyInto(BinFolder() + L"UpdateProbeDll.dll", m_client / L"Probe_sfalse.dll");
    AddFile(m_module, L"UnReg", L"Missing.dll");
    AddFile(m_module, L"UnReg", L"Present.dll");
    AddFile(m_module, L"Del", L"Probe_sfalse.dll"); // deleted: the list has no unregistering
    AddFile(m_module, L"Add", L"readme.txt");
    ASSERT_EQ(1, m_installer.InstallPackage(Package(L"full.zip").c_str()));
    EXPECT_TRUE(HasLine(m_owner.lines, L"注销：Missing.dll失败"));
    EXPECT_FALSE(HasLine(m_owner.lines, L"注销：Present.dll成功"));
    EXPECT_TRUE(Exists(m_client / L"Present.dll"));
    EXPECT_FALSE(Exists(m_client / L"Present.dll.calls"));
    EXPECT_EQ(4, m_owner.progress); // the file count at the end

    CopyInto(BinFolder() + L"UpdateProbeDll.dll", m_client / L"Probe_sfalse.dll");
    EXPECT_EQ(0, UnregisterServerDll((m_client / L"Probe_sfalse.dll").c_str()));
    EXPECT_EQ(1, UnregisterServerDll((m_client / L"Present.dll").c_str()));
    EXPECT_EQ(1, RegisterServerDll((m_client / L"None.dll").c_str()));
    EXPECT_EQ(0, UnregisterServerDll((m_client / L"None.dll").c_str()));
    EXPECT_EQ(0, RegisterServerDll((BinFolder() + L"UpdateProbe.exe").c_str())); // no such export
}

TEST_F(InstallerTest, UpdaterPackageOnlyUnpacksIntoTheSideFolder)
{
    m_module.name = L"Updater";
    WriteText(m_client / L"AutoUpdate\\Yeb360Update.exe", "running updater");
    WriteText(m_client / L"keep.txt", "keep");
    AddFile(m_module, L"Add", L"Yeb360Update.exe", L"AutoUpdate\\");
    AddFile(m_module, L"Del", L"keep.txt");
    AddFile(m_module, L"Run", L"Yeb360Update.exe", L"AutoUpdate\\");
    ASSERT_EQ(1, m_installer.InstallPackage(Package(L"updater.zip").c_str()));
    EXPECT_EQ("running updater", ReadText(m_client / L"AutoUpdate\\Yeb360Update.exe"));
    EXPECT_EQ("the new updater program\r\n",
              ReadText(m_client / L"AutoUpdate\\Download\\updaterTemp\\Yeb360Update.exe"));
    EXPECT_EQ("keep", ReadText(m_client / L"keep.txt"));
    EXPECT_TRUE(HasLine(m_owner.lines, L"删除：keep.txt成功"));
    EXPECT_TRUE(HasLine(m_owner.lines, L"运行：Yeb360Update.exe成功"));
    EXPECT_EQ(3, m_owner.progress);
}

TEST_F(InstallerTest, ProgramsOfTheClientFolderAreClosedFirst)
{
    ScratchFolder elsewhere(L"install-elsewhere");
    std::wstring inside = m_client / L"Closeme.exe", outside = elsewhere / L"Closeme.exe";
    CopyInto(BinFolder() + L"UpdateProbe.exe", inside);
    CopyInto(BinFolder() + L"UpdateProbe.exe", outside);
    HANDLE a = StartProgram(inside, L"--wait"), b = StartProgram(outside, L"--wait");
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(WaitForFile(inside + L".cmdline", 10000));
    ASSERT_TRUE(WaitForFile(outside + L".cmdline", 10000));
    m_module.closeNames.push_back(L"CLOSEME");
    AddFile(m_module, L"Add", L"readme.txt");

    // Without an owner nobody can be asked.
    CUpdateInstaller silent;
    silent.SetClientDir(m_client.Path().c_str());
    silent.SetModule(&m_module);
    EXPECT_EQ(0, silent.InstallPackage(Package(L"full.zip").c_str()));
    EXPECT_FALSE(Exists(m_client / L"readme.txt"));

    // Cancel asks again; OK closes the program.
    int asked = 0;
    SetUpdateMessageHandler(
        [](LPCWSTR text, int style, void* context) {
            g_questions.push_back(text);
            EXPECT_EQ(UPDATE_MESSAGE_OK_CANCEL, style);
            return ++*(int*)context == 1 ? IDCANCEL : IDOK;
        },
        &asked);
    EXPECT_EQ(1, m_installer.InstallPackage(Package(L"full.zip").c_str()));
    EXPECT_EQ(2, asked);
    ASSERT_FALSE(g_questions.empty());
    EXPECT_EQ(L"安装客户端需要关闭此程序，请点击“确定”关闭此程序", g_questions[0]);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(a, 5000));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(b, 0)); // another folder's program of that name runs on
    TerminateProcess(b, 0);
    CloseHandle(a);
    CloseHandle(b);
}

TEST_F(InstallerTest, ProgramThatDoesNotEndFailsTheInstall)
{
    AddFile(m_module, L"Run", L"WaitProbe.exe");
    m_installer.SetRunTimeout(1500);
    EXPECT_EQ(0, m_installer.InstallPackage(Package(L"wait.zip").c_str()));
    EXPECT_TRUE(HasLine(m_owner.lines, L"运行：WaitProbe.exe失败"));
    EXPECT_EQ(0, m_module.installed);
    KillProgram(m_client / L"WaitProbe.exe");
}

struct HostileCase
{
    const char* what;
    const wchar_t* package; // in the packages folder, or a name made by the test
    std::vector<std::vector<const wchar_t*>> files; // oper, name, dest
    const wchar_t* sha256;
};

TEST_F(InstallerTest, HostileOrDamagedPackagesChangeNothing)
{
    ScratchFolder outside(L"install-outside");
    std::wstring up = L"..\\" + outside.Path().substr(outside.Path().rfind(L'\\', outside.Path().size() - 2) + 1);
    WriteText(outside / L"victim.txt", "outside");
    WriteText(m_client / L"not-a-zip.zip", "PK but not an archive at all");
    WriteText(m_client / L"Replaced.txt", "old content");
    WriteText(m_client / L"Obsolete.txt", "obsolete");
    std::wstring notZip = m_client / L"not-a-zip.zip";
    std::vector<HostileCase> cases = {
        {"package missing", L"absent.zip", {{L"Add", L"readme.txt", L""}}, nullptr},
        {"not an archive", notZip.c_str(), {{L"Add", L"readme.txt", L""}}, nullptr},
        {"digest differs", L"full.zip", {{L"Add", L"readme.txt", L""}},
         L"0000000000000000000000000000000000000000000000000000000000000000"},
        {"entry missing after good ones", L"full.zip",
         {{L"Del", L"Obsolete.txt", L""}, {L"Add", L"Replaced.txt", L""}, {L"Add", L"absent.txt", L""}}, nullptr},
        {"bad CRC", L"badcrc.zip", {{L"Del", L"Obsolete.txt", L""}, {L"Add", L"payload.txt", L""}}, nullptr},
        {"zip slip entry named", L"slip.zip", {{L"Add", L"../evil.txt", L""}}, nullptr},
        {"zip slip entry under a plain name", L"slip.zip", {{L"Add", L"evil.txt", L""}}, nullptr},
        {"dest climbs out", L"full.zip", {{L"Add", L"readme.txt", up.c_str()}}, nullptr},
        {"delete outside", L"full.zip", {{L"Add", L"readme.txt", L""}, {L"Del", L"victim.txt", up.c_str()}}, nullptr},
        {"absolute dest", L"full.zip", {{L"Add", L"readme.txt", outside.Path().c_str()}}, nullptr},
        {"alternate data stream", L"full.zip", {{L"Add", L"Replaced.txt:evil", L""}}, nullptr},
        {"drive in name", L"full.zip", {{L"Run", L"C:RunProbe.exe", L""}}, nullptr},
        // Other zip readers would show the last of two entries of one name.
        {"two entries of one name in two letter cases", L"twin.zip", {{L"Add", L"readme.txt", L""}}, nullptr},
        {"two entries of one name", L"twin-exact.zip",
         {{L"Del", L"Obsolete.txt", L""}, {L"Add", L"readme.txt", L""}}, nullptr},
        {"two entries of one path with either separator", L"twin-slash.zip", {{L"Add", L"config.ini", L"data\\"}},
         nullptr},
    };
    auto before = Snapshot(m_client.Path());
    for (const HostileCase& c : cases)
    {
        UpdateModule module;
        module.name = L"Client";
        module.text = L"客户端";
        for (auto& f : c.files)
            AddFile(module, f[0], f[1], f[2]);
        if (c.sha256)
            module.sha256 = c.sha256;
        m_installer.SetModule(&module);
        std::wstring package = wcschr(c.package, L'\\') ? c.package : Package(c.package);
        EXPECT_EQ(0, m_installer.InstallPackage(package.c_str())) << c.what;
        EXPECT_EQ(0, module.installed) << c.what;
        EXPECT_EQ(before, Snapshot(m_client.Path())) << c.what;
        EXPECT_EQ("outside", ReadText(outside / L"victim.txt")) << c.what;
        EXPECT_FALSE(Exists(outside / L"readme.txt")) << c.what;
    }
    EXPECT_FALSE(Exists(m_client.Path() + L"..\\evil.txt"));
    EXPECT_FALSE(Exists(m_client.Path() + L"..\\evil2.txt"));
}

} // namespace

namespace
{

TEST(ZipPackage, EntriesAreFoundByNameAndCheckedWhole)
{
    CZipPackage package;
    EXPECT_FALSE(package.Open(Package(L"absent.zip").c_str()));
    ASSERT_TRUE(package.Open(Package(L"full.zip").c_str()));
    std::vector<BYTE> bytes;
    ASSERT_TRUE(package.ReadEntry(L"README.TXT", bytes)); // letter case ignored
    EXPECT_EQ("readme of version 1.1\r\n", std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(package.ReadEntry(L"readme.txt", bytes, 10)); // above the cap
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(package.ReadEntry(L"absent.txt", bytes));
    EXPECT_FALSE(package.ReadEntry(L"", bytes));

    CZipPackage damaged;
    ASSERT_TRUE(damaged.Open(Package(L"badcrc.zip").c_str()));
    EXPECT_FALSE(damaged.ReadEntry(L"payload.txt", bytes));
    EXPECT_TRUE(bytes.empty());

    for (const wchar_t* twin : {L"twin.zip", L"twin-exact.zip", L"twin-slash.zip"})
    {
        CZipPackage twins;
        EXPECT_FALSE(twins.Open(Package(twin).c_str())) << Utf8(twin);
        EXPECT_FALSE(twins.IsOpen());
    }

    CZipPackage slip;
    ASSERT_TRUE(slip.Open(Package(L"slip.zip").c_str()));
    EXPECT_FALSE(slip.ReadEntry(L"evil.txt", bytes));
    EXPECT_TRUE(slip.ReadEntry(L"..\\evil.txt", bytes)); // found, but no target may be made of this name
    CString target;
    CUpdateInstaller installer;
    installer.SetClientDir(L"C:\\Yeb\\");
    UpdateFile file;
    file.name = L"..\\evil.txt";
    EXPECT_FALSE(installer.TargetOf(file, target));
}

} // namespace
