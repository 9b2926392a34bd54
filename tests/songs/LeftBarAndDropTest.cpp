// The main window's left bar and song pane, as a user meets them: the
// channel rows open their pages, a buddy's library that does not come in
// time is told after the wait's timer turn, files dropped from the shell on
// an own list are imported through the import window, icon clicks of the
// song list reach the main window with their row as the one selected, and
// the own nick and presence word are laid out by their widths.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgMainLink.h"
#include "LanguageTable.h"
#include "MainWindowRun.h"
#include "OutsideSites.h"
#include "OwnLibraryFile.h"
#include "PixImage.h"
#include "RecordingMessaging.h"
#include "SocialTestSupport.h"
#include "SongLibrary.h"
#include "SongPaneRows.h"
#include "ThemeButton.h"
#include "resource.h"

#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
std::vector<std::wstring> g_asked;

int RecordQuestion(LPCWSTR text, int, LPCWSTR, int, CWnd*)
{
    g_asked.push_back(text ? text : L"");
    return IDOK;
}

std::vector<CSyncPlaylist> g_uploaded;

void RecordUpload(const std::vector<CSyncPlaylist>& changed)
{
    g_uploaded.insert(g_uploaded.end(), changed.begin(), changed.end());
}


// Four own songs, the list "Mix" with none of them, and the two special lists.
void WriteOwnLibrary(const std::wstring& path)
{
    CSongLibrary library;
    for (LPCWSTR id : {L"s1", L"s2", L"s3", L"s4"})
        library.AddSong(LibrarySong(id, (CString(L"Song ") + id)));
    const struct
    {
        CString name;
        int kind;
    } lists[] = {{L"Mix", PLAYLIST_KIND_USER},
                 {Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"), PLAYLIST_KIND_BUDDY},
                 {Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME"), PLAYLIST_KIND_RECENT}};
    for (const auto& l : lists)
    {
        CPlaylist list;
        list.SetName(l.name);
        list.SetKind(l.kind);
        library.AddOrUpdatePlaylist(list);
    }
    CreateFoldersAlongPath(path.c_str());
    ASSERT_EQ(S_OK, library.SaveToFile(path.c_str()));
}

int SongsOfList(const std::wstring& path, LPCWSTR name)
{
    CSongLibrary library;
    CPlaylist list;
    if (FAILED(library.LoadFromFile(path.c_str())) || FAILED(library.GetPlaylistByName(name, list)))
        return -1;
    return list.GetSongCount();
}

// The shell's file list as a data object offers it to a drop target.
class FileListData : public IDataObject
{
  public:
    explicit FileListData(const std::vector<std::wstring>& names) : m_names(names) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDataObject)
        {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        size_t chars = 1;
        for (const std::wstring& name : m_names)
            chars += name.size() + 1;
        HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        DROPFILES* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        wchar_t* text = reinterpret_cast<wchar_t*>(drop + 1);
        for (const std::wstring& name : m_names)
        {
            wcscpy(text, name.c_str());
            text += name.size() + 1;
        }
        ::GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  private:
    std::vector<std::wstring> m_names;
    ULONG m_refs = 1;
};

POINTL ScreenCentreOfRow(CListCtrl& list, int row)
{
    CRect rect;
    list.GetItemRect(row, &rect, LVIR_BOUNDS);
    CPoint p = rect.CenterPoint();
    list.ClientToScreen(&p);
    return POINTL{p.x, p.y};
}

class LeftBarAndDrop : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CDlgMain::s_askUser = &RecordQuestion;
        g_asked.clear();
        g_uploaded.clear();
    }
};
} // namespace

