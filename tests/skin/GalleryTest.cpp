// One window with every kind of skinned window this framework draws: a
// sizable frame with both scroll bars, a captioned tool window inside it,
// scroll-bar controls and a size grip, progress bars across and up, and a
// list view in the skin's window colours. The
// picture is kept as test-output\skin\skin-gallery.png for people to look at.
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectFrame.h"
#include "SFSkinObjectListView.h"
#include "SFSkinObjectProgress.h"
#include "SFSkinObjectScrollBar.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <commctrl.h>
#include <gtest/gtest.h>

TEST(GalleryTest, EveryKindOfSkinnedWindowInOnePicture)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    CSFSkinFramework* manager = GetSkinFramework();
    manager->SetApplyToNewWindows(FALSE);
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    HINSTANCE instance = GetModuleHandleW(NULL);
    HWND gallery = CreateWindowExW(0, PlainWindowClass(), L"Skin gallery",
                                   WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 20, 20, 560, 400, NULL,
                                   NULL, instance, NULL);
    ASSERT_NE(nullptr, gallery);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 99, 20, 40, 0};
    SetScrollInfo(gallery, SB_VERT, &si, FALSE);
    SetScrollInfo(gallery, SB_HORZ, &si, FALSE);
    HWND tool = CreateWindowExW(WS_EX_TOOLWINDOW, PlainWindowClass(), L"Tool window",
                                WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10, 10, 200, 90, gallery, NULL,
                                instance, NULL);
    HWND vbar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 230, 10, 16, 200, gallery,
                                NULL, instance, NULL);
    HWND hbar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 260, 10, 240, 16, gallery,
                                NULL, instance, NULL);
    HWND grip = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 480, 300, 16, 16,
                                gallery, NULL, instance, NULL);
    SetScrollInfo(vbar, SB_CTL, &si, FALSE);
    si.nPos = 70;
    SetScrollInfo(hbar, SB_CTL, &si, FALSE);
    HWND progress = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 260, 40, 240, 18, gallery, NULL,
                                    instance, NULL);
    SendMessageW(progress, PBM_SETPOS, 60, 0);
    HWND upright = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_VERTICAL, 260, 70, 18, 140,
                                   gallery, NULL, instance, NULL);
    SendMessageW(upright, PBM_SETPOS, 70, 0);
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 300, 100, 220,
                                120, gallery, NULL, instance, NULL);
    LVCOLUMNW column = {LVCF_TEXT | LVCF_WIDTH, 0, 180, const_cast<wchar_t*>(L"Song")};
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, (LPARAM)&column);
    for (int i = 0; i < 12; i++)
    {
        wchar_t text[32];
        wsprintfW(text, L"Song %d", i + 1);
        LVITEMW item = {LVIF_TEXT, i, 0, 0, 0, text};
        SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item);
    }
    manager->ApplyWindow(gallery);

    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectFrame*>(manager->Lookup(gallery)));
    EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectFrame*>(manager->Lookup(tool)));
    for (HWND bar : {vbar, hbar, grip})
        EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectScrollBar*>(manager->Lookup(bar)));
    for (HWND bar : {progress, upright})
        EXPECT_NE(nullptr, dynamic_cast<CSFSkinObjectProgress*>(manager->Lookup(bar)));

    TakeWindowShot(gallery);
    KeepWindowPicture(gallery, L"skin-gallery");
    // The tool window's caption is the style's small caption, with only the
    // small close button.
    CSFSkinObjectListView* listObject = dynamic_cast<CSFSkinObjectListView*>(manager->Lookup(list));
    ASSERT_NE(nullptr, listObject);
    EXPECT_EQ(manager->GetMetrics()->GetColor(COLOR_WINDOW), (COLORREF)SendMessageW(list, LVM_GETBKCOLOR, 0, 0));
    WindowShot shot = TakeWindowShot(tool);
    RECT smallCaption = {100, 4, 140, 12};
    EXPECT_GT(shot.CountIn(smallCaption, StylePictureColours(L"SmallCaption.bmp")), 250);
    CSFSkinObjectFrame* toolFrame = dynamic_cast<CSFSkinObjectFrame*>(manager->Lookup(tool));
    ASSERT_NE(nullptr, toolFrame);
    ASSERT_EQ(1u, toolFrame->GetButtons().size());
    EXPECT_EQ(19, toolFrame->GetButtons()[0]->part);

    DestroyWindow(gallery);
    manager->RemoveAll(TRUE);
    manager->LoadSkin(L"", L"");
}
