// Text strings. CString holds UTF-16 text (wchar_t), CStringA 8-bit text
// (the ANSI code page or UTF-8, as the caller decides). Both are one class
// template over the character type; text of the other width given to a
// constructor or assignment is converted through the ANSI code page (CP_ACP).
//
// Format/FormatV/AppendFormat follow the Windows C runtime's printf meaning
// for the string's own width: in CString "%s" is a wide string and "%S" a
// narrow one, in CStringA "%s" is narrow and "%S" wide ("%hs" is always
// narrow, "%ls"/"%ws" always wide; likewise %c/%C). Integers take h, l, ll,
// I64, I32, I; flags - + space # 0, width and precision (also as *).
#pragma once
#include "FwDefs.h"
#include <cstdarg>
#include <functional>
#include <string>
#include <type_traits>

template <typename CharT> class CStringT;

// Arguments of Format: a CString goes in as its text pointer (so
// Format(L"%s", str) works); anything else must be a plain value, since an
// object with a copy constructor cannot travel through "...".
template <typename T> inline const T& FwFormatArg(const T& v)
{
    static_assert(std::is_trivially_copyable<T>::value,
                  "Format takes plain values, pointers and CStrings; pass other objects' text explicitly");
    return v;
}
inline const wchar_t* FwFormatArg(const CStringT<wchar_t>& s);
inline const char* FwFormatArg(const CStringT<char>& s);

// Character helpers for the two widths; YCHAR is the other width.
template <typename CharT> struct FwCharTraits;
template <> struct FwCharTraits<wchar_t>
{
    typedef char YCHAR;
};
template <> struct FwCharTraits<char>
{
    typedef wchar_t YCHAR;
};

// Code-page conversion (any code page Windows knows: CP_ACP, CP_UTF8, 936...).
// A length of -1 means "up to the terminating NUL". Surrogate pairs are kept
// whole; characters the target code page lacks become '?'.
std::wstring FwMultiByteToWide(const char* psz, int nLength, UINT codePage);
std::string FwWideToMultiByte(const wchar_t* psz, int nLength, UINT codePage);

// Appends formatted text (see the header comment) to out.
void FwFormatAppendV(std::wstring& out, const wchar_t* format, va_list args);
void FwFormatAppendV(std::string& out, const char* format, va_list args);

