// Label and picture statics: link targets, page-command links, status icons,
// transparent text, picture loading and hover notifications.
#include "AdvertiseStaticLink.h"
#include "LinkPolicy.h"
#include "MainWindowLink.h"
#include "PictureStatic.h"
#include "StatusStatic.h"
#include "TransparentStatic.h"
#include "ControlsPicture.h"
#include "WindowPixels.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class Parent : public CWnd
{
public:
    std::vector<std::pair<UINT, WPARAM>> received;
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_POPUP | WS_VISIBLE, 850, 650, 300, 200, NULL, NULL);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 24 || message == WM_USER + 25 || message == WM_COMMAND)
            received.push_back({message, wParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST(MainWindowLink, PageCommandLinks)
{
    struct Case { const wchar_t* link; UINT command; const wchar_t* rest; } cases[] = {
        {L"yeb360://openwindow/board", 0x805A, L"board"},
        {L"yeb360://openwindow_ad/x", 0x805B, L"x"},
        {L"yeb360://openwindow/", 0x805A, L""},
        {L"http://www.example.com/", 0, L""},
        {L"YEB360://openwindow/board", 0, L""},
    };
    for (const Case& c : cases)
    {
        CString rest;
        EXPECT_EQ(c.command, IMainWindowLink::ParsePageCommand(c.link, rest)) << c.link;
        EXPECT_EQ(CString(c.rest), rest) << c.link;
    }
}

TEST(LinkTarget, OnlyWebMailAndPageCommandTextsAreOpenable)
{
    struct Case { const wchar_t* text; BOOL openable; } cases[] = {
        {L"http://a.example/", TRUE}, {L"HTTPS://a.example/", TRUE}, {L"mailto:a@b.example", TRUE},
        {L"yeb360://openwindow/x", TRUE}, {L"", FALSE}, {L"C:\\Windows\\notepad.exe", FALSE},
        {L"\\\\host\\share\\x.dll", FALSE}, {L"file:///c:/x", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.openable, CLinkTarget::IsOpenable(c.text)) << c.text;
}

namespace
{
// The main window as the link policy sees it, and the shell.
class PageCommandMain : public IMainWindowLink
{
public:
    MyProfileRecord profile;
    std::vector<CString> pageCommands;
    static std::vector<CString> shell;
    BOOL IsShowingOwnLibrary() override { return TRUE; }
    CString GetCurrentListName() override { return CString(); }
    MyProfileRecord& GetMyProfile() override { return profile; }
    void PostMyProfile() override {}
    void PushMyPresence() override {}
    void UpdateMyStatusText() override {}
    void RunImportTip(IDataObject*, int, std::vector<CSyncPlaylist>&) override {}
    CString GetMyUserId() override { return CString(); }
    void UploadSongLists(const std::vector<CSyncPlaylist>&) override {}
    BOOL RunPageCommand(const wchar_t* link) override
    {
        pageCommands.push_back(link);
        return TRUE;
    }
    static INT_PTR Shell(const wchar_t* target, int)
    {
        shell.push_back(target);
        return 42;
    }
};
std::vector<CString> PageCommandMain::shell;
} // namespace

TEST(StaticLink, ClicksOpenWebAndMailThroughTheShellAndPageCommandsInTheMainWindow)
{
    PageCommandMain main;
    SetMainWindowLink(&main);
    CLinkPolicy::s_shellOpen = &PageCommandMain::Shell;
    PageCommandMain::shell.clear();
    Parent parent;
    ASSERT_TRUE(parent.Make());
    const wchar_t* targets[] = {L"http://a.example/", L"yeb360://openwindow_ad/x", L"C:\\Windows\\notepad.exe",
                                L"mailto:a@b.example", L"\\\\host\\share\\x.dll", L"file:///c:/x"};
    for (const wchar_t* target : targets)
    {
        CAdvertiseStaticLink link;
        ASSERT_TRUE(link.Create(L"link", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 80, 20), &parent, 1236));
        link.m_link.m_strTarget = target;
        ::SendMessageW(link.m_hWnd, WM_LBUTTONUP, 0, 0);
        link.DestroyWindow();
    }
    EXPECT_EQ((std::vector<CString>{L"http://a.example/", L"mailto:a@b.example"}), PageCommandMain::shell);
    EXPECT_EQ((std::vector<CString>{L"yeb360://openwindow_ad/x"}), main.pageCommands);
    EXPECT_TRUE(parent.received.empty()) << "a link that opens its target does not tell the parent";
    CLinkPolicy::s_shellOpen = &CLinkPolicy::ShellOpen;
    SetMainWindowLink(nullptr);
    parent.DestroyWindow();
}

TEST(StaticLink, ClickGoesToTheParentWhenTheLinkDoesNotOpenIt)
{
    Parent parent;
    ASSERT_TRUE(parent.Make());
    CStaticLink link;
    ASSERT_TRUE(link.Create(L"link", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 80, 20), &parent, 1234));
    ::SendMessageW(link.m_hWnd, WM_LBUTTONUP, 0, 0); // empty target: nothing opens, nothing sent
    EXPECT_TRUE(parent.received.empty());
    link.m_bOpenTarget = FALSE;
    ::SendMessageW(link.m_hWnd, WM_LBUTTONUP, 0, 0);
    ASSERT_EQ(1u, parent.received.size());
    EXPECT_EQ((UINT)WM_COMMAND, parent.received[0].first);
    EXPECT_EQ(1234u, parent.received[0].second);
    // The hit test turns the hover colour on.
    EXPECT_EQ(HTCLIENT, ::SendMessageW(link.m_hWnd, WM_NCHITTEST, 0, 0));
    EXPECT_EQ(link.m_hoverColour, link.m_colour);
    parent.DestroyWindow();
}

TEST(StatusStatic, IconsByStatus)
{
    CStatusStatic status;
    EXPECT_TRUE(status.AddStatusIcon(0, 307));
    EXPECT_TRUE(status.AddStatusIcon(1, 302));
    HICON first = status.GetStatusIcon(0);
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(status.AddStatusIcon(0, 302)); // the first icon stays
    EXPECT_EQ(first, status.GetStatusIcon(0));
    EXPECT_EQ(nullptr, status.GetStatusIcon(-1));
    EXPECT_FALSE(status.AddStatusIcon(5, 64999));
}

TEST(TransparentStatic, TextStaticsDrawWithoutBackground)
{
    Parent parent;
    ASSERT_TRUE(parent.Make());
    CTransparentStatic text;
    ASSERT_TRUE(text.Create(L"hello", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(0, 0, 80, 20), &parent, 5));
    HDC dc = ::GetDC(text.m_hWnd);
    HBRUSH brush = (HBRUSH)::SendMessageW(parent.m_hWnd, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)text.m_hWnd);
    EXPECT_EQ((HBRUSH)::GetStockObject(NULL_BRUSH), brush);
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc));
    EXPECT_EQ(RGB(63, 88, 106), ::GetTextColor(dc));
    ::ReleaseDC(text.m_hWnd, dc);
    text.SetWindowText(L"changed"); // repaints the parent under it first
    CString now;
    text.GetWindowText(now);
    EXPECT_EQ(CString(L"changed"), now);
    parent.DestroyWindow();
}

