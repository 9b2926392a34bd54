// One 32-bit bitmap holding every cached icon image of one size, one column
// per image, with a monochrome mask of the same size, so that many small
// icons cost one DIB section. Slots are taken and freed under the image
// manager's lock.
#pragma once
#include <Framework.h>
#include <list>

class CSFCacheStrip;

struct CSFCacheSlot
{
    RECT column;
    CSFCacheStrip* strip;
    BOOL alpha;
};

class CSFCacheStrip
{
public:
    CSFCacheStrip(int width, int height);
    ~CSFCacheStrip();
    CSFCacheStrip(const CSFCacheStrip&) = delete;
    CSFCacheStrip& operator=(const CSFCacheStrip&) = delete;

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The most recently freed slot, else a new column; NULL when the bitmaps
    // cannot be made.
    CSFCacheSlot* TakeSlot();
    // Back to the free list; when every column is free the strip lets its
    // bitmaps go.
    void FreeSlot(CSFCacheSlot* slot);

    // The strip's pixels (top row first) and its DC (bitmap selected).
    BYTE* GetBits() const { return m_bits; }
    HDC GetDC() const { return m_dc; }
    HBITMAP GetMask() const { return m_mask; }
    int GetTotalWidth() const { return m_totalWidth; }
    size_t GetUsedCount() const { return m_used.size(); }
    size_t GetFreeCount() const { return m_free.size(); }

private:
    BOOL Grow();
    void Release();

    int m_width, m_height;
    HBITMAP m_bitmap;
    BYTE* m_bits;
    HBITMAP m_mask;
    HDC m_dc;
    HGDIOBJ m_oldBitmap;
    int m_totalWidth;
    std::list<CSFCacheSlot*> m_used;
    std::list<CSFCacheSlot*> m_free;
};
