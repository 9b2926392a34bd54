// Image and theme buttons: image choice, strips, caption pieces, clicks.
#include "ImageButton.h"
#include "ThemeButton.h"
#include "ControlsPicture.h"
#include "WindowPixels.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ImageButton, ImageChoice)
{
    enum { H = CImageButton::SLOT_HOVER, N = CImageButton::SLOT_NORMAL, P = CImageButton::SLOT_PRESSED,
           D = CImageButton::SLOT_DISABLED };
    const BOOL all[4] = {1, 1, 1, 1}, hoverNormal[4] = {1, 1, 0, 0}, hoverOnly[4] = {1, 0, 0, 0};
    struct Case { BOOL check, pressed, hover, disabled; const BOOL* has; int slot; } cases[] = {
        {0, 0, 0, 0, all, N},          {0, 0, 1, 0, all, H},         {0, 1, 1, 0, all, P},
        {0, 1, 1, 0, hoverNormal, H},  {0, 0, 0, 1, all, D},         {0, 0, 0, 1, hoverNormal, N},
        {0, 0, 0, 1, hoverOnly, H},    {1, 0, 1, 0, all, N},         {1, 1, 0, 0, all, H},
        {0, 0, 0, 0, hoverOnly, H},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.slot, CImageButton::ChooseSlot(c.check, c.pressed, c.hover, c.disabled, c.has))
            << c.check << c.pressed << c.hover << c.disabled;
    // Strip order: normal, hover, pressed, disabled.
    EXPECT_EQ(1, CImageButton::StripIndexOfSlot(H));
    EXPECT_EQ(0, CImageButton::StripIndexOfSlot(N));
    EXPECT_EQ(2, CImageButton::StripIndexOfSlot(P));
    EXPECT_EQ(3, CImageButton::StripIndexOfSlot(D));
}

namespace
{
class Dialogish : public CWnd
{
public:
    std::vector<WPARAM> commands;
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 650, 300, 200, NULL, NULL);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST(ImageButton, StripSplitsIntoFourImagesAndSetBitmapsSizesTheButton)
{
    Dialogish host;
    ASSERT_TRUE(host.Make());
    CImageButton button;
    HWND hwnd = ::CreateWindowExW(0, L"BUTTON", L"close", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 60, 30,
                                  host.m_hWnd, (HMENU)1089, NULL, NULL);
    ASSERT_TRUE(button.SubclassWindow(hwnd));
    EXPECT_EQ((UINT)BS_OWNERDRAW, button.GetStyle() & 0x0F);
    EXPECT_EQ(0, button.SetBitmapStrip(IDB_BTN_CLOSE_SMALL, RGB(255, 0, 255)));
    for (const auto& slot : button.m_slots)
    {
        EXPECT_EQ(25, slot.width);
        EXPECT_EQ(20, slot.height);
        EXPECT_NE(nullptr, slot.mask);
    }
    {
        // Each slot is its piece of the strip with the key colour in the mask
        // (white there) and black in the image; other pixels are the strip's.
        const COLORREF key = RGB(255, 0, 255);
        HBITMAP strip = (HBITMAP)::LoadImageW(::GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDB_BTN_CLOSE_SMALL),
                                              IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
        ASSERT_NE(nullptr, strip);
        CDC stripDC, imageDC, maskDC;
        stripDC.CreateCompatibleDC(NULL);
        imageDC.CreateCompatibleDC(NULL);
        maskDC.CreateCompatibleDC(NULL);
        HGDIOBJ oldStrip = stripDC.SelectObject((HGDIOBJ)strip);
        int keys = 0, wrong = 0;
        for (int slot = 0; slot < CImageButton::SLOT_COUNT; ++slot)
        {
            HGDIOBJ oldImage = imageDC.SelectObject((HGDIOBJ)button.m_slots[slot].image);
            HGDIOBJ oldMask = maskDC.SelectObject((HGDIOBJ)button.m_slots[slot].mask);
            const int from = CImageButton::StripIndexOfSlot(slot) * 25;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 25; ++x)
                {
                    COLORREF p = stripDC.GetPixel(from + x, y);
                    BOOL isKey = p == key;
                    keys += isKey;
                    wrong += maskDC.GetPixel(x, y) != (isKey ? RGB(255, 255, 255) : RGB(0, 0, 0));
                    wrong += imageDC.GetPixel(x, y) != (isKey ? RGB(0, 0, 0) : p);
                }
            imageDC.SelectObject(oldImage);
            maskDC.SelectObject(oldMask);
        }
        stripDC.SelectObject(oldStrip);
        ::DeleteObject(strip);
        EXPECT_GT(keys, 0) << "the strip has transparent pixels to check";
        EXPECT_EQ(0, wrong);
    }
    CString caption;
    button.GetWindowText(caption);
    EXPECT_EQ(CString(L"close"), caption); // a strip keeps the caption
    button.UpdateWindow();

