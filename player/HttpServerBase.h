#pragma once
#include "HttpConnection.h"
#include <string>

class GrowthWait;

// Small HTTP/1.0 server that runs inside the client process: a listen thread,
// a reaper thread that joins finished connection threads, and one thread per
// connection with event-driven reads and writes. What a request means is left
// to the derived class through four hooks.
class HttpServerBase
{
  public:
    // Requests longer than this are refused: a request that never ends must not grow without limit.
    static const size_t kMaxRequest = 64 * 1024;
    // Bytes of a file read and sent in one pass. Every read and send costs a
    // round trip through Wine's server, so passes are large.
    static const DWORD kChunk = 512 * 1024;
    // Connections held at once. Each costs a thread; beyond the cap the
    // oldest idle connection is closed to make room, and when none is idle
    // the new one is refused. A 32-bit process has 2 GB for everything.
    static const int kMaxConnections = 256;

    HttpServerBase();
    virtual ~HttpServerBase();

    virtual void OnAccept(SOCKET socket, const sockaddr_in& peer) = 0;
    virtual bool OnProgress(unsigned long sent, unsigned long total) = 0;
    virtual bool IsRequestComplete(std::string text) = 0;
    virtual bool HandleRequest(HttpConnection* connection, int& keepAlive) = 0;

    // Binds the port (then 81 to 85 when it is taken) and starts the threads.
    bool Start(const std::wstring& documentRoot, const std::string& defaultDocument, int port,
               DWORD keepAliveWait);
    // Ends every thread; true when the listen and reaper threads ended by themselves.
    bool Stop();

    // Asks every connection that streams a growing file to end its stream.
    void StopGrowingStreams();
    // The entry of the calling connection thread, or none.
    ConnectionEntry* FindOwnEntry();

    int GetPort() const { return m_port; }
    bool IsRunning() const { return m_running; }
    const std::wstring& GetDocumentRoot() const { return m_documentRoot; }
    const std::string& GetDefaultDocument() const { return m_defaultDocument; }
    const std::string& GetServerName() const { return m_serverName; }

  protected:
    std::string m_serverName;

  private:
    static unsigned __stdcall ListenThread(void* param);
    static unsigned __stdcall ReaperThread(void* param);
    static unsigned __stdcall ConnectionThread(void* param);

    // A connection thread. Starting a thread costs far more than a request
    // (tens of milliseconds under Wine), so a thread whose connection ended
    // waits a while for the next one before it ends.
    struct Worker
    {
        HttpServerBase* server = nullptr;
        HANDLE thread = nullptr;
        unsigned id = 0;
        HANDLE wake = nullptr;
        HttpConnection* next = nullptr;
        Worker* link = nullptr;
    };
    void RunWorker(Worker* worker);
    bool WaitForWork(Worker* worker);

    void RunListener();
    void RunReaper();
    void RunConnection(HttpConnection* connection);
    void AcceptPending(SOCKET listener, bool all);
    void AcceptConnection(SOCKET socket, const sockaddr_in& peer);
    bool MakeRoom();
    void DrainFinished(DWORD waitEach);
    void EndConnection(HttpConnection* connection);

    bool Respond(HttpConnection* connection, bool& sawRead);
    bool SendAll(HttpConnection* connection, const char* data, DWORD size, bool report, bool& sawRead);
    bool SendError(HttpConnection* connection);
    enum class Wait
    {
        Ready,
        Timeout,
        End
    };
    Wait WaitSocket(HttpConnection* connection, DWORD ms, long wanted, bool& sawRead,
                    GrowthWait* growth = nullptr);

    HANDLE m_listenThread = nullptr;
    unsigned m_listenThreadId = 0;
    HANDLE m_reaperThread = nullptr;
    unsigned m_reaperThreadId = 0;
    WSAEVENT m_stopEvent = WSA_INVALID_EVENT;
    HANDLE m_startedEvent = nullptr;
    ConnectionEntry* m_activeHead = nullptr;
    ConnectionEntry* m_finishedHead = nullptr;
    // Threads waiting for a connection (under the connection lock) and all threads alive.
    Worker* m_idleWorkers = nullptr;
    volatile LONG m_workers = 0;
    CRITICAL_SECTION m_connectionLock;
    CRITICAL_SECTION m_finishedLock;
    volatile LONG m_port = 0;
    DWORD m_keepAliveWait = 10;
    bool m_running = false;
    volatile LONG m_listenReady = 0;
    std::wstring m_documentRoot;
    std::string m_defaultDocument;
};
