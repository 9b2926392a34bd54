// Recognising PNG pictures and 32-bit bitmaps, turning 32-bit bitmap
// resources into DIB sections, reading the pixels of bitmaps, and bitmaps in
// archives.
#pragma once
#include <Framework.h>
#include <vector>

BOOL IsPngFile(LPCWSTR path);
BOOL Is32BitBmpFile(LPCWSTR path);
// A BMP file that holds every pixel its headers describe.
BOOL IsCompleteBmpFile(LPCWSTR path);
// A resource of type "PNG" that starts with the PNG signature.
BOOL IsPngResource(HMODULE module, LPCWSTR name);
// A DIB section made from a 32-bit bitmap resource that really holds its
// pixels; NULL for any other resource.
HBITMAP Load32BitBitmapResource(HMODULE module, LPCWSTR name);

// Pixels of a bitmap, top row first, with the header that describes them.
struct SFBitmapPixels
{
    std::vector<BYTE> info; // BITMAPINFO: header and colour table
    std::vector<BYTE> bits;
    const BITMAPINFOHEADER* Header() const { return (const BITMAPINFOHEADER*)info.data(); }
    int Width() const { return Header()->biWidth; }
    int Height() const { return -Header()->biHeight; }
};

// A new top-down 32-bit DIB section holding the pixels; bits (optional)
// receives its pixel pointer.
HBITMAP MakeDibSection(const SFBitmapPixels& pixels, void** bits);
// The 32-bit pixels of a 32-bit bitmap (FALSE for any other depth).
BOOL Read32BitPixels(HDC dc, HBITMAP bitmap, SFBitmapPixels* out);
// The pixels of any bitmap drawn into 32 bits.
BOOL Read32BitCopy(HBITMAP bitmap, SFBitmapPixels* out);
// A new DIB section holding a copy of a 32-bit bitmap.
HBITMAP Copy32BitBitmap(HBITMAP bitmap, void** bits);
// Header, colour table (16 entries at 4 bits, 256 at 8, 3 otherwise) and
// pixels of any bitmap, as stored.
BOOL ReadBitmapForStoring(HBITMAP bitmap, std::vector<BYTE>* info, std::vector<BYTE>* bits);
// A bitmap in an archive: header byte count and bytes, pixel byte count and
// bytes; a header count of 0 is no bitmap.
void WriteBitmapToArchive(CArchive& ar, HBITMAP bitmap);
// NULL for no bitmap or a stored header that describes none; archive
// exceptions for an archive cut short.
HBITMAP ReadBitmapFromArchive(CArchive& ar, void** bits = NULL);
// Size of an icon from its mask, (0, 0) for no icon.
SIZE GetIconImageSize(HICON icon);
