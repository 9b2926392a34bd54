// Times the download task fetching one address into a folder: the time from
// the start to its "done" message, for each of the given rounds. Prints
// "task_ms_<n>: <ms>" per round and "task_bytes: <size>".
#include "DownloadTask.h"

#include <cstdio>
#include <string>

static LRESULT CALLBACK Owner(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == DownloadTask::TransferMessage)
    {
        PostQuitMessage((int)wParam);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
    {
        fwprintf(stderr, L"usage: DownloadBench <url> <folder> [rounds]\n");
        return 2;
    }
    int rounds = argc > 3 ? _wtoi(argv[3]) : 5;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Owner;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"DownloadBenchOwner";
    RegisterClassW(&wc);
    HWND owner = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    for (int round = 1; round <= rounds; ++round)
    {
        DownloadTask task;
        task.SetUrl(argv[1]);
        task.SetFileName(L"bench.mp3");
        task.SetTargetFolder(argv[2]);
        task.SetOwner(owner);
        task.SetRowId(0);
        task.MakeUniqueTarget();
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        task.Start();
        MSG msg;
        int state = -1;
        while (GetMessageW(&msg, NULL, 0, 0) > 0)
            DispatchMessageW(&msg);
        state = (int)msg.wParam;
        QueryPerformanceCounter(&end);
        if (state != DownloadTask::StateDone)
        {
            fwprintf(stderr, L"round %d failed: state %d, error 0x%x\n", round, state, task.GetErrorCode());
            return 1;
        }
        printf("task_ms_%d: %.1f\n", round, (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
        printf("task_bytes: %d\n", task.GetReceived());
        fflush(stdout);
        WaitForSingleObject(task.GetThread(), 5000);
        DeleteFileW(task.GetTargetPath());
    }
    DestroyWindow(owner);
    return 0;
}
