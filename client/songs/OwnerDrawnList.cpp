#include "OwnerDrawnList.h"

#include "MemoryDC.h"

#include <algorithm>

namespace OwnerDrawnList
{
void PaintBandedRows(CListCtrl* list, CDC* paint, int rowHeight, COLORREF even, COLORREF odd)
{
    CRect client, headerRect;
    list->GetClientRect(&client);
    if (CHeaderCtrl* header = list->GetHeaderCtrl())
        if (header->GetSafeHwnd() && header->IsWindowVisible())
        {
            header->GetWindowRect(&headerRect);
            list->ScreenToClient(&headerRect);
        }
    CRect area = client;
    area.top = std::max(client.top, headerRect.bottom);
    if (area.IsRectEmpty())
        return;
    CMemoryDC mem(paint, &area);
    mem.FillSolidRect(&area, ::GetSysColor(COLOR_WINDOW));
    int top = list->GetTopIndex();
    CRect first;
    int bandTop = area.top;
    if (list->GetItemCount() > 0 && list->GetItemRect(top, &first, LVIR_BOUNDS))
        bandTop = first.top;
    for (int y = bandTop, index = top; y < area.bottom; y += rowHeight, ++index)
    {
        CRect band(area.left, std::max(y, static_cast<int>(area.top)), area.right, y + rowHeight);
        mem.FillSolidRect(&band, index % 2 == 0 ? even : odd);
    }
    list->DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(mem.GetSafeHdc()), 0);
}

void AskRowHeight(CWnd* list)
{
    CRect window;
    list->GetWindowRect(&window);
    WINDOWPOS pos = {list->GetSafeHwnd(), NULL, 0, 0, window.Width(), window.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER};
    list->SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

void ResetWholeTool(CWnd* list, CMarkupTip& tip)
{
    if (!tip.GetSafeHwnd())
        return;
    tip.RemoveToolById(list, list->GetDlgCtrlID());
    MarkupToolInfo ti;
    ti.id = list->GetDlgCtrlID();
    list->GetClientRect(&ti.rect);
    ti.mask = MTT_MASK_BEHAVIOUR;
    tip.AddToolInfo(list, ti);
}
} // namespace OwnerDrawnList
