// The update check that the login thread runs between setting the messaging
// options and logging in. When the manifest makes a module forced or offered,
// the updater "AutoUpdate\Yeb360Update.exe" below the client's folder is
// started with one argument (client path "?.?" user name in lower case "?.?"
// password) and the main window is told to quit (WM_USER+40).
#pragma once

#include "Framework.h"

#include <utility>
#include <vector>

// The main window's message that ends the program for the updater.
const UINT WM_UPDATE_QUIT = WM_USER + 40;

struct UpdateCheckRequest
{
    // The update locations of the server configuration: D and V (the URL).
    std::vector<std::pair<CString, CString>> locations;
    CString userName;
    // The login password as the login dialog stores it: the typed password
    // followed by a copy of its first three characters.
    CString storedPassword;
    HWND mainWindow = nullptr;
    // The client program; the running program when empty.
    CString programPath;
};

// 0 (log in), 0x80204001-0x80204003 (report a failed login) or 0x80204101
// (the updater was started; the login must not go on).
HRESULT CheckForUpdate(const UpdateCheckRequest& request);

// The updater's argument: path "?.?" lower-cased user "?.?" password as typed
// (a stored password longer than six characters loses its last three).
CString BuildUpdaterArguments(LPCWSTR programPath, LPCWSTR userName, LPCWSTR storedPassword);
