// Standard Base64 (RFC 4648) over 8-bit text. Requests whose values may hold
// user text send their key=value pairs as one field: the Base64 of the pairs'
// UTF-8 bytes behind a field prefix ("a=", "str=", "?str=").
#pragma once

#include <winsock2.h>
#include <windows.h>

class Base64Codec
{
  public:
    Base64Codec();

    // Base64 of length bytes, '='-padded and zero-terminated; out must hold
    // 4 * ceil(length / 3) + 1 bytes. Returns the characters written (0 for
    // missing arguments or length 0).
    int Encode(const BYTE* bytes, char* out, int length);
    // The number of data characters of text, or 0 when the text is malformed
    // (wrong length, misplaced '=', a character outside the alphabet).
    int CheckText(const char* text) const;
    // Decodes the data characters into out (3 bytes per 4 characters at most);
    // returns the byte count, 0 for a missing, empty or malformed text.
    int Decode(const char* text, BYTE* out);

  private:
    int m_nBits;
    DWORD m_dwBuffer;
    char m_alphabet[65];
    BYTE m_reverse[256];
    int m_nAlphabetSize;
};
