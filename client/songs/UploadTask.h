// UploadTask: one song file sent to the image server's raw exchange (kind 0)
// after the web service accepted the upload and gave an upload id. The row
// of the upload list that holds the task owns it; the transfer runs on a
// worker thread of its own and reports to its owner window with
// TransferMessage (wParam the state, lParam the row id).
#pragma once
#include "Framework.h"

class CTcpSocket;
struct ImageServerHeader;

class UploadTask
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
    enum Error
    {
        ErrorConnect = 0xFF01, // the image server could not be reached
        ErrorSend = 0xFF02,    // a send failed, or the file was shorter than announced
    };
    static const UINT TransferMessage = WM_USER + 101;
    static const int PieceSize = 4096;

    UploadTask(LPCWSTR uploadHost, int uploadPort, LPCWSTR filePath, LPCWSTR title, LPCWSTR author,
               LPCWSTR uploadId, int size, LPCWSTR fileType);
    virtual ~UploadTask();

    HANDLE Start();
    // Stops a running upload: the stop event, a wait of up to one second, then
    // the worker is ended by force; the owner is posted state 4.
    void Stop();

    // The header of the exchange: the file size, kind 0, the user's id, the
    // upload id and the file type (cut to its field, always zero-ended).
    void BuildHeader(ImageServerHeader& header) const;

    void SetOwner(HWND owner) { m_owner = owner; }
    void SetRowId(int row) { m_rowId = row; }
    // The signed-in user's id (decimal text); taken from the application
    // object at construction when there is one.
    void SetUserId(LPCWSTR id) { m_userId = id; }

    int GetRowId() const { return m_rowId; }
    int GetState() const { return m_state; }
    int GetErrorCode() const { return m_errorCode; }
    int GetSize() const { return m_size; }
    int GetSent() const { return m_sent; }
    int GetRecentBytes() const { return m_recentBytes; }
    void ClearRecentBytes() { m_recentBytes = 0; }
    int GetActionHover() const { return m_actionHover; }
    void SetActionHover(int hover) { m_actionHover = hover; }
    const CString& GetTitle() const { return m_title; }
    const CString& GetAuthor() const { return m_author; }
    const CString& GetFilePath() const { return m_filePath; }
    const CString& GetFileType() const { return m_fileType; }
    const CString& GetUploadId() const { return m_uploadId; }
    HANDLE GetThread() const { return m_thread; }
    BOOL TakeEndReport()
    {
        if (m_endReported)
            return FALSE;
        m_endReported = TRUE;
        return TRUE;
    }

  protected:
    // The socket of one exchange (tests give one that records its sends).
    virtual CTcpSocket* MakeSocket();

  private:
    UploadTask(const UploadTask&) = delete;
    UploadTask& operator=(const UploadTask&) = delete;

    static unsigned __stdcall UploadThread(void* task);
    unsigned Run();
    unsigned Fail(int errorCode);
    void Post(int state);

    int m_rowId;
    CString m_uploadHost;
    int m_uploadPort;
    CString m_filePath;
    CString m_title;
    CString m_author;
    CString m_uploadId;
    CString m_fileType;
    CString m_userId;
    volatile LONG m_state;
    HWND m_owner;
    HANDLE m_thread;
    HANDLE m_stopEvent;
    int m_errorCode;
    int m_size;
    volatile LONG m_sent;
    volatile LONG m_recentBytes;
    int m_actionHover;
    BOOL m_endReported;
};
