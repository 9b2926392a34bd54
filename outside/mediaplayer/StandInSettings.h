#pragma once
#include "StandInDispatch.h"
#include <wmp.h>
#include <map>
#include <string>

class StandInPlayer;

// The stand-in player's settings: volume, mute, auto start and the play modes
// ("loop", "shuffle", "autoRewind", "showFrame").
class StandInSettings : public IWMPSettings
{
  public:
    explicit StandInSettings(StandInPlayer* player);
    virtual ~StandInSettings() = default;

    STANDIN_TEAR_OFF(IWMPSettings)
    STANDIN_NO_DISPATCH

    STDMETHODIMP get_isAvailable(BSTR item, VARIANT_BOOL* available) override;
    STDMETHODIMP get_autoStart(VARIANT_BOOL* autoStart) override;
    STDMETHODIMP put_autoStart(VARIANT_BOOL autoStart) override;
    STDMETHODIMP get_baseURL(BSTR* url) override;
    STDMETHODIMP put_baseURL(BSTR url) override;
    STDMETHODIMP get_defaultFrame(BSTR* frame) override;
    STDMETHODIMP put_defaultFrame(BSTR frame) override;
    STDMETHODIMP get_invokeURLs(VARIANT_BOOL* invoke) override;
    STDMETHODIMP put_invokeURLs(VARIANT_BOOL invoke) override;
    STDMETHODIMP get_mute(VARIANT_BOOL* mute) override;
    STDMETHODIMP put_mute(VARIANT_BOOL mute) override;
    STDMETHODIMP get_playCount(LONG* count) override;
    STDMETHODIMP put_playCount(LONG count) override;
    STDMETHODIMP get_rate(double* rate) override;
    STDMETHODIMP put_rate(double rate) override;
    STDMETHODIMP get_balance(LONG* balance) override;
    STDMETHODIMP put_balance(LONG balance) override;
    STDMETHODIMP get_volume(LONG* volume) override;
    STDMETHODIMP put_volume(LONG volume) override;
    STDMETHODIMP getMode(BSTR mode, VARIANT_BOOL* value) override;
    STDMETHODIMP setMode(BSTR mode, VARIANT_BOOL value) override;
    STDMETHODIMP get_enableErrorDialogs(VARIANT_BOOL* enable) override;
    STDMETHODIMP put_enableErrorDialogs(VARIANT_BOOL enable) override;

    LONG Volume() const { return m_volume; }
    bool Mute() const { return m_mute; }
    bool AutoStart() const { return m_autoStart; }
    bool Mode(const wchar_t* name) const;

  private:
    StandInPlayer* m_player;
    LONG m_volume = 50;
    bool m_mute = false;
    bool m_autoStart = true;
    bool m_invokeURLs = true;
    bool m_errorDialogs = false;
    LONG m_playCount = 1;
    LONG m_balance = 0;
    double m_rate = 1.0;
    std::wstring m_baseURL;
    std::wstring m_defaultFrame;
    std::map<std::wstring, bool> m_modes;
};
