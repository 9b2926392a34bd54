#include "BitmapProgress.h"
#include "MemoryDC.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CBitmapProgress, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CBitmapProgress::CBitmapProgress()
    : m_nMax(100), m_nMin(0), m_nPos(0), m_nStep(20), m_nWidth(0), m_nHeight(0), m_nMarginLeft(0), m_nMarginRight(0),
      m_bFill(FALSE), m_bTransparent(FALSE), m_bBitmaps(FALSE), m_bShowFill(TRUE)
{
}

CBitmapProgress::~CBitmapProgress() = default;

int CBitmapProgress::Pos2Pixel(int nPos) const
{
    int span = m_nMax - m_nMin;
    double fraction = span != 0 ? (double)(nPos - m_nMin) / span : 0.0;
    return m_nMarginLeft + (int)(fraction * (m_nWidth - m_nMarginRight - m_nMarginLeft));
}

void CBitmapProgress::SetRange(int nMin, int nMax, BOOL bRedraw)
{
    m_nMin = nMin;
    m_nMax = nMax;
    if (bRedraw && m_hWnd)
        Invalidate();
}

void CBitmapProgress::SetPos(int nPos)
{
    m_nPos = std::max(std::min(nPos, m_nMax), m_nMin);
    if (m_hWnd)
        Invalidate();
}

BOOL CBitmapProgress::SetBitmaps(UINT nBackgroundID, UINT nFillID, BOOL bTransparent, COLORREF clrTransColor,
                                 int iTransPixelX, int iTransPixelY)
{
    m_background.Free();
    m_fill.Free();
    m_bBitmaps = m_bFill = FALSE;
    if (nBackgroundID == 0)
        return TRUE;
    if (!m_background.Load(nBackgroundID, bTransparent, clrTransColor, iTransPixelX, iTransPixelY))
        return FALSE;
    if (nFillID && !m_fill.Load(nFillID, bTransparent, clrTransColor, iTransPixelX, iTransPixelY))
    {
        m_background.Free();
        return FALSE;
    }
    m_bFill = nFillID != 0;
    m_nWidth = m_background.width;
    m_nHeight = m_background.height;
    if (m_hWnd)
    {
        SetWindowPos(NULL, 0, 0, m_nWidth, m_nHeight, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(&m_rect);
    }
    m_bTransparent = bTransparent;
    m_bBitmaps = TRUE;
    return TRUE;
}

void CBitmapProgress::OnPaint()
{
    CPaintDC dc(this);
    GetClientRect(&m_rect);
    CMemoryDC mem(&dc, &m_rect, m_bTransparent);
    if (!m_bBitmaps)
        return;
    if (m_bFill && m_bShowFill)
    {
        int pixel = Pos2Pixel(m_nPos);
        m_background.Draw(&mem, pixel, 0, m_nWidth - pixel, m_nHeight, pixel, m_bTransparent, &m_fill);
        m_fill.Draw(&mem, 0, 0, pixel, m_nHeight, 0, m_bTransparent, &m_background);
    }
    else
        m_background.Draw(&mem, 0, 0, m_nWidth, m_nHeight, 0, m_bTransparent, nullptr);
}

void CBitmapProgress::OnDestroy()
{
    m_background.Free();
    m_fill.Free();
    Default();
}
