#include "BitmapSlider.h"
#include "MemoryDC.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CBitmapSlider, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CBitmapSlider::CBitmapSlider()
    : m_nMax(100), m_nMin(0), m_nPos(0), m_nPage(20), m_nLimit(-1), m_nDragStartPos(-1), m_nWidth(0), m_nHeight(0),
      m_nThumbWidth(0), m_nThumbHeight(0), m_nMarginLeft(0), m_nMarginRight(0), m_nMarginTop(0), m_nMarginBottom(0),
      m_nThumbBgX(-1), m_nThumbBgY(-1), m_nClickOffset(0), m_bChannelActive(FALSE), m_bThumbActive(FALSE),
      m_bTransparentChannel(FALSE), m_bTransparentThumb(FALSE), m_bThumb(FALSE), m_bChannel(FALSE),
      m_bLButtonDown(FALSE), m_bFocus(FALSE), m_bFocusRect(FALSE), m_bDrawFocusRect(TRUE), m_bEnable(TRUE),
      m_bLimitActive(FALSE)
{
}

CBitmapSlider::~CBitmapSlider() = default;

int CBitmapSlider::Pos2Pixel(int nPos) const
{
    int span = m_nMax - m_nMin;
    double fraction = span != 0 ? (double)(nPos - m_nMin) / span : 0.0; // an empty range keeps the thumb left
    return m_nMarginLeft + (int)((m_nWidth - m_nMarginRight - m_nThumbWidth - m_nMarginLeft) * fraction) +
           m_nThumbWidth / 2;
}

int CBitmapSlider::Pixel2Pos(int nPixel) const
{
    int travel = m_nWidth - m_nMarginRight - m_nMarginLeft - m_nThumbWidth;
    if (travel == 0)
        return m_nMin; // a thumb as wide as the channel cannot move
    return (int)(m_nMin + (double)(nPixel - m_nThumbWidth / 2 - m_nMarginLeft) / travel * (m_nMax - m_nMin));
}

void CBitmapSlider::SetRange(int nMin, int nMax, BOOL bRedraw)
{
    m_nMin = nMin;
    m_nMax = nMax;
    if (bRedraw && m_hWnd)
        Invalidate();
}

void CBitmapSlider::SetPos(int nPos)
{
    if (m_bLimitActive && nPos > m_nLimit)
        nPos = m_nLimit;
    nPos = std::min(nPos, m_nMax);
    nPos = std::max(nPos, m_nMin);
    m_nPos = nPos;
    if (m_hWnd)
        Invalidate();
}

void CBitmapSlider::SetLimit(int nLimit)
{
    nLimit = std::min(nLimit, m_nMax);
    nLimit = std::max(nLimit, m_nMin);
    m_nLimit = nLimit;
    m_bLimitActive = m_nLimit >= 0 && m_nLimit < m_nMax;
    if (m_hWnd)
        Invalidate();
}

void CBitmapSlider::SetMargin(int nLeft, int nTop, int nRight, int nBottom)
{
    m_nMarginLeft = nLeft;
    m_nMarginTop = nTop;
    m_nMarginRight = nRight;
    m_nMarginBottom = nBottom;
}

void CBitmapSlider::DrawFocusRect(BOOL bDraw, BOOL bRedraw)
{
    m_bDrawFocusRect = bDraw;
    if (bRedraw && m_hWnd)
        Invalidate();
}

void CBitmapSlider::Enable(BOOL bEnable)
{
    m_bEnable = bEnable;
    if (m_hWnd)
        Invalidate();
}

void CBitmapSlider::FreeChannel()
{
    m_channel.Free();
    m_channelActive.Free();
    m_limitZone.Free();
    m_bChannel = m_bChannelActive = FALSE;
}

void CBitmapSlider::FreeThumb()
{
    m_thumb.Free();
    m_thumbActive.Free();
    m_thumbBg.DeleteObject();
    m_nThumbBgX = m_nThumbBgY = -1;
    m_bThumb = m_bThumbActive = FALSE;
}

