// Message maps: dispatch to the most derived handler, fall-back through the
// base maps, cracked arguments, Default(), reflection to controls, and the
// handle maps.
#include "Framework.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> g_calls;

const UINT WM_TEST_A = WM_USER + 1;
const UINT WM_TEST_B = WM_USER + 2;
const UINT WM_TEST_C = WM_USER + 3;
UINT g_registeredMsg = ::RegisterWindowMessageW(L"FwTestRegistered");

// Four levels: each overrides some messages and leaves others to its bases.
class CLevel1 : public CWnd
{
public:
    LRESULT OnA(WPARAM, LPARAM)
    {
        g_calls.push_back("L1::A");
        return 1;
    }
    LRESULT OnB(WPARAM, LPARAM)
    {
        g_calls.push_back("L1::B");
        return 1;
    }
    void OnSize(UINT nType, int cx, int cy)
    {
        g_calls.push_back("L1::Size " + std::to_string(nType) + " " + std::to_string(cx) + " " + std::to_string(cy));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLevel1, CWnd)
ON_MESSAGE(WM_TEST_A, &CLevel1::OnA)
ON_MESSAGE(WM_TEST_B, &CLevel1::OnB)
ON_WM_SIZE()
END_MESSAGE_MAP()

class CLevel2 : public CLevel1
{
public:
    LRESULT OnB(WPARAM, LPARAM)
    {
        g_calls.push_back("L2::B");
        return 2;
    }
    void OnTimer(UINT_PTR nIDEvent) { g_calls.push_back("L2::Timer " + std::to_string(nIDEvent)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLevel2, CLevel1)
ON_MESSAGE(WM_TEST_B, &CLevel2::OnB)
ON_WM_TIMER()
END_MESSAGE_MAP()

class CLevel3 : public CLevel2
{
public:
    void OnSize(UINT nType, int cx, int cy)
    {
        g_calls.push_back("L3::Size");
        CLevel1::OnSize(nType, cx, cy); // explicit call of the base handler
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLevel3, CLevel2)
ON_WM_SIZE()
END_MESSAGE_MAP()

class CLevel4 : public CLevel3
{
public:
    LRESULT OnRegistered(WPARAM wParam, LPARAM)
    {
        g_calls.push_back("L4::Registered");
        return (LRESULT)wParam * 10;
    }
    // Changes the text that the default processing stores.
    LRESULT OnSetText(WPARAM, LPARAM lParam)
    {
        g_calls.push_back(std::string("L4::SetText"));
        m_lastText = (LPCWSTR)lParam;
        return Default();
    }
    std::wstring m_lastText;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLevel4, CLevel3)
ON_REGISTERED_MESSAGE(g_registeredMsg, &CLevel4::OnRegistered)
ON_MESSAGE(WM_SETTEXT, &CLevel4::OnSetText)
END_MESSAGE_MAP()

class MsgMapTest : public ::testing::Test
{
protected:
    void SetUp() override { g_calls.clear(); }
    static BOOL CreatePopup(CWnd& wnd, LPCWSTR text = L"")
    {
        return wnd.CreateEx(0, NULL, text, WS_POPUP, 0, 0, 100, 80, NULL, NULL);
    }
};

TEST_F(MsgMapTest, MostDerivedHandlerWinsAndOthersFallBackThroughTheChain)
{
    CLevel4 wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    g_calls.clear();

    EXPECT_EQ(1, wnd.SendMessage(WM_TEST_A));              // only level 1 has it
    EXPECT_EQ(2, wnd.SendMessage(WM_TEST_B));              // level 2 overrides level 1
    EXPECT_EQ(70, wnd.SendMessage(g_registeredMsg, 7, 0)); // registered message at level 4
    wnd.SendMessage(WM_TIMER, 33, 0);                      // level 2, cracked id
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 45));
    EXPECT_EQ((std::vector<std::string>{"L1::A", "L2::B", "L4::Registered", "L2::Timer 33", "L3::Size",
                                        "L1::Size 0 120 45"}),
              g_calls);

    // A message no map has reaches the window's default procedure.
    EXPECT_EQ(0, wnd.SendMessage(WM_TEST_C));
    wnd.DestroyWindow();
}

TEST_F(MsgMapTest, DefaultFromAHandlerRunsTheWindowsOwnProcessing)
{
    CLevel4 wnd;
    ASSERT_TRUE(CreatePopup(wnd, L"first"));
    wnd.SetWindowText(L"second");
    CString text;
    wnd.GetWindowText(text);
    EXPECT_STREQ(L"second", text);
    EXPECT_EQ(L"second", wnd.m_lastText);
    wnd.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Reflection

class CReflectingButton : public CButton
{
public:
    int m_clicks = 0;
    int m_draws = 0;
    void OnClicked() { ++m_clicks; }
    void DrawItem(LPDRAWITEMSTRUCT) override { ++m_draws; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, &CReflectingButton::OnClicked)
END_MESSAGE_MAP()

class CSharingButton : public CButton
{
public:
    int m_clicks = 0;
    BOOL OnClicked()
    {
        ++m_clicks;
        return FALSE; // the parent sees the click too
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSharingButton, CButton)
ON_CONTROL_REFLECT_EX(BN_CLICKED, &CSharingButton::OnClicked)
END_MESSAGE_MAP()

class CChangeEdit : public CEdit
{
public:
    int m_changes = 0;
    void OnChange() { ++m_changes; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CChangeEdit, CEdit)
ON_CONTROL_REFLECT(EN_CHANGE, &CChangeEdit::OnChange)
END_MESSAGE_MAP()

class CNotifyList : public CListCtrl
{
public:
    int m_clicks = 0;
    void OnClick(NMHDR*, LRESULT* pResult)
    {
        ++m_clicks;
        *pResult = 5;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CNotifyList, CListCtrl)
ON_NOTIFY_REFLECT(NM_CLICK, &CNotifyList::OnClick)
END_MESSAGE_MAP()

class CColorStatic : public CStatic
{
public:
    CBrush m_brush{RGB(1, 2, 3)};
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        m_type = nCtlColor;
        pDC->SetTextColor(RGB(9, 9, 9));
        return m_brush;
    }
    UINT m_type = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColorStatic, CStatic)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class COwnerMenu : public CMenu
{
public:
    int m_draws = 0, m_measures = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { ++m_draws; }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        ++m_measures;
        lpMIS->itemHeight = 20;
    }
};

enum
{
    IDC_REFLECT = 10,
    IDC_SHARE,
    IDC_PLAIN,
    IDC_EDIT,
    IDC_LIST,
    IDC_STATIC_COLOR,
    IDC_LIST_PLAIN,
    ID_MENU_ITEM = 300
};

class CParentWnd : public CWnd
{
public:
    std::vector<std::string> m_seen;
    void OnReflect() { m_seen.push_back("reflect"); }
    void OnShare() { m_seen.push_back("share"); }
    void OnPlain() { m_seen.push_back("plain"); }
    void OnListClick(NMHDR* pNMHDR, LRESULT* pResult)
    {
        m_seen.push_back("list " + std::to_string(pNMHDR->idFrom));
        *pResult = 7;
    }
    void OnMenuCommand() { m_seen.push_back("menu"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
ON_BN_CLICKED(IDC_REFLECT, &CParentWnd::OnReflect)
ON_BN_CLICKED(IDC_SHARE, &CParentWnd::OnShare)
ON_COMMAND(IDC_PLAIN, &CParentWnd::OnPlain)
ON_NOTIFY(NM_CLICK, IDC_LIST, &CParentWnd::OnListClick)
ON_NOTIFY(NM_CLICK, IDC_LIST_PLAIN, &CParentWnd::OnListClick)
ON_COMMAND(ID_MENU_ITEM, &CParentWnd::OnMenuCommand)
END_MESSAGE_MAP()

TEST_F(MsgMapTest, ControlsHandleTheirOwnNotificationsBeforeTheParent)
{
    CParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, L"parent", WS_POPUP, 0, 0, 300, 300, NULL, NULL));
    CRect rc(0, 0, 50, 20);
    CReflectingButton reflect;
    CSharingButton share;
    CButton plain;
    CChangeEdit edit;
    CNotifyList list;
    CListCtrl plainList;
    CColorStatic colorStatic;
    ASSERT_TRUE(reflect.Create(L"r", WS_CHILD | BS_OWNERDRAW, rc, &parent, IDC_REFLECT));
    ASSERT_TRUE(share.Create(L"s", WS_CHILD, rc, &parent, IDC_SHARE));
    ASSERT_TRUE(plain.Create(L"p", WS_CHILD, rc, &parent, IDC_PLAIN));
    ASSERT_TRUE(edit.Create(WS_CHILD, rc, &parent, IDC_EDIT));
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, rc, &parent, IDC_LIST));
    ASSERT_TRUE(plainList.Create(WS_CHILD | LVS_REPORT, rc, &parent, IDC_LIST_PLAIN));
    ASSERT_TRUE(colorStatic.Create(L"c", WS_CHILD, rc, &parent, IDC_STATIC_COLOR));

    // WM_COMMAND / BN_CLICKED: reflected handler only; _EX declining: both; plain button: parent.
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REFLECT, BN_CLICKED), (LPARAM)reflect.m_hWnd);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SHARE, BN_CLICKED), (LPARAM)share.m_hWnd);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PLAIN, BN_CLICKED), (LPARAM)plain.m_hWnd);
    EXPECT_EQ(1, reflect.m_clicks);
    EXPECT_EQ(1, share.m_clicks);

    // EN_CHANGE sent by the edit control itself.
    edit.SetWindowText(L"changed");
    EXPECT_EQ(1, edit.m_changes);

    // WM_NOTIFY: the reflecting list answers, the plain one goes to the parent.
    NMHDR nm = {list.m_hWnd, IDC_LIST, (UINT)NM_CLICK};
    EXPECT_EQ(5, parent.SendMessage(WM_NOTIFY, IDC_LIST, (LPARAM)&nm));
    NMHDR nmPlain = {plainList.m_hWnd, IDC_LIST_PLAIN, (UINT)NM_CLICK};
    EXPECT_EQ(7, parent.SendMessage(WM_NOTIFY, IDC_LIST_PLAIN, (LPARAM)&nmPlain));
    EXPECT_EQ(1, list.m_clicks);

    // WM_DRAWITEM reaches the owner-drawn button's DrawItem.
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = IDC_REFLECT;
    dis.hwndItem = reflect.m_hWnd;
    EXPECT_EQ(TRUE, parent.SendMessage(WM_DRAWITEM, IDC_REFLECT, (LPARAM)&dis));
    EXPECT_EQ(1, reflect.m_draws);

    // WM_CTLCOLORSTATIC: the static's brush is the parent's answer.
    HDC hdc = ::GetDC(parent.m_hWnd);
    LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)hdc, (LPARAM)colorStatic.m_hWnd);
    EXPECT_EQ((LRESULT)(HBRUSH)colorStatic.m_brush, brush);
    EXPECT_EQ((UINT)CTLCOLOR_STATIC, colorStatic.m_type);
    EXPECT_EQ(RGB(9, 9, 9), ::GetTextColor(hdc));
    ::ReleaseDC(parent.m_hWnd, hdc);

    // Menu commands (no control) and owner-drawn menu items.
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(ID_MENU_ITEM, 0), 0);
    COwnerMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_OWNERDRAW, ID_MENU_ITEM, (LPCTSTR)1);
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemID = ID_MENU_ITEM;
    parent.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    DRAWITEMSTRUCT menuDis = {};
    menuDis.CtlType = ODT_MENU;
    menuDis.itemID = ID_MENU_ITEM;
    menuDis.hwndItem = (HWND)menu.m_hMenu;
    parent.SendMessage(WM_DRAWITEM, 0, (LPARAM)&menuDis);
    EXPECT_EQ(1, menu.m_measures);
    EXPECT_EQ(20u, mis.itemHeight);
    EXPECT_EQ(1, menu.m_draws);

    EXPECT_EQ((std::vector<std::string>{"share", "plain", "list 16", "menu"}), parent.m_seen);
    parent.DestroyWindow();
    EXPECT_EQ(NULL, reflect.m_hWnd); // children were detached as they went
}

