#include "StandInPlayer.h"
#include "StandInMediaPlayer.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace
{
const wchar_t kWindowClass[] = L"YebStandInMediaPlayer";
// Carries one EngineNote from a playback thread to the player's window.
const UINT kNoteMessage = WM_APP + 1;

template <class T> HRESULT OutInterface(T* object, T** out)
{
    if (!out)
        return E_POINTER;
    *out = object;
    if (object)
        object->AddRef();
    return object ? S_OK : S_FALSE;
}
} // namespace

HRESULT StandInPlayerQueryInterface(StandInPlayer* player, REFIID riid, void** object)
{
    return player->QueryInterface(riid, object);
}

ULONG StandInPlayerAddRef(StandInPlayer* player)
{
    return player->AddRef();
}

ULONG StandInPlayerRelease(StandInPlayer* player)
{
    return player->Release();
}

HRESULT CreateStandInMediaPlayer(IWMPPlayer** player)
{
    return StandInPlayer::Create(player);
}

HRESULT StandInPlayer::Create(IWMPPlayer** player)
{
    if (!player)
        return E_POINTER;
    *player = nullptr;
    static bool registered = false;
    if (!registered)
    {
        WNDCLASSEXW wc = {sizeof(wc)};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = reinterpret_cast<HINSTANCE>(&__ImageBase);
        wc.lpszClassName = kWindowClass;
        registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    StandInPlayer* created = new StandInPlayer;
    if (!created->m_window)
    {
        created->Release();
        return E_FAIL;
    }
    *player = created;
    return S_OK;
}

StandInPlayer::StandInPlayer()
    : m_controls(this), m_settings(this), m_network(this), m_events(this, IID_IWMPEvents),
      m_dispatchEvents(this, IID__WMPOCXEvents)
{
    m_window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               reinterpret_cast<HINSTANCE>(&__ImageBase), nullptr);
    if (m_window)
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

StandInPlayer::~StandInPlayer()
{
    EndEngine();
    m_events.UnadviseAll();
    m_dispatchEvents.UnadviseAll();
    if (m_media)
        m_media->Release();
    if (m_window)
    {
        // Records still on their way belong to this window: free them.
        MSG msg;
        while (PeekMessageW(&msg, m_window, kNoteMessage, kNoteMessage, PM_REMOVE))
            delete reinterpret_cast<EngineNote*>(msg.lParam);
        DestroyWindow(m_window);
    }
}

STDMETHODIMP StandInPlayer::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IWMPCore) ||
        IsEqualIID(riid, IID_IWMPPlayer))
        *object = static_cast<IWMPPlayer*>(this);
    else if (IsEqualIID(riid, IID_IConnectionPointContainer))
        *object = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(riid, IID_IWMPControls))
        *object = static_cast<IWMPControls*>(&m_controls);
    else if (IsEqualIID(riid, IID_IWMPSettings))
        *object = static_cast<IWMPSettings*>(&m_settings);
    else if (IsEqualIID(riid, IID_IWMPNetwork))
        *object = static_cast<IWMPNetwork*>(&m_network);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) StandInPlayer::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) StandInPlayer::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP StandInPlayer::close()
{
    EndEngine();
    if (m_media)
    {
        m_media->Release();
        m_media = nullptr;
    }
    m_url.clear();
    m_position = 0;
    bool wasActive = m_playState == wmppsPlaying || m_playState == wmppsPaused ||
                     m_playState == wmppsBuffering || m_playState == wmppsTransitioning;
    if (wasActive)
        SetPlayState(wmppsStopped);
    m_playState = wmppsUndefined;
    SetOpenState(wmposUndefined);
    return S_OK;
}

STDMETHODIMP StandInPlayer::get_URL(BSTR* url)
{
    return OutText(m_url, url);
}

STDMETHODIMP StandInPlayer::put_URL(BSTR url)
{
    EndEngine();
    if (m_media)
    {
        m_media->Release();
        m_media = nullptr;
    }
    m_url = url ? url : L"";
    m_position = 0;
    if (m_url.empty())
    {
        SetPlayState(wmppsStopped);
        return S_OK;
    }
    m_media = new StandInMedia(m_url);
    SetOpenState(wmposMediaChanging);
    SetPlayState(wmppsTransitioning);
    if (m_settings.AutoStart())
        StartEngine(0);
    else
        SetPlayState(wmppsReady);
    return S_OK;
}

STDMETHODIMP StandInPlayer::get_openState(WMPOpenState* state)
{
    return OutValue(static_cast<WMPOpenState>(m_openState), state);
}

