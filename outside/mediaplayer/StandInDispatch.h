#pragma once
#include <windows.h>

// The stand-in player's objects are used through their vtables only; their
// IDispatch side answers that it has no type information.
#define STANDIN_NO_DISPATCH                                                                                   \
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }                                      \
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }                         \
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }        \
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override        \
    {                                                                                                         \
        return E_NOTIMPL;                                                                                     \
    }

// Sub-objects live inside the player and share its reference count.
#define STANDIN_TEAR_OFF(Interface)                                                                           \
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override                                          \
    {                                                                                                         \
        if (!object)                                                                                          \
            return E_POINTER;                                                                                 \
        if (IsEqualIID(riid, IID_##Interface) || IsEqualIID(riid, IID_IDispatch))                             \
        {                                                                                                     \
            *object = static_cast<Interface*>(this);                                                          \
            AddRef();                                                                                         \
            return S_OK;                                                                                      \
        }                                                                                                     \
        return OuterQueryInterface(riid, object);                                                             \
    }                                                                                                         \
    STDMETHODIMP_(ULONG) AddRef() override { return OuterAddRef(); }                                          \
    STDMETHODIMP_(ULONG) Release() override { return OuterRelease(); }
