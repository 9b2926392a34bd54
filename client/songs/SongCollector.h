// Keeping a copy of a cached song (typically a buddy's song played through
// the local server): the copy gets a clean, unique name in the chosen folder
// and the song's tags, and joins the user's own library.
#pragma once
#include "Framework.h"

namespace SongCollector
{
// Replaces each of \ / : * ? " < > | by the replacement.
CString CleanFileName(LPCWSTR text, wchar_t replacement);
// "folder\title artist.ext" (cleaned; "ravaroze" when both are empty), with
// "(2)", "(3)" ... before the extension while a file of that name exists.
// The extension is the local path's from its last dot, ".mp3" without one.
CString TargetPath(LPCWSTR folder, LPCWSTR title, LPCWSTR artist, LPCWSTR localPath);
// The local cache file of a song ("yeb360\cache\<hash>.cache" below My
// Music); "" when there is none.
CString CacheFileOf(LPCWSTR hash);
// Copies source over target and writes the tags; 0, or the system's error.
DWORD CopySong(LPCWSTR source, LPCWSTR target, LPCWSTR title, LPCWSTR artist, LPCWSTR album);
} // namespace SongCollector
