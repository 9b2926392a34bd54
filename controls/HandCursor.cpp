#include "HandCursor.h"

HCURSOR GetHandCursor()
{
    static HCURSOR cursor = ::LoadCursorW(::GetModuleHandleW(NULL), MAKEINTRESOURCEW(103));
    return cursor;
}
