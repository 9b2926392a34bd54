#include "StatusStatic.h"

BEGIN_MESSAGE_MAP(CStatusStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CStatusStatic::CStatusStatic() : m_nStatus(-1) {}

BOOL CStatusStatic::AddStatusIcon(int nStatus, UINT nIconID)
{
    if (m_icons.count(nStatus))
        return TRUE;
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(nIconID), RT_GROUP_ICON);
    HICON icon = ::LoadIconW(hInst, MAKEINTRESOURCEW(nIconID));
    if (!icon)
        return FALSE;
    m_icons[nStatus] = icon;
    return TRUE;
}

HICON CStatusStatic::GetStatusIcon(int nStatus) const
{
    auto it = m_icons.find(nStatus);
    return it == m_icons.end() ? NULL : it->second;
}

void CStatusStatic::OnPaint()
{
    CPaintDC dc(this);
    HICON icon = GetStatusIcon(m_nStatus);
    if (!icon)
        return;
    CRect client;
    GetClientRect(&client);
    dc.DrawIconEx(0, 0, icon, client.Width(), client.Height(), 0, NULL, DI_NORMAL | DI_COMPAT);
}

void CStatusStatic::OnDestroy()
{
    Default();
    m_icons.clear();
}
