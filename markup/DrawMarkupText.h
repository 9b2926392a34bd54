// DrawMarkupText: draws one text into a rectangle like DrawText with the given
// flags, honouring simple inline tags (b, strong, i, em, u, font color=, sub,
// sup, br, p) with the context's selected font and text colour as the
// starting style. Supported flags: DT_LEFT/DT_CENTER/DT_RIGHT, DT_TOP/
// DT_VCENTER/DT_BOTTOM, DT_END_ELLIPSIS, DT_SINGLELINE, DT_CALCRECT,
// DT_NOCLIP. Returns the height of the text drawn.
#pragma once
#include <winsock2.h> // before windows.h, which would bring the old winsock.h
#include <windows.h>

class CDC;

int DrawMarkupText(HDC hDC, LPCWSTR text, int length, LPRECT rect, UINT format);
int DrawMarkupText(CDC* pDC, LPCWSTR text, int length, LPRECT rect, UINT format);
