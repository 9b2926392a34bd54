#include "HttpServerBase.h"
#include "GrowthWait.h"
#include <ws2tcpip.h>
#include <process.h>
#include <memory>

namespace
{
const unsigned kThreadExitCode = 0x1234;
const DWORD kStartWait = 30000;
const DWORD kStopWait = 1000;
// Connections see the stop event in every wait and between send passes, so
// they end quickly; this only bounds the wait for one that does not.
const DWORD kDrainWait = 5000;
// The listener looks for waiting connections at least this often, so that an
// accept event that never comes cannot leave them in the backlog.
const DWORD kAcceptRetry = 100;
// Connection threads need little stack: their buffers live on the heap.
const unsigned kConnectionStack = 256 * 1024;
// How long a connection thread without a connection waits for the next one.
const DWORD kWorkerIdle = 30000;
const DWORD kReceiveChunk = 16 * 1024;

// Closes a file handle when the response ends.
struct FileHandle
{
    HANDLE h = INVALID_HANDLE_VALUE;
    ~FileHandle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

HANDLE OpenShared(const std::wstring& path)
{
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}
} // namespace

HttpServerBase::HttpServerBase() : m_serverName("YebWeb/0.1b")
{
    InitializeCriticalSection(&m_connectionLock);
    InitializeCriticalSection(&m_finishedLock);
}

HttpServerBase::~HttpServerBase()
{
    DeleteCriticalSection(&m_finishedLock);
    DeleteCriticalSection(&m_connectionLock);
}

bool HttpServerBase::Start(const std::wstring& documentRoot, const std::string& defaultDocument, int port,
                           DWORD keepAliveWait)
{
    m_documentRoot = documentRoot;
    if (m_documentRoot.empty() || m_documentRoot.back() != L'\\')
        m_documentRoot += L'\\';
    m_defaultDocument = defaultDocument;
    if (m_running)
        return false;
    m_port = port;
    m_keepAliveWait = keepAliveWait;

    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return false;
    if (wsa.wVersion != MAKEWORD(2, 2))
    {
        WSACleanup();
        return false;
    }
    m_stopEvent = WSACreateEvent();
    m_startedEvent = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    ResetEvent(m_startedEvent);

    auto fail = [this](bool stopThreads) {
        if (stopThreads)
        {
            WSASetEvent(m_stopEvent);
            for (HANDLE* h : {&m_listenThread, &m_reaperThread})
            {
                if (*h)
                {
                    if (WaitForSingleObject(*h, kStopWait) != WAIT_OBJECT_0)
                        TerminateThread(*h, kThreadExitCode);
                    CloseHandle(*h);
                    *h = nullptr;
                }
            }
        }
        CloseHandle(m_startedEvent);
        m_startedEvent = nullptr;
        WSACloseEvent(m_stopEvent);
        m_stopEvent = WSA_INVALID_EVENT;
        WSACleanup();
        return false;
    };

    // The listen thread reports its outcome at once, also a failed bind, so a
    // start that cannot listen returns without waiting out the time limit.
    m_listenReady = 0;
    m_listenThread =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ListenThread, this, 0, &m_listenThreadId));
    if (!m_listenThread)
        return fail(false);
    if (WaitForSingleObject(m_startedEvent, kStartWait) != WAIT_OBJECT_0 || !m_listenReady)
        return fail(true);

    ResetEvent(m_startedEvent);
    m_reaperThread =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ReaperThread, this, 0, &m_reaperThreadId));
    if (!m_reaperThread || WaitForSingleObject(m_startedEvent, kStartWait) != WAIT_OBJECT_0)
        return fail(true);
    CloseHandle(m_startedEvent);
    m_startedEvent = nullptr;
    m_running = true;
    return true;
}

