#include "SFSkinFramework.h"
#include "SFSkinObjectFrame.h"
#include "FwThreadObject.h"
#include "SFSkinObjectListView.h"
#include "SFSkinObjectProgress.h"
#include "SFSkinObjectScrollBar.h"
// Buttons, list boxes, combo boxes, edits and popup menus.
#include "SFSkinObjectButton.h"
#include "SFSkinObjectComboBox.h"
#include "SFSkinObjectEdit.h"
#include "SFSkinObjectListBox.h"
#include "SFSkinObjectMenu.h"
// The bar, tab, view and MDI objects.
#include "SFSkinObjectDateTime.h"
#include "SFSkinObjectHeader.h"
#include "SFSkinObjectMonthCal.h"
#include "SFSkinObjectMDIClient.h"
#include "SFSkinObjectSpin.h"
#include "SFSkinObjectStatusBar.h"
#include "SFSkinObjectTab.h"
#include "SFSkinObjectToolBar.h"
#include "SFSkinObjectTrackBar.h"
#include "SFSkinObjectTreeView.h"
#include "SFModuleList.h"
#include "SFNoThrow.h"
#include "SFObjectClassEntry.h"
#include "SFOSVersionInfo.h"
#include "SFSkinClass.h"
#include "SFSkinMetrics.h"
#include "SFSkinObject.h"
#include "SFSkinPalette.h"
#include "SFSkinResourceFile.h"
#include "SFSkinSchema.h"
#include "SchemaNames.h"
#include <algorithm>
#include <prsht.h>
#include <memory>
#include <new>

const UINT WM_SKINFRAMEWORK_UPDATESTATE = ::RegisterWindowMessageW(L"WM_SKINFRAMEWORK_UPDATESTATE");
const UINT WM_SKINFRAMEWORK_QUERYSTATE = ::RegisterWindowMessageW(L"WM_SKINFRAMEWORK_QUERYSTATE");

namespace
{
const SFApiHookControl* g_apiHooks = NULL;

// The manager lives from its first use to the process's exit.
struct FrameworkHolder
{
    CSFSkinFramework* instance = NULL;
    ~FrameworkHolder()
    {
        delete instance;
        instance = NULL;
    }
} g_holder;

// This thread's CBT hook, taken off when the thread ends.
struct ThreadHookSlot
{
    HHOOK hook = NULL;
    ~ThreadHookSlot()
    {
        if (hook)
            ::UnhookWindowsHookEx(hook);
    }
};

LRESULT CALLBACK SkinCbtHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // Only read: the hook runs while this thread's slot holds it.
    const ThreadHookSlot* slot = FwThreadObject<ThreadHookSlot>::Peek();
    LRESULT result = ::CallNextHookEx(slot ? slot->hook : NULL, code, wParam, lParam);
    CSFSkinFramework* manager = g_holder.instance;
    if (code == HCBT_CREATEWND && manager && manager->GetApplyToNewWindows())
    {
        HWND hwnd = (HWND)wParam;
        wchar_t className[50] = L"";
        ::GetClassNameW(hwnd, className, _countof(className));
        CBT_CREATEWNDW* create = (CBT_CREATEWNDW*)lParam;
        manager->CreateSkinObject(hwnd, className, create ? create->lpcs : NULL, TRUE);
    }
    return result;
}


