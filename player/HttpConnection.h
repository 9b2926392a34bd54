#pragma once
#include <winsock2.h>
#include <windows.h>
#include <map>
#include <string>

class HttpServerBase;

// One connection thread of the server. The growing and stop flags are plain
// words: the connection thread writes growing, the owner writes stop, and the
// connection thread polls stop once per send pass.
struct ConnectionEntry
{
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    volatile LONG growing = 0;
    volatile LONG stop = 0;
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
    unsigned long totalSent = 0;
    bool headerSent = false;
};
