// The effect painter: gradients, textures, blending, shadows, frames and
// images with transparency and alpha.
#include <gtest/gtest.h>
#include "Canvas.h"
#include "EffectPainter.h"

TEST(EffectPainter, GradientBandsAndNarrowRectangles)
{
    Canvas canvas(64, 4);
    CEffectPainter::FillGradient(canvas.dc(), RECT{0, 0, 64, 4}, RGB(0, 0, 0), RGB(255, 128, 64), TRUE);
    for (int k = 0; k < 64; k += 7)
        EXPECT_EQ(canvas.At(k, 2), RGB(255 * k / 64, 128 * k / 64, 64 * k / 64)) << k;
    EXPECT_NE(canvas.At(63, 0), RGB(255, 128, 64)); // the end colour itself is never reached

    Canvas narrow(10, 10, RGB(1, 1, 1));
    CEffectPainter::FillGradient(narrow.dc(), RECT{0, 0, 10, 10}, RGB(0, 0, 0), RGB(0, 0, 255), FALSE);
    EXPECT_EQ(narrow.Count(RGB(1, 1, 1)), 0);            // empty bands skipped, every row filled
    EXPECT_EQ(narrow.At(5, 0), RGB(0, 0, 255 * 6 / 64)); // bands 0 to 5 are empty, band 6 is the first row
    CEffectPainter::FillGradient(narrow.dc(), RECT{0, 0, 0, 10}, 0, 0, TRUE); // nothing to fill
}

TEST(EffectPainter, EffectsByNumber)
{
    CEffectPainter p;
    Canvas canvas(100, 20);
    const COLORREF c1 = RGB(255, 0, 0), c2 = RGB(0, 255, 0), c3 = RGB(0, 0, 255);
    p.FillEffect(canvas.dc(), 0, RECT{0, 0, 100, 20}, c1, c2, c3, 0, 0);
    EXPECT_EQ(canvas.Count(c1), 2000);
    p.FillEffect(canvas.dc(), -1, RECT{0, 0, 100, 20}, c2, c2, c3, 0, 0);
    EXPECT_EQ(canvas.Count(c2), 2000);
    p.FillEffect(canvas.dc(), 3, RECT{0, 0, 100, 20}, c1, c2, c3, 0, 0);
    // Left half c1 to c3, right half c3 to c1 (in 50 pixels band 0 is empty).
    EXPECT_EQ(canvas.At(0, 5), RGB(255 * 63 / 64, 0, 255 / 64));
    EXPECT_EQ(canvas.At(50, 5), RGB(255 / 64, 0, 255 * 63 / 64));
    p.FillEffect(canvas.dc(), 5, RECT{0, 0, 100, 20}, c1, c2, c3, 0, 0);
    EXPECT_EQ(canvas.At(50, 5), RGB(0, 255 * 63 / 64, 255 / 64)); // three colours: c2 in the middle

    // Noise with granularity 0 is a flat c2.
    p.FillEffect(canvas.dc(), 7, RECT{0, 0, 100, 20}, c1, c2, c3, 0, 0);
    EXPECT_EQ(canvas.Count(c2), 2000);
    // Shades without noise run from c3 (index 0) towards c1 (index 255).
    p.FillEffect(canvas.dc(), 10, RECT{0, 0, 100, 20}, c1, c2, c3, 0, 0);
    EXPECT_EQ(p.GetPaletteImage().GetPaletteEntry(0), c3);
    EXPECT_EQ(p.GetPaletteImage().GetPaletteEntry(128), c2);
    EXPECT_EQ(p.GetPaletteImage().GetPaletteEntry(255), c1);
    EXPECT_EQ(p.GetPaletteImage().GetPixelIndex(0, 5), 255);
    EXPECT_EQ(p.GetPaletteImage().GetPixelIndex(99, 5), 255 * 1 / 100);
}

