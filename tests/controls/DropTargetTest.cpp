// File drop target (through a data object with a shell file list) and the
// auto-size edit.
#include "AutoSizeEdit.h"
#include "FileDropTarget.h"
#include "LanguageTable.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

namespace
{
// A data object that offers one shell file list.
class FileListData : public IDataObject
{
public:
    explicit FileListData(const std::vector<std::wstring>& names)
    {
        for (const std::wstring& n : names)
            m_list.insert(m_list.end(), n.c_str(), n.c_str() + n.size() + 1);
        m_list.push_back(0);
    }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDataObject)
        {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        SIZE_T bytes = sizeof(DROPFILES) + m_list.size() * sizeof(wchar_t);
        HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* drop = (DROPFILES*)::GlobalLock(global);
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        memcpy(drop + 1, m_list.data(), m_list.size() * sizeof(wchar_t));
        ::GlobalUnlock(global);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = global;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    std::vector<wchar_t> m_list;
};

class TestList : public CDropListCtrl
{
public:
    std::vector<CString> names;
    int marked = -1;
    void SetDropTarget(int row) override { marked = row; }
    void ClearDropTarget() override { marked = -1; }
    CString GetListName(int row) override
    {
        return row >= 0 && row < (int)names.size() ? names[row] : CString();
    }
};

class TestMain : public IMainWindowLink
{
public:
    BOOL own = TRUE;
    CString listName = L"my list";
    MyProfileRecord profile;
    int imports = 0;
    std::vector<CSyncPlaylist> changedByImport; // what the import tip reports as changed
    std::vector<CString> uploaded;
    BOOL IsShowingOwnLibrary() override { return own; }
    CString GetCurrentListName() override { return listName; }
    MyProfileRecord& GetMyProfile() override { return profile; }
    void PostMyProfile() override {}
    void PushMyPresence() override {}
    void UpdateMyStatusText() override {}
    void RunImportTip(IDataObject*, int, std::vector<CSyncPlaylist>& changed) override
    {
        ++imports;
        changed = changedByImport;
    }
    CString GetMyUserId() override { return L"10001"; }
    void UploadSongLists(const std::vector<CSyncPlaylist>& changed) override
    {
        for (const CSyncPlaylist& list : changed)
            uploaded.push_back(list.m_strName);
    }
};

std::wstring TempFolder()
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"yeb-drop-test";
    ::CreateDirectoryW(folder.c_str(), NULL);
    return folder;
}

class DropTargetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::CoInitialize(NULL);
        wchar_t exe[MAX_PATH];
        ::GetModuleFileNameW(NULL, exe, MAX_PATH);
        std::wstring lng(exe);
        lng = lng.substr(0, lng.rfind(L'\\') + 1) + L"lng\\default.LNG";
        LanguageTable::Instance().Load(lng.c_str());
        SetMainWindowLink(&main);
        folder = TempFolder();
        file = folder + L"\\song.mp3";
        HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ::CloseHandle(h);
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 650, 300, 300, NULL,
                                  NULL));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 300), &host, 7));
        list.InsertColumn(0, L"name", LVCFMT_LEFT, 200);
        list.names = {L"my list", Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME")};
        for (int i = 0; i < (int)list.names.size(); ++i)
            list.InsertItem(i, list.names[i]);
    }
    void TearDown() override
    {
        SetMainWindowLink(nullptr);
        host.DestroyWindow();
        ::DeleteFileW(file.c_str());
        ::DeleteFileW((folder + L"\\folder.lnk").c_str());
        ::RemoveDirectoryW(folder.c_str());
        ::CoUninitialize();
    }
    CPoint BelowRows()
    {
        CRect last;
        list.GetItemRect((int)list.names.size() - 1, &last, LVIR_BOUNDS);
        return CPoint(10, last.bottom + 20);
    }
    CPoint InRow(int row)
    {
        CRect r;
        list.GetItemRect(row, &r, LVIR_BOUNDS);
        return r.CenterPoint();
    }

    TestMain main;
    CWnd host;
    TestList list;
    std::wstring folder, file;
};
} // namespace

