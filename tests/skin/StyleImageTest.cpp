// Style pictures drawn by sizing margins, tiled, stretched or at true size,
// with a transparent colour, with one-colour areas painted as fills, through
// the colour filters; and the cache of a class's pictures.
#include "SFDibHelpers.h"
#include "SFGdiHelpers.h"
#include "SFSkinFramework.h"
#include "SFSkinResourceFile.h"
#include "SFStyleImage.h"
#include "SFStyleImageCache.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>

namespace
{
// A picture from a canvas: each call hands over a new bitmap.
void Attach(CSFStyleImage& image, const Canvas& canvas, BOOL alpha = FALSE) { image.Attach(canvas.Copy(), alpha); }

void Draw(CSFStyleImage& image, Canvas& target, RECT d, RECT s, RECT m, COLORREF transparent = (COLORREF)-1,
          int sizing = 1, BOOL borderOnly = FALSE)
{
    CDC dc;
    dc.Attach(target.dc());
    image.DrawImage(&dc, d, s, m, transparent, sizing, borderOnly);
    dc.Detach();
}

// Turns every colour into its complement.
class InvertFilter : public CSFColorFilter
{
public:
    void FilterColor(COLORREF& c) override { c = RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }
};
} // namespace

TEST(SFStyleImage, MarginsThatDoNotFitAreSharedOut)
{
    struct Case
    {
        int dest, source, near_, far_;
        LONG wantNear, wantFar;
        BOOL fitted;
    } cases[] = {
        {10, 20, 4, 7, 4, 7, TRUE},   // 10 * 4 / 11 = 3.6 -> 4; 6 grows to 7 for the odd 7
        {10, 20, 4, 6, 4, 6, TRUE},   // exactly the height
        {30, 20, 4, 6, 4, 6, FALSE},  // room enough: kept
        {30, 10, 4, 6, 12, 18, TRUE}, // source no taller than its margins
        {5, 20, 3, 3, 3, 3, TRUE},    // 2.5 rounds to 3; 2 grows to 3 for the odd 3
        {10, 20, 0, 0, 0, 0, FALSE},
    };
    for (const Case& c : cases)
    {
        LONG n = -1, f = -1;
        BOOL fitted = -1;
        SFFitMargins(c.dest, c.source, c.near_, c.far_, &n, &f, &fitted);
        EXPECT_EQ(c.wantNear, n) << c.dest << " " << c.near_ << "/" << c.far_;
        EXPECT_EQ(c.wantFar, f) << c.dest << " " << c.near_ << "/" << c.far_;
        EXPECT_EQ(c.fitted, fitted);
    }
}

TEST(SFStyleImage, NineGridKeepsCornersAndStretchesTheMiddle)
{
    // 9 x 9: 3-pixel red corners, green edges, blue centre.
    Canvas picture(9, 9, RGB(0, 0, 255));
    for (int y = 0; y < 9; y++)
        for (int x = 0; x < 9; x++)
        {
            bool edgeX = x < 3 || x >= 6, edgeY = y < 3 || y >= 6;
            if (edgeX && edgeY)
                picture.SetRaw(x, y, 0xFF0000);
            else if (edgeX || edgeY)
                picture.SetRaw(x, y, 0x00FF00);
        }
    CSFStyleImage image;
    Attach(image, picture);
    Canvas target(30, 20, RGB(0, 0, 0));
    Draw(image, target, {0, 0, 30, 20}, {0, 0, 9, 9}, {3, 3, 3, 3});
    EXPECT_EQ(RGB(255, 0, 0), target.At(0, 0));
    EXPECT_EQ(RGB(255, 0, 0), target.At(29, 19));
    EXPECT_EQ(RGB(255, 0, 0), target.At(2, 2));
    EXPECT_EQ(RGB(0, 255, 0), target.At(3, 0));
    EXPECT_EQ(RGB(0, 255, 0), target.At(26, 19));
    EXPECT_EQ(RGB(0, 0, 255), target.At(15, 10));
    EXPECT_EQ(RGB(0, 0, 255), target.At(3, 3));
    KeepPicture(target, L"nine-grid");

    // Border only leaves the middle alone.
    Canvas hollow(30, 20, RGB(0, 0, 0));
    Draw(image, hollow, {0, 0, 30, 20}, {0, 0, 9, 9}, {3, 3, 3, 3}, (COLORREF)-1, 1, TRUE);
    EXPECT_EQ(RGB(0, 0, 0), hollow.At(15, 10));
    EXPECT_EQ(RGB(0, 255, 0), hollow.At(15, 0));

    // A source lower than its margins draws nothing.
    Canvas low(10, 10, RGB(0, 0, 0));
    Draw(image, low, {0, 0, 10, 10}, {0, 0, 9, 9}, {0, 6, 0, 6});
    EXPECT_EQ(100, low.Count(RGB(0, 0, 0)));
}

