#include "Sha1.h"

#include <string.h>

namespace
{

inline DWORD Rol(DWORD v, int n)
{
    return (v << n) | (v >> (32 - n));
}

const char kBase32Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";

} // namespace

CSha1::CSha1()
{
    memset(m_digest, 0, sizeof(m_digest));
    Reset();
}

void CSha1::Reset()
{
    m_count[0] = m_count[1] = 0;
    m_state[0] = 0x67452301;
    m_state[1] = 0xEFCDAB89;
    m_state[2] = 0x98BADCFE;
    m_state[3] = 0x10325476;
    m_state[4] = 0xC3D2E1F0;
    memset(m_block, 0, sizeof(m_block));
}

void CSha1::Compress(const BYTE* block)
{
    DWORD w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = ((DWORD)block[i * 4] << 24) | ((DWORD)block[i * 4 + 1] << 16) | ((DWORD)block[i * 4 + 2] << 8) |
               block[i * 4 + 3];
    for (int i = 16; i < 80; ++i)
        w[i] = Rol(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    DWORD a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3], e = m_state[4];
    for (int i = 0; i < 80; ++i)
    {
        DWORD f, k;
        if (i < 20)
            f = (b & c) | (~b & d), k = 0x5A827999;
        else if (i < 40)
            f = b ^ c ^ d, k = 0x6ED9EBA1;
        else if (i < 60)
            f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
        else
            f = b ^ c ^ d, k = 0xCA62C1D6;
        DWORD t = Rol(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = Rol(b, 30);
        b = a;
        a = t;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
}

void CSha1::Update(const void* bytes, DWORD length)
{
    if (!bytes || length == 0)
        return;
    const BYTE* p = static_cast<const BYTE*>(bytes);
    DWORD used = m_count[0] & 63;
    DWORD low = m_count[0] + length;
    if (low < m_count[0])
        ++m_count[1];
    m_count[0] = low;
    if (used)
    {
        DWORD take = 64 - used;
        if (take > length)
            take = length;
        memcpy(m_block + used, p, take);
        p += take;
        length -= take;
        if (used + take < 64)
            return;
        Compress(m_block);
    }
    while (length >= 64)
    {
        Compress(p);
        p += 64;
        length -= 64;
    }
    if (length)
        memcpy(m_block, p, length);
}

void CSha1::Final()
{
    DWORD low = m_count[0], high = m_count[1];
    BYTE bits[8];
    DWORD bitHigh = (high << 3) | (low >> 29), bitLow = low << 3;
    for (int i = 0; i < 4; ++i)
    {
        bits[i] = (BYTE)(bitHigh >> (24 - 8 * i));
        bits[4 + i] = (BYTE)(bitLow >> (24 - 8 * i));
    }
    static const BYTE kPad[64] = {0x80};
    DWORD used = low & 63;
    DWORD padLength = (used < 56) ? 56 - used : 120 - used;
    Update(kPad, padLength);
    Update(bits, 8);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j)
            m_digest[i * 4 + j] = (BYTE)(m_state[i] >> (24 - 8 * j));
}

void CSha1::GetDigest(BYTE out[20]) const
{
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j)
            out[i * 4 + j] = m_digest[i * 4 + 3 - j];
}

void FormatSha1Base32(const BYTE digest[20], BOOL withPrefix, wchar_t* out)
{
    wchar_t* p = out;
    if (withPrefix)
        for (const wchar_t* s = L"urn:sha1:"; *s; ++s)
            *p++ = *s;
    // 160 bits in 32 groups of 5, most significant bit first.
    for (int i = 0; i < 32; ++i)
    {
        int bit = i * 5;
        int value = 0;
        for (int k = 0; k < 5; ++k, ++bit)
            value = (value << 1) | ((digest[bit >> 3] >> (7 - (bit & 7))) & 1);
        *p++ = (wchar_t)kBase32Alphabet[value];
    }
    *p = 0;
}

BOOL ParseSha1Base32(const wchar_t* text, BYTE out[20])
{
    if (!text)
        return FALSE;
    BYTE values[32];
    bool allA = true;
    for (int i = 0; i < 32; ++i)
    {
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z')
            values[i] = (BYTE)(c - L'A');
        else if (c >= L'a' && c <= L'z')
            values[i] = (BYTE)(c - L'a');
        else if (c >= L'2' && c <= L'7')
            values[i] = (BYTE)(c - L'2' + 26);
        else
            return FALSE; // includes the end of a short text
        if (values[i] != 0)
            allA = false;
    }
    if (allA)
        return FALSE;
    BYTE result[20] = {};
    for (int i = 0; i < 160; ++i)
    {
        int v = (values[i / 5] >> (4 - i % 5)) & 1;
        result[i >> 3] |= (BYTE)(v << (7 - (i & 7)));
    }
    memcpy(out, result, 20);
    return TRUE;
}
