// The upload task against the stand-in image server: what goes over the
// wire, how it ends, and the stop.
#include "TransferTest.h"
#include "ImageServerHeader.h"
#include "TcpSocket.h"
#include "UploadTask.h"

#include <memory>

namespace
{
DWORD ReadU32(const std::string& bytes, size_t at)
{
    const unsigned char* b = (const unsigned char*)bytes.data() + at;
    return b[0] | (b[1] << 8) | (b[2] << 16) | ((DWORD)b[3] << 24);
}

// A socket that keeps the size of every send the task makes.
class RecordingSocket : public CTcpSocket
{
  public:
    explicit RecordingSocket(std::vector<int>& sends) : m_sends(sends) {}
    int Send(const void* data, int length, int flags = 0) override
    {
        m_sends.push_back(length);
        return CTcpSocket::Send(data, length, flags);
    }

  private:
    std::vector<int>& m_sends;
};

class RecordingUploadTask : public UploadTask
{
  public:
    using UploadTask::UploadTask;
    std::vector<int> sends;

  protected:
    CTcpSocket* MakeSocket() override { return new RecordingSocket(sends); }
};

class UploadTaskTest : public TransferTest
{
  protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        folder = FreshFolder(L"upload-task");
    }
    std::wstring SongFile(const wchar_t* name, size_t size)
    {
        std::wstring path = folder + L"\\" + name;
        EXPECT_TRUE(WriteBytes(path, SongPattern(size)));
        return path;
    }
    std::wstring folder;
    MessageSink sink{UploadTask::TransferMessage};
};
} // namespace

TEST_F(UploadTaskTest, SendsTheHeaderAndTheFileInPiecesOf4096)
{
    std::wstring path = SongFile(L"ten.mp3", 10000);
    RecordingUploadTask task(L"ignored.host", 1, path.c_str(), L"Title", L"Artist", L"123", 10000, L"mp3");
    task.SetUserId(L"10042");
    task.SetOwner(sink.Handle());
    task.SetRowId(3);
    task.Start();
    ASSERT_TRUE(PumpUntil([&] { return !sink.received.empty(); }, 20000));
    EXPECT_EQ(UploadTask::StateDone, (int)sink.received[0].wParam);
    EXPECT_EQ(3, (int)sink.received[0].lParam);
    EXPECT_EQ(UploadTask::StateDone, task.GetState());
    EXPECT_EQ(10000, task.GetSent());
    EXPECT_EQ((std::vector<int>{280, 4096, 4096, 1808}), task.sends);

    ServiceRecord record;
    ASSERT_TRUE(service.WaitForRecord(
        [](const ServiceRecord& r) { return r.source == "image" && r.event == "exchange"; }, 10000, &record));
    EXPECT_EQ("0", record.Get("kind"));
    EXPECT_EQ("10000", record.Get("length"));
    EXPECT_EQ("10042", record.Get("user"));
    EXPECT_EQ("123", record.Get("item"));
    EXPECT_EQ("mp3", record.Get("type"));
    EXPECT_EQ("10000", record.Get("bytes"));
    EXPECT_EQ("4096,4096,1808", record.Get("pieces"));
    std::string header;
    ASSERT_TRUE(service.ReadDataFile(record.Get("header"), header));
    ASSERT_EQ(280u, header.size());
    EXPECT_EQ(10000u, ReadU32(header, 0));
    EXPECT_EQ(0u, ReadU32(header, 4) & 0xFFFF);
    EXPECT_EQ(10042u, ReadU32(header, 8));
    EXPECT_EQ(123u, ReadU32(header, 140));
    EXPECT_EQ(std::string("mp3\0", 4), header.substr(144, 4));
}

TEST_F(UploadTaskTest, TheFileTypeIsCutToItsFieldWithItsZero)
{
    UploadTask task(L"", 0, L"x", L"", L"", L"7", 1, L"verylongtype");
    ImageServerHeader header;
    task.BuildHeader(header);
    std::string bytes((const char*)header.bytes, ImageServerHeader::Size);
    EXPECT_EQ(std::string("verylon\0", 8), bytes.substr(144, 8));
    EXPECT_EQ(std::string(128, '\0'), bytes.substr(152)) << "the next field stays empty";
}

TEST_F(UploadTaskTest, AnUploadThatCannotStartEndsAsFailed)
{
    // A missing file.
    UploadTask missing(L"", 0, (folder + L"\\none.mp3").c_str(), L"t", L"a", L"1", 100, L"mp3");
    missing.SetOwner(sink.Handle());
    missing.Start();
    ASSERT_TRUE(PumpUntil([&] { return !sink.received.empty(); }, 10000));
    EXPECT_EQ(UploadTask::StateFailed, (int)sink.received[0].wParam);
    EXPECT_EQ(UploadTask::StateFailed, missing.GetState());
    EXPECT_NE(0, missing.GetErrorCode());

    // An image server that cannot be reached.
    sink.received.clear();
    std::wstring path = SongFile(L"small.mp3", 100);
    service.Stop();
    UploadTask unreachable(L"", 0, path.c_str(), L"t", L"a", L"1", 100, L"mp3");
    unreachable.SetOwner(sink.Handle());
    unreachable.Start();
    ASSERT_TRUE(PumpUntil([&] { return !sink.received.empty(); }, 30000));
    EXPECT_EQ(UploadTask::StateFailed, (int)sink.received[0].wParam);
    EXPECT_EQ(UploadTask::ErrorConnect, unreachable.GetErrorCode());
    EXPECT_EQ(0, unreachable.GetSent());

    // A file shorter than the size the header announces.
    ASSERT_TRUE(service.Start());
    CServiceAddresses::Get().Load(service.ClientIniPath().c_str());
    sink.received.clear();
    UploadTask shorter(L"", 0, path.c_str(), L"t", L"a", L"1", 5000, L"mp3");
    shorter.SetOwner(sink.Handle());
    shorter.Start();
    ASSERT_TRUE(PumpUntil([&] { return !sink.received.empty(); }, 10000));
    EXPECT_EQ(UploadTask::StateFailed, (int)sink.received[0].wParam);
}

TEST_F(UploadTaskTest, StoppingARunningUploadGivesOneStateMessage)
{
    // Large enough to be still running when the stop comes.
    std::wstring path = SongFile(L"large.mp3", 64 * 1024 * 1024);
    UploadTask task(L"", 0, path.c_str(), L"t", L"a", L"1", 64 * 1024 * 1024, L"mp3");
    task.SetOwner(sink.Handle());
    task.SetRowId(2);
    task.Start();
    ASSERT_TRUE(PumpUntil([&] { return task.GetSent() > 0; }, 10000));
    task.Stop();
    EXPECT_EQ(nullptr, task.GetThread());
    PumpUntil([] { return false; }, 500);
    ASSERT_EQ(1u, sink.received.size());
    EXPECT_EQ(UploadTask::StateStopped, (int)sink.received[0].wParam);
    EXPECT_EQ(2, (int)sink.received[0].lParam);
    EXPECT_LT(task.GetSent(), 64 * 1024 * 1024);
}
