// The multi-monitor entry points, looked up at run time so that the program
// also starts on systems without them; without them every question is
// answered for the primary monitor.
#pragma once
#include "SFLoadedModule.h"

class CSFMonitorInfo
{
public:
    // Looks the entry points up in the given module (USER32 for the
    // process-wide instance); when any is missing none is used.
    explicit CSFMonitorInfo(LPCWSTR moduleName = L"User32.dll");

    // The work area of the monitor, or the system's (primary) work area.
    void GetWorkArea(RECT* out, HMONITOR monitor) const;
    // The work area of the monitor showing the window.
    void GetWorkArea(RECT* out, CWnd* wnd) const;

    BOOL HasMonitorFunctions() const { return m_pfnMonitorFromWindow != NULL; }

private:
    typedef int(WINAPI* GetSystemMetricsFn)(int);
    typedef HMONITOR(WINAPI* MonitorFromWindowFn)(HWND, DWORD);
    typedef HMONITOR(WINAPI* MonitorFromRectFn)(LPCRECT, DWORD);
    typedef HMONITOR(WINAPI* MonitorFromPointFn)(POINT, DWORD);
    typedef BOOL(WINAPI* GetMonitorInfoFn)(HMONITOR, LPMONITORINFO);

    GetSystemMetricsFn m_pfnGetSystemMetrics;
    MonitorFromWindowFn m_pfnMonitorFromWindow;
    MonitorFromRectFn m_pfnMonitorFromRect;
    MonitorFromPointFn m_pfnMonitorFromPoint;
    GetMonitorInfoFn m_pfnGetMonitorInfo;
    CSFLoadedModule m_user32;
};

// The process-wide instance over USER32.
const CSFMonitorInfo& GetSFMonitorInfo();
