#include "VosselSession.h"
#include "VosselLibraryFile.h"
#include "VosselPaths.h"
#include <ws2tcpip.h>

namespace
{
// A song transfer that moves no byte for this long has lost its owner.
const DWORD SongStallMs = 20000;
const DWORD LibraryStallMs = 30000;
// A send that the server does not take within this time ends the connection.
const DWORD SendWaitMs = 10000;
// The library text of a user who has none yet: an empty song library.
const char EmptyLibrary[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<UR>\r\n  <MD/>\r\n  <PS/>\r\n</UR>\r\n";

uint64_t ToNumber(const std::wstring& text)
{
    uint64_t v = 0;
    for (wchar_t c : text)
    {
        if (c < L'0' || c > L'9' || v > (UINT64_MAX - 9) / 10)
            return UINT64_MAX; // never a valid size or offset
        v = v * 10 + (c - L'0');
    }
    return text.empty() ? UINT64_MAX : v;
}

std::wstring Fraction(int perCent)
{
    wchar_t buf[16];
    swprintf(buf, 16, L"%d.%02d", perCent / 100, perCent % 100);
    return buf;
}

void SetSlot(CommandText& slot, const VosselFrame& frame, size_t i)
{
    slot = frame.Text(i).c_str();
}
} // namespace

VosselSession::VosselSession(const std::wstring& host, unsigned short port, const std::wstring& user,
                             const std::wstring& password, YebJinCommandCallback callback)
    : m_host(host), m_user(user), m_password(password), m_port(port), m_callback(callback)
{
}

VosselSession::~VosselSession()
{
    Release();
    Join();
    std::lock_guard<std::mutex> hold(m_stateLock);
    m_song.reset();
    m_library.reset();
}

void VosselSession::Start()
{
    m_reader = std::thread(&VosselSession::Run, this);
}

void VosselSession::Join()
{
    if (m_reader.joinable() && !IsOwnThread())
        m_reader.join();
}

void VosselSession::Release()
{
    if (m_released.exchange(true))
        return;
    if (m_connected)
        Send(VosselFrame(FrameBye));
    std::lock_guard<std::mutex> hold(m_sendLock);
    if (m_socket != INVALID_SOCKET)
        ::shutdown(m_socket, SD_BOTH);
}

bool VosselSession::Connect()
{
    addrinfoW hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfoW* found = nullptr;
    std::wstring port = std::to_wstring(m_port);
    if (::GetAddrInfoW(m_host.c_str(), port.c_str(), &hints, &found) != 0 || !found)
        return false;
    SOCKET s = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    bool ok = s != INVALID_SOCKET && ::connect(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) == 0;
    ::FreeAddrInfoW(found);
    if (!ok)
    {
        if (s != INVALID_SOCKET)
            ::closesocket(s);
        return false;
    }
    int on = 1;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof(on));
    DWORD sendWait = SendWaitMs;
    ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendWait), sizeof(sendWait));
    std::lock_guard<std::mutex> hold(m_sendLock);
    m_socket = s;
    if (m_released)
        ::shutdown(s, SD_BOTH);
    return true;
}

