// The small off-screen context in which a disabled menu item is painted
// before one block copy to the menu. Printer contexts are drawn on directly.
#pragma once
#include "Framework.h"

class CDrawMenuMemDC : public CDC
{
public:
    CDrawMenuMemDC(CDC* pDC, const RECT& rect);
    ~CDrawMenuMemDC() override;
    CDrawMenuMemDC(const CDrawMenuMemDC&) = delete;
    CDrawMenuMemDC& operator=(const CDrawMenuMemDC&) = delete;

private:
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = NULL;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC;
};
