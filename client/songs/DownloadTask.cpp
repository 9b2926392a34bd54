#include "DownloadTask.h"
#include "FileFolder.h"
#include "FwInternet.h"

#include <process.h>

#include <memory>

namespace
{
// Names Windows gives to devices whatever folder or extension they carry.
bool IsDeviceName(const CString& name)
{
    CString base = name;
    int dot = base.Find(L'.');
    if (dot >= 0)
        base = base.Left(dot);
    base.TrimRight(L' ');
    base.MakeUpper();
    static const wchar_t* const devices[] = {L"CON",    L"PRN",     L"AUX",   L"NUL",
                                             L"CONIN$", L"CONOUT$", L"CLOCK$"};
    for (const wchar_t* device : devices)
        if (base == device)
            return true;
    if (base.GetLength() == 4 && (base.Left(3) == L"COM" || base.Left(3) == L"LPT") && base[3] >= L'0' &&
        base[3] <= L'9')
        return true;
    return false;
}

// Closes the request and the session in this order when the worker leaves.
struct Connection
{
    std::unique_ptr<CInternetSession> session;
    std::unique_ptr<CHttpFile> request;
    ~Connection() { Close(); }
    void Close()
    {
        if (request)
            request->Close();
        request.reset();
        if (session)
            session->Close();
        session.reset();
    }
};
} // namespace

DownloadTask::DownloadTask()
    : m_state(StateWaiting), m_rowId(-1), m_stop(0), m_owner(NULL), m_thread(NULL), m_errorCode(0),
      m_totalSize(0), m_received(0), m_recentBytes(0), m_actionHover(0), m_endReported(FALSE)
{
    InitializeCriticalSection(&m_lock);
}

DownloadTask::~DownloadTask()
{
    // A worker that has posted its end may still be tidying up its files.
    if (m_thread)
    {
        WaitForSingleObject(m_thread, 5000);
        CloseHandle(m_thread);
    }
    DeleteCriticalSection(&m_lock);
}

CString DownloadTask::CleanFileName(LPCWSTR name)
{
    CString text = name ? name : L"";
    int cut = -1;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] == L'\\' || text[i] == L'/')
            cut = i;
    text = text.Mid(cut + 1);
    CString clean;
    for (int i = 0; i < text.GetLength(); ++i)
    {
        wchar_t c = text[i];
        if (c < 32 || wcschr(L":*?\"<>|", c))
            c = L'_';
        clean += c;
    }
    clean.TrimLeft(L' ');
    clean.TrimRight(L". ");
    if (clean.IsEmpty())
        return L"song.mp3";
    if (IsDeviceName(clean))
        clean = L"_" + clean;
    if (clean.GetLength() > 180)
    {
        int dot = clean.ReverseFind(L'.');
        CString extension = dot >= 0 && clean.GetLength() - dot <= 10 ? clean.Mid(dot) : CString();
        clean = clean.Left(180 - extension.GetLength()) + extension;
    }
    return clean;
}

