// File helpers of the package install; each takes a full path.
#pragma once

#include "Framework.h"

// TRUE when a file search finds the path.
BOOL FileExists(LPCWSTR path);
// 1 when the file existed and was deleted; 0 for an empty path, a missing
// file or a failed delete.
int RemoveFileIfPresent(LPCWSTR path);
// Starts the program (no command line) and waits until it ends, at most
// timeoutMs. 1 for an empty path or a program that ended in time; 0 when it
// cannot start or is still running at the time-out.
int RunProgramAndWait(LPCWSTR path, DWORD timeoutMs);
// Loads the library and calls its "DllRegisterServer": 1 for an empty or
// missing path and for a call that succeeded (result >= 0); 0 otherwise.
int RegisterServerDll(LPCWSTR path);
// Loads the library and calls its "DllUnregisterServer": 1 when the library
// cannot be loaded or the call answers exactly S_OK; 0 for an empty or
// missing path, a missing export or any other answer.
int UnregisterServerDll(LPCWSTR path);
// Creates every missing level of the folder path. 1.
int CreateDirectoryPath(LPCWSTR path);
// Writes bytes as the whole file at path: the folder is created, a read-only
// file loses the attribute, and the bytes go to a file beside the target
// that then replaces it, so that no cut-off program is ever left behind.
// 1 (also for an empty path, writing nothing); 0 when the path has no
// folder or the file cannot be written.
int WriteExtractedFile(LPCWSTR path, const BYTE* bytes, DWORD count);
