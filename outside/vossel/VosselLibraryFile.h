#pragma once
// Reads the one thing the library needs of a user's song library file
// (playlist.xml): where a song lies on disk. The file's "MS" elements carry
// the song id in "A", the local path in "B" and the content hash in "J".
#include <string>

class VosselLibraryFile
{
  public:
    // The local path of the song with this id (or, when no song has the id,
    // of the first song with this content hash); empty when neither is there
    // or the file cannot be read.
    static std::wstring FindSongPath(const std::wstring& libraryFile, const std::wstring& songId,
                                     const std::wstring& hash);
    // Reads a whole file (at most maxBytes); false when it cannot.
    static bool ReadFile(const std::wstring& path, std::string& bytes, size_t maxBytes);
};
