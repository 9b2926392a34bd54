#include "ImageServerLink.h"
#include "FwString.h"
#include "ServiceAddresses.h"

namespace ImageServerLink
{
BOOL Connect(CTcpSocket& socket, BOOL setOptions)
{
    const CServiceAddresses& service = CServiceAddresses::Get();
    if (!socket.Create(AF_INET))
        return FALSE;
    if (setOptions)
    {
        socket.SetOption(SO_REUSEADDR, 1);
        socket.SetOption(SO_SNDBUF, 65536);
    }
    CStringA host(service.m_imageHost);
    return socket.Connect(host, service.m_imageTcpPort);
}

BOOL SendHeader(CTcpSocket& socket, const ImageServerHeader& header)
{
    return socket.Send(header.bytes, ImageServerHeader::Size) == ImageServerHeader::Size;
}

BOOL SendPieces(CTcpSocket& socket, const void* data, DWORD size)
{
    const BYTE* bytes = (const BYTE*)data;
    for (DWORD sent = 0; sent < size;)
    {
        int piece = size - sent < (DWORD)PieceSize ? (int)(size - sent) : (int)PieceSize;
        int n = socket.Send(bytes + sent, piece);
        if (n <= 0)
            return FALSE;
        sent += (DWORD)n;
    }
    return TRUE;
}
} // namespace ImageServerLink
