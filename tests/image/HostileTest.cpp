// Damaged and hostile files: every codec meets truncated files, flipped bytes,
// absurd sizes and counts, runs and codes that point outside the picture. Nothing
// may crash or write outside its buffers, and a failed load names its error.
#include "ImageTestUtil.h"
#include "PixIOFile.h"
#include "PixImageGIF.h"
#include <gtest/gtest.h>

namespace
{
struct Sample
{
    const char* name;
    DWORD type;
    Bytes data;
    bool truncationFails; // formats whose reader notices a file cut short
};

std::vector<Sample> Samples()
{
    std::vector<Sample> s;
    CPixImage rgb;
    MakeGradient(rgb, 37, 29);
    CPixImage pal;
    MakeIndexed(pal, 33, 21);
    CPixImage alpha;
    MakeGradient(alpha, 20, 20);
    alpha.AlphaCreate();
    alpha.AlphaSet(3, 3, 0);
    alpha.AlphaSet(9, 9, 0);
    s.push_back({"bmp24", PIXIMAGE_FORMAT_BMP, EncodeToBytes(rgb, PIXIMAGE_FORMAT_BMP), true});
    s.push_back({"bmp8", PIXIMAGE_FORMAT_BMP, EncodeToBytes(pal, PIXIMAGE_FORMAT_BMP), true});
    s.push_back({"bmp32", PIXIMAGE_FORMAT_BMP, EncodeToBytes(alpha, PIXIMAGE_FORMAT_BMP), true});
    s.push_back({"png", PIXIMAGE_FORMAT_PNG, EncodeToBytes(rgb, PIXIMAGE_FORMAT_PNG), true});
    s.push_back({"png8", PIXIMAGE_FORMAT_PNG, EncodeToBytes(pal, PIXIMAGE_FORMAT_PNG), true});
    s.push_back({"ico", PIXIMAGE_FORMAT_ICO, EncodeToBytes(alpha, PIXIMAGE_FORMAT_ICO), true});
    // JPEG and GIF keep what arrived of a picture cut short (libjpeg fills the rest,
    // the GIF reader keeps the lines decoded so far).
    s.push_back({"jpg", PIXIMAGE_FORMAT_JPG, EncodeToBytes(rgb, PIXIMAGE_FORMAT_JPG), false});
    s.push_back({"gif", PIXIMAGE_FORMAT_GIF, EncodeToBytes(pal, PIXIMAGE_FORMAT_GIF), false});
    s.push_back({"gif24", PIXIMAGE_FORMAT_GIF, EncodeToBytes(rgb, PIXIMAGE_FORMAT_GIF), false});
    return s;
}

void ExpectCleanResult(CPixImage& ima, bool ok, const std::string& what)
{
    if (!ok)
    {
        EXPECT_NE('\0', ima.GetErrorText()[0]) << what << ": failed without an error text";
    }
    else
    {
        EXPECT_TRUE(ima.IsValid()) << what;
    }
}
} // namespace

TEST(Hostile, TruncatedFiles)
{
    for (const Sample& s : Samples())
    {
        ASSERT_FALSE(s.data.empty()) << s.name;
        size_t step = s.data.size() / 97 + 1;
        for (size_t cut = 0; cut < s.data.size(); cut += step)
        {
            Bytes part(s.data.begin(), s.data.begin() + cut);
            for (DWORD type : {s.type, (DWORD)0})
            {
                CPixImage ima;
                bool ok = DecodeBytes(ima, part, type);
                std::string what = std::string(s.name) + " cut at " + std::to_string(cut);
                ExpectCleanResult(ima, ok, what);
                if (s.truncationFails)
                {
                    EXPECT_FALSE(ok) << what;
                }
            }
        }
    }
}

TEST(Hostile, FlippedBytes)
{
    unsigned seed = 12345;
    auto rnd = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (const Sample& s : Samples())
    {
        for (int round = 0; round < 150; round++)
        {
            Bytes bad = s.data;
            int flips = 1 + (int)(rnd() % 8);
            for (int k = 0; k < flips; k++)
                bad[rnd() % bad.size()] ^= (unsigned char)(1 + rnd() % 255);
            CPixImage ima;
            bool ok = DecodeBytes(ima, bad, 0);
            ExpectCleanResult(ima, ok, std::string(s.name) + " round " + std::to_string(round));
        }
    }
}

