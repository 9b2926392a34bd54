// Notification pop-ups: the shared place table for task bars on any edge,
// short work areas and a full table; real pop-ups on threads of their own
// that slide in, hold, slide out, freeze under the mouse (driven by
// messages), ask for the chat or the settings and tell the main window when
// they end; and the sound of each event.
#include <gtest/gtest.h>

#include "Framework.h"

#include "NotifyPlaceTable.h"
#include "NotifyWndThread.h"
#include "PlayNotifySound.h"
#include "SocialTestSupport.h"
#include "TaskBarNotiferWnd.h"
#include "resource.h"

#include <vector>

namespace
{
struct Reserved
{
    int column, row, x, bottomY;
};

TEST(NotifyPlaces, PopUpsStackUpwardsThenToTheLeftOnAnyTaskBarEdge)
{
    struct Case
    {
        const char* name;
        RECT area;
        int count;
        std::vector<Reserved> expected; // checked for the first pop-ups
    } cases[] = {
        {"task bar at the bottom", {0, 0, 1280, 984}, 5,
         {{0, 0, 1070, 984}, {0, 1, 1070, 882}, {0, 2, 1070, 780}, {0, 3, 1070, 678}, {0, 4, 1070, 576}}},
        {"task bar at the top", {0, 40, 1280, 1024}, 2, {{0, 0, 1070, 1024}, {0, 1, 1070, 922}}},
        {"task bar on the left", {60, 0, 1280, 1024}, 1, {{0, 0, 1070, 1024}}},
        // Three rows fit; the fourth has no room, so the next column begins.
        {"short work area", {0, 0, 1280, 350}, 4,
         {{0, 0, 1070, 350}, {0, 1, 1070, 248}, {0, 2, 1070, 146}, {1, 0, 868, 350}}},
    };
    for (const Case& c : cases)
    {
        NotifyPlaceTable::Reset();
        for (int i = 0; i < c.count; ++i)
        {
            NotifyPlace place;
            ASSERT_TRUE(NotifyPlaceTable::Reserve(c.area, 200, 100, place)) << c.name << " " << i;
            const Reserved& e = c.expected[i];
            EXPECT_EQ(e.column, place.column) << c.name << " " << i;
            EXPECT_EQ(e.row, place.row) << c.name << " " << i;
            EXPECT_EQ(e.x, place.x) << c.name << " " << i;
            EXPECT_EQ(e.bottomY, place.bottomY) << c.name << " " << i;
        }
    }
    // The short column's rows 3 to 9 were passed over.
    for (int row = 3; row < 10; ++row)
        EXPECT_EQ(NotifyPlaceTable::SKIPPED, NotifyPlaceTable::StateOf(row));
    NotifyPlaceTable::Reset();
}

TEST(NotifyPlaces, AFreedPlaceIsTakenAgainAndAFullTableShowsNothing)
{
    NotifyPlaceTable::Reset();
    RECT area = {0, 0, 1280, 1024};
    std::vector<NotifyPlace> places(5);
    for (NotifyPlace& place : places)
        ASSERT_TRUE(NotifyPlaceTable::Reserve(area, 200, 100, place));
    NotifyPlaceTable::Free(places[2]);
    NotifyPlace again;
    ASSERT_TRUE(NotifyPlaceTable::Reserve(area, 200, 100, again));
    EXPECT_EQ(2, again.row);
    EXPECT_EQ(0, again.column);

    // One row per column on a short area: four pop-ups fill the screen.
    NotifyPlaceTable::Reset();
    RECT shortArea = {0, 0, 1280, 150};
    std::vector<NotifyPlace> full(4);
    for (NotifyPlace& place : full)
        ASSERT_TRUE(NotifyPlaceTable::Reserve(shortArea, 200, 100, place));
    NotifyPlace none;
    EXPECT_FALSE(NotifyPlaceTable::Reserve(shortArea, 200, 100, none));
    for (int i = 0; i < NotifyPlaceTable::PLACES; ++i)
        EXPECT_NE(NotifyPlaceTable::FREE, NotifyPlaceTable::StateOf(i)) << i;
    // Once they are gone the whole table is free again.
    for (NotifyPlace& place : full)
        NotifyPlaceTable::Free(place);
    for (int i = 0; i < NotifyPlaceTable::PLACES; ++i)
        EXPECT_EQ(NotifyPlaceTable::FREE, NotifyPlaceTable::StateOf(i)) << i;

    // A pop-up wider than the work area is never placed off the screen.
    RECT narrow = {0, 0, 150, 1024};
    EXPECT_FALSE(NotifyPlaceTable::Reserve(narrow, 200, 100, none));
}

TEST(NotifySounds, EachEventHasItsSoundAndOthersAreSilent)
{
    struct Case
    {
        int type, roll;
        UINT resource;
    } cases[] = {{2, 0, IDW_BUDDY_ONLINE_1}, {2, 7, IDW_BUDDY_ONLINE_8}, {2, 13, IDW_BUDDY_ONLINE_6},
                 {3, 0, IDW_SONG_COLLECTED},  {4, 0, IDW_SONG_PUSHED},     {5, 0, IDW_BUDDY_LISTENING},
                 {1, 0, 0},                   {6, 0, 0},                   {-2, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.resource, NotifySoundResource(c.type, c.roll)) << c.type;
    EXPECT_FALSE(PlayNotifySound(9));
}

// The main window as the pop-ups see it: it keeps what they ask.
class PopupMain : public CWnd
{
  public:
    std::vector<WPARAM> ended;
    std::vector<std::pair<WPARAM, std::wstring>> requests;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY_THREAD_ENDED)
        {
            ended.push_back(wParam);
            return 0;
        }
        if (message == WM_NOTIFY_CHAT_REQUEST)
        {
            CString* id = reinterpret_cast<CString*>(lParam);
            requests.push_back({wParam, id ? std::wstring((LPCWSTR)*id) : std::wstring()});
            delete id;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

RECT g_area = {0, 0, 1280, 1000};
void TestWorkArea(RECT& area)
{
    area = g_area;
}

// A thread-window walk (a system callback, so a plain function): the pop-up.
BOOL CALLBACK FindPopup(HWND window, LPARAM found)
{
    if (::GetDlgCtrlID(::GetDlgItem(window, IDC_POPUP_SETTINGS)) != IDC_POPUP_SETTINGS)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND PopupOf(DWORD threadId)
{
    HWND found = NULL;
    ::EnumThreadWindows(threadId, FindPopup, (LPARAM)&found);
    return found;
}

int HeightOf(HWND window)
{
    RECT rect;
    return ::GetWindowRect(window, &rect) ? rect.bottom - rect.top : -1;
}

class NotifyPopups : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        LoadLanguageFile();
        NotifyPlaceTable::Reset();
        CTaskBarNotiferWnd::s_workArea = &TestWorkArea;
        ASSERT_TRUE(m_main.CreateEx(0, L"STATIC", L"", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
        CBitmap skin;
        ASSERT_TRUE(skin.LoadBitmap(IDB_POPUP_SKIN));
        BITMAP info{};
        skin.GetBitmap(&info);
        m_w = info.bmWidth;
        m_h = info.bmHeight;
    }
    void TearDown() override
    {
        // Every pop-up thread ends once its pop-up has gone.
        for (HANDLE handle : m_threads)
        {
            EXPECT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }, 5000));
            ::CloseHandle(handle);
        }
        m_main.DestroyWindow();
    }
    std::vector<HANDLE> m_threads;

    // Starts a pop-up; its thread id and window once it is placed.
    CNotifyWndThread* Start(LPCWSTR text, LPCWSTR third, DWORD& threadId, HWND& window)
    {
        CNotifyWndThread* thread = new CNotifyWndThread();
        thread->SetTexts(text, L"", third);
        thread->SetMainWindow(m_main.GetSafeHwnd());
        if (!thread->CreateThread())
            return nullptr;
        HANDLE handle = NULL;
        ::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread, ::GetCurrentProcess(), &handle, SYNCHRONIZE, FALSE,
                          0);
        m_threads.push_back(handle);
        threadId = thread->m_nThreadID;
        window = NULL;
        PumpUntil([&] { return (window = PopupOf(threadId)) != NULL && HeightOf(window) > 0; }, 5000);
        return thread;
    }
    bool Ended(CNotifyWndThread* thread)
    {
        for (WPARAM w : m_main.ended)
            if (w == (WPARAM)thread)
                return true;
        return false;
    }

