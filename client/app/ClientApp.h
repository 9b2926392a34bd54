// The application object of Yeb: single instance, OLE and COM start, the
// settings object, the drop-shadow window class, the main dialog run
// modally, and the signed-in user's identity that every subsystem reads.
// Every end of the program, a second copy's included, has exit code -9.
#pragma once

#include "Framework.h"

class CClientApp : public CWinApp
{
  public:
    CClientApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    // The framework's help operation: opens the service's help page.
    void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT) override;

    // The signed-in user (texts are returned as copies).
    void SetUserEmail(LPCWSTR email) { m_strUserEmail = email; }
    // Copies the e-mail out and returns 1; gives "" and 0 when none is set.
    int GetUserEmail(CString& email) const;
    void SetUploadServerHost(LPCWSTR host) { m_strUploadHost = host; }
    CString GetUploadServerHost() const { return m_strUploadHost; }
    // Stores the decimal value of the text's leading digits (0 when none).
    void SetUploadServerPort(LPCWSTR port);
    int GetUploadServerPort() const { return m_nUploadPort; }
    void SetUserId(LPCWSTR id) { m_strUserId = id; }
    CString GetUserId() const { return m_strUserId; }

    // Paths of "playlist.xml" of the user and of a buddy.
    CString GetMyPlaylistPath() const;
    CString GetFriendPlaylistPath(LPCWSTR buddy) const;
    // The form encoder of requests (see UrlEncodeForm).
    static int UrlEncodeForm(const char* bytes, char* out, int outSize);

    // The name of the mutex that marks a running client.
    static const wchar_t* const MutexName;
    // Searches a command line for "-l:logout" (case-sensitive, anywhere).
    static bool HasLogoutSwitch(LPCWSTR commandLine);

    DECLARE_MESSAGE_MAP()

  private:
    // EnumWindows callback: finds the running client's main window through a
    // window of a "Yeb.exe" process that has an owner, and sends it WM_USER+45.
    static BOOL CALLBACK FindRunningInstance(HWND window, LPARAM);
    // Saves and releases, then ends the process with exit code -9.
    [[noreturn]] void EndProcess();

    CString m_strReserved; // "" (no operation reads it)
    CString m_strUserEmail;
    CString m_strUploadHost;
    CString m_strUserId;
    int m_nUploadPort;

    HANDLE m_hMutex;
    BOOL m_bOleStarted;
    BOOL m_bComStarted;
};

// The application object.
CClientApp* GetClientApp();

// Message that brings the running client to the front.
#define WM_YEB_BRING_TO_FRONT (WM_USER + 45)