BOOL CBitmapSlider::SetBitmapChannel(UINT nChannelID, UINT nActiveID, UINT nLimitID, BOOL bTransparent,
                                     COLORREF clrTransColor, int iTransPixelX, int iTransPixelY)
{
    if (nChannelID == 0)
    {
        FreeChannel();
        return TRUE;
    }
    FreeChannel();
    if (!m_channel.Load(nChannelID, bTransparent, clrTransColor, iTransPixelX, iTransPixelY))
        return FALSE;
    if (nActiveID && !m_channelActive.Load(nActiveID, bTransparent, clrTransColor, iTransPixelX, iTransPixelY))
    {
        FreeChannel();
        return FALSE;
    }
    m_bChannelActive = nActiveID != 0;
    if (nLimitID && !m_limitZone.Load(nLimitID, bTransparent, clrTransColor, iTransPixelX, iTransPixelY))
    {
        FreeChannel();
        return FALSE;
    }
    m_nWidth = m_channel.width;
    m_nHeight = m_channel.height;
    if (m_hWnd)
    {
        SetWindowPos(NULL, 0, 0, m_nWidth, m_nHeight, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(&m_rect);
    }
    m_bTransparentChannel = bTransparent;
    m_bChannel = TRUE;
    return TRUE;
}

BOOL CBitmapSlider::SetBitmapThumb(UINT nThumbID, UINT nActiveID, BOOL bTransparent, COLORREF clrTransColor,
                                   int iTransPixelX, int iTransPixelY)
{
    FreeThumb();
    if (nThumbID == 0)
        return TRUE;
    if (!m_thumb.Load(nThumbID, bTransparent, clrTransColor, iTransPixelX, iTransPixelY))
        return FALSE;
    if (nActiveID && !m_thumbActive.Load(nActiveID, bTransparent, clrTransColor, iTransPixelX, iTransPixelY))
    {
        FreeThumb();
        return FALSE;
    }
    m_bThumbActive = nActiveID != 0;
    m_nThumbWidth = m_thumb.width;
    m_nThumbHeight = m_thumb.height;
    if (!m_bChannel && m_hWnd)
    {
        GetClientRect(&m_rect);
        m_nWidth = m_rect.Width();
        m_nHeight = m_rect.Height();
    }
    m_bTransparentThumb = bTransparent;
    m_bThumb = TRUE;
    return TRUE;
}

void CBitmapSlider::OnPaint()
{
    CPaintDC dc(this);
    GetClientRect(&m_rect);
    CMemoryDC mem(&dc, &m_rect, m_bTransparentChannel);
    if (m_bFocusRect && (m_bTransparentChannel || !m_bChannel))
    {
        mem.DrawFocusRect(&m_rect); // inverting: drawing it again takes it away
        m_bFocusRect = FALSE;
    }
    int pixel = Pos2Pixel(m_nPos);
    if (m_bChannel)
    {
        if (!m_bChannelActive || !m_bEnable)
            m_channel.Draw(&mem, 0, 0, m_nWidth, m_nHeight, 0, m_bTransparentChannel, nullptr);
        else
        {
            m_channel.Draw(&mem, pixel, 0, m_nWidth - pixel, m_nHeight, pixel, m_bTransparentChannel, &m_channelActive);
            if (m_bLimitActive && m_nLimit > m_nMin - 1 && m_nLimit < m_nMax && m_limitZone.IsLoaded())
            {
                int limitPixel = Pos2Pixel(m_nLimit);
                m_limitZone.Draw(&mem, pixel, 0, limitPixel - pixel, m_nHeight, 0, m_bTransparentChannel, nullptr);
            }
            m_channelActive.Draw(&mem, 0, 0, pixel, m_nHeight, 0, m_bTransparentChannel, &m_channel);
        }
    }
    if (m_nThumbBgX != -1 && m_thumbBg.GetSafeHandle())
    {
        CMemoryDC src((HBITMAP)m_thumbBg.GetSafeHandle(), mem.GetSafeHdc());
        mem.BitBlt(m_nThumbBgX, m_nThumbBgY, m_nThumbWidth, m_nThumbHeight, &src, 0, 0, SRCCOPY);
        m_nThumbBgX = m_nThumbBgY = -1;
    }
    if (m_bThumb && m_bEnable)
    {
        const MaskedBitmap& thumb = (m_bLButtonDown && m_bThumbActive) ? m_thumbActive : m_thumb;
        int x = pixel - m_nThumbWidth / 2, y = m_nMarginTop;
        if (m_bTransparentChannel || !m_bChannel)
        {
            // What lies under the thumb, put back before the next thumb is drawn.
            CMemoryDC save(mem.GetSafeHdc(), m_nThumbWidth, m_nThumbHeight);
            save.BitBlt(0, 0, m_nThumbWidth, m_nThumbHeight, &mem, x, y, SRCCOPY);
            m_thumbBg.DeleteObject();
            m_thumbBg.Attach(save.DetachBitmap());
            m_nThumbBgX = x;
            m_nThumbBgY = y;
        }
        thumb.Draw(&mem, x, y, m_nThumbWidth, m_nThumbHeight, 0, m_bTransparentThumb, &m_thumb);
    }
    if (m_bDrawFocusRect && m_bFocus && m_bEnable)
    {
        mem.DrawFocusRect(&m_rect);
        m_bFocusRect = TRUE;
    }
}

void CBitmapSlider::PostToParent(UINT message)
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::PostMessageW(parent, message, GetDlgCtrlID(), m_nPos);
}

