#include "SendSongItem.h"
#include "SongInfo.h"

SendSongItem SendSongItem::FromSong(const CSongInfo& song)
{
    SendSongItem item;
    item.kind = KIND_SONG;
    item.songId = song.GetId();
    item.hash = song.GetHash();
    item.title = song.GetTitle();
    item.fileSize = song.GetFileSize();
    item.artist = song.GetArtist();
    item.duration.Format(L"%I64d", song.GetDuration());
    return item;
}

SendSongItem SendSongItem::Buddy(const CString& id, const CString& nick)
{
    SendSongItem item;
    item.kind = KIND_BUDDY;
    item.buddyId = id;
    item.nick = nick;
    return item;
}

void SendSongItem::CopySongFrom(const SendSongItem& song)
{
    songId = song.songId;
    hash = song.hash;
    title = song.title;
    fileSize = song.fileSize;
    artist = song.artist;
    duration = song.duration;
}
