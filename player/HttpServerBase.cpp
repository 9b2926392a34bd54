#include "HttpServerBase.h"
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
    HttpConnection* connection = static_cast<HttpConnection*>(param);
    connection->server->RunConnection(connection);
    return kThreadExitCode;
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
        DWORD r = WSAWaitForMultipleEvents(2, events, FALSE, WSA_INFINITE, FALSE);
        if (r != WSA_WAIT_EVENT_0 + 1)
            break;
        WSANETWORKEVENTS network;
        if (WSAEnumNetworkEvents(listener, acceptEvent, &network) != 0)
            break;
        if (network.lNetworkEvents & FD_ACCEPT)
        {
            // Take every pending connection: the accept event fires again only
            // for connections that arrive later.
            for (;;)
            {
                sockaddr_in peer = {};
                int length = sizeof(peer);
                SOCKET s = WSAAccept(listener, reinterpret_cast<sockaddr*>(&peer), &length, nullptr, 0);
                if (s == INVALID_SOCKET)
                    break;
                AcceptConnection(s, peer);
            }
        }
    }
    WSACloseEvent(acceptEvent);
    closesocket(listener);
}

void HttpServerBase::AcceptConnection(SOCKET socket, const sockaddr_in& peer)
{
    OnAccept(socket, peer);
    EnterCriticalSection(&m_connectionLock);
    HttpConnection* connection = new HttpConnection;
    connection->server = this;
    connection->socket = socket;
    memcpy(connection->peer, &peer.sin_addr, 4);
    ConnectionEntry* entry = new ConnectionEntry;
    connection->entry = entry;
    unsigned id = 0;
    // The entry is in the active list before the thread runs, so the thread
    // always finds itself there.
    HANDLE thread = reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, ConnectionThread, connection, CREATE_SUSPENDED, &id));
    if (!thread)
    {
        closesocket(socket);
        delete connection;
        delete entry;
    }
    else
    {
        entry->thread = thread;
        entry->threadId = id;
        entry->next = m_activeHead;
        if (m_activeHead)
            m_activeHead->prev = entry;
        m_activeHead = entry;
        ResumeThread(thread);
    }
    LeaveCriticalSection(&m_connectionLock);
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
        if (WaitForSingleObject(e->thread, waitEach) != WAIT_OBJECT_0)
            TerminateThread(e->thread, kThreadExitCode);
        CloseHandle(e->thread);
        m_finishedHead = e->next;
        delete e;
    }
    LeaveCriticalSection(&m_finishedLock);
}

HttpServerBase::Wait HttpServerBase::WaitSocket(HttpConnection* connection, WSAEVENT event, DWORD ms,
                                                long wanted, bool& sawRead)
{
    WSAEVENT events[2] = {event, m_stopEvent};
    DWORD r = WSAWaitForMultipleEvents(2, events, FALSE, ms, FALSE);
    if (r == WSA_WAIT_TIMEOUT)
        return Wait::Timeout;
    if (r != WSA_WAIT_EVENT_0)
        return Wait::End;
    WSANETWORKEVENTS network;
    if (WSAEnumNetworkEvents(connection->socket, event, &network) != 0)
        return Wait::Timeout;
    if (network.lNetworkEvents & FD_READ)
        sawRead = true;
    if ((network.lNetworkEvents & FD_CLOSE) && !(wanted & FD_CLOSE))
        return Wait::End;
    return (network.lNetworkEvents & wanted) ? Wait::Ready : Wait::Timeout;
}

bool HttpServerBase::SendAll(HttpConnection* connection, WSAEVENT event, const char* data, DWORD size,
                             bool& sawRead)
{
    while (size > 0)
    {
        WSABUF buffer = {size, const_cast<char*>(data)};
        DWORD sent = 0;
        if (WSASend(connection->socket, &buffer, 1, &sent, 0, nullptr, nullptr) == 0)
        {
            connection->totalSent += sent;
            unsigned long headerLength = static_cast<unsigned long>(connection->header.size());
            OnProgress(connection->headerSent ? connection->totalSent - headerLength : 0,
                       connection->contentLength);
            data += sent;
            size -= sent;
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK)
            return false;
        // The send buffer is full: wait for room (the next FD_WRITE), the
        // peer's close, or a stop.
        for (;;)
        {
            if (connection->entry->stop)
                return false;
            Wait w = WaitSocket(connection, event, 100, FD_WRITE, sawRead);
            if (w == Wait::End)
                return false;
            if (w == Wait::Ready)
                break;
            if (w == Wait::Timeout)
                break; // try the send again; it tells whether there is room
        }
    }
    return true;
}