namespace
{
Bytes BmpHeader(long w, long h, int bpp, int compression, DWORD clrUsed)
{
    Bytes b = {'B', 'M'};
    PutLE(b, 0, 4);
    PutLE(b, 0, 4);
    PutLE(b, 0, 4);
    PutLE(b, 40, 4);
    PutLE(b, (unsigned long)w, 4);
    PutLE(b, (unsigned long)h, 4);
    PutLE(b, 1, 2);
    PutLE(b, bpp, 2);
    PutLE(b, compression, 4);
    PutLE(b, 0, 4);
    PutLE(b, 0, 4);
    PutLE(b, 0, 4);
    PutLE(b, clrUsed, 4);
    PutLE(b, 0, 4);
    return b;
}
} // namespace

TEST(Hostile, BmpHeadersRefused)
{
    struct Case
    {
        const char* what;
        Bytes file;
    } cases[] = {
        {"negative width", BmpHeader(-16, 16, 24, 0, 0)},
        {"row size x height past 32 bits", BmpHeader(0x10000, 0x10000, 32, 0, 0)},
        {"colours used above the palette", BmpHeader(4, 4, 8, 0, 300)},
        {"colours used above a 4-bit palette", BmpHeader(4, 4, 4, 0, 17)},
        {"width x height over the memory limit", BmpHeader(30000, 30000, 24, 0, 0)},
    };
    for (const Case& c : cases)
    {
        Bytes file = c.file;
        file.resize(file.size() + 4096, 0x11);
        CPixImage ima;
        EXPECT_FALSE(DecodeBytes(ima, file, PIXIMAGE_FORMAT_BMP)) << c.what;
        EXPECT_NE('\0', ima.GetErrorText()[0]) << c.what;
    }
}

TEST(Hostile, RleRunsAndDeltasStayInside)
{
    // Runs longer than a row, literals past the row end, deltas far outside the
    // bitmap, end-of-line past the last row: the picture stays 4 x 2 and intact around it.
    Bytes rle8 = {200, 9, 0, 2, 250, 250, 0, 5, 1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 40, 7, 0, 1};
    Bytes file = BmpHeader(4, 2, 8, 1, 0);
    for (int i = 0; i < 256; i++)
        PutLE(file, i * 0x010101, 4);
    file.insert(file.end(), rle8.begin(), rle8.end());
    CPixImage ima;
    ASSERT_TRUE(DecodeBytes(ima, file, PIXIMAGE_FORMAT_BMP)) << ima.GetErrorText();
    EXPECT_EQ(9, ima.GetPixelIndex(3, 0));

    Bytes rle4 = {255, 0x12, 0, 2, 255, 255, 0, 9, 0x12, 0x34, 0x56, 0x78, 0x9A, 0, 0, 1};
    Bytes file4 = BmpHeader(3, 1, 4, 2, 0);
    for (int i = 0; i < 16; i++)
        PutLE(file4, i * 0x111111, 4);
    file4.insert(file4.end(), rle4.begin(), rle4.end());
    CPixImage ima4;
    ASSERT_TRUE(DecodeBytes(ima4, file4, PIXIMAGE_FORMAT_BMP)) << ima4.GetErrorText();
    EXPECT_EQ(1, ima4.GetPixelIndex(0, 0));
    EXPECT_EQ(2, ima4.GetPixelIndex(1, 0));
}

TEST(Hostile, IcoPaletteAboveTheDepth)
{
    for (DWORD colours : {300u, 257u, 17u})
    {
        Bytes f = {0, 0, 1, 0, 1, 0, 4, 4, 0, 0, 1, 0, 4, 0};
        PutLE(f, 40 + 1200 + 64, 4);
        PutLE(f, 22, 4);
        PutLE(f, 40, 4);
        PutLE(f, 4, 4);
        PutLE(f, 8, 4);
        PutLE(f, 1, 2);
        PutLE(f, 4, 2);
        PutLE(f, 0, 4);
        PutLE(f, 0, 4);
        PutLE(f, 0, 4);
        PutLE(f, 0, 4);
        PutLE(f, colours, 4);
        PutLE(f, 0, 4);
        f.resize(f.size() + 1200 + 64, 0x5A);
        CPixImage ima;
        EXPECT_FALSE(DecodeBytes(ima, f, PIXIMAGE_FORMAT_ICO)) << colours;
        EXPECT_NE('\0', ima.GetErrorText()[0]);
    }
}

