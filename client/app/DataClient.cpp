#include "DataClient.h"
#include "ClientApp.h"
#include "DataFolder.h"
#include "FormPost.h"
#include "ImageServerLink.h"
#include "ServiceAddresses.h"
#include "Sha1.h"
#include "Xml.h"
#include <memory>
#include <vector>

namespace
{
// How long the release and a new playlist check wait for a worker to end by
// itself before it is terminated.
const DWORD kWorkerStopWaitMs = 5000;
const DWORD kRequestPauseMs = 1000;

CDataClient* g_instance = NULL;


// One exchange with the image server as the data client makes it (socket
// options set): header, then the payload in pieces; the socket is closed
// after the last byte.
BOOL SendExchange(DWORD kind, DWORD userId, const CStringA& first, LPCSTR type, const CStringA& second,
                  const void* payload, DWORD size)
{
    CTcpSocket socket;
    if (!ImageServerLink::Connect(socket, TRUE))
        return FALSE;
    ImageServerHeader header;
    header.SetLength(ImageServerHeader::Size + size);
    header.SetKind(kind);
    header.SetUserId(userId);
    header.SetFirstText(first, first.GetLength());
    header.SetTypeText(type);
    header.SetSecondText(second, second.GetLength());
    BOOL sent = ImageServerLink::SendHeader(socket, header) && ImageServerLink::SendPieces(socket, payload, size);
    socket.Close();
    return sent;
}

// Arguments of a playlist upload thread, which nobody waits for: it owns them.
struct PlaylistUpload
{
    CStringA xml;
    CStringA email;
    DWORD userId;
};

DWORD WINAPI PlaylistUploadThread(LPVOID argument)
{
    std::unique_ptr<PlaylistUpload> upload(static_cast<PlaylistUpload*>(argument));
    SendExchange(ImageServerHeader::KindPlaylists, upload->userId, upload->email, "xml", CStringA(),
                 upload->xml.GetString(), (DWORD)upload->xml.GetLength());
    return 0;
}

BOOL ReadWholeFile(LPCWSTR path, std::vector<BYTE>& bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER size;
    BOOL ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < 0x7FFFFFFF;
    if (ok)
    {
        bytes.resize((size_t)size.QuadPart);
        DWORD read = 0;
        ok = ReadFile(file, &bytes[0], (DWORD)bytes.size(), &read, NULL) && read == bytes.size();
    }
    CloseHandle(file);
    return ok;
}
} // namespace

CDataClient* CDataClient::GetInstance()
{
    if (!g_instance)
    {
        g_instance = new CDataClient;
        // The signed-in user as the application object knows it now.
        if (CClientApp* app = GetClientApp())
        {
            CString email;
            app->GetUserEmail(email);
            g_instance->SetUser(email, app->GetUserId());
        }
    }
    return g_instance;
}

void CDataClient::ReleaseInstance()
{
    if (!g_instance)
        return;
    delete g_instance;
    g_instance = NULL;
}

CDataClient::CDataClient()
    : m_worker(NULL), m_stop(0), m_stopEvent(CreateEventW(NULL, TRUE, FALSE, NULL)),
      m_stoppedEvent(CreateEventW(NULL, FALSE, FALSE, NULL)), m_checkThread(NULL), m_checkStop(0)
{
}

CDataClient::~CDataClient()
{
    InterlockedExchange(&m_stop, 1);
    SetEvent(m_stopEvent);
    if (m_worker)
    {
        // The worker holds the lock only around the queue, never while it
        // connects or sends, so waiting for it is safe; termination is the
        // last resort for one stuck in a connection.
        if (WaitForSingleObject(m_worker, kWorkerStopWaitMs) == WAIT_TIMEOUT)
            TerminateThread(m_worker, (DWORD)-1);
        CloseHandle(m_worker);
    }
    StopPlaylistCheck();
    CloseHandle(m_stopEvent);
    CloseHandle(m_stoppedEvent);
}

