// Edit controls: hot-key texts, the password guard, the in-place editor's
// notifications.
#include "FlatEdit.h"
#include "HotKeyEdit.h"
#include "InPlaceEdit.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// A hot-key edit whose modifier state comes from the test, not the keyboard.
class TestHotKeyEdit : public CHotKeyEdit
{
public:
    BOOL ctrl = FALSE, shift = FALSE, alt = FALSE;

protected:
    void ReadModifiers() override
    {
        m_bCtrlHeld = ctrl;
        m_bShiftHeld = shift;
        m_bAltHeld = alt;
    }
};

// A top-level window that records the messages sent to it.
class Recorder : public CWnd
{
public:
    std::vector<UINT> messages;
    std::vector<InPlaceEditNotify> notes;
    LRESULT answer = 1;
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"recorder", WS_POPUP | WS_VISIBLE, 850, 650, 300, 200, NULL, NULL);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 46)
            messages.push_back(message);
        if (message == GetInPlaceEditMessage())
        {
            notes.push_back(*(InPlaceEditNotify*)lParam);
            return answer;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

CString TextOf(CWnd& wnd)
{
    CString text;
    wnd.GetWindowText(text);
    return text;
}
} // namespace

TEST(HotKeyEdit, ValidCombinations)
{
    struct Case { BOOL alt, ctrl, shift; UINT key; BOOL valid; } cases[] = {
        {0, 1, 0, 'Q', 1}, {1, 0, 0, '7', 1}, {0, 0, 1, VK_F12, 1}, {0, 0, 0, 'Q', 0},
        {0, 1, 0, VK_F1 - 1, 0}, {0, 1, 0, VK_F12 + 1, 0}, {0, 1, 0, VK_SPACE, 0}, {0, 1, 0, 'a', 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.valid, IsValidHotKey(c.alt, c.ctrl, c.shift, c.key)) << c.key;
}

TEST(HotKeyEdit, KeysMakeTheCombinationText)
{
    Recorder parent;
    ASSERT_TRUE(parent.Make());
    TestHotKeyEdit edit;
    ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY, 0, 0, 200, 20,
                              parent.m_hWnd, (HMENU)1));
    edit.UpdateText();
    EXPECT_EQ(CString(L"Blank"), TextOf(edit));

    // Q alone is taken with Ctrl.
    edit.OnKeyPressed('Q');
    EXPECT_EQ(CString(L"Ctrl+Q"), TextOf(edit));
    EXPECT_TRUE(edit.OnKeyReleased('Q'));
    EXPECT_EQ(CString(L"Ctrl+Q"), TextOf(edit));
    EXPECT_EQ(1u, parent.messages.size());

    // Shift, Alt and F5: the modifiers in their fixed order.
    edit.OnKeyPressed(VK_BACK);
    EXPECT_EQ(CString(L"Blank"), TextOf(edit));
    edit.shift = TRUE;
    edit.OnKeyPressed(VK_SHIFT);
    edit.alt = TRUE;
    edit.OnKeyPressed(VK_MENU);
    EXPECT_TRUE(edit.OnKeyPressed(VK_MENU)); // a held modifier repeating changes nothing
    edit.OnKeyPressed(VK_F5);
    EXPECT_EQ(CString(L"Shift+ALT+F5"), TextOf(edit));
    // Releasing the main key while the modifiers are still held keeps it.
    edit.OnKeyReleased(VK_F5);
    EXPECT_EQ(CString(L"Shift+ALT+F5"), TextOf(edit));
    EXPECT_TRUE(IsValidHotKey(edit.m_bAlt, edit.m_bCtrl, edit.m_bShift, edit.m_nKey));
    EXPECT_EQ((UINT)VK_F5, edit.m_nKey);

    // A modifier without a key shows only Ctrl.
    edit.OnKeyPressed(VK_BACK);
    edit.shift = edit.alt = FALSE;
    edit.ctrl = TRUE;
    edit.OnKeyPressed(VK_CONTROL);
    EXPECT_EQ(CString(L"Ctrl+"), TextOf(edit));
    parent.DestroyWindow();
}

