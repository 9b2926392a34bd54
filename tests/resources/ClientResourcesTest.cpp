// The client's resources: the pictures have the sizes and grids their users
// cut them by, and every dialog, menu, sound and animation frame is present.
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "ResourceProbe.h"
#include "resource.h"

namespace
{
struct BitmapCase
{
    int id;
    int width;
    int height;
};

// Sizes that the windows rely on: frame pieces, the close strip of four
// 25 x 20 images, the scroll-bar grid of 9 x 3 cells of 16 px.
TEST(ClientResources, BitmapsHaveTheSizesTheirUsersCutThemBy)
{
    const BitmapCase cases[] = {
        {IDB_FRAME_TOP_LEFT, 60, 29},   {IDB_FRAME_TOP, 1, 29},         {IDB_FRAME_TOP_RIGHT, 30, 29},
        {IDB_FRAME_SIDE, 2, 100},       {IDB_FRAME_BOTTOM_LEFT, 2, 2},  {IDB_FRAME_BOTTOM, 1, 2},
        {IDB_FRAME_BOTTOM_RIGHT, 2, 2}, {IDB_BTN_CLOSE_SMALL, 100, 20}, {IDB_SCROLLBAR_SKIN, 144, 48},
        {IDB_PROGRESS_CHANNEL, 305, 9}, {IDB_BUSY_FRAME_01, 305, 9},    {IDB_BUSY_FRAME_48, 305, 9},
        {IDB_DEFAULT_AVATAR, 42, 42},   {IDB_DEFAULT_AVATAR_SMALL, 30, 30},
    };
    for (const BitmapCase& c : cases)
    {
        probe::Size s = probe::BitmapSize(c.id);
        EXPECT_EQ(c.width, s.width) << "bitmap " << c.id;
        EXPECT_EQ(c.height, s.height) << "bitmap " << c.id;
    }
}

// Strips are cut into equal state images: four states side by side.
TEST(ClientResources, StateStripsSplitIntoFourEqualImages)
{
    const int strips[] = {IDB_BTN_MAIN_CLOSE, IDB_BTN_MAIN_MAXIMISE, IDB_BTN_MAIN_RESTORE, IDB_BTN_MAIN_MINIMISE,
                          IDB_BTN_MAIN_MENU, IDB_BTN_MAIN_MINI_PLAYER, IDB_BTN_CLOSE, IDB_BTN_MINIMISE,
                          IDB_BTN_PLAY, IDB_BTN_PAUSE, IDB_BTN_STOP, IDB_BTN_NEXT, IDB_BTN_PREVIOUS,
                          IDB_BTN_LOOP_ORDER, IDB_BTN_LOOP_ALL, IDB_BTN_LOOP_ONE, IDB_BTN_FLOAT_PLAY,
                          IDB_TEXT_BTN_LEFT, IDB_TEXT_BTN_MIDDLE, IDB_TEXT_BTN_RIGHT, IDB_PAGE_BTN_LEFT,
                          IDB_SIGN_BTN_LEFT, IDB_NICK_BTN_RIGHT, IDB_CARD_BTN_MIDDLE, IDB_LOGIN_BTN_LEFT,
                          IDB_BTN_MINI_PLAY, IDB_BTN_MINI_PAUSE, IDB_BTN_POPUP_SETTINGS, IDB_BTN_BOARD_POST};
    for (int id : strips)
    {
        probe::Size s = probe::BitmapSize(id);
        EXPECT_GT(s.width, 0) << "bitmap " << id;
        EXPECT_EQ(0, s.width % 4) << "bitmap " << id;
    }
    // Three-piece sets of one button share their height.
    EXPECT_EQ(probe::BitmapSize(IDB_TEXT_BTN_LEFT).height, probe::BitmapSize(IDB_TEXT_BTN_RIGHT).height);
    EXPECT_EQ(probe::BitmapSize(IDB_PAGE_BTN_MIDDLE).height, probe::BitmapSize(IDB_PAGE_BTN_RIGHT).height);
}

// Rounded outer corners are magenta in the 6 x 6 corner squares, so the
// skinned dialogs cut them from the window region; inner pixels are not.
TEST(ClientResources, FrameCornersAreMagentaOnlyOutside)
{
    EXPECT_EQ(0xFF00FF, probe::BitmapPixel(IDB_FRAME_TOP_LEFT, 0, 0));
    EXPECT_EQ(0xFF00FF, probe::BitmapPixel(IDB_FRAME_TOP_RIGHT, 29, 0));
    EXPECT_EQ(0xFF00FF, probe::BitmapPixel(IDB_MAIN_TOP_LEFT, 0, 0));
    EXPECT_EQ(0xFF00FF, probe::BitmapPixel(IDB_MAIN_BOTTOM_RIGHT, 19, 18));
    EXPECT_NE(0xFF00FF, probe::BitmapPixel(IDB_FRAME_TOP_LEFT, 5, 5));
    EXPECT_NE(0xFF00FF, probe::BitmapPixel(IDB_FRAME_TOP_LEFT, 30, 14));
    EXPECT_NE(0xFF00FF, probe::BitmapPixel(IDB_MAIN_TOP, 0, 50));
}

// The scroll-bar skin's size-grip cell (column 9) differs between its
// right-bar row (0) and left-bar row (1).
TEST(ClientResources, ScrollBarCornerCellsDifferByRow)
{
    bool differs = false;
    for (int y = 0; y < 16 && !differs; ++y)
        for (int x = 0; x < 16 && !differs; ++x)
            differs = probe::BitmapPixel(IDB_SCROLLBAR_SKIN, 128 + x, y) !=
                      probe::BitmapPixel(IDB_SCROLLBAR_SKIN, 128 + x, 16 + y);
    EXPECT_TRUE(differs);
}

TEST(ClientResources, AnimationFramesArePngInRcdata)
{
    std::vector<int> ids;
    for (int id = IDR_LOGIN_FRAME_01; id <= IDR_LOGIN_FRAME_12; ++id)
        ids.push_back(id);
    for (int id = IDR_LOADING_FRAME_01; id <= IDR_LOADING_FRAME_12; ++id)
        ids.push_back(id);
    ASSERT_EQ(24u, ids.size());
    for (int id : ids)
    {
        std::string png = probe::RawResource(MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
        ASSERT_GT(png.size(), 33u) << "frame " << id;
        EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), png.substr(0, 8)) << "frame " << id;
        // IHDR: width and height big-endian, 8-bit RGBA
        auto be32 = [&](size_t at) {
            return (unsigned char)png[at] << 24 | (unsigned char)png[at + 1] << 16 |
                   (unsigned char)png[at + 2] << 8 | (unsigned char)png[at + 3];
        };
        bool login = id <= IDR_LOGIN_FRAME_12;
        EXPECT_EQ(login ? 226u : 40u, be32(16)) << "frame " << id;
        EXPECT_EQ(login ? 152u : 18u, be32(20)) << "frame " << id;
        EXPECT_EQ(6, png[25]) << "frame " << id;
    }
}

