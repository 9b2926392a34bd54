#include "ListCtrlTransfer.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CListCtrlTransfer, CListCtrl)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CListCtrlTransfer::CListCtrlTransfer()
    : m_taskCount(0), m_running(0), m_done(0), m_failed(0), m_rowHeight(20), m_hand(NULL),
      m_stoppingAll(FALSE), m_tick(0), m_hoverRow(-1)
{
    m_hand = LoadCursorW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    if (!m_hand)
        m_hand = LoadCursorW(NULL, IDC_HAND);
}

CListCtrlTransfer::~CListCtrlTransfer()
{
    for (HICON icon : m_icons)
        if (icon)
            DestroyIcon(icon);
}

void CListCtrlTransfer::SetItemHeight(int height)
{
    m_rowHeight = height;
    // The control asks for its row height again when its size changes.
    CRect rect;
    GetWindowRect(&rect);
    SetWindowPos(NULL, 0, 0, rect.Width(), rect.Height() + 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(NULL, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetTimer(TimerRedraw, 200, NULL);
}

void CListCtrlTransfer::MeasureItem(LPMEASUREITEMSTRUCT item)
{
    item->itemHeight = m_rowHeight;
}

void CListCtrlTransfer::OnPaint()
{
    PAINTSTRUCT ps;
    HDC target = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HDC memory = CreateCompatibleDC(target);
    HBITMAP picture = CreateCompatibleBitmap(target, client.right > 0 ? client.right : 1,
                                             client.bottom > 0 ? client.bottom : 1);
    HGDIOBJ old = SelectObject(memory, picture);
    FillRect(memory, &client, (HBRUSH)GetStockObject(WHITE_BRUSH));
    // The control paints its rows (through DrawItem) into the off-screen picture.
    DefWindowProc(WM_PRINTCLIENT, (WPARAM)memory, PRF_CLIENT);
    BitBlt(target, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ::EndPaint(m_hWnd, &ps);
}

void CListCtrlTransfer::OnDestroy()
{
    KillTimer(TimerRedraw);
    Default();
}