TEST(OwnLibraryFile, AParseIsHandedOutAgainOnlyWhileTheFileIsUnchanged)
{
    LoadLanguageFile();
    std::wstring folder = SocialOutputFolder() + L"\\own-library-file";
    ::CreateDirectoryW(folder.c_str(), NULL);
    CString path = (folder + L"\\playlist.xml").c_str();
    WriteOwnLibrary((LPCWSTR)path);
    COwnLibraryFile file;
    CSongLibrary library;
    ASSERT_EQ(S_OK, file.Load(path, library));
    EXPECT_EQ(4, file.CountSongs(path));
    ASSERT_EQ(S_OK, file.Load(path, library, TRUE)); // the kept copy passes on
    EXPECT_EQ(4, library.GetSongCount());
    EXPECT_EQ(1, file.GetParseCount());
    EXPECT_EQ(4, file.CountSongs(path)) << "the count stays known without the copy";
    ASSERT_EQ(S_OK, file.Load(path, library, TRUE));
    EXPECT_EQ(2, file.GetParseCount());
    // A library taken only to be looked at comes back as the kept copy.
    file.GiveBack(path, library);
    EXPECT_EQ(0, library.GetSongCount());
    CSongLibrary look;
    ASSERT_EQ(S_OK, file.Load(path, look));
    EXPECT_EQ(4, look.GetSongCount());
    EXPECT_EQ(2, file.GetParseCount());
    ASSERT_EQ(S_OK, file.Load(path, library, TRUE));

    // Another writer changes the file: the next load reads it.
    CSongLibrary other = library;
    other.AddSong(LibrarySong(L"s5", L"Song s5"));
    ::Sleep(20);
    ASSERT_EQ(S_OK, other.SaveToFile(path));
    file.GiveBack(path, library);
    EXPECT_EQ(4, library.GetSongCount()) << "a library of the file before the change is not kept";
    EXPECT_EQ(5, file.CountSongs(path));
    ASSERT_EQ(S_OK, file.Load(path, library));
    EXPECT_EQ(5, library.GetSongCount());
    // A save through the file keeps what was saved.
    library.AddSong(LibrarySong(L"s6", L"Song s6"));
    ASSERT_EQ(S_OK, file.Save(path, library, TRUE));
    int parses = file.GetParseCount();
    CSongLibrary again;
    ASSERT_EQ(S_OK, file.Load(path, again));
    EXPECT_EQ(6, again.GetSongCount());
    EXPECT_EQ(parses, file.GetParseCount());
    // A file that is gone is not handed out from memory.
    ::DeleteFileW(path);
    EXPECT_TRUE(FAILED(file.Load(path, again)));
    EXPECT_EQ(0, file.CountSongs(path));
}

TEST(OwnLibraryFile, AReadAheadIsTakenOnlyWhileTheFileIsUnchanged)
{
    LoadLanguageFile();
    std::wstring folder = SocialOutputFolder() + L"\\own-library-read-ahead";
    ::CreateDirectoryW(folder.c_str(), NULL);
    CString path = (folder + L"\\playlist.xml").c_str();
    WriteOwnLibrary((LPCWSTR)path);
    {
        COwnLibraryFile file;
        file.Prefetch(path);
        EXPECT_EQ(4, file.CountSongs(path));
        CSongLibrary library;
        ASSERT_EQ(S_OK, file.Load(path, library, TRUE));
        EXPECT_EQ(4, library.GetSongCount());
        EXPECT_EQ(1, file.GetParseCount()) << "the read ahead is the only parse";
    }
    {
        // Written again after the read ahead began: read anew.
        COwnLibraryFile file;
        file.Prefetch(path);
        CSongLibrary other;
        ASSERT_EQ(S_OK, other.LoadFromFile(path));
        other.AddSong(LibrarySong(L"s5", L"Song s5"));
        ::Sleep(300); // the read of four songs is over, and the file's time moves on
        ASSERT_EQ(S_OK, other.SaveToFile(path));
        CSongLibrary library;
        ASSERT_EQ(S_OK, file.Load(path, library));
        EXPECT_EQ(5, library.GetSongCount());
        EXPECT_EQ(2, file.GetParseCount());
    }
    {
        // Nothing to read: nothing kept, and the file made later is read.
        COwnLibraryFile file;
        CString missing = (folder + L"\\missing.xml").c_str();
        ::DeleteFileW(missing);
        file.Prefetch(missing);
        EXPECT_EQ(0, file.CountSongs(missing));
        ASSERT_TRUE(::CopyFileW(path, missing, FALSE));
        EXPECT_EQ(5, file.CountSongs(missing));
    }
}

