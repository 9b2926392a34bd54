// Whether the process's modules can be listed at all: through PSAPI where it
// can be loaded, else through the Toolhelp functions of KERNEL32. A skin
// whose hooks could not reach every module is not loaded.
#pragma once
#include <FwDefs.h>

BOOL SFIsModuleListAvailable();
// Base and size of a loaded module's image, from its own headers.
BOOL SFGetModuleRange(HMODULE module, ULONG_PTR* base, ULONG_PTR* size);
