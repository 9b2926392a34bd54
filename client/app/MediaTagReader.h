// A small reader of song tags for machines without the Windows Media Format
// runtime (or where its editor cannot read a file): ID3v1, ID3v2.3 and
// ID3v2.4 text frames (ISO-8859-1 read in the ANSI code page, UTF-16 with or
// without byte-order mark, UTF-8), the MP3 duration (Xing/Info or VBRI header,
// else the constant bit rate), and the ASF (WMA/WMV) content descriptions and
// play duration. It hands out header attributes under the names and data types
// the Windows Media editor uses ("Title", "Author", "WM/AlbumTitle",
// "WM/AlbumArtist", "WM/Genre", "Duration").
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

// Attribute data types as the Windows Media editor numbers them.
enum
{
    WM_TYPE_DWORD = 0,
    WM_TYPE_STRING = 1,
    WM_TYPE_BINARY = 2,
    WM_TYPE_BOOL = 3,
    WM_TYPE_QWORD = 4,
    WM_TYPE_WORD = 5,
    WM_TYPE_GUID = 6,
};

struct MediaTagAttribute
{
    std::wstring name;
    int type;
    std::vector<BYTE> value; // strings: UTF-16LE with the terminating zero
};

class CMediaTagReader
{
  public:
    // Reads the attributes of the file at path; false when the file cannot be
    // read or holds no tag or stream this reader knows.
    bool ReadFile(LPCWSTR path);
    // The same over bytes already in memory (fileSize is the whole file's size,
    // used for the constant-bit-rate duration).
    bool ReadBytes(const BYTE* bytes, size_t count, unsigned long long fileSize);

    const std::vector<MediaTagAttribute>& GetAttributes() const { return m_attributes; }

  private:
    void AddString(LPCWSTR name, const std::wstring& text);
    void AddQword(LPCWSTR name, unsigned long long value);
    bool HasAttribute(LPCWSTR name) const;
    bool ReadId3v2(const BYTE* bytes, size_t count, size_t& tagEnd);
    void ReadId3v1(const BYTE* bytes, size_t count);
    bool ReadMpegDuration(const BYTE* bytes, size_t count, size_t audioStart, unsigned long long audioBytes);
    bool ReadAsf(const BYTE* bytes, size_t count);

    std::vector<MediaTagAttribute> m_attributes;
    unsigned long long m_tlenMilliseconds = 0;
};
