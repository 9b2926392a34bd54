#include "SFMonitorInfo.h"
#include "SFOSVersionInfo.h"

CSFMonitorInfo::CSFMonitorInfo(LPCWSTR moduleName)
    : m_pfnGetSystemMetrics(NULL), m_pfnMonitorFromWindow(NULL), m_pfnMonitorFromRect(NULL),
      m_pfnMonitorFromPoint(NULL), m_pfnGetMonitorInfo(NULL)
{
    if (!m_user32.Init(moduleName))
        return;
    HMODULE h = m_user32.GetHandle();
    const OSVERSIONINFOW& os = GetOSVersionInfo().Info();
    BOOL wide = os.dwPlatformId >= VER_PLATFORM_WIN32_NT && os.dwMajorVersion >= 4;
    m_pfnGetSystemMetrics = (GetSystemMetricsFn)(void*)::GetProcAddress(h, "GetSystemMetrics");
    m_pfnMonitorFromWindow = (MonitorFromWindowFn)(void*)::GetProcAddress(h, "MonitorFromWindow");
    m_pfnMonitorFromRect = (MonitorFromRectFn)(void*)::GetProcAddress(h, "MonitorFromRect");
    m_pfnMonitorFromPoint = (MonitorFromPointFn)(void*)::GetProcAddress(h, "MonitorFromPoint");
    m_pfnGetMonitorInfo = (GetMonitorInfoFn)(void*)::GetProcAddress(h, wide ? "GetMonitorInfoW" : "GetMonitorInfoA");
    if (!m_pfnGetSystemMetrics || !m_pfnMonitorFromWindow || !m_pfnMonitorFromRect || !m_pfnMonitorFromPoint ||
        !m_pfnGetMonitorInfo)
    {
        // Half a set of monitor functions would mix monitors and the primary work area.
        m_pfnGetSystemMetrics = NULL;
        m_pfnMonitorFromWindow = NULL;
        m_pfnMonitorFromRect = NULL;
        m_pfnMonitorFromPoint = NULL;
        m_pfnGetMonitorInfo = NULL;
    }
}

void CSFMonitorInfo::GetWorkArea(RECT* out, HMONITOR monitor) const
{
    if (monitor != NULL && m_pfnGetMonitorInfo != NULL)
    {
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        if (m_pfnGetMonitorInfo(monitor, &info))
        {
            *out = info.rcWork;
            return;
        }
    }
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, out, 0);
}

void CSFMonitorInfo::GetWorkArea(RECT* out, CWnd* wnd) const
{
    HMONITOR monitor = m_pfnMonitorFromWindow ? m_pfnMonitorFromWindow(wnd->GetSafeHwnd(), MONITOR_DEFAULTTONULL)
                                              : NULL;
    GetWorkArea(out, monitor);
}

const CSFMonitorInfo& GetSFMonitorInfo()
{
    static const CSFMonitorInfo info;
    return info;
}
