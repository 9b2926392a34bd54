// SendSongItem: one row of a push dialog's list (a song of the own library,
// kind 1, or a present buddy, kind 2) and also the target a push dialog is
// given: the song to send, or the buddy to send to. On sending, the chosen
// row gathers both halves before the command goes out.
#pragma once

#include "Framework.h"

class CSongInfo;

struct SendSongItem
{
    enum { KIND_SONG = 1, KIND_BUDDY = 2 };

    int kind = 0;
    CString buddyId;  // text 1
    CString songId;   // text 2
    CString hash;     // text 3
    CString title;    // text 4
    CString fileSize; // text 5
    CString nick;     // text 6
    CString artist;   // text 7
    CString duration; // text 8, 100-nanosecond units as "%I64d"

    // A song row of the own library.
    static SendSongItem FromSong(const CSongInfo& song);
    static SendSongItem Buddy(const CString& id, const CString& nick);
    // The song's fields of another record into this one.
    void CopySongFrom(const SendSongItem& song);
};
