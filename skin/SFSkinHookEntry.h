// One hooked system function: where its real code is and what the import
// tables point at instead while the hooks are in.
#pragma once
#include <Framework.h>

class CSFSkinHookManager;

class CSFSkinHookEntry
{
public:
    CSFSkinHookEntry(CSFSkinHookManager* owner, LPCSTR moduleName, LPCSTR functionName, FARPROC real,
                     FARPROC replacement);

    CSFSkinHookManager* m_owner;
    BOOL m_installed; // at least one module was patched
    char m_moduleName[20];
    char m_functionName[32];
    FARPROC m_real;
    FARPROC m_replacement;
};
