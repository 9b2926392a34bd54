// ToolbarFace: how the song pane's small toolbar dialogs (the web browser's
// site strip, the floating toolbar) paint themselves: a tiled skin picture
// over a plain colour, drawn off-screen so the buttons never flicker.
#pragma once
#include "SkinDialog.h"

namespace ToolbarFace
{
// The whole face for WM_PAINT; a minimized window shows its icon instead.
void Paint(CWnd* wnd, CDC* pDC, HICON icon, CBitmap& tile, COLORREF fill);
// The tiled background alone (also what WM_PRINTCLIENT asks for).
void PaintBackground(CWnd* wnd, CDC* pDC, CBitmap& tile, COLORREF fill);
} // namespace ToolbarFace
