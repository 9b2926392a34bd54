// The chat window and its boxes as windows under the display, driven by
// messages: lines sent and received with speaker, time and text, the input
// box's keys and empty/non-empty reports, the nick and listening lines, the
// advertisement list, and closing.
#include <gtest/gtest.h>

#include "AppSetting.h"
#include "DlgInstantMessaging.h"
#include "FriendItem.h"
#include "RichEdit20Ctrl.h"
#include "SocialTestSupport.h"
#include "Vossel.h"
#include "resource.h"

#include <map>
#include <vector>

namespace
{
std::vector<std::pair<std::wstring, std::wstring>> g_sent;

int RecordSend(const wchar_t* buddy, const wchar_t* text)
{
    g_sent.push_back({buddy, text});
    return 0;
}

CString FixedClock()
{
    return L"12:34:56";
}

CString NoAdList()
{
    return CString();
}

// A plain window that keeps the input box's reports to its owner.
class InputOwner : public CWnd
{
  public:
    std::vector<std::pair<UINT, WPARAM>> reports;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_INPUT_SEND || message == WM_INPUT_EMPTY)
        {
            reports.push_back({message, wParam});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

void SetShift(bool down)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

class ChatWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        LoadLanguageFile();
        g_sent.clear();
        CDlgInstantMessaging::s_sendMessage = &RecordSend;
        CDlgInstantMessaging::s_clock = &FixedClock;
        CDlgInstantMessaging::s_adAddress = &NoAdList;
        m_settings.reset(new CAppSetting((std::wstring(SocialOutputFolder()) + L"\\").c_str()));
        m_settings->strNick = L"安妮";
        g_pAppSetting = m_settings.get();
    }
    void TearDown() override
    {
        while (!m_map.empty())
            m_map.begin()->second->DestroyWindow();
        PumpMessages();
        g_pAppSetting = nullptr;
        CDlgInstantMessaging::s_sendMessage = &yebJinMessage;
    }

    CDlgInstantMessaging* Open(const CFriendItem& item)
    {
        CDlgInstantMessaging* chat = new CDlgInstantMessaging(&m_map, NULL);
        chat->SetFriendItem(item, FALSE);
        if (!chat->Create(CDlgInstantMessaging::IDD, CWnd::GetDesktopWindow()))
            return nullptr;
        m_map[item.id] = chat;
        chat->ShowWindow(SW_SHOWNOACTIVATE);
        PumpMessages();
        return chat;
    }
    static CString Text(CWnd& box)
    {
        CString text;
        box.GetWindowText(text);
        return text;
    }
    static void Type(CDlgInstantMessaging* chat, LPCWSTR text)
    {
        chat->GetInputBox().SetSel(-1, -1);
        chat->GetInputBox().ReplaceSel(text);
    }
    static void PressEnter(CDlgInstantMessaging* chat)
    {
        chat->GetInputBox().SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        PumpMessages();
    }

    ChatWindowMap m_map;
    std::unique_ptr<CAppSetting> m_settings;
};

CFriendItem Buddy(LPCWSTR id, LPCWSTR nick, int presence = PRESENCE_ONLINE)
{
    CFriendItem item = TestBuddy(id, nick, presence);
    item.signature = L"今天听什么";
    return item;
}
} // namespace

TEST_F(ChatWindow, EnterSendsTheTypedLineAndBothSidesAppearWithSpeakerAndTime)
{
    CDlgInstantMessaging* chat = Open(Buddy(L"ben@x.com", L"Ben"));
    ASSERT_NE(nullptr, chat);
    CRect window;
    chat->GetWindowRect(&window);
    EXPECT_EQ(CSize(300, 470), window.Size());

    chat->AddIncomingMessage(L"你好，在吗？");
    Type(chat, L"在的，一起听歌吧");
    PressEnter(chat);

    ASSERT_EQ(1u, g_sent.size());
    EXPECT_EQ(L"ben@x.com", g_sent[0].first);
    EXPECT_EQ(L"在的，一起听歌吧", g_sent[0].second);
    EXPECT_EQ(0, chat->GetInputBox().GetTextLength());
    EXPECT_FALSE(chat->m_btnSend.IsWindowEnabled());

    CString history = Text(chat->GetHistoryBox());
    int buddyLine = history.Find(L"Ben  12:34:56");
    int buddyText = history.Find(L"你好，在吗？");
    int ownLine = history.Find(L"安妮  12:34:56");
    int ownText = history.Find(L"在的，一起听歌吧");
    EXPECT_GE(buddyLine, 0) << W(history);
    EXPECT_LT(buddyLine, buddyText);
    EXPECT_LT(buddyText, ownLine);
    EXPECT_LT(ownLine, ownText);

    // The header takes the speaker's colour, the text the text colour.
    CIMHistoryRichEdit& box = chat->GetHistoryBox();
    struct Expect
    {
        int at;
        COLORREF colour;
    } cases[] = {{buddyLine, 0xCC6600}, {buddyText, 0x333333}, {ownLine, 0x008000}, {ownText, 0x333333}};
    for (const Expect& e : cases)
    {
        box.SetSel(e.at, e.at + 1);
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        box.GetSelectionCharFormat(format);
        EXPECT_EQ(e.colour, format.crTextColor) << e.at;
    }
    CaptureWindowPicture(chat->GetSafeHwnd(), L"chat-window.png");
}

