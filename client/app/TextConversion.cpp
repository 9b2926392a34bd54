#include "TextConversion.h"

wchar_t* MultiByteToWideBuf(wchar_t* out, const char* text, int outLength, UINT codePage)
{
    if (!out || !text || outLength <= 0)
        return nullptr;
    out[0] = 0;
    int n = ::MultiByteToWideChar(codePage, 0, text, -1, out, outLength);
    if (n <= 0)
    {
        out[0] = 0;
        return nullptr;
    }
    return out;
}

char* WideToMultiByteBuf(char* out, const wchar_t* text, int outLength, UINT codePage)
{
    if (!out || !text || outLength <= 0)
        return nullptr;
    out[0] = 0;
    int n = ::WideCharToMultiByte(codePage, 0, text, -1, out, outLength, NULL, NULL);
    if (n <= 0)
    {
        out[0] = 0;
        return nullptr;
    }
    return out;
}

StringPair* NewStringPair(LPCWSTR text)
{
    StringPair* pair = new StringPair;
    pair->first = text ? text : L"";
    return pair;
}

int StringEquals(const CString& a, const CString& b)
{
    return a == b ? 1 : 0;
}

int StringDiffers(const CString& a, LPCWSTR text)
{
    return a == CString(text ? text : L"") ? 0 : 1;
}
