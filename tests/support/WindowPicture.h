// Pictures of windows as a user sees them, kept as PNG files by the tests.
#pragma once
#include <windows.h>

#include <string>

// Copies the window's pixels from the screen into a PNG file at path; with
// probe set, also gives the colour at that point of the window. false when
// the picture could not be saved.
bool SaveWindowPicture(HWND window, const std::wstring& path, const POINT* probe = nullptr,
                       COLORREF* colour = nullptr);
