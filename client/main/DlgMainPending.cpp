// Calls of the main window whose own files come from other areas of the
// client; these stand in until then.
#include "DlgMain.h"

int CDlgMain::AutoLoadSongs()
{
    return 0;
}

void CDlgMain::CollectSong(int, BOOL)
{
}
