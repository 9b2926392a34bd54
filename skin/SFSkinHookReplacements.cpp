// What each hooked system function does while a skin is loaded. Every
// replacement reaches the real function through the hook's saved address,
// so the replacements work whichever module called them.
#include "SFSkinHookReplacements.h"
#include "SFSkinClass.h"
#include "SFSkinEdges.h"
#include "SFSkinFramework.h"
#include "SFSkinHookManager.h"
#include "SFSkinMetrics.h"
#include "SFSkinObject.h"
#include "SFSkinObjectFrame.h"
#include "SFSkinResourceFile.h"
#include "SFSkinSchema.h"
#include "SchemaNames.h"
#include <uxtheme.h>

namespace
{
#define REAL(index, fn) ((decltype(&fn))(void*)SFRealFunction(index, (FARPROC)(void*)&fn))

CSFSkinFramework* LoadedSkin()
{
    CSFSkinFramework* manager = FindSkinFramework();
    return manager && manager->IsEnabled() ? manager : NULL;
}

BOOL ColorsApplied()
{
    CSFSkinFramework* manager = LoadedSkin();
    return manager && (manager->GetApplyOptions() & SF_APPLY_COLORS);
}

// Metrics answers only while they are not being read from the system.
BOOL MetricsApplied(CSFSkinFramework* manager)
{
    return manager && !manager->GetMetrics()->IsRefreshing() &&
           (manager->GetApplyOptions() & (SF_APPLY_METRICS | SF_APPLY_COLORS)) == (SF_APPLY_METRICS | SF_APPLY_COLORS);
}

CSFSkinObjectFrame* FrameOf(HWND hwnd)
{
    CSFSkinFramework* manager = LoadedSkin();
    return manager ? dynamic_cast<CSFSkinObjectFrame*>(manager->Lookup(hwnd)) : NULL;
}

// --- module loading -------------------------------------------------------

HMODULE WINAPI Hook_LoadLibraryA(LPCSTR name)
{
    HMODULE module = REAL(0, LoadLibraryA)(name);
    GetHookManager()->PatchNewModule(module, 0);
    return module;
}

HMODULE WINAPI Hook_LoadLibraryW(LPCWSTR name)
{
    HMODULE module = REAL(1, LoadLibraryW)(name);
    GetHookManager()->PatchNewModule(module, 0);
    return module;
}

HMODULE WINAPI Hook_LoadLibraryExA(LPCSTR name, HANDLE file, DWORD flags)
{
    HMODULE module = REAL(2, LoadLibraryExA)(name, file, flags);
    // A module mapped as data has no imports to patch.
    GetHookManager()->PatchNewModule(module, flags & LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

HMODULE WINAPI Hook_LoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags)
{
    HMODULE module = REAL(3, LoadLibraryExW)(name, file, flags);
    GetHookManager()->PatchNewModule(module, flags);
    return module;
}

FARPROC WINAPI Hook_GetProcAddress(HMODULE module, LPCSTR name)
{
    auto real = REAL(4, GetProcAddress);
    if ((ULONG_PTR)name <= 0xFFFE)
        return real(module, name);
    char moduleName[MAX_PATH] = "";
    BOOL pseudo = module == SF_UXTHEME_PSEUDO_HANDLE;
    if (pseudo)
        lstrcpyA(moduleName, "UXTHEME.DLL");
    else
    {
        char path[MAX_PATH] = "";
        ::GetModuleFileNameA(module, path, MAX_PATH);
        const char* slash = strrchr(path, '\\');
        lstrcpynA(moduleName, slash ? slash + 1 : path, MAX_PATH);
    }
    // The real UxTheme module still hands out its real functions.
    if (pseudo || !SFSameAsciiName(moduleName, "UxTheme.dll"))
        if (CSFSkinHookEntry* entry = GetHookManager()->FindHook(moduleName, name))
            return entry->m_replacement;
    return real(module, name);
}

HMODULE WINAPI Hook_GetModuleHandleA(LPCSTR name)
{
    if (name && SFSameAsciiName(name, "UxTheme.dll") && ColorsApplied())
        return SF_UXTHEME_PSEUDO_HANDLE;
    return REAL(5, GetModuleHandleA)(name);
}

struct ThreadStartRecord
{
    LPTHREAD_START_ROUTINE start;
    LPVOID parameter;
};

HANDLE WINAPI Hook_CreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack, LPTHREAD_START_ROUTINE start,
                                LPVOID parameter, DWORD flags, LPDWORD id)
{
    auto real = REAL(37, CreateThread);
    CSFSkinFramework* manager = LoadedSkin();
    if (manager == NULL || !manager->GetHookNewThreads() || start == NULL)
        return real(security, stack, start, parameter, flags, id);
    ThreadStartRecord* record = new (std::nothrow) ThreadStartRecord{start, parameter};
    if (record == NULL)
        return real(security, stack, start, parameter, flags, id);
    HANDLE thread = real(security, stack, SkinThreadStart, record, flags, id);
    if (thread == NULL)
        delete record; // the thread that would have freed it never ran
    return thread;
}

// --- window classes ---------------------------------------------------------

template <typename Class> void UnhookClassProc(Class* copy, const int indices[4], const FARPROC replacements[4])
{
    for (int i = 0; i < 4; i++)
        if ((FARPROC)(void*)copy->lpfnWndProc == replacements[i])
        {
            copy->lpfnWndProc = (WNDPROC)(void*)SFRealFunction(indices[i], replacements[i]);
            return;
        }
}

LRESULT WINAPI Hook_DefWindowProcA(HWND, UINT, WPARAM, LPARAM);
LRESULT WINAPI Hook_DefWindowProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT WINAPI Hook_DefFrameProcA(HWND, HWND, UINT, WPARAM, LPARAM);
LRESULT WINAPI Hook_DefFrameProcW(HWND, HWND, UINT, WPARAM, LPARAM);
LRESULT WINAPI Hook_DefMDIChildProcA(HWND, UINT, WPARAM, LPARAM);
LRESULT WINAPI Hook_DefMDIChildProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT WINAPI Hook_DefDlgProcA(HWND, UINT, WPARAM, LPARAM);
LRESULT WINAPI Hook_DefDlgProcW(HWND, UINT, WPARAM, LPARAM);

ATOM WINAPI Hook_RegisterClassA(const WNDCLASSA* wc)
{
    auto real = REAL(6, RegisterClassA);
    if (wc == NULL)
        return real(wc);
    static const int indices[4] = {27, 31, 29, 33};
    const FARPROC replacements[4] = {(FARPROC)(void*)Hook_DefWindowProcA, (FARPROC)(void*)Hook_DefFrameProcA,
                                     (FARPROC)(void*)Hook_DefMDIChildProcA, (FARPROC)(void*)Hook_DefDlgProcA};
    WNDCLASSA copy = *wc;
    UnhookClassProc(&copy, indices, replacements);
    return real(&copy);
}

ATOM WINAPI Hook_RegisterClassW(const WNDCLASSW* wc)
{
    auto real = REAL(7, RegisterClassW);
    if (wc == NULL)
        return real(wc);
    static const int indices[4] = {28, 32, 30, 34};
    const FARPROC replacements[4] = {(FARPROC)(void*)Hook_DefWindowProcW, (FARPROC)(void*)Hook_DefFrameProcW,
                                     (FARPROC)(void*)Hook_DefMDIChildProcW, (FARPROC)(void*)Hook_DefDlgProcW};
    WNDCLASSW copy = *wc;
    UnhookClassProc(&copy, indices, replacements);
    return real(&copy);
}

// --- colours and drawing ---------------------------------------------------------

DWORD WINAPI Hook_GetSysColor(int index)
{
    CSFSkinFramework* manager = LoadedSkin();
    if (manager && index >= 0 && index <= 30)
    {
        COLORREF color = manager->GetMetrics()->GetColor(index);
        if (color != (COLORREF)-1)
            return color;
    }
    return REAL(8, GetSysColor)(index);
}

HBRUSH WINAPI Hook_GetSysColorBrush(int index)
{
    CSFSkinFramework* manager = LoadedSkin();
    if (manager && index > 0 && index < 31)
        if (HBRUSH brush = manager->GetMetrics()->GetBrush(index))
            return brush;
    return REAL(9, GetSysColorBrush)(index);
}

BOOL WINAPI Hook_DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) { return SkinDrawEdge(dc, rect, edge, flags); }