int DownloadTask::MakeUniqueTarget()
{
    int dot = m_fileName.ReverseFind(L'.');
    CString base = dot >= 0 ? m_fileName.Left(dot) : CString();
    CString extension = dot >= 0 ? m_fileName.Mid(dot) : m_fileName;
    m_finalName = m_fileName;
    CString path;
    path.Format(L"%s\\%s", (LPCWSTR)m_targetFolder, (LPCWSTR)m_fileName);
    for (int n = 2; FileExists(path); ++n)
    {
        m_finalName.Format(L"%s(%d)%s", (LPCWSTR)base, n, (LPCWSTR)extension);
        path.Format(L"%s\\%s", (LPCWSTR)m_targetFolder, (LPCWSTR)m_finalName);
    }
    HANDLE reserved = CreateFileW(path, GENERIC_READ, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (reserved != INVALID_HANDLE_VALUE)
        CloseHandle(reserved);
    return 1;
}

CString DownloadTask::CreateTempFile()
{
    wchar_t folder[MAX_PATH + 1] = L"";
    if (!GetTempPathW(MAX_PATH, folder) || !folder[0])
        wcscpy_s(folder, L"c:\\");
    wchar_t path[MAX_PATH + 1] = L"";
    if (GetTempFileNameW(folder, m_fileName, 0, path))
        m_tempPath = path;
    else
        m_tempPath.Empty();
    return m_tempPath;
}

CString DownloadTask::GetTargetPath() const
{
    CString path;
    path.Format(L"%s\\%s", (LPCWSTR)m_targetFolder, (LPCWSTR)m_finalName);
    return path;
}

HANDLE DownloadTask::Start()
{
    m_totalSize = 0;
    m_received = 0;
    m_recentBytes = 0;
    m_state = StateRunning;
    if (!m_thread)
        m_thread = (HANDLE)_beginthreadex(NULL, 0, DownloadThread, this, 0, NULL);
    return m_thread;
}

void DownloadTask::Stop()
{
    if (m_state != StateRunning || !m_thread)
        return;
    EnterCriticalSection(&m_lock);
    m_stop = 1;
    LeaveCriticalSection(&m_lock);
    Sleep(0);
    if (WaitForSingleObject(m_thread, 1000) == WAIT_TIMEOUT)
        TerminateThread(m_thread, (DWORD)-2);
    CloseHandle(m_thread);
    m_thread = NULL;
    SetState(StateStopped, TRUE, FALSE);
}

void DownloadTask::SetState(int state, BOOL notify, BOOL post)
{
    m_state = state;
    if (notify)
        Notify(state, post);
    RemoveFilesFor(state);
}

void DownloadTask::Notify(int state, BOOL post)
{
    if (!m_owner || !IsWindow(m_owner))
        return;
    // TransferMessage: wParam the new state, lParam the task's row.
    if (post)
        PostMessageW(m_owner, TransferMessage, (WPARAM)state, (LPARAM)m_rowId);
    else
        SendMessageW(m_owner, TransferMessage, (WPARAM)state, (LPARAM)m_rowId);
}

void DownloadTask::RemoveFilesFor(int state)
{
    if (state == StateFailed || state == StateStopped)
        DeleteExistingFile(GetTargetPath());
    if (state == StateDone || state == StateFailed || state == StateStopped)
        DeleteExistingFile(m_tempPath);
}

unsigned __stdcall DownloadTask::DownloadThread(void* task)
{
    if (!task)
        return 0;
    return (unsigned)static_cast<DownloadTask*>(task)->Run();
}

int DownloadTask::Fail(int errorCode)
{
    m_errorCode = errorCode;
    m_state = StateFailed;
    // The files go before the owner hears of the failure, so that what it
    // sees in the folder is final.
    RemoveFilesFor(StateFailed);
    Notify(StateFailed, TRUE);
    return E_FAIL;
}

int DownloadTask::Run()
{
    Connection connection;
    try
    {
        connection.session.reset(new CInternetSession(NULL, 1, PRE_CONFIG_INTERNET_ACCESS, NULL, NULL, 0));
        connection.session->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, TimeoutMs);
        connection.session->SetOption(INTERNET_OPTION_CONNECT_RETRIES, 1);
        connection.session->SetOption(INTERNET_OPTION_SEND_TIMEOUT, TimeoutMs);
        connection.session->SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, TimeoutMs);
        connection.request.reset(connection.session->OpenURL(
            m_url, 1, INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD));
    }
    catch (CException* e)
    {
        e->Delete();
    }
    if (!connection.request)
        return Fail(ErrorOpen);

    DWORD status = 0;
    connection.request->QueryInfoStatusCode(status);
    if (status != 200)
    {
        connection.Close();
        return Fail((int)status);
    }
    CString lengthText;
    connection.request->QueryInfo(HTTP_QUERY_CONTENT_LENGTH, lengthText);
    long long announced = lengthText.IsEmpty() ? 0 : _wtoi64(lengthText);
    if (announced <= 0 || announced > 0x7FFFFFFF)
    {
        connection.Close();
        return Fail(ErrorLength);
    }
    m_totalSize = (LONG)announced;

    CreateTempFile();
    HANDLE file = m_tempPath.IsEmpty() ? INVALID_HANDLE_VALUE
                                       : CreateFileW(m_tempPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                                     FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
    {
        DWORD error = GetLastError();
        connection.Close();
        return Fail(error ? (int)error : ErrorTransfer);
    }

    std::unique_ptr<BYTE[]> piece(new BYTE[8192]());
    bool broken = false;
    while (m_state == StateRunning)
    {
        EnterCriticalSection(&m_lock);
        if (m_stop)
        {
            CloseHandle(file);
            connection.Close();
            LeaveCriticalSection(&m_lock);
            return -2;
        }
        LeaveCriticalSection(&m_lock);
        UINT got = 0;
        try
        {
            got = connection.request->Read(piece.get(), PieceSize);
        }
        catch (CException* e)
        {
            e->Delete();
            broken = true;
            break;
        }
        if (got == 0)
            break;
        InterlockedExchangeAdd(&m_received, (LONG)got);
        InterlockedExchangeAdd(&m_recentBytes, (LONG)got);
        DWORD written = 0;
        if (!WriteFile(file, piece.get(), got, &written, NULL) || written != got || m_received > m_totalSize)
        {
            broken = true;
            break;
        }
    }
    CloseHandle(file);
    connection.Close();
    // A body shorter than announced is a broken transfer, never a song.
    if (broken || m_received != m_totalSize)
        return Fail(ErrorTransfer);
    // Over the reserved empty file: a rename where the temporary folder is on
    // the target's volume, else a copy.
    if (!MoveFileExW(m_tempPath, GetTargetPath(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        return Fail((int)GetLastError());
    m_state = StateDone;
    DeleteExistingFile(m_tempPath);
    Notify(StateDone, TRUE);
    return 0;
}