TEST(Hostile, GifCodesAndSizes)
{
    // Screen of 65535 x 65535: over the memory limit.
    Bytes huge = {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    Bytes frame = {',', 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 2, 0x4C, 0x01, 0, ';'};
    huge.insert(huge.end(), frame.begin(), frame.end());
    CPixImage a;
    EXPECT_FALSE(DecodeBytes(a, huge, PIXIMAGE_FORMAT_GIF));
    EXPECT_STREQ("Image of 65535 x 65535 pixels exceeds the decoding limit", a.GetErrorText());

    // Code sizes out of range and codes far beyond the table.
    for (BYTE codeSize : {1, 2, 8, 10, 12, 255})
    {
        Bytes g = {'G', 'I', 'F', '8', '9', 'a', 8, 0, 8, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255,
                   ',', 0, 0, 0, 0, 8, 0, 8, 0, 0, codeSize, 20};
        for (int i = 0; i < 20; i++)
            g.push_back((BYTE)(0xF0 ^ (i * 37)));
        g.push_back(0);
        g.push_back(';');
        CPixImage ima;
        bool ok = DecodeBytes(ima, g, PIXIMAGE_FORMAT_GIF);
        ExpectCleanResult(ima, ok, "code size " + std::to_string(codeSize));
    }
}

TEST(Hostile, PngAbsurdSizes)
{
    CPixImage rgb;
    MakeGradient(rgb, 4, 4);
    Bytes png = EncodeToBytes(rgb, PIXIMAGE_FORMAT_PNG);
    // Width 0x7FFFFFFF in the header (CRC left wrong on purpose, then right).
    Bytes bad = png;
    bad[16] = 0x7F;
    bad[17] = bad[18] = bad[19] = 0xFF;
    CPixImage ima;
    EXPECT_FALSE(DecodeBytes(ima, bad, PIXIMAGE_FORMAT_PNG));
    EXPECT_NE('\0', ima.GetErrorText()[0]);

    // Text chunks claiming 1 GB after the header end the decode at their
    // length, before a buffer of that size is made.
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT"})
    {
        Bytes huge(png.begin(), png.begin() + 33); // signature and header chunk
        PutBE(huge, 0x3FFFFFFF, 4);
        huge.insert(huge.end(), type, type + 4);
        huge.insert(huge.end(), {'a', 0, 'b', 0, 0, 0, 0});
        CPixImage text;
        EXPECT_FALSE(DecodeBytes(text, huge, PIXIMAGE_FORMAT_PNG)) << type;
        EXPECT_EQ(std::string(type) + ": chunk data is too large", text.GetErrorText());
    }
}

namespace
{
unsigned long Crc32(const unsigned char* p, size_t n)
{
    unsigned long c = 0xFFFFFFFFul;
    for (size_t i = 0; i < n; i++)
    {
        c ^= p[i];
        for (int k = 0; k < 8; k++)
            c = (c >> 1) ^ (0xEDB88320ul & (0ul - (c & 1)));
    }
    return c ^ 0xFFFFFFFFul;
}

void PatchBE(Bytes& b, size_t at, unsigned long v, int bytes)
{
    for (int i = 0; i < bytes; i++)
        b[at + i] = (unsigned char)(v >> (8 * (bytes - 1 - i)));
}

// A small JPEG of ours whose frame header then claims w x h.
Bytes JpegClaiming(unsigned long w, unsigned long h, bool progressive)
{
    CPixImage rgb;
    MakeGradient(rgb, 16, 16);
    rgb.SetCodecOption(progressive ? 0x10 : 0, PIXIMAGE_FORMAT_JPG);
    Bytes b = EncodeToBytes(rgb, PIXIMAGE_FORMAT_JPG);
    unsigned char sof = progressive ? 0xC2 : 0xC0;
    for (size_t i = 2; i + 9 < b.size(); i++)
    {
        if (b[i] == 0xFF && b[i + 1] == sof)
        {
            PatchBE(b, i + 5, h, 2);
            PatchBE(b, i + 7, w, 2);
            return b;
        }
    }
    return Bytes();
}

// A small grey PNG of ours whose header chunk then claims w x h (its CRC made right).
Bytes PngClaiming(unsigned long w, unsigned long h)
{
    CPixImage grey;
    MakeIndexed(grey, 8, 8);
    grey.SetGrayPalette();
    Bytes b = EncodeToBytes(grey, PIXIMAGE_FORMAT_PNG);
    PatchBE(b, 16, w, 4);
    PatchBE(b, 20, h, 4);
    PatchBE(b, 29, Crc32(&b[12], 17), 4);
    return b;
}

// A run-length BMP claiming w x h whose data ends the bitmap at once.
Bytes RleBmpClaiming(unsigned long w, unsigned long h)
{
    Bytes b = BmpHeader((long)w, (long)h, 8, 1, 0);
    for (int i = 0; i < 256; i++)
        PutLE(b, i * 0x010101, 4);
    b.insert(b.end(), {0, 1});
    return b;
}

// A 1-bit GIF whose screen and one frame claim w x h; the frame's data is a
// clear code and a few pixels, the rest is missing.
Bytes GifClaiming(unsigned long w, unsigned long h)
{
    Bytes g = {'G', 'I', 'F', '8', '9', 'a'};
    PutLE(g, w, 2);
    PutLE(g, h, 2);
    g.insert(g.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255, ','});
    PutLE(g, 0, 4);
    PutLE(g, w, 2);
    PutLE(g, h, 2);
    g.insert(g.end(), {0, 2, 2, 0x4C, 0x01, 0, ';'});
    return g;
}

// An icon whose one entry is a PNG claiming w x h.
Bytes IcoClaiming(unsigned long w, unsigned long h)
{
    Bytes png = PngClaiming(w, h);
    Bytes f = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0};
    PutLE(f, png.size(), 4);
    PutLE(f, 22, 4);
    f.insert(f.end(), png.begin(), png.end());
    return f;
}
} // namespace

