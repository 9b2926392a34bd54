#include "DlgSelectSong.h"

#include "SongInfo.h"
#include "SongLibrary.h"
#include "resource.h"

CDlgSelectSong::CDlgSelectSong(CWnd* parent)
    : CDlgPushSong(IDD,
                   {IDC_SELECT_SONG_LIST, IDC_SELECT_SONG_PROMPT, IDC_SELECT_HINT, IDC_SELECT_SONG_MINIMISE,
                    IDC_SELECT_SONG_CLOSE, L"INFO_LIST_SONG_COLUMN_0", L"INFO_LIST_SONG_COLUMN_1"},
                   parent)
{
}

void CDlgSelectSong::FillList()
{
    CSongLibrary library;
    if (!LoadOwnLibrary(library))
        return;
    // Only songs of type "0" are the user's own files to send.
    library.RemoveTemporaryItems(0);
    for (int i = 0; i < library.GetSongCount(); ++i)
    {
        CSongInfo song;
        if (SUCCEEDED(library.GetSongAt(i, song)))
            m_list.AddRow(SendSongItem::FromSong(song));
    }
}

void CDlgSelectSong::OnOK()
{
    SendSongItem* chosen = ChosenRow();
    if (!chosen)
        return;
    SendSongItem record = *chosen;
    record.buddyId = m_target.buddyId;
    record.nick = m_target.nick;
    CSongLibrary library;
    if (!LoadOwnLibrary(library))
        return;
    CString localPath;
    CSongInfo song;
    if (SUCCEEDED(library.GetSongById(record.songId, song)))
        localPath = song.GetPath();
    SendToBuddy(record, localPath);
    EndDialog(IDOK);
}
