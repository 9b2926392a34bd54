#include "MemoryDC.h"

CMemoryDC::CMemoryDC(CDC* pDC, const CRect* pRect, BOOL bCopyBackground)
    : m_hBitmap(NULL), m_oldBitmap(NULL), m_pDC(pDC), m_bMemDC(FALSE)
{
    if (pDC == NULL || pDC->GetSafeHdc() == NULL)
    {
        m_pDC = NULL;
        return;
    }
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
            SelectBitmap((HBITMAP)m_bitmap.GetSafeHandle());
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

CMemoryDC::CMemoryDC(HDC hCompatible, int width, int height)
    : m_hBitmap(NULL), m_oldBitmap(NULL), m_pDC(NULL), m_rect(0, 0, width, height), m_bMemDC(TRUE)
{
    if (!Attach(::CreateCompatibleDC(hCompatible)))
        return;
    // A compatible bitmap of the memory context itself would be monochrome:
    // the bitmap follows the given context (or the screen).
    HDC screen = hCompatible ? NULL : ::GetDC(NULL);
    HBITMAP bitmap = ::CreateCompatibleBitmap(hCompatible ? hCompatible : screen, width > 0 ? width : 1,
                                              height > 0 ? height : 1);
    if (screen)
        ::ReleaseDC(NULL, screen);
    if (bitmap && m_bitmap.Attach(bitmap))
        SelectBitmap(bitmap);
}

CMemoryDC::CMemoryDC(HBITMAP hBitmap, HDC hCompatible)
    : m_hBitmap(NULL), m_oldBitmap(NULL), m_pDC(NULL), m_bMemDC(TRUE)
{
    if (!Attach(::CreateCompatibleDC(hCompatible)))
        return;
    BITMAP bm{};
    if (hBitmap && ::GetObjectW(hBitmap, sizeof(bm), &bm))
        m_rect = CRect(0, 0, bm.bmWidth, bm.bmHeight);
    SelectBitmap(hBitmap);
}

void CMemoryDC::SelectBitmap(HBITMAP hBitmap)
{
    if (!hBitmap || !m_hDC)
        return;
    HGDIOBJ old = ::SelectObject(m_hDC, hBitmap);
    if (!old)
        return;
    m_oldBitmap = old;
    m_hBitmap = hBitmap;
}

HBITMAP CMemoryDC::DetachBitmap()
{
    if (!m_bitmap.GetSafeHandle())
        return NULL;
    if (m_oldBitmap && m_hDC)
        ::SelectObject(m_hDC, m_oldBitmap);
    m_oldBitmap = NULL;
    m_hBitmap = NULL;
    return (HBITMAP)m_bitmap.Detach();
}

CMemoryDC::~CMemoryDC()
{
    if (!m_bMemDC)
    {
        // Borrowed from the printer target: the base destructor must not delete them.
        m_hDC = m_hAttribDC = NULL;
        return;
    }
    if (m_hDC != NULL)
    {
        if (m_pDC != NULL)
            m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left,
                          m_rect.top, SRCCOPY);
        if (m_oldBitmap != NULL)
            ::SelectObject(m_hDC, m_oldBitmap);
    }
    m_bitmap.DeleteObject();
}
