// The style file in its two forms: a folder holding the INI text and the
// pictures, and a resource library of UTF-16 texts and pictures.
#include "SFSkinResourceFile.h"
#include "SFStyleImage.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
std::vector<CString> ReadAllLines(CSFSkinResourceFile& file)
{
    std::vector<CString> lines;
    CString line;
    while (file.ReadString(line))
        lines.push_back(line);
    return lines;
}
} // namespace

TEST(SFSkinResourceFile, ResourceNamesComeFromFileNames)
{
    EXPECT_EQ(CString(L"NormalBlue_ini"), CSFSkinResourceFile::ToResourceName(L"NormalBlue.ini"));
    EXPECT_EQ(CString(L"Blue_Button_bmp"), CSFSkinResourceFile::ToResourceName(L"Blue\\Button.bmp"));
    EXPECT_EQ(CString(L"a_b_c_d"), CSFSkinResourceFile::ToResourceName(L"a.b\\c.d"));
}

TEST(SFSkinResourceFile, LibraryTextsLoseALastLineWithoutCarriageReturn)
{
    CSFSkinResourceFile file;
    ASSERT_TRUE(file.Open(TestStylePath().c_str(), L"Plain.ini"));
    EXPECT_FALSE(file.IsFolderStyle());
    std::vector<CString> lines = ReadAllLines(file);
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ(CString(L"[Button]"), lines[0]); // the byte-order mark is skipped
    EXPECT_EQ(CString(L"ImageFile = Blue\\PushButton.bmp"), lines[4]);

    // Without a mark, a bare line feed stays inside its line, and a final
    // carriage return still ends the last one.
    ASSERT_TRUE(file.Open(TestStylePath().c_str(), L"NoMark.ini"));
    lines = ReadAllLines(file);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(CString(L"[Globals]\nBorderSize = 3"), lines[0]);
    EXPECT_EQ(CString(L""), lines[1]);
    EXPECT_EQ(CString(L"FillColor = 9 9 9"), lines[2]);
}

TEST(SFSkinResourceFile, LibraryDefaultComesFromThemesIni)
{
    HMODULE lib = LoadLibraryExW(TestStylePath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, lib);
    EXPECT_EQ(CString(L"Plain_ini"), CSFSkinResourceFile::ReadDefaultIniName(lib));
    FreeLibrary(lib);
    // A module without THEMES_INI has no default.
    EXPECT_EQ(CString(L""), CSFSkinResourceFile::ReadDefaultIniName(GetModuleHandleW(NULL)));

    CSFSkinResourceFile file;
    ASSERT_TRUE(file.Open(TestStylePath().c_str(), L""));
    EXPECT_EQ(CString(L"Plain_ini"), file.GetIniName());
    EXPECT_EQ(5u, ReadAllLines(file).size());

    ASSERT_TRUE(file.Open(BuiltStylePath().c_str(), NULL));
    EXPECT_EQ(CString(L"NormalBlue_ini"), file.GetIniName());
    EXPECT_GT(ReadAllLines(file).size(), 100u);
}

TEST(SFSkinResourceFile, FolderStylesReadTheFileAndFallBackToALibrary)
{
    CSFSkinResourceFile file;
    ASSERT_TRUE(file.Open(StyleSourceFolder().c_str(), L"NormalBlue.ini"));
    EXPECT_TRUE(file.IsFolderStyle());
    EXPECT_EQ(CString(StyleSourceFolder().c_str()), file.GetStylePath());
    std::vector<CString> lines = ReadAllLines(file);
    ASSERT_GT(lines.size(), 100u);
    EXPECT_EQ(CString(L"[Documentation]"), lines[3]);
    EXPECT_FALSE(file.ReadString(lines[0]));

    // The folder is still the style for its pictures once the text is read.
    std::unique_ptr<CSFStyleImage> image(file.LoadImage(L"BLUE\\CLOSEBUTTON.BMP"));
    ASSERT_TRUE(image);
    EXPECT_EQ(18, image->GetWidth());
    EXPECT_EQ(144, image->GetHeight());
    EXPECT_EQ(nullptr, file.LoadImage(L"BLUE\\NOTHERE.BMP"));
    EXPECT_EQ(nullptr, file.LoadImage(L"BLUE"));

    // A folder without that INI is then tried as a library, which it is not.
    EXPECT_FALSE(file.Open(StyleSourceFolder().c_str(), L"Missing.ini"));
    EXPECT_FALSE(file.Open(L"", L"NormalBlue.ini"));
    EXPECT_FALSE(file.Open((StyleSourceFolder() + L"\\no-such-style.skin").c_str(), L"NormalBlue.ini"));
    // A library without the named text opens no text.
    EXPECT_FALSE(file.Open(TestStylePath().c_str(), L"Absent.ini"));
}

TEST(SFSkinResourceFile, LibraryPicturesByResourceName)
{
    CSFSkinResourceFile file;
    ASSERT_TRUE(file.Open(TestStylePath().c_str(), L"Plain.ini"));
    std::unique_ptr<CSFStyleImage> bmp(file.LoadImage(L"BLUE\\PUSHBUTTON.BMP"));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(24, bmp->GetWidth());
    EXPECT_FALSE(bmp->HasAlpha());
    std::unique_ptr<CSFStyleImage> png(file.LoadImage(L"Blue\\CheckBox.png"));
    ASSERT_TRUE(png);
    EXPECT_TRUE(png->HasAlpha());
    EXPECT_EQ(13, png->GetWidth());
    EXPECT_EQ(nullptr, file.LoadImage(L"SHORT32"));
    file.Close();
    EXPECT_EQ(nullptr, file.LoadImage(L"BLUE\\PUSHBUTTON.BMP"));
}
