// The Windows version code, computed once when the program starts:
// 0 Win32s, 1 other NT-family systems, 2 Windows 95, 3 Windows 98,
// 4 Windows ME, 5 Windows NT 4, 6 Windows 2000, 7 Windows XP.
// The owner-drawn menus choose their drawing style by it.
#pragma once

#include <windows.h>

enum WindowsVersionCode
{
    WINVER_CODE_WIN32S = 0,
    WINVER_CODE_NT_OTHER = 1,
    WINVER_CODE_WIN95 = 2,
    WINVER_CODE_WIN98 = 3,
    WINVER_CODE_WINME = 4,
    WINVER_CODE_NT4 = 5,
    WINVER_CODE_WIN2000 = 6,
    WINVER_CODE_WINXP = 7,
};

// The process-wide code.
int GetWindowsVersionCode();

// The code of a system: nt is whether it belongs to the NT family (top bit of
// GetVersion clear); info is its version record, or null when none could be had.
int WindowsVersionCodeOf(bool nt, const OSVERSIONINFOW* info);
