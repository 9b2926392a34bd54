#include "PlayerHost.h"
#include "PlayerEventSink.h"
#include "StandInMediaPlayer.h"

namespace
{
template <class T> void ReleaseInterface(T*& p)
{
    if (p)
    {
        p->Release();
        p = nullptr;
    }
}
} // namespace

PlayerHost::PlayerHost() {}

PlayerHost::~PlayerHost()
{
    ReleaseInterface(m_network);
    ReleaseInterface(m_settings);
    ReleaseInterface(m_controls);
    ReleaseInterface(m_connectionPoint);
    ReleaseInterface(m_player);
    if (m_sink)
    {
        m_sink->Detach();
        m_sink->Release();
        m_sink = nullptr;
    }
}

bool PlayerHost::ProbePlatformPlayer(IWMPPlayer* player)
{
    BSTR mode = SysAllocString(L"invisible");
    HRESULT hr = player->put_uiMode(mode);
    SysFreeString(mode);
    if (FAILED(hr))
        return false;
    const WMPPlayState unset = static_cast<WMPPlayState>(-12345);
    WMPPlayState state = unset;
    if (FAILED(player->get_playState(&state)) || state == unset)
        return false;
    IWMPControls* controls = nullptr;
    if (FAILED(player->get_controls(&controls)) || !controls)
        return false;
    controls->Release();
    return true;
}

HRESULT PlayerHost::Initialise()
{
    m_cookie = 0;
    HRESULT hr = CoCreateInstance(CLSID_WindowsMediaPlayer, nullptr, CLSCTX_INPROC_SERVER, IID_IWMPPlayer,
                                  reinterpret_cast<void**>(&m_player));
    if (SUCCEEDED(hr) && !ProbePlatformPlayer(m_player))
        ReleaseInterface(m_player);
    if (!m_player)
    {
        HRESULT own = CreateStandInMediaPlayer(&m_player);
        if (FAILED(own))
            return FAILED(hr) ? hr : own;
        m_ownPlayer = true;
    }

    m_sink = new PlayerEventSink(this);
    m_sink->AddRef();

    IConnectionPointContainer* container = nullptr;
    hr = m_player->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr))
        return hr;
    hr = container->FindConnectionPoint(IID_IWMPEvents, &m_connectionPoint);
    if (FAILED(hr))
        hr = container->FindConnectionPoint(IID__WMPOCXEvents, &m_connectionPoint);
    if (FAILED(hr))
    {
        container->Release();
        return hr;
    }

    BSTR mode = SysAllocString(L"invisible");
    m_player->put_uiMode(mode);
    SysFreeString(mode);

    hr = m_connectionPoint->Advise(static_cast<IWMPEvents*>(m_sink), &m_cookie);
    if (FAILED(hr))
    {
        m_cookie = 0;
        container->Release();
        return hr;
    }
    m_player->get_controls(&m_controls);
    m_player->get_settings(&m_settings);
    m_player->get_network(&m_network);
    container->Release();
    return hr;
}

HRESULT PlayerHost::Release()
{
    if (m_connectionPoint)
    {
        if (m_cookie != 0)
            m_connectionPoint->Unadvise(m_cookie);
        m_cookie = 0;
        ReleaseInterface(m_connectionPoint);
    }
    if (!m_player)
        return 0;
    ReleaseInterface(m_controls);
    ReleaseInterface(m_network);
    ReleaseInterface(m_settings);
    m_player->close();
    ReleaseInterface(m_player);
    return 0;
}

void PlayerHost::Notify(long event, long value)
{
    if (m_callback)
        m_callback(static_cast<DLL_WMPCOREEVENT>(event), value);
}
