// CString / CStringA members and code-page conversion.
#include "FwString.h"
#include "FwException.h"
#include "FwModule.h"
#include <algorithm>
#include <cwctype>
#include <cstring>

std::wstring FwMultiByteToWide(const char* psz, int nLength, UINT codePage)
{
    if (!psz)
        return std::wstring();
    if (nLength < 0)
        nLength = (int)strlen(psz);
    if (nLength == 0)
        return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, psz, nLength, NULL, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring out(n, L'\0');
    MultiByteToWideChar(codePage, 0, psz, nLength, &out[0], n);
    return out;
}

std::string FwWideToMultiByte(const wchar_t* psz, int nLength, UINT codePage)
{
    if (!psz)
        return std::string();
    if (nLength < 0)
        nLength = (int)wcslen(psz);
    if (nLength == 0)
        return std::string();
    int n = WideCharToMultiByte(codePage, 0, psz, nLength, NULL, 0, NULL, NULL);
    if (n <= 0)
        return std::string();
    std::string out(n, '\0');
    WideCharToMultiByte(codePage, 0, psz, nLength, &out[0], n, NULL, NULL);
    return out;
}

namespace
{
// Width-specific primitives used by the template members below.
inline size_t Len(const wchar_t* p)
{
    return p ? wcslen(p) : 0;
}
inline size_t Len(const char* p)
{
    return p ? strlen(p) : 0;
}

inline bool IsSpace(wchar_t c)
{
    return iswspace(c) != 0;
}
inline bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Wide text folds case over the whole of Unicode (as the system does);
// 8-bit text folds ASCII letters only and leaves double-byte characters of
// the ANSI code page whole, so Chinese text in CStringA is never altered.
void ToLower(std::wstring& s)
{
    if (!s.empty())
        CharLowerBuffW(&s[0], (DWORD)s.size());
}
void ToUpper(std::wstring& s)
{
    if (!s.empty())
        CharUpperBuffW(&s[0], (DWORD)s.size());
}
template <bool upper> void FoldNarrow(std::string& s)
{
    for (size_t i = 0; i < s.size(); ++i)
    {
        unsigned char c = (unsigned char)s[i];
        if (c >= 0x80)
        {
            if (IsDBCSLeadByte(c) && i + 1 < s.size())
                ++i;
            continue;
        }
        if (upper && c >= 'a' && c <= 'z')
            s[i] = (char)(c - 'a' + 'A');
        else if (!upper && c >= 'A' && c <= 'Z')
            s[i] = (char)(c - 'A' + 'a');
    }
}
void ToLower(std::string& s)
{
    FoldNarrow<false>(s);
}
void ToUpper(std::string& s)
{
    FoldNarrow<true>(s);
}

inline int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

int CompareOrdinal(const std::wstring& a, const wchar_t* b)
{
    return Sign(wcscmp(a.c_str(), b ? b : L""));
}
int CompareOrdinal(const std::string& a, const char* b)
{
    return Sign(strcmp(a.c_str(), b ? b : ""));
}

int CompareFolded(const std::wstring& a, const wchar_t* b)
{
    std::wstring x(a), y(b ? b : L"");
    ToLower(x);
    ToLower(y);
    return Sign(wcscmp(x.c_str(), y.c_str()));
}
int CompareFolded(const std::string& a, const char* b)
{
    std::string x(a), y(b ? b : "");
    ToLower(x);
    ToLower(y);
    return Sign(strcmp(x.c_str(), y.c_str()));
}

int Collate(const wchar_t* a, const wchar_t* b, DWORD flags)
{
    int r = CompareStringW(LOCALE_USER_DEFAULT, flags, a, -1, b ? b : L"", -1);
    return r == 0 ? 0 : r - CSTR_EQUAL;
}
int Collate(const char* a, const char* b, DWORD flags)
{
    int r = CompareStringA(LOCALE_USER_DEFAULT, flags, a, -1, b ? b : "", -1);
    return r == 0 ? 0 : r - CSTR_EQUAL;
}

inline void Convert(std::wstring& out, const char* p, int n)
{
    out = FwMultiByteToWide(p, n, CP_ACP);
}
inline void Convert(std::string& out, const wchar_t* p, int n)
{
    out = FwWideToMultiByte(p, n, CP_ACP);
}

std::wstring LoadFromTable(HINSTANCE hInstance, UINT nID, bool& found)
{
    const wchar_t* p = NULL;
    int n = LoadStringW(hInstance, nID, (LPWSTR)&p, 0);
    found = n > 0 && p != NULL;
    return found ? std::wstring(p, n) : std::wstring();
}
} // namespace

