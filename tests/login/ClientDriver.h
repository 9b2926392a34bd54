// Drives the client's windows from a second thread as a user would, but by
// messages: finds the windows of this process by title, reads and types
// texts, clicks controls, waits for states and keeps pictures of windows
// below the build folder (test-output\login).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace driver
{
// A top-level window of this process whose title is exactly title, or (with
// prefix set) begins with it; NULL after ms.
HWND WaitForWindow(const std::wstring& title, bool prefix, DWORD ms);
// Polls until test() holds; false after ms.
bool WaitUntil(const std::function<bool()>& test, DWORD ms);
std::wstring Text(HWND dialog, int id);
std::wstring Title(HWND window);
bool Visible(HWND dialog, int id);
void Type(HWND dialog, int id, const std::wstring& text);
// WM_COMMAND as a click of the control sends it.
void Click(HWND dialog, int id);
// The control's rectangle in the dialog's client coordinates.
RECT Place(HWND dialog, int id);
// Raises the window above the others and keeps its picture as name (PNG).
void Capture(HWND window, const std::wstring& name);
std::wstring OutputFolder();
} // namespace driver
