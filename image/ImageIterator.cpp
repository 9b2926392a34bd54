#include "ImageIterator.h"
#include <string.h>

CImageIterator::CImageIterator(CPixImage* image) : Itx(0), Ity(0), Stepx(0), Stepy(0), IterImage(nullptr), ima(image)
{
    if (ima)
        IterImage = ima->GetBits();
}

void CImageIterator::Upset()
{
    Itx = 0;
    Ity = (long)ima->GetHeight() - 1;
    IterImage = ima->GetBits() + ima->GetEffWidth() * Ity;
}

void CImageIterator::SetRow(const BYTE* buf, long n)
{
    if (n < 0)
        n = (long)ima->GetEffWidth();
    else if (n > (long)ima->GetEffWidth())
        n = (long)ima->GetEffWidth();
    if (n == 0 || !buf || !IterImage)
        return;
    memcpy(IterImage, buf, n);
}

void CImageIterator::GetRow(BYTE* buf, long n)
{
    if (n > (long)ima->GetEffWidth())
        n = (long)ima->GetEffWidth();
    if (n > 0 && buf && IterImage)
        memcpy(buf, IterImage, n);
}

BYTE* CImageIterator::GetRow(long row)
{
    if (row < 0 || row >= (long)ima->GetHeight())
        return nullptr;
    Ity = row;
    IterImage = ima->GetBits() + ima->GetEffWidth() * row;
    return IterImage;
}

bool CImageIterator::PrevRow()
{
    if (--Ity < 0)
        return false;
    IterImage -= ima->GetEffWidth();
    return true;
}
