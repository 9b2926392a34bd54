#pragma once
// One file that the library sends to a buddy who asked for it: a song from
// its local path, or the user's own library text. It runs on its own thread
// and keeps at most a window of unacknowledged bytes in flight, so that a slow
// receiver slows only its own transfer.
#include "VosselFrame.h"
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class OutgoingTransfer
{
  public:
    typedef std::function<bool(const VosselFrame&)> SendFunction;
    static const uint64_t Window = 256 * 1024;

    // A song read from `path`, starting at `offset` when that lies within it.
    OutgoingTransfer(const std::wstring& peer, const std::wstring& tid, const std::wstring& path, uint64_t offset,
                     SendFunction send);
    // Bytes held in memory (a library text).
    OutgoingTransfer(const std::wstring& peer, const std::wstring& tid, const std::string& bytes,
                     SendFunction send);
    ~OutgoingTransfer();
    OutgoingTransfer(const OutgoingTransfer&) = delete;
    OutgoingTransfer& operator=(const OutgoingTransfer&) = delete;

    void Start();
    // The receiver has this many bytes of the file.
    void Ack(uint64_t received);
    void Cancel();
    bool IsDone() const { return m_done; }

    const std::wstring peer, tid;

  private:
    void Run();
    bool SendEnd(int status);
    bool WaitForWindow(uint64_t sentUpTo);

    std::wstring m_path;
    std::string m_bytes;
    bool m_fromFile;
    uint64_t m_offset;
    SendFunction m_send;
    std::thread m_thread;
    std::mutex m_lock;
    std::condition_variable m_wake;
    uint64_t m_acked = 0;
    bool m_cancelled = false;
    volatile bool m_done = false;
};
