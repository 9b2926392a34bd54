#include "StandInNetwork.h"
#include "StandInPlayer.h"

HRESULT StandInNetwork::OuterQueryInterface(REFIID riid, void** object)
{
    return m_player->QueryInterface(riid, object);
}

ULONG StandInNetwork::OuterAddRef()
{
    return m_player->AddRef();
}

ULONG StandInNetwork::OuterRelease()
{
    return m_player->Release();
}

STDMETHODIMP StandInNetwork::get_sourceProtocol(BSTR* protocol)
{
    if (!protocol)
        return E_POINTER;
    *protocol = SysAllocString(m_player->IsNetworkSource() ? L"http" : L"");
    return *protocol ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP StandInNetwork::get_receptionQuality(LONG* value)
{
    if (!value)
        return E_POINTER;
    *value = 100;
    return S_OK;
}

STDMETHODIMP StandInNetwork::get_bufferingProgress(LONG* value)
{
    if (!value)
        return E_POINTER;
    *value = m_player->BufferingProgress();
    return S_OK;
}

STDMETHODIMP StandInNetwork::get_bufferingTime(LONG* value)
{
    if (!value)
        return E_POINTER;
    *value = m_bufferingTime;
    return S_OK;
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
    if (!value)
        return E_POINTER;
    *value = m_player->DownloadProgress();
    return S_OK;
}
