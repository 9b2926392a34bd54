// The skin object of month calendars: a plain frame that gives the calendar
// the skin's window, text, caption and gray-text colours.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectMonthCal : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectMonthCal)
public:
    CSFSkinObjectMonthCal();

    void ResetSkinCache() override;
    // The calendar colours in the order the control takes them.
    static void SetCalendarColors(CSFSkinObject* object, HWND hwnd, UINT message);
};
