#include "Sonatrel.h"
#include <windows.h>

// Start-up of the client: ends with the client's own exit code -9.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    CSonatrel().GetHttpServerPort();
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(-9));
    return -9;
}