    // Separate images: the button takes the hover image's size and loses its caption.
    EXPECT_EQ(0, button.SetBitmaps(IDB_BTN_CLOSE_SMALL, RGB(255, 0, 255), CImageButton::NORMAL_GREY, 0));
    CRect rect;
    button.GetWindowRect(&rect);
    EXPECT_EQ(100, rect.Width());
    EXPECT_EQ(20, rect.Height());
    button.GetWindowText(caption);
    EXPECT_TRUE(caption.IsEmpty());
    EXPECT_NE(nullptr, button.m_slots[CImageButton::SLOT_NORMAL].image);
    button.UpdateWindow();

    // A click reaches the parent as BN_CLICKED; a double click counts as a second press.
    ::SendMessageW(hwnd, BM_CLICK, 0, 0);
    ASSERT_EQ(1u, host.commands.size());
    EXPECT_EQ(MAKEWPARAM(1089, BN_CLICKED), host.commands[0]);
    MSG msg{hwnd, WM_LBUTTONDBLCLK, 0, 0};
    button.PreTranslateMessage(&msg);
    EXPECT_EQ((UINT)WM_LBUTTONDOWN, msg.message);
    host.DestroyWindow();
}

TEST(ThemeButton, CaptionPieces)
{
    struct Case { const wchar_t* caption; int prefix, suffix; const wchar_t *p, *m, *s; } cases[] = {
        {L"OK!", 0, 5, L"", L"", L"OK!"},
        {L"a long caption text", 0, 5, L"", L"a long caption", L" text"},
        {L"0123456789", 2, 3, L"01", L"23456", L"789"},
        {L"abc", 5, 0, L"abc", L"", L""},
        {L"", 0, 5, L"", L"", L""},
    };
    for (const Case& c : cases)
    {
        CaptionPieces pieces = SplitCaption(c.caption, c.prefix, c.suffix);
        EXPECT_EQ(CString(c.p), pieces.prefix) << c.caption;
        EXPECT_EQ(CString(c.m), pieces.middle) << c.caption;
        EXPECT_EQ(CString(c.s), pieces.suffix) << c.caption;
    }
}

TEST(ThemeButton, ImagesAndStateChoice)
{
    Dialogish host;
    ASSERT_TRUE(host.Make());
    ThemeButton button;
    HWND hwnd = ::CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 10, 10, 74, 40,
                                  host.m_hWnd, (HMENU)IDOK, NULL, NULL);
    ASSERT_TRUE(button.SubclassWindow(hwnd));
    button.SetImages(IDB_PAGE_BTN_LEFT, IDB_PAGE_BTN_MIDDLE, IDB_PAGE_BTN_RIGHT, 4);
    CRect rect;
    button.GetWindowRect(&rect);
    EXPECT_EQ(74, rect.Width());
    EXPECT_EQ(27, rect.Height());
    EXPECT_GT(button.m_nLeftMargin, 0);
    COLORREF colour;
    EXPECT_EQ(ThreePieceImages::DISABLED, button.ChooseSet(TRUE, FALSE, colour));
    EXPECT_EQ(button.m_clrDisabled, colour);
    EXPECT_EQ(ThreePieceImages::PRESSED, button.ChooseSet(FALSE, TRUE, colour));
    EXPECT_EQ(ThreePieceImages::NORMAL, button.ChooseSet(FALSE, FALSE, colour));
    button.m_bParentBackground = TRUE;
    EXPECT_EQ(-1, button.ChooseSet(FALSE, FALSE, colour)); // the parent's picture, no images
    button.UpdateWindow();
    // Three states: no disabled set, so a disabled button uses another state's images.
    button.SetImages(IDB_PAGE_BTN_LEFT, IDB_PAGE_BTN_MIDDLE, IDB_PAGE_BTN_RIGHT, 3);
    button.m_bParentBackground = FALSE;
    EXPECT_EQ(ThreePieceImages::NORMAL, button.ChooseSet(TRUE, FALSE, colour));
    ::SendMessageW(hwnd, BM_CLICK, 0, 0);
    ASSERT_EQ(1u, host.commands.size());
    host.DestroyWindow();
}

