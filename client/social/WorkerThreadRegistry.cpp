#include "WorkerThreadRegistry.h"

#include <atomic>
#include <mutex>
#include <set>
#include <vector>

namespace
{
std::mutex g_lock;
std::set<DWORD> g_sets[2];
std::atomic<bool> g_stop(false);

void EndThreadsOf(WorkerThreadRegistry::Set set, DWORD waitMs)
{
    std::vector<DWORD> ids;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        ids.assign(g_sets[set].begin(), g_sets[set].end());
    }
    std::vector<HANDLE> handles;
    for (DWORD id : ids)
        if (id != ::GetCurrentThreadId())
            if (HANDLE thread = ::OpenThread(SYNCHRONIZE | THREAD_TERMINATE, FALSE, id))
                handles.push_back(thread);
    DWORD start = ::GetTickCount();
    for (HANDLE thread : handles)
    {
        DWORD spent = ::GetTickCount() - start;
        DWORD left = spent < waitMs ? waitMs - spent : 0;
        // The last resort: a thread that does not end in time is stopped.
        if (::WaitForSingleObject(thread, left) != WAIT_OBJECT_0)
            ::TerminateThread(thread, 0xFFFFFFFF);
        ::CloseHandle(thread);
    }
    std::lock_guard<std::mutex> hold(g_lock);
    g_sets[set].clear();
}
} // namespace

namespace WorkerThreadRegistry
{
void RegisterWorkerThread(Set set, DWORD id)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_sets[set].insert(id);
}

void UnregisterWorkerThread(Set set, DWORD id)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_sets[set].erase(id);
}

void UnregisterLoaderThread()
{
    UnregisterWorkerThread(LOADERS, ::GetCurrentThreadId());
}

int Count(Set set)
{
    std::lock_guard<std::mutex> hold(g_lock);
    return (int)g_sets[set].size();
}

BOOL StopRequested()
{
    return g_stop.load() ? TRUE : FALSE;
}

void KillAvatarLoaderThreads(DWORD waitMs)
{
    g_stop = true;
    EndThreadsOf(LOADERS, waitMs);
}

void KillAllWorkerThreads(DWORD waitMs)
{
    g_stop = true;
    DWORD start = ::GetTickCount();
    EndThreadsOf(LOADERS, waitMs);
    DWORD spent = ::GetTickCount() - start;
    EndThreadsOf(UPLOADS, spent < waitMs ? waitMs - spent : 0);
}

void ResetStop()
{
    g_stop = false;
}
} // namespace WorkerThreadRegistry
