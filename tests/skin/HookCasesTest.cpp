// More of the API hooks on real import tables, called from inside a probe
// library: a library mapped only as data is left unpatched, threads started
// while a skin is loaded skin their windows, and the scroll functions on a
// skinned window reach the skin's scroll-bar engine.
#include "SFSkinFramework.h"
#include "SFSkinHookEntry.h"
#include "SFSkinHookManager.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectFrame.h"
#include "SFSkinObjectScrollBar.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <gtest/gtest.h>

namespace
{
std::wstring ProbePath(const wchar_t* name) { return std::wstring(YEB_BINARY_DIR) + L"\\bin\\" + name; }

// The probe's exports, each one system call made from inside the library.
struct HookProbe
{
    explicit HookProbe(HMODULE loaded) : module(loaded)
    {
        getSysColor = (DWORD(__cdecl*)(int))(void*)GetProcAddress(module, "ProbeGetSysColor");
        loadLibraryEx = (HMODULE(__cdecl*)(const wchar_t*, DWORD))(void*)GetProcAddress(module, "ProbeLoadLibraryExW");
        createThread = (HANDLE(__cdecl*)(LPTHREAD_START_ROUTINE, void*, SIZE_T))(void*)GetProcAddress(
            module, "ProbeCreateThread");
        setScrollInfo = (int(__cdecl*)(HWND, int, const SCROLLINFO*, BOOL))(void*)GetProcAddress(
            module, "ProbeSetScrollInfo");
        getScrollInfo = (BOOL(__cdecl*)(HWND, int, SCROLLINFO*))(void*)GetProcAddress(module, "ProbeGetScrollInfo");
        setScrollPos = (int(__cdecl*)(HWND, int, int, BOOL))(void*)GetProcAddress(module, "ProbeSetScrollPos");
        enableScrollBar = (BOOL(__cdecl*)(HWND, UINT, UINT))(void*)GetProcAddress(module, "ProbeEnableScrollBar");
    }
    HMODULE module;
    DWORD(__cdecl* getSysColor)(int);
    HMODULE(__cdecl* loadLibraryEx)(const wchar_t*, DWORD);
    HANDLE(__cdecl* createThread)(LPTHREAD_START_ROUTINE, void*, SIZE_T);
    int(__cdecl* setScrollInfo)(HWND, int, const SCROLLINFO*, BOOL);
    BOOL(__cdecl* getScrollInfo)(HWND, int, SCROLLINFO*);
    int(__cdecl* setScrollPos)(HWND, int, int, BOOL);
    BOOL(__cdecl* enableScrollBar)(HWND, UINT, UINT);
};

struct ThreadReport
{
    CSFSkinFramework* manager;
    BOOL skinned;
};

DWORD WINAPI MakeWindowOnThread(LPVOID param)
{
    ThreadReport* report = (ThreadReport*)param;
    HWND hwnd = CreateWindowExW(0, PlainWindowClass(), L"Thread window", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, NULL,
                                NULL, GetModuleHandleW(NULL), NULL);
    report->skinned = hwnd && report->manager->Lookup(hwnd) != NULL;
    DestroyWindow(hwnd);
    return 42;
}

HookProbe* g_trackProbe = NULL;
std::vector<int> g_trackPositions;

LRESULT CALLBACK TrackParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_VSCROLL && LOWORD(wParam) == SB_THUMBTRACK && g_trackProbe)
    {
        SCROLLINFO si = {sizeof(si), SIF_TRACKPOS};
        g_trackProbe->getScrollInfo((HWND)lParam, SB_CTL, &si);
        g_trackPositions.push_back(si.nTrackPos);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void SetLeftButtonState(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_LBUTTON] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}
} // namespace

class HookCasesTest : public StyleTextTest
{
protected:
    void SetUp() override
    {
        StyleTextTest::SetUp();
        SFRegisterApiHooks();
        manager->SetApplyOptions(SF_APPLY_METRICS | SF_APPLY_FRAME | SF_APPLY_COLORS);
        probe = new HookProbe(LoadLibraryW(ProbePath(L"skin_hook_probe_a.dll").c_str()));
        ASSERT_NE(nullptr, probe->loadLibraryEx);
    }
    void TearDown() override
    {
        manager->SetHookNewThreads(FALSE);
        manager->SetApplyToNewWindows(FALSE);
        manager->RemoveAll(TRUE);
        StyleTextTest::TearDown();
        FreeLibrary(probe->module);
        delete probe;
        CSFSkinFramework::SetApiHookControl(NULL);
    }
    HookProbe* probe = nullptr;
};