BOOL CALLBACK PostSysColorChange(HWND hwnd, LPARAM)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if (process == ::GetCurrentProcessId())
        ::PostMessageW(hwnd, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

// Names of the skin-object classes; each is found by name among the
// program's run-time classes.
struct ClassMapEntry
{
    LPCWSTR key;
    LPCSTR objectClass; // NULL: an entry without class
};
const ClassMapEntry kClasses[] = {
    {L"ComboBox", "CSFSkinObjectComboBox"},
    {L"Edit", "CSFSkinObjectEdit"},
    {L"SysDateTimePick32", "CSFSkinObjectDateTime"},
    {L"SysMonthCal32", "CSFSkinObjectMonthCal"},
    {L"ListBox", "CSFSkinObjectListBox"},
    {L"ComboLBox", NULL}, // alias of ListBox, added in its place
    {L"ScrollBar", "CSFSkinObjectScrollBar"},
    {L"ATL:ScrollBar", NULL}, // alias of ScrollBar
    {L"SysListView32", "CSFSkinObjectListView"},
    {L"SysHeader32", "CSFSkinObjectHeader"},
    {L"msctls_statusbar32", "CSFSkinObjectStatusBar"},
    {L"SysTreeView32", "CSFSkinObjectTreeView"},
    {L"msctls_progress32", "CSFSkinObjectProgress"},
    {L"msctls_trackbar32", "CSFSkinObjectTrackBar"},
    {L"SysTabControl32", "CSFSkinObjectTab"},
    {L"MDIClient", "CSFSkinObjectMDIClient"},
    {L"msctls_updown32", "CSFSkinObjectSpin"},
    {L"ToolbarWindow32", "CSFSkinObjectToolBar"},
    {L"Button", "CSFSkinObjectButton"},
};
const struct
{
    LPCWSTR key, target;
} kAliases[] = {
    {L"TButton", L"Button"},
    {L"TEdit", L"Edit"},
    {L"TMemo", L"Edit"},
    {L"TNewProgressBar", L"msctls_progress32"},
    {L"TRichEditViewer", L"Edit"},
    {L"TRadioButton", L"Button"},
    {L"TCheckBox", L"Button"},
    {L"TComboBox", L"ComboBox"},
    {L"TGroupBox", L"Button"},
    {L"TScrollBar", L"ScrollBar"},
    {L"TProgressBar", L"msctls_progress32"},
    {L"TTrackBar", L"msctls_trackbar32"},
    {L"TTabControl", L"SysTabControl32"},
    {L"TTreeView", L"SysTreeView32"},
    {L"TListView", L"SysListView32"},
    {L"TListBox", L"ListBox"},
};

// A skin-object class by name; the base object (which routes messages and
// draws nothing of its own) stands in for one the program does not have.
CRuntimeClass* ObjectClass(LPCSTR name)
{
    // The framework's own classes are named here, which also keeps them in
    // every program that links the framework.
    static CRuntimeClass* const kBuiltClasses[] = {
        RUNTIME_CLASS(CSFSkinObjectFrame), RUNTIME_CLASS(CSFSkinObjectScrollBar), RUNTIME_CLASS(CSFSkinObjectProgress),
        RUNTIME_CLASS(CSFSkinObjectListView),
        // Buttons, list boxes, combo boxes, edits and popup menus.
        RUNTIME_CLASS(CSFSkinObjectButton), RUNTIME_CLASS(CSFSkinObjectListBox), RUNTIME_CLASS(CSFSkinObjectComboBox),
        RUNTIME_CLASS(CSFSkinObjectEdit), RUNTIME_CLASS(CSFSkinObjectMenu),
        // The bar, tab, view and MDI objects.
        RUNTIME_CLASS(CSFSkinObjectTab), RUNTIME_CLASS(CSFSkinObjectTrackBar), RUNTIME_CLASS(CSFSkinObjectSpin),
        RUNTIME_CLASS(CSFSkinObjectToolBar), RUNTIME_CLASS(CSFSkinObjectStatusBar), RUNTIME_CLASS(CSFSkinObjectHeader),
        RUNTIME_CLASS(CSFSkinObjectTreeView), RUNTIME_CLASS(CSFSkinObjectMDIClient), RUNTIME_CLASS(CSFSkinObjectDateTime),
        RUNTIME_CLASS(CSFSkinObjectMonthCal)};
    CRuntimeClass* cls = NULL;
    for (CRuntimeClass* built : kBuiltClasses)
        if (name && strcmp(built->m_lpszClassName, name) == 0)
            cls = built;
    if (cls == NULL && name)
        cls = CRuntimeClass::FromName(name);
    return cls && cls->IsDerivedFrom(RUNTIME_CLASS(CSFSkinObject)) ? cls : RUNTIME_CLASS(CSFSkinObject);
}

CString Upper(LPCWSTR text)
{
    CString s(text ? text : L"");
    s.MakeUpper();
    return s;
}
} // namespace

CSFSkinFramework* FindSkinFramework() { return g_holder.instance; }

