// The package download against the stand-in service: the messages of each
// outcome and the file that only a complete transfer leaves.
#include <winsock2.h> // before the headers that bring <windows.h>
#include "ServiceProcess.h"
#include "UpdateDownloader.h"
#include "UpdateTestUtil.h"

#include <gtest/gtest.h>

using namespace updatetest;

namespace
{

struct Posted
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Posted> g_posted;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_UPDATE_DOWNLOAD_PROGRESS && message <= WM_UPDATE_DOWNLOAD_SIZE)
    {
        g_posted.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class DownloaderTest : public ::testing::Test
{
  protected:
    DownloaderTest() : m_client(L"download-client") {}

    void SetUp() override
    {
        ASSERT_TRUE(m_service.Start());
        std::string package = ReadText(Package(L"full.zip"));
        ASSERT_FALSE(package.empty());
        ASSERT_TRUE(m_service.WriteDataFile("update/full.zip", package));
        ASSERT_TRUE(m_service.WriteDataFile("update/empty.zip", ""));
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.lpszClassName = L"DownloaderTestOwner";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, L"DownloaderTestOwner", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr);
        g_posted.clear();
    }
    void TearDown() override { DestroyWindow(m_window); }

    std::wstring Url(const std::string& path) const
    {
        return L"http://127.0.0.1:" + std::to_wstring(m_service.Port("web")) + Wide(path);
    }

    // Downloads and pumps messages until the last one arrived.
    void Download(const std::string& path, const std::wstring& destination)
    {
        g_posted.clear();
        ASSERT_EQ(0, m_downloader.Start(Url(path).c_str(), destination.c_str(), m_window));
        DWORD start = GetTickCount();
        MSG message;
        for (;;)
        {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            if (!g_posted.empty() && (g_posted.back().message == WM_UPDATE_DOWNLOAD_DONE ||
                                      g_posted.back().message == WM_UPDATE_DOWNLOAD_ERROR))
                break;
            ASSERT_LT(GetTickCount() - start, 20000u) << path;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        }
        ASSERT_TRUE(m_downloader.Wait(5000));
        Sleep(100); // nothing may follow the last message
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }

    ServiceProcess m_service;
    ScratchFolder m_client;
    CUpdateDownloader m_downloader;
    HWND m_window = nullptr;
};

TEST_F(DownloaderTest, CompletePackageArrivesWithSizeAndProgress)
{
    std::wstring destination = m_client / L"AutoUpdate\\Download\\full.zip"; // the folder is made first
    Download("/update/full.zip", destination);
    std::string expected = ReadText(Package(L"full.zip"));
    ASSERT_GE(g_posted.size(), 3u);
    EXPECT_EQ(WM_UPDATE_DOWNLOAD_SIZE, g_posted.front().message);
    EXPECT_EQ((LPARAM)expected.size(), g_posted.front().lParam);
    EXPECT_EQ(WM_UPDATE_DOWNLOAD_DONE, g_posted.back().message);
    EXPECT_EQ(3u, g_posted.back().wParam);
    EXPECT_EQ(WM_UPDATE_DOWNLOAD_PROGRESS, g_posted[g_posted.size() - 2].message);
    EXPECT_EQ((LPARAM)expected.size(), g_posted[g_posted.size() - 2].lParam);
    EXPECT_EQ(expected, ReadText(destination));
    EXPECT_FALSE(Exists(destination + L".part"));
}

TEST_F(DownloaderTest, FailuresEndWithOneErrorAndNoPackage)
{
    std::wstring destination = m_client / L"AutoUpdate\\Download\\full.zip";

    Download("/update/missing.zip", destination);
    ASSERT_EQ(1u, g_posted.size());
    EXPECT_EQ(WM_UPDATE_DOWNLOAD_ERROR, g_posted[0].message);
    EXPECT_EQ(1u, g_posted[0].wParam);
    EXPECT_EQ(404, g_posted[0].lParam);

    // An older package of that name never stands in for a broken transfer.
    WriteText(destination, "package of an earlier run");
    Download("/update/cut/full.zip", destination);
    ASSERT_GE(g_posted.size(), 2u);
    EXPECT_EQ(WM_UPDATE_DOWNLOAD_SIZE, g_posted.front().message);
    EXPECT_EQ(WM_UPDATE_DOWNLOAD_ERROR, g_posted.back().message);
    EXPECT_EQ(2u, g_posted.back().wParam);
    EXPECT_EQ(2, m_downloader.GetState());
    EXPECT_LT(m_downloader.GetReceived(), m_downloader.GetTotal());
    EXPECT_FALSE(Exists(destination));
    EXPECT_FALSE(Exists(destination + L".part")); // nothing half written is left behind

    // The destination's folder is a file: nothing can be created there.
    WriteText(m_client / L"blocked", "a file where the folder should be");
    Download("/update/full.zip", m_client / L"blocked\\full.zip");
    ASSERT_GE(g_posted.size(), 2u);
    EXPECT_EQ(WM_UPDATE_DOWNLOAD_ERROR, g_posted.back().message);
    EXPECT_EQ(5u, g_posted.back().wParam);

    m_service.Stop();
    Download("/update/full.zip", destination);
    ASSERT_EQ(1u, g_posted.size());
    EXPECT_EQ(1u, g_posted[0].wParam);
}

TEST_F(DownloaderTest, EmptyPackageAndEmptyAddress)
{
    std::wstring destination = m_client / L"AutoUpdate\\Download\\empty.zip";
    Download("/update/empty.zip", destination);
    ASSERT_EQ(2u, g_posted.size());
    EXPECT_EQ(WM_UPDATE_DOWNLOAD_SIZE, g_posted[0].message);
    EXPECT_EQ(0, g_posted[0].lParam);
    EXPECT_EQ(WM_UPDATE_DOWNLOAD_DONE, g_posted[1].message);
    EXPECT_TRUE(Exists(destination));

    g_posted.clear();
    EXPECT_EQ(-1, m_downloader.Start(L"", destination.c_str(), m_window));
    Sleep(300);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    EXPECT_TRUE(g_posted.empty());
}

} // namespace
