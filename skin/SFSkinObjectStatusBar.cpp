#include "SFSkinObjectStatusBar.h"

IMPLEMENT_DYNCREATE(CSFSkinObjectStatusBar, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectStatusBar, CSFSkinObjectFrame)
ON_MESSAGE(WM_CREATE, &CSFSkinObjectStatusBar::OnCreateControl)
END_MESSAGE_MAP()

CSFSkinObjectStatusBar::CSFSkinObjectStatusBar() { m_className = L"STATUSBAR"; }

void CSFSkinObjectStatusBar::ResetSkinCache()
{
    CSFSkinObjectFrame::ResetSkinCache();
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_WININICHANGE, 0, 0);
}

LRESULT CSFSkinObjectStatusBar::OnCreateControl(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    ::SendMessageW(m_hWnd, WM_WININICHANGE, 0, 0);
    return 0;
}
