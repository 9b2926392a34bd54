// The format codecs: BMP, ICO, PNG, GIF and JPEG with EXIF, each written and
// read back, and the format details that hand-made files exercise.
#include "ImageTestUtil.h"
#include "PixImageBMP.h"
#include "PixImageGIF.h"
#include "PixImageICO.h"
#include "PixImageJPG.h"
#include "PixImagePNG.h"
#include <gtest/gtest.h>

namespace
{
// A BMP: optional file header, 40-byte information header, palette, pixels.
Bytes MakeBmp(long w, long h, int bpp, int compression, const Bytes& palette, const Bytes& pixels,
              bool fileHeader = true, DWORD clrUsed = 0)
{
    Bytes b;
    if (fileHeader)
    {
        b.push_back('B');
        b.push_back('M');
        PutLE(b, 14 + 40 + palette.size() + pixels.size(), 4);
        PutLE(b, 0, 4);
        PutLE(b, 14 + 40 + palette.size(), 4);
    }
    PutLE(b, 40, 4);
    PutLE(b, (unsigned long)w, 4);
    PutLE(b, (unsigned long)h, 4);
    PutLE(b, 1, 2);
    PutLE(b, bpp, 2);
    PutLE(b, compression, 4);
    PutLE(b, pixels.size(), 4);
    PutLE(b, 3780, 4);
    PutLE(b, 3780, 4);
    PutLE(b, clrUsed, 4);
    PutLE(b, 0, 4);
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

Bytes GreyPalette(int n)
{
    Bytes p;
    for (int i = 0; i < n; i++)
    {
        BYTE v = (BYTE)(i * 255 / (n - 1));
        p.push_back(v);
        p.push_back(v);
        p.push_back(v);
        p.push_back(0);
    }
    return p;
}
} // namespace

TEST(Bmp, RoundTripsEveryDepth)
{
    for (DWORD bpp : {1u, 4u, 8u})
    {
        CPixImage src;
        MakeIndexed(src, 13, 7, bpp);
        Bytes file = EncodeToBytes(src, PIXIMAGE_FORMAT_BMP);
        // Without alpha the bytes after the file header are the image's DIB.
        ASSERT_EQ(src.GetSize() + 14, file.size());
        EXPECT_EQ(0, memcmp(file.data() + 14 + 40, (BYTE*)src.GetDIB() + 40, src.GetSize() - 40));
        CPixImage back;
        ASSERT_TRUE(DecodeBytes(back, file, PIXIMAGE_FORMAT_BMP));
        EXPECT_TRUE(SamePixels(src, back)) << bpp;
    }
    CPixImage rgb;
    MakeGradient(rgb, 9, 4);
    rgb.AlphaCreate();
    rgb.AlphaSet(3, 2, 40);
    Bytes file = EncodeToBytes(rgb, PIXIMAGE_FORMAT_BMP);
    EXPECT_EQ(32, file[28]); // written with 32 bits per pixel
    CPixImage back;
    ASSERT_TRUE(DecodeBytes(back, file, 0));
    EXPECT_TRUE(SamePixels(rgb, back));
    EXPECT_EQ(40, back.AlphaGet(3, 2));
    EXPECT_EQ(255, back.AlphaGet(0, 0));
}

TEST(Bmp, HeaderVariants)
{
    // 2 x 2 8-bit grey, rows of 4 bytes: bottom row 10 20, top row 30 40.
    Bytes pixels = {10, 20, 0, 0, 30, 40, 0, 0};
    CPixImage plain;
    ASSERT_TRUE(DecodeBytes(plain, MakeBmp(2, 2, 8, 0, GreyPalette(256), pixels), 0));
    EXPECT_EQ(10, plain.GetPixelIndex(0, 0));
    EXPECT_EQ(40, plain.GetPixelIndex(1, 1));

    CPixImage headerless;
    ASSERT_TRUE(DecodeBytes(headerless, MakeBmp(2, 2, 8, 0, GreyPalette(256), pixels, false), PIXIMAGE_FORMAT_BMP));
    EXPECT_TRUE(SamePixels(plain, headerless));

    Bytes topDownPixels = {30, 40, 0, 0, 10, 20, 0, 0};
    CPixImage topDown;
    ASSERT_TRUE(DecodeBytes(topDown, MakeBmp(2, -2, 8, 0, GreyPalette(256), topDownPixels), 0));
    EXPECT_TRUE(SamePixels(plain, topDown));

    // Core header: 12 bytes and 3-byte palette entries.
    Bytes core = {'B', 'M'};
    PutLE(core, 0, 4);
    PutLE(core, 0, 4);
    PutLE(core, 14 + 12 + 768, 4);
    PutLE(core, 12, 4);
    PutLE(core, 2, 2);
    PutLE(core, 2, 2);
    PutLE(core, 1, 2);
    PutLE(core, 8, 2);
    for (int i = 0; i < 256; i++)
        for (int k = 0; k < 3; k++)
            core.push_back((BYTE)i);
    core.insert(core.end(), pixels.begin(), pixels.end());
    CPixImage fromCore;
    ASSERT_TRUE(DecodeBytes(fromCore, core, 0)) << fromCore.GetErrorText();
    EXPECT_TRUE(SamePixels(plain, fromCore));
}

TEST(Bmp, BitFieldsAndAlpha)
{
    Bytes p16;
    PutLE(p16, 0xFFFF, 2);
    PutLE(p16, 0, 2);
    Bytes masks565;
    PutLE(masks565, 0xF800, 4);
    PutLE(masks565, 0x7E0, 4);
    PutLE(masks565, 0x1F, 4);
    CPixImage a;
    ASSERT_TRUE(DecodeBytes(a, MakeBmp(1, 1, 16, 3, masks565, p16), 0));
    RGBQUAD c = a.GetPixelColor(0, 0);
    EXPECT_EQ(0xF8, c.rgbRed);
    EXPECT_EQ(0xFC, c.rgbGreen);
    EXPECT_EQ(0xF8, c.rgbBlue);

    Bytes p555;
    PutLE(p555, 0x7FFF, 2);
    PutLE(p555, 0, 2);
    CPixImage b;
    ASSERT_TRUE(DecodeBytes(b, MakeBmp(1, 1, 16, 0, Bytes(), p555), 0));
    EXPECT_TRUE(SameRgb(Rgb(0xF8, 0xF8, 0xF8), b.GetPixelColor(0, 0)));

    Bytes zeroAlpha = {1, 2, 3, 0, 4, 5, 6, 0};
    CPixImage opaque;
    ASSERT_TRUE(DecodeBytes(opaque, MakeBmp(2, 1, 32, 0, Bytes(), zeroAlpha), 0));
    EXPECT_EQ(255, opaque.AlphaGet(0, 0));
    Bytes someAlpha = {1, 2, 3, 0, 4, 5, 6, 99};
    CPixImage partly;
    ASSERT_TRUE(DecodeBytes(partly, MakeBmp(2, 1, 32, 0, Bytes(), someAlpha), 0));
    EXPECT_EQ(0, partly.AlphaGet(0, 0));
    EXPECT_EQ(99, partly.AlphaGet(1, 0));
    Bytes masks888;
    PutLE(masks888, 0xFF0000, 4);
    PutLE(masks888, 0xFF00, 4);
    PutLE(masks888, 0xFF, 4);
    CPixImage fields;
    ASSERT_TRUE(DecodeBytes(fields, MakeBmp(2, 1, 32, 3, masks888, someAlpha), 0));
    EXPECT_FALSE(fields.AlphaIsValid());
    EXPECT_TRUE(SameRgb(Rgb(6, 5, 4), fields.GetPixelColor(1, 0)));
}

TEST(Bmp, RunLengthEncoded)
{
    // 4 x 3 RLE8: bottom row run of 4 x 7, end of line, literal 1 2 3, end of bitmap.
    Bytes rle = {4, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1};
    CPixImage ima;
    ASSERT_TRUE(DecodeBytes(ima, MakeBmp(4, 3, 8, 1, GreyPalette(256), rle), 0)) << ima.GetErrorText();
    EXPECT_EQ(7, ima.GetPixelIndex(3, 0));
    EXPECT_EQ(3, ima.GetPixelIndex(2, 1));
    EXPECT_EQ(0, ima.GetPixelIndex(1, 2)); // after the end of bitmap: as cleared

    // RLE4: a run of 5 pixels alternating 0xA and 0xB.
    Bytes rle4 = {5, 0xAB, 0, 1};
    CPixImage four;
    ASSERT_TRUE(DecodeBytes(four, MakeBmp(6, 1, 4, 2, GreyPalette(16), rle4), 0)) << four.GetErrorText();
    EXPECT_EQ(0xA, four.GetPixelIndex(0, 0));
    EXPECT_EQ(0xB, four.GetPixelIndex(1, 0));
    EXPECT_EQ(0xA, four.GetPixelIndex(4, 0));
    EXPECT_EQ(0, four.GetPixelIndex(5, 0));
}

TEST(Bmp, SizeQueryAndCancel)
{
    CPixImageBMP codec;
    codec.SetEscape(-1);
    Bytes file = MakeBmp(3, 5, 24, 0, Bytes(), Bytes(60, 0));
    unsigned char* copy = (unsigned char*)malloc(file.size());
    memcpy(copy, file.data(), file.size());
    CPixMemFile mf(copy, (long)file.size());
    EXPECT_TRUE(codec.Decode(&mf));
    EXPECT_EQ(3u, codec.GetWidth());
    EXPECT_EQ(5u, codec.GetHeight());
    EXPECT_STREQ("output dimensions returned", codec.GetErrorText());
    mf.Seek(0, SEEK_SET);
    CPixImageBMP cancelled;
    cancelled.SetEscape(1);
    EXPECT_FALSE(cancelled.Decode(&mf));
    EXPECT_STREQ("Cancelled", cancelled.GetErrorText());
    free(copy);
}

TEST(Ico, MaskBecomesAlphaColourOrIndex)
{
    // 32-bit entry whose masked pixels differ: alpha plane with 0 where masked.
    CPixImage rgb;
    MakeGradient(rgb, 8, 8);
    rgb.AlphaCreate();
    rgb.AlphaSet(1, 1, 0);
    rgb.AlphaSet(2, 5, 0);
    rgb.AlphaSet(4, 4, 120);
    CPixImage back;
    ASSERT_TRUE(DecodeBytes(back, EncodeToBytes(rgb, PIXIMAGE_FORMAT_ICO), 0));
    EXPECT_EQ((DWORD)PIXIMAGE_FORMAT_ICO, back.GetType());
    ASSERT_TRUE(back.AlphaIsValid());
    EXPECT_EQ(0, back.AlphaGet(1, 1));
    EXPECT_EQ(120, back.AlphaGet(4, 4));
    EXPECT_TRUE(SamePixels(rgb, back));

    // All masked pixels of one colour: a transparent colour instead of an alpha plane.
    CPixImage one(8, 8, 24, 0);
    for (long y = 0; y < 8; y++)
        for (long x = 0; x < 8; x++)
            one.SetPixelColor(x, y, x < 2 ? Rgb(1, 2, 3) : Rgb(200, (BYTE)x, (BYTE)y));
    one.AlphaCreate();
    for (long y = 0; y < 8; y++)
        one.AlphaSet(0, y, 0);
    CPixImage back1;
    ASSERT_TRUE(DecodeBytes(back1, EncodeToBytes(one, PIXIMAGE_FORMAT_ICO), 0));
    EXPECT_FALSE(back1.AlphaIsValid());
    EXPECT_TRUE(back1.IsTransparent());
    EXPECT_TRUE(SameRgb(Rgb(1, 2, 3), back1.GetTransColor()));

    // 8-bit: the transparent entry goes out black with alpha 0; the image's palette stays.
    CPixImage pal;
    MakeIndexed(pal, 32, 32);
    pal.SetTransIndex(5);
    RGBQUAD before = pal.GetPaletteColor(5);
    Bytes file = EncodeToBytes(pal, PIXIMAGE_FORMAT_ICO);
    EXPECT_TRUE(SameRgb(before, pal.GetPaletteColor(5)));
    const BYTE* entry5 = file.data() + 6 + 16 + 40 + 5 * 4;
    EXPECT_EQ(0, entry5[0] | entry5[1] | entry5[2] | entry5[3]);
}

TEST(Ico, LargePicturesAreStoredAsPngAndFramesAreCounted)
{
    CPixImage big;
    MakeGradient(big, 300, 300);
    Bytes file = EncodeToBytes(big, PIXIMAGE_FORMAT_ICO);
    ASSERT_GT(file.size(), 22u);
    EXPECT_EQ(0, file[6]);
    EXPECT_EQ(0, file[7]);
    EXPECT_EQ(0, memcmp(file.data() + 22, "\x89PNG", 4));
    CPixImage back;
    ASSERT_TRUE(DecodeBytes(back, file, PIXIMAGE_FORMAT_ICO));
    EXPECT_TRUE(SamePixels(big, back));

    // Three entries; frame index 2 reads the third.
    Bytes multi = {0, 0, 1, 0, 3, 0};
    Bytes images;
    for (int i = 0; i < 3; i++)
    {
        CPixImage e;
        MakeIndexed(e, 4 + i, 4, 8);
        Bytes f = EncodeToBytes(e, PIXIMAGE_FORMAT_ICO);
        Bytes dirEntry(f.begin() + 6, f.begin() + 22);
        DWORD offset = 6 + 48 + (DWORD)images.size();
        for (int k = 0; k < 4; k++)
            dirEntry[12 + k] = (BYTE)(offset >> (8 * k));
        multi.insert(multi.end(), dirEntry.begin(), dirEntry.end());
        images.insert(images.end(), f.begin() + 22, f.end());
    }
    multi.insert(multi.end(), images.begin(), images.end());
    CPixImage third;
    third.SetFrame(2);
    ASSERT_TRUE(DecodeBytes(third, multi, PIXIMAGE_FORMAT_ICO));
    EXPECT_EQ(6u, third.GetWidth());
    EXPECT_EQ(3, third.GetNumFrames());
    CPixImage none;
    none.SetFrame(3);
    EXPECT_FALSE(DecodeBytes(none, multi, PIXIMAGE_FORMAT_ICO));
    EXPECT_EQ(3, none.GetNumFrames());
}

TEST(Png, ColourTypesAndOptions)
{
    CPixImage grey(5, 4, 8, 0);
    grey.SetGrayPalette();
    for (long y = 0; y < 4; y++)
        for (long x = 0; x < 5; x++)
            grey.SetPixelIndex(x, y, (BYTE)(x * 50 + y));
    grey.AlphaCreate();
    grey.AlphaSet(1, 1, 33);
    Bytes file = EncodeToBytes(grey, PIXIMAGE_FORMAT_PNG);
    EXPECT_EQ(4, file[25]); // grey + alpha
    CPixImage back;
    ASSERT_TRUE(DecodeBytes(back, file, 0));
    EXPECT_TRUE(SamePixels(grey, back));
    EXPECT_EQ(33, back.AlphaGet(1, 1));

    // A colour palette with an alpha plane asks for colour type 7, which PNG does not have.
    CPixImage bad;
    MakeIndexed(bad, 4, 4);
    bad.AlphaCreate();
    EXPECT_TRUE(EncodeToBytes(bad, PIXIMAGE_FORMAT_PNG).empty());
    EXPECT_STREQ("Error saving PNG file", bad.GetErrorText());

    // Interlacing is kept both ways; palette alpha comes back as palette alpha.
    CPixImage pal;
    MakeIndexed(pal, 9, 9, 4);
    pal.SetCodecOption(1, PIXIMAGE_FORMAT_PNG);
    pal.SetPaletteColor(3, 10, 20, 30, 128);
    pal.AlphaPaletteEnable(true);
    Bytes inter = EncodeToBytes(pal, PIXIMAGE_FORMAT_PNG);
    EXPECT_EQ(1, inter[28]);
    CPixImage back2;
    ASSERT_TRUE(DecodeBytes(back2, inter, PIXIMAGE_FORMAT_PNG));
    EXPECT_EQ(1u, back2.GetCodecOption(PIXIMAGE_FORMAT_PNG));
    EXPECT_TRUE(back2.AlphaPaletteIsEnabled());
    EXPECT_EQ(128, back2.GetPaletteColor(3).rgbReserved);
    EXPECT_TRUE(SamePixels(pal, back2));
    EXPECT_EQ(96, back2.GetXDPI());

    CPixImagePNG query;
    query.SetEscape(-1);
    CPixMemFile mf;
    mf.Open();
    mf.Write(inter.data(), 1, inter.size());
    mf.Seek(0, SEEK_SET);
    EXPECT_TRUE(query.Decode(&mf));
    EXPECT_EQ(9u, query.GetWidth());
    EXPECT_FALSE(query.IsValid());
}

TEST(Gif, RoundTripsAndStructure)
{
    CPixImage pal;
    MakeIndexed(pal, 23, 11);
    pal.SetTransIndex(4);
    Bytes file = EncodeToBytes(pal, PIXIMAGE_FORMAT_GIF);
    ASSERT_GT(file.size(), 13u);
    EXPECT_EQ(0, memcmp(file.data(), "GIF89a", 6));
    EXPECT_EQ(0xE7, file[10]);
    CPixImage back;
    ASSERT_TRUE(DecodeBytes(back, file, 0));
    EXPECT_EQ((DWORD)PIXIMAGE_FORMAT_GIF, back.GetType());
    EXPECT_TRUE(SamePixels(pal, back));
    EXPECT_EQ(4, back.GetTransIndex());

    // 1-bit: code size 2.
    CPixImage bw;
    MakeIndexed(bw, 10, 3, 1);
    Bytes bwFile = EncodeToBytes(bw, PIXIMAGE_FORMAT_GIF);
    EXPECT_EQ(0x80, bwFile[10]);
    CPixImage bwBack;
    ASSERT_TRUE(DecodeBytes(bwBack, bwFile, PIXIMAGE_FORMAT_GIF));
    EXPECT_TRUE(SamePixels(bw, bwBack));

    // True colour: 35 x 16 in tiles of 17 x 15: 6 tiles.
    CPixImage rgb;
    MakeGradient(rgb, 35, 16);
    Bytes tiles = EncodeToBytes(rgb, PIXIMAGE_FORMAT_GIF);
    int descriptors = 0;
    for (size_t i = 1; i + 10 < tiles.size(); i++)
        if (tiles[i] == ',' && tiles[i - 1] == 0 && tiles[i + 9] == 0x87)
            descriptors++;
    EXPECT_EQ(6, descriptors);
    CPixImage rgbBack;
    ASSERT_TRUE(DecodeBytes(rgbBack, tiles, PIXIMAGE_FORMAT_GIF));
    EXPECT_EQ(24, rgbBack.GetBpp());
    EXPECT_TRUE(SamePixels(rgb, rgbBack));

    // Plain codes (codec option 1) and run-length codes (option 2) give the same
    // picture, also with runs long enough to fill the code table several times.
    CPixImage runs(700, 40, 8, 0);
    for (int k = 0; k < 256; k++)
        runs.SetPaletteColor((BYTE)k, (BYTE)k, (BYTE)(k * 7), (BYTE)(k * 13));
    for (long y = 0; y < 40; y++)
        for (long x = 0; x < 700; x++)
            runs.SetPixelIndex(x, y, (BYTE)(y < 10 ? 3 : (y < 20 ? (x / (y * 3)) % 5 : (x * y) % 7)));
    for (DWORD option : {1u, 2u})
    {
        for (CPixImage* src : {&pal, &runs, &bw})
        {
            src->SetCodecOption(option, PIXIMAGE_FORMAT_GIF);
            CPixImage back2;
            ASSERT_TRUE(DecodeBytes(back2, EncodeToBytes(*src, PIXIMAGE_FORMAT_GIF), PIXIMAGE_FORMAT_GIF));
            EXPECT_TRUE(SamePixels(*src, back2)) << "option " << option << " " << src->GetWidth();
        }
    }
}

TEST(Gif, AnimationsFramesAndLoops)
{
    CPixImage f[3];
    CPixImage* frames[3];
    for (int i = 0; i < 3; i++)
    {
        f[i].Create(6, 4, 8, PIXIMAGE_FORMAT_GIF);
        for (int k = 0; k < 256; k++)
            f[i].SetPaletteColor((BYTE)k, (BYTE)k, (BYTE)(k / 2), 0);
        f[i].Clear((BYTE)(10 * (i + 1)));
        frames[i] = &f[i];
    }
    f[1].SetPixelIndex(0, 0, 99);
    CPixImageGIF writer;
    writer.SetLoops(5);
    CPixMemFile mf;
    mf.Open();
    ASSERT_TRUE(writer.Encode(&mf, frames, 3));
    Bytes file(mf.GetBuffer(false), mf.GetBuffer(false) + mf.Size());
    const char* netscape = "NETSCAPE2.0";
    auto it = std::search(file.begin(), file.end(), netscape, netscape + 11);
    ASSERT_NE(file.end(), it);
    EXPECT_EQ(4, it[13]); // loop count 5 is written as 4

    CPixImage second;
    second.SetFrame(1);
    second.SetKeepAllFrames(true);
    ASSERT_TRUE(DecodeBytes(second, file, PIXIMAGE_FORMAT_GIF));
    EXPECT_EQ(3, second.GetNumFrames());
    EXPECT_EQ(20, second.GetPixelIndex(3, 3));
    EXPECT_EQ(99, second.GetPixelIndex(0, 0));
    ASSERT_NE(nullptr, second.GetFrame(0));
    EXPECT_EQ(10, second.GetFrame(0)->GetPixelIndex(2, 2));

    CPixImageGIF once;
    once.SetLoops(1);
    CPixMemFile mf2;
    mf2.Open();
    ASSERT_TRUE(once.Encode(&mf2, frames, 3));
    Bytes file2(mf2.GetBuffer(false), mf2.GetBuffer(false) + mf2.Size());
    EXPECT_EQ(file2.end(), std::search(file2.begin(), file2.end(), netscape, netscape + 11));

    CPixImage rgb;
    MakeGradient(rgb, 3, 3);
    CPixImage* mixed[2] = {&f[0], &rgb};
    CPixMemFile mf3;
    mf3.Open();
    EXPECT_FALSE(once.Encode(&mf3, mixed, 2));
    EXPECT_STREQ("CPixImageGIF::Encode cannot create animated GIFs with a true color frame. Use DecreaseBpp before",
                 once.GetErrorText());
    EXPECT_FALSE(once.Encode(&mf3, nullptr, 0));
    EXPECT_STREQ("multipage GIF, no images!", once.GetErrorText());
}

TEST(Gif, DisposalMethodsComposeTheScreen)
{
    // A 6 x 4 screen of index 10 (kept), then 2 x 2 frames of 20 at (1, 1)
    // restoring to background, of 30 at (3, 1) restoring to the previous
    // picture, and a last pixel of 40 at (0, 0).
    struct
    {
        long w, h, x, y;
        BYTE index, disposal;
    } spec[] = {{6, 4, 0, 0, 10, 1}, {2, 2, 1, 1, 20, 2}, {2, 2, 3, 1, 30, 3}, {1, 1, 0, 0, 40, 0}};
    CPixImage f[4];
    CPixImage* frames[4];
    for (int i = 0; i < 4; i++)
    {
        f[i].Create(spec[i].w, spec[i].h, 8, PIXIMAGE_FORMAT_GIF);
        for (int k = 0; k < 256; k++)
            f[i].SetPaletteColor((BYTE)k, (BYTE)k, (BYTE)k, (BYTE)k);
        f[i].Clear(spec[i].index);
        f[i].SetOffset(spec[i].x, spec[i].y);
        f[i].SetDisposalMethod(spec[i].disposal);
        frames[i] = &f[i];
    }
    CPixImageGIF writer;
    CPixMemFile mf;
    mf.Open();
    ASSERT_TRUE(writer.Encode(&mf, frames, 4, false, true));
    Bytes file(mf.GetBuffer(false), mf.GetBuffer(false) + mf.Size());

    // Picture rows from the top; '.' for the first transparent index (none:
    // the canvas is filled with 255), digits for the indices tenfold.
    auto picture = [](CPixImage& ima) {
        std::string rows;
        for (long y = (long)ima.GetHeight() - 1; y >= 0; y--)
        {
            for (long x = 0; x < (long)ima.GetWidth(); x++)
            {
                BYTE i = ima.GetPixelIndex(x, y);
                rows += i == 255 ? '.' : (char)('0' + i / 10);
            }
            rows += '/';
        }
        return rows;
    };
    const char* expected[] = {"111111/111111/111111/111111/", "111111/122111/122111/111111/",
                              "....../...33./...33./....../", "411111/111111/111111/111111/"};
    for (long n = 0; n < 4; n++)
    {
        CPixImage ima;
        ima.SetFrame(n);
        ASSERT_TRUE(DecodeBytes(ima, file, PIXIMAGE_FORMAT_GIF)) << n;
        EXPECT_EQ(expected[n], picture(ima)) << "frame " << n;
        EXPECT_EQ(spec[n].disposal, ima.GetDisposalMethod()) << n;
    }
}

TEST(Gif, InterlacedRowsAndGraphicControlErrors)
{
    // An interlaced 1 x 10 frame whose lines carry their order of arrival.
    Bytes g = {'G', 'I', 'F', '8', '7', 'a', 1, 0, 10, 0, 0x87, 0, 0};
    for (int i = 0; i < 256; i++)
    {
        g.push_back((BYTE)i);
        g.push_back(0);
        g.push_back(0);
    }
    g.push_back(',');
    PutLE(g, 0, 2);
    PutLE(g, 0, 2);
    PutLE(g, 1, 2);
    PutLE(g, 10, 2);
    g.push_back(0x40);
    CPixImage lines(1, 10, 8, 0);
    for (int i = 0; i < 10; i++)
        lines.SetPixelIndex(0, 9 - i, (BYTE)i); // picture line i holds the value i
    // Encode the ten values in arrival order 0 8 4 2 6 1 3 5 7 9 with our writer's code stream.
    CPixImage arrival(1, 10, 8, 0);
    int order[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    for (int i = 0; i < 10; i++)
        arrival.SetPixelIndex(0, 9 - i, (BYTE)order[i]);
    Bytes plain = EncodeToBytes(arrival, PIXIMAGE_FORMAT_GIF);
    // Take the code stream after the writer's descriptor (no local table).
    size_t at = 13 + 768;
    while (plain[at] != ',')
        at++;
    g.insert(g.end(), plain.begin() + at + 10, plain.end());
    CPixImage ima;
    ASSERT_TRUE(DecodeBytes(ima, g, PIXIMAGE_FORMAT_GIF));
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(i, ima.GetPixelIndex(0, 9 - i)) << i;

    // A graphic-control block of size 5 ends decoding there; what came before stands.
    CPixImage pal;
    MakeIndexed(pal, 4, 4);
    Bytes good = EncodeToBytes(pal, PIXIMAGE_FORMAT_GIF);
    Bytes bad(good.begin(), good.end() - 1);
    Bytes gce = {'!', 0xF9, 5, 0, 0, 0, 0, 0, 0};
    bad.insert(bad.end(), gce.begin(), gce.end());
    bad.push_back(';');
    CPixImage back;
    ASSERT_TRUE(DecodeBytes(back, bad, PIXIMAGE_FORMAT_GIF));
    EXPECT_TRUE(SamePixels(pal, back));
}

TEST(Jpeg, ColourGreyAndRefusals)
{
    CPixImage rgb;
    MakeGradient(rgb, 32, 24);
    Bytes file = EncodeToBytes(rgb, PIXIMAGE_FORMAT_JPG);
    CPixImage back;
    ASSERT_TRUE(DecodeBytes(back, file, 0));
    EXPECT_EQ((DWORD)PIXIMAGE_FORMAT_JPG, back.GetType());
    EXPECT_EQ(24, back.GetBpp());
    RGBQUAD a = rgb.GetPixelColor(10, 10), b = back.GetPixelColor(10, 10);
    EXPECT_NEAR(a.rgbRed, b.rgbRed, 8);
    EXPECT_NEAR(a.rgbBlue, b.rgbBlue, 8);

    CPixImage grey(16, 16, 4, 0);
    grey.SetGrayPalette();
    grey.Clear(0x77);
    Bytes greyFile = EncodeToBytes(grey, PIXIMAGE_FORMAT_JPG);
    ASSERT_FALSE(greyFile.empty());
    CPixImage greyBack;
    ASSERT_TRUE(DecodeBytes(greyBack, greyFile, PIXIMAGE_FORMAT_JPG));
    EXPECT_EQ(8, greyBack.GetBpp());
    EXPECT_TRUE(greyBack.IsGrayScale());
    EXPECT_NEAR(119, greyBack.GetPixelIndex(5, 5), 2);

    CPixImage colour;
    MakeIndexed(colour, 4, 4, 4);
    EXPECT_TRUE(EncodeToBytes(colour, PIXIMAGE_FORMAT_JPG).empty());
    EXPECT_STREQ("JPEG can save only RGB or GreyScale images", colour.GetErrorText());

    CPixImage empty;
    EXPECT_FALSE(DecodeBytes(empty, Bytes(), PIXIMAGE_FORMAT_JPG));
    EXPECT_STREQ("Empty input file", empty.GetErrorText());
}

namespace
{
// An APP1 EXIF section in Motorola order: X resolution 72/1, resolution unit
// `unit`, ISO 4, and a user comment.
Bytes ExifSection(int unit)
{
    Bytes tiff = {'M', 'M', 0, 42};
    PutBE(tiff, 8, 4);
    int entries = 4;
    PutBE(tiff, entries, 2);
    size_t dataAt = 8 + 2 + 12 * entries + 4;
    // 0x011A X resolution, rational at dataAt
    PutBE(tiff, 0x011A, 2);
    PutBE(tiff, 5, 2);
    PutBE(tiff, 1, 4);
    PutBE(tiff, dataAt, 4);
    PutBE(tiff, 0x0128, 2);
    PutBE(tiff, 3, 2);
    PutBE(tiff, 1, 4);
    PutBE(tiff, (unsigned long)unit << 16, 4);
    PutBE(tiff, 0x8827, 2);
    PutBE(tiff, 3, 2);
    PutBE(tiff, 1, 4);
    PutBE(tiff, 4UL << 16, 4);
    PutBE(tiff, 0x9286, 2);
    PutBE(tiff, 7, 2);
    PutBE(tiff, 16, 4);
    PutBE(tiff, dataAt + 8, 4);
    PutBE(tiff, 0, 4); // no next directory
    PutBE(tiff, 72, 4);
    PutBE(tiff, 1, 4);
    const char comment[16] = {'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'h', 'e', 'l', 'l', 'o', ' ', ' ', ' '};
    tiff.insert(tiff.end(), comment, comment + 16);
    Bytes app1 = {0xFF, 0xE1};
    PutBE(app1, 2 + 6 + tiff.size(), 2);
    const char exif[6] = {'E', 'x', 'i', 'f', 0, 0};
    app1.insert(app1.end(), exif, exif + 6);
    app1.insert(app1.end(), tiff.begin(), tiff.end());
    return app1;
}

Bytes WithSection(const Bytes& jpeg, const Bytes& section)
{
    Bytes out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), section.begin(), section.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}
} // namespace

TEST(Exif, ResolutionCommentAndIso)
{
    CPixImage rgb;
    MakeGradient(rgb, 16, 16);
    rgb.SetXDPI(150);
    rgb.SetYDPI(150);
    Bytes plain = EncodeToBytes(rgb, PIXIMAGE_FORMAT_JPG);
    CPixImage noExif;
    ASSERT_TRUE(DecodeBytes(noExif, plain, PIXIMAGE_FORMAT_JPG));
    EXPECT_EQ(150, noExif.GetXDPI()); // from the JFIF density

    Bytes withExif = WithSection(plain, ExifSection(2));
    CPixImageJPG codec;
    unsigned char* copy = (unsigned char*)malloc(withExif.size());
    memcpy(copy, withExif.data(), withExif.size());
    CPixMemFile mf(copy, (long)withExif.size());
    ASSERT_TRUE(codec.Decode(&mf));
    EXPECT_TRUE(codec.GetExifInfo().IsExif);
    EXPECT_FLOAT_EQ(72.0f, codec.GetExifInfo().Xresolution);
    EXPECT_FLOAT_EQ(1.0f, codec.GetExifInfo().ResolutionUnit);
    EXPECT_EQ(800, codec.GetExifInfo().ISOequivalent);
    EXPECT_STREQ("hello", codec.GetExifInfo().Comments);
    EXPECT_EQ(72, codec.GetXDPI());
    free(copy);

    // Saving writes a plain JFIF file without the EXIF block.
    CPixImage reloaded;
    ASSERT_TRUE(DecodeBytes(reloaded, withExif, PIXIMAGE_FORMAT_JPG));
    Bytes saved = EncodeToBytes(reloaded, PIXIMAGE_FORMAT_JPG);
    EXPECT_EQ(0xE0, saved[3]);
    const char exif[4] = {'E', 'x', 'i', 'f'};
    EXPECT_EQ(saved.end(), std::search(saved.begin(), saved.end(), exif, exif + 4));
}

TEST(Exif, NestingAndSectionLimits)
{
    // Directories linked one below the other by EXIF links: five levels are read, the sixth fails.
    auto nested = [](int levels) {
        Bytes tiff = {'I', 'I', 42, 0};
        PutLE(tiff, 8, 4);
        for (int i = 0; i < levels; i++)
        {
            size_t next = tiff.size() + 18;
            PutLE(tiff, 1, 2);
            PutLE(tiff, 0x8769, 2);
            PutLE(tiff, 4, 2);
            PutLE(tiff, 1, 4);
            PutLE(tiff, i + 1 < levels ? next : 0, 4);
            PutLE(tiff, 0, 4);
        }
        Bytes app1 = {0xFF, 0xD8, 0xFF, 0xE1};
        PutBE(app1, 2 + 6 + tiff.size(), 2);
        const char exif[6] = {'E', 'x', 'i', 'f', 0, 0};
        app1.insert(app1.end(), exif, exif + 6);
        app1.insert(app1.end(), tiff.begin(), tiff.end());
        Bytes sos = {0xFF, 0xDA, 0, 2};
        app1.insert(app1.end(), sos.begin(), sos.end());
        return app1;
    };
    for (int levels : {5, 6, 20})
    {
        Bytes file = nested(levels);
        ExifRecord rec = {};
        CPixExifInfo reader(&rec);
        CPixMemFile mf(file.data(), (long)file.size());
        EXPECT_TRUE(reader.DecodeExif(&mf));
        EXPECT_TRUE(rec.IsExif) << levels; // a failing subdirectory does not stop its parent
        if (levels > 5)
        {
            EXPECT_STREQ("Maximum directory nesting exceeded (corrupt exif header)", reader.GetErrorText());
        }
        mf.GetBuffer(true);
    }

    Bytes many = {0xFF, 0xD8};
    for (int i = 0; i < 20; i++)
    {
        Bytes app = {0xFF, 0xE2, 0, 4, 1, 2};
        many.insert(many.end(), app.begin(), app.end());
    }
    Bytes sos = {0xFF, 0xDA, 0, 2};
    many.insert(many.end(), sos.begin(), sos.end());
    ExifRecord rec = {};
    CPixExifInfo reader(&rec);
    CPixMemFile mf(many.data(), (long)many.size());
    EXPECT_FALSE(reader.DecodeExif(&mf));
    EXPECT_STREQ("Too many sections in jpg file", reader.GetErrorText());
    mf.GetBuffer(true);
}
