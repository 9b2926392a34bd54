#include "SFSkinObjectMonthCal.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectMonthCal, CSFSkinObjectFrame)

CSFSkinObjectMonthCal::CSFSkinObjectMonthCal() {}

void CSFSkinObjectMonthCal::SetCalendarColors(CSFSkinObject* object, HWND hwnd, UINT message)
{
    static const struct
    {
        int index, color;
    } kColors[] = {
        {MCSC_BACKGROUND, COLOR_WINDOW},        {MCSC_MONTHBK, COLOR_WINDOW},
        {MCSC_TEXT, COLOR_WINDOWTEXT},          {MCSC_TITLEBK, COLOR_ACTIVECAPTION},
        {MCSC_TITLETEXT, COLOR_CAPTIONTEXT},    {MCSC_TRAILINGTEXT, COLOR_GRAYTEXT},
    };
    if (hwnd == NULL)
        return;
    for (const auto& c : kColors)
        ::SendMessageW(hwnd, message, c.index, (LPARAM)object->GetColor(c.color));
}

void CSFSkinObjectMonthCal::ResetSkinCache()
{
    CSFSkinObjectFrame::ResetSkinCache();
    SetCalendarColors(this, m_hWnd, MCM_SETCOLOR);
}
