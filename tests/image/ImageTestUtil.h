#pragma once
// Helpers of the image library's tests: pictures in memory, encoded and decoded
// through CPixMemFile.
#include "PixImage.h"
#include "PixMemFile.h"
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline Bytes EncodeToBytes(CPixImage& ima, DWORD type)
{
    CPixMemFile mf;
    mf.Open();
    if (!ima.Encode(&mf, type))
        return Bytes();
    unsigned char* p = mf.GetBuffer(false);
    return Bytes(p, p + mf.Size());
}

// Decodes from a copy of the bytes in a block of exactly their size.
inline bool DecodeBytes(CPixImage& ima, const Bytes& data, DWORD type)
{
    unsigned char* copy = (unsigned char*)malloc(data.empty() ? 1 : data.size());
    if (!data.empty())
        memcpy(copy, data.data(), data.size());
    bool ok;
    {
        CPixMemFile mf(copy, (long)data.size());
        ok = ima.Decode(&mf, type);
    }
    free(copy);
    return ok;
}

inline RGBQUAD Rgb(BYTE r, BYTE g, BYTE b, BYTE a = 0)
{
    RGBQUAD q;
    q.rgbRed = r;
    q.rgbGreen = g;
    q.rgbBlue = b;
    q.rgbReserved = a;
    return q;
}

inline bool SameRgb(RGBQUAD a, RGBQUAD b)
{
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

// A 24-bit picture whose pixel (x, y) has red x*7, green y*5, blue (x+y)*3 (kept to bytes).
inline void MakeGradient(CPixImage& ima, long w, long h)
{
    ima.Create(w, h, 24, 0);
    for (long y = 0; y < h; y++)
        for (long x = 0; x < w; x++)
            ima.SetPixelColor(x, y, Rgb((BYTE)(x * 7), (BYTE)(y * 5), (BYTE)((x + y) * 3)));
}

// An 8-bit picture with a palette of 256 colours and a pattern of indices.
inline void MakeIndexed(CPixImage& ima, long w, long h, DWORD bpp = 8)
{
    ima.Create(w, h, bpp, 0);
    DWORD n = ima.GetNumColors();
    for (DWORD i = 0; i < n; i++)
        ima.SetPaletteColor((BYTE)i, (BYTE)(i * 3), (BYTE)(255 - i), (BYTE)(i * 11));
    for (long y = 0; y < h; y++)
        for (long x = 0; x < w; x++)
            ima.SetPixelIndex(x, y, (BYTE)((x * 3 + y * 5) % n));
}

inline bool SamePixels(CPixImage& a, CPixImage& b)
{
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    for (long y = 0; y < (long)a.GetHeight(); y++)
        for (long x = 0; x < (long)a.GetWidth(); x++)
            if (!SameRgb(a.GetPixelColor(x, y, false), b.GetPixelColor(x, y, false)))
                return false;
    return true;
}

inline void PutLE(Bytes& b, unsigned long v, int bytes)
{
    for (int i = 0; i < bytes; i++)
        b.push_back((unsigned char)(v >> (8 * i)));
}

inline void PutBE(Bytes& b, unsigned long v, int bytes)
{
    for (int i = bytes - 1; i >= 0; i--)
        b.push_back((unsigned char)(v >> (8 * i)));
}
