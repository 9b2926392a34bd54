#include "SchemaValueParsers.h"
#include <stdio.h>
#include <wchar.h>

int ParseSchemaInt(LPCWSTR text) { return text ? (int)wcstol(text, NULL, 10) : 0; }

BOOL ParseSchemaBool(LPCWSTR text) { return text != NULL && lstrcmpiW(text, L"TRUE") == 0; }

COLORREF ParseSchemaColor(LPCWSTR text)
{
    int red = 0, green = 0, blue = 0;
    if (text)
        swscanf(text, L"%i %i %i", &red, &green, &blue);
    return RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
}

RECT ParseSchemaRect(LPCWSTR text)
{
    long left = 0, right = 0, top = 0, bottom = 0;
    if (text)
        swscanf(text, L"%ld,%ld,%ld,%ld", &left, &right, &top, &bottom);
    RECT rc = {left, top, right, bottom};
    return rc;
}

POINT ParseSchemaPosition(LPCWSTR text)
{
    int x = 0, y = 0;
    if (text)
        swscanf(text, L"%i,%i", &x, &y);
    POINT pt = {x, y};
    return pt;
}

void ParseSchemaFont(LPCWSTR text, LOGFONTW* font, int pixelsPerInchY, BYTE charSet)
{
    ZeroMemory(font, sizeof(*font));
    font->lfWeight = FW_NORMAL;
    font->lfCharSet = charSet;
    if (text == NULL)
        return;
    const wchar_t* comma = wcschr(text, L',');
    size_t faceLength = comma ? (size_t)(comma - text) : wcslen(text);
    const size_t maxFace = LF_FACESIZE - 1;
    wcsncpy(font->lfFaceName, text, faceLength < maxFace ? faceLength : maxFace);
    if (comma == NULL)
        return;

    wchar_t* end = NULL;
    long size = wcstol(comma + 1, &end, 10);
    if (end == comma + 1)
        return; // no size: nothing further is read
    font->lfHeight = -MulDiv(size, pixelsPerInchY, 72);

    const wchar_t* p = end;
    while (iswspace(*p))
        p++;
    if (*p != L',')
        return;
    p++;
    while (iswspace(*p))
        p++;
    wchar_t style[50] = L"";
    size_t n = 0;
    while (p[n] && !iswspace(p[n]) && n < _countof(style) - 1)
    {
        style[n] = p[n];
        n++;
    }
    style[n] = 0;
    if (lstrcmpiW(style, L"BOLD") == 0)
        font->lfWeight = FW_BOLD;
}

void ParseSchemaFont(LPCWSTR text, LOGFONTW* font)
{
    HDC screen = ::GetDC(NULL);
    int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    BYTE charSet = screen ? (BYTE)::GetTextCharset(screen) : DEFAULT_CHARSET;
    if (screen)
        ::ReleaseDC(NULL, screen);
    ParseSchemaFont(text, font, dpi, charSet);
}
