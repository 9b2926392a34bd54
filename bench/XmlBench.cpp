// Times the song library file and measures its memory. Three steps, each run
// as its own process so that every peak working set is that step's alone:
//   XmlBench save <folder>   builds a library of 20,000 songs and saves it as
//                            playlist.xml in folder (best of three saves);
//   XmlBench parse <file>    parses the file into a document;
//   XmlBench load <file>     loads it as a song library (parse and library).
// parse and load print the growth of the peak working set over the working
// set before the first run, then the best time of ten warm runs.
#include "SongLibrary.h"
#include "Xml.h"

#include <memory>
#include <psapi.h>
#include <stdio.h>

namespace
{

const int kSongs = 20000;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

PROCESS_MEMORY_COUNTERS Memory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

CString Name(LPCWSTR prefix, int i)
{
    CString text;
    text.Format(L"%s%05d", prefix, i);
    return text;
}

void BuildLibrary(CSongLibrary& library, int songs)
{
    static const wchar_t* kArtists[] = {L"\x5468\x6770\x4F26", L"Artist", L"\x738B\x83F2", L"Band of Four"};
    for (int i = 0; i < songs; ++i)
    {
        CSongInfo song;
        CString path;
        path.Format(L"D:\\Music\\%s\\Album %d\\Track %05d.mp3", kArtists[i % 4], i % 50, i);
        song.SetPath(path);
        song.SetTitle(i % 3 ? (LPCWSTR)Name(L"Song title ", i) : (LPCWSTR)Name(L"\x6B4C\x66F2 ", i));
        song.SetAuthor(kArtists[i % 4]);
        song.SetAlbum(Name(L"Album ", i % 50));
        song.SetGenre(L"Pop");
        CString size, duration;
        size.Format(L"%d", 3000000 + i * 7);
        duration.Format(L"%I64d", 2400000000LL + i * 10000000LL);
        song.SetFileSize(size);
        song.SetDuration(duration);
        song.ComputeHash(TRUE);
        if (i % 5 == 0)
            song.SetOwner(L"local");
        library.AddSong(song);
    }
    for (int list = 0; list < 20; ++list)
    {
        CPlaylist playlist;
        playlist.SetName(Name(L"List ", list));
        CSongInfo song;
        for (int i = list; i < songs; i += 20)
            if (library.GetSongAt(i, song) == S_OK)
                playlist.AddSong(song);
        library.AddOrUpdatePlaylist(playlist);
    }
}

template <typename Fn> double Best(int runs, Fn fn)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i)
    {
        double start = Now();
        fn();
        double elapsed = Now() - start;
        if (elapsed < best)
            best = elapsed;
    }
    return best;
}

// The first run in a fresh process gives the memory; ten more the time (the
// best of them: the machine may be busy with other work).
template <typename Fn> bool Measure(const char* name, Fn run)
{
    SIZE_T before = Memory().WorkingSetSize;
    if (!run())
        return false;
    SIZE_T peak = Memory().PeakWorkingSetSize;
    bool ok = true;
    double best = Best(10, [&] { ok = run() && ok; });
    printf("%s_peak_bytes: %llu\n", name, (unsigned long long)(peak > before ? peak - before : 0));
    printf("%s_ms: %.1f\n", name, best);
    return ok;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
    {
        fwprintf(stderr, L"usage: XmlBench save <folder> | parse <file> | load <file>\n");
        return 2;
    }
    CString step = argv[1];
    CString target = argv[2];
    bool ok = false;
    if (step == L"save")
    {
        CSongLibrary library;
        BuildLibrary(library, kSongs);
        CString path = target + L"\\playlist.xml";
        ok = true;
        double save = Best(3, [&] { ok = library.SaveToFile(path) == S_OK && ok; });
        printf("songs: %d\n", library.GetSongCount());
        printf("save_ms: %.1f\n", save);
    }
    else if (step == L"parse")
        ok = Measure("parse", [&] {
            std::unique_ptr<CXmlElement> root(XmlLoadFile(target, FALSE, LIBRARY_MAX_FILE_SIZE));
            return root != nullptr;
        });
    else if (step == L"load")
        ok = Measure("load", [&] {
            CSongLibrary library;
            return library.LoadFromFile(target) == S_OK && library.GetSongCount() == kSongs;
        });
    return ok ? 0 : 1;
}