void CALLBACK SkinWinEventProc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG idObject, LONG, DWORD, DWORD)
{
    CSFSkinFramework* manager = g_holder.instance;
    if (event != EVENT_OBJECT_REORDER || idObject != OBJID_WINDOW || manager == NULL)
        return;
    if (!(manager->GetApplyOptions() & SF_APPLY_FRAME) || !manager->IsEnabled())
        return;
    if (manager->Lookup(hwnd) && (::GetWindowLongPtrW(hwnd, GWL_STYLE) & 0xF00000))
        ::SetTimer(hwnd, 2765, 1000, NULL); // the frame object refreshes its layout on this timer
}


CSFSkinFramework* GetSkinFramework()
{
    if (g_holder.instance == NULL)
    {
        try
        {
            g_holder.instance = new CSFSkinFramework;
        }
        catch (const std::bad_alloc&)
        {
            return NULL;
        }
        g_holder.instance->EnableCurrentThread();
    }
    return g_holder.instance;
}

void CSFSkinFramework::SetApiHookControl(const SFApiHookControl* control) { g_apiHooks = control; }

void CSFSkinFramework::InstallApiHooks()
{
    if (g_apiHooks && g_apiHooks->installAll)
        g_apiHooks->installAll();
}

void CSFSkinFramework::RemoveApiHooks()
{
    if (g_apiHooks && g_apiHooks->removeAll)
        g_apiHooks->removeAll();
}

