// The network part of one login, run on a thread of its own: the service's
// server configuration, the choice of servers, the messaging library's
// options, the update check, and the messaging library's login. Success
// arrives later as a command through the main window.
#pragma once
#include "Framework.h"
#include "ServerConfig.h"

#include <memory>

// One login attempt, shared by the login dialog and its thread: the thread
// holds no pointer to the dialog, so a dialog that stops waiting (cancel, a
// new attempt, closing) just lets go of the attempt and the thread ends on
// its own without being killed inside a network call.
struct LoginAttempt
{
    CString user;     // lower-cased by the thread
    CString password; // the typed password followed by its first three characters
    HWND dialog = NULL;
    HWND mainWindow = NULL;
    CServerConfig config;
    // The dialog stopped waiting: nothing more is reported and no login made.
    volatile LONG cancelled = 0;
    // Failures of the update check, for the dialog's timer (result first).
    volatile LONG result = 0;
    volatile LONG finished = 0;
    // Set when the messaging library's login was started (GetTickCount).
    volatile DWORD loginStarted = 0;
};

// The thread procedure; the argument is a heap std::shared_ptr<LoginAttempt>
// that the thread deletes. Returns 1, or the update check's failure code.
DWORD WINAPI LoginThread(LPVOID argument);

// The option text for the messaging library from the configuration: the
// server of type "0" (required), then those of types "3", "1", "2" when
// present, each as "D&I". FALSE when there is no server of type "0".
BOOL BuildLoginOptions(const CServerConfig& config, CString& options);
