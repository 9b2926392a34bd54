// Helpers of the push tests: their picture folder and modal dialogs driven
// from inside their own message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// build\test-output\push (created on first use).
std::wstring PushOutputFolder();
// Runs open (which shows a modal dialog on this thread); once a dialog
// holding a control of id `marker` shows, drive gets its window. false when
// no such dialog showed.
bool DriveModal(int marker, const std::function<void()>& open, const std::function<void(HWND)>& drive);
// A BN_CLICKED of a dialog's button.
void ClickButton(HWND dialog, int id);
