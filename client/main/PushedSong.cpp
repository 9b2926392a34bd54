#include "PushedSong.h"

PushedSong PushedSong::FromSlots(const CString& sender, const CString& title, const CString& hash,
                                 const CString& artistAndFile, const CString& size, const CString& duration,
                                 const CString& songId)
{
    PushedSong pushed;
    int split = artistAndFile.Find(L"??");
    if (split >= 0)
    {
        pushed.artist = artistAndFile.Left(split);
        pushed.fileName = artistAndFile.Mid(split + 2);
    }
    else
    {
        pushed.artist = artistAndFile;
        pushed.fileName = title + L".mp3";
    }
    CSongInfo& song = pushed.song;
    song.SetId(songId);
    song.SetOwner(sender);
    song.SetTitle(title);
    song.SetFileSize(size);
    song.SetHash(hash);
    song.SetType(L"2");
    song.SetAlbumArtist(pushed.artist);
    song.SetDuration(duration);
    song.SetPath(pushed.fileName);
    return pushed;
}
