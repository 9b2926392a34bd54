// The three blits of MSIMG32, looked up by name once per process; each may
// be missing (all are where the library is), and callers then use the
// framework's own fallbacks.
#pragma once
#include <FwDefs.h>

class MsImgLibrary
{
public:
    typedef BOOL(WINAPI* GradientFillFn)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    typedef BOOL(WINAPI* AlphaBlendFn)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    typedef BOOL(WINAPI* TransparentBltFn)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

    // Loads the named library (tests name one that lacks the blits).
    explicit MsImgLibrary(LPCWSTR libraryName = L"msimg32.dll");
    ~MsImgLibrary();
    MsImgLibrary(const MsImgLibrary&) = delete;
    MsImgLibrary& operator=(const MsImgLibrary&) = delete;

    GradientFillFn GradientFill() const { return m_pfnGradientFill; }
    AlphaBlendFn AlphaBlend() const { return m_pfnAlphaBlend; }
    TransparentBltFn TransparentBlt() const { return m_pfnTransparentBlt; }

private:
    HMODULE m_hModule;
    GradientFillFn m_pfnGradientFill;
    AlphaBlendFn m_pfnAlphaBlend;
    TransparentBltFn m_pfnTransparentBlt;
};

const MsImgLibrary& GetMsImgLibrary();
