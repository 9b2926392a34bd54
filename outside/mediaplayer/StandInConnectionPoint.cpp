#include "StandInConnectionPoint.h"
#include <wmp.h>

StandInConnectionPoint::StandInConnectionPoint(IConnectionPointContainer* owner, REFIID iid)
    : m_owner(owner), m_iid(iid)
{
}

StandInConnectionPoint::~StandInConnectionPoint()
{
    UnadviseAll();
}

STDMETHODIMP StandInConnectionPoint::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint))
    {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) StandInConnectionPoint::AddRef()
{
    return m_owner->AddRef();
}

STDMETHODIMP_(ULONG) StandInConnectionPoint::Release()
{
    return m_owner->Release();
}

STDMETHODIMP StandInConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = m_iid;
    return S_OK;
}

STDMETHODIMP StandInConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    *container = m_owner;
    m_owner->AddRef();
    return S_OK;
}

STDMETHODIMP StandInConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    // The dispatch form takes any IDispatch that answers for _WMPOCXEvents or IDispatch.
    IUnknown* events = nullptr;
    HRESULT hr = sink->QueryInterface(m_iid, reinterpret_cast<void**>(&events));
    if (FAILED(hr) && IsEqualIID(m_iid, IID__WMPOCXEvents))
        hr = sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&events));
    if (FAILED(hr))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = m_nextCookie++;
    m_sinks.push_back({*cookie, events});
    return S_OK;
}

STDMETHODIMP StandInConnectionPoint::Unadvise(DWORD cookie)
{
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it)
    {
        if (it->cookie == cookie)
        {
            IUnknown* sink = it->sink;
            m_sinks.erase(it);
            sink->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP StandInConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (connections)
        *connections = nullptr;
    return E_NOTIMPL;
}

std::vector<IUnknown*> StandInConnectionPoint::Sinks() const
{
    std::vector<IUnknown*> sinks;
    for (const Sink& s : m_sinks)
    {
        s.sink->AddRef();
        sinks.push_back(s.sink);
    }
    return sinks;
}

void StandInConnectionPoint::UnadviseAll()
{
    std::vector<Sink> sinks;
    sinks.swap(m_sinks);
    for (Sink& s : sinks)
        s.sink->Release();
}
