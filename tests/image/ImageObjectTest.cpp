// The image object: creation limits, copies, ghosts, codec dispatch and the
// element operations on pixels, palette, alpha and selection.
#include "ImageTestUtil.h"
#include "PixImageBMP.h"
#include <gtest/gtest.h>
#include <string>

namespace
{
std::wstring TempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}
} // namespace

TEST(PixImage, CreateRoundsDepthsAndRefusesSizes)
{
    struct Case
    {
        DWORD w, h, bpp;
        WORD expectBpp;
        DWORD expectColors, expectEff;
    } cases[] = {{10, 10, 2, 4, 16, 8}, {10, 10, 16, 24, 0, 32}, {10, 10, 0, 1, 2, 4}, {3, 1, 7, 8, 256, 4}};
    for (const Case& c : cases)
    {
        CPixImage ima;
        ASSERT_NE(nullptr, ima.Create(c.w, c.h, c.bpp, 0));
        EXPECT_EQ(c.expectBpp, ima.GetBpp());
        EXPECT_EQ(c.expectColors, ima.GetNumColors());
        EXPECT_EQ(c.expectEff, ima.GetEffWidth());
    }

    CPixImage ima;
    EXPECT_EQ(nullptr, ima.Create(0, 5, 8, 0));
    EXPECT_STREQ("CPixImage::Create : width and height must be greater than zero", ima.GetErrorText());
    EXPECT_FALSE(ima.IsValid());
    EXPECT_EQ(nullptr, ima.Create(16384, 16385, 8, 0));
    EXPECT_STREQ("PIXIMAGE_MAX_MEMORY exceeded", ima.GetErrorText());
    EXPECT_EQ(nullptr, ima.Create(65536, 65537, 24, 0)); // width x height does not fit in 32 bits
    EXPECT_STREQ("PIXIMAGE_MAX_MEMORY exceeded", ima.GetErrorText());
}

TEST(PixImage, DefaultsAndAccessors)
{
    CPixImage ima;
    EXPECT_EQ(96, ima.GetXDPI());
    EXPECT_EQ(96, ima.GetYDPI());
    EXPECT_EQ(90, ima.GetJpegQuality());
    EXPECT_EQ(-1, ima.GetTransIndex());
    EXPECT_EQ(nullptr, ima.GetBits(0));
    EXPECT_FALSE(ima.SetType(7));
    EXPECT_EQ(0u, ima.GetType());
    EXPECT_TRUE(ima.SetType(3));

    ima.Create(4, 4, 8, 0);
    EXPECT_EQ(3780, ((BITMAPINFOHEADER*)ima.GetDIB())->biXPelsPerMeter);
    ima.SetXDPI(300);
    EXPECT_EQ(11811, ((BITMAPINFOHEADER*)ima.GetDIB())->biXPelsPerMeter);
    ima.SetXDPI(0);
    EXPECT_EQ(96, ima.GetXDPI());
    ima.SetTransIndex(300);
    EXPECT_EQ(0, ima.GetTransIndex());
    ima.SetTransIndex(-1);
    EXPECT_EQ(-1, ima.GetTransIndex());
    EXPECT_EQ(nullptr, ima.GetBits(4));
    EXPECT_EQ(ima.GetBits(0) + 3 * ima.GetEffWidth(), ima.GetBits(3));
}

TEST(PixImage, CopiesAssignmentAndGhosts)
{
    CPixImage a;
    MakeGradient(a, 8, 6);
    a.AlphaCreate();
    a.AlphaSet(1, 1, 9);
    CPixImage b(a);
    EXPECT_TRUE(SamePixels(a, b));
    EXPECT_EQ(9, b.AlphaGet(1, 1));
    b = b; // self-assignment changes nothing
    EXPECT_TRUE(SamePixels(a, b));

    CPixImage ghost;
    ghost.Ghost(&a);
    EXPECT_FALSE(ghost.Destroy());
    CPixImage copyOfGhost(ghost);
    EXPECT_EQ(a.GetDIB(), copyOfGhost.GetDIB()); // a ghost's copy borrows the same data
    EXPECT_FALSE(copyOfGhost.Destroy());
    EXPECT_TRUE(a.IsValid());
}

