#include "ParentBackground.h"

void ParentBackground::Drop()
{
    m_picture.reset();
}

void ParentBackground::Paint(CWnd* pButton, CDC* pTarget, CDC* pDC)
{
    CRect client;
    pButton->GetClientRect(&client);
    if (IsTaken() && m_size != client.Size())
        Drop();
    if (!IsTaken())
    {
        m_size = client.Size();
        CWnd* parent = pButton->GetParent();
        if (!parent)
            return;
        CRect rect;
        pButton->GetWindowRect(&rect);
        parent->ScreenToClient(&rect);
        m_picture.reset(new CMemoryDC(pTarget->GetSafeHdc(), client.Width(), client.Height()));
        // A parent that can draw its client area into a given context (the
        // skinned dialogs) paints the part under the button; otherwise its
        // pixels are read back, which holds what the parent has painted so far.
        CPoint origin = m_picture->SetViewportOrg(-rect.left, -rect.top);
        BOOL printed = parent->SendMessage(WM_PRINTCLIENT, (WPARAM)m_picture->GetSafeHdc(), PRF_CLIENT) != 0;
        m_picture->SetViewportOrg(origin);
        if (!printed)
        {
            CClientDC parentDC(parent);
            m_picture->BitBlt(0, 0, client.Width(), client.Height(), &parentDC, rect.left, rect.top, SRCCOPY);
        }
    }
    pDC->BitBlt(0, 0, client.Width(), client.Height(), m_picture.get(), 0, 0, SRCCOPY);
}