TEST_F(LeftBarAndDrop, ChannelRowsOpenTheirPagesEachTimeTheyAreChosen)
{
    // The outside channels' addresses; every other row has none.
    EXPECT_EQ(std::wstring(COutsideSites::RadioChannelHome), std::wstring(CDlgMain::ChannelPage(L"tavrin")));
    EXPECT_EQ(std::wstring(COutsideSites::SearchSite1Home), std::wstring(CDlgMain::ChannelPage(L"google_music")));
    for (const wchar_t* other : {L"home", L"channel", L"bob@x.com", L""})
        EXPECT_EQ(nullptr, CDlgMain::ChannelPage(other)) << other;

    MainWindowRun run(L"songs-channels");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            ASSERT_TRUE(main.m_browser.GetSafeHwnd());
            const struct
            {
                const wchar_t* id;
                BOOL outsideSearch;
            } cases[] = {
                {L"home", FALSE},
                {L"tavrin", FALSE},
                {L"google_music", TRUE},
                {L"tavrin", TRUE}, // the flag stays as it was
            };
            for (const auto& c : cases)
            {
                int row = main.LeftBar().FindItem(c.id);
                ASSERT_GE(row, 2) << c.id;
                // Chosen, then chosen again: each time the song panes are
                // emptied and the page is waited for.
                for (int time = 0; time < 2; ++time)
                {
                    main.SelectLeftItem(0);
                    ASSERT_GT(main.m_listSongLists.GetItemCount(), 0);
                    if (time == 1)
                        main.SelectLeftItem(row);
                    main.StopLibraryWait();
                    main.SelectLeftItem(row);
                    EXPECT_EQ(c.outsideSearch, main.m_bOutsideSearch) << c.id << " " << time;
                    EXPECT_EQ(W(c.id), W(main.m_strShownOwner));
                    EXPECT_EQ(0, main.m_listSongLists.GetItemCount()) << c.id << " " << time;
                    EXPECT_TRUE(main.m_bPageWait) << c.id << " " << time;
                    main.StopLibraryWait();
                }
            }
            // A header opens nothing.
            main.SelectLeftItem(0);
            main.SelectLeftItem(main.LeftBar().FindItem(L"channel"));
            EXPECT_FALSE(main.m_bPageWait);
            EXPECT_GT(main.m_listSongLists.GetItemCount(), 0);
        });
    });
    EXPECT_TRUE(ran) << "the main window never showed";
}

TEST_F(LeftBarAndDrop, ALibraryThatDoesNotComeInTimeIsToldAfterTheTimerTurn)
{
    MainWindowRun run(L"songs-wait");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({L"bob@x.com"});
        run.Deliver(MakeRecord(6, {L"bob@x.com", L"", L"", L"1"}, 0));
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.m_strWaitOwner = L"bob@x.com";
            main.StartLibraryWait(1);
            // Started 31 seconds ago, without any progress.
            main.m_bWaitRestart = FALSE;
            main.m_dwWaitStart = ::GetTickCount() - 31000;
            g_asked.clear();
            main.OnLoadingTimer();
            EXPECT_EQ(0u, main.m_timerLoading);
            EXPECT_TRUE(main.m_bWaitTimedOut);
            EXPECT_TRUE(g_asked.empty()) << "no message box inside the timer's turn";
            PumpMessages();
            ASSERT_EQ(1u, g_asked.size());
            EXPECT_EQ(std::wstring(Lang(L"INFO_LIST_LOAD_CD_OVERTIMER")), g_asked[0]);
            // Other values of the message tell nothing.
            for (WPARAM value : {0, 1, 3})
                EXPECT_EQ(1, main.SendMessage(WM_MAIN_LIBRARY_WAIT_MESSAGE, value, 0));
            EXPECT_EQ(1u, g_asked.size());
        });
        std::vector<CString> left = messaging.PushedTo(46);
        ASSERT_FALSE(left.empty()) << "the buddy is told that its library is no longer watched";
        EXPECT_EQ(W(L"bob@x.com"), W(left.back()));
    });
    EXPECT_TRUE(ran) << "the main window never showed";
}

