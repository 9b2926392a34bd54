#include "SFCacheStrip.h"
#include "BitmapDC.h"
#include "SFDibHelpers.h"
#include <algorithm>

CSFCacheStrip::CSFCacheStrip(int width, int height)
    : m_width(width), m_height(height), m_bitmap(NULL), m_bits(NULL), m_mask(NULL), m_dc(NULL), m_oldBitmap(NULL),
      m_totalWidth(0)
{
}

CSFCacheStrip::~CSFCacheStrip() { Release(); }

void CSFCacheStrip::Release()
{
    if (m_dc)
    {
        if (m_oldBitmap)
            ::SelectObject(m_dc, m_oldBitmap);
        ::DeleteDC(m_dc);
    }
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    if (m_mask)
        ::DeleteObject(m_mask);
    for (CSFCacheSlot* slot : m_used)
        delete slot;
    for (CSFCacheSlot* slot : m_free)
        delete slot;
    m_used.clear();
    m_free.clear();
    m_dc = NULL;
    m_oldBitmap = NULL;
    m_bitmap = m_mask = NULL;
    m_bits = NULL;
    m_totalWidth = 0;
}

// One column wider: the old rows and the old mask are copied across.
BOOL CSFCacheStrip::Grow()
{
    int newWidth = m_totalWidth + m_width;
    void* bits = NULL;
    HBITMAP bitmap = Create32BitDibTopDown(newWidth, m_height, &bits);
    HBITMAP mask = ::CreateBitmap(newWidth, m_height, 1, 1, NULL);
    if (bitmap == NULL || mask == NULL)
    {
        if (bitmap)
            ::DeleteObject(bitmap);
        if (mask)
            ::DeleteObject(mask);
        return FALSE;
    }
    memset(bits, 0, (size_t)newWidth * m_height * 4);
    if (m_bitmap)
    {
        ::GdiFlush();
        for (int y = 0; y < m_height; y++)
            memcpy((BYTE*)bits + (size_t)y * newWidth * 4, m_bits + (size_t)y * m_totalWidth * 4,
                   (size_t)m_totalWidth * 4);
        BitmapDC from(NULL, m_mask), to(NULL, mask);
        if (from.IsReady() && to.IsReady())
            ::BitBlt(to, 0, 0, m_totalWidth, m_height, from, 0, 0, SRCCOPY);
    }
    if (m_dc == NULL)
        m_dc = ::CreateCompatibleDC(NULL);
    if (m_dc == NULL)
    {
        ::DeleteObject(bitmap);
        ::DeleteObject(mask);
        return FALSE;
    }
    HGDIOBJ old = ::SelectObject(m_dc, bitmap);
    if (m_oldBitmap == NULL)
        m_oldBitmap = old;
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    if (m_mask)
        ::DeleteObject(m_mask);
    m_bitmap = bitmap;
    m_bits = (BYTE*)bits;
    m_mask = mask;
    m_totalWidth = newWidth;
    return TRUE;
}

CSFCacheSlot* CSFCacheStrip::TakeSlot()
{
    if (!m_free.empty())
    {
        CSFCacheSlot* slot = m_free.back();
        m_free.pop_back();
        m_used.push_back(slot);
        return slot;
    }
    if (!Grow())
        return NULL;
    CSFCacheSlot* slot = new CSFCacheSlot;
    slot->column = {m_totalWidth - m_width, 0, m_totalWidth, m_height};
    slot->strip = this;
    slot->alpha = FALSE;
    m_used.push_back(slot);
    return slot;
}

void CSFCacheStrip::FreeSlot(CSFCacheSlot* slot)
{
    auto it = std::find(m_used.begin(), m_used.end(), slot);
    if (it == m_used.end())
        return;
    m_used.erase(it);
    slot->alpha = FALSE;
    m_free.push_back(slot);
    if (m_used.empty())
        Release();
}