TEST(ClientResources, ElevenSoundsPlayableFromResources)
{
    for (int id = IDW_BUDDY_ONLINE_1; id <= IDW_BUDDY_LISTENING; ++id)
    {
        std::string wav = probe::RawResource(MAKEINTRESOURCEW(id), L"WAVE");
        ASSERT_GT(wav.size(), 44u) << "sound " << id;
        EXPECT_EQ("RIFF", wav.substr(0, 4));
        EXPECT_EQ("WAVE", wav.substr(8, 4));
    }
    EXPECT_EQ(365, IDW_BUDDY_LISTENING);
    EXPECT_EQ(355, IDW_BUDDY_ONLINE_1);
}

TEST(ClientResources, IconsAndCursorsLoad)
{
    const int icons[] = {IDI_APP, IDI_APP_SMALL, IDI_TRAY_AWAY, IDI_TRAY_BUSY, IDI_TRAY_INVISIBLE,
                         IDI_PRESENCE_ONLINE, IDI_PRESENCE_AWAY, IDI_PRESENCE_BUSY, IDI_PRESENCE_INVISIBLE,
                         IDI_BUDDY_STATE, IDI_LISTENING, IDI_OWN_ROW, IDI_GROUP_HEADER, IDI_PLAYING_MARK,
                         IDI_SONG_UNAVAILABLE, IDI_PUSH_SONG, IDI_DOWNLOAD_SONG, IDI_BOARD, IDI_BOARD_NEW_PRESSED,
                         IDI_CHAT, IDI_CHAT_BIG, IDI_TASK_WAITING, IDI_TASK_REMOVE_PRESSED};
    for (int id : icons)
    {
        HICON icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
        EXPECT_NE(nullptr, icon) << "icon " << id;
        if (icon)
            DestroyIcon(icon);
    }
    // The list marks are drawn at 25 x 18 and carry an image of that size.
    HICON mark = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLAYING_MARK), IMAGE_ICON, 25, 18, 0));
    ASSERT_NE(nullptr, mark);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(mark, &info));
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof(bm), &bm);
    EXPECT_EQ(25, bm.bmWidth);
    EXPECT_EQ(18, bm.bmHeight);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(mark);
    for (int id : {IDC_HAND_CURSOR, IDC_DROP_CURSOR})
        EXPECT_NE(nullptr, LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id))) << "cursor " << id;
}

