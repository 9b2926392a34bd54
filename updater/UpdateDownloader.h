// Fetches one module package over HTTP into a file on a worker thread and
// reports to its owner window by posted messages:
//   WM_USER+1003 (state, content length)  once, before the first byte
//   WM_USER+1000 (0, bytes so far)         after every block written
//   WM_USER+1001 (3, 0)                    the package is complete
//   WM_USER+1002 (error state, status)     1 no connection or HTTP status not
//                                          200 (the status rides along),
//                                          2 read failed or short, 5 file error
// The bytes go to the destination + ".part"; only a transfer of exactly the
// announced length is renamed to the destination, so an interrupted
// download never looks like a package.
#pragma once

#include "Framework.h"

const UINT WM_UPDATE_DOWNLOAD_PROGRESS = WM_USER + 1000;
const UINT WM_UPDATE_DOWNLOAD_DONE = WM_USER + 1001;
const UINT WM_UPDATE_DOWNLOAD_ERROR = WM_USER + 1002;
const UINT WM_UPDATE_DOWNLOAD_SIZE = WM_USER + 1003;

class CUpdateDownloader
{
  public:
    enum
    {
        STATE_RECEIVING = 0,
        STATE_NETWORK_ERROR = 1,
        STATE_TRANSFER_ERROR = 2,
        STATE_COMPLETE = 3,
        STATE_IDLE = 4,
        STATE_FILE_ERROR = 5,
    };

    CUpdateDownloader();
    ~CUpdateDownloader();

    // -1 without starting anything for an empty url; else 0 once the worker
    // runs. The destination's folder is created when missing.
    int Start(LPCWSTR url, LPCWSTR destination, HWND owner);
    // Waits for the worker of the last download to end.
    BOOL Wait(DWORD timeoutMs);

    int GetState() const { return m_state; }
    long GetTotal() const { return m_total; }
    long GetReceived() const { return m_received; }

  private:
    CUpdateDownloader(const CUpdateDownloader&) = delete;
    CUpdateDownloader& operator=(const CUpdateDownloader&) = delete;

    static UINT __cdecl DownloadThreadProc(LPVOID self);
    void Transfer();
    void Post(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_owner;
    HANDLE m_worker;
    CString m_url;
    CString m_destination;
    volatile int m_state;
    volatile long m_total;
    volatile long m_received;
};