bool HttpServerBase::Stop()
{
    if (!m_running)
        return false;
    StopGrowingStreams();
    WSASetEvent(m_stopEvent);

    bool clean = true;
    HANDLE threads[2] = {m_listenThread, m_reaperThread};
    if (WaitForMultipleObjects(2, threads, TRUE, kStopWait) != WAIT_OBJECT_0)
    {
        TerminateThread(m_listenThread, kThreadExitCode);
        TerminateThread(m_reaperThread, kThreadExitCode);
        clean = false;
    }
    CloseHandle(m_listenThread);
    CloseHandle(m_reaperThread);
    m_listenThread = m_reaperThread = nullptr;

    DWORD begin = GetTickCount();
    for (;;)
    {
        EnterCriticalSection(&m_connectionLock);
        bool empty = m_activeHead == nullptr;
        if (!empty && GetTickCount() - begin > kDrainWait)
        {
            // A connection that ignores the stop: end its thread so that the
            // server can go; its connection record is lost.
            while (ConnectionEntry* e = m_activeHead)
            {
                TerminateThread(e->thread, kThreadExitCode);
                e->ownsThread = true;
                InterlockedDecrement(&m_workers);
                m_activeHead = e->next;
                EnterCriticalSection(&m_finishedLock);
                e->prev = nullptr;
                e->next = m_finishedHead;
                m_finishedHead = e;
                LeaveCriticalSection(&m_finishedLock);
            }
            empty = true;
        }
        LeaveCriticalSection(&m_connectionLock);
        if (empty)
            break;
        Sleep(1);
    }
    // Threads without a connection saw the stop too and leave their records.
    begin = GetTickCount();
    while (m_workers > 0 && GetTickCount() - begin < kDrainWait)
        Sleep(1);
    DrainFinished(kStopWait);
    WSACloseEvent(m_stopEvent);
    m_stopEvent = WSA_INVALID_EVENT;
    WSACleanup();
    m_running = false;
    return clean;
}

void HttpServerBase::StopGrowingStreams()
{
    EnterCriticalSection(&m_connectionLock);
    for (ConnectionEntry* e = m_activeHead; e; e = e->next)
    {
        if (e->growing == 1)
            InterlockedExchange(&e->stop, 1);
    }
    LeaveCriticalSection(&m_connectionLock);
}

ConnectionEntry* HttpServerBase::FindOwnEntry()
{
    DWORD id = GetCurrentThreadId();
    EnterCriticalSection(&m_connectionLock);
    ConnectionEntry* e = m_activeHead;
    while (e && e->threadId != id)
        e = e->next;
    LeaveCriticalSection(&m_connectionLock);
    return e;
}

unsigned __stdcall HttpServerBase::ListenThread(void* param)
{
    static_cast<HttpServerBase*>(param)->RunListener();
    return kThreadExitCode;
}

unsigned __stdcall HttpServerBase::ReaperThread(void* param)
{
    static_cast<HttpServerBase*>(param)->RunReaper();
    return kThreadExitCode;
}

unsigned __stdcall HttpServerBase::ConnectionThread(void* param)
{
    Worker* worker = static_cast<Worker*>(param);
    worker->server->RunWorker(worker);
    return kThreadExitCode;
}

void HttpServerBase::RunWorker(Worker* worker)
{
    do
    {
        EnterCriticalSection(&m_connectionLock);
        HttpConnection* connection = worker->next;
        worker->next = nullptr;
        LeaveCriticalSection(&m_connectionLock);
        if (connection)
            RunConnection(connection);
        EnterCriticalSection(&m_connectionLock);
        worker->link = m_idleWorkers;
        m_idleWorkers = worker;
        LeaveCriticalSection(&m_connectionLock);
    } while (WaitForWork(worker));

    // The reaper joins the thread through the record it leaves.
    ConnectionEntry* last = new ConnectionEntry;
    last->thread = worker->thread;
    last->threadId = worker->id;
    last->ownsThread = true;
    EnterCriticalSection(&m_finishedLock);
    last->next = m_finishedHead;
    m_finishedHead = last;
    LeaveCriticalSection(&m_finishedLock);
    CloseHandle(worker->wake);
    delete worker;
    InterlockedDecrement(&m_workers);
}