TEST_F(LeftBarAndDrop, FilesDroppedFromTheShellOnAnOwnListAreImported)
{
    HRESULT ole = ::OleInitialize(NULL);
    ASSERT_TRUE(SUCCEEDED(ole));
    MainWindowRun run(L"songs-shell-drop");
    run.App().SetUserEmail(L"me@x.com");
    std::wstring file = run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml";
    WriteOwnLibrary(file);
    std::wstring dropped = run.Folder() + L"\\dropped";
    ::CreateDirectoryW(dropped.c_str(), NULL);
    std::wstring song = dropped + L"\\first.mp3";
    ASSERT_TRUE(::CopyFileW((std::wstring(YEB_SOURCE_DIR) + L"\\tests\\foundation\\data\\cbr-id3v23.mp3").c_str(),
                            song.c_str(), FALSE));
    CDlgMainLink::s_uploadSongLists = &RecordUpload;
    RecordingMessaging messaging;
    FileListData data({song});
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            EXPECT_EQ(1, main.m_ownLibraryFile.GetParseCount()) << "signing in reads the library file once";
            EXPECT_EQ(4, main.m_listSongs.GetItemCount());
            main.SelectLeftItem(0);
            CListCtrlCD& lists = main.m_listSongLists;
            CFileDropTarget* target = main.m_paneSong.GetListsDropTarget();
            ASSERT_TRUE(target);
            // Both lists take drops from the shell.
            EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, ::RegisterDragDrop(lists.GetSafeHwnd(), target));
            EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED,
                      ::RegisterDragDrop(main.m_listSongs.GetSafeHwnd(), main.m_paneSong.GetSongsDropTarget()));

            int mix = lists.FindList(L"Mix");
            int recent = lists.GetItemCount() - 1;
            DWORD effect = DROPEFFECT_COPY;
            ASSERT_EQ(S_OK, target->DragEnter(&data, MK_LBUTTON, ScreenCentreOfRow(lists, recent), &effect));
            target->DragOver(MK_LBUTTON, ScreenCentreOfRow(lists, recent), &effect);
            EXPECT_EQ(DROPEFFECT_NONE, effect) << "the recent list takes no files";
            effect = DROPEFFECT_COPY;
            target->DragOver(MK_LBUTTON, ScreenCentreOfRow(lists, mix), &effect);
            EXPECT_EQ(DROPEFFECT_COPY, effect);
            EXPECT_EQ(mix, lists.GetDropTarget());
            ASSERT_EQ(S_OK, target->Drop(&data, 0, ScreenCentreOfRow(lists, mix), &effect));
            EXPECT_EQ(-1, lists.GetDropTarget());

            // The own library shows again with the new song in the list.
            EXPECT_EQ(L"Mix:10001:1|", ListRows(main).substr(ListRows(main).find(L"Mix"), 12));
            EXPECT_EQ(5, main.m_listSongs.GetItemCount());
            CaptureWindowPicture(main.GetSafeHwnd(), L"main-window-after-shell-drop.png");
        });
    });
    EXPECT_TRUE(ran) << "the main window never showed";
    EXPECT_EQ(1, SongsOfList(file, L"Mix"));
    std::vector<std::wstring> names;
    for (const CSyncPlaylist& record : g_uploaded)
        names.push_back((LPCWSTR)record.m_strName);
    EXPECT_EQ((std::vector<std::wstring>{L"Mix", L"all"}), names) << "the changed lists are queued for upload";
    CDlgMainLink::s_uploadSongLists = nullptr;
    if (ole == S_OK)
        ::OleUninitialize();
}

