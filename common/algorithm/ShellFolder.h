// The My Music lookup shared by the client and the updater: the shell's
// answer, or, where the shell does not know the folder, the "My Music" value
// of the current user's Explorer "Shell Folders" key (made below the Personal
// folder and recorded there when asked to create it). The environment
// variable YEB_MYMUSIC, when set, names the folder instead (side-by-side runs
// of several clients on one machine).
#pragma once

#include <winsock2.h>
#include <windows.h>

// Folder numbers the programs ask for.
const int SHELL_FOLDER_PERSONAL = 5;
const int SHELL_FOLDER_MYMUSIC = 13;
const int SHELL_FOLDER_FLAG_CREATE = 0x8000;

// path receives up to MAX_PATH characters. Non-zero on success.
BOOL GetShellSpecialFolderPath(HWND window, LPWSTR path, int folder, BOOL create);
// The same lookup with an HRESULT (0 on success); a create request is the flag
// 0x8000 inside folder.
HRESULT GetShellFolderPath(HWND window, int folder, HANDLE token, DWORD flags, LPWSTR path);

// The shell calls the lookups make; tests replace them to act as a shell that
// does not know the folder. Null arguments restore the shell's own functions.
typedef BOOL(WINAPI* ShellSpecialFolderFn)(HWND, LPWSTR, int, BOOL);
typedef HRESULT(WINAPI* ShellFolderPathFn)(HWND, int, HANDLE, DWORD, LPWSTR);
void SetShellFolderFunctions(ShellSpecialFolderFn special, ShellFolderPathFn folderPath);
