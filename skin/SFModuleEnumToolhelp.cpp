#include "SFModuleEnumToolhelp.h"

CSFModuleEnumToolhelp::CSFModuleEnumToolhelp(DWORD processId)
    : m_processId(processId), m_pfnSnapshot(NULL), m_pfnFirst(NULL), m_pfnNext(NULL),
      m_snapshot(INVALID_HANDLE_VALUE)
{
    ZeroMemory(&m_entry, sizeof(m_entry));
    if (HMODULE kernel = ::GetModuleHandleW(L"KERNEL32"))
    {
        m_pfnSnapshot = (SnapshotFn)(void*)::GetProcAddress(kernel, "CreateToolhelp32Snapshot");
        m_pfnFirst = (ModuleWalkFn)(void*)::GetProcAddress(kernel, "Module32FirstW");
        m_pfnNext = (ModuleWalkFn)(void*)::GetProcAddress(kernel, "Module32NextW");
    }
}

CSFModuleEnumToolhelp::~CSFModuleEnumToolhelp() { CloseSnapshot(); }

void CSFModuleEnumToolhelp::CloseSnapshot()
{
    if (m_snapshot != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_snapshot);
    m_snapshot = INVALID_HANDLE_VALUE;
}

HMODULE CSFModuleEnumToolhelp::GetFirstModule()
{
    CloseSnapshot();
    if (m_pfnSnapshot == NULL || m_pfnFirst == NULL)
        return NULL;
    m_snapshot = m_pfnSnapshot(TH32CS_SNAPMODULE, m_processId);
    if (m_snapshot == INVALID_HANDLE_VALUE)
        return NULL;
    m_entry.dwSize = sizeof(m_entry);
    return m_pfnFirst(m_snapshot, &m_entry) ? m_entry.hModule : NULL;
}

HMODULE CSFModuleEnumToolhelp::GetNextModule()
{
    if (m_snapshot == INVALID_HANDLE_VALUE || m_pfnNext == NULL)
        return NULL;
    return m_pfnNext(m_snapshot, &m_entry) ? m_entry.hModule : NULL;
}

BOOL CSFModuleEnumToolhelp::GetModuleInfo(HMODULE module, MODULEINFO* info)
{
    if (m_pfnSnapshot == NULL || m_pfnFirst == NULL || m_pfnNext == NULL || info == NULL)
        return FALSE;
    HANDLE snapshot = m_pfnSnapshot(TH32CS_SNAPMODULE, m_processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return FALSE;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    BOOL found = FALSE;
    for (BOOL more = m_pfnFirst(snapshot, &entry); more; more = m_pfnNext(snapshot, &entry))
        if (entry.hModule == module)
        {
            info->lpBaseOfDll = entry.modBaseAddr;
            info->SizeOfImage = entry.modBaseSize;
            info->EntryPoint = NULL;
            found = TRUE;
            break;
        }
    ::CloseHandle(snapshot);
    return found;
}
