// The own library in the main window: the left bar's own row, the song-list
// list with its ids and counts, the song list with its rows and icons; song
// lists created, renamed and deleted; rows moved and dropped on lists by the
// song pane's messages, and the order kept in the library file.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "MainWindowRun.h"
#include "RecordingMessaging.h"
#include "SocialTestSupport.h"
#include "SongLibrary.h"
#include "SongPaneRows.h"
#include "SongListTexts.h"
#include "resource.h"

#include <string>
#include <vector>

namespace
{
struct Asked
{
    std::wstring text;
    int buttons;
};
std::vector<Asked> g_asked;
int g_answer = IDOK;

int RecordQuestion(LPCWSTR text, int buttons, LPCWSTR, int, CWnd*)
{
    g_asked.push_back({text ? text : L"", buttons});
    return g_answer;
}



// The own library of the tests: four own songs, a buddy's song in the buddy
// playlist, and the list "Mix".
void WriteOwnLibrary(const std::wstring& path)
{
    CSongLibrary library;
    library.AddSong(LibrarySong(L"s1", L"Alpha", L"0"));
    library.AddSong(LibrarySong(L"s2", L"Bravo", L"0", L"Singer", L"2400000000"));
    library.AddSong(LibrarySong(L"s3", L"Charlie", L"0"));
    library.AddSong(LibrarySong(L"s4", L"Delta", L"0"));
    CSongInfo pushed = LibrarySong(L"b1", L"Echo", L"2");
    pushed.SetOwner(L"bob@x.com");
    library.AddSong(pushed);
    library.AddOrUpdatePlaylist(LibraryList(L"Mix", PLAYLIST_KIND_USER, {L"s3", L"s1"}));
    AddSpecialLists(library, {L"b1"});
    CreateFoldersAlongPath(path.c_str());
    ASSERT_EQ(S_OK, library.SaveToFile(path.c_str()));
}

// Song rows as "title:action|" (action: the row's icon, -1 push, 1 download).
std::wstring SongRows(CDlgMain& main)
{
    std::wstring rows;
    for (int i = 0; i < main.m_listSongs.GetItemCount(); ++i)
    {
        SongRowData* r = main.m_listSongs.GetRow(i);
        wchar_t line[256];
        swprintf(line, 256, L"%ls:%d|", (LPCWSTR)r->title, r->actionIcon);
        rows += line;
    }
    return rows;
}

std::wstring FileOrder(const std::wstring& path, LPCWSTR list = nullptr)
{
    CSongLibrary library;
    if (FAILED(library.LoadFromFile(path.c_str())))
        return L"unreadable";
    std::wstring ids;
    if (!list)
    {
        for (int i = 0; i < library.GetSongCount(); ++i)
        {
            CSongInfo song;
            library.GetSongAt(i, song);
            ids += std::wstring(song.GetId()) + L",";
        }
        return ids;
    }
    CPlaylist playlist;
    if (FAILED(library.GetPlaylistByName(list, playlist)))
        return L"missing";
    for (int i = 0; i < playlist.GetSongCount(); ++i)
    {
        CString id;
        playlist.GetSongIdAt(i, id);
        ids += std::wstring(id) + L",";
    }
    return ids;
}

int SongRowOf(CListCtrlSong& songs, LPCWSTR title)
{
    for (int i = 0; i < songs.GetItemCount(); ++i)
        if (songs.GetRow(i) && songs.GetRow(i)->title == title)
            return i;
    return -1;
}

int CALLBACK TitlesDown(LPARAM a, LPARAM b, LPARAM)
{
    return -wcscmp(reinterpret_cast<SongRowData*>(a)->title, reinterpret_cast<SongRowData*>(b)->title);
}

void SelectOnly(CListCtrl& list, std::initializer_list<int> rows)
{
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows)
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

// The editor's report of the end of a rename, as the in-place editor sends it.
LRESULT EndRenameWith(CDlgMain& main, LPCWSTR text, int reason, WPARAM key = VK_RETURN)
{
    CInPlaceEdit* editor = main.m_listSongLists.GetEditor();
    editor->SetWindowText(text);
    InPlaceEditNotify note{editor->GetSafeHwnd(), reason,
                           reason == CInPlaceEdit::REASON_KEY ? (INT_PTR)key : (INT_PTR)main.GetSafeHwnd(), 0, 0, -1};
    return main.m_listSongLists.SendMessage(GetInPlaceEditMessage(), 0, (LPARAM)&note);
}

class SongLibraryWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CDlgMain::s_askUser = &RecordQuestion;
        g_asked.clear();
        g_answer = IDOK;
    }
};
} // namespace

