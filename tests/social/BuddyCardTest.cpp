// The buddy card: which actions it offers and where it goes, as tables; a
// real card that fades in, shows a buddy, fades out and comes back from
// where its fade stood; and the add-buddy and follow dialogs' checks.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "Base64Codec.h"
#include "DlgAddFriend.h"
#include "DlgAddFriendFinal.h"
#include "DlgBuddyInfo.h"
#include "DlgConfirmListen.h"
#include "FriendItem.h"
#include "SocialTestSupport.h"
#include "resource.h"

namespace
{
CWnd* NoMainWindow()
{
    return nullptr;
}
int PaneWidth()
{
    return 200;
}

CFriendItem CardBuddy(int presence, int buttons)
{
    CFriendItem item = TestBuddy(L"ben@x.com", L"Ben", presence);
    item.signature = L"今天听什么";
    item.totalSongs = 128;
    item.newSongs = 3;
    item.buttons = buttons;
    item.rect = CRect(0, 300, 200, 350);
    return item;
}
} // namespace

TEST(BuddyCardRules, ActionsByPresenceAndButtonsAndThePlaceBesideTheMainWindow)
{
    struct Case
    {
        const char* name;
        BOOL buddyCard;
        int presence, buttons;
        BOOL shown[3];
    } cases[] = {
        {"offline buddy", TRUE, 3, 2, {TRUE, FALSE, FALSE}},
        {"online buddy that lists its buddies", TRUE, 0, 2, {TRUE, TRUE, TRUE}},
        {"online buddy that does not", TRUE, 1, 1, {TRUE, TRUE, FALSE}},
        {"own card", FALSE, 3, 0, {TRUE, TRUE, TRUE}},
    };
    for (const Case& c : cases)
    {
        BOOL shown[3];
        CDlgBuddyInfo::VisibleActions(CardBuddy(c.presence, c.buttons), c.buddyCard, shown);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(c.shown[i], shown[i]) << c.name << " button " << i;
    }

    struct Place
    {
        const char* name;
        CRect main;
        int pane, top;
        CPoint expected;
    } places[] = {
        {"room on the left", CRect(500, 100, 900, 700), 200, 300, CPoint(268, 302)},
        {"main window at the left edge", CRect(100, 100, 500, 700), 200, 120, CPoint(313, 122)},
        {"exactly enough room", CRect(232, 0, 600, 600), 200, 0, CPoint(0, 2)},
    };
    for (const Place& p : places)
        EXPECT_EQ(p.expected, CDlgBuddyInfo::CardPosition(p.main, p.pane, p.top)) << p.name;
}