TEST(SFStyleImage, TilesRepeatFromTheTopLeftAndStripsStretch)
{
    Canvas tile(3, 2, RGB(0, 0, 0));
    tile.SetRaw(0, 0, 0xFF0000);
    CSFStyleImage image;
    Attach(image, tile);
    Canvas target(8, 5, RGB(9, 9, 9));
    Draw(image, target, {0, 0, 8, 5}, {0, 0, 3, 2}, {0, 0, 0, 0}, (COLORREF)-1, 2);
    for (int y = 0; y < 5; y++)
        for (int x = 0; x < 8; x++)
            EXPECT_EQ(x % 3 == 0 && y % 2 == 0 ? RGB(255, 0, 0) : RGB(0, 0, 0), target.At(x, y)) << x << "," << y;
    KeepPicture(target, L"tiles");

    // A one-pixel-high strip as wide as the destination is stretched, not tiled.
    Canvas strip(6, 1, RGB(0, 0, 0));
    strip.SetRaw(0, 0, 0x0000FF);
    CSFStyleImage line;
    Attach(line, strip);
    Canvas tall(6, 4, RGB(9, 9, 9));
    Draw(line, tall, {0, 0, 6, 4}, {0, 0, 6, 1}, {0, 0, 0, 0}, (COLORREF)-1, 2);
    for (int y = 0; y < 4; y++)
        EXPECT_EQ(RGB(0, 0, 255), tall.At(0, y));
    EXPECT_EQ(RGB(0, 0, 0), tall.At(3, 2));
}

TEST(SFStyleImage, TransparentColourIsLeftOutAndNeverFiltered)
{
    Canvas picture(4, 4, RGB(255, 0, 255));
    picture.SetRaw(1, 1, 0x102030);
    picture.SetRaw(2, 2, 0x102030);
    CSFSkinFramework* manager = GetSkinFramework();
    InvertFilter* filter = new InvertFilter;
    manager->AddColorFilter(filter);
    CSFStyleImage image(manager);
    Attach(image, picture);
    Canvas target(4, 4, RGB(0, 100, 0));
    Draw(image, target, {0, 0, 4, 4}, {0, 0, 4, 4}, {0, 0, 0, 0}, RGB(255, 0, 255));
    manager->RemoveColorFilter(filter);
    EXPECT_TRUE(image.IsFiltered());
    EXPECT_EQ(RGB(0, 100, 0), target.At(0, 0));
    EXPECT_EQ(RGB(255 - 0x10, 255 - 0x20, 255 - 0x30), target.At(1, 1));
    EXPECT_EQ(14, target.Count(RGB(0, 100, 0)));
    KeepPicture(target, L"transparent-filtered");
}