// ---------------------------------------------------------------------------
// Handle maps, subclassing, creation and destruction

class CCountingWnd : public CWnd
{
public:
    int m_paints = 0;
    void OnPaint()
    {
        CPaintDC dc(this);
        ++m_paints;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCountingWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(MsgMapTest, SubclassingAnExistingWindowRoutesItsMessagesAndUnsubclassRestoresThem)
{
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    ASSERT_NE((HWND)NULL, hWnd);
    WNDPROC original = (WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);

    // Foreign windows get temporary objects that the idle clean-up removes.
    CWnd* pTemp = CWnd::FromHandle(hWnd);
    EXPECT_EQ(pTemp, CWnd::FromHandle(hWnd));
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hWnd));

    CCountingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_EQ(&wnd, CWnd::FromHandle(hWnd));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(hWnd));
    ::InvalidateRect(hWnd, NULL, TRUE);
    wnd.SendMessage(WM_PAINT);
    EXPECT_EQ(1, wnd.m_paints);
    CString text;
    wnd.GetWindowText(text); // the static's own procedure still answers
    EXPECT_STREQ(L"x", text);

    EXPECT_EQ(hWnd, wnd.UnsubclassWindow());
    EXPECT_EQ(original, (WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hWnd));
    AfxDeleteTempMaps();
    ::DestroyWindow(hWnd);
}