TEST_F(LeftBarAndDrop, IconClicksLeaveTheirRowAsTheOneSelected)
{
    MainWindowRun run(L"songs-icons");
    run.App().SetUserEmail(L"me@x.com");
    WriteOwnLibrary(run.MyMusic() + L"\\yeb360\\lib\\private\\me@x.com\\playlist.xml");
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            main.SelectLeftItem(0);
            CListCtrlSong& songs = main.m_listSongs;
            ASSERT_EQ(4, songs.GetItemCount());
            const struct
            {
                int row;
                int column;
                UINT command;
            } cases[] = {{1, CListCtrlSong::COLUMN_BOARD, ID_BOARD_OPEN},
                         {2, CListCtrlSong::COLUMN_TITLE, ID_SONG_SEND},
                         {3, CListCtrlSong::COLUMN_BOARD, ID_BOARD_OPEN}};
            for (const auto& c : cases)
            {
                // Other rows are selected before, the last of them below the clicked one.
                songs.SetItemState(-1, 0, LVIS_SELECTED);
                for (int r : {0, 3, 2})
                    if (r != c.row)
                        songs.SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
                CRect rect;
                songs.GetItemRect(c.row, &rect, LVIR_BOUNDS);
                int left = rect.left;
                for (int column = 0; column < c.column; ++column)
                    left += songs.GetColumnWidth(column);
                CPoint at = c.column == CListCtrlSong::COLUMN_BOARD
                                ? CPoint(left + 5, rect.CenterPoint().y)
                                : CPoint(left + songs.GetColumnWidth(c.column) - 20, rect.CenterPoint().y);
                MSG stale;
                while (::PeekMessageW(&stale, main.GetSafeHwnd(), WM_COMMAND, WM_COMMAND, PM_REMOVE))
                    ;
                NMITEMACTIVATE click = {};
                click.hdr.hwndFrom = songs.GetSafeHwnd();
                click.hdr.idFrom = IDC_SONG_LIST;
                click.hdr.code = NM_CLICK;
                click.iItem = c.row;
                click.iSubItem = c.column;
                click.ptAction = at;
                main.m_paneSong.SendMessage(WM_NOTIFY, IDC_SONG_LIST, (LPARAM)&click);
                MSG posted = {};
                ASSERT_TRUE(::PeekMessageW(&posted, main.GetSafeHwnd(), WM_COMMAND, WM_COMMAND, PM_REMOVE))
                    << "row " << c.row;
                EXPECT_EQ(c.command, LOWORD(posted.wParam)) << "row " << c.row;
                EXPECT_EQ(1u, songs.GetSelectedCount()) << "row " << c.row;
                EXPECT_EQ(c.row, songs.GetNextItem(-1, LVNI_SELECTED));
            }
        });
    });
    EXPECT_TRUE(ran) << "the main window never showed";
}