STDMETHODIMP StandInPlayer::get_playState(WMPPlayState* state)
{
    return OutValue(static_cast<WMPPlayState>(m_playState), state);
}

STDMETHODIMP StandInPlayer::get_controls(IWMPControls** controls)
{
    return OutInterface<IWMPControls>(&m_controls, controls);
}

STDMETHODIMP StandInPlayer::get_settings(IWMPSettings** settings)
{
    return OutInterface<IWMPSettings>(&m_settings, settings);
}

STDMETHODIMP StandInPlayer::get_network(IWMPNetwork** network)
{
    return OutInterface<IWMPNetwork>(&m_network, network);
}

STDMETHODIMP StandInPlayer::get_currentMedia(IWMPMedia** media)
{
    if (!media)
        return E_POINTER;
    *media = m_media;
    if (!m_media)
        return S_FALSE;
    m_media->AddRef();
    return S_OK;
}

STDMETHODIMP StandInPlayer::get_versionInfo(BSTR* version)
{
    return OutText(L"Yeb stand-in player 1.0", version);
}

STDMETHODIMP StandInPlayer::get_isOnline(VARIANT_BOOL* online)
{
    return OutBool(true, online);
}

STDMETHODIMP StandInPlayer::get_status(BSTR* status)
{
    const wchar_t* text = m_playState == wmppsPlaying     ? L"Playing"
                          : m_playState == wmppsPaused    ? L"Paused"
                          : m_playState == wmppsBuffering ? L"Buffering"
                                                          : L"Stopped";
    return OutText(text, status);
}

STDMETHODIMP StandInPlayer::get_enabled(VARIANT_BOOL* enabled)
{
    return OutBool(m_enabled, enabled);
}

