#pragma once
#include "ImageServerHeader.h"
#include "TcpSocket.h"

// The connection to the image server's raw exchange, as every sender makes
// it: an IPv4 stream socket connected to the image host's raw port (from
// CServiceAddresses), optionally with SO_REUSEADDR 1 and SO_SNDBUF 65536.
namespace ImageServerLink
{
enum
{
    PieceSize = 4096,
};

BOOL Connect(CTcpSocket& socket, BOOL setOptions);
// The header in one send of 280 bytes.
BOOL SendHeader(CTcpSocket& socket, const ImageServerHeader& header);
// The payload in pieces of at most 4096 bytes; a failed send ends it.
BOOL SendPieces(CTcpSocket& socket, const void* data, DWORD size);
} // namespace ImageServerLink
