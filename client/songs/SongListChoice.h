// The choice of a song list shared by the collect dialog and the download
// target dialog: the combo of the total list and the user's own lists, and
// the name proposed for a new list.
#pragma once
#include "Framework.h"

class CSongLibrary;

namespace SongListChoice
{
// Fills the combo: the total list first (item data = number of lists), then
// every user list (kind 0) with its index; selects the remembered name, else
// the first entry.
void FillCombo(HWND combo, const CSongLibrary& library, const CString& remembered);
// The unnamed-list text, or that text with the first number from 0 that no
// list bears (the last one tried when all are taken).
CString SuggestNewListName(const CSongLibrary& library);
} // namespace SongListChoice
