// The album-cover job of a completed download: keeps the song's album cover
// in the album folder ("yeb360\album" below My Music), records in
// "albums.ini" which songs (content hashes) belong to which album, and
// offers the cover to the image server (raw exchange, kind 3): the server
// answers "OK" when it wants the picture, "NO" when it has it.
#pragma once
#include "Framework.h"

class AlbumCoverJob
{
  public:
    enum Result
    {
        NoFolder,       // no My Music folder
        FetchFailed,    // the cover answered at neither address; the album's section is gone again
        NothingToOffer, // the album is known but no cover file is kept
        NotConnected,   // the image server could not be reached
        Declined,       // the server has the cover already
        Offered,        // the server took the picture
    };
    // Largest cover picture taken from the web, whatever its announced length.
    static const DWORD MaxCoverBytes = 4 * 1024 * 1024;

    // Runs the whole job on the calling thread.
    static Result Run(LPCWSTR coverAddress, LPCWSTR songHash, LPCWSTR userId);
    // Starts Run on a thread of its own (the texts are copied); the handle.
    static HANDLE Start(LPCWSTR coverAddress, LPCWSTR songHash, LPCWSTR userId);

    // The album id of a cover address: the text after its last "_", up to
    // the first "." after it (".../x_1234.jpg" gives "1234").
    static CString AlbumIdOf(LPCWSTR coverAddress);
    static CString AlbumFolder();
};
