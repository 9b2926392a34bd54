#pragma once
#include <winsock2.h>
#include <windows.h>

// The 280-byte header of the raw exchange with the image server. Integers
// are 32-bit little-endian; texts are 8-bit, zero-padded, and cut at their
// field's width (a text as long as its field fills it without a zero).
//
//   offset  width  content
//        0      4  total length (280 + payload; a song upload gives the file size alone)
//        4      4  kind
//        8      4  the signed-in user's numeric id
//       12    128  first text (as a rule the e-mail)
//      140      4  item number
//      144      8  type text
//      152    128  second text
struct ImageServerHeader
{
    enum
    {
        Size = 280,
        FirstTextWidth = 128,
        TypeTextWidth = 8,
        SecondTextWidth = 128,
        // Kinds of exchange.
        KindSongUpload = 0,
        KindAvatar = 1,
        KindOwnPlaylist = 2,
        KindAlbumCover = 3,
        KindPlaylists = 4,
        KindListenedSong = 5,
        KindBoardMessage = 6,
        KindSentSong = 7,
    };

    BYTE bytes[Size];

    ImageServerHeader();
    void SetLength(DWORD length) { PutInt(0, length); }
    void SetKind(DWORD kind) { PutInt(4, kind); }
    void SetUserId(DWORD id) { PutInt(8, id); }
    void SetFirstText(const char* text, int length = -1) { PutText(12, FirstTextWidth, text, length); }
    void SetItem(DWORD item) { PutInt(140, item); }
    void SetTypeText(const char* text, int length = -1) { PutText(144, TypeTextWidth, text, length); }
    void SetSecondText(const char* text, int length = -1) { PutText(152, SecondTextWidth, text, length); }

  private:
    void PutInt(int offset, DWORD value);
    void PutText(int offset, int width, const char* text, int length);
};
static_assert(sizeof(ImageServerHeader) == ImageServerHeader::Size, "the header goes on the wire as it is");
