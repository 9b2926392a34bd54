#include "PercentCoding.h"

int PercentCoding::HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

unsigned char PercentCoding::HexPair(char high, char low)
{
    int h = HexDigit(high);
    int l = HexDigit(low);
    if (l < 0)
        return 0xFF;
    return static_cast<unsigned char>(((h < 0 ? 15 : h) << 4) | l);
}

std::string PercentCoding::Decode(const char* bytes, size_t length, bool plusIsSpace, Escapes escapes)
{
    std::string out;
    if (!bytes)
        return out;
    out.reserve(length);
    for (size_t i = 0; i < length;)
    {
        char c = bytes[i];
        if (c == '%')
        {
            size_t left = length - i - 1;
            char high = left > 0 ? bytes[i + 1] : '\0';
            char low = left > 1 ? bytes[i + 2] : '\0';
            if (escapes == Escapes::Lenient)
            {
                out += static_cast<char>(HexPair(high, low));
                i += 1 + (left < 2 ? left : 2);
                continue;
            }
            if (left >= 2 && HexDigit(high) >= 0 && HexDigit(low) >= 0)
            {
                out += static_cast<char>(HexDigit(high) * 16 + HexDigit(low));
                i += 3;
                continue;
            }
        }
        out += (c == '+' && plusIsSpace) ? ' ' : c;
        ++i;
    }
    return out;
}
