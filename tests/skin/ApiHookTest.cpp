// The API hooks on real import tables: a library loaded before the skin and
// one loaded after it both reach the skin's colours, metrics and UxTheme
// stand-in while a skin is loaded, and the system's own functions again
// once it is gone; the skin's brushes survive DeleteObject; both ways of
// listing the process's modules give the program and USER32 with their
// bases and sizes.
#include "SFModuleEnumerator.h"
#include "SFModuleList.h"
#include "SFSkinFramework.h"
#include "SFSkinHookManager.h"
#include "SFSkinMetrics.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>

namespace
{
typedef HMODULE(__cdecl* GetModuleHandleProbe)(const char*);
typedef DWORD(__cdecl* GetSysColorProbe)(int);
typedef int(__cdecl* GetSystemMetricsProbe)(int);
typedef HMODULE(__cdecl* LoadLibraryProbe)(const wchar_t*);
typedef FARPROC(__cdecl* GetProcAddressProbe)(HMODULE, const char*);

struct Probe
{
    explicit Probe(const wchar_t* name)
    {
        module = LoadLibraryW((std::wstring(YEB_BINARY_DIR) + L"\\bin\\" + name).c_str());
        getModuleHandle = (GetModuleHandleProbe)(void*)GetProcAddress(module, "ProbeGetModuleHandleA");
        getSysColor = (GetSysColorProbe)(void*)GetProcAddress(module, "ProbeGetSysColor");
        getSystemMetrics = (GetSystemMetricsProbe)(void*)GetProcAddress(module, "ProbeGetSystemMetrics");
        loadLibrary = (LoadLibraryProbe)(void*)GetProcAddress(module, "ProbeLoadLibraryW");
        getProcAddress = (GetProcAddressProbe)(void*)GetProcAddress(module, "ProbeGetProcAddress");
    }
    // Loaded by another library's code, whose imports the hooks rewrite.
    Probe(Probe& loader, const wchar_t* name)
    {
        module = loader.loadLibrary((std::wstring(YEB_BINARY_DIR) + L"\\bin\\" + name).c_str());
        getModuleHandle = (GetModuleHandleProbe)(void*)GetProcAddress(module, "ProbeGetModuleHandleA");
        getSysColor = (GetSysColorProbe)(void*)GetProcAddress(module, "ProbeGetSysColor");
        getSystemMetrics = (GetSystemMetricsProbe)(void*)GetProcAddress(module, "ProbeGetSystemMetrics");
        loadLibrary = (LoadLibraryProbe)(void*)GetProcAddress(module, "ProbeLoadLibraryW");
        getProcAddress = (GetProcAddressProbe)(void*)GetProcAddress(module, "ProbeGetProcAddress");
    }
    ~Probe() { FreeLibrary(module); }
    HMODULE module;
    GetModuleHandleProbe getModuleHandle;
    GetSysColorProbe getSysColor;
    GetSystemMetricsProbe getSystemMetrics;
    LoadLibraryProbe loadLibrary;
    GetProcAddressProbe getProcAddress;
};

// The system's own answer, reached past every import table.
DWORD SystemSysColor(int index)
{
    typedef DWORD(WINAPI * Fn)(int);
    return ((Fn)(void*)GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSysColor"))(index);
}
} // namespace

class ApiHookTest : public StyleTextTest
{
protected:
    void SetUp() override
    {
        StyleTextTest::SetUp();
        SFRegisterApiHooks();
        manager->SetApplyOptions(SF_APPLY_METRICS | SF_APPLY_FRAME | SF_APPLY_COLORS);
    }
    void TearDown() override
    {
        StyleTextTest::TearDown();
        manager->SetApplyOptions(SF_APPLY_METRICS | SF_APPLY_FRAME | SF_APPLY_COLORS);
        CSFSkinFramework::SetApiHookControl(NULL);
    }
};

TEST_F(ApiHookTest, LibrariesLoadedBeforeAndAfterTheSkinReachTheReplacements)
{
    Probe before(L"skin_hook_probe_a.dll");
    ASSERT_NE(nullptr, before.getSysColor);
    const char* styleText = "[SysMetrics]\r\nBtnFace = 10 20 30\r\nScrollbarWidth = 23\r\n";
    ASSERT_TRUE(LoadStyle(L"HookStyle", styleText));
    ASSERT_TRUE(GetHookManager()->IsInstalled());
    // This program's own calls may keep an import's address in a register
    // across a call, so the later loads and look-ups go through the probes.
    Probe after(before, L"skin_hook_probe_b.dll");
    ASSERT_NE(nullptr, after.getSysColor);
    HMODULE realUxTheme = before.loadLibrary(L"uxtheme.dll");

    for (Probe* probe : {&before, &after})
    {
        SCOPED_TRACE(probe == &before ? "loaded before the skin" : "loaded after the skin");
        EXPECT_EQ(RGB(10, 20, 30), probe->getSysColor(COLOR_BTNFACE));
        EXPECT_EQ(manager->GetMetrics()->GetColor(COLOR_BTNFACE), probe->getSysColor(COLOR_BTNFACE));
        EXPECT_EQ(23, probe->getSystemMetrics(SM_CXVSCROLL));
        EXPECT_EQ(SF_UXTHEME_PSEUDO_HANDLE, probe->getModuleHandle("uXtHeMe.DlL"));
        EXPECT_EQ(GetModuleHandleW(L"kernel32.dll"), probe->getModuleHandle("kernel32.dll"));
    }
    // The pseudo handle hands out the skin's theme functions, the real
    // module its own.
    FARPROC skinOpen = after.getProcAddress(SF_UXTHEME_PSEUDO_HANDLE, "OpenThemeData");
    ASSERT_NE(nullptr, skinOpen);
    EXPECT_EQ(GetHookManager()->FindHook("UXTHEME.DLL", "OpenThemeData")->m_replacement, skinOpen);
    if (realUxTheme)
        EXPECT_NE(skinOpen, after.getProcAddress(realUxTheme, "OpenThemeData"));

    // The skin's colour brushes are not the caller's to delete.
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    EXPECT_EQ(manager->GetMetrics()->GetBrush(COLOR_BTNFACE), face);
    EXPECT_FALSE(DeleteObject(face));
    LOGBRUSH brush = {};
    EXPECT_EQ((int)sizeof(brush), GetObjectW(face, sizeof(brush), &brush));
    EXPECT_EQ(RGB(10, 20, 30), brush.lbColor);

    // Without the colour option there is no UxTheme stand-in.
    manager->SetApplyOptions(SF_APPLY_METRICS | SF_APPLY_FRAME);
    EXPECT_NE(SF_UXTHEME_PSEUDO_HANDLE, before.getModuleHandle("uxtheme.dll"));
    EXPECT_EQ(SystemSysColor(COLOR_BTNFACE), after.getSysColor(COLOR_BTNFACE));

    manager->SetApplyOptions(SF_APPLY_METRICS | SF_APPLY_FRAME | SF_APPLY_COLORS);
    manager->LoadSkin(L"", L"");
    EXPECT_FALSE(GetHookManager()->IsInstalled());
    for (Probe* probe : {&before, &after})
    {
        EXPECT_EQ(SystemSysColor(COLOR_BTNFACE), probe->getSysColor(COLOR_BTNFACE));
        EXPECT_NE(SF_UXTHEME_PSEUDO_HANDLE, probe->getModuleHandle("uxtheme.dll"));
    }
    if (realUxTheme)
        FreeLibrary(realUxTheme);
}

TEST_F(ApiHookTest, AClassRegisteredWithTheHookedDefaultProcedureGetsTheRealOne)
{
    ASSERT_TRUE(LoadStyle(L"HookClassStyle", "[SysMetrics]\r\nBtnFace = 1 2 3\r\n"));
    WNDPROC seen = DefWindowProcW; // read through this program's patched imports
    CSFSkinHookEntry* entry = GetHookManager()->FindHook("USER32.DLL", "DefWindowProcW");
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(entry->m_replacement, (FARPROC)(void*)seen);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = seen;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"SkinHookRegisteredClass";
    ASSERT_NE(0, RegisterClassW(&wc));
    WNDCLASSW got = {};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(NULL), L"SkinHookRegisteredClass", &got));
    EXPECT_EQ(entry->m_real, (FARPROC)(void*)got.lpfnWndProc);
    UnregisterClassW(L"SkinHookRegisteredClass", GetModuleHandleW(NULL));
}

