#include "TcpSocket.h"
#include <cstring>

static volatile LONG g_instances = 0;

CTcpSocket::CTcpSocket() : m_socket(INVALID_SOCKET)
{
    if (InterlockedIncrement(&g_instances) == 1)
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
}

CTcpSocket::~CTcpSocket()
{
    if (m_socket != INVALID_SOCKET)
        Close();
    if (InterlockedDecrement(&g_instances) == 0)
        WSACleanup();
}

LONG CTcpSocket::GetInstanceCount()
{
    return g_instances;
}

BOOL CTcpSocket::Create(int family)
{
    m_socket = socket(family, SOCK_STREAM, IPPROTO_TCP);
    return m_socket != INVALID_SOCKET;
}

BOOL CTcpSocket::Connect(const char* host, int port, SOCKET* connected)
{
    if (!host)
        return FALSE;
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    hostent* entry = gethostbyname(host);
    if (entry && entry->h_addr_list && entry->h_addr_list[0])
    {
        address.sin_family = entry->h_addrtype;
        std::memcpy(&address.sin_addr, entry->h_addr_list[0], sizeof address.sin_addr);
    }
    else
    {
        unsigned long dotted = inet_addr(host);
        if (dotted == INADDR_NONE)
            return FALSE;
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = dotted;
    }
    address.sin_port = htons((u_short)port);
    if (connect(m_socket, (sockaddr*)&address, sizeof address) == SOCKET_ERROR)
        return FALSE;
    if (connected)
        *connected = m_socket;
    return TRUE;
}

BOOL CTcpSocket::Bind(int port)
{
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons((u_short)port);
    return bind(m_socket, (sockaddr*)&address, sizeof address) == 0;
}

BOOL CTcpSocket::Accept(CTcpSocket* into)
{
    if (!into)
        return FALSE;
    into->m_socket = accept(m_socket, nullptr, nullptr);
    return into->m_socket != INVALID_SOCKET;
}

BOOL CTcpSocket::Listen(int backlog)
{
    return listen(m_socket, backlog) == 0;
}

int CTcpSocket::Send(const void* data, int length, int flags)
{
    return send(m_socket, (const char*)data, length, flags);
}

int CTcpSocket::SendString(const char* text)
{
    return Send(text, (int)std::strlen(text), 0);
}

int CTcpSocket::Receive(void* buffer, int size, int flags)
{
    return recv(m_socket, (char*)buffer, size, flags);
}

int CTcpSocket::ReceiveLine(char* buffer, int maxLength, BOOL echo)
{
    int stored = 0;
    int last = 0;
    while (stored < maxLength)
    {
        char c;
        last = Receive(&c, 1, 0);
        if (last == 0 || last == -1)
            return last;
        if (echo)
            Send(&c, 1, 0);
        if (c == '\n')
            break;
        if (c != '\r')
            buffer[stored++] = c;
    }
    if (stored == 0)
        return last;
    buffer[stored] = '\0';
    return stored;
}

BOOL CTcpSocket::Shutdown(int how)
{
    if (m_socket == INVALID_SOCKET)
        return FALSE;
    return shutdown(m_socket, how) == 0;
}

BOOL CTcpSocket::Close()
{
    if (m_socket == INVALID_SOCKET)
        return FALSE;
    int result = closesocket(m_socket);
    m_socket = INVALID_SOCKET;
    return result == 0;
}

BOOL CTcpSocket::SetOption(int name, int value)
{
    return setsockopt(m_socket, SOL_SOCKET, name, (const char*)&value, sizeof value) == 0;
}
