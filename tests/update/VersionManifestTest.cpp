// Version numbers, the manifest as the client reads it, VersionInfo.ini as
// the client reads and writes it, the package digest and the path rules.
#include "Sha256.h"
#include "UpdateList.h"
#include "UpdatePath.h"
#include "UpdateTestUtil.h"
#include "VersionNumber.h"
#include "Xml.h"

#include <gtest/gtest.h>
#include <memory>

using namespace updatetest;

TEST(VersionNumber, ComparesFourPartsFromTheLeft)
{
    struct Case
    {
        const wchar_t* a;
        const wchar_t* b;
        int expected;
    } cases[] = {
        {L"1.2", L"1.2.0.0", 0},          {L"1.10.0.0", L"1.9.9.9", 1}, {L"-1.0.0.0", L"0.0.0.0", -1},
        {L"", L"0.0.0.0", 0},             {L"abc", L"0", 0},            {L"2", L"10", -1},
        {L"1.0.0.2", L"1.0.0.10", -1},    {L"3.0.0.0", L"2.99.99.99", 1}, {L"1.0.x.5", L"1.0.0.0", 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.expected, CompareVersion(c.a, c.b)) << Utf8(c.a) << " vs " << Utf8(c.b);
        EXPECT_EQ(-c.expected, CompareVersion(c.b, c.a)) << Utf8(c.b) << " vs " << Utf8(c.a);
    }
}

struct PacketCase
{
    const char* what;
    const wchar_t* installed; // null: no VersionInfo record
    const wchar_t* module;    // the Module element
    int state;
    const wchar_t* verLow;
    const wchar_t* url;
    int files;
};

static std::unique_ptr<CXmlElement> Manifest(const wchar_t* modules)
{
    return std::unique_ptr<CXmlElement>(XmlParseString((std::wstring(L"<AutoUpdate>") + modules + L"</AutoUpdate>").c_str()));
}

static void RunPacketCases(PacketChoice choice, const std::vector<PacketCase>& cases)
{
    for (const PacketCase& c : cases)
    {
        CUpdateManifest manifest(choice);
        if (c.installed)
        {
            ClientVersionInfo record;
            record.name = L"M";
            record.version = c.installed;
            manifest.m_records[L"M"] = record;
        }
        auto root = Manifest(c.module);
        ASSERT_TRUE(root) << c.what;
        ASSERT_TRUE(manifest.Parse(root.get())) << c.what;
        UpdateModule* module = manifest.FindModule(L"M");
        ASSERT_NE(nullptr, module) << c.what;
        EXPECT_EQ(c.state, module->state) << c.what;
        EXPECT_STREQ(c.verLow, module->verLow) << c.what;
        EXPECT_STREQ(c.url, module->url) << c.what;
        EXPECT_EQ(c.files, module->fileCount) << c.what;
        ASSERT_NE(nullptr, manifest.FindRecord(L"M")) << c.what;
        if (!c.installed)
        {
            EXPECT_STREQ(L"-1.0.0.0", manifest.FindRecord(L"M")->version) << c.what;
        }
    }
}

TEST(ClientManifest, ChoosesPacketsAndStatesAsTheClientDoes)
{
    RunPacketCases(PACKET_CHOICE_CLIENT, {
        {"missing module is forced even with an empty verUnForce", nullptr,
         L"<Module name='M' verModule='1.0.0.0'><Packet verLow='0.1' url='http://h/a/m.zip'><File name='a' oper='Add'/></Packet></Module>",
         2, L"-1.0.0.0", L"http://h/a/m.zip", 1},
        {"optional", L"2.0.0.0",
         L"<Module name='M' verModule='2.1.0.0' verUnForce='1.5.0.0'><Packet verLow='1.0' url='u1'/></Module>", 1,
         L"1.0", L"u1", 0},
        {"forced", L"2.0.0.0",
         L"<Module name='M' verModule='2.1.0.0' verUnForce='2.0.0.1'><Packet verLow='1.0' url='u1'/></Module>", 2,
         L"1.0", L"u1", 0},
        {"up to date", L"2.0.0.0",
         L"<Module name='M' verModule='2.0.0.0' verUnForce='1.0'><Packet verLow='1.0' url='u1'/></Module>", 0,
         L"1.0", L"u1", 0},
        {"a packet above the installed version is taken without choosing it", L"2.0.0.0",
         L"<Module name='M' verModule='3.0.0.0'><Packet verLow='3.0.0.0' url='u3'><File name='x' oper='Add'/></Packet></Module>",
         1, L"-1.0.0.0", L"u3", 1},
        {"two packets below the installed version, in order", L"2.5.0.0",
         L"<Module name='M' verModule='3.0'><Packet verLow='1.0.0.0' url='u1'><File name='a' oper='Add'/></Packet>"
         L"<Packet verLow='2.0.0.0' url='u2'><File name='b' oper='Del'/></Packet></Module>",
         1, L"2.0.0.0", L"u2", 2},
        {"a packet below the chosen one is skipped", L"2.5.0.0",
         L"<Module name='M' verModule='3.0'><Packet verLow='2.0' url='u2'/><Packet verLow='1.0' url='u1'><File name='a' oper='Add'/></Packet></Module>",
         1, L"2.0", L"u2", 0},
        {"packets without verLow and foreign children are ignored", L"1.0",
         L"<Module name='M' verModule='2.0'><Packet url='none'/><Other verLow='1.0'/></Module>", 0, L"-1.0.0.0",
         L"", 0},
    });
}

