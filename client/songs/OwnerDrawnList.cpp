#include "OwnerDrawnList.h"

namespace OwnerDrawnList
{
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