int WINAPI Hook_FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    CSFSkinFramework* manager = LoadedSkin();
    ULONG_PTR value = (ULONG_PTR)brush;
    if (manager && value >= 1 && value <= 30)
        if (HBRUSH skin = manager->GetMetrics()->GetBrush((int)value - 1))
            brush = skin;
    return REAL(38, FillRect)(dc, rect, brush);
}

BOOL WINAPI Hook_DeleteObject(HGDIOBJ object)
{
    CSFSkinFramework* manager = FindSkinFramework();
    // The skin's colour brushes outlive whoever got them from GetSysColorBrush.
    if (manager && ::GetObjectType(object) == OBJ_BRUSH && manager->GetMetrics()->IsMetricsBrush((HBRUSH)object))
        return FALSE;
    return REAL(39, DeleteObject)(object);
}

BOOL WINAPI Hook_DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state)
{
    if (SkinDrawFrameControl(dc, rect, type, state))
        return TRUE;
    return REAL(11, DrawFrameControl)(dc, rect, type, state);
}

// --- UxTheme -------------------------------------------------------------------------

CSFSkinClass* ThemeClass(HTHEME theme)
{
    CSFSkinFramework* manager = LoadedSkin();
    return manager && theme && manager->IsSkinClass(theme) ? (CSFSkinClass*)theme : NULL;
}

