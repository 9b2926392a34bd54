// The modules of a process and each one's base and size: through PSAPI
// where it loads, else through the Toolhelp functions, else nothing.
#pragma once
#include "SFModuleEnumImpl.h"

class CSFModuleEnumerator
{
public:
    enum Way
    {
        wayBest = 0,     // PSAPI, else Toolhelp
        wayToolhelp = 1, // Toolhelp only, as on a system without PSAPI
    };
    explicit CSFModuleEnumerator(DWORD processId = ::GetCurrentProcessId(), Way way = wayBest);
    ~CSFModuleEnumerator();
    CSFModuleEnumerator(const CSFModuleEnumerator&) = delete;
    CSFModuleEnumerator& operator=(const CSFModuleEnumerator&) = delete;

    HMODULE GetFirstModule() { return m_impl ? m_impl->GetFirstModule() : NULL; }
    HMODULE GetNextModule() { return m_impl ? m_impl->GetNextModule() : NULL; }
    BOOL GetModuleInfo(HMODULE module, MODULEINFO* info) { return m_impl ? m_impl->GetModuleInfo(module, info) : FALSE; }
    BOOL UsesPsapi() const { return m_psapi; }

private:
    CSFModuleEnumImpl* m_impl;
    BOOL m_psapi;
};