TEST(ModuleEnumeratorTest, BothWaysListTheProgramAndUser32WithBasesAndSizes)
{
    HMODULE program = GetModuleHandleW(NULL), user32 = GetModuleHandleW(L"user32.dll");
    for (CSFModuleEnumerator::Way way : {CSFModuleEnumerator::wayBest, CSFModuleEnumerator::wayToolhelp})
    {
        CSFModuleEnumerator modules(GetCurrentProcessId(), way);
        bool sawProgram = false, sawUser32 = false;
        int count = 0;
        for (HMODULE m = modules.GetFirstModule(); m != NULL; m = modules.GetNextModule())
        {
            count++;
            sawProgram |= m == program;
            sawUser32 |= m == user32;
        }
        EXPECT_TRUE(sawProgram) << way;
        EXPECT_TRUE(sawUser32) << way;
        EXPECT_GT(count, 3) << way;
        for (HMODULE m : {program, user32})
        {
            MODULEINFO info = {};
            ASSERT_TRUE(modules.GetModuleInfo(m, &info)) << way;
            ULONG_PTR base = 0, size = 0;
            ASSERT_TRUE(SFGetModuleRange(m, &base, &size));
            EXPECT_EQ((void*)base, info.lpBaseOfDll) << way;
            EXPECT_EQ(size, (ULONG_PTR)info.SizeOfImage) << way;
        }
        EXPECT_FALSE(modules.GetModuleInfo((HMODULE)(ULONG_PTR)0x10000, nullptr));
    }
}

