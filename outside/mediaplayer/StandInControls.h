#pragma once
#include "StandInDispatch.h"
#include <wmp.h>

class StandInPlayer;

// The transport controls of the stand-in player (play, pause, stop, position).
class StandInControls : public IWMPControls
{
  public:
    explicit StandInControls(StandInPlayer* player) : m_player(player) {}
    virtual ~StandInControls() = default;

    STANDIN_TEAR_OFF(IWMPControls)
    STANDIN_NO_DISPATCH

    STDMETHODIMP get_isAvailable(BSTR item, VARIANT_BOOL* available) override;
    STDMETHODIMP play() override;
    STDMETHODIMP stop() override;
    STDMETHODIMP pause() override;
    STDMETHODIMP fastForward() override { return E_NOTIMPL; }
    STDMETHODIMP fastReverse() override { return E_NOTIMPL; }
    STDMETHODIMP get_currentPosition(double* position) override;
    STDMETHODIMP put_currentPosition(double position) override;
    STDMETHODIMP get_currentPositionString(BSTR* position) override;
    STDMETHODIMP next() override;
    STDMETHODIMP previous() override;
    STDMETHODIMP currentItem(IWMPMedia** media) override;
    STDMETHODIMP put_currentItem(IWMPMedia*) override { return E_NOTIMPL; }
    STDMETHODIMP get_currentMarker(LONG* marker) override;
    STDMETHODIMP put_currentMarker(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP playItem(IWMPMedia*) override { return E_NOTIMPL; }

  private:
    StandInPlayer* m_player;
};
