#include "BitmapDC.h"

BitmapDC::BitmapDC(HDC reference, HBITMAP bitmap) : m_old(NULL) { Init(reference, bitmap); }

BitmapDC::BitmapDC(CDC* reference, CBitmap* bitmap) : m_old(NULL)
{
    Init(reference->GetSafeHdc(), (HBITMAP)bitmap->GetSafeHandle());
}

void BitmapDC::Init(HDC reference, HBITMAP bitmap)
{
    HDC dc = ::CreateCompatibleDC(reference);
    if (dc == NULL)
        return;
    Attach(dc);
    if (bitmap)
        m_old = ::SelectObject(dc, bitmap);
}

BitmapDC::~BitmapDC()
{
    if (m_hDC == NULL)
        return;
    if (m_old)
        ::SelectObject(m_hDC, m_old);
    ::DeleteDC(Detach());
}
