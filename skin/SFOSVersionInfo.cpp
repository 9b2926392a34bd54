#include "SFOSVersionInfo.h"
#include "SFLoadedModule.h"
#include <shlwapi.h>

CSFOSVersionInfo::CSFOSVersionInfo() : m_info()
{
    m_info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    ::GetVersionExW(&m_info);
}

CSFOSVersionInfo::CSFOSVersionInfo(DWORD platform, DWORD major, DWORD minor) : m_info()
{
    m_info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    m_info.dwPlatformId = platform;
    m_info.dwMajorVersion = major;
    m_info.dwMinorVersion = minor;
}

BOOL CSFOSVersionInfo::IsWin95() const
{
    return m_info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && m_info.dwMajorVersion == 4 &&
           m_info.dwMinorVersion < 10;
}

BOOL CSFOSVersionInfo::IsWin9x() const { return m_info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS; }

BOOL CSFOSVersionInfo::IsWinNT4() const
{
    return m_info.dwPlatformId == VER_PLATFORM_WIN32_NT && m_info.dwMajorVersion == 4 && m_info.dwMinorVersion == 0;
}

BOOL CSFOSVersionInfo::IsWin2KOrGreater() const
{
    return m_info.dwPlatformId >= VER_PLATFORM_WIN32_NT && m_info.dwMajorVersion >= 5;
}

BOOL CSFOSVersionInfo::IsWinXPOrGreater() const
{
    return m_info.dwPlatformId > VER_PLATFORM_WIN32_WINDOWS &&
           (m_info.dwMajorVersion > 5 || (m_info.dwMajorVersion == 5 && m_info.dwMinorVersion > 0));
}

BOOL CSFOSVersionInfo::IsWin6OrGreater() const { return m_info.dwMajorVersion > 5; }

DWORD CSFOSVersionInfo::ReadDllVersion(LPCWSTR moduleName)
{
    CSFLoadedModule module;
    DWORD version = 0;
    if (module.Init(moduleName))
    {
        typedef HRESULT(CALLBACK * DllGetVersionFn)(DLLVERSIONINFO*);
        DllGetVersionFn pfn = (DllGetVersionFn)(void*)::GetProcAddress(module.GetHandle(), "DllGetVersion");
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof(info);
        if (pfn != NULL && SUCCEEDED(pfn(&info)))
            version = (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
    }
    return version != 0 ? version : 0x40000;
}

DWORD CSFOSVersionInfo::GetComCtlVersion() const
{
    static const DWORD version = ReadDllVersion(L"COMCTL32.DLL");
    return version;
}

const CSFOSVersionInfo& GetOSVersionInfo()
{
    static const CSFOSVersionInfo info;
    return info;
}
