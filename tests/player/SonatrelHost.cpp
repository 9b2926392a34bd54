// A small host of the player library for tests from the Linux side: starts
// the library's server over a folder, writes the port it listens on to a file
// and serves until a stop file appears.
//   SonatrelHost <folder> <port> <port file> <stop file> [auth string]
#include "Sonatrel.h"
#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 5)
    {
        fwprintf(stderr, L"usage: SonatrelHost folder port portfile stopfile [auth]\n");
        return 2;
    }
    CSonatrel player;
    player.SetHttpServerOption(argv[1], static_cast<unsigned>(_wtoi(argv[2])), nullptr,
                               argc > 5 ? argv[5] : L"1", L"cache");
    if (player.StartHttpServer() != 0)
    {
        fwprintf(stderr, L"server did not start\n");
        return 1;
    }
    FILE* f = _wfopen(argv[3], L"w");
    if (!f)
        return 1;
    fprintf(f, "%d\n", player.GetBoundPort());
    fclose(f);
    while (GetFileAttributesW(argv[4]) == INVALID_FILE_ATTRIBUTES)
        Sleep(50);
    player.StopHttpServer();
    return 0;
}
