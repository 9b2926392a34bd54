// CMemoryDC: the one off-screen device context of the program, in three uses.
//
// - A paint: a control wraps the context Windows gave it, draws into this
//   object at the same logical coordinates, and the destructor copies the
//   finished picture back in one block transfer. Printer contexts are drawn
//   straight through.
// - An off-screen picture of a given size that stays off-screen: the caller
//   copies from it what it wants (or keeps its bitmap with DetachBitmap).
// - A context over an existing bitmap, selected into it for the object's life
//   (to draw into that bitmap or copy from it).
//
// Whatever the use, the bitmap that was selected before is selected back and
// an owned bitmap is freed when the object ends.
#pragma once
#include "Framework.h"

class CMemoryDC : public CDC
{
  public:
    // A paint. pRect null: the target's clip box. bCopyBackground: start
    // from the target's pixels instead of its background colour.
    explicit CMemoryDC(CDC* pDC, const CRect* pRect = NULL, BOOL bCopyBackground = FALSE);
    // An off-screen picture of width x height at (0, 0), compatible with
    // hCompatible (the screen when NULL); its first pixels are undefined.
    CMemoryDC(HDC hCompatible, int width, int height);
    // A context compatible with hCompatible (the screen when NULL) over
    // hBitmap, which stays the caller's.
    CMemoryDC(HBITMAP hBitmap, HDC hCompatible = NULL);
    ~CMemoryDC() override;

    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    CMemoryDC* operator->() { return this; }
    operator CMemoryDC*() { return this; }

    const CRect& GetRect() const { return m_rect; }
    // The bitmap drawn into (owned or not); NULL when none could be made.
    HBITMAP GetBitmap() const { return m_hBitmap; }
    // Selects the owned bitmap out and gives it to the caller; NULL when this
    // object owns none.
    HBITMAP DetachBitmap();

  private:
    void SelectBitmap(HBITMAP hBitmap);

    CBitmap m_bitmap;     // the owned bitmap (a paint or an off-screen picture)
    HBITMAP m_hBitmap;    // the bitmap selected, owned or borrowed
    HGDIOBJ m_oldBitmap;  // selected back at the end
    CDC* m_pDC;           // a paint's target; NULL for the other uses
    CRect m_rect;
    BOOL m_bMemDC;        // FALSE: a paint drawn straight into a printer context
};
