#include "Base64Codec.h"

#include <string.h>

Base64Codec::Base64Codec() : m_nBits(0), m_dwBuffer(0), m_nAlphabetSize(64)
{
    memcpy(m_alphabet, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/", 65);
    memset(m_reverse, 255, sizeof(m_reverse));
    for (int i = 0; i < m_nAlphabetSize; ++i)
        m_reverse[(BYTE)m_alphabet[i]] = (BYTE)i;
}

int Base64Codec::Encode(const BYTE* bytes, char* out, int length)
{
    if (!bytes || !out || length <= 0)
        return 0;
    int n = 0;
    m_nBits = 0;
    m_dwBuffer = 0;
    for (int i = 0; i < length; ++i)
    {
        m_dwBuffer = (m_dwBuffer << 8) | bytes[i];
        m_nBits += 8;
        while (m_nBits >= 6)
        {
            m_nBits -= 6;
            out[n++] = m_alphabet[(m_dwBuffer >> m_nBits) & 63];
        }
    }
    if (m_nBits > 0)
        out[n++] = m_alphabet[(m_dwBuffer << (6 - m_nBits)) & 63];
    while (n % 4)
        out[n++] = '=';
    out[n] = 0;
    m_nBits = 0;
    m_dwBuffer = 0;
    return n;
}

int Base64Codec::CheckText(const char* text) const
{
    if (!text)
        return 0;
    int length = 0;
    for (; text[length]; ++length)
    {
        if (text[length] == '=')
            return (length % 4) ? length : 0;
        if (m_reverse[(BYTE)text[length]] == 255)
            return 0;
    }
    return (length % 4 == 0) ? length : 0;
}

int Base64Codec::Decode(const char* text, BYTE* out)
{
    if (!text || !out || !*text || *text == '=')
        return 0;
    int count = CheckText(text);
    if (count == 0)
        return 0;
    int n = 0;
    m_nBits = 0;
    m_dwBuffer = 0;
    for (int i = 0; i < count; ++i)
    {
        m_dwBuffer = (m_dwBuffer << 6) | m_reverse[(BYTE)text[i]];
        m_nBits += 6;
        if (m_nBits >= 8)
        {
            m_nBits -= 8;
            out[n++] = (BYTE)(m_dwBuffer >> m_nBits);
        }
    }
    m_nBits = 0;
    m_dwBuffer = 0;
    return n;
}
