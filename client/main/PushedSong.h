// PushedSong: the song record a buddy's push (command 12) describes. The
// fourth slot holds "artist??file name"; without "??" it is the artist alone
// and the file name is the title with ".mp3".
#pragma once

#include "SongInfo.h"

struct PushedSong
{
    CSongInfo song; // type "2", owned by the sender
    CString artist;
    CString fileName;

    static PushedSong FromSlots(const CString& sender, const CString& title, const CString& hash,
                                const CString& artistAndFile, const CString& size, const CString& duration,
                                const CString& songId);
};
