#include "SongListChoice.h"
#include "LanguageTable.h"
#include "SongLibrary.h"

namespace SongListChoice
{
void FillCombo(HWND combo, const CSongLibrary& library, const CString& remembered)
{
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    int count = library.GetPlaylistCount();
    CString total = Lang(L"STR_MAIN_TOTAL_SONGLIST_NAME");
    int entry = (int)SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)(LPCWSTR)total);
    SendMessageW(combo, CB_SETITEMDATA, entry, count);
    int chosen = remembered == total ? entry : -1;
    for (int i = 0; i < count; ++i)
    {
        CPlaylist playlist;
        if (library.GetPlaylistAt(i, playlist) != S_OK || playlist.GetKind() != 0)
            continue;
        entry = (int)SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)(LPCWSTR)playlist.GetName());
        SendMessageW(combo, CB_SETITEMDATA, entry, i);
        if (chosen < 0 && playlist.GetName() == remembered)
            chosen = entry;
    }
    SendMessageW(combo, CB_SETCURSEL, chosen < 0 ? 0 : chosen, 0);
}

CString SuggestNewListName(const CSongLibrary& library)
{
    CString base = Lang(L"STR_MAIN_UNNAMED_SONGLIST_NAME");
    int count = library.GetPlaylistCount();
    if (count == 0)
        return base;
    CString candidate;
    for (int i = 0; i < count; ++i)
    {
        candidate.Format(L"%s%d", (LPCWSTR)base, i);
        CPlaylist taken;
        if (library.GetPlaylistByName(candidate, taken) != S_OK)
            return candidate;
    }
    return candidate;
}
} // namespace SongListChoice
