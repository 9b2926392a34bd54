#include "IncomingTransfer.h"
#include "VosselFrame.h"
#include "VosselPaths.h"

IncomingTransfer::IncomingTransfer(int kind, const std::wstring& owner, const std::wstring& songId,
                                   const std::wstring& hash, const std::wstring& tid, const std::wstring& file)
    : kind(kind), owner(owner), songId(songId), hash(hash), tid(tid), m_target(file),
      m_lastActivity(::GetTickCount())
{
    // A library copy is written beside its final name first.
    m_file = kind == FileKindLibrary ? file + L".part" : file;
}

IncomingTransfer::~IncomingTransfer()
{
    Abort();
}

bool IncomingTransfer::Open(uint64_t& have)
{
    have = 0;
    if (m_file.empty() || !VosselPaths::MakeParentFolders(m_file))
        return false;
    bool song = kind == FileKindSong;
    // Shared read: the player streams the cache file while it grows.
    m_handle = ::CreateFileW(m_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             song ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_handle, &size))
        return false;
    m_written = static_cast<uint64_t>(size.QuadPart);
    have = m_written;
    LARGE_INTEGER zero = {};
    return ::SetFilePointerEx(m_handle, zero, nullptr, FILE_END) != 0;
}

bool IncomingTransfer::Begin(uint64_t total, uint64_t start)
{
    if (m_handle == INVALID_HANDLE_VALUE || m_begun)
        return false;
    if (start == 0 && m_written != 0)
    {
        LARGE_INTEGER zero = {};
        if (!::SetFilePointerEx(m_handle, zero, nullptr, FILE_BEGIN) || !::SetEndOfFile(m_handle))
            return false;
        m_written = 0;
    }
    if (start != m_written || start > total)
        return false;
    m_total = total;
    m_begun = true;
    m_lastActivity = ::GetTickCount();
    return true;
}

bool IncomingTransfer::Write(uint64_t offset, const std::string& data)
{
    if (!m_begun || offset != m_written || data.size() > m_total - m_written)
        return false;
    size_t done = 0;
    while (done < data.size())
    {
        DWORD put = 0;
        if (!::WriteFile(m_handle, data.data() + done, static_cast<DWORD>(data.size() - done), &put, nullptr) ||
            put == 0)
            return false;
        done += put;
    }
    m_written += data.size();
    m_lastActivity = ::GetTickCount();
    return true;
}

int IncomingTransfer::PerMille() const
{
    if (!m_begun)
        return 0;
    if (m_total == 0)
        return 1000;
    return static_cast<int>(m_written * 1000 / m_total);
}

bool IncomingTransfer::Finish()
{
    bool whole = IsComplete();
    Close();
    if (kind == FileKindLibrary)
    {
        if (whole)
            whole = ::MoveFileExW(m_file.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
        if (!whole)
            ::DeleteFileW(m_file.c_str());
    }
    return whole;
}

void IncomingTransfer::Abort()
{
    bool open = m_handle != INVALID_HANDLE_VALUE;
    Close();
    if (open && kind == FileKindLibrary)
        ::DeleteFileW(m_file.c_str());
}

void IncomingTransfer::Close()
{
    if (m_handle != INVALID_HANDLE_VALUE)
    {
        ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
}
