#pragma once
#include "FwSync.h"
#include "SyncPlaylist.h"
#include <deque>
#include <vector>

// The single object that reports to the service's data servers what is not
// tied to one window: the download log post, the check and upload of the
// user's own playlist file, the upload of the user's playlists as XML, and a
// queue of short records (listened songs, board messages, sent songs) that
// its worker sends over the image server's raw exchange, one per second.
// Nothing is reported to the user: failed sends and posts are dropped.
class CDataClient
{
  public:
    static CDataClient* GetInstance();
    // Stops the workers (each gets its stop signal and a bounded wait; a
    // worker that does not end is terminated as a last resort), frees the
    // object and forgets it.
    static void ReleaseInstance();

    // The signed-in user as the requests carry it: GetInstance takes the
    // application object's e-mail and id text; the id is looked up again at
    // each send, since it arrives after the login. Without an application
    // object (tests) these values count.
    void SetUser(LPCWSTR email, LPCWSTR userId);

    // Appends {kind, text} to the queue; secondText becomes the second text of
    // every queued request. The request text goes out as UTF-8 with a line
    // feed and a zero byte in a 2048-byte buffer; a longer text is cut at a
    // character boundary to fit.
    void QueueRequest(int kind, LPCWSTR text, LPCWSTR secondText);
    // Queues a copy of the playlist; 1 when one of that name was already
    // queued (it is then replaced by this newer copy), 0 when added.
    int AddSyncPlaylist(const CSyncPlaylist& playlist);
    // Builds the playlists XML of the queued playlists, empties the queue and
    // sends the XML as kind 4 on a thread of its own.
    void UploadPlaylists();
    // Checks the user's own "playlist.xml" with the service and uploads it
    // (kind 2) when the service does not have it; on a thread of its own, at
    // most one at a time.
    void StartPlaylistCheck();
    // Posts "u=&h=&t=&a=" (UTF-8 values of at most 4096 bytes, URL-encoded)
    // to "/cgi-bin/dmlog" on the image host.
    void PostDownloadLog(LPCWSTR u, LPCWSTR h, LPCWSTR t, LPCWSTR a);

    // The XML text of the last playlist upload.
    CString GetLastPlaylistsXml() const { return m_playlistsXml; }
    // Requests still queued (the one being sent included).
    int GetQueuedCount();
    // Waits for the playlist check to end; TRUE when none runs any more.
    BOOL WaitForPlaylistCheck(DWORD timeoutMs);

    enum
    {
        RequestBufferSize = 2048,
    };

  private:
    struct Request
    {
        int kind;
        CString text;
    };

    CDataClient();
    ~CDataClient();
    CDataClient(const CDataClient&) = delete;
    CDataClient& operator=(const CDataClient&) = delete;

    static DWORD WINAPI RequestWorker(LPVOID self);
    static DWORD WINAPI PlaylistCheckThread(LPVOID self);
    void RunRequests();
    void RunPlaylistCheck();
    void SendRequest(const Request& request, const CString& secondText);
    void StopPlaylistCheck();
    CString CurrentUserId();

    CCriticalSection m_lock;
    std::deque<Request> m_requests;
    HANDLE m_worker;
    CString m_email;
    CString m_userId;
    CString m_secondText;
    volatile LONG m_stop;
    HANDLE m_stopEvent;    // manual-reset: wakes the workers at the release
    HANDLE m_stoppedEvent; // auto-reset: set by the request worker as it ends
    HANDLE m_checkThread;
    volatile LONG m_checkStop;
    CString m_playlistsXml;
    std::vector<CSyncPlaylist> m_playlists;
};
