#pragma once
#include <winsock2.h>
#include <string>

// One accepted connection of the stand-in service; owns the socket.
class SocketStream
{
  public:
    explicit SocketStream(SOCKET s) : m_socket(s) {}
    ~SocketStream() { Close(); }
    SocketStream(const SocketStream&) = delete;
    SocketStream& operator=(const SocketStream&) = delete;

    // One recv: bytes read, 0 at an orderly close, -1 on an error.
    int ReceiveSome(char* buffer, int size);
    // Reads exactly size bytes; false when the peer closed or failed first
    // (got tells how many arrived).
    bool ReceiveExact(char* buffer, int size, int* got = nullptr);
    bool SendAll(const char* data, size_t size);
    bool SendAll(const std::string& data) { return SendAll(data.data(), data.size()); }
    void Close();
    SOCKET Handle() const { return m_socket; }

  private:
    SOCKET m_socket;
};
