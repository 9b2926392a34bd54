// The picture list box: rows of a framed 30 x 30 thumbnail and a text, the
// selected row in its tinted box, checked on the pixels; and the avatar
// chooser built on it, driven by messages.
#include <gtest/gtest.h>

#include "DlgSelectAvatar.h"
#include "FileFolder.h"
#include "ListCtrlSendSong.h"
#include "PictureListBox.h"
#include "PushTestSupport.h"
#include "SocialTestSupport.h"
#include "TestFolders.h"
#include "WindowPicture.h"
#include "WindowPixels.h"
#include "resource.h"

namespace
{
struct Host : CWnd
{
    BOOL Make(int w, int h)
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 500, w, h, NULL, NULL);
    }
};

std::wstring Fresh(const wchar_t* name)
{
    std::wstring folder = PushOutputFolder() + L"\\" + name;
    RemoveTree(folder);
    ::CreateDirectoryW(folder.c_str(), NULL);
    return folder;
}
} // namespace

TEST(PictureListBox, RowsShowFramedThumbnailsAndTheSelectedBox)
{
    std::wstring folder = Fresh(L"picture-list");
    std::wstring red = folder + L"\\red.png";
    ASSERT_TRUE(WriteSolidPicture(red, RGB(255, 0, 0)));
    Host host;
    ASSERT_TRUE(host.Make(220, 200));
    CPictureListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                                LBS_NOINTEGRALHEIGHT,
                            CRect(0, 0, 200, 180), &host, 1096));
    EXPECT_EQ(0, list.AddPicture(L"red", red.c_str(), 1));
    EXPECT_EQ(1, list.AddPicture(L"missing", (folder + L"\\none.png").c_str(), 0));
    EXPECT_EQ(2, list.AddPicture(L"blank", L"", 0));
    ASSERT_EQ(3, list.GetCount());
    EXPECT_EQ(44, list.GetItemHeight(0));
    ASSERT_NE(nullptr, list.GetEntry(0));
    EXPECT_NE(nullptr, list.GetEntry(0)->thumbnail);
    EXPECT_EQ(nullptr, list.GetEntry(1)->thumbnail) << "an unreadable picture has no thumbnail";
    EXPECT_EQ(1, list.GetEntry(0)->value);
    list.SetCurSel(0);
    list.UpdateWindow();
    PumpMessages();

    WindowPixels pixels(list.GetSafeHwnd());
    pixels.SavePng(PushOutputFolder() + L"\\picture-list.png");
    const struct
    {
        const char* what;
        int x, y;
        COLORREF colour;
    } probes[] = {
        {"selected box's edge", 1, 20, 0xEFE0BF},
        {"selected box's inside", 60, 3, 0xFFFAF1},
        {"thumbnail frame", 4, 20, 0xB4B4B4},
        {"thumbnail", 20, 20, RGB(255, 0, 0)},
        {"outside the box", 0, 20, 0xFFFFFF},
        {"unreadable picture keeps its frame", 4, 44 + 20, 0xB4B4B4},
        {"but shows no picture", 20, 44 + 20, 0xFFFFFF},
        {"a row without path has no frame", 4, 88 + 20, 0xFFFFFF},
        {"unselected row is white", 60, 44 + 3, 0xFFFFFF},
    };
    for (const auto& p : probes)
        EXPECT_EQ(p.colour, pixels.At(p.x, p.y)) << p.what;
    // Text is drawn only beside a thumbnail.
    RECT text0 = {40, 2, 180, 42}, text1 = {40, 46, 180, 86};
    EXPECT_GT(40 * 140 - pixels.Count(0xFFFAF1, &text0) - pixels.Count(0xFFFFFF, &text0), 0) << "text of row 0";
    EXPECT_EQ(40 * 140, pixels.Count(0xFFFFFF, &text1)) << "no text without a thumbnail";

    list.DeletePicture(1);
    ASSERT_EQ(2, list.GetCount());
    EXPECT_EQ(L"blank", W(list.GetEntry(1)->text));
    list.DeleteAllPictures();
    EXPECT_EQ(0, list.GetCount());
    list.DestroyWindow();
    host.DestroyWindow();
}

