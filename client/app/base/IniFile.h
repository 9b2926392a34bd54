// Typed access to one private-profile (INI) file. Every value is stored as
// text: integers in bases 2, 8, 10 and 16, booleans as "1"/"0" (read as
// "true", "yes" or a non-zero number), byte blocks as "%02X" pairs, rectangles
// as a 16-byte block.
#pragma once

#include "Framework.h"

class CIniFile
{
  public:
    CIniFile();
    explicit CIniFile(LPCWSTR path);
    virtual ~CIniFile();

    // A non-null path replaces the stored one; a null path empties it.
    void SetFileName(LPCWSTR path);
    LPCWSTR GetFileName() const { return m_pszPath ? m_pszPath : L""; }

    // A new buffer (free with delete[]) holding the value, or the default.
    LPWSTR GetStringBuffer(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue) const;
    CString GetString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue = nullptr) const;
    DWORD GetInt(LPCWSTR section, LPCWSTR key, DWORD defaultValue, int base = 10) const;
    BOOL GetBool(LPCWSTR section, LPCWSTR key, BOOL defaultValue) const;
    // Bytes of a "%02X" block from startByte on; with a null buffer the number
    // of bytes available. 0 when the value holds a non-hex character.
    DWORD GetBinary(LPCWSTR section, LPCWSTR key, LPBYTE buffer, DWORD bufferSize, DWORD startByte = 0) const;
    void GetRect(LPCWSTR section, LPCWSTR key, long& left, long& top, long& right, long& bottom) const;

    BOOL WriteString(LPCWSTR section, LPCWSTR key, LPCWSTR value);
    BOOL WriteInt(LPCWSTR section, LPCWSTR key, int value, int base = 10);
    BOOL WriteUInt(LPCWSTR section, LPCWSTR key, UINT value, int base = 10);
    BOOL WriteBool(LPCWSTR section, LPCWSTR key, BOOL flag);
    BOOL WriteBinary(LPCWSTR section, LPCWSTR key, const BYTE* data, DWORD length);
    BOOL WriteRect(LPCWSTR section, LPCWSTR key, long left, long top, long right, long bottom);
    BOOL DeleteSection(LPCWSTR section);
    BOOL DeleteKey(LPCWSTR section, LPCWSTR key);

    // "true"/"yes" (any case) give 1; an empty text the default; else whether
    // the decimal value is non-zero.
    static BOOL ParseProfileBool(LPCWSTR text, BOOL defaultValue);

  private:
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;
    CString ReadShort(LPCWSTR section, LPCWSTR key) const;
    BOOL WriteNumber(LPCWSTR section, LPCWSTR key, unsigned long value, int base, bool isSigned);

    LPWSTR m_pszPath;
};