TEST_F(HookCasesTest, ALibraryMappedAsDataIsNotPatched)
{
    ASSERT_TRUE(LoadStyle(L"DataFileStyle", "[SysMetrics]\r\nBtnFace = 11 22 33\r\n"));
    std::wstring path = ProbePath(L"skin_hook_probe_b.dll");
    HookProbe second(probe->loadLibraryEx(path.c_str(), 0));
    ASSERT_NE(nullptr, second.getSysColor);
    EXPECT_EQ(RGB(11, 22, 33), second.getSysColor(COLOR_BTNFACE));
    // Its slot is put back to the system's function by hand ...
    CSFSkinHookEntry* entry = GetHookManager()->FindHook("USER32.DLL", "GetSysColor");
    ASSERT_NE(nullptr, entry);
    ASSERT_TRUE(GetHookManager()->PatchModule("USER32.DLL", entry->m_replacement, entry->m_real, second.module));
    // (GetProcAddress itself is hooked: the system's function is the entry's.)
    DWORD systemFace = ((DWORD(WINAPI*)(int))(void*)entry->m_real)(COLOR_BTNFACE);
    ASSERT_NE(RGB(11, 22, 33), systemFace);
    EXPECT_EQ(systemFace, second.getSysColor(COLOR_BTNFACE));
    // ... and loading the library again as data leaves it so ...
    HMODULE data = probe->loadLibraryEx(path.c_str(), LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(second.module, (HMODULE)((ULONG_PTR)data & ~(ULONG_PTR)3));
    EXPECT_EQ(systemFace, second.getSysColor(COLOR_BTNFACE));
    // ... while loading it as a program module patches it again.
    HMODULE again = probe->loadLibraryEx(path.c_str(), 0);
    EXPECT_EQ(RGB(11, 22, 33), second.getSysColor(COLOR_BTNFACE));
    FreeLibrary(again);
    FreeLibrary(data);
    FreeLibrary(second.module);
}

TEST_F(HookCasesTest, ThreadsStartedWhileASkinIsLoadedSkinTheirWindows)
{
    ASSERT_TRUE(LoadStyle(L"ThreadStyle", "[SysMetrics]\r\nBtnFace = 1 2 3\r\n"));
    manager->SetApplyToNewWindows(TRUE);
    for (BOOL wrap : {TRUE, FALSE})
    {
        manager->SetHookNewThreads(wrap);
        ThreadReport report = {manager, !wrap};
        HANDLE thread = probe->createThread(MakeWindowOnThread, &report, 0);
        ASSERT_NE(nullptr, thread);
        WaitForSingleObject(thread, 10000);
        DWORD code = 0;
        GetExitCodeThread(thread, &code);
        CloseHandle(thread);
        // The start routine ran with its own parameter and its result came back.
        EXPECT_EQ(42u, code) << wrap;
        EXPECT_EQ(wrap, report.skinned);
    }
    // A thread that cannot be made reports the failure and nothing runs.
    manager->SetHookNewThreads(TRUE);
    ThreadReport never = {manager, FALSE};
    SIZE_T huge = sizeof(void*) == 8 ? ((SIZE_T)1 << 46) : (SIZE_T)0x7FF00000;
    HANDLE none = probe->createThread(MakeWindowOnThread, &never, huge);
    EXPECT_EQ(nullptr, none);
    if (none)
        CloseHandle(none);
}

TEST_F(HookCasesTest, ScrollFunctionsOnASkinnedWindowReachTheSkinsScrollBars)
{
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    HWND window = CreateWindowExW(0, PlainWindowClass(), L"Scrolled", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE,
                                  80, 80, 300, 240, NULL, NULL, GetModuleHandleW(NULL), NULL);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 99, 10, 0, 0};
    SetScrollInfo(window, SB_VERT, &si, FALSE);
    manager->ApplyWindow(window);
    CSFSkinObjectFrame* frame = dynamic_cast<CSFSkinObjectFrame*>(manager->Lookup(window));
    ASSERT_NE(nullptr, frame);
    TakeWindowShot(window);
    ScrollBarLayout& bar = frame->GetVertBar();
    ASSERT_TRUE(bar.visible);
    int topThumb = bar.thumbTop;

    // Redrawn by the skin, which lays the bar out from the new position.
    si.fMask = SIF_POS;
    si.nPos = 90;
    probe->setScrollInfo(window, SB_VERT, &si, TRUE);
    EXPECT_EQ(90, bar.pos);
    EXPECT_GT(bar.thumbTop, topThumb);
    EXPECT_EQ(90, probe->setScrollPos(window, SB_VERT, 10, TRUE));
    EXPECT_EQ(10, bar.pos);
    // Without a redraw the skin's layout is left as it was.
    probe->setScrollPos(window, SB_VERT, 50, FALSE);
    EXPECT_EQ(10, bar.pos);
    probe->enableScrollBar(window, SB_VERT, ESB_DISABLE_BOTH);
    EXPECT_EQ(50, bar.pos);
    probe->enableScrollBar(window, SB_VERT, ESB_ENABLE_BOTH);
    DestroyWindow(window);

    // While the skin's engine drags a thumb, the tracking position asked
    // for is the engine's.
    HWND parent = CreateWindowExW(0, TestWindowClass(L"HookTrackParent", TrackParentProc), L"Tracking",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 200, 300, NULL, NULL,
                                  GetModuleHandleW(NULL), NULL);
    HWND control = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 20, 20, 16, 200, parent,
                                   NULL, GetModuleHandleW(NULL), NULL);
    SCROLLINFO ci = {sizeof(ci), SIF_ALL, 0, 99, 10, 0, 0};
    SetScrollInfo(control, SB_CTL, &ci, FALSE);
    manager->ApplyWindow(control);
    CSFSkinObjectScrollBar* controlObject = dynamic_cast<CSFSkinObjectScrollBar*>(manager->Lookup(control));
    ASSERT_NE(nullptr, controlObject);
    TakeWindowShot(parent);
    g_trackProbe = probe;
    g_trackPositions.clear();
    POINT beyond = {8, 220};
    ClientToScreen(control, &beyond);
    SetCursorPos(beyond.x, beyond.y);
    PostMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, 220));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(8, 220));
    SetLeftButtonState(true);
    const ScrollBarLayout& layout = controlObject->GetLayout();
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, (layout.thumbTop + layout.thumbBottom) / 2));
    SetLeftButtonState(false);
    g_trackProbe = NULL;
    EXPECT_EQ((std::vector<int>{0, 90}), g_trackPositions);
    DestroyWindow(parent);
}
