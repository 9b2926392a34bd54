// CBstr: owns one BSTR (system string allocator, UTF-16, length-prefixed)
// and frees it with SysFreeString. Every allocation that fails throws
// CMemoryException (which COleException::Process reports as E_OUTOFMEMORY).
// A NULL BSTR and an empty one both read as empty text.
#pragma once
#include "FwString.h"

class CBstr
{
  public:
    CBstr() : m_str(NULL) {}
    // Copy of NUL-terminated text (NULL stays NULL).
    CBstr(LPCWSTR psz);
    CBstr(LPCWSTR pch, UINT nLength);
    CBstr(const CString& s);
    CBstr(const CBstr& src);
    CBstr(CBstr&& src) noexcept : m_str(src.m_str) { src.m_str = NULL; }
    ~CBstr() { ::SysFreeString(m_str); }

    CBstr& operator=(const CBstr& src);
    CBstr& operator=(CBstr&& src) noexcept;
    CBstr& operator=(LPCWSTR psz);
    CBstr& operator=(const CString& s) { return *this = CBstr(s); }

    // Copy of another BSTR by its stored length (embedded NULs kept); no
    // copy is made when src is the BSTR already held.
    void AssignBstr(BSTR src);

    operator BSTR() const { return m_str; }
    UINT Length() const { return ::SysStringLen(m_str); }
    bool IsEmpty() const { return Length() == 0; }
    CString ToString() const { return CString(m_str, (int)Length()); }

    // Frees the held string and returns the address for an [out] BSTR.
    BSTR* Out();
    // New copy owned by the caller.
    BSTR Copy() const;
    void Attach(BSTR src);
    BSTR Detach();
    void Empty();

    BSTR m_str;

  private:
    static BSTR Alloc(LPCWSTR pch, UINT nLength);
};

// Format(L"%s", bstr) takes the text of a CBstr.
inline const wchar_t* FwFormatArg(const CBstr& b) { return b.m_str; }