void CDataClient::SetUser(LPCWSTR email, LPCWSTR userId)
{
    CSingleLock hold(&m_lock, TRUE);
    m_email = email ? email : L"";
    m_userId = userId ? userId : L"";
}

CString CDataClient::CurrentUserId()
{
    // The id arrives after the login, possibly after this object was made:
    // the application object's current one counts.
    CClientApp* app = GetClientApp();
    if (app && !app->GetUserId().IsEmpty())
        return app->GetUserId();
    CSingleLock hold(&m_lock, TRUE);
    return m_userId;
}

void CDataClient::QueueRequest(int kind, LPCWSTR text, LPCWSTR secondText)
{
    CSingleLock hold(&m_lock, TRUE);
    m_requests.push_back({kind, text ? text : L""});
    m_secondText = secondText ? secondText : L"";
    if (!m_worker && !m_stop)
        m_worker = CreateThread(NULL, 0, RequestWorker, this, 0, NULL);
}

int CDataClient::GetQueuedCount()
{
    CSingleLock hold(&m_lock, TRUE);
    return (int)m_requests.size();
}

DWORD WINAPI CDataClient::RequestWorker(LPVOID self)
{
    static_cast<CDataClient*>(self)->RunRequests();
    return 0;
}

void CDataClient::RunRequests()
{
    while (!m_stop)
    {
        Request request;
        CString secondText;
        BOOL have = FALSE;
        {
            CSingleLock hold(&m_lock, TRUE);
            if (!m_requests.empty())
            {
                request = m_requests.front();
                secondText = m_secondText;
                have = TRUE;
            }
        }
        if (have)
        {
            SendRequest(request, secondText);
            CSingleLock hold(&m_lock, TRUE);
            m_requests.pop_front(); // sent or not, the queue moves on
        }
        // At most one request a second; the release wakes the worker at once.
        if (WaitForSingleObject(m_stopEvent, kRequestPauseMs) == WAIT_OBJECT_0)
            break;
    }
    SetEvent(m_stoppedEvent);
}

void CDataClient::SendRequest(const Request& request, const CString& secondText)
{
    CString email;
    {
        CSingleLock hold(&m_lock, TRUE);
        email = m_email;
    }
    CString userId = CurrentUserId();
    // The text, a line feed and a zero byte must fit the send buffer.
    CStringA payload = Utf8Cut(request.text, RequestBufferSize - 2);
    payload += '\n';
    std::string bytes = payload.Std();
    bytes.push_back('\0');
    SendExchange((DWORD)request.kind, (DWORD)_wtol(userId), Utf8Cut(email, INT_MAX), "",
                 Utf8Cut(secondText, INT_MAX), bytes.data(), (DWORD)bytes.size());
}

int CDataClient::AddSyncPlaylist(const CSyncPlaylist& playlist)
{
    CSingleLock hold(&m_lock, TRUE);
    for (CSyncPlaylist& queued : m_playlists)
        if (queued.m_strName == playlist.m_strName)
        {
            queued = playlist;
            return 1;
        }
    m_playlists.push_back(playlist);
    return 0;
}

void CDataClient::UploadPlaylists()
{
    std::vector<CSyncPlaylist> playlists;
    CString email;
    {
        CSingleLock hold(&m_lock, TRUE);
        playlists.swap(m_playlists);
        email = m_email;
    }
    CString userId = CurrentUserId();
    CXmlElement root(NULL, L"RT");
    for (const CSyncPlaylist& playlist : playlists)
    {
        CXmlElement* list = root.AppendChild(new CXmlElement(NULL, L"PL"));
        list->SetAttribute(L"N", playlist.m_strName);
        if (playlist.m_strM != L"0")
            list->SetAttribute(L"M", playlist.m_strM);
        for (const CSyncSong& song : playlist.m_songs)
        {
            CXmlElement* item = list->AppendChild(new CXmlElement(NULL, L"IT"));
            item->SetAttribute(L"H", song.H);
            item->SetAttribute(L"T", song.T);
            item->SetAttribute(L"A", song.A);
            if (song.Z != 0)
            {
                CString z;
                z.Format(L"%d", song.Z);
                item->SetAttribute(L"Z", z);
            }
            item->SetAttribute(L"S", song.S);
            item->SetAttribute(L"W", song.W);
        }
    }
    m_playlistsXml = root.GetXml(TRUE, TRUE);

    PlaylistUpload* upload = new PlaylistUpload;
    upload->xml = Utf8Cut(m_playlistsXml, INT_MAX);
    upload->email = Utf8Cut(email, INT_MAX);
    upload->userId = (DWORD)_wtol(userId);
    HANDLE thread = CreateThread(NULL, 0, PlaylistUploadThread, upload, 0, NULL);
    if (thread)
        CloseHandle(thread);
    else
        delete upload;
}

