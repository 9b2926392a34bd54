#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <vector>

// One of the stand-in player's two event connection points: IWMPEvents (the
// vtable form) or _WMPOCXEvents (the dispatch form). It lives inside the
// player and shares its reference count.
class StandInConnectionPoint : public IConnectionPoint
{
  public:
    struct Sink
    {
        DWORD cookie;
        IUnknown* sink; // IWMPEvents* or IDispatch*, one reference held
    };

    StandInConnectionPoint(IConnectionPointContainer* owner, REFIID iid);
    ~StandInConnectionPoint();

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

    const IID& Iid() const { return m_iid; }
    // A copy of the advised sinks, each with a reference the caller releases,
    // so that a sink may unadvise while it is being called.
    std::vector<IUnknown*> Sinks() const;
    void UnadviseAll();

  private:
    IConnectionPointContainer* m_owner;
    IID m_iid;
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie = 1;
};