TEST(FlatEdit, PasswordTextOnlyForTheReadOnceReader)
{
    Recorder parent;
    ASSERT_TRUE(parent.Make());
    CFlatEdit edit;
    HWND hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"secret", WS_CHILD | WS_VISIBLE | ES_PASSWORD, 0, 0, 100,
                                  20, parent.m_hWnd, (HMENU)2, NULL, NULL);
    ASSERT_TRUE(edit.SubclassWindow(hwnd));
    wchar_t buffer[32] = L"x";
    EXPECT_EQ(0, ::SendMessageW(hwnd, WM_GETTEXT, 32, (LPARAM)buffer));
    EXPECT_STREQ(L"", buffer);
    edit.m_bReadOnce = TRUE;
    EXPECT_EQ(6, ::SendMessageW(hwnd, WM_GETTEXT, 32, (LPARAM)buffer));
    EXPECT_STREQ(L"secret", buffer);
    EXPECT_EQ(0, ::SendMessageW(hwnd, WM_GETTEXT, 32, (LPARAM)buffer)); // once only
    // A plain edit gives its text to anyone.
    CFlatEdit plain;
    HWND hPlain = ::CreateWindowExW(0, L"EDIT", L"open", WS_CHILD | WS_BORDER, 0, 30, 100, 20, parent.m_hWnd, (HMENU)3,
                                    NULL, NULL);
    ASSERT_TRUE(plain.SubclassWindow(hPlain));
    EXPECT_EQ(CString(L"open"), TextOf(plain));
    ::SendMessageW(hPlain, WM_NCPAINT, 1, 0); // the flat border draws without harm
    parent.DestroyWindow();
}

TEST(InPlaceEdit, KeysAndFocusLossReachTheOwner)
{
    Recorder owner;
    ASSERT_TRUE(owner.Make());
    CInPlaceEdit* edit = (CInPlaceEdit*)RUNTIME_CLASS(CInPlaceEdit)->CreateObject();
    ASSERT_NE(nullptr, edit);
    ASSERT_TRUE(edit->Create(WS_CHILD, CRect(0, 0, 0, 0), &owner, 77));
    EXPECT_EQ(owner.m_hWnd, edit->m_hOwner);
    EXPECT_TRUE(edit->GetStyle() & ES_WANTRETURN);

    edit->ShowEdit(CRect(0, 0, 0, 0)); // an empty rectangle shows nothing
    EXPECT_FALSE(edit->IsWindowVisible());
    edit->ShowEdit(CRect(10, 10, 110, 30));
    EXPECT_TRUE(edit->IsWindowVisible());

    MSG msg{edit->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(edit->PreTranslateMessage(&msg));
    ASSERT_EQ(1u, owner.notes.size());
    EXPECT_EQ(1, owner.notes[0].reason);
    EXPECT_EQ(VK_ESCAPE, owner.notes[0].detail);
    EXPECT_EQ(-1, owner.notes[0].item);
    EXPECT_FALSE(edit->IsWindowVisible()); // the owner answered non-zero

    owner.answer = 0;
    edit->ShowEdit(CRect(10, 10, 110, 30));
    ::SendMessageW(edit->m_hWnd, WM_KILLFOCUS, (WPARAM)owner.m_hWnd, 0);
    ASSERT_EQ(2u, owner.notes.size());
    EXPECT_EQ(3, owner.notes[1].reason);
    EXPECT_EQ((INT_PTR)owner.m_hWnd, owner.notes[1].detail);
    EXPECT_TRUE(edit->IsWindowVisible()); // kept: the owner answered 0
    edit->HideEdit();
    EXPECT_FALSE(edit->IsWindowVisible());
    edit->DestroyWindow();
    delete edit;
    owner.DestroyWindow();
}
