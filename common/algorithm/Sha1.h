// SHA-1 (FIPS 180-1) and the Base32 names made from its digests. Songs,
// playlist files and module versions are named by 32 Base32 characters of a
// digest whose four-byte groups are written least significant byte first.
#pragma once

#include <winsock2.h>
#include <windows.h>

class CSha1
{
  public:
    CSha1();
    void Reset();
    void Update(const void* bytes, DWORD length);
    // Pads and finishes; the digest field then holds the standard digest. The
    // context is not reset: a later Update goes on from the padded state.
    void Final();
    // The digest with the bytes of each 32-bit group reversed; every name in
    // the system is made from these bytes.
    void GetDigest(BYTE out[20]) const;

    BYTE m_digest[20];
    DWORD m_count[2]; // byte count, low then high
    DWORD m_state[5];
    BYTE m_block[64];

  private:
    void Compress(const BYTE* block);
};

// 32 Base32 characters (RFC 4648 alphabet, no padding) of 20 bytes; with
// withPrefix set, preceded by "urn:sha1:". out must hold 42 characters.
void FormatSha1Base32(const BYTE digest[20], BOOL withPrefix, wchar_t* out);
// Parses the first 32 characters (either case); 0 and out untouched for a
// missing or short text, a foreign character or the all-'A' name.
BOOL ParseSha1Base32(const wchar_t* text, BYTE out[20]);
