#include "SFModuleEnumerator.h"
#include "SFModuleEnumPsapi.h"
#include "SFModuleEnumToolhelp.h"

namespace
{
// PSAPI is loaded once for the process's life.
HMODULE Psapi()
{
    static HMODULE psapi = ::LoadLibraryA("PSAPI.DLL");
    return psapi;
}

BOOL HasToolhelp()
{
    HMODULE kernel = ::GetModuleHandleW(L"KERNEL32.DLL");
    return kernel && ::GetProcAddress(kernel, "CreateToolhelp32Snapshot") != NULL;
}
} // namespace

CSFModuleEnumerator::CSFModuleEnumerator(DWORD processId, Way way) : m_impl(NULL), m_psapi(FALSE)
{
    if (way == wayBest && Psapi() != NULL)
    {
        m_impl = new CSFModuleEnumPsapi(processId, Psapi());
        m_psapi = TRUE;
    }
    else if (HasToolhelp())
        m_impl = new CSFModuleEnumToolhelp(processId);
}

CSFModuleEnumerator::~CSFModuleEnumerator() { delete m_impl; }
