#pragma once
// One file that the library receives from a buddy: a song into its cache file
// (appended, so that the player can read it while it grows, and resumed from
// what an earlier, cancelled transfer left there), or a buddy's library into
// that buddy's playlist.xml (written beside it and put in place when whole).
#include <windows.h>
#include <cstdint>
#include <string>

class IncomingTransfer
{
  public:
    IncomingTransfer(int kind, const std::wstring& owner, const std::wstring& songId, const std::wstring& hash,
                     const std::wstring& tid, const std::wstring& file);
    ~IncomingTransfer();
    IncomingTransfer(const IncomingTransfer&) = delete;
    IncomingTransfer& operator=(const IncomingTransfer&) = delete;

    // Opens the target file; `have` gets the bytes already received earlier.
    bool Open(uint64_t& have);
    // The sender announces the whole size and the offset it starts from. A
    // start of 0 restarts the file; any other start must be what is there.
    bool Begin(uint64_t total, uint64_t start);
    // Appends one piece; it must continue the file and stay within the size.
    bool Write(uint64_t offset, const std::string& data);
    // Closes the file; a whole library copy replaces the previous one.
    bool Finish();
    // Closes the file and leaves a song's partial cache file for a resume.
    void Abort();

    bool HasBegun() const { return m_begun; }
    bool IsComplete() const { return m_begun && m_written == m_total; }
    int PerMille() const;
    uint64_t Written() const { return m_written; }
    DWORD LastActivity() const { return m_lastActivity; }

    int reported = -1; // last progress told to the client (per mille or per cent)

    const int kind;
    const std::wstring owner, songId, hash, tid;

  private:
    void Close();
    std::wstring m_file, m_target;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    bool m_begun = false;
    uint64_t m_total = 0, m_written = 0;
    DWORD m_lastActivity;
};
