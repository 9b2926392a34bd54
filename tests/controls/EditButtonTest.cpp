// The signature edit button: editing, the profile command, and what reaches
// the main window.
#include "EditButton.h"
#include "MainWindowLink.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
std::vector<CommandData> g_pushed;
int RecordPush(CommandData& record)
{
    g_pushed.push_back(record);
    return 1;
}

class Main : public IMainWindowLink
{
public:
    MyProfileRecord profile;
    int posts = 0, presences = 0, statusLines = 0;
    BOOL IsShowingOwnLibrary() override { return TRUE; }
    CString GetCurrentListName() override { return CString(); }
    MyProfileRecord& GetMyProfile() override { return profile; }
    void PostMyProfile() override { ++posts; }
    void PushMyPresence() override { ++presences; }
    void UpdateMyStatusText() override { ++statusLines; }
    void RunImportTip(IDataObject*, int, std::vector<CSyncPlaylist>&) override {}
    CString GetMyUserId() override { return L"10001"; }
    void UploadSongLists(const std::vector<CSyncPlaylist>&) override {}
};
} // namespace

TEST(EditButton, ProfileCommandFields)
{
    MyProfileRecord profile;
    profile.nick = L"nick";
    profile.signature = L"new words";
    profile.third = L"third";
    profile.fourth = L"region";
    CommandData record;
    CEditButton::BuildProfileCommand(profile, L"12345", record);
    EXPECT_EQ(22, record.code);
    EXPECT_EQ(18, record.extra);
    const wchar_t* expected[8] = {L"third", L"nick", L"0", L"new words", L"region", L"12345", L"", L""};
    BSTR fields[8] = {record.s1, record.s2, record.s3, record.s4, record.s5, record.s6, record.s7, record.s8};
    for (int i = 0; i < 8; ++i)
        EXPECT_STREQ(expected[i], fields[i]) << i;
}

TEST(EditButton, OnlyAChangedSignatureIsSentButTheStatusLineIsAlwaysRebuilt)
{
    Main main;
    main.profile.signature = L"old";
    SetMainWindowLink(&main);
    CEditButton::s_pushCommand = &RecordPush;
    g_pushed.clear();

    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 850, 650, 300, 60, NULL, NULL));
    CEditButton button;
    HWND hwnd = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 150, 20, host.m_hWnd,
                                  (HMENU)5, NULL, NULL);
    ASSERT_TRUE(button.SubclassWindow(hwnd));
    button.SetImages(IDB_SIGN_BTN_LEFT, IDB_SIGN_BTN_MIDDLE, IDB_SIGN_BTN_RIGHT, 4);
    button.SetTipText(L"hint");
    button.SetText(L"old");
    button.UpdateWindow();

    button.SetEditing(TRUE);
    ASSERT_TRUE(button.IsEditing());
    ASSERT_NE(nullptr, button.m_edit.GetSafeHwnd());
    ::SendMessageW(hwnd, WM_USER + 200, 0, 0); // the editor ends without a change
    EXPECT_FALSE(button.IsEditing());
    EXPECT_TRUE(g_pushed.empty());
    EXPECT_EQ(1, main.statusLines);
    EXPECT_EQ(0, main.posts);

    button.SetEditing(TRUE);
    button.m_edit.SetWindowText(L"new signature");
    button.SetEditing(FALSE);
    ASSERT_EQ(1u, g_pushed.size());
    EXPECT_STREQ(L"new signature", g_pushed[0].s4);
    EXPECT_STREQ(L"10001", g_pushed[0].s6); // the signed-in user, as the main window knows it
    EXPECT_EQ(CString(L"new signature"), main.profile.signature);
    EXPECT_EQ(1, main.posts);
    EXPECT_EQ(1, main.presences);
    EXPECT_EQ(2, main.statusLines);
    EXPECT_EQ(nullptr, button.m_edit.GetSafeHwnd());

    SetMainWindowLink(nullptr);
    CEditButton::s_pushCommand = &yebJinPushCommand;
    host.DestroyWindow();
}
