#include "MediaTagReader.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace
{

// How much of a file is read: tags and stream headers lie at its start (an
// ID3v2 tag with pictures can be large) and the ID3v1 tag at its end.
const size_t kHeadBytes = 1024 * 1024;
const size_t kTailBytes = 128;

const char* const kId3Genres[] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop", "Vocal",
    "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip", "Gospel",
    "Noise", "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop", "Instrumental Rock",
    "Ethnic", "Gothic", "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
    "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk", "Jungle",
    "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal",
    "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock",
};

std::wstring FromCodePage(const BYTE* p, size_t n, UINT codePage)
{
    if (n == 0)
        return std::wstring();
    int units = MultiByteToWideChar(codePage, 0, (LPCSTR)p, (int)n, nullptr, 0);
    std::wstring out((size_t)(units > 0 ? units : 0), L'\0');
    if (units > 0)
        MultiByteToWideChar(codePage, 0, (LPCSTR)p, (int)n, &out[0], units);
    return out;
}

std::wstring FromUtf16(const BYTE* p, size_t n, bool bigEndian)
{
    std::wstring out;
    for (size_t i = 0; i + 1 < n; i += 2)
    {
        wchar_t c = bigEndian ? (wchar_t)((p[i] << 8) | p[i + 1]) : (wchar_t)(p[i] | (p[i + 1] << 8));
        if (c == 0)
            break;
        out += c;
    }
    return out;
}

// Cuts a text at its first zero and drops trailing blanks (ID3v1 fields are
// padded with either).
std::wstring Tidy(std::wstring s)
{
    size_t zero = s.find(L'\0');
    if (zero != std::wstring::npos)
        s.resize(zero);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\0'))
        s.pop_back();
    return s;
}

// Text of an ID3v2 text frame body: an encoding byte, then the text.
std::wstring DecodeId3Text(const BYTE* p, size_t n)
{
    if (n < 1)
        return std::wstring();
    BYTE encoding = p[0];
    ++p;
    --n;
    switch (encoding)
    {
    case 1: // UTF-16 with byte-order mark
        if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF)
            return Tidy(FromUtf16(p + 2, n - 2, true));
        if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE)
            return Tidy(FromUtf16(p + 2, n - 2, false));
        return Tidy(FromUtf16(p, n, false));
    case 2:
        return Tidy(FromUtf16(p, n, true));
    case 3: {
        size_t len = strnlen((const char*)p, n);
        return Tidy(FromCodePage(p, len, CP_UTF8));
    }
    default: {
        // Declared ISO-8859-1, but players here have always read such frames in
        // the system's code page, where Chinese tags are written.
        size_t len = strnlen((const char*)p, n);
        return Tidy(FromCodePage(p, len, CP_ACP));
    }
    }
}

DWORD BigEndian32(const BYTE* p)
{
    return ((DWORD)p[0] << 24) | ((DWORD)p[1] << 16) | ((DWORD)p[2] << 8) | p[3];
}

DWORD SyncSafe32(const BYTE* p)
{
    return ((DWORD)(p[0] & 0x7F) << 21) | ((DWORD)(p[1] & 0x7F) << 14) | ((DWORD)(p[2] & 0x7F) << 7) | (p[3] & 0x7F);
}

std::vector<BYTE> RemoveUnsynchronisation(const BYTE* p, size_t n)
{
    std::vector<BYTE> out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i)
    {
        out.push_back(p[i]);
        if (p[i] == 0xFF && i + 1 < n && p[i + 1] == 0x00)
            ++i;
    }
    return out;
}

// "(13)", "13" or "(13)Pop" name an ID3v1 genre by number.
std::wstring GenreName(const std::wstring& text)
{
    size_t i = 0;
    bool paren = !text.empty() && text[0] == L'(';
    if (paren)
        i = 1;
    size_t start = i;
    unsigned n = 0;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9' && i - start < 3)
        n = n * 10 + (text[i++] - L'0');
    if (i == start)
        return text;
    if (paren)
    {
        if (i >= text.size() || text[i] != L')')
            return text;
        ++i;
        if (i < text.size())
            return text.substr(i); // a refinement after the number wins
    }
    else if (i != text.size())
        return text;
    if (n < sizeof(kId3Genres) / sizeof(kId3Genres[0]))
        return FromCodePage((const BYTE*)kId3Genres[n], strlen(kId3Genres[n]), CP_ACP);
    return text;
}

