// BSTR holder.
#include "FwBstr.h"
#include "FwException.h"
#include <utility>

BSTR CBstr::Alloc(LPCWSTR pch, UINT nLength)
{
    BSTR b = ::SysAllocStringLen(pch, nLength);
    if (!b)
        AfxThrowMemoryException();
    return b;
}

CBstr::CBstr(LPCWSTR psz) : m_str(psz ? Alloc(psz, (UINT)wcslen(psz)) : NULL) {}

CBstr::CBstr(LPCWSTR pch, UINT nLength) : m_str(Alloc(pch, nLength)) {}

CBstr::CBstr(const CString& s) : m_str(Alloc(s.GetString(), (UINT)s.GetLength())) {}

CBstr::CBstr(const CBstr& src) : m_str(src.m_str ? Alloc(src.m_str, src.Length()) : NULL) {}

CBstr& CBstr::operator=(const CBstr& src)
{
    AssignBstr(src.m_str);
    return *this;
}

CBstr& CBstr::operator=(CBstr&& src) noexcept
{
    std::swap(m_str, src.m_str);
    return *this;
}

CBstr& CBstr::operator=(LPCWSTR psz)
{
    if (psz != m_str)
    {
        BSTR b = psz ? Alloc(psz, (UINT)wcslen(psz)) : NULL;
        ::SysFreeString(m_str);
        m_str = b;
    }
    return *this;
}

void CBstr::AssignBstr(BSTR src)
{
    if (src == m_str)
        return;
    BSTR b = src ? Alloc(src, ::SysStringLen(src)) : NULL;
    ::SysFreeString(m_str);
    m_str = b;
}

BSTR* CBstr::Out()
{
    Empty();
    return &m_str;
}

BSTR CBstr::Copy() const
{
    return Alloc(m_str, Length());
}

void CBstr::Attach(BSTR src)
{
    if (src != m_str)
    {
        ::SysFreeString(m_str);
        m_str = src;
    }
}

BSTR CBstr::Detach()
{
    BSTR b = m_str;
    m_str = NULL;
    return b;
}

void CBstr::Empty()
{
    ::SysFreeString(m_str);
    m_str = NULL;
}
