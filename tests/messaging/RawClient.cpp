#include "RawClient.h"
#include <vector>

RawClient::RawClient()
{
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
}

RawClient::~RawClient()
{
    Close();
    WSACleanup();
}

bool RawClient::Connect(int port)
{
    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<u_short>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return m_socket != INVALID_SOCKET && connect(m_socket, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
}

bool RawClient::SendBytes(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        int n = send(m_socket, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool RawClient::Send(const VosselFrame& frame)
{
    return SendBytes(frame.Encode());
}

bool RawClient::Read(VosselFrame& frame, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        int got = m_reader.Next(frame);
        if (got != 0)
            return got == 1;
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs)
            return false;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket, &readable);
        timeval wait = {0, static_cast<long>((timeoutMs - waited) * 1000)};
        if (wait.tv_usec >= 1000000)
        {
            wait.tv_sec = wait.tv_usec / 1000000;
            wait.tv_usec %= 1000000;
        }
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            return false;
        char buf[65536];
        int n = recv(m_socket, buf, sizeof buf, 0);
        if (n <= 0)
            return false;
        m_reader.Append(buf, n);
    }
}

bool RawClient::ReadUntil(VosselFrame& frame, int kind, int code, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs)
        if (Read(frame, timeoutMs - (GetTickCount() - start)) && frame.kind == kind && (!code || frame.code == code))
            return true;
    return false;
}

bool RawClient::WaitClosed(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs)
    {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket, &readable);
        timeval wait = {0, 100 * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) > 0)
        {
            char buf[65536];
            int n = recv(m_socket, buf, sizeof buf, 0);
            if (n <= 0)
                return true;
        }
    }
    return false;
}

void RawClient::Close()
{
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}
