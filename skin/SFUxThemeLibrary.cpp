#include "SFUxThemeLibrary.h"
#include "SFOSVersionInfo.h"

// Entry points of one UXTHEME module, filled as they are first used.
struct CSFUxThemeLibrary::EntryTable
{
    enum Slot
    {
        slotOpenThemeData,
        slotCloseThemeData,
        slotGetCurrentThemeName,
        slotGetThemeColor,
        slotIsAppThemed,
        slotIsThemeActive,
        slotCount
    };

    explicit EntryTable(LPCWSTR libraryName)
        : module(::LoadLibraryW(libraryName)), comCtlVersion(GetOSVersionInfo().GetComCtlVersion())
    {
        Clear();
    }
    ~EntryTable()
    {
        if (module && ownsModule)
            ::FreeLibrary(module);
    }
    void Clear()
    {
        for (FARPROC& slot : slots)
            slot = NULL;
    }
    FARPROC Get(Slot slot)
    {
        static const char* const names[slotCount] = {"OpenThemeData", "CloseThemeData", "GetCurrentThemeName",
                                                     "GetThemeColor", "IsAppThemed",    "IsThemeActive"};
        if (slots[slot] == NULL && module != NULL)
            slots[slot] = ::GetProcAddress(module, names[slot]);
        return slots[slot];
    }

    HMODULE module;
    BOOL ownsModule = TRUE;
    DWORD comCtlVersion;
    FARPROC slots[slotCount];
};

namespace
{
CSFUxThemeLibrary::EntryTable& SharedTable(BOOL follow)
{
    static CSFUxThemeLibrary::EntryTable following(L"UXTHEME.DLL"), fixed(L"UXTHEME.DLL");
    return follow ? following : fixed;
}

typedef SFHTHEME(WINAPI* OpenThemeDataFn)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* CloseThemeDataFn)(SFHTHEME);
typedef HRESULT(WINAPI* GetCurrentThemeNameFn)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
typedef HRESULT(WINAPI* GetThemeColorFn)(SFHTHEME, int, int, int, COLORREF*);
typedef BOOL(WINAPI* BoolFn)();
} // namespace

CSFUxThemeLibrary::CSFUxThemeLibrary(BOOL followModule)
    : m_theme(NULL), m_followModule(followModule), m_table(&SharedTable(followModule)), m_ownsTable(FALSE)
{
}

CSFUxThemeLibrary::CSFUxThemeLibrary(BOOL followModule, LPCWSTR libraryName)
    : m_theme(NULL), m_followModule(followModule), m_table(new EntryTable(libraryName)), m_ownsTable(TRUE)
{
}

CSFUxThemeLibrary::~CSFUxThemeLibrary()
{
    CloseThemeData();
    if (m_ownsTable)
        delete m_table;
}

// When the process's UXTHEME module is another than the table's (the skin's
// own theme functions answer for it while colours are applied), the table
// takes the new one and looks every entry point up again.
void CSFUxThemeLibrary::Follow()
{
    if (!m_followModule)
        return;
    HMODULE current = ::GetModuleHandleA("UXTHEME.DLL");
    if (current != m_table->module)
    {
        if (m_table->module && m_table->ownsModule)
            ::FreeLibrary(m_table->module);
        m_table->module = current;
        m_table->ownsModule = FALSE;
        m_table->Clear();
    }
}

SFHTHEME CSFUxThemeLibrary::OpenThemeData(HWND hwnd, LPCWSTR classList)
{
    CloseThemeData();
    Follow();
    OpenThemeDataFn pfn = (OpenThemeDataFn)(void*)m_table->Get(EntryTable::slotOpenThemeData);
    try
    {
        m_theme = pfn ? pfn(hwnd, classList) : NULL;
    }
    catch (...)
    {
        m_theme = NULL;
    }
    return m_theme;
}

void CSFUxThemeLibrary::CloseThemeData()
{
    if (m_theme != NULL)
    {
        CloseThemeDataFn pfn = (CloseThemeDataFn)(void*)m_table->Get(EntryTable::slotCloseThemeData);
        try
        {
            if (pfn)
                pfn(m_theme);
        }
        catch (...)
        {
        }
    }
    m_theme = NULL;
}

HRESULT CSFUxThemeLibrary::GetCurrentThemeName(LPWSTR file, int cchFile, LPWSTR color, int cchColor, LPWSTR size,
                                               int cchSize)
{
    Follow();
    GetCurrentThemeNameFn pfn = (GetCurrentThemeNameFn)(void*)m_table->Get(EntryTable::slotGetCurrentThemeName);
    try
    {
        return pfn ? pfn(file, cchFile, color, cchColor, size, cchSize) : E_FAIL;
    }
    catch (...)
    {
        return E_FAIL;
    }
}

HRESULT CSFUxThemeLibrary::GetThemeColor(int part, int state, int property, COLORREF* color)
{
    GetThemeColorFn pfn = (GetThemeColorFn)(void*)m_table->Get(EntryTable::slotGetThemeColor);
    try
    {
        return pfn ? pfn(m_theme, part, state, property, color) : E_FAIL;
    }
    catch (...)
    {
        return E_FAIL;
    }
}

BOOL CSFUxThemeLibrary::IsAppThemed()
{
    if (m_theme == NULL)
        return FALSE;
    BoolFn pfn = (BoolFn)(void*)m_table->Get(EntryTable::slotIsAppThemed);
    try
    {
        return pfn ? pfn() : FALSE;
    }
    catch (...)
    {
        return FALSE;
    }
}

BOOL CSFUxThemeLibrary::IsThemeActive()
{
    if (m_theme == NULL)
        Follow();
    BoolFn pfn = (BoolFn)(void*)m_table->Get(EntryTable::slotIsThemeActive);
    try
    {
        return pfn ? pfn() : FALSE;
    }
    catch (...)
    {
        return FALSE;
    }
}
