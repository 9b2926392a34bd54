// The process-wide skin manager: it owns the loaded skin (schema, metrics,
// style file), maps window handles to skin objects, chooses a window's skin
// object by its class name, brings new windows to it (a per-thread CBT hook
// and a window-event hook) and tells every skinned window when the skin
// changes. Everything else reaches it through GetSkinFramework.
#pragma once
#include "CritSec.h"
#include <Framework.h>
#include <map>
#include <unordered_map>
#include <vector>

class CSFSkinClass;
class CSFSkinSchema;
class CSFSkinMetrics;
class CSFSkinResourceFile;
class CSFSkinObject;
class CSFObjectClassEntry;

// Apply options.
enum
{
    SF_APPLY_METRICS = 1, // caption heights, scroll-bar sizes and fonts from the skin
    SF_APPLY_FRAME = 2,   // non-client frames and skinned scroll bars
    SF_APPLY_COLORS = 4,  // system colours and brushes, theme emulation
};

// Messages a skinned window may get and answer: UPDATESTATE makes its skin
// object ask again whether it is suspended; a nonzero answer to QUERYSTATE
// suspends skinning of the window.
extern const UINT WM_SKINFRAMEWORK_UPDATESTATE;
extern const UINT WM_SKINFRAMEWORK_QUERYSTATE;

// Rewrites a colour in place; the manager applies its filters in order.
class CSFColorFilter
{
public:
    virtual ~CSFColorFilter() {}
    virtual void FilterColor(COLORREF& color) = 0;
};

// What the manager needs of the process-wide API hooks: they are removed
// before every load and installed again for the current options when a skin
// is active. Until they are registered, nothing is hooked.
struct SFApiHookControl
{
    void (*installAll)();
    void (*removeAll)();
};

class CSFSkinFramework
{
public:
    CSFSkinFramework();
    virtual ~CSFSkinFramework();
    CSFSkinFramework(const CSFSkinFramework&) = delete;
    CSFSkinFramework& operator=(const CSFSkinFramework&) = delete;

    // The class of the loaded schema by name (cached), NULL for a name the
    // schema's tables do not know.
    virtual CSFSkinClass* GetSkinClass(const CString& name);
    // Tells the process's top-level windows (WM_SYSCOLORCHANGE) and every
    // skin object; drops objects whose window is gone.
    virtual void OnSkinChanged(BOOL prevEnabled, BOOL newEnabled);
    // The skin object of a window by its class name, entered in the window
    // map and attached; NULL for windows that are never skinned.
    virtual CSFSkinObject* CreateSkinObject(HWND hwnd, LPCWSTR className, LPCREATESTRUCTW cs, BOOL autoCreated);
    // Enters a new skin object for the window in the map (taking the
    // object's one reference) and attaches it. A window that has an object
    // already keeps it; the new one is released and the old one returned.
    CSFSkinObject* AttachSkinObject(HWND hwnd, CSFSkinObject* object, LPCREATESTRUCTW cs, BOOL autoCreated);

    void SetApplyOptions(int options);
    int GetApplyOptions() const { return m_applyOptions; }
    // Opens the style and makes it the active skin; FALSE leaves the program
    // unskinned (on a display of 256 colours or fewer it always fails).
    BOOL LoadSkin(LPCWSTR stylePath, LPCWSTR iniName);
    // Skins the window and, recursively, its children; a window that has a
    // skin object already is left as it is, children included.
    void ApplyWindow(HWND hwnd);
    // Drops every skin object; with detach each window gets its procedure back.
    void RemoveAll(BOOL detach);
    // No reference is taken for the caller.
    CSFSkinObject* Lookup(HWND hwnd);
    void Remove(HWND hwnd, BOOL detach);
    // Installs the CBT hook on the calling thread (once per thread).
    void EnableCurrentThread();