TEST(PictureStatic, UnreadablePictureShowsTheDefaultAndHoverIsToldOnce)
{
    Parent parent;
    ASSERT_TRUE(parent.Make());
    CPictureStatic picture;
    ASSERT_TRUE(picture.Create(L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 30, 30), &parent, 9));
    picture.m_defaultBitmap.LoadBitmap(IDB_DEFAULT_AVATAR_SMALL);
    EXPECT_TRUE(picture.SetImage(L""));
    EXPECT_FALSE(picture.SetImage(L"Z:\\no\\such\\picture.jpg"));
    CString path;
    DWORD type = 9;
    EXPECT_TRUE(picture.GetImage(path, type));
    EXPECT_TRUE(path.IsEmpty());
    EXPECT_TRUE(picture.m_image.IsValid()); // the default bitmap
    picture.UpdateWindow();

    ::SendMessageW(picture.m_hWnd, WM_MOUSEHOVER, 0, 0);
    ::SendMessageW(picture.m_hWnd, WM_MOUSEHOVER, 0, 0);
    ::SendMessageW(picture.m_hWnd, WM_MOUSELEAVE, 0, 0);
    ::SendMessageW(picture.m_hWnd, WM_MOUSELEAVE, 0, 0);
    ::SendMessageW(picture.m_hWnd, WM_LBUTTONUP, 0, 0);
    ASSERT_EQ(3u, parent.received.size());
    EXPECT_EQ(std::make_pair((UINT)(WM_USER + 24), (WPARAM)1), parent.received[0]);
    EXPECT_EQ(std::make_pair((UINT)(WM_USER + 24), (WPARAM)0), parent.received[1]);
    EXPECT_EQ((UINT)(WM_USER + 25), parent.received[2].first);
    parent.DestroyWindow();
}

