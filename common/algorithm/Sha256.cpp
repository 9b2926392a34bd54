#include "Sha256.h"

#include <string.h>

namespace
{

const DWORD kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

inline DWORD Rotr(DWORD x, int n)
{
    return (x >> n) | (x << (32 - n));
}

} // namespace

CSha256::CSha256()
{
    Reset();
}

void CSha256::Reset()
{
    static const DWORD initial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                     0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    memcpy(m_state, initial, sizeof(m_state));
    m_count = 0;
    memset(m_block, 0, sizeof(m_block));
}

void CSha256::Compress(const BYTE* block)
{
    DWORD w[64];
    for (int i = 0; i < 16; ++i)
        w[i] = (DWORD)block[i * 4] << 24 | (DWORD)block[i * 4 + 1] << 16 | (DWORD)block[i * 4 + 2] << 8 |
               block[i * 4 + 3];
    for (int i = 16; i < 64; ++i)
    {
        DWORD s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        DWORD s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    DWORD a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    DWORD e = m_state[4], f = m_state[5], g = m_state[6], h = m_state[7];
    for (int i = 0; i < 64; ++i)
    {
        DWORD t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
        DWORD t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
    m_state[5] += f;
    m_state[6] += g;
    m_state[7] += h;
}

void CSha256::Update(const void* bytes, DWORD length)
{
    const BYTE* p = (const BYTE*)bytes;
    while (length > 0)
    {
        DWORD used = (DWORD)(m_count % 64);
        DWORD n = 64 - used < length ? 64 - used : length;
        memcpy(m_block + used, p, n);
        m_count += n;
        p += n;
        length -= n;
        if (used + n == 64)
            Compress(m_block);
    }
}

void CSha256::Final(BYTE digest[32])
{
    unsigned long long bits = m_count * 8;
    BYTE pad = 0x80;
    Update(&pad, 1);
    pad = 0;
    while (m_count % 64 != 56)
        Update(&pad, 1);
    BYTE length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = (BYTE)(bits >> (56 - 8 * i));
    Update(length, 8);
    for (int i = 0; i < 8; ++i)
    {
        digest[i * 4] = (BYTE)(m_state[i] >> 24);
        digest[i * 4 + 1] = (BYTE)(m_state[i] >> 16);
        digest[i * 4 + 2] = (BYTE)(m_state[i] >> 8);
        digest[i * 4 + 3] = (BYTE)m_state[i];
    }
}

void FormatSha256Hex(const BYTE digest[32], wchar_t* out)
{
    static const wchar_t hex[] = L"0123456789abcdef";
    for (int i = 0; i < 32; ++i)
    {
        out[i * 2] = hex[digest[i] >> 4];
        out[i * 2 + 1] = hex[digest[i] & 15];
    }
    out[64] = 0;
}

BOOL ComputeFileSha256(LPCWSTR path, wchar_t out[65])
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    CSha256 sha;
    BYTE buffer[16384];
    DWORD got = 0;
    BOOL ok = TRUE;
    for (;;)
    {
        if (!ReadFile(file, buffer, sizeof(buffer), &got, nullptr))
        {
            ok = FALSE;
            break;
        }
        if (got == 0)
            break;
        sha.Update(buffer, got);
    }
    CloseHandle(file);
    if (!ok)
        return FALSE;
    BYTE digest[32];
    sha.Final(digest);
    FormatSha256Hex(digest, out);
    return TRUE;
}
