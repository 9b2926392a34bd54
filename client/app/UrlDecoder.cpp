#include "UrlDecoder.h"
#include "PercentCoding.h"

#include <string>
#include <string.h>

namespace
{

bool IsFormSafe(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return c && strchr("-_.!~*'()", c) != nullptr;
}

} // namespace

BYTE CUrlDecoder::HexPairToByte(char high, char low)
{
    return PercentCoding::HexPair(high, low);
}

CStringA CUrlDecoder::PercentDecode(const char* bytes) const
{
    if (!bytes)
        return CStringA();
    return CStringA(PercentCoding::Decode(bytes, strlen(bytes), true, PercentCoding::Escapes::Lenient));
}

CStringA CUrlDecoder::Utf8ToAnsi(const char* bytes, int length) const
{
    std::string out;
    if (!bytes)
        return CStringA();
    for (int i = 0; i < length;)
    {
        unsigned char b0 = (unsigned char)bytes[i];
        if (b0 < 128)
        {
            out += (char)b0;
            ++i;
            continue;
        }
        unsigned char b1 = (i + 1 < length) ? (unsigned char)bytes[i + 1] : 0;
        unsigned char b2 = (i + 2 < length) ? (unsigned char)bytes[i + 2] : 0;
        i += 3;
        wchar_t unit = (wchar_t)(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
        char ansi[8] = {};
        int n = WideCharToMultiByte(CP_ACP, 0, &unit, 1, ansi, sizeof(ansi), nullptr, nullptr);
        if (n > 0)
            out.append(ansi, n);
    }
    return CStringA(out);
}

CStringA CUrlDecoder::DecodeBytes(const char* bytes) const
{
    CStringA decoded = PercentDecode(bytes);
    // The result is taken up to its first zero byte ("%00" ends it).
    int length = (int)strlen(decoded.GetString());
    return Utf8ToAnsi(decoded.GetString(), length);
}

CString CUrlDecoder::Decode(LPCWSTR text) const
{
    if (!text)
        return CString();
    std::string ansi = FwWideToMultiByte(text, -1, CP_ACP);
    CStringA decoded = DecodeBytes(ansi.c_str());
    return CString(FwMultiByteToWide(decoded.GetString(), decoded.GetLength(), CP_ACP));
}

int UrlEncodeForm(const char* bytes, char* out, int outSize)
{
    static const char kDigits[] = "0123456789ABCDEF";
    if (!out || outSize <= 0)
        return 0;
    int n = 0;
    if (bytes)
    {
        for (const unsigned char* p = (const unsigned char*)bytes; *p; ++p)
        {
            if (*p == ' ' || IsFormSafe(*p))
            {
                if (n + 1 >= outSize)
                    break;
                out[n++] = (*p == ' ') ? '+' : (char)*p;
            }
            else
            {
                if (n + 3 >= outSize)
                    break;
                out[n++] = '%';
                out[n++] = kDigits[*p >> 4];
                out[n++] = kDigits[*p & 15];
            }
        }
    }
    out[n] = 0;
    return n;
}