bool HttpServerBase::SendError(HttpConnection* connection, WSAEVENT event)
{
    if (connection->header.empty())
        return false;
    bool sawRead = false;
    connection->headerSent = false;
    connection->contentLength = 0;
    return SendAll(connection, event, connection->header.data(),
                   static_cast<DWORD>(connection->header.size()), sawRead);
}

bool HttpServerBase::Respond(HttpConnection* connection, WSAEVENT event, bool& sawRead)
{
    connection->totalSent = 0;
    connection->headerSent = false;
    ConnectionEntry* entry = connection->entry;

    // A growing cache file may not exist yet: look again every 50 ms until it
    // appears, its stream is stopped, the server stops or the player hangs up.
    FileHandle file;
    for (;;)
    {
        file.h = OpenShared(connection->filePath);
        if (file.h != INVALID_HANDLE_VALUE)
            break;
        if (!entry->growing || entry->stop)
            return false;
        if (WaitSocket(connection, event, 50, 0, sawRead) == Wait::End)
            return false;
    }

    const std::string& header = connection->header;
    if (!SendAll(connection, event, header.data(), static_cast<DWORD>(header.size()), sawRead))
        return false;
    connection->headerSent = true;

    std::unique_ptr<char[]> chunk(new char[kChunk]);
    unsigned long sentBody = 0;
    const unsigned long length = connection->contentLength;
    while (sentBody < length)
    {
        if (entry->stop || WaitForSingleObject(m_stopEvent, 0) == WAIT_OBJECT_0)
            return false;
        DWORD want = length - sentBody < kChunk ? length - sentBody : kChunk;
        OVERLAPPED at = {};
        at.Offset = sentBody;
        DWORD got = 0;
        if (!ReadFile(file.h, chunk.get(), want, &got, &at))
            got = 0;
        if (got == 0)
        {
            // The tail of a growing file: wait 1 ms for the writer. A plain
            // file shorter than announced cannot complete its response.
            if (!entry->growing)
                return false;
            if (WaitSocket(connection, event, 1, 0, sawRead) == Wait::End)
                return false;
            continue;
        }
        if (!SendAll(connection, event, chunk.get(), got, sawRead))
            return false;
        sentBody += got;
    }
    return true;
}

void HttpServerBase::RunConnection(HttpConnection* connection)
{
    WSAEVENT event = WSACreateEvent();
    if (event == WSA_INVALID_EVENT ||
        WSAEventSelect(connection->socket, event, FD_READ | FD_WRITE | FD_CLOSE) != 0)
    {
        EndConnection(connection, event);
        return;
    }
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    bool readPending = false;
    for (;;)
    {
        long events = FD_READ;
        if (!readPending)
        {
            WSAEVENT waits[2] = {event, m_stopEvent};
            DWORD r = WSAWaitForMultipleEvents(2, waits, FALSE,
                                               m_keepAliveWait ? m_keepAliveWait : WSA_INFINITE, FALSE);
            if (r != WSA_WAIT_EVENT_0)
                break;
            WSANETWORKEVENTS network;
            if (WSAEnumNetworkEvents(connection->socket, event, &network) != 0)
                continue;
            events = network.lNetworkEvents;
        }
        readPending = false;
        if (events & FD_READ)
        {
            int n = recv(connection->socket, buffer.get(), kChunk, 0);
            if (n == 0 || (n < 0 && WSAGetLastError() != WSAEWOULDBLOCK))
                break;
            if (n > 0)
                connection->request.append(buffer.get(), n);
            if (connection->request.size() > kMaxRequest)
            {
                connection->header =
                    "HTTP/1.0 400 Bad Request\r\nContent-Length: 0\r\nServer: " + m_serverName +
                    "\r\nConnection: close\r\n\r\n";
                SendError(connection, event);
                break;
            }
            if (n > 0 && IsRequestComplete(connection->request))
            {
                int keepAlive = 0;
                connection->header.clear();
                connection->contentLength = 0;
                if (!HandleRequest(connection, keepAlive))
                {
                    // The peer learns why its request was refused.
                    SendError(connection, event);
                    break;
                }
                bool sawRead = false;
                if (!Respond(connection, event, sawRead))
                    break;
                if (!keepAlive)
                    break;
                connection->request.clear();
                readPending = sawRead;
                continue;
            }
        }
        if (events & FD_CLOSE)
            break;
    }
    EndConnection(connection, event);
}

void HttpServerBase::EndConnection(HttpConnection* connection, WSAEVENT event)
{
    if (event != WSA_INVALID_EVENT)
        WSACloseEvent(event);
    // A graceful close lets the last bytes of a response reach the peer.
    shutdown(connection->socket, SD_SEND);
    closesocket(connection->socket);
    ConnectionEntry* entry = connection->entry;
    EnterCriticalSection(&m_connectionLock);
    delete connection;
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
