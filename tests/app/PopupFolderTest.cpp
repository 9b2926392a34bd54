// The pop-up registry and the folder picker.
#include <gtest/gtest.h>

#include "FolderDialog.h"
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

// Presses OK on the folder browser of this process once it shows.
DWORD WINAPI PressOk(LPVOID)
{
    for (int i = 0; i < 200; ++i)
    {
        Sleep(50);
        HWND found = NULL;
        EnumWindows(&FindBrowser, reinterpret_cast<LPARAM>(&found));
        if (found)
        {
            Sleep(300); // let the initial selection settle
            PostMessageW(found, WM_COMMAND, IDOK, 0);
            return 0;
        }
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
    HANDLE presser = CreateThread(NULL, 0, &PressOk, NULL, 0, NULL);
    int result = dialog.DoModal(NULL);
    WaitForSingleObject(presser, 15000);
    CloseHandle(presser);
    ASSERT_EQ(1, result);
    EXPECT_EQ(0, dialog.m_strChosenPath.CompareNoCase(folder)) << (LPCWSTR)dialog.m_strChosenPath;
    OleUninitialize();
}
} // namespace