bool HttpServerBase::WaitForWork(Worker* worker)
{
    // On the idle list: wait until the accept handler hands over a
    // connection; a stop or a long idle spell ends the thread.
    for (;;)
    {
        HANDLE waits[2] = {worker->wake, m_stopEvent};
        DWORD r = WaitForMultipleObjects(2, waits, FALSE, kWorkerIdle);
        EnterCriticalSection(&m_connectionLock);
        bool handed = worker->next != nullptr;
        if (!handed && r != WAIT_OBJECT_0)
        {
            for (Worker** at = &m_idleWorkers; *at; at = &(*at)->link)
            {
                if (*at == worker)
                {
                    *at = worker->link;
                    break;
                }
            }
        }
        LeaveCriticalSection(&m_connectionLock);
        if (handed)
            return true;
        if (r != WAIT_OBJECT_0)
            return false;
    }
}

void HttpServerBase::RunListener()
{
    SOCKET listener = WSASocketW(AF_INET, SOCK_STREAM, 0, nullptr, 0, WSA_FLAG_OVERLAPPED);
    if (listener == INVALID_SOCKET)
    {
        m_port = -1;
        SetEvent(m_startedEvent);
        return;
    }
    // Another program's socket on the same port must make the bind fail, so
    // that the next port is tried.
    BOOL exclusive = TRUE;
    setsockopt(listener, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
               sizeof(exclusive));

    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    int port = m_port;
    bool bound = false;
    for (int attempt = 0; attempt < 6 && !bound; ++attempt)
    {
        if (attempt > 0)
            port = 80 + attempt;
        address.sin_port = htons(static_cast<u_short>(port));
        bound = bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    }
    WSAEVENT acceptEvent = WSA_INVALID_EVENT;
    bool ready = bound && listen(listener, SOMAXCONN) == 0;
    if (ready)
    {
        acceptEvent = WSACreateEvent();
        ready = acceptEvent != WSA_INVALID_EVENT && WSAEventSelect(listener, acceptEvent, FD_ACCEPT) == 0;
    }
    m_port = bound ? port : -1;
    if (!ready)
    {
        if (acceptEvent != WSA_INVALID_EVENT)
            WSACloseEvent(acceptEvent);
        closesocket(listener);
        SetEvent(m_startedEvent);
        return;
    }
    m_listenReady = 1;
    SetEvent(m_startedEvent);

    WSAEVENT events[2] = {m_stopEvent, acceptEvent};
    for (;;)
    {
        DWORD r = WSAWaitForMultipleEvents(2, events, FALSE, kAcceptRetry, FALSE);
        if (r == WSA_WAIT_EVENT_0 + 1)
        {
            // One connection per accept event: the accept re-enables the
            // event, which fires again while more connections wait.
            WSANETWORKEVENTS network;
            if (WSAEnumNetworkEvents(listener, acceptEvent, &network) != 0)
                break;
            AcceptPending(listener, false);
        }
        else if (r == WSA_WAIT_TIMEOUT)
        {
            // An accept event can be lost (an accept that would block
            // re-enables it only for later arrivals): take whatever waits.
            AcceptPending(listener, true);
        }
        else
            break;
    }
    WSACloseEvent(acceptEvent);
    closesocket(listener);
}

void HttpServerBase::AcceptPending(SOCKET listener, bool all)
{
    do
    {
        sockaddr_in peer = {};
        int length = sizeof(peer);
        SOCKET s = WSAAccept(listener, reinterpret_cast<sockaddr*>(&peer), &length, nullptr, 0);
        if (s == INVALID_SOCKET)
            return;
        AcceptConnection(s, peer);
    } while (all);
}