TEST_F(DropTargetTest, ListOfSongListsTakesFoldersAndShortcutsToFolders)
{
    CFileDropTarget target(&list, CFileDropTarget::MODE_SONG_LISTS);
    FileListData files({file});
    FileListData folders({folder});
    EXPECT_EQ(DROPEFFECT_COPY, target.OnDragEnter(&list, &files, 0, BelowRows()));
    EXPECT_EQ(DROPEFFECT_NONE, target.OnDragOver(&list, &files, 0, BelowRows()));
    EXPECT_EQ(DROPEFFECT_COPY, target.OnDragOver(&list, &folders, 0, BelowRows()));
    EXPECT_EQ(-1, list.marked);

    // A shortcut to the folder counts as the folder.
    std::wstring lnk = folder + L"\\folder.lnk";
    IShellLinkW* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&link)));
    link->SetPath(folder.c_str());
    IPersistFile* persist = nullptr;
    link->QueryInterface(IID_IPersistFile, (void**)&persist);
    ASSERT_TRUE(SUCCEEDED(persist->Save(lnk.c_str(), TRUE)));
    persist->Release();
    link->Release();
    EXPECT_EQ(CString(folder.c_str()).MakeLower(), CFileDropTarget::ResolveShortcut(lnk.c_str()).MakeLower());
    EXPECT_TRUE(CFileDropTarget::ResolveShortcut(file.c_str()).IsEmpty());
    FileListData shortcut({lnk});
    EXPECT_EQ(DROPEFFECT_COPY, target.OnDragOver(&list, &shortcut, 0, BelowRows()));
}

TEST_F(DropTargetTest, RowsAreMarkedAndReservedListsRefuse)
{
    CFileDropTarget target(&list, CFileDropTarget::MODE_SONG_LISTS);
    FileListData files({file});
    EXPECT_EQ(DROPEFFECT_COPY, target.OnDragOver(&list, &files, 0, InRow(0)));
    EXPECT_EQ(0, list.marked);
    EXPECT_EQ(DROPEFFECT_NONE, target.OnDragOver(&list, &files, 0, InRow(1))); // the buddy playlist
    EXPECT_EQ(1, list.marked);
    target.OnDragLeave(&list);
    EXPECT_EQ(-1, list.marked);
    // Another user's library refuses everything.
    main.own = FALSE;
    EXPECT_EQ(DROPEFFECT_NONE, target.OnDragOver(&list, &files, 0, InRow(0)));
}

TEST_F(DropTargetTest, SongListRefusesWhileAReservedListIsShown)
{
    CFileDropTarget target(&list, CFileDropTarget::MODE_SONGS);
    FileListData files({file});
    EXPECT_EQ(DROPEFFECT_COPY, target.OnDragOver(&list, &files, 0, CPoint(5, 5)));
    main.listName = Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME");
    EXPECT_EQ(DROPEFFECT_NONE, target.OnDragOver(&list, &files, 0, CPoint(5, 5)));
    EXPECT_FALSE(target.OnDrop(&list, &files, DROPEFFECT_COPY, CPoint(5, 5)));
    EXPECT_EQ(1, main.imports);
    EXPECT_TRUE(main.uploaded.empty()) << "nothing changed, nothing uploaded";
}

TEST_F(DropTargetTest, ListsTheImportChangedAreUploadedThroughTheMainWindow)
{
    CFileDropTarget target(&list, CFileDropTarget::MODE_SONGS);
    FileListData files({file});
    main.changedByImport.resize(2);
    main.changedByImport[0].m_strName = L"my list";
    main.changedByImport[1].m_strName = L"second";
    EXPECT_FALSE(target.OnDrop(&list, &files, DROPEFFECT_COPY, CPoint(5, 5)));
    EXPECT_EQ(1, main.imports);
    EXPECT_EQ((std::vector<CString>{L"my list", L"second"}), main.uploaded);
}

TEST(AutoSizeEdit, WidthFollowsTheTextWithinItsBounds)
{
    CAutoSizeEdit edit;
    edit.m_nLeftMargin = 3;
    edit.m_nRightMargin = 4;
    struct Case { int text; int width; } cases[] = {{0, 20}, {10, 20}, {13, 20}, {14, 21}, {193, 200}, {194, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.width, edit.WidthFor(c.text)) << c.text;
}

TEST(AutoSizeEdit, EnterAndLeavingTellTheParentOnce)
{
    struct Parent : CWnd
    {
        int done = 0;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_USER + 200)
                ++done;
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"p", WS_POPUP | WS_VISIBLE, 850, 650, 300, 50, NULL, NULL));
    CAutoSizeEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 0, 100, 20), &parent, 1999));
    ::SendMessageW(edit.m_hWnd, WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(1, parent.done);
    ::SendMessageW(edit.m_hWnd, WM_KILLFOCUS, 0, 0); // follows the Enter: nothing
    EXPECT_EQ(1, parent.done);
    ::SendMessageW(edit.m_hWnd, WM_KILLFOCUS, 0, 0); // leaving the field
    EXPECT_EQ(2, parent.done);
    // Typing widens the edit and its parent; deleting the text shrinks both to 20.
    edit.SetWindowText(L"a rather long signature text");
    CRect rect;
    edit.GetWindowRect(&rect);
    EXPECT_GT(rect.Width(), 20);
    edit.SetWindowText(L"");
    edit.GetWindowRect(&rect);
    EXPECT_EQ(20, rect.Width());
    parent.GetWindowRect(&rect);
    EXPECT_EQ(20, rect.Width());
    parent.DestroyWindow();
}