HTHEME WINAPI Hook_OpenThemeData(HWND, LPCWSTR classList)
{
    CSFSkinFramework* manager = LoadedSkin();
    if (manager == NULL || classList == NULL)
        return NULL;
    return (HTHEME)manager->GetSkinClass(CString(classList));
}

HRESULT WINAPI Hook_DrawThemeBackground(HTHEME theme, HDC hdc, int part, int state, const RECT* rect, const RECT* clip)
{
    CSFSkinClass* cls = ThemeClass(theme);
    if (cls == NULL || rect == NULL)
        return E_FAIL;
    HRGN saved = NULL;
    BOOL clipped = clip != NULL && !::EqualRect(rect, clip);
    if (clipped)
    {
        saved = ::CreateRectRgn(0, 0, 0, 0);
        if (::GetClipRgn(hdc, saved) != 1)
        {
            ::DeleteObject(saved);
            saved = NULL;
        }
        ::IntersectClipRect(hdc, clip->left, clip->top, clip->right, clip->bottom);
    }
    CDC dc;
    dc.Attach(hdc);
    BOOL drawn = cls->DrawBackground(&dc, part, state, rect);
    dc.Detach();
    if (clipped)
    {
        ::ExtSelectClipRgn(hdc, saved, RGN_COPY);
        if (saved)
            ::DeleteObject(saved);
    }
    return drawn ? S_OK : E_FAIL;
}

HRESULT WINAPI Hook_CloseThemeData(HTHEME) { return S_OK; }

HRESULT WINAPI Hook_GetThemeColor(HTHEME theme, int part, int state, int property, COLORREF* color)
{
    CSFSkinClass* cls = ThemeClass(theme);
    if (cls == NULL || color == NULL)
        return E_FAIL;
    COLORREF value = cls->GetColor(part, state, property, (COLORREF)-1);
    if (value == (COLORREF)-1)
        return E_FAIL;
    *color = value;
    return S_OK;
}

