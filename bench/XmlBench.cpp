// Times the song library file: builds a library of 20,000 songs, saves it as
// playlist.xml in the folder given on the command line, loads it back, and
// prints the best of several runs in milliseconds. The file stays for the
// caller to compare against other parsers.
#include "SongLibrary.h"
#include "Xml.h"

#include <memory>
#include <stdio.h>

namespace
{

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

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
    {
        fwprintf(stderr, L"usage: XmlBench <folder>\n");
        return 2;
    }
    const int songs = 20000;
    CString path = CString(argv[1]) + L"\\playlist.xml";
    CSongLibrary library;
    BuildLibrary(library, songs);

    bool ok = true;
    double save = Best(3, [&] { ok = ok && library.SaveToFile(path) == S_OK; });
    int loaded = 0;
    double parse = Best(5, [&] {
        std::unique_ptr<CXmlElement> root(XmlLoadFile(path, FALSE, LIBRARY_MAX_FILE_SIZE));
        ok = ok && root != nullptr;
    });
    double load = Best(5, [&] {
        CSongLibrary back;
        ok = ok && back.LoadFromFile(path) == S_OK;
        loaded = back.GetSongCount();
    });
    ok = ok && loaded == songs;
    printf("songs: %d\n", loaded);
    printf("save_ms: %.1f\n", save);
    printf("parse_ms: %.1f\n", parse);
    printf("load_ms: %.1f\n", load);
    return ok ? 0 : 1;
}
