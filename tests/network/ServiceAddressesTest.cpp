#include "NetworkTest.h"
#include <fstream>

TEST(ServiceAddresses, DefaultsAreTheServiceHostsAndAFileOverridesWhatItSets)
{
    CServiceAddresses table;
    EXPECT_EQ(CString(L"http://www.yeb360.com/configure.php"), table.WebUrl(L"/configure.php"));
    EXPECT_EQ(443, table.m_imageTcpPort);

    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    CString ini = CString(folder) + L"yeb-service-addresses-test.ini";
    WritePrivateProfileStringW(L"Service", L"WebHost", L"127.0.0.1", ini);
    WritePrivateProfileStringW(L"Service", L"WebPort", L"8080", ini);
    WritePrivateProfileStringW(L"Service", L"ImageTcpPort", L"70000", ini); // not a port: ignored
    WritePrivateProfileStringW(L"Service", L"PassportHost", L"", ini);      // empty: ignored
    table.Load(ini);
    EXPECT_EQ(CString(L"http://127.0.0.1:8080/x"), table.WebUrl(L"/x"));
    EXPECT_EQ(443, table.m_imageTcpPort);
    EXPECT_EQ(CString(L"http://passport.yeb360.com/web/index.php"), table.PassportUrl(L"/web/index.php"));
    EXPECT_EQ(CString(L"img.yeb360.com"), table.m_imageHost);

    table.Load(CString(folder) + L"no-such-file.ini"); // back to the defaults
    EXPECT_EQ(80, table.m_webPort);
    DeleteFileW(ini);
}

class ServiceAddressesTest : public NetworkTest
{
};

TEST_F(ServiceAddressesTest, StandInServiceWritesTheSettingsThatPointAtIt)
{
    const CServiceAddresses& table = CServiceAddresses::Get();
    EXPECT_EQ(CString(L"127.0.0.1"), table.m_webHost);
    EXPECT_EQ(service.Port("web"), table.m_webPort);
    EXPECT_EQ(CString(L"127.0.0.1"), table.m_imageHost);
    EXPECT_EQ(service.Port("web"), table.m_imageWebPort);
    EXPECT_EQ(service.Port("image"), table.m_imageTcpPort);
}