TEST(SongListTexts, FieldsAreFilledFromTypedValuesInOrder)
{
    struct Case
    {
        const wchar_t* format;
        const wchar_t* expected;
    } cases[] = {
        {L"%s (%d)", L"Mix (3)"},
        {L"%s|%s|%.2d:%.2d", L"Mix|3|07:05"}, // a number given to %s is written in decimal
        {L"100%% %s", L"100% Mix"},
        {L"%s %s %s %s %s", L"Mix 3 7 5 "},     // fields without values are left out
        {L"%d%s", L"Mix3"},                     // a text given to %d stays a text
        {L"end %", L"end %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.expected),
                  std::wstring(FormatListText(c.format, {L"Mix", 3, 7, 5})))
            << std::wstring(c.format);
}

TEST_F(SongLibraryWindow, OwnLibraryListsRowsAndNewLists)
{
    MainWindowRun run(L"songs-own");
    run.App().SetUserEmail(L"me@x.com");
    std::wstring file = run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml";
    WriteOwnLibrary(file);
    RecordingMessaging messaging;
    const std::wstring all = std::wstring(Lang(L"STR_MAIN_TOTAL_SONGLIST_NAME"));
    const std::wstring buddies = std::wstring(Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"));
    const std::wstring recent = std::wstring(Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME"));
    const std::wstring unnamed = std::wstring(Lang(L"STR_MAIN_UNNAMED_SONGLIST_NAME"));
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({L"bob@x.com"});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            // The lists by id: all songs, the own list, the buddy playlist,
            // the recent list; all songs counts the own songs only.
            EXPECT_EQ(all + L":10000:4|Mix:10001:2|" + buddies + L":20000:1|" + recent + L":30000:0|", ListRows(main));
            EXPECT_EQ(4, main.LeftBar().GetItem(0)->totalSongs);
            EXPECT_EQ(L"Alpha:-1|Bravo:-1|Charlie:-1|Delta:-1|", SongRows(main)) << "own songs carry the push icon";
            EXPECT_EQ(W(main.m_strUserEmail), W(main.m_listSongs.GetRow(0)->owner));
            EXPECT_EQ(240000u, main.m_listSongs.GetRow(1)->duration);

            main.ShowSongList(1, FALSE, TRUE);
            EXPECT_EQ(L"Charlie:-1|Alpha:-1|", SongRows(main));
            main.ShowSongList(2, FALSE, TRUE);
            EXPECT_EQ(L"Echo:0|", SongRows(main)) << "a buddy's song shows only in the special lists, without push";
            EXPECT_EQ(W(L"bob@x.com"), W(main.m_listSongs.GetRow(0)->owner));
            EXPECT_EQ(2, main.m_listSongs.GetRow(0)->sourceKind);
            main.ShowSongList(99, FALSE, TRUE); // out of range: nothing
            EXPECT_EQ(L"Echo:0|", SongRows(main));
            main.ShowSongList(0, FALSE, TRUE);
            CaptureWindowPicture(main.GetSafeHwnd(), L"main-window-own-library.png");

            // New lists without a name: the first free unnamed names, each
            // with the smallest free id, placed before the special lists and
            // opened for renaming.
            EXPECT_EQ(1, main.CreateSongList(L""));
            EXPECT_GE(main.m_listSongLists.GetEditedRow(), 0);
            main.m_listSongLists.EndRename(TRUE);
            EXPECT_EQ(1, main.CreateSongList(L""));
            main.m_listSongLists.EndRename(TRUE);
            EXPECT_EQ(all + L":10000:4|Mix:10001:2|" + unnamed + L"0:10002:0|" + unnamed + L"1:10003:0|" + buddies +
                          L":20000:1|" + recent + L":30000:0|",
                      ListRows(main));
            EXPECT_EQ(0, main.CreateSongList(L"Mix"));
            EXPECT_EQ(0, main.CreateSongList(CString(buddies.c_str()))) << "an existing list comes first";
            EXPECT_EQ(2, main.CreateSongList(CString(all.c_str())));
            EXPECT_EQ(1, main.CreateSongList(L"Road"));
            EXPECT_EQ(10004, main.m_listSongLists.GetRow(main.m_listSongLists.FindList(L"Road"))->listId);
        });
        EXPECT_EQ(L"", FileOrder(file, (unnamed + L"1").c_str())) << "an unnamed list is saved at once";

        // Renames: the same name, an empty name, a taken or reserved name
        // are refused; a new name is stored.
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            CListCtrlCD& lists = main.m_listSongLists;
            int road = lists.FindList(L"Road");
            lists.SetItemState(-1, 0, LVIS_SELECTED);
            main.ShowSongList(road, FALSE, TRUE);
            lists.SetItemState(road, LVIS_SELECTED, LVIS_SELECTED);
            lists.m_nCurrentRow = road;
            struct Case
            {
                std::wstring text;
                const wchar_t* message;
            } refused[] = {{L"", L"INFO_CHILD_SONG_EMPTY_SONGLIST"},
                           {L"Mix", L"INFO_CHILD_SONG_SAME_SONGLIST"},
                           {buddies, L"INFO_CHILD_SONG_SAME_SONGLIST"},
                           {all, L"INFO_CHILD_SONG_SAME_SONGLIST"},
                           {L"  Road ", nullptr}};
            for (const Case& c : refused)
            {
                g_asked.clear();
                main.SendMessage(WM_COMMAND, ID_SONGLIST_RENAME, 0);
                ASSERT_EQ(road, lists.GetEditedRow());
                EXPECT_EQ(1, EndRenameWith(main, c.text.c_str(), CInPlaceEdit::REASON_KEY));
                EXPECT_EQ(-1, lists.GetEditedRow());
                EXPECT_EQ(W(L"Road"), W(lists.GetListName(road))) << c.text;
                if (c.message)
                {
                    ASSERT_EQ(1u, g_asked.size()) << c.text;
                    EXPECT_EQ(std::wstring(Lang(c.message)), g_asked[0].text);
                }
                else
                    EXPECT_TRUE(g_asked.empty());
                PumpMessages(); // the editor reopens after a refusal
                lists.EndRename(TRUE);
            }
            main.SendMessage(WM_COMMAND, ID_SONGLIST_RENAME, 0);
            EndRenameWith(main, L" Trip ", CInPlaceEdit::REASON_FOCUS_LOST);
            EXPECT_EQ(W(L"Trip"), W(lists.GetListName(road)));
            EXPECT_EQ(W(L"Trip"), W(main.m_strShownListName));
        });
        EXPECT_EQ(L"", FileOrder(file, L"Trip"));
        EXPECT_EQ(L"missing", FileOrder(file, L"Road"));

        // Deleting a list frees its id; the ids of the other lists stay, and
        // the next list takes the freed one.
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            CListCtrlCD& lists = main.m_listSongLists;
            SelectOnly(lists, {lists.FindList((unnamed + L"0").c_str())});
            g_asked.clear();
            main.SendMessage(WM_COMMAND, ID_SONGLIST_DELETE, 0);
            ASSERT_EQ(1u, g_asked.size());
            EXPECT_EQ(CDlgMessage::BUTTONS_OK_CANCEL, g_asked[0].buttons);
            EXPECT_EQ(-1, lists.FindList((unnamed + L"0").c_str()));
            EXPECT_EQ(10003, lists.GetRow(lists.FindList((unnamed + L"1").c_str()))->listId);
            EXPECT_EQ(1, main.CreateSongList(L"Next"));
            EXPECT_EQ(10002, lists.GetRow(lists.FindList(L"Next"))->listId);
            // The special lists and all songs are never deleted.
            SelectOnly(lists, {0, lists.GetItemCount() - 1});
            g_asked.clear();
            main.SendMessage(WM_COMMAND, ID_SONGLIST_DELETE, 0);
            EXPECT_TRUE(g_asked.empty());
        });
        EXPECT_EQ(L"missing", FileOrder(file, (unnamed + L"0").c_str()));
    });
    EXPECT_TRUE(ran) << "the main window never showed";
}

