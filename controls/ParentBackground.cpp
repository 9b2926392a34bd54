#include "ParentBackground.h"

void ParentBackground::Drop()
{
    m_picture.reset();
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
        m_picture.reset(new CMemoryDC(pTarget->GetSafeHdc(), client.Width(), client.Height()));
        m_picture->BitBlt(0, 0, client.Width(), client.Height(), &parentDC, rect.left, rect.top, SRCCOPY);
    }
    pDC->BitBlt(0, 0, client.Width(), client.Height(), m_picture.get(), 0, 0, SRCCOPY);
}
