// CMemoryDC: the off-screen device context of one paint. A control wraps the
// context Windows gave it, draws into this object at the same logical
// coordinates, and the destructor copies the finished picture back in one
// block transfer. Printer contexts are drawn straight through.
#pragma once
#include "Framework.h"

class CMemoryDC : public CDC
{
  public:
    // pRect null: the target's clip box. bCopyBackground: start from the
    // target's pixels instead of its background colour.
    explicit CMemoryDC(CDC* pDC, const CRect* pRect = NULL, BOOL bCopyBackground = FALSE);
    ~CMemoryDC() override;

    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    CMemoryDC* operator->() { return this; }
    operator CMemoryDC*() { return this; }

    const CRect& GetRect() const { return m_rect; }

  private:
    CBitmap m_bitmap;
    CBitmap* m_oldBitmap;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC;
};
