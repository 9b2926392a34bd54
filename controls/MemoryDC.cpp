#include "MemoryDC.h"

CMemoryDC::CMemoryDC(CDC* pDC, const CRect* pRect, BOOL bCopyBackground)
    : m_oldBitmap(NULL), m_pDC(pDC), m_bMemDC(FALSE)
{
    if (pDC == NULL || pDC->GetSafeHdc() == NULL)
        return;
    m_bMemDC = !pDC->IsPrinting();
    if (pRect != NULL)
        m_rect = *pRect;
    else
        pDC->GetClipBox(&m_rect);

    if (m_bMemDC)
    {
        if (!CreateCompatibleDC(pDC))
            return;
        pDC->LPtoDP(&m_rect);
        int cx = m_rect.Width(), cy = m_rect.Height();
        // A bitmap needs at least one pixel each way; an empty paint area
        // still gets a valid (unused) bitmap so the drawing calls stay harmless.
        if (m_bitmap.CreateCompatibleBitmap(pDC, cx > 0 ? cx : 1, cy > 0 ? cy : 1))
            m_oldBitmap = SelectObject(&m_bitmap);
        SetMapMode(pDC->GetMapMode());
        SetWindowExt(pDC->GetWindowExt());
        SetViewportExt(pDC->GetViewportExt());
        pDC->DPtoLP(&m_rect);
        SetWindowOrg(m_rect.left, m_rect.top);
    }
    else
    {
        m_bPrinting = pDC->m_bPrinting;
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
    }

    if (bCopyBackground)
        BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), pDC, m_rect.left, m_rect.top,
               SRCCOPY);
    else
        FillSolidRect(m_rect, pDC->GetBkColor());
}

CMemoryDC::~CMemoryDC()
{
    if (m_bMemDC)
    {
        if (m_hDC != NULL)
        {
            m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left,
                          m_rect.top, SRCCOPY);
            if (m_oldBitmap != NULL)
                SelectObject(m_oldBitmap);
        }
    }
    else
    {
        // Borrowed from the target: the base destructor must not delete them.
        m_hDC = m_hAttribDC = NULL;
    }
    m_bitmap.DeleteObject();
}
