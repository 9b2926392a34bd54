// The download task against the stand-in service's song files: names in the
// target folder, the transfer and its failures, and the stop.
#include "TransferTest.h"
#include "DownloadTask.h"

#include <memory>

namespace
{
class DownloadTaskTest : public TransferTest
{
  protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        folder = FreshFolder(L"download-task");
    }
    // A task of the song address, reserved in the test's folder.
    std::unique_ptr<DownloadTask> MakeTask(LPCWSTR path, LPCWSTR name)
    {
        std::unique_ptr<DownloadTask> task(new DownloadTask);
        task->SetUrl(WebUrl(path));
        task->SetFileName(name);
        task->SetTargetFolder(folder.c_str());
        task->SetOwner(sink.Handle());
        task->SetRowId(7);
        task->MakeUniqueTarget();
        return task;
    }
    // Runs the task until it reports its end; the state it reported.
    int RunToEnd(DownloadTask& task)
    {
        task.Start();
        EXPECT_TRUE(PumpUntil([&] { return !sink.received.empty(); }, 30000));
        if (sink.received.empty())
            return -1;
        EXPECT_EQ(1u, sink.received.size());
        EXPECT_EQ(7, (int)sink.received[0].lParam);
        WaitForSingleObject(task.GetThread(), 5000);
        return (int)sink.received[0].wParam;
    }
    std::wstring folder;
    MessageSink sink{DownloadTask::TransferMessage};
};
} // namespace

TEST_F(DownloadTaskTest, DownloadsTheWholeSongUnderItsNameAndLeavesNoTemporaryFile)
{
    auto task = MakeTask(L"/songs/whole.mp3?size=300000", L"whole.mp3");
    EXPECT_EQ(DownloadTask::StateDone, RunToEnd(*task));
    EXPECT_EQ(SongPattern(300000), ReadBytes(folder + L"\\whole.mp3"));
    EXPECT_EQ(300000, task->GetTotalSize());
    EXPECT_EQ(300000, task->GetReceived());
    EXPECT_FALSE(task->GetTempFilePath().IsEmpty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(task->GetTempFilePath()))
        << "the temporary file is removed";
}

TEST_F(DownloadTaskTest, FailuresEndWithTheirCodeAndLeaveTheFolderClean)
{
    struct Case
    {
        const wchar_t* path;
        int error;
    } cases[] = {
        {L"/songs/missing.mp3?status=404", 0x194},
        {L"/songs/cut.mp3?size=200000&cut=50000", DownloadTask::ErrorTransfer},
        {L"/songs/open.mp3?size=50000&nolength=1", DownloadTask::ErrorLength},
    };
    for (const Case& c : cases)
    {
        sink.received.clear();
        auto task = MakeTask(c.path, L"song.mp3");
        EXPECT_EQ(1u, FilesIn(folder).size()) << "the name is reserved while the task waits";
        EXPECT_EQ(DownloadTask::StateFailed, RunToEnd(*task)) << c.path;
        EXPECT_EQ(c.error, task->GetErrorCode()) << c.path;
        EXPECT_TRUE(FilesIn(folder).empty()) << c.path;
        if (!task->GetTempFilePath().IsEmpty())
        {
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(task->GetTempFilePath())) << c.path;
        }
    }
    // An address that cannot be opened at all.
    sink.received.clear();
    std::unique_ptr<DownloadTask> task(new DownloadTask);
    task->SetUrl(L"http://127.0.0.1:1/songs/none.mp3");
    task->SetFileName(L"none.mp3");
    task->SetTargetFolder(folder.c_str());
    task->SetOwner(sink.Handle());
    task->SetRowId(7);
    task->MakeUniqueTarget();
    EXPECT_EQ(DownloadTask::StateFailed, RunToEnd(*task));
    EXPECT_EQ(DownloadTask::ErrorOpen, task->GetErrorCode());
    EXPECT_TRUE(FilesIn(folder).empty());
}

TEST_F(DownloadTaskTest, ASecondTaskOfOneNameTakesTheNextNumber)
{
    auto first = MakeTask(L"/songs/a.mp3", L"a.mp3");
    auto second = MakeTask(L"/songs/a.mp3", L"a.mp3");
    auto third = MakeTask(L"/songs/a.mp3", L"a.mp3");
    auto plain = MakeTask(L"/songs/name", L"name");
    auto plainAgain = MakeTask(L"/songs/name", L"name");
    EXPECT_EQ(CString(L"a.mp3"), first->GetFinalName());
    EXPECT_EQ(CString(L"a(2).mp3"), second->GetFinalName());
    EXPECT_EQ(CString(L"a(3).mp3"), third->GetFinalName());
    EXPECT_EQ(CString(L"name"), plain->GetFinalName());
    EXPECT_EQ(CString(L"(2)name"), plainAgain->GetFinalName());
    EXPECT_EQ(5u, FilesIn(folder).size()) << "every name is reserved as an empty file";
    EXPECT_EQ(0u, ReadBytes(folder + L"\\a(2).mp3").size());
}

TEST_F(DownloadTaskTest, NamesFromTheWebStayPlainNamesInsideTheFolder)
{
    struct Case
    {
        const wchar_t* asked;
        const wchar_t* clean;
    } cases[] = {
        {L"song.mp3", L"song.mp3"},
        {L"..\\..\\evil.mp3", L"evil.mp3"},
        {L"../../evil.mp3", L"evil.mp3"},
        {L"C:\\Windows\\win.ini", L"win.ini"},
        {L"c:evil.mp3", L"c_evil.mp3"},
        {L"song.mp3:hidden", L"song.mp3_hidden"},
        {L"..", L"song.mp3"},
        {L"", L"song.mp3"},
        {L"CON", L"_CON"},
        {L"nul.mp3", L"_nul.mp3"},
        {L"com1.txt", L"_com1.txt"},
        {L"a<b>|?*\".mp3", L"a_b_____.mp3"},
        {L"trailing.mp3. . ", L"trailing.mp3"},
        {L"\\\\server\\share\\x.mp3", L"x.mp3"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(CString(c.clean), DownloadTask::CleanFileName(c.asked)) << c.asked;
        auto task = MakeTask(L"/songs/x.mp3", c.asked);
        CString target = task->GetTargetPath();
        int cut = target.ReverseFind(L'\\');
        EXPECT_EQ(CString(folder.c_str()), target.Left(cut)) << c.asked;
    }
    for (const std::wstring& name : FilesIn(folder))
        EXPECT_EQ(std::wstring::npos, name.find(L':')) << "no stream was made";
}

TEST_F(DownloadTaskTest, StopTellsTheOwnerBeforeItReturnsAndRemovesTheFiles)
{
    auto task = MakeTask(L"/songs/slow.mp3?size=400000&piece=4096&delay=50", L"slow.mp3");
    task->Start();
    ASSERT_TRUE(PumpUntil([&] { return task->GetReceived() > 8192; }, 20000));
    CString temp = task->GetTempFilePath();
    EXPECT_FALSE(temp.IsEmpty());
    task->Stop();
    ASSERT_EQ(1u, sink.received.size()) << "sent, not posted";
    EXPECT_EQ(DownloadTask::StateStopped, (int)sink.received[0].wParam);
    EXPECT_EQ(DownloadTask::StateStopped, task->GetState());
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(temp));
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(1u, sink.received.size()) << "the worker reports nothing more";
}