int VosselSession::Send(const VosselFrame& frame)
{
    std::string bytes = frame.Encode();
    std::lock_guard<std::mutex> hold(m_sendLock);
    if (m_socket == INVALID_SOCKET || !m_connected)
        return -1;
    size_t done = 0;
    while (done < bytes.size())
    {
        int n = ::send(m_socket, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
        if (n <= 0)
        {
            // A server that takes nothing for the send time-out is gone: the
            // connection ends and the client hears of it.
            m_broken = true;
            ::shutdown(m_socket, SD_BOTH);
            return -1;
        }
        done += n;
    }
    return 0;
}

void VosselSession::Run()
{
    bool connected = Connect();
    if (connected)
    {
        m_connected = true;
        Send(VosselFrame(FrameLogin).Add(m_user).Add(m_password));
        VosselFrameReader reader;
        std::vector<char> buf(64 * 1024);
        while (!m_released && !m_ended && !m_broken)
        {
            DeliverQueued();
            CheckStalls();
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(m_socket, &readable);
            timeval wait = {0, 100 * 1000};
            int ready = ::select(0, &readable, nullptr, nullptr, &wait);
            if (ready < 0)
                break;
            if (ready == 0)
                continue;
            int n = ::recv(m_socket, buf.data(), static_cast<int>(buf.size()), 0);
            if (n <= 0)
                break;
            reader.Append(buf.data(), n);
            VosselFrame frame;
            int got = 0;
            while (!m_ended && (got = reader.Next(frame)) == 1)
                HandleFrame(frame);
            if (got < 0)
                break; // a broken stream cannot be trusted any further
        }
        DeliverQueued();
    }
    m_connected = false;
    StopOutgoing();
    {
        std::lock_guard<std::mutex> hold(m_stateLock);
        if (m_song)
            m_song->Abort();
        if (m_library)
            m_library->Abort();
        m_song.reset();
        m_library.reset();
    }
    if (!m_ended)
    {
        CommandData closed;
        closed.code = 25;
        closed.s4 = L"CONNECTION_CLOSED";
        Deliver(closed);
    }
    std::lock_guard<std::mutex> hold(m_sendLock);
    if (m_socket != INVALID_SOCKET)
        ::closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

void VosselSession::Deliver(CommandData& record)
{
    if (!m_released && m_callback)
        m_callback(&record);
}

void VosselSession::Queue(int code, const std::wstring& s1, const std::wstring& s3, const std::wstring& s4,
                          const std::wstring& s5)
{
    CommandData record;
    record.code = code;
    record.s1 = s1.c_str();
    record.s3 = s3.c_str();
    record.s4 = s4.c_str();
    record.s5 = s5.c_str();
    m_queued.push_back(record);
}

void VosselSession::DeliverQueued()
{
    for (;;)
    {
        CommandData record;
        {
            std::lock_guard<std::mutex> hold(m_stateLock);
            if (m_queued.empty())
                return;
            record = m_queued.front();
            m_queued.pop_front();
        }
        Deliver(record);
    }
}

void VosselSession::HandleFrame(const VosselFrame& frame)
{
    switch (frame.kind)
    {
    case FrameCommand:
        HandleCommand(frame);
        break;
    case FrameFileRequest:
        HandleFileRequest(frame);
        break;
    case FrameFileBegin:
    case FrameFileData:
        HandleFilePiece(frame);
        break;
    case FrameFileEnd:
        HandleFileEnd(frame);
        break;
    case FrameFileAck:
        HandleFileAck(frame, false);
        break;
    case FrameFileCancel:
        HandleFileAck(frame, true);
        break;
    default:
        break; // unknown kinds come from newer servers; they carry nothing for us
    }
    DeliverQueued();
}

void VosselSession::HandleCommand(const VosselFrame& frame)
{
    CommandData record;
    record.code = frame.code;
    record.extra = frame.extra;
    CommandText* slots[] = {&record.s1, &record.s2, &record.s3, &record.s4,
                            &record.s5, &record.s6, &record.s7, &record.s8};
    for (size_t i = 0; i < 8; ++i)
        SetSlot(*slots[i], frame, i);
    // A refused login or a login elsewhere ends the session; no
    // connection-closed report follows it.
    if (record.code == 25 && (frame.Text(3) == L"UNAUTHORIZED" || frame.Text(3) == L"CONFLICT"))
        m_ended = true;
    Deliver(record);
}

int VosselSession::PushCommand(const CommandData& record)
{
    if (!m_connected)
        return -1;
    switch (record.code)
    {
    case 28: // request a buddy's song into the cache
        StartIncoming(FileKindSong, record.s1.m_str, record.s5.m_str, record.s3.m_str);
        return 0;
    case 44: // open a buddy's library
        StartIncoming(FileKindLibrary, record.s1.m_str, std::wstring(), std::wstring());
        return 0;
    case 31: // stop receiving a buddy's song
    case 46: // leave a buddy's library
    {
        std::lock_guard<std::mutex> hold(m_stateLock);
        std::unique_ptr<IncomingTransfer>& slot = record.code == 31 ? m_song : m_library;
        std::wstring song = record.s5.IsEmpty() ? record.s3.m_str : record.s5.m_str;
        if (slot && slot->owner == record.s1.m_str && (record.code == 46 || song.empty() || slot->songId == song))
            DropIncoming(slot, true, 0);
        return 0;
    }
    case 12: // remember the path of a pushed song, which the buddy may ask for
    {
        std::wstring detail = record.s4.m_str;
        size_t mark = detail.find(L"??");
        if (mark != std::wstring::npos && mark + 2 < detail.size() && !record.s8.IsEmpty())
        {
            std::lock_guard<std::mutex> hold(m_stateLock);
            m_pushedPaths[record.s8.m_str] = detail.substr(mark + 2);
        }
        break;
    }
    default:
        break;
    }
    VosselFrame frame(FrameCommand, record.code, record.extra);
    for (const CommandText* slot : {&record.s1, &record.s2, &record.s3, &record.s4, &record.s5, &record.s6,
                                    &record.s7, &record.s8})
        frame.fields.push_back(VosselFrame::ToWire(std::wstring(slot->m_str, slot->Length())));
    return Send(frame);
}

void VosselSession::StartIncoming(int kind, const std::wstring& owner, const std::wstring& songId,
                                  const std::wstring& hash)
{
    bool song = kind == FileKindSong;
    std::wstring file = song ? VosselPaths::CacheFile(hash) : VosselPaths::FriendLibraryFile(owner);
    std::lock_guard<std::mutex> hold(m_stateLock);
    std::unique_ptr<IncomingTransfer>& slot = song ? m_song : m_library;
    if (slot)
        DropIncoming(slot, true, 0);
    if (file.empty() || !VosselPaths::IsSafeName(owner))
    {
        // A hash that cannot name a cache file names no song we could hold.
        if (song)
            Queue(33, owner, songId, L"", L"");
        return;
    }
    std::wstring tid = L"t" + std::to_wstring(m_nextTid++);
    slot.reset(new IncomingTransfer(kind, owner, songId, hash, tid, file));
    uint64_t have = 0;
    if (!slot->Open(have))
    {
        DropIncoming(slot, false, song ? 25 : 0);
        return;
    }
    VosselFrame request(FrameFileRequest, 0, kind);
    request.Add(owner).Add(tid).Add(songId).Add(hash).Add(std::to_wstring(have));
    if (Send(request) != 0)
        DropIncoming(slot, false, 0);
}

void VosselSession::DropIncoming(std::unique_ptr<IncomingTransfer>& slot, bool tellOwner, int why)
{
    if (tellOwner)
        Send(VosselFrame(FrameFileCancel).Add(slot->owner).Add(slot->tid));
    if (why == 25)
        Queue(25, L"", L"", L"C2C_TIMEOUT", slot->songId);
    else if (why == 33)
        Queue(33, slot->owner, slot->songId, L"", L"");
    slot->Abort();
    slot.reset();
}

std::unique_ptr<IncomingTransfer>* VosselSession::FindIncoming(const std::wstring& owner, const std::wstring& tid)
{
    for (std::unique_ptr<IncomingTransfer>* slot : {&m_song, &m_library})
        if (*slot && (*slot)->owner == owner && (*slot)->tid == tid)
            return slot;
    return nullptr;
}

void VosselSession::CancelSongTransfer()
{
    std::lock_guard<std::mutex> hold(m_stateLock);
    if (m_song)
        DropIncoming(m_song, true, 0);
}

void VosselSession::ReportProgress(IncomingTransfer& t)
{
    if (t.kind == FileKindSong)
    {
        int perMille = t.PerMille();
        if (perMille > t.reported)
        {
            t.reported = perMille;
            Queue(19, L"", L"", L"", std::to_wstring(perMille));
        }
        return;
    }
    int perCent = t.PerMille() / 10;
    if (perCent > t.reported && perCent < 100) // the whole copy is told once it is in place
    {
        t.reported = perCent;
        Queue(45, t.owner, L"", L"", Fraction(perCent));
    }
}

void VosselSession::HandleFilePiece(const VosselFrame& frame)
{
    std::lock_guard<std::mutex> hold(m_stateLock);
    std::unique_ptr<IncomingTransfer>* slot = FindIncoming(frame.Text(0), frame.Text(1));
    if (!slot)
        return; // a piece of a transfer that was cancelled meanwhile
    IncomingTransfer& t = **slot;
    bool begin = frame.kind == FrameFileBegin;
    bool ok = begin ? t.Begin(ToNumber(frame.Text(2)), ToNumber(frame.Text(3)))
                    : t.Write(ToNumber(frame.Text(2)), frame.Bytes(3));
    if (!ok)
    {
        DropIncoming(*slot, true, t.kind == FileKindSong ? 25 : 0);
        return;
    }
    if (!begin)
        Send(VosselFrame(FrameFileAck).Add(t.owner).Add(t.tid).Add(std::to_wstring(t.Written())));
    ReportProgress(t);
}

void VosselSession::HandleFileEnd(const VosselFrame& frame)
{
    std::lock_guard<std::mutex> hold(m_stateLock);
    std::unique_ptr<IncomingTransfer>* slot = FindIncoming(frame.Text(0), frame.Text(1));
    if (!slot)
        return;
    IncomingTransfer& t = **slot;
    bool song = t.kind == FileKindSong;
    if (frame.extra == FileMissing)
    {
        DropIncoming(*slot, false, song ? 33 : 0);
        return;
    }
    if (frame.extra != FileComplete || !t.IsComplete())
    {
        DropIncoming(*slot, false, song ? 25 : 0);
        return;
    }
    std::wstring owner = t.owner;
    bool whole = t.Finish();
    if (song && whole)
    {
        if (t.reported < 1000)
            Queue(19, L"", L"", L"", L"1000");
    }
    else if (whole)
    {
        Queue(45, owner, L"", L"", L"1");
        Queue(23, owner, L"", L"Playlist", L"");
    }
    slot->reset();
}

void VosselSession::HandleFileRequest(const VosselFrame& frame)
{
    std::wstring peer = frame.Text(0), tid = frame.Text(1), songId = frame.Text(2), hash = frame.Text(3);
    auto send = [this](const VosselFrame& f) { return Send(f) == 0; };
    std::unique_ptr<OutgoingTransfer> transfer;
    if (frame.extra == FileKindLibrary)
    {
        // Only the user's own library file is ever sent for a library request.
        std::string text;
        if (!VosselLibraryFile::ReadFile(VosselPaths::OwnLibraryFile(m_user), text, 64 * 1024 * 1024))
            text = EmptyLibrary;
        transfer.reset(new OutgoingTransfer(peer, tid, text, send));
    }
    else
    {
        // Only songs of the user's own library, or songs the user pushed,
        // are served; a request names them by id, never by path.
        std::wstring path = VosselLibraryFile::FindSongPath(VosselPaths::OwnLibraryFile(m_user), songId, hash);
        if (path.empty())
        {
            std::lock_guard<std::mutex> hold(m_stateLock);
            auto pushed = m_pushedPaths.find(songId);
            if (pushed != m_pushedPaths.end())
                path = pushed->second;
        }
        if (path.empty())
        {
            Send(VosselFrame(FrameFileEnd, 0, FileMissing).Add(peer).Add(tid));
            return;
        }
        uint64_t offset = ToNumber(frame.Text(4));
        transfer.reset(new OutgoingTransfer(peer, tid, path, offset == UINT64_MAX ? 0 : offset, send));
    }
    std::lock_guard<std::mutex> hold(m_stateLock);
    for (auto it = m_outgoing.begin(); it != m_outgoing.end();)
        it = (*it)->IsDone() ? m_outgoing.erase(it) : it + 1;
    transfer->Start();
    m_outgoing.push_back(std::move(transfer));
}

void VosselSession::HandleFileAck(const VosselFrame& frame, bool cancel)
{
    std::lock_guard<std::mutex> hold(m_stateLock);
    for (auto& t : m_outgoing)
        if (t->peer == frame.Text(0) && t->tid == frame.Text(1))
        {
            if (cancel)
                t->Cancel();
            else
                t->Ack(ToNumber(frame.Text(2)) == UINT64_MAX ? 0 : ToNumber(frame.Text(2)));
        }
}

void VosselSession::CheckStalls()
{
    std::lock_guard<std::mutex> hold(m_stateLock);
    DWORD now = ::GetTickCount();
    if (m_song && now - m_song->LastActivity() > SongStallMs)
        DropIncoming(m_song, true, 25);
    if (m_library && now - m_library->LastActivity() > LibraryStallMs)
        DropIncoming(m_library, true, 0);
}

void VosselSession::StopOutgoing()
{
    std::vector<std::unique_ptr<OutgoingTransfer>> stopping;
    {
        std::lock_guard<std::mutex> hold(m_stateLock);
        stopping.swap(m_outgoing);
    }
    for (auto& t : stopping)
        t->Cancel();
    stopping.clear(); // joins each thread
}
