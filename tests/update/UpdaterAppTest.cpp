// The updater's command line, client folder, restart arguments, process
// search and the Keys of VersionInfo.ini.
#include "ProcessSearch.h"
#include "UpdateApp.h"
#include "UpdateMessage.h"
#include "UpdateTestUtil.h"
#include "VersionInfoFile.h"

#include <gtest/gtest.h>

using namespace updatetest;

namespace
{

std::vector<std::wstring> g_messages;

int RecordMessage(LPCWSTR text, int, void*)
{
    g_messages.push_back(text);
    return IDOK;
}

TEST(UpdaterCommandLine, SplitsAtTheFirstTwoSeparators)
{
    struct Case
    {
        const wchar_t* line;
        int result;
        const wchar_t* exe;
        const wchar_t* user;
        const wchar_t* credential;
    } cases[] = {
        {L"C:\\Program Files\\Yeb\\Yeb.exe?.?me@x.cn?.?pass word", 1, L"C:\\Program Files\\Yeb\\Yeb.exe", L"me@x.cn",
         L"pass word"},
        {L"C:\\Y\\Yeb.exe?.?me?.?a?.?b", 1, L"C:\\Y\\Yeb.exe", L"me", L"a?.?b"},
        {L"C:\\Y\\Yeb.exe?.?me?.?", 1, L"C:\\Y\\Yeb.exe", L"me", L""},
        {L"?.??.?", 1, L"", L"", L""},
        {L"C:\\Y\\Yeb.exe?.?me", 0, L"", L"", L""},
        {L"", 0, L"", L"", L""},
    };
    SetUpdateMessageHandler(RecordMessage, nullptr);
    for (const Case& c : cases)
    {
        g_messages.clear();
        CUpdateApp app;
        EXPECT_EQ(c.result, app.ParseCommandLine(c.line)) << Utf8(c.line);
        EXPECT_STREQ(c.exe, app.GetClientExePath());
        EXPECT_STREQ(c.user, app.GetUserName());
        EXPECT_STREQ(c.credential, app.GetCredential());
        if (c.result)
            EXPECT_TRUE(g_messages.empty());
        else
        {
            ASSERT_EQ(1u, g_messages.size());
            EXPECT_EQ(L"Parameters aren't correct!", g_messages[0]);
        }
    }
    SetUpdateMessageHandler(nullptr, nullptr);
}

TEST(UpdaterCommandLine, ClientFolderAndRestartArguments)
{
    EXPECT_STREQ(L"C:\\P\\", CUpdateApp::ClientDirOf(L"C:\\P\\AutoUpdate\\x.exe"));
    EXPECT_STREQ(L"", CUpdateApp::ClientDirOf(L"x.exe"));
    CUpdateApp app;
    EXPECT_EQ(BinFolder().substr(0, BinFolder().size() - 4), std::wstring(app.GetClientDir())); // parent of bin
    ASSERT_EQ(1, app.ParseCommandLine(L"C:\\Y\\Yeb.exe?.?me@x.cn?.?se cret?.?"));
    EXPECT_STREQ(L"-u:s:me@x.cn?.?se cret?.? ", app.BuildRestartArguments(FALSE));
    EXPECT_STREQ(L"-l:logout-u:s:me@x.cn?.?se cret?.? ", app.BuildRestartArguments(TRUE));
}

TEST(UpdaterProcessSearch, FindsProgramsByNameInAnyCaseAndByFolder)
{
    ScratchFolder folder(L"process");
    std::wstring program = folder / L"CaseProbe.exe";
    ASSERT_TRUE(CopyInto(BinFolder() + L"UpdateProbe.exe", program));
    EXPECT_EQ((DWORD)-1, FindProcessByExeName(L"CaseProbe"));
    HANDLE process = StartProgram(program, L"--wait");
    ASSERT_NE(nullptr, process);
    DWORD id = GetProcessId(process);
    DWORD found = (DWORD)-1;
    for (int i = 0; i < 50 && found == (DWORD)-1; ++i, Sleep(100))
        found = FindProcessByExeName(L"CASEPROBE");
    EXPECT_EQ(id, found);
    EXPECT_EQ(id, FindProcessByExeName(L"caseprobe"));
    EXPECT_EQ(id, FindProcessInFolder(L"CaseProbe", folder.Path().c_str()));
    EXPECT_EQ((DWORD)-1, FindProcessInFolder(L"CaseProbe", BinFolder().c_str()));
    EXPECT_EQ(id, FindProcessByPath(program.c_str()));
    EXPECT_EQ((DWORD)-1, FindProcessByPath((BinFolder() + L"CaseProbe.exe").c_str()));
    EXPECT_EQ((DWORD)-1, FindProcessByExeName(L"CaseProb"));
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

TEST(UpdaterVersionKey, MatchesTheBuildsVersionInfoAndEveryCharacterCounts)
{
    // The build writes its VersionInfo.ini with an independent implementation.
    std::string ini = ReadText(BinFolder() + L"VersionInfo.ini");
    size_t client = ini.find("[Client]");
    ASSERT_NE(std::string::npos, client) << ini;
    size_t version = ini.find("Version=", client) + 8;
    size_t key = ini.find("Key=", client) + 4;
    std::wstring versionText = Wide(ini.substr(version, ini.find_first_of("\r\n", version) - version));
    std::string keyText = ini.substr(key, ini.find_first_of("\r\n", key) - key);
    EXPECT_EQ(keyText, Utf8(std::wstring(CVersionInfoFile::ComputeKey(L"Client", versionText.c_str()))));
    EXPECT_EQ(32, CVersionInfoFile::ComputeKey(L"Client", L"1.0.0.1").GetLength());
    EXPECT_STRNE(CVersionInfoFile::ComputeKey(L"Client", L"1.0.0.1"), CVersionInfoFile::ComputeKey(L"Client", L"1.0.0.2"));
    EXPECT_STRNE(CVersionInfoFile::ComputeKey(L"Client", L"1.0.0.1"), CVersionInfoFile::ComputeKey(L"Updater", L"1.0.0.1"));
}

} // namespace
