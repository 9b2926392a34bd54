// The button skin object: the face part and state of each kind of button
// by its check, focus, hot, pushed and enabled state, read back from the
// pixels it paints; the label placing of group boxes; owner-drawn buttons
// left alone.
#include "SFSkinFramework.h"
#include "SFSkinObjectButton.h"
#include "SkinStateMatch.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <gtest/gtest.h>

class ButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        manager = GetSkinFramework();
        manager->SetApplyToNewWindows(FALSE);
        ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
        parent =
            CreateWindowExW(WS_EX_TOPMOST, PlainWindowClass(), L"Buttons", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            60, 60, 360, 240, NULL, NULL, GetModuleHandleW(NULL), NULL);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        manager->RemoveAll(TRUE);
        manager->LoadSkin(L"", L"");
    }
    HWND MakeButton(DWORD style, const wchar_t* text, int x = 10, int y = 10, int width = 120,
                    int height = 28)
    {
        HWND button = CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                      parent, NULL, GetModuleHandleW(NULL), NULL);
        manager->ApplyWindow(button);
        return button;
    }
    CSFSkinObjectButton* ObjectOf(HWND button)
    {
        return dynamic_cast<CSFSkinObjectButton*>(manager->Lookup(button));
    }

    CSFSkinFramework* manager = nullptr;
    HWND parent = NULL;
};

TEST_F(ButtonTest, FaceStateFollowsTheButtonsState)
{
    enum Setup
    {
        None = 0,
        Checked = 1,
        Mixed = 2,
        Hot = 4,
        Pushed = 8,
        Disabled = 16
    };
    struct
    {
        DWORD style;
        int setup;
        int part, state;
    } cases[] = {
        {BS_PUSHBUTTON, None, 1, 1},
        {BS_DEFPUSHBUTTON, None, 1, 5},
        {BS_DEFPUSHBUTTON, Hot, 1, 2},
        {BS_PUSHBUTTON, Hot | Pushed, 1, 3},
        {BS_PUSHBUTTON, Disabled | Pushed, 1, 4},
        {BS_AUTOCHECKBOX | BS_PUSHLIKE, Checked, 1, 3},
        {BS_AUTOCHECKBOX, None, 3, 1},
        {BS_AUTOCHECKBOX, Checked, 3, 5},
        {BS_AUTOCHECKBOX, Checked | Hot, 3, 6},
        {BS_CHECKBOX, Checked | Disabled, 3, 8},
        {BS_AUTO3STATE, Mixed, 3, 9},
        {BS_AUTO3STATE, Mixed | Disabled, 3, 12},
        {BS_AUTORADIOBUTTON, None, 2, 1},
        {BS_AUTORADIOBUTTON, Checked | Pushed, 2, 7},
        {BS_RADIOBUTTON, Checked | Disabled, 2, 8},
        {BS_GROUPBOX, None, 4, 1},
        {BS_GROUPBOX, Disabled, 4, 2},
    };
    CSFSkinClass* cls = manager->GetSkinClass(L"BUTTON");
    ASSERT_NE(nullptr, cls);
    for (auto& c : cases)
    {
        HWND button = MakeButton(c.style, L"Play");
        CSFSkinObjectButton* object = ObjectOf(button);
        ASSERT_NE(nullptr, object);
        if (c.setup & Checked)
            SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
        if (c.setup & Mixed)
            SendMessageW(button, BM_SETCHECK, BST_INDETERMINATE, 0);
        if (c.setup & Hot)
            SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        if (c.setup & Pushed)
            SendMessageW(button, BM_SETSTATE, TRUE, 0);
        if (c.setup & Disabled)
            EnableWindow(button, FALSE);
        WindowShot shot = PrintClientShot(button);
        EXPECT_EQ(c.part, object->GetLastPart()) << c.style << "/" << c.setup;
        EXPECT_EQ(c.state, object->GetLastState()) << c.style << "/" << c.setup;
        if (c.part != 4)
        {
            RECT client = {0, 0, shot.width, shot.height};
            HDC screen = GetDC(NULL);
            RECT area = c.part == 1 ? client : object->Layout(screen, c.part == 3 ? 1 : 2, client);
            ReleaseDC(NULL, screen);
            std::vector<int> states;
            for (int s = 1; s <= (c.part == 1 ? 5 : c.part == 2 ? 8 : 12); s++)
                states.push_back(s);
            EXPECT_EQ(c.state, BestMatchingState(shot, area, cls, c.part, states, shot.At(shot.width - 1, 0)))
                << c.style << "/" << c.setup;
        }
        DestroyWindow(button);
    }
}

