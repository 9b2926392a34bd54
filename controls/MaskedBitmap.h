// A bitmap resource with the mask through which it is drawn transparently.
#pragma once
#include "Framework.h"

#include <vector>

// Drawn transparently: a mask in which the key colour is set, and the
// bitmap with its key-colour pixels turned black.
struct MaskedBitmap
{
    CBitmap image;
    CBitmap mask;
    int width = 0;
    int height = 0;
    // Loads the bitmap resource nID; with bTransparent, builds the mask of the
    // key colour (0xFF000000: the colour of the pixel at (keyX, keyY)).
    BOOL Load(UINT nID, BOOL bTransparent, COLORREF key, int keyX, int keyY);
    void Free();
    BOOL IsLoaded() const { return image.GetSafeHandle() != NULL; }
    // Copies the part (srcX, 0, cx, cy) to (x, y): through maskSource's mask
    // when transparent, else a plain copy.
    void Draw(CDC* pDC, int x, int y, int cx, int cy, int srcX, BOOL bTransparent, const MaskedBitmap* maskSource) const;
};

// Makes the 1-bit mask of the key-colour pixels of a width x height image and
// turns those pixels of the image black, so that drawing the mask with SRCAND
// and then the image with SRCPAINT leaves them transparent. The caller owns
// the mask; null when it cannot be made.
HBITMAP CreateTransparencyMask(HBITMAP image, int width, int height, COLORREF key);


// The bitmap's pixels top row first, 0x00RRGGBB each; FALSE when they cannot
// be read.
BOOL ReadPixels32(HBITMAP bitmap, int width, int height, std::vector<DWORD>& pixels);

// The strip cut into `pieces` images of equal width, each made as
// CreateTransparencyMask would leave it (key-colour pixels black) with its
// mask, from one read of the strip's pixels. The caller owns what is made;
// FALSE (nothing made) when the strip cannot be read or is narrower than
// the pieces.
BOOL SplitMaskedStrip(HBITMAP strip, int pieces, COLORREF key, HBITMAP* images, HBITMAP* masks);