TEST(EffectPainter, TexturesOfAnySizeDrawWithoutFaults)
{
    CEffectPainter p;
    Canvas canvas(50, 50);
    const COLORREF white = RGB(255, 255, 255);
    for (int effect = 7; effect <= 15; effect++)
        for (int g : {0, 5, 255})
        {
            SCOPED_TRACE(::testing::Message() << "effect " << effect << ", granularity " << g);
            canvas.Fill(white);
            p.FillEffect(canvas.dc(), effect, RECT{0, 0, 50, 50}, RGB(200, 0, 0), RGB(0, 200, 0),
                         RGB(0, 0, 200), g, 5);
            EXPECT_EQ(canvas.Count(white), 0); // the texture covers the rectangle
            canvas.Fill(white);
            p.FillEffect(canvas.dc(), effect, RECT{0, 0, 1, 1}, 0, 0, 0, g, 5);
            EXPECT_GE(canvas.Count(white), 50 * 50 - 1); // one pixel at most
            EXPECT_EQ(canvas.Count(white, 1, 0), 49 * 50);
            canvas.Fill(white);
            p.FillEffect(canvas.dc(), effect, RECT{10, 10, 10, 30}, 0, 0, 0, g, 5); // zero width
            EXPECT_EQ(canvas.Count(white), 50 * 50);
            p.FillEffect(canvas.dc(), effect, RECT{0, 0, 40000, 1}, 0, 0, 0, g, 5); // wider than 32767
            EXPECT_EQ(canvas.Count(white, 0, 1), 50 * 49); // the first row only
        }
}

TEST(EffectPainter, BlendAtFullZeroAndHalfOpacity)
{
    Canvas src(8, 8, RGB(200, 100, 0));
    Canvas dst(8, 8, RGB(0, 100, 200));
    EXPECT_TRUE(CEffectPainter::BlendBlt(dst.dc(), 0, 0, 8, 8, src.dc(), 0, 0, 0));
    EXPECT_EQ(dst.Count(RGB(0, 100, 200)), 64);
    CEffectPainter::BlendBlt(dst.dc(), 0, 0, 4, 8, src.dc(), 0, 0, 50);
    EXPECT_EQ(dst.At(0, 0), RGB(100, 100, 100));
    EXPECT_EQ(dst.At(5, 0), RGB(0, 100, 200));
    CEffectPainter::BlendBlt(dst.dc(), 0, 0, 8, 8, src.dc(), 0, 0, 100);
    EXPECT_EQ(dst.Count(RGB(200, 100, 0)), 64);
}

TEST(EffectPainter, ImagesCutTheirTransparentColourOrBlendTheirAlpha)
{
    CEffectPainter p;
    Canvas image(4, 2, RGB(255, 0, 255));
    ::SetPixel(image.dc(), 1, 0, RGB(10, 20, 30));
    Canvas dst(10, 10, RGB(0, 255, 0));
    HBITMAP picture = image.Copy();
    p.DrawImage(dst.dc(), 2, 2, 4, 2, picture, TRUE, RGB(255, 0, 255), 0, FALSE, 0, 0, 7, 7, 0);
    EXPECT_EQ(dst.At(3, 2), RGB(10, 20, 30));
    EXPECT_EQ(dst.At(2, 2), RGB(0, 255, 0)); // the magenta pixels are cut out
    EXPECT_EQ(dst.At(5, 3), RGB(0, 255, 0));

    // Grey effect and one-colour effect.
    p.DrawImage(dst.dc(), 2, 2, 4, 2, picture, TRUE, RGB(255, 0, 255), EFFECT_GREY, FALSE, 0, 0, 7, 7, 0);
    ::DeleteObject(picture);
    BYTE g = (BYTE)(0.299 * 10 + 0.587 * 20 + 0.114 * 30);
    EXPECT_EQ(dst.At(3, 2), RGB(g, g, g));

    // A picture whose pixels carry alpha is blended by it.
    Canvas alpha(2, 1);
    alpha.SetRaw(0, 0, 0x80FF0000); // half-opaque red
    alpha.SetRaw(1, 0, 0xFF0000FF); // opaque blue
    Canvas under(4, 4, RGB(0, 0, 0));
    HBITMAP withAlpha = alpha.Copy();
    p.DrawImage(under.dc(), 0, 0, 2, 1, withAlpha, FALSE, 0, 0, FALSE, 0, 0, 7, 7, 0);
    ::DeleteObject(withAlpha);
    EXPECT_TRUE(p.HasAlpha());
    EXPECT_NEAR(GetRValue(under.At(0, 0)), 128, 2);
    EXPECT_EQ(under.At(1, 0), RGB(0, 0, 255));
}

TEST(EffectPainter, StripCellsAndIndexPastTheLastCell)
{
    CEffectPainter p;
    Canvas strip(8, 4, RGB(255, 0, 0));
    RECT second = {4, 0, 8, 4};
    HBRUSH b = ::CreateSolidBrush(RGB(0, 0, 255));
    ::FillRect(strip.dc(), &second, b);
    ::DeleteObject(b);
    Canvas dst(10, 10, RGB(255, 255, 255));
    HBITMAP cells = strip.Copy();
    p.DrawImageListItem(dst.dc(), 0, 0, 4, 4, cells, 1, 4, 4, FALSE, 0, 0, FALSE, 0, 0, 7, 7, 0);
    EXPECT_EQ(dst.At(1, 1), RGB(0, 0, 255));
    dst.Fill(RGB(255, 255, 255));
    p.DrawImageListItem(dst.dc(), 0, 0, 4, 4, cells, 2, 4, 4, FALSE, 0, 0, FALSE, 0, 0, 7, 7, 0);
    p.DrawImageListItem(dst.dc(), 0, 0, 4, 4, cells, 0, 0, 0, FALSE, 0, 0, FALSE, 0, 0, 7, 7, 0);
    EXPECT_EQ(dst.Count(RGB(255, 255, 255)), 100);
    ::DeleteObject(cells);
}