TEST_F(SongLibraryWindow, RowsMoveAndDropAndTheOrderIsKept)
{
    MainWindowRun run(L"songs-move");
    run.App().SetUserEmail(L"me@x.com");
    std::wstring file = run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml";
    WriteOwnLibrary(file);
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            // A song of the shown list plays.
            main.m_strPlayingOwner = main.m_strUserEmail;
            main.m_strPlayingListName = main.m_strShownListName;
            main.m_strPlayingSongId = L"s2";
            main.m_playingLibrary = main.m_shownLibrary;
            main.m_bHasPlayingLibrary = TRUE;
            main.m_nPlayingIndex = 1;

            // Rows 0 and 1 moved before row 3: counted after they were taken out.
            SelectOnly(main.m_listSongs, {0, 1});
            main.SendMessage(WM_MAIN_MOVE_SONG_ROWS, 1, 3);
            EXPECT_EQ(L"Charlie:-1|Alpha:-1|Bravo:-1|Delta:-1|", SongRows(main));
            EXPECT_EQ(2, main.m_nPlayingIndex) << "the playing song's place follows it";
            EXPECT_EQ(2u, main.m_listSongs.GetSelectedCount());
            // No insertion point: nothing moves.
            main.SendMessage(WM_MAIN_MOVE_SONG_ROWS, 1, -1);
            EXPECT_EQ(L"Charlie:-1|Alpha:-1|Bravo:-1|Delta:-1|", SongRows(main));
        });
        EXPECT_EQ(L"s3,s1,s2,s4,b1,", FileOrder(file)) << "the buddy's song stays at the end";
        EXPECT_EQ(L"s3,s1,", FileOrder(file, L"Mix")) << "the lists keep their songs";

        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            // A restart reads the saved order.
            main.LoadMyLibrary(TRUE);
            EXPECT_EQ(L"Charlie:-1|Alpha:-1|Bravo:-1|Delta:-1|", SongRows(main));

            // Reordering inside a list writes that list only.
            main.ShowSongList(main.m_listSongLists.FindList(L"Mix"), FALSE, TRUE);
            SelectOnly(main.m_listSongs, {1});
            main.SendMessage(WM_MAIN_MOVE_SONG_ROWS, 1, 0);
            EXPECT_EQ(L"Alpha:-1|Charlie:-1|", SongRows(main));

            // Drops on all songs, the last two rows or the shown list are refused.
            main.ShowSongList(0, FALSE, TRUE);
            SelectOnly(main.m_listSongs, {3});
            CListCtrlCD& lists = main.m_listSongLists;
            int count = lists.GetItemCount();
            for (int row : {-1, 0, count - 2, count - 1})
                main.SendMessage(WM_MAIN_DROP_ON_LIST, 0, row);
            EXPECT_EQ(2, lists.GetRow(lists.FindList(L"Mix"))->songCount);
        });
        EXPECT_EQ(L"s1,s3,", FileOrder(file, L"Mix"));
        EXPECT_EQ(L"s3,s1,s2,s4,b1,", FileOrder(file));

        // A drag of the selected row from the song list onto "Mix", driven by
        // the pane's mouse messages.
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            CDlgChildSong& pane = main.m_paneSong;
            CListCtrlCD& lists = main.m_listSongLists;
            SelectOnly(main.m_listSongs, {3});
            CRect songRow, listRow;
            main.m_listSongs.GetItemRect(3, &songRow, LVIR_BOUNDS);
            NMLISTVIEW begin = {};
            begin.hdr.hwndFrom = main.m_listSongs.GetSafeHwnd();
            begin.hdr.idFrom = IDC_SONG_LIST;
            begin.hdr.code = LVN_BEGINDRAG;
            begin.iItem = 3;
            begin.ptAction = CPoint(songRow.left + 40, songRow.CenterPoint().y);
            pane.SendMessage(WM_NOTIFY, IDC_SONG_LIST, (LPARAM)&begin);
            ASSERT_TRUE(pane.IsDragging());
            auto paneAt = [&](CWnd& list, CPoint p) {
                list.ClientToScreen(&p);
                pane.ScreenToClient(&p);
                return MAKELPARAM(p.x, p.y);
            };
            // Over all songs: no drop.
            lists.GetItemRect(0, &listRow, LVIR_BOUNDS);
            pane.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, paneAt(lists, listRow.CenterPoint()));
            EXPECT_EQ(CDlgChildSong::DRAG_OVER_LISTS, pane.GetDragTarget());
            EXPECT_FALSE(pane.DropAllowed());
            // Over "Mix": allowed and framed.
            int mix = lists.FindList(L"Mix");
            lists.GetItemRect(mix, &listRow, LVIR_BOUNDS);
            pane.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, paneAt(lists, listRow.CenterPoint()));
            EXPECT_TRUE(pane.DropAllowed());
            EXPECT_EQ(mix, lists.GetDropTarget());
            pane.SendMessage(WM_LBUTTONUP, 0, paneAt(lists, listRow.CenterPoint()));
            EXPECT_FALSE(pane.IsDragging());
            EXPECT_EQ(-1, lists.GetDropTarget());
            EXPECT_EQ(3, lists.GetRow(mix)->songCount);

            // Within the song list: the insertion mark follows the mouse and the
            // drop moves the row there.
            SelectOnly(main.m_listSongs, {0});
            main.m_listSongs.GetItemRect(0, &songRow, LVIR_BOUNDS);
            begin.iItem = 0;
            begin.ptAction = CPoint(songRow.left + 40, songRow.CenterPoint().y);
            pane.SendMessage(WM_NOTIFY, IDC_SONG_LIST, (LPARAM)&begin);
            main.m_listSongs.GetItemRect(2, &songRow, LVIR_BOUNDS);
            CPoint lower(songRow.left + 40, songRow.bottom - 3);
            pane.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, paneAt(main.m_listSongs, lower));
            EXPECT_EQ(CDlgChildSong::DRAG_OVER_SONGS, pane.GetDragTarget());
            EXPECT_EQ(3, main.m_listSongs.GetInsertIndex());
            pane.SendMessage(WM_LBUTTONUP, 0, paneAt(main.m_listSongs, lower));
            EXPECT_EQ(L"Alpha:-1|Bravo:-1|Charlie:-1|Delta:-1|", SongRows(main));
            CaptureWindowPicture(main.GetSafeHwnd(), L"main-window-after-drag.png");
        });
        EXPECT_EQ(L"s1,s3,s4,", FileOrder(file, L"Mix"));
        EXPECT_EQ(L"s1,s2,s3,s4,b1,", FileOrder(file));
    });
    EXPECT_TRUE(ran) << "the main window never showed";
}

