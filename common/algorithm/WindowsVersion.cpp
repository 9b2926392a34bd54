#include "WindowsVersion.h"

int WindowsVersionCodeOf(bool nt, const OSVERSIONINFOW* info)
{
    if (!info)
        return nt ? WINVER_CODE_NT_OTHER : WINVER_CODE_WIN95;
    DWORD major = info->dwMajorVersion, minor = info->dwMinorVersion;
    if (nt)
    {
        if (major == 4)
            return WINVER_CODE_NT4;
        if (major == 5 && minor == 0)
            return WINVER_CODE_WIN2000;
        if (major == 5 && minor == 1)
            return WINVER_CODE_WINXP;
        return WINVER_CODE_NT_OTHER;
    }
    if (major < 4)
        return WINVER_CODE_WIN32S;
    if (major == 4 && minor == 10)
        return WINVER_CODE_WIN98;
    if (major == 4 && minor == 90)
        return WINVER_CODE_WINME;
    return WINVER_CODE_WIN95;
}

namespace
{
int ComputeCode()
{
    bool nt = (::GetVersion() & 0x80000000u) == 0;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    BOOL ok = ::GetVersionExW(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return WindowsVersionCodeOf(nt, ok ? &info : nullptr);
}

const int g_windowsVersionCode = ComputeCode();
} // namespace

int GetWindowsVersionCode()
{
    return g_windowsVersionCode;
}
