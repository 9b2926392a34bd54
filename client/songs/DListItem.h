// CDListItem: the record behind one row of the song-list list: one song list
// of the library on view. Owned by its row.
#pragma once

#include "Framework.h"

struct CDListItem
{
    CString name;
    CString owner; // e-mail of the user the list belongs to
    int playing = 0;
    int dropTarget = 0;
    int songCount = 0;
    int listId = 10001; // 10000 the all-songs list
};
