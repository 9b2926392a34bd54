#pragma once
#include "PlaybackEngine.h"
#include "StandInConnectionPoint.h"
#include "StandInControls.h"
#include "StandInMedia.h"
#include "StandInNetwork.h"
#include "StandInSettings.h"
#include <memory>
#include <string>

// The stand-in media player object (see StandInMediaPlayer.h).
class StandInPlayer : public IWMPPlayer, public IConnectionPointContainer
{
  public:
    static HRESULT Create(IWMPPlayer** player);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STANDIN_NO_DISPATCH

    // IWMPCore
    STDMETHODIMP close() override;
    STDMETHODIMP get_URL(BSTR* url) override;
    STDMETHODIMP put_URL(BSTR url) override;
    STDMETHODIMP get_openState(WMPOpenState* state) override;
    STDMETHODIMP get_playState(WMPPlayState* state) override;
    STDMETHODIMP get_controls(IWMPControls** controls) override;
    STDMETHODIMP get_settings(IWMPSettings** settings) override;
    STDMETHODIMP get_currentMedia(IWMPMedia** media) override;
    STDMETHODIMP put_currentMedia(IWMPMedia*) override { return E_NOTIMPL; }
    STDMETHODIMP get_mediaCollection(IWMPMediaCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_playlistCollection(IWMPPlaylistCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_versionInfo(BSTR* version) override;
    STDMETHODIMP launchURL(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_network(IWMPNetwork** network) override;
    STDMETHODIMP get_currentPlaylist(IWMPPlaylist**) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentPlaylist(IWMPPlaylist*) override { return E_NOTIMPL; }
    STDMETHODIMP get_cdromCollection(IWMPCdromCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_closedCaption(IWMPClosedCaption**) override { return E_NOTIMPL; }
    STDMETHODIMP get_isOnline(VARIANT_BOOL* online) override;
    STDMETHODIMP get_Error(IWMPError**) override { return E_NOTIMPL; }
    STDMETHODIMP get_status(BSTR* status) override;
    // IWMPPlayer
    STDMETHODIMP get_enabled(VARIANT_BOOL* enabled) override;
    STDMETHODIMP put_enabled(VARIANT_BOOL enabled) override;
    STDMETHODIMP get_fullScreen(VARIANT_BOOL* fullScreen) override;
    STDMETHODIMP put_fullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_enableContextMenu(VARIANT_BOOL* enable) override;
    STDMETHODIMP put_enableContextMenu(VARIANT_BOOL) override { return S_OK; }
    STDMETHODIMP put_uiMode(BSTR mode) override;
    STDMETHODIMP get_uiMode(BSTR* mode) override;
    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

    // Transport, for the controls.
    HRESULT Play();
    HRESULT Pause();
    HRESULT Stop();
    double Position();
    HRESULT SetPosition(double seconds);
    IWMPMedia* Media() const { return m_media; }
    // For the settings and the network figures.
    void ApplyVolume();
    long BufferingProgress();
    long DownloadProgress();
    bool IsNetworkSource() const;

  private:
    StandInPlayer();
    virtual ~StandInPlayer();

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnNote(EngineNote* note);
    void StartEngine(double from);
    void EndEngine();
    void SetPlayState(long state);
    void SetOpenState(long state);
    // Calls every advised sink, in the vtable or the dispatch form.
    void Fire(DISPID id, long value);

    LONG m_refs = 1;
    HWND m_window = nullptr;
    unsigned m_generation = 0;
    std::wstring m_url;
    std::wstring m_uiMode = L"full";
    long m_openState = 0;
    long m_playState = 0;
    double m_position = 0;
    bool m_enabled = true;
    long m_lastBuffering = 0;
    long m_lastDownload = 0;
    StandInMedia* m_media = nullptr;
    std::unique_ptr<PlaybackEngine> m_engine;
    StandInControls m_controls;
    StandInSettings m_settings;
    StandInNetwork m_network;
    StandInConnectionPoint m_events;
    StandInConnectionPoint m_dispatchEvents;
};
