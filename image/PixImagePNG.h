#pragma once
#include "PixImage.h"

// PNG files through libpng: colour types map onto 1, 4, 8 or 24 bits per pixel
// with an optional palette and a separate alpha plane.
class CPixImagePNG : public CPixImage
{
public:
    CPixImagePNG() : CPixImage(PIXIMAGE_FORMAT_PNG) {}
    bool Decode(CPixFile* hFile);
    bool Encode(CPixFile* hFile);

    // Steps of the decode and encode that run between libpng calls.
    bool DecodeSetup(void* png, void* pngInfo);
    void DecodeRow(const BYTE* row, long y, int pass, int bitDepth, int channels, int pixelBytes);
    void RefillRow(BYTE* row, long y, long rowBytes, int bitDepth, int channels, int pixelBytes);
    void EncodeRow(BYTE* out, long y, long rowBytes, int channels, bool grey);
};
