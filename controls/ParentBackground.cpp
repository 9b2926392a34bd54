#include "ParentBackground.h"

void ParentBackground::Drop()
{
    if (m_dc.GetSafeHdc() && m_oldBitmap)
        m_dc.SelectObject(m_oldBitmap);
    m_oldBitmap = NULL;
    m_bitmap.DeleteObject();
    m_dc.DeleteDC();
}

void ParentBackground::Paint(CWnd* pButton, CDC* pTarget, CDC* pDC)
{
    CRect client;
    pButton->GetClientRect(&client);
    if (!IsTaken())
    {
        CWnd* parent = pButton->GetParent();
        if (!parent)
            return;
        CRect rect;
        pButton->GetWindowRect(&rect);
        parent->ScreenToClient(&rect);
        CClientDC parentDC(parent);
        m_dc.CreateCompatibleDC(pTarget);
        m_bitmap.CreateCompatibleBitmap(pTarget, client.Width(), client.Height());
        m_oldBitmap = m_dc.SelectObject((HGDIOBJ)m_bitmap.GetSafeHandle());
        m_dc.BitBlt(0, 0, client.Width(), client.Height(), &parentDC, rect.left, rect.top, SRCCOPY);
    }
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &m_dc, 0, 0, SRCCOPY);
}