TEST(AvatarChooser, ListsOwnPicturesButNotTheCurrentAvatarAndDeletesOnlyOwn)
{
    LoadLanguageFile();
    std::wstring music = Fresh(L"chooser-music");
    ::SetEnvironmentVariableW(L"YEB_MYMUSIC", music.c_str());
    std::wstring own = music + L"\\yeb360\\lib\\private\\me@x.com\\avatar";
    CreateFolderPath(own.c_str());
    for (const wchar_t* name : {L"\\blue.jpg", L"\\green.jpg", L"\\me@x.com.jpg"})
    {
        std::wstring png = own + L"\\tmp.png";
        ASSERT_TRUE(WriteSolidPicture(png, name[1] == L'b' ? RGB(0, 0, 255) : RGB(0, 160, 0)));
        CString path = png.c_str();
        std::wstring base = std::wstring(name + 1);
        base = base.substr(0, base.size() - 4);
        ASSERT_EQ(1, CDlgSelectAvatar::ImportPictureTo(own.c_str(), path, base.c_str()));
        ::DeleteFileW(png.c_str());
    }
    CDlgSelectAvatar dialog(L"me@x.com");
    std::wstring rows;
    bool deleted = false, builtInKept = true;
    EXPECT_TRUE(DriveModal(IDC_AVATAR_LIST, [&] { dialog.DoModal(); },
                           [&](HWND window) {
                               CPictureListBox& list = dialog.m_list;
                               EXPECT_EQ(44, list.GetItemHeight(0));
                               int blue = -1, builtIn = -1;
                               for (int i = 0; i < list.GetCount(); ++i)
                               {
                                   AvatarListEntry* e = list.GetEntry(i);
                                   if (e->value == 0)
                                       rows += std::wstring(e->text) + L"|";
                                   if (e->text == L"blue" && e->value == 0)
                                       blue = i;
                                   if (e->value == 1 && builtIn < 0)
                                       builtIn = i;
                               }
                               // Choosing a row shows it in the preview.
                               list.SetCurSel(blue);
                               dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_AVATAR_LIST, LBN_SELCHANGE),
                                                  (LPARAM)list.GetSafeHwnd());
                               EXPECT_TRUE(dialog.m_preview.IsWindowVisible());
                               EXPECT_EQ(W((own + L"\\blue.jpg").c_str()), W(dialog.m_strChosen));
                               ::UpdateWindow(window);
                               PumpMessages();
                               SaveWindowPicture(window, PushOutputFolder() + L"\\avatar-chooser.png");
                               dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_AVATAR_DELETE, STN_CLICKED), 0);
                               deleted = ::GetFileAttributesW((own + L"\\blue.jpg").c_str()) ==
                                         INVALID_FILE_ATTRIBUTES;
                               EXPECT_EQ(L"green", W(list.GetEntry(list.GetCurSel())->text))
                                   << "the next row takes the selection";
                               if (builtIn >= 0)
                               {
                                   int before = list.GetCount();
                                   list.SetCurSel(builtIn < blue ? builtIn : builtIn - 1);
                                   dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_AVATAR_DELETE, STN_CLICKED), 0);
                                   builtInKept = list.GetCount() == before;
                               }
                               ClickButton(window, IDCANCEL);
                           }));
    EXPECT_EQ(L"blue|green|", rows) << "the current avatar is no choice";
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(builtInKept) << "built-in pictures cannot be deleted";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((own + L"\\me@x.com.jpg").c_str()));
}

TEST(SendSongList, ColumnClicksSortAscendingFirstAndTheSameColumnAgainReverses)
{
    Host host;
    ASSERT_TRUE(host.Make(320, 200));
    CListCtrlSendSong list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                LVS_OWNERDRAWFIXED,
                            CRect(0, 0, 300, 180), &host, 946));
    list.InsertColumn(0, L"title", LVCFMT_LEFT, 150);
    list.InsertColumn(1, L"artist", LVCFMT_LEFT, 148);
    const struct
    {
        const wchar_t *title, *artist;
    } songs[] = {{L"bravo", L"Zed"}, {L"Alpha", L"mia"}, {L"charlie", L"Abe"}};
    for (const auto& song : songs)
    {
        SendSongItem item;
        item.kind = SendSongItem::KIND_SONG;
        item.title = song.title;
        item.artist = song.artist;
        list.AddRow(item);
    }
    auto order = [&] {
        std::wstring titles;
        for (int i = 0; i < list.GetItemCount(); ++i)
            titles += std::wstring(list.GetRow(i)->title) + L",";
        return titles;
    };
    const struct
    {
        int column;
        const wchar_t* expected;
        int direction;
    } clicks[] = {
        {0, L"Alpha,bravo,charlie,", CListCtrlSendSong::SORT_ASCENDING}, // case does not count
        {0, L"charlie,bravo,Alpha,", CListCtrlSendSong::SORT_DESCENDING},
        {1, L"bravo,Alpha,charlie,", CListCtrlSendSong::SORT_DESCENDING}, // another column keeps the direction
        {1, L"charlie,Alpha,bravo,", CListCtrlSendSong::SORT_ASCENDING},
    };
    for (const auto& c : clicks)
    {
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = list.GetSafeHwnd();
        click.hdr.idFrom = 946;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iSubItem = c.column;
        host.SendMessage(WM_NOTIFY, 946, (LPARAM)&click);
        EXPECT_EQ(c.expected, order()) << "column " << c.column;
        EXPECT_EQ(c.direction, list.GetSortDirection());
    }
    EXPECT_EQ(25, [&] {
        CRect row;
        list.GetItemRect(0, &row, LVIR_BOUNDS);
        return row.Height();
    }());
    list.DestroyWindow();
    host.DestroyWindow();
}
