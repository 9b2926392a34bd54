// Folder helpers shared by the test programs.
#pragma once

#include <string>

// Removes a folder with everything below it, read-only files included; a
// missing folder is fine.
void RemoveTree(const std::wstring& folder);

// A fresh empty folder parent\name, made the running test case's own by its
// name: ctest runs the cases of one test program side by side, each in a
// process of its own, and a folder shared by name would be emptied under
// another case's feet.
std::wstring FreshTestFolder(const std::wstring& parent, const std::wstring& name);
