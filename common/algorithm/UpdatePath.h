// Paths that the update manifest builds below the client's folder. A file's
// target is the client folder + dest + name, joined as they stand; names come
// from the network, so every join is checked: only plain relative names, one
// folder level after another, may appear. Refused are absolute paths, drive
// letters and any ':' (alternate data streams), "." and ".." levels, empty
// levels, levels ending in '.' or a blank (which Windows strips), device
// names, and the characters Windows refuses in names.
#pragma once

#include "Framework.h"

// TRUE when relative is a safe path below a folder ('\' or '/' between levels;
// a trailing separator is allowed when allowFolder is set).
BOOL IsSafeRelativePath(LPCWSTR relative, BOOL allowFolder = FALSE);
// TRUE for one safe level (no separator at all), such as a package file name.
BOOL IsSafeFileName(LPCWSTR name);
// folder (ending in '\') + dest + middle + name into target, when dest is
// empty or a safe folder path ending in a separator, name a safe relative
// path, and the full path of the result still lies inside folder. middle is
// a fixed text of the program (such as "Download\updaterTemp\").
BOOL BuildUpdateTarget(LPCWSTR folder, LPCWSTR dest, LPCWSTR middle, LPCWSTR name, CString& target);