// Files of a few hundred bytes whose headers claim more pixels than a decoder
// accepts, or a progressive JPEG more memory than libjpeg may use, fail from
// the header, before anything is allocated for the picture (a progressive
// JPEG claiming 65,500 x 65,500 once took 48 s and 12.6 GB).
TEST(Hostile, OversizedPicturesRefusedFromTheHeader)
{
    struct Case
    {
        const char* what;
        DWORD type;
        Bytes file;
        const char* error;
    } cases[] = {
        {"progressive jpeg", PIXIMAGE_FORMAT_JPG, JpegClaiming(65500, 65500, true),
         "Image of 65500 x 65500 pixels exceeds the decoding limit"},
        {"baseline jpeg", PIXIMAGE_FORMAT_JPG, JpegClaiming(8193, 8192, false),
         "Image of 8193 x 8192 pixels exceeds the decoding limit"},
        {"progressive jpeg within the pixel limit", PIXIMAGE_FORMAT_JPG, JpegClaiming(8000, 8000, true),
         "JPEG needs more memory than the decoder allows"},
        {"png", PIXIMAGE_FORMAT_PNG, PngClaiming(8192, 8193),
         "Image of 8192 x 8193 pixels exceeds the decoding limit"},
        {"run-length bmp", PIXIMAGE_FORMAT_BMP, RleBmpClaiming(10000, 10000),
         "Image of 10000 x 10000 pixels exceeds the decoding limit"},
        {"gif", PIXIMAGE_FORMAT_GIF, GifClaiming(8193, 8192),
         "Image of 8193 x 8192 pixels exceeds the decoding limit"},
        {"icon with a png", PIXIMAGE_FORMAT_ICO, IcoClaiming(30000, 2240),
         "Image of 30000 x 2240 pixels exceeds the decoding limit"},
    };
    for (const Case& c : cases)
    {
        ASSERT_FALSE(c.file.empty()) << c.what;
        EXPECT_LT(c.file.size(), 2000u) << c.what;
        for (DWORD type : {c.type, (DWORD)0})
        {
            CPixImage ima;
            EXPECT_FALSE(DecodeBytes(ima, c.file, type)) << c.what << " as type " << type;
            EXPECT_FALSE(ima.IsValid()) << c.what;
            if (type)
            {
                EXPECT_STREQ(c.error, ima.GetErrorText()) << c.what;
            }
        }
    }
}

