#include "SFModuleList.h"

BOOL SFIsModuleListAvailable()
{
    static const BOOL available = []() -> BOOL {
        // PSAPI stays loaded for the module walks of the hooks.
        if (::LoadLibraryA("PSAPI.DLL") != NULL)
            return TRUE;
        HMODULE kernel = ::GetModuleHandleA("KERNEL32.DLL");
        return kernel && ::GetProcAddress(kernel, "CreateToolhelp32Snapshot") != NULL ? TRUE : FALSE;
    }();
    return available;
}

BOOL SFGetModuleRange(HMODULE module, ULONG_PTR* base, ULONG_PTR* size)
{
    if (module == NULL)
        return FALSE;
    const BYTE* image = (const BYTE*)module;
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)image;
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return FALSE;
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(image + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE)
        return FALSE;
    *base = (ULONG_PTR)module;
    *size = nt->OptionalHeader.SizeOfImage;
    return TRUE;
}