namespace
{
// A page button (four states) of the given width and caption at (10, 10) on
// a host window of one colour.
struct PageButtonOnHost
{
    CBrush brush;
    CWnd host;
    ThemeButton button;
    HWND hwnd = NULL;
    bool Make(COLORREF parent, int hostWidth, int hostHeight, LPCWSTR caption, int width)
    {
        brush.CreateSolidBrush(parent);
        if (!host.CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)brush.GetSafeHandle()), L"host",
                           WS_POPUP | WS_VISIBLE, 850, 650, hostWidth, hostHeight, NULL, NULL))
            return false;
        host.UpdateWindow();
        hwnd = ::CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, width, 40,
                                 host.m_hWnd, (HMENU)IDOK, NULL, NULL);
        if (!button.SubclassWindow(hwnd))
            return false;
        button.SetImages(IDB_PAGE_BTN_LEFT, IDB_PAGE_BTN_MIDDLE, IDB_PAGE_BTN_RIGHT, 4);
        return true;
    }
};
} // namespace

TEST(ThemeButton, CapCornersShowTheParentInEveryState)
{
    const COLORREF parent = RGB(0x20, 0x80, 0x40), magenta = RGB(255, 0, 255);
    PageButtonOnHost made;
    ASSERT_TRUE(made.Make(parent, 300, 200, L"OK", 74));
    ThemeButton& button = made.button;
    HWND hwnd = made.hwnd;
    CWnd& host = made.host;
    struct State { const wchar_t* name; BOOL hover, pressed, disabled; } states[] = {
        {L"normal", 0, 0, 0}, {L"hover", 1, 0, 0}, {L"pressed", 0, 1, 0}, {L"disabled", 0, 0, 1}};
    for (const State& s : states)
    {
        button.m_bHover = (BYTE)s.hover;
        button.SetState(s.pressed);
        button.EnableWindow(!s.disabled);
        button.Invalidate();
        button.UpdateWindow();
        WindowPixels picture(hwnd);
        ASSERT_EQ(74, picture.Width());
        ASSERT_EQ(27, picture.Height());
        picture.SavePng(ControlsPicturePath(std::wstring(L"theme-button-") + s.name + L".png"));
        // The caps (the pressed caption itself is magenta by default).
        const RECT left = {0, 0, button.m_nLeftMargin, 27}, right = {74 - button.m_nRightMargin, 0, 74, 27};
        EXPECT_EQ(0, picture.Count(magenta, &left) + picture.Count(magenta, &right)) << s.name;
        const POINT corners[] = {{0, 0}, {1, 0}, {0, 1}, {73, 0}, {72, 0}, {73, 1}, {0, 26}, {73, 26}, {73, 25}};
        for (POINT c : corners)
            EXPECT_EQ(parent, picture.At(c.x, c.y)) << s.name << " " << c.x << "," << c.y;
        EXPECT_NE(parent, picture.At(2, 2)) << s.name << ": the cap itself is drawn";
        EXPECT_NE(parent, picture.At(37, 3)) << s.name << ": the middle piece is drawn";
    }
    host.DestroyWindow();
}

TEST(ThemeButton, AWideMiddleIsTheMiddlePieceRepeatedBetweenTheCaps)
{
    const COLORREF parent = RGB(0x20, 0x80, 0x40);
    PageButtonOnHost made;
    ASSERT_TRUE(made.Make(parent, 420, 120, L"", 331));
    ThemeButton& button = made.button;
    HWND hwnd = made.hwnd;
    CWnd& host = made.host;
    ASSERT_TRUE(button.m_images.middleOpaque) << "the middle piece has no key colour: its copies are copied on";
    button.m_bParentBackground = FALSE;
    button.Invalidate();
    button.UpdateWindow();
    WindowPixels picture(hwnd);
    const int width = picture.Width(), height = picture.Height();
    const int period = button.m_images.SizeOf(ThreePieceImages::NORMAL, ThreePieceImages::MIDDLE).cx;
    ASSERT_GT(period, 0);
    int wrong = 0, ground = 0;
    for (int y = 0; y < height; ++y)
        for (int x = button.m_nLeftMargin; x < width - button.m_nRightMargin; ++x)
        {
            ground += picture.At(x, y) == parent;
            if (x + period < width - button.m_nRightMargin)
                wrong += picture.At(x, y) != picture.At(x + period, y);
        }
    EXPECT_EQ(0, wrong) << "every copy of the middle piece is the same";
    EXPECT_EQ(0, ground) << "no place between the caps shows the parent";
    host.DestroyWindow();
}