TEST(ClientManifest, GroupsFilesByOperAndKeepsCloseNamesAndDigest)
{
    CUpdateManifest manifest(PACKET_CHOICE_CLIENT);
    auto root = Manifest(L"<module NAME='Updater' Text='U' verModule='2.0'>"
                         L"<PACKET verLow='0.1' url='http://h/p/u.zip' hint='h\\r\\n' sha256='ab'>"
                         L"<File name='a.exe' dest='AutoUpdate\\' type='1' oper='Add'/>"
                         L"<File name='old.dll' dest='' oper='Del'/><CloseName>Yeb</CloseName></PACKET></module>"
                         L"<Module name='Updater'><Packet verLow='0.2' url='http://h/p/v.zip'>"
                         L"<File name='b.exe' oper='Add'/><CloseName>Other</CloseName></Packet></Module>"
                         L"<Ignored name='x'/>");
    ASSERT_TRUE(manifest.Parse(root.get()));
    ASSERT_EQ(1u, manifest.m_modules.size());
    UpdateModule* module = manifest.FindModule(L"Updater");
    ASSERT_NE(nullptr, module);
    EXPECT_STREQ(L"U", module->text);
    EXPECT_STREQ(L"v.zip", module->packageName);
    EXPECT_STREQ(L"", module->sha256); // the digest belongs to the url it came with
    ASSERT_NE(nullptr, module->Files(L"Add"));
    ASSERT_EQ(2u, module->Files(L"Add")->size());
    EXPECT_STREQ(L"AutoUpdate\\", (*module->Files(L"Add"))[0].dest);
    EXPECT_STREQ(L"b.exe", (*module->Files(L"Add"))[1].name);
    ASSERT_EQ(1u, module->Files(L"Del")->size());
    EXPECT_EQ(nullptr, module->Files(L"Run"));
    ASSERT_EQ(2u, module->closeNames.size());
    EXPECT_STREQ(L"Other", module->closeNames[1]);
    EXPECT_EQ(3, module->fileCount);

    auto wrongRoot = std::unique_ptr<CXmlElement>(XmlParseString(L"<Update><Module name='x'/></Update>"));
    EXPECT_FALSE(manifest.Parse(wrongRoot.get()));
    EXPECT_TRUE(manifest.m_modules.empty());
}

TEST(ClientVersionInfo, ReadsEveryModuleAndWritesAsTheClientDoes)
{
    ScratchFolder folder(L"versioninfo");
    CVersionInfoFile missing((folder / L"VersionInfo.ini").c_str());
    std::map<CString, ClientVersionInfo> records;
    EXPECT_EQ(UPDATE_E_NO_VERSION_INFO, missing.Load(records));
    EXPECT_EQ(CString(), CVersionInfoFile::PathBeside(L"Yeb.exe"));
    EXPECT_STREQ(L"C:\\P\\VersionInfo.ini", CVersionInfoFile::PathBeside(L"C:\\P\\Yeb.exe"));

    WriteText(folder / L"VersionInfo.ini",
              "[Client]\r\nKey=K1\r\nVersion=1.0.0.0\r\nUnUpdateVersion=1.1.0.0\r\n"
              "[Updater]\r\nKey=K2\r\nVersion=1.0.0.0\r\nNeedUpdate=1\r\n"
              "[Sonatrel]\r\nVersion=2.0.0.0\r\n[Empty]\r\nKey=x\r\n");
    CVersionInfoFile file((folder / L"VersionInfo.ini").c_str());
    ASSERT_EQ(0, file.Load(records));
    ASSERT_EQ(3u, records.size());
    EXPECT_STREQ(L"1.1.0.0", records[L"Client"].unUpdateVersion);
    EXPECT_EQ(1, records[L"Updater"].needUpdate);
    EXPECT_STREQ(L"2.0.0.0", records[L"Sonatrel"].version);

    records[L"Client"].unUpdateVersion.Empty();
    records[L"Updater"].needUpdate = 0;
    records[L"Updater"].version = L"1.2.0.0";
    file.Save(records);
    std::string text = ReadText(folder / L"VersionInfo.ini");
    EXPECT_EQ(std::string::npos, text.find("UnUpdateVersion")) << text;
    EXPECT_EQ(std::string::npos, text.find("NeedUpdate")) << text;
    EXPECT_NE(std::string::npos, text.find("Key=K2")) << text; // copied through, never made by the client
    EXPECT_NE(std::string::npos, text.find("Version=1.2.0.0")) << text;
}