TEST(BuddyCardWindow, FadesInShowsTheBuddyFadesOutAndReturnsFromItsFade)
{
    LoadLanguageFile();
    CDlgBuddyInfo::s_mainWindow = &NoMainWindow;
    CDlgBuddyInfo::s_paneWidth = &PaneWidth;
    CDlgBuddyInfo* card = CDlgBuddyInfo::GetInstance();
    EXPECT_EQ(card, CDlgBuddyInfo::GetInstance());

    // Handed over without show: nothing is made until the refresh.
    card->SetFriendItem(CardBuddy(0, 2), FALSE);
    EXPECT_TRUE(card->IsPendingNotShown());
    EXPECT_FALSE(CDlgBuddyInfo::IsInstanceWindow());
    card->RefreshInfo();
    ASSERT_TRUE(CDlgBuddyInfo::IsInstanceWindow());
    EXPECT_TRUE(card->IsBuddyCard());
    ASSERT_TRUE(PumpUntil([&] { return card->Alpha() == 255; }, 3000));
    EXPECT_EQ(0, ::GetWindowLongPtrW(card->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);

    CRect rect;
    card->GetWindowRect(&rect);
    EXPECT_EQ(CRect(0 + 200 + 13, 302, 0 + 200 + 13 + 230, 302 + 170), rect);
    CString text;
    card->m_btnAction2.GetWindowText(text);
    EXPECT_EQ(L"送歌给 Ben", W(text));
    card->m_totalSongs.GetWindowText(text);
    EXPECT_EQ(L"共 128 首歌", W(text));
    EXPECT_TRUE(card->m_btnAction3.IsWindowVisible());
    CaptureWindowPicture(card->GetSafeHwnd(), L"buddy-card.png");

    // An offline buddy: the first action only.
    card->SetFriendItem(CardBuddy(3, 2), TRUE);
    EXPECT_TRUE(card->m_btnAction1.IsWindowVisible());
    EXPECT_FALSE(card->m_btnAction2.IsWindowVisible());
    EXPECT_FALSE(card->m_btnAction3.IsWindowVisible());

    // Fading out, then a new item: it fades in again from where it stood.
    card->FadeOut(TRUE);
    ASSERT_TRUE(PumpUntil([&] { return card->Alpha() < 200; }, 2000));
    int stood = card->Alpha();
    ASSERT_GT(stood, 0);
    card->SetFriendItem(CardBuddy(0, 2), TRUE);
    EXPECT_TRUE(CDlgBuddyInfo::IsInstanceWindow());
    EXPECT_LE(card->Alpha(), stood + 16);
    ASSERT_TRUE(PumpUntil([&] { return card->Alpha() == 255; }, 3000));

    card->FadeOut(TRUE);
    ASSERT_TRUE(PumpUntil([] { return !CDlgBuddyInfo::IsInstanceWindow(); }, 3000));
    EXPECT_EQ(0, card->Alpha());

    // Closing without a fade destroys it at once.
    card->SetFriendItem(CardBuddy(0, 2), TRUE);
    card->FadeOut(FALSE);
    EXPECT_FALSE(CDlgBuddyInfo::IsInstanceWindow());
    CDlgBuddyInfo::DestroyInstance();
}

TEST(AddFriendReport, TheBodyCarriesTheFormAndTwoZeroBytesInBase64)
{
    struct Case
    {
        LPCWSTR from, to, nick;
        int songs;
        const char* form;
    } cases[] = {
        {L"ann@x.com", L"ben@x.com", L"安妮", 12, "from=ann@x.com&to=ben@x.com&nick=\xE5\xAE\x89\xE5\xA6\xAE&songnum=12"},
        {L"a@x.com", L"b@x.com", L"", 0, "from=a@x.com&to=b@x.com&nick=&songnum=0"},
        // Bytes that encode to "+" and "/": only "+" is escaped.
        {L"a@x.com", L"b@x.com", L"\x00FB\x00FF>?", 1, "from=a@x.com&to=b@x.com&nick=\xC3\xBB\xC3\xBF>?&songnum=1"},
    };
    for (const Case& c : cases)
    {
        CStringA body = CDlgAddFriend::ReportBody(c.from, c.to, c.nick, c.songs);
        ASSERT_EQ("str=", body.Left(4));
        CStringA b64 = body.Mid(4);
        EXPECT_EQ(-1, b64.Find('+'));
        b64.Replace("%2B", "+");
        std::vector<BYTE> bytes(b64.GetLength());
        Base64Codec codec;
        int n = codec.Decode(b64, bytes.data());
        std::string form(c.form);
        ASSERT_EQ((int)form.size() + 2, n) << c.form;
        EXPECT_EQ(form, std::string((const char*)bytes.data(), form.size()));
        EXPECT_EQ(0, bytes[form.size()]);
        EXPECT_EQ(0, bytes[form.size() + 1]);
    }
}

TEST(AddFriendDialog, AnAddressWithoutAtOrDotIsRefusedWithTheHint)
{
    LoadLanguageFile();
    CDlgAddFriend dialog;
    ASSERT_TRUE(dialog.Create(CDlgAddFriend::IDD, NULL));
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    struct Case
    {
        LPCWSTR typed;
        bool accepted;
    } cases[] = {{L"benx.com", false}, {L"ben@xcom", false}, {L"..\\ben@x.com", false}};
    for (const Case& c : cases)
    {
        dialog.m_hint.ShowWindow(SW_HIDE);
        dialog.m_editAddress.SetWindowText(c.typed);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)dialog.m_btnOK.GetSafeHwnd());
        EXPECT_TRUE(dialog.m_hint.IsWindowVisible()) << W(c.typed);
        EXPECT_TRUE(dialog.GetFriendAddress().IsEmpty());
    }
    CaptureWindowPicture(dialog.GetSafeHwnd(), L"add-friend.png");
    dialog.DestroyWindow();

    CDlgAddFriendFinal only(0);
    ASSERT_TRUE(only.Create(CDlgAddFriendFinal::IDD, NULL));
    only.ShowWindow(SW_SHOWNOACTIVATE);
    EXPECT_FALSE(only.m_btnContinue.IsWindowVisible());
    EXPECT_TRUE(only.m_btnCloseWindow.IsWindowVisible());
    only.DestroyWindow();
}

TEST(FollowConfirmation, TheTickTurnsTheQuestionOffAtOnceOnlyWithOk)
{
    LoadLanguageFile();
    std::wstring folder = SocialOutputFolder() + L"\\follow\\";
    ::CreateDirectoryW(folder.c_str(), NULL);
    ::DeleteFileW((folder + L"AppSetting.ini").c_str());
    CAppSetting settings(folder.c_str());
    settings.bShowFollowSong = TRUE;
    g_pAppSetting = &settings;

    struct Case
    {
        UINT button;
        BOOL stillAsks;
    } cases[] = {{IDC_FOLLOW_CANCEL, TRUE}, {IDC_FOLLOW_CLOSE, TRUE}, {IDC_FOLLOW_OK, FALSE}};
    for (const Case& c : cases)
    {
        CDlgConfirmListen dialog;
        ASSERT_TRUE(dialog.Create(CDlgConfirmListen::IDD, NULL));
        dialog.ShowWindow(SW_SHOWNOACTIVATE);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FOLLOW_DONT_ASK, BN_CLICKED), 0);
        EXPECT_TRUE(dialog.DontAskAgain());
        if (c.button == IDC_FOLLOW_OK)
            CaptureWindowPicture(dialog.GetSafeHwnd(), L"follow-confirm.png");
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0);
        EXPECT_EQ(c.stillAsks, settings.bShowFollowSong) << c.button;
        CAppSetting reread(folder.c_str());
        EXPECT_EQ(c.stillAsks, reread.bShowFollowSong) << c.button;
        dialog.DestroyWindow();
    }
    g_pAppSetting = nullptr;
}