template <typename CharT> class CStringT
{
  public:
    typedef CharT XCHAR;
    typedef typename FwCharTraits<CharT>::YCHAR YCHAR;
    typedef CharT* PXSTR;
    typedef const CharT* PCXSTR;
    typedef const YCHAR* PCYSTR;
    typedef std::basic_string<CharT> StdString;

    CStringT() {}
    CStringT(const CStringT& s) : m_str(s.m_str) {}
    CStringT(CStringT&& s) noexcept : m_str(std::move(s.m_str)) {}
    // A resource id made with MAKEINTRESOURCE loads that string-table entry.
    CStringT(PCXSTR psz) { AssignOrLoad(psz); }
    CStringT(PCYSTR psz) { AssignOther(psz, -1); }
    CStringT(PCXSTR pch, int nLength) : m_str(pch && nLength > 0 ? StdString(pch, nLength) : StdString()) {}
    CStringT(PCYSTR pch, int nLength) { AssignOther(pch, nLength < 0 ? 0 : nLength); }
    explicit CStringT(XCHAR ch, int nRepeat = 1) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}
    explicit CStringT(YCHAR ch, int nRepeat = 1);
    CStringT(const StdString& s) : m_str(s) {}
    CStringT(StdString&& s) : m_str(std::move(s)) {}
    CStringT(const CStringT<YCHAR>& s) { AssignOther(s.GetString(), s.GetLength()); }

    CStringT& operator=(const CStringT& s)
    {
        m_str = s.m_str;
        return *this;
    }
    CStringT& operator=(CStringT&& s) noexcept
    {
        m_str = std::move(s.m_str);
        return *this;
    }
    CStringT& operator=(PCXSTR psz)
    {
        if (psz)
            m_str = psz;
        else
            m_str.clear();
        return *this;
    }
    CStringT& operator=(PCYSTR psz)
    {
        AssignOther(psz, -1);
        return *this;
    }
    CStringT& operator=(XCHAR ch)
    {
        m_str.assign(1, ch);
        return *this;
    }
    CStringT& operator=(const CStringT<YCHAR>& s)
    {
        AssignOther(s.GetString(), s.GetLength());
        return *this;
    }
    CStringT& operator=(const StdString& s)
    {
        m_str = s;
        return *this;
    }

    // Size and access. Index errors throw CInvalidArgException.
    int GetLength() const { return (int)m_str.size(); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    PCXSTR GetString() const { return m_str.c_str(); }
    operator PCXSTR() const { return m_str.c_str(); }
    const StdString& Std() const { return m_str; }
    XCHAR GetAt(int iChar) const;
    void SetAt(int iChar, XCHAR ch);
    XCHAR operator[](int iChar) const { return GetAt(iChar); }

    // Concatenation.
    CStringT& operator+=(const CStringT& s)
    {
        m_str += s.m_str;
        return *this;
    }
    CStringT& operator+=(PCXSTR psz)
    {
        if (psz)
            m_str += psz;
        return *this;
    }
    CStringT& operator+=(PCYSTR psz) { return *this += CStringT(psz); }
    CStringT& operator+=(XCHAR ch)
    {
        m_str += ch;
        return *this;
    }
    void Append(PCXSTR psz) { *this += psz; }
    void Append(PCXSTR pch, int nLength)
    {
        if (pch && nLength > 0)
            m_str.append(pch, nLength);
    }
    void Append(const CStringT& s) { m_str += s.m_str; }
    void AppendChar(XCHAR ch) { m_str += ch; }

    // Comparison: Compare is ordinal, CompareNoCase folds case first (for
    // CStringA only ASCII letters fold). Results are <0, 0 or >0.
    int Compare(PCXSTR psz) const;
    int CompareNoCase(PCXSTR psz) const;
    int Collate(PCXSTR psz) const;
    int CollateNoCase(PCXSTR psz) const;

    // Searching; positions are 0-based, -1 when not found.
    int Find(XCHAR ch, int iStart = 0) const;
    int Find(PCXSTR pszSub, int iStart = 0) const;
    int ReverseFind(XCHAR ch) const;
    int FindOneOf(PCXSTR pszCharSet) const;

    // Extraction (counts are clamped to the string).
    CStringT Left(int nCount) const;
    CStringT Mid(int iFirst) const;
    CStringT Mid(int iFirst, int nCount) const;
    CStringT Right(int nCount) const;
    CStringT SpanIncluding(PCXSTR pszCharSet) const;
    CStringT SpanExcluding(PCXSTR pszCharSet) const;
    // Next token after iStart delimited by any of pszTokens; iStart becomes
    // -1 (and the result empty) when no token is left.
    CStringT Tokenize(PCXSTR pszTokens, int& iStart) const;

    // Changes in place.
    CStringT& MakeLower();
    CStringT& MakeUpper();
    CStringT& MakeReverse();
    int Replace(XCHAR chOld, XCHAR chNew);
    int Replace(PCXSTR pszOld, PCXSTR pszNew);
    int Remove(XCHAR ch);
    int Insert(int iIndex, XCHAR ch);
    int Insert(int iIndex, PCXSTR psz);
    int Delete(int iIndex, int nCount = 1);
    CStringT& Trim();
    CStringT& Trim(XCHAR chTarget);
    CStringT& Trim(PCXSTR pszTargets);
    CStringT& TrimLeft();
    CStringT& TrimLeft(XCHAR chTarget);
    CStringT& TrimLeft(PCXSTR pszTargets);
    CStringT& TrimRight();
    CStringT& TrimRight(XCHAR chTarget);
    CStringT& TrimRight(PCXSTR pszTargets);

    // Formatting (see the header comment for the meaning of the specs).
    template <typename... Args> void Format(PCXSTR pszFormat, const Args&... args)
    {
        FormatC(pszFormat, FwFormatArg(args)...);
    }
    // The format comes from the string table.
    template <typename... Args> void Format(UINT nFormatID, const Args&... args)
    {
        CStringT format;
        format.LoadString(nFormatID);
        FormatC(format.GetString(), FwFormatArg(args)...);
    }
    template <typename... Args> void AppendFormat(PCXSTR pszFormat, const Args&... args)
    {
        AppendFormatC(pszFormat, FwFormatArg(args)...);
    }
    void FormatV(PCXSTR pszFormat, va_list args);
    void AppendFormatV(PCXSTR pszFormat, va_list args);
    // The same with C variable arguments (no conversion of CString arguments).
    void FormatC(PCXSTR pszFormat, ...);
    void AppendFormatC(PCXSTR pszFormat, ...);

    // Direct buffer access: GetBuffer(n) gives room for at least n characters
    // (plus the terminator); ReleaseBuffer(-1) takes the length up to the
    // first NUL, ReleaseBuffer(n) sets it to n.
    PXSTR GetBuffer();
    PXSTR GetBuffer(int nMinBufferLength);
    PXSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
    void Preallocate(int nLength)
    {
        if (nLength > 0)
            m_str.reserve(nLength);
    }
    void FreeExtra() { m_str.shrink_to_fit(); }

    // String-table entry of the resource module; FALSE when it is missing.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // Copy as a BSTR (UTF-16); throws CMemoryException when out of memory.
    BSTR AllocSysString() const;
    // Replaces *pbstr with a copy; throws CMemoryException when out of memory.
    BSTR SetSysString(BSTR* pbstr) const;

    // Hidden friends: they take CStringT or either character pointer without
    // ambiguity against the conversion to PCXSTR.
    friend CStringT operator+(const CStringT& a, const CStringT& b)
    {
        CStringT r(a);
        r.m_str += b.m_str;
        return r;
    }
    friend CStringT operator+(const CStringT& a, PCXSTR b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(PCXSTR a, const CStringT& b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(const CStringT& a, PCYSTR b) { return a + CStringT(b); }
    friend CStringT operator+(PCYSTR a, const CStringT& b) { return CStringT(a) + b; }
    friend CStringT operator+(const CStringT& a, XCHAR b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(XCHAR a, const CStringT& b)
    {
        CStringT r(a);
        r += b;
        return r;
    }

    friend bool operator==(const CStringT& a, const CStringT& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CStringT& a, PCXSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(PCXSTR a, const CStringT& b) { return b.Compare(a) == 0; }
    friend bool operator==(const CStringT& a, PCYSTR b) { return a == CStringT(b); }
    friend bool operator==(PCYSTR a, const CStringT& b) { return b == CStringT(a); }
    friend bool operator!=(const CStringT& a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, PCXSTR b) { return !(a == b); }
    friend bool operator!=(PCXSTR a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, PCYSTR b) { return !(a == b); }
    friend bool operator!=(PCYSTR a, const CStringT& b) { return !(a == b); }
    friend bool operator<(const CStringT& a, const CStringT& b) { return a.m_str < b.m_str; }
    friend bool operator<(const CStringT& a, PCXSTR b) { return a.Compare(b) < 0; }
    friend bool operator<(PCXSTR a, const CStringT& b) { return b.Compare(a) > 0; }
    friend bool operator>(const CStringT& a, const CStringT& b) { return b.m_str < a.m_str; }
    friend bool operator>(const CStringT& a, PCXSTR b) { return a.Compare(b) > 0; }
    friend bool operator>(PCXSTR a, const CStringT& b) { return b.Compare(a) < 0; }
    friend bool operator<=(const CStringT& a, const CStringT& b) { return !(b.m_str < a.m_str); }
    friend bool operator<=(const CStringT& a, PCXSTR b) { return a.Compare(b) <= 0; }
    friend bool operator<=(PCXSTR a, const CStringT& b) { return b.Compare(a) >= 0; }
    friend bool operator>=(const CStringT& a, const CStringT& b) { return !(a.m_str < b.m_str); }
    friend bool operator>=(const CStringT& a, PCXSTR b) { return a.Compare(b) >= 0; }
    friend bool operator>=(PCXSTR a, const CStringT& b) { return b.Compare(a) <= 0; }

  private:
    void AssignOther(PCYSTR psz, int nLength);
    void AssignOrLoad(PCXSTR psz);

    StdString m_str;
};

inline const wchar_t* FwFormatArg(const CStringT<wchar_t>& s)
{
    return s.GetString();
}
inline const char* FwFormatArg(const CStringT<char>& s)
{
    return s.GetString();
}

extern template class CStringT<wchar_t>;
extern template class CStringT<char>;

typedef CStringT<wchar_t> CString;
typedef CStringT<wchar_t> CStringW;
typedef CStringT<char> CStringA;

namespace std
{
template <typename CharT> struct hash<CStringT<CharT>>
{
    size_t operator()(const CStringT<CharT>& s) const { return hash<basic_string<CharT>>()(s.Std()); }
};
} // namespace std
