// The process-wide API hooks: the import address tables of the loaded
// modules are rewritten so that 42 system functions (default window
// procedures, system colours and metrics, scroll-bar functions, module
// loading, thread creation, UxTheme) reach the framework's replacements,
// which consult the skin manager and otherwise call the real function.
// Modules loaded later are patched by the loader hooks; new threads are
// wrapped so that their windows are seen too.
#pragma once
#include "CritSec.h"
#include "SFSkinHookEntry.h"
#include <Framework.h>
#include <vector>

class CSFSkinHookManager
{
public:
    enum
    {
        kHookCount = 42
    };
    CSFSkinHookManager();
    ~CSFSkinHookManager();
    CSFSkinHookManager(const CSFSkinHookManager&) = delete;
    CSFSkinHookManager& operator=(const CSFSkinHookManager&) = delete;

    // Adds the hooks the skin manager's options ask for (once).
    void InstallAll();
    // Points every patched import back at the real function.
    void RemoveAll();
    CSFSkinHookEntry* AddHook(int index, LPCSTR moduleName, LPCSTR functionName, FARPROC replacement);
    CSFSkinHookEntry* FindHook(LPCSTR moduleName, LPCSTR functionName);
    CSFSkinHookEntry* GetEntry(int index) const { return index >= 0 && index < kHookCount ? m_entries[index] : NULL; }
    // Rewrites every import of the function (from) in every module but the
    // excluded ones, the program's own module last. TRUE when any changed.
    BOOL PatchAllModules(LPCSTR moduleName, FARPROC from, FARPROC to);
    // A module just loaded gets every hook in place.
    void PatchNewModule(HMODULE module, DWORD flags);
    // Every import slot of the module that holds from, in every import
    // descriptor of that DLL, gets to. TRUE when any was written.
    BOOL PatchModule(LPCSTR moduleName, FARPROC from, FARPROC to, HMODULE target);
    BOOL IsInstalled() const { return m_installed; }
    BOOL IsExcluded(HMODULE module) const;

private:
    struct Exclusion
    {
        HMODULE module;
        LPCWSTR name;
        BOOL only9x;
    };
    void RefreshExclusions(BOOL onlyMissing);
    // The modules whose imports the hooks rewrite: all but the excluded
    // ones, the program's own module last.
    std::vector<HMODULE> ModulesToPatch() const;
    BOOL PatchModules(const std::vector<HMODULE>& modules, LPCSTR moduleName, FARPROC from, FARPROC to);
    // AddHook patching the modules listed (listed first when empty; emptied
    // when the hook had to load its DLL).
    CSFSkinHookEntry* AddHook(int index, LPCSTR moduleName, LPCSTR functionName, FARPROC replacement,
                              std::vector<HMODULE>& modules);

    CSFSkinHookEntry* m_entries[kHookCount];
    BOOL m_installed;
    std::vector<Exclusion> m_exclusions;
    CCritSec m_lock;
};

// The hook manager, made on first use.
CSFSkinHookManager* GetHookManager();
// The real function of a hook, or fallback when the hook is not in place.
FARPROC SFRealFunction(int index, FARPROC fallback);
// Hands the API hooks to the skin manager, which puts them in place while a
// skin is loaded; NULL control (CSFSkinFramework::SetApiHookControl) takes
// them away again.
void SFRegisterApiHooks();
// The handle GetModuleHandleA answers for "UxTheme.dll" while the skin's
// colours are applied; GetProcAddress on it gives the skin's theme functions.
const HMODULE SF_UXTHEME_PSEUDO_HANDLE = (HMODULE)(ULONG_PTR)0x021FFFF1;
// ASCII names compared with 'A'-'Z' folded, to the end of the first.
BOOL SFSameAsciiName(LPCSTR a, LPCSTR b);
