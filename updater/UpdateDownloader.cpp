#include "UpdateDownloader.h"

#include "FwInternet.h"
#include "UpdateFiles.h"

#include <memory>

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
    CString part = m_destination + L".part";
    HANDLE file = INVALID_HANDLE_VALUE;
    bool readError = false;
    try
    {
        CInternetSession session(nullptr, 1, PRE_CONFIG_INTERNET_ACCESS);
        std::unique_ptr<CHttpFile> request;
        try
        {
            request.reset(session.OpenURL(m_url, 1, INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_BINARY));
        }
        catch (CInternetException* e)
        {
            e->Delete();
        }
        if (!request)
        {
            m_state = STATE_NETWORK_ERROR;
            Post(WM_UPDATE_DOWNLOAD_ERROR, STATE_NETWORK_ERROR, 0);
            return;
        }
        request->AddRequestHeaders(L"Accept: text/*\r\nUser-Agent: Qelmor Update\r\n", HTTP_ADDREQ_FLAG_ADD_IF_NEW);
        DWORD status = 0;
        request->QueryInfoStatusCode(status);
        if (status != 200)
        {
            request->Close();
            session.Close();
            m_state = STATE_NETWORK_ERROR;
            Post(WM_UPDATE_DOWNLOAD_ERROR, STATE_NETWORK_ERROR, (LPARAM)status);
            return;
        }
        CString lengthText;
        request->QueryInfo(HTTP_QUERY_CONTENT_LENGTH, lengthText);
        m_total = _wtol(lengthText);
        if (m_total < 0)
            m_total = 0;
        Post(WM_UPDATE_DOWNLOAD_SIZE, (WPARAM)m_state, (LPARAM)m_total);

        CString folder = m_destination.Left(m_destination.ReverseFind(L'\\') + 1);
        CreateDirectoryPath(folder);
        DeleteFileW(m_destination); // a package of an earlier run never stands in
        file = CreateFileW(part, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
        {
            m_state = STATE_FILE_ERROR;
            Post(WM_UPDATE_DOWNLOAD_ERROR, STATE_FILE_ERROR, 0);
            request->Close();
            return;
        }

        m_state = STATE_RECEIVING;
        BYTE block[8192];
        for (;;)
        {
            int got;
            try
            {
                got = (int)request->Read(block, sizeof(block));
            }
            catch (CInternetException* e)
            {
                e->Delete();
                got = -1;
            }
            if (got <= 0)
            {
                readError = got < 0;
                break;
            }
            DWORD written = 0;
            if (!WriteFile(file, block, (DWORD)got, &written, nullptr) || written != (DWORD)got)
            {
                readError = true;
                break;
            }
            m_received += got;
            Post(WM_UPDATE_DOWNLOAD_PROGRESS, 0, (LPARAM)m_received);
            // More than announced can never end well.
            if (m_received > m_total)
                break;
        }
        m_state = readError ? STATE_TRANSFER_ERROR : STATE_COMPLETE;
        request->Close();
        session.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        readError = true;
        if (file == INVALID_HANDLE_VALUE)
        {
            m_state = STATE_NETWORK_ERROR;
            Post(WM_UPDATE_DOWNLOAD_ERROR, STATE_NETWORK_ERROR, 0);
            return;
        }
        m_state = STATE_TRANSFER_ERROR;
    }
    FlushFileBuffers(file);
    CloseHandle(file);

    if (m_state == STATE_COMPLETE && m_received == m_total &&
        MoveFileExW(part, m_destination, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        Post(WM_UPDATE_DOWNLOAD_DONE, (WPARAM)m_state, 0);
        return;
    }
    m_state = STATE_TRANSFER_ERROR;
    Post(WM_UPDATE_DOWNLOAD_ERROR, STATE_TRANSFER_ERROR, 0);
}
