#include "SFModuleEnumPsapi.h"

CSFModuleEnumPsapi::CSFModuleEnumPsapi(DWORD processId, HMODULE psapi)
    : m_processId(processId), m_pfnEnumProcessModules(NULL), m_pfnGetModuleInformation(NULL), m_index(0)
{
    if (psapi)
    {
        m_pfnEnumProcessModules = (EnumProcessModulesFn)(void*)::GetProcAddress(psapi, "EnumProcessModules");
        m_pfnGetModuleInformation = (GetModuleInformationFn)(void*)::GetProcAddress(psapi, "GetModuleInformation");
    }
}

HMODULE CSFModuleEnumPsapi::GetFirstModule()
{
    m_modules.clear();
    m_index = 0;
    if (m_pfnEnumProcessModules == NULL)
        return NULL;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, m_processId);
    if (process == NULL)
        return NULL;
    HMODULE first = NULL;
    DWORD needed = 0;
    if (m_pfnEnumProcessModules(process, &first, sizeof(first), &needed) && needed >= sizeof(HMODULE))
    {
        // The list is sized by handles, whatever the pointer width.
        m_modules.resize(needed / sizeof(HMODULE));
        DWORD got = 0;
        if (m_pfnEnumProcessModules(process, m_modules.data(), (DWORD)(m_modules.size() * sizeof(HMODULE)), &got))
        {
            if (got / sizeof(HMODULE) < m_modules.size())
                m_modules.resize(got / sizeof(HMODULE));
        }
        else
            m_modules.clear();
    }
    ::CloseHandle(process);
    return m_modules.empty() ? NULL : m_modules[0];
}

HMODULE CSFModuleEnumPsapi::GetNextModule()
{
    if (m_index + 1 >= m_modules.size())
        return NULL;
    return m_modules[++m_index];
}

BOOL CSFModuleEnumPsapi::GetModuleInfo(HMODULE module, MODULEINFO* info)
{
    if (m_pfnGetModuleInformation == NULL || info == NULL)
        return FALSE;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, m_processId);
    if (process == NULL)
        return FALSE;
    BOOL ok = m_pfnGetModuleInformation(process, module, info, sizeof(MODULEINFO));
    ::CloseHandle(process);
    return ok;
}
