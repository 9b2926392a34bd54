// The update list on the updater's side: packets taken, states, counting,
// and the versions written back after an install.
#include "UpdateList.h"
#include "UpdateTestUtil.h"
#include "VersionInfoFile.h"
#include "Xml.h"

#include <gtest/gtest.h>
#include <memory>

using namespace updatetest;

namespace
{

std::unique_ptr<CXmlElement> Manifest(const wchar_t* modules)
{
    return std::unique_ptr<CXmlElement>(
        XmlParseString((std::wstring(L"<AutoUpdate>") + modules + L"</AutoUpdate>").c_str()));
}

TEST(UpdaterManifest, TakesPacketsAboveTheInstalledOrTheLastTakenVersion)
{
    struct Case
    {
        const char* what;
        const wchar_t* installed;
        const wchar_t* module;
        int state;
        const wchar_t* verLow;
        const wchar_t* url;
        int files;
    } cases[] = {
        {"both packets, the second above the installed version", L"1.0.0.0",
         L"<Module name='M' verModule='1.1' verUnForce='0.1'><Packet verLow='0.9.0.0' url='u1' hint='h1'><File name='a' oper='Add'/></Packet>"
         L"<Packet verLow='1.1.0.0' url='u2' hint='h2'><File name='b' oper='Add'/></Packet></Module>",
         1, L"1.1.0.0", L"u2", 2},
        {"only the first: the second lies below both", L"1.0.0.0",
         L"<Module name='M' verModule='1.1' verUnForce='0.1'><Packet verLow='1.1.0.0' url='u1'><File name='a' oper='Add'/></Packet>"
         L"<Packet verLow='0.5.0.0' url='u2'><File name='b' oper='Add'/></Packet></Module>",
         1, L"1.1.0.0", L"u1", 1},
        {"equal verLow is taken once", L"2.0",
         L"<Module name='M' verModule='3.0'><Packet verLow='1.0' url='u1'/><Packet verLow='1.0' url='u2'/></Module>", 1,
         L"1.0", L"u1", 0},
        {"missing record with an empty verUnForce is forced", nullptr,
         L"<Module name='M' verModule='1.0'><Packet verLow='0.1' url='u1'/></Module>", 2, L"0.1", L"u1", 0},
        {"up to date", L"1.1",
         L"<Module name='M' verModule='1.1' verUnForce='1.0'><Packet verLow='1.0' url='u1'/></Module>", 0, L"1.0",
         L"u1", 0},
    };
    for (const Case& c : cases)
    {
        CUpdateList list;
        if (c.installed)
        {
            ClientVersionInfo record;
            record.name = L"M";
            record.version = c.installed;
            list.m_manifest.m_records[L"M"] = record;
        }
        auto root = Manifest(c.module);
        ASSERT_EQ(0, list.ParseManifest(root.get())) << c.what;
        UpdateModule* module = list.FindModule(L"M");
        ASSERT_NE(nullptr, module) << c.what;
        EXPECT_EQ(c.state, module->state) << c.what;
        EXPECT_STREQ(c.verLow, module->verLow) << c.what;
        EXPECT_STREQ(c.url, module->url) << c.what;
        EXPECT_EQ(c.files, module->fileCount) << c.what;
    }
    CUpdateList list;
    auto wrong = std::unique_ptr<CXmlElement>(XmlParseString(L"<Modules/>"));
    EXPECT_EQ(E_INVALIDARG, list.ParseManifest(wrong.get()));
}

TEST(UpdaterManifest, CountsEveryOfferedModuleAndWritesInstalledVersions)
{
    ScratchFolder client(L"list-client");
    WriteText(client / L"VersionInfo.ini", "[Client]\r\nKey=OLD\r\nVersion=1.0.0.0\r\nUnUpdateVersion=1.1.0.0\r\n"
                                           "[Updater]\r\nVersion=1.0.0.0\r\n[Sonatrel]\r\nVersion=0.9\r\n");
    CUpdateList list;
    list.SetClientDir(client.Path().c_str());
    list.LoadVersionInfo();
    auto root = Manifest(L"<Module name='Client' verModule='1.1.0.0' verUnForce='0.5'><Packet verLow='0.1' url='c'/></Module>"
                         L"<Module name='Updater' verModule='1.3.0.0' verUnForce='1.2'><Packet verLow='0.1' url='u'/></Module>"
                         L"<Module name='Sonatrel' verModule='0.9' verUnForce='0.1'><Packet verLow='0.1' url='s'/></Module>"
                         L"<Module name='Extra' verModule='2.0'><Packet verLow='0.1' url='e'/></Module>");
    ASSERT_EQ(0, list.ParseManifest(root.get()));
    int forced = -1, offered = -1;
    EXPECT_EQ(1, list.CountUpdates(forced, offered));
    EXPECT_EQ(2, forced);  // Updater, Extra (not installed)
    EXPECT_EQ(1, offered); // Client, although its version was declined once

    list.FindModule(L"Client")->installed = 1;
    list.FindModule(L"Updater")->installed = 1;
    list.FindRecord(L"Client")->unUpdateVersion.Empty();
    EXPECT_EQ(1, list.SaveInstalledVersions());
    CVersionInfoFile file((client / L"VersionInfo.ini").c_str());
    ClientVersionInfo record;
    ASSERT_TRUE(file.ReadSection(L"Client", record));
    EXPECT_STREQ(L"1.1.0.0", record.version);
    EXPECT_STREQ(CVersionInfoFile::ComputeKey(L"Client", L"1.1.0.0"), record.key);
    EXPECT_STREQ(L"", record.unUpdateVersion);
    ASSERT_TRUE(file.ReadSection(L"Updater", record));
    EXPECT_STREQ(L"1.0.0.0", record.version); // the client finishes the updater's own update
    ASSERT_TRUE(file.ReadSection(L"Extra", record));
    EXPECT_STREQ(L"-1.0.0.0", record.version);
    std::string ini = ReadText(client / L"VersionInfo.ini");
    EXPECT_NE(std::string::npos, ini.find("NeedUpdate=1")) << ini;
    EXPECT_EQ(std::string::npos, ini.find("UnUpdateVersion")) << ini;

    // The records of every module come back at the next start.
    CUpdateList again;
    again.SetClientDir(client.Path().c_str());
    again.LoadVersionInfo();
    ASSERT_NE(nullptr, again.FindRecord(L"Sonatrel"));
    EXPECT_STREQ(L"0.9", again.FindRecord(L"Sonatrel")->version);
}

} // namespace
