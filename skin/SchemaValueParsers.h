// Text formats of the typed values of a style (the reader has already
// upper-cased and trimmed the text). Every parser starts from a zeroed value,
// so whatever does not parse stays 0.
#pragma once
#include <FwDefs.h>

// Leading decimal number.
int ParseSchemaInt(LPCWSTR text);
// "TRUE" in any letter case; anything else is FALSE.
BOOL ParseSchemaBool(LPCWSTR text);
// "red green blue", each decimal or with the usual hexadecimal/octal prefixes;
// the low byte of each number counts.
COLORREF ParseSchemaColor(LPCWSTR text);
// "left,right,top,bottom" (the second number is the right, the third the top).
RECT ParseSchemaRect(LPCWSTR text);
// "x,y".
POINT ParseSchemaPosition(LPCWSTR text);
// "Face, size, style": the face up to the first comma (cut to 31
// characters), the size in points at the given vertical resolution, BOLD
// for weight 700 (else 400; the style word is cut to 49 characters).
void ParseSchemaFont(LPCWSTR text, LOGFONTW* font, int pixelsPerInchY, BYTE charSet);
// The same at the screen's resolution and character set.
void ParseSchemaFont(LPCWSTR text, LOGFONTW* font);
