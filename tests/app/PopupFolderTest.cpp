// The pop-up registry and the folder picker.
#include <gtest/gtest.h>

#include "FolderDialog.h"
#include <commctrl.h>
#include "PopupRegistry.h"

namespace
{
// A pop-up that, like the web song browser, leaves the registry when it is
// destroyed and counts its destructions.
class TestPopup : public CWnd
{
  public:
    explicit TestPopup(int* destroyed) : m_destroyed(destroyed) {}
    bool Make()
    {
        return CreateEx(0, L"STATIC", L"popup", WS_POPUP, 0, 0, 10, 10, NULL, 0) != FALSE;
    }
    void PostNcDestroy() override
    {
        ++*m_destroyed;
        CPopupRegistry::GetInstance()->Remove(this); // already forgotten: nothing happens
    }

  private:
    int* m_destroyed;
};

TEST(PopupRegistry, AddRemoveAndCloseAll)
{
    int destroyed = 0;
    TestPopup a(&destroyed), b(&destroyed), c(&destroyed);
    ASSERT_TRUE(a.Make());
    ASSERT_TRUE(b.Make());
    ASSERT_TRUE(c.Make());
    CPopupRegistry* registry = CPopupRegistry::GetInstance();
    EXPECT_EQ(registry, CPopupRegistry::GetInstance());
    EXPECT_EQ(1, registry->Add(&a));
    EXPECT_EQ(0, registry->Add(&a));
    EXPECT_EQ(1, registry->Add(&b));
    EXPECT_EQ(1, registry->Add(&c));

    EXPECT_EQ(0, registry->Remove(reinterpret_cast<CWnd*>(&destroyed))); // never registered
    EXPECT_EQ(1, registry->Remove(&a));
    EXPECT_FALSE(::IsWindow(a.GetSafeHwnd()));
    EXPECT_EQ(1, destroyed);

    ::DestroyWindow(b.GetSafeHwnd()); // gone before the registry closes it
    EXPECT_EQ(2, destroyed);
    CPopupRegistry::CloseAll();
    EXPECT_EQ(3, destroyed);
    EXPECT_FALSE(::IsWindow(c.GetSafeHwnd()));
    EXPECT_EQ(0, CPopupRegistry::GetInstance()->GetCount()); // a new, empty registry
    CPopupRegistry::CloseAll();
}

TEST(FolderDialog, RootThatCannotBeParsedGivesZeroWithoutShowing)
{
    CFolderDialog dialog;
    dialog.m_strRoot = L"Q:\\no such folder\\anywhere";
    EXPECT_EQ(0, dialog.DoModal(NULL));
    EXPECT_TRUE(dialog.m_strChosenPath.IsEmpty());
}

BOOL CALLBACK FindBrowser(HWND hwnd, LPARAM lp)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (pid == GetCurrentProcessId() && wcscmp(cls, L"#32770") == 0 && IsWindowVisible(hwnd))
    {
        *reinterpret_cast<HWND*>(lp) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindTree(HWND hwnd, LPARAM lp)
{
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (wcscmp(cls, L"SysTreeView32") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
}

// Text of the folder tree's selected item ("" while there is none).
CString SelectedFolderName(HWND browser)
{
    HWND tree = NULL;
    EnumChildWindows(browser, &FindTree, reinterpret_cast<LPARAM>(&tree));
    if (!tree)
        return CString();
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item)
        return CString();
    wchar_t text[MAX_PATH] = {};
    TVITEMW tvi{};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = text;
    tvi.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
    return CString(text);
}

// Presses OK on the folder browser of this process once its tree shows the
// expected folder selected. A fixed pause is not enough: on a loaded machine
// the tree may still be expanding towards the initial selection, and OK would
// then return the folder selected by default (the desktop).
DWORD WINAPI PressOk(LPVOID expectedName)
{
    const wchar_t* name = static_cast<const wchar_t*>(expectedName);
    for (int i = 0; i < 400; ++i)
    {
        Sleep(25);
        HWND found = NULL;
        EnumWindows(&FindBrowser, reinterpret_cast<LPARAM>(&found));
        if (!found)
            continue;
        for (int j = 0; j < 400 && SelectedFolderName(found).CompareNoCase(name) != 0; ++j)
            Sleep(25);
        PostMessageW(found, WM_COMMAND, IDOK, 0);
        return 0;
    }
    return 1;
}

TEST(FolderDialog, InitialSelectionIsChosenOnOk)
{
    OleInitialize(NULL);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    CString folder(temp);
    folder.TrimRight(L'\\');
    CFolderDialog dialog;
    dialog.m_strTitle = L"\x9009\x62E9\x6587\x4EF6\x5939"; // "选择文件夹"
    dialog.m_strInitialSelection = folder;
    CString name = folder.Mid(folder.ReverseFind(L'\\') + 1);
    HANDLE presser = CreateThread(NULL, 0, &PressOk, (LPVOID)(LPCWSTR)name, 0, NULL);
    int result = dialog.DoModal(NULL);
    WaitForSingleObject(presser, 15000);
    CloseHandle(presser);
    ASSERT_EQ(1, result);
    EXPECT_EQ(0, dialog.m_strChosenPath.CompareNoCase(folder)) << (LPCWSTR)dialog.m_strChosenPath;
    OleUninitialize();
}
} // namespace
