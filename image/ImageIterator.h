#pragma once
#include "PixImage.h"

// Row cursor over a CPixImage for the codecs: the pixel rows are stored
// bottom-up, so the cursor starts at the picture's top line and walks down.
class CImageIterator
{
public:
    explicit CImageIterator(CPixImage* image = nullptr);
    void Upset();
    void SetRow(const BYTE* buf, long n);
    void GetRow(BYTE* buf, long n);
    BYTE* GetRow(long row);
    BYTE* GetRow() { return IterImage; }
    bool PrevRow();
    long GetY() const { return Ity; }

protected:
    long Itx, Ity;       // current column and row index
    long Stepx, Stepy;   // step values
    BYTE* IterImage;     // start of the current row
    CPixImage* ima;
};
