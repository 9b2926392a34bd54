// DrawEdge and DrawFrameControl the skin's way: the system's edge algorithm
// with the skin's colours and border sizes, and scroll arrows, size grips
// and push buttons from the style. The API hooks route the system calls here
// while the skin's colours are applied.
#pragma once
#include <Framework.h>

// 1 when drawn, 0 for a raised and sunken edge in one pass.
BOOL SkinDrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);
// 1 when drawn; 0 for kinds the skin leaves to the system.
BOOL SkinDrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state);
