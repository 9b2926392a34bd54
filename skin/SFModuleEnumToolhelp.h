// The process's modules through the Toolhelp snapshot of KERNEL32, for
// systems without PSAPI.
#pragma once
#include "SFModuleEnumImpl.h"
#include <tlhelp32.h>

class CSFModuleEnumToolhelp : public CSFModuleEnumImpl
{
public:
    explicit CSFModuleEnumToolhelp(DWORD processId);
    ~CSFModuleEnumToolhelp() override;
    HMODULE GetFirstModule() override;
    HMODULE GetNextModule() override;
    BOOL GetModuleInfo(HMODULE module, MODULEINFO* info) override;

private:
    typedef HANDLE(WINAPI* SnapshotFn)(DWORD, DWORD);
    typedef BOOL(WINAPI* ModuleWalkFn)(HANDLE, LPMODULEENTRY32W);
    void CloseSnapshot();
    DWORD m_processId;
    SnapshotFn m_pfnSnapshot;
    ModuleWalkFn m_pfnFirst;
    ModuleWalkFn m_pfnNext;
    HANDLE m_snapshot;
    MODULEENTRY32W m_entry;
};
