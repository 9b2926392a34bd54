// The download and upload windows with their lists, against the stand-in
// service: queueing, totals, row actions, drawing, and closing.
#include "TransferTest.h"
#include "DataClient.h"
#include "DlgSongDownload.h"
#include "DownloadTask.h"
#include "LanguageTable.h"
#include "SongLibrary.h"
#include "UploadMusicDlg.h"
#include "UploadTask.h"
#include "WindowPicture.h"
#include "resource.h"

namespace
{
int CountInState(CListCtrlDownload& list, int state)
{
    int count = 0;
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetTask(row) && list.GetTask(row)->GetState() == state)
            ++count;
    return count;
}

class DownloadWindowTest : public TransferTest
{
  protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        folder = FreshFolder(L"download-window");
        CListCtrlDownload::s_libraryPath = (folder + L"\\playlist.xml").c_str();
        CSongLibrary().CreateEmptyFile(CListCtrlDownload::s_libraryPath);
        service.WriteDataFile(
            "www/inset/ad_browser.xml",
            "<RT><AD count=\"1\"><li name=\"\xE5\xB9\xBF\xE5\x91\x8A\" link=\"http://ads.invalid/1\"/>"
            "</AD></RT>");
        window = CDlgSongDownload::Open();
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override
    {
        if (CDlgSongDownload::GetOpen())
            CDlgSongDownload::GetOpen()->DestroyWindow();
        CListCtrlDownload::s_libraryPath.Empty();
        TransferTest::TearDown();
    }
    std::wstring folder;
    CDlgSongDownload* window = nullptr;
};
} // namespace

TEST(DownloadListTexts, SizesAndTimesReadAsTheListShowsThem)
{
    struct
    {
        double bytes;
        const wchar_t* text;
    } sizes[] = {{0, L"0 B"},           {1023, L"1023 B"},     {1536, L"1 KB"},
                 {1048575, L"1023 KB"}, {1572864, L"1.50 MB"}, {1073741824.0 * 2.5, L"2.50 GB"}};
    for (auto& c : sizes)
        EXPECT_EQ(CString(c.text), CListCtrlDownload::FormatSize(c.bytes)) << c.bytes;
    EXPECT_EQ(CString(L"59s"), CListCtrlDownload::FormatDuration(59, L"s", L"m"));
    EXPECT_EQ(CString(L"1m30s"), CListCtrlDownload::FormatDuration(90, L"s", L"m"));
    EXPECT_EQ(CString(L"2m"), CListCtrlDownload::FormatDuration(120, L"s", L"m"));
}

