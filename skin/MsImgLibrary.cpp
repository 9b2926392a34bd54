#include "MsImgLibrary.h"

MsImgLibrary::MsImgLibrary(LPCWSTR libraryName)
    : m_hModule(::LoadLibraryW(libraryName)), m_pfnGradientFill(NULL), m_pfnAlphaBlend(NULL),
      m_pfnTransparentBlt(NULL)
{
    if (m_hModule == NULL)
        return;
    m_pfnGradientFill = (GradientFillFn)(void*)::GetProcAddress(m_hModule, "GradientFill");
    m_pfnAlphaBlend = (AlphaBlendFn)(void*)::GetProcAddress(m_hModule, "AlphaBlend");
    m_pfnTransparentBlt = (TransparentBltFn)(void*)::GetProcAddress(m_hModule, "TransparentBlt");
}

MsImgLibrary::~MsImgLibrary()
{
    if (m_hModule)
        ::FreeLibrary(m_hModule);
}

const MsImgLibrary& GetMsImgLibrary()
{
    static const MsImgLibrary library;
    return library;
}
