/* A library whose imports the skin's API hooks patch: each export makes one
   system call from inside the library, so a test sees what the library's
   own import table reaches. Built twice under two names, to be loaded once
   before and once after a skin is. */
#include <windows.h>

__declspec(dllexport) HMODULE ProbeGetModuleHandleA(const char* name) { return GetModuleHandleA(name); }
__declspec(dllexport) DWORD ProbeGetSysColor(int index) { return GetSysColor(index); }
__declspec(dllexport) int ProbeGetSystemMetrics(int index) { return GetSystemMetrics(index); }
__declspec(dllexport) LRESULT ProbeDefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
__declspec(dllexport) HMODULE ProbeLoadLibraryW(const wchar_t* name) { return LoadLibraryW(name); }
__declspec(dllexport) FARPROC ProbeGetProcAddress(HMODULE module, const char* name) { return GetProcAddress(module, name); }
__declspec(dllexport) HMODULE ProbeLoadLibraryExW(const wchar_t* name, DWORD flags)
{
    return LoadLibraryExW(name, NULL, flags);
}
__declspec(dllexport) HANDLE ProbeCreateThread(LPTHREAD_START_ROUTINE start, void* parameter, SIZE_T stack)
{
    return CreateThread(NULL, stack, start, parameter, stack ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0, NULL);
}
__declspec(dllexport) int ProbeSetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw)
{
    return SetScrollInfo(hwnd, bar, info, redraw);
}
__declspec(dllexport) BOOL ProbeGetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) { return GetScrollInfo(hwnd, bar, info); }
__declspec(dllexport) int ProbeSetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    return SetScrollPos(hwnd, bar, pos, redraw);
}
__declspec(dllexport) BOOL ProbeEnableScrollBar(HWND hwnd, UINT bar, UINT arrows) { return EnableScrollBar(hwnd, bar, arrows); }
