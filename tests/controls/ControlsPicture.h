// Where the controls tests keep the pictures of their windows for people to
// look at: test-output\controls below the build folder.
#pragma once
#include <windows.h>

#include <string>

inline std::wstring ControlsPicturePath(const std::wstring& name)
{
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    ::CreateDirectoryW(folder.c_str(), NULL);
    folder += L"\\controls";
    ::CreateDirectoryW(folder.c_str(), NULL);
    return folder + L"\\" + name;
}