void CBitmapSlider::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bEnable)
        return;
    SetCapture();
    SetFocus();
    m_bLButtonDown = TRUE;
    if (m_nDragStartPos == -1)
        m_nDragStartPos = m_nPos;
    int centre = Pos2Pixel(m_nPos);
    m_nClickOffset = std::abs(point.x - centre) <= m_nThumbWidth / 2 ? point.x - centre : 0;
    OnMouseMove(nFlags, point);
    Invalidate();
}

void CBitmapSlider::OnMouseMove(UINT, CPoint point)
{
    if (!m_bLButtonDown || !m_bEnable)
        return;
    int x = point.x - m_nClickOffset;
    x = std::max(x, m_nMarginLeft + m_nThumbWidth / 2);
    x = std::min(x, m_nWidth - m_nThumbWidth / 2 - m_nMarginRight);
    if (x != Pos2Pixel(m_nPos))
    {
        SetPos(Pixel2Pos(x));
        PostToParent(WM_SLIDER_MOVING);
    }
}

void CBitmapSlider::OnLButtonUp(UINT, CPoint)
{
    if (!m_bEnable)
        return;
    ::ReleaseCapture();
    m_bLButtonDown = FALSE;
    if (m_bLimitActive && m_nPos > m_nLimit && m_nDragStartPos != -1)
        m_nPos = m_nDragStartPos;
    m_nDragStartPos = -1;
    Invalidate();
    PostToParent(WM_SLIDER_MOVED);
}

UINT CBitmapSlider::OnGetDlgCode()
{
    if (::GetKeyState(VK_TAB) & 0x8000)
        return (UINT)Default();
    return DLGC_WANTARROWS;
}

void CBitmapSlider::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (!m_bEnable)
        return;
    int pos = m_nPos;
    switch (nChar)
    {
    case VK_PRIOR: pos -= m_nPage; break;
    case VK_NEXT: pos += m_nPage; break;
    case VK_END: pos = m_nMax; break;
    case VK_HOME: pos = m_nMin; break;
    case VK_RIGHT:
    case VK_DOWN: pos += 1; break;
    case VK_LEFT:
    case VK_UP: pos -= 1; break;
    default: Default(); return;
    }
    SetPos(pos);
    PostToParent(WM_SLIDER_MOVED);
}

void CBitmapSlider::OnSetFocus(CWnd*)
{
    m_bFocus = TRUE;
    Invalidate();
}

void CBitmapSlider::OnKillFocus(CWnd*)
{
    m_bFocus = FALSE;
    Invalidate();
}

void CBitmapSlider::OnDestroy()
{
    FreeChannel();
    FreeThumb();
    Default();
}
