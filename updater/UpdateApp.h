// The updater's application object: a single instance per program name, the
// one argument the client hands over (client path "?.?" user name "?.?"
// credential), the client's folder (the parent of the updater's own folder
// "AutoUpdate") and the command line that starts the client again.
#pragma once

#include "Framework.h"

class CUpdateApp : public CWinApp
{
  public:
    CUpdateApp();
    ~CUpdateApp() override;

    // The whole life of the program: single-instance guard, command line,
    // the update window. Always FALSE (no message loop follows).
    BOOL InitInstance() override;
    // Closes the single-instance mutex.
    int ExitInstance() override;

    // Splits the argument at the first two "?.?"; the credential is all the
    // text after the second (it may hold "?.?" itself). 1 when the three
    // fields were set; 0 after "Parameters aren't correct!".
    int ParseCommandLine(LPCWSTR arguments);

    // The client's folder with a trailing backslash (computed once).
    CString GetClientDir();
    // The folder above the folder of modulePath, with its backslash.
    static CString ClientDirOf(LPCWSTR modulePath);

    CString GetClientExePath() const { return m_clientExePath; }
    CString GetUserName() const { return m_userName; }
    CString GetCredential() const { return m_credential; }

    // The client's arguments for a new start: "-u:s:" user "?.?" credential
    // and a blank, with "-l:logout" in front (no blank) for a logged-out start.
    CString BuildRestartArguments(BOOL logout) const;

  private:
    CUpdateApp(const CUpdateApp&) = delete;
    CUpdateApp& operator=(const CUpdateApp&) = delete;
    void CloseMutex();

    HANDLE m_mutex;
    CString m_clientDir;
    CString m_clientExePath;
    CString m_userName;
    CString m_credential;
};
