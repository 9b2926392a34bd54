#include "PlayerEventSink.h"
#include "PlayerHost.h"

namespace
{
volatile LONG g_moduleLocks = 0;

// The value of one event argument as a 32-bit number (16-bit values and
// VARIANT_BOOL widened with their sign).
LONG ArgumentValue(const VARIANTARG& arg)
{
    VARIANT v;
    VariantInit(&v);
    LONG value = 0;
    const VARIANT* source = &arg;
    if (arg.vt == (VT_BYREF | VT_VARIANT) && arg.pvarVal)
        source = arg.pvarVal;
    switch (source->vt)
    {
    case VT_I2:
        value = source->iVal;
        break;
    case VT_BOOL:
        value = source->boolVal;
        break;
    case VT_I4:
        value = source->lVal;
        break;
    default:
        if (SUCCEEDED(VariantChangeType(&v, const_cast<VARIANT*>(source), 0, VT_I4)))
            value = v.lVal;
        VariantClear(&v);
        break;
    }
    return value;
}
} // namespace

PlayerEventSink::PlayerEventSink(PlayerHost* host) : m_host(host)
{
    InterlockedIncrement(&g_moduleLocks);
}

PlayerEventSink::~PlayerEventSink()
{
    InterlockedDecrement(&g_moduleLocks);
}

LONG PlayerEventSink::ModuleLocks()
{
    return g_moduleLocks;
}

STDMETHODIMP PlayerEventSink::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IWMPEvents))
        *object = static_cast<IWMPEvents*>(this);
    else if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID__WMPOCXEvents))
        *object = static_cast<IDispatch*>(this);
    else
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) PlayerEventSink::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) PlayerEventSink::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP PlayerEventSink::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP PlayerEventSink::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

STDMETHODIMP PlayerEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP PlayerEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*)
{
    if (!params)
        return E_POINTER;
    if (params->cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    // Arguments arrive last first; the forwarded events take at most one.
    auto first = [params]() {
        return params->cArgs > 0 ? ArgumentValue(params->rgvarg[params->cArgs - 1]) : 0;
    };
    switch (id)
    {
    case 5001:
        OpenStateChange(first());
        break;
    case 5101:
        PlayStateChange(first());
        break;
    case 5402:
        Buffering(static_cast<VARIANT_BOOL>(first()));
        break;
    case 5501:
        Error();
        break;
    case 5821:
        MediaError(nullptr);
        break;
    default:
        break;
    }
    return DISP_E_MEMBERNOTFOUND;
}

void PlayerEventSink::Forward(long event, long value)
{
    if (m_host)
        m_host->Notify(event, value);
}

void STDMETHODCALLTYPE PlayerEventSink::OpenStateChange(LONG state)
{
    Forward(5001, state);
}

void STDMETHODCALLTYPE PlayerEventSink::PlayStateChange(LONG state)
{
    Forward(5101, state);
}

void STDMETHODCALLTYPE PlayerEventSink::Buffering(VARIANT_BOOL start)
{
    Forward(5402, static_cast<long>(static_cast<short>(start)));
}

void STDMETHODCALLTYPE PlayerEventSink::Error()
{
    Forward(5501, 0);
}

void STDMETHODCALLTYPE PlayerEventSink::MediaError(IDispatch*)
{
    Forward(5821, 0);
}