class CSelfDeletingWnd : public CWnd
{
public:
    explicit CSelfDeletingWnd(bool* pDeleted) : m_pDeleted(pDeleted) {}
    ~CSelfDeletingWnd() override { *m_pDeleted = true; }
    void PostNcDestroy() override { delete this; }
    bool* m_pDeleted;
};

class CFailingWnd : public CWnd
{
public:
    int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFailingWnd, CWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(MsgMapTest, CreationFailureAndDestructionDetachTheObject)
{
    bool deleted = false;
    CSelfDeletingWnd* pWnd = new CSelfDeletingWnd(&deleted);
    ASSERT_TRUE(pWnd->CreateEx(0, NULL, L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    HWND hWnd = pWnd->m_hWnd;
    ::DestroyWindow(hWnd);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hWnd));

    CFailingWnd failing;
    EXPECT_FALSE(failing.CreateEx(0, NULL, L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(NULL, failing.m_hWnd);

    // An object that goes away first takes its window with it.
    HWND hOrphan;
    {
        CWnd scoped;
        ASSERT_TRUE(scoped.CreateEx(0, NULL, L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
        hOrphan = scoped.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hOrphan));
}

class CPreTranslatingWnd : public CWnd
{
public:
    UINT m_eat = 0;
    std::vector<UINT> m_seen;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        m_seen.push_back(pMsg->message);
        return pMsg->message == m_eat;
    }
};

TEST_F(MsgMapTest, PreTranslateWalksFromTheWindowUpThroughItsParents)
{
    CPreTranslatingWnd parent, child;
    ASSERT_TRUE(parent.CreateEx(0, NULL, L"", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    ASSERT_TRUE(child.Create(NULL, L"", WS_CHILD, CRect(0, 0, 10, 10), &parent, 1));
    child.m_eat = WM_TEST_A;
    MSG msg = {child.m_hWnd, WM_TEST_B};
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(NULL, &msg));
    msg.message = WM_TEST_A;
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(NULL, &msg));
    EXPECT_EQ((std::vector<UINT>{WM_TEST_B, WM_TEST_A}), child.m_seen);
    EXPECT_EQ((std::vector<UINT>{WM_TEST_B}), parent.m_seen); // the child took the second
    parent.DestroyWindow();
}

TEST(Geometry, RectangleArithmetic)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 70)));
    CRect moved = r + CPoint(5, -5);
    EXPECT_EQ(CRect(15, 15, 115, 65), moved);
    r.DeflateRect(10, 5);
    EXPECT_EQ(CRect(20, 25, 100, 65), r);
    CRect both;
    EXPECT_TRUE(both.IntersectRect(&r, CRect(90, 0, 200, 30)));
    EXPECT_EQ(CRect(90, 25, 100, 30), both);
    CRect inverted(50, 60, 10, 20);
    inverted.NormalizeRect();
    EXPECT_EQ(CRect(10, 20, 50, 60), inverted);
    EXPECT_EQ(CSize(3, 4), CPoint(5, 7) - CPoint(2, 3));
    EXPECT_TRUE(CRect().IsRectEmpty());
}

