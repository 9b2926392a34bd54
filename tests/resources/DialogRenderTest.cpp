// Renders a dialog of the client's resources with its Chinese texts under
// the test display and keeps the picture as a PNG below the build folder
// (test-output\dialogs), so that a person can look at it.
#include <gtest/gtest.h>
#include <windows.h>

#include "PixImage.h"
#include "resource.h"

#include <string>

namespace
{
INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

void Pump(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms)
    {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

int Luminance(COLORREF c)
{
    return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
}

// Pixels of rect (screen coordinates) much darker than the dialog face.
int InkPixels(HDC screen, const RECT& rect)
{
    int face = Luminance(GetSysColor(COLOR_BTNFACE));
    int ink = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (Luminance(GetPixel(screen, x, y)) < face - 80)
                ++ink;
    return ink;
}

// Bits of a short text drawn with the font: two different Chinese words give
// different pictures only when a font with Chinese glyphs is at hand (missing
// glyphs all draw as the same box).
std::string TextBits(HFONT font, const wchar_t* text)
{
    HDC dc = CreateCompatibleDC(NULL);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 64;
    bi.bmiHeader.biHeight = 24;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT r = {0, 0, 64, 24};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawTextW(dc, text, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
    GdiFlush();
    std::string out(static_cast<const char*>(bits), 64 * 24 * 4);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteDC(dc);
    return out;
}

TEST(DialogRender, AboutBoxShowsItsChineseTextsAndIsSavedAsPng)
{
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), NULL,
                                     &PlainDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    SetWindowPos(dialog, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(dialog);
    Pump(500);

    wchar_t caption[64] = {};
    GetWindowTextW(dialog, caption, 64);
    EXPECT_STREQ(L"\x5173\x4E8E Yeb360", caption); // "关于 Yeb360"

    RECT window;
    GetWindowRect(dialog, &window);
    int w = window.right - window.left, h = window.bottom - window.top;
    HDC screen = GetDC(NULL);

    // Ink inside the two Chinese lines, none in an empty stretch below them.
    RECT version, empty;
    GetWindowRect(GetDlgItem(dialog, IDC_ABOUT_VERSION), &version);
    empty = version;
    OffsetRect(&empty, 0, 60);
    empty.right = empty.left + 40;
    // The screen is shared with other test programs, whose windows may pass
    // over the box for a moment: it is raised and looked at again a few times.
    int ink = 0, stray = 0;
    for (int attempt = 0; attempt < 20; ++attempt)
    {
        ink = InkPixels(screen, version);
        stray = InkPixels(screen, empty);
        if (ink > 30 && stray < 5)
            break;
        SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(150);
    }
    EXPECT_GT(ink, 30);
    EXPECT_LT(stray, 5);

    // The picture, kept for people to look at.
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP shot = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, shot);
    BitBlt(mem, 0, 0, w, h, screen, window.left, window.top, SRCCOPY);
    SelectObject(mem, old);
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    CreateDirectoryW(folder.c_str(), NULL);
    folder += L"\\dialogs";
    CreateDirectoryW(folder.c_str(), NULL);
    std::wstring path = folder + L"\\about.png";
    CPixImage image;
    ASSERT_TRUE(image.CreateFromHBITMAP(shot));
    EXPECT_TRUE(image.Save(path.c_str(), PIXIMAGE_FORMAT_PNG));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));

    // The dialog font has real Chinese glyphs, not boxes.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    EXPECT_NE(TextBits(font, L"\x97F3\x4E50"), TextBits(font, L"\x5206\x4EAB")); // "音乐" / "分享"

    DeleteObject(shot);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);
    DestroyWindow(dialog);
}
} // namespace
