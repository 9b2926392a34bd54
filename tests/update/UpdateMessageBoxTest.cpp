// The updater's message box: its two layouts, the results of its buttons, the
// close button and Esc, and every text of the updater shown whole. Each box is
// driven from a thread timer of its own modal loop; pictures go to
// build\test-output\updater.
#include <winsock2.h> // before the headers that bring <windows.h>
#include "MarkupDrawer.h"
#include "UpdateMessage.h"
#include "UpdateMessageBox.h"
#include "UpdaterWindows.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <functional>

using namespace updatetest;

namespace
{

std::function<void(HWND)> g_drive;

// The box among this thread's own windows: other test programs show boxes
// with the same caption at the same time.
BOOL CALLBACK FindOwnBox(HWND window, LPARAM found)
{
    if (UpdaterWindows::Text(window) != kUpdateMessageCaption)
        return TRUE;
    *(HWND*)found = window;
    return FALSE;
}

void CALLBACK DriveBox(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindOwnBox, (LPARAM)&box);
    if (!box || !IsWindowVisible(box))
        return;
    KillTimer(NULL, id);
    g_drive(box);
}

int RunBox(const wchar_t* text, int style, std::function<void(HWND)> drive)
{
    g_drive = drive;
    SetTimer(NULL, 0, 50, DriveBox);
    return ShowUpdateMessage(text, style, NULL);
}

void PressEscape(HWND box)
{
    PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST(UpdateMessageBox, OkOnlyShowsOneButtonAtTheRightAndOnlyOkAnswersOk)
{
    const wchar_t text[] = L"All modules are the latest.";
    int result = RunBox(text, UPDATE_MESSAGE_OK, [&](HWND box) {
        RECT window;
        GetWindowRect(box, &window);
        EXPECT_EQ(384, window.right - window.left);
        EXPECT_EQ(142, window.bottom - window.top);
        RECT ok = UpdaterWindows::ClientRectOf(box, IDOK);
        EXPECT_EQ(280, ok.left);
        EXPECT_EQ(95, ok.top);
        EXPECT_EQ(74, ok.right - ok.left);
        EXPECT_TRUE(UpdaterWindows::IsShown(box, IDOK));
        EXPECT_FALSE(UpdaterWindows::IsShown(box, IDCANCEL));
        RECT client;
        GetClientRect(box, &client);
        EXPECT_EQ(client.right - 34, UpdaterWindows::ClientRectOf(box, IDC_UPDATE_CLOSE).left);
        EXPECT_EQ(kUpdateMessageCaption, UpdaterWindows::Text(box));
        EXPECT_EQ(text, UpdaterWindows::Text(box, IDC_MESSAGE_TEXT));
        EXPECT_TRUE(UpdaterWindows::SavePicture(box, L"message-ok"));
        PressEscape(box);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(IDCANCEL, RunBox(text, UPDATE_MESSAGE_OK, [](HWND box) { UpdaterWindows::Click(box, IDC_UPDATE_CLOSE); }));
    EXPECT_EQ(IDOK, RunBox(text, UPDATE_MESSAGE_OK, [](HWND box) { UpdaterWindows::Click(box, IDOK); }));
    // Enter answers with the focused OK.
    EXPECT_EQ(IDOK, RunBox(text, UPDATE_MESSAGE_OK, [](HWND box) {
        PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_RETURN, 0);
    }));
}

TEST(UpdateMessageBox, OkAndCancelStandSideBySide)
{
    const wchar_t text[] = L"您确定要取消升级吗？";
    int result = RunBox(text, UPDATE_MESSAGE_OK_CANCEL, [&](HWND box) {
        RECT ok = UpdaterWindows::ClientRectOf(box, IDOK), cancel = UpdaterWindows::ClientRectOf(box, IDCANCEL);
        EXPECT_EQ(203, ok.left);
        EXPECT_EQ(280, cancel.left);
        EXPECT_EQ(95, ok.top);
        EXPECT_EQ(95, cancel.top);
        EXPECT_EQ(74, ok.right - ok.left);
        EXPECT_EQ(74, cancel.right - cancel.left);
        EXPECT_TRUE(UpdaterWindows::IsShown(box, IDCANCEL));
        EXPECT_EQ(L"取消", UpdaterWindows::Text(box, IDCANCEL));
        EXPECT_EQ(L"确定", UpdaterWindows::Text(box, IDOK));
        EXPECT_TRUE(UpdaterWindows::SavePicture(box, L"message-ok-cancel"));
        UpdaterWindows::Click(box, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(IDCANCEL, RunBox(text, UPDATE_MESSAGE_OK_CANCEL, PressEscape));
    EXPECT_EQ(IDOK, RunBox(text, UPDATE_MESSAGE_OK_CANCEL, [](HWND box) { UpdaterWindows::Click(box, IDOK); }));
}

TEST(UpdateMessageBox, EveryTextOfTheUpdaterIsShownAndWholeInItsTip)
{
    // A module's text comes from the network: its tags must stay text.
    const std::wstring module = L"<a href='yeb360://closeandstartup/'>客户端</a>";
    const struct
    {
        std::wstring text;
        int style;
    } cases[] = {
        {L"This is singlton  program", UPDATE_MESSAGE_OK},
        {L"Parameters aren't correct!", UPDATE_MESSAGE_OK},
        {L"All modules are the latest.", UPDATE_MESSAGE_OK},
        {L"请选择要升级的组件", UPDATE_MESSAGE_OK},
        {L"您确定要取消升级吗？", UPDATE_MESSAGE_OK_CANCEL},
        {L"网络连接发生错误，请确认网络是否可用，并尝试重新升级！", UPDATE_MESSAGE_OK},
        {L"下载升级包发生错误，请尝试重新升级！", UPDATE_MESSAGE_OK},
        {L"创建文件发生错误，请尝试重新升级！", UPDATE_MESSAGE_OK},
        {L"升级" + module + L"发生错误，请尝试重新升级！", UPDATE_MESSAGE_OK},
        {L"本次升级成功！按“确定”按钮继续登录。", UPDATE_MESSAGE_OK},
        {L"本地升级失败，请重新升级", UPDATE_MESSAGE_OK},
        {L"安装" + module + L"需要关闭此程序，请点击“确定”关闭此程序", UPDATE_MESSAGE_OK_CANCEL},
    };
    int index = 0;
    for (const auto& c : cases)
    {
        CUpdateMessageBox box(c.text.c_str(), c.style);
        g_drive = [&](HWND window) {
            EXPECT_EQ(c.text, UpdaterWindows::Text(window, IDC_MESSAGE_TEXT));
            EXPECT_EQ(c.style == UPDATE_MESSAGE_OK_CANCEL, UpdaterWindows::IsShown(window, IDCANCEL));
            MarkupToolInfo tip;
            EXPECT_TRUE(box.m_tooltip.GetToolInfo(&box.m_text, 0, &tip));
            EXPECT_EQ(MarkupDrawer::EscapeText(c.text), std::wstring(tip.text));
            if (index == 11)
            {
                EXPECT_TRUE(UpdaterWindows::SavePicture(window, L"message-close-program"));
            }
            UpdaterWindows::Click(window, IDOK);
        };
        SetTimer(NULL, 0, 50, DriveBox);
        EXPECT_EQ(IDOK, box.DoModal());
        ++index;
    }
}

} // namespace
