#include "IniFile.h"

#include <stdlib.h>
#include <wchar.h>

namespace
{

// Room of the number texts (64 binary digits and a terminating zero fit).
const int kNumberBufferSize = 70;
// Values read for numbers and booleans are cut to this many characters.
const int kShortValueLength = 64;

bool IsHexDigit(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return c - L'A' + 10;
}

} // namespace

CIniFile::CIniFile() : m_pszPath(nullptr)
{
}

CIniFile::CIniFile(LPCWSTR path) : m_pszPath(nullptr)
{
    SetFileName(path);
}

CIniFile::~CIniFile()
{
    delete[] m_pszPath;
}

void CIniFile::SetFileName(LPCWSTR path)
{
    // The old copy is freed in both cases (a null path used to leak it).
    delete[] m_pszPath;
    m_pszPath = nullptr;
    if (path)
    {
        size_t n = wcslen(path);
        m_pszPath = new wchar_t[n + 1];
        wmemcpy(m_pszPath, path, n + 1);
    }
}

LPWSTR CIniFile::GetStringBuffer(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue) const
{
    if (!defaultValue)
        defaultValue = L"";
    if (!section || !key)
    {
        size_t n = wcslen(defaultValue);
        LPWSTR copy = new wchar_t[n + 1];
        wmemcpy(copy, defaultValue, n + 1);
        return copy;
    }
    DWORD size = 512;
    for (;;)
    {
        LPWSTR buffer = new wchar_t[size];
        buffer[0] = 0;
        DWORD length = GetPrivateProfileStringW(section, key, defaultValue, buffer, size, GetFileName());
        if (length + 1 < size)
            return buffer;
        delete[] buffer;
        size += 512;
    }
}

CString CIniFile::GetString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue) const
{
    LPWSTR buffer = GetStringBuffer(section, key, defaultValue);
    CString result(buffer);
    delete[] buffer;
    return result;
}

CString CIniFile::ReadShort(LPCWSTR section, LPCWSTR key) const
{
    CString value = GetString(section, key, L"");
    if (value.GetLength() > kShortValueLength)
        value = value.Left(kShortValueLength);
    return value;
}

DWORD CIniFile::GetInt(LPCWSTR section, LPCWSTR key, DWORD defaultValue, int base) const
{
    CString value = ReadShort(section, key);
    if (value.IsEmpty())
        return defaultValue;
    if (base != 2 && base != 8 && base != 16)
        base = 10;
    return wcstoul(value, nullptr, base);
}

BOOL CIniFile::ParseProfileBool(LPCWSTR text, BOOL defaultValue)
{
    if (!text || !*text)
        return defaultValue;
    if (_wcsicmp(text, L"true") == 0 || _wcsicmp(text, L"yes") == 0)
        return TRUE;
    return wcstol(text, nullptr, 10) != 0 ? TRUE : FALSE;
}

BOOL CIniFile::GetBool(LPCWSTR section, LPCWSTR key, BOOL defaultValue) const
{
    return ParseProfileBool(ReadShort(section, key), defaultValue);
}

DWORD CIniFile::GetBinary(LPCWSTR section, LPCWSTR key, LPBYTE buffer, DWORD bufferSize, DWORD startByte) const
{
    CString value = GetString(section, key, L"");
    DWORD n = (DWORD)value.GetLength() / 2;
    if (startByte >= n)
        return 0;
    LPCWSTR text = value;
    for (int i = 0; i < value.GetLength(); ++i)
        if (!IsHexDigit(text[i]))
            return 0;
    DWORD available = n - startByte;
    if (!buffer)
        return available;
    DWORD count = available < bufferSize ? available : bufferSize;
    for (DWORD i = 0; i < count; ++i)
    {
        LPCWSTR pair = text + 2 * (startByte + i);
        buffer[i] = (BYTE)((HexValue(pair[0]) << 4) | HexValue(pair[1]));
    }
    return count;
}

