#include "SyncPlaylist.h"

void CSyncPlaylist::AddSong(const CSyncSong& song)
{
    for (const CSyncSong& present : m_songs)
        if (present.H == song.H)
            return;
    m_songs.push_back(song);
}
