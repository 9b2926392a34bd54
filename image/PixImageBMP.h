#pragma once
#include "PixImage.h"

// Windows bitmap files: core, information and longer headers, 1 to 32 bits per
// pixel, uncompressed, RLE8, RLE4 and bit fields.
class CPixImageBMP : public CPixImage
{
public:
    CPixImageBMP() : CPixImage(PIXIMAGE_FORMAT_BMP) {}
    bool Decode(CPixFile* hFile);
    bool Encode(CPixFile* hFile);

protected:
    bool ReadInfoHeader(CPixFile* hFile, BITMAPINFOHEADER* pbih);
    bool DecodeRle8(CPixFile* hFile);
    bool DecodeRle4(CPixFile* hFile);
    void BitfieldsToRgb(const BYTE* src, DWORD bpp, DWORD srcEffWidth, DWORD redmask, DWORD greenmask,
                        DWORD bluemask);
};
