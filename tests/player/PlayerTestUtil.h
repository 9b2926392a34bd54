#pragma once
#include <winsock2.h>
#include <windows.h>
#include <functional>
#include <string>

namespace playertest
{
// A fresh folder under the temp folder, removed with its files at the end.
class TempFolder
{
  public:
    TempFolder();
    ~TempFolder();
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

  private:
    std::wstring m_path;
};

bool WriteBytes(const std::wstring& path, const std::string& bytes, bool append = false);
std::string ReadBytes(const std::wstring& path);
// A loopback port that no socket holds right now.
int FreePort();
// Sends a request from the given local address and returns everything the
// server answers until it closes the connection or the wait ends.
std::string Exchange(int port, const std::string& request, const char* from = "127.0.0.1",
                     DWORD waitMs = 10000);
// A connected client socket (from the given local address), or INVALID_SOCKET.
SOCKET Connect(int port, const char* from = "127.0.0.1");
// Reads until the peer closes or the wait ends; closed tells which.
std::string ReceiveAll(SOCKET s, DWORD waitMs, bool* closed = nullptr);
// Reads until the text holds the marker or the wait ends.
std::string ReceiveUntil(SOCKET s, const std::string& marker, DWORD waitMs);
// Runs this thread's message loop until the condition holds or the wait ends.
bool PumpUntil(const std::function<bool()>& condition, DWORD waitMs);
std::wstring TestSong();
std::string Narrow(const std::wstring& text);
} // namespace playertest
