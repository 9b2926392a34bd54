#include "Sonatrel.h"
#include "MediaHttpServer.h"
#include "PlayerHost.h"
#include "SharedSongList.h"
#include <cstdio>

namespace
{
CString Text(LPCWSTR text)
{
    return text ? CString(text) : CString();
}

// Copy of a stored string for the caller; frees what the out-pointer held.
long CopyOut(const CString& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    SysFreeString(*out);
    *out = SysAllocStringLen(text.GetString(), static_cast<UINT>(text.GetLength()));
    return *out ? 0 : E_OUTOFMEMORY;
}

// Hands a text to the player as the BSTR it takes.
long PutUrl(IWMPPlayer* player, const CString& url)
{
    return player->put_URL(CBstr(url));
}

// The last owner of the player disconnects it before it goes.
void DeletePlayerHost(PlayerHost* host)
{
    host->Release();
    delete host;
}

IWMPMedia* CurrentMedia(PlayerHost* host)
{
    IWMPMedia* media = nullptr;
    if (host && host->Player() && FAILED(host->Player()->get_currentMedia(&media)))
        media = nullptr;
    return media;
}
} // namespace

CSonatrel::CSonatrel() : m_port(81), m_musicType(0), m_size(0), m_sharedSongs(std::make_shared<SharedSongList>())
{
    CoInitialize(nullptr);
}

CSonatrel::CSonatrel(const CSonatrel& other)
    : m_localPath(other.m_localPath), m_virtualPath(other.m_virtualPath), m_authString(other.m_authString),
      m_port(other.m_port), m_fileExtension(other.m_fileExtension), m_musicType(other.m_musicType),
      m_info1(other.m_info1), m_info2(other.m_info2), m_info3(other.m_info3),
      m_currentUrl(other.m_currentUrl), m_size(other.m_size), m_server(other.m_server),
      m_player(other.m_player), m_sharedSongs(other.m_sharedSongs)
{
    CoInitialize(nullptr);
}

CSonatrel& CSonatrel::operator=(const CSonatrel& other)
{
    m_localPath = other.m_localPath;
    m_virtualPath = other.m_virtualPath;
    m_authString = other.m_authString;
    m_port = other.m_port;
    m_fileExtension = other.m_fileExtension;
    m_musicType = other.m_musicType;
    m_info1 = other.m_info1;
    m_info2 = other.m_info2;
    m_info3 = other.m_info3;
    m_currentUrl = other.m_currentUrl;
    m_size = other.m_size;
    m_server = other.m_server;
    m_player = other.m_player;
    m_sharedSongs = other.m_sharedSongs;
    return *this;
}

CSonatrel::~CSonatrel()
{
    m_server.reset();
    m_player.reset();
    CoUninitialize();
}

long CSonatrel::SetHttpServerOption(LPCWSTR localPath, unsigned int port, LPCWSTR virtualPath,
                                    LPCWSTR authString, LPCWSTR fileExtension)
{
    m_localPath = Text(localPath);
    m_port = port;
    m_virtualPath = virtualPath ? virtualPath : L"\\";
    m_authString = Text(authString);
    m_fileExtension = Text(fileExtension);
    return 0;
}

unsigned int CSonatrel::GetHttpServerPort()
{
    return m_port;
}

long CSonatrel::GetHttpServerLocalPath(BSTR* path)
{
    return CopyOut(m_localPath, path);
}

long CSonatrel::GetHttpServerVirtualPath(BSTR* path)
{
    return CopyOut(m_virtualPath, path);
}

long CSonatrel::GetHttpServerAuthString(BSTR* auth)
{
    return CopyOut(m_authString, auth);
}

long CSonatrel::StartHttpServer()
{
    m_server.reset(new MediaHttpServer(m_authString.IsEmpty() ? 0 : 1));
    m_server->SetSharedSongs(m_sharedSongs);
    return m_server->Start(m_localPath.GetString(), "", static_cast<int>(m_port), 10000) ? 0 : 1;
}

long CSonatrel::AddSharedSong(LPCWSTR path)
{
    if (!path || !*path)
        return E_INVALIDARG;
    m_sharedSongs->Add(path);
    return 0;
}

long CSonatrel::RemoveSharedSong(LPCWSTR path)
{
    if (!path || !*path)
        return E_INVALIDARG;
    m_sharedSongs->Remove(path);
    return 0;
}

