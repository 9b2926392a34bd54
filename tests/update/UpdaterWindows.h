#pragma once
// Drives the windows of a running Yeb360Update.exe from the test program by
// window messages, as a user's clicks would: the update dialog (caption
// "升级") and its message box (caption "升级提示"). Controls of the other
// process are read with the messages the system carries across processes;
// the module list's rows through a buffer in the updater's own memory.
#include <winsock2.h>
#include <windows.h>

#include <string>

namespace updatetest
{

const wchar_t kUpdateDialogCaption[] = L"升级";
const wchar_t kUpdateMessageCaption[] = L"升级提示";

class UpdaterWindows
{
  public:
    // process: the updater's process handle (the caller keeps it).
    explicit UpdaterWindows(HANDLE process) : m_process(process) {}

    // A shown top-level window of the updater with this caption; null after
    // the timeout or when the updater has ended.
    HWND WaitFor(const wchar_t* caption, DWORD timeoutMs = 30000) const;
    // Waits for the message box, keeps its text, presses the button (IDOK or
    // IDCANCEL) and waits until the box has gone. The text, or "<no box>".
    std::wstring Answer(int button, DWORD timeoutMs = 30000, const wchar_t* picture = nullptr) const;
    bool WaitUntilGone(HWND window, DWORD timeoutMs = 10000) const;
    bool Ended(DWORD timeoutMs) const;

    static std::wstring Text(HWND window, int id = 0);
    static bool IsShown(HWND window, int id);
    static bool IsEnabled(HWND window, int id);
    // The control's rectangle in the window's client coordinates.
    static RECT ClientRectOf(HWND window, int id);
    // A button click as the button reports it to its window.
    static void Click(HWND window, int id);

    // The module list (control 1004) of the update dialog.
    int Rows(HWND dialog) const;
    std::wstring RowText(HWND dialog, int row, int column) const;
    bool RowChecked(HWND dialog, int row) const;
    bool SetRowChecked(HWND dialog, int row, bool checked) const;
    DWORD ListExtendedStyle(HWND dialog) const;

    // Keeps a picture of the window (from the screen, the window brought
    // above the other ordinary windows first) as
    // build\test-output\updater\<name>.png.
    static bool SavePicture(HWND window, const wchar_t* name);

  private:
    HANDLE m_process;
};

} // namespace updatetest
