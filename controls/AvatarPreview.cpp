#include "AvatarPreview.h"
#include "MemoryDC.h"
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
    {
        CMemoryDC frame(&dc, &client); // the frame goes to the window in one block
        SkinFrame::DrawBitmap(m_frame, &frame, 0, 0);
    }
    if (!m_strPath.IsEmpty() && m_image.IsValid())
    {
        CRect inner = client;
        inner.DeflateRect(INSET, INSET);
        m_image.Draw(dc.GetSafeHdc(), inner);
    }
}
