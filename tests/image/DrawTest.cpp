// Drawing into a device context: exact copies, scaling, transparency, alpha
// blending, clipping; and images from GDI bitmaps.
#include "ImageTestUtil.h"
#include <gtest/gtest.h>

namespace
{
// A 32-bit top-down DIB section selected into a memory DC, filled with one colour.
struct Canvas
{
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
    DWORD* bits;
    int w, h;
    Canvas(int width, int height, DWORD fill) : w(width), h(height)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        old = SelectObject(dc, bmp);
        for (int i = 0; i < w * h; i++)
            bits[i] = fill;
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    DWORD At(int x, int y)
    {
        GdiFlush();
        return bits[y * w + x] & 0xFFFFFF;
    }
};

DWORD Pack(RGBQUAD c)
{
    return (DWORD)c.rgbBlue | ((DWORD)c.rgbGreen << 8) | ((DWORD)c.rgbRed << 16);
}
} // namespace

TEST(Draw, ExactAndDoubled)
{
    CPixImage ima;
    MakeGradient(ima, 6, 4);
    Canvas c(20, 20, 0x123456);
    ASSERT_TRUE(ima.Draw(c.dc, 1, 2));
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 6; x++)
            EXPECT_EQ(Pack(ima.GetPixelColor(x, 3 - y)), c.At(1 + x, 2 + y));
    EXPECT_EQ(0x123456u, c.At(0, 0));

    Canvas d(20, 20, 0);
    ASSERT_TRUE(ima.Draw(d.dc, 0, 0, 12, 8));
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 12; x++)
            EXPECT_EQ(Pack(ima.GetPixelColor(x / 2, 3 - y / 2)), d.At(x, y));
}

TEST(Draw, TransparencyAndAlpha)
{
    CPixImage pal;
    MakeIndexed(pal, 8, 8);
    pal.SetTransIndex(3);
    Canvas c(8, 8, 0xABCDEF);
    ASSERT_TRUE(pal.Draw(c.dc, 0, 0));
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
        {
            BYTE idx = pal.GetPixelIndex(x, 7 - y);
            EXPECT_EQ(idx == 3 ? 0xABCDEFu : Pack(pal.GetPaletteColor(idx)), c.At(x, y));
        }

    CPixImage rgb(2, 1, 24, 0);
    rgb.SetPixelColor(0, 0, Rgb(200, 100, 0));
    rgb.SetPixelColor(1, 0, Rgb(200, 100, 0));
    rgb.AlphaCreate();
    rgb.AlphaSet(0, 0, 128);
    Canvas d(2, 1, 0x000000);
    ASSERT_TRUE(rgb.Draw(d.dc, 0, 0));
    // (200 x 128 + 0 x 127) >> 8 = 100; a = 128 x 256 >> 8 = 128
    EXPECT_EQ(0x643200u, d.At(0, 0));
    EXPECT_EQ(0xC86400u, d.At(1, 0));
    rgb.AlphaSetMax(0);
    Canvas e(2, 1, 0x010203);
    ASSERT_TRUE(rgb.Draw(e.dc, 0, 0));
    EXPECT_EQ(0x010203u, e.At(1, 0));
}

TEST(Draw, ScaledBlendingAndSmoothing)
{
    // Scaled and blended: each source pixel covers 2 x 2 destination pixels,
    // half-transparent over the background, the clip cutting the last column.
    CPixImage rgb(2, 1, 24, 0);
    rgb.SetPixelColor(0, 0, Rgb(200, 100, 0));
    rgb.SetPixelColor(1, 0, Rgb(0, 40, 240));
    rgb.AlphaCreate();
    rgb.AlphaFill(128);
    Canvas c(5, 3, 0x0000FF);
    RECT clip = {0, 0, 3, 3};
    ASSERT_TRUE(rgb.Draw(c.dc, 0, 1, 4, 2, &clip));
    // (colour x 128 + background x 127) >> 8, channel by channel.
    for (int y = 1; y < 3; y++)
    {
        EXPECT_EQ(0x64327Eu, c.At(0, y)) << y;
        EXPECT_EQ(0x64327Eu, c.At(1, y)) << y;
        EXPECT_EQ(0x0014F6u, c.At(2, y)) << y;
        EXPECT_EQ(0x0000FFu, c.At(3, y)) << y;
    }
    EXPECT_EQ(0x0000FFu, c.At(0, 0));

    // Smoothing a picture of one colour keeps that colour, shrunk (area
    // averaging) or enlarged (bilinear).
    CPixImage flat(6, 6, 8, 0);
    flat.SetPaletteColor(5, 90, 160, 30);
    flat.Clear(5);
    for (int size : {3, 13})
    {
        Canvas d(13, 13, 0);
        ASSERT_TRUE(flat.Draw(d.dc, 0, 0, size, size, nullptr, true));
        for (int y = 0; y < size; y++)
            for (int x = 0; x < size; x++)
            {
                DWORD p = d.At(x, y);
                EXPECT_NEAR(90, (int)(p >> 16), 1) << size << ": " << x << "," << y;
                EXPECT_NEAR(160, (int)((p >> 8) & 255), 1) << size << ": " << x << "," << y;
                EXPECT_NEAR(30, (int)(p & 255), 1) << size << ": " << x << "," << y;
            }
    }
}

TEST(Draw, ClipDisabledAndRefusals)
{
    CPixImage ima;
    MakeGradient(ima, 4, 4);
    Canvas c(10, 10, 0x111111);
    RECT clip = {0, 0, 2, 2};
    EXPECT_TRUE(ima.Draw(c.dc, 5, 5, -1, -1, &clip)); // wholly outside the clip: nothing, but true
    EXPECT_EQ(0x111111u, c.At(6, 6));
    ima.Enable(false);
    EXPECT_FALSE(ima.Draw(c.dc, 0, 0));
    ima.Enable(true);
    EXPECT_FALSE(ima.Draw(nullptr, 0, 0));
    EXPECT_FALSE(ima.Draw(c.dc, 0, 0, 0, 5));
}

TEST(Draw, CreateFromHBITMAP)
{
    Canvas c(5, 3, 0x00FF8040);
    CPixImage ima;
    ASSERT_TRUE(ima.CreateFromHBITMAP(c.bmp));
    EXPECT_EQ(5u, ima.GetWidth());
    EXPECT_EQ(3u, ima.GetHeight());
    EXPECT_EQ(24, ima.GetBpp());
    EXPECT_TRUE(SameRgb(Rgb(0xFF, 0x80, 0x40), ima.GetPixelColor(2, 1)));
    EXPECT_FALSE(ima.CreateFromHBITMAP(nullptr));
}