TEST_F(DownloadWindowTest, FiveDownloadsRunThreeAtATimeAndTheTotalsFollow)
{
    CListCtrlDownload& list = window->GetList();
    // The first one is quick, the others slow enough to be seen running.
    window->AddDownload(WebUrl(L"/songs/one.mp3?size=20000"), L"one.mp3", folder.c_str(), L"", L"");
    for (const wchar_t* name : {L"two.mp3", L"three.mp3", L"four.mp3", L"five.mp3"})
        window->AddDownload(WebUrl(L"/songs/slow.mp3?size=2000000&piece=8192&delay=100"), name,
                            folder.c_str(), L"", L"");
    EXPECT_EQ(5, list.GetTaskCount());
    ASSERT_TRUE(PumpUntil([&] { return list.GetDoneCount() == 1 && list.GetRunningCount() == 3; }, 20000));
    // The fourth row started when the first ended; the fifth waits.
    EXPECT_EQ(DownloadTask::StateDone, list.GetTask(0)->GetState());
    EXPECT_EQ(DownloadTask::StateRunning, list.GetTask(3)->GetState());
    EXPECT_EQ(DownloadTask::StateWaiting, list.GetTask(4)->GetState());
    EXPECT_EQ(3, CountInState(list, DownloadTask::StateRunning));
    EXPECT_EQ(3, window->GetRunningTotal());
    EXPECT_EQ(1, window->GetDoneTotal());
    EXPECT_EQ(1, window->GetWaitingTotal()) << "5 - (0 + 1 + 3)";
    CString waitingFormat = Lang(L"INFO_DOWNLOAD_SONG_WAIT_SUM");
    CString expected;
    expected.Format(waitingFormat, 1);
    EXPECT_EQ(expected, window->GetTotalText(1));
    EXPECT_EQ(SongPattern(20000), ReadBytes(folder + L"\\one.mp3"));

    // Three rows running with some progress: the picture a user sees.
    PumpUntil([&] { return list.GetTask(3)->GetReceived() > 100000; }, 10000);
    PumpUntil([] { return false; }, 600);
    EXPECT_TRUE(KeepPicture(window->m_hWnd, L"download-window-three-running.png", 0, 0));

    // The tooltip names the row, its list and folder, or the icon's action.
    CRect row;
    list.GetItemRect(3, &row, LVIR_BOUNDS);
    CString tip = list.TooltipTextAt(CPoint(row.left + 60, row.top + 20));
    EXPECT_NE(-1, tip.Find(L"four.mp3")) << (const char*)CStringA(tip);
    EXPECT_NE(-1, tip.Find(folder.c_str()));
    CRect action = CListCtrlDownload::ActionRect(row);
    EXPECT_EQ(Lang(L"INFO_DOWNLOAD_SONG_DEL"), list.TooltipTextAt(action.CenterPoint()));
    list.EnsureVisible(0, FALSE);
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    EXPECT_EQ(Lang(L"INFO_PLAYER_PLAY"),
              list.TooltipTextAt(CListCtrlDownload::ActionRect(row).CenterPoint()));

    // Removing the waiting row deletes its reserved file and the waiting total drops.
    CString reserved = list.GetTask(4)->GetTargetPath();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(reserved));
    list.DoRowAction(4);
    EXPECT_EQ(4, list.GetTaskCount());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(reserved));
    EXPECT_EQ(0, window->GetWaitingTotal());

    // Removing a running row stops it; its files go.
    CString running = list.GetTask(1)->GetTargetPath();
    list.DoRowAction(1);
    EXPECT_EQ(2, list.GetRunningCount());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(running));
    for (int row = 0; row < list.GetItemCount(); ++row)
        EXPECT_EQ(row, list.GetTask(row)->GetRowId()) << "rows are renumbered";
}

TEST_F(DownloadWindowTest, AFinishedSongGoesIntoTheOwnLibraryAndTheServiceHearsOfIt)
{
    std::string mp3 = ReadBytes(std::wstring(YEB_SOURCE_DIR) + L"\\tests\\foundation\\data\\cbr-id3v23.mp3");
    ASSERT_FALSE(mp3.empty());
    ASSERT_TRUE(service.WriteDataFile("www/music/tagged.mp3", mp3));
    window->AddDownload(WebUrl(L"/music/tagged.mp3"), L"tagged.mp3", folder.c_str(), L"", L"");
    CListCtrlDownload& list = window->GetList();
    ASSERT_TRUE(PumpUntil([&] { return list.GetDoneCount() == 1; }, 20000));
    CSongLibrary library;
    library.LoadFromFile(CListCtrlDownload::s_libraryPath);
    ASSERT_EQ(1, library.GetSongCount());
    CSongInfo song;
    library.GetSongAt(0, song);
    EXPECT_EQ(CString((folder + L"\\tagged.mp3").c_str()), song.GetPath());
    EXPECT_TRUE(service.WaitForRequest("/cgi-bin/dmlog", 10000));
    CDataClient::ReleaseInstance();
}

TEST_F(DownloadWindowTest, TheAdvertisementListFeedsTheLinkAndClosingAsksNothingWhenIdle)
{
    ASSERT_TRUE(PumpUntil([&] { return !window->GetAdvertisementNames().empty(); }, 10000));
    EXPECT_EQ(CString(L"\x5E7F\x544A"), window->GetAdvertisementNames()[0]);
    HWND link = ::GetDlgItem(window->m_hWnd, IDC_DOWNLOAD_AD_LINK);
    EXPECT_TRUE(IsWindowVisible(link));
    wchar_t text[32] = L"";
    ::GetWindowTextW(link, text, 32);
    EXPECT_STREQ(L"\x5E7F\x544A", text);

    HWND handle = window->m_hWnd;
    window->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(nullptr, CDlgSongDownload::GetOpen());
}