long CSonatrel::ClearSharedSongs()
{
    m_sharedSongs->Clear();
    return 0;
}

long CSonatrel::StopHttpServer()
{
    if (m_server)
        m_server->Stop();
    m_server.reset();
    return 0;
}

long CSonatrel::InitWMPlayer()
{
    m_player.reset();
    PlayerHost* host = new (std::nothrow) PlayerHost;
    if (!host)
        return 1;
    m_player.reset(host, DeletePlayerHost);
    return host->Initialise();
}

long CSonatrel::ReleaseWMPlayer()
{
    // The host disconnects the player as its last owner lets go.
    m_player.reset();
    return 0;
}

long CSonatrel::SetCallback(SonatrelCallback callback)
{
    if (m_player)
        m_player->SetCallback(callback);
    if (m_server)
        m_server->SetCallback(callback);
    return 0;
}

void CSonatrel::StopGrowingStreams()
{
    if (m_server)
        m_server->StopGrowingStreams();
}

long CSonatrel::PlayLocalMusic(LPCWSTR info1, LPCWSTR info2, LPCWSTR path, LPCWSTR info3, unsigned long size)
{
    if (!m_player || !m_player->Player() || !path || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return 1;
    m_info3 = Text(info3);
    m_size = size;
    m_musicType = 0;
    m_info2 = Text(info2);
    m_info1 = Text(info1);
    m_currentUrl = path;
    m_player->Player()->close();
    return PutUrl(m_player->Player(), m_currentUrl);
}

long CSonatrel::PlayWebMusic(LPCWSTR info1, LPCWSTR info2, LPCWSTR url, LPCWSTR info3, unsigned long size)
{
    if (!m_player || !m_player->Player())
        return 1;
    m_info3 = Text(info3);
    m_size = size;
    m_musicType = 1;
    m_info2 = Text(info2);
    m_info1 = Text(info1);
    m_currentUrl = Text(url);
    return PutUrl(m_player->Player(), m_currentUrl);
}

long CSonatrel::PlayBuddyMusic(LPCWSTR info1, LPCWSTR info2, LPCWSTR info3, unsigned long size)
{
    if (!m_player || !m_player->Player())
        return 1;
    m_info3 = Text(info3);
    m_info1 = Text(info1);
    m_info2 = Text(info2);
    m_size = size;
    m_musicType = 2;
    CString cacheName = m_info2 + L"." + m_fileExtension;
    if (!m_server)
        return 1;
    StopGrowingStreams();

    m_currentUrl.Format(L"http://127.0.0.1:%d/%s?len=%ld", m_server->GetPort(), cacheName.GetString(),
                        static_cast<long>(size));
    if (m_server->IsAuthRequired())
        m_currentUrl += L"&user=qz&password=qz";
    long hr = PutUrl(m_player->Player(), m_currentUrl);

    CString cacheFile = m_localPath + L"\\" + cacheName;
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (GetFileAttributesExW(cacheFile, GetFileExInfoStandard, &info) && info.nFileSizeLow == size &&
        info.nFileSizeHigh == 0)
        return 2;
    return hr;
}

long CSonatrel::stop_play()
{
    StopGrowingStreams();
    if (!m_player || !m_player->Player())
        return 1;
    if (m_player->Controls())
        m_player->Controls()->stop();
    return m_player->Player()->close();
}

long CSonatrel::pause_play()
{
    return m_player && m_player->Controls() ? m_player->Controls()->pause() : 1;
}

long CSonatrel::resume_play()
{
    return m_player && m_player->Controls() ? m_player->Controls()->play() : 1;
}

long CSonatrel::Next()
{
    return m_player && m_player->Controls() ? m_player->Controls()->next() : 1;
}

long CSonatrel::Prev()
{
    return m_player && m_player->Controls() ? m_player->Controls()->previous() : 1;
}

long CSonatrel::put_volume(unsigned int volume)
{
    return m_player && m_player->Settings() ? m_player->Settings()->put_volume(static_cast<LONG>(volume)) : 1;
}

long CSonatrel::get_volume()
{
    LONG volume = 0;
    if (!m_player || !m_player->Settings() || FAILED(m_player->Settings()->get_volume(&volume)))
        return 0;
    return volume;
}

long CSonatrel::put_currentPosition(double seconds)
{
    return m_player && m_player->Controls() ? m_player->Controls()->put_currentPosition(seconds) : 1;
}

double CSonatrel::get_currentPosition()
{
    double seconds = 0;
    if (!m_player || !m_player->Controls() || FAILED(m_player->Controls()->get_currentPosition(&seconds)))
        return 0;
    return seconds;
}

long CSonatrel::get_currentPositionString(BSTR* position)
{
    if (!m_player || !m_player->Controls())
        return 1;
    if (!position)
        return E_POINTER;
    SysFreeString(*position);
    *position = nullptr;
    return m_player->Controls()->get_currentPositionString(position);
}

long CSonatrel::get_duration(double* seconds)
{
    IWMPMedia* media = CurrentMedia(m_player.get());
    if (!media)
        return 1;
    long hr = seconds ? media->get_duration(seconds) : E_POINTER;
    media->Release();
    return hr;
}

long CSonatrel::get_durationString(BSTR* duration)
{
    IWMPMedia* media = CurrentMedia(m_player.get());
    if (!media)
        return 1;
    long hr = E_POINTER;
    if (duration)
    {
        SysFreeString(*duration);
        *duration = nullptr;
        hr = media->get_durationString(duration);
    }
    media->Release();
    return hr;
}

long CSonatrel::get_bufferingProgress(long* percent)
{
    if (!m_player || !m_player->Network())
        return 1;
    LONG value = 0;
    long hr = m_player->Network()->get_bufferingProgress(&value);
    if (percent)
        *percent = value;
    return hr;
}

long CSonatrel::get_downloadProgress(long* percent)
{
    if (!m_player || !m_player->Network())
        return 1;
    LONG value = 0;
    long hr = m_player->Network()->get_downloadProgress(&value);
    if (percent)
        *percent = value;
    return hr;
}

long CSonatrel::get_playState()
{
    WMPPlayState state = wmppsUndefined;
    if (!m_player || !m_player->Player() || FAILED(m_player->Player()->get_playState(&state)))
        return 0;
    return state;
}

long CSonatrel::SetPlayerMode(LPCWSTR modeName, BOOL flag)
{
    if (!m_player || !m_player->Settings())
        return 1;
    return m_player->Settings()->setMode(CBstr(modeName ? modeName : L""),
                                         flag ? VARIANT_TRUE : VARIANT_FALSE);
}

long CSonatrel::get_musicInfo(BSTR* info1, BSTR* info2, BSTR* info3, unsigned int* musicType,
                              unsigned long* size)
{
    if (!m_player || !m_player->Player())
        return 1;
    long hr = 0;
    if (info1 && (hr = CopyOut(m_info1, info1)) != 0)
        return hr;
    if (info2 && (hr = CopyOut(m_info2, info2)) != 0)
        return hr;
    if (info3 && (hr = CopyOut(m_info3, info3)) != 0)
        return hr;
    if (musicType)
        *musicType = m_musicType;
    if (size)
        *size = m_size;
    return 0;
}

long CSonatrel::CurrentItemInfo(LPCWSTR name, BSTR* value)
{
    if (!name || !*name || !value)
        return 1;
    IWMPMedia* media = CurrentMedia(m_player.get());
    if (!media)
        return 1;
    *value = nullptr;
    media->getItemInfo(CBstr(name), value);
    media->Release();
    return 0;
}

long CSonatrel::GetCurItemAttrValByName(LPCWSTR name, BSTR* value)
{
    return CurrentItemInfo(name, value);
}

long CSonatrel::GetCurrentItemTitle(BSTR* value)
{
    return CurrentItemInfo(L"Title", value);
}

long CSonatrel::GetCurrentItemAuthor(BSTR* value)
{
    return CurrentItemInfo(L"Author", value);
}

long CSonatrel::GetCurrentItemFileSize(BSTR* value)
{
    return CurrentItemInfo(L"FileSize", value);
}

long CSonatrel::GetCurrentItemFileType(BSTR* value)
{
    return CurrentItemInfo(L"FileType", value);
}

int CSonatrel::GetBoundPort() const
{
    return m_server && m_server->IsRunning() ? m_server->GetPort() : -1;
}

bool CSonatrel::IsOwnPlayer() const
{
    return m_player && m_player->IsOwnPlayer();
}
