#pragma once
#include "FwString.h"
#include <vector>

// One song of a playlist upload: H content hash, T title, A author, S and W
// further texts, Z a number ("Z" is written only when it is not 0).
struct CSyncSong
{
    CString H, T, A, S, W;
    int Z = 0;
};

// One playlist of the upload of the user's playlists: a name, a text M ("0"
// by default; written only when it is not "0") and its songs, each hash once.
class CSyncPlaylist
{
  public:
    CSyncPlaylist() : m_strM(L"0") {}
    virtual ~CSyncPlaylist() {}

    // Appends a copy of the song unless a song with the same H is there.
    void AddSong(const CSyncSong& song);

    CString m_strName;
    CString m_strM;
    std::vector<CSyncSong> m_songs;
};
