#include "SFBitmapTransforms.h"
#include "SFDibHelpers.h"
#include "SFImageLoading.h"
#include <algorithm>

HBITMAP SFPremultipliedCopy(HBITMAP bitmap, int* alphaFlag, void** bits)
{
    int dummy = 0;
    if (alphaFlag == NULL)
        alphaFlag = &dummy;
    int rule = *alphaFlag;
    *alphaFlag = 0;
    SFBitmapPixels pixels;
    if (!Read32BitPixels(NULL, bitmap, &pixels))
        return NULL;
    std::vector<BYTE> original = pixels.bits;
    BYTE* p = pixels.bits.data();
    BOOL sawZero = FALSE;
    for (size_t i = 0; i + 3 < pixels.bits.size(); i += 4)
    {
        BYTE a = p[i + 3];
        if (rule == -1)
        {
            if (a != 0)
                *alphaFlag = 1;
        }
        else if ((a != 0 && a != 255) || (a != 0 && sawZero))
            *alphaFlag = 1;
        if (a == 0)
            sawZero = TRUE;
        p[i] = (BYTE)(p[i] * a / 255);
        p[i + 1] = (BYTE)(p[i + 1] * a / 255);
        p[i + 2] = (BYTE)(p[i + 2] * a / 255);
    }
    if (rule != -1 && *alphaFlag == 0)
        pixels.bits = original;
    return MakeDibSection(pixels, bits);
}

HBITMAP SFMirrorBitmap32(HBITMAP bitmap, void** bits)
{
    SFBitmapPixels pixels;
    if (!Read32BitPixels(NULL, bitmap, &pixels))
        return NULL;
    int w = pixels.Width(), h = pixels.Height();
    DWORD* row = (DWORD*)pixels.bits.data();
    for (int y = 0; y < h; y++, row += w)
        std::reverse(row, row + w);
    return MakeDibSection(pixels, bits);
}