namespace
{
class UploadWindowTest : public TransferTest
{
  protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        folder = FreshFolder(L"upload-window");
        window = CUploadMusicDlg::Open();
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override
    {
        if (CUploadMusicDlg::GetOpen())
            CUploadMusicDlg::GetOpen()->DestroyWindow();
        TransferTest::TearDown();
    }
    std::wstring folder;
    CUploadMusicDlg* window = nullptr;
};
} // namespace

TEST_F(UploadWindowTest, UploadsRunOneAtATimeAndAWaitingOneCanBeRemoved)
{
    std::wstring big = folder + L"\\big.mp3";
    ASSERT_TRUE(WriteBytes(big, SongPattern(48 * 1024 * 1024)));
    std::wstring small = folder + L"\\small.mp3";
    ASSERT_TRUE(WriteBytes(small, SongPattern(5000)));
    window->AddUpload(L"", 0, big.c_str(), L"Big song", L"A", L"11", 48 * 1024 * 1024, L"mp3");
    window->AddUpload(L"", 0, small.c_str(), L"Small song", L"B", L"12", 5000, L"mp3");
    window->AddUpload(L"", 0, small.c_str(), L"Third song", L"C", L"13", 5000, L"mp3");
    CListCtrlUpload& list = window->GetList();
    EXPECT_EQ(1, list.GetRunningCount());
    EXPECT_EQ(UploadTask::StateRunning, list.GetTask(0)->GetState());
    EXPECT_EQ(UploadTask::StateWaiting, list.GetTask(1)->GetState());
    EXPECT_EQ(2, window->GetWaitingTotal());

    list.DoRowAction(2);
    EXPECT_EQ(2, list.GetTaskCount());
    EXPECT_EQ(1, window->GetWaitingTotal());

    EXPECT_TRUE(KeepPicture(window->m_hWnd, L"upload-window-one-running.png", 440, 0));

    ASSERT_TRUE(PumpUntil([&] { return list.GetDoneCount() == 2; }, 60000));
    EXPECT_EQ(2, window->GetDoneTotal());
    EXPECT_EQ(0, window->GetWaitingTotal());
    EXPECT_EQ(0, list.GetRunningCount());
    // A done row has nothing to remove.
    list.DoRowAction(0);
    EXPECT_EQ(2, list.GetItemCount());
    ASSERT_TRUE(service.WaitForRecord(
        [](const ServiceRecord& r) { return r.event == "exchange" && r.Get("item") == "12"; }, 10000));
}

TEST_F(DownloadWindowTest, StoppingAllStartsNoWaitingDownload)
{
    CListCtrlDownload& list = window->GetList();
    for (const wchar_t* name : {L"a.mp3", L"b.mp3", L"c.mp3", L"d.mp3"})
        window->AddDownload(WebUrl(L"/songs/slow.mp3?size=2000000&piece=8192&delay=100"), name,
                            folder.c_str(), L"", L"");
    ASSERT_EQ(3, list.GetRunningCount());
    list.StopAll(FALSE);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(0, list.GetRunningCount());
    EXPECT_EQ(3, CountInState(list, DownloadTask::StateStopped));
    EXPECT_EQ(DownloadTask::StateWaiting, list.GetTask(3)->GetState());
    // The library file and the waiting row's reserved name stay.
    EXPECT_EQ(2u, FilesIn(folder).size());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(list.GetTask(3)->GetTargetPath()));
}

TEST_F(UploadWindowTest, AFailedUploadLetsTheNextOneRun)
{
    std::wstring small = folder + L"\\small.mp3";
    ASSERT_TRUE(WriteBytes(small, SongPattern(3000)));
    window->AddUpload(L"", 0, (folder + L"\\missing.mp3").c_str(), L"Missing", L"A", L"21", 3000, L"mp3");
    window->AddUpload(L"", 0, small.c_str(), L"Small", L"B", L"22", 3000, L"mp3");
    CListCtrlUpload& list = window->GetList();
    ASSERT_TRUE(PumpUntil([&] { return list.GetDoneCount() == 1; }, 20000));
    EXPECT_EQ(1, list.GetFailedCount());
    EXPECT_EQ(1, window->GetFailedTotal());
    EXPECT_EQ(UploadTask::StateFailed, list.GetTask(0)->GetState());
    // A failed row has nothing to remove.
    list.DoRowAction(0);
    EXPECT_EQ(2, list.GetItemCount());
}
