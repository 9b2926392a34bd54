// The client's data folder "yeb360" below the user's My Music folder and the
// paths built inside it:
//   the signed-in user's library: \yeb360\lib\private\<user>\playlist.xml
//   a buddy's library as received: \yeb360\lib\friend\<buddy>\playlist.xml
//   the user's message boards: \yeb360\lib\private\<user>\board.xml
//   avatar pictures: \yeb360\lib\private (or friend)\<id>\avatar\<id>.jpg
//   song cache files: \yeb360\cache\<hash>.cache
//   album covers, downloads, temporary files: \yeb360\album, \yeb360\favorite, \yeb360\temp
// Account names and ids come from the network; every one of them goes through
// MakeSafeFolderName before it becomes a folder name.
#pragma once

#include "Framework.h"

// A folder name for an account name or id that cannot leave its parent
// folder: '%', path separators, ':', the other characters Windows refuses in
// names, control characters, a leading or trailing '.' or blank, and the first
// letter of a device name (CON, NUL, COM1...) are written as "%XX" (or
// "%uXXXX" above 0xFF). Ordinary e-mail addresses and ids are unchanged, and
// different names never give the same folder.
CString MakeSafeFolderName(LPCWSTR name);

// My Music, without a trailing backslash; "" when it cannot be found.
CString GetMyMusicFolder(BOOL create = FALSE);
// My Music + "\yeb360\" (with the backslash); "" when My Music is unknown.
CString GetDataFolder(BOOL create = FALSE);

// My Music + "\yeb360\lib\private\" + user + "\playlist.xml"; "".
CString BuildMyPlaylistPath(LPCWSTR userEmail);
// My Music + "\yeb360\lib\friend\" + buddy + "\playlist.xml"; "".
CString BuildFriendPlaylistPath(LPCWSTR buddy);
// dataFolder (ending in a backslash) + "lib\private\" + user + "\board.xml".
CString BuildBoardPath(LPCWSTR dataFolder, LPCWSTR user);
// My Music + "\yeb360\lib\private\" (or "friend") + id + "\avatar\"; "".
CString BuildAvatarFolder(LPCWSTR id, BOOL isFriend);
// My Music + "\yeb360\cache\" + hash + ".cache"; "".
CString BuildCacheFilePath(LPCWSTR contentHash);
// My Music + "\yeb360\temp\"; "".
CString GetTempDataFolder();
