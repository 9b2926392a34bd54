// Folder and file functions shared by the windows and the update check.
#pragma once

#include "Framework.h"

// True when a file-system search finds the path (file or folder).
BOOL FileExists(LPCWSTR path);
// Deletes path when it is not empty and exists; 1 on success, 0 otherwise.
int DeleteExistingFile(LPCWSTR path);
// Creates every missing level of the folder path ("\" and "/" both separate
// levels; a separator right after ":" names a drive and is skipped). Returns 1.
int CreateFolderPath(LPCWSTR path);
inline int MakeFolderPath(LPCWSTR path) { return CreateFolderPath(path); }
// Copies source over target, creating target's folder when target does not
// exist and clearing its read-only attribute when it does. 0 when source does
// not exist or target has no folder part; else the result of CopyFileW.
BOOL CopyFileOverwrite(LPCWSTR target, LPCWSTR source);
