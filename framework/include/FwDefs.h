// Basic definitions shared by the whole framework layer: Windows headers,
// positions of collections, diagnostics macros.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <windows.h>
#include <oleauto.h>
#include <tchar.h>
#include <stdlib.h>

// Opaque iteration handle of the framework's lists and maps.
struct __POSITION
{
};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif

// Diagnostics. ASSERT vanishes in release builds; VERIFY always evaluates.
void FwTrace(const wchar_t* format, ...);
void FwTraceA(const char* format, ...);
void FwAssertFailed(const char* file, int line);

#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : FwAssertFailed(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#define TRACE FwTrace
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#endif
#define TRACE0(s) TRACE(s)
#define TRACE1(s, a) TRACE(s, a)
#define TRACE2(s, a, b) TRACE(s, a, b)
#define TRACE3(s, a, b, c) TRACE(s, a, b, c)
#define ASSERT_VALID(p) ((void)0)
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#define DEBUG_NEW new

#ifndef _countof
#define _countof(a) (sizeof(a) / sizeof((a)[0]))
#endif
