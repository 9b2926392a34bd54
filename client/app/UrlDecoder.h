// Decoding of the arguments of page commands that the embedded browser hands
// to the client ("%XX" escapes, '+' for a space, CJK text as three-byte
// UTF-8), and the form URL-encoder of the login, song-hash and browser
// requests.
#pragma once

#include "Framework.h"

class CUrlDecoder
{
  public:
    CUrlDecoder() {}

    // text -> ANSI code page -> DecodeBytes -> back to UTF-16.
    CString Decode(LPCWSTR text) const;
    // PercentDecode, then Utf8ToAnsi up to the first zero byte.
    CStringA DecodeBytes(const char* bytes) const;
    // "%XX" to the byte, '+' to a space; every other byte copied. A '%' near
    // the end takes the missing characters as non-digits.
    CStringA PercentDecode(const char* bytes) const;
    // Two hex digits of either case; a non-digit first character counts as F,
    // a non-digit second one makes the result FF.
    static BYTE HexPairToByte(char high, char low);
    // Bytes below 128 copied; each byte from 128 up starts a three-byte UTF-8
    // sequence whose character is written in the ANSI code page. A sequence cut
    // off by the end takes the missing bytes as 0 (nothing is read past length).
    CStringA Utf8ToAnsi(const char* bytes, int length) const;
};

// Form encoding of a zero-terminated byte string: ' ' -> '+', letters, digits
// and "-_.!~*'()" copied, every other byte "%XX" (upper case). out is always
// zero-terminated; an escape that does not fit in outSize is not started.
// Returns the length written.
int UrlEncodeForm(const char* bytes, char* out, int outSize);
