// Folder helpers shared by the test programs.
#pragma once

#include <string>

// Removes a folder with everything below it, read-only files included; a
// missing folder is fine.
void RemoveTree(const std::wstring& folder);
