#include "BufferedDC.h"

BufferedDC::BufferedDC(HDC target, const RECT& rect) : m_target(target), m_rect(rect), m_bitmap(NULL), m_old(NULL)
{
    if (rect.right <= 0 || rect.bottom <= 0)
        return;
    HDC dc = ::CreateCompatibleDC(target);
    if (dc == NULL)
        return;
    Attach(dc);
    m_bitmap = ::CreateCompatibleBitmap(target, rect.right, rect.bottom);
    if (m_bitmap)
        m_old = ::SelectObject(dc, m_bitmap);
}

BufferedDC::~BufferedDC()
{
    if (m_hDC == NULL)
        return;
    if (m_old && m_target)
        ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_hDC,
                 m_rect.left, m_rect.top, SRCCOPY);
    if (m_old)
        ::SelectObject(m_hDC, m_old);
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    ::DeleteDC(Detach());
}

OffsetBufferedDC::OffsetBufferedDC(HDC target, const RECT& rect)
    : m_target(target), m_rect(rect), m_bitmap(NULL), m_old(NULL)
{
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    HDC dc = ::CreateCompatibleDC(target);
    if (dc == NULL)
        return;
    Attach(dc);
    m_bitmap = ::CreateCompatibleBitmap(target, width, height);
    if (m_bitmap)
        m_old = ::SelectObject(dc, m_bitmap);
    ::SetViewportOrgEx(dc, -rect.left, -rect.top, NULL);
}

OffsetBufferedDC::~OffsetBufferedDC()
{
    if (m_hDC == NULL)
        return;
    ::SetViewportOrgEx(m_hDC, 0, 0, NULL);
    if (m_old)
        ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_hDC, 0,
                 0, SRCCOPY);
    if (m_old)
        ::SelectObject(m_hDC, m_old);
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    ::DeleteDC(Detach());
}