CSFSkinFramework::CSFSkinFramework()
    : m_comCtlVersion(GetOSVersionInfo().GetComCtlVersion()), m_win9x(GetOSVersionInfo().IsWin9x()),
      m_enabled(FALSE), m_applyToNewWindows(TRUE), m_hookNewThreads(TRUE), m_schema(NULL), m_metrics(NULL),
      m_resourceFile(NULL), m_applyOptions(SF_APPLY_METRICS | SF_APPLY_FRAME | SF_APPLY_COLORS),
      m_winEventHook(NULL), m_pfnSetWinEventHook(NULL), m_pfnUnhookWinEvent(NULL), m_classMap(NULL)
{
    m_windows.reserve(199);
    m_metrics = new CSFSkinMetrics(this);
    m_resourceFile = new CSFSkinResourceFile(this);
    BuildClassMap();
    if (HMODULE user32 = ::GetModuleHandleW(L"USER32"))
    {
        m_pfnSetWinEventHook = (SetWinEventHookFn)(void*)::GetProcAddress(user32, "SetWinEventHook");
        m_pfnUnhookWinEvent = (UnhookWinEventFn)(void*)::GetProcAddress(user32, "UnhookWinEvent");
        if (m_pfnSetWinEventHook && m_pfnUnhookWinEvent)
            m_winEventHook = m_pfnSetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER, NULL, SkinWinEventProc,
                                                  ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
}

CSFSkinFramework::~CSFSkinFramework()
{
    // Objects detach while the skin they may consult still exists.
    RemoveAll(TRUE);
    ClearSkinClasses();
    m_resourceFile->Close();
    for (CSFColorFilter* filter : m_colorFilters)
        delete filter;
    m_colorFilters.clear();
    delete m_schema;
    m_schema = NULL;
    delete m_metrics;
    m_metrics = NULL;
    delete m_resourceFile;
    m_resourceFile = NULL;
    ClearClassMap();
    RemoveApiHooks();
    if (m_winEventHook && ::GetModuleHandleW(L"USER32") && m_pfnUnhookWinEvent)
        m_pfnUnhookWinEvent(m_winEventHook);
    m_winEventHook = NULL;
}

void CSFSkinFramework::AddClassEntry(LPCWSTR key, LPCSTR objectClass)
{
    CString upper = Upper(key);
    if (m_classMap->count(upper))
        return;
    CSFObjectClassEntry* entry = new CSFObjectClassEntry(objectClass ? ObjectClass(objectClass) : NULL);
    entry->m_pOwner = m_classMap;
    (*m_classMap)[upper] = entry;
}

void CSFSkinFramework::AddAlias(LPCWSTR key, LPCWSTR target)
{
    CString upper = Upper(key);
    auto found = m_classMap->find(Upper(target));
    if (m_classMap->count(upper) || found == m_classMap->end())
        return;
    found->second->InternalAddRef();
    (*m_classMap)[upper] = found->second;
}

void CSFSkinFramework::BuildClassMap()
{
    m_classMap = new std::map<CString, CSFObjectClassEntry*>;
    for (const ClassMapEntry& entry : kClasses)
    {
        if (lstrcmpW(entry.key, L"ComboLBox") == 0)
            AddAlias(entry.key, L"ListBox");
        else if (lstrcmpW(entry.key, L"ATL:ScrollBar") == 0)
            AddAlias(entry.key, L"ScrollBar");
        else
            AddClassEntry(entry.key, entry.objectClass);
    }
    for (const auto& alias : kAliases)
        AddAlias(alias.key, alias.target);
    // Menus of Windows 95 and NT 4.0 are drawn by the system alone.
    const CSFOSVersionInfo& os = GetOSVersionInfo();
    AddClassEntry(L"#32768", os.IsWin95() || os.IsWinNT4() ? NULL : "CSFSkinObjectMenu");
    AddClassEntry(L"SysPager", NULL);
}

void CSFSkinFramework::ClearClassMap()
{
    if (m_classMap == NULL)
        return;
    for (auto& entry : *m_classMap)
        entry.second->InternalRelease();
    delete m_classMap;
    m_classMap = NULL;
}

CSFObjectClassEntry* CSFSkinFramework::FindClassEntry(LPCWSTR className)
{
    if (m_classMap == NULL || className == NULL)
        return NULL;
    auto it = m_classMap->find(Upper(className));
    return it == m_classMap->end() ? NULL : it->second;
}

void CSFSkinFramework::ClearSkinClasses()
{
    for (auto& entry : m_skinClasses)
        delete entry.second;
    m_skinClasses.clear();
}

CSFSkinClass* CSFSkinFramework::GetSkinClass(const CString& name)
{
    CString upper(name);
    upper.MakeUpper();
    auto it = m_skinClasses.find(upper);
    if (it != m_skinClasses.end())
        return it->second;
    int id = GetSchemaClassId(upper);
    if (id == 0)
        return NULL;
    CSFSkinClass* cls = new (std::nothrow) CSFSkinClass(this, upper, id);
    if (cls)
        m_skinClasses[upper] = cls;
    return cls;
}

BOOL CSFSkinFramework::IsSkinClass(const void* handle)
{
    for (auto& entry : m_skinClasses)
        if (entry.second == handle)
            return TRUE;
    return FALSE;
}

void CSFSkinFramework::ApplyColorFilter(COLORREF& color)
{
    for (CSFColorFilter* filter : m_colorFilters)
        filter->FilterColor(color);
}

void CSFSkinFramework::AddColorFilter(CSFColorFilter* filter)
{
    if (filter)
        m_colorFilters.push_back(filter);
}

void CSFSkinFramework::RemoveColorFilter(CSFColorFilter* filter)
{
    auto it = std::find(m_colorFilters.begin(), m_colorFilters.end(), filter);
    if (it != m_colorFilters.end())
    {
        delete *it;
        m_colorFilters.erase(it);
    }
}

BOOL CSFSkinFramework::GetThemeSysBool(int id)
{
    BOOL value = FALSE;
    return m_schema && SUCCEEDED(m_schema->GetBoolProperty(SCHEMA_CLASS_SYSMETRICS, 0, 0, id, &value)) ? value
                                                                                                       : FALSE;
}

COLORREF CSFSkinFramework::GetThemeSysColor(int id)
{
    if (id >= SCHEMA_PROP_SYSCOLOR_FIRST && id < SCHEMA_PROP_SYSCOLOR_FIRST + CSFSkinMetrics::kColorCount)
        return m_metrics->GetColor(id - SCHEMA_PROP_SYSCOLOR_FIRST);
    return (COLORREF)-1;
}

void CSFSkinFramework::EnableCurrentThread()
{
    ThreadHookSlot& slot = FwThreadObject<ThreadHookSlot>::Get();
    if (slot.hook == NULL)
        slot.hook = ::SetWindowsHookExW(WH_CBT, SkinCbtHookProc, NULL, ::GetCurrentThreadId());
}

size_t CSFSkinFramework::GetWindowCount()
{
    CCritSecLock lock(m_lock);
    return m_windows.size();
}

CSFSkinObject* CSFSkinFramework::Lookup(HWND hwnd)
{
    CCritSecLock lock(m_lock);
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? NULL : it->second;
}

void CSFSkinFramework::Remove(HWND hwnd, BOOL detach)
{
    CSFSkinObject* object = NULL;
    {
        CCritSecLock lock(m_lock);
        auto it = m_windows.find(hwnd);
        if (it == m_windows.end())
            return;
        object = it->second;
        m_windows.erase(it);
    }
    object->UnhookWindow(detach);
    object->InternalRelease();
}

void CSFSkinFramework::RemoveAll(BOOL detach)
{
    CCritSecLock lock(m_lock);
    // Detaching may send messages that come back here; the map is emptied first.
    std::unordered_map<HWND, CSFSkinObject*> windows;
    windows.swap(m_windows);
    for (auto& entry : windows)
    {
        if (detach)
            entry.second->UnhookWindow(FALSE);
        entry.second->InternalRelease();
    }
}

void CSFSkinFramework::KeepDetachedProc(HWND hwnd, WNDPROC proc)
{
    CCritSecLock lock(m_lock);
    m_detachedProcs[hwnd] = proc;
}

WNDPROC CSFSkinFramework::FindDetachedProc(HWND hwnd, BOOL remove)
{
    CCritSecLock lock(m_lock);
    auto it = m_detachedProcs.find(hwnd);
    if (it == m_detachedProcs.end())
        return NULL;
    WNDPROC proc = it->second;
    if (remove)
        m_detachedProcs.erase(it);
    return proc;
}

CSFSkinObject* CSFSkinFramework::CreateSkinObject(HWND hwnd, LPCWSTR className, LPCREATESTRUCTW cs,
                                                  BOOL autoCreated)
{
    if (hwnd == NULL || className == NULL)
        return NULL;
    if (lstrcmpW(className, L"tooltips_class32") == 0 || lstrcmpiW(className, L"IME") == 0)
        return NULL;
    CSFSkinObject* object = NULL;
    CString name(className);
    if (name.Find(L"WindowsForms") >= 0)
    {
        // WindowsForms10.BUTTON.app.0.1: the middle part names the control.
        int first = name.Find(L'.');
        int second = first >= 0 ? name.Find(L'.', first + 1) : -1;
        if (first >= 0 && second > first + 1)
            if (CSFObjectClassEntry* entry = FindClassEntry(name.Mid(first + 1, second - first - 1)))
                object = entry->CreateObject(className, cs);
        if (object == NULL)
            object = static_cast<CSFSkinObject*>(ObjectClass("CSFSkinObjectFrame")->CreateObject());
        if (object)
            object->SetHookOnly(TRUE); // such windows are reached through the default procedures only
    }
    else if (CSFObjectClassEntry* entry = FindClassEntry(className))
        object = entry->CreateObject(className, cs);
    else if (name.Find(L"Internet Explorer") < 0 && name.Find(L"OleMainThread") < 0)
        object = static_cast<CSFSkinObject*>(ObjectClass("CSFSkinObjectFrame")->CreateObject());
    if (object == NULL)
        return NULL;
    if (lstrcmpW(className, L"#32770") == 0)
        object->SetWindowKind(IsPropertyPage(cs) ? SF_WINDOW_KIND_PROPERTY_PAGE : SF_WINDOW_KIND_DIALOG);

    return AttachSkinObject(hwnd, object, cs, autoCreated);
}

CSFSkinObject* CSFSkinFramework::AttachSkinObject(HWND hwnd, CSFSkinObject* object, LPCREATESTRUCTW cs,
                                                  BOOL autoCreated)
{
    if (hwnd == NULL || object == NULL)
        return NULL;
    object->SetManager(this);
    {
        CCritSecLock lock(m_lock);
        auto it = m_windows.find(hwnd);
        if (it != m_windows.end())
        {
            object->InternalRelease();
            return it->second;
        }
        m_windows[hwnd] = object;
    }
    object->HookWindow(hwnd, cs, autoCreated);
    return object;
}

BOOL CSFSkinFramework::IsPropertyPage(LPCREATESTRUCTW cs)
{
    if (cs == NULL || cs->hwndParent == NULL || (cs->style & (DS_CONTROL | WS_CHILD)) != (DS_CONTROL | WS_CHILD))
        return FALSE;
    HWND sheet = cs->hwndParent;
    if (CSFSkinObject* parent = Lookup(sheet))
        if (parent->GetWindowKind() == SF_WINDOW_KIND_PROPERTY_PAGE)
            return TRUE;
    HWND page = (HWND)::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    if (page == NULL || !::IsWindow(page))
        return FALSE;
    // The sheet's own record: its window first, its header flags third. The
    // value belongs to whatever window answered, so it is read only where
    // it can be.
    const LONG_PTR* record = (const LONG_PTR*)::GetWindowLongPtrW(sheet, DWLP_USER);
    if (record == NULL || ::IsBadReadPtr(record, 3 * sizeof(LONG_PTR)))
        return FALSE;
    const DWORD kWizardFlags = 0x1002020;
    return (HWND)record[0] == sheet && ((DWORD)record[2] & kWizardFlags) == 0;
}

void CSFSkinFramework::ApplyWindow(HWND hwnd)
{
    if (hwnd == NULL || !::IsWindow(hwnd) || Lookup(hwnd) != NULL)
        return;
    wchar_t className[50] = L"";
    ::GetClassNameW(hwnd, className, _countof(className));
    CREATESTRUCTW cs = {};
    cs.style = (LONG)::GetWindowLongPtrW(hwnd, GWL_STYLE);
    cs.dwExStyle = (DWORD)::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    cs.hwndParent = ::GetParent(hwnd);
    cs.lpszClass = className;
    if (CSFSkinObject* object = CreateSkinObject(hwnd, className, &cs, FALSE))
        object->ApplySkinState(FALSE, m_enabled);
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child != NULL; child = ::GetWindow(child, GW_HWNDNEXT))
        ApplyWindow(child);
}