void CIniFile::GetRect(LPCWSTR section, LPCWSTR key, long& left, long& top, long& right, long& bottom) const
{
    BYTE bytes[16];
    if (GetBinary(section, key, bytes, 16, 0) != 16)
        return;
    long values[4];
    for (int i = 0; i < 4; ++i)
        values[i] = (long)((DWORD)bytes[i * 4] | ((DWORD)bytes[i * 4 + 1] << 8) | ((DWORD)bytes[i * 4 + 2] << 16) |
                           ((DWORD)bytes[i * 4 + 3] << 24));
    left = values[0];
    top = values[1];
    right = values[2];
    bottom = values[3];
}

BOOL CIniFile::WriteString(LPCWSTR section, LPCWSTR key, LPCWSTR value)
{
    if (!section || !key)
        return FALSE;
    return WritePrivateProfileStringW(section, key, value ? value : L"", GetFileName());
}

BOOL CIniFile::WriteNumber(LPCWSTR section, LPCWSTR key, unsigned long value, int base, bool isSigned)
{
    wchar_t text[kNumberBufferSize] = {};
    switch (base)
    {
    case 2: {
        // Lowest bit first, then reversed.
        int n = 0;
        do
        {
            text[n++] = (value & 1) ? L'1' : L'0';
            value >>= 1;
        } while (value != 0 && n < 64);
        for (int i = 0; i < n / 2; ++i)
        {
            wchar_t c = text[i];
            text[i] = text[n - 1 - i];
            text[n - 1 - i] = c;
        }
        text[n] = 0;
        break;
    }
    case 8:
        swprintf(text, kNumberBufferSize, L"%lo", value);
        break;
    case 16:
        swprintf(text, kNumberBufferSize, L"%lX", value);
        break;
    default:
        if (isSigned)
            swprintf(text, kNumberBufferSize, L"%ld", (long)value);
        else
            swprintf(text, kNumberBufferSize, L"%lu", value);
    }
    return WriteString(section, key, text);
}

BOOL CIniFile::WriteInt(LPCWSTR section, LPCWSTR key, int value, int base)
{
    return WriteNumber(section, key, (unsigned long)value, base, true);
}

BOOL CIniFile::WriteUInt(LPCWSTR section, LPCWSTR key, UINT value, int base)
{
    return WriteNumber(section, key, (unsigned long)value, base, false);
}

BOOL CIniFile::WriteBool(LPCWSTR section, LPCWSTR key, BOOL flag)
{
    return WriteString(section, key, flag ? L"1" : L"0");
}

BOOL CIniFile::WriteBinary(LPCWSTR section, LPCWSTR key, const BYTE* data, DWORD length)
{
    if (!data || !section || !key)
        return FALSE;
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    CString text;
    LPWSTR p = text.GetBuffer((int)length * 2 + 1);
    for (DWORD i = 0; i < length; ++i)
    {
        p[i * 2] = kDigits[data[i] >> 4];
        p[i * 2 + 1] = kDigits[data[i] & 15];
    }
    p[length * 2] = 0;
    text.ReleaseBuffer((int)length * 2);
    return WriteString(section, key, text);
}

BOOL CIniFile::WriteRect(LPCWSTR section, LPCWSTR key, long left, long top, long right, long bottom)
{
    long values[4] = {left, top, right, bottom};
    BYTE bytes[16];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            bytes[i * 4 + j] = (BYTE)((DWORD)values[i] >> (8 * j));
    return WriteBinary(section, key, bytes, 16);
}

BOOL CIniFile::DeleteSection(LPCWSTR section)
{
    if (!section)
        return FALSE;
    return WritePrivateProfileStringW(section, nullptr, nullptr, GetFileName());
}

BOOL CIniFile::DeleteKey(LPCWSTR section, LPCWSTR key)
{
    if (!section || !key)
        return FALSE;
    return WritePrivateProfileStringW(section, key, nullptr, GetFileName());
}
