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

namespace
{
// Where the MP3 data begins: after the ID3v2 tag, when there is one.
size_t AudioStart(const std::string& tune)
{
    if (tune.size() > 10 && tune.compare(0, 3, "ID3") == 0)
        return 10 + (((tune[6] & 0x7f) << 21) | ((tune[7] & 0x7f) << 14) | ((tune[8] & 0x7f) << 7) | (tune[9] & 0x7f));
    return 0;
}

unsigned char Byte(const std::string& bytes, size_t at)
{
    return static_cast<unsigned char>(bytes[at]);
}

// The bytes of the Layer III frame that begins at `at` (0 when none does).
size_t FrameLength(const std::string& bytes, size_t at)
{
    if (at + 4 > bytes.size() || Byte(bytes, at) != 0xff || (Byte(bytes, at + 1) & 0xe6) != 0xe2)
        return 0;
    static const int kBitrates[2][16] = {{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
                                         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}};
    static const int kRates[3] = {44100, 48000, 32000};
    int version = (Byte(bytes, at + 1) >> 3) & 3; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int rateIndex = (Byte(bytes, at + 2) >> 2) & 3;
    int bitrate = kBitrates[version == 3 ? 0 : 1][Byte(bytes, at + 2) >> 4] * 1000;
    if (rateIndex == 3 || bitrate == 0)
        return 0;
    int rate = kRates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    int padding = (Byte(bytes, at + 2) >> 1) & 1;
    return (version == 3 ? 144 : 72) * bitrate / rate + padding;
}

// The offset of the frame and sample counts of a first frame that is an
// "Info" or "Xing" header (std::string::npos when it is not one).
size_t InfoCounts(const std::string& bytes, size_t frame, size_t length)
{
    for (const char* magic : {"Info", "Xing"})
    {
        size_t at = bytes.find(magic, frame);
        if (at != std::string::npos && at + 16 <= frame + length && (Byte(bytes, at + 7) & 3) == 3)
            return at + 8;
    }
    return std::string::npos;
}

void PutBigEndian(std::string& bytes, size_t at, unsigned long value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xff);
}

unsigned long GetBigEndian(const std::string& bytes, size_t at)
{
    unsigned long value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | Byte(bytes, at + i);
    return value;
}
} // namespace

std::string LongSong(int repeats)
{
    std::string tune = ReadBytes(std::wstring(YEB_SOURCE_DIR) + L"\\tests\\player\\data\\sine.mp3");
    size_t start = AudioStart(tune);
    size_t first = FrameLength(tune, start);
    size_t counts = first ? InfoCounts(tune, start, first) : std::string::npos;
    if (counts == std::string::npos)
    {
        std::string song = tune;
        for (int i = 0; i < repeats; ++i)
            song += tune.substr(start);
        return song;
    }
    // The header frame tells players the song's length: it is kept once at
    // the front and its frame and byte counts are those of the whole song.
    unsigned long frames = GetBigEndian(tune, counts);
    std::string audio = tune.substr(start + first);
    std::string song = tune;
    for (int i = 0; i < repeats; ++i)
        song += audio;
    PutBigEndian(song, counts, frames * (repeats + 1));
    PutBigEndian(song, counts + 4, static_cast<unsigned long>(song.size() - start));
    return song;
}

LONGLONG SongDuration(const std::string& song)
{
    size_t start = AudioStart(song);
    size_t first = FrameLength(song, start);
    size_t counts = first ? InfoCounts(song, start, first) : std::string::npos;
    if (counts == std::string::npos)
        return 0;
    int version = (Byte(song, start + 1) >> 3) & 3;
    static const int kRates[3] = {44100, 48000, 32000};
    int rate = kRates[(Byte(song, start + 2) >> 2) & 3] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    LONGLONG samples = static_cast<LONGLONG>(GetBigEndian(song, counts)) * (version == 3 ? 1152 : 576);
    return samples * 10000000 / rate;
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
        song.SetDuration(std::to_wstring(SongDuration(s.bytes)).c_str());
        library.AddSong(song);
    }
    std::wstring file = myMusic + L"\\yeb360\\lib\\private\\" + email + L"\\playlist.xml";
    CreateFoldersAlongPath(file.c_str());
    ASSERT_EQ(S_OK, library.SaveToFile(file.c_str()));
}