BOOL WINAPI Hook_IsAppThemed() { return TRUE; }
BOOL WINAPI Hook_IsThemeActive() { return TRUE; }

HRESULT WINAPI Hook_GetCurrentThemeName(LPWSTR file, int cchFile, LPWSTR color, int cchColor, LPWSTR, int)
{
    CSFSkinFramework* manager = FindSkinFramework();
    if (manager == NULL)
        return E_FAIL;
    if (file)
    {
        CString path = manager->GetResourceFile()->GetStylePath();
        if (path.GetLength() < cchFile)
            lstrcpyW(file, path);
    }
    if (color)
    {
        CString name = manager->GetResourceFile()->GetIniName();
        name.MakeUpper();
        if (name.Find(L"METALLIC") > 0)
            name = L"metallic";
        else if (name.Find(L"BLUE") > 0)
            name = L"normalcolor";
        else if (name.Find(L"HOMESTEAD") > 0)
            name = L"homestead";
        if (name.GetLength() < cchColor)
            lstrcpyW(color, name);
    }
    return S_OK;
}

BOOL WINAPI Hook_GetThemeSysBool(HTHEME, int id)
{
    CSFSkinFramework* manager = FindSkinFramework();
    return manager ? manager->GetThemeSysBool(id) : FALSE;
}

COLORREF WINAPI Hook_GetThemeSysColor(HTHEME, int id)
{
    CSFSkinFramework* manager = FindSkinFramework();
    return manager ? manager->GetThemeSysColor(id) : (COLORREF)-1;
}

HRESULT WINAPI Hook_GetThemePartSize(HTHEME theme, HDC, int part, int state, LPCRECT rect, THEMESIZE kind, SIZE* size)
{
    CSFSkinClass* cls = ThemeClass(theme);
    if (cls == NULL)
        return E_FAIL;
    return cls->GetPartSize(part, state, rect, (int)kind, size) ? S_OK : E_FAIL;
}

// --- scroll bars -----------------------------------------------------------------------

int WINAPI Hook_SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw)
{
    auto real = REAL(12, SetScrollInfo);
    CSFSkinObjectFrame* frame = FrameOf(hwnd);
    if (frame == NULL || bar == SB_CTL || !redraw)
        return real(hwnd, bar, info, redraw);
    // Lists set their bars after every change of their rows; a bar whose
    // range, page and position stay as they were is not drawn again.
    SCROLLINFO before = {sizeof(before), SIF_ALL};
    BOOL known = REAL(14, GetScrollInfo)(hwnd, bar, &before);
    int result = real(hwnd, bar, info, FALSE);
    SCROLLINFO after = {sizeof(after), SIF_ALL};
    if (known && REAL(14, GetScrollInfo)(hwnd, bar, &after) && before.nMin == after.nMin &&
        before.nMax == after.nMax && before.nPage == after.nPage && before.nPos == after.nPos)
        return result;
    frame->RepaintFrameScrollBar(bar);
    return result;
}

int WINAPI Hook_SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    auto real = REAL(13, SetScrollPos);
    CSFSkinObjectFrame* frame = FrameOf(hwnd);
    if (frame == NULL)
        return real(hwnd, bar, pos, redraw);
    int previous = real(hwnd, bar, pos, FALSE);
    if (redraw)
    {
        if (bar == SB_CTL)
            ::InvalidateRect(hwnd, NULL, FALSE);
        else
            frame->RepaintFrameScrollBar(bar);
    }
    return previous;
}

BOOL WINAPI Hook_GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info)
{
    BOOL result = REAL(14, GetScrollInfo)(hwnd, bar, info);
    if (result && info && (info->fMask & SIF_TRACKPOS))
        if (CSFSkinObjectFrame* frame = FrameOf(hwnd))
            if (ScrollBarTracking* tracking = frame->GetTracking())
                if (tracking->bar == bar)
                    info->nTrackPos = tracking->newPosition;
    return result;
}