TEST_F(ChatWindow, WhatIsSentAndWhatIsNot)
{
    CDlgInstantMessaging* chat = Open(Buddy(L"ben@x.com", L""));
    ASSERT_NE(nullptr, chat);
    PressEnter(chat); // empty: nothing goes out
    EXPECT_TRUE(g_sent.empty());
    Type(chat, L"   ");
    PressEnter(chat); // blanks are a line like any other
    ASSERT_EQ(1u, g_sent.size());
    EXPECT_EQ(L"   ", g_sent[0].second);

    // A buddy without a nick is named by the id; the own line by the e-mail
    // when the own nick is empty (no signed-in user here: the id alone).
    chat->AddIncomingMessage(L"hi");
    EXPECT_GE(Text(chat->GetHistoryBox()).Find(L"ben@x.com  12:34:56"), 0);

    CFriendItem invisible = Buddy(L"ben@x.com", L"Ben", PRESENCE_INVISIBLE);
    chat->SetFriendItem(invisible, TRUE);
    EXPECT_FALSE(chat->m_btnSend.IsWindowEnabled());
    Type(chat, L"还在吗");
    PressEnter(chat);
    EXPECT_EQ(1u, g_sent.size()); // refused silently
}

TEST_F(ChatWindow, NickListeningAndCaptionFollowTheBuddy)
{
    CFriendItem ben = Buddy(L"ben@x.com", L"Ben");
    ben.listen2 = L"月亮代表我的心";
    ben.listen4 = L"邓丽君";
    CDlgInstantMessaging* chat = Open(ben);
    ASSERT_NE(nullptr, chat);
    EXPECT_EQ(L"Ben \x2014 今天听什么", W(Text(chat->m_nickLine)));
    EXPECT_EQ(L"与 Ben 聊天中", W(chat->m_strCaption));
    EXPECT_TRUE(chat->m_listening.IsWindowVisible());
    EXPECT_EQ(L"<font color=#0066cc>月亮代表我的心 \x2014 邓丽君</font>", W(chat->m_listening.m_strText));

    EXPECT_FALSE(chat->SetNickAndSignature(L"Ben", L"今天听什么", TRUE));
    EXPECT_TRUE(chat->SetNickAndSignature(L"Benny", L"", TRUE));
    EXPECT_EQ(L"Benny", W(Text(chat->m_nickLine)));

    // Another type with the same song and singer changes nothing.
    chat->SetListening(L"月亮代表我的心", L"邓丽君", L"radio", TRUE);
    EXPECT_EQ(L"", W(chat->GetFriendItem().listen6));
    chat->SetListening(L"", L"", L"", TRUE);
    EXPECT_FALSE(chat->m_listening.IsWindowVisible());

    struct Case
    {
        LPCWSTR song, singer, expected;
    } cases[] = {{L"", L"x", L""}, {L"歌", L"", L"<font color=#0066cc>歌</font>"}};
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, W(CDlgInstantMessaging::BuildListeningText(c.song, c.singer, L"#0066cc")));
}

TEST_F(ChatWindow, ClosingRemovesOnlyItsOwnEntry)
{
    CDlgInstantMessaging* ben = Open(Buddy(L"ben@x.com", L"Ben"));
    CDlgInstantMessaging* cat = Open(Buddy(L"Ben@x.com", L"Cat")); // ids differ in case: two keys
    ASSERT_TRUE(ben && cat);
    ASSERT_EQ(2u, m_map.size());
    ben->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    ASSERT_EQ(1u, m_map.size());
    EXPECT_EQ(cat, m_map.begin()->second);
    cat->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CHAT_CLOSE, BN_CLICKED), 0);
    PumpMessages();
    EXPECT_TRUE(m_map.empty());
}