    BOOL GetThemeSysBool(int id);
    COLORREF GetThemeSysColor(int id);
    void ApplyColorFilter(COLORREF& color);
    BOOL HasColorFilters() const { return !m_colorFilters.empty(); }
    // The manager owns the filter from here on.
    void AddColorFilter(CSFColorFilter* filter);
    void RemoveColorFilter(CSFColorFilter* filter);
    BOOL IsSkinClass(const void* handle);

    BOOL IsEnabled() const { return m_enabled; }
    BOOL GetApplyToNewWindows() const { return m_applyToNewWindows; }
    void SetApplyToNewWindows(BOOL apply) { m_applyToNewWindows = apply; }
    BOOL GetHookNewThreads() const { return m_hookNewThreads; }
    void SetHookNewThreads(BOOL hook) { m_hookNewThreads = hook; }
    DWORD GetComCtlVersion() const { return m_comCtlVersion; }
    BOOL IsWin9x() const { return m_win9x; }
    CSFSkinSchema* GetSchema() const { return m_schema; }
    CSFSkinMetrics* GetMetrics() const { return m_metrics; }
    CSFSkinResourceFile* GetResourceFile() const { return m_resourceFile; }
    size_t GetWindowCount();
    HWINEVENTHOOK GetWinEventHook() const { return m_winEventHook; }
    // The window-class map: the skin-object class a class name leads to
    // (NULL when such windows are never skinned or the name is not mapped).
    CSFObjectClassEntry* FindClassEntry(LPCWSTR className);

    // A window whose procedure could not be given back (another procedure
    // was put over the skin's) keeps its original one here, so the chain
    // above still reaches it.
    void KeepDetachedProc(HWND hwnd, WNDPROC proc);
    WNDPROC FindDetachedProc(HWND hwnd, BOOL remove);

    static void SetApiHookControl(const SFApiHookControl* control);

private:
    // A dialog being created is a page of a property sheet that is not a
    // wizard (its object is then drawn as a page, not as a dialog).
    BOOL IsPropertyPage(LPCREATESTRUCTW cs);
    void BuildClassMap();
    void AddClassEntry(LPCWSTR key, LPCSTR objectClass);
    void AddAlias(LPCWSTR key, LPCWSTR target);
    void ClearClassMap();
    void ClearSkinClasses();
    BOOL OpenStyle(LPCWSTR stylePath, LPCWSTR iniName);
    void InstallApiHooks();
    void RemoveApiHooks();

    DWORD m_comCtlVersion;
    BOOL m_win9x;
    BOOL m_enabled;
    BOOL m_applyToNewWindows;
    BOOL m_hookNewThreads;
    std::map<CString, CSFSkinClass*> m_skinClasses;
    CSFSkinSchema* m_schema;
    CSFSkinMetrics* m_metrics;
    CSFSkinResourceFile* m_resourceFile;
    int m_applyOptions;
    HWINEVENTHOOK m_winEventHook;
    std::unordered_map<HWND, CSFSkinObject*> m_windows;
    CCritSec m_lock;
    typedef HWINEVENTHOOK(WINAPI* SetWinEventHookFn)(DWORD, DWORD, HMODULE, WINEVENTPROC, DWORD, DWORD, DWORD);
    typedef BOOL(WINAPI* UnhookWinEventFn)(HWINEVENTHOOK);
    SetWinEventHookFn m_pfnSetWinEventHook;
    UnhookWinEventFn m_pfnUnhookWinEvent;
    std::vector<CSFColorFilter*> m_colorFilters;
    std::map<CString, CSFObjectClassEntry*>* m_classMap;
    std::unordered_map<HWND, WNDPROC> m_detachedProcs;
};

// The manager, made on the first call (NULL only when memory is short).
CSFSkinFramework* GetSkinFramework();
// The manager when it exists; window procedures and hooks ask this, so a
// message that arrives while the process ends makes no new manager.
CSFSkinFramework* FindSkinFramework();
// The window-event hook: a skinned window with scroll bars or a border that
// changed its place in the Z order gets the frame object's layout timer.
void CALLBACK SkinWinEventProc(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG idObject, LONG idChild,
                               DWORD thread, DWORD time);