// Up to the limit, pictures decode: files cut short as far as their format
// keeps what arrived (a baseline JPEG needs no whole-picture buffer), and a
// whole progressive photograph.
TEST(Hostile, LargestAcceptedPicturesDecode)
{
    CPixImage gif;
    ASSERT_TRUE(DecodeBytes(gif, GifClaiming(8192, 8192), PIXIMAGE_FORMAT_GIF)) << gif.GetErrorText();
    EXPECT_EQ(8192u, gif.GetWidth());
    EXPECT_EQ(8192u, gif.GetHeight());

    CPixImage jpeg;
    ASSERT_TRUE(DecodeBytes(jpeg, JpegClaiming(8192, 8192, false), PIXIMAGE_FORMAT_JPG))
        << jpeg.GetErrorText();
    EXPECT_EQ(8192u, jpeg.GetHeight());

    CPixImage bmp;
    ASSERT_TRUE(DecodeBytes(bmp, RleBmpClaiming(16384, 4096), PIXIMAGE_FORMAT_BMP)) << bmp.GetErrorText();
    EXPECT_EQ(16384u, bmp.GetWidth());

    // A smooth 12-megapixel picture, as photographs are.
    CPixImage photo(4000, 3000, 24, 0);
    for (long y = 0; y < 3000; y++)
        for (long x = 0; x < 4000; x++)
            photo.SetPixelColor(x, y, Rgb((BYTE)(x * 255 / 3999), (BYTE)(y * 255 / 2999), 128));
    photo.SetCodecOption(0x10, PIXIMAGE_FORMAT_JPG);
    CPixImage back;
    ASSERT_TRUE(DecodeBytes(back, EncodeToBytes(photo, PIXIMAGE_FORMAT_JPG), 0)) << back.GetErrorText();
    ASSERT_EQ(4000u, back.GetWidth());
    RGBQUAD want = photo.GetPixelColor(1234, 2345), got = back.GetPixelColor(1234, 2345);
    EXPECT_NEAR(want.rgbRed, got.rgbRed, 8);
    EXPECT_NEAR(want.rgbGreen, got.rgbGreen, 8);
    EXPECT_NEAR(want.rgbBlue, got.rgbBlue, 8);
}

namespace
{
// A file that takes `limit` bytes and then refuses every write.
class FullFile : public CPixMemFile
{
public:
    explicit FullFile(long limit) : m_limit(limit) { Open(); }
    size_t Write(const void* buffer, size_t size, size_t count) override
    {
        if (Tell() + (long)(size * count) > m_limit)
            return 0;
        return CPixMemFile::Write(buffer, size, count);
    }
    bool PutC(unsigned char c) override { return Write(&c, 1, 1) == 1; }

private:
    long m_limit;
};
} // namespace

TEST(Hostile, WriteErrorsAreNeverSuccess)
{
    CPixImage rgb;
    MakeGradient(rgb, 40, 30);
    CPixImage pal;
    MakeIndexed(pal, 40, 30);
    for (DWORD type : {1u, 2u, 3u, 4u, 5u})
    {
        for (CPixImage* ima : {&rgb, &pal})
        {
            if (type == PIXIMAGE_FORMAT_JPG && ima == &pal)
                continue;
            Bytes full = EncodeToBytes(*ima, type);
            ASSERT_FALSE(full.empty()) << type;
            for (long limit : {0L, 10L, (long)full.size() / 2, (long)full.size() - 1})
            {
                FullFile f(limit);
                EXPECT_FALSE(ima->Encode(&f, type)) << "type " << type << " limit " << limit;
                EXPECT_NE('\0', ima->GetErrorText()[0]);
            }
        }
    }
    // Saving where no file can be made.
    EXPECT_FALSE(rgb.Save(L"Z:\\no\\such\\folder\\x.png", PIXIMAGE_FORMAT_PNG));
}
