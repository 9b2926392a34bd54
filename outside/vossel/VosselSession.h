#pragma once
// One login of the library: the connection to the messaging server, the
// thread that reads it and calls the client's callback, and the song and
// library transfers that run over it.
#include <winsock2.h>
#include "IncomingTransfer.h"
#include "OutgoingTransfer.h"
#include "Vossel.h"
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class VosselSession
{
  public:
    VosselSession(const std::wstring& host, unsigned short port, const std::wstring& user,
                  const std::wstring& password, YebJinCommandCallback callback);
    ~VosselSession();
    VosselSession(const VosselSession&) = delete;
    VosselSession& operator=(const VosselSession&) = delete;

    void Start();
    // 0 when the frame went out, -1 when there is no connection.
    int Send(const VosselFrame& frame);
    int PushCommand(const CommandData& record);
    void CancelSongTransfer();
    // Stops the connection; no callback runs once the reading thread is joined.
    void Release();
    // Waits for the reading thread (not from that thread itself).
    void Join();
    bool IsOwnThread() const { return std::this_thread::get_id() == m_reader.get_id(); }

  private:
    void Run();
    bool Connect();
    void HandleFrame(const VosselFrame& frame);
    void HandleCommand(const VosselFrame& frame);
    void HandleFileRequest(const VosselFrame& frame);
    // FileBegin or FileData of an incoming transfer.
    void HandleFilePiece(const VosselFrame& frame);
    void HandleFileEnd(const VosselFrame& frame);
    void HandleFileAck(const VosselFrame& frame, bool cancel);

    void StartIncoming(int kind, const std::wstring& owner, const std::wstring& songId, const std::wstring& hash);
    // Ends the transfer in `slot`: tells the owner to stop when asked, and
    // queues the command that tells the client why (code 0: none).
    void DropIncoming(std::unique_ptr<IncomingTransfer>& slot, bool tellOwner, int why);
    std::unique_ptr<IncomingTransfer>* FindIncoming(const std::wstring& owner, const std::wstring& tid);
    void ReportProgress(IncomingTransfer& t);
    void CheckStalls();
    void StopOutgoing();

    void Queue(int code, const std::wstring& s1, const std::wstring& s3, const std::wstring& s4,
               const std::wstring& s5);
    void DeliverQueued();
    void Deliver(CommandData& record);

    std::wstring m_host, m_user, m_password;
    unsigned short m_port;
    YebJinCommandCallback m_callback;

    SOCKET m_socket = INVALID_SOCKET;
    std::mutex m_sendLock;
    std::thread m_reader;
    std::atomic<bool> m_released{false};
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_broken{false}; // a send failed: the connection is ending
    bool m_ended = false; // a final error (wrong password, logged in elsewhere) was delivered

    std::mutex m_stateLock; // guards everything below
    std::unique_ptr<IncomingTransfer> m_song, m_library;
    std::vector<std::unique_ptr<OutgoingTransfer>> m_outgoing;
    std::map<std::wstring, std::wstring> m_pushedPaths; // song id -> local path of songs this user pushed
    std::deque<CommandData> m_queued;                     // commands for the client from other threads
    unsigned m_nextTid = 1;
};
