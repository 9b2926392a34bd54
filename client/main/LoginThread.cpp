#include "LoginThread.h"

#include "ClientApp.h"
#include "DlgLogin.h"
#include "DlgMain.h"
#include "UpdateCheck.h"
#include "UpdateList.h"
#include "VersionInfoFile.h"
#include "Vossel.h"

BOOL BuildLoginOptions(const CServerConfig& config, CString& options)
{
    ServerEntry server;
    if (!config.PickServer(L"0", server))
        return FALSE;
    options.Format(L"%s&%s", (LPCWSTR)server.D, (LPCWSTR)server.I);
    for (const wchar_t* type : {L"3", L"1", L"2"})
    {
        ServerEntry more;
        if (config.PickServer(type, more))
        {
            CString pair;
            pair.Format(L"&%s&%s", (LPCWSTR)more.D, (LPCWSTR)more.I);
            options += pair;
        }
    }
    return TRUE;
}

namespace
{
// Tells the dialog of a failed attempt unless it stopped waiting.
void ReportFailure(const LoginAttempt& attempt, WPARAM reason)
{
    if (!attempt.cancelled)
        ::PostMessageW(attempt.dialog, WM_LOGIN_FAILED, reason, 0);
}
} // namespace

DWORD WINAPI LoginThread(LPVOID argument)
{
    if (!argument)
        return 1;
    std::shared_ptr<LoginAttempt> attempt = *static_cast<std::shared_ptr<LoginAttempt>*>(argument);
    delete static_cast<std::shared_ptr<LoginAttempt>*>(argument);

    if (!attempt->config.Load())
    {
        ReportFailure(*attempt, LOGIN_FAILED_NETWORK);
        return 1;
    }
    CString options;
    if (!BuildLoginOptions(attempt->config, options))
    {
        ReportFailure(*attempt, LOGIN_FAILED_SERVER_BUSY);
        return 1;
    }
    ServerEntry upload;
    if (attempt->config.PickServer(L"4", upload))
        if (CClientApp* app = GetClientApp())
        {
            app->SetUploadServerHost(upload.I);
            app->SetUploadServerPort(upload.P);
        }
    if (attempt->cancelled)
        return 1;
    yebJinSetOptions(options);

    UpdateCheckRequest request;
    for (const UpdateLocation& location : attempt->config.GetUpdateLocations())
        request.locations.push_back({location.D, location.V});
    attempt->user.MakeLower();
    request.userName = attempt->user;
    request.storedPassword = attempt->password;
    request.mainWindow = attempt->mainWindow;
    HRESULT check = CheckForUpdate(request);
    if (check == UPDATE_S_UPDATER_STARTED)
        return static_cast<DWORD>(check); // the main window is already ending
    if (check < 0)
    {
        // The dialog's timer shows the text of the code (result before flag).
        attempt->result = check;
        ::InterlockedExchange(&attempt->finished, 1);
        return static_cast<DWORD>(check);
    }
    if (attempt->cancelled)
        return 1;
    attempt->loginStarted = ::GetTickCount() | 1;
    yebJinClientLogin(attempt->user, attempt->password, NULL, &CDlgMain::OnMessagingCommand, attempt->mainWindow);
    return 1;
}
