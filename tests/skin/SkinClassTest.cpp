// Skin classes over a loaded style: typed getters with defaults and their
// cache, part sizes of picture strips, and text in the class's colours.
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinSchemaProperty.h"
#include "SchemaNames.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>

namespace
{
// A 100 x 20 picture, written as a 24-bit BMP.
void WritePicture(const std::wstring& path, int w, int h)
{
    Canvas canvas(w, h, RGB(0, 90, 180));
    HBITMAP copy = canvas.Copy();
    BITMAPINFOHEADER header = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
    int stride = (w * 3 + 3) & ~3;
    std::string bits(stride * h, '\0');
    HDC screen = GetDC(NULL);
    GetDIBits(screen, copy, 0, h, &bits[0], (BITMAPINFO*)&header, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    DeleteObject(copy);
    BITMAPFILEHEADER file = {0x4D42, (DWORD)(14 + 40 + bits.size()), 0, 0, 54};
    std::string all((const char*)&file, 14);
    all.append((const char*)&header, 40);
    all += bits;
    WriteBytes(path, all.data(), all.size());
}
} // namespace

class SkinClassTest : public StyleTextTest
{
protected:
    void SetUp() override
    {
        StyleTextTest::SetUp();
        ASSERT_TRUE(LoadStyle(L"class-style",
                  "[Button]\r\nTextColor = 10 20 30\r\nImageFile = Pics\\Glyph.bmp\r\n"
                  "[Button.PushButton]\r\nImageFile = Pics\\Strip.bmp\r\nImageCount = 4\r\n"
                  "ImageLayout = Horizontal\r\nText = not a colour\r\n"
                  "[Button.CheckBox]\r\nUniformSizing = True\r\nSizingType = Stretch\r\n"
                  "[Button.RadioButton]\r\nSizingType = TrueSize\r\nImageCount = 2\r\nImageLayout = Vertical\r\n"
                  "[Button.GroupBox]\r\nBgType = BorderFill\r\n"
                  "[Button.UserButton]\r\nImageSelectType = Size\r\nImageFile1 = Pics\\Strip.bmp\r\n"
                  "[Edit]\r\nTextColor = 0 0 200\r\nCaptionMargins = 3, 4, 0, 0\r\nContentAlignment = Center\r\n"
                  "TextShadowType = Single\r\nTextShadowOffset = 1, 1\r\nTextShadowColor = 200 0 0\r\n"));
        // Pictures are read when first drawn or measured.
        CreateDirectoryW((folder + L"\\Pics").c_str(), NULL);
        WritePicture(folder + L"\\Pics\\Strip.bmp", 100, 20);
        WritePicture(folder + L"\\Pics\\Glyph.bmp", 16, 8);
        button = manager->GetSkinClass(L"Button");
        ASSERT_NE(nullptr, button);
    }

