#include "SFSkinObjectStatusBar.h"

IMPLEMENT_DYNCREATE(CSFSkinObjectStatusBar, CSFSkinObjectFrame)

namespace
{
// WM_WININICHANGE cannot be posted (its lParam may carry a string), so the
// object posts itself this and sends the control WM_WININICHANGE when it
// arrives, after the skin change that asked for it has finished.
const UINT kRemeasure = ::RegisterWindowMessageW(L"SFSkinObjectStatusBar.Remeasure");
} // namespace

BEGIN_MESSAGE_MAP(CSFSkinObjectStatusBar, CSFSkinObjectFrame)
ON_MESSAGE(WM_CREATE, &CSFSkinObjectStatusBar::OnCreateControl)
ON_REGISTERED_MESSAGE(kRemeasure, &CSFSkinObjectStatusBar::OnRemeasure)
END_MESSAGE_MAP()

CSFSkinObjectStatusBar::CSFSkinObjectStatusBar() { m_className = L"STATUSBAR"; }

void CSFSkinObjectStatusBar::ResetSkinCache()
{
    CSFSkinObjectFrame::ResetSkinCache();
    if (m_hWnd)
        ::PostMessageW(m_hWnd, kRemeasure, 0, 0);
}

LRESULT CSFSkinObjectStatusBar::OnCreateControl(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    ::SendMessageW(m_hWnd, WM_WININICHANGE, 0, 0);
    return 0;
}

LRESULT CSFSkinObjectStatusBar::OnRemeasure(WPARAM, LPARAM)
{
    ::SendMessageW(m_hWnd, WM_WININICHANGE, 0, 0);
    return 0;
}
