// Diagnostics output for TRACE and failed ASSERTs (debugger output only).
#include "FwString.h"
#include <cstdio>

namespace
{
inline void Output(const std::wstring& text)
{
    OutputDebugStringW(text.c_str());
}
inline void Output(const std::string& text)
{
    OutputDebugStringA(text.c_str());
}

template <typename C> void TraceV(const C* format, va_list args)
{
    std::basic_string<C> text;
    FwFormatAppendV(text, format, args);
    Output(text);
}
} // namespace

void FwTrace(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    TraceV(format, args);
    va_end(args);
}

void FwTraceA(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    TraceV(format, args);
    va_end(args);
}

void FwAssertFailed(const char* file, int line)
{
    char buf[512];
    _snprintf(buf, sizeof(buf) - 1, "Assertion failed: %s(%d)\n", file, line);
    buf[sizeof(buf) - 1] = 0;
    OutputDebugStringA(buf);
    DebugBreak();
}
