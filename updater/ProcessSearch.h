// Finding running programs by their file name (Toolhelp process snapshot).
#pragma once

#include <winsock2.h>
#include <windows.h>

// The id of the first running process whose file name equals name + ".exe"
// without regard to case; -1 when none runs.
DWORD FindProcessByExeName(LPCWSTR name);
// The same search limited to programs whose file lies inside folder (ending
// in '\'); the updater closes only programs of the client's own folder.
DWORD FindProcessInFolder(LPCWSTR name, LPCWSTR folder);
// The id of a running process started from exactly this program file; -1.
DWORD FindProcessByPath(LPCWSTR path);
