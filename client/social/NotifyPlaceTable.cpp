#include "NotifyPlaceTable.h"

namespace
{
struct Table
{
    CRITICAL_SECTION lock;
    int places[NotifyPlaceTable::PLACES] = {};
    Table() { ::InitializeCriticalSection(&lock); }
    ~Table() { ::DeleteCriticalSection(&lock); }
};

Table& TheTable()
{
    static Table table;
    return table;
}

class Hold
{
  public:
    explicit Hold(CRITICAL_SECTION& lock) : m_lock(lock) { ::EnterCriticalSection(&m_lock); }
    ~Hold() { ::LeaveCriticalSection(&m_lock); }

  private:
    CRITICAL_SECTION& m_lock;
};

// Rows skipped because a column was too short are only kept while a pop-up
// still stands in that column; an empty column is whole again.
void ReleaseSkippedOfEmptyColumns(int (&places)[NotifyPlaceTable::PLACES])
{
    for (int column = 0; column < NotifyPlaceTable::COLUMNS; ++column)
    {
        int* rows = places + column * NotifyPlaceTable::ROWS;
        bool inUse = false;
        for (int row = 0; row < NotifyPlaceTable::ROWS; ++row)
            inUse = inUse || rows[row] == NotifyPlaceTable::TAKEN;
        if (!inUse)
            for (int row = 0; row < NotifyPlaceTable::ROWS; ++row)
                rows[row] = NotifyPlaceTable::FREE;
    }
}
} // namespace

BOOL NotifyPlaceTable::Reserve(const RECT& workArea, int w, int h, NotifyPlace& place)
{
    Table& table = TheTable();
    Hold hold(table.lock);
    for (;;)
    {
        int index = 0;
        while (index < PLACES && table.places[index] != FREE)
            ++index;
        if (index == PLACES)
            break; // a full table shows nothing rather than a pop-up off the grid
        int column = index / ROWS, row = index % ROWS;
        // Everything stays in screen coordinates: the work area may start
        // anywhere (a task bar on the top or left edge).
        int bottomY = workArea.bottom - row * (h + 2);
        if (bottomY - workArea.top < h + 1)
        {
            for (int r = row; r < ROWS; ++r)
                if (table.places[column * ROWS + r] == FREE)
                    table.places[column * ROWS + r] = SKIPPED;
            continue;
        }
        int x = workArea.right - column * (w + 2) - w - 10;
        if (x <= workArea.left)
            break;
        table.places[index] = TAKEN;
        place.column = column;
        place.row = row;
        place.x = x;
        place.bottomY = bottomY;
        return TRUE;
    }
    ReleaseSkippedOfEmptyColumns(table.places);
    return FALSE;
}

void NotifyPlaceTable::Free(const NotifyPlace& place)
{
    if (place.column < 0 || place.column >= COLUMNS || place.row < 0 || place.row >= ROWS)
        return;
    Table& table = TheTable();
    Hold hold(table.lock);
    table.places[place.column * ROWS + place.row] = FREE;
    ReleaseSkippedOfEmptyColumns(table.places);
}

int NotifyPlaceTable::StateOf(int index)
{
    if (index < 0 || index >= PLACES)
        return FREE;
    Table& table = TheTable();
    Hold hold(table.lock);
    return table.places[index];
}

void NotifyPlaceTable::Reset()
{
    Table& table = TheTable();
    Hold hold(table.lock);
    for (int& state : table.places)
        state = FREE;
}
