// PNG pictures decoded into 32-bit top-down DIB sections: blue, green, red
// and (for pictures with an alpha channel) alpha, unmultiplied.
#pragma once
#include <Framework.h>

class CSFPngDecoder
{
public:
    CSFPngDecoder() : m_bitmap(NULL), m_alpha(FALSE) {}
    ~CSFPngDecoder() { Clear(); }
    CSFPngDecoder(const CSFPngDecoder&) = delete;
    CSFPngDecoder& operator=(const CSFPngDecoder&) = delete;

    // Each load first drops the bitmap held; FALSE on any failure (not a
    // PNG, damaged data, short data, no memory), leaving nothing allocated.
    BOOL LoadFile(LPCWSTR path);
    // A "PNG" resource; resources of 9 bytes or less are refused.
    BOOL LoadResource(HMODULE module, HRSRC resource);
    BOOL LoadFile(CFile* file);
    BOOL LoadMemory(const BYTE* data, size_t size);

    HBITMAP GetBitmap() const { return m_bitmap; }
    // The bitmap becomes the caller's.
    HBITMAP Detach();
    // The picture had an alpha channel (four channels after decoding).
    BOOL HasAlpha() const { return m_alpha; }
    void Clear();

    // Where the bytes come from (a block in memory or an open file).
    struct Source;

private:
    BOOL Decode(Source& source);

    HBITMAP m_bitmap;
    BOOL m_alpha;
};
