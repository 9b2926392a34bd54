// Device-independent bitmaps: palettes of small DIBs, device bitmaps made
// from them, 32-bit sections, and icon measurement.
#pragma once
#include <Framework.h>

// Logical palette of a DIB of 8 bits per pixel or fewer (NULL above that):
// biClrUsed entries, or 2^bitcount when biClrUsed is 0.
HPALETTE CreateDibPalette(const BITMAPINFOHEADER* header);
// A device bitmap of the screen from the DIB (header, colour table and the
// bits that follow them), realised through the palette when one is given.
HBITMAP CreateDdbFromDib(const BITMAPINFO* info, HPALETTE palette);
// Bytes in front of a DIB's bits: the header and its colour table (or the
// three masks of BI_BITFIELDS).
DWORD DibHeaderSize(const BITMAPINFOHEADER* header);
// A bottom-up 32-bit BI_RGB section; bits receives its pixels.
HBITMAP Create32BitDib(HDC dc, int width, int height, void** bits);
// A top-down 32-bit BI_RGB section (row 0 is the top row).
HBITMAP Create32BitDibTopDown(int width, int height, void** bits);
BOOL SameBitmapFormat(const BITMAP& a, const BITMAP& b);
// Size of an icon from its mask (half its height when the icon has no
// colour bitmap); FALSE when the icon cannot be read.
BOOL ReadIconSize(HICON icon, int* width, int* height);
// The same with 32 x 32 for an icon that cannot be read.
void GetIconSize(HICON icon, int* width, int* height);
