// The client's calls into the messaging library that change what the
// service or a buddy sees. They go through this one table so that a test
// can put a recording stand-in in the library's place; by default every
// entry is the library's own function.
#pragma once

#include "Vossel.h"

struct MessagingLink
{
    int (*pushCommand)(CommandData& record);
    void (*accept)(const wchar_t* requester, int accept);
    void (*reject)(const wchar_t* requester);
    int (*addFriend)(const wchar_t* address, const wchar_t* text);
    int (*delFriend)(const wchar_t* buddy);
    void (*cancelOldSession)();
};

// The process's table.
MessagingLink& Messaging();
// The library's own functions (what Messaging() holds until a test changes it).
MessagingLink LibraryMessagingLink();
