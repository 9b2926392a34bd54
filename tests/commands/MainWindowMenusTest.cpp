// Every pop-up menu of the main window and of the mini player, opened as a
// user opens it on a real signed-in window: the items shown are owner-drawn
// copies carrying the right ids, texts and states, and the window answers
// the menu's measure and draw requests through the menu object.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgMiniPlayer.h"
#include "LanguageTable.h"
#include "MainWindowRun.h"
#include "MenuEx.h"
#include "RecordingMessaging.h"
#include "SocialTestSupport.h"
#include "SongLibrary.h"
#include "resource.h"

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace
{
const COLORREF kImageColumn = RGB(0xEE, 0xED, 0xF0);
const COLORREF kSelectionFill = RGB(0xC1, 0xD2, 0xEE);

// What the window thread saw of the last menu shown.
struct ShownMenu
{
    HMENU popup = NULL;
    std::wstring items;       // "id,-,p,~id" (separator, pop-up, greyed)
    std::wstring texts;       // the items' record texts joined by "|"
    int ownerDrawn = 0;       // items of the popup typed MFT_OWNERDRAW
    int count = 0;
    int measured = 0, measuredOurs = 0; // measure requests, answered 24 or 10 high
    int drawn = 0, drawnOurs = 0;       // draw requests, the image column painted
    bool shown = false;
};
ShownMenu g_shown;
HHOOK g_hook = NULL;

void ReadPopup(HMENU popup)
{
    g_shown.popup = popup;
    g_shown.count = ::GetMenuItemCount(popup);
    for (int pos = 0; pos < g_shown.count; ++pos)
    {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_ID | MIIM_SUBMENU;
        ::GetMenuItemInfoW(popup, pos, TRUE, &info);
        if (pos)
        {
            g_shown.items += L",";
            g_shown.texts += L"|";
        }
        if (info.fType & MFT_SEPARATOR)
            g_shown.items += L"-";
        else if (info.hSubMenu)
            g_shown.items += L"p";
        else
            g_shown.items += ((info.fState & MFS_GRAYED) ? L"~" : L"") + std::to_wstring(info.wID);
        g_shown.ownerDrawn += (info.fType & MFT_OWNERDRAW) != 0;
        if (auto* record = reinterpret_cast<CMenuEx::Item*>(info.dwItemData))
            g_shown.texts += (const wchar_t*)record->text;
    }
}

// After the window has answered: the items as the menu holds them when it
// opens, the answers to measuring and drawing, and the end of the menu
// once it waits for the user.
LRESULT CALLBACK WatchMenus(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION)
    {
        const CWPRETSTRUCT* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        switch (sent->message)
        {
        case WM_INITMENUPOPUP:
            if (!g_shown.popup)
                ReadPopup(reinterpret_cast<HMENU>(sent->wParam));
            break;
        case WM_MEASUREITEM:
        {
            const MEASUREITEMSTRUCT* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(sent->lParam);
            if (mis->CtlType == ODT_MENU)
            {
                ++g_shown.measured;
                g_shown.measuredOurs += mis->itemHeight == 24 || mis->itemHeight == 10;
            }
            break;
        }
        case WM_DRAWITEM:
        {
            const DRAWITEMSTRUCT* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(sent->lParam);
            if (dis->CtlType == ODT_MENU)
            {
                ++g_shown.drawn;
                COLORREF column = ::GetPixel(dis->hDC, dis->rcItem.left + 2, dis->rcItem.top + 1);
                g_shown.drawnOurs += column == kImageColumn || ((dis->itemState & ODS_SELECTED) && column == kSelectionFill);
                // Every item drawn: the user has seen the menu.
                if (g_shown.count && g_shown.drawn >= g_shown.count && !g_shown.shown)
                {
                    g_shown.shown = true;
                    ::EndMenu();
                }
            }
            break;
        }
        case WM_ENTERIDLE:
            if (sent->wParam == MSGF_MENU && !g_shown.shown)
            {
                g_shown.shown = true;
                ::EndMenu();
            }
            break;
        }
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

// Opens a menu and waits until it has closed; a menu still open after ten
// seconds is closed so that a fault shows as a failure, not a hang.
bool OpenAndClose(const std::function<void()>& open)
{
    HANDLE done = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    bool stuck = false;
    std::thread watchdog([&] {
        if (::WaitForSingleObject(done, 10000) == WAIT_TIMEOUT)
        {
            stuck = true;
            ::EndMenu();
        }
    });
    open();
    ::SetEvent(done);
    watchdog.join();
    ::CloseHandle(done);
    return !stuck;
}

void WriteOwnLibrary(const std::wstring& path)
{
    CSongLibrary library;
    library.AddSong(LibrarySong(L"s1", L"Alpha"));
    library.AddSong(LibrarySong(L"s2", L"Bravo"));
    library.AddOrUpdatePlaylist(LibraryList(L"Mix", PLAYLIST_KIND_USER, {L"s2", L"s1"}));
    AddSpecialLists(library, {});
    CreateFoldersAlongPath(path.c_str());
    ASSERT_EQ(S_OK, library.SaveToFile(path.c_str()));
}
} // namespace

TEST(MainWindowMenus, EveryPopupIsShownOwnerDrawnWithItsItems)
{
    // Buddies' notices and questions stay off the screen.
    auto savedPopup = CDlgMain::s_startPopup;
    auto savedAsk = CDlgMain::s_askUser;
    CDlgMain::s_startPopup = [](const CString&, const CString&, const CString&) {};
    CDlgMain::s_askUser = &AnswerAskUserOk;
    MainWindowRun run(L"menus-owner-drawn");
    run.App().SetUserEmail(L"me@x.com");
    WriteOwnLibrary(run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml");
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({L"bob@x.com"});
        run.Deliver(MakeRecord(6, {L"bob@x.com", L"", L"", L"0"}, 0));
        CDlgMain& main = run.Main();
        HWND window = main.GetSafeHwnd();
        int mix = -1, bob = -1;
        run.OnWindowThread([&] {
            g_hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, WatchMenus, NULL, ::GetCurrentThreadId());
            main.SelectLeftItem(0);
            mix = main.m_listSongLists.FindList(L"Mix");
            main.ShowSongList(0, FALSE, TRUE);
            main.m_listSongs.SetItemState(-1, 0, LVIS_SELECTED);
            main.m_listSongs.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
            g_pAppSetting->wPrivacy = 0;
            bob = main.LeftBar().FindItem(L"bob@x.com");
            if (CFriendItem* row = main.LeftBar().GetItem(bob))
                row->buttons = 0; // no card: its item greyed
        });
        ASSERT_NE(nullptr, g_hook);
        ASSERT_GE(mix, 0);
        ASSERT_GE(bob, 0);
        ::SetForegroundWindow(window);

        auto onWindow = [&](std::function<void(CDlgMain&)> open) {
            return [&run, open] { run.OnWindowThread([&] { open(run.Main()); }); };
        };
        auto send = [](HWND to, UINT message, WPARAM wParam, LPARAM lParam) {
            return [=] { ::SendMessageW(to, message, wParam, lParam); };
        };
        auto lang = [](LPCWSTR key) { return std::wstring((const wchar_t*)Lang(key)); };
        const std::wstring mainItems = L"p,32814,32777,32847,-,32820,32821,32774,32836,-,32846,32780";
        const std::wstring mainTexts = L"我的状态|系统设置|添加好友|邀请好友||意见反馈|帮助|访问网站|关于 Yeb360||注销|退出";
        struct Case
        {
            const char* what;
            std::function<void()> open;
            std::wstring items, texts;
        } cases[] = {
            {"song row", onWindow([](CDlgMain& m) { m.ShowSongRowMenu(1, 0); }), L"32794,32795,32869,-,32798",
             lang(L"INFO_PLAYER_PLAY") + L"|" + lang(L"INFO_MENU_SEND_SONG") + L"|" +
                 lang(L"INFO_MUSIC_GOOGLE_SEARCH") + L"||" + lang(L"INFO_MENU_DEL_FROM_SONGLIST")},
            {"song-list row", onWindow([mix](CDlgMain& m) { m.ShowSongListsMenu(mix); }), L"771,772,770,-,773",
             lang(L"INFO_PLAYER_PLAY") + L"/" + lang(L"INFO_PLAYER_STOP") + L"|" + lang(L"INFO_MENU_ADDSONG") +
                 L"|" + lang(L"INFO_MENU_RENAME_SONGLIST") + L"||" + lang(L"INFO_MENU_DEL_SONGLIST")},
            {"song-list space (351, popup 8)", onWindow([](CDlgMain& m) { m.ShowSongListsMenu(-1); }),
             L"32806,32808", L"新建歌单|导入文件夹"},
            {"left-bar row (351, popup 3)", onWindow([bob](CDlgMain& m) { m.ShowLeftBarRowMenu(bob); }),
             L"32787,32805,32776,~32815,32817,32803", L"发送消息|送歌给好友|推荐好友|查看好友的好友|打开歌曲库|删除好友"},
            {"main menu 321", send(window, WM_COMMAND, IDC_MAIN_MENU, 0), mainItems, mainTexts},
            {"status menu 352", send(window, WM_COMMAND, IDC_MAIN_NICK, 0), L"32839,32834,32833,32842,-,32814,32775",
             L"在线|忙碌|离开|隐身||修改昵称|更换头像"},
            {"tray menu", send(window, WM_MAIN_TRAY_NOTIFY, ID_TRAY_ICON, WM_RBUTTONDOWN), mainItems, mainTexts},
        };
        for (const Case& c : cases)
        {
            SCOPED_TRACE(c.what);
            g_shown = ShownMenu();
            EXPECT_TRUE(OpenAndClose(c.open)) << "the menu closes";
            EXPECT_TRUE(g_shown.shown) << "the menu was shown";
            EXPECT_EQ(c.items, g_shown.items);
            EXPECT_EQ(c.texts, g_shown.texts);
            EXPECT_EQ(g_shown.count, g_shown.ownerDrawn);
            EXPECT_GE(g_shown.measured, g_shown.count);
            EXPECT_EQ(g_shown.measured, g_shown.measuredOurs);
            EXPECT_GE(g_shown.drawn, g_shown.count);
            EXPECT_EQ(g_shown.drawn, g_shown.drawnOurs);
        }

        // The mini player's menu (351, popup 7) offers one of the topmost entries.
        ::PostMessageW(window, WM_COMMAND, IDC_MAIN_MINI_PLAYER, 0);
        auto stripShown = [&] {
            return main.m_miniPlayer && main.m_miniPlayer->GetSafeHwnd() &&
                   ::IsWindowVisible(main.m_miniPlayer->GetSafeHwnd()) && main.m_miniPlayer->GetAlpha() >= 255;
        };
        ASSERT_TRUE(run.WaitUntil(stripShown, 5000));
        HWND strip = main.m_miniPlayer->GetSafeHwnd();
        RECT rect;
        ::GetWindowRect(strip, &rect);
        g_shown = ShownMenu();
        EXPECT_TRUE(OpenAndClose(
            [&] { ::SendMessageW(strip, WM_CONTEXTMENU, (WPARAM)strip, MAKELPARAM(rect.left + 40, rect.top + 10)); }));
        EXPECT_TRUE(g_shown.shown);
        EXPECT_EQ(L"32803,32802,32799,32780", g_shown.items);
        EXPECT_EQ(L"显示主窗口|窗口总在最前|关闭窗口|退出", g_shown.texts);
        EXPECT_EQ(4, g_shown.ownerDrawn);
        EXPECT_GE(g_shown.measured, 4);
        EXPECT_EQ(g_shown.measured, g_shown.measuredOurs);
        EXPECT_GE(g_shown.drawn, 4);
        EXPECT_EQ(g_shown.drawn, g_shown.drawnOurs);
        ::PostMessageW(window, WM_MINI_SHOW_MAIN, 0, 0);
        run.WaitUntil([&] { return !main.m_miniPlayer; }, 5000);
        run.OnWindowThread([] {
            ::UnhookWindowsHookEx(g_hook);
            g_hook = NULL;
        });
    });
    EXPECT_TRUE(ran);
    CDlgMain::s_startPopup = savedPopup;
    CDlgMain::s_askUser = savedAsk;
}
