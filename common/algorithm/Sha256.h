// SHA-256 (FIPS 180-4). The update manifest may carry the digest of each
// package, written as 64 hexadecimal characters, so that a package fetched
// over plain HTTP is checked before anything of it is installed.
#pragma once

#include <winsock2.h>
#include <windows.h>

class CSha256
{
  public:
    CSha256();
    void Reset();
    void Update(const void* bytes, DWORD length);
    // Pads and writes the 32-byte digest; the context must be reset before reuse.
    void Final(BYTE digest[32]);

  private:
    void Compress(const BYTE* block);

    DWORD m_state[8];
    unsigned long long m_count; // bytes so far
    BYTE m_block[64];
};

// 64 lower-case hexadecimal characters and a terminator; out holds 65.
void FormatSha256Hex(const BYTE digest[32], wchar_t* out);
// The digest of a whole file as FormatSha256Hex writes it; FALSE when the
// file cannot be read.
BOOL ComputeFileSha256(LPCWSTR path, wchar_t out[65]);
