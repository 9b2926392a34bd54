// Transforms: resampling with its kernels and overflow methods, crop, expand,
// grey scale, negative and flip.
#include "ImageTestUtil.h"
#include <algorithm>
#include <gtest/gtest.h>

TEST(Resample, SameSizeEnlargeAndShrink)
{
    CPixImage ima;
    MakeGradient(ima, 100, 100);
    void* dib = ima.GetDIB();
    EXPECT_TRUE(ima.Resample(100, 100, 4, 5));
    EXPECT_EQ(dib, ima.GetDIB()); // nothing changed

    CPixImage big;
    ASSERT_TRUE(ima.Resample(150, 150, 4, 5, &big));
    EXPECT_EQ(150u, big.GetWidth());
    EXPECT_EQ(100u, ima.GetWidth()); // the source stays

    // Shrinking averages areas: a 2 x 2 block of 0 and 200 gives 100.
    CPixImage checker(4, 4, 24, 0);
    for (long y = 0; y < 4; y++)
        for (long x = 0; x < 4; x++)
            checker.SetPixelColor(x, y, ((x + y) & 1) ? Rgb(200, 200, 200) : Rgb(0, 0, 0));
    ASSERT_TRUE(checker.Resample(2, 2, 4, 5));
    EXPECT_EQ(100, checker.GetPixelColor(0, 0).rgbRed);
    EXPECT_EQ(100, checker.GetPixelColor(1, 1).rgbGreen);
}

TEST(Resample, KeepsResolutionAndAlpha)
{
    CPixImage ima;
    MakeGradient(ima, 40, 40);
    ima.SetXDPI(300);
    ima.AlphaCreate();
    ima.AlphaFill(77);
    CPixImage out;
    ASSERT_TRUE(ima.Resample(30, 30, 4, 5, &out));
    EXPECT_EQ(300, out.GetXDPI());
    ASSERT_TRUE(out.AlphaIsValid());
    EXPECT_EQ(77, out.AlphaGet(10, 10));
    EXPECT_FALSE(ima.Resample(0, 10, 4, 5));
}

TEST(Interpolation, OverflowMethodsAndKernels)
{
    CPixImage ima(10, 3, 24, 0);
    for (long x = 0; x < 10; x++)
        for (long y = 0; y < 3; y++)
            ima.SetPixelColor(x, y, Rgb((BYTE)(x * 20), 0, 0));
    struct Case
    {
        long x;
        int method;
        long expect;
    } cases[] = {{-1, OM_MIRROR, 1}, {10, OM_MIRROR, 9}, {25, OM_MIRROR, 4}, {-1, OM_WRAP, 9}, {12, OM_REPEAT, 9}};
    for (const Case& c : cases)
    {
        long x = c.x, y = 1;
        ima.OverflowCoordinates(x, y, c.method);
        EXPECT_EQ(c.expect, x) << c.x << " method " << c.method;
    }
    // Nearest pixel: -0.9 rounds to pixel 0, -1.6 lies outside (white, alpha 0).
    EXPECT_EQ(0, ima.GetPixelColorInterpolated(-0.9f, 0, IM_NEAREST_NEIGHBOUR, 0).rgbRed);
    RGBQUAD outside = ima.GetPixelColorInterpolated(-1.6f, 0, IM_NEAREST_NEIGHBOUR, 0);
    EXPECT_EQ(255, outside.rgbRed);
    EXPECT_EQ(0, outside.rgbReserved);
    // Blackman has no cut-off: weights 0, 1, 0, 1 at distances -1, 0, 1, 2.
    EXPECT_NEAR(0.0f, CPixImage::KernelValue(IM_BLACKMAN, -1), 1e-5);
    EXPECT_NEAR(1.0f, CPixImage::KernelValue(IM_BLACKMAN, 0), 1e-5);
    EXPECT_NEAR(1.0f, CPixImage::KernelValue(IM_BLACKMAN, 2), 1e-5);
    EXPECT_NEAR(0.7853982f, CPixImage::KernelValue(IM_BESSEL, 0), 1e-6);
    // Bilinear between pixels 2 and 3 (reds 40 and 60).
    EXPECT_EQ(50, ima.GetPixelColorInterpolated(2.5f, 1, IM_BILINEAR, OM_REPEAT).rgbRed);
}

TEST(Crop, RectanglesAndDefaults)
{
    CPixImage ima;
    MakeGradient(ima, 50, 60);
    ima.SetXDPI(300);
    EXPECT_FALSE(ima.Crop(10, 10, 10, 20));
    CPixImage a, b;
    ASSERT_TRUE(ima.Crop(30, 40, 10, 20, &a));
    ASSERT_TRUE(ima.Crop(10, 20, 30, 40, &b));
    EXPECT_TRUE(SamePixels(a, b));
    EXPECT_EQ(20u, a.GetWidth());
    // Picture coordinates are top-down: the crop's top-left is picture pixel (10, 20).
    EXPECT_TRUE(SameRgb(ima.GetPixelColor(10, 60 - 1 - 20), a.GetPixelColor(0, 19)));
    EXPECT_EQ(96, a.GetXDPI());
}

