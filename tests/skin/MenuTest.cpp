// The popup-menu skin object on a real popup menu, opened with
// TrackPopupMenu and examined from its owner while the menu waits for input:
// the border in the skin's colours, the items (a check mark, a separator)
// drawn by the system into the skin's menu background, PRF_CLIENT printing
// offset by the borders, the selection moved by the arrow keys, and the
// menu offset added to where the menu is placed.
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectMenu.h"
#include "SkinStateMatch.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <gtest/gtest.h>

namespace
{
struct MenuCheck
{
    HMENU menu = NULL;
    HWND window = NULL;
    bool skinned = false;
    WindowShot printed;    // WM_PRINT, border and client
    WindowShot clientOnly; // WM_PRINT, PRF_CLIENT only
    WindowShot border;     // WM_PRINT, PRF_NONCLIENT only
    int idles = 0;
    RECT borders = {};
    RECT checkedItem = {}, plainItem = {}, separator = {};
    POINT placedWithOffset = {}, placedWithout = {};
    bool aliveAfterArrow = false;
    int selectedAfterArrow = -1;
};
MenuCheck g_check;

template <class Draw> WindowShot Picture(int width, int height, Draw draw)
{
    WindowShot shot;
    shot.width = width;
    shot.height = height;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC memory = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(memory, bitmap);
    draw(memory);
    GdiFlush();
    shot.pixels.assign((const DWORD*)bits, (const DWORD*)bits + (size_t)width * height);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return shot;
}

RECT ItemRect(HMENU menu, int index, HWND window)
{
    RECT item = {}, win = {};
    // Without a window the popup's own coordinates are taken.
    GetMenuItemRect(NULL, menu, index, &item);
    GetWindowRect(window, &win);
    OffsetRect(&item, -win.left, -win.top);
    return item;
}

void ExamineMenu(HWND window)
{
    CSFSkinFramework* manager = GetSkinFramework();
    g_check.window = window;
    manager->ApplyWindow(window);
    CSFSkinObjectMenu* object = dynamic_cast<CSFSkinObjectMenu*>(manager->Lookup(window));
    g_check.skinned = object != nullptr;
    if (!object)
        return;
    RECT win, client;
    GetWindowRect(window, &win);
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    g_check.borders = {origin.x - win.left, origin.y - win.top, 0, 0};
    int width = win.right - win.left, height = win.bottom - win.top;
    g_check.printed = Picture(width, height, [&](HDC dc) {
        SendMessageW(window, WM_PRINT, (WPARAM)dc, PRF_NONCLIENT | PRF_CLIENT);
    });
    g_check.border =
        Picture(width, height, [&](HDC dc) { SendMessageW(window, WM_PRINT, (WPARAM)dc, PRF_NONCLIENT); });
    g_check.clientOnly = Picture(width, height, [&](HDC dc) {
        RECT all = {0, 0, width, height};
        FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
        SendMessageW(window, WM_PRINT, (WPARAM)dc, PRF_CLIENT);
    });
    g_check.checkedItem = ItemRect(g_check.menu, 1, window);
    g_check.plainItem = ItemRect(g_check.menu, 0, window);
    g_check.separator = ItemRect(g_check.menu, 2, window);
    KeepWindowPicture(window, L"menu-skinned");

    CSFSkinObjectFrame::s_menuOffset = {7, 5};
    SetWindowPos(window, NULL, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(window, &win);
    g_check.placedWithOffset = {win.left, win.top};
    CSFSkinObjectFrame::s_menuOffset = {0, 0};
    SetWindowPos(window, NULL, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(window, &win);
    g_check.placedWithout = {win.left, win.top};
}

// The menu loop takes the key from the queue and selects through the menu window.
void AfterArrow(HWND window)
{
    g_check.aliveAfterArrow = IsWindow(window) && IsWindowVisible(window);
    for (int i = 0; i < GetMenuItemCount(g_check.menu); i++)
        if (GetMenuState(g_check.menu, i, MF_BYPOSITION) & MF_HILITE)
            g_check.selectedAfterArrow = i;
}

LRESULT CALLBACK MenuOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU)
    {
        HWND window = lParam ? (HWND)lParam : FindWindowW(L"#32768", NULL);
        int idle = ++g_check.idles;
        if (idle == 1 && window)
        {
            ExamineMenu(window);
            PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
            return 0;
        }
        if (window)
            AfterArrow(window);
        EndMenu();
        return 0;
    }
    if (message == WM_TIMER && wParam == 1)
    {
        // The menu never went idle: close it rather than hang.
        KillTimer(hwnd, 1);
        EndMenu();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Pixels of the rectangle that are not the colour.
int CountOther(const WindowShot& shot, const RECT& area, COLORREF colour)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            count += shot.At(x, y) != colour ? 1 : 0;
    return count;
}
} // namespace

TEST(MenuTest, PopupMenuIsDrawnInTheSkinsColours)
{
    CSFSkinFramework* manager = GetSkinFramework();
    manager->SetApplyToNewWindows(FALSE);
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    HWND owner = CreateWindowExW(0, TestWindowClass(L"SkinMenuOwner", MenuOwnerProc), L"Menu owner",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, NULL, NULL,
                                 GetModuleHandleW(NULL), NULL);
    ASSERT_NE(nullptr, owner);
    SetForegroundWindow(owner);
    g_check = MenuCheck();
    g_check.menu = CreatePopupMenu();
    AppendMenuW(g_check.menu, MF_STRING, 101, L"Play");
    AppendMenuW(g_check.menu, MF_STRING | MF_CHECKED, 102, L"Shuffle");
    AppendMenuW(g_check.menu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(g_check.menu, MF_STRING, 103, L"Repeat");
    SetTimer(owner, 1, 5000, NULL);
    TrackPopupMenu(g_check.menu, TPM_LEFTALIGN | TPM_TOPALIGN, 80, 80, 0, owner, NULL);
    KillTimer(owner, 1);

    ASSERT_NE(nullptr, g_check.window) << "the menu never waited for input";
    ASSERT_TRUE(g_check.skinned);
    CSFSkinMetrics* metrics = manager->GetMetrics();
    COLORREF shadow = metrics->GetColor(COLOR_BTNSHADOW), menuColour = metrics->GetColor(COLOR_MENU);
    const WindowShot& shot = g_check.printed;
    ASSERT_GT(shot.width, 20);
    // The outer line of the border, all round.
    const WindowShot& border = g_check.border;
    EXPECT_EQ(shadow, border.At(0, 0));
    EXPECT_EQ(shadow, border.At(border.width - 1, border.height / 2));
    EXPECT_EQ(shadow, border.At(border.width / 2, border.height - 1));
    // The items lie on the skin's menu colour, the check mark and the
    // separator line drawn over it.
    RECT inside = {2, 2, shot.width - 2, shot.height - 2};
    int area = (inside.right - inside.left) * (inside.bottom - inside.top);
    EXPECT_GT(area - CountOther(shot, inside, menuColour), area / 2);
    int markColumn = 16;
    RECT checkedMark = {g_check.checkedItem.left, g_check.checkedItem.top,
                        g_check.checkedItem.left + markColumn, g_check.checkedItem.bottom};
    RECT plainMark = {g_check.plainItem.left, g_check.plainItem.top, g_check.plainItem.left + markColumn,
                      g_check.plainItem.bottom};
    EXPECT_GT(CountOther(shot, checkedMark, menuColour), CountOther(shot, plainMark, menuColour) + 5);
    RECT separatorMiddle = g_check.separator;
    separatorMiddle.left += 4;
    separatorMiddle.right -= 4;
    EXPECT_GT(CountOther(shot, separatorMiddle, menuColour),
              (separatorMiddle.right - separatorMiddle.left) / 2);
    // Printed without the border, the items keep their place.
    int bx = g_check.borders.left, by = g_check.borders.top;
    EXPECT_EQ(
        shot.At(g_check.checkedItem.left + 8, (g_check.checkedItem.top + g_check.checkedItem.bottom) / 2),
        g_check.clientOnly.At(g_check.checkedItem.left + 8,
                              (g_check.checkedItem.top + g_check.checkedItem.bottom) / 2))
        << bx << "," << by;

    EXPECT_EQ(107, g_check.placedWithOffset.x);
    EXPECT_EQ(105, g_check.placedWithOffset.y);
    EXPECT_EQ(100, g_check.placedWithout.x);
    EXPECT_TRUE(g_check.aliveAfterArrow);
    EXPECT_GE(g_check.selectedAfterArrow, 0);

    DestroyMenu(g_check.menu);
    DestroyWindow(owner);
    manager->RemoveAll(TRUE);
    manager->LoadSkin(L"", L"");
}