TEST_F(LeftBarAndDrop, TheNickAndThePresenceWordStandSideBySide)
{
    MainWindowRun run(L"songs-nick");
    run.App().SetUserEmail(L"me@x.com");
    RecordingMessaging messaging;
    bool ran = false;
    run.Run([&] {
        ran = true;
        run.SignIn({});
        run.OnWindowThread([&] {
            CDlgMain& main = run.Main();
            const struct
            {
                const wchar_t* nick;
                int presence;
                const wchar_t* word;
            } cases[] = {{L"Demo", 0, L"CONST_MAIN_ONLINE"},
                         {L"D", 1, L"CONST_MAIN_AWAY"},
                         {L"Somebody", 2, L"CONST_MAIN_BUSY"}};
            for (const auto& c : cases)
            {
                g_pAppSetting->strNick = c.nick;
                main.m_nPresence = c.presence;
                main.UpdateMyStatusText();
                ThemeButton& button = main.m_btnNick;
                CString caption;
                button.GetWindowText(caption);
                CaptionPieces pieces = SplitCaption(caption, button.m_nPrefixLength, button.m_nSuffixLength);
                EXPECT_EQ(W(c.nick), W(pieces.middle));
                EXPECT_EQ(W(Lang(c.word)), W(pieces.suffix));

                // On screen: the ink of the caption has no wide gap between
                // the nick and the word (a split by a fixed count of letters
                // left one).
                button.Invalidate();
                CPixImage shot;
                ASSERT_TRUE(CaptureWindowPicture(button.GetSafeHwnd(), L"main-window-nick.png", &shot));
                int first = -1, widestGap = 0, previous = -1;
                for (int x = 0; x < (int)shot.GetWidth(); ++x)
                {
                    bool ink = false;
                    for (int y = 3; y + 3 < (int)shot.GetHeight() && !ink; ++y)
                    {
                        COLORREF p = PixelAt(shot, x, y);
                        ink = GetRValue(p) > 200 && GetGValue(p) > 200 && GetBValue(p) > 200;
                    }
                    // The face's light rim at the two ends is not text.
                    if (!ink || x < 3 || x + 3 >= (int)shot.GetWidth())
                        continue;
                    if (first < 0)
                        first = x;
                    if (previous >= 0)
                        widestGap = std::max(widestGap, x - previous - 1);
                    previous = x;
                }
                EXPECT_GE(first, 0) << "the caption is drawn";
                EXPECT_LE(widestGap, 6) << W(c.nick);
            }
            // The signature's placeholder: drawn once over the window's own
            // picture, the same after the button changed its size, and the
            // same as over a background taken afresh.
            CEditButton& signature = main.m_btnSignature;
            signature.SetText(L"");
            signature.Invalidate();
            CPixImage placeholder, resized, fresh;
            ASSERT_TRUE(CaptureWindowPicture(signature.GetSafeHwnd(), L"main-window-signature.png", &placeholder));
            signature.SetText(L"A signature longer than the placeholder");
            signature.UpdateWindow();
            signature.SetText(L"");
            signature.UpdateWindow();
            ASSERT_TRUE(CaptureWindowPicture(signature.GetSafeHwnd(), L"main-window-signature-2.png", &resized));
            signature.m_background.Drop();
            signature.Invalidate();
            ASSERT_TRUE(CaptureWindowPicture(signature.GetSafeHwnd(), L"main-window-signature-3.png", &fresh));
            ASSERT_EQ(placeholder.GetWidth(), fresh.GetWidth());
            int differ = 0, differResized = 0;
            for (int y = 0; y < (int)fresh.GetHeight(); ++y)
                for (int x = 0; x < (int)fresh.GetWidth(); ++x)
                {
                    differ += PixelAt(placeholder, x, y) != PixelAt(fresh, x, y);
                    differResized += PixelAt(resized, x, y) != PixelAt(fresh, x, y);
                }
            EXPECT_EQ(0, differ);
            EXPECT_EQ(0, differResized);

            // Editing the signature without changing it tells nobody.
            static std::vector<int> pushed;
            pushed.clear();
            int (*send)(CommandData&) = CEditButton::s_pushCommand;
            CEditButton::s_pushCommand = [](CommandData& record) {
                pushed.push_back(record.code);
                return 0;
            };
            g_pAppSetting->strSignature = L"old words";
            main.UpdateMyStatusText();
            signature.SetEditing(TRUE);
            signature.SetEditing(FALSE);
            CEditButton::s_pushCommand = send;
            EXPECT_TRUE(pushed.empty());
            EXPECT_EQ(W(L"old words"), W(signature.GetText()));
            CaptureWindowPicture(main.GetSafeHwnd(), L"main-window-nick-and-signature.png");
        });
    });
    EXPECT_TRUE(ran) << "the main window never showed";
}