BOOL WINAPI Hook_EnableScrollBar(HWND hwnd, UINT bar, UINT arrows)
{
    auto real = REAL(15, EnableScrollBar);
    CSFSkinObjectFrame* frame = FrameOf(hwnd);
    if (frame == NULL)
        return real(hwnd, bar, arrows);
    BOOL result = real(hwnd, bar, arrows);
    if (bar == SB_HORZ || bar == SB_BOTH)
        frame->RepaintFrameScrollBar(SB_HORZ);
    if (bar == SB_VERT || bar == SB_BOTH)
        frame->RepaintFrameScrollBar(SB_VERT);
    return result;
}

// --- metrics -------------------------------------------------------------------------------

BOOL WINAPI Hook_SystemParametersInfoW(UINT action, UINT uiParam, PVOID param, UINT winIni)
{
    BOOL result = REAL(26, SystemParametersInfoW)(action, uiParam, param, winIni);
    CSFSkinFramework* manager = LoadedSkin();
    if (!result || param == NULL || !MetricsApplied(manager) || manager->GetSchema() == NULL)
        return result;
    CSFSkinSchema* schema = manager->GetSchema();
    if (action == SPI_GETICONTITLELOGFONT && uiParam == sizeof(LOGFONTW))
        schema->GetFontProperty(SCHEMA_CLASS_SYSMETRICS, 0, 0, SCHEMA_PROP_ICONTITLEFONT, (LOGFONTW*)param);
    else if (action == SPI_GETNONCLIENTMETRICS && uiParam == 500)
    {
        NONCLIENTMETRICSW* ncm = (NONCLIENTMETRICSW*)param;
        schema->GetFontProperty(SCHEMA_CLASS_SYSMETRICS, 0, 0, SCHEMA_PROP_MENUFONT, &ncm->lfMenuFont);
        schema->GetFontProperty(SCHEMA_CLASS_SYSMETRICS, 0, 0, SCHEMA_PROP_STATUSFONT, &ncm->lfStatusFont);
        schema->GetFontProperty(SCHEMA_CLASS_SYSMETRICS, 0, 0, SCHEMA_PROP_CAPTIONFONT, &ncm->lfCaptionFont);
    }
    return result;
}

BOOL WINAPI Hook_AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD ex)
{
    CSFSkinFramework* manager = LoadedSkin();
    BOOL metrics = manager && (manager->GetApplyOptions() & SF_APPLY_METRICS);
    if (rect && !menu && metrics && (style & WS_THICKFRAME) &&
        ((style & WS_CHILD) || (style & 0x1C00000) != 0x1C00000) && manager->GetSchema())
    {
        RECT b;
        manager->GetSchema()->GetBorderWidths(style, ex, &b);
        rect->left -= b.left;
        rect->top -= b.top;
        rect->right += b.right;
        rect->bottom += b.bottom;
        return TRUE;
    }
    BOOL result = REAL(40, AdjustWindowRectEx)(rect, style, menu, ex);
    if (result && rect && metrics && (style & WS_CAPTION) == WS_CAPTION)
    {
        CSFSkinMetrics* m = manager->GetMetrics();
        rect->top += (ex & WS_EX_TOOLWINDOW) ? m->m_systemSmallCaptionHeight - m->m_smallCaptionHeight
                                             : m->m_systemCaptionHeight - m->m_captionHeight;
    }
    return result;
}

