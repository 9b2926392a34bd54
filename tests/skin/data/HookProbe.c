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