TEST(ClientUpdateCount, DeclinedOptionalVersionIsNotOfferedAgain)
{
    CUpdateList list;
    auto add = [&](const wchar_t* name, const wchar_t* version, const wchar_t* declined) {
        ClientVersionInfo record;
        record.name = name;
        record.version = version;
        record.unUpdateVersion = declined;
        list.m_manifest.m_records[name] = record;
    };
    add(L"Client", L"1.0", L"1.1");  // offered 1.1, declined 1.1
    add(L"Updater", L"1.0", L"1.1"); // offered 1.2, declined 1.1
    add(L"Other", L"1.0", L"2.0");   // forced, declined
    auto root = Manifest(L"<Module name='Client' verModule='1.1' verUnForce='1.0'><Packet verLow='0.5' url='a'/></Module>"
                         L"<Module name='Updater' verModule='1.2' verUnForce='1.0'><Packet verLow='0.5' url='a'/></Module>"
                         L"<Module name='Other' verModule='2.0' verUnForce='2.0'><Packet verLow='0.5' url='a'/></Module>");
    ASSERT_TRUE(list.m_manifest.Parse(root.get()));
    int forced = -1, optional = -1;
    EXPECT_EQ(1, list.CountUpdates(forced, optional));
    EXPECT_EQ(1, forced);
    EXPECT_EQ(1, optional);
}

TEST(PackageDigest, KnownSha256Vectors)
{
    struct Case
    {
        std::string input;
        const wchar_t* digest;
    } cases[] = {
        {"", L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         L"248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), L"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Case& c : cases)
    {
        CSha256 sha;
        // Fed in uneven pieces, so that block boundaries fall anywhere.
        for (size_t pos = 0; pos < c.input.size();)
        {
            size_t n = c.input.size() - pos < 37 ? c.input.size() - pos : 37 + pos % 91;
            if (n > c.input.size() - pos)
                n = c.input.size() - pos;
            sha.Update(c.input.data() + pos, (DWORD)n);
            pos += n;
        }
        BYTE digest[32];
        sha.Final(digest);
        wchar_t text[65];
        FormatSha256Hex(digest, text);
        EXPECT_STREQ(c.digest, text) << c.input.size();
    }
    ScratchFolder folder(L"sha256");
    WriteText(folder / L"abc.bin", "abc");
    wchar_t text[65] = {};
    ASSERT_TRUE(ComputeFileSha256((folder / L"abc.bin").c_str(), text));
    EXPECT_STREQ(cases[1].digest, text);
    EXPECT_FALSE(ComputeFileSha256((folder / L"none.bin").c_str(), text));
}

TEST(UpdatePath, OnlyPlainRelativeNamesStayInsideTheClientFolder)
{
    struct Case
    {
        const wchar_t* dest;
        const wchar_t* name;
        bool accepted;
    } cases[] = {
        {L"", L"Yeb.exe", true},
        {L"lng\\", L"default.LNG", true},
        {L"a/b/", L"c.txt", true},
        {L"", L"sub\\file.txt", true},
        {L"..\\", L"evil.txt", false},
        {L"", L"..\\evil.txt", false},
        {L"", L"../evil.txt", false},
        {L"a\\..\\..\\", L"evil.txt", false},
        {L"\\", L"evil.txt", false},
        {L"\\\\server\\share\\", L"evil.txt", false},
        {L"C:\\Windows\\", L"evil.txt", false},
        {L"", L"C:evil.txt", false},
        {L"", L"Yeb.exe:stream", false},
        {L"", L"Yeb.exe::$DATA", false},
        {L"lng", L"x.txt", false}, // dest must end in a separator
        {L"", L"", false},
        {L"", L"sub\\", false},
        {L"", L"...", false},
        {L"", L"name. ", false},
        {L"", L"NUL", false},
        {L"", L"com1.txt", false},
        {L"a\\\\", L"b.txt", false},
        {L"", L"a?b", false},
    };
    for (const Case& c : cases)
    {
        CString target;
        EXPECT_EQ(c.accepted, BuildUpdateTarget(L"C:\\Program Files\\Yeb\\", c.dest, L"", c.name, target) != FALSE)
            << Utf8(c.dest) << " + " << Utf8(c.name);
        if (c.accepted)
        {
            EXPECT_EQ(0, wcsncmp(target, L"C:\\Program Files\\Yeb\\", 21));
        }
    }
    EXPECT_TRUE(IsSafeFileName(L"full.zip"));
    for (const wchar_t* bad : {L"", L"..", L"a/b.zip", L"a\\b.zip", L"x.zip?v=1", L"c:x.zip"})
        EXPECT_FALSE(IsSafeFileName(bad)) << Utf8(bad);
}
