// DrawMarkupText: draws one text word by word into a rectangle, in the manner
// of DrawText, honouring a few inline tags: b and strong (bold), i and em
// (italic), u (underline), sub, sup, font color=#RRGGBB, br and p. A tag
// matches when its row name begins the text after "<", so "<img>" reads as
// italic; an unknown opening tag is drawn as text and an unknown closing tag
// vanishes. The context's font and text colour are the starting style.
//
// DT_CENTER, DT_RIGHT and DT_TABSTOP are dropped and DT_NOPREFIX is always
// added; DT_SINGLELINE, DT_WORDBREAK, DT_CALCRECT and DT_END_ELLIPSIS are
// honoured here and the other flags go to DrawText for every word. Without a
// rectangle the text starts at the context's current position. Returns the
// offset of the last line from the top; with DT_CALCRECT the rectangle is
// set to the text's extent and nothing is drawn.
#pragma once
#include <winsock2.h> // before windows.h, which would bring the old winsock.h
#include <windows.h>

class CDC;

int DrawMarkupText(HDC hDC, LPCWSTR text, int length, LPRECT rect, UINT format);
int DrawMarkupText(CDC* pDC, LPCWSTR text, int length, LPRECT rect, UINT format);