template <typename CharT> CStringT<CharT>::CStringT(YCHAR ch, int nRepeat)
{
    if (nRepeat > 0)
    {
        YCHAR one[2] = {ch, 0};
        CStringT c(one);
        for (int i = 0; i < nRepeat; ++i)
            m_str += c.m_str;
    }
}

template <typename CharT> void CStringT<CharT>::AssignOther(PCYSTR psz, int nLength)
{
    if (!psz)
    {
        m_str.clear();
        return;
    }
    Convert(m_str, psz, nLength);
}

template <typename CharT> void CStringT<CharT>::AssignOrLoad(PCXSTR psz)
{
    if (psz && IS_INTRESOURCE(psz))
        LoadString((UINT)(ULONG_PTR)psz);
    else if (psz)
        m_str = psz;
}

template <typename CharT> CharT CStringT<CharT>::GetAt(int iChar) const
{
    ENSURE_ARG(iChar >= 0 && iChar <= GetLength()); // the terminator may be read
    return m_str.c_str()[iChar];
}

template <typename CharT> void CStringT<CharT>::SetAt(int iChar, XCHAR ch)
{
    ENSURE_ARG(iChar >= 0 && iChar < GetLength());
    m_str[iChar] = ch;
}

template <typename CharT> int CStringT<CharT>::Compare(PCXSTR psz) const
{
    return CompareOrdinal(m_str, psz);
}

template <typename CharT> int CStringT<CharT>::CompareNoCase(PCXSTR psz) const
{
    return CompareFolded(m_str, psz);
}

template <typename CharT> int CStringT<CharT>::Collate(PCXSTR psz) const
{
    return ::Collate(m_str.c_str(), psz, 0);
}

template <typename CharT> int CStringT<CharT>::CollateNoCase(PCXSTR psz) const
{
    return ::Collate(m_str.c_str(), psz, NORM_IGNORECASE);
}

template <typename CharT> int CStringT<CharT>::Find(XCHAR ch, int iStart) const
{
    if (iStart < 0 || iStart >= GetLength())
        return -1;
    size_t p = m_str.find(ch, iStart);
    return p == StdString::npos ? -1 : (int)p;
}

template <typename CharT> int CStringT<CharT>::Find(PCXSTR pszSub, int iStart) const
{
    if (!pszSub || iStart < 0 || iStart > GetLength())
        return -1;
    size_t p = m_str.find(pszSub, iStart);
    return p == StdString::npos ? -1 : (int)p;
}

template <typename CharT> int CStringT<CharT>::ReverseFind(XCHAR ch) const
{
    size_t p = m_str.rfind(ch);
    return p == StdString::npos ? -1 : (int)p;
}

template <typename CharT> int CStringT<CharT>::FindOneOf(PCXSTR pszCharSet) const
{
    if (!pszCharSet || !*pszCharSet)
        return -1;
    size_t p = m_str.find_first_of(pszCharSet);
    return p == StdString::npos ? -1 : (int)p;
}

template <typename CharT> CStringT<CharT> CStringT<CharT>::Left(int nCount) const
{
    if (nCount <= 0)
        return CStringT();
    return CStringT(m_str.substr(0, (size_t)nCount));
}

template <typename CharT> CStringT<CharT> CStringT<CharT>::Mid(int iFirst) const
{
    return Mid(iFirst, GetLength());
}

