// Diagnostics output for TRACE and failed ASSERTs (debugger output only).
#include "FwString.h"
#include <cstdio>

void FwTrace(const wchar_t* format, ...)
{
    std::wstring text;
    va_list args;
    va_start(args, format);
    FwFormatAppendV(text, format, args);
    va_end(args);
    OutputDebugStringW(text.c_str());
}

void FwTraceA(const char* format, ...)
{
    std::string text;
    va_list args;
    va_start(args, format);
    FwFormatAppendV(text, format, args);
    va_end(args);
    OutputDebugStringA(text.c_str());
}

void FwAssertFailed(const char* file, int line)
{
    char buf[512];
    _snprintf(buf, sizeof(buf) - 1, "Assertion failed: %s(%d)\n", file, line);
    buf[sizeof(buf) - 1] = 0;
    OutputDebugStringA(buf);
    DebugBreak();
}
