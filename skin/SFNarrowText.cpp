#include "SFNarrowText.h"
#include <new>

CSFNarrowText::CSFNarrowText(LPCWSTR text, UINT codePage) : m_psz(NULL)
{
    if (text == NULL)
        text = L"";
    int n = ::WideCharToMultiByte(codePage, 0, text, -1, NULL, 0, NULL, NULL);
    if (n <= 0)
        n = 1;
    m_psz = new (std::nothrow) char[n];
    if (m_psz == NULL)
        return;
    if (::WideCharToMultiByte(codePage, 0, text, -1, m_psz, n, NULL, NULL) <= 0)
        m_psz[0] = 0;
    m_psz[n - 1] = 0; // terminated whatever the conversion wrote
}

CSFNarrowText& CSFNarrowText::operator=(CSFNarrowText&& other) noexcept
{
    if (this != &other)
    {
        delete[] m_psz;
        m_psz = other.m_psz;
        other.m_psz = NULL;
    }
    return *this;
}
