// The buddy list's highlight bar: a rounded frame in a darker shade of the
// base colour over a vertical gradient whose upper half is lightened, with
// optional soft corner pixels. Used for the selected row and for a hovered
// listening line.
#pragma once

#include <windows.h>

// p percent of a over b, per channel (integer arithmetic).
COLORREF BlendColor(COLORREF a, COLORREF b, int percent);
void DrawHighlightBar(HDC dc, const RECT& bar, COLORREF base, bool corners);
