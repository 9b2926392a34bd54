// The thread timer: first tick at once, ticks stop when the timer is killed,
// killing from inside a tick handler ends without waiting on itself.
#include <gtest/gtest.h>

#include "ThreadTimer.h"

namespace
{
struct TickWindow
{
    HWND hwnd = NULL;
    int ticks = 0;
    DWORD firstTickAt = 0;
    bool killInHandler = false;
    UINT lastId = 0;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        TickWindow* self = reinterpret_cast<TickWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg == WM_TIMER && self)
        {
            if (self->ticks++ == 0)
                self->firstTickAt = GetTickCount();
            self->lastId = static_cast<UINT>(wp);
            if (self->killInHandler)
                CThreadTimer::KillTimer(hwnd, static_cast<UINT>(wp));
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    TickWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TickWindow::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"YebTickTestWindow";
        RegisterClassW(&wc);
        hwnd = CreateWindowW(L"YebTickTestWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TickWindow() { DestroyWindow(hwnd); }

    // Lets sent ticks in for up to ms milliseconds or until ticks reaches count.
    void Pump(DWORD ms, int count = 1 << 30)
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < ms && ticks < count)
        {
            MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
        }
    }
};

TEST(ThreadTimer, FirstTickComesAtOnceThenEveryInterval)
{
    TickWindow w;
    ASSERT_NE(nullptr, w.hwnd);
    DWORD start = GetTickCount();
    EXPECT_EQ(666u, CThreadTimer::SetTimer(w.hwnd, 666, 5000));
    w.Pump(3000, 1);
    ASSERT_EQ(1, w.ticks);
    EXPECT_LT(w.firstTickAt - start, 2000u); // far sooner than the 5 s interval
    EXPECT_EQ(666u, w.lastId);
    w.Pump(300);
    EXPECT_EQ(1, w.ticks); // the next one waits for the interval
    EXPECT_EQ(1, CThreadTimer::KillTimer(w.hwnd, 666));
    EXPECT_EQ(0, CThreadTimer::Count());
}

TEST(ThreadTimer, KillStopsTheTicksAndUnknownTimersAreIgnored)
{
    TickWindow w;
    CThreadTimer::SetTimer(w.hwnd, 7, 20);
    w.Pump(2000, 4);
    ASSERT_GE(w.ticks, 4);
    // The thread may be blocked sending a tick right now; KillTimer answers it.
    EXPECT_EQ(1, CThreadTimer::KillTimer(w.hwnd, 7));
    int after = w.ticks;
    w.Pump(200);
    EXPECT_EQ(after, w.ticks);
    EXPECT_EQ(1, CThreadTimer::KillTimer(w.hwnd, 7));   // already gone
    EXPECT_EQ(1, CThreadTimer::KillTimer(w.hwnd, 999)); // never started
    EXPECT_EQ(0, CThreadTimer::Count());
}

TEST(ThreadTimer, KillFromInsideItsOwnTickDoesNotWaitOnItself)
{
    TickWindow w;
    w.killInHandler = true;
    CThreadTimer::SetTimer(w.hwnd, 9, 10);
    w.Pump(2000, 1);
    ASSERT_EQ(1, w.ticks);
    EXPECT_EQ(0, CThreadTimer::Count());
    w.Pump(200);
    EXPECT_EQ(1, w.ticks);
}

TEST(ThreadTimer, TimersOfOneWindowAreKeptApartById)
{
    TickWindow w;
    CThreadTimer::SetTimer(w.hwnd, 1, 10000);
    CThreadTimer::SetTimer(w.hwnd, 2, 10000);
    EXPECT_EQ(2, CThreadTimer::Count());
    w.Pump(2000, 2);
    EXPECT_EQ(2, w.ticks);
    CThreadTimer::KillTimer(w.hwnd, 1);
    EXPECT_EQ(1, CThreadTimer::Count());
    CThreadTimer::KillTimer(w.hwnd, 2);
    EXPECT_EQ(0, CThreadTimer::Count());
}
} // namespace
