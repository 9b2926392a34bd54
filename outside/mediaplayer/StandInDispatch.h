#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>

class StandInPlayer;
// The player's own reference count and interfaces, for its sub-objects.
HRESULT StandInPlayerQueryInterface(StandInPlayer* player, REFIID riid, void** object);
ULONG StandInPlayerAddRef(StandInPlayer* player);
ULONG StandInPlayerRelease(StandInPlayer* player);

// Out-parameters of the stand-in's properties.
inline HRESULT OutText(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

inline HRESULT OutBool(bool value, VARIANT_BOOL* out)
{
    if (!out)
        return E_POINTER;
    *out = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

template <class T, class V> HRESULT OutValue(V value, T* out)
{
    if (!out)
        return E_POINTER;
    *out = static_cast<T>(value);
    return S_OK;
}

// The stand-in player's objects are used through their vtables only; their
// IDispatch side answers that it has no type information.
#define STANDIN_NO_DISPATCH                                                                                  \
    STDMETHODIMP GetTypeInfoCount(UINT*) override                                                            \
    {                                                                                                        \
        return E_NOTIMPL;                                                                                    \
    }                                                                                                        \
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override                                               \
    {                                                                                                        \
        return E_NOTIMPL;                                                                                    \
    }                                                                                                        \
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override                              \
    {                                                                                                        \
        return E_NOTIMPL;                                                                                    \
    }                                                                                                        \
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override       \
    {                                                                                                        \
        return E_NOTIMPL;                                                                                    \
    }

// Sub-objects live inside the player and share its reference count.
#define STANDIN_TEAR_OFF(Interface)                                                                          \
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override                                         \
    {                                                                                                        \
        if (!object)                                                                                         \
            return E_POINTER;                                                                                \
        if (IsEqualIID(riid, IID_##Interface) || IsEqualIID(riid, IID_IDispatch))                            \
        {                                                                                                    \
            *object = static_cast<Interface*>(this);                                                         \
            AddRef();                                                                                        \
            return S_OK;                                                                                     \
        }                                                                                                    \
        return StandInPlayerQueryInterface(m_player, riid, object);                                          \
    }                                                                                                        \
    STDMETHODIMP_(ULONG) AddRef() override                                                                   \
    {                                                                                                        \
        return StandInPlayerAddRef(m_player);                                                                \
    }                                                                                                        \
    STDMETHODIMP_(ULONG) Release() override                                                                  \
    {                                                                                                        \
        return StandInPlayerRelease(m_player);                                                               \
    }
