// New 32-bit DIB sections made from 32-bit bitmaps: premultiplied by their
// alpha, or mirrored left to right for right-to-left layouts.
#pragma once
#include <Framework.h>

// Multiplies blue, green and red by alpha / 255 (rounding down). *alphaFlag
// in: 0 asks whether the alpha means anything (1 once a pixel has alpha
// other than 0 and 255, or a non-zero alpha follows a zero one; when it stays
// 0 the copy keeps the unmultiplied pixels); -1 counts any non-zero alpha.
// *alphaFlag out: the answer. bits (optional) receives the copy's pixels.
HBITMAP SFPremultipliedCopy(HBITMAP bitmap, int* alphaFlag, void** bits);
// Each row reversed.
HBITMAP SFMirrorBitmap32(HBITMAP bitmap, void** bits);
