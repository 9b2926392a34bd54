// Conversions between UTF-16 text and 8-bit text in a code page.
//
//   CStringA utf8 = FwToUtf8(wide);        CString wide = FwFromUtf8(bytes);
//   CStringA ansi = FwToAnsi(wide);        CString wide = FwFromAnsi(bytes);
//   CW2A(psz, CP_UTF8) / CA2W(psz, CP_UTF8) convert in an expression.
//
// The ANSI code page is CP_ACP (936, GBK, on the systems this program
// serves). Surrogate pairs survive UTF-8 round trips; characters a code page
// cannot hold become '?'.
#pragma once
#include "FwString.h"

inline CStringA FwToMultiByte(const wchar_t* psz, int nLength, UINT codePage)
{
    return CStringA(FwWideToMultiByte(psz, nLength, codePage));
}
inline CString FwFromMultiByte(const char* psz, int nLength, UINT codePage)
{
    return CString(FwMultiByteToWide(psz, nLength, codePage));
}
inline CStringA FwToUtf8(const wchar_t* psz, int nLength = -1)
{
    return FwToMultiByte(psz, nLength, CP_UTF8);
}
inline CString FwFromUtf8(const char* psz, int nLength = -1)
{
    return FwFromMultiByte(psz, nLength, CP_UTF8);
}
inline CStringA FwToAnsi(const wchar_t* psz, int nLength = -1)
{
    return FwToMultiByte(psz, nLength, CP_ACP);
}
inline CString FwFromAnsi(const char* psz, int nLength = -1)
{
    return FwFromMultiByte(psz, nLength, CP_ACP);
}

// Converted copy living for the enclosing expression (or as a local).
class CW2A
{
  public:
    explicit CW2A(const wchar_t* psz, UINT codePage = CP_ACP) : m_s(FwToMultiByte(psz, -1, codePage)) {}
    operator const char*() const { return m_s.GetString(); }
    const CStringA& String() const { return m_s; }

  private:
    CStringA m_s;
};

class CA2W
{
  public:
    explicit CA2W(const char* psz, UINT codePage = CP_ACP) : m_s(FwFromMultiByte(psz, -1, codePage)) {}
    operator const wchar_t*() const { return m_s.GetString(); }
    const CString& String() const { return m_s; }

  private:
    CString m_s;
};

typedef CW2A CT2A;
typedef CA2W CA2T;