void HttpServerBase::AcceptConnection(SOCKET socket, const sockaddr_in& peer)
{
    OnAccept(socket, peer);
    // Responses go out as they are written: with Nagle's rule the last small
    // piece of a response would wait for the peer's delayed acknowledgement.
    BOOL noDelay = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof(noDelay));
    WSAEVENT event = WSACreateEvent();
    if (event == WSA_INVALID_EVENT || WSAEventSelect(socket, event, FD_READ | FD_WRITE | FD_CLOSE) != 0)
    {
        if (event != WSA_INVALID_EVENT)
            WSACloseEvent(event);
        closesocket(socket);
        return;
    }
    EnterCriticalSection(&m_connectionLock);
    HANDLE thread = nullptr;
    if (MakeRoom())
    {
        HttpConnection* connection = new HttpConnection;
        connection->server = this;
        connection->socket = socket;
        memcpy(connection->peer, &peer.sin_addr, 4);
        ConnectionEntry* entry = new ConnectionEntry;
        entry->event = event;
        entry->idleSince = GetTickCount();
        connection->entry = entry;
        // A waiting thread takes the connection, or a new one is started.
        // The entry is in the active list before the thread serves it, so
        // the thread always finds itself there.
        Worker* worker = m_idleWorkers;
        bool fresh = worker == nullptr;
        if (worker)
            m_idleWorkers = worker->link;
        else
        {
            worker = new Worker;
            worker->server = this;
            worker->wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
            worker->thread = worker->wake ? reinterpret_cast<HANDLE>(_beginthreadex(
                                                nullptr, kConnectionStack, ConnectionThread, worker,
                                                CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION, &worker->id))
                                          : nullptr;
            if (!worker->thread)
            {
                if (worker->wake)
                    CloseHandle(worker->wake);
                delete worker;
                worker = nullptr;
            }
            else
                InterlockedIncrement(&m_workers);
        }
        if (worker)
        {
            thread = worker->thread;
            entry->thread = worker->thread;
            entry->threadId = worker->id;
            entry->next = m_activeHead;
            if (m_activeHead)
                m_activeHead->prev = entry;
            m_activeHead = entry;
            worker->next = connection;
            if (fresh)
                ResumeThread(worker->thread);
            else
                SetEvent(worker->wake);
        }
        else
        {
            delete connection;
            delete entry;
        }
    }
    LeaveCriticalSection(&m_connectionLock);
    if (!thread)
    {
        WSACloseEvent(event);
        closesocket(socket);
    }
}

bool HttpServerBase::MakeRoom()
{
    // Under the connection lock. Idle connections (waiting for a request,
    // also those that send theirs slowly) are closed oldest first; one that
    // is sending a response is never cut off.
    int open = 0;
    ConnectionEntry* oldest = nullptr;
    DWORD now = GetTickCount();
    for (ConnectionEntry* e = m_activeHead; e; e = e->next)
    {
        if (e->close)
            continue;
        ++open;
        if (!e->busy && (!oldest || now - e->idleSince > now - oldest->idleSince))
            oldest = e;
    }
    if (open < kMaxConnections)
        return true;
    if (!oldest)
        return false;
    oldest->close = 1;
    WSASetEvent(oldest->event);
    return true;
}

void HttpServerBase::RunReaper()
{
    SetEvent(m_startedEvent);
    while (WaitForSingleObject(m_stopEvent, 100) == WAIT_TIMEOUT)
        DrainFinished(kStopWait);
}

void HttpServerBase::DrainFinished(DWORD waitEach)
{
    EnterCriticalSection(&m_finishedLock);
    while (ConnectionEntry* e = m_finishedHead)
    {
        if (e->ownsThread)
        {
            if (WaitForSingleObject(e->thread, waitEach) != WAIT_OBJECT_0)
                TerminateThread(e->thread, kThreadExitCode);
            CloseHandle(e->thread);
        }
        m_finishedHead = e->next;
        delete e;
    }
    LeaveCriticalSection(&m_finishedLock);
}

