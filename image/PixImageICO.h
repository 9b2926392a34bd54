#pragma once
#include "PixImage.h"

class CPixImageICO : public CPixImage
{
public:
    CPixImageICO() : CPixImage(PIXIMAGE_FORMAT_ICO) {}
    bool Decode(CPixFile*) { SetErrorText("ICO"); return false; }
    bool Encode(CPixFile*) { SetErrorText("ICO"); return false; }
};