TEST(EffectPainter, ShadowsDarkenThroughTheMask)
{
    Canvas dst(20, 20, RGB(200, 200, 200));
    Canvas mask(10, 10, RGB(255, 255, 255));
    RECT half = {0, 0, 5, 10};
    ::FillRect(mask.dc(), &half, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    ::GdiFlush();
    HBITMAP m = mask.Copy();
    EXPECT_TRUE(CEffectPainter::DrawShadow(dst.dc(), 0, 0, 10, 10, m, FALSE, 0, 0));
    EXPECT_EQ(dst.At(1, 1), RGB(0, 0, 0));       // black mask: fully dark
    EXPECT_EQ(dst.At(8, 8), RGB(200, 200, 200)); // white mask: unchanged
    dst.Fill(RGB(200, 200, 200));
    EXPECT_TRUE(CEffectPainter::DrawShadow(dst.dc(), 5, 5, 10, 10, m, TRUE, 4, 4)); // even blur made odd
    EXPECT_LT(GetRValue(dst.At(8, 10)), 200);
    EXPECT_EQ(dst.At(2, 2), RGB(200, 200, 200));
    ::DeleteObject(m);

    std::vector<DWORD> px(9, 0xFF);
    std::vector<double> out(9);
    CEffectPainter::BlurMask(px.data(), 3, 3, 3, 3, out.data());
    EXPECT_DOUBLE_EQ(out[4], 1.0);
    CEffectPainter::BlurMask(px.data(), 3, 3, 0, 0, out.data()); // no division by zero
}

TEST(EffectPainter, FramesAndLinesByType)
{
    Canvas c(20, 20, RGB(255, 255, 255));
    CEffectPainter::DrawFrame(c.dc(), 0, 0, 20, 20, RGB(255, 0, 0), RGB(0, 0, 255), 1, 1);
    EXPECT_EQ(c.At(0, 10), RGB(255, 0, 0)); // left and top in the first colour
    EXPECT_EQ(c.At(10, 0), RGB(255, 0, 0));
    EXPECT_EQ(c.At(19, 10), RGB(0, 0, 255)); // right and bottom in the second
    EXPECT_EQ(c.At(10, 19), RGB(0, 0, 255));
    c.Fill(RGB(255, 255, 255));
    CEffectPainter::DrawFrame(c.dc(), 0, 0, 20, 20, 0, 0, 6, 1); // double: a second outline 2 widths in
    EXPECT_EQ(c.At(2, 10), RGB(0, 0, 0));
    EXPECT_EQ(c.At(1, 10), RGB(255, 255, 255));
    c.Fill(RGB(255, 255, 255));
    CEffectPainter::DrawLine(c.dc(), 0, 5, 20, 5, RGB(0, 255, 0), 6, 1);
    EXPECT_EQ(c.At(10, 5), RGB(0, 255, 0));
    EXPECT_EQ(c.At(10, 7), RGB(0, 255, 0));                            // the parallel line below
    CEffectPainter::DrawFrame(c.dc(), 0, 0, 20, 20, 0, 0, 0, 1);       // type 0 draws nothing
    CEffectPainter::TileBlt(c.dc(), 0, 0, 20, 20, c.dc(), 0, 0, 0, 5); // a zero tile does not hang
}

TEST(EffectPainter, ColourOperations)
{
    EXPECT_EQ(CEffectPainter::InvertColor(0x12345678), 0x12CBA987u);
    EXPECT_EQ(CEffectPainter::DarkenColor(0x00804020, 0.5), 0x00402010u);
    EXPECT_EQ(CEffectPainter::DarkenColor(0x00804020, 1.0), 0x00804020u); // out of range: unchanged
    EXPECT_EQ(CEffectPainter::LightenColor(0x00C08040, 0.5), 0x00FFC060u);
    EXPECT_EQ(CEffectPainter::MixColors(0x00FF0000, 0.5, 0x000000FF, 0.5), 0x007F007Fu);
}
