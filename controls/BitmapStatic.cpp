#include "BitmapStatic.h"
#include "SkinFrame.h"

BEGIN_MESSAGE_MAP(CBitmapStatic, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CBitmapStatic::OnPaint()
{
    CPaintDC dc(this);
    CBitmap bitmap;
    if (!SkinFrame::LoadBitmapResource(bitmap, m_nBitmapID))
        return;
    CSize size = SkinFrame::GetBitmapSize(bitmap);
    CRect client;
    GetClientRect(&client);
    CDC src;
    src.CreateCompatibleDC(&dc);
    HGDIOBJ old = src.SelectObject((HGDIOBJ)bitmap.GetSafeHandle());
    dc.StretchBlt(0, 0, client.Width(), client.Height(), &src, 0, 0, size.cx, size.cy, SRCCOPY);
    src.SelectObject(old);
}
