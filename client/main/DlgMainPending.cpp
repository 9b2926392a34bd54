// Calls of the main window's commands whose real bodies come with other
// areas of the window; these stand in for them until then.
#include "DlgMain.h"

void CDlgMain::PlayRow(int) {}

int CDlgMain::AutoLoadSongs()
{
    return 0;
}

void CDlgMain::AddSongFiles() {}

void CDlgMain::CollectSong(int, BOOL) {}

void CDlgMain::SendSongOfRow(int) {}

void CDlgMain::SendSongsToBuddy(const CString&, const CString&) {}

void CDlgMain::OnPageDownload(const CString&) {}