void CDataClient::StopPlaylistCheck()
{
    if (!m_checkThread)
        return;
    InterlockedExchange(&m_checkStop, 1);
    if (WaitForSingleObject(m_checkThread, kWorkerStopWaitMs) == WAIT_TIMEOUT)
        TerminateThread(m_checkThread, (DWORD)-2);
    CloseHandle(m_checkThread);
    m_checkThread = NULL;
    InterlockedExchange(&m_checkStop, 0);
}

void CDataClient::StartPlaylistCheck()
{
    StopPlaylistCheck();
    m_checkThread = CreateThread(NULL, 0, PlaylistCheckThread, this, 0, NULL);
}

BOOL CDataClient::WaitForPlaylistCheck(DWORD timeoutMs)
{
    return !m_checkThread || WaitForSingleObject(m_checkThread, timeoutMs) == WAIT_OBJECT_0;
}

DWORD WINAPI CDataClient::PlaylistCheckThread(LPVOID self)
{
    static_cast<CDataClient*>(self)->RunPlaylistCheck();
    return 0;
}

void CDataClient::RunPlaylistCheck()
{
    CString email;
    {
        CSingleLock hold(&m_lock, TRUE);
        email = m_email;
    }
    CString userId = CurrentUserId();
    std::vector<BYTE> file;
    if (!ReadWholeFile(BuildMyPlaylistPath(email), file) || m_checkStop)
        return;

    CSha1 sha;
    sha.Reset();
    sha.Update(&file[0], (DWORD)file.size());
    sha.Final();
    BYTE digest[20];
    sha.GetDigest(digest);
    wchar_t name[42] = L"";
    FormatSha1Base32(digest, FALSE, name);

    const CServiceAddresses& service = CServiceAddresses::Get();
    CStringA body = "mail=" + EncodeFormValue(email, INT_MAX) + "&hash=" + EncodeFormValue(name, INT_MAX);
    DWORD status = 0;
    CStringA answer;
    if (!PostForm(service.m_imageHost, service.m_imageWebPort, L"/cgi-bin/checkpls", body, &status, &answer, 32) ||
        m_checkStop)
        return;
    if (status != 200)
        answer = "NO";
    // "OK": the service has this file; "NO": it wants it.
    if (answer.Left(2) != "NO")
        return;
    SendExchange(ImageServerHeader::KindOwnPlaylist, (DWORD)_wtol(userId), Utf8Cut(email, INT_MAX), "xml",
                 CStringA(), &file[0], (DWORD)file.size());
}

void CDataClient::PostDownloadLog(LPCWSTR u, LPCWSTR h, LPCWSTR t, LPCWSTR a)
{
    const int kMaxValueBytes = 4096;
    CStringA body = "u=" + EncodeFormValue(u, kMaxValueBytes) + "&h=" + EncodeFormValue(h, kMaxValueBytes) +
                    "&t=" + EncodeFormValue(t, kMaxValueBytes) + "&a=" + EncodeFormValue(a, kMaxValueBytes);
    const CServiceAddresses& service = CServiceAddresses::Get();
    PostForm(service.m_imageHost, service.m_imageWebPort, L"/cgi-bin/dmlog", body);
}
