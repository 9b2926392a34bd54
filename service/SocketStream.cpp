#include "SocketStream.h"

int SocketStream::ReceiveSome(char* buffer, int size)
{
    int n = recv(m_socket, buffer, size, 0);
    return n < 0 ? -1 : n;
}

bool SocketStream::ReceiveExact(char* buffer, int size, int* got)
{
    int total = 0;
    while (total < size)
    {
        int n = ReceiveSome(buffer + total, size - total);
        if (n <= 0)
            break;
        total += n;
    }
    if (got)
        *got = total;
    return total == size;
}

bool SocketStream::SendAll(const char* data, size_t size)
{
    while (size > 0)
    {
        int chunk = size > 65536 ? 65536 : (int)size;
        int n = send(m_socket, data, chunk, 0);
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

void SocketStream::Close()
{
    if (m_socket != INVALID_SOCKET)
    {
        shutdown(m_socket, SD_SEND);
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
}
