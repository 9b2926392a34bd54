// A module handle held for a while: taken from the loaded modules when the
// module is there, else loaded (and then freed again by the holder).
#pragma once
#include <Framework.h>

class CSFLoadedModule
{
public:
    enum Kind
    {
        kindNone = 0,
        kindFound = 1,  // GetModuleHandleW: not owned
        kindLoaded = 2, // LoadLibraryW: freed by Release
    };

    CSFLoadedModule() : m_hModule(NULL), m_kind(kindNone) {}
    ~CSFLoadedModule() { Release(); }
    CSFLoadedModule(const CSFLoadedModule&) = delete;
    CSFLoadedModule& operator=(const CSFLoadedModule&) = delete;

    // Releases what is held, then finds or loads the module; FALSE when neither works.
    BOOL Init(LPCWSTR name);
    void Release();

    HMODULE GetHandle() const { return m_hModule; }
    Kind GetKind() const { return m_kind; }
    const CString& GetName() const { return m_name; }

private:
    CString m_name;
    HMODULE m_hModule;
    Kind m_kind;
};
