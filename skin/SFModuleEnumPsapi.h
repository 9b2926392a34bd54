// The process's modules through PSAPI: the list is taken once per walk.
#pragma once
#include "SFModuleEnumImpl.h"
#include <vector>

class CSFModuleEnumPsapi : public CSFModuleEnumImpl
{
public:
    CSFModuleEnumPsapi(DWORD processId, HMODULE psapi);
    HMODULE GetFirstModule() override;
    HMODULE GetNextModule() override;
    BOOL GetModuleInfo(HMODULE module, MODULEINFO* info) override;

private:
    typedef BOOL(WINAPI* EnumProcessModulesFn)(HANDLE, HMODULE*, DWORD, LPDWORD);
    typedef BOOL(WINAPI* GetModuleInformationFn)(HANDLE, HMODULE, LPMODULEINFO, DWORD);
    DWORD m_processId;
    EnumProcessModulesFn m_pfnEnumProcessModules;
    GetModuleInformationFn m_pfnGetModuleInformation;
    std::vector<HMODULE> m_modules;
    size_t m_index;
};
