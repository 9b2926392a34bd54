#include "SFSkinObjectListView.h"
#include "SFSkinFramework.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectListView, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectListView, CSFSkinObjectFrame)
ON_MESSAGE(WM_CREATE, &CSFSkinObjectListView::OnCreateControl)
ON_MESSAGE(WM_HSCROLL, &CSFSkinObjectListView::OnScrollControl)
ON_MESSAGE(WM_VSCROLL, &CSFSkinObjectListView::OnScrollControl)
END_MESSAGE_MAP()

CSFSkinObjectListView::CSFSkinObjectListView()
{
    m_className = L"LISTVIEW";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}

void CSFSkinObjectListView::SetColors(COLORREF back, COLORREF text)
{
    ::SendMessageW(m_hWnd, LVM_SETBKCOLOR, 0, (LPARAM)back);
    ::SendMessageW(m_hWnd, LVM_SETTEXTCOLOR, 0, (LPARAM)text);
    ::SendMessageW(m_hWnd, LVM_SETTEXTBKCOLOR, 0, (LPARAM)back);
}

void CSFSkinObjectListView::ApplySkinState(BOOL prevEnabled, BOOL newEnabled)
{
    if (newEnabled)
        SetColors(GetColor(COLOR_WINDOW), GetColor(COLOR_WINDOWTEXT));
    else
        SetColors(::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT));
    CSFSkinObjectFrame::ApplySkinState(prevEnabled, newEnabled);
}

LRESULT CSFSkinObjectListView::OnCreateControl(WPARAM wParam, LPARAM lParam)
{
    if (OnCreateMessage(wParam, lParam) == -1)
        return -1;
    if (m_manager && m_manager->IsEnabled())
        SetColors(GetColor(COLOR_WINDOW), GetColor(COLOR_WINDOWTEXT));
    return 0;
}

LRESULT CSFSkinObjectListView::OnScrollControl(WPARAM wParam, LPARAM lParam)
{
    UINT message = CSFSkinObject::GetCurrentMessage();
    int code = LOWORD(wParam);
    // Windows 9x moves the thumb but not the items for the list's own bars.
    if (m_manager && m_manager->IsWin9x() && lParam == 0 && (code == SB_THUMBPOSITION || code == SB_THUMBTRACK))
    {
        int position = (short)HIWORD(wParam);
        if (message == WM_HSCROLL)
            return ::SendMessageW(m_hWnd, LVM_SCROLL, position - ::GetScrollPos(m_hWnd, SB_HORZ), 0);
        int itemHeight = HIWORD(::SendMessageW(m_hWnd, LVM_GETITEMSPACING, TRUE, 0));
        return ::SendMessageW(m_hWnd, LVM_SCROLL, 0, (position - ::GetScrollPos(m_hWnd, SB_VERT)) * itemHeight);
    }
    LRESULT result = Default();
    RepaintFrameScrollBar(message == WM_HSCROLL ? SF_SBBAR_HORZ : SF_SBBAR_VERT);
    return result;
}
