#include "SFSkinHookManager.h"
#include "SFModuleEnumerator.h"
#include "SFOSVersionInfo.h"
#include "SFSkinFramework.h"
#include "SFSkinHookReplacements.h"

namespace
{
CSFSkinHookManager* g_hookManager = NULL;

// The hook manager lives to the end of the process and takes its hooks out then.
struct HookManagerHolder
{
    ~HookManagerHolder()
    {
        delete g_hookManager;
        g_hookManager = NULL;
    }
} g_hookHolder;

void InstallHooks() { GetHookManager()->InstallAll(); }
void RemoveHooks()
{
    if (g_hookManager)
        g_hookManager->RemoveAll();
}
const SFApiHookControl kHookControl = {InstallHooks, RemoveHooks};

ULONG_PTR HighestApplicationAddress()
{
    static ULONG_PTR highest = 0;
    if (highest == 0)
    {
        SYSTEM_INFO info;
        ::GetSystemInfo(&info);
        highest = (ULONG_PTR)info.lpMaximumApplicationAddress;
    }
    return highest;
}

// A Windows 9x import thunk: push <real address>; the address it pushes.
FARPROC ThunkTarget(FARPROC address)
{
    if (!GetOSVersionInfo().IsWin9x() || (ULONG_PTR)address <= HighestApplicationAddress())
        return NULL;
    const BYTE* code = (const BYTE*)(void*)address;
    if (code[0] != 0x68)
        return NULL;
    return (FARPROC)(ULONG_PTR) * (const DWORD*)(code + 1);
}

// Writes one import slot through a writable view of its page.
BOOL WriteSlot(FARPROC* slot, FARPROC value)
{
    MEMORY_BASIC_INFORMATION mbi;
    if (!::VirtualQuery(slot, &mbi, sizeof(mbi)))
        return FALSE;
    DWORD old = 0;
    if (!::VirtualProtect(mbi.BaseAddress, mbi.RegionSize, PAGE_READWRITE, &old))
        return FALSE;
    *slot = value;
    DWORD ignored = 0;
    ::VirtualProtect(mbi.BaseAddress, mbi.RegionSize, old, &ignored);
    return TRUE;
}

const IMAGE_IMPORT_DESCRIPTOR* ImportDirectory(HMODULE module)
{
    const BYTE* base = (const BYTE*)module;
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)base;
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return NULL;
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC)
        return NULL;
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0 || dir.Size == 0)
        return NULL;
    return (const IMAGE_IMPORT_DESCRIPTOR*)(base + dir.VirtualAddress);
}
} // namespace

BOOL SFSameAsciiName(LPCSTR a, LPCSTR b)
{
    if (a == NULL || b == NULL)
        return FALSE;
    for (;; a++, b++)
    {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z')
            x += 'a' - 'A';
        if (y >= 'A' && y <= 'Z')
            y += 'a' - 'A';
        if (x != y)
            return FALSE;
        if (x == 0)
            return TRUE;
    }
}

CSFSkinHookManager* GetHookManager()
{
    if (g_hookManager == NULL)
        g_hookManager = new CSFSkinHookManager;
    return g_hookManager;
}

FARPROC SFRealFunction(int index, FARPROC fallback)
{
    CSFSkinHookEntry* entry = g_hookManager ? g_hookManager->GetEntry(index) : NULL;
    return entry && entry->m_real ? entry->m_real : fallback;
}

void SFRegisterApiHooks() { CSFSkinFramework::SetApiHookControl(&kHookControl); }

CSFSkinHookManager::CSFSkinHookManager() : m_installed(FALSE)
{
    ZeroMemory(m_entries, sizeof(m_entries));
    m_exclusions = {{NULL, L"SHLWAPI.DLL", TRUE},  {NULL, L"COMCTL32.DLL", TRUE}, {NULL, L"KERNEL32.DLL", FALSE},
                    {NULL, L"USER32.DLL", FALSE},  {NULL, L"GDI32.DLL", FALSE},   {NULL, L"WININET.DLL", FALSE},
                    {NULL, L"MSCTF.DLL", FALSE}};
}

CSFSkinHookManager::~CSFSkinHookManager() { RemoveAll(); }

void CSFSkinHookManager::RefreshExclusions(BOOL onlyMissing)
{
    for (Exclusion& e : m_exclusions)
        if (!onlyMissing || e.module == NULL)
            e.module = ::GetModuleHandleW(e.name);
}

BOOL CSFSkinHookManager::IsExcluded(HMODULE module) const
{
    BOOL win9x = GetOSVersionInfo().IsWin9x();
    for (const Exclusion& e : m_exclusions)
        if (e.module != NULL && e.module == module && (!e.only9x || win9x))
            return TRUE;
    return FALSE;
}

CSFSkinHookEntry* CSFSkinHookManager::FindHook(LPCSTR moduleName, LPCSTR functionName)
{
    for (CSFSkinHookEntry* entry : m_entries)
        if (entry && SFSameAsciiName(entry->m_moduleName, moduleName) &&
            SFSameAsciiName(entry->m_functionName, functionName))
            return entry;
    return NULL;
}

CSFSkinHookEntry* CSFSkinHookManager::AddHook(int index, LPCSTR moduleName, LPCSTR functionName, FARPROC replacement)
{
    std::vector<HMODULE> modules;
    return AddHook(index, moduleName, functionName, replacement, modules);
}

