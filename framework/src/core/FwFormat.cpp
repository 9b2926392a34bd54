// printf-style formatting with the Windows C runtime's meaning of the
// conversions, for wide and 8-bit output alike. The compiler's own C library
// is not used for strings or integers because, in C99 mode, its wide "%s"
// means a narrow string; only floating-point digits come from snprintf.
#include "FwString.h"
#include <cstdio>
#include <cstring>

namespace
{
struct Spec
{
    bool left = false, plus = false, space = false, alt = false, zero = false;
    int width = 0;
    int precision = -1;
    enum Size
    {
        sizeDefault,
        sizeChar,
        sizeShort,
        sizeLong,
        sizeLongLong,
        sizeLongDouble
    } size = sizeDefault;
    int narrowWide = 0; // -1: h (narrow), +1: l/w (wide), 0: by conversion letter
};

template <typename C> void Pad(std::basic_string<C>& out, int n, C ch)
{
    if (n > 0)
        out.append((size_t)n, ch);
}

// Appends body with width padding; zero padding goes after the prefix.
template <typename C>
void Emit(std::basic_string<C>& out, const Spec& spec, const std::basic_string<C>& prefix,
          const std::basic_string<C>& body, bool zeroPad)
{
    int len = (int)(prefix.size() + body.size());
    int pad = spec.width > len ? spec.width - len : 0;
    if (spec.left)
    {
        out += prefix;
        out += body;
        Pad(out, pad, (C)' ');
    }
    else if (zeroPad)
    {
        out += prefix;
        Pad(out, pad, (C)'0');
        out += body;
    }
    else
    {
        Pad(out, pad, (C)' ');
        out += prefix;
        out += body;
    }
}

template <typename C> std::basic_string<C> Widen(const char* p)
{
    std::basic_string<C> s;
    for (; *p; ++p)
        s += (C)(unsigned char)*p;
    return s;
}

template <typename C>
void FormatInteger(std::basic_string<C>& out, const Spec& spec, char conv, va_list& args)
{
    unsigned long long magnitude = 0;
    bool negative = false;
    bool isSigned = conv == 'd' || conv == 'i';
    if (spec.size == Spec::sizeLongLong)
    {
        unsigned long long v = va_arg(args, unsigned long long);
        if (isSigned && (long long)v < 0)
        {
            negative = true;
            magnitude = 0ULL - v;
        }
        else
            magnitude = v;
    }
    else
    {
        unsigned int v = va_arg(args, unsigned int);
        if (spec.size == Spec::sizeShort)
            v = isSigned ? (unsigned int)(int)(short)v : (unsigned short)v;
        else if (spec.size == Spec::sizeChar)
            v = isSigned ? (unsigned int)(int)(signed char)v : (unsigned char)v;
        if (isSigned && (int)v < 0)
        {
            negative = true;
            magnitude = 0ULL - (unsigned long long)(long long)(int)v;
        }
        else
            magnitude = v;
    }

    unsigned base = conv == 'o' ? 8 : (conv == 'x' || conv == 'X') ? 16 : 10;
    const char* digits = conv == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char buf[32];
    int n = 0;
    for (unsigned long long v = magnitude; v; v /= base)
        buf[n++] = digits[v % base];
    std::basic_string<C> body;
    int minDigits = spec.precision < 0 ? 1 : spec.precision;
    for (int i = n; i < minDigits; ++i)
        body += (C)'0';
    for (int i = n - 1; i >= 0; --i)
        body += (C)buf[i];
    if (base == 8 && spec.alt && (body.empty() || body[0] != '0'))
        body.insert(body.begin(), (C)'0');

    std::basic_string<C> prefix;
    if (negative)
        prefix += (C)'-';
    else if (isSigned && spec.plus)
        prefix += (C)'+';
    else if (isSigned && spec.space)
        prefix += (C)' ';
    if (base == 16 && spec.alt && magnitude != 0)
        prefix += Widen<C>(conv == 'X' ? "0X" : "0x");
    Emit(out, spec, prefix, body, spec.zero && spec.precision < 0);
}

template <typename C> void FormatPointer(std::basic_string<C>& out, const Spec& spec, va_list& args)
{
    // Fixed-width upper-case hex, as the Windows runtime prints pointers.
    ULONG_PTR v = (ULONG_PTR)va_arg(args, void*);
    std::basic_string<C> body;
    for (int shift = (int)sizeof(v) * 8 - 4; shift >= 0; shift -= 4)
        body += (C) "0123456789ABCDEF"[(v >> shift) & 0xF];
    Emit(out, spec, std::basic_string<C>(), body, false);
}

template <typename C> void FormatFloat(std::basic_string<C>& out, const Spec& spec, char conv, va_list& args)
{
    char fmt[16];
    int i = 0;
    fmt[i++] = '%';
    if (spec.left)
        fmt[i++] = '-';
    if (spec.plus)
        fmt[i++] = '+';
    if (spec.space)
        fmt[i++] = ' ';
    if (spec.alt)
        fmt[i++] = '#';
    if (spec.zero)
        fmt[i++] = '0';
    fmt[i++] = '*';
    fmt[i++] = '.';
    fmt[i++] = '*';
    fmt[i++] = conv;
    fmt[i] = 0;
    double v = spec.size == Spec::sizeLongDouble ? (double)va_arg(args, long double) : va_arg(args, double);
    int precision = spec.precision < 0 ? 6 : spec.precision;
    char small[128];
    int n = snprintf(small, sizeof(small), fmt, spec.width, precision, v);
    if (n < 0)
        return;
    std::string text;
    if (n < (int)sizeof(small))
        text.assign(small, n);
    else
    {
        text.resize((size_t)n + 1);
        snprintf(&text[0], text.size(), fmt, spec.width, precision, v);
        text.resize((size_t)n);
    }
    for (char c : text)
        out += (C)(unsigned char)c;
}

// Text of a string argument in the output width.
inline void AppendText(std::wstring& out, const wchar_t* p, int maxChars)
{
    out.append(p, maxChars < 0 ? wcslen(p) : wcsnlen(p, (size_t)maxChars));
}
inline void AppendText(std::wstring& out, const char* p, int maxChars)
{
    out += FwMultiByteToWide(p, maxChars < 0 ? -1 : (int)strnlen(p, (size_t)maxChars), CP_ACP);
}
inline void AppendText(std::string& out, const char* p, int maxChars)
{
    out.append(p, maxChars < 0 ? strlen(p) : strnlen(p, (size_t)maxChars));
}
inline void AppendText(std::string& out, const wchar_t* p, int maxChars)
{
    out += FwWideToMultiByte(p, maxChars < 0 ? -1 : (int)wcsnlen(p, (size_t)maxChars), CP_ACP);
}

template <typename C> void FormatString(std::basic_string<C>& out, const Spec& spec, bool wide, va_list& args)
{
    std::basic_string<C> body;
    const void* p = va_arg(args, const void*);
    if (!p)
        body = Widen<C>("(null)");
    else if (wide)
        AppendText(body, (const wchar_t*)p, spec.precision);
    else
        AppendText(body, (const char*)p, spec.precision);
    if (spec.precision >= 0 && (int)body.size() > spec.precision)
        body.resize((size_t)spec.precision);
    Emit(out, spec, std::basic_string<C>(), body, spec.zero);
}

template <typename C> void FormatChar(std::basic_string<C>& out, const Spec& spec, bool wide, va_list& args)
{
    int v = va_arg(args, int);
    std::basic_string<C> body;
    if (wide)
    {
        wchar_t w[2] = {(wchar_t)v, 0};
        AppendText(body, w, 1);
    }
    else
    {
        char c[2] = {(char)v, 0};
        AppendText(body, c, 1);
    }
    Emit(out, spec, std::basic_string<C>(), body, spec.zero);
}

inline int ReadNumber(const wchar_t*& p)
{
    int n = 0;
    while (*p >= L'0' && *p <= L'9')
        n = n * 10 + (*p++ - L'0');
    return n;
}
inline int ReadNumber(const char*& p)
{
    int n = 0;
    while (*p >= '0' && *p <= '9')
        n = n * 10 + (*p++ - '0');
    return n;
}

template <typename C> void FormatAppend(std::basic_string<C>& out, const C* p, va_list& args)
{
    const bool outputWide = sizeof(C) == sizeof(wchar_t);
    while (*p)
    {
        if (*p != '%')
        {
            const C* run = p;
            while (*p && *p != '%')
                ++p;
            out.append(run, (size_t)(p - run));
            continue;
        }
        const C* start = p++;
        Spec spec;
        for (;; ++p)
        {
            if (*p == '-')
                spec.left = true;
            else if (*p == '+')
                spec.plus = true;
            else if (*p == ' ')
                spec.space = true;
            else if (*p == '#')
                spec.alt = true;
            else if (*p == '0')
                spec.zero = true;
            else
                break;
        }
        if (*p == '*')
        {
            ++p;
            spec.width = va_arg(args, int);
            if (spec.width < 0)
            {
                spec.left = true;
                spec.width = -spec.width;
            }
        }
        else
            spec.width = ReadNumber(p);
        if (*p == '.')
        {
            ++p;
            if (*p == '*')
            {
                ++p;
                spec.precision = va_arg(args, int);
                if (spec.precision < 0)
                    spec.precision = -1;
            }
            else
                spec.precision = ReadNumber(p);
        }
        // Size prefixes.
        if (*p == 'h')
        {
            ++p;
            spec.narrowWide = -1;
            spec.size = Spec::sizeShort;
            if (*p == 'h')
            {
                ++p;
                spec.size = Spec::sizeChar;
            }
        }
        else if (*p == 'l')
        {
            ++p;
            spec.narrowWide = 1;
            spec.size = Spec::sizeLong;
            if (*p == 'l')
            {
                ++p;
                spec.size = Spec::sizeLongLong;
            }
        }
        else if (*p == 'w')
        {
            ++p;
            spec.narrowWide = 1;
        }
        else if (*p == 'L')
        {
            ++p;
            spec.size = Spec::sizeLongDouble;
        }
        else if (*p == 'I')
        {
            if (p[1] == '6' && p[2] == '4')
            {
                p += 3;
                spec.size = Spec::sizeLongLong;
            }
            else if (p[1] == '3' && p[2] == '2')
                p += 3;
            else
                ++p; // pointer-sized: 32 bits here
        }
        else if (*p == 'j' || *p == 'q')
        {
            ++p;
            spec.size = Spec::sizeLongLong;
        }
        else if (*p == 'z' || *p == 't')
            ++p;

        C conv = *p;
        if (!conv)
        {
            out.append(start, (size_t)(p - start)); // unfinished spec: kept as text
            break;
        }
        ++p;
        switch (conv)
        {
        case 'd':
        case 'i':
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            if (spec.size == Spec::sizeLongDouble)
                spec.size = Spec::sizeLongLong;
            FormatInteger(out, spec, (char)conv, args);
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            FormatFloat(out, spec, (char)conv, args);
            break;
        case 'p':
            FormatPointer(out, spec, args);
            break;
        case 's':
        case 'S':
        case 'c':
        case 'C': {
            // Lower case means the output's own width, upper case the other one.
            bool wide =
                spec.narrowWide != 0 ? spec.narrowWide > 0 : ((conv == 's' || conv == 'c') == outputWide);
            if (conv == 's' || conv == 'S')
                FormatString(out, spec, wide, args);
            else
                FormatChar(out, spec, wide, args);
            break;
        }
        case 'n':
            (void)va_arg(args, void*); // writing through the argument is refused, as the runtime does
            break;
        case '%':
            out += (C)'%';
            break;
        default:
            out += conv;
            break;
        }
    }
}
} // namespace

void FwFormatAppendV(std::wstring& out, const wchar_t* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    FormatAppend(out, format, copy);
    va_end(copy);
}

void FwFormatAppendV(std::string& out, const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    FormatAppend(out, format, copy);
    va_end(copy);
}
