// CPaletteDib: a small 1-, 4- or 8-bit device-independent bitmap with its own
// palette, filled pixel by pixel and entry by entry (the textured background
// effects), then drawn onto a device context through a DIB section made at the
// first draw.
#pragma once
#include <windows.h>

class CPaletteDib
{
  public:
    CPaletteDib();
    virtual ~CPaletteDib();

    CPaletteDib(const CPaletteDib&) = delete;
    CPaletteDib& operator=(const CPaletteDib&) = delete;

    // Returns the block (header, palette, rows) or NULL. Palette and pixels
    // are not cleared.
    BYTE* Create(int width, int height, int bitsPerPixel);
    void Destroy();

    BYTE* GetBits() const;
    DWORD GetLineBytes() const { return m_lineBytes; }
    int GetWidth() const { return m_header.biWidth; }
    int GetHeight() const { return m_header.biHeight; }
    WORD GetPaletteCount() const { return m_paletteCount; }
    // Palette entry as COLORREF (0 when there is none).
    COLORREF GetPaletteEntry(int index) const;

    void SetPaletteEntry(int index, BYTE red, BYTE green, BYTE blue);
    // y counts from the top of the picture; one byte a pixel (8-bit images).
    void SetPixelIndex(int x, int y, BYTE value);
    BYTE GetPixelIndex(int x, int y) const;
    void Fill(BYTE value);
    void BlendPalette(COLORREF color, int percent);
    void Draw(HDC hDC, int x, int y);

  private:
    BYTE* m_block;
    BITMAPINFOHEADER m_header;
    DWORD m_lineBytes;
    WORD m_paletteCount;
    HBITMAP m_section;
    HDC m_memDC;
    BYTE* m_sectionBits;
};