CSFSkinHookEntry* CSFSkinHookManager::AddHook(int index, LPCSTR moduleName, LPCSTR functionName, FARPROC replacement,
                                              std::vector<HMODULE>& modules)
{
    if (index < 0 || index >= kHookCount || FindHook(moduleName, functionName))
        return NULL;
    try
    {
        FARPROC real = NULL;
        if (!SFSameAsciiName(moduleName, "UXTHEME.DLL"))
        {
            typedef FARPROC(WINAPI * GetProcFn)(HMODULE, LPCSTR);
            GetProcFn getProc = (GetProcFn)(void*)SFRealFunction(SF_HOOK_GETPROCADDRESS, (FARPROC)::GetProcAddress);
            HMODULE module = ::GetModuleHandleA(moduleName);
            real = module ? getProc(module, functionName) : NULL;
            if (real == NULL && (module = ::LoadLibraryA(moduleName)) != NULL)
            {
                // The process has one module more than the list it was given.
                modules.clear();
                real = getProc(module, functionName);
            }
            if (real == NULL)
                return NULL;
            if (FARPROC target = ThunkTarget(real))
                real = target;
        }
        CSFSkinHookEntry* entry = new CSFSkinHookEntry(this, moduleName, functionName, real, replacement);
        delete m_entries[index];
        m_entries[index] = entry;
        if (real != NULL)
        {
            if (modules.empty())
                modules = ModulesToPatch();
            entry->m_installed = PatchModules(modules, moduleName, real, replacement);
        }
        return entry;
    }
    catch (...)
    {
        return NULL;
    }
}

BOOL CSFSkinHookManager::PatchModule(LPCSTR moduleName, FARPROC from, FARPROC to, HMODULE target)
{
    if (target == NULL || from == NULL || to == NULL)
        return FALSE;
    CCritSecLock lock(m_lock);
    BOOL patched = FALSE;
    try
    {
        const IMAGE_IMPORT_DESCRIPTOR* import = ImportDirectory(target);
        if (import == NULL)
            return FALSE;
        const BYTE* base = (const BYTE*)target;
        for (; import->Name != 0; import++)
        {
            if (!SFSameAsciiName((LPCSTR)(base + import->Name), moduleName) || import->FirstThunk == 0)
                continue;
            // Every slot naming the function is rewritten: a module may
            // import it more than once, through more than one descriptor.
            FARPROC* slot = (FARPROC*)(base + import->FirstThunk);
            for (; *slot != NULL; slot++)
            {

                if (*slot == from)
                {
                    if (!WriteSlot(slot, to))
                        return patched;
                    patched = TRUE;
                }
                else if (ThunkTarget(*slot) == from)
                {
                    FARPROC* pushed = (FARPROC*)((BYTE*)(void*)*slot + 1);
                    if (!WriteSlot(pushed, to))
                        return patched;
                    patched = TRUE;
                }
            }
        }
    }
    catch (...)
    {
        return FALSE;
    }
    return patched;
}

std::vector<HMODULE> CSFSkinHookManager::ModulesToPatch() const
{
    HMODULE self = AfxGetInstanceHandle() ? AfxGetInstanceHandle() : ::GetModuleHandleW(NULL);
    std::vector<HMODULE> modules;
    CSFModuleEnumerator list;
    for (HMODULE module = list.GetFirstModule(); module != NULL; module = list.GetNextModule())
        if (module != self && !IsExcluded(module))
            modules.push_back(module);
    modules.push_back(self);
    return modules;
}

BOOL CSFSkinHookManager::PatchModules(const std::vector<HMODULE>& modules, LPCSTR moduleName, FARPROC from, FARPROC to)
{
    if (from == NULL || to == NULL)
        return FALSE;
    BOOL any = FALSE;
    for (HMODULE module : modules)
        any |= PatchModule(moduleName, from, to, module);
    return any;
}

BOOL CSFSkinHookManager::PatchAllModules(LPCSTR moduleName, FARPROC from, FARPROC to)
{
    if (from == NULL || to == NULL)
        return FALSE;
    return PatchModules(ModulesToPatch(), moduleName, from, to);
}

void CSFSkinHookManager::PatchNewModule(HMODULE module, DWORD flags)
{
    RefreshExclusions(TRUE);
    if (module == NULL || IsExcluded(module) || (flags & LOAD_LIBRARY_AS_DATAFILE))
        return;
    for (CSFSkinHookEntry* entry : m_entries)
        if (entry && entry->m_real && PatchModule(entry->m_moduleName, entry->m_real, entry->m_replacement, module))
            entry->m_installed = TRUE;
}

void CSFSkinHookManager::InstallAll()
{
    if (m_installed)
        return;
    RefreshExclusions(FALSE);
    CSFSkinFramework* manager = FindSkinFramework();
    int options = manager ? manager->GetApplyOptions() : 0;
    // Listing the process's modules is slow (under Wine every module costs
    // calls to the server), so the hooks share one list.
    std::vector<HMODULE> modules;
    for (const SFHookDefinition& hook : SFHookTable())
        if (hook.option == 0 || (options & hook.option))
            AddHook(hook.index, hook.module, hook.function, hook.replacement, modules);
    m_installed = TRUE;
}

void CSFSkinHookManager::RemoveAll()
{
    if (!m_installed)
        return;
    std::vector<HMODULE> modules;
    for (int i = 0; i < kHookCount; i++)
    {
        CSFSkinHookEntry* entry = m_entries[i];
        if (entry == NULL)
            continue;
        if (entry->m_installed)
        {
            if (modules.empty())
                modules = ModulesToPatch();
            PatchModules(modules, entry->m_moduleName, entry->m_replacement, entry->m_real);
        }
        m_entries[i] = NULL;
        delete entry;
    }
    m_installed = FALSE;
}

