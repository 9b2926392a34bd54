#include "UpdateDownloader.h"

#include "PartFileDownload.h"
#include "UpdateFiles.h"

#include <climits>

CUpdateDownloader::CUpdateDownloader()
    : m_owner(nullptr), m_worker(nullptr), m_state(STATE_IDLE), m_total(0), m_received(0)
{
}

CUpdateDownloader::~CUpdateDownloader()
{
    Wait(30000);
    if (m_worker)
        CloseHandle(m_worker);
}

BOOL CUpdateDownloader::Wait(DWORD timeoutMs)
{
    return !m_worker || WaitForSingleObject(m_worker, timeoutMs) == WAIT_OBJECT_0;
}

int CUpdateDownloader::Start(LPCWSTR url, LPCWSTR destination, HWND owner)
{
    Wait(INFINITE);
    if (m_worker)
        CloseHandle(m_worker);
    m_worker = nullptr;
    m_total = 0;
    m_received = 0;
    m_url = url ? url : L"";
    m_destination = destination ? destination : L"";
    m_owner = owner;
    if (m_url.IsEmpty())
        return -1;
    CWinThread* thread = AfxBeginThread(DownloadThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!thread)
        return -1;
    // The handle is kept past the thread object's own end.
    DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &m_worker, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    thread->ResumeThread();
    return 0;
}

UINT __cdecl CUpdateDownloader::DownloadThreadProc(LPVOID self)
{
    static_cast<CUpdateDownloader*>(self)->Transfer();
    return 0;
}

void CUpdateDownloader::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_owner)
        PostMessageW(m_owner, message, wParam, lParam);
}

void CUpdateDownloader::Transfer()
{
    // The package is announced and must arrive whole: a missing length
    // counts as 0.
    PartFileDownload download;
    download.url = m_url;
    download.path = m_destination;
    download.lengthRequired = true;
    download.onSize = [this](long long announced) {
        m_total = announced > 0 && announced <= LONG_MAX ? (long)announced : 0;
        Post(WM_UPDATE_DOWNLOAD_SIZE, (WPARAM)m_state, (LPARAM)m_total);
        m_state = STATE_RECEIVING;
    };
    download.onBlock = [this](long long received) {
        m_received = (long)received;
        Post(WM_UPDATE_DOWNLOAD_PROGRESS, STATE_RECEIVING, (LPARAM)m_received);
    };
    CString folder = m_destination.Left(m_destination.ReverseFind(L'\\') + 1);
    CreateDirectoryPath(folder);
    DeleteFileW(m_destination); // a package of an earlier run never stands in
    switch (download.Run())
    {
    case PartFileDownload::DONE:
        m_state = STATE_COMPLETE;
        Post(WM_UPDATE_DOWNLOAD_DONE, STATE_COMPLETE, 0);
        break;
    case PartFileDownload::NO_CONNECTION:
        m_state = STATE_NETWORK_ERROR;
        Post(WM_UPDATE_DOWNLOAD_ERROR, STATE_NETWORK_ERROR, (LPARAM)download.status);
        break;
    case PartFileDownload::FILE_FAILED:
        m_state = STATE_FILE_ERROR;
        Post(WM_UPDATE_DOWNLOAD_ERROR, STATE_FILE_ERROR, 0);
        break;
    default:
        m_state = STATE_TRANSFER_ERROR;
        Post(WM_UPDATE_DOWNLOAD_ERROR, STATE_TRANSFER_ERROR, 0);
        break;
    }
}
