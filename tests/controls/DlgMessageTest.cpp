// The skinned message box: layouts, results of its buttons, Esc and the
// auto-close timer. Each box is driven from a thread timer of the modal loop.
#include "DlgMessage.h"
#include "ControlsPicture.h"
#include "WindowPixels.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
std::function<void(HWND)> g_drive;

// The box among this thread's own windows: other test programs running at
// the same time show boxes with the same caption.
BOOL CALLBACK FindOwnBox(HWND window, LPARAM found)
{
    wchar_t caption[32] = {};
    ::GetWindowTextW(window, caption, 32);
    if (wcscmp(caption, L"Box under test") != 0)
        return TRUE;
    *(HWND*)found = window;
    return FALSE;
}

// Finds the box by its caption and hands it to the test's driver once.
void CALLBACK DriveBox(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = NULL;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOwnBox, (LPARAM)&box);
    if (!box || !::IsWindowVisible(box))
        return;
    ::KillTimer(NULL, id);
    g_drive(box);
}

int RunBox(int buttons, const wchar_t* second, std::function<void(HWND)> drive, int autoClose = 0)
{
    g_drive = drive;
    ::SetTimer(NULL, 0, 50, DriveBox);
    return CDlgMessage::ShowMessage(L"A first line", buttons, second, L"Box under test", autoClose, 0, NULL);
}

CRect ClientRectOf(HWND box, int id)
{
    CRect r;
    HWND item = ::GetDlgItem(box, id);
    ::GetWindowRect(item, &r);
    ::MapWindowPoints(NULL, box, (LPPOINT)&r, 2);
    return r;
}
} // namespace

TEST(DlgMessage, OkOnlyLayoutAndTheCloseButtonCancels)
{
    int result = RunBox(0, L"", [](HWND box) {
        CRect window;
        ::GetWindowRect(box, &window);
        EXPECT_EQ(384, window.Width());
        EXPECT_EQ(142, window.Height());
        EXPECT_EQ(CPoint(280, 95), ClientRectOf(box, IDOK).TopLeft());
        EXPECT_EQ(74, ClientRectOf(box, IDOK).Width());
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(box, IDCANCEL)));
        EXPECT_EQ(52, ClientRectOf(box, IDC_MESSAGE_TEXT).top);
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(box, IDC_MESSAGE_SECOND_LINE)));
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_MESSAGE_CLOSE, BN_CLICKED), (LPARAM)::GetDlgItem(box, IDC_MESSAGE_CLOSE));
    });
    EXPECT_EQ(IDCANCEL, result);
}

TEST(DlgMessage, TwoButtonsTwoLinesAndEscape)
{
    int result = RunBox(1, L"A second line", [](HWND box) {
        EXPECT_EQ(CPoint(203, 95), ClientRectOf(box, IDOK).TopLeft());
        EXPECT_EQ(CPoint(280, 95), ClientRectOf(box, IDCANCEL).TopLeft());
        EXPECT_EQ(43, ClientRectOf(box, IDC_MESSAGE_TEXT).top);
        EXPECT_EQ(67, ClientRectOf(box, IDC_MESSAGE_SECOND_LINE).top);
        // The buttons' rounded caps show the box, not their magenta key colour.
        ::RedrawWindow(box, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        WindowPixels(box).SavePng(ControlsPicturePath(L"message-box-two-buttons.png"));
        for (int id : {IDOK, IDCANCEL})
        {
            WindowPixels button(::GetDlgItem(box, id));
            const RECT left = {0, 0, 4, button.Height()}, right = {button.Width() - 4, 0, button.Width(), button.Height()};
            EXPECT_EQ(0, button.Count(RGB(255, 0, 255), &left) + button.Count(RGB(255, 0, 255), &right)) << id;
            CRect at = ClientRectOf(box, id);
            EXPECT_EQ(WindowPixels(box).At(at.left - 1, at.top), button.At(0, 0)) << id << ": the box's face";
        }
        ::PostMessageW(::GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(IDCANCEL, result);
    result = RunBox(1, NULL, [](HWND box) {
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(box, IDOK));
    });
    EXPECT_EQ(IDOK, result);
}

TEST(DlgMessage, AutoCloseEndsWithOkOnTheSecondTick)
{
    int result = RunBox(1, L"", [](HWND box) {
        ::SendMessageW(box, WM_TIMER, CDlgMessage::TIMER_AUTO_CLOSE, 0);
        EXPECT_TRUE(::IsWindowVisible(box)); // the first tick does nothing visible
        ::SendMessageW(box, WM_TIMER, CDlgMessage::TIMER_AUTO_CLOSE, 0);
    }, 1);
    EXPECT_EQ(IDOK, result);
}