template <typename CharT> CStringT<CharT> CStringT<CharT>::Mid(int iFirst, int nCount) const
{
    if (iFirst < 0)
        iFirst = 0;
    if (nCount <= 0 || iFirst >= GetLength())
        return CStringT();
    return CStringT(m_str.substr((size_t)iFirst, (size_t)nCount));
}

template <typename CharT> CStringT<CharT> CStringT<CharT>::Right(int nCount) const
{
    if (nCount <= 0)
        return CStringT();
    if (nCount >= GetLength())
        return *this;
    return CStringT(m_str.substr(m_str.size() - nCount));
}

template <typename CharT> CStringT<CharT> CStringT<CharT>::SpanIncluding(PCXSTR pszCharSet) const
{
    if (!pszCharSet)
        return CStringT();
    size_t p = m_str.find_first_not_of(pszCharSet);
    return Left(p == StdString::npos ? GetLength() : (int)p);
}

template <typename CharT> CStringT<CharT> CStringT<CharT>::SpanExcluding(PCXSTR pszCharSet) const
{
    if (!pszCharSet || !*pszCharSet)
        return *this;
    size_t p = m_str.find_first_of(pszCharSet);
    return Left(p == StdString::npos ? GetLength() : (int)p);
}

template <typename CharT> CStringT<CharT> CStringT<CharT>::Tokenize(PCXSTR pszTokens, int& iStart) const
{
    if (iStart < 0 || iStart >= GetLength())
    {
        iStart = -1;
        return CStringT();
    }
    if (!pszTokens || !*pszTokens)
    {
        // No delimiters: the rest is one token (and the next call ends).
        CStringT rest = Mid(iStart);
        iStart = GetLength();
        return rest;
    }
    size_t from = m_str.find_first_not_of(pszTokens, (size_t)iStart);
    if (from == StdString::npos)
    {
        iStart = -1;
        return CStringT();
    }
    size_t to = m_str.find_first_of(pszTokens, from);
    if (to == StdString::npos)
        to = m_str.size();
    iStart = (int)to + 1;
    return CStringT(m_str.substr(from, to - from));
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::MakeLower()
{
    ToLower(m_str);
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::MakeUpper()
{
    ToUpper(m_str);
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

template <typename CharT> int CStringT<CharT>::Replace(XCHAR chOld, XCHAR chNew)
{
    int n = 0;
    for (auto& c : m_str)
    {
        if (c == chOld)
        {
            c = chNew;
            ++n;
        }
    }
    return n;
}

template <typename CharT> int CStringT<CharT>::Replace(PCXSTR pszOld, PCXSTR pszNew)
{
    size_t oldLen = Len(pszOld);
    if (oldLen == 0)
        return 0;
    StdString repl = pszNew ? pszNew : StdString();
    StdString out;
    int n = 0;
    size_t from = 0;
    for (size_t p; (p = m_str.find(pszOld, from, oldLen)) != StdString::npos; from = p + oldLen)
    {
        out.append(m_str, from, p - from);
        out += repl;
        ++n;
    }
    if (n)
    {
        out.append(m_str, from, StdString::npos);
        m_str.swap(out);
    }
    return n;
}

template <typename CharT> int CStringT<CharT>::Remove(XCHAR ch)
{
    size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return (int)(before - m_str.size());
}

template <typename CharT> int CStringT<CharT>::Insert(int iIndex, XCHAR ch)
{
    iIndex = std::max(0, std::min(iIndex, GetLength()));
    m_str.insert((size_t)iIndex, 1, ch);
    return GetLength();
}

template <typename CharT> int CStringT<CharT>::Insert(int iIndex, PCXSTR psz)
{
    iIndex = std::max(0, std::min(iIndex, GetLength()));
    if (psz)
        m_str.insert((size_t)iIndex, psz);
    return GetLength();
}

template <typename CharT> int CStringT<CharT>::Delete(int iIndex, int nCount)
{
    if (iIndex < 0)
        iIndex = 0;
    if (nCount > 0 && iIndex < GetLength())
        m_str.erase((size_t)iIndex, (size_t)nCount);
    return GetLength();
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && IsSpace(m_str[n - 1]))
        --n;
    m_str.resize(n);
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimLeft()
{
    size_t n = 0;
    while (n < m_str.size() && IsSpace(m_str[n]))
        ++n;
    m_str.erase(0, n);
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimRight(XCHAR chTarget)
{
    XCHAR set[2] = {chTarget, 0};
    return TrimRight(set);
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimLeft(XCHAR chTarget)
{
    XCHAR set[2] = {chTarget, 0};
    return TrimLeft(set);
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimRight(PCXSTR pszTargets)
{
    if (!pszTargets || !*pszTargets)
        return *this;
    size_t p = m_str.find_last_not_of(pszTargets);
    m_str.resize(p == StdString::npos ? 0 : p + 1);
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimLeft(PCXSTR pszTargets)
{
    if (!pszTargets || !*pszTargets)
        return *this;
    size_t p = m_str.find_first_not_of(pszTargets);
    m_str.erase(0, p == StdString::npos ? m_str.size() : p);
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::Trim()
{
    return TrimRight().TrimLeft();
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::Trim(XCHAR chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::Trim(PCXSTR pszTargets)
{
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

template <typename CharT> void CStringT<CharT>::FormatC(PCXSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

template <typename CharT> void CStringT<CharT>::AppendFormatC(PCXSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

template <typename CharT> void CStringT<CharT>::FormatV(PCXSTR pszFormat, va_list args)
{
    StdString out;
    if (pszFormat)
        FwFormatAppendV(out, pszFormat, args);
    m_str.swap(out);
}

template <typename CharT> void CStringT<CharT>::AppendFormatV(PCXSTR pszFormat, va_list args)
{
    if (pszFormat)
        FwFormatAppendV(m_str, pszFormat, args);
}

template <typename CharT> CharT* CStringT<CharT>::GetBuffer()
{
    return &m_str[0];
}

template <typename CharT> CharT* CStringT<CharT>::GetBuffer(int nMinBufferLength)
{
    if (nMinBufferLength > GetLength())
        m_str.resize((size_t)nMinBufferLength);
    return &m_str[0];
}

template <typename CharT> CharT* CStringT<CharT>::GetBufferSetLength(int nLength)
{
    m_str.resize(nLength > 0 ? (size_t)nLength : 0);
    return &m_str[0];
}

template <typename CharT> void CStringT<CharT>::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
    {
        size_t n = 0;
        while (n < m_str.size() && m_str[n] != 0)
            ++n;
        m_str.resize(n);
    }
    else
    {
        m_str.resize((size_t)nNewLength);
    }
}

template <typename CharT> BOOL CStringT<CharT>::LoadString(UINT nID)
{
    return LoadString(AfxFindStringResourceHandle(nID), nID);
}

template <typename CharT> BOOL CStringT<CharT>::LoadString(HINSTANCE hInstance, UINT nID)
{
    bool found = false;
    std::wstring text = LoadFromTable(hInstance, nID, found);
    if (!found)
        return FALSE;
    CStringT<wchar_t> wide(std::move(text));
    *this = wide;
    return TRUE;
}

template <typename CharT> BSTR CStringT<CharT>::AllocSysString() const
{
    std::wstring wide = CStringT<wchar_t>(*this).Std();
    BSTR b = SysAllocStringLen(wide.data(), (UINT)wide.size());
    if (!b)
        AfxThrowMemoryException();
    return b;
}

template <typename CharT> BSTR CStringT<CharT>::SetSysString(BSTR* pbstr) const
{
    ENSURE_ARG(pbstr != NULL);
    std::wstring wide = CStringT<wchar_t>(*this).Std();
    if (!SysReAllocStringLen(pbstr, wide.data(), (UINT)wide.size()))
        AfxThrowMemoryException();
    return *pbstr;
}

template class CStringT<wchar_t>;
template class CStringT<char>;
