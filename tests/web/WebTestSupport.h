// Helpers of the web tests: a window that records what is posted to it (the
// main window's stand-in), the browser events as the browser raises them,
// message pumping and the pictures' folder.
#pragma once
#include "Framework.h"

#include <string>
#include <vector>

class CHtmlView;

struct RecordedMessage
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring argument; // for WM_COMMAND: the heap text, freed on receipt
};

// A hidden top-level window that keeps every message posted or sent to it
// from WM_USER on, and WM_COMMAND (whose heap argument it frees, as the main
// window does).
class RecordingWindow
{
  public:
    RecordingWindow();
    ~RecordingWindow();
    HWND Handle() const { return m_hWnd; }
    std::vector<RecordedMessage> Take();

  private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd;
};

void LoadLanguageFile();
void PumpMessages();
template <typename Cond> bool PumpUntil(Cond cond, DWORD ms)
{
    DWORD start = ::GetTickCount();
    while (!cond() && ::GetTickCount() - start < ms)
    {
        PumpMessages();
        ::Sleep(5);
    }
    return cond();
}
// build\test-output\web\<name>
std::wstring WebPicturePath(const wchar_t* name);

// Browser events on the view's sink; BeforeNavigate gives the cancel flag.
bool RaiseBeforeNavigate(CHtmlView& view, const wchar_t* url);
void RaiseUrlEvent(CHtmlView& view, DISPID id, const wchar_t* url);
void RaiseTitleChange(CHtmlView& view, const wchar_t* title);
void RaiseCommandStateChange(CHtmlView& view, long command, bool enable);