TEST(ChatHeader, SpeakerFormatsFromTheLanguageFileAreFilledSafely)
{
    struct Case
    {
        LPCWSTR format, expected;
    } cases[] = {
        {L"%s  %s 说：", L"Ann  09:00:00 说："},
        {L"%s :", L"Ann :"},
        {L"", L"Ann :"},
        {L"%s %s %s", L"Ann :"},   // a third value would be read from nowhere
        {L"%d %s", L"Ann :"},      // only text values are passed
        {L"100%% %s", L"100% Ann"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, W(CDlgInstantMessaging::FormatHeader(c.format, L"Ann", L"09:00:00"))) << W(c.format);
}

TEST(ChatAdList, EntriesInFileOrderAndTheFirstLinkOfANameStays)
{
    std::vector<CString> names;
    std::map<CString, CString> links;
    ASSERT_TRUE(CDlgInstantMessaging::ParseAdList(
        L"<RT><AD><LI name=\"新歌\" link=\"http://a/1\"/><LI name=\"榜单\" link=\"\"/></AD>"
        L"<AD><LI name=\"新歌\" link=\"http://a/2\"/></AD><XX><LI name=\"no\"/></XX></RT>",
        names, links));
    ASSERT_EQ(3u, names.size());
    EXPECT_EQ(L"榜单", W(names[1]));
    EXPECT_EQ(L"http://a/1", W(links[L"新歌"]));
    EXPECT_FALSE(CDlgInstantMessaging::ParseAdList(L"<AD/>", names, links));
    EXPECT_FALSE(CDlgInstantMessaging::ParseAdList(L"not xml", names, links));
}

TEST_F(ChatWindow, AnAdWithoutLinkIsHiddenAndAnEmptyListLeavesTheLink)
{
    CDlgInstantMessaging* chat = Open(Buddy(L"ben@x.com", L"Ben"));
    ASSERT_NE(nullptr, chat);
    chat->m_adLink.ShowWindow(SW_SHOW);
    EXPECT_EQ(-1, chat->SendMessage(WM_CHAT_ADS_LOADED)); // the loader found nothing
    EXPECT_TRUE(chat->m_adLink.IsWindowVisible());
}

TEST(ChatInputBox, EnterAsksTheOwnerEvenWhenEmptyShiftEnterBreaksTheLine)
{
    ASSERT_TRUE(CRichEdit20Ctrl::LoadLibrary());
    InputOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, L"STATIC", L"", WS_POPUP, CRect(0, 0, 200, 100), NULL, 0));
    CSendMsgRichEdit box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, CRect(0, 0, 200, 100), &owner, 1129));
    box.SetOwner(&owner);
    box.SetEventMask(box.GetEventMask() | ENM_CHANGE);

    box.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(1u, owner.reports.size());
    EXPECT_EQ((UINT)WM_INPUT_SEND, owner.reports[0].first);
    EXPECT_EQ(0, box.GetTextLength()); // swallowed: no line break

    SetShift(true);
    box.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    SetShift(false);
    int sends = 0;
    for (auto& report : owner.reports)
        sends += report.first == WM_INPUT_SEND;
    EXPECT_EQ(1, sends);
    EXPECT_GT(box.GetTextLength(), 0); // the line break

    // Typing reports "not empty", emptying reports "empty".
    box.SendMessage(WM_CHAR, L'好', 0);
    ASSERT_FALSE(owner.reports.empty());
    EXPECT_EQ(std::make_pair((UINT)WM_INPUT_EMPTY, (WPARAM)0), owner.reports.back());
    box.SetSel(0, -1);
    box.ReplaceSel(L"");
    EXPECT_EQ(std::make_pair((UINT)WM_INPUT_EMPTY, (WPARAM)1), owner.reports.back());

    owner.reports.clear();
    box.SendMessage(WM_SYSKEYDOWN, 'S', 1 << 29);
    EXPECT_EQ(0u, owner.reports.size()); // Alt is not held
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_MENU] = 0x80;
    ::SetKeyboardState(keys);
    box.SendMessage(WM_SYSKEYDOWN, 'S', 1 << 29);
    keys[VK_MENU] = 0;
    ::SetKeyboardState(keys);
    ASSERT_EQ(1u, owner.reports.size());
    EXPECT_EQ((UINT)WM_INPUT_SEND, owner.reports[0].first);
    box.DestroyWindow();
    owner.DestroyWindow();
}