TEST(PictureStatic, GreyStateSetBeforeThePictureIsKept)
{
    // A red picture file.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring file = std::wstring(temp) + L"yeb-picture-static.png";
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB};
        void* bits = nullptr;
        HBITMAP dib = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
        ASSERT_NE(nullptr, dib);
        for (int i = 0; i < 16 * 16; ++i)
            static_cast<DWORD*>(bits)[i] = 0xFFE02010;
        CPixImage red;
        ASSERT_TRUE(red.CreateFromHBITMAP(dib));
        ASSERT_TRUE(red.Save(file.c_str(), PIXIMAGE_FORMAT_PNG));
        ::DeleteObject(dib);
    }
    Parent parent;
    ASSERT_TRUE(parent.Make());
    CPictureStatic picture;
    ASSERT_TRUE(picture.Create(L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 30, 30), &parent, 9));
    picture.m_nState = CPictureStatic::STATE_GREY; // the owner's state, set before the picture
    ASSERT_TRUE(picture.SetImage(file.c_str()));
    EXPECT_EQ(CPictureStatic::STATE_GREY, picture.m_nState);
    picture.Invalidate();
    picture.UpdateWindow();
    WindowPixels shown(picture.m_hWnd);
    shown.SavePng(ControlsPicturePath(L"picture-static-grey.png"));
    COLORREF c = shown.At(15, 15);
    EXPECT_EQ(GetRValue(c), GetGValue(c)) << std::hex << c;
    EXPECT_EQ(GetGValue(c), GetBValue(c)) << std::hex << c;
    EXPECT_GT(GetRValue(c), 0) << "the picture is drawn, in grey";
    parent.DestroyWindow();
    ::DeleteFileW(file.c_str());
}

TEST(StaticLink, HoverColourReturnsToNormalWhenTheMouseHasLeft)
{
    Parent parent;
    ASSERT_TRUE(parent.Make());
    CStaticLink link;
    ASSERT_TRUE(link.Create(L"link", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 80, 20), &parent, 1235));
    link.m_normalColour = RGB(1, 2, 3);
    ::SendMessageW(link.m_hWnd, WM_NCHITTEST, 0, 0);
    EXPECT_TRUE(link.m_bHover);
    // The link stands in the lower right of the screen, where no test puts the mouse.
    MSG msg;
    ::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE); // the message position is the cursor's
    ::SendMessageW(link.m_hWnd, WM_TIMER, link.m_nTimerID, 0);
    EXPECT_FALSE(link.m_bHover);
    EXPECT_EQ(RGB(1, 2, 3), link.m_colour);
    parent.DestroyWindow();
}