HttpServerBase::Wait HttpServerBase::WaitSocket(HttpConnection* connection, DWORD ms, long wanted,
                                                bool& sawRead, GrowthWait* growth)
{
    HANDLE change = growth ? growth->Handle() : nullptr;
    WSAEVENT events[3] = {connection->entry->event, m_stopEvent, change};
    DWORD r = WSAWaitForMultipleEvents(change ? 3 : 2, events, FALSE, ms, FALSE);
    if (r == WSA_WAIT_TIMEOUT)
        return Wait::Timeout;
    if (r == WSA_WAIT_EVENT_0 + 2 && growth)
    {
        growth->Rearm();
        return Wait::Timeout;
    }
    if (r != WSA_WAIT_EVENT_0 || connection->entry->close)
        return Wait::End;
    WSANETWORKEVENTS network;
    if (WSAEnumNetworkEvents(connection->socket, connection->entry->event, &network) != 0)
        return Wait::Timeout;
    if (network.lNetworkEvents & FD_READ)
        sawRead = true;
    if ((network.lNetworkEvents & FD_CLOSE) && !(wanted & FD_CLOSE))
        return Wait::End;
    return (network.lNetworkEvents & wanted) ? Wait::Ready : Wait::Timeout;
}

bool HttpServerBase::SendAll(HttpConnection* connection, const char* data, DWORD size, bool report,
                             bool& sawRead)
{
    const unsigned long headerLength = static_cast<unsigned long>(connection->header.size());
    while (size > 0)
    {
        WSABUF buffer = {size, const_cast<char*>(data)};
        DWORD sent = 0;
        if (WSASend(connection->socket, &buffer, 1, &sent, 0, nullptr, nullptr) == 0)
        {
            connection->totalSent += sent;
            if (report)
            {
                unsigned long total = connection->totalSent;
                OnProgress(total > headerLength ? total - headerLength : 0, connection->contentLength);
            }
            data += sent;
            size -= sent;
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK)
            return false;
        // The send buffer is full: wait for room (the next FD_WRITE), the
        // peer's close, or a stop; after a quiet spell the send is simply
        // tried again, which tells whether there is room.
        if (connection->entry->stop || WaitSocket(connection, 100, FD_WRITE, sawRead) == Wait::End)
            return false;
    }
    return true;
}

bool HttpServerBase::SendError(HttpConnection* connection)
{
    if (connection->header.empty())
        return false;
    bool sawRead = false;
    connection->totalSent = 0;
    return SendAll(connection, connection->header.data(), static_cast<DWORD>(connection->header.size()), false,
                   sawRead);
}

bool HttpServerBase::Respond(HttpConnection* connection, bool& sawRead)
{
    connection->totalSent = 0;
    connection->headerSent = false;
    ConnectionEntry* entry = connection->entry;
    GrowthWait growth(connection->filePath);

    // A growing cache file may not exist yet: wait until it appears, its
    // stream is stopped, the server stops or the player hangs up.
    FileHandle file;
    for (;;)
    {
        file.h = OpenShared(connection->filePath);
        if (file.h != INVALID_HANDLE_VALUE)
            break;
        if (!entry->growing || entry->stop)
            return false;
        if (WaitSocket(connection, growth.NextPause(), 0, sawRead, &growth) == Wait::End)
            return false;
    }
    growth.Reset();

    // The header travels in the same send as the first piece of the body: a
    // peer that delays its acknowledgements would otherwise hold the body back.
    const std::string& header = connection->header;
    const size_t headerLength = header.size();
    const unsigned long length = connection->contentLength;
    // A small file gets a small buffer: a large block is a fresh mapping of
    // memory every time.
    std::unique_ptr<char[]> buffer(new char[headerLength + (length < kChunk ? length : kChunk)]);
    unsigned long sentBody = 0;
    while (sentBody < length || !connection->headerSent)
    {
        if (entry->stop || WaitForSingleObject(m_stopEvent, 0) == WAIT_OBJECT_0)
            return false;
        size_t at = 0;
        if (!connection->headerSent)
        {
            memcpy(buffer.get(), header.data(), headerLength);
            at = headerLength;
        }
        DWORD want = length - sentBody < kChunk ? length - sentBody : kChunk;
        DWORD got = 0;
        if (want > 0)
        {
            OVERLAPPED offset = {};
            offset.Offset = connection->bodyOffset + sentBody;
            if (!ReadFile(file.h, buffer.get() + at, want, &got, &offset))
                got = 0;
        }
        if (got == 0 && want > 0)
        {
            // A plain file shorter than announced cannot complete its response.
            if (!entry->growing)
                return false;
            // The tail of a growing file: the header goes out at once, the
            // body as the writer appends it.
            if (connection->headerSent)
            {
                if (WaitSocket(connection, growth.NextPause(), 0, sawRead, &growth) == Wait::End)
                    return false;
                continue;
            }
        }
        else
            growth.Reset();
        if (!SendAll(connection, buffer.get(), static_cast<DWORD>(at + got), true, sawRead))
            return false;
        connection->headerSent = true;
        sentBody += got;
    }
    return true;
}

