#include "SFSkinObjectTreeView.h"
#include "SFSkinFramework.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectTreeView, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectTreeView, CSFSkinObjectFrame)
ON_MESSAGE(WM_CREATE, &CSFSkinObjectTreeView::OnCreateControl)
END_MESSAGE_MAP()

CSFSkinObjectTreeView::CSFSkinObjectTreeView()
{
    m_className = L"TREEVIEW";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}

void CSFSkinObjectTreeView::ApplySkinState(BOOL prevEnabled, BOOL newEnabled)
{
    if (newEnabled)
    {
        ::SendMessageW(m_hWnd, TVM_SETBKCOLOR, 0, (LPARAM)GetColor(COLOR_WINDOW));
        ::SendMessageW(m_hWnd, TVM_SETTEXTCOLOR, 0, (LPARAM)GetColor(COLOR_WINDOWTEXT));
        ::SendMessageW(m_hWnd, TVM_SETLINECOLOR, 0, (LPARAM)GetColor(COLOR_GRAYTEXT));
    }
    else
    {
        // -1 and CLR_DEFAULT hand the colours back to the system.
        ::SendMessageW(m_hWnd, TVM_SETBKCOLOR, 0, (LPARAM)(COLORREF)-1);
        ::SendMessageW(m_hWnd, TVM_SETTEXTCOLOR, 0, (LPARAM)(COLORREF)-1);
        ::SendMessageW(m_hWnd, TVM_SETLINECOLOR, 0, (LPARAM)CLR_DEFAULT);
    }
    CSFSkinObjectFrame::ApplySkinState(prevEnabled, newEnabled);
}

LRESULT CSFSkinObjectTreeView::OnCreateControl(WPARAM wParam, LPARAM lParam)
{
    if (OnCreateMessage(wParam, lParam) == -1)
        return -1;
    if (m_manager && m_manager->IsEnabled())
    {
        ::SendMessageW(m_hWnd, TVM_SETBKCOLOR, 0, (LPARAM)GetColor(COLOR_WINDOW));
        ::SendMessageW(m_hWnd, TVM_SETTEXTCOLOR, 0, (LPARAM)GetColor(COLOR_WINDOWTEXT));
    }
    return 0;
}
