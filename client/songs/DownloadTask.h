// DownloadTask: one song file fetched over HTTP into a folder on the user's
// disk. The row of the download list that holds the task owns it; the task
// runs its transfer on a worker thread of its own and reports every change
// of state to its owner window with TransferMessage (wParam the new state,
// lParam the row id). Queueing belongs to the list.
#pragma once
#include "Framework.h"

class DownloadTask
{
  public:
    enum State
    {
        StateWaiting = 0,
        StateRunning = 1,
        StateDone = 2,
        StateFailed = 3,
        StateStopped = 4,
    };
    // Error codes of a failed task besides an HTTP status or a system error.
    enum Error
    {
        ErrorOpen = 0xFF01,     // the address could not be opened
        ErrorTransfer = 0xFF02, // a read or write failed, or the body was not as long as announced
        ErrorLength = 0xFF03,   // status 200 without a usable Content-Length
    };
    static const UINT TransferMessage = WM_USER + 48;
    static const int PieceSize = 4096;
    static const DWORD TimeoutMs = 20000;

    DownloadTask();
    ~DownloadTask();

    void SetUrl(LPCWSTR url) { m_url = url; }
    // A name from the web is cleaned to a plain name (CleanFileName).
    void SetFileName(LPCWSTR name) { m_fileName = CleanFileName(name); }
    void SetTargetFolder(LPCWSTR folder) { m_targetFolder = folder; }
    void SetSongListName(LPCWSTR name) { m_songListName = name; }
    void SetCoverAddress(LPCWSTR address) { m_coverAddress = address; }
    void SetOwner(HWND owner) { m_owner = owner; }
    void SetRowId(int row) { m_rowId = row; }

    const CString& GetUrl() const { return m_url; }
    const CString& GetFileName() const { return m_fileName; }
    const CString& GetFinalName() const { return m_finalName; }
    const CString& GetTargetFolder() const { return m_targetFolder; }
    const CString& GetSongListName() const { return m_songListName; }
    const CString& GetCoverAddress() const { return m_coverAddress; }
    const CString& GetTempFilePath() const { return m_tempPath; }
    int GetRowId() const { return m_rowId; }
    int GetState() const { return m_state; }
    int GetErrorCode() const { return m_errorCode; }
    int GetTotalSize() const { return m_totalSize; }
    int GetReceived() const { return m_received; }
    int GetRecentBytes() const { return m_recentBytes; }
    void ClearRecentBytes() { m_recentBytes = 0; }
    int GetActionHover() const { return m_actionHover; }
    void SetActionHover(int hover) { m_actionHover = hover; }
    HANDLE GetThread() const { return m_thread; }
    // The list counts each task's end once: a worker's posted end that comes
    // after a stop (or after its row was reused) is not counted again.
    BOOL TakeEndReport()
    {
        if (m_endReported)
            return FALSE;
        m_endReported = TRUE;
        return TRUE;
    }

    // Chooses the final name (the asked name, else "base(n).ext" from n = 2)
    // and reserves it as an empty file, so that a second task of the same
    // name picks the next number. Returns 1.
    int MakeUniqueTarget();
    // A unique temporary file in the system's temporary folder; its path.
    CString CreateTempFile();
    CString GetTargetPath() const;

    // Starts the worker (once per task); returns its thread handle.
    HANDLE Start();
    // Stops a running task: the worker gets the stop flag, a bounded wait,
    // then is ended by force; the owner is sent state 4 before Stop returns
    // and the task's files are removed.
    void Stop();
    // Stores the state, tells the owner (sent, or posted when post is set)
    // and removes the files the state leaves no use for.
    void SetState(int state, BOOL notify, BOOL post);

    // A name from a URL segment or a page turned into a plain file name that
    // stays inside the target folder: the last path segment only, no drive,
    // stream or reserved characters, no device name, no dots or blanks at its
    // end; "song.mp3" when nothing usable is left.
    static CString CleanFileName(LPCWSTR name);

  private:
    DownloadTask(const DownloadTask&) = delete;
    DownloadTask& operator=(const DownloadTask&) = delete;

    static unsigned __stdcall DownloadThread(void* task);
    int Run();
    int Fail(int errorCode);
    void RemoveFilesFor(int state);
    void Notify(int state, BOOL post);

    volatile LONG m_state;
    CRITICAL_SECTION m_lock;
    int m_rowId;
    int m_stop;
    HWND m_owner;
    HANDLE m_thread;
    CString m_url;
    CString m_fileName;
    CString m_tempPath;
    CString m_finalName;
    CString m_targetFolder;
    CString m_songListName;
    CString m_coverAddress;
    int m_errorCode;
    volatile LONG m_totalSize;
    volatile LONG m_received;
    volatile LONG m_recentBytes;
    int m_actionHover;
    BOOL m_endReported;
};
