// What both ways of listing a process's modules answer.
#pragma once
#include <Framework.h>
#include <psapi.h>

class CSFModuleEnumImpl
{
public:
    virtual ~CSFModuleEnumImpl() {}
    // The first module of a fresh list, 0 when there is none.
    virtual HMODULE GetFirstModule() = 0;
    // The next module of that list, 0 at its end.
    virtual HMODULE GetNextModule() = 0;
    virtual BOOL GetModuleInfo(HMODULE module, MODULEINFO* info) = 0;
};
