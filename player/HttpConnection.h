#pragma once
#include <winsock2.h>
#include <windows.h>
#include <map>
#include <string>

class HttpServerBase;

// One connection thread of the server. The growing and stop flags are plain
// words: the connection thread writes growing, the owner writes stop, and the
// connection thread polls stop once per send pass. The listen thread closes
// idle connections beyond the cap through the close flag and the socket's
// event; both are touched only under the connection lock while the entry is
// in the active list.
struct ConnectionEntry
{
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    volatile LONG growing = 0;
    volatile LONG stop = 0;
    // 1 while a response is being sent; the connection is idle otherwise.
    volatile LONG busy = 0;
    // Tick count since when the connection waits for its next request.
    volatile DWORD idleSince = 0;
    volatile LONG close = 0;
    WSAEVENT event = WSA_INVALID_EVENT;
    // Connection threads serve one connection after another; only the record
    // that a thread leaves when it ends owns its handle, to be joined.
    bool ownsThread = false;
    ConnectionEntry* prev = nullptr;
    ConnectionEntry* next = nullptr;
};

// One accepted socket with the request being received and the response being
// sent; created by the listen thread, deleted by its own connection thread.
struct HttpConnection
{
    HttpServerBase* server = nullptr;
    ConnectionEntry* entry = nullptr;
    std::string request;
    std::string header;
    SOCKET socket = INVALID_SOCKET;
    unsigned char peer[4] = {};
    int methodGet = 0;
    std::wstring rawPath;
    std::wstring rawQuery;
    std::map<std::wstring, std::wstring> params;
    std::wstring filePath;
    unsigned long contentLength = 0;
    // First byte of the file that the body starts with (a byte range).
    unsigned long bodyOffset = 0;
    unsigned long totalSent = 0;
    bool headerSent = false;
};
