// Shared by the skinning tests: where the styles and the pictures are, a
// folder style written on the spot, and pictures kept as PNG files for people
// to look at.
#pragma once
#include "Canvas.h"
#include "SFSkinFramework.h"
#include <Framework.h>
#include <gtest/gtest.h>
#include <string>

// The built style library of the client, beside the test program.
inline std::wstring BuiltStylePath() { return std::wstring(YEB_BINARY_DIR) + L"\\bin\\scrollbar.skin"; }
// The same style as the folder it is made from.
inline std::wstring StyleSourceFolder() { return std::wstring(YEB_SOURCE_DIR) + L"\\resources\\skin"; }
// The test style library (data/TestStyle.rc).
inline std::wstring TestStylePath() { return std::wstring(YEB_BINARY_DIR) + L"\\bin\\skin_test_style.dll"; }

// A fresh empty folder below the build folder.
std::wstring FreshFolder(const wchar_t* name);
void WriteBytes(const std::wstring& path, const void* data, size_t size);
// An ANSI text file (the style reader's folder form without a byte-order mark).
void WriteText(const std::wstring& path, const char* text);
// Keeps a picture as test-output\skin\<name>.png below the build folder.
void KeepPicture(HBITMAP bitmap, const wchar_t* name);
void KeepPicture(const Canvas& canvas, const wchar_t* name);
// A PNG file written with libpng: grey (with a transparent grey level when
// trnsGrey >= 0), or RGB, of width x height pixels.
bool WriteGreyPng(const std::wstring& path, int width, int height, int trnsGrey);
bool WriteRgbPng(const std::wstring& path, int width, int height);
// Registers (once) a window class of the test program with that procedure.
const wchar_t* TestWindowClass(const wchar_t* name, WNDPROC proc);

// Tests over a style written on the spot as a folder: the manager skins no
// new window by itself, and the style is unloaded afterwards.
class StyleTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        manager = GetSkinFramework();
        ASSERT_NE(nullptr, manager);
        manager->SetApplyToNewWindows(FALSE);
    }
    void TearDown() override { manager->LoadSkin(L"", L""); }
    // Writes the text as Style.ini into a fresh folder of that name and loads it.
    BOOL LoadStyle(const wchar_t* folderName, const char* text)
    {
        folder = FreshFolder(folderName);
        WriteText(folder + L"\\Style.ini", text);
        return manager->LoadSkin(folder.c_str(), L"Style.ini");
    }

    CSFSkinFramework* manager = nullptr;
    std::wstring folder;
};