TEST_F(ButtonTest, HotAndPushedAreClearedByMouseLeaveAndSkinChange)
{
    HWND button = MakeButton(BS_PUSHBUTTON, L"Send");
    CSFSkinObjectButton* object = ObjectOf(button);
    ASSERT_NE(nullptr, object);
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    EXPECT_TRUE(object->IsHot());
    SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(object->IsHot());
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(object->IsPushed());
    // BM_SETSTATE reaches the control, which still keeps its own state.
    EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_TRUE(GetWindowLongPtrW(button, GWL_STYLE) & WS_VISIBLE);
    object->ApplySkinState(TRUE, TRUE);
    EXPECT_FALSE(object->IsHot());
    EXPECT_FALSE(object->IsPushed());
}

TEST_F(ButtonTest, GroupBoxCaptionSitsOnTheFrameLine)
{
    // Right aligned: 6 pixels plus a border from the right edge; the caption
    // background breaks the frame line under the caption.
    HWND group = MakeButton(BS_GROUPBOX | BS_RIGHT, L"Songs", 10, 10, 200, 80);
    CSFSkinObjectButton* object = ObjectOf(group);
    ASSERT_NE(nullptr, object);
    RECT client = {0, 0, 200, 80};
    HDC dc = GetDC(group);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageW(group, WM_GETFONT, 0, 0));
    RECT caption = object->Layout(dc, 5, client);
    RECT frame = object->Layout(dc, 6, client);
    SelectObject(dc, old);
    ReleaseDC(group, dc);
    EXPECT_EQ(200 - 1 - 6, caption.right);
    EXPECT_GT(caption.right - caption.left, 10);

    RECT groupRect, parentRect;
    GetWindowRect(group, &groupRect);
    GetWindowRect(parent, &parentRect);
    int dx = groupRect.left - parentRect.left, dy = groupRect.top - parentRect.top;
    COLORREF line = RGB(128, 176, 228);
    WindowShot shot =
        SteadyShot(parent, [&](const WindowShot& s) { return s.At(dx + 2, dy + frame.top) == line; });
    KeepWindowPicture(parent, L"button-groupbox");
    EXPECT_EQ(line, shot.At(dx + 2, dy + frame.top)) << "the frame line left of the caption";
    int lineUnderCaption = 0;
    for (int x = caption.left; x < caption.right; x++)
        lineUnderCaption += shot.At(dx + x, dy + frame.top) == line ? 1 : 0;
    EXPECT_EQ(0, lineUnderCaption);
    // The caption is written in the group box's own text colour.
    RECT captionOnShot = caption;
    OffsetRect(&captionOnShot, dx, dy);
    EXPECT_GT(shot.CountIn(captionOnShot, {RGB(58, 124, 196)}), 5);
}

TEST_F(ButtonTest, FocusRectangleOnlyWhileFocused)
{
    for (DWORD style : {(DWORD)BS_PUSHBUTTON, (DWORD)BS_AUTOCHECKBOX})
    {
        HWND button = MakeButton(style, L"Focus");
        WindowShot unfocused = PrintClientShot(button);
        SetFocus(button);
        ASSERT_EQ(button, GetFocus());
        WindowShot focused = PrintClientShot(button);
        SetFocus(parent);
        WindowShot again = PrintClientShot(button);
        int focusDiffers = 0, againDiffers = 0;
        for (size_t i = 0; i < unfocused.pixels.size(); i++)
        {
            focusDiffers += focused.pixels[i] != unfocused.pixels[i] ? 1 : 0;
            againDiffers += again.pixels[i] != unfocused.pixels[i] ? 1 : 0;
        }
        EXPECT_GT(focusDiffers, 20) << style;
        EXPECT_EQ(0, againDiffers) << style;
        DestroyWindow(button);
    }
}