    CSFSkinClass* button = nullptr;
};

TEST_F(SkinClassTest, ClassesAreCachedByUpperCaseName)
{
    EXPECT_EQ(button, manager->GetSkinClass(L"BUTTON"));
    EXPECT_EQ(CString(L"BUTTON"), button->GetName());
    EXPECT_EQ(7, button->GetClassId());
    EXPECT_EQ(nullptr, manager->GetSkinClass(L"NotAClass"));
    EXPECT_TRUE(manager->IsSkinClass(button));
    EXPECT_FALSE(manager->IsSkinClass(this));
}

TEST_F(SkinClassTest, AnotherTypeGivesTheDefaultAndIsNotRemembered)
{
    // Property 3201 (TEXT) holds a string; asked as a colour it is absent.
    EXPECT_EQ(RGB(1, 2, 3), button->GetColor(1, 0, 3201, RGB(1, 2, 3)));
    EXPECT_EQ(CString(L"NOT A COLOUR"), button->GetString(1, 0, 3201));
    size_t cached = button->GetCachedCount();
    EXPECT_EQ(CString(L"NOT A COLOUR"), button->GetString(1, 0, 3201));
    EXPECT_EQ(cached, button->GetCachedCount());
    // A miss is remembered.
    EXPECT_EQ(5, button->GetInt(1, 0, 2403, 5));
    EXPECT_EQ(cached + 1, button->GetCachedCount());
    EXPECT_EQ(5, button->GetInt(1, 0, 2403, 5));
    EXPECT_EQ(cached + 1, button->GetCachedCount());
    // Class values reach every part; defaults stand in for the rest.
    EXPECT_EQ(RGB(10, 20, 30), button->GetColor(3, 2, 3803, 0));
    RECT def = {1, 2, 3, 4};
    RECT got = button->GetRect(1, 0, 3601, def);
    EXPECT_TRUE(EqualRect(&def, &got));
    EXPECT_FALSE(button->GetPosition(1, 0, 3401, NULL));
}

TEST_F(SkinClassTest, PartSizesOfPictureStrips)
{
    SIZE size = {};
    ASSERT_TRUE(button->GetPartSize(1, 1, NULL, 1, &size)); // 4 images side by side
    EXPECT_EQ(25, size.cx);
    EXPECT_EQ(20, size.cy);
    RECT rc = {0, 0, 60, 10};
    ASSERT_TRUE(button->GetPartSize(1, 1, &rc, 2, &size)); // stretched to the rectangle
    EXPECT_EQ(60, size.cx);
    EXPECT_EQ(10, size.cy);
    ASSERT_TRUE(button->GetPartSize(3, 1, &rc, 2, &size)); // uniform: 10 high keeps 16 x 8
    EXPECT_EQ(20, size.cx);
    EXPECT_EQ(10, size.cy);
    ASSERT_TRUE(button->GetPartSize(2, 1, &rc, 2, &size)); // true size, two images one below the other
    EXPECT_EQ(16, size.cx);
    EXPECT_EQ(4, size.cy);
    ASSERT_TRUE(button->GetPartSize(5, 1, NULL, 1, &size)); // the size-selected picture
    EXPECT_EQ(100, size.cx);
    EXPECT_FALSE(button->GetPartSize(4, 1, NULL, 1, &size)); // border fill has no size
    SIZE untouched = {7, 7};
    EXPECT_TRUE(button->GetPartSize(1, 1, NULL, 3, &untouched));
    EXPECT_EQ(7, untouched.cx);
    // The picture was read once into the class's cache.
    EXPECT_NE(nullptr, button->GetImageCache().Get(manager->GetResourceFile(), L"PICS\\STRIP.BMP"));
}

TEST_F(SkinClassTest, TextWithMarginsAlignmentAndShadow)
{
    CSFSkinClass* edit = manager->GetSkinClass(L"EDIT");
    ASSERT_NE(nullptr, edit);
    Canvas canvas(120, 30, RGB(255, 255, 255));
    CDC dc;
    dc.Attach(canvas.dc());
    RECT rc = {0, 0, 120, 30};
    SetTextColor(canvas.dc(), RGB(0, 255, 0));
    EXPECT_TRUE(edit->DrawText(&dc, 1, 1, L"Skin", DT_SINGLELINE | DT_VCENTER, &rc));
    dc.Detach();
    EXPECT_EQ(TRANSPARENT, GetBkMode(canvas.dc()));
    EXPECT_EQ(RGB(0, 0, 200), GetTextColor(canvas.dc()));
    EXPECT_GT(canvas.Count(RGB(0, 0, 200)), 5);
    EXPECT_GT(canvas.Count(RGB(200, 0, 0)), 5);
    // Centred: nothing at the far left.
    EXPECT_EQ(0, canvas.Count(RGB(0, 0, 200), 0, 0, 30, 30) + canvas.Count(RGB(200, 0, 0), 0, 0, 30, 30));
    KeepPicture(canvas, L"class-text");
}
