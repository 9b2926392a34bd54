// MarkupStyle: the formatting in force while a mark-up text is laid out or
// drawn. Style tags push a copy and their closing tags pop it.
#pragma once
#include <winsock2.h> // before windows.h, which would bring the old winsock.h
#include <windows.h>
#include <string>

struct MarkupStyle
{
    std::wstring name;    // group name of the tag that opened this record
    int fontSize = 16;    // font cell height in pixels
    int fontWeight = 400; // 100 .. 900
    int italic = 0;
    int underline = 0;
    int strikeout = 0;
    int overline = 0;
    std::wstring fontFamily = L"Verdana";
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    COLORREF borderLight = 0;
    COLORREF borderDark = 0;
    COLORREF bkMidColor = 0xFFFFFF;
    COLORREF bkEndColor = 0xFFFFFF;
    int bkMode = TRANSPARENT; // TRANSPARENT or OPAQUE
    int bkEffect = -1;        // -1 none, 0 .. 15 a background effect
    std::wstring bkImage;     // "idres:n", "iddll:n" or "file:path"
    int hAlign = 0;           // 0 left, 1 center, 2 right, 3 justify
    int vAlign = 3;           // 0 top, 1 middle, 2 bottom, 3 baseline
    int borderStyle = 0;      // 0 none, 1 solid, 2 dashed, 3 dotted, 6 double
    int borderWidth = 0;
    int width = 0; // table cells only
    int height = 0;
    int textTransform = 0; // 0 none, 1 upper, 2 lower, 3 capitalise
    int margin = 2;        // gap between a cell's border and its content
    int padding = 0;       // gap between the cells of a table
    int linkKind = 0;      // 0 none, 1 shell link, 2 message link
    std::wstring linkTarget;

    // A width of 0 means no border; a width without a style is solid.
    void SetBorderWidth(int w)
    {
        borderWidth = w < 0 ? 0 : w > 100 ? 100 : w;
        if (borderWidth == 0)
            borderStyle = 0;
        else if (borderStyle == 0)
            borderStyle = 1;
    }
    // A style without a width is 1 pixel wide.
    void SetBorderStyle(int style)
    {
        borderStyle = style;
        if (style != 0 && borderWidth == 0)
            borderWidth = 1;
    }
};
