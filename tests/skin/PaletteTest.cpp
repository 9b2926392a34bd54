// The colour manager's theme detection and colour mixing, and the guarded
// calls of the visual-styles wrapper.
#include "SFSkinPalette.h"
#include "SFUxThemeLibrary.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>

TEST(SFSkinPalette, MixColorsByPercentOrPerMille)
{
    COLORREF a = RGB(200, 100, 0), b = RGB(0, 50, 255);
    // 90 % of a, 10 % of b, rounded.
    EXPECT_EQ(RGB(180, 95, 26), CSFSkinPalette::MixColors(a, b, 90));
    // 100 and above count per mille: 10 % of a.
    EXPECT_EQ(RGB(20, 55, 230), CSFSkinPalette::MixColors(a, b, 100));
    EXPECT_EQ(a, CSFSkinPalette::MixColors(a, b, 1000));
    EXPECT_EQ(b, CSFSkinPalette::MixColors(a, b, 0));
}

TEST(SFSkinPalette, ThemeDetectionByFileAndColourScheme)
{
    struct Case
    {
        const wchar_t *file, *color;
        BOOL royale, aero;
        int theme;
    } cases[] = {
        {L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", TRUE, TRUE, 1},
        {L"c:\\x\\luna.msstyles", L"HomeStead", TRUE, TRUE, 2},
        {L"c:\\x\\luna.msstyles", L"Metallic", TRUE, TRUE, 3},
        {L"c:\\x\\WinXP.Luna.cjstyles", L"metallic", TRUE, TRUE, 3},
        {L"c:\\x\\luna.msstyles", L"Other", TRUE, TRUE, 0},
        {L"c:\\x\\Royale.msstyles", L"NormalColor", TRUE, TRUE, 4},
        {L"c:\\x\\Royale.msstyles", L"NormalColor", FALSE, TRUE, 0},
        {L"c:\\x\\Aero.msstyles", L"NormalColor", TRUE, TRUE, 5},
        {L"c:\\x\\Aero.msstyles", L"NormalColor", TRUE, FALSE, 0},
        {L"", L"", TRUE, TRUE, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.theme, CSFSkinPalette::DetectTheme(c.file, c.color, c.royale, c.aero)) << c.file << " " << c.color;
}

TEST(SFSkinPalette, DisplayDepthAndStandardColours)
{
    // The test display has 24 bits per pixel.
    EXPECT_FALSE(CSFSkinPalette::IsLowColorDisplay(NULL));
    HDC mono = CreateCompatibleDC(NULL);
    HBITMAP bits = CreateBitmap(4, 4, 1, 1, NULL);
    SelectObject(mono, bits);
    EXPECT_FALSE(CSFSkinPalette::IsLowColorDisplay(mono)); // a memory DC reports the screen's depth
    DeleteDC(mono);
    DeleteObject(bits);

    CSFSkinPalette* palette = GetSkinPalette();
    EXPECT_EQ(palette, GetSkinPalette());
    EXPECT_EQ(0u, palette->GetStandardColor(0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), palette->GetStandardColor(COLOR_BTNFACE));
    palette->SetColorSource([](int index) -> COLORREF { return RGB(index, 0, 0); });
    palette->Refresh();
    EXPECT_EQ(RGB(15, 0, 0), palette->GetStandardColor(15));
    palette->SetColorSource(NULL);
    palette->Refresh();
    EXPECT_EQ(0x8CD5FFu, palette->GetGradient(7).color1.standard);
    EXPECT_EQ(0x97D4FFu, palette->GetGradient(9).color2.standard);
    EXPECT_FLOAT_EQ(0.5f, palette->GetGradient(0).factor);

    // A gradient record stores both colours and its factor.
    CMemFile file(64);
    {
        CArchive ar(&file, CArchive::store);
        CSFSkinPalette::GradientRecord record = palette->GetGradient(8);
        record.color2.custom = 0x123456;
        record.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(20u, (UINT)file.GetLength());
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CSFSkinPalette::GradientRecord back;
    back.Serialize(ar);
    EXPECT_EQ(0x4B8EFEu, back.color1.standard);
    EXPECT_EQ(0x123456u, back.color2.custom);
    EXPECT_FLOAT_EQ(0.5f, back.factor);
}

TEST(SFUxThemeLibrary, WithoutTheLibraryEveryCallFails)
{
    CSFUxThemeLibrary missing(FALSE, L"NO-SUCH-UXTHEME.DLL");
    EXPECT_EQ(nullptr, missing.OpenThemeData(NULL, L"BUTTON"));
    wchar_t file[MAX_PATH] = L"", color[MAX_PATH] = L"", size[MAX_PATH] = L"";
    EXPECT_EQ(E_FAIL, missing.GetCurrentThemeName(file, MAX_PATH, color, MAX_PATH, size, MAX_PATH));
    COLORREF c = 0;
    EXPECT_EQ(E_FAIL, missing.GetThemeColor(1, 1, 3803, &c));
    EXPECT_FALSE(missing.IsAppThemed());
    EXPECT_FALSE(missing.IsThemeActive());
    missing.CloseThemeData();
}

TEST(SFUxThemeLibrary, OpeningAgainClosesTheHeldTheme)
{
    std::wstring fake = std::wstring(YEB_BINARY_DIR) + L"\\bin\\skin_fake_uxtheme.dll";
    HMODULE counter = LoadLibraryW(fake.c_str());
    ASSERT_NE(nullptr, counter);
    typedef LONG(WINAPI * CountFn)();
    CountFn closed = (CountFn)(void*)GetProcAddress(counter, "FakeClosedCount");
    ASSERT_NE(nullptr, closed);
    {
        CSFUxThemeLibrary wrapper(FALSE, fake.c_str());
        SFHTHEME first = wrapper.OpenThemeData(NULL, L"BUTTON");
        ASSERT_NE(nullptr, first);
        EXPECT_TRUE(wrapper.IsAppThemed());
        EXPECT_EQ(0, closed());
        SFHTHEME second = wrapper.OpenThemeData(NULL, L"EDIT");
        EXPECT_NE(first, second);
        EXPECT_EQ(1, closed());
        EXPECT_EQ(second, wrapper.GetTheme());
        // The stand-in has no GetCurrentThemeName.
        wchar_t name[10];
        EXPECT_EQ(E_FAIL, wrapper.GetCurrentThemeName(name, 10, name, 10, name, 10));
    }
    EXPECT_EQ(2, closed()); // the destructor closes the last one
    FreeLibrary(counter);

    // The system's library answers without raising.
    CSFUxThemeLibrary system(TRUE);
    system.IsThemeActive();
    system.OpenThemeData(NULL, L"BUTTON");
    system.CloseThemeData();
    EXPECT_EQ(nullptr, system.GetTheme());
}