TEST(PixImage, DecodeDetectsFormatsAndReportsTheAskedOne)
{
    CPixImage src;
    MakeGradient(src, 12, 9);
    std::wstring png = TempPath(L"yeb_image_detect.png");
    ASSERT_TRUE(src.Save(png.c_str(), PIXIMAGE_FORMAT_PNG));

    CPixImage ima;
    EXPECT_TRUE(ima.Load(png.c_str(), PIXIMAGE_FORMAT_BMP)); // wrong type: found by detection
    EXPECT_EQ((DWORD)PIXIMAGE_FORMAT_PNG, ima.GetType());
    EXPECT_TRUE(SamePixels(src, ima));

    std::wstring junk = TempPath(L"yeb_image_junk.bin");
    FILE* f = _wfopen(junk.c_str(), L"wb");
    fputs("this is no picture at all, just words", f);
    fclose(f);
    CPixImage bad;
    EXPECT_FALSE(bad.Load(junk.c_str(), PIXIMAGE_FORMAT_JPG));
    EXPECT_STREQ("Not a JPEG file: starts with 0x74 0x68", bad.GetErrorText());
    EXPECT_FALSE(bad.Load(junk.c_str(), 0));
    EXPECT_STREQ("Decode: Unknown or wrong format", bad.GetErrorText());
    EXPECT_FALSE(bad.Decode((CPixFile*)nullptr, 0));
    EXPECT_STREQ("null file handler", bad.GetErrorText());
    EXPECT_FALSE(src.Encode((CPixFile*)nullptr, 9));
    EXPECT_STREQ("Encode: Unknown format", src.GetErrorText());
    _wremove(png.c_str());
    _wremove(junk.c_str());
}

TEST(PixImage, DetectionStartsWhereTheStreamStood)
{
    CPixImage src;
    MakeGradient(src, 7, 5);
    Bytes jpg = EncodeToBytes(src, PIXIMAGE_FORMAT_JPG);
    Bytes data(13, 'x');
    data.insert(data.end(), jpg.begin(), jpg.end());
    unsigned char* copy = (unsigned char*)malloc(data.size());
    memcpy(copy, data.data(), data.size());
    CPixMemFile mf(copy, (long)data.size());
    mf.Seek(13, SEEK_SET);
    CPixImage ima;
    EXPECT_TRUE(ima.Decode(&mf, 0));
    EXPECT_EQ((DWORD)PIXIMAGE_FORMAT_JPG, ima.GetType());
    EXPECT_EQ(7u, ima.GetWidth());
    free(copy);
}

TEST(PixImage, FailedDecodeKeepsTheImage)
{
    CPixImage ima;
    MakeGradient(ima, 5, 5);
    Bytes junk(40, 0x42);
    EXPECT_FALSE(DecodeBytes(ima, junk, PIXIMAGE_FORMAT_PNG));
    EXPECT_TRUE(ima.IsValid());
    EXPECT_EQ(5u, ima.GetWidth());
}

TEST(PixImagePixels, NearestIndexAndItsCache)
{
    CPixImage ima(4, 4, 8, 0);
    ima.SetGrayPalette();
    EXPECT_EQ(85, ima.GetNearestIndex(Rgb(255, 0, 0)));
    EXPECT_EQ(85, ima.GetNearestIndex(Rgb(255, 0, 0)));
    ima.SetPaletteColor(200, 255, 0, 0);
    EXPECT_EQ(200, ima.GetNearestIndex(Rgb(255, 0, 0))); // a palette change drops the cache
    EXPECT_TRUE(ima.IsGrayScale() == false);
    CPixImage bw(4, 4, 1, 0);
    bw.SetGrayPalette();
    EXPECT_FALSE(bw.IsGrayScale()); // 0 and 255 are not entries i = i
}

TEST(PixImagePixels, PackedIndicesAndOutsideColours)
{
    CPixImage ima(8, 2, 4, 0);
    ima.Clear(0);
    ima.SetPixelIndex(3, 0, 0xF);
    EXPECT_EQ(0x0F, ima.GetBits(0)[1]); // x = 3 is the low nibble of byte 1
    EXPECT_EQ(0, ima.GetBits(0)[0]);
    ima.Clear(0x13);
    EXPECT_EQ(0x33, ima.GetBits(0)[0]);

    CPixImage rgb;
    MakeGradient(rgb, 4, 4);
    EXPECT_TRUE(SameRgb(rgb.GetPixelColor(0, 0), rgb.GetPixelColor(-3, 9)));
    CPixImage pal;
    MakeIndexed(pal, 4, 4);
    pal.SetTransIndex(2);
    EXPECT_TRUE(SameRgb(pal.GetPaletteColor(2), pal.GetPixelColor(10, 10)));
}

TEST(PixImagePixels, AlphaAndSelection)
{
    CPixImage ima(10, 100, 24, 0);
    ASSERT_TRUE(ima.AlphaCreate());
    ima.AlphaSet(2, 3, 17);
    EXPECT_TRUE(ima.AlphaCreate());
    EXPECT_EQ(17, ima.AlphaGet(2, 3));
    EXPECT_EQ(0, ima.AlphaGet(-1, 3));
    ima.SetClrImportant(300);
    EXPECT_EQ(0u, ima.GetClrImportant());
    CPixImage four(2, 2, 4, 0);
    four.SetClrImportant(20);
    EXPECT_EQ(16u, four.GetClrImportant());

    ASSERT_TRUE(ima.SelectionCreate());
    RECT& box = const_cast<RECT&>(ima.GetSelectionBox());
    box.top = 90;
    box.bottom = 30;
    ASSERT_TRUE(ima.SelectionFlip());
    EXPECT_EQ(70, ima.GetSelectionBox().top);
    EXPECT_EQ(10, ima.GetSelectionBox().bottom);
}
