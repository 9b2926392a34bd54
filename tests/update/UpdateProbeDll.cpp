// A stand-in server library for the update tests: DllRegisterServer and
// DllUnregisterServer append "register" or "unregister" to "<its path>.calls".
// A library whose file name contains "sfalse" answers S_FALSE to
// DllUnregisterServer.
#include <windows.h>

static HMODULE g_module;

static void Record(const char* what)
{
    wchar_t path[MAX_PATH + 16] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    lstrcatW(path, L".calls");
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, what, lstrlenA(what), &written, nullptr);
    WriteFile(file, "\n", 1, &written, nullptr);
    CloseHandle(file);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer()
{
    Record("register");
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer()
{
    Record("unregister");
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    CharLowerW(path);
    return wcsstr(path, L"sfalse") ? S_FALSE : S_OK;
}
