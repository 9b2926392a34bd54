#pragma once

// Events the player library reports through its callback.
enum DLL_WMPCOREEVENT
{
    DLL_WMP_SERVERPROGRESS = 0,     // per mille of a body sent by the local server
    DLL_WMP_OPENSTATECHANGE = 5001, // new open state
    DLL_WMP_PLAYSTATECHANGE = 5101, // new play state
    DLL_WMP_BUFFERING = 5402,       // -1 buffering starts, 0 it ends
    DLL_WMP_ERROR = 5501,
    DLL_WMP_MEDIAERROR = 5821,
};

typedef long(__stdcall* SonatrelCallback)(DLL_WMPCOREEVENT event, long value);
