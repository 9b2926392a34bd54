// Yeb360Update: started by the client as "AutoUpdate\Yeb360Update.exe" with
// one argument (client path "?.?" user name "?.?" credential).
#include "UpdateApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int)
{
    CUpdateApp& app = GetUpdateApp();
    app.InitInstance(commandLine);
    return app.ExitInstance();
}