    PopupMain m_main;
    int m_w = 0, m_h = 0;
};
} // namespace

TEST_F(NotifyPopups, SlideInHoldFreezeUnderTheMouseAndSlideOut)
{
    ASSERT_GT(m_h, 0);
    DWORD id = 0;
    HWND popup = NULL;
    CNotifyWndThread* thread = Start(L"Ben 上线了", L"ben@x.com", id, popup);
    ASSERT_TRUE(thread && popup);

    // Hovering during the slide-in stops the growth; leaving resumes it.
    ::SendMessageW(popup, WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
    int frozen = HeightOf(popup);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(frozen, HeightOf(popup));
    EXPECT_LT(frozen, m_h);
    ::SendMessageW(popup, WM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return HeightOf(popup) == m_h; }, 5000));

    RECT rect;
    ::GetWindowRect(popup, &rect);
    EXPECT_EQ(1280 - 10, rect.right);
    EXPECT_EQ(1000, rect.bottom);
    CaptureWindowPicture(popup, L"notify-popup.png");

    // Frozen in the hold, it stays past the two seconds.
    ::SendMessageW(popup, WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
    PumpUntil([] { return false; }, 2600);
    EXPECT_EQ(m_h, HeightOf(popup));
    EXPECT_FALSE(Ended(thread));
    // Leaving slides it out at once; the main window hears that it ended.
    DWORD left = ::GetTickCount();
    ::SendMessageW(popup, WM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return Ended(thread); }, 10000));
    EXPECT_LT(::GetTickCount() - left, 1900u + (DWORD)m_h * 15);
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(NotifyPlaceTable::FREE, NotifyPlaceTable::StateOf(0));
}