TEST_F(SongLibraryWindow, SongListControlSortsAndTellsAboutRows)
{
    MainWindowRun run(L"songs-controls");
    run.App().SetUserEmail(L"me@x.com");
    std::wstring file = run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml";
    WriteOwnLibrary(file);
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            CListCtrlSong& songs = main.m_listSongs;
            // The board column does not sort; the title toggles 1, 2; the
            // duration puts the longer song first in order 1.
            songs.SortByColumn(CListCtrlSong::COLUMN_BOARD);
            EXPECT_EQ(-1, songs.GetSortColumn());
            EXPECT_EQ(L"Alpha:-1|Bravo:-1|Charlie:-1|Delta:-1|", SongRows(main));
            songs.SortByColumn(CListCtrlSong::COLUMN_TITLE);
            songs.SortByColumn(CListCtrlSong::COLUMN_TITLE);
            EXPECT_EQ(2, songs.GetSortOrder());
            EXPECT_EQ(L"Delta:-1|Charlie:-1|Bravo:-1|Alpha:-1|", SongRows(main));
            songs.ResetSortState(FALSE);
            songs.SortByColumn(CListCtrlSong::COLUMN_DURATION);
            EXPECT_EQ(1, songs.GetSortOrder());
            EXPECT_EQ(W(L"Bravo"), W(songs.GetRow(0)->title));
        });
        // A sort is saved as the list's order.
        EXPECT_EQ(L"s2,", FileOrder(file).substr(0, 3));

        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            CListCtrlSong& songs = main.m_listSongs;
            // Icons and hits: the push icon at the title's right end, the board
            // icon at the board column's left.
            CRect row;
            songs.GetItemRect(0, &row, LVIR_BOUNDS);
            int width0 = songs.GetColumnWidth(0);
            int r, sub;
            BOOL onIcon;
            ASSERT_TRUE(songs.HitTestSubItem(CPoint(row.left + width0 - 20, row.CenterPoint().y), r, sub, onIcon));
            EXPECT_EQ(0, r);
            EXPECT_EQ(0, sub);
            EXPECT_TRUE(onIcon);
            ASSERT_TRUE(songs.HitTestSubItem(CPoint(row.left + 40, row.CenterPoint().y), r, sub, onIcon));
            EXPECT_FALSE(onIcon);
            int boardLeft = row.left;
            for (int c = 0; c < CListCtrlSong::COLUMN_BOARD; ++c)
                boardLeft += songs.GetColumnWidth(c);
            ASSERT_TRUE(songs.HitTestSubItem(CPoint(boardLeft + 5, row.CenterPoint().y), r, sub, onIcon));
            EXPECT_EQ(CListCtrlSong::COLUMN_BOARD, sub);
            EXPECT_TRUE(onIcon);
            EXPECT_FALSE(songs.HitTestSubItem(CPoint(row.left + 5, row.top - 200), r, sub, onIcon));

            // Playing and insertion marks: one row at a time.
            songs.SetPlayingMark(1);
            songs.SetPlayingMark(2);
            EXPECT_EQ(0, songs.GetRow(1)->playing);
            EXPECT_EQ(1, songs.GetRow(2)->playing);
            songs.SetInsertMark(1, 2);
            EXPECT_EQ(2, songs.GetInsertIndex());
            songs.SetInsertMark(3, 1);
            EXPECT_EQ(0, songs.GetRow(1)->insertMark);
            EXPECT_EQ(3, songs.GetInsertIndex());
            songs.ClearInsertMark();
            EXPECT_EQ(-1, songs.GetInsertIndex());

            // Ctrl+A selects every row; Tab inverts the selection.
            SelectOnly(songs, {0, 1});
            songs.SendMessage(WM_CHAR, 9, 0);
            EXPECT_EQ(2u, songs.GetSelectedCount());
            EXPECT_TRUE(songs.GetItemState(2, LVIS_SELECTED) & LVIS_SELECTED);
            songs.SendMessage(WM_CHAR, 1, 0);
            EXPECT_EQ(4u, songs.GetSelectedCount());

            // A row's selection and focus stay with it through a sort and
            // through rows inserted and deleted above it; the list view reads
            // and finds rows by their titles.
            songs.SetItemState(-1, 0, LVIS_SELECTED);
            songs.SetItemState(SongRowOf(songs, L"Charlie"), LVIS_SELECTED | LVIS_FOCUSED,
                               LVIS_SELECTED | LVIS_FOCUSED);
            songs.SortItems(TitlesDown, 0);
            EXPECT_EQ(L"Delta:-1|Charlie:-1|Bravo:-1|Alpha:-1|", SongRows(main));
            EXPECT_EQ(1, songs.GetNextItem(-1, LVNI_SELECTED));
            EXPECT_EQ(1u, songs.GetSelectedCount());
            EXPECT_EQ(1, songs.GetNextItem(-1, LVNI_FOCUSED));
            SongRowData* echo = new SongRowData;
            echo->title = L"Echo";
            EXPECT_EQ(0, songs.InsertRow(0, echo));
            EXPECT_EQ(5, songs.GetItemCount());
            EXPECT_EQ(2, songs.GetNextItem(-1, LVNI_SELECTED));
            EXPECT_EQ(2, songs.GetNextItem(-1, LVNI_FOCUSED));
            EXPECT_TRUE(songs.DeleteItem(0));
            EXPECT_FALSE(songs.DeleteItem(4));
            EXPECT_EQ(1, songs.GetNextItem(-1, LVNI_SELECTED));
            EXPECT_EQ(W(L"Alpha"), W(songs.GetItemText(3, 0)));
            LVFINDINFOW find = {LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP, L"br"};
            EXPECT_EQ(2, ListView_FindItem(songs.GetSafeHwnd(), -1, &find));
            find.psz = L"zz";
            EXPECT_EQ(-1, ListView_FindItem(songs.GetSafeHwnd(), -1, &find));

            // Tips: the own file names its path; a buddy's song its owner.
            SongRowData own = *songs.GetRow(0);
            CString tip = CListCtrlSong::RowTip(own, L"me@x.com");
            EXPECT_NE(-1, tip.Find(own.localPath));
            EXPECT_NE(-1, tip.Find(Lang(L"INFO_LIST_SONG_TOOLTIP_LOCAL_FILE")));
            SongRowData buddy = own;
            buddy.owner = L"bob@x.com";
            buddy.sourceKind = 2;
            buddy.unavailable = 1;
            tip = CListCtrlSong::RowTip(buddy, L"me@x.com");
            EXPECT_NE(-1, tip.Find(L"bob@x.com"));
            EXPECT_NE(-1, tip.Find(Lang(L"INFO_LIST_SONG_DOWNLOADING_TIP")));
            EXPECT_EQ(W(L"bob@x.com"), W(CListCtrlSong::SourceText(buddy, L"me@x.com")));
            EXPECT_EQ(W(own.localPath), W(CListCtrlSong::SourceText(own, L"me@x.com")));

            // The song-list list: names with counts, a grey name for an empty
            // list, one playing and one drop-target row at a time.
            CListCtrlCD& lists = main.m_listSongLists;
            CDListItem* mix = lists.GetRow(1);
            CString name, count;
            CListCtrlCD::SplitRowText(*mix, name, count);
            EXPECT_EQ(W(L"Mix "), W(name));
            EXPECT_EQ(W(L"(2)"), W(count));
            EXPECT_NE(-1, CListCtrlCD::RowTip(*mix).Find(L"Mix"));
            lists.SetPlayingMark(1);
            lists.SetPlayingMark(2);
            EXPECT_EQ(0, lists.GetRow(1)->playing);
            lists.SetDropTarget(1);
            lists.SetDropTarget(3);
            EXPECT_EQ(3, lists.GetDropTarget());
            EXPECT_FALSE(lists.SetListName(99, L"x"));
            EXPECT_EQ(W(L""), W(lists.GetListName(99)));
            // A rename cannot start while another runs.
            lists.BeginRename(1);
            lists.BeginRename(2);
            EXPECT_EQ(1, lists.GetEditedRow());
            lists.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
            EXPECT_EQ(-1, lists.GetEditedRow()) << "scrolling ends the rename unstored";
            EXPECT_EQ(W(L"Mix"), W(lists.GetListName(1)));
        });
    });
    EXPECT_TRUE(ran) << "the main window never showed";
}