void HttpServerBase::RunConnection(HttpConnection* connection)
{
    ConnectionEntry* entry = connection->entry;
    std::unique_ptr<char[]> buffer(new char[kReceiveChunk]);
    bool readPending = false;
    for (;;)
    {
        long events = FD_READ;
        if (!readPending)
        {
            WSAEVENT waits[2] = {entry->event, m_stopEvent};
            DWORD r = WSAWaitForMultipleEvents(2, waits, FALSE,
                                               m_keepAliveWait ? m_keepAliveWait : WSA_INFINITE, FALSE);
            // A set close flag: the listen thread needed the room for a newer connection.
            if (r != WSA_WAIT_EVENT_0 || entry->close)
                break;
            WSANETWORKEVENTS network;
            if (WSAEnumNetworkEvents(connection->socket, entry->event, &network) != 0)
                continue;
            events = network.lNetworkEvents;
        }
        readPending = false;
        if (events & FD_READ)
        {
            int n = recv(connection->socket, buffer.get(), kReceiveChunk, 0);
            if (n == 0 || (n < 0 && WSAGetLastError() != WSAEWOULDBLOCK))
                break;
            if (n > 0)
                connection->request.append(buffer.get(), n);
            if (connection->request.size() > kMaxRequest)
            {
                connection->header =
                    "HTTP/1.0 400 Bad Request\r\nContent-Length: 0\r\nServer: " + m_serverName +
                    "\r\nConnection: close\r\n\r\n";
                SendError(connection);
                break;
            }
            if (n > 0 && IsRequestComplete(connection->request))
            {
                int keepAlive = 0;
                connection->header.clear();
                connection->contentLength = 0;
                connection->bodyOffset = 0;
                entry->busy = 1;
                if (!HandleRequest(connection, keepAlive))
                {
                    // The peer learns why its request was refused.
                    SendError(connection);
                    break;
                }
                bool sawRead = false;
                bool sent = Respond(connection, sawRead);
                entry->idleSince = GetTickCount();
                entry->busy = 0;
                if (!sent || !keepAlive)
                    break;
                connection->request.clear();
                readPending = sawRead;
                continue;
            }
        }
        if (events & FD_CLOSE)
            break;
    }
    EndConnection(connection);
}

void HttpServerBase::EndConnection(HttpConnection* connection)
{
    ConnectionEntry* entry = connection->entry;
    // The listen thread may signal the event of an active entry: take it out
    // of its reach before it is closed.
    EnterCriticalSection(&m_connectionLock);
    WSAEVENT event = entry->event;
    entry->event = WSA_INVALID_EVENT;
    entry->close = 1;
    LeaveCriticalSection(&m_connectionLock);
    if (event != WSA_INVALID_EVENT)
        WSACloseEvent(event);
    // A graceful close lets the last bytes of a response reach the peer.
    shutdown(connection->socket, SD_SEND);
    closesocket(connection->socket);
    delete connection;

    EnterCriticalSection(&m_connectionLock);
    if (entry->prev)
        entry->prev->next = entry->next;
    else
        m_activeHead = entry->next;
    if (entry->next)
        entry->next->prev = entry->prev;
    EnterCriticalSection(&m_finishedLock);
    entry->prev = nullptr;
    entry->next = m_finishedHead;
    m_finishedHead = entry;
    LeaveCriticalSection(&m_finishedLock);
    LeaveCriticalSection(&m_connectionLock);
}
