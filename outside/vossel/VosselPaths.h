#pragma once
// Where the library keeps what it receives: the data folder "yeb360" below
// the user's My Music folder, with the song cache and the buddies' library
// copies. Names that come from the network are checked before they become
// parts of a path.
#include <string>

class VosselPaths
{
  public:
    // The My Music folder: the environment variable YEB_MYMUSIC when set
    // (tests give each client process its own), else the shell's folder, else
    // the "My Music" value of the user's "Shell Folders" key. Empty when none.
    static std::wstring MyMusic();
    // "<My Music>\yeb360\cache\<hash>.cache"; empty for an unsafe hash.
    static std::wstring CacheFile(const std::wstring& hash);
    // "<My Music>\yeb360\lib\private\<user>\playlist.xml".
    static std::wstring OwnLibraryFile(const std::wstring& user);
    // "<My Music>\yeb360\lib\friend\<buddy>\playlist.xml"; empty for an unsafe id.
    static std::wstring FriendLibraryFile(const std::wstring& buddy);

    // A content hash names a cache file: 1 to 64 letters and digits only.
    static bool IsSafeHash(const std::wstring& hash);
    // A user id names a folder: no path separators, drive colons, wildcards,
    // control characters, and neither "." nor "..".
    static bool IsSafeName(const std::wstring& name);
    // Creates every missing folder of the file's parent folder.
    static bool MakeParentFolders(const std::wstring& file);
};
