// NotifyPlaceTable: the places of the notification pop-ups, one table for
// the process shared by every pop-up thread under one lock. There are 4
// columns of 10 rows (index = column * 10 + row); the first pop-up sits at
// the bottom-right of the work area, the next ones stack upwards and a full
// column continues to the left.
#pragma once
#include <windows.h>

struct NotifyPlace
{
    int column = 0;
    int row = 0;
    int x = 0;       // left edge, screen coordinates
    int bottomY = 0; // bottom edge, screen coordinates
};

class NotifyPlaceTable
{
  public:
    enum { COLUMNS = 4, ROWS = 10, PLACES = COLUMNS * ROWS };
    enum { FREE = 0, TAKEN = 1, SKIPPED = 2 };

    // Takes the first free place for a pop-up of w x h in the work area;
    // FALSE when none is left on the screen (the pop-up is then not shown).
    static BOOL Reserve(const RECT& workArea, int w, int h, NotifyPlace& place);
    static void Free(const NotifyPlace& place);
    // FREE, TAKEN or SKIPPED (a row of a column too short to hold it).
    static int StateOf(int index);
    // Every place free again (tests).
    static void Reset();
};
