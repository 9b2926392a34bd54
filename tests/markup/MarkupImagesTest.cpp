// Images, strings and animation in mark-up texts, from the test program's
// resources: bitmap 130 (40 x 20, a magenta band on blue), strip 140 (64 x 16,
// four frames), icon 150 (32 x 32 red) and string 160.
#include <gtest/gtest.h>
#include "Canvas.h"
#include "MarkupDrawer.h"

namespace
{
struct Drawer
{
    MarkupDrawer d;
    Canvas canvas;
    Drawer(int w = 200, int h = 100) : canvas(w, h, RGB(255, 255, 255))
    {
        d.SetStyleSheet(L"body {font-size:16px; font-family:Arial}");
    }
    SIZE Measure(const wchar_t* text)
    {
        SIZE sz = {0, 0};
        d.Measure(canvas.dc(), text, &sz);
        return sz;
    }
    void Draw() { d.Draw(canvas.dc(), RECT{0, 0, canvas.Width(), canvas.Height()}); }
};
} // namespace

TEST(MarkupImages, BitmapsAtTheirSizeHalfSizeAndWithShadow)
{
    Drawer t;
    EXPECT_EQ(t.Measure(L"<bmp idres=130>").cx, 40 + 1);
    EXPECT_EQ(t.Measure(L"<bmp idres=130 width=50%>").cx, 20 + 1);
    EXPECT_EQ(t.Measure(L"<bmp idres=130 width=25 height=10>").cx, 25 + 1);
    EXPECT_EQ(t.Measure(L"<bmp idres=130 style=s>").cx, 40 + 4 + 1); // the shadow offset adds to the box
    EXPECT_EQ(t.Measure(L"<bmp idres=999>").cx, 0);                  // missing: no room
    EXPECT_EQ(t.Measure(L"<bmp>").cx, 0);
    EXPECT_EQ(t.Measure(L"<bmp idres=130 width=99999999>").cx, 4096 + 1); // drawn sizes are capped
}

TEST(MarkupImages, BitmapPixelsWithMaskAndLinkHotArea)
{
    Drawer t;
    t.Measure(L"<a href=\"http://x/\"><bmp idres=130 mask=#ff00ff style=s></a>");
    t.Draw();
    EXPECT_EQ(t.canvas.At(20, 10), RGB(0, 0, 255));
    EXPECT_NE(t.canvas.At(5, 10), RGB(255, 0, 255)); // the mask colour is cut out
    ASSERT_EQ(t.d.GetHotAreas().size(), 1u);
    RECT r = t.d.GetHotAreas()[0].rect;
    EXPECT_EQ(r.right - r.left, 44); // 4 pixels larger in both directions
    EXPECT_EQ(r.bottom - r.top, 24);
}

TEST(MarkupImages, IconsFromResourcesAndStrings)
{
    Drawer t;
    EXPECT_EQ(t.Measure(L"<icon idres=150 width=32 height=32>").cx, 32 + 1);
    t.Draw();
    EXPECT_GT(t.canvas.Count(RGB(255, 0, 0)), 32 * 28);
    SIZE text = t.Measure(L"Resource text");
    EXPECT_EQ(t.Measure(L"<string idres=160>").cx, text.cx);
    EXPECT_EQ(t.Measure(L"<string idres=0>x").cx, t.Measure(L"x").cx);
}

