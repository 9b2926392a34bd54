// Version tests, the common-controls version, the monitor entry points and
// the lock pair.
#include "CritSec.h"
#include "SFLoadedModule.h"
#include "SFMonitorInfo.h"
#include "SFOSVersionInfo.h"
#include <gtest/gtest.h>
#include <thread>

TEST(SFOSVersionInfo, VersionTestsByPlatformAndNumbers)
{
    struct Case
    {
        DWORD platform, major, minor;
        BOOL win95, win9x, nt4, win2k, xp, six;
    } cases[] = {
        {1, 4, 0, TRUE, TRUE, FALSE, FALSE, FALSE, FALSE},   // 95
        {1, 4, 10, FALSE, TRUE, FALSE, FALSE, FALSE, FALSE}, // 98
        {2, 4, 0, FALSE, FALSE, TRUE, FALSE, FALSE, FALSE},  // NT 4
        {2, 5, 0, FALSE, FALSE, FALSE, TRUE, FALSE, FALSE},  // 2000
        {2, 5, 1, FALSE, FALSE, FALSE, TRUE, TRUE, FALSE},   // XP
        {2, 6, 1, FALSE, FALSE, FALSE, TRUE, TRUE, TRUE},    // 7
    };
    for (const Case& c : cases)
    {
        CSFOSVersionInfo v(c.platform, c.major, c.minor);
        SCOPED_TRACE(testing::Message() << c.platform << " " << c.major << "." << c.minor);
        EXPECT_EQ(c.win95, v.IsWin95());
        EXPECT_EQ(c.win9x, v.IsWin9x());
        EXPECT_EQ(c.nt4, v.IsWinNT4());
        EXPECT_EQ(c.win2k, v.IsWin2KOrGreater());
        EXPECT_EQ(c.xp, v.IsWinXPOrGreater());
        EXPECT_EQ(c.six, v.IsWin6OrGreater());
    }
    EXPECT_TRUE(GetOSVersionInfo().IsWin2KOrGreater());
}

TEST(SFOSVersionInfo, ComCtlVersionFallsBackToFour)
{
    // KERNEL32 has no DllGetVersion: the answer is version 4.0.
    EXPECT_EQ(0x40000u, CSFOSVersionInfo::ReadDllVersion(L"KERNEL32.DLL"));
    EXPECT_EQ(0x40000u, CSFOSVersionInfo::ReadDllVersion(L"NO-SUCH-LIBRARY.DLL"));
    DWORD v = GetOSVersionInfo().GetComCtlVersion();
    EXPECT_GE(v, 0x40000u);
    EXPECT_EQ(v, GetOSVersionInfo().GetComCtlVersion());
}

TEST(SFLoadedModule, FreesOnlyWhatItLoaded)
{
    CSFLoadedModule found;
    ASSERT_TRUE(found.Init(L"KERNEL32.DLL"));
    EXPECT_EQ(CSFLoadedModule::kindFound, found.GetKind());
    found.Release();
    EXPECT_NE(nullptr, GetModuleHandleW(L"KERNEL32.DLL"));

    ASSERT_EQ(nullptr, GetModuleHandleW(L"SHFOLDER.DLL")) << "the test needs a library that is not loaded yet";
    {
        CSFLoadedModule loaded;
        ASSERT_TRUE(loaded.Init(L"SHFOLDER.DLL"));
        EXPECT_EQ(CSFLoadedModule::kindLoaded, loaded.GetKind());
        EXPECT_NE(nullptr, GetModuleHandleW(L"SHFOLDER.DLL"));
    }
    EXPECT_EQ(nullptr, GetModuleHandleW(L"SHFOLDER.DLL"));

    CSFLoadedModule none;
    EXPECT_FALSE(none.Init(L"NO-SUCH-LIBRARY.DLL"));
    EXPECT_EQ(CSFLoadedModule::kindNone, none.GetKind());
}

TEST(SFMonitorInfo, WithoutTheEntryPointsTheWorkAreaIsThePrimaryOne)
{
    RECT system;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &system, 0);

    // KERNEL32 lacks the monitor functions: none is used.
    CSFMonitorInfo missing(L"KERNEL32.DLL");
    EXPECT_FALSE(missing.HasMonitorFunctions());
    RECT rc = {};
    missing.GetWorkArea(&rc, (HMONITOR)NULL);
    EXPECT_TRUE(EqualRect(&system, &rc));
    rc = RECT();
    missing.GetWorkArea(&rc, (CWnd*)NULL);
    EXPECT_TRUE(EqualRect(&system, &rc));

    const CSFMonitorInfo& user32 = GetSFMonitorInfo();
    EXPECT_TRUE(user32.HasMonitorFunctions());
    POINT origin = {0, 0};
    rc = RECT();
    user32.GetWorkArea(&rc, MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY));
    EXPECT_GT(rc.right - rc.left, 0);
    EXPECT_GT(rc.bottom - rc.top, 0);
}

TEST(CritSec, ScopedLockExcludesOtherThreads)
{
    CCritSec sec;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; i++)
        {
            CCritSecLock lock(sec);
            long v = counter;
            counter = v + 1;
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(40000, counter);
    // Re-entrant on one thread.
    CCritSecLock outer(sec);
    CCritSecLock inner(sec);
}
