#pragma once
#include "StandInDispatch.h"
#include <wmp.h>

class StandInPlayer;

// Network figures of the stand-in player: buffering and download progress of
// the song it fetches; the figures of streaming protocols it does not speak are 0.
class StandInNetwork : public IWMPNetwork
{
  public:
    explicit StandInNetwork(StandInPlayer* player) : m_player(player) {}
    virtual ~StandInNetwork() = default;

    STANDIN_TEAR_OFF(IWMPNetwork)
    STANDIN_NO_DISPATCH

    STDMETHODIMP get_bandWidth(LONG* value) override { return Zero(value); }
    STDMETHODIMP get_recoveredPackets(LONG* value) override { return Zero(value); }
    STDMETHODIMP get_sourceProtocol(BSTR* protocol) override;
    STDMETHODIMP get_receivedPackets(LONG* value) override { return Zero(value); }
    STDMETHODIMP get_lostPackets(LONG* value) override { return Zero(value); }
    STDMETHODIMP get_receptionQuality(LONG* value) override;
    STDMETHODIMP get_bufferingCount(LONG* value) override { return Zero(value); }
    STDMETHODIMP get_bufferingProgress(LONG* value) override;
    STDMETHODIMP get_bufferingTime(LONG* value) override;
    STDMETHODIMP put_bufferingTime(LONG value) override;
    STDMETHODIMP get_frameRate(LONG* value) override { return Zero(value); }
    STDMETHODIMP get_maxBitRate(LONG* value) override { return Zero(value); }
    STDMETHODIMP get_bitRate(LONG* value) override { return Zero(value); }
    STDMETHODIMP getProxySettings(BSTR, LONG* value) override { return Zero(value); }
    STDMETHODIMP setProxySettings(BSTR, LONG) override { return E_NOTIMPL; }
    STDMETHODIMP getProxyName(BSTR, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP setProxyName(BSTR, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP getProxyPort(BSTR, LONG* value) override { return Zero(value); }
    STDMETHODIMP setProxyPort(BSTR, LONG) override { return E_NOTIMPL; }
    STDMETHODIMP getProxyExceptionList(BSTR, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP setProxyExceptionList(BSTR, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP getProxyBypassForLocal(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP setProxyBypassForLocal(BSTR, VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_maxBandwidth(LONG* value) override { return Zero(value); }
    STDMETHODIMP put_maxBandwidth(LONG) override { return S_OK; }
    STDMETHODIMP get_downloadProgress(LONG* value) override;
    STDMETHODIMP get_encodedFrameRate(LONG* value) override { return Zero(value); }
    STDMETHODIMP get_framesSkipped(LONG* value) override { return Zero(value); }

  private:
    static HRESULT Zero(LONG* value)
    {
        if (!value)
            return E_POINTER;
        *value = 0;
        return S_OK;
    }

    StandInPlayer* m_player;
    LONG m_bufferingTime = 5000;
};
