#include "ThreadTimer.h"

#include <atomic>
#include <list>
#include <mutex>

// One running timer. The list owns it until KillTimer takes it out; from then
// on the record is freed by whichever of KillTimer and the timer thread lets
// go of it last, so that a timer stopped from inside its own tick handler
// (where waiting for the thread would wait on ourselves) still ends cleanly.
struct CThreadTimer::Record
{
    HWND window = NULL;
    UINT id = 0;
    UINT interval = 0;
    HANDLE stopEvent = NULL;       // manual-reset; set to stop the thread
    HANDLE thread = NULL;          // our own handle of the thread, for waiting
    std::atomic<bool> sending{false}; // the thread is inside SendMessage
    std::atomic<int> holders{2};   // the list side and the thread
};

namespace
{
std::mutex& ListLock()
{
    static std::mutex lock;
    return lock;
}

std::list<void*>& Timers()
{
    static std::list<void*> timers;
    return timers;
}
} // namespace

void CThreadTimer::Release(Record* record)
{
    if (--record->holders == 0)
    {
        if (record->thread)
            ::CloseHandle(record->thread);
        ::CloseHandle(record->stopEvent);
        delete record;
    }
}

UINT __cdecl CThreadTimer::ThreadMain(LPVOID param)
{
    Record* record = static_cast<Record*>(param);
    DWORD wait = 0; // the first tick comes at once
    while (::WaitForSingleObject(record->stopEvent, wait) == WAIT_TIMEOUT)
    {
        record->sending = true;
        ::SendMessageW(record->window, WM_TIMER, record->id, 0);
        record->sending = false;
        wait = record->interval;
    }
    Release(record);
    return 0;
}

UINT CThreadTimer::SetTimer(HWND window, UINT id, UINT interval)
{
    Record* record = new Record;
    record->window = window;
    record->id = id;
    record->interval = interval;
    record->stopEvent = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    CWinThread* thread = AfxBeginThread(&CThreadTimer::ThreadMain, record, THREAD_PRIORITY_NORMAL, 0,
                                        CREATE_SUSPENDED);
    if (!record->stopEvent || !thread)
    {
        if (thread)
        {
            // never resumed: let it run to an immediate end
            ::SetEvent(record->stopEvent);
            thread->ResumeThread();
        }
        else
        {
            record->holders = 1;
        }
        Release(record);
        return id;
    }
    // The thread object deletes itself when the thread ends; keep a handle of
    // our own to wait on.
    ::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread, ::GetCurrentProcess(), &record->thread, SYNCHRONIZE,
                      FALSE, 0);
    {
        std::lock_guard<std::mutex> guard(ListLock());
        Timers().push_back(record);
    }
    thread->ResumeThread();
    return id;
}

int CThreadTimer::KillTimer(HWND window, UINT id)
{
    Record* record = nullptr;
    {
        std::lock_guard<std::mutex> guard(ListLock());
        for (auto it = Timers().begin(); it != Timers().end(); ++it)
        {
            Record* r = static_cast<Record*>(*it);
            if (r->window == window && r->id == id)
            {
                record = r;
                Timers().erase(it);
                break;
            }
        }
    }
    if (!record)
        return 1;

    ::SetEvent(record->stopEvent);
    if (::InSendMessage() && record->sending)
    {
        // Called from the handler of one of its own ticks: the thread ends as
        // soon as this handler returns and frees the record then.
        Release(record);
        return 1;
    }
    // Wait for the thread, answering a tick it may be sending meanwhile.
    if (record->thread)
    {
        HANDLE thread = record->thread;
        while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
        {
            MSG msg;
            ::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    Release(record);
    return 1;
}

int CThreadTimer::Count()
{
    std::lock_guard<std::mutex> guard(ListLock());
    return static_cast<int>(Timers().size());
}