// A pointer that may be null goes through FwSafeHandle; no member is ever
// called through a null pointer, and the wrappers that take optional objects
// (insert-after window, parent, font) accept null.
TEST(SafeHandles, NullPointersGiveNullHandlesAndObjectsTheirOwn)
{
    EXPECT_EQ(NULL, FwSafeHandle((const CWnd*)nullptr));
    EXPECT_EQ(NULL, FwSafeHandle((const CDC*)nullptr));
    EXPECT_EQ(NULL, FwSafeHandle((const CBrush*)nullptr));
    EXPECT_EQ(NULL, FwSafeHandle((const CMenu*)nullptr));
    EXPECT_EQ(NULL, FwSafeHandle((const CImageList*)nullptr));

    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, 0, 0, 20, 20, NULL, NULL));
    EXPECT_EQ(wnd.m_hWnd, FwSafeHandle(&wnd));
    EXPECT_TRUE(wnd.SetWindowPos(NULL, 0, 0, 30, 30, SWP_NOMOVE | SWP_NOZORDER));
    CRect rect;
    wnd.GetWindowRect(&rect);
    EXPECT_EQ(30, rect.Width());
    CClientDC dc(&wnd);
    EXPECT_EQ(dc.m_hDC, FwSafeHandle(&dc));
    CBrush brush(RGB(1, 2, 3));
    EXPECT_EQ(brush.m_hObject, FwSafeHandle(&brush));
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_EQ(menu.m_hMenu, FwSafeHandle(&menu));
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24, 1, 1));
    EXPECT_EQ(list.m_hImageList, FwSafeHandle(&list));
    wnd.DestroyWindow();
}
} // namespace
