#include "RoadFiles.h"

#include "SongLibrary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

std::string ReadBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return ((long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

std::string LongSong(int repeats)
{
    std::string tune = ReadBytes(std::wstring(YEB_SOURCE_DIR) + L"\\tests\\player\\data\\sine.mp3");
    size_t frames = 0;
    if (tune.size() > 10 && tune.compare(0, 3, "ID3") == 0)
        frames = 10 + (((tune[6] & 0x7f) << 21) | ((tune[7] & 0x7f) << 14) | ((tune[8] & 0x7f) << 7) | (tune[9] & 0x7f));
    std::string song = tune;
    for (int i = 0; i < repeats; ++i)
        song += tune.substr(frames);
    return song;
}

void WriteOwnLibrary(const std::wstring& myMusic, const std::wstring& email, const std::vector<RoadSong>& songs)
{
    CSongLibrary library;
    for (const RoadSong& s : songs)
    {
        CSongInfo song;
        song.SetId(s.id.c_str());
        song.SetHash(s.hash.c_str());
        song.SetTitle(s.title.c_str());
        song.SetType(L"0");
        song.SetPath(s.path.c_str());
        song.SetFileSize(std::to_wstring(s.bytes.size()).c_str());
        library.AddSong(song);
    }
    std::wstring file = myMusic + L"\\yeb360\\lib\\private\\" + email + L"\\playlist.xml";
    CreateFoldersAlongPath(file.c_str());
    ASSERT_EQ(S_OK, library.SaveToFile(file.c_str()));
}
