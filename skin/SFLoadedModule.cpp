#include "SFLoadedModule.h"

BOOL CSFLoadedModule::Init(LPCWSTR name)
{
    Release();
    if (name == NULL)
        return FALSE;
    m_name = name;
    if ((m_hModule = ::GetModuleHandleW(name)) != NULL)
        m_kind = kindFound;
    else if ((m_hModule = ::LoadLibraryW(name)) != NULL)
        m_kind = kindLoaded;
    return m_hModule != NULL;
}

void CSFLoadedModule::Release()
{
    if (m_kind == kindLoaded && m_hModule != NULL)
        ::FreeLibrary(m_hModule);
    m_hModule = NULL;
    m_kind = kindNone;
    m_name.Empty();
}
