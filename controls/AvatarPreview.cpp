#include "AvatarPreview.h"
#include "SkinFrame.h"

BEGIN_MESSAGE_MAP(CAvatarPreview, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CAvatarPreview::CAvatarPreview() : m_nType(0) {}

BOOL CAvatarPreview::SetFrameBitmap(UINT nID)
{
    return SkinFrame::LoadBitmapResource(m_frame, nID);
}

BOOL CAvatarPreview::SetImageFile(LPCTSTR lpszPath, DWORD nType)
{
    m_strPath = lpszPath ? lpszPath : L"";
    m_nType = nType;
    if (m_strPath.IsEmpty())
    {
        if (m_hWnd)
            Invalidate();
        return TRUE;
    }
    m_image.Destroy();
    BOOL ok = m_image.Load(m_strPath, nType);
    if (ok && m_hWnd)
    {
        CRect client;
        GetClientRect(&client);
        if (client.Width() > 2 * INSET && client.Height() > 2 * INSET)
            m_image.Resample(client.Width() - 2 * INSET, client.Height() - 2 * INSET, 4, 5);
    }
    if (!ok)
    {
        m_image.Destroy();
        m_strPath.Empty();
    }
    if (m_hWnd)
        Invalidate();
    return ok;
}

void CAvatarPreview::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap picture;
    picture.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
    HGDIOBJ old = mem.SelectObject((HGDIOBJ)picture.GetSafeHandle());
    SkinFrame::DrawBitmap(m_frame, &mem, 0, 0);
    dc.BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
    if (!m_strPath.IsEmpty() && m_image.IsValid())
    {
        CRect inner = client;
        inner.DeflateRect(INSET, INSET);
        m_image.Draw(dc.GetSafeHdc(), inner);
    }
}