int WINAPI Hook_GetSystemMetrics(int index)
{
    int value = REAL(41, GetSystemMetrics)(index);
    CSFSkinFramework* manager = LoadedSkin();
    if (!MetricsApplied(manager))
        return value;
    CSFSkinMetrics* m = manager->GetMetrics();
    switch (index)
    {
    case SM_CXVSCROLL: return m->m_cxVScroll;
    case SM_CYHSCROLL: return m->m_cyHScroll;
    case SM_CYCAPTION: return m->m_captionHeight;
    case SM_CXBORDER: return m->m_cxBorder;
    case SM_CYBORDER: return m->m_cyBorder;
    case SM_CYVSCROLL: return m->m_cyVScroll;
    case SM_CXHSCROLL: return m->m_cxHScroll;
    case SM_CYSMCAPTION: return m->m_smallCaptionHeight;
    default: return value;
    }
}

// --- default procedures ---------------------------------------------------------------

#define DEFAULT_PROC_HOOK(name, index, kind)                                                                 \
    LRESULT WINAPI Hook_##name(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)                           \
    {                                                                                                        \
        auto real = REAL(index, name);                                                                      \
        LRESULT result = 0;                                                                                  \
        if (SkinDefaultProcRoad(hwnd, msg, wParam, lParam, kind, (FARPROC)(void*)real, 0, &result))         \
            return result;                                                                                   \
        return real(hwnd, msg, wParam, lParam);                                                              \
    }
DEFAULT_PROC_HOOK(DefWindowProcA, 27, SF_MSG_DEFWINDOWPROC)
DEFAULT_PROC_HOOK(DefWindowProcW, 28, SF_MSG_DEFWINDOWPROC)
DEFAULT_PROC_HOOK(DefMDIChildProcA, 29, SF_MSG_DEFMDICHILDPROC)
DEFAULT_PROC_HOOK(DefMDIChildProcW, 30, SF_MSG_DEFMDICHILDPROC)
DEFAULT_PROC_HOOK(DefDlgProcA, 33, SF_MSG_DEFDLGPROC)
DEFAULT_PROC_HOOK(DefDlgProcW, 34, SF_MSG_DEFDLGPROC)

#define FRAME_PROC_HOOK(name, index)                                                                         \
    LRESULT WINAPI Hook_##name(HWND hwnd, HWND client, UINT msg, WPARAM wParam, LPARAM lParam)              \
    {                                                                                                        \
        auto real = REAL(index, name);                                                                      \
        LRESULT result = 0;                                                                                  \
        if (SkinDefaultProcRoad(hwnd, msg, wParam, lParam, SF_MSG_DEFFRAMEPROC, (FARPROC)(void*)real,       \
                                (LONG_PTR)client, &result))                                                  \
            return result;                                                                                   \
        return real(hwnd, client, msg, wParam, lParam);                                                      \
    }
FRAME_PROC_HOOK(DefFrameProcA, 31)
FRAME_PROC_HOOK(DefFrameProcW, 32)

#define CALL_PROC_HOOK(name, index)                                                                          \
    LRESULT WINAPI Hook_##name(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)             \
    {                                                                                                        \
        auto real = REAL(index, name);                                                                      \
        LRESULT result = 0;                                                                                  \
        if (proc != NULL && SkinDefaultProcRoad(hwnd, msg, wParam, lParam, SF_MSG_CALLWINDOWPROC,            \
                                                (FARPROC)(void*)real, (LONG_PTR)proc, &result))              \
            return result;                                                                                   \
        return real(proc, hwnd, msg, wParam, lParam);                                                        \
    }
CALL_PROC_HOOK(CallWindowProcA, 35)
CALL_PROC_HOOK(CallWindowProcW, 36)

#define HOOK(index, module, fn, option) {index, module, #fn, option, (FARPROC)(void*)Hook_##fn}
} // namespace

DWORD WINAPI SkinThreadStart(LPVOID param)
{
    ThreadStartRecord record = *(ThreadStartRecord*)param;
    delete (ThreadStartRecord*)param;
    if (CSFSkinFramework* manager = FindSkinFramework())
        manager->EnableCurrentThread();
    return record.start(record.parameter);
}

