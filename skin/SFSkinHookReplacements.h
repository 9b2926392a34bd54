// The replacement functions of the API hooks and the table that names them.
#pragma once
#include <Framework.h>
#include <vector>

// Indices of the hook table that the replacements look their real function up by.
enum
{
    SF_HOOK_LOADLIBRARYA = 0,
    SF_HOOK_LOADLIBRARYW = 1,
    SF_HOOK_LOADLIBRARYEXA = 2,
    SF_HOOK_LOADLIBRARYEXW = 3,
    SF_HOOK_GETPROCADDRESS = 4,
    SF_HOOK_GETMODULEHANDLEA = 5,
    SF_HOOK_CREATETHREAD = 37,
};

struct SFHookDefinition
{
    int index;
    LPCSTR module;
    LPCSTR function;
    int option; // 0: always; else the apply-option bit that asks for it
    FARPROC replacement;
};

// The table in the order the hooks go in.
const std::vector<SFHookDefinition>& SFHookTable();
// The start routine new threads get while the CreateThread hook wraps them.
DWORD WINAPI SkinThreadStart(LPVOID record);