TEST(ClientResources, MenusHaveTheirPopupsAtTheirPositions)
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    HMENU main = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MENU_MAIN));
    ASSERT_NE(nullptr, main);
    HMENU mainPopup = GetSubMenu(main, 0);
    ASSERT_NE(nullptr, mainPopup);
    EXPECT_NE(nullptr, GetSubMenu(mainPopup, 0)); // presence pop-up nested in the main menu
    EXPECT_EQ(static_cast<UINT>(ID_APP_EXIT_CLIENT), GetMenuItemID(mainPopup, GetMenuItemCount(mainPopup) - 1));
    DestroyMenu(main);

    HMENU context = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MENU_CONTEXT));
    ASSERT_NE(nullptr, context);
    EXPECT_EQ(10, GetMenuItemCount(context));
    EXPECT_EQ(static_cast<UINT>(ID_WINDOW_TOPMOST), GetMenuItemID(GetSubMenu(context, MENU_CONTEXT_TRAY), 1));
    EXPECT_EQ(static_cast<UINT>(ID_ADD_SONG_FILES_SPACE),
              GetMenuItemID(GetSubMenu(context, MENU_CONTEXT_SONG_SPACE), 0));
    DestroyMenu(context);

    HMENU status = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MENU_STATUS));
    ASSERT_NE(nullptr, status);
    EXPECT_EQ(static_cast<UINT>(ID_PRESENCE_ONLINE), GetMenuItemID(GetSubMenu(status, 0), 0));
    DestroyMenu(status);
}

TEST(ClientResources, EveryDialogTemplateIsPresent)
{
    const int dialogs[] = {IDD_ABOUT, IDD_MAIN, IDD_LOGIN, IDD_MESSAGE, IDD_CONFIG, IDD_PAGE_PRIVATE,
                           IDD_PAGE_SOFTWARE, IDD_PAGE_SOUND, IDD_ANIMATION, IDD_NOTIFY_POPUP, IDD_ADD_FRIEND,
                           IDD_ADD_FRIEND_FINAL, IDD_CHILD_SONG, IDD_CHILD_FRIEND, IDD_CHAT, IDD_SELECT_SONG,
                           IDD_SELECT_FRIEND, IDD_PAGE_CHANGE_PASSWORD, IDD_COLLECT_SONG, IDD_PAGE_HOT_KEY,
                           IDD_MINI_PLAYER, IDD_WEB_SONG_BROWSER, IDD_WEB_DOWNLOAD_PRE, IDD_BROWSER_TOOLBAR,
                           IDD_FOLLOW_CONFIRM, IDD_SONG_DOWNLOAD, IDD_BOARD, IDD_UPLOAD, IDD_FLOAT_TOOLBAR,
                           IDD_DRAG_TIP, IDD_BUDDY_CARD, IDD_SELECT_AVATAR};
    for (int id : dialogs)
        EXPECT_GE(probe::DialogControlCount(id), 0) << "dialog " << id;
    // A second copy of the client finds the running one by this caption.
    EXPECT_EQ(L"Yeb360", probe::DialogCaption(IDD_MAIN));
    EXPECT_EQ(5, probe::DialogControlCount(IDD_MESSAGE));
}

TEST(ClientResources, LoadingPageAndItsPicture)
{
    std::string page = probe::RawResource(L"LOADING.HTM", MAKEINTRESOURCEW(23));
    ASSERT_FALSE(page.empty());
    EXPECT_NE(std::string::npos, page.find("LOADING.PNG"));
    std::string picture = probe::RawResource(L"LOADING.PNG", MAKEINTRESOURCEW(23));
    EXPECT_EQ(std::string("\x89PNG", 4), picture.substr(0, 4));
}
} // namespace