const std::vector<SFHookDefinition>& SFHookTable()
{
    static const std::vector<SFHookDefinition> table = {
        HOOK(0, "KERNEL32.DLL", LoadLibraryA, 0),
        HOOK(1, "KERNEL32.DLL", LoadLibraryW, 0),
        HOOK(2, "KERNEL32.DLL", LoadLibraryExA, 0),
        HOOK(3, "KERNEL32.DLL", LoadLibraryExW, 0),
        HOOK(4, "KERNEL32.DLL", GetProcAddress, 0),
        HOOK(5, "KERNEL32.DLL", GetModuleHandleA, 0),
        HOOK(37, "KERNEL32.DLL", CreateThread, 0),
        HOOK(6, "USER32.DLL", RegisterClassA, 0),
        HOOK(7, "USER32.DLL", RegisterClassW, 0),
        HOOK(8, "USER32.DLL", GetSysColor, SF_APPLY_COLORS),
        HOOK(9, "USER32.DLL", GetSysColorBrush, SF_APPLY_COLORS),
        HOOK(10, "USER32.DLL", DrawEdge, SF_APPLY_COLORS),
        HOOK(38, "USER32.DLL", FillRect, SF_APPLY_COLORS),
        HOOK(39, "GDI32.DLL", DeleteObject, SF_APPLY_COLORS),
        HOOK(16, "UXTHEME.DLL", OpenThemeData, SF_APPLY_COLORS),
        HOOK(17, "UXTHEME.DLL", DrawThemeBackground, SF_APPLY_COLORS),
        HOOK(18, "UXTHEME.DLL", CloseThemeData, SF_APPLY_COLORS),
        HOOK(19, "UXTHEME.DLL", GetThemeColor, SF_APPLY_COLORS),
        HOOK(20, "UXTHEME.DLL", IsAppThemed, SF_APPLY_COLORS),
        HOOK(21, "UXTHEME.DLL", IsThemeActive, SF_APPLY_COLORS),
        HOOK(22, "UXTHEME.DLL", GetCurrentThemeName, SF_APPLY_COLORS),
        HOOK(23, "UXTHEME.DLL", GetThemeSysBool, SF_APPLY_COLORS),
        HOOK(24, "UXTHEME.DLL", GetThemeSysColor, SF_APPLY_COLORS),
        HOOK(25, "UXTHEME.DLL", GetThemePartSize, SF_APPLY_COLORS),
        HOOK(11, "USER32.DLL", DrawFrameControl, SF_APPLY_COLORS),
        HOOK(12, "USER32.DLL", SetScrollInfo, SF_APPLY_FRAME),
        HOOK(13, "USER32.DLL", SetScrollPos, SF_APPLY_FRAME),
        HOOK(14, "USER32.DLL", GetScrollInfo, SF_APPLY_FRAME),
        HOOK(15, "USER32.DLL", EnableScrollBar, SF_APPLY_FRAME),
        HOOK(26, "USER32.DLL", SystemParametersInfoW, SF_APPLY_METRICS),
        HOOK(40, "USER32.DLL", AdjustWindowRectEx, SF_APPLY_METRICS),
        HOOK(41, "USER32.DLL", GetSystemMetrics, SF_APPLY_METRICS),
        HOOK(27, "USER32.DLL", DefWindowProcA, 0),
        HOOK(28, "USER32.DLL", DefWindowProcW, 0),
        HOOK(31, "USER32.DLL", DefFrameProcA, 0),
        HOOK(32, "USER32.DLL", DefFrameProcW, 0),
        HOOK(33, "USER32.DLL", DefDlgProcA, 0),
        HOOK(34, "USER32.DLL", DefDlgProcW, 0),
        HOOK(29, "USER32.DLL", DefMDIChildProcA, 0),
        HOOK(30, "USER32.DLL", DefMDIChildProcW, 0),
        HOOK(35, "USER32.DLL", CallWindowProcA, 0),
        HOOK(36, "USER32.DLL", CallWindowProcW, 0),
    };
    return table;
}