TEST(SFStyleImage, OneColourCellsPaintAsFillsOfTheFilteredColour)
{
    // Two cells of a vertical strip: the first wholly grey, the second mixed.
    Canvas picture(4, 8, RGB(120, 120, 120));
    picture.SetRaw(0, 4, 0x000000);
    CSFStyleImage image;
    Attach(image, picture);
    image.FindSolidRectangles(2, FALSE, {0, 0, 0, 0});
    ASSERT_EQ(1u, image.GetSolidRects().size());
    EXPECT_EQ(0, image.GetSolidRects()[0].rect.top);
    EXPECT_EQ(4, image.GetSolidRects()[0].rect.bottom);
    EXPECT_EQ(RGB(120, 120, 120), image.GetSolidRects()[0].color);

    CSFSkinFramework* manager = GetSkinFramework();
    InvertFilter* filter = new InvertFilter;
    manager->AddColorFilter(filter);
    CSFStyleImage filtered(manager);
    Attach(filtered, picture);
    filtered.FindSolidRectangles(2, FALSE, {0, 0, 0, 0});
    Canvas target(10, 10, RGB(0, 0, 0));
    Draw(filtered, target, {0, 0, 10, 10}, {0, 0, 4, 4}, {0, 0, 0, 0});
    manager->RemoveColorFilter(filter);
    EXPECT_EQ(100, target.Count(RGB(135, 135, 135)));

    // Edges and centre of a cell that is not one colour as a whole.
    Canvas framed(6, 6, RGB(200, 0, 0));
    RECT centre = {2, 2, 4, 4};
    FillRectOpaque(framed.dc(), centre, RGB(0, 0, 200));
    framed.SetRaw(0, 0, 0x00FF00);
    CSFStyleImage edges;
    Attach(edges, framed);
    edges.FindSolidRectangles(1, FALSE, {2, 2, 2, 2});
    // Left, top, right, bottom edges and the centre; the corner pixel spoils none.
    EXPECT_EQ(5u, edges.GetSolidRects().size());
    // Horizontal strips of several images are not analysed.
    CSFStyleImage strip;
    Attach(strip, picture);
    strip.FindSolidRectangles(2, TRUE, {0, 0, 0, 0});
    EXPECT_TRUE(strip.GetSolidRects().empty());
}

TEST(SFStyleImage, AlphaPicturesBlendAndClearAreasDrawNothing)
{
    Canvas picture(4, 2);
    for (int x = 0; x < 4; x++)
    {
        picture.SetRaw(x, 0, 0xFF0000C0); // opaque blue
        picture.SetRaw(x, 1, 0x00000000); // clear
    }
    CSFStyleImage image;
    Attach(image, picture, TRUE);
    image.FindSolidRectangles(2, FALSE, {0, 0, 0, 0});
    EXPECT_EQ(2u, image.GetSolidRects().size());
    Canvas target(4, 4, RGB(0, 90, 0));
    Draw(image, target, {0, 0, 4, 2}, {0, 0, 4, 1}, {0, 0, 0, 0});
    Draw(image, target, {0, 2, 4, 4}, {0, 1, 4, 2}, {0, 0, 0, 0});
    EXPECT_EQ(RGB(0, 0, 0xC0), target.At(1, 1));
    EXPECT_EQ(RGB(0, 90, 0), target.At(1, 3));
}

TEST(SFStyleImageCache, LoadsOnceAndForgetsFailures)
{
    CSFSkinResourceFile file;
    ASSERT_TRUE(file.Open(StyleSourceFolder().c_str(), L"NormalBlue.ini"));
    CSFStyleImageCache cache;
    CSFStyleImage* first = cache.Get(&file, L"BLUE\\PUSHBUTTON.BMP");
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, cache.Get(&file, L"BLUE\\PUSHBUTTON.BMP"));
    SIZE size = cache.GetSize(&file, L"BLUE\\PUSHBUTTON.BMP");
    EXPECT_EQ(24, size.cx);
    EXPECT_EQ(110, size.cy);
    EXPECT_EQ(nullptr, cache.Get(&file, L"BLUE\\MISSING.BMP"));
    EXPECT_EQ(1u, cache.GetCount());
    size = cache.GetSize(&file, L"BLUE\\MISSING.BMP");
    EXPECT_EQ(0, size.cx);
    EXPECT_EQ(nullptr, cache.Get(NULL, L"BLUE\\PUSHBUTTON.BMP"));
    cache.Clear();
    EXPECT_EQ(0u, cache.GetCount());
}

