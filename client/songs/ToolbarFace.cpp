#include "ToolbarFace.h"

#include "MemoryDC.h"

namespace ToolbarFace
{
void Paint(CWnd* wnd, CDC* pDC, HICON icon, CBitmap& tile, COLORREF fill)
{
    CRect client;
    wnd->GetClientRect(&client);
    if (wnd->IsIconic())
    {
        int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
        pDC->DrawIcon((client.Width() - cx + 1) / 2, (client.Height() - cy + 1) / 2, icon);
        return;
    }
    PaintBackground(wnd, pDC, tile, fill);
}

void PaintBackground(CWnd* wnd, CDC* pDC, CBitmap& tile, COLORREF fill)
{
    CRect client;
    wnd->GetClientRect(&client);
    CMemoryDC memory(pDC->GetSafeHdc(), client.Width(), client.Height());
    memory.FillSolidRect(&client, fill);
    SkinFrame::TileBitmap(tile, &memory, 0, 0, client.Width(), client.Height());
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
}
} // namespace ToolbarFace