void CSFSkinFramework::OnSkinChanged(BOOL prevEnabled, BOOL newEnabled)
{
    ::EnumWindows(PostSysColorChange, 0);
    std::vector<std::pair<HWND, CSFSkinObject*>> objects;
    {
        CCritSecLock lock(m_lock);
        for (auto& entry : m_windows)
        {
            entry.second->InternalAddRef();
            objects.push_back(entry);
        }
    }
    for (auto& entry : objects)
    {
        if (::IsWindow(entry.first))
            entry.second->ApplySkinState(prevEnabled, newEnabled);
        else
            Remove(entry.first, FALSE);
        entry.second->InternalRelease();
    }
}

BOOL CSFSkinFramework::OpenStyle(LPCWSTR stylePath, LPCWSTR iniName)
{
    ClearSkinClasses();
    m_resourceFile->Close();
    if (!m_resourceFile->Open(stylePath, iniName))
        return FALSE;
    m_schema = m_resourceFile->CreateSchema();
    return m_schema != NULL && m_schema->ReadStyle(m_resourceFile) >= 0;
}

BOOL CSFSkinFramework::LoadSkin(LPCWSTR stylePath, LPCWSTR iniName)
{
    delete m_schema;
    m_schema = NULL;
    RemoveApiHooks();
    BOOL prev = m_enabled;
    CSFSkinPalette* palette = GetSkinPalette();
    BOOL ok = !CSFSkinPalette::IsLowColorDisplay(NULL) && SFIsModuleListAvailable();
    if (ok)
        ok = SFNoThrow([&] { return OpenStyle(stylePath, iniName); });
    if (ok)
    {
        m_enabled = TRUE;
        InstallApiHooks();
        m_metrics->ReloadMetrics();
        m_schema->Refresh();
        if (palette)
            palette->Refresh();
        OnSkinChanged(prev, TRUE);
        return TRUE;
    }
    m_enabled = FALSE;
    ClearSkinClasses();
    delete m_schema;
    m_schema = NULL;
    m_metrics->ReloadMetrics();
    if (palette)
        palette->Refresh();
    OnSkinChanged(prev, FALSE);
    return FALSE;
}

void CSFSkinFramework::SetApplyOptions(int options)
{
    m_applyOptions = options;
    if (!m_enabled)
        return;
    RemoveApiHooks();
    InstallApiHooks();
    m_metrics->ReloadMetrics();
    if (m_schema)
        m_schema->Refresh();
    if (CSFSkinPalette* palette = GetSkinPalette())
        palette->Refresh();
    OnSkinChanged(m_enabled, m_enabled);
}
