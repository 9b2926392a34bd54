// A timer driven by a thread of its own: the thread sends WM_TIMER (wParam
// the timer id, lParam 0) to the window, the first time at once and then one
// interval after the previous tick was handled. Ticks are delivered with
// SendMessage, so a handler never overlaps the next tick. Used on the
// user-interface thread (the scrolling text static runs one).
#pragma once

#include "Framework.h"

class CThreadTimer
{
  public:
    // Starts a timer for (window, id); returns id.
    static UINT SetTimer(HWND window, UINT id, UINT interval);
    // Stops the timer of (window, id) and waits for its thread to end while
    // the caller's thread keeps answering the ticks sent to it. Returns 1,
    // also when there was no such timer.
    static int KillTimer(HWND window, UINT id);
    // Number of running timers (for tests and diagnostics).
    static int Count();

  private:
    struct Record;
    static UINT __cdecl ThreadMain(LPVOID param);
    static void Release(Record* record);
};
