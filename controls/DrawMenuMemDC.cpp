#include "DrawMenuMemDC.h"

CDrawMenuMemDC::CDrawMenuMemDC(CDC* pDC, const RECT& rect) : m_pDC(pDC), m_rect(rect)
{
    m_bMemDC = !pDC->IsPrinting();
    if (m_bMemDC)
    {
        CreateCompatibleDC(pDC);
        m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
        m_oldBitmap = ::SelectObject(m_hDC, m_bitmap.GetSafeHandle());
        SetWindowOrg(m_rect.left, m_rect.top);
    }
    else
    {
        m_bPrinting = pDC->m_bPrinting;
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
    }
}

CDrawMenuMemDC::~CDrawMenuMemDC()
{
    if (m_bMemDC)
    {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                      SRCCOPY);
        if (m_oldBitmap)
            ::SelectObject(m_hDC, m_oldBitmap);
    }
    else
    {
        m_hDC = m_hAttribDC = NULL;
    }
}