TEST_F(ButtonTest, AnIconButtonCentresItsIconAndAnEmptyOneShowsOnlyItsFace)
{
    HWND button = MakeButton(BS_PUSHBUTTON | BS_ICON, L"", 10, 10, 60, 44);
    WindowShot empty = PrintClientShot(button);
    HICON icon = LoadIconW(NULL, (LPCWSTR)IDI_INFORMATION);
    ASSERT_NE(nullptr, icon);
    SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon);
    WindowShot shown = PrintClientShot(button);
    RECT box = {shown.width, shown.height, -1, -1};
    for (int y = 0; y < shown.height; y++)
        for (int x = 0; x < shown.width; x++)
            if (shown.At(x, y) != empty.At(x, y))
            {
                box.left = x < box.left ? x : box.left;
                box.top = y < box.top ? y : box.top;
                box.right = x + 1 > box.right ? x + 1 : box.right;
                box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
            }
    ASSERT_GT(box.right, box.left) << "the icon was not drawn";
    EXPECT_LE(box.right - box.left, GetSystemMetrics(SM_CXICON));
    EXPECT_NEAR(shown.width / 2, (box.left + box.right) / 2, 2);
    EXPECT_NEAR(shown.height / 2, (box.top + box.bottom) / 2, 2);
    // Without its image the button is its face alone again.
    SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, 0);
    EXPECT_TRUE(PrintClientShot(button).pixels == empty.pixels);
    EXPECT_EQ(1, ObjectOf(button)->GetLastState());
}

TEST_F(ButtonTest, OwnerDrawnButtonsAreLeftToTheirOwner)
{
    HWND button = MakeButton(BS_OWNERDRAW, L"Owner");
    CSFSkinObjectButton* object = ObjectOf(button);
    ASSERT_NE(nullptr, object);
    PrintClientShot(button);
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(0, object->GetLastPart());
    EXPECT_FALSE(object->IsHot());
}

TEST_F(ButtonTest, ButtonsShowTheStyleAndNotAfterRemoval)
{
    HWND push = MakeButton(BS_PUSHBUTTON, L"Play", 10, 10, 100, 28);
    MakeButton(BS_DEFPUSHBUTTON, L"Send", 120, 10, 100, 28);
    HWND check = MakeButton(BS_AUTOCHECKBOX, L"Shuffle", 10, 50, 120, 20);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    MakeButton(BS_AUTORADIOBUTTON, L"Repeat", 10, 80, 120, 20);
    HWND disabled = MakeButton(BS_PUSHBUTTON, L"Stop", 230, 10, 100, 28);
    EnableWindow(disabled, FALSE);
    MakeButton(BS_GROUPBOX, L"Play list", 140, 50, 190, 100);
    TakeWindowShot(parent);
    KeepWindowPicture(parent, L"buttons-skinned");

    std::set<COLORREF> normal = StylePictureColours(L"PushButton.bmp", 0, 5);
    RECT middle = {10, 4, 90, 24};
    int area = (middle.right - middle.left) * (middle.bottom - middle.top);
    WindowShot shot =
        SteadyShot(push, [&](const WindowShot& s) { return s.CountIn(middle, normal) > area / 2; });
    EXPECT_GT(shot.CountIn(middle, normal), area / 2);

    // Labels in the style's text colours, the disabled one greyed.
    RECT all = {0, 0, shot.width, shot.height};
    EXPECT_GT(shot.CountIn(all, {RGB(30, 70, 124)}), 5);
    WindowShot greyed =
        SteadyShot(disabled, [&](const WindowShot& s) { return s.CountIn(all, {RGB(150, 160, 172)}) > 5; });
    EXPECT_GT(greyed.CountIn(all, {RGB(150, 160, 172)}), 5);
    EXPECT_EQ(0, greyed.CountIn(all, {RGB(30, 70, 124)}));

    manager->RemoveAll(TRUE);
    manager->LoadSkin(L"", L"");
    shot = TakeWindowShot(push);
    EXPECT_LT(shot.CountIn(middle, normal), area / 10);
}
