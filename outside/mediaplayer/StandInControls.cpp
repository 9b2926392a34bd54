#include "StandInControls.h"
#include "StandInPlayer.h"

STDMETHODIMP StandInControls::get_isAvailable(BSTR item, VARIANT_BOOL* available)
{
    if (!available)
        return E_POINTER;
    std::wstring name = item ? item : L"";
    bool yes = _wcsicmp(name.c_str(), L"play") == 0 || _wcsicmp(name.c_str(), L"stop") == 0 ||
               _wcsicmp(name.c_str(), L"pause") == 0 || _wcsicmp(name.c_str(), L"currentPosition") == 0;
    *available = yes ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP StandInControls::play()
{
    return m_player->Play();
}

STDMETHODIMP StandInControls::stop()
{
    return m_player->Stop();
}

STDMETHODIMP StandInControls::pause()
{
    return m_player->Pause();
}

STDMETHODIMP StandInControls::get_currentPosition(double* position)
{
    return OutValue(m_player->Position(), position);
}

STDMETHODIMP StandInControls::put_currentPosition(double position)
{
    return m_player->SetPosition(position);
}

STDMETHODIMP StandInControls::get_currentPositionString(BSTR* position)
{
    if (!position)
        return E_POINTER;
    *position = SysAllocString(StandInMedia::TimeText(m_player->Position()).c_str());
    return *position ? S_OK : E_OUTOFMEMORY;
}

// One song is open at a time: there is no other item to move to.
STDMETHODIMP StandInControls::next()
{
    return S_OK;
}

STDMETHODIMP StandInControls::previous()
{
    return S_OK;
}

STDMETHODIMP StandInControls::currentItem(IWMPMedia** media)
{
    if (!media)
        return E_POINTER;
    *media = m_player->Media();
    if (*media)
        (*media)->AddRef();
    return *media ? S_OK : S_FALSE;
}

STDMETHODIMP StandInControls::get_currentMarker(LONG* marker)
{
    return OutValue(0, marker);
}
