#pragma once
#include <winsock2.h>

// A thin, blocking Winsock 2 stream socket. Winsock is started by the first
// live instance and cleaned up by the last one. Each socket belongs to one
// thread; the instance count is shared by all threads.
class CTcpSocket
{
  public:
    CTcpSocket();
    virtual ~CTcpSocket();

    virtual BOOL Create(int family);
    // Resolves host by name, else takes it as a dotted address; writes the
    // handle to *connected when given.
    virtual BOOL Connect(const char* host, int port, SOCKET* connected = nullptr);
    virtual BOOL Bind(int port);
    virtual BOOL Accept(CTcpSocket* into);
    virtual BOOL Listen(int backlog);
    virtual int Send(const void* data, int length, int flags = 0);
    virtual int SendString(const char* text);
    virtual int Receive(void* buffer, int size, int flags = 0);
    // Reads one line byte by byte; buffer holds maxLength + 1 bytes.
    virtual int ReceiveLine(char* buffer, int maxLength, BOOL echo = FALSE);
    virtual BOOL Shutdown(int how);
    virtual BOOL Close();
    virtual BOOL SetOption(int name, int value);

    SOCKET GetHandle() const { return m_socket; }
    // Live instances in the process (each one keeps Winsock started).
    static LONG GetInstanceCount();

  private:
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    SOCKET m_socket;
};
