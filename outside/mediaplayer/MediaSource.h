#pragma once
#include <winsock2.h>
#include <windows.h>
#include <string>

// The bytes of a song as a player reads them: a local file, or the body of an
// HTTP/1.0 GET, read while it arrives. Reads give up when the cancel flag is set.
class MediaSource
{
  public:
    explicit MediaSource(volatile LONG* cancel);
    ~MediaSource();

    // Opens a local path ("C:\...", "file:///...") or an "http://" URL.
    bool Open(const std::wstring& url);
    // Bytes read; 0 at the end of the song; -1 on a failure or a cancel.
    int Read(char* buffer, int size);
    bool IsNetwork() const { return m_socket != INVALID_SOCKET; }
    // Whole size in bytes when the source knows it, else 0.
    unsigned long long Size() const { return m_size; }
    unsigned long long BytesRead() const { return m_read; }

    // Splits "http://host[:port]/path" into its parts; false for other text.
    static bool SplitHttpUrl(const std::wstring& url, std::string& host, unsigned short& port,
                             std::string& path);

  private:
    bool OpenHttp(const std::wstring& url);
    bool WaitReadable();

    volatile LONG* m_cancel;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    SOCKET m_socket = INVALID_SOCKET;
    std::string m_pending; // body bytes that came with the response header
    unsigned long long m_size = 0;
    unsigned long long m_read = 0;
    bool m_sizeKnown = false;
    bool m_winsock = false;
};