TEST(SFStyleImage, RightToLeftDrawingMirrorsOnlyWhereAllowedAndLeavesNoMirrorBehind)
{
    // 8 x 2: red on the left half, blue on the right, fully opaque (so the
    // alpha copy's premultiplied pixels equal the plain ones), with one
    // magenta column that the copy with a transparent colour leaves out. Two
    // colours in every row keep the one-colour shortcut out of the way.
    Canvas picture(8, 2), opaque(8, 2);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 8; x++)
        {
            DWORD pixel = x == 4 ? 0xFF00FF : x < 4 ? 0xFF0000 : 0x0000FF;
            picture.SetRaw(x, y, pixel);
            opaque.SetRaw(x, y, 0xFF000000 | pixel);
        }
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), magenta = RGB(255, 0, 255);
    struct Kind
    {
        BOOL alpha;
        COLORREF transparent;
    } kinds[] = {{FALSE, (COLORREF)-1}, {FALSE, magenta}, {TRUE, (COLORREF)-1}};
    for (const Kind& kind : kinds)
    {
        const BOOL alpha = kind.alpha;
        COLORREF leftOnRtl[2] = {};
        for (BOOL allowed : {FALSE, TRUE})
        {
            CSFStyleImage image;
            Attach(image, alpha ? opaque : picture, alpha);
            image.SetMirrorAllowed(allowed);
            // Twice on a right-to-left target: a mirror copy made for the
            // first drawing is not turned back for the second.
            COLORREF left[2];
            for (int round = 0; round < 2; round++)
            {
                Canvas rtl(16, 2, RGB(0, 90, 0));
                SetLayout(rtl.dc(), LAYOUT_RTL);
                Draw(image, rtl, {0, 0, 16, 2}, {0, 0, 8, 2}, {0, 0, 0, 0}, kind.transparent);
                SetLayout(rtl.dc(), 0);
                left[round] = rtl.At(1, 1);
                // The magenta column is left out where it is the transparent
                // colour, mirrored or not.
                EXPECT_EQ(kind.transparent == magenta ? 0 : 4, rtl.Count(magenta))
                    << alpha << kind.transparent << allowed << round;
                EXPECT_NE(left[round], rtl.At(14, 1)) << alpha << kind.transparent << allowed << round;
                EXPECT_TRUE(left[round] == red || left[round] == blue) << alpha << kind.transparent << allowed << round;
            }
            EXPECT_EQ(left[0], left[1]) << alpha << kind.transparent << allowed;
            leftOnRtl[allowed] = left[0];
            // Back on a left-to-right target the picture reads as it is.
            Canvas ltr(16, 2, RGB(0, 90, 0));
            Draw(image, ltr, {0, 0, 16, 2}, {0, 0, 8, 2}, {0, 0, 0, 0}, kind.transparent);
            EXPECT_EQ(red, ltr.At(1, 1)) << alpha << kind.transparent << allowed;
            EXPECT_EQ(blue, ltr.At(14, 1)) << alpha << kind.transparent << allowed;
        }
        // Whether the picture follows the target's direction is the style's
        // choice, so allowing the mirror changes what a right-to-left target shows.
        EXPECT_NE(leftOnRtl[FALSE], leftOnRtl[TRUE]) << alpha << kind.transparent;
        if (!alpha)
        {
            EXPECT_EQ(blue, leftOnRtl[TRUE]) << kind.transparent; // a plain picture follows its right-to-left window
        }
    }
}