bool GuidAt(const BYTE* p, const char* text)
{
    // text is "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"; the first three groups are
    // stored little-endian.
    GUID g;
    unsigned long d1;
    unsigned d2, d3, b[8];
    if (sscanf(text, "%8lx-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x", &d1, &d2, &d3, &b[0], &b[1], &b[2], &b[3], &b[4],
               &b[5], &b[6], &b[7]) != 11)
        return false;
    g.Data1 = d1;
    g.Data2 = (unsigned short)d2;
    g.Data3 = (unsigned short)d3;
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = (BYTE)b[i];
    return memcmp(p, &g, 16) == 0;
}

unsigned long long Le64(const BYTE* p)
{
    unsigned long long v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

DWORD Le32(const BYTE* p)
{
    return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
}

WORD Le16(const BYTE* p)
{
    return (WORD)(p[0] | (p[1] << 8));
}

struct MpegFrame
{
    int bitrate;    // bits per second
    int sampleRate; // samples per second
    int samples;    // per frame
    int sideInfo;   // bytes of side information (layer III)
    size_t length;  // bytes of the frame
};

bool ParseMpegHeader(const BYTE* p, MpegFrame& f)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    int version = (p[1] >> 3) & 3; // 0 MPEG2.5, 2 MPEG2, 3 MPEG1
    int layer = (p[1] >> 1) & 3;   // 1 III, 2 II, 3 I
    int bitrateIndex = p[2] >> 4;
    int rateIndex = (p[2] >> 2) & 3;
    int padding = (p[2] >> 1) & 1;
    int mono = ((p[3] >> 6) & 3) == 3;
    if (version == 1 || layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return false;
    static const int kRates[3] = {44100, 48000, 32000};
    static const int kBitrates[2][3][15] = {
        {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
         {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
         {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
        {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
    bool mpeg1 = version == 3;
    int layerIndex = 3 - layer; // 0 I, 1 II, 2 III
    f.bitrate = kBitrates[mpeg1 ? 0 : 1][layerIndex][bitrateIndex] * 1000;
    f.sampleRate = kRates[rateIndex] >> (mpeg1 ? 0 : (version == 2 ? 1 : 2));
    if (layerIndex == 0)
        f.samples = 384;
    else if (layerIndex == 1 || mpeg1)
        f.samples = 1152;
    else
        f.samples = 576;
    f.sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    if (layerIndex == 0)
        f.length = (size_t)((12 * f.bitrate / f.sampleRate + padding) * 4);
    else
        f.length = (size_t)(f.samples / 8 * f.bitrate / f.sampleRate + padding);
    return f.length > 4;
}

} // namespace

void CMediaTagReader::AddString(LPCWSTR name, const std::wstring& text)
{
    if (text.empty() || HasAttribute(name))
        return;
    MediaTagAttribute a;
    a.name = name;
    a.type = WM_TYPE_STRING;
    const BYTE* p = (const BYTE*)text.c_str();
    a.value.assign(p, p + (text.size() + 1) * sizeof(wchar_t));
    m_attributes.push_back(a);
}

void CMediaTagReader::AddQword(LPCWSTR name, unsigned long long value)
{
    if (HasAttribute(name))
        return;
    MediaTagAttribute a;
    a.name = name;
    a.type = WM_TYPE_QWORD;
    a.value.resize(8);
    memcpy(a.value.data(), &value, 8);
    m_attributes.push_back(a);
}

bool CMediaTagReader::HasAttribute(LPCWSTR name) const
{
    for (const MediaTagAttribute& a : m_attributes)
        if (a.name == name)
            return true;
    return false;
}

bool CMediaTagReader::ReadId3v2(const BYTE* bytes, size_t count, size_t& tagEnd)
{
    tagEnd = 0;
    if (count < 10 || memcmp(bytes, "ID3", 3) != 0)
        return false;
    int major = bytes[3];
    BYTE flags = bytes[5];
    size_t size = SyncSafe32(bytes + 6);
    tagEnd = 10 + size + ((major == 4 && (flags & 0x10)) ? 10 : 0);
    if (major != 3 && major != 4)
        return false;
    size_t available = count - 10 < size ? count - 10 : size;
    std::vector<BYTE> body(bytes + 10, bytes + 10 + available);
    if (major == 3 && (flags & 0x80))
        body = RemoveUnsynchronisation(body.data(), body.size());
    size_t pos = 0;
    if (flags & 0x40)
    {
        if (body.size() < 4)
            return false;
        pos = (major == 3) ? 4 + BigEndian32(body.data()) : SyncSafe32(body.data());
    }
    static const struct
    {
        const char* id;
        LPCWSTR name;
    } kFrames[] = {{"TIT2", L"Title"},         {"TPE1", L"Author"},   {"TALB", L"WM/AlbumTitle"},
                   {"TPE2", L"WM/AlbumArtist"}, {"TCON", L"WM/Genre"}, {"TYER", L"WM/Year"},
                   {"TDRC", L"WM/Year"}};
    while (pos + 10 <= body.size())
    {
        const BYTE* h = body.data() + pos;
        if (h[0] == 0)
            break; // padding
        size_t frameSize = (major == 4) ? SyncSafe32(h + 4) : BigEndian32(h + 4);
        BYTE frameFlags = h[9];
        if (frameSize > body.size() - pos - 10)
            break;
        const BYTE* data = h + 10;
        std::vector<BYTE> plain;
        size_t dataSize = frameSize;
        if (major == 4 && (frameFlags & 0x01) && dataSize >= 4)
        {
            data += 4; // data length indicator
            dataSize -= 4;
        }
        if (major == 4 && (frameFlags & 0x02))
        {
            plain = RemoveUnsynchronisation(data, dataSize);
            data = plain.data();
            dataSize = plain.size();
        }
        bool compressedOrEncrypted = (major == 3) ? (frameFlags & 0xC0) != 0 : (frameFlags & 0x0C) != 0;
        if (!compressedOrEncrypted)
        {
            for (const auto& f : kFrames)
                if (memcmp(h, f.id, 4) == 0)
                {
                    std::wstring text = DecodeId3Text(data, dataSize);
                    AddString(f.name, f.name == std::wstring(L"WM/Genre") ? GenreName(text) : text);
                }
            if (memcmp(h, "TLEN", 4) == 0)
                m_tlenMilliseconds = wcstoull(DecodeId3Text(data, dataSize).c_str(), nullptr, 10);
        }
        pos += 10 + frameSize;
    }
    return true;
}

void CMediaTagReader::ReadId3v1(const BYTE* tag, size_t count)
{
    if (count < 128 || memcmp(tag, "TAG", 3) != 0)
        return;
    auto field = [&](size_t offset, size_t length) {
        return Tidy(FromCodePage(tag + offset, strnlen((const char*)tag + offset, length), CP_ACP));
    };
    AddString(L"Title", field(3, 30));
    AddString(L"Author", field(33, 30));
    AddString(L"WM/AlbumTitle", field(63, 30));
    AddString(L"WM/Year", field(93, 4));
    BYTE genre = tag[127];
    if (genre < sizeof(kId3Genres) / sizeof(kId3Genres[0]))
        AddString(L"WM/Genre", FromCodePage((const BYTE*)kId3Genres[genre], strlen(kId3Genres[genre]), CP_ACP));
}

bool CMediaTagReader::ReadMpegDuration(const BYTE* bytes, size_t count, size_t audioStart,
                                       unsigned long long audioBytes)
{
    // The first frame is the first sync whose successor is a frame too (or that
    // fills the rest of what was read).
    MpegFrame f = {};
    size_t at = audioStart;
    bool found = false;
    for (; at + 4 <= count && at < audioStart + 65536; ++at)
    {
        if (!ParseMpegHeader(bytes + at, f))
            continue;
        MpegFrame next;
        if (at + f.length + 4 > count || ParseMpegHeader(bytes + at + f.length, next))
        {
            found = true;
            break;
        }
    }
    if (!found)
        return false;
    const BYTE* frame = bytes + at;
    unsigned long long frames = 0;
    size_t xing = 4 + f.sideInfo;
    if (at + xing + 12 <= count && (memcmp(frame + xing, "Xing", 4) == 0 || memcmp(frame + xing, "Info", 4) == 0))
    {
        DWORD flags = BigEndian32(frame + xing + 4);
        if (flags & 1)
            frames = BigEndian32(frame + xing + 8);
    }
    else if (at + 36 + 18 <= count && memcmp(frame + 36, "VBRI", 4) == 0)
        frames = BigEndian32(frame + 36 + 14);
    unsigned long long duration;
    if (frames > 0)
        duration = frames * (unsigned long long)f.samples * 10000000ull / (unsigned long long)f.sampleRate;
    else
    {
        unsigned long long bytesOfAudio = audioBytes > (at - audioStart) ? audioBytes - (at - audioStart) : 0;
        duration = bytesOfAudio * 8ull * 10000000ull / (unsigned long long)f.bitrate;
    }
    AddQword(L"Duration", duration);
    return true;
}

bool CMediaTagReader::ReadAsf(const BYTE* bytes, size_t count)
{
    if (count < 30 || !GuidAt(bytes, "75B22630-668E-11CF-A6D9-00AA0062CE6C"))
        return false;
    unsigned long long headerSize = Le64(bytes + 16);
    size_t end = headerSize < count ? (size_t)headerSize : count;
    size_t pos = 30;
    while (pos + 24 <= end)
    {
        const BYTE* object = bytes + pos;
        unsigned long long size = Le64(object + 16);
        if (size < 24 || size > end - pos)
            break;
        const BYTE* body = object + 24;
        size_t bodySize = (size_t)size - 24;
        if (GuidAt(object, "75B22633-668E-11CF-A6D9-00AA0062CE6C") && bodySize >= 10)
        {
            // Content description: title, author, copyright, description, rating.
            WORD lengths[5];
            for (int i = 0; i < 5; ++i)
                lengths[i] = Le16(body + i * 2);
            size_t p = 10;
            LPCWSTR names[5] = {L"Title", L"Author", L"Copyright", L"Description", L"Rating"};
            for (int i = 0; i < 5 && p + lengths[i] <= bodySize; ++i)
            {
                AddString(names[i], FromUtf16(body + p, lengths[i], false));
                p += lengths[i];
            }
        }
        else if (GuidAt(object, "D2D0A440-E307-11D2-97F0-00A0C95EA850") && bodySize >= 2)
        {
            // Extended content description: named values.
            WORD n = Le16(body);
            size_t p = 2;
            for (WORD i = 0; i < n; ++i)
            {
                if (p + 2 > bodySize)
                    break;
                WORD nameLength = Le16(body + p);
                p += 2;
                if (p + nameLength + 4 > bodySize)
                    break;
                std::wstring name = FromUtf16(body + p, nameLength, false);
                p += nameLength;
                WORD type = Le16(body + p);
                WORD valueLength = Le16(body + p + 2);
                p += 4;
                if (p + valueLength > bodySize)
                    break;
                const BYTE* value = body + p;
                p += valueLength;
                if (type == 0)
                    AddString(name.c_str(), FromUtf16(value, valueLength, false));
                else if (type == 3 && valueLength >= 4)
                    AddQword(name.c_str(), Le32(value)); // numbers are only shown as text
                else if (type == 4 && valueLength >= 8)
                    AddQword(name.c_str(), Le64(value));
            }
        }
        else if (GuidAt(object, "8CABDCA1-A947-11CF-8EE4-00C00C205365") && bodySize >= 80)
        {
            // File properties: play duration (100 ns) less the preroll (ms).
            unsigned long long play = Le64(body + 40);
            unsigned long long preroll = Le64(body + 56) * 10000ull;
            AddQword(L"Duration", play > preroll ? play - preroll : play);
        }
        pos += (size_t)size;
    }
    return true;
}

bool CMediaTagReader::ReadBytes(const BYTE* bytes, size_t count, unsigned long long fileSize)
{
    m_attributes.clear();
    m_tlenMilliseconds = 0;
    if (!bytes || count == 0)
        return false;
    if (ReadAsf(bytes, count))
        return !m_attributes.empty();
    size_t tagEnd = 0;
    bool known = ReadId3v2(bytes, count, tagEnd);
    // The ID3v1 tag is the file's last 128 bytes; callers that read the head
    // and the tail separately pass the tail through ReadFile.
    bool hasV1 = false;
    if (fileSize == count && count >= 128 && memcmp(bytes + count - 128, "TAG", 3) == 0)
    {
        ReadId3v1(bytes + count - 128, 128);
        hasV1 = true;
    }
    unsigned long long audioBytes = fileSize > tagEnd ? fileSize - tagEnd - (hasV1 ? 128 : 0) : 0;
    if (tagEnd < count && ReadMpegDuration(bytes, count, tagEnd, audioBytes))
        known = true;
    if (!HasAttribute(L"Duration") && m_tlenMilliseconds)
        AddQword(L"Duration", m_tlenMilliseconds * 10000ull);
    return known || hasV1;
}

bool CMediaTagReader::ReadFile(LPCWSTR path)
{
    m_attributes.clear();
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    unsigned long long fileSize = (unsigned long long)size.QuadPart;
    size_t head = fileSize < kHeadBytes ? (size_t)fileSize : kHeadBytes;
    std::vector<BYTE> bytes(head);
    DWORD got = 0;
    bool ok = head == 0 || (::ReadFile(file, bytes.data(), (DWORD)head, &got, nullptr) && got == head);
    BYTE tail[kTailBytes] = {};
    bool hasTail = false;
    if (ok && fileSize > head && fileSize >= kTailBytes)
    {
        LARGE_INTEGER at;
        at.QuadPart = (LONGLONG)(fileSize - kTailBytes);
        DWORD tailGot = 0;
        hasTail = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
                  ::ReadFile(file, tail, kTailBytes, &tailGot, nullptr) && tailGot == kTailBytes;
    }
    CloseHandle(file);
    if (!ok)
        return false;
    bool known = ReadBytes(bytes.data(), bytes.size(), fileSize);
    if (hasTail && memcmp(tail, "TAG", 3) == 0)
    {
        ReadId3v1(tail, kTailBytes);
        known = true;
    }
    return known;
}
