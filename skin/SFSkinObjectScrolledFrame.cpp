#include "SFSkinObjectScrolledFrame.h"
#include "SFSkinFramework.h"

IMPLEMENT_DYNAMIC(CSFSkinObjectScrolledFrame, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectScrolledFrame, CSFSkinObjectFrame)
ON_MESSAGE(WM_VSCROLL, &CSFSkinObjectScrolledFrame::OnDefaultThenCheck)
ON_MESSAGE(WM_HSCROLL, &CSFSkinObjectScrolledFrame::OnDefaultThenCheck)
ON_MESSAGE(WM_KEYDOWN, &CSFSkinObjectScrolledFrame::OnDefaultThenCheck)
ON_MESSAGE(WM_CHAR, &CSFSkinObjectScrolledFrame::OnDefaultThenCheck)
ON_MESSAGE(WM_WINDOWPOSCHANGED, &CSFSkinObjectScrolledFrame::OnWindowPosChangedScrolled)
ON_MESSAGE(WM_ERASEBKGND, &CSFSkinObjectScrolledFrame::OnEraseBkgndScrolled)
END_MESSAGE_MAP()

CSFSkinObjectScrolledFrame::CSFSkinObjectScrolledFrame() : m_barRedraws(0) { ZeroMemory(m_saved, sizeof(m_saved)); }

BOOL CSFSkinObjectScrolledFrame::ControlsDrawOwnBars()
{
    return m_manager != NULL && m_manager->GetComCtlVersion() >= MAKELONG(0, 6);
}

void CSFSkinObjectScrolledFrame::CheckScrollBarChange()
{
    if (ControlsDrawOwnBars() || m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    ScrollBarLayout* bars[2] = {&m_horzBar, &m_vertBar};
    const int kinds[2] = {SB_HORZ, SB_VERT};
    for (int i = 0; i < 2; i++)
    {
        if (!bars[i]->visible)
            continue;
        SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_POS};
        if (!::GetScrollInfo(m_hWnd, kinds[i], &info))
            continue;
        SCROLLINFO& saved = m_saved[i];
        if (info.nPos == saved.nPos && info.nMax == saved.nMax && info.nMin == saved.nMin)
            continue;
        saved = info;
        RepaintFrameScrollBar(i == 0 ? SF_SBBAR_HORZ : SF_SBBAR_VERT);
        m_barRedraws++;
    }
}

BOOL CSFSkinObjectScrolledFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    BOOL handled = CSFSkinObjectFrame::OnWndMsg(message, wParam, lParam, pResult);
    if (message == WM_MOUSEWHEEL)
        CheckScrollBarChange();
    return handled;
}

LRESULT CSFSkinObjectScrolledFrame::OnDefaultThenCheck(WPARAM, LPARAM)
{
    LRESULT result = Default();
    CheckScrollBarChange();
    return result;
}

LRESULT CSFSkinObjectScrolledFrame::OnEraseBkgndScrolled(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = OnEraseBkgndMessage(wParam, lParam);
    CheckScrollBarChange();
    return result;
}

LRESULT CSFSkinObjectScrolledFrame::OnWindowPosChangedScrolled(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = OnWindowPosChangedMessage(wParam, lParam);
    CheckScrollBarChange();
    return result;
}
