// WorkerThreadRegistry: the two process-wide sets of avatar thread ids, one
// of loader threads and one of upload threads. A thread adds itself when it
// starts working and removes itself when it ends. At exit the main window
// asks every recorded thread to stop, waits a bounded time for them to end
// on their own, and terminates only the ones that did not.
#pragma once

#include <windows.h>

namespace WorkerThreadRegistry
{
enum Set
{
    LOADERS = 0,
    UPLOADS = 1,
};

void RegisterWorkerThread(Set set, DWORD id);
void UnregisterWorkerThread(Set set, DWORD id);
void UnregisterLoaderThread();
int Count(Set set);
// TRUE once the threads were asked to end (they stop between steps).
BOOL StopRequested();
// Asks the loaders to stop, waits up to waitMs for them, terminates the
// rest and empties the set.
void KillAvatarLoaderThreads(DWORD waitMs = 3000);
// The same for the loaders, then the uploads.
void KillAllWorkerThreads(DWORD waitMs = 3000);
// Lets new threads work again (a test's next run).
void ResetStop();
} // namespace WorkerThreadRegistry
