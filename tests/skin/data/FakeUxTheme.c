/* A stand-in for the visual-styles library with entry points that count
   their calls, so tests can watch the wrapper open and close themes. */
#include <windows.h>

static LONG g_opened, g_closed;

__declspec(dllexport) HANDLE WINAPI OpenThemeData(HWND hwnd, LPCWSTR classList)
{
    (void)hwnd;
    (void)classList;
    return (HANDLE)(ULONG_PTR)(0x1000 + InterlockedIncrement(&g_opened));
}

__declspec(dllexport) HRESULT WINAPI CloseThemeData(HANDLE theme)
{
    (void)theme;
    InterlockedIncrement(&g_closed);
    return S_OK;
}

__declspec(dllexport) BOOL WINAPI IsThemeActive(void) { return TRUE; }

__declspec(dllexport) BOOL WINAPI IsAppThemed(void) { return TRUE; }

__declspec(dllexport) LONG WINAPI FakeClosedCount(void) { return g_closed; }
