// Runs the client's main window in the test program, as the program runs
// it, while a script drives it from a second thread by messages. Settings,
// My Music and the language file are the test's own.
#pragma once

#include "ClientApp.h"
#include "DlgMain.h"

#include <functional>
#include <string>

class MainWindowRun
{
  public:
    // name: the folder below test-output\social that holds this run's
    // settings and My Music (emptied first).
    explicit MainWindowRun(const std::wstring& name);
    ~MainWindowRun();

    // The main window starts as after a successful login (or with the given
    // login); the script runs on a second thread; the window is closed after it.
    INT_PTR Run(const std::function<void()>& script, INT_PTR (*login)(CDlgMain*) = NULL);
    // Runs fn on the window's thread and waits for it.
    void OnWindowThread(const std::function<void()>& fn);
    // Hands one received record to the window as the messaging library's
    // thread does (WM_USER+28) and waits until it is handled.
    void Deliver(CommandData* record);
    // The roster (26 per buddy), then login complete (1).
    void SignIn(std::initializer_list<const wchar_t*> buddies);
    // Polls (on the window's thread) until test holds; false after ms.
    bool WaitUntil(const std::function<bool()>& test, DWORD ms);

    CDlgMain& Main() { return *m_main; }
    CClientApp& App() { return m_app; }
    const std::wstring& Folder() const { return m_folder; }
    std::wstring MyMusic() const { return m_folder + L"\\music"; }

  private:
    static LRESULT CALLBACK HelperProc(HWND, UINT, WPARAM, LPARAM);

    std::wstring m_folder;
    CClientApp m_app;
    CDlgMain* m_main = nullptr;
    HWND m_helper = NULL;
};

// A record to deliver: code, slots s1.., extra; filled into `into` when given.
CommandData* MakeRecord(int code, std::initializer_list<const wchar_t*> slots, int extra = 0,
                        CommandData* into = nullptr);
