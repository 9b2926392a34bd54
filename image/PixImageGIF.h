#pragma once
#include "PixImage.h"

class CPixImageGIF : public CPixImage
{
public:
    CPixImageGIF() : CPixImage(PIXIMAGE_FORMAT_GIF) {}
    bool Decode(CPixFile*) { SetErrorText("GIF"); return false; }
    bool Encode(CPixFile*) { SetErrorText("GIF"); return false; }
};
