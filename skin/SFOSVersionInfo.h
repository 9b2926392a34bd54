// The system's version as the skinning framework tests it, read once per
// process, and the version of the common-controls library.
#pragma once
#include <FwDefs.h>

class CSFOSVersionInfo
{
public:
    CSFOSVersionInfo();
    // A record for the given version (tests use it to ask about other systems).
    CSFOSVersionInfo(DWORD platform, DWORD major, DWORD minor);

    BOOL IsWin95() const;
    BOOL IsWin9x() const;
    BOOL IsWinNT4() const;
    BOOL IsWin2KOrGreater() const;
    BOOL IsWinXPOrGreater() const;
    // Windows Vista and later (major version above 5).
    BOOL IsWin6OrGreater() const;
    const OSVERSIONINFOW& Info() const { return m_info; }

    // COMCTL32's version as major << 16 | minor, computed once per process;
    // 0x40000 (version 4.0) when the library cannot tell.
    DWORD GetComCtlVersion() const;
    // The same question put to any library: its DllGetVersion answer, or
    // 0x40000 when it has no such entry point or the call fails.
    static DWORD ReadDllVersion(LPCWSTR moduleName);

private:
    OSVERSIONINFOW m_info;
};

// The process-wide record.
const CSFOSVersionInfo& GetOSVersionInfo();
