// Instance and resource handles of the current module.
#include "FwModule.h"

extern "C" IMAGE_DOS_HEADER __ImageBase; // start of the module this code is linked into

namespace
{
HINSTANCE g_hInstance = NULL;
HINSTANCE g_hResource = NULL;
inline HINSTANCE ThisModule()
{
    return (HINSTANCE)&__ImageBase;
}
} // namespace

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    return g_hInstance ? g_hInstance : ThisModule();
}

void AFXAPI AfxSetInstanceHandle(HINSTANCE hInstance)
{
    g_hInstance = hInstance;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    return g_hResource ? g_hResource : AfxGetInstanceHandle();
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstance)
{
    g_hResource = hInstance;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType)
{
    HINSTANCE hRes = AfxGetResourceHandle();
    if (FindResourceW(hRes, lpszName, lpszType))
        return hRes;
    return AfxGetInstanceHandle();
}

HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID)
{
    // Strings are stored in blocks of 16 per resource.
    return AfxFindResourceHandle(MAKEINTRESOURCEW((nID >> 4) + 1), (LPCWSTR)RT_STRING);
}