STDMETHODIMP StandInPlayer::put_enabled(VARIANT_BOOL enabled)
{
    m_enabled = enabled != VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP StandInPlayer::get_fullScreen(VARIANT_BOOL* fullScreen)
{
    return OutBool(false, fullScreen);
}

STDMETHODIMP StandInPlayer::get_enableContextMenu(VARIANT_BOOL* enable)
{
    return OutBool(false, enable);
}

STDMETHODIMP StandInPlayer::put_uiMode(BSTR mode)
{
    std::wstring text = mode ? mode : L"";
    for (const wchar_t* known : {L"invisible", L"none", L"mini", L"full", L"custom"})
    {
        if (_wcsicmp(text.c_str(), known) == 0)
        {
            m_uiMode = known;
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

STDMETHODIMP StandInPlayer::get_uiMode(BSTR* mode)
{
    return OutText(m_uiMode, mode);
}

STDMETHODIMP StandInPlayer::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP StandInPlayer::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (IsEqualIID(riid, IID_IWMPEvents))
        *point = &m_events;
    else if (IsEqualIID(riid, IID__WMPOCXEvents))
        *point = &m_dispatchEvents;
    else
        return CONNECT_E_NOCONNECTION;
    (*point)->AddRef();
    return S_OK;
}

HRESULT StandInPlayer::Play()
{
    if (m_engine && m_playState == wmppsPaused)
    {
        m_engine->Pause(false);
        SetPlayState(wmppsPlaying);
        return S_OK;
    }
    if (m_engine || m_url.empty())
        return S_OK;
    SetPlayState(wmppsTransitioning);
    StartEngine(m_position);
    return S_OK;
}

HRESULT StandInPlayer::Pause()
{
    if (m_engine && (m_playState == wmppsPlaying || m_playState == wmppsBuffering))
    {
        m_engine->Pause(true);
        SetPlayState(wmppsPaused);
    }
    return S_OK;
}

HRESULT StandInPlayer::Stop()
{
    EndEngine();
    m_position = 0;
    if (!m_url.empty() && m_playState != wmppsStopped)
        SetPlayState(wmppsStopped);
    return S_OK;
}

double StandInPlayer::Position()
{
    return m_engine ? m_engine->Position() : m_position;
}

HRESULT StandInPlayer::SetPosition(double seconds)
{
    if (seconds < 0)
        seconds = 0;
    double duration = m_media ? m_media->Duration() : 0;
    if (duration > 0 && seconds > duration)
        seconds = duration;
    m_position = seconds;
    if (!m_engine)
        return S_OK;
    // A new playback from the new position; a paused song stays paused there.
    EndEngine();
    m_position = seconds;
    if (m_playState != wmppsPaused)
        StartEngine(seconds);
    return S_OK;
}

void StandInPlayer::ApplyVolume()
{
    if (m_engine)
        m_engine->SetVolume(m_settings.Volume(), m_settings.Mute());
}

long StandInPlayer::BufferingProgress()
{
    return m_engine ? m_engine->BufferingProgress() : m_lastBuffering;
}

long StandInPlayer::DownloadProgress()
{
    return m_engine ? m_engine->DownloadProgress() : m_lastDownload;
}

bool StandInPlayer::IsNetworkSource() const
{
    return _wcsnicmp(m_url.c_str(), L"http://", 7) == 0;
}

void StandInPlayer::StartEngine(double from)
{
    EndEngine();
    ++m_generation;
    m_engine.reset(new PlaybackEngine(m_window, kNoteMessage, m_generation, m_url, from));
    m_engine->SetVolume(m_settings.Volume(), m_settings.Mute());
    if (!m_engine->Start())
    {
        m_engine.reset();
        Fire(5821, 0);
        SetPlayState(wmppsReady);
    }
}

void StandInPlayer::EndEngine()
{
    if (!m_engine)
        return;
    m_position = m_engine->Position();
    m_lastBuffering = m_engine->BufferingProgress();
    m_lastDownload = m_engine->DownloadProgress();
    m_engine->Stop();
    m_engine.reset();
    ++m_generation; // notes of the ended playback are dropped
}

void StandInPlayer::SetPlayState(long state)
{
    m_playState = state;
    Fire(5101, state);
}

void StandInPlayer::SetOpenState(long state)
{
    m_openState = state;
    Fire(5001, state);
}

void StandInPlayer::Fire(DISPID id, long value)
{
    AddRef(); // a sink may release the player while it is being told
    for (IUnknown* unknown : m_events.Sinks())
    {
        IWMPEvents* sink = static_cast<IWMPEvents*>(unknown);
        switch (id)
        {
        case 5001:
            sink->OpenStateChange(value);
            break;
        case 5101:
            sink->PlayStateChange(value);
            break;
        case 5402:
            sink->Buffering(value ? VARIANT_TRUE : VARIANT_FALSE);
            break;
        case 5501:
            sink->Error();
            break;
        case 5821:
            sink->MediaError(m_media);
            break;
        }
        sink->Release();
    }
    for (IUnknown* unknown : m_dispatchEvents.Sinks())
    {
        IDispatch* sink = static_cast<IDispatch*>(unknown);
        VARIANTARG arg;
        VariantInit(&arg);
        DISPPARAMS params = {&arg, nullptr, 1, 0};
        if (id == 5402)
        {
            arg.vt = VT_BOOL;
            arg.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        }
        else if (id == 5821)
        {
            arg.vt = VT_DISPATCH;
            arg.pdispVal = m_media;
        }
        else if (id == 5501)
            params.cArgs = 0;
        else
        {
            arg.vt = VT_I4;
            arg.lVal = value;
        }
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        sink->Release();
    }
    Release();
}

void StandInPlayer::OnNote(EngineNote* note)
{
    if (note->generation != m_generation)
        return;
    switch (note->kind)
    {
    case EngineNote::OpenState:
        SetOpenState(note->value);
        break;
    case EngineNote::PlayState:
        SetPlayState(note->value);
        break;
    case EngineNote::Buffering:
        Fire(5402, note->value);
        if (note->value)
            SetPlayState(wmppsBuffering);
        break;
    case EngineNote::MediaInfo:
        if (m_media)
        {
            m_media->SetDuration(note->duration);
            wchar_t size[32];
            swprintf(size, 32, L"%llu", note->size);
            m_media->SetInfo(L"FileSize", size);
            if (!note->title.empty())
                m_media->SetInfo(L"Title", note->title);
            if (!note->author.empty())
                m_media->SetInfo(L"Author", note->author);
            if (!note->album.empty())
                m_media->SetInfo(L"WM/AlbumTitle", note->album);
            if (!note->genre.empty())
                m_media->SetInfo(L"WM/Genre", note->genre);
        }
        break;
    case EngineNote::MediaError:
        EndEngine();
        m_position = 0;
        Fire(5821, 0);
        SetPlayState(wmppsReady);
        break;
    case EngineNote::Ended:
        EndEngine();
        m_position = 0;
        SetPlayState(wmppsMediaEnded);
        if (m_settings.Mode(L"loop"))
        {
            SetPlayState(wmppsTransitioning);
            StartEngine(0);
        }
        else
            SetPlayState(wmppsStopped);
        break;
    }
}

LRESULT CALLBACK StandInPlayer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kNoteMessage)
    {
        EngineNote* note = reinterpret_cast<EngineNote*>(lParam);
        auto* player = reinterpret_cast<StandInPlayer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (player)
        {
            player->AddRef();
            player->OnNote(note);
            player->Release();
        }
        delete note;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
