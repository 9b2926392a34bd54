// The updater's resources: its own numbering, its frame with the full-width
// body picture, its dialogs and the about-box string.
#include <gtest/gtest.h>
#include <windows.h>
#include "ResourceProbe.h"
#include "resource.h"

namespace
{
TEST(UpdaterResources, FramesButtonsAndBody)
{
    struct
    {
        int id, width, height;
    } cases[] = {{IDB_FRAME_TOP_LEFT, 60, 29}, {IDB_FRAME_SIDE, 2, 100}, {IDB_BTN_CLOSE_SMALL, 100, 20},
                 {IDB_UPDATE_BODY, 391, 8},    {IDB_UPDATE_BODY_PROGRESS, 391, 8}, {IDB_BTN_UPDATE_CLOSE, 100, 20},
                 {IDB_BTN_UPDATE_MINIMISE, 100, 20}};
    for (const auto& c : cases)
    {
        probe::Size s = probe::BitmapSize(c.id);
        EXPECT_EQ(c.width, s.width) << "bitmap " << c.id;
        EXPECT_EQ(c.height, s.height) << "bitmap " << c.id;
    }
    for (int id : {IDB_UPDATE_FRAME_TOP_LEFT, IDB_UPDATE_FRAME_TOP, IDB_UPDATE_FRAME_TOP_RIGHT,
                   IDB_UPDATE_FRAME_RIGHT, IDB_UPDATE_FRAME_BOTTOM_LEFT, IDB_UPDATE_FRAME_BOTTOM,
                   IDB_UPDATE_FRAME_BOTTOM_RIGHT, IDB_UPDATE_TITLE, IDB_LOGIN_BTN_LEFT, IDB_LOGIN_BTN_MIDDLE,
                   IDB_LOGIN_BTN_RIGHT, IDB_PAGE_BTN_LEFT, IDB_PAGE_BTN_MIDDLE, IDB_PAGE_BTN_RIGHT})
        EXPECT_GT(probe::BitmapSize(id).width, 0) << "bitmap " << id;
}

TEST(UpdaterResources, DialogsIconsAndAboutString)
{
    EXPECT_EQ(L"升级", probe::DialogCaption(IDD_UPDATE));
    EXPECT_EQ(L"升级提示", probe::DialogCaption(IDD_UPDATE_MESSAGE));
    EXPECT_GE(probe::DialogControlCount(IDD_ABOUT), 3);
    wchar_t text[64] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, 64), 0);
    EXPECT_STREQ(L"关于 Yeb360Update(&A)...", text);
    for (int id : {IDI_APP, IDI_APP_SMALL})
        EXPECT_NE(nullptr, LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
}
} // namespace
