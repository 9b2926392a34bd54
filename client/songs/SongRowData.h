// SongRowData: the record behind one row of the song list. The main window
// fills it; the list owns it from insertion and deletes it with its row.
#pragma once

#include "Framework.h"

struct SongRowData
{
    CString songId;
    CString title;
    CString artist;
    CString hash;      // key of the song's message board
    CString localPath; // shown as the source of the user's own songs
    CString owner;     // e-mail of the user whose song it is
    CString boardText; // latest board text
    int playing = 0;
    int unavailable = 0;
    int actionIcon = 0; // 0 none, -1 push, 1 download
    int sourceKind = 0; // 0 a file of the user's own; 1, 2, 3 as the main window sets them
    int hover = 0;      // sub-item under the cursor + 1
    int pressed = 0;
    unsigned int duration = 0; // milliseconds
    int insertMark = 0;        // 0 none, 1 line at the top, 2 at the bottom
    BYTE boardNew = 0;
    BYTE hotSubItems = 0; // bit n: sub-item n carries a clickable icon
    // Not drawn: the song's position in its list and its progress value, for
    // the main window's own use.
    int position = -1;
    int progress = -1;
    int auxValue = 0;
};