TEST_F(NotifyPopups, StackClickForTheChatAndCloseAtOnceWithTheTaskBarOnTop)
{
    g_area = {0, 40, 1280, 1024};
    DWORD firstId = 0, secondId = 0;
    HWND first = NULL, second = NULL;
    CNotifyWndThread* a = Start(L"Ben 上线了", L"ben@x.com", firstId, first);
    CNotifyWndThread* b = Start(L"系统消息", L"", secondId, second);
    ASSERT_TRUE(a && b && first && second);
    ASSERT_TRUE(PumpUntil([&] { return HeightOf(first) == m_h && HeightOf(second) == m_h; }, 5000));
    RECT r1, r2;
    ::GetWindowRect(first, &r1);
    ::GetWindowRect(second, &r2);
    EXPECT_EQ(1024, r1.bottom);
    EXPECT_EQ(r1.top - 2, r2.bottom);

    // A click asks for the chat only when the third text is an address.
    ::SendMessageW(first, WM_LBUTTONUP, 0, MAKELPARAM(20, 50));
    ::SendMessageW(second, WM_LBUTTONUP, 0, MAKELPARAM(20, 50));
    ::SendMessageW(second, WM_COMMAND, MAKEWPARAM(IDC_POPUP_SETTINGS, BN_CLICKED), 0);
    PumpUntil([&] { return m_main.requests.size() >= 2; }, 2000);
    ASSERT_EQ(2u, m_main.requests.size());
    EXPECT_EQ(1u, m_main.requests[0].first);
    EXPECT_EQ(L"ben@x.com", m_main.requests[0].second);
    EXPECT_EQ(0u, m_main.requests[1].first);

    // The close box ends it at once.
    ::SendMessageW(first, WM_LBUTTONUP, 0, MAKELPARAM(m_w - 10, 10));
    ASSERT_TRUE(PumpUntil([&] { return Ended(a); }, 2000));
    EXPECT_FALSE(Ended(b));
    EXPECT_EQ(NotifyPlaceTable::FREE, NotifyPlaceTable::StateOf(0));
    ::SendMessageW(second, WM_LBUTTONUP, 0, MAKELPARAM(m_w - 10, 10));
    ASSERT_TRUE(PumpUntil([&] { return Ended(b); }, 2000));
    g_area = {0, 0, 1280, 1000};
}
