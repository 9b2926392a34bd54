#include "OutgoingTransfer.h"
#include <windows.h>
#include <chrono>

namespace
{
std::wstring Decimal(uint64_t v)
{
    return std::to_wstring(v);
}

// A pause between pieces, for trying slow transfers by hand and in tests
// (environment variable YEB_VOSSEL_PACE_MS, milliseconds; unset: none).
DWORD PacePerPiece()
{
    wchar_t buf[16] = {};
    DWORD n = ::GetEnvironmentVariableW(L"YEB_VOSSEL_PACE_MS", buf, 16);
    return n > 0 && n < 16 ? wcstoul(buf, nullptr, 10) : 0;
}
} // namespace

OutgoingTransfer::OutgoingTransfer(const std::wstring& peer, const std::wstring& tid, const std::wstring& path,
                                   uint64_t offset, SendFunction send)
    : peer(peer), tid(tid), m_path(path), m_fromFile(true), m_offset(offset), m_send(send)
{
}

OutgoingTransfer::OutgoingTransfer(const std::wstring& peer, const std::wstring& tid, const std::string& bytes,
                                   SendFunction send)
    : peer(peer), tid(tid), m_bytes(bytes), m_fromFile(false), m_offset(0), m_send(send)
{
}

OutgoingTransfer::~OutgoingTransfer()
{
    Cancel();
    if (m_thread.joinable())
        m_thread.join();
}

void OutgoingTransfer::Start()
{
    m_thread = std::thread(&OutgoingTransfer::Run, this);
}

void OutgoingTransfer::Ack(uint64_t received)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (received > m_acked)
        m_acked = received;
    m_wake.notify_all();
}

void OutgoingTransfer::Cancel()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_cancelled = true;
    m_wake.notify_all();
}

bool OutgoingTransfer::WaitForWindow(uint64_t sentUpTo)
{
    std::unique_lock<std::mutex> hold(m_lock);
    // A receiver that stops acknowledging for a minute has gone away.
    bool ok = m_wake.wait_for(hold, std::chrono::seconds(60),
                              [&] { return m_cancelled || sentUpTo - m_acked < Window || m_acked >= sentUpTo; });
    return ok && !m_cancelled;
}

bool OutgoingTransfer::SendEnd(int status)
{
    return m_send(VosselFrame(FrameFileEnd, 0, status).Add(peer).Add(tid));
}

void OutgoingTransfer::Run()
{
    HANDLE file = INVALID_HANDLE_VALUE;
    uint64_t total = m_bytes.size();
    if (m_fromFile)
    {
        file = ::CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        LARGE_INTEGER size;
        if (file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file, &size))
        {
            if (file != INVALID_HANDLE_VALUE)
                ::CloseHandle(file);
            SendEnd(FileMissing);
            m_done = true;
            return;
        }
        total = static_cast<uint64_t>(size.QuadPart);
    }
    uint64_t pos = m_offset <= total ? m_offset : 0;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_acked = pos;
    }
    bool ok = m_send(VosselFrame(FrameFileBegin).Add(peer).Add(tid).Add(Decimal(total)).Add(Decimal(pos)));
    if (ok && file != INVALID_HANDLE_VALUE)
    {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(pos);
        ok = ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
    }
    DWORD pace = PacePerPiece();
    std::string piece;
    int status = FileComplete;
    while (ok && pos < total)
    {
        if (!WaitForWindow(pos))
        {
            ok = false;
            break;
        }
        size_t want = static_cast<size_t>(std::min<uint64_t>(VosselFrame::DataChunk, total - pos));
        if (file != INVALID_HANDLE_VALUE)
        {
            piece.resize(want);
            DWORD got = 0;
            if (!::ReadFile(file, &piece[0], static_cast<DWORD>(want), &got, nullptr) || got == 0)
            {
                status = FileFailed; // the file shrank or cannot be read any more
                break;
            }
            piece.resize(got);
        }
        else
            piece.assign(m_bytes, static_cast<size_t>(pos), want);
        ok = m_send(VosselFrame(FrameFileData).Add(peer).Add(tid).Add(Decimal(pos)).AddBytes(piece));
        pos += piece.size();
        if (pace)
            ::Sleep(pace);
    }
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
    bool cancelled;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        cancelled = m_cancelled;
    }
    // A cancelled transfer ends silently: the receiver has already let it go.
    if (!cancelled && (ok || status != FileComplete))
        SendEnd(ok ? FileComplete : status);
    m_done = true;
}