TEST(Expand, MarginsAndCanvas)
{
    CPixImage ima;
    MakeGradient(ima, 100, 100);
    ima.AlphaCreate();
    RGBQUAD white = Rgb(255, 255, 255, 255);
    ASSERT_TRUE(ima.Expand(0, 10, 0, 0, white));
    EXPECT_EQ(110u, ima.GetHeight());
    EXPECT_TRUE(SameRgb(white, ima.GetPixelColor(5, 105))); // band at the top of the picture
    EXPECT_TRUE(SameRgb(Rgb(35, 0, 15), ima.GetPixelColor(5, 0)));
    EXPECT_EQ(255, ima.AlphaGet(5, 105));
    EXPECT_FALSE(ima.Expand(-1, 0, 0, 0, white));
}

TEST(ColourTransforms, GreyNegativeFlip)
{
    CPixImage pal;
    MakeIndexed(pal, 6, 6);
    pal.SetTransIndex(5);
    RGBQUAD e5 = pal.GetPaletteColor(5);
    BYTE grey5 = (BYTE)((e5.rgbBlue * 117 + e5.rgbGreen * 601 + e5.rgbRed * 306) >> 10);
    ASSERT_TRUE(pal.GrayScale());
    EXPECT_EQ(grey5, pal.GetTransIndex());
    EXPECT_TRUE(pal.IsGrayScale());

    CPixImage rgb;
    MakeGradient(rgb, 4, 4);
    rgb.SetTransColor(Rgb(10, 20, 30));
    ASSERT_TRUE(rgb.Negative());
    EXPECT_TRUE(SameRgb(Rgb(245, 235, 225), rgb.GetTransColor()));
    EXPECT_TRUE(SameRgb(Rgb(255 - 14, 255 - 15, 255 - 15), rgb.GetPixelColor(2, 3)));

    CPixImage four(3, 3, 4, 0);
    for (long y = 0; y < 3; y++)
        for (long x = 0; x < 3; x++)
            four.SetPixelIndex(x, y, (BYTE)(x + 3 * y));
    ASSERT_TRUE(four.GrayScale());
    EXPECT_EQ(8, four.GetBpp());

    CPixImage f;
    MakeGradient(f, 3, 5);
    RGBQUAD top = f.GetPixelColor(1, 4);
    f.AlphaCreate();
    f.AlphaSet(1, 4, 3);
    ASSERT_TRUE(f.Flip(false, true));
    EXPECT_TRUE(SameRgb(top, f.GetPixelColor(1, 0)));
    EXPECT_EQ(3, f.AlphaGet(1, 0));
}

// Resample computes the kernel weights once per column and row and sums the
// taps along the source rows first; every pixel must still be the one the point
// and area interpolation give for it, but for the rounding of a sum taken in
// another order (one step of a channel, and for palette pictures then rarely
// another entry).
TEST(Resample, MatchesThePixelByPixelInterpolation)
{
    CPixImage rgb;
    MakeGradient(rgb, 37, 23);
    CPixImage pal;
    MakeIndexed(pal, 29, 17);
    CPixImage line(256, 1, 8, 0);
    line.SetGrayPalette();
    for (long x = 0; x < 256; x++)
        line.SetPixelIndex(x, 0, (BYTE)x);
    struct Size
    {
        long w, h;
    } sizes[] = {{150, 150}, {10, 60}, {60, 10}, {12, 9}};
    for (CPixImage* src : {&rgb, &pal, &line})
    {
        for (const Size& sz : sizes)
        {
            for (int method : {4, 16, 3})
            {
                CPixImage out;
                ASSERT_TRUE(src->Resample(sz.w, sz.h, method, 5, &out));
                float xs = (float)src->GetWidth() / sz.w, ys = (float)src->GetHeight() / sz.h;
                CPixImage expectPalette(*src);
                int mismatches = 0, worst = 0;
                for (long y = 0; y < sz.h; y++)
                {
                    for (long x = 0; x < sz.w; x++)
                    {
                        float sx = (x + 0.5f) * xs - 0.5f, sy = (y + 0.5f) * ys - 0.5f;
                        RGBQUAD c = (xs <= 1 && ys <= 1) ? src->GetPixelColorInterpolated(sx, sy, method, 5)
                                                         : src->GetAreaColorInterpolated(sx, sy, xs, ys, method, 5);
                        if (src->IsIndexed())
                            c = expectPalette.GetPaletteColor(expectPalette.GetNearestIndex(c));
                        RGBQUAD o = out.GetPixelColor(x, y);
                        if (!SameRgb(c, o))
                            mismatches++;
                        worst = std::max({worst, abs(c.rgbRed - o.rgbRed), abs(c.rgbGreen - o.rgbGreen),
                                          abs(c.rgbBlue - o.rgbBlue)});
                    }
                }
                if (src != &pal)
                {
                    EXPECT_LE(worst, 1) << src->GetWidth() << "x" << src->GetHeight() << " to " << sz.w << "x"
                                        << sz.h << " method " << method;
                }
                else
                {
                    EXPECT_LE(mismatches, sz.w * sz.h / 20) << "palette to " << sz.w << "x" << sz.h << " method "
                                                            << method;
                }
            }
        }
    }
}
