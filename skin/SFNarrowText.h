// A narrow copy of a wide text, owned by this holder and freed with it.
#pragma once
#include <FwDefs.h>

class CSFNarrowText
{
public:
    CSFNarrowText() : m_psz(NULL) {}
    // Converts with the code page (0: the system ANSI code page); characters
    // outside it become the system's replacement character.
    CSFNarrowText(LPCWSTR text, UINT codePage);
    ~CSFNarrowText() { delete[] m_psz; }
    CSFNarrowText(CSFNarrowText&& other) noexcept : m_psz(other.m_psz) { other.m_psz = NULL; }
    CSFNarrowText& operator=(CSFNarrowText&& other) noexcept;
    CSFNarrowText(const CSFNarrowText&) = delete;
    CSFNarrowText& operator=(const CSFNarrowText&) = delete;

    // The zero-terminated text; NULL only when memory was short.
    LPCSTR Get() const { return m_psz; }
    operator LPCSTR() const { return m_psz; }

private:
    char* m_psz;
};
