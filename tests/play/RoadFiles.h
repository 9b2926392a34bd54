// Files of the song road tests: a long MP3 made of the test tune, and reading
// and writing whole files.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
// -1 when the file is missing.
long long FileSize(const std::wstring& path);
// The test tune's header and frames, then its frames again repeats times (an
// MP3 stream may simply go on with more frames); its length header counts
// them all.
std::string LongSong(int repeats);
// The length a song's header tells, in 100-nanosecond units; 0 without one.
LONGLONG SongDuration(const std::string& song);

// A song of an owner's library: its library entry and its file.
struct RoadSong
{
    std::wstring id, hash, title, path;
    std::string bytes;
};

// Writes the owner's library file in that My Music naming the songs (the
// files themselves are written by the caller), so that the owner's client
// shows and sends them.
void WriteOwnLibrary(const std::wstring& myMusic, const std::wstring& email, const std::vector<RoadSong>& songs);
