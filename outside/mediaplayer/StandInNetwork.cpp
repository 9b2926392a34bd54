#include "StandInNetwork.h"
#include "StandInPlayer.h"

STDMETHODIMP StandInNetwork::get_sourceProtocol(BSTR* protocol)
{
    if (!protocol)
        return E_POINTER;
    *protocol = SysAllocString(m_player->IsNetworkSource() ? L"http" : L"");
    return *protocol ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP StandInNetwork::get_receptionQuality(LONG* value)
{
    return OutValue(100, value);
}

STDMETHODIMP StandInNetwork::get_bufferingProgress(LONG* value)
{
    return OutValue(m_player->BufferingProgress(), value);
}

STDMETHODIMP StandInNetwork::get_bufferingTime(LONG* value)
{
    return OutValue(m_bufferingTime, value);
}

STDMETHODIMP StandInNetwork::put_bufferingTime(LONG value)
{
    if (value < 0 || value > 60000)
        return E_INVALIDARG;
    m_bufferingTime = value;
    return S_OK;
}

STDMETHODIMP StandInNetwork::get_downloadProgress(LONG* value)
{
    return OutValue(m_player->DownloadProgress(), value);
}
