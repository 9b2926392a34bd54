#pragma once
#include "PixImage.h"

// Windows icon files (and cursor files for reading): one image of the file,
// chosen by the frame index, from a bitmap-style entry or a PNG entry.
class CPixImageICO : public CPixImage
{
public:
    CPixImageICO() : CPixImage(PIXIMAGE_FORMAT_ICO), m_dwImageOffset(0) {}
    bool Decode(CPixFile* hFile);
    bool Encode(CPixFile* hFile, bool bAppend = false, int nPageCount = 0);

protected:
    bool DecodeBitmapEntry(CPixFile* hFile, int entryWidth, int entryHeight);
    void ApplyMask(const BYTE* mask);

    DWORD m_dwImageOffset;
};
