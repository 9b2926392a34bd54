// Yeb360Update: started by the client as "AutoUpdate\Yeb360Update.exe" with
// one argument (client path "?.?" user name "?.?" credential). The
// framework's entry point runs the application object.
#include "UpdateApp.h"

CUpdateApp theApp;
