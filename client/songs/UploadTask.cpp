#include "UploadTask.h"
#include "ClientApp.h"
#include "ImageServerHeader.h"
#include "ImageServerLink.h"
#include "TcpSocket.h"

#include <process.h>

#include <memory>

UploadTask::UploadTask(LPCWSTR uploadHost, int uploadPort, LPCWSTR filePath, LPCWSTR title, LPCWSTR author,
                       LPCWSTR uploadId, int size, LPCWSTR fileType)
    : m_rowId(-1), m_uploadHost(uploadHost), m_uploadPort(uploadPort), m_filePath(filePath), m_title(title),
      m_author(author), m_uploadId(uploadId), m_fileType(fileType), m_state(StateWaiting), m_owner(NULL),
      m_thread(NULL), m_stopEvent(CreateEventW(NULL, FALSE, FALSE, NULL)), m_errorCode(0), m_size(size),
      m_sent(0), m_recentBytes(0), m_actionHover(0), m_endReported(FALSE)
{
    if (CClientApp* app = GetClientApp())
        m_userId = app->GetUserId();
}

UploadTask::~UploadTask()
{
    if (m_thread)
    {
        SetEvent(m_stopEvent);
        WaitForSingleObject(m_thread, 5000);
        CloseHandle(m_thread);
    }
    if (m_stopEvent)
        CloseHandle(m_stopEvent);
}

CTcpSocket* UploadTask::MakeSocket()
{
    return new CTcpSocket;
}

HANDLE UploadTask::Start()
{
    m_sent = 0;
    m_recentBytes = 0;
    m_state = StateRunning;
    if (!m_thread)
        m_thread = (HANDLE)_beginthreadex(NULL, 0, UploadThread, this, 0, NULL);
    return m_thread;
}

void UploadTask::Stop()
{
    if (m_state != StateRunning || !m_thread)
        return;
    if (WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT)
    {
        SetEvent(m_stopEvent);
        if (WaitForSingleObject(m_thread, 1000) == WAIT_TIMEOUT)
            TerminateThread(m_thread, (DWORD)-2);
    }
    CloseHandle(m_thread);
    m_thread = NULL;
    Post(StateStopped);
}

void UploadTask::Post(int state)
{
    // TransferMessage: wParam the state, lParam the task's row.
    if (m_owner && IsWindow(m_owner))
        PostMessageW(m_owner, TransferMessage, (WPARAM)state, (LPARAM)m_rowId);
}

void UploadTask::BuildHeader(ImageServerHeader& header) const
{
    header = ImageServerHeader();
    header.SetLength((DWORD)m_size);
    header.SetKind(ImageServerHeader::KindSongUpload);
    header.SetUserId((DWORD)_wtoi(m_userId));
    header.SetItem((DWORD)_wtoi(m_uploadId));
    CStringA type(m_fileType);
    // One byte of the field is kept for the terminating zero.
    int length = type.GetLength() < ImageServerHeader::TypeTextWidth ? type.GetLength()
                                                                     : ImageServerHeader::TypeTextWidth - 1;
    header.SetTypeText(type, length);
}

unsigned __stdcall UploadTask::UploadThread(void* task)
{
    return task ? static_cast<UploadTask*>(task)->Run() : 0;
}

unsigned UploadTask::Fail(int errorCode)
{
    m_errorCode = errorCode;
    m_state = StateFailed;
    Post(StateFailed);
    return 0;
}

unsigned UploadTask::Run()
{
    ImageServerHeader header;
    BuildHeader(header);
    CStringA ansiPath(m_filePath);
    HANDLE file = CreateFileA(ansiPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return Fail((int)GetLastError());
    std::unique_ptr<CTcpSocket> socket(MakeSocket());
    if (!ImageServerLink::Connect(*socket, TRUE))
    {
        CloseHandle(file);
        return Fail(ErrorConnect);
    }
    bool failed = !ImageServerLink::SendHeader(*socket, header);
    bool stopped = false;
    BYTE piece[PieceSize];
    while (!failed && m_sent < m_size)
    {
        if (WaitForSingleObject(m_stopEvent, 0) == WAIT_OBJECT_0)
        {
            stopped = true;
            break;
        }
        DWORD want =
            (DWORD)(m_size - m_sent) < (DWORD)PieceSize ? (DWORD)(m_size - m_sent) : (DWORD)PieceSize;
        DWORD got = 0;
        if (!ReadFile(file, piece, want, &got, NULL) || got == 0)
        {
            // The header announced the whole size: a shorter file cannot make
            // a whole upload.
            failed = true;
            break;
        }
        for (DWORD done = 0; done < got;)
        {
            int n = socket->Send(piece + done, (int)(got - done));
            if (n <= 0)
            {
                failed = true;
                break;
            }
            done += (DWORD)n;
            InterlockedExchangeAdd(&m_sent, n);
            InterlockedExchangeAdd(&m_recentBytes, n);
        }
    }
    CloseHandle(file);
    socket->Close();
    if (stopped)
        return 0; // Stop reports it
    if (failed)
        return Fail(ErrorSend);
    m_state = StateDone;
    Post(StateDone);
    return 0;
}