TEST(MarkupImages, StripFramesAnimateAtTheirSpeed)
{
    Drawer t;
    EXPECT_EQ(t.Measure(L"<ilst idres=140 cx=16 speed=5>").cx, 16 + 1);
    ASSERT_EQ(t.d.GetAnimations().size(), 1u);
    EXPECT_EQ(t.d.GetAnimations()[0].frames, 4);
    t.Draw();
    EXPECT_EQ(t.canvas.At(8, 8), RGB(255, 0, 0));
    for (int i = 0; i < 4; i++)
        EXPECT_FALSE(t.d.AnimationStep());
    EXPECT_TRUE(t.d.AnimationStep()); // the fifth tick advances
    EXPECT_EQ(t.d.GetAnimations()[0].frame, 1);
    t.Draw();
    EXPECT_EQ(t.canvas.At(8, 8), RGB(0, 255, 0));
    for (int i = 0; i < 15; i++)
        t.d.AnimationStep();
    EXPECT_EQ(t.d.GetAnimations()[0].frame, 0); // wraps after the last frame

    EXPECT_EQ(t.Measure(L"<ilst idres=140 cx=16 index=4>").cx, 0); // past the last frame
    EXPECT_EQ(t.Measure(L"<ilst idres=140>").cx, 16 + 1);          // square frames of the smaller side
    EXPECT_EQ(t.Measure(L"<ilst index=0>").cx, 0);                 // no source and no image list
    EXPECT_EQ(t.Measure(L"<ilst idres=140 cx=0 cy=0 width=0>").cx, 0);
}

TEST(MarkupImages, ImageListItems)
{
    Drawer t;
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    HICON icon = (HICON)::LoadImageW(::GetModuleHandleW(NULL), MAKEINTRESOURCEW(150), IMAGE_ICON, 16, 16, 0);
    ASSERT_NE(icon, (HICON)NULL);
    ImageList_AddIcon(list, icon);
    ::DestroyIcon(icon);
    t.d.SetImageList(list); // the drawer owns it now
    EXPECT_EQ(t.Measure(L"<ilst index=0>").cx, 16 + 1);
    EXPECT_EQ(t.Measure(L"<ilst index=1>").cx, 0);
    t.Measure(L"<ilst index=0>");
    t.Draw();
    EXPECT_GT(t.canvas.Count(RGB(255, 0, 0)), 100);
}

TEST(MarkupImages, TableBackgroundPictureIsTiled)
{
    Drawer t(200, 100);
    t.Measure(L"<table background=\"idres:130\"><tr><td width=100 height=50></td></tr></table>");
    t.Draw();
    EXPECT_EQ(t.canvas.At(45, 5), RGB(255, 0, 255)); // second tile's magenta band
    EXPECT_EQ(t.canvas.At(95, 25), RGB(0, 0, 255));
    t.canvas.Fill(RGB(255, 255, 255));
    t.d.DrawBackgroundImage(t.canvas.dc(), 0, 0, 50, 50, L"idres"); // too short: nothing
    EXPECT_EQ(t.canvas.Count(RGB(255, 255, 255)), 200 * 100);
}

TEST(MarkupImages, NetworkPathsAreNotLoaded)
{
    struct Case
    {
        const wchar_t* path;
        bool safe;
    } cases[] = {{L"c:\\pictures\\a.bmp", true},     {L"pictures\\a.bmp", true},
                 {L"\\\\host\\share\\a.dll", false}, {L"//host/share/a.dll", false},
                 {L"http://host/a.bmp", false},      {L"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(MarkupDrawer::IsSafeModulePath(c.path), c.safe)
            << ::testing::PrintToString(std::wstring(c.path));
    MarkupDrawer d;
    EXPECT_EQ(d.LoadBitmapFromModule(1, L"\\\\host\\share\\a.dll"), (HBITMAP)NULL);
    EXPECT_EQ(d.LoadBitmapFromModule(1, L"no-such-module.dll"), (HBITMAP)NULL);
    EXPECT_EQ(d.LoadBitmapFromModule(1, NULL), (HBITMAP)NULL); // no resource module set
}

TEST(MarkupImages, ImageStyleLetters)
{
    MarkupDrawer d;
    EXPECT_EQ(d.ParseImageStyle(L"gdl"), (UINT)(EFFECT_GREY | EFFECT_DARKER | EFFECT_LIGHTER));
    EXPECT_EQ(d.ParseImageStyle(L"s"), (UINT)EFFECT_SOFTSHADOW);
    EXPECT_EQ(d.ParseImageStyle(L"xyz"), 0u);
}
