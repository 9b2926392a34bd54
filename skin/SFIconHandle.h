// One image of an icon: an icon handle, or a 32-bit alpha bitmap, or a
// column of a cache strip, with its size. The handle owns what it holds.
#pragma once
#include <Framework.h>

class CSFImageManager;
struct CSFCacheSlot;

class CSFIconHandle
{
public:
    explicit CSFIconHandle(CSFImageManager* owner = NULL);
    ~CSFIconHandle() { Clear(); }
    CSFIconHandle(const CSFIconHandle&) = delete;
    CSFIconHandle& operator=(const CSFIconHandle&) = delete;

    void SetOwner(CSFImageManager* owner) { m_owner = owner; }
    // Frees what was held and takes the new image (its size is read from it).
    void SetIcon(HICON icon);
    void SetAlphaBitmap(HBITMAP bitmap, void* bits = NULL);
    // Frees icon, bitmap and cache slot.
    void Clear();
    // Frees what is held; then the source's image goes into the cache strip
    // of its size when both handles allow the cache and have a size, else it
    // is copied (icon, alpha bitmap, or an image taken out of its slot).
    void CopyFrom(const CSFIconHandle& source);
    // Pixels of the alpha bitmap; a bitmap whose pixels are not known yet is
    // replaced by its premultiplied copy first. NULL without one.
    void* GetAlphaBits();

    HICON GetIcon() const { return m_icon; }
    HBITMAP GetAlphaBitmap() const { return m_alphaBitmap; }
    CSFCacheSlot* GetSlot() const { return m_slot; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    BOOL IsEmpty() const { return m_icon == NULL && m_alphaBitmap == NULL && m_slot == NULL; }
    BOOL GetUseCache() const { return m_useCache; }
    void SetUseCache(BOOL use) { m_useCache = use; }

    // Two bitmaps in archive form: the alpha bitmap and nothing, or the
    // icon's colour bitmap and mask, or nothing twice.
    void Write(CArchive& ar) const;
    // Both bitmaps: an icon through an image list; only the first: the alpha
    // bitmap (its pixels known when keepBits).
    void Read(CArchive& ar, BOOL keepBits);

private:
    void TakeSize();

    HICON m_icon;
    HBITMAP m_alphaBitmap;
    void* m_alphaBits;
    CSFImageManager* m_owner;
    CSFCacheSlot* m_slot;
    int m_width, m_height;
    BOOL m_useCache;
    BOOL m_owns;
};
