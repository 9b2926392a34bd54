#pragma once
#include "Framework.h"
#include "SonatrelEvents.h"
#include <memory>

#ifdef SONATREL_EXPORTS
#define SONATREL_API __declspec(dllexport)
#else
#define SONATREL_API __declspec(dllimport)
#endif

class MediaHttpServer;
class PlayerHost;
class SharedSongList;

// The player library: the local HTTP media server and the media player behind
// one flat set of operations. Every string result is a BSTR that the caller
// frees; "frees old" results first free what the out-pointer holds.
// Copies share the server and the player: the last copy to go stops and
// releases them.
class SONATREL_API CSonatrel
{
  public:
    CSonatrel();
    CSonatrel(const CSonatrel& other);
    CSonatrel& operator=(const CSonatrel& other);
    virtual ~CSonatrel();

    long SetHttpServerOption(LPCWSTR localPath, unsigned int port, LPCWSTR virtualPath, LPCWSTR authString,
                             LPCWSTR fileExtension);
    unsigned int GetHttpServerPort();
    long GetHttpServerLocalPath(BSTR* path);
    long GetHttpServerVirtualPath(BSTR* path);
    long GetHttpServerAuthString(BSTR* auth);
    long StartHttpServer();
    long StopHttpServer();
    long InitWMPlayer();
    long ReleaseWMPlayer();
    long SetCallback(SonatrelCallback callback);

    long PlayLocalMusic(LPCWSTR info1, LPCWSTR info2, LPCWSTR path, LPCWSTR info3, unsigned long size);
    long PlayWebMusic(LPCWSTR info1, LPCWSTR info2, LPCWSTR url, LPCWSTR info3, unsigned long size);
    long PlayBuddyMusic(LPCWSTR info1, LPCWSTR info2, LPCWSTR info3, unsigned long size);
    long stop_play();
    long pause_play();
    long resume_play();
    long Next();
    long Prev();
    long put_volume(unsigned int volume);
    long get_volume();
    long put_currentPosition(double seconds);
    double get_currentPosition();
    long get_currentPositionString(BSTR* position);
    long get_duration(double* seconds);
    long get_durationString(BSTR* duration);
    long get_bufferingProgress(long* percent);
    long get_downloadProgress(long* percent);
    long get_playState();
    long SetPlayerMode(LPCWSTR modeName, BOOL flag);
    long get_musicInfo(BSTR* info1, BSTR* info2, BSTR* info3, unsigned int* musicType, unsigned long* size);
    long GetCurItemAttrValByName(LPCWSTR name, BSTR* value);
    long GetCurrentItemTitle(BSTR* value);
    long GetCurrentItemAuthor(BSTR* value);
    long GetCurrentItemFileSize(BSTR* value);
    long GetCurrentItemFileType(BSTR* value);

    // Song files that buddies may fetch through the server besides those of
    // the cache folder: the client names the songs of the owner's library
    // and the songs it pushes to buddies. Kept across server restarts.
    // 0, or E_INVALIDARG for an empty path.
    long AddSharedSong(LPCWSTR path);
    long RemoveSharedSong(LPCWSTR path);
    long ClearSharedSongs();

    // The port the running server listens on; -1 when none.
    int GetBoundPort() const;
    // Whether the library plays through its own player (the platform's is missing or unusable).
    bool IsOwnPlayer() const;

  private:
    void StopGrowingStreams();
    long CurrentItemInfo(LPCWSTR name, BSTR* value);

    CString m_localPath;
    CString m_virtualPath;
    CString m_authString;
    unsigned int m_port;
    CString m_fileExtension;
    unsigned int m_musicType;
    CString m_info1;
    CString m_info2;
    CString m_info3;
    CString m_currentUrl;
    unsigned long m_size;
    std::shared_ptr<MediaHttpServer> m_server;
    std::shared_ptr<PlayerHost> m_player;
    std::shared_ptr<SharedSongList> m_sharedSongs;
};
