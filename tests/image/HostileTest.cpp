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
    EXPECT_STREQ("PIXIMAGE_MAX_MEMORY exceeded", a.GetErrorText());

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
